#pragma once

#include <QObject>

class QSocketNotifier;

namespace os {

/// Requests to end the program that come from the system or the terminal (SIGTERM, SIGINT, SIGHUP), delivered
/// on the thread that owns this object, between events, like any other event of the program.
///
/// The database engine installs handlers of its own for these signals that only shut the engine down, so a
/// program that left them alone would keep running without a database. The signals are therefore held back
/// in every thread (blockInProcess(), first thing in main, before any thread starts: threads inherit the
/// mask) and read here from a descriptor.
class TerminationSignals final : public QObject
{
    Q_OBJECT
public:
    /// Holds the termination signals back in the calling thread and in every thread it starts afterwards.
    /// Programs started from here inherit the mask: give them unblockInChild() as their child-process
    /// modifier (QProcess::setChildProcessModifier), or they would not end when asked to.
    static void blockInProcess();
    /// Lets the termination signals through again; safe to call in a child process between fork and exec.
    static void unblockInChild();

    /// For programs without an event loop: after blockInProcess(), a thread of its own waits for a
    /// termination signal, writes message and a line break on the standard error and ends the process at once
    /// with status 128 + the signal's number. Work the process had not committed is undone by the engine.
    static void exitOnRequest(const QByteArray &message);

    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    /// Whether a request has arrived since this object was made.
    bool received() const { return m_received != 0; }
    int lastSignal() const { return m_received; }

signals:
    void requested(int signalNumber);

private:
    void readPending();

    int m_descriptor = -1;
    QSocketNotifier *m_notifier = nullptr;
    int m_received = 0;
};

} // namespace os
