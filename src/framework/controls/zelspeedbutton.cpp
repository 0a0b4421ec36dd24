#include "zelspeedbutton.h"

#include "commonproperties.h"
#include "zelcolors.h"
#include "zelevents.h"
#include "zelspockcustom.h"

#include <QCoreApplication>
#include <QEvent>

TZelSpeedButton::TZelSpeedButton(QWidget *parent)
    : QToolButton(parent), m_commonProperties(new TCommonProperties(this)),
      m_companion([this](QEvent *e) { react(e); })
{
    QFont f = font();
    f.setBold(true);
    f.setUnderline(true);
    setFont(f);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QToolButton::clicked, this, &TZelSpeedButton::sendOpenRequest);
}

TZelSpeedButton::~TZelSpeedButton()
{
    setFocusControl(nullptr);
}

void TZelSpeedButton::setFocusControl(QWidget *control)
{
    if (control == FocusControl())
        return;
    if (auto *edit = qobject_cast<TZelSpockCustom *>(FocusControl()); edit && edit->ZelSpeedButton() == this)
        edit->setZelSpeedButton(nullptr);
    m_companion.setControl(control);
    if (control) {
        QFont f = font();
        f.setFamily(control->font().family());
        f.setPointSizeF(control->font().pointSizeF());
        setFont(f);
    }
}

void TZelSpeedButton::setZelIcon(TZelIcon icon)
{
    static const QColor colours[] = {ZelColors::clRed(), QColor(255, 255, 0), QColor(0, 0, 255),
                                     ZelColors::clBlack(), QColor(0, 255, 0)};
    if (icon != bcCustom)
        ZelColors::setFontColor(this, colours[icon]);
    m_icon = icon;
}

void TZelSpeedButton::setLayout(TButtonLayout layout)
{
    m_layout = layout;
    setLayoutDirection(layout == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
}

void TZelSpeedButton::sendOpenRequest()
{
    if (QWidget *target = FocusControl()) {
        QEvent request(ZelEvents::OpenRequest);
        QCoreApplication::sendEvent(target, &request);
    }
}

void TZelSpeedButton::react(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (FocusControl())
            setEnabled(zelOwnEnabled(FocusControl()));
        break;
    case QEvent::Move:
        zelFollowMove(this, event);
        break;
    default:
        break;
    }
}
