#pragma once

#include "logerror.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

/// The run's exception and database-error entries and the INI files they are flushed to, one file per
/// flush under Log/EXCEPTION/ and Log/DBA/ of the program's folder.
class ErrorLogs
{
public:
    ErrorLogs();

    /// The folder under which Log/ lives; the program's folder unless set.
    QString baseDirectory() const;
    void setBaseDirectory(const QString &folder) { m_baseDirectory = folder; }
    /// The time of entries and flushes; the wall clock unless replaced.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    QDateTime now() const { return m_clock(); }

    /// The machine's name as the logs record it (at most 255 characters, empty when unknown).
    static QString computerName();

    void addException(const QString &message);
    void addDatabaseError(int sqlCode, const QString &message, const QString &server);
    const QList<TLogError> &exceptions() const { return m_exceptions; }
    const QList<TLogErrorDataBase> &databaseErrors() const { return m_databaseErrors; }

    /// Writes every exception entry not yet written into a file named by the flush time; nothing when
    /// none is pending. `forms` are the captions of the open windows. False when the file failed.
    bool flushExceptions(const QStringList &forms);
    /// Writes the database-error header and every entry not yet written; nothing while the run had no
    /// database error. False when the file failed.
    bool flushDatabaseErrors();

    /// The files written so far in this run, oldest first.
    QStringList writtenFiles() const { return m_writtenFiles; }

private:
    QString fileFor(const QString &kind) const;
    void reportFailure(const QString &path, bool &reported);

    QString m_baseDirectory;
    std::function<QDateTime()> m_clock;
    QString m_computerName;
    QList<TLogError> m_exceptions;
    QList<TLogErrorDataBase> m_databaseErrors;
    QStringList m_writtenFiles;
    bool m_exceptionFailureReported = false;
    bool m_databaseFailureReported = false;
};
