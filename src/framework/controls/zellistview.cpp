#include "zellistview.h"

#include "commonproperties.h"

TZelListView::TZelListView(QWidget *parent)
    : QTreeWidget(parent), m_commonProperties(new TCommonProperties(this))
{}
