#include "hinthidepause.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

HintHidePause::HintHidePause(int milliseconds, QObject *parent)
    : QObject(parent), m_milliseconds(milliseconds)
{}

HintHidePause *HintHidePause::install(int milliseconds)
{
    auto *pause = new HintHidePause(milliseconds, QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(pause);
    for (QWidget *widget : QApplication::allWidgets())
        pause->apply(widget);
    return pause;
}

bool HintHidePause::eventFilter(QObject *watched, QEvent *event)
{
    // Every widget is polished once before it is first shown: the one moment to give it the pause.
    if (event->type() == QEvent::Polish && watched->isWidgetType())
        apply(static_cast<QWidget *>(watched));
    return QObject::eventFilter(watched, event);
}

void HintHidePause::apply(QWidget *widget) const
{
    // A negative duration is Qt's "by the length of the text", which hides long before the pause.
    if (widget->toolTipDuration() < 0)
        widget->setToolTipDuration(m_milliseconds);
}
