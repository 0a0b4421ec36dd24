#include "zelfocuscompanion.h"

#include "commonproperties.h"

#include <QMoveEvent>

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
    if (control)
        if (TCommonProperties *cp = TCommonProperties::of(control))
            m_handle = cp->addListener(m_reaction);
}

void zelFollowMove(QWidget *companion, QEvent *moveEvent)
{
    const auto *e = static_cast<QMoveEvent *>(moveEvent);
    const QPoint delta = e->pos() - e->oldPos();
    if (!delta.isNull())
        companion->move(companion->pos() + delta);
}

bool zelOwnEnabled(const QWidget *w)
{
    return !w->testAttribute(Qt::WA_ForceDisabled);
}
