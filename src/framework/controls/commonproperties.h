#pragma once

#include <QFlags>
#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QWidget;

/// How the areas manage a control.
enum TOwnerCommand {
    ocDoControl = 0x1,     ///< the area enables and disables the control
    ocVerticalArrow = 0x2, ///< kept for the forms; no behaviour here
    ocInsertOnly = 0x4,    ///< enabled only while inserting
    ocInverseBehave = 0x8, ///< enabled exactly when the others are disabled
};
Q_DECLARE_FLAGS(TOwnerCommands, TOwnerCommand)
Q_DECLARE_OPERATORS_FOR_FLAGS(TOwnerCommands)

/// The helper every framework control owns: its area flags, the listeners of its events, and the hand-over
/// of an unhandled Escape to the window.
///
/// It is an event filter on the control, installed when the control is built, so it runs after any filter
/// the control installs later and just before the control's own event handling: listeners see each event
/// first, then the control handles it, and a key press of Escape that the control left unaccepted goes to
/// the window's ZelFormHandler.
class TCommonProperties final : public QObject
{
    Q_OBJECT
public:
    using Listener = std::function<void(QEvent *)>;

    /// handsEscapeToForm: the control is an edit that would otherwise keep Escape for itself.
    explicit TCommonProperties(QWidget *control, bool handsEscapeToForm = false);
    ~TCommonProperties() override;

    QWidget *control() const { return m_control; }

    TOwnerCommands OwnerCommands() const { return m_ownerCommands; }
    void setOwnerCommands(TOwnerCommands commands) { m_ownerCommands = commands; }

    /// Listeners are called in registration order; the answer is the handle for removeListener().
    int addListener(Listener listener);
    void removeListener(int handle);
    int listenerCount() const { return int(m_listeners.size()); }

    /// The object owned by a framework control; none for any other widget.
    static TCommonProperties *of(const QObject *control);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry
    {
        int handle;
        Listener listener;
    };

    QPointer<QWidget> m_control;
    TOwnerCommands m_ownerCommands = ocDoControl;
    bool m_handsEscape;
    std::vector<Entry> m_listeners;
    int m_nextHandle = 1;
};
