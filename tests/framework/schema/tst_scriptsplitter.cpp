#include "framework/schema/eisqlexception.h"
#include "framework/schema/scriptcommand.h"
#include "framework/schema/scriptsplitter.h"
#include "framework/schema/scriptstatistics.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTest>

#include <stdexcept>

using namespace ZelScript;

Q_DECLARE_METATYPE(ScriptCommandKind)
Q_DECLARE_METATYPE(EISQLException::Category)

namespace {

const QString CRLF = QStringLiteral("\r\n");

// The body of a trigger as the version scripts write it: inner ";" and colon-prefixed variables.
const QStringList TriggerBody = {
    QStringLiteral("create trigger TG_USUARIO_LOG for USUARIO_LOG"),
    QStringLiteral("active before insert position 0"),
    QStringLiteral("as"),
    QStringLiteral("begin"),
    QStringLiteral("  if (new.ID is null) then"),
    QStringLiteral("    new.ID = gen_id(GEN_USUARIO_LOG_ID, 1);"),
    QStringLiteral("  select current_date, current_time from rdb$database"),
    QStringLiteral("    into :DATA_ATUAL, :HORA_ATUAL;"),
    QStringLiteral("  new.DATA = :DATA_ATUAL;"),
    QStringLiteral("  new.HORA = :HORA_ATUAL;"),
    QStringLiteral("end"),
};

// A version script laid out like the shipped ones: header comment, "set TERM ^ ;", statements ended by "^",
// commits between tables and their triggers, the VERSAO update, back to ";" and a final commit.
QStringList versionScript()
{
    QStringList script = {
        QStringLiteral("/******************************************************************************"),
        QStringLiteral(" * COMMON.SQL 1.05"),
        QStringLiteral(" * Log de atividades dos usuários"),
        QStringLiteral(" ******************************************************************************/"),
        QString(),
        QStringLiteral("set TERM ^ ;"),
        QString(),
        QStringLiteral("alter table USUARIO add DESATIVADO char(1)^"),
        QString(),
        QStringLiteral("create table USUARIO_LOG ("),
        QStringLiteral("    ID integer not null,"),
        QStringLiteral("    /* quem fez e onde */"),
        QStringLiteral("    USUARIOID integer,"),
        QStringLiteral("    MODULOID integer,"),
        QStringLiteral("    DATA date,"),
        QStringLiteral("    HORA time,"),
        QStringLiteral("    LOG varchar(255),"),
        QStringLiteral("    constraint PK_USUARIO_LOG primary key (ID)"),
        QStringLiteral(")^"),
        QString(),
        QStringLiteral("create generator GEN_USUARIO_LOG_ID^"),
        QStringLiteral("commit^"),
        QString(),
        QStringLiteral("/* o trigger sempre usa a data e a hora do servidor */"),
    };
    script += TriggerBody.mid(0, TriggerBody.size() - 1);
    script += {
        QStringLiteral("end^"),
        QString(),
        QStringLiteral("update VERSAO set NUMERO = '1.05' where ID = 1^"),
        QString(),
        QStringLiteral("set TERM ; ^"),
        QString(),
        QStringLiteral("commit work;"),
        QStringLiteral("update USUARIO_MODULO set TUDO = 'S';"),
        QStringLiteral("commit;"),
    };
    return script;
}

} // namespace

/// The text half of the script executor: splitting, command recognition, CONNECT/CREATE parsing and the rest.
class TestScriptSplitter : public QObject
{
    Q_OBJECT

private slots:
    void splitStatements_data();
    void splitStatements();
    void unclosedBlockComment_data();
    void unclosedBlockComment();
    void emptyTerminatorIsRejected();
    void hookRunsForEveryLine_data();
    void hookRunsForEveryLine();
    void qtEventLoopHookRunsPendingEvents();
    void versionScriptSplitsIntoItsStatements();

    void recognizeCommand_data();
    void recognizeCommand();
    void integerArgument_data();
    void integerArgument();

    void parseConnect_data();
    void parseConnect();
    void parseConnectErrors_data();
    void parseConnectErrors();
    void connectParameters_data();
    void connectParameters();
    void parseCreateDatabase_data();
    void parseCreateDatabase();
    void parseCreateDatabaseErrors_data();
    void parseCreateDatabaseErrors();

    void classifyDdl_data();
    void classifyDdl();
    void eventArgumentsOfCommands();
    void dialectSubEvent();

    void statisticsLines_data();
    void statisticsLines();
    void exceptionCarriesItsParts_data();
    void exceptionCarriesItsParts();
};

void TestScriptSplitter::splitStatements_data()
{
    QTest::addColumn<QString>("terminator");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("statements");

    const QString semi = QStringLiteral(";");

    QTest::newRow("one statement per terminated line")
        << semi << QStringList{"create table A (ID integer);", "insert into A values (1);", "commit work;"}
        << QStringList{"create table A (ID integer)", "insert into A values (1)", "commit work"};
    QTest::newRow("blank lines skipped, statements trimmed")
        << semi << QStringList{"", "   ", "  select 1 from rdb$database;  ", "\t"}
        << QStringList{"select 1 from rdb$database"};
    QTest::newRow("a lone terminator yields nothing")
        << semi << QStringList{";", "  ;  ", "select 1;"} << QStringList{"select 1"};
    QTest::newRow("continuation lines joined by CR LF, blank ones skipped")
        << semi << QStringList{"create table A (", "  ID integer,", "", "   ", "  NOME varchar(10)", ");"}
        << QStringList{"create table A (" + CRLF + "  ID integer," + CRLF + "  NOME varchar(10)" + CRLF +
                       ")"};
    QTest::newRow("initial terminator other than ;")
        << QStringLiteral("^") << QStringList{"select 1 from rdb$database^", "select 2;", "from X^"}
        << QStringList{"select 1 from rdb$database", "select 2;" + CRLF + "from X"};

    QTest::newRow("set TERM ^ keeps a trigger body whole")
        << semi
        << (QStringList{"set TERM ^ ;"} + TriggerBody.mid(0, TriggerBody.size() - 1) +
            QStringList{"end^", "set TERM ; ^", "commit work;"})
        << QStringList{TriggerBody.join(CRLF), "commit work"};
    QTest::newRow("a blank then the terminator ends a statement")
        << semi << QStringList{"set term ^ ;", "create procedure P as", "begin", "  exit;", "end", " ^"}
        << QStringList{"create procedure P as" + CRLF + "begin" + CRLF + "  exit;" + CRLF + "end"};
    QTest::newRow("SET TERM naming only the new terminator")
        << semi << QStringList{"SET TERM !!", "select 1 from rdb$database!!", "set term ; !!", "select 2;"}
        << QStringList{"select 1 from rdb$database", "select 2"};
    QTest::newRow("SET TERM back to the current terminator changes nothing")
        << semi << QStringList{"set term ;", "select 1;", "SET TERM", "select 2;"}
        << QStringList{"select 1", "select 2"};
    QTest::newRow("SET TERM inside a waiting statement belongs to it")
        << semi << QStringList{"set term ^ ;", "create procedure P as",      "begin", "  exit;", "end",
                               "set term ; ^", "select 1 from rdb$database;"}
        << QStringList{"create procedure P as" + CRLF + "begin" + CRLF + "  exit;" + CRLF + "end" + CRLF +
                           "set term ;",
                       "select 1 from rdb$database;"};
    QTest::newRow("continuation ending in terminator and blank goes on")
        << semi << QStringList{"set term ^ ;", "create procedure P as",      "begin", "  exit;",
                               "end^ ",        "select 1 from rdb$database^"}
        << QStringList{"create procedure P as" + CRLF + "begin" + CRLF + "  exit;" + CRLF + "end^ " + CRLF +
                       "select 1 from rdb$database"};
    QTest::newRow("first line ending in terminator and blanks ends")
        << semi << QStringList{"select 1;   ", "select 2;"} << QStringList{"select 1", "select 2"};

    QTest::newRow("terminator inside a literal: the update absorbs the next line")
        << semi
        << QStringList{"update A set N = 'x;y' where ID = 1;", "update A set N = 'z' where ID = 2;",
                       "commit;"}
        << QStringList{"update A set N = 'x;y' where ID = 1;" + CRLF + "update A set N = 'z' where ID = 2",
                       "commit"};
    QTest::newRow("terminator inside a literal on an earlier line stays in it")
        << semi << QStringList{"update A set N = 'x;y'", " where ID = 1;"}
        << QStringList{"update A set N = 'x;y'" + CRLF + " where ID = 1"};
    QTest::newRow("two statements on one line become one")
        << semi << QStringList{"select 1; select 2;", "select 3;"}
        << QStringList{"select 1; select 2;" + CRLF + "select 3"};

    QTest::newRow("terminator then trailing comment ends the statement")
        << semi << QStringList{"select 1 from rdb$database; /* one */", "select 2 from rdb$database;"}
        << QStringList{"select 1 from rdb$database /* one */", "select 2 from rdb$database"};
    QTest::newRow("trailing comment: the terminator before it is removed, not the literal's")
        << semi << QStringList{"insert into A values ('x;y'); /* c */"}
        << QStringList{"insert into A values ('x;y') /* c */"};
    QTest::newRow("continuation line with terminator and trailing comment ends")
        << semi << QStringList{"create table A (", "  ID integer); /* the A table */", "select 1;"}
        << QStringList{"create table A (" + CRLF + "  ID integer) /* the A table */", "select 1"};
    QTest::newRow("terminator inside a comment on a continuation line does not end")
        << semi << QStringList{"create table A (", "  ID integer /* key; */", "  , N integer);"}
        << QStringList{"create table A (" + CRLF + "  ID integer /* key; */" + CRLF + "  , N integer)"};
    QTest::newRow("comment on a first line without terminator does not end it")
        << semi << QStringList{"create table A ( /* the A table */", "  ID integer);"}
        << QStringList{"create table A ( /* the A table */" + CRLF + "  ID integer)"};
    QTest::newRow("first line: comment position counted in the untrimmed line")
        << semi << QStringList{"        select 1 /* ; */ from X", "select 1 /* ; */ from X", "where 1 = 1;"}
        << QStringList{"select 1 /*  */ from X", "select 1 /* ; */ from X" + CRLF + "where 1 = 1"};

    QTest::newRow("a lone */ closes the previous statement's trailing comment")
        << semi << QStringList{"select 1 from rdb$database; /* a comment that", "   */", "select 2;"}
        << QStringList{"select 1 from rdb$database /* a comment that   */", "select 2"};
    QTest::newRow("a lone */ before any statement is dropped")
        << semi << QStringList{"*/", "select 1;"} << QStringList{"select 1"};
    QTest::newRow("block comment lines are dropped")
        << semi << QStringList{"/*", " * cabeçalho", " ; ainda comentário", " */", "select 1;"}
        << QStringList{"select 1"};
    QTest::newRow("one-line comment alone is dropped")
        << semi << QStringList{"  /* note */  ", "select 1;"} << QStringList{"select 1"};
    QTest::newRow("statement after a one-line comment is kept")
        << semi << QStringList{"/* 1.02 */ alter table A add B integer;", "commit;"}
        << QStringList{"alter table A add B integer", "commit"};
    QTest::newRow("statement after two comments on one line is kept")
        << semi << QStringList{"/* a */ /* b */ select 1;"} << QStringList{"select 1"};
    QTest::newRow("complete statement after a closing */ stays separate")
        << semi << QStringList{"/* header", "*/ select 1;", "select 2;"}
        << QStringList{"select 1", "select 2"};
    QTest::newRow("statement begun after a closing */ continues on the next lines")
        << semi << QStringList{"/* header", "comment */ select 1", "from rdb$database;", "select 2;"}
        << QStringList{"select 1" + CRLF + "from rdb$database", "select 2"};
    QTest::newRow("statement after a closing */ at the end of the script")
        << semi << QStringList{"/* header", "*/ commit work;"} << QStringList{"commit work"};
    QTest::newRow("SET TERM after a one-line comment applies")
        << semi << QStringList{"/* x */ set term ^ ;", "select 1^"} << QStringList{"select 1"};
    QTest::newRow("comment lines inside a statement stay in it")
        << semi << QStringList{"create table A (", "/* key */", "  ID integer);"}
        << QStringList{"create table A (" + CRLF + "/* key */" + CRLF + "  ID integer)"};

    QTest::newRow("last statement without terminator still counts")
        << semi << QStringList{"select 1;", "select 2"} << QStringList{"select 1", "select 2"};
    QTest::newRow("last multi-line statement without terminator still counts")
        << semi << QStringList{"select 1", "from rdb$database", ""}
        << QStringList{"select 1" + CRLF + "from rdb$database"};
    QTest::newRow("last line with terminator and trailing blanks")
        << semi << QStringList{"set term ^ ;", "create procedure P as", "begin", "  exit;", "end^  "}
        << QStringList{"create procedure P as" + CRLF + "begin" + CRLF + "  exit;" + CRLF + "end"};
    QTest::newRow("unterminated last statement keeps a literal's terminator")
        << semi << QStringList{"update A set N = 'x;y'", "where ID = 1"}
        << QStringList{"update A set N = 'x;y'" + CRLF + "where ID = 1"};
    QTest::newRow("empty script") << semi << QStringList{} << QStringList{};
}

void TestScriptSplitter::splitStatements()
{
    QFETCH(QString, terminator);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, statements);

    const std::optional<QStringList> result = SplitStatements(lines, terminator);
    QVERIFY(result.has_value());
    QCOMPARE(*result, statements);
}

void TestScriptSplitter::unclosedBlockComment_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("at the start") << QStringList{"/* never closed", "select 1;"};
    QTest::newRow("after statements") << QStringList{"select 1;", "  /* open", "select 2;", ""};
    QTest::newRow("second comment on a line") << QStringList{"/* a */ /* b", "select 1;"};
}

void TestScriptSplitter::unclosedBlockComment()
{
    QFETCH(QStringList, lines);

    QVERIFY(!SplitStatements(lines, QStringLiteral(";")).has_value());
    try {
        splitScript(lines);
        QFAIL("splitScript accepted an unclosed comment");
    } catch (const EISQLException &error) {
        QCOMPARE(error.message(), QStringLiteral("Unable to parse script"));
        QCOMPARE(error.category(), EISQLException::Parse);
        QCOMPARE(int(error.category()), 3);
        QCOMPARE(error.errorNumber(), 48);
        QVERIFY(error.data().isEmpty());
    }
}

void TestScriptSplitter::emptyTerminatorIsRejected()
{
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                             SplitStatements({QStringLiteral("select 1;")}, QString()));
}

void TestScriptSplitter::hookRunsForEveryLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("version script") << versionScript();
    QTest::newRow("unclosed comment") << QStringList{"select 1;", "/* open", "", "more", "lines"};
    QTest::newRow("unterminated continuation") << QStringList{"select 1", "", "from X", "   "};
}

void TestScriptSplitter::hookRunsForEveryLine()
{
    QFETCH(QStringList, lines);

    int calls = 0;
    SplitStatements(lines, QStringLiteral(";"), [&calls] { ++calls; });
    QCOMPARE(calls, lines.size());
}

void TestScriptSplitter::qtEventLoopHookRunsPendingEvents()
{
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&ran] { ran = true; }, Qt::QueuedConnection);
    const QStringList lines{QStringLiteral("select 1;")};

    SplitStatements(lines, QStringLiteral(";"));
    QVERIFY(!ran);
    SplitStatements(lines, QStringLiteral(";"), qtEventLoopHook());
    QVERIFY(ran);
}

void TestScriptSplitter::versionScriptSplitsIntoItsStatements()
{
    const QStringList statements = splitScript(versionScript());

    const QString createTable = QStringList{"create table USUARIO_LOG (",
                                            "    ID integer not null,",
                                            "    /* quem fez e onde */",
                                            "    USUARIOID integer,",
                                            "    MODULOID integer,",
                                            "    DATA date,",
                                            "    HORA time,",
                                            "    LOG varchar(255),",
                                            "    constraint PK_USUARIO_LOG primary key (ID)",
                                            ")"}
                                    .join(CRLF);
    const QStringList expected{
        "alter table USUARIO add DESATIVADO char(1)",
        createTable,
        "create generator GEN_USUARIO_LOG_ID",
        "commit",
        TriggerBody.join(CRLF),
        "update VERSAO set NUMERO = '1.05' where ID = 1",
        "commit work",
        "update USUARIO_MODULO set TUDO = 'S'",
        "commit",
    };
    QCOMPARE(statements, expected);
    QVERIFY(statements.at(4).contains(QStringLiteral(":DATA_ATUAL;")));

    // Every statement of such a script goes to the server; the DDL ones report what they created.
    for (const QString &statement : statements)
        QCOMPARE(ZelScript::recognizeCommand(statement).kind, ScriptCommandKind::Statement);
    QCOMPARE(int(ZelScript::classifyDdl(statements.at(0)).event), 1);
    QCOMPARE(int(ZelScript::classifyDdl(statements.at(0)).subEvent), 0);
    QCOMPARE(int(ZelScript::classifyDdl(statements.at(1)).event), 3);
    QCOMPARE(int(ZelScript::classifyDdl(statements.at(1)).subEvent), 0);
    QCOMPARE(int(ZelScript::classifyDdl(statements.at(2)).subEvent), 11);
    QCOMPARE(int(ZelScript::classifyDdl(statements.at(4)).subEvent), 1);
}

void TestScriptSplitter::recognizeCommand_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<ScriptCommandKind>("kind");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<bool>("flag");

    using K = ScriptCommandKind;
    const auto row = [](const char *name, const char *statement, K kind, const QString &argument = {},
                        bool flag = false) {
        QTest::newRow(name) << QString::fromUtf8(statement) << kind << argument << flag;
    };

    row("BLOBDUMP", "blobdump 12:3 x.bin", K::Ignored);
    row("EDIT", "EDIT script.sql", K::Ignored);
    row("EXIT", "exit", K::Ignored);
    row("HELP", "Help", K::Ignored);
    row("QUIT", "quit", K::Ignored);
    row("SHOW with blank", "show tables", K::Ignored);
    row("SHOW without blank", "SHOW", K::Statement);

    row("INPUT keeps the file name's case", "input scripts/Extra.sql", K::Input, "scripts/Extra.sql");
    row("IN with blanks", "IN   /tmp/x.sql  ", K::Input, "/tmp/x.sql");
    row("INPUT without name", "INPUT", K::Input, "");
    row("IN without blank", "in", K::Statement);
    row("INSERT is no INPUT", "INSERT into A values (1)", K::Statement);

    row("OUTPUT", "output result.txt", K::Output);
    row("OUT with blank", "OUT x", K::Output);
    row("OUTER is no OUT", "outer", K::Statement);

    row("SET COUNT", "set count on", K::SetIgnored);
    row("SET ECHO", "SET ECHO OFF", K::SetIgnored);
    row("SET LIST", "set list on", K::SetIgnored);
    row("SET PLAN", "set plan on", K::SetIgnored);
    row("SET STATS", "set stats on", K::SetIgnored);
    row("SET TIME", "set time on", K::SetIgnored);

    row("SET NAMES", "set names win1252", K::SetNames, "WIN1252");
    row("SET NAMES with blanks", "  SET NAMES   iso8859_1  ", K::SetNames, "ISO8859_1");
    row("SET NAMES alone", "set names", K::SetNames, "");

    row("SET SQL DIALECT 3", "set sql dialect 3", K::SetSqlDialect, "3");
    row("SET SQL DIALECT 1", "SET SQL DIALECT 1", K::SetSqlDialect, "1");
    row("SET SQL DIALECT text", "set sql dialect x", K::SetSqlDialect, "x");

    row("SET AUTODDL OFF", "set autoddl off", K::SetAutoDdl, "OFF", false);
    row("SET AUTODDL ON", "SET AUTODDL ON", K::SetAutoDdl, "ON", true);
    row("SET AUTODDL alone", "set autoddl", K::SetAutoDdl, "", true);
    row("SET AUTODDL other word", "set autoddl maybe", K::SetAutoDdl, "MAYBE", true);
    row("SET AUTODDL OFFLINE", "set autoddl offline", K::SetAutoDdl, "OFFLINE", false);
    row("SET AUTO OFF", "set auto off", K::SetAutoDdl, "OFF", false);
    row("SET AUTO alone", "SET AUTO", K::SetAutoDdl, "", true);
    row("SET AUTODDLOFF loses its first letter", "set autoddloff", K::SetAutoDdl, "FF", true);

    row("DROP DATABASE", "drop database", K::DropDatabase);
    row("DROP TABLE", "DROP TABLE A", K::Statement);
    row("CREATE DATABASE", "create database 'x.fdb'", K::CreateDatabase);
    row("CREATE SCHEMA", "CREATE SCHEMA 'x.fdb'", K::CreateDatabase);
    row("CREATE TABLE", "create table X (ID integer)", K::Statement);
    row("CONNECT", "connect 'srv:/db/x.fdb' user SYSDBA", K::Connect);

    row("COMMIT WORK", "commit work", K::Statement);
    row("ROLLBACK", "rollback", K::Statement);
    row("SELECT", "select 1 from rdb$database", K::Statement);
    row("SET GENERATOR", "set generator GEN_USUARIO_ID to 1", K::Statement);
}

void TestScriptSplitter::recognizeCommand()
{
    QFETCH(QString, statement);
    QFETCH(ScriptCommandKind, kind);
    QFETCH(QString, argument);
    QFETCH(bool, flag);

    const ScriptCommand command = ZelScript::recognizeCommand(statement);
    QCOMPARE(command.kind, kind);
    QCOMPARE(command.argument, argument);
    QCOMPARE(command.flag, flag);
}

void TestScriptSplitter::integerArgument_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("3") << "set sql dialect 3" << true << 3;
    QTest::newRow("1 after blanks") << "SET SQL DIALECT   1" << true << 1;
    QTest::newRow("word") << "set sql dialect three" << false << 0;
    QTest::newRow("nothing") << "set sql dialect" << false << 0;
}

void TestScriptSplitter::integerArgument()
{
    QFETCH(QString, statement);
    QFETCH(bool, valid);
    QFETCH(int, value);

    const ScriptCommand command = ZelScript::recognizeCommand(statement);
    if (valid) {
        QCOMPARE(command.integerArgument(), value);
        return;
    }
    try {
        command.integerArgument();
        QFAIL("a dialect that is no integer was accepted");
    } catch (const std::invalid_argument &error) {
        QCOMPARE(QString::fromUtf8(error.what()),
                 QStringLiteral("'%1' is not a valid integer value").arg(command.argument));
    }
}

void TestScriptSplitter::parseConnect_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QStringList>("options");

    QTest::newRow("quoted name only") << "CONNECT 'localhost:/db/leilao.fdb'"
                                      << "localhost:/db/leilao.fdb" << QStringList{};
    QTest::newRow("double quotes and quoted values")
        << R"(connect "srv:C:\db\x.fdb" user 'SYSDBA' password "quillbrex")"
        << R"(srv:C:\db\x.fdb)" << QStringList{"USER_NAME=SYSDBA", "PASSWORD=quillbrex"};
    QTest::newRow("unquoted name and short keywords")
        << "CONNECT srv:/db/x.fdb USERNAME sysdba PASS secret CACHE 2048"
        << "srv:/db/x.fdb" << QStringList{"USER_NAME=sysdba", "PASSWORD=secret", "NUM_BUFFERS=2048"};
    QTest::newRow("unquoted name only") << "connect /db/x.fdb"
                                        << "/db/x.fdb" << QStringList{};
    QTest::newRow("keywords in any case")
        << "Connect 'x.fdb' User a Password b Role r Cache 75"
        << "x.fdb" << QStringList{"USER_NAME=a", "PASSWORD=b", "SQL_ROLE_NAME=r", "NUM_BUFFERS=75"};
    QTest::newRow("ROLE and every value after it keep their quotes")
        << "CONNECT 'x.fdb' USER 'SYSDBA' ROLE 'Admin' PASSWORD 'pw' CACHE \"100\""
        << "x.fdb"
        << QStringList{"USER_NAME=SYSDBA", "SQL_ROLE_NAME='Admin'", "PASSWORD='pw'", "NUM_BUFFERS=\"100\""};
    QTest::newRow("a quote inside the name not before a blank is dropped")
        << "CONNECT 'my'db.fdb' USER a"
        << "mydb.fdb" << QStringList{"USER_NAME=a"};
    QTest::newRow("the other quote inside the name is kept") << R"(CONNECT 'a"b.fdb' USER a)"
                                                             << R"(a"b.fdb)" << QStringList{"USER_NAME=a"};
    QTest::newRow("closing quote before a line break") << "CONNECT 'x.fdb'\r\nUSER a\r\nPASSWORD b"
                                                       << "x.fdb" << QStringList{"USER_NAME=a", "PASSWORD=b"};
    QTest::newRow("extra blanks") << "  CONNECT   'x.fdb'   USER   a  "
                                  << "x.fdb" << QStringList{"USER_NAME=a"};
    QTest::newRow("repeated keyword keeps both") << "CONNECT 'x.fdb' USER a USER b"
                                                 << "x.fdb" << QStringList{"USER_NAME=a", "USER_NAME=b"};
}

void TestScriptSplitter::parseConnect()
{
    QFETCH(QString, statement);
    QFETCH(QString, database);
    QFETCH(QStringList, options);

    QCOMPARE(ZelScript::recognizeCommand(statement).kind, ScriptCommandKind::Connect);
    const ConnectStatement connect = parseConnectStatement(statement);
    QCOMPARE(connect.databaseName, database);
    QCOMPARE(connect.options, options);
}

void TestScriptSplitter::parseConnectErrors_data()
{
    QTest::addColumn<QString>("statement");
    QTest::newRow("no closing quote") << "CONNECT 'x.fdb USER a";
    QTest::newRow("closing quote never before a blank") << "CONNECT 'x.fdb'USER a";
    QTest::newRow("mismatched quotes") << "CONNECT \"x.fdb' USER a";
    QTest::newRow("no name") << "CONNECT";
    QTest::newRow("empty name") << "CONNECT '' USER a";
    QTest::newRow("keyword without value") << "CONNECT 'x.fdb' USER";
    QTest::newRow("unknown keyword") << "CONNECT 'x.fdb' LOGIN a";
    QTest::newRow("value with a blank") << "CONNECT 'x.fdb' PASSWORD 'a b'";
}

void TestScriptSplitter::parseConnectErrors()
{
    QFETCH(QString, statement);
    try {
        parseConnectStatement(statement);
        QFAIL("the statement was accepted");
    } catch (const EISQLException &error) {
        QCOMPARE(error.message(), QStringLiteral("An error occured parsing CONNECT statement."));
        QCOMPARE(QString::fromUtf8(error.what()), error.message());
        QCOMPARE(int(error.category()), 3);
        QCOMPARE(error.errorNumber(), 48);
        QVERIFY(error.data().isEmpty());
    }
}

void TestScriptSplitter::connectParameters_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("characterSet");
    QTest::addColumn<int>("dialect");
    QTest::addColumn<QStringList>("parameters");

    const QStringList user{"USER_NAME=SYSDBA", "PASSWORD=pw"};
    QTest::newRow("the run's initial character set is passed")
        << user << "None" << 3 << (user + QStringList{"lc_ctype=None", "isc_dpb_sql_dialect=3"});
    QTest::newRow("NONE is not passed")
        << user << "NONE" << 3 << (user + QStringList{"isc_dpb_sql_dialect=3"});
    QTest::newRow("empty is not passed") << QStringList{} << "" << 3 << QStringList{"isc_dpb_sql_dialect=3"};
    QTest::newRow("a SET NAMES character set and dialect 1")
        << user << "WIN1252" << 1 << (user + QStringList{"lc_ctype=WIN1252", "isc_dpb_sql_dialect=1"});
}

void TestScriptSplitter::connectParameters()
{
    QFETCH(QStringList, options);
    QFETCH(QString, characterSet);
    QFETCH(int, dialect);
    QFETCH(QStringList, parameters);
    QCOMPARE(ZelScript::connectParameters(options, characterSet, dialect), parameters);
}

void TestScriptSplitter::parseCreateDatabase_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("createSql");

    QTest::newRow("options with double quotes")
        << R"(CREATE DATABASE 'srv:/db/novo.fdb' USER 'SYSDBA' PASSWORD "quillbrex" PAGE_SIZE 4096)"
        << "srv:/db/novo.fdb"
        << "  USER 'SYSDBA' PASSWORD 'quillbrex' PAGE_SIZE 4096"
        << "CREATE DATABASE 'srv:/db/novo.fdb'   USER 'SYSDBA' PASSWORD 'quillbrex' PAGE_SIZE 4096";
    QTest::newRow("CREATE SCHEMA, name only") << R"(create schema "/db/x.fdb")"
                                              << "/db/x.fdb"
                                              << " "
                                              << "CREATE DATABASE '/db/x.fdb'  ";
    QTest::newRow("options on the next line") << "create database 'x.fdb'\r\nDEFAULT CHARACTER SET WIN1252"
                                              << "x.fdb"
                                              << " \r\nDEFAULT CHARACTER SET WIN1252"
                                              << "CREATE DATABASE 'x.fdb'  \r\nDEFAULT CHARACTER SET WIN1252";
    QTest::newRow("a quote inside the name not before a blank is dropped")
        << "CREATE DATABASE 'my'db.fdb' PAGE_SIZE 8192"
        << "mydb.fdb"
        << "  PAGE_SIZE 8192"
        << "CREATE DATABASE 'mydb.fdb'   PAGE_SIZE 8192";
}

void TestScriptSplitter::parseCreateDatabase()
{
    QFETCH(QString, statement);
    QFETCH(QString, database);
    QFETCH(QString, options);
    QFETCH(QString, createSql);

    QCOMPARE(ZelScript::recognizeCommand(statement).kind, ScriptCommandKind::CreateDatabase);
    const CreateDatabaseStatement create = parseCreateDatabaseStatement(statement);
    QCOMPARE(create.databaseName, database);
    QCOMPARE(create.options, options);
    QCOMPARE(create.createSql(), createSql);
}

void TestScriptSplitter::parseCreateDatabaseErrors_data()
{
    QTest::addColumn<QString>("statement");
    QTest::newRow("no closing quote") << "CREATE DATABASE 'x.fdb PAGE_SIZE 4096";
    QTest::newRow("no name") << "CREATE DATABASE";
    QTest::newRow("empty name") << "CREATE SCHEMA ''";
    QTest::newRow("not a CREATE DATABASE") << "CREATE TABLE A (ID integer)";
}

void TestScriptSplitter::parseCreateDatabaseErrors()
{
    QFETCH(QString, statement);
    try {
        parseCreateDatabaseStatement(statement);
        QFAIL("the statement was accepted");
    } catch (const EISQLException &error) {
        QCOMPARE(error.message(), QStringLiteral("An error occured parsing CREATE statement."));
        QCOMPARE(int(error.category()), 3);
        QCOMPARE(error.errorNumber(), 48);
        QVERIFY(error.data().isEmpty());
    }
}

void TestScriptSplitter::classifyDdl_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("verb");
    QTest::addColumn<int>("object");

    QTest::newRow("CREATE VIEW") << "create view V as select 1 from rdb$database" << 3 << 9;
    QTest::newRow("CREATE TABLE") << "CREATE TABLE A (ID integer)" << 3 << 0;
    QTest::newRow("ALTER TABLE") << "alter table A add B integer" << 1 << 0;
    QTest::newRow("DROP TABLE") << "drop table A" << 0 << 0;
    QTest::newRow("CREATE PROCEDURE") << "create procedure P as begin exit; end" << 3 << 2;
    QTest::newRow("ALTER DOMAIN") << "alter domain D set default 0" << 1 << 3;
    QTest::newRow("DROP EXTERNAL FUNCTION") << "drop external function SUBSTR" << 0 << 5;
    QTest::newRow("DROP FILTER") << "drop filter F" << 0 << 4;
    QTest::newRow("CREATE EXCEPTION") << "create exception E 'erro'" << 3 << 6;
    QTest::newRow("CREATE ROLE") << "create role GERENTE" << 3 << 10;
    QTest::newRow("CREATE GENERATOR") << "create generator GEN_A_ID" << 3 << 11;
    QTest::newRow("ALTER TRIGGER") << "alter trigger TG_A inactive" << 1 << 1;
    QTest::newRow("CREATE UNIQUE INDEX") << "create unique index CLIENTE_01 on CLIENTE (CODIGO)" << 3 << 8;
    QTest::newRow("DROP INDEX") << "drop index IXC_A" << 0 << 8;
    QTest::newRow("DECLARE EXTERNAL FUNCTION") << "DECLARE EXTERNAL FUNCTION SUBSTR CSTRING(80)" << 5 << 8;
    QTest::newRow("GRANT") << "grant select on A to PUBLIC" << 5 << 8;
    QTest::newRow("SET GENERATOR") << "set generator GEN_USUARIO_ID to 1" << 5 << 8;
    QTest::newRow("RECREATE TABLE") << "recreate table A (ID integer)" << 5 << 8;
    QTest::newRow("two blanks after the verb") << "alter  table A add B integer" << 1 << 8;
    QTest::newRow("leading blanks") << "  create trigger TG_A for A" << 3 << 1;
}

void TestScriptSplitter::classifyDdl()
{
    QFETCH(QString, statement);
    QFETCH(int, verb);
    QFETCH(int, object);

    const DdlEvent event = ZelScript::classifyDdl(statement);
    QCOMPARE(int(event.event), verb);
    QCOMPARE(int(event.subEvent), object);
}

void TestScriptSplitter::eventArgumentsOfCommands()
{
    // The numbers handlers receive for the commands, row by row of the event table.
    QCOMPARE(int(TSQLEvent::Drop), 0);
    QCOMPARE(int(TSQLEvent::Connect), 2);
    QCOMPARE(int(TSQLEvent::Create), 3);
    QCOMPARE(int(TSQLSubEvent::Database), 7);
    QCOMPARE(int(TSQLEvent::Transaction), 4);
    QCOMPARE(int(TSQLSubEvent::Other), 8);
    QCOMPARE(int(TSQLEvent::Dialect), 6);
    QCOMPARE(int(TSQLEvent::RowsAffected), 7);
    QCOMPARE(int(TSQLEvent::AutoDdl), 8);
    QCOMPARE(int(TSQLSubEvent::AutoDdl), 15);
}

void TestScriptSplitter::dialectSubEvent()
{
    QCOMPARE(ZelScript::dialectSubEvent(1), std::optional<TSQLSubEvent>(TSQLSubEvent::Dialect1));
    QCOMPARE(int(*ZelScript::dialectSubEvent(1)), 12);
    QCOMPARE(int(*ZelScript::dialectSubEvent(2)), 13);
    QCOMPARE(int(*ZelScript::dialectSubEvent(3)), 14);
    QVERIFY(!ZelScript::dialectSubEvent(0).has_value());
    QVERIFY(!ZelScript::dialectSubEvent(4).has_value());
}

void TestScriptSplitter::statisticsLines_data()
{
    QTest::addColumn<qint64>("execute");
    QTest::addColumn<qint64>("prepare");
    QTest::addColumn<qint64>("startingMemory");
    QTest::addColumn<qint64>("currentMemory");
    QTest::addColumn<QString>("plan");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("measured") << qint64(3723025) << qint64(1500) << qint64(1000) << qint64(800)
                              << "PLAN (A NATURAL)"
                              << QStringList{"Execution Time (hh:mm:ss.ssss)~|01:02:03.0025",
                                             "Prepare Time (hh:mm:ss.ssss)~|00:00:01:0500",
                                             "Starting Memory~|1000",
                                             "Current Memory~|800",
                                             "Delta Memory~|-200",
                                             "Number of Buffers~|2048",
                                             "Reads~|12",
                                             "Writes~|3",
                                             "Plan~|PLAN (A NATURAL)",
                                             "Records Fetched~|7"};
    QTest::newRow("never measured") << qint64(0) << qint64(0) << qint64(0) << qint64(0) << ""
                                    << QStringList{"Execution Time (hh:mm:ss.ssss)~|00:00:00.0000",
                                                   "Prepare Time (hh:mm:ss.ssss)~|00:00:00:0000",
                                                   "Starting Memory~|0",
                                                   "Current Memory~|0",
                                                   "Delta Memory~|0",
                                                   "Number of Buffers~|2048",
                                                   "Reads~|12",
                                                   "Writes~|3",
                                                   "Plan~|Not Available",
                                                   "Records Fetched~|7"};
}

void TestScriptSplitter::statisticsLines()
{
    QFETCH(qint64, execute);
    QFETCH(qint64, prepare);
    QFETCH(qint64, startingMemory);
    QFETCH(qint64, currentMemory);
    QFETCH(QString, plan);
    QFETCH(QStringList, lines);

    ScriptStatistics statistics;
    statistics.executeMilliseconds = execute;
    statistics.prepareMilliseconds = prepare;
    statistics.startingMemory = startingMemory;
    statistics.currentMemory = currentMemory;
    statistics.numberOfBuffers = 2048;
    statistics.reads = 12;
    statistics.writes = 3;
    statistics.plan = plan;
    statistics.recordsFetched = 7;
    QCOMPARE(ZelScript::statisticsLines(statistics), lines);
}

void TestScriptSplitter::exceptionCarriesItsParts_data()
{
    QTest::addColumn<EISQLException::Category>("category");
    QTest::addColumn<QString>("data");
    QTest::addColumn<int>("errorNumber");

    QTest::newRow("unreadable input file") << EISQLException::InputFile << "/tmp/falta.sql" << 61;
    QTest::newRow("failed statement")
        << EISQLException::DataDefinition << "create table A (ID integer)" << 48;
    QTest::newRow("failed connect") << EISQLException::Connect << "srv:/db/x.fdb" << 48;
}

void TestScriptSplitter::exceptionCarriesItsParts()
{
    QFETCH(EISQLException::Category, category);
    QFETCH(QString, data);
    QFETCH(int, errorNumber);

    const QString message = QStringLiteral("Arquivo não encontrado");
    try {
        throw EISQLException(message, category, data);
    } catch (const std::runtime_error &error) {
        const auto *script = dynamic_cast<const EISQLException *>(&error);
        QVERIFY(script);
        QCOMPARE(QString::fromUtf8(error.what()), message);
        QCOMPARE(script->message(), message);
        QCOMPARE(script->category(), category);
        QCOMPARE(script->errorNumber(), errorNumber);
        QCOMPARE(script->data(), data);
    }
}

QTEST_GUILESS_MAIN(TestScriptSplitter)
#include "tst_scriptsplitter.moc"
