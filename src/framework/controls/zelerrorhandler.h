#pragma once

#include <QString>

#include <exception>
#include <functional>

/// Where the controls send an error raised inside an event handler (focus exit, a key), since nothing may be
/// thrown through Qt's event loop. The application installs its error handler at start; without one the
/// message is shown in a message box.
namespace ZelErrorHandler {

using Handler = std::function<void(std::exception_ptr)>;

/// Replaces the handler; answers the previous one.
Handler install(Handler handler);
/// Hands the error to the installed handler.
void handle(std::exception_ptr error);
/// The user-facing text of an error (Portuguese for data and mask errors).
QString messageOf(std::exception_ptr error);

} // namespace ZelErrorHandler
