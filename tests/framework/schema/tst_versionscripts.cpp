// The version scripts carried as resources, run in order on fresh embedded databases: every statement must
// split and run, each version must leave its own number in VERSAO, and the resulting catalogue must be
// exactly the schema the program relies on.

#include "framework/schema/scriptsplitter.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/statement.h"
#include "platform/db/transaction.h"
#include "testdatabase.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <functional>
#include <memory>

namespace {

struct Version
{
    QString family;
    QString number;
    QString resource;
    int versaoId;
};

const QString CommonFolder = QStringLiteral(":/schema/common");
const QString LeilaoFolder = QStringLiteral(":/schema/leilao");

// Every version the program carries, in the order of application.
QList<Version> allVersions()
{
    QList<Version> versions;
    for (int minor = 0; minor <= 8; ++minor) {
        const QString number = QStringLiteral("1.%1").arg(minor, 2, 10, QLatin1Char('0'));
        versions.append({QStringLiteral("COMMON.SQL"), number,
                         CommonFolder + QStringLiteral("/COMMON_") + number + QStringLiteral(".SQL"), 1});
    }
    for (const QString &number : {QStringLiteral("1.00"), QStringLiteral("1.01")})
        versions.append({QStringLiteral("LEILAO.SQL"), number,
                         LeilaoFolder + QStringLiteral("/LEILAO_") + number + QStringLiteral(".SQL"), 2});
    return versions;
}

QStringList scriptLines(const QString &resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing resource %s", qPrintable(resource));
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

// How data definition reaches the server: the program's executor sends it through a transaction of its own
// committed after every statement while ordinary statements stay in the default transaction; isql-fb keeps
// one transaction and commits it after every data-definition statement.
enum class DdlMode { SeparateTransaction, SharedTransaction };

// Runs split statements the way the script executor does: the kind the server reports after preparing
// decides the transaction, COMMIT ends both.
class ScriptRunner
{
public:
    ScriptRunner(db::Database *database, DdlMode mode) : m_database(database)
    {
        for (db::Transaction *t : {&m_default, &m_ddl, &m_probe}) {
            t->setDefaultDatabase(database);
            t->setParams(TestDatabase::transactionParams());
            t->setDefaultAction(db::EndAction::Rollback);
        }
        m_ddlTransaction = mode == DdlMode::SeparateTransaction ? &m_ddl : &m_default;
    }

    /// False after the first statement that fails; the failure is recorded in the running test.
    bool run(const QStringList &statements)
    {
        for (const QString &text : statements) {
            try {
                runOne(text);
            } catch (const db::DatabaseError &e) {
                QTest::qFail(qPrintable(QStringLiteral("%1\n--- in ---\n%2").arg(e.message(), text)),
                             __FILE__, __LINE__);
                return false;
            }
        }
        return true;
    }

    // What the upgrade driver does after each version.
    void commitAll()
    {
        for (db::Transaction *t : {&m_default, &m_ddl}) {
            if (t->isActive())
                t->commit();
        }
    }

private:
    void runOne(const QString &text)
    {
        const QString upper = ZelScript::trimBlanks(text).toUpper();
        if (upper.startsWith(QLatin1String("COMMIT"))) {
            commitAll();
            return;
        }
        const db::StatementType kind = probe(text);
        const bool ddl = kind == db::StatementType::DDL || kind == db::StatementType::SetGenerator;
        db::Transaction *transaction = ddl ? m_ddlTransaction : &m_default;
        if (!transaction->isActive())
            transaction->start();
        db::Statement statement(m_database, transaction);
        statement.setParamCheck(false);
        statement.setSql(text);
        statement.execute();
        if (ddl)
            transaction->commit();
    }

    db::StatementType probe(const QString &text)
    {
        if (m_probe.isActive())
            m_probe.commit();
        m_probe.start();
        db::Statement statement(m_database, &m_probe);
        statement.setParamCheck(false);
        statement.setSql(text);
        statement.prepare();
        const db::StatementType kind = statement.type();
        statement.unprepare();
        m_probe.commit();
        return kind;
    }

    db::Database *m_database;
    db::Transaction m_default;
    db::Transaction m_ddl;
    db::Transaction m_probe;
    db::Transaction *m_ddlTransaction;
};

// Rows of a query as text lines, columns separated by "|", trailing blanks of CHAR columns removed and
// null written as "<null>".
QStringList queryLines(db::Database *database, const QString &sql)
{
    db::Transaction transaction;
    transaction.setDefaultDatabase(database);
    transaction.setParams(TestDatabase::transactionParams());
    transaction.start();
    db::Statement statement(database, &transaction);
    statement.setParamCheck(false);
    statement.setSql(sql);
    statement.execute();
    QStringList lines;
    while (statement.next()) {
        QStringList values;
        for (int i = 0; i < statement.columnCount(); ++i) {
            const db::Column column = statement.field(i);
            values.append(column.isNull() ? QStringLiteral("<null>")
                                          : ZelScript::trimBlanks(column.asString()));
        }
        lines.append(values.join(QLatin1Char('|')));
    }
    statement.close();
    transaction.commit();
    return lines;
}

QString queryValue(db::Database *database, const QString &sql)
{
    const QStringList lines = queryLines(database, sql);
    return lines.isEmpty() ? QStringLiteral("<no row>") : lines.first();
}

// The declared type of a column, parameter or argument as the catalogue holds it.
QString typeText(int fieldType, int subType, const QString &charLength, int byteLength)
{
    switch (fieldType) {
    case 7:
        return QStringLiteral("SMALLINT");
    case 8:
        return QStringLiteral("INTEGER");
    case 16:
        return QStringLiteral("BIGINT");
    case 27:
        return QStringLiteral("DOUBLE PRECISION");
    case 12:
        return QStringLiteral("DATE");
    case 13:
        return QStringLiteral("TIME");
    case 35:
        return QStringLiteral("TIMESTAMP");
    case 14:
        return QStringLiteral("CHAR(%1)").arg(charLength);
    case 37:
        return QStringLiteral("VARCHAR(%1)").arg(charLength);
    case 40:
        return QStringLiteral("CSTRING(%1)").arg(byteLength);
    case 261:
        return QStringLiteral("BLOB SUB_TYPE %1").arg(subType);
    default:
        return QStringLiteral("TYPE %1").arg(fieldType);
    }
}

QString typeFromColumns(const QStringList &c, int at)
{
    return typeText(c.at(at).toInt(), c.at(at + 1) == QLatin1String("<null>") ? 0 : c.at(at + 1).toInt(),
                    c.at(at + 2), c.at(at + 3).toInt());
}

const QString TypeColumns =
    QStringLiteral("f.RDB$FIELD_TYPE, f.RDB$FIELD_SUB_TYPE, f.RDB$CHARACTER_LENGTH, f.RDB$FIELD_LENGTH");

// Tables whose physical column order the server decides (CLIENTE is reordered by one ALTER TABLE with
// several positions); their columns are compared by name.
const QSet<QString> UnorderedTables = {QStringLiteral("CLIENTE")};

struct ColumnDefinition
{
    QString table;
    QString text;
};

// Every column of the user tables in position order, written as "NAME TYPE", followed by the character set
// and collation when they are not the database's own, the default clause and NOT NULL.
QList<ColumnDefinition> columnDefinitions(db::Database *database)
{
    const QString databaseCharset =
        queryValue(database, QStringLiteral("select RDB$CHARACTER_SET_NAME from RDB$DATABASE"));
    const QStringList rows = queryLines(
        database, QStringLiteral("select rf.RDB$RELATION_NAME, rf.RDB$FIELD_NAME, ") + TypeColumns +
                      QStringLiteral(", coalesce(rf.RDB$NULL_FLAG, f.RDB$NULL_FLAG, 0), "
                                     "cs.RDB$CHARACTER_SET_NAME, "
                                     "coalesce(rf.RDB$COLLATION_ID, f.RDB$COLLATION_ID, 0), "
                                     "coalesce(rf.RDB$DEFAULT_SOURCE, f.RDB$DEFAULT_SOURCE) "
                                     "from RDB$RELATION_FIELDS rf "
                                     "join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                                     "join RDB$RELATIONS r on r.RDB$RELATION_NAME = rf.RDB$RELATION_NAME "
                                     "left join RDB$CHARACTER_SETS cs "
                                     "on cs.RDB$CHARACTER_SET_ID = f.RDB$CHARACTER_SET_ID "
                                     "where coalesce(r.RDB$SYSTEM_FLAG, 0) = 0 "
                                     "order by rf.RDB$RELATION_NAME, rf.RDB$FIELD_POSITION"));
    QList<ColumnDefinition> columns;
    for (const QString &row : rows) {
        const QStringList c = row.split(QLatin1Char('|'));
        QString column = c.at(1) + QLatin1Char(' ') + typeFromColumns(c, 2);
        const int fieldType = c.at(2).toInt();
        const bool text =
            fieldType == 14 || fieldType == 37 || (fieldType == 261 && c.at(3) == QLatin1String("1"));
        if (text && c.at(7) != databaseCharset)
            column += QStringLiteral(" CHARACTER SET ") + c.at(7);
        if (text && c.at(8) != QLatin1String("0"))
            column += QStringLiteral(" COLLATION ") + c.at(8);
        if (c.at(9) != QLatin1String("<null>"))
            column += QLatin1Char(' ') + c.at(9).simplified().toUpper();
        if (c.at(6) == QLatin1String("1"))
            column += QStringLiteral(" NOT NULL");
        columns.append({c.at(0), column});
    }
    return columns;
}

QStringList tableLines(db::Database *database)
{
    QMap<QString, QStringList> columns;
    for (const ColumnDefinition &column : columnDefinitions(database))
        columns[column.table].append(column.text);
    QStringList lines;
    for (auto it = columns.begin(); it != columns.end(); ++it) {
        QStringList list = it.value();
        if (UnorderedTables.contains(it.key()))
            list.sort();
        lines.append(QStringLiteral("TABLE %1 (%2)").arg(it.key(), list.join(QStringLiteral(", "))));
    }
    return lines;
}

QStringList indexLines(db::Database *database)
{
    QMap<QString, QStringList> segments;
    for (const QString &row :
         queryLines(database, QStringLiteral("select RDB$INDEX_NAME, RDB$FIELD_NAME from RDB$INDEX_SEGMENTS "
                                             "order by RDB$INDEX_NAME, RDB$FIELD_POSITION"))) {
        const QStringList c = row.split(QLatin1Char('|'));
        segments[c.at(0)].append(c.at(1));
    }
    QMap<QString, QString> relations;
    for (const QString &row :
         queryLines(database, QStringLiteral("select RDB$INDEX_NAME, RDB$RELATION_NAME from RDB$INDICES"))) {
        const QStringList c = row.split(QLatin1Char('|'));
        relations.insert(c.at(0), c.at(1));
    }
    const QStringList rows = queryLines(
        database, QStringLiteral(
                      "select i.RDB$INDEX_NAME, i.RDB$RELATION_NAME, coalesce(i.RDB$UNIQUE_FLAG, 0), "
                      "i.RDB$FOREIGN_KEY, rc.RDB$CONSTRAINT_TYPE, rc.RDB$CONSTRAINT_NAME, "
                      "ref.RDB$UPDATE_RULE, ref.RDB$DELETE_RULE, coalesce(i.RDB$INDEX_TYPE, 0), "
                      "coalesce(i.RDB$INDEX_INACTIVE, 0) "
                      "from RDB$INDICES i "
                      "left join RDB$RELATION_CONSTRAINTS rc on rc.RDB$INDEX_NAME = i.RDB$INDEX_NAME "
                      "left join RDB$REF_CONSTRAINTS ref on ref.RDB$CONSTRAINT_NAME = rc.RDB$CONSTRAINT_NAME "
                      "where coalesce(i.RDB$SYSTEM_FLAG, 0) = 0 "
                      "order by i.RDB$INDEX_NAME"));
    QStringList lines;
    for (const QString &row : rows) {
        const QStringList c = row.split(QLatin1Char('|'));
        QString line = QStringLiteral("INDEX %1 ON %2 (%3)")
                           .arg(c.at(0), c.at(1), segments.value(c.at(0)).join(QStringLiteral(", ")));
        if (c.at(4) != QLatin1String("<null>"))
            line += QStringLiteral(" %1 %2").arg(c.at(4), c.at(5));
        else if (c.at(2) == QLatin1String("1"))
            line += QStringLiteral(" UNIQUE");
        if (c.at(8) == QLatin1String("1"))
            line += QStringLiteral(" DESCENDING");
        if (c.at(9) == QLatin1String("1"))
            line += QStringLiteral(" INACTIVE");
        if (c.at(3) != QLatin1String("<null>")) {
            line += QStringLiteral(" REFERENCES %1 (%2) ON UPDATE %3 ON DELETE %4")
                        .arg(relations.value(c.at(3)), segments.value(c.at(3)).join(QStringLiteral(", ")),
                             c.at(6), c.at(7));
        }
        lines.append(line);
    }
    return lines;
}

QStringList generatorLines(db::Database *database)
{
    QStringList lines;
    for (const QString &name :
         queryLines(database, QStringLiteral("select RDB$GENERATOR_NAME from RDB$GENERATORS "
                                             "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 order by 1"))) {
        const QString value =
            queryValue(database, QStringLiteral("select gen_id(%1, 0) from RDB$DATABASE").arg(name));
        lines.append(QStringLiteral("GENERATOR %1 = %2").arg(name, value));
    }
    return lines;
}

QStringList triggerLines(db::Database *database)
{
    QStringList lines;
    for (const QString &row :
         queryLines(database, QStringLiteral("select RDB$TRIGGER_NAME, RDB$RELATION_NAME, "
                                             "RDB$TRIGGER_TYPE, RDB$TRIGGER_SEQUENCE, "
                                             "coalesce(RDB$TRIGGER_INACTIVE, 0) "
                                             "from RDB$TRIGGERS "
                                             "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 "
                                             "order by 1"))) {
        const QStringList c = row.split(QLatin1Char('|'));
        const QString when = c.at(2) == QLatin1String("1") ? QStringLiteral("BEFORE INSERT")
                                                           : QStringLiteral("TYPE ") + c.at(2);
        lines.append(QStringLiteral("TRIGGER %1 FOR %2 %3 POSITION %4%5")
                         .arg(c.at(0), c.at(1), when, c.at(3),
                              c.at(4) == QLatin1String("0") ? QString() : QStringLiteral(" INACTIVE")));
    }
    return lines;
}

QStringList procedureLines(db::Database *database)
{
    QMap<QString, QStringList> inputs;
    QMap<QString, QStringList> outputs;
    for (const QString &row :
         queryLines(database, QStringLiteral("select p.RDB$PROCEDURE_NAME, p.RDB$PARAMETER_NAME, "
                                             "p.RDB$PARAMETER_TYPE, ") +
                                  TypeColumns +
                                  QStringLiteral(" from RDB$PROCEDURE_PARAMETERS p "
                                                 "join RDB$FIELDS f on f.RDB$FIELD_NAME = p.RDB$FIELD_SOURCE "
                                                 "where coalesce(p.RDB$SYSTEM_FLAG, 0) = 0 "
                                                 "order by 1, 3, p.RDB$PARAMETER_NUMBER"))) {
        const QStringList c = row.split(QLatin1Char('|'));
        auto &list = c.at(2) == QLatin1String("0") ? inputs : outputs;
        list[c.at(0)].append(c.at(1) + QLatin1Char(' ') + typeFromColumns(c, 3));
    }
    QStringList lines;
    for (const QString &row :
         queryLines(database, QStringLiteral("select RDB$PROCEDURE_NAME, RDB$PROCEDURE_TYPE "
                                             "from RDB$PROCEDURES "
                                             "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 "
                                             "order by 1"))) {
        const QStringList c = row.split(QLatin1Char('|'));
        QString line = QStringLiteral("PROCEDURE %1 (%2)")
                           .arg(c.at(0), inputs.value(c.at(0)).join(QStringLiteral(", ")));
        if (outputs.contains(c.at(0)))
            line += QStringLiteral(" RETURNS (%1)").arg(outputs.value(c.at(0)).join(QStringLiteral(", ")));
        line += c.at(1) == QLatin1String("1") ? QStringLiteral(" SELECTABLE") : QStringLiteral(" EXECUTABLE");
        lines.append(line);
    }
    return lines;
}

QStringList functionLines(db::Database *database)
{
    QMap<QString, QStringList> arguments;
    QMap<QString, QString> results;
    const QMap<QString, int> returnArgument = [&] {
        QMap<QString, int> map;
        for (const QString &row :
             queryLines(database, QStringLiteral("select RDB$FUNCTION_NAME, RDB$RETURN_ARGUMENT "
                                                 "from RDB$FUNCTIONS "
                                                 "where coalesce(RDB$SYSTEM_FLAG, 0) = 0"))) {
            const QStringList c = row.split(QLatin1Char('|'));
            map.insert(c.at(0), c.at(1).toInt());
        }
        return map;
    }();
    for (const QString &row : queryLines(
             database,
             QStringLiteral("select RDB$FUNCTION_NAME, RDB$ARGUMENT_POSITION, RDB$MECHANISM, "
                            "RDB$FIELD_TYPE, RDB$FIELD_SUB_TYPE, RDB$CHARACTER_LENGTH, RDB$FIELD_LENGTH "
                            "from RDB$FUNCTION_ARGUMENTS order by 1, 2"))) {
        const QStringList c = row.split(QLatin1Char('|'));
        if (!returnArgument.contains(c.at(0)))
            continue;
        const int mechanism = c.at(2).toInt();
        QString argument = typeFromColumns(c, 3);
        if (mechanism == 0)
            argument += QStringLiteral(" BY VALUE");
        else if (mechanism < 0)
            argument += QStringLiteral(" FREE_IT");
        if (c.at(1).toInt() == returnArgument.value(c.at(0)))
            results.insert(c.at(0), argument);
        else
            arguments[c.at(0)].append(argument);
    }
    QStringList lines;
    for (const QString &row :
         queryLines(database, QStringLiteral("select RDB$FUNCTION_NAME, RDB$MODULE_NAME, "
                                             "RDB$ENTRYPOINT from RDB$FUNCTIONS "
                                             "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 "
                                             "order by 1"))) {
        const QStringList c = row.split(QLatin1Char('|'));
        lines.append(QStringLiteral("FUNCTION %1 (%2) RETURNS %3 ENTRY '%4' MODULE '%5'")
                         .arg(c.at(0), arguments.value(c.at(0)).join(QStringLiteral(", ")),
                              results.value(c.at(0)), c.at(2), c.at(1)));
    }
    return lines;
}

QStringList catalogue(db::Database *database)
{
    return tableLines(database) + indexLines(database) + generatorLines(database) + triggerLines(database) +
           procedureLines(database) + functionLines(database);
}

// The schema column by column, with the rows of the shared tables, to compare one version with the next.
QStringList objectLines(db::Database *database)
{
    QStringList lines;
    for (const ColumnDefinition &column : columnDefinitions(database))
        lines.append(QStringLiteral("COLUMN %1.%2").arg(column.table, column.text));
    lines += indexLines(database) + generatorLines(database) + triggerLines(database) +
             procedureLines(database) + functionLines(database);
    const QList<std::pair<QString, QString>> rows = {
        {QStringLiteral("ROW MODULO "), QStringLiteral("select ID, MODULO from MODULO order by ID")},
        {QStringLiteral("ROW USUARIO "),
         QStringLiteral("select ID, USUARIO, SENHA, PRIMEIRO_NOME, ULTIMO_NOME, OBSERVACAO, SUPERVISOR, "
                        "SUPERVISORID from USUARIO order by ID")},
        {QStringLiteral("ROW USUARIO_MODULO "),
         QStringLiteral("select USUARIOID, MODULOID from USUARIO_MODULO order by 1, 2")},
    };
    for (const auto &[prefix, sql] : rows) {
        for (const QString &row : queryLines(database, sql))
            lines.append(prefix + row);
    }
    return lines;
}

QString join(std::initializer_list<const char *> parts)
{
    QStringList list;
    for (const char *p : parts)
        list.append(QString::fromUtf8(p));
    return list.join(QStringLiteral(", "));
}

QString table(const char *name, std::initializer_list<const char *> columns)
{
    return QStringLiteral("TABLE %1 (%2)").arg(QString::fromUtf8(name), join(columns));
}

// The schema after COMMON 1.08 and LEILAO 1.01, with the generators as a new database leaves them.
QStringList expectedCatalogue()
{
    return {
        // Columns: CLIENTE by name, every other table in column order.
        table("BANCO", {"ID INTEGER NOT NULL", "BANCO INTEGER NOT NULL", "NOME VARCHAR(30)"}),
        table("CLIENTE", {"BAIRRO VARCHAR(40)",
                          "CCM VARCHAR(20)",
                          "CEL VARCHAR(12)",
                          "CEL_DDD VARCHAR(3)",
                          "CEP VARCHAR(9)",
                          "CIDADE VARCHAR(40)",
                          "CNPJ_CPF VARCHAR(15)",
                          "CODIGO VARCHAR(8)",
                          "COMPLEMENTO VARCHAR(30)",
                          "DESATIVACAO_DATA DATE",
                          "DESATIVACAO_PORID INTEGER",
                          "EMAIL VARCHAR(50)",
                          "ENDERECO VARCHAR(40)",
                          "FANTASIA VARCHAR(50)",
                          "FAX VARCHAR(12)",
                          "FAX_DDD VARCHAR(3)",
                          "ID INTEGER NOT NULL",
                          "IE_RG VARCHAR(20)",
                          "IMP_NF CHAR(1)",
                          "NOME VARCHAR(50)",
                          "NUMERO VARCHAR(10)",
                          "OBSERVACOES BLOB SUB_TYPE 1",
                          "PAGINA VARCHAR(50)",
                          "PST_BAIRRO VARCHAR(40)",
                          "PST_CEP VARCHAR(9)",
                          "PST_CIDADE VARCHAR(40)",
                          "PST_COMPLEMENTO VARCHAR(30)",
                          "PST_ENDERECO VARCHAR(40)",
                          "PST_NUMERO VARCHAR(10)",
                          "PST_UF VARCHAR(2)",
                          "RESP VARCHAR(35)",
                          "RG_RESP VARCHAR(10)",
                          "SIMPLES VARCHAR(1)",
                          "TEL VARCHAR(12)",
                          "TEL_DDD VARCHAR(3)",
                          "TIPOPESSOA SMALLINT",
                          "UF VARCHAR(2)"}),
        table("CONTA_CORRENTE", {"ID INTEGER NOT NULL",
                                 "BANCO INTEGER NOT NULL",
                                 "NUM_AGENCIA VARCHAR(10) NOT NULL",
                                 "NUM_CONTA VARCHAR(15) NOT NULL",
                                 "NOME_AGENCIA VARCHAR(30)",
                                 "ENDERECO_AGENCIA VARCHAR(40)",
                                 "NUMERO_AGENCIA VARCHAR(10)",
                                 "COMPLEMENTO_AGENCIA VARCHAR(30)",
                                 "BAIRRO_AGENCIA VARCHAR(40)",
                                 "CIDADE_AGENCIA VARCHAR(40)",
                                 "UF_AGENCIA VARCHAR(2)",
                                 "CEP_AGENCIA VARCHAR(9)",
                                 "GERENTE VARCHAR(40)",
                                 "DDD INTEGER",
                                 "TELEFONE VARCHAR(10)",
                                 "CODIGO_CEDENTE VARCHAR(15)",
                                 "CARTEIRA VARCHAR(5)",
                                 "USA_OUTRO_TITULAR CHAR(1)",
                                 "TITULAR_NOME VARCHAR(50)",
                                 "TITULAR_CNPJ VARCHAR(20)",
                                 "TITULAR_CCM VARCHAR(20)",
                                 "TITULAR_ENDERECO VARCHAR(40)",
                                 "TITULAR_NUMERO VARCHAR(10)",
                                 "TITULAR_COMPLEMENTO VARCHAR(30)",
                                 "TITULAR_BAIRRO VARCHAR(40)",
                                 "TITULAR_CIDADE VARCHAR(40)",
                                 "TITULAR_UF VARCHAR(2)",
                                 "TITULAR_CEP VARCHAR(9)",
                                 "TITULAR_DDD VARCHAR(3)",
                                 "TITULAR_TEL VARCHAR(10)",
                                 "TITULAR_FAXDDD VARCHAR(3)",
                                 "TITULAR_FAX VARCHAR(10)",
                                 "TITULAR_EMAIL VARCHAR(255)",
                                 "TITULAR_SITE VARCHAR(255)"}),
        table("CONTROLE", {"ID INTEGER NOT NULL", "LEILAO_DATA DATE", "CLI_TIPO_PESSOA INTEGER",
                           "CLI_DOCUMENTO VARCHAR(14)", "CLI_NOME VARCHAR(50)", "NOTA_NUMERO INTEGER",
                           "NOTA_MERCADORIA DOUBLE PRECISION", "NOTA_PER_COMISSAO DOUBLE PRECISION",
                           "NOTA_COMISSAO DOUBLE PRECISION", "NOTA_TAXA_ADMIN DOUBLE PRECISION",
                           "NOTA_TOTAL DOUBLE PRECISION", "USUARIOID INTEGER", "LEILAO_NUMERO VARCHAR(8)"}),
        table("DADOS_EMPRESA",
              {"ID INTEGER NOT NULL", "RAZAO_SOCIAL VARCHAR(50)", "CNPJ VARCHAR(20)", "ENDERECO VARCHAR(40)",
               "NUMERO VARCHAR(10)", "COMPLEMENTO VARCHAR(30)", "BAIRRO VARCHAR(40)", "CIDADE VARCHAR(40)",
               "UF VARCHAR(2)", "CEP VARCHAR(9)", "DDD VARCHAR(3)", "TELEFONE VARCHAR(10)",
               "BINARIO BLOB SUB_TYPE 0", "BINARIO_EXT VARCHAR(5)"}),
        table("FORNECEDOR", {"ID INTEGER NOT NULL",      "NOME VARCHAR(50)",
                             "CNPJ VARCHAR(20)",         "INSCRICAO_ESTADUAL VARCHAR(20)",
                             "TIPO_FORNECEDOR SMALLINT", "RESPONSAVEL VARCHAR(50)",
                             "RG VARCHAR(20)",           "ENDERECO VARCHAR(50)",
                             "NUMERO VARCHAR(10)",       "COMPLEMENTO VARCHAR(25)",
                             "BAIRRO VARCHAR(30)",       "CIDADE VARCHAR(30)",
                             "ESTADO VARCHAR(2)",        "CEP VARCHAR(10)",
                             "TELEFONEDDD SMALLINT",     "TELEFONE VARCHAR(10)",
                             "FAXDDD SMALLINT",          "FAX VARCHAR(10)",
                             "CELULARDDD SMALLINT",      "CELULAR VARCHAR(10)",
                             "EMAIL VARCHAR(50)",        "PAGINA VARCHAR(50)",
                             "CODIGO VARCHAR(8)"}),
        table("MODULO", {"ID INTEGER NOT NULL", "MODULO VARCHAR(30)"}),
        table("PARAMETROS",
              {"ID INTEGER NOT NULL", "APELIDO VARCHAR(8)", "ANO SMALLINT", "MES SMALLINT",
               "USUARIO VARCHAR(10)", "MODULO VARCHAR(20)", "PARAMETRO VARCHAR(20)", "VALOR VARCHAR(100)"}),
        table("PRODUTO", {"ID INTEGER NOT NULL", "UNIDADEID INTEGER", "FABRICANTEID INTEGER",
                          "DESCRICAO VARCHAR(50)", "CUSTO DOUBLE PRECISION", "VALOR DOUBLE PRECISION",
                          "ESTOQUE DOUBLE PRECISION", "ESTOQUE_MINIMO DOUBLE PRECISION",
                          "TIPO_PRODUTO SMALLINT", "USA_MARG_LUCRO CHAR(1)", "MARG_LUCRO DOUBLE PRECISION",
                          "PESO_LIQUIDO DOUBLE PRECISION", "CLASSIFICACAO_FISCAL VARCHAR(16)"}),
        table("ROTINA", {"ID INTEGER NOT NULL", "MODULOID INTEGER", "CTRL_INDEX INTEGER",
                         "CTRL_INDEX_OWNER INTEGER", "NOME VARCHAR(255)", "ATIVO INTEGER", "STATUS INTEGER"}),
        table("UNIDADE", {"ID INTEGER NOT NULL", "SIGLA VARCHAR(2)", "TITULO VARCHAR(15)"}),
        table("USUARIO",
              {"ID INTEGER NOT NULL", "USUARIO VARCHAR(10)", "SENHA VARCHAR(32)", "PRIMEIRO_NOME VARCHAR(20)",
               "ULTIMO_NOME VARCHAR(20)", "OBSERVACAO VARCHAR(255)", "SUPERVISOR CHAR(1)",
               "SUPERVISORID INTEGER", "EMAIL VARCHAR(128)", "DESATIVADO CHAR(1)"}),
        table("USUARIO_LOG",
              {"ID INTEGER NOT NULL", "USUARIOID INTEGER", "MODULOID INTEGER", "DATA DATE", "HORA TIME",
               "TABLEID INTEGER", "FORMNAME VARCHAR(128)", "TELA VARCHAR(255)", "LOG VARCHAR(255)"}),
        table("USUARIO_MODULO", {"USUARIOID INTEGER NOT NULL", "MODULOID INTEGER NOT NULL", "TUDO CHAR(1)"}),
        table("USUARIO_ROTINA",
              {"ID INTEGER NOT NULL", "USUARIOID INTEGER", "ROTINAID INTEGER", "STATUS INTEGER"}),
        table("VERSAO", {"ID INTEGER NOT NULL", "SCRIPT VARCHAR(30)", "NUMERO VARCHAR(10)"}),

        // Keys and indexes.
        QStringLiteral("INDEX CLIENTE_01 ON CLIENTE (CODIGO) UNIQUE"),
        QStringLiteral(
            "INDEX FK_CLIENTE_USUARIO ON CLIENTE (DESATIVACAO_PORID) FOREIGN KEY FK_CLIENTE_USUARIO "
            "REFERENCES USUARIO (ID) ON UPDATE CASCADE ON DELETE RESTRICT"),
        QStringLiteral(
            "INDEX FK_CONTA_CORRENTE_BANCO ON CONTA_CORRENTE (BANCO) FOREIGN KEY FK_CONTA_CORRENTE_BANCO "
            "REFERENCES BANCO (BANCO) ON UPDATE CASCADE ON DELETE RESTRICT"),
        QStringLiteral("INDEX FK_CONTROLE_USUARIO ON CONTROLE (USUARIOID) FOREIGN KEY FK_CONTROLE_USUARIO "
                       "REFERENCES USUARIO (ID) ON UPDATE CASCADE ON DELETE RESTRICT"),
        QStringLiteral(
            "INDEX FK_PRODUTO_FABRICANTE ON PRODUTO (FABRICANTEID) FOREIGN KEY FK_PRODUTO_FABRICANTE "
            "REFERENCES FORNECEDOR (ID) ON UPDATE CASCADE ON DELETE RESTRICT"),
        QStringLiteral("INDEX FK_PRODUTO_UNIDADE ON PRODUTO (UNIDADEID) FOREIGN KEY FK_PRODUTO_UNIDADE "
                       "REFERENCES UNIDADE (ID) ON UPDATE CASCADE ON DELETE RESTRICT"),
        QStringLiteral(
            "INDEX FK_USUARIO_LOG_USUARIO ON USUARIO_LOG (USUARIOID) FOREIGN KEY FK_USUARIO_LOG_USUARIO "
            "REFERENCES USUARIO (ID) ON UPDATE CASCADE ON DELETE CASCADE"),
        QStringLiteral("INDEX IXC_FORNECEDOR_CODIGO ON FORNECEDOR (CODIGO)"),
        QStringLiteral("INDEX IXC_USUARIO_LOG_01 ON USUARIO_LOG (FORMNAME, TABLEID, DATA, HORA)"),
        QStringLiteral("INDEX PK_BANCO ON BANCO (BANCO) PRIMARY KEY PK_BANCO"),
        QStringLiteral("INDEX PK_CLIENTE ON CLIENTE (ID) PRIMARY KEY PK_CLIENTE"),
        QStringLiteral(
            "INDEX PK_CONTA_CORRENTE ON CONTA_CORRENTE (BANCO, NUM_AGENCIA, NUM_CONTA) PRIMARY KEY "
            "PK_CONTA_CORRENTE"),
        QStringLiteral("INDEX PK_CONTROLE ON CONTROLE (ID) PRIMARY KEY PK_CONTROLE"),
        QStringLiteral("INDEX PK_DADOS_EMPRESA ON DADOS_EMPRESA (ID) PRIMARY KEY PK_DADOS_EMPRESA"),
        QStringLiteral("INDEX PK_FORNECEDOR ON FORNECEDOR (ID) PRIMARY KEY PK_FORNECEDOR"),
        QStringLiteral("INDEX PK_MODULO ON MODULO (ID) PRIMARY KEY PK_MODULO"),
        QStringLiteral("INDEX PK_PARAMETROS ON PARAMETROS (ID) PRIMARY KEY PK_PARAMETROS"),
        QStringLiteral("INDEX PK_PRODUTO ON PRODUTO (ID) PRIMARY KEY PK_PRODUTO"),
        QStringLiteral("INDEX PK_ROTINA ON ROTINA (ID) PRIMARY KEY PK_ROTINA"),
        QStringLiteral("INDEX PK_UNIDADE ON UNIDADE (ID) PRIMARY KEY PK_UNIDADE"),
        QStringLiteral("INDEX PK_USUARIO ON USUARIO (ID) PRIMARY KEY PK_USUARIO"),
        QStringLiteral("INDEX PK_USUARIO_LOG ON USUARIO_LOG (ID) PRIMARY KEY PK_USUARIO_LOG"),
        QStringLiteral("INDEX PK_USUARIO_MODULO ON USUARIO_MODULO (USUARIOID, MODULOID) PRIMARY KEY "
                       "PK_USUARIO_MODULO"),
        QStringLiteral("INDEX PK_USUARIO_ROTINA ON USUARIO_ROTINA (ID) PRIMARY KEY PK_USUARIO_ROTINA"),
        QStringLiteral("INDEX PK_VERSAO ON VERSAO (ID) PRIMARY KEY PK_VERSAO"),
        QStringLiteral("INDEX USUARIO_01 ON USUARIO (USUARIO) UNIQUE"),

        QStringLiteral("GENERATOR GEN_BANCO_ID = 0"),
        QStringLiteral("GENERATOR GEN_CLIENTE_ID = 0"),
        QStringLiteral("GENERATOR GEN_CONTA_CORRENTE_ID = 0"),
        QStringLiteral("GENERATOR GEN_CONTROLE_ID = 0"),
        QStringLiteral("GENERATOR GEN_FORNECEDOR_ID = 0"),
        QStringLiteral("GENERATOR GEN_PARAMETROS_ID = 0"),
        QStringLiteral("GENERATOR GEN_PRODUTO_ID = 0"),
        QStringLiteral("GENERATOR GEN_ROTINA_ID = 0"),
        QStringLiteral("GENERATOR GEN_UNIDADE_ID = 0"),
        QStringLiteral("GENERATOR GEN_USUARIO_ID = 1"),
        QStringLiteral("GENERATOR GEN_USUARIO_LOG_ID = 0"),
        QStringLiteral("GENERATOR GEN_USUARIO_ROTINA_ID = 0"),

        QStringLiteral("TRIGGER TG_BANCO FOR BANCO BEFORE INSERT POSITION 0"),
        QStringLiteral("TRIGGER TG_CLIENTE FOR CLIENTE BEFORE INSERT POSITION 0"),
        QStringLiteral("TRIGGER TG_CONTA_CORRENTE FOR CONTA_CORRENTE BEFORE INSERT POSITION 0"),
        QStringLiteral("TRIGGER TG_CONTROLE FOR CONTROLE BEFORE INSERT POSITION 0"),
        QStringLiteral("TRIGGER TG_FORNECEDOR FOR FORNECEDOR BEFORE INSERT POSITION 0"),
        QStringLiteral("TRIGGER TG_PARAMETROS FOR PARAMETROS BEFORE INSERT POSITION 0"),
        QStringLiteral("TRIGGER TG_PRODUTO FOR PRODUTO BEFORE INSERT POSITION 0"),
        QStringLiteral("TRIGGER TG_ROTINA FOR ROTINA BEFORE INSERT POSITION 0"),
        QStringLiteral("TRIGGER TG_UNIDADE FOR UNIDADE BEFORE INSERT POSITION 0"),
        QStringLiteral("TRIGGER TG_USUARIO FOR USUARIO BEFORE INSERT POSITION 0"),
        QStringLiteral("TRIGGER TG_USUARIO_LOG FOR USUARIO_LOG BEFORE INSERT POSITION 0"),
        QStringLiteral("TRIGGER TG_USUARIO_ROTINA FOR USUARIO_ROTINA BEFORE INSERT POSITION 0"),

        QStringLiteral(
            "PROCEDURE GETPARAMS (APELIDO VARCHAR(8), USUARIO VARCHAR(10), MODULO VARCHAR(20), "
            "PARAMETRO VARCHAR(20), ANO SMALLINT, MES SMALLINT) RETURNS (VALOR VARCHAR(100)) SELECTABLE"),
        QStringLiteral("PROCEDURE SETPARAMS (APELIDO VARCHAR(8), USUARIO VARCHAR(10), MODULO VARCHAR(20), "
                       "PARAMETRO VARCHAR(20), ANO SMALLINT, MES SMALLINT, VALOR VARCHAR(100)) SELECTABLE"),

        QStringLiteral("FUNCTION LTRIM (CSTRING(80)) RETURNS CSTRING(80) FREE_IT ENTRY 'IB_UDF_ltrim' "
                       "MODULE 'ib_udf'"),
        QStringLiteral("FUNCTION STRLEN (CSTRING(32767)) RETURNS INTEGER BY VALUE ENTRY 'IB_UDF_strlen' "
                       "MODULE 'ib_udf'"),
        QStringLiteral("FUNCTION SUBSTR (CSTRING(80), SMALLINT, SMALLINT) RETURNS CSTRING(80) FREE_IT "
                       "ENTRY 'IB_UDF_substr' MODULE 'ib_udf'"),
    };
}

// "+ COLUMN TABLE.NAME TYPE" for the columns a version adds, "- ..." for those it removes or redefines.
QStringList columnChanges(char sign, const char *table, std::initializer_list<const char *> columns)
{
    QStringList lines;
    for (const char *column : columns)
        lines.append(
            QStringLiteral("%1 COLUMN %2.%3")
                .arg(QString(QLatin1Char(sign)), QString::fromUtf8(table), QString::fromUtf8(column)));
    return lines;
}

// "+ " and the one line of the expected catalogue that begins with start (an index, generator, trigger or
// function a version creates).
QString addedFromCatalogue(const QString &start)
{
    QStringList found;
    for (const QString &line : expectedCatalogue()) {
        if (line.startsWith(start))
            found.append(line);
    }
    if (found.size() != 1)
        qFatal("%lld catalogue lines begin with %s", qlonglong(found.size()), qPrintable(start));
    return QStringLiteral("+ ") + found.first();
}

// Fails with the lines that differ, so that a wrong column or a missing index is named in the output.
void compareLines(QStringList actual, QStringList expected)
{
    actual.sort();
    expected.sort();
    QStringList problems;
    for (const QString &line : expected) {
        if (!actual.contains(line))
            problems.append(QStringLiteral("missing:    ") + line);
    }
    for (const QString &line : actual) {
        if (!expected.contains(line))
            problems.append(QStringLiteral("unexpected: ") + line);
    }
    if (!problems.isEmpty())
        QFAIL(qPrintable(problems.join(QLatin1Char('\n'))));
}

} // namespace

Q_DECLARE_METATYPE(DdlMode)

class TestVersionScripts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void resourcesHoldEveryVersion();
    void scriptLayout_data();
    void scriptLayout();
    void newDatabaseMatchesSchema_data();
    void newDatabaseMatchesSchema();
    void initialRows();
    void versionChanges_data();
    void versionChanges();
    void columnOrder();
    void nextUserGetsIdTwo();
    void controleTakesIdFromGenerator();
    void parameterStore_data();
    void parameterStore();
    void getParamsWithSeveralMatchesFails();
    void activityLogTakesServerTime();
    void externalFunctions_data();
    void externalFunctions();
    void triggersTakeIdFromTheirGenerator_data();
    void triggersTakeIdFromTheirGenerator();
    void upgradeKeepsData_data();
    void upgradeKeepsData();

private:
    using AfterVersion = std::function<void(const Version &, db::Database *)>;
    // Runs the versions in order, each on a fresh connection, checking VERSAO after each.
    void applyVersions(TestDatabase &database, const QList<Version> &versions, DdlMode mode,
                       const AfterVersion &afterEach = {});
    void exec(const QString &sql);

    std::unique_ptr<TestDatabase> m_database;
    std::unique_ptr<db::Database> m_connection;
    // objectLines() after each version of the shared database, keyed by "FAMILY NUMBER".
    QMap<QString, QStringList> m_objects;
};

void TestVersionScripts::applyVersions(TestDatabase &database, const QList<Version> &versions, DdlMode mode,
                                       const AfterVersion &afterEach)
{
    for (const Version &version : versions) {
        const QStringList statements = ZelScript::splitScript(scriptLines(version.resource));
        std::unique_ptr<db::Database> connection = database.connectAgain();
        {
            ScriptRunner runner(connection.get(), mode);
            if (!runner.run(statements))
                return;
            runner.commitAll();
        }
        const QString row = queryValue(
            connection.get(),
            QStringLiteral("select SCRIPT, NUMERO from VERSAO where ID = %1").arg(version.versaoId));
        QCOMPARE(row, version.family + QLatin1Char('|') + version.number);
        if (afterEach)
            afterEach(version, connection.get());
        connection->close();
    }
}

void TestVersionScripts::initTestCase()
{
    m_database = std::make_unique<TestDatabase>();
    m_database->transaction().commit();
    m_database->database().close();
    applyVersions(*m_database, allVersions(), DdlMode::SeparateTransaction,
                  [this](const Version &version, db::Database *connection) {
                      m_objects.insert(version.family + QLatin1Char(' ') + version.number,
                                       objectLines(connection));
                  });
    m_connection = m_database->connectAgain();
}

void TestVersionScripts::cleanupTestCase()
{
    m_connection.reset();
    m_database.reset();
}

void TestVersionScripts::exec(const QString &sql)
{
    db::Transaction transaction;
    transaction.setDefaultDatabase(m_connection.get());
    transaction.setParams(TestDatabase::transactionParams());
    transaction.start();
    db::Statement statement(m_connection.get(), &transaction);
    statement.setParamCheck(false);
    statement.setSql(sql);
    statement.execute();
    statement.close();
    transaction.commit();
}

void TestVersionScripts::resourcesHoldEveryVersion()
{
    // A script missing from the .qrc, or one left over, would change what the upgrade runs.
    QStringList expectedCommon;
    QStringList expectedLeilao;
    for (const Version &version : allVersions()) {
        QVERIFY2(QFile::exists(version.resource), qPrintable(version.resource));
        (version.versaoId == 1 ? expectedCommon : expectedLeilao)
            .append(version.resource.section(QLatin1Char('/'), -1));
    }
    QCOMPARE(QDir(CommonFolder).entryList(QDir::Files, QDir::Name), expectedCommon);
    QCOMPARE(QDir(LeilaoFolder).entryList(QDir::Files, QDir::Name), expectedLeilao);
}

void TestVersionScripts::scriptLayout_data()
{
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("versaoId");
    QTest::addColumn<bool>("setsTerminator");
    QTest::addColumn<QStringList>("afterVersao");
    for (const Version &version : allVersions()) {
        const QString name = version.family + QLatin1Char(' ') + version.number;
        const bool leilao101 = name == QLatin1String("LEILAO.SQL 1.01");
        QStringList afterVersao{leilao101 ? QStringLiteral("commit") : QStringLiteral("commit work")};
        if (name == QLatin1String("COMMON.SQL 1.07"))
            afterVersao << QStringLiteral("update USUARIO_MODULO set TUDO = 'S'") << QStringLiteral("commit");
        QTest::newRow(qPrintable(name)) << version.resource << version.family << version.number
                                        << version.versaoId << !leilao101 << afterVersao;
    }
}

namespace {

// A statement without its comments, blanks collapsed.
QString bareStatement(const QString &statement)
{
    static const QRegularExpression comment(QStringLiteral("/\\*.*?\\*/"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return QString(statement).remove(comment).simplified();
}

} // namespace

void TestVersionScripts::scriptLayout()
{
    QFETCH(QString, resource);
    QFETCH(QString, family);
    QFETCH(QString, number);
    QFETCH(int, versaoId);
    QFETCH(bool, setsTerminator);
    QFETCH(QStringList, afterVersao);

    // After the optional header comment the script switches to "^" and switches back just before its final
    // "commit work;"; LEILAO 1.01 keeps ";" throughout.
    const QStringList lines = scriptLines(resource);
    const auto skipBlank = [&](int at) {
        while (at < lines.size() && lines.at(at).trimmed().isEmpty())
            ++at;
        return at;
    };
    int first = skipBlank(0);
    if (lines.value(first).trimmed().startsWith(QLatin1String("/*"))) {
        while (first < lines.size() && !lines.at(first).contains(QLatin1String("*/")))
            ++first;
        first = skipBlank(first + 1);
    }
    const QRegularExpression anySetTerm(QStringLiteral("^\\s*set\\s+term\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (setsTerminator) {
        QCOMPARE(lines.value(first).trimmed(), QStringLiteral("set TERM ^ ;"));
        QCOMPARE(lines.filter(anySetTerm).size(), 2);
        const int back = lines.indexOf(QStringLiteral("set TERM ; ^"));
        QVERIFY(back > first);
        QCOMPARE(lines.value(skipBlank(back + 1)).trimmed(), QStringLiteral("commit work;"));
    } else {
        QVERIFY(lines.filter(anySetTerm).isEmpty());
    }

    // A script that leaves "^" as the terminator would swallow its own final commit; the last statement must
    // be a commit so that the version's VERSAO row is never left to the caller.
    const QStringList statements = ZelScript::splitScript(scriptLines(resource));
    QVERIFY(!statements.isEmpty());
    QVERIFY2(statements.last().toUpper().startsWith(QLatin1String("COMMIT")), qPrintable(statements.last()));
    for (const QString &statement : statements)
        QVERIFY2(!statement.contains(QLatin1String("set TERM"), Qt::CaseInsensitive), qPrintable(statement));

    // The family's VERSAO row is written exactly once, with the version's own number.
    QStringList versao;
    for (const QString &statement : statements) {
        if (statement.contains(QLatin1String("VERSAO"), Qt::CaseInsensitive) &&
            !statement.startsWith(QLatin1String("create table"), Qt::CaseInsensitive))
            versao.append(statement);
    }
    QCOMPARE(versao.size(), 1);
    QVERIFY2(versao.first().contains(QLatin1Char('\'') + number + QLatin1Char('\'')),
             qPrintable(versao.first()));
    // ... and it is the last thing the version does.
    QStringList tail;
    for (qsizetype k = statements.indexOf(versao.first()) + 1; k < statements.size(); ++k)
        tail.append(bareStatement(statements.at(k)));
    QCOMPARE(tail, afterVersao);

    // Tables and generators are committed before anything else uses them, and every trigger comes after a
    // commit.
    for (qsizetype k = 0; k < statements.size(); ++k) {
        const QString text = bareStatement(statements.at(k)).toLower();
        const QString previous = k > 0 ? bareStatement(statements.at(k - 1)).toLower() : QString();
        const QString next =
            k + 1 < statements.size() ? bareStatement(statements.at(k + 1)).toLower() : QString();
        if (text.startsWith(QLatin1String("create table"))) {
            QVERIFY2(next.startsWith(QLatin1String("commit")) ||
                         next.startsWith(QLatin1String("create generator")),
                     qPrintable(text.left(40) + QStringLiteral(" -> ") + next.left(40)));
        } else if (text.startsWith(QLatin1String("create generator"))) {
            QVERIFY2(next.startsWith(QLatin1String("commit")),
                     qPrintable(text + QStringLiteral(" -> ") + next.left(40)));
        } else if (text.startsWith(QLatin1String("create trigger"))) {
            QVERIFY2(previous.startsWith(QLatin1String("commit")),
                     qPrintable(previous.left(40) + QStringLiteral(" -> ") + text.left(40)));
        }
    }
    if (number == QLatin1String("1.00")) {
        QCOMPARE(versao.first(),
                 QStringLiteral("insert into VERSAO (ID, SCRIPT, NUMERO) values (%1, '%2', '%3')")
                     .arg(versaoId)
                     .arg(family, number));
    } else {
        QCOMPARE(versao.first(),
                 QStringLiteral("update VERSAO set NUMERO = '%1' where ID = %2").arg(number).arg(versaoId));
    }
}

void TestVersionScripts::newDatabaseMatchesSchema_data()
{
    QTest::addColumn<DdlMode>("mode");
    QTest::newRow("executor: DDL in its own transaction") << DdlMode::SeparateTransaction;
    QTest::newRow("isql: one transaction, committed after DDL") << DdlMode::SharedTransaction;
}

void TestVersionScripts::newDatabaseMatchesSchema()
{
    QFETCH(DdlMode, mode);
    TestDatabase database(QStringLiteral("fresh.fdb"));
    database.transaction().commit();
    database.database().close();
    applyVersions(database, allVersions(), mode);
    if (QTest::currentTestFailed())
        return;
    std::unique_ptr<db::Database> connection = database.connectAgain();
    compareLines(catalogue(connection.get()), expectedCatalogue());
}

void TestVersionScripts::initialRows()
{
    QCOMPARE(
        queryLines(m_connection.get(), QStringLiteral("select ID, SCRIPT, NUMERO from VERSAO order by ID")),
        QStringList({QStringLiteral("1|COMMON.SQL|1.08"), QStringLiteral("2|LEILAO.SQL|1.01")}));
    QCOMPARE(queryLines(m_connection.get(), QStringLiteral("select ID, MODULO from MODULO order by ID")),
             QStringList({QStringLiteral("1|QUINTARIS"), QStringLiteral("3|USUÁRIOS")}));
    QCOMPARE(
        queryLines(m_connection.get(),
                   QStringLiteral("select ID, USUARIO, SENHA, PRIMEIRO_NOME, ULTIMO_NOME, OBSERVACAO, "
                                  "SUPERVISOR, SUPERVISORID, EMAIL, DESATIVADO from USUARIO order by ID")),
        QStringList{QStringLiteral("1|ADMIN|<null>|Administrador|Sistema|<null>|T|1|<null>|<null>")});
    QCOMPARE(queryLines(m_connection.get(),
                        QStringLiteral("select USUARIOID, MODULOID, TUDO from USUARIO_MODULO order by 1, 2")),
             QStringList{QStringLiteral("1|3|S")});
    QCOMPARE(queryValue(m_connection.get(), QStringLiteral("select count(*) from PARAMETROS")),
             QStringLiteral("0"));

    // No script writes any other row.
    QStringList counts;
    for (const QString &table : queryLines(
             m_connection.get(), QStringLiteral("select RDB$RELATION_NAME from RDB$RELATIONS "
                                                "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 order by 1"))) {
        counts.append(table + QLatin1Char('|') +
                      queryValue(m_connection.get(), QStringLiteral("select count(*) from %1").arg(table)));
    }
    QCOMPARE(counts, QStringList({QStringLiteral("BANCO|0"), QStringLiteral("CLIENTE|0"),
                                  QStringLiteral("CONTA_CORRENTE|0"), QStringLiteral("CONTROLE|0"),
                                  QStringLiteral("DADOS_EMPRESA|0"), QStringLiteral("FORNECEDOR|0"),
                                  QStringLiteral("MODULO|2"), QStringLiteral("PARAMETROS|0"),
                                  QStringLiteral("PRODUTO|0"), QStringLiteral("ROTINA|0"),
                                  QStringLiteral("UNIDADE|0"), QStringLiteral("USUARIO|1"),
                                  QStringLiteral("USUARIO_LOG|0"), QStringLiteral("USUARIO_MODULO|1"),
                                  QStringLiteral("USUARIO_ROTINA|0"), QStringLiteral("VERSAO|2")}));
}

void TestVersionScripts::versionChanges_data()
{
    // What each version adds ("+") to and removes ("-") from the schema and the shared rows; together with
    // the catalogue of a new database this also fixes what COMMON 1.00 creates.
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QStringList>("changes");

    QTest::newRow("COMMON 1.01") << QStringLiteral("COMMON.SQL 1.00") << QStringLiteral("COMMON.SQL 1.01")
                                 << columnChanges('+', "CLIENTE", {"SIMPLES VARCHAR(1)"});
    QTest::newRow("COMMON 1.02")
        << QStringLiteral("COMMON.SQL 1.01") << QStringLiteral("COMMON.SQL 1.02")
        << QStringList{addedFromCatalogue(QStringLiteral("FUNCTION SUBSTR ")),
                       addedFromCatalogue(QStringLiteral("FUNCTION STRLEN ")),
                       addedFromCatalogue(QStringLiteral("FUNCTION LTRIM ")),
                       addedFromCatalogue(QStringLiteral("INDEX CLIENTE_01 "))} +
               columnChanges('+', "CLIENTE",
                             {"CODIGO VARCHAR(8)", "CNPJ_CPF VARCHAR(15)", "RESP VARCHAR(35)",
                              "RG_RESP VARCHAR(10)", "TEL_DDD VARCHAR(3)", "FAX_DDD VARCHAR(3)",
                              "CEL_DDD VARCHAR(3)", "OBSERVACOES BLOB SUB_TYPE 1", "IE_RG VARCHAR(20)",
                              "IMP_NF CHAR(1)", "TEL VARCHAR(12)", "FAX VARCHAR(12)", "CEL VARCHAR(12)"}) +
               columnChanges('-', "CLIENTE",
                             {"DOCUMENTO VARCHAR(20)", "RESPONSAVEL VARCHAR(50)", "RG VARCHAR(20)",
                              "TELEFONEDDD SMALLINT", "FAXDDD SMALLINT", "CELULARDDD SMALLINT",
                              "INSCRICAO_ESTADUAL VARCHAR(20)", "IMPRIMIR_NOTA_FISCAL CHAR(1)",
                              "TELEFONE VARCHAR(10)", "FAX VARCHAR(10)", "CELULAR VARCHAR(10)"});
    QTest::newRow("COMMON 1.03") << QStringLiteral("COMMON.SQL 1.02") << QStringLiteral("COMMON.SQL 1.03")
                                 << columnChanges('+', "DADOS_EMPRESA",
                                                  {"BINARIO BLOB SUB_TYPE 0", "BINARIO_EXT VARCHAR(5)"}) +
                                        columnChanges('+', "USUARIO", {"EMAIL VARCHAR(128)"});
    QTest::newRow("COMMON 1.04")
        << QStringLiteral("COMMON.SQL 1.03") << QStringLiteral("COMMON.SQL 1.04")
        << columnChanges('+', "CONTA_CORRENTE", {"CODIGO_CEDENTE VARCHAR(15)", "CARTEIRA VARCHAR(5)"}) +
               columnChanges('+', "FORNECEDOR", {"CODIGO VARCHAR(8)"}) +
               QStringList{addedFromCatalogue(QStringLiteral("INDEX IXC_FORNECEDOR_CODIGO "))};
    QTest::newRow("COMMON 1.05")
        << QStringLiteral("COMMON.SQL 1.04") << QStringLiteral("COMMON.SQL 1.05")
        << columnChanges('+', "USUARIO", {"DESATIVADO CHAR(1)"}) +
               columnChanges('+', "USUARIO_LOG",
                             {"ID INTEGER NOT NULL", "USUARIOID INTEGER", "MODULOID INTEGER", "DATA DATE",
                              "HORA TIME", "TABLEID INTEGER", "FORMNAME VARCHAR(128)", "TELA VARCHAR(255)",
                              "LOG VARCHAR(255)"}) +
               QStringList{addedFromCatalogue(QStringLiteral("INDEX PK_USUARIO_LOG ")),
                           addedFromCatalogue(QStringLiteral("INDEX FK_USUARIO_LOG_USUARIO ")),
                           addedFromCatalogue(QStringLiteral("GENERATOR GEN_USUARIO_LOG_ID ")),
                           addedFromCatalogue(QStringLiteral("TRIGGER TG_USUARIO_LOG "))};
    QTest::newRow("COMMON 1.06") << QStringLiteral("COMMON.SQL 1.05") << QStringLiteral("COMMON.SQL 1.06")
                                 << columnChanges('+', "CLIENTE",
                                                  {"PST_ENDERECO VARCHAR(40)", "PST_NUMERO VARCHAR(10)",
                                                   "PST_COMPLEMENTO VARCHAR(30)", "PST_BAIRRO VARCHAR(40)",
                                                   "PST_CIDADE VARCHAR(40)", "PST_UF VARCHAR(2)",
                                                   "PST_CEP VARCHAR(9)"});
    QTest::newRow("COMMON 1.07")
        << QStringLiteral("COMMON.SQL 1.06") << QStringLiteral("COMMON.SQL 1.07")
        << columnChanges('+', "CONTA_CORRENTE",
                         {"USA_OUTRO_TITULAR CHAR(1)", "TITULAR_NOME VARCHAR(50)", "TITULAR_CNPJ VARCHAR(20)",
                          "TITULAR_CCM VARCHAR(20)", "TITULAR_ENDERECO VARCHAR(40)",
                          "TITULAR_NUMERO VARCHAR(10)", "TITULAR_COMPLEMENTO VARCHAR(30)",
                          "TITULAR_BAIRRO VARCHAR(40)", "TITULAR_CIDADE VARCHAR(40)", "TITULAR_UF VARCHAR(2)",
                          "TITULAR_CEP VARCHAR(9)", "TITULAR_DDD VARCHAR(3)", "TITULAR_TEL VARCHAR(10)",
                          "TITULAR_FAXDDD VARCHAR(3)", "TITULAR_FAX VARCHAR(10)",
                          "TITULAR_EMAIL VARCHAR(255)", "TITULAR_SITE VARCHAR(255)"}) +
               columnChanges('+', "USUARIO_MODULO", {"TUDO CHAR(1)"}) +
               columnChanges('+', "ROTINA",
                             {"ID INTEGER NOT NULL", "MODULOID INTEGER", "CTRL_INDEX INTEGER",
                              "CTRL_INDEX_OWNER INTEGER", "NOME VARCHAR(255)", "ATIVO INTEGER",
                              "STATUS INTEGER"}) +
               columnChanges(
                   '+', "USUARIO_ROTINA",
                   {"ID INTEGER NOT NULL", "USUARIOID INTEGER", "ROTINAID INTEGER", "STATUS INTEGER"}) +
               QStringList{addedFromCatalogue(QStringLiteral("INDEX PK_ROTINA ")),
                           addedFromCatalogue(QStringLiteral("GENERATOR GEN_ROTINA_ID ")),
                           addedFromCatalogue(QStringLiteral("TRIGGER TG_ROTINA ")),
                           addedFromCatalogue(QStringLiteral("INDEX PK_USUARIO_ROTINA ")),
                           addedFromCatalogue(QStringLiteral("GENERATOR GEN_USUARIO_ROTINA_ID ")),
                           addedFromCatalogue(QStringLiteral("TRIGGER TG_USUARIO_ROTINA "))};
    QTest::newRow("COMMON 1.08") << QStringLiteral("COMMON.SQL 1.07") << QStringLiteral("COMMON.SQL 1.08")
                                 << columnChanges('+', "CLIENTE",
                                                  {"DESATIVACAO_DATA DATE", "DESATIVACAO_PORID INTEGER"}) +
                                        QStringList{
                                            addedFromCatalogue(QStringLiteral("INDEX FK_CLIENTE_USUARIO ")),
                                            addedFromCatalogue(QStringLiteral("INDEX IXC_USUARIO_LOG_01 "))};
    QTest::newRow("LEILAO 1.00")
        << QStringLiteral("COMMON.SQL 1.08") << QStringLiteral("LEILAO.SQL 1.00")
        << QStringList{QStringLiteral("+ ROW MODULO 1|QUINTARIS"),
                       addedFromCatalogue(QStringLiteral("INDEX PK_CONTROLE ")),
                       addedFromCatalogue(QStringLiteral("INDEX FK_CONTROLE_USUARIO ")),
                       addedFromCatalogue(QStringLiteral("GENERATOR GEN_CONTROLE_ID ")),
                       addedFromCatalogue(QStringLiteral("TRIGGER TG_CONTROLE "))} +
               columnChanges('+', "CONTROLE",
                             {"ID INTEGER NOT NULL", "LEILAO_DATA DATE", "LEILAO_NUMERO VARCHAR(4)",
                              "CLI_TIPO_PESSOA INTEGER", "CLI_DOCUMENTO VARCHAR(14)", "CLI_NOME VARCHAR(50)",
                              "NOTA_NUMERO INTEGER", "NOTA_MERCADORIA DOUBLE PRECISION",
                              "NOTA_PER_COMISSAO DOUBLE PRECISION", "NOTA_COMISSAO DOUBLE PRECISION",
                              "NOTA_TAXA_ADMIN DOUBLE PRECISION", "NOTA_TOTAL DOUBLE PRECISION",
                              "USUARIOID INTEGER"});
    QTest::newRow("LEILAO 1.01") << QStringLiteral("LEILAO.SQL 1.00") << QStringLiteral("LEILAO.SQL 1.01")
                                 << columnChanges('-', "CONTROLE", {"LEILAO_NUMERO VARCHAR(4)"}) +
                                        columnChanges('+', "CONTROLE", {"LEILAO_NUMERO VARCHAR(8)"});
}

void TestVersionScripts::versionChanges()
{
    QFETCH(QString, previous);
    QFETCH(QString, version);
    QFETCH(QStringList, changes);
    QVERIFY2(m_objects.contains(previous), qPrintable(previous));
    QVERIFY2(m_objects.contains(version), qPrintable(version));
    const QStringList before = m_objects.value(previous);
    const QStringList after = m_objects.value(version);
    QStringList actual;
    for (const QString &line : after) {
        if (!before.contains(line))
            actual.append(QStringLiteral("+ ") + line);
    }
    for (const QString &line : before) {
        if (!after.contains(line))
            actual.append(QStringLiteral("- ") + line);
    }
    compareLines(actual, changes);
}

void TestVersionScripts::columnOrder()
{
    // LEILAO 1.01 rebuilds the auction number as the last column; CLIENTE keeps its key first.
    const auto lastColumn = [&](const QString &table) {
        return queryValue(m_connection.get(),
                          QStringLiteral("select first 1 RDB$FIELD_NAME from RDB$RELATION_FIELDS "
                                         "where RDB$RELATION_NAME = '%1' order by RDB$FIELD_POSITION desc")
                              .arg(table));
    };
    QCOMPARE(lastColumn(QStringLiteral("CONTROLE")), QStringLiteral("LEILAO_NUMERO"));
    QCOMPARE(queryValue(m_connection.get(),
                        QStringLiteral("select first 1 skip 1 RDB$FIELD_NAME from "
                                       "RDB$RELATION_FIELDS where RDB$RELATION_NAME = 'CLIENTE' "
                                       "order by RDB$FIELD_POSITION")),
             QStringLiteral("CODIGO"));
}

void TestVersionScripts::nextUserGetsIdTwo()
{
    exec(QStringLiteral("insert into USUARIO (USUARIO, PRIMEIRO_NOME) values ('MARIA', 'Maria')"));
    QCOMPARE(queryValue(m_connection.get(), QStringLiteral("select ID from USUARIO where USUARIO = 'MARIA'")),
             QStringLiteral("2"));
    // The login name is unique.
    QVERIFY_THROWS_EXCEPTION(db::DatabaseError,
                             exec(QStringLiteral("insert into USUARIO (USUARIO) values ('MARIA')")));
}

void TestVersionScripts::controleTakesIdFromGenerator()
{
    exec(QStringLiteral("insert into CONTROLE (LEILAO_DATA, LEILAO_NUMERO, CLI_TIPO_PESSOA, CLI_DOCUMENTO, "
                        "CLI_NOME, NOTA_NUMERO, NOTA_MERCADORIA, NOTA_PER_COMISSAO, NOTA_COMISSAO, "
                        "NOTA_TAXA_ADMIN, NOTA_TOTAL, USUARIOID) values ('2026-03-14', '12345678', 1, "
                        "'52998224725', 'José da Conceição', 77, 1000, 5, 50, 10, 1060, 1)"));
    QCOMPARE(queryLines(m_connection.get(),
                        QStringLiteral("select ID, LEILAO_NUMERO, CLI_NOME, NOTA_TOTAL from CONTROLE")),
             QStringList{QStringLiteral("1|12345678|José da Conceição|1060")});
    QCOMPARE(
        queryValue(m_connection.get(), QStringLiteral("select gen_id(GEN_CONTROLE_ID, 0) from RDB$DATABASE")),
        QStringLiteral("1"));
    // A note must belong to an existing user.
    QVERIFY_THROWS_EXCEPTION(
        db::DatabaseError,
        exec(QStringLiteral("insert into CONTROLE (NOTA_NUMERO, USUARIOID) values (78, 999)")));
    // An explicit ID is kept and does not move the generator (the refused insert above did: generators are
    // outside transactions).
    const QString generator =
        queryValue(m_connection.get(), QStringLiteral("select gen_id(GEN_CONTROLE_ID, 0) "
                                                      "from RDB$DATABASE"));
    exec(QStringLiteral("insert into CONTROLE (ID, NOTA_NUMERO) values (500, 79)"));
    QCOMPARE(
        queryValue(m_connection.get(), QStringLiteral("select NOTA_NUMERO from CONTROLE where ID = 500")),
        QStringLiteral("79"));
    QCOMPARE(
        queryValue(m_connection.get(), QStringLiteral("select gen_id(GEN_CONTROLE_ID, 0) from RDB$DATABASE")),
        generator);
}

void TestVersionScripts::parameterStore_data()
{
    // Each row runs its SETPARAMS calls ("APELIDO|USUARIO|MODULO|PARAMETRO|ANO|MES|VALOR", "null" for a null
    // argument) and then one GETPARAMS call, on a PARAMETROS table emptied first.
    QTest::addColumn<QStringList>("sets");
    QTest::addColumn<QString>("get");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("rows");

    QTest::newRow("missing parameter gives one null row")
        << QStringList{} << QStringLiteral("|ANA|1|DADOS_EMAIL|0|0") << QStringLiteral("<null>") << 0;
    QTest::newRow("stored and read back")
        << QStringList{QStringLiteral("||1|DADOS_EMAIL|0|0|contato@quorvan.com.br")}
        << QStringLiteral("||1|DADOS_EMAIL|0|0") << QStringLiteral("contato@quorvan.com.br") << 1;
    QTest::newRow("second call updates the row")
        << QStringList{QStringLiteral("||1|DADOS_SITE|0|0|antigo"), QStringLiteral("||1|DADOS_SITE|0|0|novo")}
        << QStringLiteral("||1|DADOS_SITE|0|0") << QStringLiteral("novo") << 1;
    QTest::newRow("empty APELIDO is stored as null")
        << QStringList{QStringLiteral("||1|DADOS_CCM|0|0|123")} << QStringLiteral("null||1|DADOS_CCM|0|0")
        << QStringLiteral("123") << 1;
    QTest::newRow("APELIDO keeps rows apart")
        << QStringList{QStringLiteral("FILIAL||1|DADOS_CCM|0|0|filial"),
                       QStringLiteral("||1|DADOS_CCM|0|0|matriz")}
        << QStringLiteral("FILIAL||1|DADOS_CCM|0|0") << QStringLiteral("filial") << 2;
    QTest::newRow("user keeps rows apart")
        << QStringList{QStringLiteral("|ANA|1|GRADE|0|0|a"), QStringLiteral("|BETO|1|GRADE|0|0|b")}
        << QStringLiteral("|BETO|1|GRADE|0|0") << QStringLiteral("b") << 2;
    QTest::newRow("year and month are part of the key")
        << QStringList{QStringLiteral("||1|META|2026|3|marco"), QStringLiteral("||1|META|2026|4|abril")}
        << QStringLiteral("||1|META|2026|3") << QStringLiteral("marco") << 2;
    QTest::newRow("null user inserts every time")
        << QStringList{QStringLiteral("|null|1|X|0|0|a"), QStringLiteral("|null|1|X|0|0|b")}
        << QStringLiteral("|null|1|X|0|0") << QStringLiteral("<null>") << 2;
    QTest::newRow("null module inserts every time")
        << QStringList{QStringLiteral("||null|X|0|0|a"), QStringLiteral("||null|X|0|0|b")}
        << QStringLiteral("||null|X|0|0") << QStringLiteral("<null>") << 2;
    QTest::newRow("value with accents, 100 characters")
        << QStringList{QStringLiteral("||1|OBS|0|0|") + QStringLiteral("Ação ").repeated(19) +
                       QStringLiteral("Ações")}
        << QStringLiteral("||1|OBS|0|0") << QStringLiteral("Ação ").repeated(19) + QStringLiteral("Ações")
        << 1;
}

namespace {

QString sqlArguments(const QString &packed)
{
    QStringList arguments;
    const QStringList values = packed.split(QLatin1Char('|'));
    for (int i = 0; i < values.size(); ++i) {
        const QString &v = values.at(i);
        const bool number = i == 4 || i == 5;
        if (v == QLatin1String("null"))
            arguments.append(QStringLiteral("null"));
        else if (number)
            arguments.append(v);
        else
            arguments.append(QLatin1Char('\'') + QString(v).replace(QLatin1Char('\''), QStringLiteral("''")) +
                             QLatin1Char('\''));
    }
    return arguments.join(QStringLiteral(", "));
}

} // namespace

void TestVersionScripts::parameterStore()
{
    QFETCH(QStringList, sets);
    QFETCH(QString, get);
    QFETCH(QString, value);
    QFETCH(int, rows);

    exec(QStringLiteral("delete from PARAMETROS"));
    for (const QString &set : sets)
        exec(QStringLiteral("execute procedure SETPARAMS(%1)").arg(sqlArguments(set)));
    QCOMPARE(queryValue(m_connection.get(), QStringLiteral("select count(*) from PARAMETROS")),
             QString::number(rows));
    // Both ways of calling: as a selectable procedure and as EXECUTE PROCEDURE (the parameter store's way).
    const QStringList selected = queryLines(
        m_connection.get(), QStringLiteral("select VALOR from GETPARAMS(%1)").arg(sqlArguments(get)));
    QCOMPARE(selected, QStringList{value});

    db::Transaction transaction;
    transaction.setDefaultDatabase(m_connection.get());
    transaction.setParams(TestDatabase::transactionParams());
    transaction.start();
    db::Statement call(m_connection.get(), &transaction);
    call.setSql(QStringLiteral("execute procedure GETPARAMS(%1)").arg(sqlArguments(get)));
    call.execute();
    const db::Column result = call.field(QStringLiteral("VALOR"));
    QCOMPARE(result.isNull() ? QStringLiteral("<null>") : result.asString(), value);
    transaction.commit();
}

void TestVersionScripts::getParamsWithSeveralMatchesFails()
{
    exec(QStringLiteral("delete from PARAMETROS"));
    exec(QStringLiteral("insert into PARAMETROS (USUARIO, MODULO, PARAMETRO, ANO, MES, VALOR) "
                        "values ('', '1', 'DUPLO', 0, 0, 'a')"));
    exec(QStringLiteral("insert into PARAMETROS (USUARIO, MODULO, PARAMETRO, ANO, MES, VALOR) "
                        "values ('', '1', 'DUPLO', 0, 0, 'b')"));
    QVERIFY_THROWS_EXCEPTION(
        db::DatabaseError,
        queryLines(m_connection.get(),
                   QStringLiteral("select VALOR from GETPARAMS('', '', '1', 'DUPLO', 0, 0)")));
    // SETPARAMS changes every matching row.
    exec(QStringLiteral("execute procedure SETPARAMS('', '', '1', 'DUPLO', 0, 0, 'c')"));
    QCOMPARE(queryLines(m_connection.get(),
                        QStringLiteral("select VALOR from PARAMETROS where PARAMETRO = 'DUPLO'")),
             QStringList({QStringLiteral("c"), QStringLiteral("c")}));
}

void TestVersionScripts::activityLogTakesServerTime()
{
    const QString serverTime = QStringLiteral("select current_time from RDB$DATABASE");
    const QString before = queryValue(m_connection.get(), serverTime);
    exec(QStringLiteral(
        "insert into USUARIO_LOG (USUARIOID, MODULOID, DATA, HORA, TABLEID, FORMNAME, TELA, LOG) "
        "values (1, 1, '2001-01-01', '03:04:05', 42, 'TfrmLancaNotas', 'Lançar Notas', "
        "'Registro Inserido.')"));
    const QString after = queryValue(m_connection.get(), serverTime);
    QCOMPARE(queryLines(m_connection.get(),
                        QStringLiteral("select ID, USUARIOID, MODULOID, TABLEID, FORMNAME, TELA, "
                                       "LOG, DATA - current_date from USUARIO_LOG")),
             QStringList{QStringLiteral("1|1|1|42|TfrmLancaNotas|Lançar Notas|Registro Inserido.|0")});
    if (before <= after) { // not across midnight
        QCOMPARE(
            queryValue(m_connection.get(),
                       QStringLiteral("select count(*) from USUARIO_LOG where HORA between '%1' and '%2'")
                           .arg(before, after)),
            QStringLiteral("1"));
    }

    // Deleting the user takes the user's log with it.
    exec(QStringLiteral("insert into USUARIO (USUARIO) values ('TEMP')"));
    const QString id =
        queryValue(m_connection.get(), QStringLiteral("select ID from USUARIO where USUARIO = 'TEMP'"));
    exec(QStringLiteral("insert into USUARIO_LOG (USUARIOID, LOG) values (%1, 'x')").arg(id));
    exec(QStringLiteral("delete from USUARIO where ID = %1").arg(id));
    QCOMPARE(queryValue(m_connection.get(),
                        QStringLiteral("select count(*) from USUARIO_LOG where USUARIOID = %1").arg(id)),
             QStringLiteral("0"));
}

void TestVersionScripts::externalFunctions_data()
{
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("result");
    QTest::newRow("substr takes an end position")
        << QStringLiteral("SUBSTR('abcdef', 2, 3)") << QStringLiteral("bc");
    QTest::newRow("substr of accented text")
        << QStringLiteral("SUBSTR('Março', 1, 4)") << QStringLiteral("Març");
    QTest::newRow("substr with end before start") << QStringLiteral("SUBSTR('00000000', 1, 0)") << QString();
    QTest::newRow("strlen counts characters") << QStringLiteral("STRLEN('Conceição')") << QStringLiteral("9");
    QTest::newRow("ltrim") << QStringLiteral("LTRIM('   leilão  ')") << QStringLiteral("leilão");
    QTest::newRow("code of client 42")
        << QStringLiteral(
               "SUBSTR('00000000', 1, 8 - STRLEN(cast(42 as varchar(11)))) || cast(42 as varchar(11))")
        << QStringLiteral("00000042");
}

void TestVersionScripts::externalFunctions()
{
    QFETCH(QString, expression);
    QFETCH(QString, result);
    QCOMPARE(queryValue(m_connection.get(), QStringLiteral("select %1 from RDB$DATABASE").arg(expression)),
             result);
}

void TestVersionScripts::triggersTakeIdFromTheirGenerator_data()
{
    // A row inserted without an ID takes the next value of its table's own generator and moves no other; a
    // row inserted with an ID keeps it. "%1" in the marked column becomes a value that picks the row out.
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("generator");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("values");

    const auto row = [](const char *table, const char *generator, const char *columns, const char *values,
                        const char *setup = "") {
        QTest::newRow(table) << QString::fromUtf8(table) << QString::fromUtf8(generator)
                             << QString::fromUtf8(setup) << QString::fromUtf8(columns)
                             << QString::fromUtf8(values);
    };
    row("PARAMETROS", "GEN_PARAMETROS_ID", "PARAMETRO", "'%1'");
    row("CLIENTE", "GEN_CLIENTE_ID", "NOME", "'%1'");
    row("UNIDADE", "GEN_UNIDADE_ID", "TITULO", "'%1'");
    row("BANCO", "GEN_BANCO_ID", "BANCO", "%1");
    row("CONTA_CORRENTE", "GEN_CONTA_CORRENTE_ID", "BANCO, NUM_AGENCIA, NUM_CONTA", "9100, '0001', '%1'",
        "insert into BANCO (ID, BANCO, NOME) values (9100, 9100, 'Banco da conta')");
    row("FORNECEDOR", "GEN_FORNECEDOR_ID", "NOME", "'%1'");
    row("PRODUTO", "GEN_PRODUTO_ID", "DESCRICAO", "'%1'");
    row("USUARIO", "GEN_USUARIO_ID", "USUARIO", "'%1'");
    row("USUARIO_LOG", "GEN_USUARIO_LOG_ID", "LOG", "'%1'");
    row("ROTINA", "GEN_ROTINA_ID", "NOME", "'%1'");
    row("USUARIO_ROTINA", "GEN_USUARIO_ROTINA_ID", "STATUS", "%1");
    row("CONTROLE", "GEN_CONTROLE_ID", "NOTA_NUMERO", "%1");
}

void TestVersionScripts::triggersTakeIdFromTheirGenerator()
{
    QFETCH(QString, table);
    QFETCH(QString, generator);
    QFETCH(QString, setup);
    QFETCH(QString, columns);
    QFETCH(QString, values);

    // The marked column is the last one named.
    const QString marked = columns.section(QLatin1Char(','), -1).trimmed();
    const auto idOf = [&](int mark) {
        return queryValue(m_connection.get(),
                          QStringLiteral("select ID from %1 where %2 = %3")
                              .arg(table, marked, values.section(QLatin1Char(','), -1).trimmed().arg(mark)));
    };
    if (!setup.isEmpty())
        exec(setup);

    QStringList generators = generatorLines(m_connection.get());
    const int at = generators.indexOf(QRegularExpression(QStringLiteral("GENERATOR %1 = .*").arg(generator)));
    QVERIFY2(at >= 0, qPrintable(generator));
    const qint64 next = generators.at(at).section(QLatin1Char(' '), -1).toLongLong() + 1;

    exec(QStringLiteral("insert into %1 (%2) values (%3)").arg(table, columns, values.arg(7001)));
    QCOMPARE(idOf(7001), QString::number(next));
    generators[at] = QStringLiteral("GENERATOR %1 = %2").arg(generator).arg(next);
    QCOMPARE(generatorLines(m_connection.get()), generators);

    exec(QStringLiteral("insert into %1 (ID, %2) values (9000, %3)").arg(table, columns, values.arg(7002)));
    QCOMPARE(idOf(7002), QStringLiteral("9000"));
    QCOMPARE(generatorLines(m_connection.get()), generators);
}

void TestVersionScripts::upgradeKeepsData_data()
{
    QTest::addColumn<int>("commonVersions");
    QTest::newRow("from COMMON 1.00, LEILAO 1.00") << 1;
    QTest::newRow("from COMMON 1.01, LEILAO 1.00") << 2;
}

void TestVersionScripts::upgradeKeepsData()
{
    QFETCH(int, commonVersions);
    const bool hasSimples = commonVersions > 1;

    // An older database with data in the tables the later versions reshape.
    TestDatabase database(QStringLiteral("upgrade.fdb"));
    database.transaction().commit();
    database.database().close();
    const QList<Version> versions = allVersions();
    QList<Version> old = versions.mid(0, commonVersions);
    old.append(versions.at(9));
    QList<Version> rest = versions.mid(commonVersions, 9 - commonVersions);
    rest.append(versions.at(10));
    applyVersions(database, old, DdlMode::SeparateTransaction);
    if (QTest::currentTestFailed())
        return;
    database.database().open();
    database.exec(QStringList{
        QStringLiteral(
            "insert into CLIENTE (ID, NOME, DOCUMENTO, TIPOPESSOA, INSCRICAO_ESTADUAL, RESPONSAVEL, RG, "
            "TELEFONEDDD, TELEFONE, FAXDDD, FAX, CELULARDDD, CELULAR, IMPRIMIR_NOTA_FISCAL) "
            "values (42, 'Leilões São João', '12.345.678/0001-95', 2, '110.042.490.114', "
            "'Maria Aparecida da Conceição Gonçalves', '12.345.678-9X', 11, '3333-4444', 123, "
            "'5555-6666', null, '99999-8888', 'T')"),
        QStringLiteral(
            "insert into CLIENTE (ID, NOME, TELEFONEDDD, FAXDDD, CELULARDDD) values (7, 'Ana', 5, 1234, -3)"),
        QStringLiteral("insert into CLIENTE (NOME) values ('Sem código')"),
        QStringLiteral("insert into BANCO (BANCO, NOME) values (341, 'Itaú')"),
        QStringLiteral(
            "insert into CONTA_CORRENTE (BANCO, NUM_AGENCIA, NUM_CONTA) values (341, '0001', '12345-6')"),
        QStringLiteral("insert into USUARIO (USUARIO) values ('JOAO')"),
        QStringLiteral("insert into USUARIO_MODULO (USUARIOID, MODULOID) values (2, 1)"),
        QStringLiteral("insert into CONTROLE (LEILAO_NUMERO, NOTA_NUMERO) values ('0123', 1)"),
        QStringLiteral("insert into CONTROLE (LEILAO_NUMERO, NOTA_NUMERO) values ('9', 2)"),
        QStringLiteral("insert into CONTROLE (LEILAO_NUMERO, NOTA_NUMERO) values (null, 3)"),
        QStringLiteral("insert into CONTROLE (LEILAO_NUMERO, NOTA_NUMERO) values ('ÁÇÃO', 4)"),
    });
    if (hasSimples)
        database.exec(QStringLiteral("update CLIENTE set SIMPLES = 'S' where ID = 42"));
    database.database().close();

    applyVersions(database, rest, DdlMode::SeparateTransaction);
    if (QTest::currentTestFailed())
        return;
    std::unique_ptr<db::Database> connection = database.connectAgain();

    QCOMPARE(
        queryLines(connection.get(),
                   QStringLiteral("select ID, CODIGO, CNPJ_CPF, IE_RG, RESP, RG_RESP, TEL_DDD, "
                                  "TEL, FAX_DDD, FAX, CEL_DDD, CEL, IMP_NF, SIMPLES "
                                  "from CLIENTE order by ID")),
        QStringList({
            QStringLiteral("1|00000001|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>|"
                           "<null>|<null>"),
            QStringLiteral("7|00000007|<null>|<null>|<null>|<null>|5|<null>|<null>|<null>|-3|<null>|<null>|"
                           "<null>"),
            QStringLiteral("42|00000042|12.345.678/0001|110.042.490.114|Maria Aparecida da Conceição Gonçal|"
                           "12.345.678|11|3333-4444|123|5555-6666|<null>|99999-8888|T|") +
                (hasSimples ? QStringLiteral("S") : QStringLiteral("<null>")),
        }));
    // The leading blank of a short DDD is kept (the table above shows values trimmed).
    QCOMPARE(queryValue(connection.get(),
                        QStringLiteral("select '[' || TEL_DDD || ']' from CLIENTE where ID = 42")),
             QStringLiteral("[ 11]"));
    QCOMPARE(queryValue(connection.get(),
                        QStringLiteral("select '[' || CEL_DDD || ']' from CLIENTE where ID = 7")),
             QStringLiteral("[ -3]"));
    QCOMPARE(queryValue(connection.get(), QStringLiteral("select CODIGO_CEDENTE from CONTA_CORRENTE")),
             QStringLiteral("12345-6"));
    QCOMPARE(queryLines(connection.get(),
                        QStringLiteral("select USUARIOID, MODULOID, TUDO from USUARIO_MODULO order by 1, 2")),
             QStringList({QStringLiteral("1|3|S"), QStringLiteral("2|1|S")}));
    QCOMPARE(queryLines(connection.get(),
                        QStringLiteral("select NOTA_NUMERO, LEILAO_NUMERO from CONTROLE order by 1")),
             QStringList({QStringLiteral("1|0123"), QStringLiteral("2|9"), QStringLiteral("3|<null>"),
                          QStringLiteral("4|ÁÇÃO")}));

    // Apart from the generators the data moved, the catalogue is the one of a new database.
    QStringList expected = expectedCatalogue();
    expected.replace(expected.indexOf(QStringLiteral("GENERATOR GEN_CLIENTE_ID = 0")),
                     QStringLiteral("GENERATOR GEN_CLIENTE_ID = 1"));
    expected.replace(expected.indexOf(QStringLiteral("GENERATOR GEN_BANCO_ID = 0")),
                     QStringLiteral("GENERATOR GEN_BANCO_ID = 1"));
    expected.replace(expected.indexOf(QStringLiteral("GENERATOR GEN_CONTA_CORRENTE_ID = 0")),
                     QStringLiteral("GENERATOR GEN_CONTA_CORRENTE_ID = 1"));
    expected.replace(expected.indexOf(QStringLiteral("GENERATOR GEN_USUARIO_ID = 1")),
                     QStringLiteral("GENERATOR GEN_USUARIO_ID = 2"));
    expected.replace(expected.indexOf(QStringLiteral("GENERATOR GEN_CONTROLE_ID = 0")),
                     QStringLiteral("GENERATOR GEN_CONTROLE_ID = 4"));
    compareLines(catalogue(connection.get()), expected);
}

QTEST_GUILESS_MAIN(TestVersionScripts)
#include "tst_versionscripts.moc"
