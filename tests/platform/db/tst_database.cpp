#include "testdatabase.h"
#include "testenv.h"

#include "platform/db/backupservice.h"
#include "platform/db/dberror.h"
#include "platform/db/engine.h"
#include "platform/db/statement.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QUuid>
#include <QtTest>

#include <cstdio>

using namespace db;

namespace {

int countOf(Database &database, const QString &sql)
{
    Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.setParams(TestDatabase::transactionParams());
    tr.start();
    Statement st(&database, &tr);
    st.setSql(sql);
    st.execute();
    st.next();
    return st.field(0).asInteger();
}

// The other process of the sharing test: attaches to the file, writes a row and commits.
int runChild(const QString &path, int id)
{
    Database database;
    database.setDatabaseName(path);
    database.setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=x")});
    database.open();
    Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.start();
    Statement st(&database, &tr);
    st.setSql(QStringLiteral("insert into T (ID, NOME) values (:ID, 'filho')"));
    st.param(QStringLiteral("ID")).setInteger(id);
    st.execute();
    tr.commit();
    // The parent holds the file open: this process must see it attached.
    const int attached = int(database.attachedUsers().size());
    database.close();
    if (attached != 2) {
        std::fprintf(stderr, "the child sees %d attachments instead of 2\n", attached);
        return 3;
    }
    return 0;
}

} // namespace

class TstDatabase : public QObject
{
    Q_OBJECT

private slots:
    void engineRootIsPrivate();
    void createOpenCloseDrop();
    void createOptionsOnOneLine();
    void noneConnectionWritesWindows1252();
    void parameterLines();
    void noDbTriggersLine();
    void createOnExistingFileFails();
    void transactionsByIndexAndName();
    void transactionParameters();
    void infoCounters();
    void attachedUsersSeeEveryConnection();
    void twoProcessesShareOneFile_data();
    void twoProcessesShareOneFile();
    void closingEndsTransactionsAndDataSets();
    void backupWritesAFileThatRestores();
    void udfsCanBeCalled();
    void serverBackupAndAttachedUsers();
};

void TstDatabase::engineRootIsPrivate()
{
    TestDatabase t;
    const QString root = Engine::root();
    QVERIFY(!root.isEmpty());
    QVERIFY(!root.startsWith(QStringLiteral("/etc")));
    QVERIFY(QFileInfo::exists(root + QStringLiteral("/firebird.conf")));
    QVERIFY(QFileInfo(root + QStringLiteral("/intl/libfbintl.so")).isFile());
    QCOMPARE(qEnvironmentVariable("FIREBIRD"), root);
}

void TstDatabase::createOpenCloseDrop()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("novo.fdb"));
    Database database;
    database.setDatabaseName(path);
    // The option lines as the database-creation dialog writes them, with double quotes.
    database.setParams({QStringLiteral("USER \"SYSDBA\""), QStringLiteral("PASSWORD \"quillbrex\""),
                        QStringLiteral("PAGE_SIZE 4096")});
    QSignalSpy connected(&database, &Database::connected);
    database.createDatabase();
    QVERIFY(database.isConnected());
    QCOMPARE(connected.count(), 1);
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(database.charset(), QStringLiteral("WIN1252"));
    QCOMPARE(countOf(database, QStringLiteral("select count(*) from RDB$DATABASE where "
                                              "RDB$CHARACTER_SET_NAME = 'WIN1252'")),
             1);
    QCOMPARE(countOf(database, QStringLiteral("select MON$PAGE_SIZE from MON$DATABASE")), 4096);
    database.close();
    QVERIFY(!database.isConnected());
    database.open();
    QVERIFY(database.isConnected());
    database.dropDatabase();
    QVERIFY(!database.isConnected());
    QVERIFY(!QFileInfo::exists(path));
}

void TstDatabase::createOptionsOnOneLine()
{
    QTemporaryDir dir;
    Database database;
    database.setDatabaseName(dir.filePath(QStringLiteral("umalinha.fdb")));
    database.setParams({QStringLiteral("USER 'SYSDBA' PASSWORD 'quillbrex' PAGE_SIZE 8192")});
    database.createDatabase();
    QCOMPARE(countOf(database, QStringLiteral("select MON$PAGE_SIZE from MON$DATABASE")), 8192);
    QCOMPARE(database.attachedUsers(), QStringList{QStringLiteral("SYSDBA")});
}

void TstDatabase::noneConnectionWritesWindows1252()
{
    TestDatabase t;
    t.exec(QStringLiteral("create table T (NOME varchar(10))"));
    Database raw;
    raw.setDatabaseName(t.path());
    raw.setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("lc_ctype=NONE")});
    raw.open();
    Transaction tr;
    tr.setDefaultDatabase(&raw);
    tr.start();
    Statement st(&raw, &tr);
    st.setSql(QStringLiteral("insert into T values (:N)"));
    st.param(QStringLiteral("N")).setString(QStringLiteral("Ação €"));
    st.execute();
    tr.commit();
    QCOMPARE(countOf(t.database(), QStringLiteral("select count(*) from T where NOME = 'Ação €'")), 1);
}

void TstDatabase::parameterLines()
{
    TestDatabase t;
    Database database;
    database.setDatabaseName(t.path());
    database.setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbrex"),
                        QStringLiteral("sql_role_name=RDB$ADMIN"), QStringLiteral("num_buffers=300"),
                        QStringLiteral("lc_ctype=WIN1252"), QStringLiteral("isc_dpb_sql_dialect=3")});
    QCOMPARE(database.param(QStringLiteral("USER_NAME")), QStringLiteral("SYSDBA"));
    QCOMPARE(database.param(QStringLiteral("isc_dpb_num_buffers")), QStringLiteral("300"));
    database.open();
    QCOMPARE(database.info().numBuffers, 300);
    database.close();
    database.setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("force_write=0")});
    database.open();
    QCOMPARE(countOf(database, QStringLiteral("select MON$FORCED_WRITES from MON$DATABASE")), 0);
    database.close();
    database.setParams({QStringLiteral("no_such_thing=1")});
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, database.open());
    Database missing;
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, missing.open());
    missing.setDatabaseName(t.folder() + QStringLiteral("/nao-existe.fdb"));
    try {
        missing.open();
        QFAIL("attached to a file that does not exist");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.gdsCode(), long(isc_io_error));
        QVERIFY(!missing.isConnected());
    }
    QCOMPARE(missing.host(), QString());
    missing.setDatabaseName(QStringLiteral("servidor:/dados/banco.fdb"));
    QCOMPARE(missing.host(), QStringLiteral("servidor"));
    QCOMPARE(missing.path(), QStringLiteral("/dados/banco.fdb"));
}

// An administrative connection skips ON CONNECT triggers, even one that would refuse it; an ordinary one runs
// them. The line means nothing to CREATE DATABASE.
void TstDatabase::noDbTriggersLine()
{
    TestDatabase t;
    t.exec({QStringLiteral("create table ENTRADAS (N integer)"), QStringLiteral("create table BLOQUEIO (N integer)")});
    t.exec(QStringLiteral("create exception RECUSADO 'entrada recusada'"));
    t.exec(QStringLiteral("create trigger TG_ENTRADA on connect as begin "
                          "insert into ENTRADAS values (1); "
                          "if (exists(select * from BLOQUEIO)) then exception RECUSADO; end"));
    const auto attach = [&t](const QStringList &params) {
        Database database;
        database.setDatabaseName(t.path());
        database.setParams(params);
        database.open();
        const int entries = countOf(database, QStringLiteral("select count(*) from ENTRADAS"));
        database.close();
        return entries;
    };
    QCOMPARE(attach({QStringLiteral("user_name=SYSDBA")}), 1);
    QCOMPARE(attach({QStringLiteral("user_name=SYSDBA"), QStringLiteral("no_db_triggers")}), 1);
    QCOMPARE(attach({QStringLiteral("user_name=SYSDBA"), QStringLiteral("no_db_triggers=0")}), 2);
    // A local attachment goes through whatever the password says.
    QCOMPARE(attach({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=errada")}), 3);
    t.exec(QStringLiteral("insert into BLOQUEIO values (1)"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, attach({QStringLiteral("user_name=SYSDBA")}));
    QCOMPARE(attach({QStringLiteral("user_name=SYSDBA"), QStringLiteral("no_db_triggers")}), 3);

    Database fresh;
    fresh.setDatabaseName(t.folder() + QStringLiteral("/novo.fdb"));
    fresh.setParams({QStringLiteral("USER 'SYSDBA' PASSWORD 'quillbrex' PAGE_SIZE 4096"),
                     QStringLiteral("no_db_triggers")});
    fresh.createDatabase();
    QVERIFY(fresh.isConnected());
    fresh.close();
}

void TstDatabase::createOnExistingFileFails()
{
    TestDatabase t;
    Database again;
    again.setDatabaseName(t.path());
    try {
        again.createDatabase();
        QFAIL("created over an existing database");
    } catch (const DatabaseError &e) {
        QVERIFY(e.message().contains(QStringLiteral("exists")));
    }
    QVERIFY(!again.isConnected());
    QCOMPARE(countOf(t.database(), QStringLiteral("select count(*) from RDB$DATABASE")), 1);
}

void TstDatabase::transactionsByIndexAndName()
{
    TestDatabase t;
    Database &database = t.database();
    const int before = database.transactionCount();
    auto tr = std::make_unique<Transaction>();
    tr->setObjectName(QStringLiteral("trPARAMETROS"));
    tr->setDefaultDatabase(&database);
    QCOMPARE(database.transactionCount(), before + 1);
    QCOMPARE(database.transaction(before), tr.get());
    QCOMPARE(database.findTransaction(QStringLiteral("trparametros")), tr.get());
    QCOMPARE(database.findTransaction(QStringLiteral("nada")), nullptr);
    database.setDefaultTransaction(tr.get());
    QCOMPARE(database.defaultTransaction(), tr.get());
    tr.reset();
    QCOMPARE(database.transactionCount(), before);
    QCOMPARE(database.defaultTransaction(), nullptr);
}

void TstDatabase::transactionParameters()
{
    TestDatabase t;
    t.exec(QStringLiteral("create table T (ID integer)"));
    Transaction readOnly;
    readOnly.setDefaultDatabase(&t.database());
    readOnly.setParams({QStringLiteral("read"), QStringLiteral("read_committed"),
                        QStringLiteral("rec_version"), QStringLiteral("nowait")});
    readOnly.start();
    Statement st(&t.database(), &readOnly);
    st.setSql(QStringLiteral("insert into T values (1)"));
    try {
        st.execute();
        QFAIL("a read-only transaction wrote");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.gdsCode(), long(isc_read_only_trans));
    }
    readOnly.rollback();

    Transaction snapshot;
    snapshot.setDefaultDatabase(&t.database());
    snapshot.setParams({QStringLiteral("concurrency"), QStringLiteral("nowait")});
    snapshot.start();
    Statement count(&t.database(), &snapshot);
    count.setSql(QStringLiteral("select count(*) from T"));
    count.execute();
    count.next();
    QCOMPARE(count.field(0).asInteger(), 0);
    t.exec(QStringLiteral("insert into T values (2)"));
    count.execute();
    count.next();
    QCOMPARE(count.field(0).asInteger(), 0); // a snapshot does not see later commits
    snapshot.commit();
}

void TstDatabase::infoCounters()
{
    TestDatabase t;
    t.exec(QStringLiteral("create table T (ID integer)"));
    const DatabaseInfo before = t.database().info();
    QVERIFY(before.currentMemory > 0);
    QVERIFY(before.numBuffers > 0);
    QStringList rows;
    for (int i = 0; i < 200; ++i)
        rows << QStringLiteral("insert into T values (%1)").arg(i);
    t.exec(rows);
    const DatabaseInfo after = t.database().info();
    QVERIFY(after.fetches > before.fetches);
    QVERIFY(after.marks > before.marks);
}

void TstDatabase::attachedUsersSeeEveryConnection()
{
    TestDatabase t;
    QCOMPARE(t.database().attachedUsers(), QStringList{QStringLiteral("SYSDBA")});
    auto second = t.connectAgain();
    QCOMPARE(t.database().attachedUsers().size(), 2);
    second->close();
    QCOMPARE(t.database().attachedUsers().size(), 1);
}

void TstDatabase::twoProcessesShareOneFile_data()
{
    QTest::addColumn<bool>("ownEngineFolder");
    QTest::addRow("same engine folder") << false;
    // Another user, or another configuration of the same user: one lock table all the same, or both would
    // write the file unaware of each other.
    QTest::addRow("engine folder of its own") << true;
}

void TstDatabase::twoProcessesShareOneFile()
{
    QFETCH(bool, ownEngineFolder);
    TestDatabase t;
    t.exec(QStringLiteral("create table T (ID integer, NOME varchar(10))"));
    t.transaction().commit();
    // This process stays attached while the other one writes.
    QProcess child;
    QTemporaryDir otherRoot;
    if (ownEngineFolder) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QUINTARIS_FIREBIRD_ROOT"), otherRoot.path());
        environment.remove(QStringLiteral("FIREBIRD"));
        environment.remove(QStringLiteral("FIREBIRD_LOCK"));
        child.setProcessEnvironment(environment);
    }
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QStringLiteral("--child"), t.path(), QStringLiteral("7")});
    child.start();
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
    QCOMPARE(countOf(t.database(), QStringLiteral("select count(*) from T where ID = 7 and NOME = 'filho'")),
             1);
}

void TstDatabase::closingEndsTransactionsAndDataSets()
{
    TestDatabase t;
    t.exec(QStringLiteral("create table T (ID integer)"));
    Transaction committing;
    committing.setDefaultDatabase(&t.database());
    committing.setDefaultAction(EndAction::CommitRetaining);
    committing.start();
    Statement st(&t.database(), &committing);
    st.setSql(QStringLiteral("insert into T values (1)"));
    st.execute();
    Transaction rolling;
    rolling.setDefaultDatabase(&t.database());
    rolling.setDefaultAction(EndAction::Rollback);
    rolling.start();
    Statement st2(&t.database(), &rolling);
    st2.setSql(QStringLiteral("insert into T values (2)"));
    st2.execute();
    {
        // Destroyed while active with a retaining end: the work must still end for good (here, rolled back).
        Transaction dying;
        dying.setDefaultDatabase(&t.database());
        dying.setDefaultAction(EndAction::RollbackRetaining);
        dying.start();
        Statement st3(&t.database(), &dying);
        st3.setSql(QStringLiteral("insert into T values (3)"));
        st3.execute();
    }
    QCOMPARE(countOf(t.database(), QStringLiteral("select count(*) from MON$TRANSACTIONS where "
                                                  "MON$ATTACHMENT_ID = CURRENT_CONNECTION")),
             4); // the fixture's, the two above and the one counting: none left behind by "dying"
    t.database().close();
    QVERIFY(!committing.isActive());
    QVERIFY(!rolling.isActive());
    QVERIFY(!st.isPrepared());
    t.database().open();
    QCOMPARE(countOf(t.database(), QStringLiteral("select count(*) from T where ID = 1")), 1);
    QCOMPARE(countOf(t.database(), QStringLiteral("select count(*) from T where ID = 2")), 0);
    QCOMPARE(countOf(t.database(), QStringLiteral("select count(*) from T where ID = 3")), 0);
}

void TstDatabase::backupWritesAFileThatRestores()
{
    TestDatabase t;
    t.exec(QStringLiteral("create table T (ID integer, NOME varchar(20))"));
    t.exec(QStringLiteral("insert into T values (1, 'Ação')"));
    int serviceEvents = 0;
    t.database().setTraceFlags(TraceFlag::Service);
    t.database().setTraceHook([&](TraceFlag f, const QString &, const QDateTime &) {
        QCOMPARE(f, TraceFlag::Service);
        ++serviceEvents;
    });
    BackupService service;
    service.setFromDatabase(t.database());
    const QString backupFile = t.folder() + QStringLiteral("/copia.gbk");
    service.setBackupFile(backupFile);
    QStringList lines;
    service.backup([&](const QString &line) { lines << line; });
    QVERIFY(QFileInfo(backupFile).size() > 0);
    QVERIFY(lines.size() > 20);
    QVERIFY(lines.join(QLatin1Char('\n')).contains(QStringLiteral("T")));
    QCOMPARE(serviceEvents, lines.size() + 1);
    t.database().setTraceHook({});

    const QString restored = t.folder() + QStringLiteral("/restaurado.fdb");
    BackupService restore;
    restore.setDatabasePath(restored);
    restore.setBackupFile(backupFile);
    restore.restore();
    Database copy;
    copy.setDatabaseName(restored);
    copy.open();
    QCOMPARE(countOf(copy, QStringLiteral("select count(*) from T where NOME = 'Ação'")), 1);

    BackupService failing;
    failing.setDatabasePath(t.path());
    failing.setBackupFile(QStringLiteral("/nao/existe/copia.gbk"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, failing.backup());
}

void TstDatabase::udfsCanBeCalled()
{
    TestDatabase t;
    t.exec(QStringLiteral(
        "declare external function SUBSTR cstring(255), smallint, smallint returns cstring(255) "
        "free_it entry_point 'IB_UDF_substr' module_name 'ib_udf'"));
    Statement st(&t.database(), &t.transaction());
    st.setSql(QStringLiteral("select SUBSTR('Março', 1, 4) from RDB$DATABASE"));
    st.execute();
    QVERIFY(st.next());
    QCOMPARE(st.field(0).asString(), QStringLiteral("Març"));
}

void TstDatabase::serverBackupAndAttachedUsers()
{
    const QString host = testenv::serverHost();
    if (host.isEmpty())
        QSKIP("No Firebird server configured (QUINTARIS_TEST_SERVER)");
    const QString path =
        testenv::serverDirectory() +
        QStringLiteral("/qx-%1.fdb").arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    const QStringList login{QStringLiteral("user_name=SYSDBA"),
                            QStringLiteral("password=") + testenv::serverPassword()};
    Database database;
    database.setDatabaseName(host + QLatin1Char(':') + path);
    database.setParams(login);
    database.createDatabase();
    auto dropAtEnd = qScopeGuard([&] {
        if (!database.isConnected())
            database.open();
        database.dropDatabase();
    });
    QCOMPARE(database.host(), host);

    Database second;
    second.setDatabaseName(database.databaseName());
    second.setParams(login);
    second.open();
    QCOMPARE(database.attachedUsers().size(), 2);
    second.close();
    QCOMPARE(database.attachedUsers().size(), 1);

    Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.start();
    Statement st(&database, &tr);
    st.setParamCheck(false);
    st.setSql(QStringLiteral("create table T (ID integer)"));
    st.execute();
    tr.commit();

    BackupService service;
    service.setFromDatabase(database);
    service.setBackupFile(path + QStringLiteral(".gbk"));
    QStringList lines;
    service.backup([&](const QString &line) { lines << line; });
    QVERIFY(lines.size() > 20);
    QVERIFY(lines.join(QLatin1Char('\n')).contains(QStringLiteral("closing file")));
    QFile::remove(path + QStringLiteral(".gbk")); // written by the server's user; only a privileged run can
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--child") == 0)
        return runChild(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toInt());
    TstDatabase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_database.moc"
