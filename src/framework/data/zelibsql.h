#pragma once

#include "platform/db/statement.h"

#include <QString>
#include <QVariantList>

/// A single statement that can also run a text given at once or a stored-procedure call built from values.
class TZelIBSQL : public db::Statement
{
public:
    explicit TZelIBSQL(db::Database *database = nullptr, db::Transaction *transaction = nullptr);

    /// Closes the statement, replaces its text, prepares and runs it (connecting the database and starting
    /// the transaction first when needed).
    void ExecSQLText(const QString &text);
    /// Runs "Execute Procedure NAME" with every value as a quoted text literal; the procedure's results are
    /// then in the result fields. Database errors pass unchanged.
    void ExecProc(const QString &procedureName, const QVariantList &values);

    /// The text ExecProc runs: the name, a line break, and (' ', ' ') with every single quote doubled.
    /// Numbers are written with "." as decimal point, dates as yyyy-mm-dd, booleans as T or F, null as ''.
    static QString procedureCall(const QString &procedureName, const QVariantList &values);
};
