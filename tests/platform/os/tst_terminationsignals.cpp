#include "platform/os/terminationsignals.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <csignal>

#include <unistd.h>

class TstTerminationSignals : public QObject
{
    Q_OBJECT

private slots:
    void requestsArriveAsEvents_data();
    void requestsArriveAsEvents();
    void childrenEndWhenAsked();
};

// A termination signal sent to the process does not end it: it arrives as a request, once per signal.
void TstTerminationSignals::requestsArriveAsEvents_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TstTerminationSignals::requestsArriveAsEvents()
{
    QFETCH(int, signalNumber);
    os::TerminationSignals termination;
    QSignalSpy spy(&termination, &os::TerminationSignals::requested);
    QVERIFY(!termination.received());
    ::kill(::getpid(), signalNumber);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), signalNumber);
    QVERIFY(termination.received());
    QCOMPARE(termination.lastSignal(), signalNumber);
}

// A program started from a process that holds the signals back ends on SIGTERM once its modifier lets them
// through; without it, it would sleep on.
void TstTerminationSignals::childrenEndWhenAsked()
{
    for (const bool unblocked : {false, true}) {
        QProcess child;
        child.setProgram(QStringLiteral("sleep"));
        child.setArguments({QStringLiteral("30")});
        if (unblocked)
            child.setChildProcessModifier([] { os::TerminationSignals::unblockInChild(); });
        child.start();
        QVERIFY(child.waitForStarted());
        QTest::qWait(100);
        ::kill(pid_t(child.processId()), SIGTERM);
        const bool ended = child.waitForFinished(2000);
        QCOMPARE(ended, unblocked);
        if (!ended) {
            child.kill();
            child.waitForFinished();
        } else {
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        }
    }
}

// The signals are held back before the test library starts its watchdog thread, as the programs do before
// their first thread.
int main(int argc, char *argv[])
{
    os::TerminationSignals::blockInProcess();
    QCoreApplication app(argc, argv);
    TstTerminationSignals test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_terminationsignals.moc"
