#include "testdatabase.h"

#include "platform/db/dataset.h"
#include "platform/db/datasource.h"
#include "platform/db/dberror.h"
#include "platform/db/statement.h"

#include <QtTest>

using namespace db;

namespace {

/// Records what a data source tells its controls.
class RecordingLink : public DataLink
{
public:
    QStringList events;
    int updates = 0;
    std::function<void()> onUpdate;

protected:
    void activeChanged() override
    {
        events << (isActive() ? QStringLiteral("active") : QStringLiteral("inactive"));
    }
    void dataSetChanged() override { events << QStringLiteral("dataset"); }
    void recordChanged(Field *f) override
    {
        events << (f ? QStringLiteral("field:") + f->fieldName() : QStringLiteral("record"));
    }
    void editingChanged() override
    {
        events << (isEditing() ? QStringLiteral("editing") : QStringLiteral("browsing"));
    }
    void updateData() override
    {
        ++updates;
        if (onUpdate)
            onUpdate();
    }
    void dataSetScrolled(int distance) override { events << QStringLiteral("scroll:%1").arg(distance); }
    void focusControl(Field *f) override { events << QStringLiteral("focus:") + f->fieldName(); }
};

const char *const kNotas =
    "create table NOTA (ID integer not null primary key, DATA date, NUMERO varchar(8), "
    "NOME varchar(50), VALOR double precision, OBS blob sub_type 1, USUARIOID integer)";

} // namespace

class TstDataSet : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void statesThroughInsertEditDelete();
    void oldValuesReachTheWhereClause();
    void cancelInsertIntoEmptyLeavesNoRow();
    void cancelEditRestoresValues();
    void navigationFlags();
    void lazyFetchAndRecordCount();
    void bookmarks();
    void locate_data();
    void locate();
    void generatorOnNewRecordAndOnPost();
    void beforePostCanRefuse();
    void requiredFieldIsRefused();
    void refreshRereadsTheRow();
    void refreshWithoutStatementReopens();
    void calculatedFields();
    void textHooksAndFormats();
    void blobFieldRoundTrip();
    void persistentFieldsAndMissingColumn();
    void disabledControlsHearOnceAtTheEnd();
    void linkSeesStateAndFieldChanges();
    void autoEditThroughDataSource();
    void masterDetail();
    void hardCommitClosesDataSet();
    void nowaitCollisionLosesNothing();
    void readOnlyDataSetRefusesEdits();
    void rowsSpanningManyBlocksSurviveReopen();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataSet> m_ds;
    void makeNotas(int rows);
    DataSet &notas();
    int countRows(const QString &where);
};

void TstDataSet::init()
{
    m_db = std::make_unique<TestDatabase>();
    m_db->exec({QString::fromLatin1(kNotas), QStringLiteral("create generator GEN_NOTA_ID")});
}

void TstDataSet::cleanup()
{
    m_ds.reset();
    m_db.reset();
}

void TstDataSet::makeNotas(int rows)
{
    QStringList sql;
    for (int i = 1; i <= rows; ++i)
        sql << QStringLiteral(
                   "insert into NOTA (ID, DATA, NUMERO, NOME, VALOR) values (%1, '2008-02-%2', '%3', "
                   "'Cliente %4', %5)")
                   .arg(i)
                   .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                   .arg(1000 + i)
                   .arg(QChar(u'A' + (i - 1) % 26))
                   .arg(i * 10.5);
    if (!sql.isEmpty())
        m_db->exec(sql);
}

DataSet &TstDataSet::notas()
{
    m_ds = std::make_unique<DataSet>();
    m_ds->setObjectName(QStringLiteral("NOTA"));
    m_ds->setDatabase(&m_db->database());
    m_ds->setTransaction(&m_db->transaction());
    m_ds->setSelectSql(QStringLiteral("select * from NOTA order by ID"));
    m_ds->setInsertSql(
        QStringLiteral("insert into NOTA (ID, DATA, NUMERO, NOME, VALOR, OBS, USUARIOID) values "
                       "(:ID, :DATA, :NUMERO, :NOME, :VALOR, :OBS, :USUARIOID)"));
    m_ds->setModifySql(
        QStringLiteral("update NOTA set ID = :ID, DATA = :DATA, NUMERO = :NUMERO, NOME = :NOME, "
                       "VALOR = :VALOR, OBS = :OBS, USUARIOID = :USUARIOID where ID = :OLD_ID"));
    m_ds->setDeleteSql(QStringLiteral("delete from NOTA where ID = :OLD_ID"));
    m_ds->setRefreshSql(
        QStringLiteral("select ID, DATA, NUMERO, NOME, VALOR, OBS, USUARIOID from NOTA where ID = :ID"));
    return *m_ds;
}

int TstDataSet::countRows(const QString &where)
{
    Statement st(&m_db->database(), &m_db->transaction());
    st.setSql(QStringLiteral("select count(*) from NOTA where ") + where);
    st.execute();
    st.next();
    return st.field(0).asInteger();
}

void TstDataSet::statesThroughInsertEditDelete()
{
    makeNotas(3);
    DataSet &ds = notas();
    QCOMPARE(ds.state(), DataSetState::Inactive);
    ds.open();
    QCOMPARE(ds.state(), DataSetState::Browse);
    QCOMPARE(ds.recordCount(), 3);

    ds.append();
    QCOMPARE(ds.state(), DataSetState::Insert);
    ds.fieldByName(QStringLiteral("ID")).setAsInteger(10);
    ds.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("João D'Ávila"));
    ds.fieldByName(QStringLiteral("DATA")).setAsString(QStringLiteral("15/02/2008"));
    ds.fieldByName(QStringLiteral("VALOR")).setAsString(QStringLiteral("1.234,56"));
    ds.post();
    QCOMPARE(ds.state(), DataSetState::Browse);
    QCOMPARE(ds.recordCount(), 4);
    QCOMPARE(ds.recNo(), 3);
    QCOMPARE(countRows(QStringLiteral(
                 "ID = 10 and NOME = 'João D''Ávila' and DATA = '2008-02-15' and VALOR = 1234.56")),
             1);

    ds.edit();
    QCOMPARE(ds.state(), DataSetState::Edit);
    ds.fieldByName(QStringLiteral("NUMERO")).setAsString(QStringLiteral("77"));
    ds.post();
    QCOMPARE(countRows(QStringLiteral("ID = 10 and NUMERO = '77'")), 1);

    ds.remove();
    QCOMPARE(ds.recordCount(), 3);
    QCOMPARE(countRows(QStringLiteral("ID = 10")), 0);
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), 3); // moved to the last remaining row

    ds.close();
    QCOMPARE(ds.state(), DataSetState::Inactive);
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, ds.append());
}

void TstDataSet::oldValuesReachTheWhereClause()
{
    makeNotas(2);
    DataSet &ds = notas();
    ds.open();
    ds.edit();
    ds.fieldByName(QStringLiteral("ID")).setAsInteger(20); // the key itself changes
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).oldValue(), QVariant(1));
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).newValue(), QVariant(20));
    ds.post();
    QCOMPARE(countRows(QStringLiteral("ID = 1")), 0);
    QCOMPARE(countRows(QStringLiteral("ID = 20")), 1);
    QCOMPARE(countRows(QStringLiteral("ID = 2")), 1);
}

void TstDataSet::cancelInsertIntoEmptyLeavesNoRow()
{
    DataSet &ds = notas();
    ds.open();
    QVERIFY(ds.isEmpty());
    ds.append();
    ds.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("x"));
    ds.cancel();
    QVERIFY(ds.isEmpty());
    QVERIFY(ds.eof());
    QVERIFY(ds.fieldByName(QStringLiteral("NOME")).isNull());
    QCOMPARE(ds.recNo(), -1);

    makeNotas(2);
    ds.close();
    ds.open();
    ds.next();
    ds.insert();
    QCOMPARE(ds.recordCount(), 3);
    ds.cancel();
    QCOMPARE(ds.recordCount(), 2);
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), 2);
}

void TstDataSet::cancelEditRestoresValues()
{
    makeNotas(1);
    DataSet &ds = notas();
    ds.open();
    ds.edit();
    ds.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("mudado"));
    ds.cancel();
    QCOMPARE(ds.fieldByName(QStringLiteral("NOME")).asString(), QStringLiteral("Cliente A"));
    QCOMPARE(countRows(QStringLiteral("NOME = 'mudado'")), 0);
}

void TstDataSet::navigationFlags()
{
    makeNotas(3);
    DataSet &ds = notas();
    ds.open();
    QVERIFY(ds.bof());
    QVERIFY(!ds.eof());
    QList<int> seen;
    while (!ds.eof()) {
        seen << ds.fieldByName(QStringLiteral("ID")).asInteger();
        ds.next();
    }
    QCOMPARE(seen, (QList<int>{1, 2, 3}));
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), 3); // stays on the last row
    ds.prior();
    QVERIFY(!ds.eof());
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), 2);
    ds.first();
    QVERIFY(ds.bof());
    ds.prior();
    QVERIFY(ds.bof());
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), 1);
    ds.last();
    QVERIFY(ds.eof());
    QCOMPARE(ds.moveBy(-5), -2);
    QVERIFY(ds.bof());

    DataSet &empty = *new DataSet(this);
    empty.setDatabase(&m_db->database());
    empty.setTransaction(&m_db->transaction());
    empty.setSelectSql(QStringLiteral("select * from NOTA where ID < 0"));
    empty.open();
    QVERIFY(empty.bof() && empty.eof());
    QVERIFY(empty.fieldByName(QStringLiteral("ID")).isNull());
    QCOMPARE(empty.fieldByName(QStringLiteral("NOME")).asString(), QString());
}

void TstDataSet::lazyFetchAndRecordCount()
{
    makeNotas(120);
    DataSet &ds = notas();
    ds.open();
    QCOMPARE(ds.fetchedCount(), 1);
    ds.moveBy(9);
    QCOMPARE(ds.fetchedCount(), 10);
    QCOMPARE(ds.recordCount(), 120);
    QCOMPARE(ds.recNo(), 9);
    ds.setRecNo(119);
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), 120);
}

void TstDataSet::bookmarks()
{
    makeNotas(5);
    DataSet &ds = notas();
    ds.open();
    ds.moveBy(2);
    const Bookmark third = ds.bookmark();
    ds.last();
    ds.gotoBookmark(third);
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), 3);
    ds.first();
    ds.remove();
    QVERIFY(ds.bookmarkValid(third)); // other rows keep their bookmarks
    ds.gotoBookmark(third);
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), 3);
    ds.remove();
    QVERIFY(!ds.bookmarkValid(third));
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, ds.gotoBookmark(third));
}

void TstDataSet::locate_data()
{
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QVariant>("values");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("expectedId"); // 0: not found
    QTest::newRow("integer") << "ID" << QVariant(7) << 0 << 7;
    QTest::newRow("text exact") << "NOME" << QVariant("Cliente C") << 0 << 3;
    QTest::newRow("case differs") << "NOME" << QVariant("cliente c") << 0 << 0;
    QTest::newRow("case-insensitive")
        << "NOME" << QVariant("cliente c") << int(LocateOption::CaseInsensitive) << 3;
    QTest::newRow("partial") << "NOME" << QVariant("Clien") << int(LocateOption::PartialKey) << 1;
    QTest::newRow("partial number") << "NUMERO" << QVariant("101") << int(LocateOption::PartialKey) << 10;
    QTest::newRow("two fields") << "NOME;NUMERO" << QVariant(QVariantList{"Cliente B", "1002"}) << 0 << 2;
    QTest::newRow("two fields mismatch")
        << "NOME;NUMERO" << QVariant(QVariantList{"Cliente B", "1003"}) << 0 << 0;
    QTest::newRow("double") << "VALOR" << QVariant(73.5) << 0 << 7;
    QTest::newRow("date") << "DATA" << QVariant(QDate(2008, 2, 6)) << 0 << 5;
    QTest::newRow("null") << "OBS" << QVariant() << 0 << 1;
}

void TstDataSet::locate()
{
    QFETCH(QString, fields);
    QFETCH(QVariant, values);
    QFETCH(int, options);
    QFETCH(int, expectedId);
    makeNotas(30);
    DataSet &ds = notas();
    ds.open();
    ds.moveBy(12);
    int scrolls = 0;
    ds.afterScroll = [&](DataSet &) { ++scrolls; };
    const bool found = ds.locate(fields, values, LocateOptions(options));
    QCOMPARE(found, expectedId != 0);
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), expectedId ? expectedId : 13);
    QCOMPARE(scrolls, expectedId && expectedId != 13 ? 1 : 0);
}

void TstDataSet::generatorOnNewRecordAndOnPost()
{
    m_db->exec(QStringLiteral("set generator GEN_NOTA_ID to 41"));
    DataSet &ds = notas();
    ds.setGeneratorField(
        {QStringLiteral("ID"), QStringLiteral("GEN_NOTA_ID"), 1, GeneratorField::ApplyOn::NewRecord});
    ds.open();
    ds.append();
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), 42);
    ds.post();
    ds.setGeneratorField(
        {QStringLiteral("ID"), QStringLiteral("GEN_NOTA_ID"), 1, GeneratorField::ApplyOn::Post});
    ds.append();
    QVERIFY(ds.fieldByName(QStringLiteral("ID")).isNull());
    ds.post();
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), 43);
    QCOMPARE(countRows(QStringLiteral("ID in (42, 43)")), 2);
}

void TstDataSet::beforePostCanRefuse()
{
    makeNotas(1);
    DataSet &ds = notas();
    bool refuse = true;
    int afterPosts = 0;
    ds.beforePost = [&](DataSet &d) {
        d.fieldByName(QStringLiteral("USUARIOID")).setAsInteger(5); // stamped by the module before the check
        if (refuse)
            throw SilentAbort();
    };
    ds.afterPost = [&](DataSet &) { ++afterPosts; };
    ds.open();
    ds.edit();
    ds.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("novo"));
    QVERIFY_THROWS_EXCEPTION(SilentAbort, ds.post());
    QCOMPARE(ds.state(), DataSetState::Edit); // the edit survives the refusal
    QCOMPARE(ds.fieldByName(QStringLiteral("NOME")).asString(), QStringLiteral("novo"));
    QCOMPARE(afterPosts, 0);
    QCOMPARE(countRows(QStringLiteral("NOME = 'novo'")), 0);
    refuse = false;
    ds.post();
    QCOMPARE(afterPosts, 1);
    QCOMPARE(countRows(QStringLiteral("NOME = 'novo' and USUARIOID = 5")), 1);
}

void TstDataSet::requiredFieldIsRefused()
{
    DataSet &ds = notas();
    ds.addField(QStringLiteral("ID")).setRequired(true);
    ds.fieldByName(QStringLiteral("ID")).setDisplayLabel(QStringLiteral("Código"));
    ds.addField(QStringLiteral("NOME"));
    RecordingLink link;
    DataSource src;
    src.setDataSet(&ds);
    link.setDataSource(&src);
    ds.open();
    ds.append();
    try {
        ds.post();
        QFAIL("post without the required field");
    } catch (const ValueError &e) {
        QCOMPARE(e.message(), QStringLiteral("O campo \"Código\" deve ser preenchido."));
    }
    QVERIFY(link.events.contains(QStringLiteral("focus:ID")));
    QCOMPARE(ds.state(), DataSetState::Insert);
}

void TstDataSet::refreshRereadsTheRow()
{
    makeNotas(2);
    DataSet &ds = notas();
    ds.open();
    ds.next();
    m_db->exec(QStringLiteral("update NOTA set NOME = 'Por fora' where ID = 2"));
    QCOMPARE(ds.fieldByName(QStringLiteral("NOME")).asString(), QStringLiteral("Cliente B"));
    ds.refresh();
    QCOMPARE(ds.fieldByName(QStringLiteral("NOME")).asString(), QStringLiteral("Por fora"));
    QCOMPARE(ds.recNo(), 1);
    ds.first();
    QCOMPARE(ds.fieldByName(QStringLiteral("NOME")).asString(), QStringLiteral("Cliente A"));
}

void TstDataSet::refreshWithoutStatementReopens()
{
    makeNotas(3);
    DataSet &ds = notas();
    ds.setRefreshSql(QString());
    ds.open();
    ds.moveBy(2);
    m_db->exec({QStringLiteral("insert into NOTA (ID, NOME) values (0, 'Primeiro')"),
                QStringLiteral("update NOTA set NOME = 'Outro' where ID = 3")});
    ds.refresh();
    QCOMPARE(ds.recordCount(), 4);
    QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), 3); // back on the same key
    QCOMPARE(ds.fieldByName(QStringLiteral("NOME")).asString(), QStringLiteral("Outro"));
}

void TstDataSet::calculatedFields()
{
    makeNotas(3);
    DataSet &ds = notas();
    for (const char *name : {"ID", "NOME", "VALOR", "NUMERO", "DATA", "OBS", "USUARIOID"})
        ds.addField(QString::fromLatin1(name));
    ds.addCalculatedField(QStringLiteral("DOBRO"), FieldType::Float).setCurrency(true);
    ds.addCalculatedField(QStringLiteral("ROTULO"), FieldType::String, 20);
    int calls = 0;
    ds.onCalcFields = [&](DataSet &d) {
        ++calls;
        d.fieldByName(QStringLiteral("DOBRO"))
            .setAsDouble(d.fieldByName(QStringLiteral("VALOR")).asDouble() * 2);
        d.fieldByName(QStringLiteral("ROTULO"))
            .setAsString(QStringLiteral("Nº ") + d.fieldByName(QStringLiteral("ID")).asString());
    };
    ds.open();
    ds.fetchAll();
    QCOMPARE(calls, 3);
    ds.last();
    QCOMPARE(ds.fieldByName(QStringLiteral("DOBRO")).asDouble(), 63.0);
    QCOMPARE(ds.fieldByName(QStringLiteral("DOBRO")).displayText(), QStringLiteral("63,00"));
    {
        DataSet::RowScope row(ds, 0);
        QCOMPARE(ds.fieldByName(QStringLiteral("ROTULO")).asString(), QStringLiteral("Nº 1"));
    }
    ds.edit();
    ds.fieldByName(QStringLiteral("VALOR")).setAsDouble(100);
    QCOMPARE(ds.fieldByName(QStringLiteral("DOBRO")).asDouble(), 200.0); // recalculated while editing
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, ds.fieldByName(QStringLiteral("DOBRO")).setAsDouble(1));
    ds.post();
    QCOMPARE(countRows(QStringLiteral("ID = 3 and VALOR = 100")), 1);
}

void TstDataSet::textHooksAndFormats()
{
    makeNotas(1);
    DataSet &ds = notas();
    ds.open();
    Field &valor = ds.fieldByName(QStringLiteral("VALOR"));
    Field &data = ds.fieldByName(QStringLiteral("DATA"));
    Field &numero = ds.fieldByName(QStringLiteral("NUMERO"));
    QCOMPARE(valor.asString(), QStringLiteral("10,5"));
    valor.setDisplayFormat(QStringLiteral("#,##0.00"));
    ds.edit();
    valor.setAsDouble(1234567.891);
    QCOMPARE(valor.displayText(), QStringLiteral("1.234.567,89"));
    valor.setDisplayFormat(QString());
    valor.setCurrency(true);
    QCOMPARE(valor.displayText(), QStringLiteral("1.234.567,89"));
    QCOMPARE(valor.editText(), QStringLiteral("1234567,89"));
    data.setDisplayFormat(QStringLiteral("dd 'de' mmmm 'de' yyyy"));
    QCOMPARE(data.displayText(), QStringLiteral("02 de Fevereiro de 2008"));
    QCOMPARE(data.editText(), QStringLiteral("02/02/2008"));

    numero.onGetText = [](Field &f, QString &text, bool display) {
        text = display ? QStringLiteral("<%1>").arg(f.asString()) : f.asString();
    };
    numero.onSetText = [](Field &f, const QString &text) {
        f.setAsString(text.trimmed().rightJustified(4, u'0'));
    };
    QCOMPARE(numero.displayText(), QStringLiteral("<1001>"));
    numero.setEditText(QStringLiteral(" 7 "));
    QCOMPARE(numero.asString(), QStringLiteral("0007"));

    QVERIFY(valor.isValidChar(QLatin1Char(',')));
    QVERIFY(!valor.isValidChar(QLatin1Char('a')));
    QVERIFY(ds.fieldByName(QStringLiteral("ID")).isValidChar(QLatin1Char('7')));
    QVERIFY(!ds.fieldByName(QStringLiteral("ID")).isValidChar(QLatin1Char(',')));
    QVERIFY(numero.isValidChar(QLatin1Char('x')));
    numero.setValidChars(QStringLiteral("0123456789"));
    QVERIFY(!numero.isValidChar(QLatin1Char('x')));

    QVERIFY_THROWS_EXCEPTION(ValueError,
                             ds.fieldByName(QStringLiteral("ID")).setAsString(QStringLiteral("12a")));
    QVERIFY_THROWS_EXCEPTION(ValueError, data.setAsString(QStringLiteral("31/02/2008")));
    QVERIFY_THROWS_EXCEPTION(ValueError, numero.setAsString(QStringLiteral("123456789")));
    QVERIFY_THROWS_EXCEPTION(
        ValueError, ds.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("€ ok, ☃ não")));
    QCOMPARE(ds.fieldByName(QStringLiteral("NOME")).asString(), QStringLiteral("Cliente A")); // unchanged
    ds.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("€ ação"));
    ds.post();
    QCOMPARE(countRows(QStringLiteral("NOME = '€ ação'")), 1);
}

void TstDataSet::blobFieldRoundTrip()
{
    makeNotas(2);
    const QString memo = QStringLiteral("Observação longa\r\n").repeated(5000);
    DataSet &ds = notas();
    ds.open();
    ds.edit();
    ds.fieldByName(QStringLiteral("OBS")).setAsString(memo);
    ds.post();
    ds.next();
    ds.edit();
    ds.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("sem memo"));
    ds.post();
    ds.close();
    ds.open();
    QCOMPARE(ds.fieldByName(QStringLiteral("OBS")).asString(), memo);
    QCOMPARE(ds.fieldByName(QStringLiteral("OBS")).displayText(), QStringLiteral("(Memo)"));
    // An untouched blob passes through a modify by its id and survives.
    ds.edit();
    ds.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("outro"));
    ds.post();
    ds.close();
    ds.open();
    QCOMPARE(ds.fieldByName(QStringLiteral("OBS")).asString(), memo);
    ds.next();
    QVERIFY(ds.fieldByName(QStringLiteral("OBS")).isNull());
}

void TstDataSet::persistentFieldsAndMissingColumn()
{
    makeNotas(1);
    DataSet &ds = notas();
    Field &nome = ds.addField(QStringLiteral("NOME"));
    nome.setDisplayLabel(QStringLiteral("Nome"));
    ds.open();
    QCOMPARE(ds.fieldCount(), 1);
    QCOMPARE(&ds.fieldByName(QStringLiteral("nome")), &nome);
    QCOMPARE(nome.origin(), QStringLiteral("NOTA.NOME"));
    QCOMPARE(nome.size(), 50);
    ds.close();
    QCOMPARE(&ds.fieldByName(QStringLiteral("NOME")), &nome); // kept across close
    ds.addField(QStringLiteral("INEXISTENTE"));
    try {
        ds.open();
        QFAIL("opened with a field the select does not give");
    } catch (const ProgrammingError &e) {
        QVERIFY(e.message().contains(QStringLiteral("INEXISTENTE")));
    }
    QVERIFY(!ds.isActive());

    DataSet &defaults = notas();
    defaults.open();
    QCOMPARE(defaults.fieldCount(), 7);
    QCOMPARE(defaults.field(3)->fieldName(), QStringLiteral("NOME"));
    defaults.close();
    QCOMPARE(defaults.fieldCount(), 0);
}

void TstDataSet::disabledControlsHearOnceAtTheEnd()
{
    makeNotas(10);
    DataSet &ds = notas();
    DataSource src;
    src.setDataSet(&ds);
    RecordingLink link;
    link.setDataSource(&src);
    ds.open();
    link.events.clear();
    ds.disableControls();
    ds.disableControls();
    for (int i = 0; i < 5; ++i)
        ds.next();
    ds.enableControls();
    QVERIFY(link.events.isEmpty());
    ds.enableControls();
    QCOMPARE(link.events, QStringList{QStringLiteral("dataset")});
    link.events.clear();
    ds.disableControls();
    ds.enableControls();
    QVERIFY(link.events.isEmpty()); // nothing happened: nothing to say
}

void TstDataSet::linkSeesStateAndFieldChanges()
{
    makeNotas(2);
    DataSet &ds = notas();
    DataSource src;
    src.setDataSet(&ds);
    RecordingLink link;
    link.setDataSource(&src);
    QVERIFY(!link.isActive());
    ds.open();
    QVERIFY(link.isActive());
    ds.next();
    QVERIFY(link.events.contains(QStringLiteral("scroll:1")));
    link.events.clear();
    ds.edit();
    QVERIFY(link.isEditing());
    ds.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("z"));
    link.onUpdate = [&] { ds.fieldByName(QStringLiteral("NUMERO")).setAsString(QStringLiteral("9")); };
    ds.post();
    QCOMPARE(link.updates, 1);
    QVERIFY(!link.isEditing());
    QCOMPARE(countRows(QStringLiteral("ID = 2 and NOME = 'z' and NUMERO = '9'")), 1);
    QCOMPARE(link.events.mid(0, 3), (QStringList{QStringLiteral("editing"), QStringLiteral("record"),
                                                 QStringLiteral("field:NOME")}));
    ds.close();
    QVERIFY(!link.isActive());
    QCOMPARE(link.events.last(), QStringLiteral("inactive"));
}

void TstDataSet::autoEditThroughDataSource()
{
    makeNotas(1);
    DataSet &ds = notas();
    DataSource src;
    src.setDataSet(&ds);
    RecordingLink link;
    link.setDataSource(&src);
    ds.open();
    src.setAutoEdit(false);
    QVERIFY(!link.edit());
    QCOMPARE(ds.state(), DataSetState::Browse);
    link.setReadOnly(true);
    src.setAutoEdit(true);
    QVERIFY(!link.edit());
    link.setReadOnly(false);
    QVERIFY(link.edit());
    QCOMPARE(ds.state(), DataSetState::Edit);
}

void TstDataSet::masterDetail()
{
    m_db->exec(QStringLiteral(
        "create table ITEM (ID integer not null primary key, NOTAID integer, DESCR varchar(20))"));
    m_db->exec({QStringLiteral("insert into NOTA (ID, NOME) values (1, 'um')"),
                QStringLiteral("insert into NOTA (ID, NOME) values (2, 'dois')"),
                QStringLiteral("insert into ITEM values (1, 1, 'a')"),
                QStringLiteral("insert into ITEM values (2, 1, 'b')"),
                QStringLiteral("insert into ITEM values (3, 2, 'c')")});
    DataSet &master = notas();
    DataSource masterSource;
    masterSource.setDataSet(&master);
    DataSet detail;
    detail.setDatabase(&m_db->database());
    detail.setTransaction(&m_db->transaction());
    detail.setSelectSql(QStringLiteral("select * from ITEM where NOTAID = :ID order by ID"));
    detail.setInsertSql(QStringLiteral("insert into ITEM (ID, NOTAID, DESCR) values (:ID, :NOTAID, :DESCR)"));
    detail.setMasterSource(&masterSource);
    master.open();
    detail.open();
    QCOMPARE(detail.recordCount(), 2);
    master.next();
    QCOMPARE(detail.recordCount(), 1);
    QCOMPARE(detail.fieldByName(QStringLiteral("DESCR")).asString(), QStringLiteral("c"));
    master.first();
    QCOMPARE(detail.recordCount(), 2);
}

void TstDataSet::hardCommitClosesDataSet()
{
    makeNotas(3);
    Transaction tr;
    tr.setDefaultDatabase(&m_db->database());
    tr.setParams(TestDatabase::transactionParams());
    DataSet &ds = notas();
    ds.setTransaction(nullptr);
    ds.setTransaction(&tr);
    ds.open(); // starts its transaction
    QVERIFY(tr.isActive());
    ds.edit();
    ds.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("retido"));
    ds.post();
    tr.commitRetaining();
    QVERIFY(ds.isActive());
    QCOMPARE(ds.fieldByName(QStringLiteral("NOME")).asString(), QStringLiteral("retido"));
    tr.commit();
    QVERIFY(!ds.isActive());
    QCOMPARE(countRows(QStringLiteral("NOME = 'retido'")), 1);
}

void TstDataSet::nowaitCollisionLosesNothing()
{
    makeNotas(1);
    DataSet &first = notas();
    first.open();
    first.edit();
    first.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("primeiro"));
    first.post(); // holds the row's lock until its transaction ends

    auto otherDb = m_db->connectAgain();
    Transaction otherTr;
    otherTr.setDefaultDatabase(otherDb.get());
    otherTr.setParams(TestDatabase::transactionParams());
    DataSet second;
    second.setDatabase(otherDb.get());
    second.setTransaction(&otherTr);
    second.setSelectSql(QStringLiteral("select * from NOTA"));
    second.setModifySql(QStringLiteral("update NOTA set NOME = :NOME where ID = :OLD_ID"));
    second.open();
    second.edit();
    second.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("segundo"));
    try {
        second.post();
        QFAIL("the second writer was not stopped");
    } catch (const DatabaseError &e) {
        QCOMPARE(e.sqlCode(), -913);
        QCOMPARE(e.gdsCode(), long(isc_deadlock));
    }
    QCOMPARE(second.state(), DataSetState::Edit); // the typed value is still there to retry
    QCOMPARE(second.fieldByName(QStringLiteral("NOME")).asString(), QStringLiteral("segundo"));
    m_db->transaction().commit();
    m_db->transaction().start();
    QCOMPARE(countRows(QStringLiteral("NOME = 'primeiro'")), 1);
    second.post(); // the retry goes through once the first writer is done
    otherTr.commit();
    QCOMPARE(countRows(QStringLiteral("NOME = 'segundo'")), 1);
}

void TstDataSet::readOnlyDataSetRefusesEdits()
{
    makeNotas(1);
    DataSet &ds = notas();
    ds.setReadOnly(true);
    ds.open();
    QVERIFY(!ds.canModify());
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, ds.edit());
    QVERIFY_THROWS_EXCEPTION(ProgrammingError, ds.append());
    QVERIFY(!ds.fieldByName(QStringLiteral("NOME")).canModify());
    QVERIFY_THROWS_EXCEPTION(ProgrammingError,
                             ds.fieldByName(QStringLiteral("NOME")).setAsString(QStringLiteral("x")));
}

void TstDataSet::rowsSpanningManyBlocksSurviveReopen()
{
    // Wide rows fill the data set's storage blocks quickly; every row must keep its own bytes.
    m_db->exec(QStringLiteral("create table LARGO (ID integer, TEXTO varchar(8000))"));
    {
        Statement ins(&m_db->database(), &m_db->transaction());
        ins.setSql(QStringLiteral("insert into LARGO values (:ID, :TEXTO)"));
        for (int i = 0; i < 700; ++i) {
            ins.param(QStringLiteral("ID")).setInteger(i);
            ins.param(QStringLiteral("TEXTO"))
                .setString(QString(7990, QChar(u'a' + i % 26)) + QString::number(i));
            ins.execute();
        }
    }
    DataSet ds;
    ds.setDatabase(&m_db->database());
    ds.setTransaction(&m_db->transaction());
    ds.setSelectSql(QStringLiteral("select * from LARGO order by ID"));
    for (int round = 0; round < 2; ++round) {
        ds.open();
        QCOMPARE(ds.recordCount(), 700);
        ds.first();
        int i = 0;
        while (!ds.eof()) {
            const QString text = ds.fieldByName(QStringLiteral("TEXTO")).asString();
            QCOMPARE(ds.fieldByName(QStringLiteral("ID")).asInteger(), i);
            QCOMPARE(text.size(), 7990 + QString::number(i).size());
            QCOMPARE(text.front(), QChar(u'a' + i % 26));
            QVERIFY(text.endsWith(QString::number(i)));
            ds.next();
            ++i;
        }
        QCOMPARE(i, 700);
        ds.close();
    }
}

QTEST_GUILESS_MAIN(TstDataSet)
#include "tst_dataset.moc"
