#include "testdatabase.h"

#include "app/rules/evallancnotas.h"
#include "framework/data/zeldataset.h"
#include "framework/validation/zelevaluate.h"

#include <QDate>
#include <QTest>

#include <memory>

namespace {

const QString Fields = QStringLiteral(
    "ID, LEILAO_DATA, LEILAO_NUMERO, CLI_TIPO_PESSOA, CLI_DOCUMENTO, CLI_NOME, NOTA_NUMERO, NOTA_MERCADORIA, "
    "NOTA_PER_COMISSAO, NOTA_COMISSAO, NOTA_TAXA_ADMIN, NOTA_TOTAL, USUARIOID");

QString params()
{
    QString p = QStringLiteral(":") + Fields;
    return p.replace(QStringLiteral(", "), QStringLiteral(", :"));
}

// One finding as the test compares it: field, kind, control and message.
QString describe(const TZelError &e)
{
    return QStringLiteral("%1|%2|%3|%4").arg(e.FieldName).arg(e.Kind).arg(e.ControlName, e.Message);
}

const char *const Rule1 = "LEILAO_DATA|2|edtLeilaoData|< NOTAS > - Falta informar a data leilão!";
const char *const Rule2 = "LEILAO_NUMERO|2|edtLeilaoNumero|< NOTAS > - Falta informar o número leilão!";
const char *const Rule3 = "CLI_TIPO_PESSOA|2|edtTipoPessoa|< NOTAS > - Falta informar o tipo de pessoa do "
                          "cliente, jurídica ou física!";
const char *const Rule4a = "CLI_DOCUMENTO|2|edtDocumento|< NOTAS > - Falta informar o documento!";
const char *const Rule4b = "CLI_DOCUMENTO|1|edtDocumento|< NOTAS > - Digito verificador do CPF não confere!";
const char *const Rule4c = "CLI_DOCUMENTO|1|edtDocumento|< NOTAS > - Digito verificador do CNPJ não confere!";
const char *const Rule5 = "CLI_NOME|2|edtNome|< NOTAS > - Falta informar o nome do cliente!";
const char *const Rule6a = "NOTA_NUMERO|2|edtNotaNumero|< NOTAS > - Falta informar o número da nota!";
const char *const Rule6b =
    "NOTA_NUMERO|1|edtNotaNumero|< NOTAS > - Já existe uma nota fiscal com esse número!";
const char *const Rule7 = "NOTA_MERCADORIA|2|edtMercadoria|< NOTAS > - Falta informar o valor da mercadoria!";
const char *const Rule8 =
    "NOTA_PER_COMISSAO|2|edtPerComissao|< NOTAS > - Falta informar o percentual da comissão!";
const char *const Rule9 = "NOTA_COMISSAO|2|edtComissao|< NOTAS > - Falta informar o valor da comissão!";
const char *const Rule10 = "NOTA_TOTAL|1|edtTotal|< NOTAS > - A soma do valor mercadoria + comissão + taxa "
                           "admin. não bate com o total!";

} // namespace

class TstEvalLancNotas : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void newNote_data();
    void newNote();
    void emptyNoteListsEveryRuleInOrder();
    void editedNote_data();
    void editedNote();

private:
    QStringList evaluate();
    void fillValidNote();

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<TZelDataSet> m_controle;
    std::unique_ptr<TZelEvaluate> m_eval;
};

void TstEvalLancNotas::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    m_db->exec({
        QStringLiteral("create table CONTROLE (ID INTEGER not null primary key, LEILAO_DATA DATE, "
                       "CLI_TIPO_PESSOA INTEGER, CLI_DOCUMENTO VARCHAR(14), CLI_NOME VARCHAR(50), "
                       "NOTA_NUMERO INTEGER, NOTA_MERCADORIA DOUBLE PRECISION, "
                       "NOTA_PER_COMISSAO DOUBLE PRECISION, NOTA_COMISSAO DOUBLE PRECISION, "
                       "NOTA_TAXA_ADMIN DOUBLE PRECISION, NOTA_TOTAL DOUBLE PRECISION, USUARIOID INTEGER, "
                       "LEILAO_NUMERO VARCHAR(8))"),
        QStringLiteral("create generator GEN_CONTROLE_ID"),
    });
    m_db->exec({
        QStringLiteral("insert into CONTROLE (%1) values (1, '2008-01-20', '7', 1, '52998224725', 'JANEIRO', "
                       "500, 1000, 5, 50, 10, 1060, 1)")
            .arg(Fields),
        QStringLiteral("insert into CONTROLE (%1) values (2, '2008-02-10', '8', 2, '11222333000181', "
                       "'FEVEREIRO', 600, 1000, 5, 50, 10, 1060, 1)")
            .arg(Fields),
        // An older note saved without a number, in another month.
        QStringLiteral(
            "insert into CONTROLE (%1) values (3, '2007-12-01', '6', 1, '52998224725', 'SEM NUMERO', "
            "NULL, 1000, 5, 50, 10, 1060, 1)")
            .arg(Fields),
        QStringLiteral("set generator GEN_CONTROLE_ID to 3"),
    });
}

void TstEvalLancNotas::init()
{
    m_controle = std::make_unique<TZelDataSet>();
    m_controle->setObjectName(QStringLiteral("CONTROLE"));
    m_controle->setDatabase(&m_db->database());
    m_controle->setTransaction(&m_db->transaction());
    m_controle->setSelectSql(QStringLiteral("select * from CONTROLE where LEILAO_DATA >= :DATA_INI and "
                                            "LEILAO_DATA <= :DATA_FIM order by LEILAO_DATA"));
    m_controle->setInsertSql(QStringLiteral("insert into CONTROLE (%1) values (%2)").arg(Fields, params()));
    m_controle->setModifySql(
        QStringLiteral("update CONTROLE set CLI_NOME = :CLI_NOME, NOTA_NUMERO = :NOTA_NUMERO "
                       "where ID = :OLD_ID"));
    m_controle->setGeneratorField(
        {QStringLiteral("ID"), QStringLiteral("GEN_CONTROLE_ID"), 1, db::GeneratorField::ApplyOn::Post});
    m_controle->param(QStringLiteral("DATA_INI")).setDate(QDate(2008, 2, 1));
    m_controle->param(QStringLiteral("DATA_FIM")).setDate(QDate(2008, 2, 29));
    m_controle->open();
    m_eval = std::make_unique<TZelEvaluate>();
    m_eval->setDataSet(m_controle.get());
    m_eval->GetEvalClass = [](TEvalClass &c) { c = EvalClassOf<TEvalLancNotas>(); };
}

void TstEvalLancNotas::cleanup()
{
    m_eval.reset();
    if (m_controle->isEditing())
        m_controle->cancel();
    m_controle->close();
    m_controle.reset();
}

QStringList TstEvalLancNotas::evaluate()
{
    m_eval->Evaluate();
    QStringList found;
    for (const TZelError &e : m_eval->ErrorList().AllErrors()) {
        found << describe(e);
        // Every finding leads back to the note entry window and its record.
        if (e.Code != TEvalLancNotas::Code || e.FormClass != QLatin1String("TfrmLancaNotas") ||
            e.DataSet != m_controle.get() || !e.Detail.isEmpty() ||
            e.RecordID != ZelDataSet::GetRecordID(m_controle.get()))
            found << QStringLiteral("wrong context: ") + describe(e);
    }
    return found;
}

void TstEvalLancNotas::fillValidNote()
{
    auto set = [this](const char *name, const QVariant &v) {
        m_controle->fieldByName(QLatin1String(name)).setValue(v);
    };
    set("LEILAO_DATA", QDate(2008, 2, 15));
    set("LEILAO_NUMERO", QStringLiteral("12"));
    set("CLI_TIPO_PESSOA", 1);
    set("CLI_DOCUMENTO", QStringLiteral("52998224725"));
    set("CLI_NOME", QStringLiteral("FULANO"));
    set("NOTA_NUMERO", 900);
    set("NOTA_MERCADORIA", 1000.0);
    set("NOTA_PER_COMISSAO", 5.0);
    set("NOTA_COMISSAO", 50.0);
    set("NOTA_TAXA_ADMIN", 10.0);
    set("NOTA_TOTAL", 1060.0);
}

void TstEvalLancNotas::newNote_data()
{
    QTest::addColumn<QVariantMap>("changes");
    QTest::addColumn<QStringList>("expected");
    const QVariant null;
    QTest::newRow("valid note") << QVariantMap{} << QStringList{};
    QTest::newRow("1 no auction date") << QVariantMap{{"LEILAO_DATA", null}} << QStringList{Rule1};
    QTest::newRow("2 no auction number") << QVariantMap{{"LEILAO_NUMERO", null}} << QStringList{Rule2};
    QTest::newRow("2 empty auction number") << QVariantMap{{"LEILAO_NUMERO", ""}} << QStringList{Rule2};
    QTest::newRow("3 no person type") << QVariantMap{{"CLI_TIPO_PESSOA", null}} << QStringList{Rule3};
    QTest::newRow("3 type 3, no document check")
        << QVariantMap{{"CLI_TIPO_PESSOA", 3}, {"CLI_DOCUMENTO", "123"}} << QStringList{Rule3};
    QTest::newRow("4a no document") << QVariantMap{{"CLI_DOCUMENTO", null}} << QStringList{Rule4a};
    QTest::newRow("4b wrong CPF digit")
        << QVariantMap{{"CLI_DOCUMENTO", "52998224724"}} << QStringList{Rule4b};
    QTest::newRow("4b punctuated CPF passes")
        << QVariantMap{{"CLI_DOCUMENTO", "529.982.247-25"}} << QStringList{};
    QTest::newRow("4b CPF with blanks passes")
        << QVariantMap{{"CLI_DOCUMENTO", "529 982 247 25"}} << QStringList{};
    QTest::newRow("4b 10 digits") << QVariantMap{{"CLI_DOCUMENTO", "5299822472"}} << QStringList{Rule4b};
    // The document edit lets blanks, "%" and "'" through: a document typed with no digit is no CPF.
    QTest::newRow("4b blanks only") << QVariantMap{{"CLI_DOCUMENTO", "   "}} << QStringList{Rule4b};
    QTest::newRow("4b no digit at all") << QVariantMap{{"CLI_DOCUMENTO", "%' %"}} << QStringList{Rule4b};
    QTest::newRow("4c CPF for a company") << QVariantMap{{"CLI_TIPO_PESSOA", 2}} << QStringList{Rule4c};
    QTest::newRow("4c valid CNPJ") << QVariantMap{{"CLI_TIPO_PESSOA", 2}, {"CLI_DOCUMENTO", "11222333000181"}}
                                   << QStringList{};
    QTest::newRow("4c wrong CNPJ digit")
        << QVariantMap{{"CLI_TIPO_PESSOA", 2}, {"CLI_DOCUMENTO", "11222333000180"}} << QStringList{Rule4c};
    QTest::newRow("4c no digit at all")
        << QVariantMap{{"CLI_TIPO_PESSOA", 2}, {"CLI_DOCUMENTO", "abc"}} << QStringList{Rule4c};
    QTest::newRow("5 no name") << QVariantMap{{"CLI_NOME", null}} << QStringList{Rule5};
    QTest::newRow("6a no number, an old note has none")
        << QVariantMap{{"NOTA_NUMERO", null}} << QStringList{Rule6a, Rule6b};
    QTest::newRow("6b number of this month") << QVariantMap{{"NOTA_NUMERO", 600}} << QStringList{Rule6b};
    QTest::newRow("6b number of another month") << QVariantMap{{"NOTA_NUMERO", 500}} << QStringList{Rule6b};
    QTest::newRow("7 no merchandise")
        << QVariantMap{{"NOTA_MERCADORIA", 0.0}, {"NOTA_TOTAL", 60.0}} << QStringList{Rule7};
    QTest::newRow("7 negative merchandise, total off")
        << QVariantMap{{"NOTA_MERCADORIA", -1.0}} << QStringList{Rule7, Rule10};
    QTest::newRow("7 merchandise null")
        << QVariantMap{{"NOTA_MERCADORIA", null}, {"NOTA_TOTAL", 60.0}} << QStringList{Rule7};
    QTest::newRow("8 no percentage") << QVariantMap{{"NOTA_PER_COMISSAO", 0.0}} << QStringList{Rule8};
    QTest::newRow("9 no commission") << QVariantMap{{"NOTA_COMISSAO", null}, {"NOTA_TOTAL", 1010.0}}
                                     << QStringList{Rule9};
    QTest::newRow("10 total typed one cent off")
        << QVariantMap{{"NOTA_TOTAL", 1060.01}} << QStringList{Rule10};
    QTest::newRow("10 total off by less than a cent")
        << QVariantMap{{"NOTA_TOTAL", 1060.0001}} << QStringList{Rule10};
    QTest::newRow("10 sums compared as currency") << QVariantMap{{"NOTA_MERCADORIA", 100.1},
                                                                 {"NOTA_COMISSAO", 5.01},
                                                                 {"NOTA_TAXA_ADMIN", 0.0},
                                                                 {"NOTA_TOTAL", 105.11}}
                                                  << QStringList{};
    QTest::newRow("no fee is normal")
        << QVariantMap{{"NOTA_TAXA_ADMIN", null}, {"NOTA_TOTAL", 1050.0}} << QStringList{};
}

void TstEvalLancNotas::newNote()
{
    QFETCH(QVariantMap, changes);
    m_controle->append();
    fillValidNote();
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        m_controle->fieldByName(it.key()).setValue(it.value());
    QTEST(evaluate(), "expected");
}

void TstEvalLancNotas::emptyNoteListsEveryRuleInOrder()
{
    m_controle->append();
    QCOMPARE(evaluate(),
             (QStringList{Rule1, Rule2, Rule3, Rule4a, Rule5, Rule6a, Rule6b, Rule7, Rule8, Rule9}));
    QCOMPARE(m_eval->ErrorList().Count(), 9);
    QCOMPARE(m_eval->ErrorList().Item(5).FieldName(), QStringLiteral("NOTA_NUMERO"));
    QCOMPARE(m_eval->ErrorList().Item(5).Count(), 2);
}

void TstEvalLancNotas::editedNote_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("name changed, number kept") << "CLI_NOME" << QVariant("OUTRO") << QStringList{};
    QTest::newRow("number written again unchanged") << "NOTA_NUMERO" << QVariant(600) << QStringList{};
    QTest::newRow("number of another note") << "NOTA_NUMERO" << QVariant(500) << QStringList{Rule6b};
    QTest::newRow("free number") << "NOTA_NUMERO" << QVariant(601) << QStringList{};
    QTest::newRow("number cleared") << "NOTA_NUMERO" << QVariant() << QStringList{Rule6a, Rule6b};
}

void TstEvalLancNotas::editedNote()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QVERIFY(m_controle->LocateID(2));
    m_controle->edit();
    m_controle->fieldByName(field).setValue(value);
    QTEST(evaluate(), "expected");
    for (const TZelError &e : m_eval->ErrorList().AllErrors())
        QCOMPARE(e.RecordID, 2);
}

QTEST_GUILESS_MAIN(TstEvalLancNotas)
#include "tst_evallancnotas.moc"
