#include "clscustomversion.h"

#include "framework/schema/upgrade/upgradedialogs.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

#include <algorithm>
#include <vector>

TVersionModuleClass VersionModuleClass = [] { return std::make_unique<TClsCustomVersion>(); };

namespace {

const QStringList kTransactionParams{QStringLiteral("read_committed"), QStringLiteral("rec_version"),
                                     QStringLiteral("nowait")};

void addCommonScripts(TZelScriptsSQL &scripts)
{
    for (const char *version : {"1.00", "1.01", "1.02", "1.03", "1.04", "1.05", "1.06", "1.07", "1.08"}) {
        const QString v = QString::fromLatin1(version);
        scripts.addFromFile(QStringLiteral("COMMON.SQL"), v,
                            QStringLiteral(":/schema/common/COMMON_%1.SQL").arg(v));
    }
}

/// The SQL-wait cursor while the upgrade works; nothing without a screen.
class WaitCursor
{
public:
    WaitCursor()
    {
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
            QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
            m_set = true;
        }
    }
    ~WaitCursor()
    {
        if (m_set)
            QGuiApplication::restoreOverrideCursor();
    }

private:
    bool m_set = false;
};

struct Installed
{
    QString script;
    QString number;
};

std::vector<Installed> readInstalled(TClsCustomVersion &module, const QString &databaseName)
{
    db::Database &database = *module.FDataBase;
    database.setDatabaseName(databaseName);
    module.DefaultTrans->setDefaultDatabase(&database);
    database.open();
    std::vector<Installed> rows;
    try {
        if (!module.DefaultTrans->isActive())
            module.DefaultTrans->start();
        db::Statement &sql = *module.SQL;
        sql.setDatabase(&database);
        sql.setTransaction(module.DefaultTrans);
        sql.execute();
        while (sql.next())
            rows.push_back({sql.field(QStringLiteral("SCRIPT")).asString(),
                            sql.field(QStringLiteral("NUMERO")).asString()});
        sql.close();
    } catch (...) {
        database.close();
        throw;
    }
    database.close();
    return rows;
}

const Installed *findInstalled(const std::vector<Installed> &rows, const QString &script)
{
    for (const Installed &row : rows)
        if (row.script == script)
            return &row;
    return nullptr;
}

QString incompatibleHeader()
{
    return QStringLiteral("A Versão deste programa é incompatível com a versão do banco de dados\r\n"
                          "Atualize o programa e tente novamente.\r\n\r\n");
}

} // namespace

TClsCustomVersion::TClsCustomVersion(QObject *parent) : QObject(parent)
{
    FDataBase = new db::Database(this);
    FDataBase->setObjectName(QStringLiteral("FDataBase"));
    // An administrative connection: database triggers of other modules must not run (or fail) while the
    // schema changes under them.
    FDataBase->setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbrex"),
                          QStringLiteral("no_db_triggers")});
    FDataBase->setSqlDialect(3);

    DefaultTrans = new db::Transaction(this);
    DefaultTrans->setObjectName(QStringLiteral("DefaultTrans"));
    DefaultTrans->setDefaultAction(db::EndAction::Rollback);
    DefaultTrans->setParams(kTransactionParams);
    DDLTrans = new db::Transaction(this);
    DDLTrans->setObjectName(QStringLiteral("DDLTrans"));
    DDLTrans->setDefaultAction(db::EndAction::Rollback);
    DDLTrans->setParams(kTransactionParams);

    IBSQLObj = new TZelIBSQLObj(this);
    IBSQLObj->setObjectName(QStringLiteral("IBSQLObj"));
    IBSQLObj->setDefaultTransIDX(0);
    IBSQLObj->setDDLTransIDX(0);
    IBSQLObj->setAutoDDL(true);
    IBSQLObj->setStatistics(false);
    if (QCoreApplication::instance())
        IBSQLObj->setPendingEventsHook(ZelScript::qtEventLoopHook());

    SQL = std::make_unique<db::Statement>(FDataBase, DefaultTrans);
    SQL->setSql(QStringLiteral("select * from VERSAO order by ID"));

    ScriptsCommon = new TZelScriptsSQL(this);
    ScriptsCommon->setObjectName(QStringLiteral("ScriptsCommon"));
    addCommonScripts(*ScriptsCommon);
    Scripts = new TZelScriptsSQL(this);
    Scripts->setObjectName(QStringLiteral("Scripts"));
}

TClsCustomVersion::~TClsCustomVersion()
{
    // The statement must let go of the connection before the connection (a child) is destroyed.
    SQL.reset();
}

TVersionList TClsCustomVersion::combinedVersions() const
{
    TVersionList all = ScriptsCommon->Versions;
    all.insert(all.end(), Scripts->Versions.begin(), Scripts->Versions.end());
    return all;
}

void TClsCustomVersion::bindTransactions(const QString &databaseName)
{
    DefaultTrans->setDefaultDatabase(FDataBase);
    DDLTrans->setDefaultDatabase(FDataBase);
    FDataBase->setDatabaseName(databaseName);
}

void TClsCustomVersion::runVersion(const TVersion &version)
{
    if (onVersionRun)
        onVersionRun(version);
    IBSQLObj->setAutoDDL(true);
    int defaultIndex = -1;
    int ddlIndex = -1;
    for (int i = 0; i < FDataBase->transactionCount(); ++i) {
        if (FDataBase->transaction(i) == FDataBase->findTransaction(QStringLiteral("DefaultTrans")))
            defaultIndex = i;
        if (FDataBase->transaction(i) == FDataBase->findTransaction(QStringLiteral("DDLTrans")))
            ddlIndex = i;
    }
    IBSQLObj->setDefaultTransIDX(defaultIndex);
    IBSQLObj->setDDLTransIDX(ddlIndex);
    IBSQLObj->setQuery(version.Script);
    IBSQLObj->setDatabase(FDataBase);
    IBSQLObj->ExecuteScript();
    if (DefaultTrans->isActive())
        DefaultTrans->commit();
    if (DDLTrans->isActive())
        DDLTrans->commit();
}

bool TClsCustomVersion::CreateSchema(const QString &databaseName)
{
    if (!FDataBase)
        return false;
    bindTransactions(databaseName);
    FDataBase->setDefaultTransaction(DefaultTrans);
    for (const TVersion &version : combinedVersions()) {
        if (!FDataBase->isConnected())
            FDataBase->open();
        try {
            runVersion(version);
        } catch (...) {
            FDataBase->close();
            throw;
        }
        FDataBase->close();
    }
    return true;
}

bool UpdateDatabase(TClsCustomVersion &module, const QString &databaseName, UpgradeDialogs &dialogs)
{
    const TVersionList versions = module.combinedVersions();
    WaitCursor cursor;
    db::Database &database = *module.FDataBase;
    bool ranAny = false;
    bool result = true;
    try {
        const std::vector<Installed> installed = readInstalled(module, databaseName);
        module.DefaultTrans->setDefaultDatabase(&database);
        module.DDLTrans->setDefaultDatabase(&database);
        database.setDatabaseName(databaseName);

        bool asked = false;
        bool proceed = false;
        for (const TVersion &version : versions) {
            const Installed *row = findInstalled(installed, version.Name);
            const bool needed = !row || VersionNumber(version.Version) > VersionNumber(row->number);
            if (!needed)
                continue;
            if (!database.isConnected())
                database.open();
            if (!asked) {
                asked = true;
                const bool skipBackup = !dialogs.askMakeBackup();
                proceed = dialogs.confirmUpgrade(database, databaseName, skipBackup);
            }
            if (proceed) {
                ranAny = true;
                database.close();
                database.open();
                try {
                    module.runVersion(version);
                } catch (...) {
                    database.close();
                    throw;
                }
            }
            database.close();
        }

        // Verify: the last version of each family the program carries against what the database records.
        std::vector<std::pair<QString, QString>> lastOfFamily;
        for (const TVersion &version : versions) {
            auto it = std::find_if(lastOfFamily.begin(), lastOfFamily.end(),
                                   [&](const auto &p) { return p.first == version.Name; });
            if (it == lastOfFamily.end())
                lastOfFamily.emplace_back(version.Name, version.Version);
            else
                it->second = version.Version;
        }
        const std::vector<Installed> after = readInstalled(module, databaseName);
        for (const auto &[name, version] : lastOfFamily) {
            const Installed *row = findInstalled(after, name);
            if (!row) {
                result = false;
                dialogs.showMessage(incompatibleHeader() + QStringLiteral("Falta o script: ") + name +
                                    QLatin1Char('-') + version);
                break;
            }
            if (row->number != version) {
                result = false;
                dialogs.showMessage(incompatibleHeader() + QStringLiteral("Programa: ") + name +
                                    QLatin1Char('-') + version + QStringLiteral("\r\nBanco de Dados: ") +
                                    row->script + QLatin1Char('-') + row->number);
            }
        }
    } catch (...) {
        if (database.isConnected()) {
            try {
                database.close();
            } catch (...) {
            }
        }
        return false;
    }
    if (ranAny)
        dialogs.showMessage(QStringLiteral("Banco de Dados foi atualizado com sucesso."));
    return result;
}
