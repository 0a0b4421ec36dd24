#include "zelibsqlobj.h"

#include "platform/db/database.h"
#include "platform/db/dataset.h"
#include "platform/db/dberror.h"
#include "platform/db/statement.h"
#include "platform/db/textcodec.h"
#include "platform/db/transaction.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStringDecoder>

#include <exception>

using ZelScript::ScriptCommandKind;

namespace {

QStringList transactionParams()
{
    return {QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")};
}

// The message a script error carries: the engine's own text for database errors, what() for the rest.
QString errorText(const std::exception &error)
{
    if (const auto *databaseError = dynamic_cast<const db::DatabaseError *>(&error))
        return databaseError->message();
    return QString::fromUtf8(error.what());
}

std::unique_ptr<db::Statement> makeStatement(db::Database *database, db::Transaction *transaction)
{
    auto statement = std::make_unique<db::Statement>(database, transaction);
    // Procedure and trigger bodies name their variables ":VAR"; the text must reach the engine unchanged.
    statement->setParamCheck(false);
    return statement;
}

void release(db::Statement &statement) noexcept
{
    try {
        statement.unprepare();
    } catch (...) {
        // The statement is being given up; a failure to free it must not hide the error being reported.
    }
}

void startIfInactive(db::Transaction &transaction)
{
    if (!transaction.isActive())
        transaction.start();
}

bool isBlank(QChar c)
{
    return c.unicode() <= 32;
}

// Blank-separated words of CREATE DATABASE options; a quoted value ('my password') stays one word.
QStringList optionWords(const QString &options)
{
    QStringList words;
    QString word;
    bool quoted = false;
    for (QChar c : options) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && isBlank(c)) {
            if (!word.isEmpty())
                words.append(std::exchange(word, QString()));
            continue;
        }
        word += c;
    }
    if (!word.isEmpty())
        words.append(word);
    return words;
}

// The connection layer rejoins the lines into the CREATE DATABASE text in their order and reads the user and
// the password from lines of their own ("USER 'x'"), which it also uses to attach the new database.
QStringList creationOptionLines(const QString &options)
{
    const QStringList words = optionWords(options);
    QStringList lines;
    QString rest;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString keyword = words.at(i).toUpper();
        if ((keyword == QLatin1String("USER") || keyword == QLatin1String("PASSWORD")) &&
            i + 1 < words.size()) {
            if (!rest.isEmpty())
                lines.append(std::exchange(rest, QString()));
            lines.append(words.at(i) + QLatin1Char(' ') + words.at(i + 1));
            ++i;
            continue;
        }
        if (!rest.isEmpty())
            rest += QLatin1Char(' ');
        rest += words.at(i);
    }
    if (!rest.isEmpty())
        lines.append(rest);
    return lines;
}

QString withoutQuotes(const QString &text)
{
    if (text.size() >= 2 && (text.front() == QLatin1Char('\'') || text.front() == QLatin1Char('"')) &&
        text.back() == text.front())
        return text.mid(1, text.size() - 2);
    return text;
}

// Script files are UTF-8 when they decode as such, otherwise the family's Windows-1252.
QStringList scriptFileLines(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = db::TextCodec(db::TextCodec::Kind::Win1252).decode(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    while (!lines.isEmpty() && ZelScript::trimBlanks(lines.last()).isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

// The private objects of a run: released on every exit, the probe transaction leaving the connection's list.
struct TZelIBSQLObj::RunObjects
{
    db::Transaction *ddlTransaction = nullptr;
    std::unique_ptr<db::Transaction> probeTransaction;
    std::unique_ptr<db::Statement> defaultStatement;
    std::unique_ptr<db::Statement> ddlStatement;
    std::unique_ptr<db::Statement> probeStatement;
};

struct TZelIBSQLObj::RunState
{
    int dialect = 3;
    QString characterSet = QStringLiteral("None");
    std::unique_ptr<RunObjects> objects;
};

TZelIBSQLObj::TZelIBSQLObj(QObject *parent) : QObject(parent) {}

TZelIBSQLObj::~TZelIBSQLObj() = default;

void TZelIBSQLObj::ExecuteScript()
{
    if (!m_database)
        throw db::ProgrammingError(QStringLiteral("Property Database not Assigned"));
    if (m_run)
        throw db::ProgrammingError(QStringLiteral("The script executor is already running a script"));

    RunState run;
    m_run = &run;
    const auto leave = qScopeGuard([this] { m_run = nullptr; });
    m_connectionChanged = false;
    m_connectedDatabaseName.clear();

    // The pending-events hook may let a caller change Query while the run goes on.
    const QStringList lines = m_query;
    const QStringList statements = ZelScript::splitScript(lines, m_pendingEvents);

    if (m_database->isConnected()) {
        try {
            run.objects = createRunObjects();
            measureStartingMemory();
        } catch (const std::exception &error) {
            throw EISQLException(errorText(error), EISQLException::PrepareRun);
        }
    }

    for (const QString &statement : statements) {
        if (m_pendingEvents)
            m_pendingEvents();
        if (m_onQueryProgress)
            m_onQueryProgress(this);
        runStatement(statement);
    }

    collectServerStatistics();
    m_statisticsList += ZelScript::statisticsLines(m_measured);
}

void TZelIBSQLObj::runStatement(const QString &statement)
{
    const ZelScript::ScriptCommand command = ZelScript::recognizeCommand(statement);
    switch (command.kind) {
    case ScriptCommandKind::Ignored:
    case ScriptCommandKind::SetIgnored:
        return;
    case ScriptCommandKind::Input:
        runInputFile(command.argument);
        return;
    case ScriptCommandKind::SetNames:
        m_run->characterSet = command.argument;
        return;
    case ScriptCommandKind::SetSqlDialect:
        setDialect(command);
        return;
    case ScriptCommandKind::SetAutoDdl:
        m_autoDDL = command.flag;
        raiseEvent(TSQLEvent::AutoDdl, TSQLSubEvent::AutoDdl, m_autoDDL);
        return;
    case ScriptCommandKind::DropDatabase:
        dropDatabase();
        return;
    case ScriptCommandKind::CreateDatabase:
        createDatabase(statement);
        return;
    case ScriptCommandKind::Connect:
        connectDatabase(statement);
        return;
    case ScriptCommandKind::Output:
    case ScriptCommandKind::Statement:
        executeStatement(statement);
        return;
    }
}

// ------------------------------------------------------------------------------------ ordinary statements

void TZelIBSQLObj::executeStatement(const QString &statement)
{
    RunObjects *objects = m_run->objects.get();
    if (!objects || !m_database->isConnected())
        throw EISQLException(EISQLException::noActiveConnectionText(), EISQLException::PrepareStatement,
                             statement);
    objects->defaultStatement->setSql(statement);
    objects->probeStatement->setSql(statement);

    switch (probeKind(statement)) {
    case db::StatementType::Select:
    case db::StatementType::ExecProcedure:
    case db::StatementType::SelectForUpdate:
        executeSelect(statement);
        break;
    case db::StatementType::Insert:
    case db::StatementType::Update:
    case db::StatementType::Delete:
        executeDml(statement);
        break;
    case db::StatementType::DDL:
    case db::StatementType::SetGenerator:
        executeDdl(statement);
        break;
    case db::StatementType::Commit:
        endTransactions(statement, true);
        break;
    case db::StatementType::Rollback:
        endTransactions(statement, false);
        break;
    default:
        // SET TRANSACTION, blob segment statements and whatever the server does not classify.
        break;
    }
}

// Asks the server what kind of statement this is, on a transaction of its own that keeps nothing.
db::StatementType TZelIBSQLObj::probeKind(const QString &statement)
{
    RunObjects &objects = *m_run->objects;
    db::Transaction &probe = *objects.probeTransaction;
    db::Statement &probeStatement = *objects.probeStatement;
    try {
        if (probe.isActive())
            probe.commit();
        probe.start();
        probeStatement.prepare();
        const db::StatementType type = probeStatement.type();
        probeStatement.unprepare();
        probe.commit();
        return type;
    } catch (const std::exception &error) {
        try {
            if (probe.isActive())
                probe.commit();
        } catch (...) {
            // The probe only prepared; whatever its end reports, the statement's own error is the one to
            // show.
        }
        release(probeStatement);
        throw EISQLException(errorText(error), EISQLException::PrepareStatement, statement);
    }
}

namespace {

template <typename Step> void timed(bool measuring, qint64 &milliseconds, Step step)
{
    if (!measuring) {
        step();
        return;
    }
    QElapsedTimer timer;
    timer.start();
    step();
    milliseconds = timer.elapsed();
}

} // namespace

void TZelIBSQLObj::executeSelect(const QString &statement)
{
    RunObjects &objects = *m_run->objects;
    db::Statement &st = *objects.defaultStatement;
    try {
        if (m_dataset) {
            startIfInactive(*m_dataset->transaction());
            m_dataset->close();
            m_dataset->setSelectSql(statement);
            timed(m_statistics, m_measured.executeMilliseconds, [this] { m_dataset->open(); });
            // The data set does not report its plan; the default statement shares its transaction.
            st.prepare();
            m_measured.plan = st.plan();
            release(st);
            m_measured.recordsFetched = m_dataset->recordCount();
        } else {
            startIfInactive(*st.transaction());
            timed(m_statistics, m_measured.prepareMilliseconds, [&st] { st.prepare(); });
            timed(m_statistics, m_measured.executeMilliseconds, [&st] { st.execute(); });
            release(st);
        }
    } catch (const std::exception &error) {
        release(st);
        throw EISQLException(errorText(error), EISQLException::Select, statement);
    }
}

void TZelIBSQLObj::executeDml(const QString &statement)
{
    db::Statement &st = *m_run->objects->defaultStatement;
    qint64 rows = 0;
    try {
        startIfInactive(*st.transaction());
        timed(m_statistics, m_measured.prepareMilliseconds, [&st] { st.prepare(); });
        timed(m_statistics, m_measured.executeMilliseconds, [&st] { st.execute(); });
        try {
            m_measured.plan = st.plan();
        } catch (const std::exception &) {
            m_measured.plan = ZelScript::planNotRetrievedText();
        }
        rows = st.rowsAffected();
        m_measured.recordsFetched = rows;
    } catch (const std::exception &error) {
        release(st);
        throw EISQLException(errorText(error), EISQLException::DataManipulation, statement);
    }
    raiseEvent(TSQLEvent::RowsAffected, TSQLSubEvent::Other, rows);
    release(st);
}

void TZelIBSQLObj::executeDdl(const QString &statement)
{
    RunObjects &objects = *m_run->objects;
    db::Statement &st = *objects.ddlStatement;
    db::Transaction &transaction = *objects.ddlTransaction;
    st.setSql(statement);
    bool executed = false;
    try {
        startIfInactive(transaction);
        timed(m_statistics, m_measured.prepareMilliseconds, [&st] { st.prepare(); });
        timed(m_statistics, m_measured.executeMilliseconds, [&st] { st.execute(); });
        executed = true;
        if (m_autoDDL)
            transaction.commit();
    } catch (const std::exception &error) {
        release(st);
        // The engine undoes a statement that fails while running. When the DDL transaction is also the one
        // ordinary statements run on, rolling it back then would throw away their uncommitted rows as well;
        // a failed commit, on the other hand, leaves work that no later commit can get through.
        const bool sharedWithStatements = &transaction == objects.defaultStatement->transaction();
        if (m_autoDDL && transaction.isActive() && (executed || !sharedWithStatements)) {
            try {
                transaction.rollback();
            } catch (...) {
                // The statement's own error is the one the script reports.
            }
        }
        throw EISQLException(errorText(error), EISQLException::DataDefinition, statement);
    }
    const ZelScript::DdlEvent event = ZelScript::classifyDdl(statement);
    raiseEvent(event.event, event.subEvent, m_connectedDatabaseName);
    release(st);
}

void TZelIBSQLObj::endTransactions(const QString &statement, bool commit)
{
    RunObjects &objects = *m_run->objects;
    try {
        for (db::Transaction *transaction :
             {objects.defaultStatement->transaction(), objects.ddlTransaction}) {
            if (!transaction || !transaction->isActive())
                continue;
            if (commit)
                transaction->commit();
            else
                transaction->rollback();
        }
    } catch (const std::exception &error) {
        throw EISQLException(errorText(error), commit ? EISQLException::Commit : EISQLException::Rollback,
                             statement);
    }
    raiseEvent(TSQLEvent::Transaction, TSQLSubEvent::Other, false);
}

// ------------------------------------------------------------------------------------------ tool commands

void TZelIBSQLObj::setDialect(const ZelScript::ScriptCommand &command)
{
    const int dialect = command.integerArgument();
    try {
        m_database->setSqlDialect(dialect);
    } catch (const std::exception &error) {
        throw EISQLException(errorText(error), EISQLException::SetDialect, QString::number(dialect));
    }
    m_run->dialect = dialect;
    if (const std::optional<TSQLSubEvent> subEvent = ZelScript::dialectSubEvent(dialect))
        raiseEvent(TSQLEvent::Dialect, *subEvent, dialect);
}

void TZelIBSQLObj::dropDatabase()
{
    const QString name = m_database->databaseName();
    m_database->dropDatabase();
    m_run->objects.reset();
    m_connectionChanged = true;
    raiseEvent(TSQLEvent::Drop, TSQLSubEvent::Database, name);
}

void TZelIBSQLObj::closeConnection(EISQLException::Category category, const QString &databaseName)
{
    if (!m_database->isConnected()) {
        m_run->objects.reset();
        return;
    }
    // Closing would end the script's uncommitted work behind the user's back.
    const db::Transaction *current = transactionAt(m_defaultTransIDX);
    if (current && current->isActive())
        throw EISQLException(
            QStringLiteral("Cannot close the connection while its default transaction is active") +
                EISQLException::commitOrRollbackSuffix(),
            category, databaseName);
    m_run->objects.reset();
    m_database->close();
}

void TZelIBSQLObj::connectDatabase(const QString &statement)
{
    const ZelScript::ConnectStatement parsed = ZelScript::parseConnectStatement(statement);
    const QString &name = parsed.databaseName;
    try {
        closeConnection(EISQLException::Connect, name);
        m_database->setDatabaseName(name);
        m_database->setParams(
            ZelScript::connectParameters(parsed.options, m_run->characterSet, m_run->dialect));
        m_database->setSqlDialect(m_run->dialect);
        m_database->open();
        m_connectionChanged = true;
        createConnectionTransactions();
        m_run->objects = createRunObjects();
        measureStartingMemory();
    } catch (const EISQLException &) {
        throw;
    } catch (const std::exception &error) {
        throw EISQLException(errorText(error), EISQLException::Connect, name);
    }
    m_connectedDatabaseName = name;
    raiseEvent(TSQLEvent::Connect, TSQLSubEvent::Database, name);
}

void TZelIBSQLObj::createDatabase(const QString &statement)
{
    const ZelScript::CreateDatabaseStatement parsed = ZelScript::parseCreateDatabaseStatement(statement);
    const QString &name = parsed.databaseName;
    const QString characterSet = m_run->characterSet.toUpper();
    const bool namesGiven = !characterSet.isEmpty() && characterSet != QLatin1String("NONE");
    try {
        closeConnection(EISQLException::CreateDatabase, name);
        m_database->setDatabaseName(name);
        m_database->setSqlDialect(m_run->dialect);
        QStringList options = creationOptionLines(parsed.options);
        // SET NAMES before CREATE DATABASE chooses the character set the new database is attached with.
        if (namesGiven)
            options.append(QStringLiteral("lc_ctype=") + characterSet);
        m_database->setParams(options);
        m_database->createDatabase();
        m_connectionChanged = true;

        // The creation options are no attachment parameters: a later reconnection must attach as now.
        QStringList attachment;
        const QString user = m_database->param(QStringLiteral("user"));
        if (!user.isEmpty())
            attachment.append(QStringLiteral("user_name=") + user);
        const QString password = m_database->param(QStringLiteral("password"));
        if (!password.isEmpty())
            attachment.append(QStringLiteral("password=") + password);
        attachment.append(QStringLiteral("lc_ctype=") + m_database->charset());
        attachment.append(QStringLiteral("isc_dpb_sql_dialect=") + QString::number(m_run->dialect));
        m_database->setParams(attachment);

        createConnectionTransactions();
        m_run->objects = createRunObjects();
        measureStartingMemory();
    } catch (const EISQLException &) {
        throw;
    } catch (const std::exception &error) {
        throw EISQLException(errorText(error), EISQLException::CreateDatabase, name);
    }
    m_connectedDatabaseName = name;
    raiseEvent(TSQLEvent::Create, TSQLSubEvent::Database, name);
}

void TZelIBSQLObj::createConnectionTransactions()
{
    const auto indexOf = [this](const db::Transaction *transaction) {
        for (int i = 0; i < m_database->transactionCount(); ++i) {
            if (m_database->transaction(i) == transaction)
                return i;
        }
        throw db::ProgrammingError(QStringLiteral("A script transaction is missing from its connection"));
    };
    const auto ensure = [this](QPointer<db::Transaction> &own, const QString &name) {
        if (own && own->defaultDatabase() == m_database)
            return;
        // Owned by the connection: the caller commits what the script leaves in them after the run.
        own = new db::Transaction(m_database);
        own->setObjectName(name);
        own->setParams(transactionParams());
        own->setDefaultDatabase(m_database);
    };
    ensure(m_ownDefaultTransaction, QStringLiteral("ISQLDefaultTransaction"));
    ensure(m_ownDdlTransaction, QStringLiteral("ISQLDDLTransaction"));
    m_defaultTransIDX = indexOf(m_ownDefaultTransaction);
    m_ddlTransIDX = indexOf(m_ownDdlTransaction);
}

void TZelIBSQLObj::runInputFile(const QString &argument)
{
    const QString name = withoutQuotes(argument);
    QString path = name;
    if (QFileInfo(name).isRelative() && !m_scriptDirectory.isEmpty())
        path = QDir(m_scriptDirectory).filePath(name);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EISQLException(file.errorString(), EISQLException::InputFile, name);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EISQLException(file.errorString(), EISQLException::InputFile, name);
    file.close();

    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    // A file that includes itself, directly or through others, would nest without end.
    if (m_inputChain.contains(canonical))
        throw EISQLException(QStringLiteral("The input file includes itself"), EISQLException::InputFile,
                             name);

    TZelIBSQLObj nested(this);
    nested.setDatabase(m_database);
    nested.setDataset(m_dataset);
    nested.setOnISQLEvent(m_onISQLEvent);
    nested.setOnQueryProgress(m_onQueryProgress);
    nested.setPendingEventsHook(m_pendingEvents);
    nested.setDefaultTransIDX(m_defaultTransIDX);
    nested.setDDLTransIDX(m_ddlTransIDX);
    nested.setAutoDDL(m_autoDDL);
    nested.setStatistics(m_statistics);
    nested.setScriptDirectory(info.absolutePath());
    nested.m_measured = m_measured;
    nested.m_ownDefaultTransaction = m_ownDefaultTransaction;
    nested.m_ownDdlTransaction = m_ownDdlTransaction;
    nested.m_inputChain = m_inputChain;
    nested.m_inputChain.append(canonical);
    nested.setQuery(scriptFileLines(bytes));

    {
        // Whatever the included file did to the connection, this run goes on (or ends) on the same one.
        const auto follow = qScopeGuard([this, &nested] {
            m_measured = nested.m_measured;
            if (!nested.m_connectionChanged)
                return;
            m_connectionChanged = true;
            // The included file counted its indexes with this run's probe transaction still in the
            // connection's list; releasing the probe moves every later transaction up by one.
            db::Transaction *defaultTransaction = transactionAt(nested.m_defaultTransIDX);
            db::Transaction *ddlTransaction = transactionAt(nested.m_ddlTransIDX);
            m_run->objects.reset();
            m_defaultTransIDX = indexOfTransaction(defaultTransaction, nested.m_defaultTransIDX);
            m_ddlTransIDX = indexOfTransaction(ddlTransaction, nested.m_ddlTransIDX);
            m_ownDefaultTransaction = nested.m_ownDefaultTransaction;
            m_ownDdlTransaction = nested.m_ownDdlTransaction;
            m_connectedDatabaseName = nested.m_connectedDatabaseName;
        });
        nested.ExecuteScript();
    }

    if (nested.m_connectionChanged && m_database->isConnected()) {
        try {
            m_run->objects = createRunObjects();
        } catch (const std::exception &error) {
            throw EISQLException(errorText(error), EISQLException::Connect, m_database->databaseName());
        }
    }
}

// ---------------------------------------------------------------------------------------------- helpers

std::unique_ptr<TZelIBSQLObj::RunObjects> TZelIBSQLObj::createRunObjects()
{
    db::Transaction *ddlTransaction = transactionAt(m_ddlTransIDX);
    if (!ddlTransaction)
        throw db::ProgrammingError(
            QStringLiteral("DDLTransIDX %1 names no transaction of the connection").arg(m_ddlTransIDX));
    db::Transaction *defaultTransaction =
        m_dataset ? m_dataset->transaction() : transactionAt(m_defaultTransIDX);
    if (!defaultTransaction)
        throw db::ProgrammingError(
            m_dataset ? QStringLiteral("Property Transaction of Dataset not Assigned")
                      : QStringLiteral("DefaultTransIDX %1 names no transaction of the connection")
                            .arg(m_defaultTransIDX));

    auto objects = std::make_unique<RunObjects>();
    objects->ddlTransaction = ddlTransaction;
    objects->probeTransaction = std::make_unique<db::Transaction>();
    objects->probeTransaction->setObjectName(QStringLiteral("ISQLProbeTransaction"));
    // Read-only: the engine starts and ends such a transaction without writing to the database, and the probe
    // runs twice for every statement of a script.
    objects->probeTransaction->setParams(QStringList{QStringLiteral("read")} + transactionParams());
    objects->probeTransaction->setDefaultDatabase(m_database);
    objects->defaultStatement = makeStatement(m_database, defaultTransaction);
    objects->ddlStatement = makeStatement(m_database, ddlTransaction);
    objects->probeStatement = makeStatement(m_database, objects->probeTransaction.get());
    return objects;
}

db::Transaction *TZelIBSQLObj::transactionAt(int index) const
{
    if (!m_database || index < 0 || index >= m_database->transactionCount())
        return nullptr;
    return m_database->transaction(index);
}

int TZelIBSQLObj::indexOfTransaction(const db::Transaction *transaction, int fallback) const
{
    if (transaction && m_database) {
        for (int i = 0; i < m_database->transactionCount(); ++i) {
            if (m_database->transaction(i) == transaction)
                return i;
        }
    }
    return fallback;
}

void TZelIBSQLObj::raiseEvent(TSQLEvent event, TSQLSubEvent subEvent, const QVariant &data)
{
    if (m_onISQLEvent)
        m_onISQLEvent(event, subEvent, data, m_database);
}

void TZelIBSQLObj::measureStartingMemory()
{
    if (m_statistics && m_database->isConnected())
        m_measured.startingMemory = m_database->info().currentMemory;
}

void TZelIBSQLObj::collectServerStatistics()
{
    if (!m_statistics || !m_database->isConnected())
        return;
    try {
        const db::DatabaseInfo info = m_database->info();
        m_measured.currentMemory = info.currentMemory;
        m_measured.numberOfBuffers = info.numBuffers;
        m_measured.reads = info.reads;
        m_measured.writes = info.writes;
    } catch (const std::exception &error) {
        throw EISQLException(errorText(error), EISQLException::Statistics);
    }
}
