#include "versionbackup.h"

#include "platform/db/backupservice.h"

#include <QFileInfo>

namespace VersionBackup {

namespace {

const QString kAdministratorPassword = QStringLiteral("quillbrex");

} // namespace

QString BackupFileName(const QString &databasePath, const QDateTime &when)
{
    return databasePath + QLatin1Char('-') + when.toString(QStringLiteral("yyyy-MM-dd-HH-mm")) +
           QStringLiteral(".gbk");
}

QString UnusedBackupFileName(const QString &file)
{
    // Only an earlier backup is stepped over; anything else in the way makes the backup fail as it would.
    const auto takenByBackup = [](const QString &name) {
        const QFileInfo info(name);
        return info.exists() && !info.isDir();
    };
    if (!takenByBackup(file))
        return file;
    const QString stem = file.chopped(int(qstrlen(".gbk")));
    for (int n = 2;; ++n) {
        const QString candidate = QStringLiteral("%1-%2.gbk").arg(stem).arg(n);
        if (!takenByBackup(candidate))
            return candidate;
    }
}

void SplitDatabaseName(const QString &databaseName, QString &server, QString &path)
{
    const qsizetype colon = databaseName.indexOf(QLatin1Char(':'));
    // A colon at position 1 is a drive letter of a stored Windows path, not a server.
    if (colon <= 1) {
        server.clear();
        path = databaseName;
        return;
    }
    server = databaseName.left(colon);
    path = databaseName.mid(colon + 1);
}

QString RunBackup(const QString &databaseName, const std::function<void(const QString &)> &onLine)
{
    QString server, path;
    SplitDatabaseName(databaseName, server, path);
    QString file = BackupFileName(path, QDateTime::currentDateTime());
    // A second upgrade within the same minute, typically a retry after a version failed midway, must not
    // write over the first one's backup: that is the database as it was before any version ran. The folder
    // of a server's database cannot be seen from here.
    if (server.isEmpty())
        file = UnusedBackupFileName(file);
    try {
        db::BackupService service;
        service.setHost(server);
        service.setDatabasePath(path);
        service.setBackupFile(file);
        service.setUser(QStringLiteral("SYSDBA"));
        service.setPassword(kAdministratorPassword);
        service.setVerbose(true);
        service.backup(onLine);
    } catch (...) {
        return {};
    }
    return file;
}

QString ProceedRefusal(int attachedUsers, const QString &backupFile, bool skipBackup)
{
    if (attachedUsers > 1)
        return QStringLiteral(
                   "Processo não pode continuar pois existem usuários conectados a Base de Dados.\r\n"
                   "Existe(m) %1 usuário(s) conectados.")
            .arg(attachedUsers - 1);
    if (backupFile.isEmpty() && !skipBackup)
        return QStringLiteral(
            "Backup não efetuado. Não será possível efetuar a atualização do banco de dados.");
    return {};
}

} // namespace VersionBackup
