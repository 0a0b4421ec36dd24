#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;
class TZelStatusBar;

/// The one application-wide watcher of the focus: shows the focused control's hint in the active window's
/// status bar, and tells the active window (message 1527) when an arrow key is pressed on a push button.
class TZelFocusController final : public QObject
{
    Q_OBJECT
public:
    /// Created at the first call, as a child of the application; freed with it.
    static TZelFocusController *instance();
    /// The instance when one exists.
    static TZelFocusController *existing();

    void registerStatusBar(TZelStatusBar *bar);
    void unregisterStatusBar(TZelStatusBar *bar);

    /// On: follows the focus (the start-up switches it on).
    bool Active() const { return m_active; }
    void setActive(bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TZelFocusController(QObject *parent);
    ~TZelFocusController() override;
    void focusChanged(QWidget *old, QWidget *now);

    QList<QPointer<TZelStatusBar>> m_statusBars;
    bool m_active = false;
};
