#include "testdatabase.h"

#include "framework/data/zelibsql.h"
#include "framework/data/zelquery.h"

#include "platform/db/dberror.h"

#include <QDate>
#include <QTest>

#include <memory>

class TstZelIBSQL : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void procedureCall_data();
    void procedureCall();
    void procedureCallNeedsValues();
    void execProcWithHostileValues_data();
    void execProcWithHostileValues();
    void execSqlTextReplacesTheText();
    void execSqlTextStartsItsTransaction();
    void databaseErrorsPassUnchanged();
    void queryReadsAndRefusesEdits();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TstZelIBSQL::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    m_db->exec({
        QStringLiteral("create table REGISTRO (ID integer not null primary key, TEXTO varchar(100))"),
        QStringLiteral("create generator GEN_REGISTRO_ID"),
        QStringLiteral("create procedure ECO (A varchar(100), B integer, C date) "
                       "returns (R varchar(100), S integer, D date) as "
                       "begin R = A; S = B * 2; D = C + 1; end"),
        QStringLiteral("create procedure GUARDA (V varchar(100)) as "
                       "begin insert into REGISTRO values (gen_id(GEN_REGISTRO_ID, 1), :V); end"),
    });
}

void TstZelIBSQL::procedureCall_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("expected");
    QTest::newRow("three texts") << "GETPARAMS" << QVariantList{"a", "b", "c"}
                                 << "Execute Procedure GETPARAMS\n ('a', 'b', 'c')";
    QTest::newRow("text and number") << "NAME" << QVariantList{"x", 5}
                                     << "Execute Procedure NAME\n ('x', '5')";
    QTest::newRow("quote doubled") << "P" << QVariantList{"O'Brien"} << "Execute Procedure P\n ('O''Brien')";
    QTest::newRow("other kinds") << "P" << QVariantList{3.5, QDate(2008, 2, 29), true, QVariant(), QString()}
                                 << "Execute Procedure P\n ('3.5', '2008-02-29', 'T', '', '')";
}

void TstZelIBSQL::procedureCall()
{
    QFETCH(QString, name);
    QFETCH(QVariantList, values);
    QTEST(TZelIBSQL::procedureCall(name, values), "expected");
}

void TstZelIBSQL::procedureCallNeedsValues()
{
    TZelIBSQL sql(&m_db->database(), &m_db->transaction());
    QVERIFY_THROWS_EXCEPTION(db::ProgrammingError, sql.ExecProc(QStringLiteral("GUARDA"), {}));
}

void TstZelIBSQL::execProcWithHostileValues_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "abc";
    QTest::newRow("apostrophe") << "O'Brien";
    QTest::newRow("statement break") << "x'); delete from REGISTRO; --";
    QTest::newRow("colon name") << "a :B 'c'";
}

void TstZelIBSQL::execProcWithHostileValues()
{
    QFETCH(QString, value);
    TZelIBSQL sql(&m_db->database(), &m_db->transaction());
    sql.ExecProc(QStringLiteral("ECO"), {value, 21, QDate(2008, 2, 28)});
    QCOMPARE(sql.field(QStringLiteral("R")).asString(), value);
    QCOMPARE(sql.field(QStringLiteral("S")).asInteger(), 42);
    QCOMPARE(sql.field(QStringLiteral("D")).asDate(), QDate(2008, 2, 29));

    sql.ExecSQLText(QStringLiteral("select count(*) from REGISTRO"));
    QVERIFY(sql.next());
    const qint64 before = sql.field(0).asInt64();
    sql.ExecProc(QStringLiteral("GUARDA"), {value});
    sql.ExecSQLText(QStringLiteral("select count(*), max(ID) from REGISTRO"));
    QVERIFY(sql.next());
    QCOMPARE(sql.field(0).asInt64(), before + 1);
    const int id = sql.field(1).asInteger();
    sql.ExecSQLText(QStringLiteral("select TEXTO from REGISTRO where ID = %1").arg(id));
    QVERIFY(sql.next());
    QCOMPARE(sql.field(0).asString(), value);
}

void TstZelIBSQL::execSqlTextReplacesTheText()
{
    TZelIBSQL sql(&m_db->database(), &m_db->transaction());
    sql.ExecSQLText(QStringLiteral("select 1 from RDB$DATABASE"));
    QVERIFY(sql.isOpen());
    // The open cursor of the first text is closed before the next one runs.
    sql.ExecSQLText(QStringLiteral("select 2, 3 from RDB$DATABASE"));
    QCOMPARE(sql.sql(), QStringLiteral("select 2, 3 from RDB$DATABASE"));
    QVERIFY(sql.next());
    QCOMPARE(sql.columnCount(), 2);
    QCOMPARE(sql.field(1).asInteger(), 3);
}

void TstZelIBSQL::execSqlTextStartsItsTransaction()
{
    db::Transaction tr;
    tr.setDefaultDatabase(&m_db->database());
    tr.setParams(TestDatabase::transactionParams());
    TZelIBSQL sql(&m_db->database(), &tr);
    sql.ExecProc(QStringLiteral("GUARDA"), {QStringLiteral("em outra transação")});
    QVERIFY(tr.isActive());
    tr.rollback();
    sql.ExecSQLText(QStringLiteral("select count(*) from REGISTRO where TEXTO = 'em outra transação'"));
    QVERIFY(sql.next());
    QCOMPARE(sql.field(0).asInteger(), 0);
    tr.commit();
}

void TstZelIBSQL::databaseErrorsPassUnchanged()
{
    TZelIBSQL sql(&m_db->database(), &m_db->transaction());
    try {
        sql.ExecProc(QStringLiteral("NAO_EXISTE"), {1});
        QFAIL("no exception");
    } catch (const db::DatabaseError &e) {
        QVERIFY(e.sqlCode() < 0);
        QVERIFY2(e.message().contains(QStringLiteral("NAO_EXISTE")), qPrintable(e.message()));
        QCOMPARE(e.statement(), QStringLiteral("Execute Procedure NAO_EXISTE\n ('1')"));
    }
    QVERIFY_THROWS_EXCEPTION(db::DatabaseError, sql.ExecSQLText(QStringLiteral("select from")));
}

void TstZelIBSQL::queryReadsAndRefusesEdits()
{
    m_db->exec(QStringLiteral("insert into REGISTRO values (-1, 'primeiro')"));
    TZelQuery q;
    q.setDatabase(&m_db->database());
    q.setTransaction(&m_db->transaction());
    q.setSelectSql(QStringLiteral("select ID, TEXTO from REGISTRO where ID < :LIMITE order by ID"));
    q.param(QStringLiteral("LIMITE")).setInteger(0);
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.fieldByName(QStringLiteral("TEXTO")).asString(), QStringLiteral("primeiro"));
    QVERIFY(!q.canModify());
    QVERIFY_THROWS_EXCEPTION(db::ProgrammingError, q.edit());
    q.close();
}

QTEST_GUILESS_MAIN(TstZelIBSQL)
#include "tst_zelibsql.moc"
