#include "framework/schema/zelibsqlobj.h"

#include "testdatabase.h"

#include "platform/db/dataset.h"
#include "platform/db/dberror.h"
#include "platform/db/statement.h"
#include "platform/db/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <stdexcept>

Q_DECLARE_METATYPE(EISQLException::Category)

namespace {

const QString CRLF = QStringLiteral("\r\n");

// The first column of the first row, read in a transaction of its own (committed data only).
QVariant scalar(db::Database &database, const QString &sql)
{
    db::Transaction transaction;
    transaction.setDefaultDatabase(&database);
    transaction.setParams(TestDatabase::transactionParams());
    transaction.start();
    QVariant value;
    {
        db::Statement statement(&database, &transaction);
        statement.setSql(sql);
        statement.execute();
        if (statement.hasRow() || (statement.isOpen() && statement.next()))
            value = statement.field(0).asVariant();
    }
    transaction.commit();
    return value;
}

// The same inside a transaction that may hold uncommitted work.
QVariant scalarIn(db::Database &database, db::Transaction &transaction, const QString &sql)
{
    if (!transaction.isActive())
        transaction.start();
    db::Statement statement(&database, &transaction);
    statement.setSql(sql);
    statement.execute();
    return statement.next() ? statement.field(0).asVariant() : QVariant();
}

int relationCount(db::Database &database, const QString &relation)
{
    return scalar(database,
                  QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = '%1'")
                      .arg(relation))
        .toInt();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

QString eventText(TSQLEvent event, TSQLSubEvent subEvent, const QVariant &data)
{
    return QStringLiteral("E %1/%2/%3").arg(int(event)).arg(int(subEvent)).arg(data.toString());
}

// A test database with a separate DDL transaction (index 1) and an executor bound to both, recording
// OnQueryProgress as "P" and OnISQLEvent as "E event/subEvent/data" in one log.
struct Fixture
{
    TestDatabase test;
    db::Transaction ddl;
    TZelIBSQLObj executor;
    QStringList log;
    QList<QVariant> eventData;
    QList<db::Database *> eventDatabases;

    explicit Fixture(const QString &fileName = QStringLiteral("test.fdb")) : test(fileName)
    {
        ddl.setObjectName(QStringLiteral("DDLTrans"));
        ddl.setParams(TestDatabase::transactionParams());
        ddl.setDefaultDatabase(&test.database());
        executor.setDatabase(&test.database());
        executor.setDefaultTransIDX(0);
        executor.setDDLTransIDX(1);
        executor.setOnQueryProgress([this](TZelIBSQLObj *) { log.append(QStringLiteral("P")); });
        executor.setOnISQLEvent(
            [this](TSQLEvent event, TSQLSubEvent subEvent, const QVariant &data, db::Database *database) {
                log.append(eventText(event, subEvent, data));
                eventData.append(data);
                eventDatabases.append(database);
            });
    }

    db::Database &database() { return test.database(); }
    db::Transaction &defaultTransaction() { return test.transaction(); }

    void run(const QStringList &lines)
    {
        executor.setQuery(lines);
        executor.ExecuteScript();
    }

    // The script error of a run that must fail.
    std::optional<EISQLException> fail(const QStringList &lines)
    {
        try {
            run(lines);
        } catch (const EISQLException &error) {
            return error;
        }
        return std::nullopt;
    }

    QStringList events() const { return log.filter(QStringLiteral("E ")); }
};

std::optional<EISQLException> failRun(TZelIBSQLObj &executor, const QStringList &lines)
{
    executor.setQuery(lines);
    try {
        executor.ExecuteScript();
    } catch (const EISQLException &error) {
        return error;
    }
    return std::nullopt;
}

} // namespace

class TestZelIBSQLObj : public QObject
{
    Q_OBJECT

private slots:
    void realisticScript();
    void eventsInOrder();
    void failingStatementStopsTheRun_data();
    void failingStatementStopsTheRun();
    void ddlErrorCarriesTheWholeStatement();
    void unparsableScriptRunsNothing();
    void noActiveConnection();
    void autoDdlOnCommitsEachStatement();
    void autoDdlOffLeavesDefinitionsPending();
    void autoDdlOffUntilCommit();
    void setGeneratorRunsOnTheDdlTransaction();
    void failedDdlKeepsRowsOfASharedTransaction();
    void commitAndRollbackEndBothTransactions();
    void createDatabaseThenTables();
    void createDatabaseFailures_data();
    void createDatabaseFailures();
    void connectSwitchesTheConnection_data();
    void connectSwitchesTheConnection();
    void connectFailures_data();
    void connectFailures();
    void inputRunsASecondFile();
    void inputThatConnectsHandsTheConnectionOver_data();
    void inputThatConnectsHandsTheConnectionOver();
    void inputFailures_data();
    void inputFailures();
    void sqlDialect_data();
    void sqlDialect();
    void dropDatabase();
    void probeTransactionLivesForTheRunOnly();
    void badTransactionIndexFailsThePreparation();
    void pendingEventsHookRunsForLinesAndStatements();
    void statisticsLines();
    void datasetReceivesSelects();
    void databaseMustBeAssigned();
};

void TestZelIBSQLObj::realisticScript()
{
    Fixture f;
    f.defaultTransaction().commit();
    const QStringList script = {
        QStringLiteral("/******************************************************************************"),
        QStringLiteral(" * CLIENTE.SQL 1.00"),
        QStringLiteral(" * Clientes e renomeação"),
        QStringLiteral(" ******************************************************************************/"),
        QString(),
        QStringLiteral("set TERM ^ ;"),
        QString(),
        QStringLiteral("create table CLIENTE ("),
        QStringLiteral("    ID integer not null,"),
        QStringLiteral("    NOME varchar(40),"),
        QStringLiteral("    NOME_BUSCA varchar(40), /* preenchido pelo gatilho */"),
        QStringLiteral("    constraint PK_CLIENTE primary key (ID)"),
        QStringLiteral(")^"),
        QString(),
        QStringLiteral("create generator GEN_CLIENTE_ID^"),
        QStringLiteral("set generator GEN_CLIENTE_ID to 10^"),
        QString(),
        QStringLiteral("declare external function STRLEN"),
        QStringLiteral("    cstring(32767)"),
        QStringLiteral("    returns integer by value"),
        QStringLiteral("    entry_point 'IB_UDF_strlen' module_name 'ib_udf'^"),
        QString(),
        QStringLiteral("create trigger TG_CLIENTE for CLIENTE"),
        QStringLiteral("active before insert or update position 0"),
        QStringLiteral("as"),
        QStringLiteral("declare variable NOVO integer;"),
        QStringLiteral("begin"),
        QStringLiteral("  if (new.ID is null) then"),
        QStringLiteral("  begin"),
        QStringLiteral("    select gen_id(GEN_CLIENTE_ID, 1) from rdb$database into :NOVO;"),
        QStringLiteral("    new.ID = :NOVO;"),
        QStringLiteral("  end"),
        QStringLiteral("  new.NOME_BUSCA = upper(new.NOME);"),
        QStringLiteral("end^"),
        QString(),
        QStringLiteral("create procedure RENOMEIA (CODIGO integer, NOVO_NOME varchar(40))"),
        QStringLiteral("returns (TAMANHO integer)"),
        QStringLiteral("as"),
        QStringLiteral("begin"),
        QStringLiteral("  update CLIENTE set NOME = :NOVO_NOME where ID = :CODIGO;"),
        QStringLiteral("  TAMANHO = STRLEN(:NOVO_NOME);"),
        QStringLiteral("end^"),
        QString(),
        QStringLiteral("set TERM ; ^"),
        QString(),
        QStringLiteral("insert into CLIENTE (NOME) values ('Ana');"),
        QStringLiteral("insert into CLIENTE (NOME) values ('Caio');  /* segundo cliente */"),
        QStringLiteral("execute procedure RENOMEIA 11, 'Beatriz';"),
        QStringLiteral("commit work;"),
    };

    f.run(script);

    QCOMPARE(f.log.count(QStringLiteral("P")), 10);
    QVERIFY(!f.defaultTransaction().isActive());
    QVERIFY(!f.ddl.isActive());

    auto other = f.test.connectAgain();
    QCOMPARE(scalar(*other, QStringLiteral("select count(*) from CLIENTE")).toInt(), 2);
    QCOMPARE(scalar(*other, QStringLiteral("select NOME || '/' || NOME_BUSCA from CLIENTE where ID = 11"))
                 .toString(),
             QStringLiteral("Beatriz/BEATRIZ"));
    QCOMPARE(scalar(*other, QStringLiteral("select NOME || '/' || NOME_BUSCA from CLIENTE where ID = 12"))
                 .toString(),
             QStringLiteral("Caio/CAIO"));
    QCOMPARE(scalar(*other, QStringLiteral("select gen_id(GEN_CLIENTE_ID, 0) from rdb$database")).toInt(),
             12);
    QCOMPARE(scalar(*other, QStringLiteral("select STRLEN('Março') from rdb$database")).toInt(), 5);
    // The bodies reached the server with their colon-prefixed variables.
    QVERIFY(scalar(*other, QStringLiteral("select RDB$TRIGGER_SOURCE from RDB$TRIGGERS "
                                          "where RDB$TRIGGER_NAME = 'TG_CLIENTE'"))
                .toString()
                .contains(QStringLiteral("new.ID = :NOVO;")));
    QVERIFY(scalar(*other, QStringLiteral("select RDB$PROCEDURE_SOURCE from RDB$PROCEDURES "
                                          "where RDB$PROCEDURE_NAME = 'RENOMEIA'"))
                .toString()
                .contains(QStringLiteral("where ID = :CODIGO;")));
}

void TestZelIBSQLObj::eventsInOrder()
{
    Fixture f;
    f.database().setSqlDialect(1);
    f.run({
        QStringLiteral("set sql dialect 3;"),
        QStringLiteral("set autoddl off;"),
        QStringLiteral("set autoddl;"),
        QStringLiteral("create table T (ID integer, NOME varchar(10));"),
        QStringLiteral("create view V as select ID from T;"),
        QStringLiteral("create generator G;"),
        QStringLiteral("alter table T add X integer;"),
        QStringLiteral("create domain D as integer;"),
        QStringLiteral("create exception E 'erro';"),
        QStringLiteral("create procedure PR as begin end;"),
        QStringLiteral("create trigger TG for T before insert as begin end;"),
        QStringLiteral("drop view V;"),
        QStringLiteral("declare external function STRLEN cstring(32767) returns integer by value "
                       "entry_point 'IB_UDF_strlen' module_name 'ib_udf';"),
        QStringLiteral("set generator G to 5;"),
        QStringLiteral("insert into T (ID) values (1);"),
        QStringLiteral("insert into T (ID) values (2);"),
        QStringLiteral("update T set NOME = 'x';"),
        QStringLiteral("delete from T where ID = 1;"),
        QStringLiteral("select * from T;"),
        QStringLiteral("commit;"),
        QStringLiteral("delete from T;"),
        QStringLiteral("rollback;"),
        QStringLiteral("show tables;"),
        QStringLiteral("set names WIN1252;"),
    });

    const QStringList expected = {
        "P", "E 6/14/3",     //
        "P", "E 8/15/false", //
        "P", "E 8/15/true",  //
        "P", "E 3/0/",       // create table
        "P", "E 3/9/",       // create view
        "P", "E 3/11/",      // create generator
        "P", "E 1/0/",       // alter table
        "P", "E 3/3/",       // create domain
        "P", "E 3/6/",       // create exception
        "P", "E 3/2/",       // create procedure
        "P", "E 3/1/",       // create trigger
        "P", "E 0/9/",       // drop view
        "P", "E 5/8/",       // declare external function
        "P", "E 5/8/",       // set generator
        "P", "E 7/8/1",      //
        "P", "E 7/8/1",      //
        "P", "E 7/8/2",      // update of both rows
        "P", "E 7/8/1",      //
        "P",                 // select: no event
        "P", "E 4/8/false",  // commit
        "P", "E 7/8/1",      //
        "P", "E 4/8/false",  // rollback
        "P",                 // show: ignored
        "P",                 // set names: no event
    };
    QCOMPARE(f.log, expected);

    QCOMPARE(f.database().sqlDialect(), 3);
    QCOMPARE(f.eventData.at(0).typeId(), QMetaType::Int);
    QCOMPARE(f.eventData.at(1).typeId(), QMetaType::Bool);
    QCOMPARE(f.eventData.at(3).typeId(), QMetaType::QString);
    QCOMPARE(f.eventData.at(14).typeId(), QMetaType::LongLong);
    QCOMPARE(f.eventData.at(18).typeId(), QMetaType::Bool);
    for (db::Database *database : f.eventDatabases)
        QCOMPARE(database, &f.database());

    // The rollback undid only the delete after the commit.
    auto other = f.test.connectAgain();
    QCOMPARE(scalar(*other, QStringLiteral("select list(ID) from T")).toString(), QStringLiteral("2"));
}

void TestZelIBSQLObj::failingStatementStopsTheRun_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<EISQLException::Category>("category");
    QTest::addColumn<QString>("message");

    QTest::newRow("syntax error") << "selec * from T" << EISQLException::PrepareStatement << "Token unknown";
    QTest::newRow("unknown table") << "insert into NADA values (1)" << EISQLException::PrepareStatement
                                   << "Table unknown";
    QTest::newRow("data definition") << "create table NOVA (B integer)" << EISQLException::DataDefinition
                                     << "NOVA";
    QTest::newRow("insert") << "insert into T values (1)" << EISQLException::DataManipulation
                            << "PRIMARY or UNIQUE KEY";
    QTest::newRow("update") << "update T set ID = 1 where ID = 10" << EISQLException::DataManipulation
                            << "PRIMARY or UNIQUE KEY";
    QTest::newRow("execute procedure")
        << "execute procedure DIVIDE" << EISQLException::Select << "divide by zero";
}

void TestZelIBSQLObj::failingStatementStopsTheRun()
{
    QFETCH(QString, failing);
    QFETCH(EISQLException::Category, category);
    QFETCH(QString, message);

    Fixture f;
    f.test.exec({QStringLiteral("create table T (ID integer not null primary key)"),
                 QStringLiteral("create procedure DIVIDE returns (R integer) as begin R = 1 / 0; end")});
    f.test.exec(QStringLiteral("insert into T values (1)"));

    const std::optional<EISQLException> error = f.fail({
        QStringLiteral("insert into T values (10);"),
        QStringLiteral("create table NOVA (A integer);"),
        failing + QStringLiteral(";"),
        QStringLiteral("insert into T values (99);"),
    });

    QVERIFY(error.has_value());
    QCOMPARE(error->category(), category);
    QCOMPARE(error->errorNumber(), 48);
    QCOMPARE(error->data(), failing);
    QVERIFY2(error->message().contains(message, Qt::CaseInsensitive), qPrintable(error->message()));
    QCOMPARE(QString::fromUtf8(error->what()), error->message());
    QCOMPARE(f.log.count(QStringLiteral("P")), 3);

    // The earlier DDL is committed, the earlier row waits uncommitted in the default transaction, and
    // nothing after the failure ran.
    auto other = f.test.connectAgain();
    QCOMPARE(relationCount(*other, QStringLiteral("NOVA")), 1);
    QCOMPARE(scalar(*other, QStringLiteral("select count(*) from T where ID = 10")).toInt(), 0);
    QVERIFY(f.defaultTransaction().isActive());
    QCOMPARE(
        scalarIn(f.database(), f.defaultTransaction(), QStringLiteral("select count(*) from T where ID = 10"))
            .toInt(),
        1);
    QCOMPARE(
        scalarIn(f.database(), f.defaultTransaction(), QStringLiteral("select count(*) from T where ID = 99"))
            .toInt(),
        0);
}

void TestZelIBSQLObj::ddlErrorCarriesTheWholeStatement()
{
    Fixture f;
    f.test.exec(QStringLiteral("create table T (ID integer)"));

    const std::optional<EISQLException> error = f.fail({
        QStringLiteral("set term ^ ;"),
        QStringLiteral("create table T ("),
        QStringLiteral("    ID integer not null primary key"),
        QString(),
        QStringLiteral(")^"),
        QStringLiteral("create table DEPOIS (A integer)^"),
    });

    QVERIFY(error.has_value());
    QCOMPARE(error->category(), EISQLException::DataDefinition);
    QCOMPARE(int(error->category()), 9);
    QCOMPARE(error->data(), QStringLiteral("create table T (") + CRLF +
                                QStringLiteral("    ID integer not null primary key") + CRLF +
                                QStringLiteral(")"));
    QVERIFY2(error->message().contains(QStringLiteral("T already exists")), qPrintable(error->message()));
    QVERIFY(!f.ddl.isActive());
    QCOMPARE(relationCount(f.database(), QStringLiteral("DEPOIS")), 0);
}

void TestZelIBSQLObj::unparsableScriptRunsNothing()
{
    Fixture f;
    const std::optional<EISQLException> error =
        f.fail({QStringLiteral("create table A (X integer);"), QStringLiteral("/* nunca fechado"),
                QStringLiteral("create table B (X integer);")});

    QVERIFY(error.has_value());
    QCOMPARE(error->category(), EISQLException::Parse);
    QCOMPARE(error->message(), QStringLiteral("Unable to parse script"));
    QVERIFY(error->data().isEmpty());
    QVERIFY(f.log.isEmpty());
    QCOMPARE(relationCount(f.database(), QStringLiteral("A")), 0);
}

void TestZelIBSQLObj::noActiveConnection()
{
    db::Database database;
    TZelIBSQLObj executor;
    executor.setDatabase(&database);
    int progress = 0;
    executor.setOnQueryProgress([&progress](TZelIBSQLObj *sender) {
        QVERIFY(sender);
        ++progress;
    });

    const std::optional<EISQLException> error =
        failRun(executor, {QStringLiteral("set autoddl off;"), QStringLiteral("insert into T values (1);")});

    QVERIFY(error.has_value());
    QCOMPARE(error->category(), EISQLException::PrepareStatement);
    QCOMPARE(error->message(), QStringLiteral("No active connection"));
    QCOMPARE(error->data(), QStringLiteral("insert into T values (1)"));
    QCOMPARE(progress, 2);
    QVERIFY(!executor.AutoDDL());
}

void TestZelIBSQLObj::autoDdlOnCommitsEachStatement()
{
    Fixture f;
    f.run({QStringLiteral("create table A (X integer);"), QStringLiteral("create table B (X integer);")});

    QVERIFY(f.executor.AutoDDL());
    QVERIFY(!f.ddl.isActive());
    auto other = f.test.connectAgain();
    QCOMPARE(relationCount(*other, QStringLiteral("A")), 1);
    QCOMPARE(relationCount(*other, QStringLiteral("B")), 1);
}

void TestZelIBSQLObj::autoDdlOffLeavesDefinitionsPending()
{
    Fixture f;
    f.run({QStringLiteral("set autoddl off;"), QStringLiteral("create table A (X integer);"),
           QStringLiteral("create table B (X integer);")});

    QVERIFY(!f.executor.AutoDDL());
    QVERIFY(f.ddl.isActive());
    auto other = f.test.connectAgain();
    QCOMPARE(relationCount(*other, QStringLiteral("A")), 0);

    // What the script leaves is the caller's to end.
    f.ddl.rollback();
    QCOMPARE(relationCount(f.database(), QStringLiteral("A")), 0);
    QCOMPARE(relationCount(f.database(), QStringLiteral("B")), 0);
}

void TestZelIBSQLObj::autoDdlOffUntilCommit()
{
    Fixture f;
    f.run({QStringLiteral("set autoddl off;"), QStringLiteral("create table A (X integer);"),
           QStringLiteral("commit;"), QStringLiteral("set auto on;"),
           QStringLiteral("create table B (X integer);")});

    QVERIFY(f.executor.AutoDDL());
    QVERIFY(!f.ddl.isActive());
    auto other = f.test.connectAgain();
    QCOMPARE(relationCount(*other, QStringLiteral("A")), 1);
    QCOMPARE(relationCount(*other, QStringLiteral("B")), 1);
}

void TestZelIBSQLObj::setGeneratorRunsOnTheDdlTransaction()
{
    Fixture f;
    f.defaultTransaction().commit();
    f.run({QStringLiteral("create generator G;"), QStringLiteral("set generator G to 42;")});

    QVERIFY(!f.defaultTransaction().isActive());
    QVERIFY(!f.ddl.isActive());
    auto other = f.test.connectAgain();
    QCOMPARE(scalar(*other, QStringLiteral("select gen_id(G, 0) from rdb$database")).toInt(), 42);

    // Without auto-commit the statement stays in the DDL transaction: the default one is never started.
    f.run({QStringLiteral("set autoddl off;"), QStringLiteral("set generator G to 7;")});
    QVERIFY(f.ddl.isActive());
    QVERIFY(!f.defaultTransaction().isActive());
    QCOMPARE(f.events().last(), QStringLiteral("E 5/8/"));
}

void TestZelIBSQLObj::failedDdlKeepsRowsOfASharedTransaction()
{
    Fixture f;
    f.test.exec(QStringLiteral("create table T (ID integer)"));
    f.executor.setDDLTransIDX(0);

    // A successful definition commits the shared transaction with the rows before it.
    f.run({QStringLiteral("insert into T values (1);"), QStringLiteral("create table A (X integer);")});
    auto other = f.test.connectAgain();
    QCOMPARE(scalar(*other, QStringLiteral("select count(*) from T")).toInt(), 1);

    const std::optional<EISQLException> error =
        f.fail({QStringLiteral("insert into T values (2);"), QStringLiteral("create table T (X integer);")});
    QVERIFY(error.has_value());
    QCOMPARE(error->category(), EISQLException::DataDefinition);
    QVERIFY(f.defaultTransaction().isActive());
    f.defaultTransaction().commit();
    QCOMPARE(scalar(*other, QStringLiteral("select count(*) from T")).toInt(), 2);
}

void TestZelIBSQLObj::commitAndRollbackEndBothTransactions()
{
    Fixture f;
    f.test.exec(QStringLiteral("create table T (ID integer)"));
    f.run({QStringLiteral("set autoddl off;"), QStringLiteral("create table A (X integer);"),
           QStringLiteral("insert into T values (1);"), QStringLiteral("rollback;")});
    QVERIFY(!f.defaultTransaction().isActive());
    QVERIFY(!f.ddl.isActive());
    QCOMPARE(relationCount(f.database(), QStringLiteral("A")), 0);
    QCOMPARE(scalar(f.database(), QStringLiteral("select count(*) from T")).toInt(), 0);

    f.run({QStringLiteral("create table A (X integer);"), QStringLiteral("insert into T values (1);"),
           QStringLiteral("commit work;")});
    QVERIFY(!f.defaultTransaction().isActive());
    QVERIFY(!f.ddl.isActive());
    QCOMPARE(relationCount(f.database(), QStringLiteral("A")), 1);
    QCOMPARE(scalar(f.database(), QStringLiteral("select count(*) from T")).toInt(), 1);
}

void TestZelIBSQLObj::createDatabaseThenTables()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("novo.fdb"));
    db::Database database;
    TZelIBSQLObj executor;
    executor.setDatabase(&database);
    QStringList log;
    executor.setOnISQLEvent([&log](TSQLEvent event, TSQLSubEvent subEvent, const QVariant &data,
                                   db::Database *) { log.append(eventText(event, subEvent, data)); });
    executor.setQuery({
        QStringLiteral("CREATE DATABASE \"%1\" USER \"SYSDBA\" PASSWORD \"quillbrex\"").arg(path),
        QStringLiteral("  PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252;"),
        QStringLiteral("create table T (ID integer not null primary key, NOME varchar(20));"),
        QStringLiteral("insert into T values (1, 'Março');"),
        QStringLiteral("commit;"),
        QStringLiteral("insert into T values (2, 'Abril');"),
    });
    executor.ExecuteScript();

    QVERIFY(database.isConnected());
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(database.databaseName(), path);
    QCOMPARE(log, (QStringList{QStringLiteral("E 3/7/") + path, QStringLiteral("E 3/0/") + path,
                               QStringLiteral("E 7/8/1"), QStringLiteral("E 4/8/false"),
                               QStringLiteral("E 7/8/1")}));
    QCOMPARE(scalar(database, QStringLiteral("select NOME from T where ID = 1")).toString(),
             QStringLiteral("Março"));
    QCOMPARE(
        scalar(database, QStringLiteral("select trim(RDB$CHARACTER_SET_NAME) from RDB$DATABASE")).toString(),
        QStringLiteral("WIN1252"));
    QCOMPARE(scalar(database, QStringLiteral("select MON$PAGE_SIZE from MON$DATABASE")).toInt(), 8192);

    // The last row waits in the transaction the script made; the caller ends it through the index.
    db::Transaction *scriptTransaction = database.transaction(executor.DefaultTransIDX());
    QVERIFY(scriptTransaction->isActive());
    QVERIFY(executor.DefaultTransIDX() != executor.DDLTransIDX());
    QCOMPARE(scalar(database, QStringLiteral("select count(*) from T")).toInt(), 1);
    scriptTransaction->commit();
    QCOMPARE(scalar(database, QStringLiteral("select count(*) from T")).toInt(), 2);

    // The connection is left with attachment parameters: it opens again as it was.
    database.close();
    database.open();
    QCOMPARE(database.param(QStringLiteral("user_name")), QStringLiteral("SYSDBA"));
    QCOMPARE(scalar(database, QStringLiteral("select NOME from T where ID = 1")).toString(),
             QStringLiteral("Março"));
}

void TestZelIBSQLObj::createDatabaseFailures_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<EISQLException::Category>("category");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("dataIsName");

    QTest::newRow("existing file") << "create database '%1'" << EISQLException::CreateDatabase << "exists"
                                   << true;
    QTest::newRow("schema, existing file")
        << "create schema '%1' user 'SYSDBA'" << EISQLException::CreateDatabase << "exists" << true;
    QTest::newRow("no closing quote") << "create database '%1" << EISQLException::Parse
                                      << "An error occured parsing CREATE statement." << false;
    QTest::newRow("default transaction active")
        << "create database '%1.novo'" << EISQLException::CreateDatabase << "Commit or Rollback" << true;
}

void TestZelIBSQLObj::createDatabaseFailures()
{
    QFETCH(QString, statement);
    QFETCH(EISQLException::Category, category);
    QFETCH(QString, message);
    QFETCH(bool, dataIsName);

    Fixture f;
    const bool refuseForActiveTransaction = statement.contains(QLatin1String(".novo"));
    if (!refuseForActiveTransaction)
        f.defaultTransaction().commit();
    const QString text = statement.arg(f.test.path());
    const std::optional<EISQLException> error = f.fail({text + QStringLiteral(";")});

    QVERIFY(error.has_value());
    QCOMPARE(error->category(), category);
    QVERIFY2(error->message().contains(message), qPrintable(error->message()));
    if (dataIsName)
        QCOMPARE(error->data(), text.section(QLatin1Char('\''), 1, 1));
    else
        QVERIFY(error->data().isEmpty());
    QVERIFY(f.events().isEmpty());
    QCOMPARE(f.database().databaseName(), f.test.path());
}

void TestZelIBSQLObj::connectSwitchesTheConnection_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("params");
    QTest::addColumn<int>("dialect");

    QTest::newRow("plain") << QStringList{}
                           << QStringList{"USER_NAME=SYSDBA", "PASSWORD=quillbrex", "lc_ctype=None",
                                          "isc_dpb_sql_dialect=3"}
                           << 3;
    QTest::newRow("set names") << QStringList{"set names win1252;"}
                               << QStringList{"USER_NAME=SYSDBA", "PASSWORD=quillbrex", "lc_ctype=WIN1252",
                                              "isc_dpb_sql_dialect=3"}
                               << 3;
    QTest::newRow("dialect 1") << QStringList{"set names WIN1252;", "set sql dialect 1;"}
                               << QStringList{"USER_NAME=SYSDBA", "PASSWORD=quillbrex", "lc_ctype=WIN1252",
                                              "isc_dpb_sql_dialect=1"}
                               << 1;
}

void TestZelIBSQLObj::connectSwitchesTheConnection()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, params);
    QFETCH(int, dialect);

    TestDatabase second(QStringLiteral("second.fdb"));
    second.exec(QStringLiteral("create table U (ID integer, NOME varchar(10))"));
    Fixture f;
    f.defaultTransaction().commit();
    const int transactionsBefore = f.database().transactionCount();

    QStringList script = before;
    script << QStringLiteral("connect '%1' user 'SYSDBA' password \"quillbrex\";").arg(second.path())
           << QStringLiteral("insert into U values (1, 'um');")
           << QStringLiteral("create table V (A integer);");
    f.run(script);

    QCOMPARE(f.database().databaseName(), second.path());
    QCOMPARE(f.database().params(), params);
    QCOMPARE(f.database().sqlDialect(), dialect);
    QCOMPARE(f.events().mid(f.events().size() - 3),
             (QStringList{QStringLiteral("E 2/7/") + second.path(), QStringLiteral("E 7/8/1"),
                          QStringLiteral("E 3/0/") + second.path()}));

    // Two transactions of its own were added; the row waits in the new default one.
    QCOMPARE(f.database().transactionCount(), transactionsBefore + 2);
    db::Transaction *scriptDefault = f.database().transaction(f.executor.DefaultTransIDX());
    db::Transaction *scriptDdl = f.database().transaction(f.executor.DDLTransIDX());
    QVERIFY(scriptDefault != &f.defaultTransaction());
    QVERIFY(scriptDdl != &f.ddl && scriptDdl != scriptDefault);
    QVERIFY(scriptDefault->isActive());
    QCOMPARE(scalar(*second.connectAgain(), QStringLiteral("select count(*) from U")).toInt(), 0);
    QCOMPARE(relationCount(*second.connectAgain(), QStringLiteral("V")), 1);
    scriptDefault->commit();
    QCOMPARE(scalar(*second.connectAgain(), QStringLiteral("select count(*) from U")).toInt(), 1);

    // Connecting again reuses them instead of piling up more.
    f.log.clear();
    f.run({QStringLiteral("connect '%1';").arg(f.test.path())});
    QCOMPARE(f.database().databaseName(), f.test.path());
    QCOMPARE(f.database().transactionCount(), transactionsBefore + 2);
    QCOMPARE(f.database().transaction(f.executor.DefaultTransIDX()), scriptDefault);
}

void TestZelIBSQLObj::connectFailures_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("defaultActive");
    QTest::addColumn<EISQLException::Category>("category");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("data");

    QTest::newRow("default transaction active")
        << "connect 'outro.fdb'" << true << EISQLException::Connect
        << "Cannot close the connection while its default transaction is active\r\n"
           "Commit or Rollback the current transaction"
        << "outro.fdb";
    QTest::newRow("missing database")
        << "connect '/nao/existe/base.fdb' user SYSDBA" << false << EISQLException::Connect << "base.fdb"
        << "/nao/existe/base.fdb";
    QTest::newRow("no closing quote") << "connect 'base.fdb user SYSDBA" << false << EISQLException::Parse
                                      << "An error occured parsing CONNECT statement." << QString();
}

void TestZelIBSQLObj::connectFailures()
{
    QFETCH(QString, statement);
    QFETCH(bool, defaultActive);
    QFETCH(EISQLException::Category, category);
    QFETCH(QString, message);
    QFETCH(QString, data);

    Fixture f;
    if (!defaultActive)
        f.defaultTransaction().commit();
    const std::optional<EISQLException> error = f.fail({statement + QStringLiteral(";")});

    QVERIFY(error.has_value());
    QCOMPARE(error->category(), category);
    QVERIFY2(error->message().contains(message), qPrintable(error->message()));
    if (category == EISQLException::Connect && defaultActive)
        QCOMPARE(error->message(), message);
    QCOMPARE(error->data(), data);
    QVERIFY(f.events().isEmpty());
    if (defaultActive) {
        QVERIFY(f.database().isConnected());
        QCOMPARE(f.database().databaseName(), f.test.path());
    }
}

void TestZelIBSQLObj::inputRunsASecondFile()
{
    Fixture f;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    // The included file is written the way the family's tools write text: Windows-1252, CR LF.
    const QString second = QStringLiteral("set term ^ ;\r\n"
                                          "create procedure DOBRO (A integer) returns (B integer)\r\n"
                                          "as\r\n"
                                          "begin\r\n"
                                          "  B = :A * 2;\r\n"
                                          "end^\r\n"
                                          "set term ; ^\r\n"
                                          "insert into T values (2, 'Março');\r\n"
                                          "input terceiro.sql;\r\n"
                                          "\r\n   \r\n");
    writeFile(dir.filePath(QStringLiteral("sub/segundo.sql")),
              db::TextCodec(db::TextCodec::Kind::Win1252).encodeOrThrow(second));
    writeFile(dir.filePath(QStringLiteral("sub/terceiro.sql")), "insert into T values (3, 'três');\n");
    f.executor.setScriptDirectory(dir.path());
    // Who raised each progress event: the executor itself ("0"), or an executor owned by the one a level up.
    QStringList senders;
    f.executor.setOnQueryProgress([&f, &senders](TZelIBSQLObj *sender) {
        int depth = 0;
        for (QObject *object = sender; object && object != &f.executor; object = object->parent())
            ++depth;
        senders.append(QString::number(sender == &f.executor ? 0 : depth));
    });

    f.run({QStringLiteral("create table T (ID integer, NOME varchar(10));"),
           QStringLiteral("input 'sub/segundo.sql';"), QStringLiteral("insert into T values (4, 'quatro');"),
           QStringLiteral("commit;")});

    QCOMPARE(senders, (QStringList{"0", "0", "1", "1", "1", "2", "0", "0"}));
    QCOMPARE(f.events(), (QStringList{"E 3/0/", "E 3/2/", "E 7/8/1", "E 7/8/1", "E 7/8/1", "E 4/8/false"}));

    auto other = f.test.connectAgain();
    QCOMPARE(scalar(*other, QStringLiteral("select list(NOME, '|') from (select NOME from T order by ID)"))
                 .toString(),
             QStringLiteral("Março|três|quatro"));
    QCOMPARE(scalar(*other, QStringLiteral("execute procedure DOBRO 21")).toInt(), 42);
}

void TestZelIBSQLObj::inputThatConnectsHandsTheConnectionOver_data()
{
    QTest::addColumn<QString>("included");
    QTest::addColumn<bool>("existing");

    QTest::newRow("connect") << "connect '%1' user 'SYSDBA' password 'quillbrex';" << true;
    QTest::newRow("create database") << "create database '%1' user 'SYSDBA' password 'quillbrex';\n"
                                        "create table U (ID integer, NOME varchar(10));"
                                     << false;
}

void TestZelIBSQLObj::inputThatConnectsHandsTheConnectionOver()
{
    QFETCH(QString, included);
    QFETCH(bool, existing);

    TestDatabase second(QStringLiteral("second.fdb"));
    QString target = second.path();
    if (existing) {
        second.exec(QStringLiteral("create table U (ID integer, NOME varchar(10))"));
    } else {
        target = second.folder() + QStringLiteral("/nova.fdb");
    }
    Fixture f;
    f.defaultTransaction().commit();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeFile(dir.filePath(QStringLiteral("conecta.sql")),
              (included.arg(target) + QStringLiteral("\ninsert into U values (1, 'um');\n")).toUtf8());
    f.executor.setScriptDirectory(dir.path());

    // The outer run goes on, on the connection the included file made, with its transactions.
    const std::optional<EISQLException> error =
        f.fail({QStringLiteral("input conecta.sql;"), QStringLiteral("insert into U values (2, 'dois');"),
                QStringLiteral("create table V (A integer);")});
    QVERIFY2(!error, error ? qPrintable(error->message() + QStringLiteral(" / ") + error->data()) : "");

    QCOMPARE(f.database().databaseName(), target);
    const int defaultIndex = f.executor.DefaultTransIDX();
    const int ddlIndex = f.executor.DDLTransIDX();
    QVERIFY(defaultIndex >= 0 && defaultIndex < f.database().transactionCount());
    QVERIFY(ddlIndex >= 0 && ddlIndex < f.database().transactionCount());
    db::Transaction *scriptDefault = f.database().transaction(defaultIndex);
    QCOMPARE(scriptDefault->objectName(), QStringLiteral("ISQLDefaultTransaction"));
    QCOMPARE(f.database().transaction(ddlIndex)->objectName(), QStringLiteral("ISQLDDLTransaction"));
    QVERIFY(scriptDefault->isActive());
    QVERIFY(!f.database().transaction(ddlIndex)->isActive());
    QCOMPARE(scalar(f.database(), QStringLiteral("select count(*) from U")).toInt(), 0);
    QCOMPARE(relationCount(f.database(), QStringLiteral("V")), 1);
    scriptDefault->commit();
    QCOMPARE(scalar(f.database(), QStringLiteral("select list(ID) from (select ID from U order by ID)"))
                 .toString(),
             QStringLiteral("1,2"));
}

void TestZelIBSQLObj::inputFailures_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<EISQLException::Category>("category");
    QTest::addColumn<int>("errorNumber");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("data");

    QTest::newRow("missing file") << "input 'falta.sql'" << QByteArray() << EISQLException::InputFile << 61
                                  << "No such file"
                                  << "falta.sql";
    QTest::newRow("includes itself") << "input laco.sql"
                                     << QByteArray("create table A (X integer);\ninput laco.sql;\n")
                                     << EISQLException::InputFile << 61 << "includes itself"
                                     << "laco.sql";
    QTest::newRow("failing statement inside")
        << "in laco.sql" << QByteArray("create table A (X integer);\ncreate table A (Y integer);\n")
        << EISQLException::DataDefinition << 48 << "A already exists"
        << "create table A (Y integer)";
    QTest::newRow("unparsable file") << "input laco.sql"
                                     << QByteArray("/* sem fim\ncreate table A (X integer);\n")
                                     << EISQLException::Parse << 48 << "Unable to parse script" << QString();
}

void TestZelIBSQLObj::inputFailures()
{
    QFETCH(QString, statement);
    QFETCH(QByteArray, content);
    QFETCH(EISQLException::Category, category);
    QFETCH(int, errorNumber);
    QFETCH(QString, message);
    QFETCH(QString, data);

    Fixture f;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    if (!content.isEmpty())
        writeFile(dir.filePath(QStringLiteral("laco.sql")), content);
    f.executor.setScriptDirectory(dir.path());

    const std::optional<EISQLException> error =
        f.fail({statement + QStringLiteral(";"), QStringLiteral("create table DEPOIS (X integer);")});

    QVERIFY(error.has_value());
    QCOMPARE(error->category(), category);
    QCOMPARE(error->errorNumber(), errorNumber);
    QVERIFY2(error->message().contains(message), qPrintable(error->message()));
    QCOMPARE(error->data(), data);
    QCOMPARE(relationCount(f.database(), QStringLiteral("DEPOIS")), 0);
}

void TestZelIBSQLObj::sqlDialect_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("dialect");
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("category"); // -1: no script error, -2: the integer parser's error

    QTest::newRow("1") << "set sql dialect 1" << 1 << "E 6/12/1" << -1;
    QTest::newRow("2") << "SET SQL DIALECT 2" << 2 << "E 6/13/2" << -1;
    QTest::newRow("3") << "set sql dialect 3" << 3 << "E 6/14/3" << -1;
    QTest::newRow("4 cannot be applied") << "set sql dialect 4" << 3 << QString() << 1;
    QTest::newRow("0 cannot be applied") << "set sql dialect 0" << 3 << QString() << 1;
    QTest::newRow("not a number") << "set sql dialect tres" << 3 << QString() << -2;
}

void TestZelIBSQLObj::sqlDialect()
{
    QFETCH(QString, statement);
    QFETCH(int, dialect);
    QFETCH(QString, event);
    QFETCH(int, category);

    Fixture f;
    if (category == -2) {
        f.executor.setQuery({statement + QStringLiteral(";")});
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, f.executor.ExecuteScript());
        QCOMPARE(f.database().sqlDialect(), dialect);
        return;
    }
    const std::optional<EISQLException> error = f.fail({statement + QStringLiteral(";")});
    QCOMPARE(f.database().sqlDialect(), dialect);
    if (category < 0) {
        QVERIFY(!error.has_value());
        QCOMPARE(f.events(), QStringList{event});
        return;
    }
    QVERIFY(error.has_value());
    QCOMPARE(int(error->category()), category);
    QCOMPARE(error->data(), statement.section(QLatin1Char(' '), -1));
    QVERIFY(f.events().isEmpty());
}

void TestZelIBSQLObj::dropDatabase()
{
    Fixture f;
    f.defaultTransaction().commit();
    const QString path = f.test.path();

    const std::optional<EISQLException> error =
        f.fail({QStringLiteral("drop database;"), QStringLiteral("create table A (X integer);")});

    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!f.database().isConnected());
    QCOMPARE(f.events(), QStringList{QStringLiteral("E 0/7/") + path});
    QVERIFY(error.has_value());
    QCOMPARE(error->message(), QStringLiteral("No active connection"));
    QCOMPARE(error->data(), QStringLiteral("create table A (X integer)"));

    // Dropping what is not connected is the client's own error.
    f.executor.setQuery({QStringLiteral("drop database;")});
    QVERIFY_THROWS_EXCEPTION(db::ProgrammingError, f.executor.ExecuteScript());
}

void TestZelIBSQLObj::probeTransactionLivesForTheRunOnly()
{
    Fixture f;
    const int before = f.database().transactionCount();
    QStringList seen;
    f.executor.setOnQueryProgress([&f, &seen](TZelIBSQLObj *) {
        db::Database &database = f.database();
        QStringList names;
        for (int i = 0; i < database.transactionCount(); ++i)
            names << database.transaction(i)->objectName();
        seen.append(names.join(QLatin1Char(',')));
    });

    f.run({QStringLiteral("create table A (X integer);"), QStringLiteral("insert into A values (1);")});

    QCOMPARE(seen,
             (QStringList{"trTest,DDLTrans,ISQLProbeTransaction", "trTest,DDLTrans,ISQLProbeTransaction"}));
    QCOMPARE(f.database().transactionCount(), before);

    // Also when the run fails.
    QVERIFY(f.fail({QStringLiteral("create table A (X integer);")}).has_value());
    QCOMPARE(f.database().transactionCount(), before);
}

void TestZelIBSQLObj::badTransactionIndexFailsThePreparation()
{
    Fixture f;
    f.executor.setDDLTransIDX(7);
    std::optional<EISQLException> error = f.fail({QStringLiteral("create table A (X integer);")});
    QVERIFY(error.has_value());
    QCOMPARE(error->category(), EISQLException::PrepareRun);
    QVERIFY2(error->message().contains(QStringLiteral("DDLTransIDX 7")), qPrintable(error->message()));
    QVERIFY(f.log.isEmpty());

    f.executor.setDDLTransIDX(1);
    f.executor.setDefaultTransIDX(-1);
    error = f.fail({QStringLiteral("create table A (X integer);")});
    QVERIFY(error.has_value());
    QCOMPARE(error->category(), EISQLException::PrepareRun);
    QVERIFY(error->data().isEmpty());
    QCOMPARE(relationCount(f.database(), QStringLiteral("A")), 0);
}

void TestZelIBSQLObj::pendingEventsHookRunsForLinesAndStatements()
{
    Fixture f;
    QStringList order;
    f.executor.setPendingEventsHook([&order] { order.append(QStringLiteral("H")); });
    f.executor.setOnQueryProgress([&order](TZelIBSQLObj *) { order.append(QStringLiteral("P")); });
    const QStringList script = {QStringLiteral("create table A ("), QStringLiteral("  X integer"),
                                QStringLiteral(");"), QString(), QStringLiteral("insert into A values (1);")};

    f.run(script);

    // One call per line split, then one before every statement's progress event.
    QCOMPARE(order, (QStringList{"H", "H", "H", "H", "H", "H", "P", "H", "P"}));
}

void TestZelIBSQLObj::statisticsLines()
{
    Fixture f;
    f.test.exec(QStringLiteral("create table T (ID integer)"));

    f.run({QStringLiteral("insert into T values (1);")});
    QCOMPARE(f.executor.StatisticsList(),
             (QStringList{"Execution Time (hh:mm:ss.ssss)~|00:00:00.0000",
                          "Prepare Time (hh:mm:ss.ssss)~|00:00:00:0000", "Starting Memory~|0",
                          "Current Memory~|0", "Delta Memory~|0", "Number of Buffers~|0", "Reads~|0",
                          "Writes~|0", "Plan~|Not Available", "Records Fetched~|1"}));

    f.executor.setStatistics(true);
    f.run({QStringLiteral("insert into T values (2);"),
           QStringLiteral("update T set ID = ID + 10 where ID > 0;")});
    const QStringList lines = f.executor.StatisticsList();
    QCOMPARE(lines.size(), 20);
    QCOMPARE(lines.at(10).section(QStringLiteral("~|"), 0, 0),
             QStringLiteral("Execution Time (hh:mm:ss.ssss)"));
    const auto value = [&lines](int index) {
        return lines.at(10 + index).section(QStringLiteral("~|"), 1).toLongLong();
    };
    QVERIFY(value(2) > 0);                   // starting memory
    QVERIFY(value(3) > 0);                   // current memory
    QCOMPARE(value(4), value(3) - value(2)); // delta
    QVERIFY(value(5) > 0);                   // buffers
    QVERIFY2(lines.at(18).startsWith(QStringLiteral("Plan~|PLAN (T NATURAL)")), qPrintable(lines.at(18)));
    QCOMPARE(lines.at(19), QStringLiteral("Records Fetched~|2"));

    // Switched off again, the server figures repeat the last measured ones.
    f.executor.setStatistics(false);
    f.run({QStringLiteral("delete from T;")});
    QCOMPARE(f.executor.StatisticsList().mid(20, 8), lines.mid(10, 8));
    QCOMPARE(f.executor.StatisticsList().last(), QStringLiteral("Records Fetched~|2"));
}

void TestZelIBSQLObj::datasetReceivesSelects()
{
    Fixture f;
    f.test.exec(QStringLiteral("create table T (ID integer)"));
    f.test.exec({QStringLiteral("insert into T values (1)"), QStringLiteral("insert into T values (2)"),
                 QStringLiteral("insert into T values (3)")});
    db::Transaction own;
    own.setDefaultDatabase(&f.database());
    own.setParams(TestDatabase::transactionParams());
    db::DataSet dataSet;
    dataSet.setDatabase(&f.database());
    dataSet.setTransaction(&own);
    f.executor.setDataset(&dataSet);

    f.run({QStringLiteral("select ID from T where ID > 1 order by ID;"),
           QStringLiteral("insert into T values (4);")});

    QVERIFY(dataSet.isActive());
    QCOMPARE(dataSet.recordCount(), 2);
    QCOMPARE(dataSet.selectSql(), QStringLiteral("select ID from T where ID > 1 order by ID"));
    // Ordinary statements go to the data set's transaction.
    QVERIFY(own.isActive());
    QVERIFY(f.defaultTransaction().isActive());
    QCOMPARE(scalarIn(f.database(), f.defaultTransaction(), QStringLiteral("select count(*) from T")).toInt(),
             3);
    QCOMPARE(scalarIn(f.database(), own, QStringLiteral("select count(*) from T")).toInt(), 4);
    dataSet.close();
}

void TestZelIBSQLObj::databaseMustBeAssigned()
{
    TZelIBSQLObj executor;
    executor.setQuery({QStringLiteral("select 1 from rdb$database;")});
    QVERIFY_THROWS_EXCEPTION(db::ProgrammingError, executor.ExecuteScript());
    QVERIFY(executor.StatisticsList().isEmpty());
}

QTEST_GUILESS_MAIN(TestZelIBSQLObj)
#include "tst_zelibsqlobj.moc"
