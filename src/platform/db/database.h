#pragma once

#include "textcodec.h"
#include "trace.h"

#include <ibase.h>

#include <QObject>
#include <QStringList>

#include <vector>

namespace db {

class Transaction;

/// Something that holds engine resources of a connection and must let go of them before it closes.
class DatabaseClient
{
public:
    virtual ~DatabaseClient() = default;
    virtual void databaseClosing() = 0;
    /// The connection object is going away: forget it.
    virtual void databaseDestroyed() = 0;
};

/// Counters of the engine for one attachment.
struct DatabaseInfo
{
    qint64 currentMemory = 0;
    qint64 maxMemory = 0;
    qint64 numBuffers = 0;
    qint64 reads = 0;
    qint64 writes = 0;
    qint64 fetches = 0;
    qint64 marks = 0;
};

/// One attachment to a database: "host:path" through a server, a plain path through the embedded engine.
class Database : public QObject
{
    Q_OBJECT
public:
    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    QString databaseName() const { return m_name; }
    void setDatabaseName(const QString &name);
    /// Parameter lines such as "user_name=SYSDBA", "password=...", "lc_ctype=WIN1252",
    /// "isc_dpb_sql_dialect=3".
    QStringList params() const { return m_params; }
    void setParams(const QStringList &lines);
    int sqlDialect() const { return m_dialect; }
    void setSqlDialect(int dialect);
    /// The value of one parameter line ("user_name"), or empty.
    QString param(const QString &key) const;

    void open();
    void close();
    bool isConnected() const { return m_handle != 0; }

    /// Creates the database named databaseName(); the parameter lines are the options of CREATE DATABASE
    /// (USER, PASSWORD, PAGE_SIZE, DEFAULT CHARACTER SET). Leaves the new database attached.
    void createDatabase();
    /// Removes the attached database from disk; the connection is closed afterwards.
    void dropDatabase();

    Transaction *defaultTransaction() const { return m_defaultTransaction; }
    void setDefaultTransaction(Transaction *transaction);
    int transactionCount() const { return int(m_transactions.size()); }
    Transaction *transaction(int index) const { return m_transactions.at(size_t(index)); }
    Transaction *findTransaction(const QString &name) const;

    /// User names of every user attachment to this database, ours included.
    QStringList attachedUsers();
    DatabaseInfo info();
    /// The host part of the database name, empty for a local (embedded) database.
    QString host() const;
    QString path() const;

    const TextCodec &codec() const { return m_codec; }
    QString charset() const { return m_charset; }

    TraceFlags traceFlags() const { return m_traceFlags; }
    void setTraceFlags(TraceFlags flags) { m_traceFlags = flags; }
    void setTraceHook(TraceHook hook) { m_traceHook = std::move(hook); }
    bool tracing(TraceFlag flag) const { return m_traceHook && m_traceFlags.testFlag(flag); }
    void trace(TraceFlag flag, const QString &text) const;

    isc_db_handle *handle() { return &m_handle; }

    // Bookkeeping used by transactions, statements and data sets.
    void addTransaction(Transaction *t);
    void removeTransaction(Transaction *t);
    void addClient(DatabaseClient *c);
    void removeClient(DatabaseClient *c);

signals:
    void connected();
    void disconnected();

private:
    void attach(const QByteArray &dpb);
    QByteArray buildDpb() const;
    void requireConnected(const char *what) const;

    QString m_name;
    QStringList m_params;
    int m_dialect = 3;
    isc_db_handle m_handle = 0;
    QString m_charset;
    TextCodec m_codec;
    Transaction *m_defaultTransaction = nullptr;
    std::vector<Transaction *> m_transactions;
    std::vector<DatabaseClient *> m_clients;
    TraceFlags m_traceFlags;
    TraceHook m_traceHook;
};

} // namespace db
