#pragma once

#include <QApplication>

#include <exception>
#include <functional>

/// The program's application object: an exception that escapes an event handler, in the main loop or in the
/// loop of a modal dialog, goes to the installed application error handler and the run continues.
class GuardedApplication : public QApplication
{
    Q_OBJECT
public:
    GuardedApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    using Handler = std::function<void(QObject *sender, std::exception_ptr error)>;
    /// Replaces the application-wide handler; answers the previous one.
    static Handler setHandler(Handler handler);
    /// Hands an error to the installed handler (a plain message box without one). A silent abort is
    /// dropped: the refused operation has already told the user.
    static void handleException(QObject *sender, std::exception_ptr error);
    /// The text shown for an error: the database message, the Portuguese text of value errors, else what().
    static QString messageOf(std::exception_ptr error);
};
