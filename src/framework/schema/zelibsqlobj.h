#pragma once

#include "framework/schema/eisqlexception.h"
#include "framework/schema/scriptcommand.h"
#include "framework/schema/scriptsplitter.h"
#include "framework/schema/scriptstatistics.h"
#include "platform/db/database.h"
#include "platform/db/dataset.h"
#include "platform/db/transaction.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

namespace db {
enum class StatementType;
} // namespace db

/// Runs a multi-statement SQL script on one connection the way an interactive SQL tool's script mode does.
class TZelIBSQLObj : public QObject
{
    Q_OBJECT
public:
    /// What has just happened, the object concerned, a value that depends on both, and the connection.
    using ISQLEventHandler = std::function<void(TSQLEvent ISQLEvent, TSQLSubEvent ISQLSubEvent,
                                                const QVariant &Data, db::Database *Database)>;
    /// Raised before every statement.
    using QueryProgressHandler = std::function<void(TZelIBSQLObj *Sender)>;

    explicit TZelIBSQLObj(QObject *parent = nullptr);
    ~TZelIBSQLObj() override;

    /// Index, in the connection's transaction list, of the transaction for ordinary statements.
    int DefaultTransIDX() const { return m_defaultTransIDX; }
    void setDefaultTransIDX(int index) { m_defaultTransIDX = index; }
    /// Index of the transaction for data-definition statements (it may be the default one).
    int DDLTransIDX() const { return m_ddlTransIDX; }
    void setDDLTransIDX(int index) { m_ddlTransIDX = index; }
    /// Commit the DDL transaction after every successful data-definition statement.
    bool AutoDDL() const { return m_autoDDL; }
    void setAutoDDL(bool on) { m_autoDDL = on; }

    const QStringList &Query() const { return m_query; }
    void setQuery(const QStringList &lines) { m_query = lines; }

    db::Database *Database() const { return m_database; }
    void setDatabase(db::Database *database) { m_database = database; }
    /// When set, SELECT-like statements are opened in it and ordinary statements run on its transaction.
    db::DataSet *Dataset() const { return m_dataset; }
    void setDataset(db::DataSet *dataset) { m_dataset = dataset; }

    /// Measure timings and server memory while statements run.
    bool Statistics() const { return m_statistics; }
    void setStatistics(bool on) { m_statistics = on; }
    /// Ten lines ("caption~|value") appended after every completed run.
    const QStringList &StatisticsList() const { return m_statisticsList; }

    const ISQLEventHandler &OnISQLEvent() const { return m_onISQLEvent; }
    void setOnISQLEvent(ISQLEventHandler handler) { m_onISQLEvent = std::move(handler); }
    const QueryProgressHandler &OnQueryProgress() const { return m_onQueryProgress; }
    void setOnQueryProgress(QueryProgressHandler handler) { m_onQueryProgress = std::move(handler); }

    /// Runs for every script line split and before every statement; the program points it at the Qt event
    /// loop (ZelScript::qtEventLoopHook) so that windows repaint during long scripts. None by default.
    const ZelScript::PendingEventsHook &pendingEventsHook() const { return m_pendingEvents; }
    void setPendingEventsHook(ZelScript::PendingEventsHook hook) { m_pendingEvents = std::move(hook); }

    /// Folder against which relative INPUT file names are resolved; empty means the current folder. Files
    /// named by an INPUT file are resolved against that file's own folder.
    QString scriptDirectory() const { return m_scriptDirectory; }
    void setScriptDirectory(const QString &directory) { m_scriptDirectory = directory; }

    /// Runs the whole of Query on Database. Stops at the first failing statement with an EISQLException
    /// (or the client's error for DROP DATABASE, std::invalid_argument for a non-numeric SQL dialect);
    /// what the earlier statements did stays. Never commits what the script leaves uncommitted.
    /// Throws db::ProgrammingError when Database is not set or a run of this executor is already going on.
    void ExecuteScript();

private:
    struct RunObjects;
    struct RunState;

    void runStatement(const QString &statement);
    void executeStatement(const QString &statement);
    void executeSelect(const QString &statement);
    void executeDml(const QString &statement);
    void executeDdl(const QString &statement);
    void endTransactions(const QString &statement, bool commit);
    db::StatementType probeKind(const QString &statement);

    void setDialect(const ZelScript::ScriptCommand &command);
    void dropDatabase();
    void connectDatabase(const QString &statement);
    void createDatabase(const QString &statement);
    void closeConnection(EISQLException::Category category, const QString &databaseName);
    void createConnectionTransactions();
    void runInputFile(const QString &argument);

    std::unique_ptr<RunObjects> createRunObjects();
    db::Transaction *transactionAt(int index) const;
    /// Where `transaction` stands in the connection's list now; `fallback` when it is not there.
    int indexOfTransaction(const db::Transaction *transaction, int fallback) const;
    void raiseEvent(TSQLEvent event, TSQLSubEvent subEvent, const QVariant &data);
    void measureStartingMemory();
    void collectServerStatistics();

    int m_defaultTransIDX = 0;
    int m_ddlTransIDX = 0;
    bool m_autoDDL = true;
    QStringList m_query;
    QPointer<db::Database> m_database;
    QPointer<db::DataSet> m_dataset;
    bool m_statistics = false;
    QStringList m_statisticsList;
    ISQLEventHandler m_onISQLEvent;
    QueryProgressHandler m_onQueryProgress;
    ZelScript::PendingEventsHook m_pendingEvents;
    QString m_scriptDirectory;

    ZelScript::ScriptStatistics m_measured;
    // The transactions a CONNECT or CREATE DATABASE of this executor made; reused by the next one on the same
    // connection so that repeated connections do not pile transactions up in its list.
    QPointer<db::Transaction> m_ownDefaultTransaction;
    QPointer<db::Transaction> m_ownDdlTransaction;
    // Canonical paths of the INPUT files being run, outermost first: a file that names itself is refused.
    QStringList m_inputChain;
    // What the current (or last) run did to the connection, for an including executor to follow.
    bool m_connectionChanged = false;
    QString m_connectedDatabaseName;
    RunState *m_run = nullptr;
};
