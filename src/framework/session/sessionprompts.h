#pragma once

#include <QString>

class QWidget;

/// The message and question boxes of the session dialogs.
namespace SessionPrompts {

/// A plain message with an OK button, captioned with the program's title.
void ShowMessage(const QString &text, QWidget *parent = nullptr);
/// A Yes/No question captioned "Confirmar", question icon, "No" as the default button.
bool AskYesNo(const QString &text, QWidget *parent = nullptr);

} // namespace SessionPrompts

/// The busy mouse cursor while the session talks to a database; nothing without a screen.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool m_set = false;
};
