#pragma once

#include <QEvent>

/// The framework's own window messages, as Qt event types (the numbers keep the WM_USER offsets).
namespace ZelEvents {

/// Sent to an edit: open its value list or its look-up picker (WM_USER + 502, message 1526).
inline const QEvent::Type OpenRequest = QEvent::Type(QEvent::User + 502);
/// Posted to the active window: an arrow key was pressed while a push button had the focus (WM_USER + 503,
/// message 1527).
inline const QEvent::Type ArrowKeyOnButton = QEvent::Type(QEvent::User + 503);

} // namespace ZelEvents

/// Message 1527: carries the arrow key (a Qt::Key) the user pressed on a push button.
class ZelArrowKeyEvent final : public QEvent
{
public:
    explicit ZelArrowKeyEvent(int key) : QEvent(ZelEvents::ArrowKeyOnButton), m_key(key) {}
    int key() const { return m_key; }

private:
    int m_key;
};
