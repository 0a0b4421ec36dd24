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
    /// How far the control moved since it was attached or last asked. Tracked here because a control moved
    /// while hidden reports its moves only at show time, as a move from where it already is.
    QPoint takeDisplacement();
    /// The control's present place becomes the reference (the companion was just placed beside it).
    void resync() { m_lastPos = m_control ? m_control->pos() : QPoint(); }

private:
    void detach();

    Reaction m_reaction;
    QPointer<QWidget> m_control;
    QPoint m_lastPos;
    int m_handle = 0;
};

/// Moves a companion by its control's displacement.
void zelFollowMove(QWidget *companion, const QPoint &displacement);
/// The Enabled property a control was given itself (a disabled parent does not count).
bool zelOwnEnabled(const QWidget *w);
