#include "backupservice.h"

#include "database.h"
#include "dberror.h"
#include "engine.h"
#include "status.h"

#include <ibase.h>

#include <QFile>

namespace db {

namespace {

// Service handle released on every path.
struct ServiceHandle
{
    isc_svc_handle handle = 0;
    ~ServiceHandle()
    {
        if (handle) {
            Status status;
            isc_service_detach(status, &handle);
        }
    }
};

void appendAttachString(QByteArray &spb, char code, const QByteArray &value)
{
    spb.append(code);
    spb.append(char(value.size()));
    spb.append(value);
}

void appendActionString(QByteArray &spb, char code, const QByteArray &value)
{
    spb.append(code);
    spb.append(char(value.size() & 0xFF));
    spb.append(char((value.size() >> 8) & 0xFF));
    spb.append(value);
}

void appendActionInt(QByteArray &spb, char code, quint32 value)
{
    spb.append(code);
    for (int i = 0; i < 4; ++i)
        spb.append(char((value >> (8 * i)) & 0xFF));
}

} // namespace

void BackupService::setFromDatabase(const Database &database)
{
    m_host = database.host();
    m_databasePath = database.path();
    const QString user = database.param(QStringLiteral("user_name"));
    if (!user.isEmpty())
        m_user = user;
    m_password = database.param(QStringLiteral("password"));
    m_traceTo = &database;
}

void BackupService::backup(const LineHandler &onLine)
{
    run(isc_action_svc_backup, onLine, "BackupService::backup");
}

void BackupService::restore(const LineHandler &onLine)
{
    run(isc_action_svc_restore, onLine, "BackupService::restore");
}

void BackupService::run(char action, const LineHandler &onLine, const char *context)
{
    if (m_databasePath.isEmpty() || m_backupFile.isEmpty())
        throw ProgrammingError(QStringLiteral("Backup service needs a database and a backup file"));
    if (m_host.isEmpty())
        Engine::configure();

    const QByteArray serviceName =
        (m_host.isEmpty() ? QStringLiteral("service_mgr") : m_host + QStringLiteral(":service_mgr")).toUtf8();
    QByteArray attach;
    attach.append(char(isc_spb_version));
    attach.append(char(isc_spb_current_version));
    appendAttachString(attach, isc_spb_user_name, m_user.toUtf8());
    if (!m_password.isEmpty())
        appendAttachString(attach, isc_spb_password, m_password.toUtf8());

    Status status;
    ServiceHandle service;
    isc_service_attach(status, static_cast<unsigned short>(serviceName.size()), serviceName.constData(),
                       &service.handle, static_cast<unsigned short>(attach.size()), attach.constData());
    status.check(context, QString::fromUtf8(serviceName));

    QByteArray request;
    request.append(action);
    appendActionString(request, isc_spb_dbname, QFile::encodeName(m_databasePath));
    appendActionString(request, isc_spb_bkp_file, QFile::encodeName(m_backupFile));
    if (m_verbose)
        request.append(char(isc_spb_verbose));
    if (action == isc_action_svc_restore)
        appendActionInt(request, isc_spb_options, isc_spb_res_create);
    isc_service_start(status, &service.handle, nullptr, static_cast<unsigned short>(request.size()),
                      request.constData());
    status.check(context, m_databasePath);
    const bool tracing = m_traceTo && m_traceTo->tracing(TraceFlag::Service);
    if (tracing)
        m_traceTo->trace(
            TraceFlag::Service,
            QStringLiteral("%1: %2 -> %3")
                .arg(action == isc_action_svc_backup ? QStringLiteral("Backup") : QStringLiteral("Restore"),
                     m_databasePath, m_backupFile));

    // Read the output line by line until the service says it has nothing more.
    const char query[] = {isc_info_svc_line};
    char buffer[4096];
    for (;;) {
        isc_service_query(status, &service.handle, nullptr, 0, nullptr, sizeof query, query, sizeof buffer,
                          buffer);
        status.check(context, m_databasePath);
        if (buffer[0] != isc_info_svc_line)
            break;
        const int len = int(isc_portable_integer(reinterpret_cast<const ISC_UCHAR *>(buffer + 1), 2));
        if (len == 0)
            break;
        const QString line = QString::fromUtf8(buffer + 3, len);
        if (tracing)
            m_traceTo->trace(TraceFlag::Service, line);
        if (onLine)
            onLine(line);
    }
}

} // namespace db
