#include "zellistbox.h"

#include "commonproperties.h"

TZelListBox::TZelListBox(QWidget *parent)
    : QListWidget(parent), m_commonProperties(new TCommonProperties(this))
{}
