#include "zelfocuscompanion.h"

#include "commonproperties.h"

void ZelFocusCompanion::detach()
{
    if (m_control && m_handle)
        if (TCommonProperties *cp = TCommonProperties::of(m_control))
            cp->removeListener(m_handle);
    m_handle = 0;
    m_control = nullptr;
}

void ZelFocusCompanion::setControl(QWidget *control)
{
    detach();
    m_control = control;
    m_lastPos = control ? control->pos() : QPoint();
    if (control)
        if (TCommonProperties *cp = TCommonProperties::of(control))
            m_handle = cp->addListener(m_reaction);
}

QPoint ZelFocusCompanion::takeDisplacement()
{
    if (!m_control)
        return QPoint();
    const QPoint now = m_control->pos();
    const QPoint delta = now - m_lastPos;
    m_lastPos = now;
    return delta;
}

void zelFollowMove(QWidget *companion, const QPoint &displacement)
{
    if (!displacement.isNull())
        companion->move(companion->pos() + displacement);
}

bool zelOwnEnabled(const QWidget *w)
{
    return !w->testAttribute(Qt::WA_ForceDisabled);
}
