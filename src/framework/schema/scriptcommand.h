#pragma once

#include <QString>
#include <QStringList>

#include <optional>

/// First argument of the executor's OnISQLEvent: what has just happened.
enum class TSQLEvent : int {
    Drop = 0,         // DROP DATABASE, or a DROP data-definition statement
    Alter = 1,        // an ALTER data-definition statement
    Connect = 2,      // CONNECT
    Create = 3,       // CREATE DATABASE, or a CREATE data-definition statement
    Transaction = 4,  // COMMIT or ROLLBACK
    OtherDdl = 5,     // any other data-definition statement
    Dialect = 6,      // SET SQL DIALECT
    RowsAffected = 7, // INSERT, UPDATE, DELETE
    AutoDdl = 8,      // SET AUTODDL
};

/// Second argument of OnISQLEvent: the object concerned.
enum class TSQLSubEvent : int {
    Table = 0,
    Trigger = 1,
    Procedure = 2,
    Domain = 3,
    Filter = 4,
    External = 5,
    Exception = 6,
    Database = 7,
    Other = 8, // also the sub-event of COMMIT, ROLLBACK and INSERT/UPDATE/DELETE
    View = 9,
    Role = 10,
    Generator = 11,
    Dialect1 = 12,
    Dialect2 = 13,
    Dialect3 = 14,
    AutoDdl = 15,
};

namespace ZelScript {

/// What a statement of a script asks the executor to do.
enum class ScriptCommandKind {
    Ignored,        // BLOBDUMP, EDIT, EXIT, HELP, QUIT, SHOW
    Input,          // IN / INPUT: argument is the file name
    Output,         // OUT / OUTPUT: nothing of its own; the statement goes to the server as an ordinary one
    SetIgnored,     // SET COUNT, ECHO, LIST, PLAN, STATS, TIME
    SetNames,       // argument is the upper-cased character set for a later CONNECT
    SetSqlDialect,  // argument is the dialect text (see ScriptCommand::integerArgument)
    SetAutoDdl,     // flag is the new AutoDDL; argument is the text after the keyword
    DropDatabase,   // drop the connected database
    CreateDatabase, // CREATE DATABASE / CREATE SCHEMA: see parseCreateDatabaseStatement
    Connect,        // see parseConnectStatement
    Statement,      // anything else: executed on the server
};

/// A recognised statement: its command, the command's argument text and, for SET AUTODDL, its flag.
struct ScriptCommand
{
    ScriptCommandKind kind = ScriptCommandKind::Statement;
    QString argument;
    bool flag = false;

    /// The argument read as an integer; throws std::invalid_argument ("'x' is not a valid integer value").
    int integerArgument() const;
};

/// Recognises a statement produced by SplitStatements; keywords are matched on its upper-cased, trimmed text.
ScriptCommand recognizeCommand(const QString &statement);

/// CONNECT 'database' [USER name] [PASSWORD word] [ROLE role] [CACHE buffers].
struct ConnectStatement
{
    QString databaseName;
    /// "USER_NAME=...", "PASSWORD=...", "SQL_ROLE_NAME=...", "NUM_BUFFERS=..." in the order written.
    QStringList options;
};

/// Throws EISQLException "An error occured parsing CONNECT statement." (category Parse) when the database
/// name is missing or its closing quote is, or when an option keyword is unknown or has no value.
ConnectStatement parseConnectStatement(const QString &statement);

/// The connection parameter lines for CONNECT: the options, then "lc_ctype=" + the character set unless it is
/// empty or exactly "NONE", then "isc_dpb_sql_dialect=" + the dialect.
QStringList connectParameters(const QStringList &options, const QString &characterSet, int dialect);

/// CREATE DATABASE 'name' options (or CREATE SCHEMA).
struct CreateDatabaseStatement
{
    QString databaseName;
    /// A blank followed by everything after the name's closing quote, double quotes turned into single ones.
    QString options;

    /// The statement the client issues to create the database.
    QString createSql() const;
};

/// Throws EISQLException "An error occured parsing CREATE statement." (category Parse) when the name is
/// missing or its closing quote is.
CreateDatabaseStatement parseCreateDatabaseStatement(const QString &statement);

/// The OnISQLEvent arguments after a data-definition statement: the verb and the object it names.
struct DdlEvent
{
    TSQLEvent event = TSQLEvent::OtherDdl;
    TSQLSubEvent subEvent = TSQLSubEvent::Other;
};

DdlEvent classifyDdl(const QString &statement);

/// The sub-event of SET SQL DIALECT 1, 2 or 3; nothing for any other dialect.
std::optional<TSQLSubEvent> dialectSubEvent(int dialect);

} // namespace ZelScript
