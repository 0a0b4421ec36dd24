#include "testdatabase.h"
#include "timezoneguard.h"

#include "platform/db/dberror.h"
#include "platform/db/sqlparams.h"
#include "platform/db/statement.h"

#include <QtTest>

#include <cmath>

using namespace db;

class TstStatement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void parseParams_data();
    void parseParams();
    void repeatedNamedParameter();
    void paramCheckOffPassesBodyUnchanged();
    void nullsRoundTrip();
    void valueKinds_data();
    void valueKinds();
    void textParamsFollowRegionalFormats();
    void refusedTextsSayWhy_data();
    void refusedTextsSayWhy();
    void momentsOfTheHourSummerTimeSkipped_data();
    void momentsOfTheHourSummerTimeSkipped();
    void currencyIsExact();
    void accentedTextFillsVarchar();
    void textTheCharsetCannotHoldIsRefused();
    void tooLongTextIsRefusedByEngine();
    void blobs();
    void statementTypes_data();
    void statementTypes();
    void rowsAffectedAndPlan();
    void executeProcedureReturnsValues();
    void commitRetainingKeepsTransaction();
    void rollbackRetainingUndoesWork();
    void hardCommitClosesCursor();
    void databaseErrorCarriesCodes();
    void programmingErrors();
    void traceReportsEvents();

private:
    std::unique_ptr<TestDatabase> m_db;
    Statement &fresh(const QString &sql);
    std::unique_ptr<Statement> m_st;
};

void TstStatement::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    m_db->exec(
        {QStringLiteral("create table T (ID integer not null primary key, NOME varchar(10), "
                        "VALOR double precision, PRECO numeric(15,2), DATA date, HORA time, "
                        "MOMENTO timestamp, GRANDE bigint, MEMO blob sub_type 1, BIN blob sub_type 0, "
                        "FLAG boolean)"),
         QStringLiteral("create procedure SOMA (A integer, B integer) returns (S integer, P integer) as "
                        "begin S = A + B; P = A * B; end")});
}

Statement &TstStatement::fresh(const QString &sql)
{
    m_st = std::make_unique<Statement>(&m_db->database(), &m_db->transaction());
    m_st->setSql(sql);
    return *m_st;
}

void TstStatement::parseParams_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("plain") << "select * from T where ID = :ID"
                           << "select * from T where ID = ?" << QStringList{"ID"};
    QTest::newRow("repeated") << "where A = :x or B = :X and C = :y"
                              << "where A = ? or B = ? and C = ?" << QStringList{"X", "X", "Y"};
    QTest::newRow("colon in literal") << "select 'a:b', :P from T"
                                      << "select 'a:b', ? from T" << QStringList{"P"};
    QTest::newRow("doubled quote") << "select 'it''s :no', :yes"
                                   << "select 'it''s :no', ?" << QStringList{"YES"};
    QTest::newRow("quoted identifier") << "select \"A:B\" from T where X=:OLD_ID"
                                       << "select \"A:B\" from T where X=?" << QStringList{"OLD_ID"};
    QTest::newRow("comments") << "select 1 -- :a\nfrom T /* :b */ where X = :c"
                              << "select 1 -- :a\nfrom T /* :b */ where X = ?" << QStringList{"C"};
    QTest::newRow("lone colon") << "select : from T"
                                << "select : from T" << QStringList{};
}

void TstStatement::parseParams()
{
    QFETCH(QString, sql);
    const ParsedSql parsed = db::parseParams(sql);
    QTEST(parsed.text, "text");
    QTEST(parsed.positions, "names");
}

void TstStatement::repeatedNamedParameter()
{
    Statement &ins = fresh(QStringLiteral("insert into T (ID, GRANDE) values (:ID, :ID * 10)"));
    QCOMPARE(ins.paramCount(), 1);
    ins.param(QStringLiteral("id")).setInteger(7);
    ins.execute();
    Statement &sel = fresh(QStringLiteral("select GRANDE from T where ID = :ID and GRANDE = :ID * 10"));
    sel.param(QStringLiteral("ID")).setInteger(7);
    sel.execute();
    QVERIFY(sel.next());
    QCOMPARE(sel.field(QStringLiteral("GRANDE")).asInt64(), 70);
    QVERIFY(!sel.next());
    QVERIFY(sel.eof());
}

void TstStatement::paramCheckOffPassesBodyUnchanged()
{
    Statement st(&m_db->database(), &m_db->transaction());
    st.setParamCheck(false);
    st.setSql(QStringLiteral("create or alter procedure DOBRO (A integer) returns (R integer) as "
                             "declare variable X integer; begin X = :A; R = :X * 2; end"));
    QCOMPARE(st.paramCount(), 0);
    st.execute();
    m_db->transaction().commitRetaining();
    Statement &call = fresh(QStringLiteral("execute procedure DOBRO :A"));
    call.param(QStringLiteral("A")).setInteger(21);
    call.execute();
    QCOMPARE(call.field(QStringLiteral("R")).asInteger(), 42);
}

void TstStatement::nullsRoundTrip()
{
    Statement &ins =
        fresh(QStringLiteral("insert into T (ID, NOME, VALOR, DATA, MEMO) values (:ID, :N, :V, :D, :M)"));
    ins.param(QStringLiteral("ID")).setInteger(100);
    ins.param(QStringLiteral("N")).setString(QStringLiteral("x"));
    ins.param(QStringLiteral("N")).clear();
    ins.param(QStringLiteral("V")).setValue(QVariant());
    ins.param(QStringLiteral("D")).setDate(QDate());
    ins.param(QStringLiteral("M")).clear();
    ins.execute();
    Statement &sel = fresh(QStringLiteral("select NOME, VALOR, DATA, MEMO from T where ID = 100"));
    sel.execute();
    QVERIFY(sel.next());
    for (int i = 0; i < 4; ++i) {
        QVERIFY2(sel.field(i).isNull(), qPrintable(sel.field(i).name()));
        QVERIFY(!sel.field(i).asVariant().isValid());
    }
    QCOMPARE(sel.field(0).asString(), QString());
    QCOMPARE(sel.field(1).asDouble(), 0.0);
}

void TstStatement::valueKinds_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("double") << "VALOR" << QVariant(1234.5) << "1234,5";
    QTest::newRow("negative double") << "VALOR" << QVariant(-0.25) << "-0,25";
    QTest::newRow("date") << "DATA" << QVariant(QDate(2008, 2, 29)) << "29/02/2008";
    QTest::newRow("old date") << "DATA" << QVariant(QDate(1858, 11, 16)) << "16/11/1858";
    QTest::newRow("time") << "HORA" << QVariant(QTime(23, 59, 58)) << "23:59:58";
    QTest::newRow("timestamp") << "MOMENTO" << QVariant(QDateTime(QDate(2005, 12, 31), QTime(8, 5, 3)))
                               << "31/12/2005 08:05:03";
    QTest::newRow("midnight") << "MOMENTO" << QVariant(QDateTime(QDate(2005, 12, 31), QTime(0, 0)))
                              << "31/12/2005";
    QTest::newRow("bigint") << "GRANDE" << QVariant(qint64(9007199254740993)) << "9007199254740993";
    QTest::newRow("bool") << "FLAG" << QVariant(true) << "True";
    QTest::newRow("accented") << "NOME" << QVariant(QStringLiteral("Março")) << "Março";
}

void TstStatement::valueKinds()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    static int id = 200;
    ++id;
    Statement &ins = fresh(QStringLiteral("insert into T (ID, %1) values (:ID, :V)").arg(column));
    ins.param(QStringLiteral("ID")).setInteger(id);
    ins.param(QStringLiteral("V")).setValue(value);
    ins.execute();
    Statement &sel = fresh(QStringLiteral("select %1 from T where ID = :ID").arg(column));
    sel.param(QStringLiteral("ID")).setInteger(id);
    sel.execute();
    QVERIFY(sel.next());
    const Column c = sel.field(column);
    QCOMPARE(c.asVariant(), value);
    QTEST(c.asString(), "text");
}

void TstStatement::momentsOfTheHourSummerTimeSkipped_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    // In Brazil summer time began at midnight, so the first hour of those days never showed on local clocks;
    // the database keeps such moments all the same, and none may turn into an empty text or a null.
    for (const char *how : {"moment", "text"}) {
        QTest::addRow("%s at midnight", how) << how << "04/11/2018";
        QTest::addRow("%s inside the hour", how) << how << "04/11/2018 00:30:00";
        QTest::addRow("%s last second", how) << how << "15/10/2017 00:59:59";
    }
}

void TstStatement::momentsOfTheHourSummerTimeSkipped()
{
    QFETCH(QString, how);
    QFETCH(QString, text);
    const TimeZoneGuard zone("America/Sao_Paulo");
    QVERIFY2(TimeZoneGuard::brazilSkipsSummerTimeHour(), "time zone America/Sao_Paulo is missing");

    const QDate date = QDate::fromString(text.left(10), QStringLiteral("dd/MM/yyyy"));
    const QTime time =
        text.size() > 10 ? QTime::fromString(text.mid(11), QStringLiteral("HH:mm:ss")) : QTime(0, 0);
    const QDateTime moment(date, time);
    static int id = 400;
    ++id;
    Statement &ins = fresh(QStringLiteral("insert into T (ID, MOMENTO, DATA) values (:ID, :M, :D)"));
    ins.param(QStringLiteral("ID")).setInteger(id);
    if (how == QLatin1String("moment"))
        ins.param(QStringLiteral("M")).setDateTime(moment);
    else
        ins.param(QStringLiteral("M")).setString(text);
    ins.param(QStringLiteral("D")).setDate(date);
    ins.execute();

    Statement &sel =
        fresh(QStringLiteral("select MOMENTO, DATA, cast(MOMENTO as varchar(30)) from T where ID = :ID"));
    sel.param(QStringLiteral("ID")).setInteger(id);
    sel.execute();
    QVERIFY(sel.next());
    QVERIFY(!sel.field(0).isNull());
    QCOMPARE(sel.field(2).asString().left(19), date.toString(QStringLiteral("yyyy-MM-dd")) +
                                                   QLatin1Char(' ') +
                                                   time.toString(QStringLiteral("HH:mm:ss")));
    QCOMPARE(sel.field(0).asString(), text);
    QCOMPARE(sel.field(0).asDateTime().date(), date);
    QCOMPARE(sel.field(0).asDateTime().time(), time);
    QCOMPARE(sel.field(1).asDateTime().date(), date);
    sel.close();
}

void TstStatement::textParamsFollowRegionalFormats()
{
    // "01/02/2008" is the first of February here, never the second of January.
    Statement &ins = fresh(QStringLiteral("insert into T (ID, DATA, VALOR, PRECO) values (:ID, :D, :V, :P)"));
    ins.param(QStringLiteral("ID")).setString(QStringLiteral("300"));
    ins.param(QStringLiteral("D")).setString(QStringLiteral("01/02/2008"));
    ins.param(QStringLiteral("V")).setString(QStringLiteral("1.234,56"));
    ins.param(QStringLiteral("P")).setString(QStringLiteral("10,05"));
    ins.execute();
    Statement &sel = fresh(QStringLiteral("select DATA, VALOR, PRECO from T where ID = 300"));
    sel.execute();
    QVERIFY(sel.next());
    QCOMPARE(sel.field(0).asDate(), QDate(2008, 2, 1));
    QCOMPARE(sel.field(1).asDouble(), 1234.56);
    QCOMPARE(sel.field(2).asCurrency(), Currency::fromTicks(100500));
}

// The user reads these: the adjective agrees with what was expected.
void TstStatement::refusedTextsSayWhy_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("date") << "DATA"
                          << "31/02/2008"
                          << "\"31/02/2008\" não é uma data válida.";
    QTest::newRow("time") << "HORA"
                          << "25:00"
                          << "\"25:00\" não é uma hora válida.";
    QTest::newRow("moment") << "MOMENTO"
                            << "ontem"
                            << "\"ontem\" não é uma data válida.";
    QTest::newRow("integer") << "GRANDE"
                             << "12a"
                             << "\"12a\" não é um valor inteiro válido.";
    QTest::newRow("number") << "VALOR"
                            << "R$ 1"
                            << "\"R$ 1\" não é um valor numérico válido.";
    QTest::newRow("logical") << "FLAG"
                             << "talvez"
                             << "\"talvez\" não é um valor lógico válido.";
}

void TstStatement::refusedTextsSayWhy()
{
    QFETCH(QString, column);
    QFETCH(QString, text);
    Statement &bad = fresh(QStringLiteral("insert into T (ID, %1) values (301, :V)").arg(column));
    bad.param(QStringLiteral("V")).setString(text);
    try {
        bad.execute();
        QFAIL("the text was taken");
    } catch (const ValueError &e) {
        QTEST(e.message(), "message");
    }
}

void TstStatement::currencyIsExact()
{
    // 0.1 + 0.2 as doubles is not 0.3; as currency it must be.
    Statement &ins = fresh(QStringLiteral("insert into T (ID, VALOR, PRECO) values (:ID, :V, :P)"));
    ins.param(QStringLiteral("ID")).setInteger(400);
    ins.param(QStringLiteral("V")).setDouble(0.1 + 0.2);
    ins.param(QStringLiteral("P")).setCurrency(Currency::fromTicks(123456789)); // 12345,6789 -> 12345,68
    ins.execute();
    Statement &sel = fresh(QStringLiteral("select VALOR, PRECO from T where ID = 400"));
    sel.execute();
    QVERIFY(sel.next());
    QCOMPARE(sel.field(0).asCurrency(), Currency::fromTicks(3000));
    QVERIFY(sel.field(0).asDouble() != 0.3);
    QCOMPARE(sel.field(1).asCurrency(), Currency::fromTicks(123456800));
    QCOMPARE(sel.field(1).asString(), QStringLiteral("12345,68"));
    QCOMPARE(Currency::fromDouble(-2.00005).ticks(), -20001);
    QCOMPARE(Currency::fromDouble(2.00004).ticks(), 20000);
    // At the edge of what a money value holds, and beyond it (where the plain conversion wrapped around to a
    // large negative amount).
    QCOMPARE(Currency::fromDouble(9.0e14).ticks(), Q_INT64_C(9000000000000000000));
    QCOMPARE(Currency::fromDouble(-9.0e14).ticks(), -Q_INT64_C(9000000000000000000));
    for (const double beyond : {1.0e15, -1.0e15, std::nan("")})
        QVERIFY_THROWS_EXCEPTION(ValueError, Currency::fromDouble(beyond));
}

void TstStatement::accentedTextFillsVarchar()
{
    const QString ten = QStringLiteral("ÇÃÉÕÜàçãé€");
    QCOMPARE(ten.size(), 10);
    Statement &ins = fresh(QStringLiteral("insert into T (ID, NOME) values (500, :N)"));
    ins.param(QStringLiteral("N")).setString(ten);
    ins.execute();
    Statement &sel = fresh(
        QStringLiteral("select NOME, upper('março') as U, char_length(NOME) as L from T where ID = 500"));
    sel.execute();
    QVERIFY(sel.next());
    QCOMPARE(sel.field(QStringLiteral("NOME")).asString(), ten);
    QCOMPARE(sel.field(QStringLiteral("U")).asString(), QStringLiteral("MARÇO"));
    QCOMPARE(sel.field(QStringLiteral("L")).asInteger(), 10);
}

void TstStatement::textTheCharsetCannotHoldIsRefused()
{
    Statement &ins = fresh(QStringLiteral("insert into T (ID, NOME) values (600, :N)"));
    ins.param(QStringLiteral("N")).setString(QStringLiteral("日本"));
    try {
        ins.execute();
        QFAIL("text outside Windows-1252 was accepted");
    } catch (const ValueError &e) {
        QVERIFY(e.message().contains(QStringLiteral("não pode gravar")));
    }
    Statement &count = fresh(QStringLiteral("select count(*) from T where ID = 600"));
    count.execute();
    QVERIFY(count.next());
    QCOMPARE(count.field(0).asInteger(), 0);
}

void TstStatement::tooLongTextIsRefusedByEngine()
{
    Statement &ins = fresh(QStringLiteral("insert into T (ID, NOME) values (601, :N)"));
    ins.param(QStringLiteral("N")).setString(QStringLiteral("12345678901"));
    try {
        ins.execute();
        QFAIL("eleven characters went into a VARCHAR(10)");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.sqlCode(), -303);
        QVERIFY(e.message().contains(QStringLiteral("truncation")));
    }
}

void TstStatement::blobs()
{
    QByteArray binary(100000, Qt::Uninitialized);
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char(i * 7 % 256);
    const QString memo = QStringLiteral("Linha 1 çã\nLinha 2 €").repeated(3000);
    Statement &ins = fresh(QStringLiteral("insert into T (ID, MEMO, BIN) values (700, :M, :B)"));
    ins.param(QStringLiteral("M")).setString(memo);
    ins.param(QStringLiteral("B")).setBlob(binary);
    ins.execute();
    Statement &sel = fresh(QStringLiteral("select MEMO, BIN from T where ID = 700"));
    sel.execute();
    QVERIFY(sel.next());
    QCOMPARE(sel.field(0).type(), FieldType::TextBlob);
    QCOMPARE(sel.field(1).type(), FieldType::BinaryBlob);
    QCOMPARE(sel.field(0).asString(), memo);
    QCOMPARE(sel.field(1).asBytes(), binary);
    QCOMPARE(sel.field(0).asVariant(), QVariant(memo));
}

void TstStatement::statementTypes_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("type");
    QTest::newRow("select") << "select * from T" << int(StatementType::Select);
    QTest::newRow("insert") << "insert into T (ID) values (-1)" << int(StatementType::Insert);
    QTest::newRow("update") << "update T set NOME = 'a'" << int(StatementType::Update);
    QTest::newRow("delete") << "delete from T where ID = -1" << int(StatementType::Delete);
    QTest::newRow("ddl") << "create table X (A integer)" << int(StatementType::DDL);
    QTest::newRow("procedure") << "execute procedure SOMA 1, 2" << int(StatementType::ExecProcedure);
    QTest::newRow("commit") << "commit" << int(StatementType::Commit);
    QTest::newRow("rollback") << "rollback" << int(StatementType::Rollback);
    QTest::newRow("set generator") << "set generator G to 1" << int(StatementType::SetGenerator);
}

void TstStatement::statementTypes()
{
    QFETCH(QString, sql);
    Statement &st = fresh(sql);
    st.prepare();
    QTEST(int(st.type()), "type");
}

void TstStatement::rowsAffectedAndPlan()
{
    m_db->exec(QStringLiteral("insert into T (ID, NOME) select 800 + RDB$RELATION_ID, 'r' from RDB$RELATIONS "
                              "where RDB$RELATION_ID < 5"));
    Statement &up = fresh(QStringLiteral("update T set NOME = 'q' where ID between 800 and 804"));
    up.execute();
    QCOMPARE(up.rowsAffected(), 5);
    Statement &del = fresh(QStringLiteral("delete from T where ID between 800 and 802"));
    del.execute();
    QCOMPARE(del.rowsAffected(), 3);
    Statement &sel = fresh(QStringLiteral("select * from T where ID = 1"));
    QVERIFY(sel.plan().contains(QStringLiteral("INDEX")));
}

void TstStatement::executeProcedureReturnsValues()
{
    Statement &st = fresh(QStringLiteral("execute procedure SOMA :A, :B"));
    st.param(QStringLiteral("A")).setInteger(6);
    st.param(QStringLiteral("B")).setInteger(7);
    st.execute();
    QVERIFY(st.hasRow());
    QCOMPARE(st.field(QStringLiteral("S")).asInteger(), 13);
    QCOMPARE(st.field(QStringLiteral("P")).asInteger(), 42);
}

void TstStatement::commitRetainingKeepsTransaction()
{
    Transaction &tr = m_db->transaction();
    Statement &ins = fresh(QStringLiteral("insert into T (ID) values (900)"));
    ins.execute();
    Statement sel(&m_db->database(), &tr);
    sel.setSql(QStringLiteral("select ID from T where ID >= 0 order by ID"));
    sel.execute();
    QVERIFY(sel.next());
    tr.commitRetaining();
    QVERIFY(tr.isActive());
    QVERIFY(sel.isOpen());
    QVERIFY(sel.next()); // the cursor survives a retaining commit

    auto other = m_db->connectAgain();
    Transaction otherTr;
    otherTr.setDefaultDatabase(other.get());
    otherTr.start();
    Statement check(other.get(), &otherTr);
    check.setSql(QStringLiteral("select count(*) from T where ID = 900"));
    check.execute();
    QVERIFY(check.next());
    QCOMPARE(check.field(0).asInteger(), 1);
}

void TstStatement::rollbackRetainingUndoesWork()
{
    Transaction &tr = m_db->transaction();
    fresh(QStringLiteral("insert into T (ID) values (901)")).execute();
    tr.rollbackRetaining();
    QVERIFY(tr.isActive());
    Statement &sel = fresh(QStringLiteral("select count(*) from T where ID = 901"));
    sel.execute();
    QVERIFY(sel.next());
    QCOMPARE(sel.field(0).asInteger(), 0);
}

void TstStatement::hardCommitClosesCursor()
{
    Transaction tr;
    tr.setDefaultDatabase(&m_db->database());
    tr.start();
    Statement sel(&m_db->database(), &tr);
    sel.setSql(QStringLiteral("select ID from T"));
    sel.execute();
    QVERIFY(sel.isOpen());
    tr.commit();
    QVERIFY(!tr.isActive());
    QVERIFY(!sel.isOpen());
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, sel.execute());
}

void TstStatement::databaseErrorCarriesCodes()
{
    Statement &st = fresh(QStringLiteral("select NO_SUCH_COLUMN from T"));
    try {
        st.prepare();
        QFAIL("prepare of a bad column succeeded");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.sqlCode(), -206);
        QCOMPARE(e.gdsCode(), long(isc_dsql_error));
        QVERIFY(e.message().contains(QStringLiteral("NO_SUCH_COLUMN")));
        QCOMPARE(e.statement(), QStringLiteral("select NO_SUCH_COLUMN from T"));
    }
    fresh(QStringLiteral("insert into T (ID) values (950)")).execute();
    try {
        fresh(QStringLiteral("insert into T (ID) values (950)")).execute();
        QFAIL("duplicate key accepted");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.sqlCode(), -803);
        QCOMPARE(e.gdsCode(), long(isc_unique_key_violation));
    }
}

void TstStatement::programmingErrors()
{
    Statement &st = fresh(QStringLiteral("select * from T where ID = :ID"));
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, st.param(QStringLiteral("NOPE")));
    st.execute();
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, st.field(QStringLiteral("ID")).asInteger()); // no row yet
    Statement noTransaction(&m_db->database(), nullptr);
    noTransaction.setSql(QStringLiteral("select 1 from rdb$database"));
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, noTransaction.execute());
    Transaction idle;
    idle.setDefaultDatabase(&m_db->database());
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, idle.commit());
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, idle.setParams({QStringLiteral("read_comitted")}));
}

void TstStatement::traceReportsEvents()
{
    QList<TraceFlag> kinds;
    QStringList texts;
    m_db->database().setTraceFlags(AllTraceFlags);
    m_db->database().setTraceHook([&](TraceFlag f, const QString &text, const QDateTime &when) {
        QVERIFY(when.isValid());
        kinds << f;
        texts << text;
    });
    Statement &st = fresh(QStringLiteral("select ID from T where ID = :ID"));
    st.param(QStringLiteral("ID")).setInteger(950);
    st.execute();
    st.next();
    m_db->transaction().commitRetaining();
    try {
        fresh(QStringLiteral("select X from NOWHERE")).prepare();
    } catch (const DatabaseError &) {
    }
    m_db->database().setTraceHook({});
    QVERIFY(kinds.contains(TraceFlag::Statement));
    QVERIFY(kinds.contains(TraceFlag::Prepare));
    QVERIFY(kinds.contains(TraceFlag::Execute));
    QVERIFY(kinds.contains(TraceFlag::Fetch));
    QVERIFY(kinds.contains(TraceFlag::Transaction));
    QVERIFY(kinds.contains(TraceFlag::Error));
    QVERIFY(texts.join(QLatin1Char('\n')).contains(QStringLiteral("ID = 950")));
}

QTEST_GUILESS_MAIN(TstStatement)
#include "tst_statement.moc"
