#include "zelmemo.h"

#include "commonproperties.h"

TZelMemo::TZelMemo(QWidget *parent)
    : QPlainTextEdit(parent), m_commonProperties(new TCommonProperties(this, true))
{}
