#include "dmleilao.h"

#include "dmcommon.h"
#include "tabledefinition.h"

#include "framework/data/zeldataset.h"
#include "framework/data/zelsqlglobals.h"
#include "framework/data/zelutils.h"
#include "platform/db/dberror.h"

namespace {

using db::FieldType;

const TableDefinition &controleTable()
{
    static const TableDefinition t(QStringLiteral("CONTROLE"),
                                   {{QStringLiteral("ID"), FieldType::Integer},
                                    {QStringLiteral("LEILAO_DATA"), FieldType::Date},
                                    {QStringLiteral("LEILAO_NUMERO"), FieldType::String, 8},
                                    {QStringLiteral("CLI_TIPO_PESSOA"), FieldType::Integer},
                                    {QStringLiteral("CLI_DOCUMENTO"), FieldType::String, 14},
                                    {QStringLiteral("CLI_NOME"), FieldType::String, 50},
                                    {QStringLiteral("NOTA_NUMERO"), FieldType::Integer},
                                    {QStringLiteral("NOTA_MERCADORIA"), FieldType::Float},
                                    {QStringLiteral("NOTA_PER_COMISSAO"), FieldType::Float},
                                    {QStringLiteral("NOTA_COMISSAO"), FieldType::Float},
                                    {QStringLiteral("NOTA_TAXA_ADMIN"), FieldType::Float},
                                    {QStringLiteral("NOTA_TOTAL"), FieldType::Float},
                                    {QStringLiteral("USUARIOID"), FieldType::Integer}});
    return t;
}

TZelSQLGlobals &globalsOf(const TZelDataSet &dataSet)
{
    TZelSQLGlobals *globals = dataSet.SQLGlobals();
    if (!globals)
        throw db::ProgrammingError(QStringLiteral("%1: SQLGlobals not assigned").arg(dataSet.objectName()));
    return *globals;
}

} // namespace

TdmLeilao *dmLeilao = nullptr;

TdmLeilao::TdmLeilao(QObject *parent) : TClsDataModule(parent)
{
    setObjectName(QStringLiteral("dmLeilao"));

    CONTROLE = new TZelDataSet(this);
    CONTROLE->setObjectName(QStringLiteral("CONTROLE"));
    controleTable().applyTo(*CONTROLE);
    CONTROLE->setSelectSql(QStringLiteral("select * from CONTROLE where LEILAO_DATA >= :DATA_INI and "
                                          "LEILAO_DATA <= :DATA_FIM order by LEILAO_DATA"));
    CONTROLE->setGeneratorField(
        {QStringLiteral("ID"), QStringLiteral("GEN_CONTROLE_ID"), 1, db::GeneratorField::ApplyOn::Post});

    const struct
    {
        const char *field;
        const char *label;
    } labels[] = {
        {"LEILAO_DATA", "Data Leilão"},
        {"LEILAO_NUMERO", "Número Leilão"},
        {"CLI_TIPO_PESSOA", "Tipo Pessoa"},
        {"CLI_DOCUMENTO", "Documento"},
        {"CLI_NOME", "Nome"},
        {"NOTA_NUMERO", "Número"},
        {"NOTA_MERCADORIA", "Valor Mercadoria"},
        {"NOTA_PER_COMISSAO", "Perc. Comissão"},
        {"NOTA_COMISSAO", "Comissão"},
        {"NOTA_TAXA_ADMIN", "Taxa Administrativa"},
        {"NOTA_TOTAL", "Total"},
    };
    for (const auto &l : labels)
        CONTROLE->fieldByName(QLatin1String(l.field)).setDisplayLabel(QString::fromUtf8(l.label));
    for (const char *name :
         {"NOTA_MERCADORIA", "NOTA_PER_COMISSAO", "NOTA_COMISSAO", "NOTA_TAXA_ADMIN", "NOTA_TOTAL"})
        CONTROLE->fieldByName(QLatin1String(name)).setCurrency(true);
    for (const char *name : {"ID", "CLI_TIPO_PESSOA", "USUARIOID"})
        CONTROLE->fieldByName(QLatin1String(name)).setVisible(false);

    TdmCommon::AttachDocumentRule(CONTROLE->fieldByName(QStringLiteral("CLI_DOCUMENTO")),
                                  QStringLiteral("CLI_TIPO_PESSOA"));

    CONTROLE->beforeOpen = [this](db::DataSet &ds) { controleBeforeOpen(ds); };
    CONTROLE->beforePost = [this](db::DataSet &ds) { controleBeforePost(ds); };
}

void TdmLeilao::controleBeforeOpen(db::DataSet &dataSet)
{
    const QDate work = globalsOf(*CONTROLE).DataAtual().Data();
    const QDate first = work.isValid() ? QDate(work.year(), work.month(), 1) : QDate();
    const QDate dataIni = ZelUtils::FirstDayOfMonth(first);
    const QDate dataFim = ZelUtils::LastDayOfMonth(first);
    // A select rewritten elsewhere may lack the month; it then opens as it stands.
    const auto setMonthParam = [&](const QString &name, QDate date) {
        if (!CONTROLE->HasParam(name))
            return;
        if (date.isValid())
            dataSet.param(name).setDate(date);
        else
            dataSet.param(name).clear();
    };
    setMonthParam(QStringLiteral("DATA_INI"), dataIni);
    setMonthParam(QStringLiteral("DATA_FIM"), dataFim);
}

void TdmLeilao::controleBeforePost(db::DataSet &dataSet)
{
    dataSet.fieldByName(QStringLiteral("USUARIOID")).setAsInteger(globalsOf(*CONTROLE).UsuarioID());
}
