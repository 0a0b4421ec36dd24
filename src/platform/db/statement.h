#pragma once

#include "currency.h"
#include "database.h"
#include "sqlvalue.h"
#include "transaction.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace db {

/// Statement kinds as the engine reports them after preparing.
enum class StatementType {
    Unknown = 0,
    Select = isc_info_sql_stmt_select,
    Insert = isc_info_sql_stmt_insert,
    Update = isc_info_sql_stmt_update,
    Delete = isc_info_sql_stmt_delete,
    DDL = isc_info_sql_stmt_ddl,
    GetSegment = isc_info_sql_stmt_get_segment,
    PutSegment = isc_info_sql_stmt_put_segment,
    ExecProcedure = isc_info_sql_stmt_exec_procedure,
    StartTransaction = isc_info_sql_stmt_start_trans,
    Commit = isc_info_sql_stmt_commit,
    Rollback = isc_info_sql_stmt_rollback,
    SelectForUpdate = isc_info_sql_stmt_select_for_upd,
    SetGenerator = isc_info_sql_stmt_set_generator,
    Savepoint = isc_info_sql_stmt_savepoint,
};

/// Rows counted by the engine for the last execution.
struct RowCounts
{
    qint64 selected = 0;
    qint64 inserted = 0;
    qint64 updated = 0;
    qint64 deleted = 0;
};

/// A named input value; one name may stand at several places of the statement.
class Param
{
public:
    explicit Param(const QString &name) : m_name(name) {}

    const QString &name() const { return m_name; }
    bool isNull() const { return m_null; }
    void clear();

    void setInteger(int v) { setInt64(v); }
    void setInt64(qint64 v);
    void setDouble(double v);
    void setCurrency(Currency v);
    void setString(const QString &v);
    void setDate(QDate v);
    void setTime(QTime v);
    void setDateTime(const QDateTime &v);
    void setBool(bool v);
    /// Blob content, written as a new blob when the statement runs.
    void setBlob(const QByteArray &bytes);
    /// An existing blob of the same transaction.
    void setBlobId(ISC_QUAD id);
    /// Dispatches on the variant's type; an invalid or null variant is NULL.
    void setValue(const QVariant &v);
    QVariant value() const { return m_value; }

private:
    friend class Statement;
    enum class Kind { None, Int, Double, Money, Text, Date, Time, Timestamp, Bool, BlobContent, BlobId };
    void setKind(Kind k, const QVariant &v);

    QString m_name;
    bool m_null = true;
    Kind m_kind = Kind::None;
    QVariant m_value;
    // Engine representation, filled when the statement runs.
    alignas(8) char m_fixed[16] = {};
    QByteArray m_bytes;
};

class Statement;

/// One column of the current result row.
class Column
{
public:
    Column(Statement *statement, int index) : m_statement(statement), m_index(index) {}

    int index() const { return m_index; }
    QString name() const;
    /// TABLE.FIELD as the engine reports it.
    QString origin() const;
    SqlType sqlType() const;
    FieldType type() const { return sqlType().fieldType(); }

    bool isNull() const;
    QString asString() const;
    int asInteger() const { return int(asInt64()); }
    qint64 asInt64() const;
    double asDouble() const;
    Currency asCurrency() const;
    QDate asDate() const;
    QTime asTime() const;
    QDateTime asDateTime() const;
    bool asBool() const;
    /// Blob content (text blobs as their bytes); for other kinds the value's text bytes.
    QByteArray asBytes() const;
    QVariant asVariant() const;

private:
    const char *data() const;
    Statement *m_statement;
    int m_index;
};

/// One SQL statement with ":NAME" parameters, run in a transaction.
class Statement : public DatabaseClient, public TransactionClient
{
public:
    Statement(Database *database = nullptr, Transaction *transaction = nullptr);
    ~Statement() override;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    Database *database() const { return m_database; }
    void setDatabase(Database *database);
    Transaction *transaction() const { return m_transaction; }
    void setTransaction(Transaction *transaction);

    QString sql() const { return m_sql; }
    /// Replaces the text; a prepared statement is released first.
    void setSql(const QString &sql);
    /// Off: the text goes to the engine unchanged (procedure and trigger bodies use ":name" themselves).
    bool paramCheck() const { return m_paramCheck; }
    void setParamCheck(bool on);

    void prepare();
    bool isPrepared() const { return m_handle != 0; }
    void unprepare();
    StatementType type() const { return m_type; }
    QString plan();

    int paramCount() const { return int(m_params.size()); }
    QStringList paramNames() const;
    bool hasParam(const QString &name) const;
    /// The parameter of that name (any case); throws when the statement has none.
    Param &param(const QString &name);
    Param &param(int index) { return *m_params.at(size_t(index)); }

    /// Runs the statement; a select opens its cursor, an EXECUTE PROCEDURE fills the result row.
    void execute();
    /// Fetches the next row of an open cursor; false at the end.
    bool next();
    bool eof() const { return m_eof; }
    bool isOpen() const { return m_cursorOpen; }
    /// Closes an open cursor.
    void close();

    int columnCount() const { return int(m_columns.size()); }
    Column field(int index);
    Column field(const QString &name);
    int fieldIndex(const QString &name) const;
    bool hasRow() const { return m_hasRow; }

    qint64 rowsAffected();
    RowCounts rowCounts();

    // Result row layout, for data sets that copy whole rows.
    const char *rowBuffer() const { return m_out.data(); }
    int rowBufferSize() const { return int(m_out.size()); }
    struct ColumnInfo
    {
        QString name;
        QString fieldName;
        QString relation;
        SqlType type;
        bool nullable = false;
        int dataOffset = 0;
        int nullOffset = 0;
    };
    const ColumnInfo &columnInfo(int index) const { return m_columns.at(size_t(index)); }
    QByteArray readBlob(ISC_QUAD id);

    void databaseClosing() override;
    void databaseDestroyed() override;
    void transactionEnding() override;
    void transactionDestroyed() override;

private:
    friend class Column;
    void requireReady(const char *what) const;
    void describeOutput();
    void describeInput();
    void bindInput();
    QByteArray sqlInfo(char item);
    void traceEvent(TraceFlag flag, const QString &text) const;
    [[noreturn]] void fail(class Status &status, const char *context);

    Database *m_database = nullptr;
    Transaction *m_transaction = nullptr;
    QString m_sql;
    QString m_engineSql;
    bool m_paramCheck = true;
    isc_stmt_handle m_handle = 0;
    StatementType m_type = StatementType::Unknown;
    bool m_cursorOpen = false;
    bool m_eof = true;
    bool m_hasRow = false;

    std::vector<std::unique_ptr<Param>> m_params;
    QHash<QString, int> m_paramIndex;
    std::vector<int> m_positions; // parameter index of each "?"
    std::vector<char> m_inDa;
    std::vector<SqlType> m_inTypes;

    std::vector<char> m_outDa;
    std::vector<char> m_out;
    std::vector<ColumnInfo> m_columns;
    QHash<QString, int> m_columnIndex;
};

} // namespace db
