#include "database.h"

#include "dberror.h"
#include "engine.h"
#include "status.h"
#include "transaction.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace db {

namespace {

// The family's existing databases hold Windows-1252 text; without an explicit lc_ctype we speak it too.
const QString kDefaultCharset = QStringLiteral("WIN1252");

void appendDpbString(QByteArray &dpb, char code, const QByteArray &value)
{
    if (value.size() > 255)
        throw ProgrammingError(QStringLiteral("Database parameter value too long"));
    dpb.append(code);
    dpb.append(char(value.size()));
    dpb.append(value);
}

void appendDpbInt(QByteArray &dpb, char code, int value)
{
    dpb.append(code);
    dpb.append(char(4));
    for (int i = 0; i < 4; ++i)
        dpb.append(char((value >> (8 * i)) & 0xFF));
}

// Splits "key=value" or "KEY value" (the CREATE DATABASE option form) into a lower-case key and its value,
// with surrounding quotes removed.
bool splitParam(const QString &line, QString &key, QString &value)
{
    const QString t = line.trimmed();
    if (t.isEmpty())
        return false;
    qsizetype cut = t.indexOf(QLatin1Char('='));
    if (cut < 0)
        cut = t.indexOf(QLatin1Char(' '));
    if (cut < 0) {
        key = t.toLower();
        value.clear();
    } else {
        key = t.left(cut).trimmed().toLower();
        value = t.mid(cut + 1).trimmed();
    }
    if (key.startsWith(QLatin1String("isc_dpb_")))
        key = key.mid(8);
    if (value.size() >= 2 && (value.front() == QLatin1Char('\'') || value.front() == QLatin1Char('"')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return true;
}

// The user and password of CREATE DATABASE options, written "USER 'x' PASSWORD 'y'" on one line or many, or
// as attachment lines "user_name=x".
void readCreateLogin(const QString &options, QString &user, QString &password)
{
    static const QRegularExpression pair(
        QStringLiteral("(?i)\\b(USER|USER_NAME|PASSWORD)\\s*(?:=\\s*|\\s+)('[^']*'|\"[^\"]*\"|[^\\s'\"]+)"));
    auto it = pair.globalMatch(options);
    while (it.hasNext()) {
        const auto m = it.next();
        QString value = m.captured(2);
        if (value.size() >= 2 && (value.front() == QLatin1Char('\'') || value.front() == QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        if (m.captured(1).compare(QLatin1String("PASSWORD"), Qt::CaseInsensitive) == 0)
            password = value;
        else
            user = value;
    }
}

qint64 readInfoInt(const char *p, int len)
{
    return qint64(isc_portable_integer(reinterpret_cast<const ISC_UCHAR *>(p), short(len)));
}

} // namespace

Database::Database(QObject *parent) : QObject(parent) {}

Database::~Database()
{
    try {
        close();
    } catch (...) {
        // Detaching must not throw from a destructor; the engine drops the attachment anyway.
        Status status;
        if (m_handle)
            isc_detach_database(status, &m_handle);
        m_handle = 0;
    }
    for (Transaction *t : std::vector<Transaction *>(m_transactions))
        t->setDefaultDatabase(nullptr);
    const std::vector<DatabaseClient *> clients = m_clients;
    m_clients.clear();
    for (DatabaseClient *c : clients)
        c->databaseDestroyed();
}

void Database::setDatabaseName(const QString &name)
{
    if (isConnected())
        throw ProgrammingError(QStringLiteral("Cannot change the name of a connected database"));
    m_name = name;
}

void Database::setParams(const QStringList &lines)
{
    m_params = lines;
}

void Database::setSqlDialect(int dialect)
{
    if (dialect < 1 || dialect > 3)
        throw ProgrammingError(QStringLiteral("Invalid SQL dialect %1").arg(dialect));
    m_dialect = dialect;
}

QString Database::param(const QString &key) const
{
    const QString wanted =
        key.toLower().startsWith(QLatin1String("isc_dpb_")) ? key.toLower().mid(8) : key.toLower();
    QString k, v;
    for (const QString &line : m_params)
        if (splitParam(line, k, v) && k == wanted)
            return v;
    return {};
}

QString Database::host() const
{
    // A single letter before the colon would be a drive, not a host; there are no drives here, but stored
    // names from other machines may carry one.
    const qsizetype colon = m_name.indexOf(QLatin1Char(':'));
    if (colon <= 1)
        return {};
    return m_name.left(colon);
}

QString Database::path() const
{
    const QString h = host();
    return h.isEmpty() ? m_name : m_name.mid(h.size() + 1);
}

QByteArray Database::buildDpb() const
{
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    const bool local = host().isEmpty();
    bool haveCharset = false;
    bool haveUser = false;
    QString k, v;
    for (const QString &line : m_params) {
        if (!splitParam(line, k, v))
            continue;
        if (k == QLatin1String("user_name") || k == QLatin1String("user") || k == QLatin1String("username")) {
            appendDpbString(dpb, isc_dpb_user_name, v.toUtf8());
            haveUser = true;
        } else if (k == QLatin1String("password") || k == QLatin1String("pass")) {
            // The embedded engine takes the user name as given and never checks a password, while the
            // client library still works out a password handshake for every attachment that carries one.
            if (!local)
                appendDpbString(dpb, isc_dpb_password, v.toUtf8());
        } else if (k == QLatin1String("sql_role_name") || k == QLatin1String("role")) {
            appendDpbString(dpb, isc_dpb_sql_role_name, v.toUtf8());
        } else if (k == QLatin1String("lc_ctype")) {
            appendDpbString(dpb, isc_dpb_lc_ctype, v.toLatin1());
            haveCharset = true;
        } else if (k == QLatin1String("num_buffers") || k == QLatin1String("cache")) {
            appendDpbInt(dpb, isc_dpb_num_buffers, v.toInt());
        } else if (k == QLatin1String("force_write")) {
            // Persistent in the database header: 0 lets the engine leave writes to the operating system.
            appendDpbInt(dpb, isc_dpb_force_write, v.toInt());
        } else if (k == QLatin1String("sql_dialect")) {
            appendDpbInt(dpb, isc_dpb_sql_dialect, v.toInt());
        } else if (k == QLatin1String("no_db_triggers")) {
            // Administrative connections: ON CONNECT and ON DISCONNECT triggers do not run.
            if (v.isEmpty() || v.toInt() != 0)
                appendDpbInt(dpb, isc_dpb_no_db_triggers, 1);
        } else if (k == QLatin1String("page_size") || k == QLatin1String("default")) {
            // Options of CREATE DATABASE that mean nothing to an attachment.
        } else {
            throw ProgrammingError(QStringLiteral("Unknown database parameter: %1").arg(line));
        }
    }
    if (!haveUser)
        appendDpbString(dpb, isc_dpb_user_name, QByteArrayLiteral("SYSDBA"));
    if (!haveCharset)
        appendDpbString(dpb, isc_dpb_lc_ctype, kDefaultCharset.toLatin1());
    return dpb;
}

void Database::attach(const QByteArray &dpb)
{
    if (host().isEmpty())
        Engine::configure();
    const QByteArray name = QFile::encodeName(m_name);
    Status status;
    isc_attach_database(status, short(name.size()), name.constData(), &m_handle, short(dpb.size()),
                        dpb.constData());
    if (status.hasError()) {
        m_handle = 0;
        if (tracing(TraceFlag::Error))
            trace(TraceFlag::Error, status.message());
        status.check("Database::open", m_name);
    }
    const QString lc = param(QStringLiteral("lc_ctype"));
    m_charset = lc.isEmpty() ? kDefaultCharset : lc.toUpper();
    m_codec = TextCodec::forCharset(m_charset);
    if (tracing(TraceFlag::Connect))
        trace(TraceFlag::Connect, QStringLiteral("Connect [%1]").arg(m_name));
}

void Database::open()
{
    if (isConnected())
        return;
    if (m_name.isEmpty())
        throw ProgrammingError(QStringLiteral("Database name is missing"));
    attach(buildDpb());
    emit connected();
}

void Database::close()
{
    if (!isConnected())
        return;
    for (Transaction *t : std::vector<Transaction *>(m_transactions)) {
        if (!t->isActive())
            continue;
        // A retaining end would keep the transaction alive on a connection that is going away.
        if (t->defaultAction() == EndAction::Rollback || t->defaultAction() == EndAction::RollbackRetaining)
            t->rollback();
        else
            t->commit();
    }
    for (DatabaseClient *c : std::vector<DatabaseClient *>(m_clients))
        c->databaseClosing();
    Status status;
    isc_detach_database(status, &m_handle);
    m_handle = 0;
    if (tracing(TraceFlag::Connect))
        trace(TraceFlag::Connect, QStringLiteral("Disconnect [%1]").arg(m_name));
    emit disconnected();
    status.check("Database::close", m_name);
}

void Database::createDatabase()
{
    if (isConnected())
        throw ProgrammingError(QStringLiteral("Cannot create a database while connected"));
    if (m_name.isEmpty())
        throw ProgrammingError(QStringLiteral("Database name is missing"));
    if (host().isEmpty())
        Engine::configure();

    // The option lines are written with double quotes by some callers; in dialect 3 those would be
    // identifiers.
    QString options = m_params.join(QLatin1Char(' '));
    QString user, password;
    readCreateLogin(options, user, password);
    options.replace(QLatin1Char('"'), QLatin1Char('\''));
    // Options given as attachment lines ("user_name=X") are turned into their CREATE DATABASE form.
    static const QRegularExpression dpbForm(
        QStringLiteral("(?i)\\b(user_name|password|lc_ctype|"
                       "isc_dpb_sql_dialect|sql_role_name|num_buffers)=\\S*|\\bno_db_triggers(=\\S*)?"));
    options.remove(dpbForm);
    if (!user.isEmpty() && !options.contains(QLatin1String("USER"), Qt::CaseInsensitive))
        options += QStringLiteral(" USER '%1'").arg(user);
    if (!password.isEmpty() && !options.contains(QLatin1String("PASSWORD"), Qt::CaseInsensitive))
        options += QStringLiteral(" PASSWORD '%1'").arg(password);
    if (!options.contains(QLatin1String("CHARACTER SET"), Qt::CaseInsensitive))
        options += QStringLiteral(" DEFAULT CHARACTER SET ") + kDefaultCharset;

    QString escapedName = m_name;
    escapedName.replace(QLatin1Char('\''), QLatin1String("''"));
    const QString sql = QStringLiteral("CREATE DATABASE '%1' %2").arg(escapedName, options.simplified());
    const QByteArray bytes = sql.toUtf8();
    isc_db_handle newHandle = 0;
    isc_tr_handle noTransaction = 0;
    Status status;
    isc_dsql_execute_immediate(status, &newHandle, &noTransaction, 0, bytes.constData(),
                               static_cast<unsigned short>(m_dialect), nullptr);
    status.check("Database::createDatabase", sql);
    if (tracing(TraceFlag::Misc))
        trace(TraceFlag::Misc, sql);

    // The attachment that CREATE DATABASE leaves has no character set; attach again with ours.
    Status detachStatus;
    isc_detach_database(detachStatus, &newHandle);
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    appendDpbString(dpb, isc_dpb_user_name, (user.isEmpty() ? QStringLiteral("SYSDBA") : user).toUtf8());
    if (!password.isEmpty() && !host().isEmpty())
        appendDpbString(dpb, isc_dpb_password, password.toUtf8());
    const QString lc = param(QStringLiteral("lc_ctype"));
    appendDpbString(dpb, isc_dpb_lc_ctype, (lc.isEmpty() ? kDefaultCharset : lc).toLatin1());
    attach(dpb);
    emit connected();
}

void Database::dropDatabase()
{
    requireConnected("drop");
    for (Transaction *t : std::vector<Transaction *>(m_transactions))
        if (t->isActive())
            t->rollback();
    for (DatabaseClient *c : std::vector<DatabaseClient *>(m_clients))
        c->databaseClosing();
    Status status;
    isc_drop_database(status, &m_handle);
    status.check("Database::dropDatabase", m_name);
    m_handle = 0;
    emit disconnected();
}

void Database::requireConnected(const char *what) const
{
    if (!isConnected())
        throw ProgrammingError(QStringLiteral("Database is not connected (%1)").arg(QLatin1String(what)));
}

void Database::setDefaultTransaction(Transaction *transaction)
{
    m_defaultTransaction = transaction;
    if (transaction && !transaction->defaultDatabase())
        transaction->setDefaultDatabase(this);
}

Transaction *Database::findTransaction(const QString &name) const
{
    for (Transaction *t : m_transactions)
        if (t->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return t;
    return nullptr;
}

QStringList Database::attachedUsers()
{
    requireConnected("attachedUsers");
    // The engine's own user list shows only this process's attachments in the shared-file modes; the
    // monitoring table sees every attachment of the database.
    Status status;
    isc_tr_handle tr = 0;
    static const char tpb[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed, isc_tpb_rec_version,
                               isc_tpb_nowait};
    isc_start_transaction(status, &tr, 1, &m_handle, short(sizeof tpb), tpb);
    status.check("Database::attachedUsers");
    isc_stmt_handle stmt = 0;
    QStringList users;
    auto cleanup = [&] {
        Status s;
        if (stmt)
            isc_dsql_free_statement(s, &stmt, DSQL_drop);
        if (tr)
            isc_rollback_transaction(s, &tr);
    };
    try {
        isc_dsql_allocate_statement(status, &m_handle, &stmt);
        status.check("Database::attachedUsers");
        const char *sql = "select cast(trim(MON$USER) as varchar(63)) from MON$ATTACHMENTS "
                          "where MON$SYSTEM_FLAG = 0 order by MON$ATTACHMENT_ID";
        alignas(XSQLDA) char daMem[XSQLDA_LENGTH(1)] = {};
        auto *da = reinterpret_cast<XSQLDA *>(daMem);
        da->version = SQLDA_VERSION1;
        da->sqln = 1;
        isc_dsql_prepare(status, &tr, &stmt, 0, sql, 3, da);
        status.check("Database::attachedUsers", QString::fromLatin1(sql));
        char buffer[2 + 63 * 4 + 8];
        short ind = 0;
        da->sqlvar[0].sqldata = buffer;
        da->sqlvar[0].sqlind = &ind;
        isc_dsql_execute(status, &tr, &stmt, 1, nullptr);
        status.check("Database::attachedUsers", QString::fromLatin1(sql));
        while (isc_dsql_fetch(status, &stmt, 1, da) == 0) {
            quint16 len;
            std::memcpy(&len, buffer, 2);
            users << m_codec.decode(buffer + 2, len);
        }
        status.check("Database::attachedUsers", QString::fromLatin1(sql));
    } catch (...) {
        cleanup();
        throw;
    }
    cleanup();
    return users;
}

DatabaseInfo Database::info()
{
    requireConnected("info");
    const char items[] = {isc_info_current_memory, isc_info_max_memory, isc_info_num_buffers, isc_info_reads,
                          isc_info_writes,         isc_info_fetches,    isc_info_marks,       isc_info_end};
    char buffer[256];
    Status status;
    isc_database_info(status, &m_handle, short(sizeof items), items, short(sizeof buffer), buffer);
    status.check("Database::info");
    DatabaseInfo out;
    const char *p = buffer;
    const char *end = buffer + sizeof buffer;
    while (p < end && *p != isc_info_end) {
        const char item = *p++;
        const int len = int(readInfoInt(p, 2));
        p += 2;
        const qint64 value = readInfoInt(p, len);
        p += len;
        switch (item) {
        case isc_info_current_memory:
            out.currentMemory = value;
            break;
        case isc_info_max_memory:
            out.maxMemory = value;
            break;
        case isc_info_num_buffers:
            out.numBuffers = value;
            break;
        case isc_info_reads:
            out.reads = value;
            break;
        case isc_info_writes:
            out.writes = value;
            break;
        case isc_info_fetches:
            out.fetches = value;
            break;
        case isc_info_marks:
            out.marks = value;
            break;
        default:
            break;
        }
    }
    return out;
}

void Database::trace(TraceFlag flag, const QString &text) const
{
    if (tracing(flag))
        m_traceHook(flag, text, QDateTime::currentDateTime());
}

void Database::addTransaction(Transaction *t)
{
    if (std::find(m_transactions.begin(), m_transactions.end(), t) == m_transactions.end())
        m_transactions.push_back(t);
}

void Database::removeTransaction(Transaction *t)
{
    const auto it = std::find(m_transactions.begin(), m_transactions.end(), t);
    if (it != m_transactions.end())
        m_transactions.erase(it);
    if (m_defaultTransaction == t)
        m_defaultTransaction = nullptr;
}

void Database::addClient(DatabaseClient *c)
{
    m_clients.push_back(c);
}

void Database::removeClient(DatabaseClient *c)
{
    const auto it = std::find(m_clients.begin(), m_clients.end(), c);
    if (it != m_clients.end())
        m_clients.erase(it);
}

} // namespace db
