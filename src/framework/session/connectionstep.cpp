#include "connectionstep.h"

#include "clsdbdatamodule.h"
#include "clsloginserver.h"
#include "inifile.h"
#include "programdirectory.h"
#include "sessionprompts.h"

#include "framework/data/zeldataset.h"
#include "framework/schema/upgrade/upgradedialogs.h"
#include "framework/schema/version/clscustomversion.h"
#include "platform/db/dberror.h"

#include <QList>
#include <QPointer>

namespace {

const QString kSection = QStringLiteral("CONNECTION");
const QString kKey = QStringLiteral("DATABASENAME");

TClsDBDataModule &mainModule()
{
    if (!ClsDBDataModule)
        throw db::ProgrammingError(QStringLiteral("The main data module does not exist"));
    return *ClsDBDataModule;
}

/// What was open on the previous connection, to be opened again on the next one.
struct OpenState
{
    QList<QPointer<db::Transaction>> transactions;
    QList<QPointer<TZelDataSet>> dataSets;

    void restore()
    {
        for (const QPointer<db::Transaction> &t : transactions)
            if (t && !t->isActive())
                t->start();
        for (const QPointer<TZelDataSet> &ds : dataSets)
            if (ds && !ds->isActive())
                ds->open();
    }
};

bool schemaAccepts(const QString &databaseName)
{
    WaitCursor wait;
    std::unique_ptr<TClsCustomVersion> module =
        VersionModuleClass ? VersionModuleClass() : std::make_unique<TClsCustomVersion>();
    WidgetUpgradeDialogs dialogs;
    return UpdateDatabase(*module, databaseName, dialogs);
}

} // namespace

QString ConnectionIniPath()
{
    return ProgramDirectory::filePath(QStringLiteral("connection.ini"));
}

QString ReadSavedDatabaseName()
{
    return IniFile(ConnectionIniPath()).readString(kSection, kKey);
}

void SaveDatabaseName(const QString &databaseName)
{
    IniFile ini(ConnectionIniPath());
    ini.writeString(kSection, kKey, databaseName);
    ini.save(ConnectionIniPath());
}

bool ConnectTo(const QString &databaseName)
{
    if (databaseName.trimmed().isEmpty()) {
        SessionPrompts::ShowMessage(QStringLiteral("Digite o Servidor."));
        return false;
    }
    TClsDBDataModule &module = mainModule();
    db::Database &database = *module.dbMain;
    QString oldName;
    OpenState state;
    bool result = false;
    try {
        if (database.isConnected()) {
            if (database.databaseName() == databaseName)
                return true;
            oldName = database.databaseName();
            TZelSQLGlobals &globals = *module.ZelSQLGlobals;
            for (int i = 0; i < globals.DataSetCount(); ++i)
                if (globals.DataSet(i)->isActive())
                    state.dataSets << globals.DataSet(i);
            for (int i = 0; i < database.transactionCount(); ++i) {
                db::Transaction *t = database.transaction(i);
                if (t->isActive())
                    state.transactions << t;
            }
            for (const QPointer<db::Transaction> &t : state.transactions)
                if (t && t->isActive())
                    t->rollback();
            database.close();
        }
        database.setDatabaseName(databaseName);
        if (!schemaAccepts(databaseName))
            return false;
        database.open();
        state.restore();
        result = database.isConnected();
    } catch (...) {
        result = database.isConnected();
        if (!oldName.isEmpty()) {
            // Back on the database the session had: the new one is not the one now connected.
            result = false;
            try {
                database.close();
                database.setDatabaseName(oldName);
                database.open();
                state.restore();
            } catch (...) {
            }
        }
    }
    if (result)
        SaveDatabaseName(databaseName);
    return result;
}

bool OpenConnection()
{
    TClsDBDataModule &module = mainModule();
    TClsLoginServer dialog;
    const QString saved = ReadSavedDatabaseName();
    if (saved.isEmpty()) {
        dialog.exec();
    } else if (!ConnectTo(saved)) {
        if (SessionPrompts::AskYesNo(TClsLoginServer::retryQuestion()))
            dialog.exec();
    }
    return module.dbMain->isConnected();
}
