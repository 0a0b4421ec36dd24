#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace db {

class Database;

/// Backup and restore through the engine's service manager: "host" reaches a server, an empty host the
/// embedded engine of this process. The engine's process writes the file.
class BackupService
{
public:
    using LineHandler = std::function<void(const QString &line)>;

    void setHost(const QString &host) { m_host = host; }
    QString host() const { return m_host; }
    void setUser(const QString &user) { m_user = user; }
    void setPassword(const QString &password) { m_password = password; }
    void setDatabasePath(const QString &path) { m_databasePath = path; }
    QString databasePath() const { return m_databasePath; }
    void setBackupFile(const QString &path) { m_backupFile = path; }
    QString backupFile() const { return m_backupFile; }
    void setVerbose(bool on) { m_verbose = on; }

    /// Takes host and path from a connection's database name and its user and password lines; the service's
    /// progress is traced on that connection.
    void setFromDatabase(const Database &database);

    /// Writes the backup; each verbose line goes to `onLine` as it arrives. Failures throw DatabaseError.
    void backup(const LineHandler &onLine = {});
    /// Creates the database file from a backup (the target must not exist).
    void restore(const LineHandler &onLine = {});

private:
    void run(char action, const LineHandler &onLine, const char *context);

    QString m_host;
    QString m_user = QStringLiteral("SYSDBA");
    QString m_password;
    QString m_databasePath;
    QString m_backupFile;
    bool m_verbose = true;
    const Database *m_traceTo = nullptr;
};

} // namespace db
