#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace db {
class Database;
}

/// The server-side backup taken before a schema upgrade, and the checks that let the upgrade proceed.
namespace VersionBackup {

/// Database path + "-" + "yyyy-mm-dd-hh-mm" + ".gbk".
QString BackupFileName(const QString &databasePath, const QDateTime &when);

/// `file` unless an earlier backup (a file) has that name, else the first name not taken by one, with "-2",
/// "-3"... before ".gbk".
QString UnusedBackupFileName(const QString &file);

/// Splits "server:path" at its first ":"; a name without a host is a local database (empty server).
void SplitDatabaseName(const QString &databaseName, QString &server, QString &path);

/// Backs the database up through the service manager of its server (the local engine without a server).
/// Each output line goes to `onLine`. Answers the backup file name, or empty on any failure. A local backup
/// never writes over an existing file.
QString RunBackup(const QString &databaseName, const std::function<void(const QString &)> &onLine);

/// Why "&Atualizar" cannot go on yet, or empty when it may. `attachedUsers` counts this program too.
QString ProceedRefusal(int attachedUsers, const QString &backupFile, bool skipBackup);

} // namespace VersionBackup
