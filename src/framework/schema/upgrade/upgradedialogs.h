#pragma once

#include <QString>

namespace db {
class Database;
}

/// The questions an upgrade asks the person at the machine; windows answer them in the program, the
/// administration tool and the tests answer them otherwise.
class UpgradeDialogs
{
public:
    virtual ~UpgradeDialogs() = default;
    /// Whether to back the database up before upgrading.
    virtual bool askMakeBackup() = 0;
    /// Backs up unless `skipBackup`, then confirms; true when the upgrade may proceed. `connection` is the
    /// upgrade's own connection (connected); `databaseName` the database as the user chose it.
    virtual bool confirmUpgrade(db::Database &connection, const QString &databaseName, bool skipBackup) = 0;
    /// A message of the upgrade (incompatible versions, success).
    virtual void showMessage(const QString &text) = 0;
};

/// The upgrade's windows: the backup authorisation, the confirmation and the backup progress.
class WidgetUpgradeDialogs final : public UpgradeDialogs
{
public:
    bool askMakeBackup() override;
    bool confirmUpgrade(db::Database &connection, const QString &databaseName, bool skipBackup) override;
    void showMessage(const QString &text) override;
};
