#include "zellabel.h"

#include "commonproperties.h"
#include "zelcolors.h"
#include "zelspockcustom.h"

#include <QEvent>

TZelLabel::TZelLabel(QWidget *parent)
    : QLabel(parent), m_commonProperties(new TCommonProperties(this)),
      m_companion([this](QEvent *e) { react(e); }), m_focusColor(ZelColors::clWindow()),
      m_focusFontColor(ZelColors::clRed())
{}

TZelLabel::~TZelLabel()
{
    setFocusControl(nullptr);
}

void TZelLabel::setFocusControl(QWidget *control)
{
    if (control == FocusControl())
        return;
    if (auto *edit = qobject_cast<TZelSpockCustom *>(FocusControl()); edit && edit->ZelLabel() == this)
        edit->setZelLabel(nullptr);
    m_companion.setControl(control);
    setBuddy(control);
}

void TZelLabel::setCaption(const QString &caption)
{
    setText(caption);
    if (m_autoSize)
        adjustSize();
}

void TZelLabel::setAutoSize(bool on)
{
    m_autoSize = on;
    if (on)
        adjustSize();
}

void TZelLabel::react(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        m_savedColor = ZelColors::color(this);
        m_savedFontColor = ZelColors::fontColor(this);
        ZelColors::setFontColor(this, m_focusFontColor);
        break;
    case QEvent::FocusOut:
        if (m_savedFontColor.isValid()) {
            ZelColors::setColor(this, m_savedColor);
            ZelColors::setFontColor(this, m_savedFontColor);
        }
        break;
    case QEvent::Move:
        zelFollowMove(this, event);
        break;
    default:
        break;
    }
}
