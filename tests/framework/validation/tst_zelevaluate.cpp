#include "testdatabase.h"

#include "framework/validation/zelevaluate.h"

#include "platform/db/dberror.h"

#include <QTest>

#include <memory>
#include <stdexcept>

namespace {

// What happened during one evaluation, in order ("before:X", "rule:X", "after:X").
QStringList g_trace;
int g_ruleSetsAlive = 0;
int g_ruleSetsMade = 0;

/// Rules registered in an order unlike the alphabet, one field twice, one field the data set lacks.
class SampleRules : public TEvalObj
{
public:
    SampleRules()
    {
        ++g_ruleSetsAlive;
        ++g_ruleSetsMade;
        RegisterRule(QStringLiteral("nome"), &SampleRules::Nome);
        RegisterRule(QStringLiteral("VALOR"), &SampleRules::Valor);
        RegisterRule(QStringLiteral("NOME"), &SampleRules::NomeAgain);
        RegisterRule(QStringLiteral("AUSENTE"), &SampleRules::Ausente);
    }
    ~SampleRules() override { --g_ruleSetsAlive; }

private:
    void Nome(const TEvalInfo &info, TZelErrors &errors)
    {
        g_trace << QStringLiteral("rule:NOME");
        if (EvalValueAsText(info).isEmpty()) {
            AddError(errors, QStringLiteral("primeira"), QString(), QStringLiteral("TfrmTeste"),
                     QStringLiteral("edtNome"), QStringLiteral("NOME"), ZelErrorKind::Error, 1);
            AddError(errors, QStringLiteral("segunda"), QStringLiteral("detalhe"),
                     QStringLiteral("TfrmTeste"), QStringLiteral("edtNome"), QStringLiteral("NOME"),
                     ZelErrorKind::Hint, 2);
        }
    }
    void Valor(const TEvalInfo &info, TZelErrors &errors)
    {
        g_trace << QStringLiteral("rule:VALOR");
        if (info.Field && info.Field->asCurrency() <= db::Currency())
            AddError(errors, QStringLiteral("valor"), QString(), QStringLiteral("TfrmTeste"),
                     QStringLiteral("edtValor"), QStringLiteral("VALOR"), ZelErrorKind::Warning, 3);
    }
    void NomeAgain(const TEvalInfo &, TZelErrors &) { g_trace << QStringLiteral("rule:NOME2"); }
    void Ausente(const TEvalInfo &info, TZelErrors &errors)
    {
        g_trace << QStringLiteral("rule:AUSENTE");
        if (!info.Field && EvalValueAsText(info).isEmpty())
            AddError(errors, QStringLiteral("ausente"), QString(), QStringLiteral("TfrmTeste"), QString(),
                     QStringLiteral("AUSENTE"), ZelErrorKind::Hint, 4);
    }
};

/// A rule set whose second rule fails the way a database check can.
class FailingRules : public TEvalObj
{
public:
    FailingRules()
    {
        ++g_ruleSetsAlive;
        RegisterRule(QStringLiteral("NOME"), [](const TEvalInfo &, TZelErrors &errors) {
            AddError(errors, QStringLiteral("antes"), QString(), QString(), QString(), QStringLiteral("NOME"),
                     ZelErrorKind::Error, 1);
        });
        RegisterRule(QStringLiteral("VALOR"),
                     [](const TEvalInfo &, TZelErrors &) { throw std::runtime_error("falhou"); });
    }
    ~FailingRules() override { --g_ruleSetsAlive; }
};

} // namespace

class TstZelEvaluate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void withoutRuleSetNothingChanges();
    void rulesRunInRegistrationOrderBetweenHooks();
    void findingsCarryTheirContext();
    void freshRuleSetEveryTime();
    void hooksFoundByNameInAnyCase_data();
    void hooksFoundByNameInAnyCase();
    void emptyClassLeavesListAlone();
    void ruleExceptionEndsEvaluation();
    void recordIdWithoutIdField();
    void evalValueAsText_data();
    void evalValueAsText();
    void kindLabels();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<db::DataSet> m_ds;
    std::unique_ptr<TZelEvaluate> m_eval;
};

void TstZelEvaluate::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    m_db->exec({QStringLiteral("create table FICHA (ID integer not null primary key, NOME varchar(20), "
                               "VALOR double precision)"),
                QStringLiteral("create table SEM_ID (NOME varchar(20), VALOR double precision)")});
    m_db->exec({QStringLiteral("insert into FICHA values (7, NULL, 0)"),
                QStringLiteral("insert into FICHA values (8, 'OITO', 12.5)"),
                QStringLiteral("insert into SEM_ID values (NULL, 1)")});
}

void TstZelEvaluate::init()
{
    g_trace.clear();
    m_ds = std::make_unique<db::DataSet>();
    m_ds->setDatabase(&m_db->database());
    m_ds->setTransaction(&m_db->transaction());
    m_ds->setSelectSql(QStringLiteral("select * from FICHA order by ID"));
    m_ds->open();
    m_eval = std::make_unique<TZelEvaluate>();
    m_eval->setDataSet(m_ds.get());
    m_eval->GetEvalClass = [](TEvalClass &c) { c = EvalClassOf<SampleRules>(); };
}

void TstZelEvaluate::cleanup()
{
    m_eval.reset();
    m_ds.reset();
    QCOMPARE(g_ruleSetsAlive, 0);
}

void TstZelEvaluate::withoutRuleSetNothingChanges()
{
    TZelEvaluate eval;
    eval.setDataSet(m_ds.get());
    eval.ErrorList().Add().setFieldName(QStringLiteral("anterior"));
    eval.Evaluate();
    QCOMPARE(eval.ErrorList().Count(), 1);
    QCOMPARE(eval.ErrorList().Item(0).FieldName(), QStringLiteral("ANTERIOR"));
    QVERIFY(g_trace.isEmpty());
}

void TstZelEvaluate::rulesRunInRegistrationOrderBetweenHooks()
{
    for (const char *name : {"NOME", "VALOR", "SEM_REGRA"}) {
        TEvalItem &item = m_eval->Evals().Add(QLatin1String(name));
        const QString n = item.FieldName();
        item.OnBeforeEvaluate = [n](const TEvalInfo &info, TZelErrors &errors) {
            g_trace << QStringLiteral("before:") + n;
            QCOMPARE(errors.FieldName(), n);
            QCOMPARE(errors.Count(), 0);
            QVERIFY(info.DataSet != nullptr);
        };
        item.OnAfterEvaluate = [n](const TEvalInfo &, TZelErrors &errors) {
            g_trace << QStringLiteral("after:%1:%2").arg(n).arg(errors.Count());
        };
    }
    m_eval->Evaluate();
    QCOMPARE(g_trace,
             (QStringList{"before:NOME", "rule:NOME", "after:NOME:2", "before:VALOR", "rule:VALOR",
                          "after:VALOR:1", "before:NOME", "rule:NOME2", "after:NOME:0", "rule:AUSENTE"}));
    // Items without findings are dropped; the others keep the evaluation order.
    const TZelErrorList &list = m_eval->ErrorList();
    QCOMPARE(list.Count(), 3);
    QCOMPARE(list.Item(0).FieldName(), QStringLiteral("NOME"));
    QCOMPARE(list.Item(0).Count(), 2);
    QCOMPARE(list.Item(0).Item(0).Message, QStringLiteral("primeira"));
    QCOMPARE(list.Item(0).Item(1).Message, QStringLiteral("segunda"));
    QCOMPARE(list.Item(1).FieldName(), QStringLiteral("VALOR"));
    QCOMPARE(list.Item(2).FieldName(), QStringLiteral("AUSENTE"));
    QVERIFY(list.HasKind(ZelErrorKind::Error));
    QCOMPARE(list.AllErrors().size(), size_t(4));
}

void TstZelEvaluate::findingsCarryTheirContext()
{
    m_eval->Evaluate();
    const TZelError &e = m_eval->ErrorList().Item(0).Item(1);
    QCOMPARE(e.Message, QStringLiteral("segunda"));
    QCOMPARE(e.Detail, QStringLiteral("detalhe"));
    QCOMPARE(e.Kind, ZelErrorKind::Hint);
    QCOMPARE(e.Code, 2);
    QCOMPARE(e.DataSet, m_ds.get());
    QCOMPARE(e.FieldName, QStringLiteral("NOME"));
    QCOMPARE(e.ControlName, QStringLiteral("edtNome"));
    QCOMPARE(e.RecordID, 7);
    QCOMPARE(e.FormClass, QStringLiteral("TfrmTeste"));
}

void TstZelEvaluate::freshRuleSetEveryTime()
{
    g_ruleSetsMade = 0;
    m_eval->Evaluate();
    QCOMPARE(m_eval->ErrorList().Count(), 3);
    m_ds->next(); // a complete record: only the missing field is left
    m_eval->Evaluate();
    QCOMPARE(g_ruleSetsMade, 2);
    QCOMPARE(m_eval->ErrorList().Count(), 1);
    QCOMPARE(m_eval->ErrorList().Item(0).FieldName(), QStringLiteral("AUSENTE"));
    QCOMPARE(m_eval->ErrorList().Item(0).Item(0).RecordID, 8);
}

void TstZelEvaluate::hooksFoundByNameInAnyCase_data()
{
    QTest::addColumn<QString>("itemName");
    QTest::addColumn<QString>("ruleName");
    QTest::newRow("rule lower, item upper") << "NOME"
                                            << "nome";
    QTest::newRow("rule upper, item lower") << "valor"
                                            << "VALOR";
    QTest::newRow("mixed") << "NoMe"
                           << "nOmE";
}

void TstZelEvaluate::hooksFoundByNameInAnyCase()
{
    QFETCH(QString, itemName);
    QFETCH(QString, ruleName);
    TEvalItem &item = m_eval->Evals().Add(itemName);
    QCOMPARE(item.FieldName(), itemName.toUpper());
    QCOMPARE(m_eval->Evals().Find(ruleName), &item);
    int calls = 0;
    item.OnBeforeEvaluate = [&calls](const TEvalInfo &, TZelErrors &) { ++calls; };
    m_eval->GetEvalClass = [ruleName](TEvalClass &c) {
        c = [ruleName] {
            auto rules = std::make_unique<TEvalObj>();
            rules->RegisterRule(ruleName, [](const TEvalInfo &info, TZelErrors &) { QVERIFY(info.Field); });
            return rules;
        };
    };
    m_eval->Evaluate();
    QCOMPARE(calls, 1);
    QCOMPARE(m_eval->Evals().Find(QStringLiteral("OUTRO")), nullptr);
}

void TstZelEvaluate::emptyClassLeavesListAlone()
{
    m_eval->Evaluate();
    QCOMPARE(m_eval->ErrorList().Count(), 3);
    m_eval->GetEvalClass = [](TEvalClass &) {};
    m_eval->Evaluate();
    QCOMPARE(m_eval->ErrorList().Count(), 3);
}

void TstZelEvaluate::ruleExceptionEndsEvaluation()
{
    m_eval->GetEvalClass = [](TEvalClass &c) { c = EvalClassOf<FailingRules>(); };
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, m_eval->Evaluate());
    QCOMPARE(g_ruleSetsAlive, 0);
    QCOMPARE(m_eval->ErrorList().Count(), 2);
    QCOMPARE(m_eval->ErrorList().Item(0).Item(0).Message, QStringLiteral("antes"));
}

void TstZelEvaluate::recordIdWithoutIdField()
{
    db::DataSet semId;
    semId.setDatabase(&m_db->database());
    semId.setTransaction(&m_db->transaction());
    semId.setSelectSql(QStringLiteral("select * from SEM_ID"));
    semId.open();
    m_eval->setDataSet(&semId);
    m_eval->Evaluate();
    QCOMPARE(m_eval->ErrorList().Item(0).Item(0).RecordID, -1);
    QCOMPARE(m_eval->ErrorList().Item(0).Item(0).DataSet, &semId);

    m_eval->setDataSet(nullptr);
    m_eval->Evaluate();
    const std::vector<TZelError> all = m_eval->ErrorList().AllErrors();
    QCOMPARE(all.size(), size_t(3)); // NOME twice (no field: empty text), AUSENTE
    QCOMPARE(all.front().RecordID, -1);
    QCOMPARE(all.front().DataSet, nullptr);

    TZelErrors alone;
    AddError(alone, QStringLiteral("solto"), QString(), QString(), QString(), QStringLiteral("X"),
             ZelErrorKind::Hint, 9);
    QCOMPARE(alone.Count(), 1);
    QCOMPARE(alone.Item(0).RecordID, -1);
}

void TstZelEvaluate::evalValueAsText_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("field null") << "NOME" << QVariant("ignored") << "";
    QTest::newRow("field number") << "VALOR" << QVariant() << "0";
    QTest::newRow("no field, no value") << "" << QVariant() << "";
    QTest::newRow("no field, null value") << "" << QVariant(QMetaType(QMetaType::QString)) << "";
    QTest::newRow("no field, value") << "" << QVariant(12) << "12";
}

void TstZelEvaluate::evalValueAsText()
{
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    TEvalInfo info;
    info.DataSet = m_ds.get();
    info.Field = field.isEmpty() ? nullptr : m_ds->findField(field);
    info.Value = value;
    QTEST(EvalValueAsText(info), "expected");
}

void TstZelEvaluate::kindLabels()
{
    QCOMPARE(ZelErrorKind::Label(ZelErrorKind::Error), QStringLiteral("[Erro] - "));
    QCOMPARE(ZelErrorKind::Label(ZelErrorKind::Warning), QStringLiteral("[Aviso] - "));
    QCOMPARE(ZelErrorKind::Label(ZelErrorKind::Hint), QStringLiteral("[Dica] - "));
}

QTEST_GUILESS_MAIN(TstZelEvaluate)
#include "tst_zelevaluate.moc"
