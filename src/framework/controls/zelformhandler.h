#pragma once

/// What a framework window offers the controls inside it. The base form implements it; a control finds it
/// through its top-level window (QWidget::window()).
class ZelFormHandler
{
public:
    virtual ~ZelFormHandler() = default;

    /// A dialog key (Escape) that the focused control left unhandled, for the window's cancel handling.
    /// Answers whether the window took it.
    virtual bool dialogKey(int key) = 0;
};
