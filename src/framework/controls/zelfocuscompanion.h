#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QEvent;

/// The tie of a companion (caption, description panel, button) to the control it serves: it listens to
/// that control's events through the control's TCommonProperties and forgets a control that is freed.
class ZelFocusCompanion
{
public:
    using Reaction = std::function<void(QEvent *)>;

    explicit ZelFocusCompanion(Reaction reaction) : m_reaction(std::move(reaction)) {}
    ~ZelFocusCompanion() { detach(); }
    ZelFocusCompanion(const ZelFocusCompanion &) = delete;
    ZelFocusCompanion &operator=(const ZelFocusCompanion &) = delete;

    QWidget *control() const { return m_control; }
    /// Stops listening to the previous control and starts listening to this one.
    void setControl(QWidget *control);

private:
    void detach();

    Reaction m_reaction;
    QPointer<QWidget> m_control;
    int m_handle = 0;
};

/// Moves a companion along with its control: a control moved from old to new takes the companion with it.
void zelFollowMove(QWidget *companion, QEvent *moveEvent);
/// The Enabled property a control was given itself (a disabled parent does not count).
bool zelOwnEnabled(const QWidget *w);
