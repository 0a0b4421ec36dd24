#include "zelradiobutton.h"

#include "commonproperties.h"

TZelRadioButton::TZelRadioButton(QWidget *parent)
    : QRadioButton(parent), m_commonProperties(new TCommonProperties(this))
{}
