#include "statement.h"

#include "blob.h"
#include "dberror.h"
#include "sqlparams.h"
#include "status.h"

#include <cstring>

namespace db {

namespace {

short kNullIndicator = -1;
short kNotNullIndicator = 0;

int alignUp(int offset, int alignment)
{
    return (offset + alignment - 1) / alignment * alignment;
}

XSQLDA *asDa(std::vector<char> &mem)
{
    return reinterpret_cast<XSQLDA *>(mem.data());
}

void allocDa(std::vector<char> &mem, int n)
{
    n = qMax(n, 1);
    mem.assign(XSQLDA_LENGTH(n), 0);
    XSQLDA *da = asDa(mem);
    da->version = SQLDA_VERSION1;
    da->sqln = short(n);
}

template <typename T> void put(char *p, T v)
{
    std::memcpy(p, &v, sizeof v);
}

qint64 infoInt(const char *p, int len)
{
    return qint64(isc_portable_integer(reinterpret_cast<const ISC_UCHAR *>(p), short(len)));
}

} // namespace

// ---------------------------------------------------------------------------------------------- Param

void Param::clear()
{
    m_null = true;
    m_kind = Kind::None;
    m_value = QVariant();
    m_bytes.clear();
}

void Param::setKind(Kind k, const QVariant &v)
{
    m_null = false;
    m_kind = k;
    m_value = v;
    m_bytes.clear();
}

void Param::setInt64(qint64 v)
{
    setKind(Kind::Int, v);
    put<qint64>(m_fixed, v);
}

void Param::setDouble(double v)
{
    setKind(Kind::Double, v);
    put<double>(m_fixed, v);
}

void Param::setCurrency(Currency v)
{
    setKind(Kind::Money, QVariant::fromValue(v));
    put<qint64>(m_fixed, v.ticks());
}

void Param::setString(const QString &v)
{
    setKind(Kind::Text, v);
}

void Param::setDate(QDate v)
{
    if (!v.isValid()) {
        clear();
        return;
    }
    setKind(Kind::Date, v);
    put<ISC_DATE>(m_fixed, dateToIsc(v));
}

void Param::setTime(QTime v)
{
    if (!v.isValid()) {
        clear();
        return;
    }
    setKind(Kind::Time, v);
    put<ISC_TIME>(m_fixed, timeToIsc(v));
}

void Param::setDateTime(const QDateTime &v)
{
    // Null only without a date: a moment of the hour a summer-time change skips is a local QDateTime Qt
    // calls invalid, and it must be stored, not dropped.
    if (!v.date().isValid()) {
        clear();
        return;
    }
    setKind(Kind::Timestamp, v);
    put<ISC_TIMESTAMP>(m_fixed, ISC_TIMESTAMP{dateToIsc(v.date()), timeToIsc(v.time())});
}

void Param::setBool(bool v)
{
    setKind(Kind::Bool, v);
    m_fixed[0] = v ? 1 : 0;
}

void Param::setBlob(const QByteArray &bytes)
{
    setKind(Kind::BlobContent, bytes);
    m_bytes = bytes;
}

void Param::setBlobId(ISC_QUAD id)
{
    setKind(Kind::BlobId, QVariant());
    put<ISC_QUAD>(m_fixed, id);
}

void Param::setValue(const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        clear();
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
        setBool(v.toBool());
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        setInt64(v.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        setDouble(v.toDouble());
        return;
    case QMetaType::QDate:
        setDate(v.toDate());
        return;
    case QMetaType::QTime:
        setTime(v.toTime());
        return;
    case QMetaType::QDateTime:
        setDateTime(v.toDateTime());
        return;
    case QMetaType::QByteArray:
        setBlob(v.toByteArray());
        return;
    default:
        if (v.typeId() == qMetaTypeId<Currency>()) {
            setCurrency(v.value<Currency>());
            return;
        }
        setString(v.toString());
    }
}

// --------------------------------------------------------------------------------------------- Column

const char *Column::data() const
{
    if (!m_statement->m_hasRow)
        throw ProgrammingError(QStringLiteral("No current row to read column %1").arg(name()));
    return m_statement->m_out.data() + m_statement->m_columns.at(size_t(m_index)).dataOffset;
}

QString Column::name() const
{
    return m_statement->m_columns.at(size_t(m_index)).name;
}

QString Column::origin() const
{
    const auto &c = m_statement->m_columns.at(size_t(m_index));
    return c.relation.isEmpty() ? c.fieldName : c.relation + QLatin1Char('.') + c.fieldName;
}

SqlType Column::sqlType() const
{
    return m_statement->m_columns.at(size_t(m_index)).type;
}

bool Column::isNull() const
{
    if (!m_statement->m_hasRow)
        throw ProgrammingError(QStringLiteral("No current row to read column %1").arg(name()));
    const auto &c = m_statement->m_columns.at(size_t(m_index));
    if (!c.nullable)
        return false;
    short ind;
    std::memcpy(&ind, m_statement->m_out.data() + c.nullOffset, sizeof ind);
    return ind == -1;
}

QString Column::asString() const
{
    if (isNull())
        return {};
    const SqlType t = sqlType();
    if (sqlvalue::isBlob(t))
        return m_statement->m_database->codec().decode(asBytes());
    return sqlvalue::toString(t, data(), m_statement->m_database->codec());
}

qint64 Column::asInt64() const
{
    return isNull() ? 0 : sqlvalue::toInt64(sqlType(), data(), m_statement->m_database->codec(), name());
}

double Column::asDouble() const
{
    return isNull() ? 0 : sqlvalue::toDouble(sqlType(), data(), m_statement->m_database->codec(), name());
}

Currency Column::asCurrency() const
{
    return isNull() ? Currency()
                    : sqlvalue::toCurrency(sqlType(), data(), m_statement->m_database->codec(), name());
}

QDate Column::asDate() const
{
    return isNull() ? QDate() : sqlvalue::toDate(sqlType(), data(), m_statement->m_database->codec(), name());
}

QTime Column::asTime() const
{
    return isNull() ? QTime() : sqlvalue::toTime(sqlType(), data(), m_statement->m_database->codec(), name());
}

QDateTime Column::asDateTime() const
{
    return isNull() ? QDateTime()
                    : sqlvalue::toDateTime(sqlType(), data(), m_statement->m_database->codec(), name());
}

bool Column::asBool() const
{
    return !isNull() && sqlvalue::toBool(sqlType(), data(), m_statement->m_database->codec(), name());
}

QByteArray Column::asBytes() const
{
    if (isNull())
        return {};
    const SqlType t = sqlType();
    if (sqlvalue::isBlob(t))
        return m_statement->readBlob(sqlvalue::blobId(data()));
    if (t.type == SQL_VARYING) {
        quint16 len;
        std::memcpy(&len, data(), 2);
        return QByteArray(data() + 2, len);
    }
    if (t.type == SQL_TEXT)
        return QByteArray(data(), t.length);
    return m_statement->m_database->codec().encodeOrThrow(asString());
}

QVariant Column::asVariant() const
{
    if (isNull())
        return {};
    const SqlType t = sqlType();
    if (sqlvalue::isBlob(t))
        return t.subType == 1 ? QVariant(asString()) : QVariant(asBytes());
    return sqlvalue::toVariant(t, data(), m_statement->m_database->codec());
}

// ------------------------------------------------------------------------------------------ Statement

Statement::Statement(Database *database, Transaction *transaction)
{
    setDatabase(database);
    setTransaction(transaction);
    if (!m_database && transaction)
        setDatabase(transaction->defaultDatabase());
}

Statement::~Statement()
{
    try {
        unprepare();
    } catch (...) {
    }
    if (m_transaction)
        m_transaction->removeClient(this);
    if (m_database)
        m_database->removeClient(this);
}

void Statement::setDatabase(Database *database)
{
    if (database == m_database)
        return;
    unprepare();
    if (m_database)
        m_database->removeClient(this);
    m_database = database;
    if (m_database)
        m_database->addClient(this);
}

void Statement::setTransaction(Transaction *transaction)
{
    if (transaction == m_transaction)
        return;
    close();
    if (m_transaction)
        m_transaction->removeClient(this);
    m_transaction = transaction;
    if (m_transaction)
        m_transaction->addClient(this);
}

void Statement::setSql(const QString &sql)
{
    unprepare();
    m_sql = sql;
    m_params.clear();
    m_paramIndex.clear();
    m_positions.clear();
    if (!m_paramCheck) {
        m_engineSql = sql;
        return;
    }
    const ParsedSql parsed = parseParams(sql);
    m_engineSql = parsed.text;
    for (const QString &name : parsed.positions) {
        auto it = m_paramIndex.constFind(name);
        if (it == m_paramIndex.constEnd()) {
            it = m_paramIndex.insert(name, int(m_params.size()));
            m_params.push_back(std::make_unique<Param>(name));
        }
        m_positions.push_back(*it);
    }
}

void Statement::setParamCheck(bool on)
{
    if (on == m_paramCheck)
        return;
    m_paramCheck = on;
    setSql(m_sql);
}

QStringList Statement::paramNames() const
{
    QStringList names;
    for (const auto &p : m_params)
        names << p->name();
    return names;
}

bool Statement::hasParam(const QString &name) const
{
    return m_paramIndex.contains(name.toUpper());
}

Param &Statement::param(const QString &name)
{
    // Callers mostly write the name as the statement does: try that before folding the case.
    auto it = m_paramIndex.constFind(name);
    if (it == m_paramIndex.constEnd())
        it = m_paramIndex.constFind(name.toUpper());
    if (it == m_paramIndex.constEnd())
        throw ProgrammingError(QStringLiteral("Parameter \"%1\" not found").arg(name));
    return *m_params.at(size_t(*it));
}

void Statement::requireReady(const char *what) const
{
    if (!m_database)
        throw ProgrammingError(QStringLiteral("Statement has no database (%1)").arg(QLatin1String(what)));
    if (!m_database->isConnected())
        throw ProgrammingError(QStringLiteral("Database is not connected (%1)").arg(QLatin1String(what)));
    if (!m_transaction)
        throw ProgrammingError(QStringLiteral("Statement has no transaction (%1)").arg(QLatin1String(what)));
    if (!m_transaction->isActive())
        throw ProgrammingError(QStringLiteral("Transaction is not active (%1)").arg(QLatin1String(what)));
}

void Statement::traceEvent(TraceFlag flag, const QString &text) const
{
    if (m_database && m_database->tracing(flag))
        m_database->trace(flag, text);
}

void Statement::fail(Status &status, const char *context)
{
    traceEvent(TraceFlag::Error, status.message() + QLatin1Char('\n') + m_sql);
    status.check(context, m_sql);
    throw ProgrammingError(QStringLiteral("Statement failure without status"));
}

void Statement::prepare()
{
    if (isPrepared())
        return;
    requireReady("prepare");
    if (m_sql.trimmed().isEmpty())
        throw ProgrammingError(QStringLiteral("Statement text is empty"));
    const QByteArray text = m_database->codec().encodeOrThrow(m_engineSql);

    Status status;
    isc_dsql_allocate_statement(status, m_database->handle(), &m_handle);
    if (status.hasError())
        fail(status, "Statement::prepare");
    traceEvent(TraceFlag::Statement, QStringLiteral("Allocate statement"));

    allocDa(m_outDa, 16);
    isc_dsql_prepare(status, m_transaction->handle(), &m_handle, 0, text.constData(),
                     static_cast<unsigned short>(m_database->sqlDialect()), asDa(m_outDa));
    if (status.hasError()) {
        Status dropStatus;
        isc_dsql_free_statement(dropStatus, &m_handle, DSQL_drop);
        m_handle = 0;
        fail(status, "Statement::prepare");
    }
    const QByteArray typeInfo = sqlInfo(isc_info_sql_stmt_type);
    m_type = StatementType::Unknown;
    if (typeInfo.size() >= 3 && typeInfo[0] == isc_info_sql_stmt_type) {
        const int len = int(infoInt(typeInfo.constData() + 1, 2));
        m_type = StatementType(infoInt(typeInfo.constData() + 3, len));
    }
    describeOutput();
    describeInput();
    traceEvent(TraceFlag::Prepare, QStringLiteral("Prepare: ") + m_sql);
}

void Statement::describeOutput()
{
    Status status;
    XSQLDA *da = asDa(m_outDa);
    if (da->sqld > da->sqln) {
        const int n = da->sqld;
        allocDa(m_outDa, n);
        da = asDa(m_outDa);
        isc_dsql_describe(status, &m_handle, 1, da);
        if (status.hasError())
            fail(status, "Statement::prepare");
    }
    const int n = da->sqld;
    m_columns.assign(size_t(n), ColumnInfo{});
    m_columnIndex.clear();
    // Values at their natural alignment, the null indicators together at the end: a compact row is cheaper to
    // keep by the hundred thousand.
    int offset = 0;
    for (int i = 0; i < n; ++i) {
        XSQLVAR &v = da->sqlvar[i];
        ColumnInfo &c = m_columns[size_t(i)];
        c.type = SqlType::of(v);
        c.nullable = (v.sqltype & 1) != 0;
        c.name = QString::fromUtf8(v.aliasname, v.aliasname_length).trimmed();
        c.fieldName = QString::fromUtf8(v.sqlname, v.sqlname_length).trimmed();
        c.relation = QString::fromUtf8(v.relname, v.relname_length).trimmed();
        if (c.name.isEmpty())
            c.name = c.fieldName;
        offset = alignUp(offset, c.type.alignment());
        c.dataOffset = offset;
        offset += c.type.storageSize();
        if (!m_columnIndex.contains(c.name.toUpper()))
            m_columnIndex.insert(c.name.toUpper(), i);
    }
    offset = alignUp(offset, 2);
    for (int i = 0; i < n; ++i) {
        m_columns[size_t(i)].nullOffset = offset;
        offset += 2;
    }
    m_out.assign(size_t(alignUp(offset, 8)), 0);
    for (int i = 0; i < n; ++i) {
        XSQLVAR &v = da->sqlvar[i];
        v.sqldata = m_out.data() + m_columns[size_t(i)].dataOffset;
        v.sqlind = reinterpret_cast<short *>(m_out.data() + m_columns[size_t(i)].nullOffset);
    }
    m_hasRow = false;
}

void Statement::describeInput()
{
    // A text without any "?" has no inputs: spare the engine the round trip (scripts run thousands of these).
    if (m_positions.empty() && !m_engineSql.contains(QLatin1Char('?'))) {
        m_inTypes.clear();
        return;
    }
    Status status;
    allocDa(m_inDa, qMax<int>(1, int(m_positions.size())));
    isc_dsql_describe_bind(status, &m_handle, 1, asDa(m_inDa));
    if (status.hasError())
        fail(status, "Statement::prepare");
    XSQLDA *da = asDa(m_inDa);
    if (da->sqld > da->sqln) {
        const int n = da->sqld;
        allocDa(m_inDa, n);
        da = asDa(m_inDa);
        isc_dsql_describe_bind(status, &m_handle, 1, da);
        if (status.hasError())
            fail(status, "Statement::prepare");
    }
    // With parameter parsing off, "?" markers are reachable by position under the names "1", "2", ...
    if (!m_paramCheck && m_positions.empty()) {
        for (int i = 0; i < da->sqld; ++i) {
            const QString name = QString::number(i + 1);
            m_paramIndex.insert(name, int(m_params.size()));
            m_params.push_back(std::make_unique<Param>(name));
            m_positions.push_back(i);
        }
    }
    if (size_t(da->sqld) != m_positions.size())
        throw ProgrammingError(
            QStringLiteral("Parameter count mismatch: the statement has %1, the text names %2")
                .arg(da->sqld)
                .arg(m_positions.size()));
    m_inTypes.resize(size_t(da->sqld));
    for (int i = 0; i < da->sqld; ++i)
        m_inTypes[size_t(i)] = SqlType::of(da->sqlvar[i]);
}

void Statement::bindInput()
{
    XSQLDA *da = asDa(m_inDa);
    const TextCodec &codec = m_database->codec();
    std::vector<bool> blobWritten(m_params.size(), false);
    for (size_t i = 0; i < m_positions.size(); ++i) {
        Param &p = *m_params[size_t(m_positions[i])];
        XSQLVAR &v = da->sqlvar[i];
        const SqlType &target = m_inTypes[i];
        v.sqlscale = 0;
        v.sqlsubtype = 0;
        if (p.m_null) {
            v.sqltype = short(target.type | 1);
            v.sqllen = target.length;
            v.sqldata = p.m_fixed;
            v.sqlind = &kNullIndicator;
            continue;
        }
        v.sqlind = &kNotNullIndicator;
        v.sqldata = p.m_fixed;
        const bool toBlob = target.type == SQL_BLOB;
        switch (p.m_kind) {
        case Param::Kind::Int:
            v.sqltype = SQL_INT64 | 1;
            v.sqllen = 8;
            break;
        case Param::Kind::Double:
            v.sqltype = SQL_DOUBLE | 1;
            v.sqllen = 8;
            break;
        case Param::Kind::Money:
            // Ticks with scale -4 let the engine rescale NUMERIC targets exactly.
            v.sqltype = SQL_INT64 | 1;
            v.sqllen = 8;
            v.sqlscale = -4;
            break;
        case Param::Kind::Date:
            v.sqltype = SQL_TYPE_DATE | 1;
            v.sqllen = sizeof(ISC_DATE);
            break;
        case Param::Kind::Time:
            v.sqltype = SQL_TYPE_TIME | 1;
            v.sqllen = sizeof(ISC_TIME);
            break;
        case Param::Kind::Timestamp:
            v.sqltype = SQL_TIMESTAMP | 1;
            v.sqllen = sizeof(ISC_TIMESTAMP);
            break;
        case Param::Kind::Bool:
            if (target.type == SQL_BOOLEAN) {
                v.sqltype = SQL_BOOLEAN | 1;
                v.sqllen = 1;
            } else {
                put<qint64>(p.m_fixed + 8, p.m_fixed[0] ? 1 : 0);
                v.sqldata = p.m_fixed + 8;
                v.sqltype = SQL_INT64 | 1;
                v.sqllen = 8;
            }
            break;
        case Param::Kind::Text:
        case Param::Kind::BlobContent: {
            const bool textTarget = target.type == SQL_TEXT || target.type == SQL_VARYING;
            if (p.m_kind == Param::Kind::Text && !textTarget && !toBlob && target.storageSize() <= 16) {
                // Numbers and dates typed as text follow the regional formats, which the engine does not
                // know.
                sqlvalue::setString(target, p.m_fixed, p.m_value.toString(), codec, p.m_name);
                v.sqltype = short(target.type | 1);
                v.sqllen = target.length;
                v.sqlscale = target.scale;
                v.sqlsubtype = target.subType;
                break;
            }
            if (p.m_kind == Param::Kind::Text && p.m_bytes.isEmpty()) {
                const QByteArray enc = codec.encodeOrThrow(p.m_value.toString());
                p.m_bytes = enc;
            }
            if (toBlob) {
                if (!blobWritten[size_t(m_positions[i])]) {
                    put<ISC_QUAD>(p.m_fixed, blob::write(*m_database, *m_transaction, p.m_bytes));
                    blobWritten[size_t(m_positions[i])] = true;
                }
                v.sqltype = SQL_BLOB | 1;
                v.sqllen = sizeof(ISC_QUAD);
                v.sqlsubtype = target.subType;
            } else {
                if (p.m_bytes.size() > 32765)
                    throw ValueError(QStringLiteral("O texto do parâmetro %1 é longo demais.").arg(p.m_name));
                v.sqltype = SQL_TEXT | 1;
                v.sqllen = short(p.m_bytes.size());
                v.sqldata = p.m_bytes.data();
            }
            break;
        }
        case Param::Kind::BlobId:
            v.sqltype = SQL_BLOB | 1;
            v.sqllen = sizeof(ISC_QUAD);
            v.sqlsubtype = target.subType;
            break;
        case Param::Kind::None:
            break;
        }
    }
}

void Statement::execute()
{
    if (!isPrepared())
        prepare();
    requireReady("execute");
    close();
    bindInput();
    Status status;
    XSQLDA *in = m_positions.empty() ? nullptr : asDa(m_inDa);
    if (m_type == StatementType::ExecProcedure && !m_columns.empty()) {
        isc_dsql_execute2(status, m_transaction->handle(), &m_handle, 1, in, asDa(m_outDa));
        if (status.hasError())
            fail(status, "Statement::execute");
        m_hasRow = true;
        m_eof = true;
    } else {
        isc_dsql_execute(status, m_transaction->handle(), &m_handle, 1, in);
        if (status.hasError())
            fail(status, "Statement::execute");
        m_hasRow = false;
        if (m_type == StatementType::Select || m_type == StatementType::SelectForUpdate) {
            m_cursorOpen = true;
            m_eof = false;
        } else {
            m_eof = true;
        }
    }
    if (m_database->tracing(TraceFlag::Execute)) {
        QString text = QStringLiteral("Execute: ") + m_sql;
        for (const auto &p : m_params)
            text += QStringLiteral("\n  %1 = %2")
                        .arg(p->name(), p->isNull() ? QStringLiteral("<NULL>") : p->value().toString());
        traceEvent(TraceFlag::Execute, text);
    }
}

bool Statement::next()
{
    if (!m_cursorOpen)
        throw ProgrammingError(QStringLiteral("Cursor is not open"));
    if (m_eof)
        return false;
    Status status;
    const ISC_STATUS rc = isc_dsql_fetch(status, &m_handle, 1, asDa(m_outDa));
    if (rc == 100) {
        m_eof = true;
        m_hasRow = false;
        traceEvent(TraceFlag::Fetch, QStringLiteral("Fetch: end of rows - ") + m_sql);
        return false;
    }
    if (status.hasError())
        fail(status, "Statement::next");
    m_hasRow = true;
    if (m_database->tracing(TraceFlag::Fetch))
        traceEvent(TraceFlag::Fetch, QStringLiteral("Fetch: ") + m_sql);
    return true;
}

void Statement::close()
{
    if (!m_cursorOpen)
        return;
    m_cursorOpen = false;
    m_eof = true;
    m_hasRow = false;
    if (m_handle && m_transaction && m_transaction->isActive() && m_database && m_database->isConnected()) {
        Status status;
        isc_dsql_free_statement(status, &m_handle, DSQL_close);
        if (status.hasError())
            fail(status, "Statement::close");
    }
}

void Statement::unprepare()
{
    if (!m_handle) {
        return;
    }
    close();
    Status status;
    if (m_database && m_database->isConnected())
        isc_dsql_free_statement(status, &m_handle, DSQL_drop);
    m_handle = 0;
    m_type = StatementType::Unknown;
    m_columns.clear();
    m_columnIndex.clear();
    m_hasRow = false;
    traceEvent(TraceFlag::Statement, QStringLiteral("Free statement: ") + m_sql);
}

Column Statement::field(int index)
{
    if (index < 0 || index >= columnCount())
        throw ProgrammingError(QStringLiteral("Column index %1 out of range").arg(index));
    return Column(this, index);
}

Column Statement::field(const QString &name)
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw ProgrammingError(QStringLiteral("Field \"%1\" not found").arg(name));
    return Column(this, i);
}

int Statement::fieldIndex(const QString &name) const
{
    return m_columnIndex.value(name.toUpper(), -1);
}

QByteArray Statement::sqlInfo(char item)
{
    const char items[] = {item, isc_info_end};
    QByteArray buffer(16384, 0);
    Status status;
    isc_dsql_sql_info(status, &m_handle, sizeof items, items, short(buffer.size()), buffer.data());
    if (status.hasError())
        fail(status, "Statement::info");
    return buffer;
}

QString Statement::plan()
{
    if (!isPrepared())
        prepare();
    const QByteArray info = sqlInfo(isc_info_sql_get_plan);
    if (info.isEmpty() || info[0] != isc_info_sql_get_plan)
        return {};
    const int len = int(infoInt(info.constData() + 1, 2));
    return QString::fromUtf8(info.constData() + 3, len).trimmed();
}

RowCounts Statement::rowCounts()
{
    RowCounts counts;
    if (!isPrepared())
        return counts;
    const QByteArray info = sqlInfo(isc_info_sql_records);
    if (info.isEmpty() || info[0] != isc_info_sql_records)
        return counts;
    const char *p = info.constData() + 3;
    const char *end = info.constData() + info.size();
    while (p < end && *p != isc_info_end) {
        const char item = *p++;
        const int len = int(infoInt(p, 2));
        p += 2;
        const qint64 value = infoInt(p, len);
        p += len;
        switch (item) {
        case isc_info_req_select_count:
            counts.selected = value;
            break;
        case isc_info_req_insert_count:
            counts.inserted = value;
            break;
        case isc_info_req_update_count:
            counts.updated = value;
            break;
        case isc_info_req_delete_count:
            counts.deleted = value;
            break;
        default:
            break;
        }
    }
    return counts;
}

qint64 Statement::rowsAffected()
{
    const RowCounts c = rowCounts();
    switch (m_type) {
    case StatementType::Insert:
        return c.inserted;
    case StatementType::Update:
        return c.updated;
    case StatementType::Delete:
        return c.deleted;
    case StatementType::Select:
    case StatementType::SelectForUpdate:
        return c.selected;
    case StatementType::ExecProcedure:
        return c.inserted + c.updated + c.deleted;
    default:
        return 0;
    }
}

QByteArray Statement::readBlob(ISC_QUAD id)
{
    requireReady("readBlob");
    return blob::read(*m_database, *m_transaction, id);
}

void Statement::databaseClosing()
{
    m_cursorOpen = false;
    m_hasRow = false;
    Status status;
    if (m_handle)
        isc_dsql_free_statement(status, &m_handle, DSQL_drop);
    m_handle = 0;
    m_columns.clear();
    m_columnIndex.clear();
}

void Statement::databaseDestroyed()
{
    m_handle = 0; // the attachment is gone, and its handles with it
    m_cursorOpen = false;
    m_hasRow = false;
    m_database = nullptr;
}

void Statement::transactionDestroyed()
{
    m_cursorOpen = false;
    m_hasRow = false;
    m_transaction = nullptr;
}

void Statement::transactionEnding()
{
    close();
}

} // namespace db
