#pragma once

#include <QString>

#include <stdexcept>

/// A failed script run: the message, the step of the run that failed, its error number and the data it
/// concerns.
class EISQLException final : public std::runtime_error
{
public:
    /// The step of a script run that failed; the values are the numbers callers and logs know.
    enum Category : int {
        PrepareRun = 0,        // preparing a run on an already connected database
        SetDialect = 1,        // data: the dialect number as text
        InputFile = 2,         // data: the file name; error number 61
        Parse = 3,             // splitting, CONNECT or CREATE DATABASE text
        CreateDatabase = 4,    // data: database name
        Connect = 5,           // data: database name
        PrepareStatement = 6,  // data: the statement (also "No active connection")
        Commit = 7,            // data: the statement
        Rollback = 8,          // data: the statement
        DataDefinition = 9,    // data: the statement
        DataManipulation = 10, // data: the statement
        Select = 11,           // data: the statement
        Statistics = 12,       // collecting the statistics after the run
    };

    static constexpr int ScriptErrorNumber = 48;
    static constexpr int InputFileErrorNumber = 61;

    /// The error number follows from the category: 61 for an unreadable input file, 48 for everything else.
    EISQLException(const QString &message, Category category, const QString &data = {});

    const QString &message() const { return m_message; }
    Category category() const { return m_category; }
    int errorNumber() const { return m_errorNumber; }
    const QString &data() const { return m_data; }

    static QString unableToParseScriptText() { return QStringLiteral("Unable to parse script"); }
    static QString connectParseErrorText()
    {
        return QStringLiteral("An error occured parsing CONNECT statement.");
    }
    static QString createParseErrorText()
    {
        return QStringLiteral("An error occured parsing CREATE statement.");
    }
    static QString noActiveConnectionText() { return QStringLiteral("No active connection"); }
    /// Appended to the closing error when CONNECT finds the current default transaction still active.
    static QString commitOrRollbackSuffix()
    {
        return QStringLiteral("\r\nCommit or Rollback the current transaction");
    }

private:
    QString m_message;
    Category m_category;
    int m_errorNumber;
    QString m_data;
};
