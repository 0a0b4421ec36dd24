#include "consoleupgradedialogs.h"

#include "framework/schema/upgrade/versionbackup.h"
#include "platform/db/database.h"

bool ConsoleUpgradeDialogs::confirmUpgrade(db::Database &connection, const QString &databaseName,
                                           bool skipBackup)
{
    // Nobody else may be working while the schema changes: look before spending time on a backup.
    int users = 0;
    try {
        users = int(connection.attachedUsers().size());
    } catch (const std::exception &e) {
        m_err << QStringLiteral("Não foi possível verificar os usuários conectados a Base de Dados.")
              << Qt::endl
              << QString::fromUtf8(e.what()) << Qt::endl;
        return false;
    }
    QString refusal = VersionBackup::ProceedRefusal(users, QStringLiteral("-"), true);
    if (refusal.isEmpty() && !skipBackup) {
        m_out << QStringLiteral("Aguarde enquanto o backup é realizado...") << Qt::endl;
        m_backupFile =
            VersionBackup::RunBackup(databaseName, [&](const QString &line) { m_out << line << Qt::endl; });
        refusal = VersionBackup::ProceedRefusal(users, m_backupFile, skipBackup);
        if (!m_backupFile.isEmpty())
            m_out << QStringLiteral("Backup gravado em %1").arg(m_backupFile) << Qt::endl;
    }
    if (!refusal.isEmpty()) {
        m_err << QString(refusal).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << Qt::endl;
        return false;
    }
    return true;
}

void ConsoleUpgradeDialogs::showMessage(const QString &text)
{
    m_out << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << Qt::endl;
}
