#include "commonproperties.h"

#include "zelformhandler.h"

#include <QKeyEvent>
#include <QWidget>

TCommonProperties::TCommonProperties(QWidget *control, bool handsEscapeToForm)
    : QObject(control), m_control(control), m_handsEscape(handsEscapeToForm)
{
    setObjectName(QStringLiteral("CommonProperties"));
    control->installEventFilter(this);
}

TCommonProperties::~TCommonProperties()
{
    if (m_control)
        m_control->removeEventFilter(this);
}

int TCommonProperties::addListener(Listener listener)
{
    const int handle = m_nextHandle++;
    m_listeners.push_back({handle, std::move(listener)});
    return handle;
}

void TCommonProperties::removeListener(int handle)
{
    std::erase_if(m_listeners, [handle](const Entry &e) { return e.handle == handle; });
}

TCommonProperties *TCommonProperties::of(const QObject *control)
{
    if (!control)
        return nullptr;
    return control->findChild<TCommonProperties *>(QStringLiteral("CommonProperties"),
                                                   Qt::FindDirectChildrenOnly);
}

bool TCommonProperties::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_control)
        return false;
    // A listener may remove itself (or others) while it runs: walk a copy of the handles.
    std::vector<int> handles;
    handles.reserve(m_listeners.size());
    for (const Entry &e : m_listeners)
        handles.push_back(e.handle);
    for (int h : handles) {
        for (const Entry &e : m_listeners) {
            if (e.handle == h) {
                Listener call = e.listener;
                call(event);
                break;
            }
        }
    }

    if (!m_handsEscape || event->type() != QEvent::KeyPress ||
        static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
        return false;
    // Let the control handle the key itself, then see whether it kept it.
    QPointer<QWidget> control = m_control;
    static_cast<QObject *>(control.data())->event(event);
    if (!control || event->isAccepted() || control->isWindow())
        return true;
    if (auto *form = dynamic_cast<ZelFormHandler *>(control->window())) {
        if (form->dialogKey(Qt::Key_Escape))
            event->accept();
    }
    return true;
}
