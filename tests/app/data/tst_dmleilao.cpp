#include "appdatabase.h"

#include "app/data/dmleilao.h"
#include "framework/data/zeldataset.h"
#include "platform/db/dberror.h"

#include <QDate>
#include <QTest>

#include <memory>

namespace {

const QString Columns = QStringLiteral(
    "ID, LEILAO_DATA, LEILAO_NUMERO, CLI_TIPO_PESSOA, CLI_DOCUMENTO, CLI_NOME, NOTA_NUMERO, NOTA_MERCADORIA, "
    "NOTA_PER_COMISSAO, NOTA_COMISSAO, NOTA_TAXA_ADMIN, NOTA_TOTAL, USUARIOID");

QString simplified(const QString &sql)
{
    return sql.simplified();
}

} // namespace

class TstDmLeilao : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void fields_data();
    void fields();
    void statements();
    void monthParameters_data();
    void monthParameters();
    void reopenFollowsTheWorkDate();
    void documentDisplay_data();
    void documentDisplay();
    void userStamp_data();
    void userStamp();
    void generatorFillsIdOnPost();
    void insertChangeRefreshDelete();
    void withoutGlobals();

private:
    void fillNote(QDate date, int nota, const QString &nome);
    int generatorValue();

    std::unique_ptr<AppDatabase> m_db;
    std::unique_ptr<TdmLeilao> m_dm;
    TZelDataSet *m_controle = nullptr;
};

void TstDmLeilao::initTestCase()
{
    m_db = std::make_unique<AppDatabase>();
    // Notes around February 2008, inserted out of date order so that the select's ordering shows.
    QStringList notes;
    const struct
    {
        int id;
        const char *date;
    } rows[] = {{101, "2007-12-31"}, {102, "2008-01-31"}, {103, "2008-02-29"}, {104, "2008-02-01"},
                {105, "2008-02-15"}, {106, "2008-03-01"}, {107, "2009-02-28"}};
    for (const auto &r : rows)
        notes << QStringLiteral("insert into CONTROLE (%1) values (%2, '%3', 'L%2', 1, '52998224725', "
                                "'CLIENTE %2', %2, 1000, 5, 50, 10, 1060, 1)")
                     .arg(Columns)
                     .arg(r.id)
                     .arg(QLatin1String(r.date));
    notes << QStringLiteral(
        "insert into USUARIO (ID, USUARIO, PRIMEIRO_NOME) values (2, 'OPERADOR', 'Operador')");
    notes << QStringLiteral("set generator GEN_CONTROLE_ID to 200");
    m_db->exec(notes);
}

void TstDmLeilao::init()
{
    m_db->globals().setUsuarioID(1);
    m_db->globals().DataAtual().setData(QDate(2008, 2, 15));
    m_dm.reset(TClsDataModule::create<TdmLeilao>());
    m_controle = m_dm->CONTROLE;
}

void TstDmLeilao::cleanup()
{
    m_dm.reset();
    m_controle = nullptr;
    if (m_db->trMain().isActive())
        m_db->trMain().rollback();
}

void TstDmLeilao::cleanupTestCase()
{
    m_db.reset();
}

void TstDmLeilao::fillNote(QDate date, int nota, const QString &nome)
{
    m_controle->fieldByName(QStringLiteral("LEILAO_DATA")).setAsDate(date);
    m_controle->fieldByName(QStringLiteral("LEILAO_NUMERO")).setAsString(QStringLiteral("L-77"));
    m_controle->fieldByName(QStringLiteral("CLI_TIPO_PESSOA")).setAsInteger(2);
    m_controle->fieldByName(QStringLiteral("CLI_DOCUMENTO")).setAsString(QStringLiteral("11222333000181"));
    m_controle->fieldByName(QStringLiteral("CLI_NOME")).setAsString(nome);
    m_controle->fieldByName(QStringLiteral("NOTA_NUMERO")).setAsInteger(nota);
    m_controle->fieldByName(QStringLiteral("NOTA_MERCADORIA"))
        .setAsCurrency(db::Currency::fromDouble(100.10));
    m_controle->fieldByName(QStringLiteral("NOTA_PER_COMISSAO")).setAsCurrency(db::Currency::fromDouble(5));
    m_controle->fieldByName(QStringLiteral("NOTA_COMISSAO")).setAsCurrency(db::Currency::fromDouble(5.01));
    m_controle->fieldByName(QStringLiteral("NOTA_TAXA_ADMIN")).setAsCurrency(db::Currency::fromDouble(10));
    m_controle->fieldByName(QStringLiteral("NOTA_TOTAL")).setAsCurrency(db::Currency::fromDouble(115.11));
}

int TstDmLeilao::generatorValue()
{
    return m_db->row(QStringLiteral("select gen_id(GEN_CONTROLE_ID, 0) from RDB$DATABASE")).toInt();
}

void TstDmLeilao::fields_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("currency");
    QTest::addColumn<int>("size");

    QTest::newRow("ID") << 0 << "ID"
                        << "ID" << false << false << 0;
    QTest::newRow("LEILAO_DATA") << 1 << "LEILAO_DATA"
                                 << "Data Leilão" << true << false << 0;
    QTest::newRow("LEILAO_NUMERO") << 2 << "LEILAO_NUMERO"
                                   << "Número Leilão" << true << false << 8;
    QTest::newRow("CLI_TIPO_PESSOA") << 3 << "CLI_TIPO_PESSOA"
                                     << "Tipo Pessoa" << false << false << 0;
    QTest::newRow("CLI_DOCUMENTO") << 4 << "CLI_DOCUMENTO"
                                   << "Documento" << true << false << 14;
    QTest::newRow("CLI_NOME") << 5 << "CLI_NOME"
                              << "Nome" << true << false << 50;
    QTest::newRow("NOTA_NUMERO") << 6 << "NOTA_NUMERO"
                                 << "Número" << true << false << 0;
    QTest::newRow("NOTA_MERCADORIA") << 7 << "NOTA_MERCADORIA"
                                     << "Valor Mercadoria" << true << true << 0;
    QTest::newRow("NOTA_PER_COMISSAO") << 8 << "NOTA_PER_COMISSAO"
                                       << "Perc. Comissão" << true << true << 0;
    QTest::newRow("NOTA_COMISSAO") << 9 << "NOTA_COMISSAO"
                                   << "Comissão" << true << true << 0;
    QTest::newRow("NOTA_TAXA_ADMIN") << 10 << "NOTA_TAXA_ADMIN"
                                     << "Taxa Administrativa" << true << true << 0;
    QTest::newRow("NOTA_TOTAL") << 11 << "NOTA_TOTAL"
                                << "Total" << true << true << 0;
    QTest::newRow("USUARIOID") << 12 << "USUARIOID"
                               << "USUARIOID" << false << false << 0;
}

void TstDmLeilao::fields()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, label);
    QFETCH(bool, visible);
    QFETCH(bool, currency);
    QFETCH(int, size);

    // The fields are persistent: the same before and after opening, in the same order, and no more.
    for (bool open : {false, true}) {
        if (open)
            m_controle->open();
        QCOMPARE(m_controle->fieldCount(), 13);
        const db::Field *f = m_controle->field(index);
        QCOMPARE(f->fieldName(), name);
        QCOMPARE(f->displayLabel(), label);
        QCOMPARE(f->isVisible(), visible);
        QCOMPARE(f->isCurrency(), currency);
    }
    QCOMPARE(m_controle->field(index)->size(), size);
    QCOMPARE(m_controle->field(index)->origin(), QStringLiteral("CONTROLE.") + name);
}

void TstDmLeilao::statements()
{
    QCOMPARE(m_controle->TableName(), QStringLiteral("CONTROLE"));
    QVERIFY(m_controle->UniqueKeys().isEmpty());
    QCOMPARE(
        simplified(m_controle->selectSql()),
        QStringLiteral("select * from CONTROLE where LEILAO_DATA >= :DATA_INI and LEILAO_DATA <= :DATA_FIM "
                       "order by LEILAO_DATA"));
    QCOMPARE(simplified(m_controle->insertSql()),
             QStringLiteral("insert into CONTROLE (%1) values (:%2)")
                 .arg(Columns, QString(Columns).replace(QStringLiteral(", "), QStringLiteral(", :"))));
    QStringList sets;
    for (const QString &c : Columns.split(QStringLiteral(", ")))
        sets << c + QStringLiteral(" = :") + c;
    QCOMPARE(
        simplified(m_controle->modifySql()),
        QStringLiteral("update CONTROLE set %1 where ID = :OLD_ID").arg(sets.join(QStringLiteral(", "))));
    QCOMPARE(simplified(m_controle->deleteSql()), QStringLiteral("delete from CONTROLE where ID = :OLD_ID"));
    QCOMPARE(simplified(m_controle->refreshSql()),
             QStringLiteral("Select %1 from CONTROLE where ID = :ID").arg(Columns));
    const db::GeneratorField &g = m_controle->generatorField();
    QCOMPARE(g.field, QStringLiteral("ID"));
    QCOMPARE(g.generator, QStringLiteral("GEN_CONTROLE_ID"));
    QCOMPARE(g.increment, 1);
    QCOMPARE(g.applyOn, db::GeneratorField::ApplyOn::Post);
}

void TstDmLeilao::monthParameters_data()
{
    QTest::addColumn<QDate>("work");
    QTest::addColumn<QDate>("dataIni");
    QTest::addColumn<QDate>("dataFim");
    QTest::addColumn<QStringList>("shown");

    const QStringList february{QStringLiteral("01/02/2008"), QStringLiteral("15/02/2008"),
                               QStringLiteral("29/02/2008")};
    QTest::newRow("15/02/2008") << QDate(2008, 2, 15) << QDate(2008, 2, 1) << QDate(2008, 2, 29) << february;
    QTest::newRow("first day") << QDate(2008, 2, 1) << QDate(2008, 2, 1) << QDate(2008, 2, 29) << february;
    QTest::newRow("leap day") << QDate(2008, 2, 29) << QDate(2008, 2, 1) << QDate(2008, 2, 29) << february;
    QTest::newRow("31/01/2008") << QDate(2008, 1, 31) << QDate(2008, 1, 1) << QDate(2008, 1, 31)
                                << QStringList{QStringLiteral("31/01/2008")};
    QTest::newRow("december") << QDate(2007, 12, 1) << QDate(2007, 12, 1) << QDate(2007, 12, 31)
                              << QStringList{QStringLiteral("31/12/2007")};
    QTest::newRow("common year") << QDate(2009, 2, 15) << QDate(2009, 2, 1) << QDate(2009, 2, 28)
                                 << QStringList{QStringLiteral("28/02/2009")};
    QTest::newRow("month without notes")
        << QDate(2008, 4, 10) << QDate(2008, 4, 1) << QDate(2008, 4, 30) << QStringList{};
    QTest::newRow("no work date") << QDate() << QDate() << QDate() << QStringList{};
}

void TstDmLeilao::monthParameters()
{
    QFETCH(QDate, work);
    QFETCH(QDate, dataIni);
    QFETCH(QDate, dataFim);
    QFETCH(QStringList, shown);

    m_db->globals().DataAtual().setData(work);
    m_controle->open();
    const QVariant ini = m_controle->param(QStringLiteral("DATA_INI")).value();
    const QVariant fim = m_controle->param(QStringLiteral("DATA_FIM")).value();
    QCOMPARE(m_controle->param(QStringLiteral("DATA_INI")).isNull(), !dataIni.isValid());
    QCOMPARE(m_controle->param(QStringLiteral("DATA_FIM")).isNull(), !dataFim.isValid());
    if (dataIni.isValid()) {
        QCOMPARE(ini.toDate(), dataIni);
        QCOMPARE(fim.toDate(), dataFim);
    }
    QStringList dates;
    for (m_controle->first(); !m_controle->eof(); m_controle->next())
        dates << m_controle->fieldByName(QStringLiteral("LEILAO_DATA"))
                     .asDate()
                     .toString(QStringLiteral("dd/MM/yyyy"));
    QCOMPARE(dates, shown);
}

void TstDmLeilao::reopenFollowsTheWorkDate()
{
    m_controle->open();
    QCOMPARE(m_controle->recordCount(), 3);
    // The month is read at every open, not when the module is made.
    m_db->globals().DataAtual().setMes(3);
    m_controle->close();
    m_controle->open();
    QCOMPARE(m_controle->recordCount(), 1);
    QCOMPARE(m_controle->fieldByName(QStringLiteral("ID")).asInteger(), 106);
    // A sort chosen on a grid keeps the month.
    m_db->globals().DataAtual().setMes(2);
    m_controle->setOrderByFields(QStringLiteral("CONTROLE.LEILAO_DATA DESC"));
    m_controle->close();
    m_controle->open();
    QCOMPARE(m_controle->recordCount(), 3);
    QCOMPARE(m_controle->fieldByName(QStringLiteral("ID")).asInteger(), 103);
}

void TstDmLeilao::documentDisplay_data()
{
    QTest::addColumn<QVariant>("tipo");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("edit");

    const QVariant none;
    QTest::newRow("CPF") << QVariant(1) << "52998224725"
                         << "529.982.247-25"
                         << "52998224725";
    // Editing never drops digits the display shows: a document typed with blanks edits as its digits.
    QTest::newRow("CPF typed with blanks") << QVariant(1) << "529 982 247 25"
                                           << "529.982.247-25"
                                           << "52998224725";
    QTest::newRow("CPF with a trailing blank") << QVariant(1) << "52998224725 "
                                               << "529.982.247-25"
                                               << "52998224725";
    QTest::newRow("short CPF typed with blanks") << QVariant(1) << "529 982 2"
                                                 << "529.982.2  -  "
                                                 << "529 982 2";
    QTest::newRow("CNPJ typed with a blank") << QVariant(2) << "1122233300018 "
                                             << "11.222.333/0001-8 "
                                             << "1122233300018 ";
    QTest::newRow("CPF with a digit too many") << QVariant(1) << "529982247251"
                                               << "529.982.247-25"
                                               << "52998224725";
    QTest::newRow("CPF cut short") << QVariant(1) << "5299822"
                                   << "529.982.2  -  "
                                   << "5299822";
    QTest::newRow("CNPJ") << QVariant(2) << "11222333000181"
                          << "11.222.333/0001-81"
                          << "11222333000181";
    QTest::newRow("CPF digits as a CNPJ") << QVariant(2) << "52998224725"
                                          << "52.998.224/725 -  "
                                          << "52998224725";
    QTest::newRow("type 0") << QVariant(0) << "52998224725"
                            << "52998224725"
                            << "52998224725";
    QTest::newRow("type 3") << QVariant(3) << "123-4"
                            << "123-4"
                            << "123-4";
    QTest::newRow("no type") << none << "52998224725"
                             << "52998224725"
                             << "52998224725";
    QTest::newRow("blanks only") << QVariant(1) << "   "
                                 << ""
                                 << "";
    QTest::newRow("no digit, other type") << QVariant(0) << "ABC"
                                          << ""
                                          << "";
    QTest::newRow("empty") << QVariant(2) << ""
                           << ""
                           << "";
}

void TstDmLeilao::documentDisplay()
{
    QFETCH(QVariant, tipo);
    QFETCH(QString, stored);
    QFETCH(QString, display);
    QFETCH(QString, edit);

    m_controle->open();
    m_controle->append();
    fillNote(QDate(2008, 2, 20), 9001, QStringLiteral("DOCUMENTO"));
    m_controle->fieldByName(QStringLiteral("CLI_TIPO_PESSOA")).setValue(tipo);
    m_controle->fieldByName(QStringLiteral("CLI_DOCUMENTO")).setAsString(stored);
    const db::Field &doc = m_controle->fieldByName(QStringLiteral("CLI_DOCUMENTO"));
    QCOMPARE(doc.displayText(), display);
    QCOMPARE(doc.editText(), edit);
    m_controle->post();
    const int id = m_controle->fieldByName(QStringLiteral("ID")).asInteger();

    // As a grid draws it: the row read back from the database, drawn while another row is current.
    m_controle->close();
    m_controle->open();
    QVERIFY(m_controle->LocateID(id));
    QCOMPARE(doc.asString(), stored);
    QCOMPARE(doc.displayText(), display);
    QCOMPARE(doc.editText(), edit);
    const int row = m_controle->recNo();
    m_controle->first();
    QVERIFY(m_controle->recNo() != row);
    {
        db::DataSet::RowScope scope(*m_controle, row);
        QCOMPARE(doc.displayText(), display);
    }
    QCOMPARE(doc.displayText(), QStringLiteral("529.982.247-25")); // the first row of February is a CPF
}

void TstDmLeilao::userStamp_data()
{
    QTest::addColumn<bool>("inserting");
    QTest::addColumn<int>("user");
    QTest::addColumn<int>("typedUser");

    QTest::newRow("insert by user 1") << true << 1 << 0;
    QTest::newRow("insert by user 2 over a typed id") << true << 2 << 1;
    QTest::newRow("edit by user 2 of a note of user 1") << false << 2 << 0;
    QTest::newRow("edit by user 1 over a typed id") << false << 1 << 2;
}

void TstDmLeilao::userStamp()
{
    QFETCH(bool, inserting);
    QFETCH(int, user);
    QFETCH(int, typedUser);

    m_controle->open();
    if (inserting) {
        m_controle->append();
        fillNote(QDate(2008, 2, 10), 9002, QStringLiteral("CARIMBO"));
    } else {
        QVERIFY(m_controle->LocateID(105));
        QCOMPARE(m_controle->fieldByName(QStringLiteral("USUARIOID")).asInteger(), 1);
        m_controle->edit();
        m_controle->fieldByName(QStringLiteral("CLI_NOME")).setAsString(QStringLiteral("ALTERADO"));
    }
    if (typedUser)
        m_controle->fieldByName(QStringLiteral("USUARIOID")).setAsInteger(typedUser);
    m_db->globals().setUsuarioID(user);
    m_controle->post();

    const int id = m_controle->fieldByName(QStringLiteral("ID")).asInteger();
    QCOMPARE(m_controle->fieldByName(QStringLiteral("USUARIOID")).asInteger(), user);
    QCOMPARE(m_db->row(QStringLiteral("select USUARIOID from CONTROLE where ID = %1").arg(id)),
             QString::number(user));
}

void TstDmLeilao::generatorFillsIdOnPost()
{
    m_controle->open();
    const int before = generatorValue();

    // A note given up before saving takes no number.
    m_controle->append();
    QVERIFY(m_controle->fieldByName(QStringLiteral("ID")).isNull());
    m_controle->cancel();
    QCOMPARE(generatorValue(), before);

    m_controle->append();
    fillNote(QDate(2008, 2, 11), 9003, QStringLiteral("GERADOR"));
    QVERIFY(m_controle->fieldByName(QStringLiteral("ID")).isNull());
    m_controle->post();
    QCOMPARE(m_controle->fieldByName(QStringLiteral("ID")).asInteger(), before + 1);
    QCOMPARE(generatorValue(), before + 1);
    QCOMPARE(m_db->row(QStringLiteral("select CLI_NOME from CONTROLE where ID = %1").arg(before + 1)),
             QStringLiteral("GERADOR"));

    m_controle->append();
    fillNote(QDate(2008, 2, 12), 9004, QStringLiteral("GERADOR 2"));
    m_controle->post();
    QCOMPARE(m_controle->fieldByName(QStringLiteral("ID")).asInteger(), before + 2);
}

void TstDmLeilao::insertChangeRefreshDelete()
{
    const QString readBack = QStringLiteral(
        "select LEILAO_DATA, LEILAO_NUMERO, CLI_TIPO_PESSOA, CLI_DOCUMENTO, CLI_NOME, NOTA_NUMERO, "
        "cast(NOTA_MERCADORIA * 100 as integer), cast(NOTA_PER_COMISSAO * 100 as integer), "
        "cast(NOTA_COMISSAO * 100 as integer), cast(NOTA_TAXA_ADMIN * 100 as integer), "
        "cast(NOTA_TOTAL * 100 as integer), USUARIOID from CONTROLE where ID = %1");
    m_controle->open();
    m_controle->append();
    fillNote(QDate(2008, 2, 21), 9005, QStringLiteral("JOSÉ D'ÁVILA"));
    m_controle->post();
    const int id = m_controle->fieldByName(QStringLiteral("ID")).asInteger();
    QCOMPARE(m_db->row(readBack.arg(id)),
             QStringLiteral("21/02/2008|L-77|2|11222333000181|JOSÉ D'ÁVILA|9005|10010|500|501|1000|11511|1"));
    QCOMPARE(m_controle->fieldByName(QStringLiteral("NOTA_TOTAL")).displayText(), QStringLiteral("115,11"));

    m_controle->edit();
    m_controle->fieldByName(QStringLiteral("LEILAO_NUMERO")).setAsString(QStringLiteral("L-78"));
    m_controle->fieldByName(QStringLiteral("CLI_NOME")).setAsString(QStringLiteral("OUTRO NOME"));
    m_controle->fieldByName(QStringLiteral("NOTA_TOTAL")).setAsCurrency(db::Currency::fromDouble(1234.5));
    m_controle->post();
    QCOMPARE(m_db->row(readBack.arg(id)),
             QStringLiteral("21/02/2008|L-78|2|11222333000181|OUTRO NOME|9005|10010|500|501|1000|123450|1"));
    QCOMPARE(m_controle->fieldByName(QStringLiteral("NOTA_TOTAL")).displayText(), QStringLiteral("1.234,50"));

    // The modify statement finds the row by its old ID, so even the key can change.
    m_controle->edit();
    m_controle->fieldByName(QStringLiteral("ID")).setAsInteger(5000);
    m_controle->post();
    QCOMPARE(m_db->row(readBack.arg(id)), QStringLiteral("<no row>"));
    QCOMPARE(m_db->row(QStringLiteral("select CLI_NOME from CONTROLE where ID = 5000")),
             QStringLiteral("OUTRO NOME"));

    // A change made elsewhere reaches the row through the refresh statement.
    db::Statement other(&m_db->database(), &m_db->trMain());
    other.setSql(
        QStringLiteral("update CONTROLE set CLI_NOME = 'DE FORA', NOTA_NUMERO = 9100 where ID = 5000"));
    other.execute();
    m_controle->refresh();
    QCOMPARE(m_controle->fieldByName(QStringLiteral("CLI_NOME")).asString(), QStringLiteral("DE FORA"));
    QCOMPARE(m_controle->fieldByName(QStringLiteral("NOTA_NUMERO")).asInteger(), 9100);

    const int count = m_controle->recordCount();
    m_controle->remove();
    QCOMPARE(m_controle->recordCount(), count - 1);
    QCOMPARE(m_db->row(QStringLiteral("select count(*) from CONTROLE where ID = 5000")), QStringLiteral("0"));
    // The notes around it are untouched.
    QCOMPARE(m_db->row(QStringLiteral("select count(*) from CONTROLE where ID between 101 and 107")),
             QStringLiteral("7"));
}

void TstDmLeilao::withoutGlobals()
{
    // A module bound by hand to a connection but to no session cannot know the month or the user.
    m_dm.reset(new TdmLeilao);
    m_controle = m_dm->CONTROLE;
    m_controle->setDatabase(&m_db->database());
    m_controle->setTransaction(&m_db->trMain());
    QVERIFY_THROWS_EXCEPTION(db::ProgrammingError, m_controle->open());
    QVERIFY(!m_controle->isActive());
}

QTEST_MAIN(TstDmLeilao)
#include "tst_dmleilao.moc"
