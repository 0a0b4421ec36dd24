#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

namespace db {

/// A failure reported by the database engine: SQL code, engine (GDS) code, interpreted message and statement.
class DatabaseError final : public std::runtime_error
{
public:
    DatabaseError(const QString &message, int sqlCode, long gdsCode, const QString &statement = {},
                  const QString &context = {});

    const QString &message() const { return m_message; }
    int sqlCode() const { return m_sqlCode; }
    long gdsCode() const { return m_gdsCode; }
    const QString &statement() const { return m_statement; }
    const QString &context() const { return m_context; }

private:
    QString m_message;
    int m_sqlCode;
    long m_gdsCode;
    QString m_statement;
    QString m_context;
};

/// Misuse of the data layer by the program itself; texts are English.
class ProgrammingError final : public std::logic_error
{
public:
    explicit ProgrammingError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

/// Ends a refused operation without any further message (the caller's work simply stops).
class SilentAbort final : public std::exception
{
public:
    const char *what() const noexcept override { return "Operation aborted"; }
};

/// A value the data layer cannot accept (text that the character set cannot hold, too long, wrong kind).
/// The message is meant for the user and is Portuguese.
class ValueError final : public std::runtime_error
{
public:
    explicit ValueError(const QString &message);
    QString message() const { return QString::fromUtf8(what()); }
};

} // namespace db
