#pragma once

#include <QString>

#include <functional>

/// The error dialog of the data layer: code without windows reports through a replaceable hook, and the
/// program points it at a message box once the application object exists.
namespace ZelMessage {

using ErrorHook = std::function<void(const QString &message)>;

/// Installs hook (an empty hook restores the default, which writes the message to the warning log) and
/// returns the previous one.
ErrorHook SetErrorHook(ErrorHook hook);

/// Shows message as an error with a single OK button.
void ShowError(const QString &message);

/// Shows message as an error, then ends the caller's work silently (throws db::SilentAbort).
[[noreturn]] void ErrorAbort(const QString &message);

/// Installs a hook for the lifetime of the scope and puts the previous one back afterwards.
class ErrorHookScope
{
public:
    explicit ErrorHookScope(ErrorHook hook) : m_previous(SetErrorHook(std::move(hook))) {}
    ~ErrorHookScope() { SetErrorHook(std::move(m_previous)); }
    ErrorHookScope(const ErrorHookScope &) = delete;
    ErrorHookScope &operator=(const ErrorHookScope &) = delete;

private:
    ErrorHook m_previous;
};

} // namespace ZelMessage
