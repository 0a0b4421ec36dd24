#include "dataset.h"

#include "blob.h"
#include "datasource.h"
#include "dberror.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>

namespace db {

namespace {

int alignUp(int offset, int alignment)
{
    return (offset + alignment - 1) / alignment * alignment;
}

void writeNull(char *row, int offset, bool null)
{
    const short ind = null ? -1 : 0;
    std::memcpy(row + offset, &ind, sizeof ind);
}

bool readNull(const char *row, int offset)
{
    short ind;
    std::memcpy(&ind, row + offset, sizeof ind);
    return ind == -1;
}

SqlType storageFor(FieldType type, int size, int bytesPerChar)
{
    SqlType t;
    switch (type) {
    case FieldType::SmallInt:
        t.type = SQL_SHORT;
        t.length = 2;
        break;
    case FieldType::Integer:
        t.type = SQL_LONG;
        t.length = 4;
        break;
    case FieldType::BigInt:
        t.type = SQL_INT64;
        t.length = 8;
        break;
    case FieldType::Float:
    case FieldType::Numeric:
        t.type = SQL_DOUBLE;
        t.length = 8;
        break;
    case FieldType::String:
    case FieldType::FixedChar:
        t.type = SQL_VARYING;
        t.length = short(qMax(1, size) * bytesPerChar);
        break;
    case FieldType::Date:
        t.type = SQL_TYPE_DATE;
        t.length = 4;
        break;
    case FieldType::Time:
        t.type = SQL_TYPE_TIME;
        t.length = 4;
        break;
    case FieldType::Timestamp:
        t.type = SQL_TIMESTAMP;
        t.length = 8;
        break;
    case FieldType::Boolean:
        t.type = SQL_BOOLEAN;
        t.length = 1;
        break;
    default:
        throw ProgrammingError(QStringLiteral("Calculated fields cannot hold this type"));
    }
    return t;
}

// Compares a field with a locate value: texts by the options, everything else by value.
bool matches(const Field &f, const QVariant &wanted, LocateOptions options)
{
    const bool wantedNull = !wanted.isValid() || wanted.isNull();
    if (f.isNull())
        return wantedNull || (wanted.typeId() == QMetaType::QString && wanted.toString().isEmpty());
    if (wantedNull)
        return false;
    switch (f.dataType()) {
    case FieldType::String:
    case FieldType::FixedChar:
    case FieldType::TextBlob: {
        const QString have = f.asString();
        const QString want = wanted.toString();
        const Qt::CaseSensitivity cs =
            options.testFlag(LocateOption::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
        if (options.testFlag(LocateOption::PartialKey))
            return have.startsWith(want, cs);
        return have.compare(want, cs) == 0;
    }
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::BigInt: {
        bool ok = false;
        const qint64 w = wanted.toLongLong(&ok);
        return ok && f.asInt64() == w;
    }
    case FieldType::Float:
    case FieldType::Numeric: {
        if (wanted.typeId() == qMetaTypeId<Currency>())
            return f.asCurrency() == wanted.value<Currency>();
        bool ok = false;
        const double w = wanted.toDouble(&ok);
        return ok && f.asCurrency() == Currency::fromDouble(w);
    }
    case FieldType::Date:
        return f.asDate() ==
               (wanted.typeId() == QMetaType::QDateTime ? wanted.toDateTime().date() : wanted.toDate());
    case FieldType::Time:
        return f.asTime() == wanted.toTime();
    case FieldType::Timestamp:
        return f.asDateTime() == (wanted.typeId() == QMetaType::QDate
                                      ? QDateTime(wanted.toDate(), QTime(0, 0))
                                      : wanted.toDateTime());
    case FieldType::Boolean:
        return f.asBool() == wanted.toBool();
    default:
        return f.value() == wanted;
    }
}

/// Follows the master data source of a detail data set.
class MasterLink final : public DataLink
{
public:
    explicit MasterLink(std::function<void()> changed) : m_changed(std::move(changed)) {}

protected:
    void activeChanged() override { m_changed(); }
    void dataSetChanged() override { m_changed(); }
    void dataSetScrolled(int) override { m_changed(); }
    void recordChanged(Field *f) override
    {
        if (f == nullptr)
            m_changed();
    }

private:
    std::function<void()> m_changed;
};

} // namespace

// ------------------------------------------------------------------------------------- configuration

DataSet::DataSet(QObject *parent) : QObject(parent), m_select(std::make_unique<Statement>()) {}

DataSet::~DataSet()
{
    try {
        if (isActive()) {
            m_state = DataSetState::Browse; // pending edits die with the data set
            close();
        }
    } catch (...) {
    }
    m_masterLink.reset();
    for (DataSource *s : std::vector<DataSource *>(m_sources))
        s->setDataSet(nullptr);
    if (m_registeredOnTransaction && m_transaction)
        m_transaction->removeClient(this);
    if (m_database)
        m_database->removeClient(this);
}

void DataSet::requireInactive(const char *what) const
{
    if (isActive())
        throw ProgrammingError(
            QStringLiteral("Cannot change %1 of an open data set").arg(QLatin1String(what)));
}

void DataSet::setDatabase(Database *database)
{
    if (database == m_database)
        return;
    requireInactive("the database");
    if (m_database)
        m_database->removeClient(this);
    m_database = database;
    if (m_database)
        m_database->addClient(this);
    for (auto *st : {m_select.get(), m_insert.get(), m_modify.get(), m_delete.get(), m_refresh.get()})
        if (st)
            st->setDatabase(database);
}

void DataSet::setTransaction(Transaction *transaction)
{
    if (transaction == m_transaction)
        return;
    requireInactive("the transaction");
    if (m_registeredOnTransaction && m_transaction)
        m_transaction->removeClient(this);
    m_registeredOnTransaction = false;
    m_transaction = transaction;
    if (m_transaction) {
        m_transaction->addClient(this);
        m_registeredOnTransaction = true;
        if (!m_database)
            setDatabase(m_transaction->defaultDatabase());
    }
    for (auto *st : {m_select.get(), m_insert.get(), m_modify.get(), m_delete.get(), m_refresh.get()})
        if (st)
            st->setTransaction(transaction);
}

void DataSet::setSelectSql(const QString &sql)
{
    if (sql == m_selectSql)
        return;
    requireInactive("the select statement");
    m_selectSql = sql;
    m_select->setSql(sql);
}

void DataSet::replaceSelectSql(const QString &sql)
{
    m_selectSql = sql;
    // Parameter values survive the new text when the names are the same.
    std::vector<std::pair<QString, QVariant>> values;
    for (int i = 0; i < m_select->paramCount(); ++i)
        if (!m_select->param(i).isNull())
            values.emplace_back(m_select->param(i).name(), m_select->param(i).value());
    m_select->setSql(sql);
    for (const auto &[name, value] : values)
        if (m_select->hasParam(name))
            m_select->param(name).setValue(value);
}

void DataSet::setInsertSql(const QString &sql)
{
    m_insertSql = sql;
    m_insert.reset();
}

void DataSet::setModifySql(const QString &sql)
{
    m_modifySql = sql;
    m_modify.reset();
}

void DataSet::setDeleteSql(const QString &sql)
{
    m_deleteSql = sql;
    m_delete.reset();
}

void DataSet::setRefreshSql(const QString &sql)
{
    m_refreshSql = sql;
    m_refresh.reset();
}

bool DataSet::canModify() const
{
    return !m_readOnly && (!m_insertSql.isEmpty() || !m_modifySql.isEmpty() || !m_deleteSql.isEmpty());
}

void DataSet::setMasterSource(DataSource *source)
{
    if (source == m_masterSource)
        return;
    m_masterLink.reset();
    m_masterSource = source;
    if (source) {
        m_masterLink = std::make_unique<MasterLink>([this] { masterChanged(); });
        m_masterLink->setDataSource(source);
    }
}

void DataSet::masterChanged()
{
    if (!isActive() || !m_masterSource || !m_masterSource->dataSet() ||
        !m_masterSource->dataSet()->isActive())
        return;
    if (isEditing())
        return; // a detail being edited keeps its rows until posted or cancelled
    close();
    open();
}

void DataSet::applyMasterParams()
{
    if (!m_masterSource || !m_masterSource->dataSet() || !m_masterSource->dataSet()->isActive())
        return;
    DataSet *master = m_masterSource->dataSet();
    for (int i = 0; i < m_select->paramCount(); ++i) {
        Param &p = m_select->param(i);
        if (Field *f = master->findField(p.name())) {
            if (f->isBlob())
                p.setValue(f->value());
            else if (f->isNull())
                p.clear();
            else
                p.setValue(f->value());
        }
    }
}

// --------------------------------------------------------------------------------------------- fields

Field &DataSet::addField(const QString &name, FieldType type, int size)
{
    requireInactive("the fields");
    if (findField(name))
        throw ProgrammingError(QStringLiteral("Duplicate field name '%1'").arg(name));
    if (m_defaultFields) {
        m_fields.clear();
        m_defaultFields = false;
    }
    auto f = std::make_unique<Field>(this, name, type, size, false);
    f->m_index = int(m_fields.size());
    m_fields.push_back(std::move(f));
    return *m_fields.back();
}

Field &DataSet::addCalculatedField(const QString &name, FieldType type, int size)
{
    requireInactive("the fields");
    if (findField(name))
        throw ProgrammingError(QStringLiteral("Duplicate field name '%1'").arg(name));
    auto f = std::make_unique<Field>(this, name, type, size, true);
    f->m_index = int(m_fields.size());
    m_fields.push_back(std::move(f));
    m_hasCalculated = true;
    return *m_fields.back();
}

Field *DataSet::findField(const QString &name) const
{
    for (const auto &f : m_fields)
        if (f->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field &DataSet::fieldByName(const QString &name) const
{
    Field *f = findField(name);
    if (!f)
        throw ProgrammingError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name));
    return *f;
}

void DataSet::bindFields()
{
    const Statement &st = *m_select;
    const bool persistent = !m_fields.empty() && !m_defaultFields;
    if (!persistent) {
        m_fields.clear();
        for (int i = 0; i < st.columnCount(); ++i) {
            const auto &c = st.columnInfo(i);
            if (findField(c.name))
                continue;
            const int bpc = m_database->codec().maxBytesPerChar();
            auto f = std::make_unique<Field>(
                this, c.name, c.type.fieldType(),
                (c.type.type == SQL_VARYING || c.type.type == SQL_TEXT) ? c.type.length / bpc : 0, false);
            f->m_index = int(m_fields.size());
            m_fields.push_back(std::move(f));
        }
        m_defaultFields = true;
    }
    for (auto &f : m_fields) {
        if (f->m_calculated)
            continue;
        const int col = st.fieldIndex(f->fieldName());
        if (col < 0)
            throw ProgrammingError(
                QStringLiteral("%1: Field '%2' not found").arg(objectName(), f->fieldName()));
        const auto &c = st.columnInfo(col);
        f->m_column = col;
        f->m_sqlType = c.type;
        f->m_nullable = c.nullable;
        f->m_dataOffset = c.dataOffset;
        f->m_nullOffset = c.nullOffset;
        f->m_type = c.type.fieldType();
        if (c.type.type == SQL_VARYING || c.type.type == SQL_TEXT)
            f->m_size = c.type.length / m_database->codec().maxBytesPerChar();
        if (f->m_origin.isEmpty() && !c.relation.isEmpty())
            f->m_origin = c.relation + QLatin1Char('.') + c.fieldName;
    }
    layoutRecord();
}

void DataSet::layoutRecord()
{
    m_statementSize = size_t(m_select->rowBufferSize());
    int offset = int(m_statementSize);
    for (auto &f : m_fields) {
        f->m_slotOffset = -1;
        if (f->m_calculated) {
            f->m_sqlType = storageFor(f->m_type, f->m_size, m_database->codec().maxBytesPerChar());
            offset = alignUp(offset, 2);
            f->m_nullOffset = offset;
            offset = alignUp(offset + 2, 8);
            f->m_dataOffset = offset;
            offset += f->m_sqlType.storageSize();
        } else if (f->isBlob()) {
            offset = alignUp(offset, 4);
            f->m_slotOffset = offset;
            offset += 4;
        }
    }
    m_recordSize = size_t(alignUp(offset, 8));
}

void DataSet::unbindFields()
{
    if (m_defaultFields) {
        m_fields.clear();
        m_defaultFields = false;
        return;
    }
    for (auto &f : m_fields)
        f->m_column = -1;
}

// ---------------------------------------------------------------------------------------- open / close

void DataSet::requireDatabase()
{
    if (!m_database)
        throw ProgrammingError(QStringLiteral("%1: Database not assigned").arg(objectName()));
    if (!m_transaction)
        throw ProgrammingError(QStringLiteral("%1: Transaction not assigned").arg(objectName()));
    if (!m_database->isConnected())
        m_database->open();
}

void DataSet::requireTransaction()
{
    requireDatabase();
    if (!m_transaction->isActive())
        m_transaction->start();
}

void DataSet::doBeforeOpen()
{
    if (beforeOpen)
        beforeOpen(*this);
}

void DataSet::doAfterOpen()
{
    if (afterOpen)
        afterOpen(*this);
}

void DataSet::doBeforeClose()
{
    if (beforeClose)
        beforeClose(*this);
}

void DataSet::doAfterClose()
{
    if (afterClose)
        afterClose(*this);
}

void DataSet::open()
{
    if (isActive())
        return;
    doBeforeOpen();
    requireTransaction();
    m_select->setDatabase(m_database);
    m_select->setTransaction(m_transaction);
    if (m_selectSql.trimmed().isEmpty())
        throw ProgrammingError(QStringLiteral("%1: SelectSQL is empty").arg(objectName()));
    applyMasterParams();
    m_select->execute();
    try {
        bindFields();
    } catch (...) {
        m_select->close();
        throw;
    }
    m_rows.clear();
    m_store.reset();
    m_blobs.clear();
    m_allFetched = false;
    m_cur = -1;
    m_state = DataSetState::Browse;
    fetchOne();
    m_cur = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    notify(DataEvent::UpdateState);
    notify(DataEvent::LayoutChange);
    doAfterOpen();
    if (afterScroll)
        afterScroll(*this);
}

void DataSet::close()
{
    if (!isActive())
        return;
    doBeforeClose();
    if (isEditing()) {
        // Closing discards an unposted edit, as cancel would.
        if (m_state == DataSetState::Insert && m_cur >= 0)
            m_rows.erase(m_rows.begin() + m_cur);
        m_state = DataSetState::Browse;
    }
    m_select->close();
    m_rows.clear();
    m_store.reset();
    m_blobs.clear();
    m_cur = -1;
    m_bof = m_eof = true;
    m_allFetched = true;
    m_state = DataSetState::Inactive;
    unbindFields();
    notify(DataEvent::UpdateState);
    notify(DataEvent::DataSetChange);
    doAfterClose();
}

void DataSet::databaseClosing()
{
    if (isActive()) {
        if (isEditing())
            m_state = DataSetState::Browse;
        close();
    }
    for (auto *st : {m_select.get(), m_insert.get(), m_modify.get(), m_delete.get(), m_refresh.get()})
        if (st)
            st->unprepare();
}

void DataSet::databaseDestroyed()
{
    if (isActive()) {
        m_state = DataSetState::Browse;
        close();
    }
    m_database = nullptr;
}

void DataSet::transactionDestroyed()
{
    if (isActive()) {
        m_state = DataSetState::Browse;
        close();
    }
    m_transaction = nullptr;
    m_registeredOnTransaction = false;
    for (auto *st : {m_select.get(), m_insert.get(), m_modify.get(), m_delete.get(), m_refresh.get()})
        if (st)
            st->setTransaction(nullptr);
}

void DataSet::transactionEnding()
{
    // The engine closes cursors at a hard commit or rollback: the rows shown would no longer be reachable.
    if (isActive()) {
        if (isEditing())
            m_state = DataSetState::Browse;
        close();
    }
}

// -------------------------------------------------------------------------------------------- fetching

namespace {
constexpr size_t kBlockSize = size_t(2) << 20;
}

DataSet::RowStore::~RowStore()
{
    release();
}

char *DataSet::RowStore::allocate(size_t size)
{
    size = (size + 7) & ~size_t(7);
    while (m_block < m_blocks.size()) {
        Block &b = m_blocks[m_block];
        if (m_used + size <= b.size) {
            char *p = b.data + m_used;
            m_used += size;
            return p;
        }
        ++m_block;
        m_used = 0;
    }
    // Whole 2 MB blocks, aligned so the kernel can back them with huge pages: far fewer page faults when a
    // data set holds a hundred thousand rows.
    const size_t blockSize = std::max(kBlockSize, (size + kBlockSize - 1) / kBlockSize * kBlockSize);
    void *mem = std::aligned_alloc(kBlockSize, blockSize);
    if (!mem)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    madvise(mem, blockSize, MADV_HUGEPAGE);
#endif
    m_blocks.push_back(Block{static_cast<char *>(mem), blockSize});
    m_block = m_blocks.size() - 1;
    m_used = size;
    return m_blocks.back().data;
}

void DataSet::RowStore::reset()
{
    m_block = 0;
    m_used = 0;
}

void DataSet::RowStore::release()
{
    for (const Block &b : m_blocks)
        std::free(b.data);
    m_blocks.clear();
    reset();
}

void DataSet::initExtra(char *row) const
{
    if (m_recordSize > m_statementSize)
        std::memset(row + m_statementSize, 0, m_recordSize - m_statementSize);
    for (const auto &f : m_fields) {
        if (f->m_slotOffset >= 0) {
            const qint32 none = -1;
            std::memcpy(row + f->m_slotOffset, &none, sizeof none);
        }
        if (f->m_calculated)
            writeNull(row, f->m_nullOffset, true);
    }
}

bool DataSet::fetchOne()
{
    if (m_allFetched)
        return false;
    if (!m_select->next()) {
        m_allFetched = true;
        m_select->close();
        return false;
    }
    char *row = m_store.allocate(m_recordSize);
    std::memcpy(row, m_select->rowBuffer(), m_statementSize);
    if (m_recordSize > m_statementSize)
        initExtra(row);
    m_rows.push_back(Row{row, m_nextBookmark++});
    if (hasCalculated())
        calculate(row);
    return true;
}

void DataSet::fetchAll()
{
    if (!isActive())
        return;
    while (fetchOne()) {
    }
}

int DataSet::recordCount()
{
    fetchAll();
    return int(m_rows.size());
}

bool DataSet::isEmpty() const
{
    return m_rows.empty();
}

void DataSet::calculate(char *row)
{
    char *saved = m_calcTarget;
    m_calcTarget = row;
    try {
        for (const auto &f : m_fields)
            if (f->m_calculated)
                writeNull(row, f->m_nullOffset, true);
        if (onCalcFields)
            onCalcFields(*this);
    } catch (...) {
        m_calcTarget = saved;
        throw;
    }
    m_calcTarget = saved;
}

// ---------------------------------------------------------------------------------------- buffers

const char *DataSet::readBuffer() const
{
    if (m_calcTarget)
        return m_calcTarget;
    if (m_rowOverride >= 0) {
        if (m_rowOverride == m_cur && (m_state == DataSetState::Edit || m_state == DataSetState::Insert))
            return m_editBuf.data();
        return m_rowOverride < int(m_rows.size()) ? rowPtr(m_rowOverride) : nullptr;
    }
    if (m_state == DataSetState::Edit || m_state == DataSetState::Insert)
        return m_editBuf.data();
    if (m_cur < 0 || m_state == DataSetState::Inactive)
        return nullptr;
    return rowPtr(m_cur);
}

char *DataSet::writeBuffer(Field &f)
{
    if (m_calcTarget)
        return m_calcTarget;
    if (m_state != DataSetState::Edit && m_state != DataSetState::Insert)
        throw ProgrammingError(QStringLiteral("%1: Dataset not in edit or insert mode (field %2)")
                                   .arg(objectName(), f.fieldName()));
    return m_editBuf.data();
}

QByteArray DataSet::blobContent(const Field &f, const char *row) const
{
    qint32 slot;
    std::memcpy(&slot, row + f.m_slotOffset, sizeof slot);
    if (slot >= 0)
        return m_blobs[size_t(slot)];
    if (!m_transaction || !m_transaction->isActive())
        throw ProgrammingError(QStringLiteral("Transaction is not active (blob %1)").arg(f.fieldName()));
    const QByteArray bytes = blob::read(*m_database, *m_transaction, sqlvalue::blobId(row + f.m_dataOffset));
    // Keep what was read: the row may be shown again and the blob id is tied to this transaction.
    slot = qint32(m_blobs.size());
    m_blobs.push_back(bytes);
    std::memcpy(const_cast<char *>(row) + f.m_slotOffset, &slot, sizeof slot);
    return bytes;
}

void DataSet::fieldChanged(Field &f)
{
    if (hasCalculated() && isEditing())
        calculate(m_editBuf.data());
    notify(DataEvent::FieldChange, &f);
    if (f.onChange)
        f.onChange(f);
}

// ------------------------------------------------------------------------------------------- editing

void DataSet::setState(DataSetState s)
{
    if (s == m_state)
        return;
    m_state = s;
    notify(DataEvent::UpdateState);
}

void DataSet::requireBrowse(const char *what)
{
    if (!isActive())
        throw ProgrammingError(QStringLiteral("%1: Cannot perform this operation on a closed dataset (%2)")
                                   .arg(objectName(), QLatin1String(what)));
}

void DataSet::checkBrowseMode()
{
    if (!isActive())
        throw ProgrammingError(
            QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    if (isEditing()) {
        notify(DataEvent::UpdateRecord);
        post();
    }
}

void DataSet::internalInsert() {}

void DataSet::beginInsert(bool appendAtEnd)
{
    requireBrowse("insert");
    checkBrowseMode();
    if (!canModify())
        throw ProgrammingError(QStringLiteral("%1: Cannot modify a read-only dataset").arg(objectName()));
    if (beforeInsert)
        beforeInsert(*this);
    internalInsert();
    if (appendAtEnd)
        fetchAll();
    m_editBuf.assign(m_recordSize, 0);
    for (const auto &f : m_fields)
        writeNull(m_editBuf.data(), f->m_nullOffset, true);
    initExtra(m_editBuf.data());
    m_oldBuf = m_editBuf;
    const int oldCur = m_cur;
    const int pos = appendAtEnd || m_cur < 0 ? int(m_rows.size()) : m_cur;
    char *row = m_store.allocate(m_recordSize);
    std::memcpy(row, m_editBuf.data(), m_recordSize);
    m_rows.insert(m_rows.begin() + pos, Row{row, m_nextBookmark++});
    m_cur = pos;
    m_bof = m_eof = false;
    m_state = DataSetState::Insert;
    if (hasCalculated())
        calculate(m_editBuf.data());
    try {
        if (m_generator.applyOn == GeneratorField::ApplyOn::NewRecord && !m_generator.field.isEmpty() &&
            !m_generator.generator.isEmpty())
            fieldByName(m_generator.field)
                .setAsInt64(generatorValue(m_generator.generator, m_generator.increment));
        if (onNewRecord)
            onNewRecord(*this);
    } catch (...) {
        m_rows.erase(m_rows.begin() + m_cur);
        m_cur = oldCur;
        m_state = DataSetState::Browse;
        notify(DataEvent::UpdateState);
        notify(DataEvent::DataSetChange);
        throw;
    }
    notify(DataEvent::UpdateState);
    notify(DataEvent::DataSetChange);
    if (afterInsert)
        afterInsert(*this);
}

void DataSet::append()
{
    beginInsert(true);
}

void DataSet::insert()
{
    beginInsert(false);
}

void DataSet::edit()
{
    requireBrowse("edit");
    if (isEditing())
        return;
    if (m_rows.empty()) {
        insert();
        return;
    }
    if (!canModify())
        throw ProgrammingError(QStringLiteral("%1: Cannot modify a read-only dataset").arg(objectName()));
    if (beforeEdit)
        beforeEdit(*this);
    m_editBuf.assign(rowPtr(m_cur), rowPtr(m_cur) + m_recordSize);
    m_oldBuf = m_editBuf;
    m_state = DataSetState::Edit;
    notify(DataEvent::UpdateState);
    notify(DataEvent::RecordChange);
    if (afterEdit)
        afterEdit(*this);
}

qint64 DataSet::generatorValue(const QString &generator, int increment)
{
    requireTransaction();
    Statement st(m_database, m_transaction);
    st.setSql(QStringLiteral("select gen_id(%1, %2) from rdb$database").arg(generator).arg(increment));
    st.execute();
    if (!st.next())
        return 0;
    const qint64 v = st.field(0).asInt64();
    st.close();
    return v;
}

void DataSet::fillWriteParams(Statement &st, const char *newRow, const char *oldRow)
{
    for (int i = 0; i < st.paramCount(); ++i) {
        Param &p = st.param(i);
        QString name = p.name();
        const char *row = newRow;
        if (name.startsWith(QLatin1String("OLD_")) && !findField(name)) {
            name = name.mid(4);
            row = oldRow;
        }
        Field *f = findField(name);
        if (!f) {
            if (m_masterSource && m_masterSource->dataSet())
                if (Field *mf = m_masterSource->dataSet()->findField(name)) {
                    p.setValue(mf->value());
                    continue;
                }
            continue; // left as the caller set it
        }
        if (f->m_calculated || readNull(row, f->m_nullOffset)) {
            if (f->m_calculated)
                p.setValue(f->valueIn(row));
            else
                p.clear();
            continue;
        }
        if (f->isBlob()) {
            qint32 slot;
            std::memcpy(&slot, row + f->m_slotOffset, sizeof slot);
            if (slot >= 0)
                p.setBlob(m_blobs[size_t(slot)]);
            else
                p.setBlobId(sqlvalue::blobId(row + f->m_dataOffset));
            continue;
        }
        const SqlType &t = f->m_sqlType;
        const char *data = row + f->m_dataOffset;
        switch (t.type) {
        case SQL_VARYING:
        case SQL_TEXT:
            p.setString(sqlvalue::toString(t, data, m_database->codec()));
            break;
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64:
            if (t.scale < 0)
                p.setCurrency(sqlvalue::toCurrency(t, data, m_database->codec(), name));
            else
                p.setInt64(sqlvalue::toInt64(t, data, m_database->codec(), name));
            break;
        default:
            p.setValue(sqlvalue::toVariant(t, data, m_database->codec()));
        }
    }
}

void DataSet::runWrite(std::unique_ptr<Statement> &st, const QString &sql, const char *newRow,
                       const char *oldRow, const char *what)
{
    if (sql.trimmed().isEmpty())
        throw ProgrammingError(QStringLiteral("%1: %2 is empty").arg(objectName(), QLatin1String(what)));
    if (!st) {
        st = std::make_unique<Statement>(m_database, m_transaction);
        st->setSql(sql);
    }
    st->setTransaction(m_transaction);
    fillWriteParams(*st, newRow, oldRow);
    st->execute();
}

void DataSet::readRowInto(Statement &st, char *row)
{
    for (auto &f : m_fields) {
        if (f->m_calculated)
            continue;
        const int col = st.fieldIndex(f->fieldName());
        if (col < 0)
            continue;
        const auto &c = st.columnInfo(col);
        const char *src = st.rowBuffer() + c.dataOffset;
        bool null = false;
        if (c.nullable) {
            short ind;
            std::memcpy(&ind, st.rowBuffer() + c.nullOffset, sizeof ind);
            null = ind == -1;
        }
        writeNull(row, f->m_nullOffset, null);
        if (null)
            continue;
        if (c.type.type == f->m_sqlType.type && c.type.length == f->m_sqlType.length &&
            c.type.scale == f->m_sqlType.scale) {
            std::memcpy(row + f->m_dataOffset, src, size_t(c.type.storageSize()));
        } else {
            sqlvalue::setVariant(f->m_sqlType, row + f->m_dataOffset,
                                 sqlvalue::toVariant(c.type, src, m_database->codec()), m_database->codec(),
                                 f->fieldName());
        }
        if (f->m_slotOffset >= 0) {
            const qint32 none = -1;
            std::memcpy(row + f->m_slotOffset, &none, sizeof none);
        }
    }
}

void DataSet::internalPost()
{
    requireTransaction();
    if (m_state == DataSetState::Insert) {
        if (m_generator.applyOn == GeneratorField::ApplyOn::Post && !m_generator.field.isEmpty() &&
            !m_generator.generator.isEmpty())
            fieldByName(m_generator.field)
                .setAsInt64(generatorValue(m_generator.generator, m_generator.increment));
        runWrite(m_insert, m_insertSql, m_editBuf.data(), m_oldBuf.data(), "InsertSQL");
    } else {
        runWrite(m_modify, m_modifySql, m_editBuf.data(), m_oldBuf.data(), "ModifySQL");
    }
    std::memcpy(rowPtr(m_cur), m_editBuf.data(), m_recordSize);
}

void DataSet::post()
{
    requireBrowse("post");
    notify(DataEvent::UpdateRecord);
    if (!isEditing())
        return;
    for (const auto &f : m_fields) {
        if (f->m_required && !f->m_calculated && f->isNull()) {
            f->focusControl();
            throw ValueError(QStringLiteral("O campo \"%1\" deve ser preenchido.").arg(f->displayLabel()));
        }
    }
    if (beforePost)
        beforePost(*this);
    internalPost();
    m_state = DataSetState::Browse;
    if (m_forcedRefresh && !m_refreshSql.isEmpty())
        refresh();
    if (hasCalculated())
        calculate(rowPtr(m_cur));
    notify(DataEvent::UpdateState);
    notify(DataEvent::DataSetChange);
    if (afterPost)
        afterPost(*this);
}

void DataSet::internalCancel()
{
    if (m_state == DataSetState::Insert && m_cur >= 0) {
        m_rows.erase(m_rows.begin() + m_cur);
        if (m_cur >= int(m_rows.size()))
            m_cur = int(m_rows.size()) - 1;
    }
    m_editBuf.clear();
}

void DataSet::clearRows()
{
    m_rows.clear();
    m_cur = -1;
    m_bof = m_eof = true;
}

void DataSet::cancel()
{
    if (!isEditing())
        return;
    if (beforeCancel)
        beforeCancel(*this);
    internalCancel();
    m_state = DataSetState::Browse;
    m_bof = m_cur <= 0;
    m_eof = m_rows.empty();
    notify(DataEvent::UpdateState);
    notify(DataEvent::DataSetChange);
    if (afterCancel)
        afterCancel(*this);
}

void DataSet::remove()
{
    requireBrowse("delete");
    if (m_state == DataSetState::Insert) {
        cancel();
        return;
    }
    if (m_rows.empty())
        throw ProgrammingError(
            QStringLiteral("%1: Cannot perform this operation on an empty dataset").arg(objectName()));
    if (m_state == DataSetState::Edit)
        cancel();
    if (beforeDelete)
        beforeDelete(*this);
    requireTransaction();
    runWrite(m_delete, m_deleteSql, rowPtr(m_cur), rowPtr(m_cur), "DeleteSQL");
    m_rows.erase(m_rows.begin() + m_cur);
    if (m_cur >= int(m_rows.size()) && !fetchOne())
        m_cur = int(m_rows.size()) - 1;
    m_bof = m_cur <= 0;
    m_eof = m_rows.empty();
    notify(DataEvent::DataSetChange);
    if (afterDelete)
        afterDelete(*this);
    if (afterScroll)
        afterScroll(*this);
}

void DataSet::refresh()
{
    requireBrowse("refresh");
    checkBrowseMode();
    if (beforeRefresh)
        beforeRefresh(*this);
    if (m_refreshSql.trimmed().isEmpty()) {
        // Without a refresh statement the whole data set is read again, back on the same key when it has one.
        Field *id = findField(QStringLiteral("ID"));
        const QVariant key = id ? id->value() : QVariant();
        const int oldCur = m_cur;
        disableControls();
        try {
            close();
            open();
            if (key.isValid())
                locate(QStringLiteral("ID"), key);
            else
                moveBy(oldCur);
        } catch (...) {
            enableControls();
            throw;
        }
        enableControls();
    } else if (m_cur >= 0) {
        requireTransaction();
        if (!m_refresh) {
            m_refresh = std::make_unique<Statement>(m_database, m_transaction);
            m_refresh->setSql(m_refreshSql);
        }
        m_refresh->setTransaction(m_transaction);
        fillWriteParams(*m_refresh, rowPtr(m_cur), rowPtr(m_cur));
        m_refresh->execute();
        if (m_refresh->next())
            readRowInto(*m_refresh, rowPtr(m_cur));
        m_refresh->close();
        if (hasCalculated())
            calculate(rowPtr(m_cur));
        notify(DataEvent::RecordChange);
    }
    if (afterRefresh)
        afterRefresh(*this);
}

// ---------------------------------------------------------------------------------------- navigation

void DataSet::scrolled(int oldCur)
{
    if (oldCur == m_cur)
        return;
    const int distance = m_cur - oldCur;
    notify(DataEvent::DataSetScroll, &distance);
    if (afterScroll)
        afterScroll(*this);
}

void DataSet::first()
{
    requireBrowse("first");
    checkBrowseMode();
    if (beforeScroll)
        beforeScroll(*this);
    const int old = m_cur;
    m_cur = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    scrolled(old);
}

void DataSet::last()
{
    requireBrowse("last");
    checkBrowseMode();
    if (beforeScroll)
        beforeScroll(*this);
    fetchAll();
    const int old = m_cur;
    m_cur = int(m_rows.size()) - 1;
    m_eof = true;
    m_bof = m_rows.empty();
    scrolled(old);
}

void DataSet::next()
{
    moveBy(1);
}

void DataSet::prior()
{
    moveBy(-1);
}

int DataSet::moveBy(int distance)
{
    requireBrowse("move");
    checkBrowseMode();
    if (distance == 0 || m_rows.empty())
        return 0;
    if (beforeScroll)
        beforeScroll(*this);
    const int old = m_cur;
    int target = m_cur + distance;
    if (distance > 0) {
        while (target >= int(m_rows.size()) && fetchOne()) {
        }
        m_bof = false;
        if (target >= int(m_rows.size())) {
            target = int(m_rows.size()) - 1;
            m_eof = true;
        } else {
            m_eof = false;
        }
    } else {
        m_eof = false;
        if (target < 0) {
            target = 0;
            m_bof = true;
        } else {
            m_bof = false;
        }
    }
    m_cur = target;
    scrolled(old);
    return m_cur - old;
}

void DataSet::setRecNo(int index)
{
    requireBrowse("recno");
    if (index < 0)
        index = 0;
    moveBy(index - m_cur);
}

Bookmark DataSet::bookmark() const
{
    return m_cur >= 0 && m_cur < int(m_rows.size()) ? m_rows[size_t(m_cur)].bookmark : 0;
}

bool DataSet::bookmarkValid(Bookmark b) const
{
    return b != 0 && std::any_of(m_rows.begin(), m_rows.end(), [b](const Row &r) { return r.bookmark == b; });
}

void DataSet::gotoBookmark(Bookmark b)
{
    requireBrowse("bookmark");
    checkBrowseMode();
    const auto it = std::find_if(m_rows.begin(), m_rows.end(), [b](const Row &r) { return r.bookmark == b; });
    if (it == m_rows.end())
        throw ProgrammingError(QStringLiteral("%1: Record not found").arg(objectName()));
    if (beforeScroll)
        beforeScroll(*this);
    const int old = m_cur;
    m_cur = int(it - m_rows.begin());
    m_bof = m_eof = false;
    scrolled(old);
}

bool DataSet::locate(const QString &fields, const QVariant &values, LocateOptions options)
{
    requireBrowse("locate");
    checkBrowseMode();
    const QStringList names = fields.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    std::vector<Field *> keyFields;
    for (const QString &n : names)
        keyFields.push_back(&fieldByName(n.trimmed()));
    QVariantList wanted;
    if (keyFields.size() == 1)
        wanted << values;
    else
        wanted = values.toList();
    if (wanted.size() != qsizetype(keyFields.size()))
        throw ProgrammingError(QStringLiteral("Number of fields not equal to the number of values."));

    for (int row = 0;; ++row) {
        if (row >= int(m_rows.size()) && !fetchOne())
            return false;
        RowScope scope(*this, row);
        bool all = true;
        for (size_t k = 0; k < keyFields.size() && all; ++k)
            all = matches(*keyFields[k], wanted[qsizetype(k)], options);
        if (all) {
            if (beforeScroll)
                beforeScroll(*this);
            const int old = m_cur;
            m_cur = row;
            m_bof = m_eof = false;
            m_rowOverride = -1;
            scrolled(old);
            return true;
        }
    }
}

// ------------------------------------------------------------------------------------ notifications

void DataSet::disableControls()
{
    if (m_disableCount++ == 0)
        m_pendingChange = false;
}

void DataSet::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0 && m_pendingChange) {
        m_pendingChange = false;
        notify(DataEvent::UpdateState);
        notify(DataEvent::DataSetChange);
    }
}

void DataSet::addDataSource(DataSource *s)
{
    m_sources.push_back(s);
}

void DataSet::removeDataSource(DataSource *s)
{
    const auto it = std::find(m_sources.begin(), m_sources.end(), s);
    if (it != m_sources.end())
        m_sources.erase(it);
}

void DataSet::notify(DataEvent event, const void *info)
{
    if (m_disableCount > 0) {
        // Focus requests and pending-edit collection still reach the controls while they are quiet.
        if (event != DataEvent::FocusControl && event != DataEvent::UpdateRecord) {
            m_pendingChange = true;
            return;
        }
    }
    for (DataSource *s : std::vector<DataSource *>(m_sources))
        s->dataEvent(event, info);
}

} // namespace db
