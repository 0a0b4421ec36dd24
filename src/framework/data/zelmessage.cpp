#include "zelmessage.h"

#include "platform/db/dberror.h"

#include <QDebug>

namespace ZelMessage {

namespace {

ErrorHook &installed()
{
    static ErrorHook hook;
    return hook;
}

} // namespace

ErrorHook SetErrorHook(ErrorHook hook)
{
    ErrorHook previous = std::move(installed());
    installed() = std::move(hook);
    return previous;
}

void ShowError(const QString &message)
{
    if (installed())
        installed()(message);
    else
        qWarning().noquote() << message;
}

void ErrorAbort(const QString &message)
{
    ShowError(message);
    throw db::SilentAbort();
}

} // namespace ZelMessage
