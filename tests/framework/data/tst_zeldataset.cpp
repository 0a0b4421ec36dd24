#include "testdatabase.h"
#include "timezoneguard.h"

#include "framework/data/zeldataset.h"
#include "framework/data/zelmessage.h"
#include "framework/data/zelsqlglobals.h"

#include "platform/db/dberror.h"
#include "platform/db/statement.h"

#include <QTest>

#include <memory>

using namespace ZelDataSet;

Q_DECLARE_METATYPE(ZelDataSet::SqlKind)

class TstZelDataSet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void orderedSelect_data();
    void orderedSelect();
    void orderByAppliedAtOpenAndKeptWhenEmptied();
    void orderByKeepsParameterValues();
    void orderedSelectRunsOnTheServer_data();
    void orderedSelectRunsOnTheServer();

    void formatValueSql_data();
    void formatValueSql();
    void fieldValueSql_data();
    void fieldValueSql();
    void timestampTypedInClockChangeGap_data();
    void timestampTypedInClockChangeGap();
    void hostileTextStaysInsideItsLiteral_data();
    void hostileTextStaysInsideItsLiteral();

    void recordExists_data();
    void recordExists();
    void recordExistsRefusesWrongValueCount_data();
    void recordExistsRefusesWrongValueCount();
    void existsInTable();

    void duplicateSqlOfTheExample();
    void isDuplicate_data();
    void isDuplicate();
    void isDuplicateWithoutKeys();
    void readUniqueKeys();

    void openSharedCountsUsers();
    void closeSharedNeverCountsBelowZero();
    void recordIdAndLocate();
    void hasParam();
    void cancelFirstInsertIntoEmpty();
    void cancelInsertKeepsExistingRows();
    void tableNameFollowsRename();
    void registryFollowsSqlGlobals();

private:
    std::unique_ptr<TZelDataSet> makeDataSet(const QString &select);
    void exec(const QString &sql);
    qint64 count(const QString &sql);

    std::unique_ptr<TestDatabase> m_db;
    QStringList m_messages;
    std::unique_ptr<ZelMessage::ErrorHookScope> m_hook;
};

void TstZelDataSet::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    m_db->database().setDefaultTransaction(&m_db->transaction());
    m_db->exec({
        QStringLiteral("create table CONTROLE (ID INTEGER not null primary key, LEILAO_DATA DATE, "
                       "CLI_TIPO_PESSOA INTEGER, CLI_DOCUMENTO VARCHAR(14), CLI_NOME VARCHAR(50), "
                       "NOTA_NUMERO INTEGER, NOTA_MERCADORIA DOUBLE PRECISION, "
                       "NOTA_PER_COMISSAO DOUBLE PRECISION, NOTA_COMISSAO DOUBLE PRECISION, "
                       "NOTA_TAXA_ADMIN DOUBLE PRECISION, NOTA_TOTAL DOUBLE PRECISION, USUARIOID INTEGER, "
                       "LEILAO_NUMERO VARCHAR(8))"),
        QStringLiteral("create table CONTA_CORRENTE (ID INTEGER not null primary key, BANCO INTEGER, "
                       "NUM_AGENCIA VARCHAR(10), NUM_CONTA VARCHAR(15), CODIGO_CEDENTE VARCHAR(15))"),
        QStringLiteral(
            "create unique index CONTA_CORRENTE_01 on CONTA_CORRENTE (BANCO, NUM_AGENCIA, NUM_CONTA)"),
        QStringLiteral("create unique index CONTA_CORRENTE_02 on CONTA_CORRENTE (CODIGO_CEDENTE)"),
        QStringLiteral(
            "create table TIPOS (ID INTEGER not null primary key, S SMALLINT, I INTEGER, B BIGINT, "
            "F DOUBLE PRECISION, N NUMERIC(15,2), V VARCHAR(20), C CHAR(5), D DATE, T TIME, "
            "TS TIMESTAMP, M BLOB SUB_TYPE 1, BIN BLOB SUB_TYPE 0, FLAG BOOLEAN)"),
        QStringLiteral("create table SEM_ID (CODIGO INTEGER, NOME VARCHAR(10))"),
    });
    m_db->exec({
        QStringLiteral("insert into CONTA_CORRENTE values (1, 1, '0001', '123', 'A1')"),
        QStringLiteral("insert into CONTA_CORRENTE values (2, 1, '0002', '123', 'A2')"),
        QStringLiteral("insert into CONTA_CORRENTE values (3, 2, NULL, '777', 'B1')"),
        QStringLiteral("insert into TIPOS values (1, 7, 42, 9000000000, 1234.5, 10.25, 'O''Brien', 'ab', "
                       "'2005-12-31', '09:05:03', '2008-02-29 23:59:58', 'memo', NULL, TRUE)"),
        QStringLiteral("insert into SEM_ID values (1, 'um')"),
    });
    for (int i = 1; i <= 3; ++i)
        m_db->exec(QStringLiteral("insert into CONTROLE (ID, LEILAO_DATA, CLI_NOME, NOTA_NUMERO) "
                                  "values (%1, '2008-02-%2', 'CLIENTE %3', %4)")
                       .arg(40 + i)
                       .arg(10 + i)
                       .arg(QChar(u'D' - i))
                       .arg(100 + i));
    m_hook = std::make_unique<ZelMessage::ErrorHookScope>([this](const QString &m) { m_messages << m; });
}

void TstZelDataSet::init()
{
    m_messages.clear();
}

std::unique_ptr<TZelDataSet> TstZelDataSet::makeDataSet(const QString &select)
{
    auto ds = std::make_unique<TZelDataSet>();
    ds->setObjectName(QStringLiteral("ds"));
    ds->setDatabase(&m_db->database());
    ds->setTransaction(&m_db->transaction());
    ds->setSelectSql(select);
    return ds;
}

void TstZelDataSet::exec(const QString &sql)
{
    db::Statement st(&m_db->database(), &m_db->transaction());
    st.setSql(sql);
    st.execute();
}

qint64 TstZelDataSet::count(const QString &sql)
{
    db::Statement st(&m_db->database(), &m_db->transaction());
    st.setSql(sql);
    st.execute();
    return st.next() ? st.field(0).asInt64() : -1;
}

// ------------------------------------------------------------------------------------------- ORDER BY

void TstZelDataSet::orderedSelect_data()
{
    QTest::addColumn<QString>("select");
    QTest::addColumn<QString>("orderBy");
    QTest::addColumn<QString>("expected");
    QTest::newRow("alias") << "select C.* from CONTROLE C where C.ID > 0"
                           << "CONTROLE.CLI_NOME DESC"
                           << "select C.* from CONTROLE C where C.ID > 0 order by C.CLI_NOME DESC";
    QTest::newRow("reserved word after the table")
        << "select * from CONTROLE where ID > 0"
        << "CONTROLE.CLI_NOME DESC"
        << "select * from CONTROLE where ID > 0 order by CONTROLE.CLI_NOME DESC";
    QTest::newRow("line break after the table")
        << "select C.* from CONTROLE\nC where ID > 0"
        << "CONTROLE.CLI_NOME DESC"
        << "select C.* from CONTROLE\nC where ID > 0 order by C.CLI_NOME DESC";
    QTest::newRow("line break after the table, then a reserved word")
        << "select * from CONTROLE\r\nwhere ID > 0"
        << "CONTROLE.CLI_NOME DESC"
        << "select * from CONTROLE\r\nwhere ID > 0 order by CONTROLE.CLI_NOME DESC";
    QTest::newRow("tab after the table") << "select * from CONTROLE\tC"
                                         << "CONTROLE.ID"
                                         << "select * from CONTROLE\tC order by C.ID";
    QTest::newRow("existing clause replaced")
        << "select * from CONTROLE where LEILAO_DATA >= :DATA_INI order by LEILAO_DATA"
        << "CONTROLE.NOTA_NUMERO"
        << "select * from CONTROLE where LEILAO_DATA >= :DATA_INI order by CONTROLE.NOTA_NUMERO";
    QTest::newRow("clause in lower case over two lines") << "select * from CONTROLE C\norder\n  by C.ID"
                                                         << "CONTROLE.ID ASC"
                                                         << "select * from CONTROLE C order by C.ID ASC";
    QTest::newRow("join, two items")
        << "select P.*, U.SIGLA from PRODUTO P left join UNIDADE U on U.ID = P.UNIDADEID order by P.ID"
        << "UNIDADE.SIGLA;PRODUTO.DESCRICAO DESC"
        << "select P.*, U.SIGLA from PRODUTO P left join UNIDADE U on U.ID = P.UNIDADEID order by U.SIGLA, "
           "P.DESCRICAO DESC";
    QTest::newRow("quoted names") << "select * from \"CONTROLE\" X"
                                  << "\"CONTROLE\".\"CLI_NOME\""
                                  << "select * from \"CONTROLE\" X order by X.CLI_NOME";
    QTest::newRow("AS before the alias") << "select * from CONTROLE as C"
                                         << "CONTROLE.ID"
                                         << "select * from CONTROLE as C order by C.ID";
    QTest::newRow("AS and the alias on the next line")
        << "select * from CONTROLE AS\n  C where C.ID > 0"
        << "CONTROLE.ID"
        << "select * from CONTROLE AS\n  C where C.ID > 0 order by C.ID";
    QTest::newRow("AS before a reserved word") << "select * from CONTROLE as where"
                                               << "CONTROLE.ID"
                                               << "select * from CONTROLE as where order by CONTROLE.ID";
    QTest::newRow("join words after the tables")
        << "select * from CONTROLE full join X on 1 = 1, Y cross join Z natural join W"
        << "CONTROLE.ID;Y.ID;Z.ID"
        << "select * from CONTROLE full join X on 1 = 1, Y cross join Z natural join W order by CONTROLE.ID, "
           "Y.ID, "
           "Z.ID";
    QTest::newRow("having and using")
        << "select A.ID from A having 1 = 1 join B using (ID) join C on 1 = 1"
        << "A.ID;B.ID;C.ID"
        << "select A.ID from A having 1 = 1 join B using (ID) join C on 1 = 1 order by A.ID, B.ID, C.ID";
    QTest::newRow("comma after the alias")
        << "select * from CONTROLE C, CLIENTE L where L.ID = C.ID"
        << "CLIENTE.NOME;CONTROLE.ID"
        << "select * from CONTROLE C, CLIENTE L where L.ID = C.ID order by L.NOME, C.ID";
    QTest::newRow("table name inside a longer name")
        << "select * from XCONTROLE X join CONTROLE C on C.ID = X.ID"
        << "CONTROLE.ID"
        << "select * from XCONTROLE X join CONTROLE C on C.ID = X.ID order by C.ID";
    QTest::newRow("no table part") << "select * from CONTROLE C"
                                   << "CLI_NOME"
                                   << "select * from CONTROLE C order by CLI_NOME";
    QTest::newRow("empty items skipped") << "select * from CONTROLE C"
                                         << ";; CONTROLE.ID ;"
                                         << "select * from CONTROLE C order by C.ID";
    QTest::newRow("no items") << "select * from CONTROLE order by ID"
                              << ""
                              << "select * from CONTROLE order by ID";
}

void TstZelDataSet::orderedSelect()
{
    QFETCH(QString, select);
    QFETCH(QString, orderBy);
    auto ds = makeDataSet(select);
    ds->setOrderByFields(orderBy);
    QTEST(ds->BuildOrderedSelect(), "expected");
}

void TstZelDataSet::orderByAppliedAtOpenAndKeptWhenEmptied()
{
    auto ds = makeDataSet(QStringLiteral("select * from CONTROLE C order by LEILAO_DATA"));
    ds->setOrderByFields(QStringLiteral("CONTROLE.CLI_NOME"));
    QCOMPARE(ds->selectSql(), QStringLiteral("select * from CONTROLE C order by LEILAO_DATA"));
    ds->open();
    QCOMPARE(ds->selectSql(), QStringLiteral("select * from CONTROLE C order by C.CLI_NOME"));
    QStringList names;
    for (; !ds->eof(); ds->next())
        names << ds->fieldByName(QStringLiteral("CLI_NOME")).asString();
    QCOMPARE(names, (QStringList{"CLIENTE A", "CLIENTE B", "CLIENTE C"}));

    ds->close();
    ds->setOrderByFields(QString());
    ds->open();
    QCOMPARE(ds->selectSql(), QStringLiteral("select * from CONTROLE C order by C.CLI_NOME"));
    QCOMPARE(ds->fieldByName(QStringLiteral("CLI_NOME")).asString(), QStringLiteral("CLIENTE A"));
    ds->close();
}

void TstZelDataSet::orderByKeepsParameterValues()
{
    auto ds = makeDataSet(QStringLiteral("select * from CONTROLE where LEILAO_DATA >= :DATA_INI and "
                                         "LEILAO_DATA <= :DATA_FIM order by LEILAO_DATA"));
    ds->beforeOpen = [](db::DataSet &d) {
        d.param(QStringLiteral("DATA_INI")).setDate(QDate(2008, 2, 12));
        d.param(QStringLiteral("DATA_FIM")).setDate(QDate(2008, 2, 29));
    };
    ds->setOrderByFields(QStringLiteral("CONTROLE.NOTA_NUMERO DESC"));
    ds->OpenShared();
    QList<int> numbers;
    for (; !ds->eof(); ds->next())
        numbers << ds->fieldByName(QStringLiteral("NOTA_NUMERO")).asInteger();
    QCOMPARE(numbers, (QList<int>{103, 102}));
    QVERIFY(ds->HasParam(QStringLiteral("data_ini")));
    ds->CloseShared();
}

void TstZelDataSet::orderedSelectRunsOnTheServer_data()
{
    // The server refuses the table name once the table has an alias, so the rebuilt clause must use it.
    QTest::addColumn<QString>("select");
    QTest::newRow("alias") << "select C.* from CONTROLE C";
    QTest::newRow("alias on the next line") << "select C.* from CONTROLE\nC where C.ID > 0 order by C.ID";
    QTest::newRow("alias after a line break and carriage return") << "select *\r\nfrom CONTROLE\r\nC";
    QTest::newRow("alias after AS") << "select * from CONTROLE as C order by C.ID";
    QTest::newRow("alias after AS on the next line") << "select * from CONTROLE AS\n  C";
    QTest::newRow("no alias") << "select * from CONTROLE\nwhere ID > 0";
    QTest::newRow("grouped, no alias") << "select CLI_NOME from CONTROLE group by CLI_NOME";
    QTest::newRow("planned, no alias") << "select * from CONTROLE plan (CONTROLE NATURAL)";
}

void TstZelDataSet::orderedSelectRunsOnTheServer()
{
    QFETCH(QString, select);
    auto ds = makeDataSet(select);
    ds->setOrderByFields(QStringLiteral("CONTROLE.CLI_NOME DESC"));
    try {
        ds->open();
    } catch (const db::DatabaseError &e) {
        QFAIL(qPrintable(ds->selectSql() + QStringLiteral(": ") + e.message()));
    }
    QStringList names;
    for (; !ds->eof(); ds->next())
        names << ds->fieldByName(QStringLiteral("CLI_NOME")).asString();
    QCOMPARE(names, (QStringList{"CLIENTE C", "CLIENTE B", "CLIENTE A"}));
    ds->close();
}

// ------------------------------------------------------------------------------------------- literals

void TstZelDataSet::formatValueSql_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<SqlKind>("kind");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("message");
    QTest::newRow("text") << "abc" << SqlKind::Text << "'abc'"
                          << "";
    QTest::newRow("text empty") << "" << SqlKind::Text << "''"
                                << "";
    QTest::newRow("text quote") << "O'Brien" << SqlKind::Text << "'O''Brien'"
                                << "";
    QTest::newRow("text only quotes") << "''" << SqlKind::Text << "''''''"
                                      << "";
    QTest::newRow("integer") << "42" << SqlKind::Integer << "42"
                             << "";
    QTest::newRow("integer negative") << "-7" << SqlKind::Integer << "-7"
                                      << "";
    QTest::newRow("integer empty") << "" << SqlKind::Integer << "NULL"
                                   << "";
    QTest::newRow("integer letters") << "4x" << SqlKind::Integer << ""
                                     << "Valor inválido";
    QTest::newRow("integer fraction") << "1,5" << SqlKind::Integer << ""
                                      << "Valor inválido";
    QTest::newRow("integer injection") << "1 or 1=1" << SqlKind::Integer << ""
                                       << "Valor inválido";
    QTest::newRow("decimal") << "1234,56" << SqlKind::Decimal << "1234.56"
                             << "";
    QTest::newRow("decimal grouped") << "1.234,56" << SqlKind::Decimal << "1234.56"
                                     << "";
    QTest::newRow("decimal whole") << "5" << SqlKind::Decimal << "5"
                                   << "";
    QTest::newRow("decimal empty") << "" << SqlKind::Decimal << "NULL"
                                   << "";
    QTest::newRow("decimal point") << "1.5" << SqlKind::Decimal << ""
                                   << "Valor inválido";
    QTest::newRow("decimal letters") << "abc" << SqlKind::Decimal << ""
                                     << "Valor inválido";
    QTest::newRow("date") << "31/12/2005" << SqlKind::Date << "'12/31/2005'"
                          << "";
    QTest::newRow("date leap day") << "29/02/2008" << SqlKind::Date << "'02/29/2008'"
                                   << "";
    QTest::newRow("date impossible") << "29/02/2007" << SqlKind::Date << ""
                                     << "Data inválida";
    QTest::newRow("date empty") << "" << SqlKind::Date << ""
                                << "Data inválida";
    QTest::newRow("date injection") << "x'); delete from CONTROLE; --" << SqlKind::Date << ""
                                    << "Data inválida";
    QTest::newRow("time") << "9:05" << SqlKind::Time << "'09:05:00'"
                          << "";
    QTest::newRow("time seconds") << "23:59:58" << SqlKind::Time << "'23:59:58'"
                                  << "";
    QTest::newRow("time impossible") << "24:00" << SqlKind::Time << ""
                                     << "Hora inválida";
    QTest::newRow("time empty") << "" << SqlKind::Time << ""
                                << "Hora inválida";
    QTest::newRow("other kind") << "whatever'" << SqlKind::Other << "0"
                                << "";
    QTest::newRow("other kind empty") << "" << SqlKind::Other << "0"
                                      << "";
}

void TstZelDataSet::formatValueSql()
{
    QFETCH(QString, value);
    QFETCH(SqlKind, kind);
    QFETCH(QString, message);
    if (message.isEmpty()) {
        QTEST(FormatValueSql(value, kind), "expected");
        QVERIFY(m_messages.isEmpty());
    } else {
        QVERIFY_THROWS_EXCEPTION(db::SilentAbort, FormatValueSql(value, kind));
        QCOMPARE(m_messages, QStringList{message});
    }
}

void TstZelDataSet::fieldValueSql_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("message");
    QTest::newRow("smallint") << "S"
                              << "12"
                              << "12"
                              << "";
    QTest::newRow("integer own value") << "I"
                                       << "@"
                                       << "42"
                                       << "";
    QTest::newRow("bigint own value") << "B"
                                      << "@"
                                      << "9000000000"
                                      << "";
    QTest::newRow("double") << "F"
                            << "3,25"
                            << "3.25"
                            << "";
    QTest::newRow("double own value") << "F"
                                      << "@"
                                      << "1234.5"
                                      << "";
    QTest::newRow("numeric own value") << "N"
                                       << "@"
                                       << "10.25"
                                       << "";
    QTest::newRow("varchar own value") << "V"
                                       << "@"
                                       << "'O''Brien'"
                                       << "";
    QTest::newRow("char") << "C"
                          << "x'y"
                          << "'x''y'"
                          << "";
    QTest::newRow("memo") << "M"
                          << "@"
                          << "'memo'"
                          << "";
    QTest::newRow("date own value") << "D"
                                    << "@"
                                    << "'12/31/2005'"
                                    << "";
    QTest::newRow("time own value") << "T"
                                    << "@"
                                    << "'09:05:03'"
                                    << "";
    QTest::newRow("timestamp own value") << "TS"
                                         << "@"
                                         << "'02/29/2008 23:59:58'"
                                         << "";
    QTest::newRow("timestamp typed") << "TS"
                                     << "01/02/2008 7:08"
                                     << "'02/01/2008 07:08:00'"
                                     << "";
    QTest::newRow("timestamp date only") << "TS"
                                         << "01/02/2008"
                                         << "'02/01/2008 00:00:00'"
                                         << "";
    QTest::newRow("timestamp wrong") << "TS"
                                     << "ontem"
                                     << ""
                                     << "Data e hora inválida";
    QTest::newRow("integer wrong") << "I"
                                   << "doze"
                                   << ""
                                   << "Valor inválido";
    QTest::newRow("date wrong") << "D"
                                << "32/01/2005"
                                << ""
                                << "Data inválida";
    QTest::newRow("time wrong") << "T"
                                << "12:61"
                                << ""
                                << "Hora inválida";
    QTest::newRow("boolean") << "FLAG"
                             << "@"
                             << "0"
                             << "";
    QTest::newRow("binary blob") << "BIN"
                                 << "x"
                                 << "0"
                                 << "";
}

void TstZelDataSet::fieldValueSql()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    auto ds = makeDataSet(QStringLiteral("select * from TIPOS"));
    ds->open();
    const db::Field &f = ds->fieldByName(field);
    if (message.isEmpty()) {
        QTEST(FieldValueSql(f, value), "expected");
        QVERIFY(m_messages.isEmpty());
    } else {
        QVERIFY_THROWS_EXCEPTION(db::SilentAbort, FieldValueSql(f, value));
        QCOMPARE(m_messages, QStringList{message});
    }
    ds->close();
}

void TstZelDataSet::timestampTypedInClockChangeGap_data()
{
    // In Brazil summer time began at midnight: those first hours of the day do not exist as local time,
    // yet a value typed for them is a real moment to filter by.
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("midnight, date only") << "04/11/2018"
                                         << "'11/04/2018 00:00:00'";
    QTest::newRow("inside the lost hour") << "04/11/2018 00:30"
                                          << "'11/04/2018 00:30:00'";
    QTest::newRow("last second of the lost hour") << "15/10/2017 0:59:59"
                                                  << "'10/15/2017 00:59:59'";
    QTest::newRow("after the lost hour") << "04/11/2018 01:00"
                                         << "'11/04/2018 01:00:00'";
    QTest::newRow("an ordinary day") << "05/11/2018"
                                     << "'11/05/2018 00:00:00'";
}

void TstZelDataSet::timestampTypedInClockChangeGap()
{
    QFETCH(QString, value);
    const TimeZoneGuard zone("America/Sao_Paulo");
    // Without the zone's data the clock would never skip an hour and the case would prove nothing.
    QVERIFY2(TimeZoneGuard::brazilSkipsSummerTimeHour(), "time zone America/Sao_Paulo is missing");
    auto ds = makeDataSet(QStringLiteral("select * from TIPOS"));
    ds->open();
    QTEST(FieldValueSql(ds->fieldByName(QStringLiteral("TS")), value), "expected");
    QVERIFY(m_messages.isEmpty());
    ds->close();
}

void TstZelDataSet::hostileTextStaysInsideItsLiteral_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("apostrophe") << "O'Brien";
    QTest::newRow("statement break") << "x'); delete from CONTROLE; --";
    QTest::newRow("always true") << "' or '1'='1";
    QTest::newRow("lone quote") << "'";
    QTest::newRow("doubled quotes") << "a''b";
}

void TstZelDataSet::hostileTextStaysInsideItsLiteral()
{
    QFETCH(QString, value);
    static int id = 500;
    ++id;
    const qint64 before = count(QStringLiteral("select count(*) from CONTROLE"));
    exec(QStringLiteral("insert into CONTROLE (ID, CLI_NOME) values (%1, %2)")
             .arg(id)
             .arg(FormatValueSql(value, SqlKind::Text)));
    QCOMPARE(count(QStringLiteral("select count(*) from CONTROLE")), before + 1);

    auto ds = makeDataSet(QStringLiteral("select * from CONTROLE where ID = %1").arg(id));
    ds->open();
    const db::Field &nome = ds->fieldByName(QStringLiteral("CLI_NOME"));
    QCOMPARE(nome.asString(), value);
    QCOMPARE(
        count(QStringLiteral("select count(*) from CONTROLE where CLI_NOME = ") + FieldValueSql(nome, value)),
        1);
    QCOMPARE(
        count(QStringLiteral("select count(*) from CONTROLE where CLI_NOME = ") + FieldValueSql(nome, "@")),
        1);
    ds->close();
    exec(QStringLiteral("delete from CONTROLE where ID = %1").arg(id));
    QCOMPARE(count(QStringLiteral("select count(*) from CONTROLE")), before);
}

// ------------------------------------------------------------------------------------- existence checks

void TstZelDataSet::recordExists_data()
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QVariant>("values");
    QTest::addColumn<bool>("expected");
    QTest::newRow("one field") << "NUM_CONTA" << QVariant("777") << true;
    QTest::newRow("one field missing") << "NUM_CONTA" << QVariant("778") << false;
    QTest::newRow("one field as a list") << "NUM_CONTA" << QVariant(QVariantList{"123"}) << true;
    QTest::newRow("one field null") << "CODIGO_CEDENTE" << QVariant() << false;
    QTest::newRow("two fields") << "BANCO;NUM_AGENCIA" << QVariant(QVariantList{1, "0002"}) << true;
    QTest::newRow("two fields other bank")
        << "BANCO;NUM_AGENCIA" << QVariant(QVariantList{2, "0002"}) << false;
    QTest::newRow("null matches null")
        << "BANCO;NUM_AGENCIA" << QVariant(QVariantList{2, QVariant()}) << true;
    QTest::newRow("null does not match a value")
        << "BANCO;NUM_AGENCIA" << QVariant(QVariantList{QVariant(), "0001"}) << false;
    QTest::newRow("hostile value") << "NUM_CONTA" << QVariant("1' or '1'='1") << false;
}

void TstZelDataSet::recordExists()
{
    QFETCH(QString, fields);
    QFETCH(QVariant, values);
    QTEST(RecordExists(m_db->transaction(), QStringLiteral("CONTA_CORRENTE"), fields, values), "expected");
}

void TstZelDataSet::recordExistsRefusesWrongValueCount_data()
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QVariant>("values");
    QTest::newRow("two fields, one value") << "BANCO;NUM_AGENCIA" << QVariant(1);
    QTest::newRow("two fields, three values") << "BANCO;NUM_AGENCIA" << QVariant(QVariantList{1, "1", "2"});
    QTest::newRow("one field, two values") << "BANCO" << QVariant(QVariantList{1, 2});
}

void TstZelDataSet::recordExistsRefusesWrongValueCount()
{
    QFETCH(QString, fields);
    QFETCH(QVariant, values);
    // A missing table shows that the refusal comes before any statement reaches the database.
    try {
        RecordExists(m_db->transaction(), QStringLiteral("NO_SUCH_TABLE"), fields, values);
        QFAIL("no exception");
    } catch (const db::ProgrammingError &e) {
        QCOMPARE(e.message(), QStringLiteral("Number of fields not equal to the number of values."));
    }
}

void TstZelDataSet::existsInTable()
{
    auto ds = makeDataSet(QStringLiteral("select * from CONTA_CORRENTE order by ID"));
    ds->open();
    ds->last(); // bank 2, no agency, account 777
    QVERIFY(ExistsInTable(*ds, QStringLiteral("NUM_CONTA"), QStringLiteral("CONTA_CORRENTE"),
                          QStringLiteral("NUM_CONTA")));
    QVERIFY(ExistsInTable(*ds, QStringLiteral("BANCO;NUM_AGENCIA"), QStringLiteral("CONTA_CORRENTE"),
                          QStringLiteral("BANCO;NUM_AGENCIA")));
    QVERIFY(!ExistsInTable(*ds, QStringLiteral("NUM_CONTA"), QStringLiteral("CONTROLE"),
                           QStringLiteral("CLI_NOME")));
    QVERIFY(ExistsInTable(*ds, QStringLiteral("BANCO"), QStringLiteral("CONTROLE"), QStringLiteral("ID")) ==
            false);
    QVERIFY_THROWS_EXCEPTION(db::ProgrammingError,
                             ExistsInTable(*ds, QStringLiteral("NADA"), QStringLiteral("CONTA_CORRENTE"),
                                           QStringLiteral("NUM_CONTA")));
    ds->close();
}

void TstZelDataSet::duplicateSqlOfTheExample()
{
    auto ds = makeDataSet(QStringLiteral("select * from CONTA_CORRENTE"));
    ds->setTableName(QStringLiteral("CONTA_CORRENTE"));
    ds->setUniqueKeys({QStringLiteral("BANCO;NUM_AGENCIA;NUM_CONTA")});
    ds->setInsertSql(QStringLiteral("insert into CONTA_CORRENTE (ID) values (:ID)"));
    ds->open();
    ds->append();
    ds->fieldByName(QStringLiteral("BANCO")).setAsInteger(1);
    ds->fieldByName(QStringLiteral("NUM_AGENCIA")).setAsString(QStringLiteral("0001"));
    ds->fieldByName(QStringLiteral("NUM_CONTA")).setAsString(QStringLiteral("123"));
    QCOMPARE(DuplicateSql(*ds), QStringLiteral("SELECT COUNT(*) FROM CONTA_CORRENTE WHERE ( BANCO = 1 AND "
                                               "NUM_AGENCIA = '0001' AND NUM_CONTA = '123' ) "));
    ds->cancel();
    ds->close();
}

void TstZelDataSet::isDuplicate_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QVariant>("banco");
    QTest::addColumn<QString>("agencia");
    QTest::addColumn<QString>("conta");
    QTest::addColumn<QString>("cedente");
    QTest::addColumn<bool>("expected");
    const QStringList one{"BANCO;NUM_AGENCIA;NUM_CONTA"};
    const QStringList two{"BANCO;NUM_AGENCIA;NUM_CONTA", "CODIGO_CEDENTE"};
    QTest::newRow("same key") << one << QVariant(1) << "0001"
                              << "123"
                              << "Z" << true;
    QTest::newRow("other account") << one << QVariant(1) << "0001"
                                   << "124"
                                   << "Z" << false;
    QTest::newRow("blank agency is null") << one << QVariant(2) << "   "
                                          << "777"
                                          << "Z" << true;
    QTest::newRow("empty agency is null") << one << QVariant(2) << ""
                                          << "777"
                                          << "Z" << true;
    QTest::newRow("blank is not an empty text") << one << QVariant(1) << "  "
                                                << "123"
                                                << "Z" << false;
    QTest::newRow("trimmed value") << one << QVariant(1) << " 0001 "
                                   << "123"
                                   << "Z" << true;
    QTest::newRow("second key only") << two << QVariant(9) << "9"
                                     << "9"
                                     << "A2" << true;
    QTest::newRow("first key only") << two << QVariant(1) << "0002"
                                    << "123"
                                    << "Z" << true;
    QTest::newRow("neither key") << two << QVariant(9) << "9"
                                 << "9"
                                 << "Z" << false;
    QTest::newRow("hostile value") << one << QVariant(1) << "0001"
                                   << "1' or '1'='1"
                                   << "Z" << false;
}

void TstZelDataSet::isDuplicate()
{
    QFETCH(QStringList, keys);
    QFETCH(QVariant, banco);
    QFETCH(QString, agencia);
    QFETCH(QString, conta);
    QFETCH(QString, cedente);
    auto ds = makeDataSet(QStringLiteral("select * from CONTA_CORRENTE"));
    ds->setTableName(QStringLiteral("CONTA_CORRENTE"));
    ds->setUniqueKeys(keys);
    ds->setInsertSql(QStringLiteral("insert into CONTA_CORRENTE (ID) values (:ID)"));
    ds->open();
    ds->append();
    ds->fieldByName(QStringLiteral("BANCO")).setValue(banco);
    ds->fieldByName(QStringLiteral("NUM_AGENCIA")).setAsString(agencia);
    ds->fieldByName(QStringLiteral("NUM_CONTA")).setAsString(conta);
    ds->fieldByName(QStringLiteral("CODIGO_CEDENTE")).setAsString(cedente);
    QTEST(IsDuplicate(*ds), "expected");
    ds->cancel();
    ds->close();
    QCOMPARE(count(QStringLiteral("select count(*) from CONTA_CORRENTE")), 3);
}

void TstZelDataSet::isDuplicateWithoutKeys()
{
    auto ds = makeDataSet(QStringLiteral("select * from CONTA_CORRENTE"));
    ds->setTableName(QStringLiteral("CONTA_CORRENTE"));
    ds->open();
    try {
        IsDuplicate(*ds);
        QFAIL("no exception");
    } catch (const db::ProgrammingError &e) {
        QCOMPARE(e.message(), QStringLiteral("UniqueKeys not assigned (ChavesÚnicas não atribuidas)"));
    }
    ds->close();
}

void TstZelDataSet::readUniqueKeys()
{
    // The catalogue is read in a transaction of its own, which ends again.
    db::Transaction tr;
    tr.setDefaultDatabase(&m_db->database());
    tr.setParams(TestDatabase::transactionParams());
    TZelDataSet ds;
    ds.setDatabase(&m_db->database());
    ds.setTransaction(&tr);
    ds.setTableName(QStringLiteral("conta_corrente"));
    ds.setUniqueKeys({QStringLiteral("OLD")});
    ds.ReadUniqueKeys();
    QCOMPARE(ds.UniqueKeys(), (QStringList{"BANCO;NUM_AGENCIA;NUM_CONTA", "CODIGO_CEDENTE"}));
    QVERIFY(!tr.isActive());

    ds.setTableName(QStringLiteral("CONTROLE"));
    ds.ReadUniqueKeys();
    QCOMPARE(ds.UniqueKeys(), QStringList());
    ds.setTableName(QStringLiteral("SEM_ID"));
    ds.ReadUniqueKeys();
    QCOMPARE(ds.UniqueKeys(), QStringList());
}

// ------------------------------------------------------------------------------------------ lifecycle

void TstZelDataSet::openSharedCountsUsers()
{
    auto ds = makeDataSet(QStringLiteral("select * from CONTROLE"));
    ds->OpenShared();
    ds->OpenShared();
    QCOMPARE(ds->OpenCount(), 2);
    ds->CloseShared();
    QVERIFY(ds->isActive());
    QVERIFY(ds->selectStatement().isPrepared());
    QCOMPARE(ds->OpenCount(), 1);
    ds->CloseShared();
    QVERIFY(!ds->isActive());
    QVERIFY(!ds->selectStatement().isPrepared());
    QCOMPARE(ds->OpenCount(), 0);
    // Opened again after the release, it reads the rows as before.
    ds->OpenShared();
    QCOMPARE(ds->recordCount(), 3);
    ds->CloseShared();
}

void TstZelDataSet::closeSharedNeverCountsBelowZero()
{
    auto ds = makeDataSet(QStringLiteral("select * from CONTROLE"));
    ds->open(); // opened directly, then released by a shared close
    ds->CloseShared();
    QVERIFY(!ds->isActive());
    QCOMPARE(ds->OpenCount(), 0);
    ds->OpenShared();
    ds->OpenShared();
    ds->CloseShared();
    QVERIFY2(ds->isActive(), "the second user still needs the data set");
    ds->CloseShared();
    QVERIFY(!ds->isActive());
}

void TstZelDataSet::recordIdAndLocate()
{
    auto ds = makeDataSet(QStringLiteral("select * from CONTROLE order by ID"));
    QCOMPARE(ds->LastID(), -1);
    QCOMPARE(GetRecordID(ds.get()), -1);
    ds->open();
    QCOMPARE(GetRecordID(ds.get()), 41);
    QVERIFY(ds->LocateID(42));
    QCOMPARE(ds->LastID(), 42);
    QVERIFY(!ds->LocateID(99));
    QCOMPARE(ds->LastID(), 42);
    QCOMPARE(GetRecordID(ds.get()), 42);
    ds->next();
    QCOMPARE(GetRecordID(ds.get()), 43);
    ds->prior();
    ds->close();
    QCOMPARE(ds->LastID(), 42);
    QCOMPARE(GetRecordID(ds.get()), 42);
    QVERIFY(!ds->LocateID(41)); // closed: nothing to move

    auto noId = makeDataSet(QStringLiteral("select * from SEM_ID"));
    noId->open();
    QCOMPARE(GetRecordID(noId.get()), -1);
    QVERIFY(!noId->LocateID(1));
    noId->close();
    QCOMPARE(noId->LastID(), -1);
    QCOMPARE(GetRecordID(nullptr), -1);

    auto empty = makeDataSet(QStringLiteral("select * from CONTROLE where ID < 0"));
    empty->open();
    QCOMPARE(GetRecordID(empty.get()), -1);
    empty->close();
    QCOMPARE(empty->LastID(), -1);
}

void TstZelDataSet::hasParam()
{
    auto ds = makeDataSet(
        QStringLiteral("select * from CONTROLE where LEILAO_DATA >= :DATA_INI and LEILAO_DATA <= :data_fim"));
    QVERIFY(ds->HasParam(QStringLiteral("DATA_INI")));
    QVERIFY(ds->HasParam(QStringLiteral("data_ini")));
    QVERIFY(ds->HasParam(QStringLiteral("Data_Fim")));
    QVERIFY(!ds->HasParam(QStringLiteral("DATA")));
    QVERIFY(!ds->HasParam(QStringLiteral("LEILAO_DATA")));
}

void TstZelDataSet::cancelFirstInsertIntoEmpty()
{
    auto ds = makeDataSet(QStringLiteral("select * from CONTROLE where ID < 0"));
    ds->setInsertSql(QStringLiteral("insert into CONTROLE (ID) values (:ID)"));
    ds->open();
    ds->append();
    QVERIFY(ds->InsertingIntoEmpty());
    ds->fieldByName(QStringLiteral("CLI_NOME")).setAsString(QStringLiteral("NOVO"));
    ds->cancel();
    QVERIFY(!ds->InsertingIntoEmpty());
    QVERIFY(ds->isEmpty());
    QCOMPARE(ds->recordCount(), 0);
    QVERIFY(ds->bof() && ds->eof());
    QCOMPARE(ds->recNo(), -1);
    QCOMPARE(ds->fieldByName(QStringLiteral("CLI_NOME")).asString(), QString());
    ds->close();
}

void TstZelDataSet::cancelInsertKeepsExistingRows()
{
    auto ds = makeDataSet(QStringLiteral("select * from CONTROLE order by ID"));
    ds->setInsertSql(QStringLiteral("insert into CONTROLE (ID) values (:ID)"));
    ds->open();
    ds->next();
    ds->insert();
    QVERIFY(!ds->InsertingIntoEmpty());
    ds->cancel();
    QCOMPARE(ds->recordCount(), 3);
    QList<int> ids;
    for (ds->first(); !ds->eof(); ds->next())
        ids << ds->fieldByName(QStringLiteral("ID")).asInteger();
    QCOMPARE(ids, (QList<int>{41, 42, 43}));
    ds->close();
}

void TstZelDataSet::tableNameFollowsRename()
{
    TZelDataSet ds;
    QCOMPARE(ds.TableName(), QString());
    ds.setObjectName(QStringLiteral("CLIENTE"));
    QCOMPARE(ds.TableName(), QStringLiteral("CLIENTE"));
    ds.setObjectName(QStringLiteral("CLIENTE_LKP"));
    QCOMPARE(ds.TableName(), QStringLiteral("CLIENTE"));
    ds.setTableName(QString());
    ds.setObjectName(QStringLiteral("BANCO"));
    QCOMPARE(ds.TableName(), QStringLiteral("BANCO"));
}

void TstZelDataSet::registryFollowsSqlGlobals()
{
    TZelSQLGlobals first;
    TZelSQLGlobals second;
    auto a = std::make_unique<TZelDataSet>();
    auto b = std::make_unique<TZelDataSet>();
    a->setSQLGlobals(&first);
    b->setSQLGlobals(&first);
    QCOMPARE(first.DataSetCount(), 2);
    QCOMPARE(first.DataSet(0), a.get());
    QCOMPARE(first.DataSet(1), b.get());

    a->setSQLGlobals(&second);
    QCOMPARE(first.DataSetCount(), 1);
    QCOMPARE(first.DataSet(0), b.get());
    QCOMPARE(second.DataSetCount(), 1);
    QCOMPARE(a->SQLGlobals(), &second);

    // Registered twice by hand, listed twice; one unregistration removes one entry.
    second.RegisterDataSet(a.get());
    QCOMPARE(second.DataSetCount(), 2);
    second.UnregisterDataSet(a.get());
    QCOMPARE(second.DataSetCount(), 1);

    b.reset();
    QCOMPARE(first.DataSetCount(), 0);
    a->setSQLGlobals(nullptr);
    QCOMPARE(second.DataSetCount(), 0);
    QCOMPARE(a->SQLGlobals(), nullptr);

    // Globals that go first leave no dangling reference behind.
    auto third = std::make_unique<TZelSQLGlobals>();
    a->setSQLGlobals(third.get());
    third.reset();
    QCOMPARE(a->SQLGlobals(), nullptr);
    a.reset();
}

QTEST_GUILESS_MAIN(TstZelDataSet)
#include "tst_zeldataset.moc"
