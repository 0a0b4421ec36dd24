#include "errorlogs.h"

#include "inifile.h"
#include "programdirectory.h"

#include "platform/regional/datetimeformat.h"

#include <QDir>
#include <QSysInfo>

#include <cstdio>

ErrorLogs::ErrorLogs() : m_clock([] { return QDateTime::currentDateTime(); }), m_computerName(computerName())
{}

QString ErrorLogs::baseDirectory() const
{
    return m_baseDirectory.isEmpty() ? ProgramDirectory::path() : m_baseDirectory;
}

QString ErrorLogs::computerName()
{
    return QSysInfo::machineHostName().left(255);
}

void ErrorLogs::addException(const QString &message)
{
    m_exceptions.append({message, now(), m_computerName, false});
}

void ErrorLogs::addDatabaseError(int sqlCode, const QString &message, const QString &server)
{
    m_databaseErrors.append({sqlCode, message, now(), server, m_computerName, false});
}

QString ErrorLogs::fileFor(const QString &kind) const
{
    return QDir(baseDirectory())
        .filePath(
            QStringLiteral("Log/%1/%2.INI").arg(kind, now().toString(QStringLiteral("yyyyMMdd_HHmmss"))));
}

void ErrorLogs::reportFailure(const QString &path, bool &reported)
{
    // Never through the error handler: a log that cannot be written would only produce more of the same.
    if (reported)
        return;
    reported = true;
    std::fprintf(stderr, "Quintaris: cannot write the log file %s\n",
                 qPrintable(QDir::toNativeSeparators(path)));
}

bool ErrorLogs::flushExceptions(const QStringList &forms)
{
    bool pending = false;
    for (const TLogError &e : m_exceptions)
        pending = pending || !e.written;
    if (!pending)
        return true;
    const QString path = fileFor(QStringLiteral("EXCEPTION"));
    IniFile ini(path);
    QString formsText;
    for (const QString &caption : forms)
        formsText += caption + QLatin1Char('|');
    QList<int> flushed;
    for (int i = 0; i < m_exceptions.size(); ++i) {
        const TLogError &e = m_exceptions.at(i);
        if (e.written)
            continue;
        const QString section = QStringLiteral("OCORRENCIA EM ") + regional::dateTimeToText(e.dateTime);
        ini.writeString(section, QStringLiteral("COMPUTERNAME"), e.computerName);
        ini.writeString(section, QStringLiteral("MESSAGE"), e.message);
        ini.writeString(section, QStringLiteral("FORMS"), formsText);
        flushed << i;
    }
    if (!ini.save(path)) {
        reportFailure(path, m_exceptionFailureReported);
        return false;
    }
    for (int i : flushed)
        m_exceptions[i].written = true;
    if (!m_writtenFiles.contains(path))
        m_writtenFiles << path;
    return true;
}

bool ErrorLogs::flushDatabaseErrors()
{
    if (m_databaseErrors.isEmpty())
        return true;
    const QString path = fileFor(QStringLiteral("DBA"));
    IniFile ini(path);
    ini.writeString(QStringLiteral("CABECALHO"), QStringLiteral("QUANTIDADE"),
                    QString::number(m_databaseErrors.size()));
    QList<int> flushed;
    for (int i = 0; i < m_databaseErrors.size(); ++i) {
        const TLogErrorDataBase &e = m_databaseErrors.at(i);
        if (e.written)
            continue;
        const QString section = QStringLiteral("ERROR(%1)").arg(i);
        ini.writeString(section, QStringLiteral("COMPUTERNAME"), e.computerName);
        ini.writeString(section, QStringLiteral("SERVERNAME"), e.server);
        ini.writeString(section, QStringLiteral("DATETIME"), regional::dateTimeToText(e.dateTime));
        ini.writeString(section, QStringLiteral("MESSAGE"), e.message);
        ini.writeString(section, QStringLiteral("SQLCODE"), QString::number(e.sqlCode));
        flushed << i;
    }
    if (!ini.save(path)) {
        reportFailure(path, m_databaseFailureReported);
        return false;
    }
    for (int i : flushed)
        m_databaseErrors[i].written = true;
    if (!m_writtenFiles.contains(path))
        m_writtenFiles << path;
    return true;
}
