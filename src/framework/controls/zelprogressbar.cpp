#include "zelprogressbar.h"

#include "commonproperties.h"

TZelProgressBar::TZelProgressBar(QWidget *parent)
    : QProgressBar(parent), m_commonProperties(new TCommonProperties(this))
{}
