#include "zelerrorhandler.h"

#include "platform/db/dberror.h"
#include "platform/mask/maskerror.h"

#include <QApplication>
#include <QMessageBox>

namespace ZelErrorHandler {

namespace {

Handler &current()
{
    static Handler handler;
    return handler;
}

} // namespace

Handler install(Handler handler)
{
    Handler previous = std::move(current());
    current() = std::move(handler);
    return previous;
}

QString messageOf(std::exception_ptr error)
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

void handle(std::exception_ptr error)
{
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const db::SilentAbort &) {
        return;
    } catch (...) {
    }
    if (current()) {
        current()(error);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), messageOf(error));
}

} // namespace ZelErrorHandler
