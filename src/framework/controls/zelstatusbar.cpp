#include "zelstatusbar.h"

#include "commonproperties.h"
#include "zelfocuscontroller.h"

#include <QLabel>

QString zelLongHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

TZelStatusBar::TZelStatusBar(QWidget *parent)
    : QStatusBar(parent), m_commonProperties(new TCommonProperties(this))
{
    setSizeGripEnabled(false);
    TZelFocusController::instance()->registerStatusBar(this);
}

TZelStatusBar::~TZelStatusBar()
{
    if (TZelFocusController *controller = TZelFocusController::existing())
        controller->unregisterStatusBar(this);
}

int TZelStatusBar::addPanel(int width, const QString &text)
{
    auto *panel = new QLabel(text, this);
    panel->setObjectName(QStringLiteral("Panel%1").arg(m_panels.size()));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    panel->setMinimumWidth(width);
    addWidget(panel, 0);
    panel->setVisible(!m_simple);
    m_panels << panel;
    return int(m_panels.size()) - 1;
}

QString TZelStatusBar::panelText(int index) const
{
    return index >= 0 && index < m_panels.size() ? m_panels.at(index)->text() : QString();
}

void TZelStatusBar::setPanelText(int index, const QString &text)
{
    if (index >= 0 && index < m_panels.size())
        m_panels.at(index)->setText(text);
}

void TZelStatusBar::setSimplePanel(bool on)
{
    m_simple = on;
    for (QLabel *panel : m_panels)
        panel->setVisible(!on);
    if (on)
        showMessage(m_simpleText);
    else
        clearMessage();
}

void TZelStatusBar::setSimpleText(const QString &text)
{
    m_simpleText = text;
    if (m_simple)
        showMessage(text);
}

void TZelStatusBar::showHint(const QWidget *control)
{
    if (m_hintPanelIndex < 0)
        return;
    const QString hint = control ? control->toolTip() : QString();
    if (m_simple) {
        setSimpleText(zelLongHint(hint));
        return;
    }
    if (m_hintPanelIndex < m_panels.size() && control) {
        const QString longHint = zelLongHint(hint);
        setPanelText(m_hintPanelIndex, longHint.isEmpty() ? hint : longHint);
    }
}
