#pragma once

#include "framework/schema/upgrade/upgradedialogs.h"

#include <QTextStream>

/// Answers the upgrade's questions without windows: backs up unless told not to, refuses while other users
/// are attached, and prints what the windows would show.
class ConsoleUpgradeDialogs final : public UpgradeDialogs
{
public:
    ConsoleUpgradeDialogs(bool makeBackup, QTextStream &out, QTextStream &err)
        : m_makeBackup(makeBackup), m_out(out), m_err(err)
    {}

    bool askMakeBackup() override { return m_makeBackup; }
    bool confirmUpgrade(db::Database &connection, const QString &databaseName, bool skipBackup) override;
    void showMessage(const QString &text) override;

    QString backupFile() const { return m_backupFile; }

private:
    bool m_makeBackup;
    QTextStream &m_out;
    QTextStream &m_err;
    QString m_backupFile;
};
