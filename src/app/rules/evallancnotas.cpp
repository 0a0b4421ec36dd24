#include "evallancnotas.h"

#include "framework/data/zeldataset.h"
#include "framework/data/zelutils.h"
#include "framework/validation/zelevaluate.h"

#include "platform/db/currency.h"
#include "platform/db/dataset.h"
#include "platform/db/field.h"

namespace {

void report(TZelErrors &errors, const QString &message, const char *control, const char *field, int kind)
{
    AddError(errors, message, QString(), TEvalLancNotas::FormClass(), QLatin1String(control),
             QLatin1String(field), kind, TEvalLancNotas::Code);
}

bool isEmpty(const TEvalInfo &info)
{
    return EvalValueAsText(info).isEmpty();
}

// Amounts compare as currency with four decimals; a field left empty counts as zero.
db::Currency amount(const db::Field *field)
{
    return field ? field->asCurrency() : db::Currency();
}

db::Currency amount(const TEvalInfo &info)
{
    if (info.Field)
        return amount(info.Field);
    bool ok = false;
    const double value = info.Value.toDouble(&ok);
    return ok ? db::Currency::fromDouble(value) : db::Currency();
}

db::Field *otherField(const TEvalInfo &info, const char *name)
{
    return info.DataSet ? info.DataSet->findField(QLatin1String(name)) : nullptr;
}

} // namespace

TEvalLancNotas::TEvalLancNotas()
{
    RegisterRule(QStringLiteral("LEILAO_DATA"), &TEvalLancNotas::LeilaoData);
    RegisterRule(QStringLiteral("LEILAO_NUMERO"), &TEvalLancNotas::LeilaoNumero);
    RegisterRule(QStringLiteral("CLI_TIPO_PESSOA"), &TEvalLancNotas::TipoPessoa);
    RegisterRule(QStringLiteral("CLI_DOCUMENTO"), &TEvalLancNotas::Documento);
    RegisterRule(QStringLiteral("CLI_NOME"), &TEvalLancNotas::Nome);
    RegisterRule(QStringLiteral("NOTA_NUMERO"), &TEvalLancNotas::NotaNumero);
    RegisterRule(QStringLiteral("NOTA_MERCADORIA"), &TEvalLancNotas::Mercadoria);
    RegisterRule(QStringLiteral("NOTA_PER_COMISSAO"), &TEvalLancNotas::PerComissao);
    RegisterRule(QStringLiteral("NOTA_COMISSAO"), &TEvalLancNotas::Comissao);
    RegisterRule(QStringLiteral("NOTA_TOTAL"), &TEvalLancNotas::Total);
}

void TEvalLancNotas::LeilaoData(const TEvalInfo &info, TZelErrors &errors)
{
    if (isEmpty(info))
        report(errors, QStringLiteral("< NOTAS > - Falta informar a data leilão!"), "edtLeilaoData",
               "LEILAO_DATA", ZelErrorKind::Error);
}

void TEvalLancNotas::LeilaoNumero(const TEvalInfo &info, TZelErrors &errors)
{
    if (isEmpty(info))
        report(errors, QStringLiteral("< NOTAS > - Falta informar o número leilão!"), "edtLeilaoNumero",
               "LEILAO_NUMERO", ZelErrorKind::Error);
}

void TEvalLancNotas::TipoPessoa(const TEvalInfo &info, TZelErrors &errors)
{
    const QString text = EvalValueAsText(info);
    if (text != QLatin1String("1") && text != QLatin1String("2"))
        report(errors,
               QStringLiteral("< NOTAS > - Falta informar o tipo de pessoa do cliente, jurídica ou física!"),
               "edtTipoPessoa", "CLI_TIPO_PESSOA", ZelErrorKind::Error);
}

void TEvalLancNotas::Documento(const TEvalInfo &info, TZelErrors &errors)
{
    const QString text = EvalValueAsText(info);
    if (text.isEmpty()) {
        report(errors, QStringLiteral("< NOTAS > - Falta informar o documento!"), "edtDocumento",
               "CLI_DOCUMENTO", ZelErrorKind::Error);
        return;
    }
    const db::Field *tipo = otherField(info, "CLI_TIPO_PESSOA");
    const int tipoPessoa = tipo ? tipo->asInteger() : 0;
    const QString digits = ZelUtils::OnlyDigits(text);
    // CheckCPF lets an empty text pass, but the document edit also takes blanks, "%" and "'": something was
    // typed here, and without a single digit it is no CPF.
    if (tipoPessoa == 1 && (digits.isEmpty() || !ZelUtils::CheckCPF(digits)))
        report(errors, QStringLiteral("< NOTAS > - Digito verificador do CPF não confere!"), "edtDocumento",
               "CLI_DOCUMENTO", ZelErrorKind::Warning);
    else if (tipoPessoa == 2 && !ZelUtils::CheckCNPJ(digits))
        report(errors, QStringLiteral("< NOTAS > - Digito verificador do CNPJ não confere!"), "edtDocumento",
               "CLI_DOCUMENTO", ZelErrorKind::Warning);
}

void TEvalLancNotas::Nome(const TEvalInfo &info, TZelErrors &errors)
{
    if (isEmpty(info))
        report(errors, QStringLiteral("< NOTAS > - Falta informar o nome do cliente!"), "edtNome", "CLI_NOME",
               ZelErrorKind::Error);
}

void TEvalLancNotas::NotaNumero(const TEvalInfo &info, TZelErrors &errors)
{
    if (isEmpty(info))
        report(errors, QStringLiteral("< NOTAS > - Falta informar o número da nota!"), "edtNotaNumero",
               "NOTA_NUMERO", ZelErrorKind::Error);
    // The number of a note already saved is looked up only when it is new or was changed, so that the
    // note itself never counts as its own duplicate.
    db::DataSet *ds = info.DataSet;
    if (!ds || !info.Field)
        return;
    const bool inserting = ds->state() == db::DataSetState::Insert;
    const bool changed =
        ds->state() == db::DataSetState::Edit && info.Field->oldValue() != info.Field->newValue();
    if ((inserting || changed) &&
        ZelDataSet::ExistsInTable(*ds, QStringLiteral("NOTA_NUMERO"), QStringLiteral("CONTROLE"),
                                  QStringLiteral("NOTA_NUMERO")))
        report(errors, QStringLiteral("< NOTAS > - Já existe uma nota fiscal com esse número!"),
               "edtNotaNumero", "NOTA_NUMERO", ZelErrorKind::Warning);
}

void TEvalLancNotas::Mercadoria(const TEvalInfo &info, TZelErrors &errors)
{
    if (amount(info) <= db::Currency())
        report(errors, QStringLiteral("< NOTAS > - Falta informar o valor da mercadoria!"), "edtMercadoria",
               "NOTA_MERCADORIA", ZelErrorKind::Error);
}

void TEvalLancNotas::PerComissao(const TEvalInfo &info, TZelErrors &errors)
{
    if (amount(info) <= db::Currency())
        report(errors, QStringLiteral("< NOTAS > - Falta informar o percentual da comissão!"),
               "edtPerComissao", "NOTA_PER_COMISSAO", ZelErrorKind::Error);
}

void TEvalLancNotas::Comissao(const TEvalInfo &info, TZelErrors &errors)
{
    if (amount(info) <= db::Currency())
        report(errors, QStringLiteral("< NOTAS > - Falta informar o valor da comissão!"), "edtComissao",
               "NOTA_COMISSAO", ZelErrorKind::Error);
}

void TEvalLancNotas::Total(const TEvalInfo &info, TZelErrors &errors)
{
    const db::Currency sum = amount(otherField(info, "NOTA_MERCADORIA")) +
                             amount(otherField(info, "NOTA_COMISSAO")) +
                             amount(otherField(info, "NOTA_TAXA_ADMIN"));
    if (amount(info) != sum)
        report(errors,
               QStringLiteral(
                   "< NOTAS > - A soma do valor mercadoria + comissão + taxa admin. não bate com o total!"),
               "edtTotal", "NOTA_TOTAL", ZelErrorKind::Warning);
}
