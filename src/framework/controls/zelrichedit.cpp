#include "zelrichedit.h"

#include "commonproperties.h"

TZelRichEdit::TZelRichEdit(QWidget *parent)
    : QTextEdit(parent), m_commonProperties(new TCommonProperties(this, true))
{}
