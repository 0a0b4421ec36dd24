#pragma once

#include "zelscriptssql.h"

#include "framework/schema/zelibsqlobj.h"
#include "platform/db/database.h"
#include "platform/db/statement.h"
#include "platform/db/transaction.h"

#include <QObject>

#include <functional>
#include <memory>

class UpgradeDialogs;

/// The version data module: its own connection, the executor and the version scripts the program carries
/// (the framework's COMMON.SQL family; an application adds its own in Scripts).
class TClsCustomVersion : public QObject
{
    Q_OBJECT
public:
    explicit TClsCustomVersion(QObject *parent = nullptr);
    ~TClsCustomVersion() override;

    TZelIBSQLObj *IBSQLObj;
    db::Transaction *DefaultTrans;
    db::Transaction *DDLTrans;
    db::Database *FDataBase;
    std::unique_ptr<db::Statement> SQL;
    TZelScriptsSQL *ScriptsCommon;
    TZelScriptsSQL *Scripts;

    /// Runs every version, in order, on a database just created; errors reach the caller.
    bool CreateSchema(const QString &databaseName);

    /// Every version of ScriptsCommon followed by every version of Scripts.
    TVersionList combinedVersions() const;
    /// Runs one version on the connected FDataBase and commits.
    void runVersion(const TVersion &version);

    /// Told before each version runs (the administration tool prints it).
    std::function<void(const TVersion &)> onVersionRun;

private:
    void bindTransactions(const QString &databaseName);
};

/// Makes the version module of the running program (the framework's own unless the application sets its
/// own at start).
using TVersionModuleClass = std::function<std::unique_ptr<TClsCustomVersion>()>;
extern TVersionModuleClass VersionModuleClass;

/// Brings the database to the program's versions (after the backup and the confirmation) and answers
/// whether it may be used.
bool UpdateDatabase(TClsCustomVersion &module, const QString &databaseName, UpgradeDialogs &dialogs);
