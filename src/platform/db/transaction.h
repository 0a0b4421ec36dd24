#pragma once

#include <ibase.h>

#include <QObject>
#include <QStringList>

#include <vector>

namespace db {

class Database;

/// Something with open cursors in a transaction; told before the transaction ends for good.
class TransactionClient
{
public:
    virtual ~TransactionClient() = default;
    virtual void transactionEnding() = 0;
    /// The transaction object is going away: forget it.
    virtual void transactionDestroyed() = 0;
};

/// How a transaction ends when its connection closes or it is destroyed while active.
enum class EndAction { Commit, CommitRetaining, Rollback, RollbackRetaining };

/// One database transaction; parameter lines such as "read_committed", "rec_version", "nowait".
class Transaction : public QObject
{
    Q_OBJECT
public:
    explicit Transaction(QObject *parent = nullptr);
    ~Transaction() override;

    QStringList params() const { return m_params; }
    void setParams(const QStringList &lines);
    Database *defaultDatabase() const { return m_database; }
    void setDefaultDatabase(Database *database);
    EndAction defaultAction() const { return m_defaultAction; }
    void setDefaultAction(EndAction action) { m_defaultAction = action; }

    bool isActive() const { return m_handle != 0; }
    void start();
    void commit();
    /// Commits and keeps the context: cursors stay open, the transaction stays active.
    void commitRetaining();
    void rollback();
    void rollbackRetaining();
    /// Ends an active transaction with its default action.
    void end();

    isc_tr_handle *handle() { return &m_handle; }

    void addClient(TransactionClient *c);
    void removeClient(TransactionClient *c);

private:
    QByteArray buildTpb() const;
    void requireActive(const char *what) const;
    void notifyEnding();
    void traceEvent(const QString &text) const;

    QStringList m_params;
    Database *m_database = nullptr;
    EndAction m_defaultAction = EndAction::Commit;
    isc_tr_handle m_handle = 0;
    std::vector<TransactionClient *> m_clients;
};

} // namespace db
