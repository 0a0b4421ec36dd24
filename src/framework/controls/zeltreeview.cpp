#include "zeltreeview.h"

#include "commonproperties.h"

TZelTreeView::TZelTreeView(QWidget *parent)
    : QTreeWidget(parent), m_commonProperties(new TCommonProperties(this))
{}
