#include "dmcommon.h"

#include "tabledefinition.h"

#include "framework/data/zeldataset.h"
#include "framework/data/zelutils.h"
#include "platform/db/datasource.h"
#include "platform/mask/editmask.h"

namespace {

using db::FieldType;
using Column = TableDefinition::Column;

constexpr FieldType Str = FieldType::String;
constexpr FieldType Int = FieldType::Integer;
constexpr FieldType Small = FieldType::SmallInt;
constexpr FieldType Dbl = FieldType::Float;

const TableDefinition &clienteTable()
{
    static const TableDefinition t(QStringLiteral("CLIENTE"),
                                   {{QStringLiteral("ID"), Int},
                                    {QStringLiteral("CODIGO"), Str, 8},
                                    {QStringLiteral("NOME"), Str, 50},
                                    {QStringLiteral("FANTASIA"), Str, 50},
                                    {QStringLiteral("CNPJ_CPF"), Str, 15},
                                    {QStringLiteral("TIPOPESSOA"), Small},
                                    {QStringLiteral("IE_RG"), Str, 20},
                                    {QStringLiteral("RESP"), Str, 35},
                                    {QStringLiteral("RG_RESP"), Str, 10},
                                    {QStringLiteral("CCM"), Str, 20},
                                    {QStringLiteral("ENDERECO"), Str, 40},
                                    {QStringLiteral("NUMERO"), Str, 10},
                                    {QStringLiteral("COMPLEMENTO"), Str, 30},
                                    {QStringLiteral("BAIRRO"), Str, 40},
                                    {QStringLiteral("CIDADE"), Str, 40},
                                    {QStringLiteral("UF"), Str, 2},
                                    {QStringLiteral("CEP"), Str, 9},
                                    {QStringLiteral("TEL_DDD"), Str, 3},
                                    {QStringLiteral("TEL"), Str, 12},
                                    {QStringLiteral("FAX_DDD"), Str, 3},
                                    {QStringLiteral("FAX"), Str, 12},
                                    {QStringLiteral("CEL_DDD"), Str, 3},
                                    {QStringLiteral("CEL"), Str, 12},
                                    {QStringLiteral("IMP_NF"), FieldType::FixedChar, 1},
                                    {QStringLiteral("EMAIL"), Str, 50},
                                    {QStringLiteral("PAGINA"), Str, 50},
                                    {QStringLiteral("SIMPLES"), Str, 1},
                                    {QStringLiteral("OBSERVACOES"), FieldType::TextBlob},
                                    {QStringLiteral("PST_ENDERECO"), Str, 40},
                                    {QStringLiteral("PST_NUMERO"), Str, 10},
                                    {QStringLiteral("PST_COMPLEMENTO"), Str, 30},
                                    {QStringLiteral("PST_BAIRRO"), Str, 40},
                                    {QStringLiteral("PST_CIDADE"), Str, 40},
                                    {QStringLiteral("PST_UF"), Str, 2},
                                    {QStringLiteral("PST_CEP"), Str, 9},
                                    {QStringLiteral("DESATIVACAO_DATA"), FieldType::Date},
                                    {QStringLiteral("DESATIVACAO_PORID"), Int}});
    return t;
}

const TableDefinition &unidadeTable()
{
    static const TableDefinition t(QStringLiteral("UNIDADE"), {{QStringLiteral("ID"), Int},
                                                               {QStringLiteral("SIGLA"), Str, 2},
                                                               {QStringLiteral("TITULO"), Str, 15}});
    return t;
}

const TableDefinition &dadosEmpresaTable()
{
    static const TableDefinition t(QStringLiteral("DADOS_EMPRESA"),
                                   {{QStringLiteral("ID"), Int},
                                    {QStringLiteral("RAZAO_SOCIAL"), Str, 50},
                                    {QStringLiteral("CNPJ"), Str, 20},
                                    {QStringLiteral("ENDERECO"), Str, 40},
                                    {QStringLiteral("NUMERO"), Str, 10},
                                    {QStringLiteral("COMPLEMENTO"), Str, 30},
                                    {QStringLiteral("BAIRRO"), Str, 40},
                                    {QStringLiteral("CIDADE"), Str, 40},
                                    {QStringLiteral("UF"), Str, 2},
                                    {QStringLiteral("CEP"), Str, 9},
                                    {QStringLiteral("DDD"), Str, 3},
                                    {QStringLiteral("TELEFONE"), Str, 10},
                                    {QStringLiteral("BINARIO"), FieldType::BinaryBlob},
                                    {QStringLiteral("BINARIO_EXT"), Str, 5}});
    return t;
}

// BANCO and its accounts are keyed by their business keys, not by ID.
const TableDefinition &bancoTable()
{
    static const TableDefinition t(
        QStringLiteral("BANCO"),
        {{QStringLiteral("ID"), Int}, {QStringLiteral("BANCO"), Int}, {QStringLiteral("NOME"), Str, 30}},
        {QStringLiteral("BANCO")});
    return t;
}

const TableDefinition &contaCorrenteTable()
{
    static const TableDefinition t(
        QStringLiteral("CONTA_CORRENTE"),
        {{QStringLiteral("ID"), Int},
         {QStringLiteral("BANCO"), Int},
         {QStringLiteral("NUM_AGENCIA"), Str, 10},
         {QStringLiteral("NUM_CONTA"), Str, 15},
         {QStringLiteral("NOME_AGENCIA"), Str, 30},
         {QStringLiteral("ENDERECO_AGENCIA"), Str, 40},
         {QStringLiteral("NUMERO_AGENCIA"), Str, 10},
         {QStringLiteral("COMPLEMENTO_AGENCIA"), Str, 30},
         {QStringLiteral("BAIRRO_AGENCIA"), Str, 40},
         {QStringLiteral("CIDADE_AGENCIA"), Str, 40},
         {QStringLiteral("UF_AGENCIA"), Str, 2},
         {QStringLiteral("CEP_AGENCIA"), Str, 9},
         {QStringLiteral("GERENTE"), Str, 40},
         {QStringLiteral("DDD"), Int},
         {QStringLiteral("TELEFONE"), Str, 10},
         {QStringLiteral("CODIGO_CEDENTE"), Str, 15},
         {QStringLiteral("CARTEIRA"), Str, 5},
         {QStringLiteral("USA_OUTRO_TITULAR"), FieldType::FixedChar, 1},
         {QStringLiteral("TITULAR_NOME"), Str, 50},
         {QStringLiteral("TITULAR_CNPJ"), Str, 20},
         {QStringLiteral("TITULAR_CCM"), Str, 20},
         {QStringLiteral("TITULAR_ENDERECO"), Str, 40},
         {QStringLiteral("TITULAR_NUMERO"), Str, 10},
         {QStringLiteral("TITULAR_COMPLEMENTO"), Str, 30},
         {QStringLiteral("TITULAR_BAIRRO"), Str, 40},
         {QStringLiteral("TITULAR_CIDADE"), Str, 40},
         {QStringLiteral("TITULAR_UF"), Str, 2},
         {QStringLiteral("TITULAR_CEP"), Str, 9},
         {QStringLiteral("TITULAR_DDD"), Str, 3},
         {QStringLiteral("TITULAR_TEL"), Str, 10},
         {QStringLiteral("TITULAR_FAXDDD"), Str, 3},
         {QStringLiteral("TITULAR_FAX"), Str, 10},
         {QStringLiteral("TITULAR_EMAIL"), Str, 255},
         {QStringLiteral("TITULAR_SITE"), Str, 255}},
        {QStringLiteral("BANCO"), QStringLiteral("NUM_AGENCIA"), QStringLiteral("NUM_CONTA")});
    return t;
}

const TableDefinition &produtoTable()
{
    static const TableDefinition t(QStringLiteral("PRODUTO"),
                                   {{QStringLiteral("ID"), Int},
                                    {QStringLiteral("UNIDADEID"), Int},
                                    {QStringLiteral("FABRICANTEID"), Int},
                                    {QStringLiteral("DESCRICAO"), Str, 50},
                                    {QStringLiteral("CUSTO"), Dbl},
                                    {QStringLiteral("VALOR"), Dbl},
                                    {QStringLiteral("ESTOQUE"), Dbl},
                                    {QStringLiteral("ESTOQUE_MINIMO"), Dbl},
                                    {QStringLiteral("TIPO_PRODUTO"), Small},
                                    {QStringLiteral("USA_MARG_LUCRO"), FieldType::FixedChar, 1},
                                    {QStringLiteral("MARG_LUCRO"), Dbl},
                                    {QStringLiteral("PESO_LIQUIDO"), Dbl},
                                    {QStringLiteral("CLASSIFICACAO_FISCAL"), Str, 16}});
    return t;
}

const TableDefinition &fornecedorTable()
{
    static const TableDefinition t(QStringLiteral("FORNECEDOR"),
                                   {{QStringLiteral("ID"), Int},
                                    {QStringLiteral("NOME"), Str, 50},
                                    {QStringLiteral("CNPJ"), Str, 20},
                                    {QStringLiteral("INSCRICAO_ESTADUAL"), Str, 20},
                                    {QStringLiteral("TIPO_FORNECEDOR"), Small},
                                    {QStringLiteral("RESPONSAVEL"), Str, 50},
                                    {QStringLiteral("RG"), Str, 20},
                                    {QStringLiteral("ENDERECO"), Str, 50},
                                    {QStringLiteral("NUMERO"), Str, 10},
                                    {QStringLiteral("COMPLEMENTO"), Str, 25},
                                    {QStringLiteral("BAIRRO"), Str, 30},
                                    {QStringLiteral("CIDADE"), Str, 30},
                                    {QStringLiteral("ESTADO"), Str, 2},
                                    {QStringLiteral("CEP"), Str, 10},
                                    {QStringLiteral("TELEFONEDDD"), Small},
                                    {QStringLiteral("TELEFONE"), Str, 10},
                                    {QStringLiteral("FAXDDD"), Small},
                                    {QStringLiteral("FAX"), Str, 10},
                                    {QStringLiteral("CELULARDDD"), Small},
                                    {QStringLiteral("CELULAR"), Str, 10},
                                    {QStringLiteral("EMAIL"), Str, 50},
                                    {QStringLiteral("PAGINA"), Str, 50},
                                    {QStringLiteral("CODIGO"), Str, 8}});
    return t;
}

TZelDataSet *makeDataSet(QObject *owner, const QString &name, const TableDefinition &table,
                         const QString &selectSql)
{
    auto *ds = new TZelDataSet(owner);
    ds->setObjectName(name);
    table.applyTo(*ds);
    ds->setSelectSql(selectSql);
    return ds;
}

void useGenerator(TZelDataSet *ds, const QString &generator, db::GeneratorField::ApplyOn applyOn)
{
    ds->setGeneratorField({QStringLiteral("ID"), generator, 1, applyOn});
}

const mask::EditMask &cpfMask()
{
    static const mask::EditMask m(QStringLiteral("999.999.999-99;0; "));
    return m;
}

const mask::EditMask &cnpjMask()
{
    static const mask::EditMask m(QStringLiteral("99.999.999/9999-99;0; "));
    return m;
}

} // namespace

TdmCommon *dmCommon = nullptr;

TdmCommon::TdmCommon(QObject *parent) : TClsDataModule(parent)
{
    setObjectName(QStringLiteral("dmCommon"));
    using ApplyOn = db::GeneratorField::ApplyOn;

    CLIENTE = makeDataSet(this, QStringLiteral("CLIENTE"), clienteTable(),
                          QStringLiteral("select * from CLIENTE order by ID"));
    useGenerator(CLIENTE, QStringLiteral("GEN_CLIENTE_ID"), ApplyOn::NewRecord);
    defineClientFields(*CLIENTE);

    UNIDADE = makeDataSet(this, QStringLiteral("UNIDADE"), unidadeTable(),
                          QStringLiteral("select * from UNIDADE order by ID"));
    useGenerator(UNIDADE, QStringLiteral("GEN_UNIDADE_ID"), ApplyOn::Post);

    BANCO = makeDataSet(this, QStringLiteral("BANCO"), bancoTable(),
                        QStringLiteral("select * from BANCO order by BANCO"));
    BANCO->setUniqueKeys({QStringLiteral("BANCO")});
    // The table's trigger numbers ID; without reading the row back, the next change of the row would write
    // that ID as null.
    BANCO->setForcedRefresh(true);

    CONTA_CORRENTE =
        makeDataSet(this, QStringLiteral("CONTA_CORRENTE"), contaCorrenteTable(),
                    QStringLiteral("select * from CONTA_CORRENTE where BANCO = :BANCO order by NUM_AGENCIA"));
    CONTA_CORRENTE->setUniqueKeys({QStringLiteral("BANCO;NUM_AGENCIA;NUM_CONTA")});
    CONTA_CORRENTE->setForcedRefresh(true);

    DADOS_EMPRESA = makeDataSet(this, QStringLiteral("DADOS_EMPRESA"), dadosEmpresaTable(),
                                QStringLiteral("select * from DADOS_EMPRESA where ID = 1"));
    // The company's data is one row: whatever creates it creates row 1, which the reports read.
    DADOS_EMPRESA->onNewRecord = [](db::DataSet &ds) {
        ds.fieldByName(QStringLiteral("ID")).setAsInteger(1);
    };

    PRODUTO =
        makeDataSet(this, QStringLiteral("PRODUTO"), produtoTable(),
                    QStringLiteral("select P.*, U.SIGLA, U.TITULO from PRODUTO P left join UNIDADE U on "
                                   "U.ID = P.UNIDADEID order by P.ID"));
    // The unit's abbreviation and title come along from the join; they are read, never written.
    PRODUTO->addField(QStringLiteral("SIGLA"), Str, 2).setReadOnly(true);
    PRODUTO->addField(QStringLiteral("TITULO"), Str, 15).setReadOnly(true);
    PRODUTO->setRefreshSql(
        QStringLiteral("Select P.%1, U.SIGLA, U.TITULO from PRODUTO P left join UNIDADE U on "
                       "U.ID = P.UNIDADEID where P.ID = :ID")
            .arg(produtoTable().columnNames().join(QStringLiteral(", P."))));
    useGenerator(PRODUTO, QStringLiteral("GEN_PRODUTO_ID"), ApplyOn::Post);

    FORNECEDOR = makeDataSet(this, QStringLiteral("FORNECEDOR"), fornecedorTable(),
                             QStringLiteral("Select * from FORNECEDOR Order by ID"));
    useGenerator(FORNECEDOR, QStringLiteral("GEN_FORNECEDOR_ID"), ApplyOn::NewRecord);

    CLIENTE_LKP = makeDataSet(this, QStringLiteral("CLIENTE_LKP"), clienteTable(),
                              QStringLiteral("select * from CLIENTE order by ID"));
    useGenerator(CLIENTE_LKP, QStringLiteral("GEN_CLIENTE_ID"), ApplyOn::NewRecord);
    defineClientFields(*CLIENTE_LKP);

    dsCLIENTE = addSource(CLIENTE);
    dsUNIDADE = addSource(UNIDADE);
    dsBANCO = addSource(BANCO);
    dsCONTA_CORRENTE = addSource(CONTA_CORRENTE);
    dsDADOS_EMPRESA = addSource(DADOS_EMPRESA);
    dsPRODUTO = addSource(PRODUTO);
    dsFORNECEDOR = addSource(FORNECEDOR);
    dsCLIENTE_LKP = addSource(CLIENTE_LKP);

    CONTA_CORRENTE->setMasterSource(dsBANCO);
    // A new account belongs to the bank it is created under; the key column is not null.
    CONTA_CORRENTE->onNewRecord = [this](db::DataSet &ds) {
        if (BANCO->isActive() && !BANCO->isEmpty())
            ds.fieldByName(QStringLiteral("BANCO"))
                .setValue(BANCO->fieldByName(QStringLiteral("BANCO")).value());
    };
}

db::DataSource *TdmCommon::addSource(TZelDataSet *dataSet)
{
    auto *source = new db::DataSource(this);
    source->setObjectName(QStringLiteral("ds") + dataSet->objectName());
    source->setDataSet(dataSet);
    return source;
}

void TdmCommon::defineClientFields(TZelDataSet &dataSet)
{
    db::Field &tipo = dataSet.fieldByName(QStringLiteral("TIPOPESSOA"));
    tipo.onGetText = [](db::Field &f, QString &text, bool) {
        text = f.isNull() ? QString() : QString::number(f.asInteger());
    };
    tipo.onSetText = [](db::Field &f, const QString &text) {
        f.setAsInteger(ZelUtils::DigitValue(text.trimmed()));
    };

    db::Field &documento = dataSet.fieldByName(QStringLiteral("CNPJ_CPF"));
    documento.setDisplayLabel(QStringLiteral("C.N.P.J./C.P.F."));
    AttachDocumentRule(documento, QStringLiteral("TIPOPESSOA"));
    // Clients keep the digits only, as many as the person type's document has.
    documento.onSetText = [](db::Field &f, const QString &text) {
        const int tipo = f.dataSet()->fieldByName(QStringLiteral("TIPOPESSOA")).asInteger();
        const QString digits = ZelUtils::OnlyDigits(text);
        if (tipo == 1)
            f.setAsString(digits.left(11));
        else if (tipo == 2)
            f.setAsString(digits.left(14));
    };

    for (const char *name : {"TEL_DDD", "FAX_DDD", "CEL_DDD"}) {
        db::Field &ddd = dataSet.fieldByName(QLatin1String(name));
        ddd.setEditMask(QStringLiteral("999;0; "));
        ddd.onSetText = [](db::Field &f, const QString &text) {
            const QString stored = DddText(text);
            if (stored.isEmpty())
                f.clear();
            else
                f.setAsString(stored);
        };
    }

    dataSet.fieldByName(QStringLiteral("RG_RESP")).setEditMask(QStringLiteral("99.999.999->a;0; "));
}

bool TdmCommon::IsControlKey(QChar &key, bool allowOthers)
{
    switch (key.unicode()) {
    case 8:  // backspace
    case 27: // escape
    case 32: // blank
    case 37: // "%"
    case 39: // "'"
        return true;
    default:
        if (!allowOthers)
            key = QChar();
        return false;
    }
}

bool TdmCommon::DigitKeyFilter(QChar &key, bool allowOthers)
{
    if (IsControlKey(key, true))
        return true;
    const bool digit = key >= u'0' && key <= u'9';
    if (!digit && !allowOthers)
        key = QChar();
    return digit;
}

namespace {

// The stored text cut to the document's length, unless the cut loses digits the display shows (a document
// typed with blanks): editing it must not drop its check digits, so it then edits as its digits.
QString documentEditText(const QString &stored, const QString &digits, qsizetype length)
{
    const QString cut = stored.left(length);
    return ZelUtils::OnlyDigits(cut) == digits.left(length) ? cut : digits.left(length);
}

} // namespace

QString TdmCommon::DocumentText(const QString &stored, int personType, bool displayText)
{
    const QString digits = ZelUtils::OnlyDigits(stored);
    if (digits.isEmpty())
        return {};
    switch (personType) {
    case 1:
        return displayText ? cpfMask().format(digits.left(11)) : documentEditText(stored, digits, 11);
    case 2:
        return displayText ? cnpjMask().format(digits.left(14)) : documentEditText(stored, digits, 14);
    default:
        return stored;
    }
}

void TdmCommon::AttachDocumentRule(db::Field &document, const QString &typeFieldName)
{
    document.onGetText = [typeFieldName](db::Field &f, QString &text, bool displayText) {
        const int tipo = f.dataSet()->fieldByName(typeFieldName).asInteger();
        text = DocumentText(f.asString(), tipo, displayText);
    };
}

QString TdmCommon::DddText(const QString &typed)
{
    const QString trimmed = typed.trimmed();
    return trimmed.isEmpty() ? QString() : trimmed.rightJustified(3, u' ');
}
