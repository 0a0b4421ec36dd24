#include "guardedapplication.h"

#include "platform/db/dberror.h"

#include <QMessageBox>

namespace {

GuardedApplication::Handler &installed()
{
    static GuardedApplication::Handler handler;
    return handler;
}

} // namespace

GuardedApplication::GuardedApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        handleException(receiver, std::current_exception());
    }
    return false;
}

GuardedApplication::Handler GuardedApplication::setHandler(Handler handler)
{
    Handler previous = std::move(installed());
    installed() = std::move(handler);
    return previous;
}

QString GuardedApplication::messageOf(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const db::DatabaseError &e) {
        return e.message();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Erro desconhecido");
    }
}

void GuardedApplication::handleException(QObject *sender, std::exception_ptr error)
{
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const db::SilentAbort &) {
        return;
    } catch (...) {
    }
    if (installed()) {
        // A handler that fails itself must not take the run down with it.
        try {
            installed()(sender, error);
        } catch (...) {
        }
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                          messageOf(error));
}
