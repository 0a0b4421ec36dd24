#include "app/admin/admincommands.h"
#include "app/schema/dmversaoleilao.h"
#include "framework/schema/version/clscustomversion.h"
#include "framework/session/logincredentials.h"
#include "leilaofilegen.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"
#include "platform/db/statement.h"
#include "platform/db/transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <csignal>

namespace {

// Whether the process holds the file open, or with a folder, any file in it.
bool holdsFile(qint64 pid, const QString &path)
{
    const QFileInfo wanted(path);
    const QString canonical = wanted.canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = fd.symLinkTarget();
        if (target == canonical || (wanted.isDir() && target.startsWith(canonical + QLatin1Char('/'))))
            return true;
    }
    return false;
}

// Holds the file at three looks 200 ms apart. At start the version check opens the database and closes it
// again before the main connection opens it for good: one look could fall on that first, passing hold.
bool holdsSteadily(qint64 pid, const QString &path)
{
    for (int look = 0; look < 3; ++look) {
        if (look > 0)
            QTest::qWait(200);
        if (!holdsFile(pid, path))
            return false;
    }
    return true;
}

int notesIn(const QString &path)
{
    db::Database database;
    database.setDatabaseName(path);
    database.setParams({QStringLiteral("user_name=SYSDBA")});
    database.open();
    db::Transaction transaction;
    transaction.setDefaultDatabase(&database);
    transaction.start();
    db::Statement statement(&database, &transaction);
    statement.setSql(QStringLiteral("select count(*) from CONTROLE"));
    statement.execute();
    statement.next();
    const int count = statement.field(0).asInteger();
    statement.close();
    transaction.commit();
    database.close();
    return count;
}

} // namespace

class TestProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void endsInOrderWhenAskedToTerminate_data();
    void endsInOrderWhenAskedToTerminate();
    void interruptedImportLeavesNothing_data();
    void interruptedImportLeavesNothing();

private:
    QTemporaryDir m_dir;
    QString m_program;
    QString m_database;
};

void TestProgram::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // connection.ini is read beside the program, so the program runs from a folder of its own.
    m_program = m_dir.filePath(QStringLiteral("quintaris"));
    QVERIFY(QFile::copy(QStringLiteral(QUINTARIS_PROGRAM), m_program));
    m_database = m_dir.filePath(QStringLiteral("leilao.fdb"));

    VersionModuleClass = [] { return std::make_unique<TdmVersaoLeilao>(); };
    AdminCommands commands;
    RegisterSessionCommands(commands);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    const int status = commands.run({QStringLiteral("init-local"), QStringLiteral("--pasta"), m_dir.path(),
                                     QStringLiteral("--banco"), m_database},
                                    out, err);
    err.flush();
    QVERIFY2(status == 0, qPrintable(errText));
}

// Asked to end by the system (SIGTERM), the terminal (SIGINT) or a closed terminal (SIGHUP), the program ends
// normally (status 0, not killed by the signal), whether the session window is up or the login dialog is still
// waiting over the splash.
void TestProgram::endsInOrderWhenAskedToTerminate_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("argumentLogin");
    QTest::addColumn<bool>("early");
    for (const auto &[name, number] : {std::pair{"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}}) {
        QTest::addRow("%s in the session", name) << number << true << false;
        QTest::addRow("%s at the login dialog", name) << number << false << false;
    }
    // As soon as the engine starts, before the login dialog has opened: the dialog closes when it shows.
    QTest::addRow("SIGTERM while connecting") << int(SIGTERM) << false << true;
}

void TestProgram::endsInOrderWhenAskedToTerminate()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, argumentLogin);
    QFETCH(bool, early);

    QProcess program;
    program.setProgram(m_program);
    if (argumentLogin)
        program.setArguments({ScrambleUserName(QStringLiteral("ADMIN"))});
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start();
    QVERIFY(program.waitForStarted());
    const qint64 pid = program.processId();

    // The main connection opens before the login; once it is there the program is waiting for events.
    if (early) {
        QTRY_VERIFY_WITH_TIMEOUT(holdsFile(pid, db::Engine::lockDirectory()), 30000);
    } else {
        // Once the program holds the database open it is past its start, in a dialog or in the session.
        QTRY_VERIFY_WITH_TIMEOUT(holdsSteadily(pid, m_database), 30000);
        QTest::qWait(300);
    }
    QTest::qWait(300);
    QCOMPARE(program.state(), QProcess::Running);

    ::kill(pid_t(pid), signalNumber);
    QVERIFY2(program.waitForFinished(15000), "the program kept running after the termination request");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

// quintaris-admin stopped in the middle of a large import ends at once with 128 + the signal, and the
// database holds none of the file's notes; the file keeps its name, ready to be imported again.
void TestProgram::interruptedImportLeavesNothing_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
}

void TestProgram::interruptedImportLeavesNothing()
{
    QFETCH(int, signalNumber);
    const QString file = m_dir.filePath(QStringLiteral("LEILAO_GRANDE.TXT"));
    QVERIFY(bench::writeLeilaoFile(file, 400000));

    QProcess admin;
    admin.setProgram(QStringLiteral(QUINTARIS_ADMIN));
    admin.setArguments({QStringLiteral("importar"), m_database, file, QStringLiteral("--usuario"),
                        QStringLiteral("ADMIN")});
    admin.start();
    QVERIFY(admin.waitForStarted());
    const qint64 pid = admin.processId();
    QTRY_VERIFY_WITH_TIMEOUT(holdsFile(pid, m_database), 30000);
    QTest::qWait(200);
    if (admin.state() != QProcess::Running)
        QSKIP("the import ended before it could be interrupted");

    ::kill(pid_t(pid), signalNumber);
    QVERIFY2(admin.waitForFinished(10000), "quintaris-admin kept running after the interruption");
    QCOMPARE(admin.exitStatus(), QProcess::NormalExit);
    QCOMPARE(admin.exitCode(), 128 + signalNumber);
    QVERIFY(QString::fromUtf8(admin.readAllStandardError()).contains(QStringLiteral("interrompido")));
    QVERIFY(QFileInfo::exists(file));
    QCOMPARE(notesIn(m_database), 0);
    QFile::remove(file);
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
