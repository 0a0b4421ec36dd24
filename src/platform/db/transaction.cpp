#include "transaction.h"

#include "database.h"
#include "dberror.h"
#include "status.h"

#include <algorithm>

namespace db {

namespace {

struct TpbItem
{
    const char *name;
    char code;
};

constexpr TpbItem kTpbItems[] = {
    {"consistency", isc_tpb_consistency},
    {"concurrency", isc_tpb_concurrency},
    {"shared", isc_tpb_shared},
    {"protected", isc_tpb_protected},
    {"exclusive", isc_tpb_exclusive},
    {"wait", isc_tpb_wait},
    {"nowait", isc_tpb_nowait},
    {"read", isc_tpb_read},
    {"write", isc_tpb_write},
    {"ignore_limbo", isc_tpb_ignore_limbo},
    {"read_committed", isc_tpb_read_committed},
    {"autocommit", isc_tpb_autocommit},
    {"rec_version", isc_tpb_rec_version},
    {"no_rec_version", isc_tpb_no_rec_version},
    {"restart_requests", isc_tpb_restart_requests},
    {"no_auto_undo", isc_tpb_no_auto_undo},
};

} // namespace

Transaction::Transaction(QObject *parent) : QObject(parent) {}

Transaction::~Transaction()
{
    if (isActive()) {
        try {
            // A retaining end would leave the transaction open in the engine with nobody to finish it.
            if (m_defaultAction == EndAction::Rollback || m_defaultAction == EndAction::RollbackRetaining)
                rollback();
            else
                commit();
        } catch (...) {
            Status status;
            isc_rollback_transaction(status, &m_handle);
            m_handle = 0;
        }
    }
    const std::vector<TransactionClient *> clients = m_clients;
    m_clients.clear();
    for (TransactionClient *c : clients)
        c->transactionDestroyed();
    if (m_database)
        m_database->removeTransaction(this);
}

void Transaction::setParams(const QStringList &lines)
{
    if (isActive())
        throw ProgrammingError(QStringLiteral("Cannot change the parameters of an active transaction"));
    m_params = lines;
    buildTpb(); // reject unknown lines now rather than at start
}

void Transaction::setDefaultDatabase(Database *database)
{
    if (database == m_database)
        return;
    if (isActive())
        throw ProgrammingError(QStringLiteral("Cannot change the database of an active transaction"));
    if (m_database)
        m_database->removeTransaction(this);
    m_database = database;
    if (m_database)
        m_database->addTransaction(this);
}

QByteArray Transaction::buildTpb() const
{
    QByteArray tpb;
    tpb.append(char(isc_tpb_version3));
    for (const QString &raw : m_params) {
        QString line = raw.trimmed().toLower();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("isc_tpb_")))
            line = line.mid(8);
        if (line.startsWith(QLatin1String("lock_timeout"))) {
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            bool ok = false;
            const int seconds = eq < 0 ? -1 : line.mid(eq + 1).trimmed().toInt(&ok);
            if (!ok || seconds < 0)
                throw ProgrammingError(QStringLiteral("Invalid transaction parameter: %1").arg(raw));
            tpb.append(char(isc_tpb_lock_timeout));
            tpb.append(char(4));
            for (int i = 0; i < 4; ++i)
                tpb.append(char((seconds >> (8 * i)) & 0xFF));
            continue;
        }
        const auto it = std::find_if(std::begin(kTpbItems), std::end(kTpbItems),
                                     [&](const TpbItem &item) { return line == QLatin1String(item.name); });
        if (it == std::end(kTpbItems))
            throw ProgrammingError(QStringLiteral("Unknown transaction parameter: %1").arg(raw));
        tpb.append(it->code);
    }
    return tpb.size() == 1 ? QByteArray() : tpb;
}

void Transaction::requireActive(const char *what) const
{
    if (!isActive())
        throw ProgrammingError(QStringLiteral("Transaction is not active (%1)").arg(QLatin1String(what)));
}

void Transaction::traceEvent(const QString &text) const
{
    if (m_database && m_database->tracing(TraceFlag::Transaction))
        m_database->trace(TraceFlag::Transaction, QStringLiteral("[%1] %2").arg(objectName(), text));
}

void Transaction::start()
{
    if (isActive())
        throw ProgrammingError(QStringLiteral("Transaction is already active"));
    if (!m_database)
        throw ProgrammingError(QStringLiteral("Transaction has no database"));
    if (!m_database->isConnected())
        throw ProgrammingError(QStringLiteral("Database is not connected"));
    const QByteArray tpb = buildTpb();
    Status status;
    isc_start_transaction(status, &m_handle, 1, m_database->handle(), static_cast<unsigned short>(tpb.size()),
                          tpb.isEmpty() ? nullptr : tpb.constData());
    status.check("Transaction::start");
    traceEvent(QStringLiteral("Start transaction"));
}

void Transaction::notifyEnding()
{
    for (TransactionClient *c : std::vector<TransactionClient *>(m_clients))
        c->transactionEnding();
}

void Transaction::commit()
{
    requireActive("commit");
    notifyEnding();
    Status status;
    isc_commit_transaction(status, &m_handle);
    status.check("Transaction::commit");
    m_handle = 0;
    traceEvent(QStringLiteral("Commit (Hard commit)"));
}

void Transaction::commitRetaining()
{
    requireActive("commit retaining");
    Status status;
    isc_commit_retaining(status, &m_handle);
    status.check("Transaction::commitRetaining");
    traceEvent(QStringLiteral("Commit retaining (Soft commit)"));
}

void Transaction::rollback()
{
    requireActive("rollback");
    notifyEnding();
    Status status;
    isc_rollback_transaction(status, &m_handle);
    status.check("Transaction::rollback");
    m_handle = 0;
    traceEvent(QStringLiteral("Rollback"));
}

void Transaction::rollbackRetaining()
{
    requireActive("rollback retaining");
    Status status;
    isc_rollback_retaining(status, &m_handle);
    status.check("Transaction::rollbackRetaining");
    traceEvent(QStringLiteral("Rollback retaining"));
}

void Transaction::end()
{
    if (!isActive())
        return;
    switch (m_defaultAction) {
    case EndAction::Commit:
        commit();
        break;
    case EndAction::CommitRetaining:
        commitRetaining();
        break;
    case EndAction::Rollback:
        rollback();
        break;
    case EndAction::RollbackRetaining:
        rollbackRetaining();
        break;
    }
}

void Transaction::addClient(TransactionClient *c)
{
    m_clients.push_back(c);
}

void Transaction::removeClient(TransactionClient *c)
{
    const auto it = std::find(m_clients.begin(), m_clients.end(), c);
    if (it != m_clients.end())
        m_clients.erase(it);
}

} // namespace db
