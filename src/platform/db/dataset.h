#pragma once

#include "database.h"
#include "field.h"
#include "statement.h"
#include "transaction.h"

#include <QObject>
#include <QVariantList>

#include <functional>
#include <memory>
#include <vector>

namespace db {

class DataSource;
class DataLink;

enum class DataSetState { Inactive, Browse, Edit, Insert };

/// What a data set tells the controls attached to it.
enum class DataEvent {
    FieldChange,   ///< one field's value changed (info: the field)
    RecordChange,  ///< the current record changed as a whole
    DataSetChange, ///< rows or their order changed: redisplay everything
    DataSetScroll, ///< the current record moved (info: distance)
    LayoutChange,  ///< fields were created or removed
    UpdateRecord,  ///< controls must write pending edits into their fields
    UpdateState,   ///< the state changed
    FocusControl,  ///< a field asks its control to take the focus (info: the field)
};

enum class LocateOption { CaseInsensitive = 0x1, PartialKey = 0x2 };
Q_DECLARE_FLAGS(LocateOptions, LocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(LocateOptions)

/// Fills a key field from a database generator.
struct GeneratorField
{
    enum class ApplyOn { NewRecord, Post };
    QString field;
    QString generator;
    int increment = 1;
    ApplyOn applyOn = ApplyOn::NewRecord;
};

using Bookmark = quint64;

/// The rows of one select statement, kept in memory as they are fetched, with statements that write changes
/// back (insert, modify, delete, refresh; ":OLD_X" parameters take the values before the edit).
class DataSet : public QObject, public DatabaseClient, public TransactionClient
{
    Q_OBJECT
public:
    using Handler = std::function<void(DataSet &)>;

    explicit DataSet(QObject *parent = nullptr);
    ~DataSet() override;

    Database *database() const { return m_database; }
    void setDatabase(Database *database);
    Transaction *transaction() const { return m_transaction; }
    void setTransaction(Transaction *transaction);

    QString selectSql() const { return m_selectSql; }
    void setSelectSql(const QString &sql);
    QString insertSql() const { return m_insertSql; }
    void setInsertSql(const QString &sql);
    QString modifySql() const { return m_modifySql; }
    void setModifySql(const QString &sql);
    QString deleteSql() const { return m_deleteSql; }
    void setDeleteSql(const QString &sql);
    QString refreshSql() const { return m_refreshSql; }
    void setRefreshSql(const QString &sql);
    /// Re-read the row through the refresh statement after every post.
    bool forcedRefresh() const { return m_forcedRefresh; }
    void setForcedRefresh(bool on) { m_forcedRefresh = on; }
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on) { m_readOnly = on; }
    bool canModify() const;

    /// Select parameters; those named like a field of the master source follow its current record.
    Statement &selectStatement() { return *m_select; }
    Param &param(const QString &name) { return m_select->param(name); }
    QStringList paramNames() const { return m_select->paramNames(); }
    DataSource *masterSource() const { return m_masterSource; }
    void setMasterSource(DataSource *source);

    const GeneratorField &generatorField() const { return m_generator; }
    void setGeneratorField(const GeneratorField &g) { m_generator = g; }
    /// The next value of a generator, run in this data set's transaction.
    qint64 generatorValue(const QString &generator, int increment = 1);

    // Fields. Fields added before opening are kept across close and open; without any, one field per column
    // is made at open and dropped at close.
    Field &addField(const QString &name, FieldType type = FieldType::Unknown, int size = 0);
    Field &addCalculatedField(const QString &name, FieldType type, int size = 0);
    int fieldCount() const { return int(m_fields.size()); }
    Field *field(int index) const { return m_fields.at(size_t(index)).get(); }
    Field *findField(const QString &name) const;
    /// Throws ProgrammingError naming the field when it does not exist.
    Field &fieldByName(const QString &name) const;

    DataSetState state() const { return m_state; }
    bool isActive() const { return m_state != DataSetState::Inactive; }
    bool isEditing() const { return m_state == DataSetState::Edit || m_state == DataSetState::Insert; }
    void open();
    void close();
    void setActive(bool on) { on ? open() : close(); }

    void append();
    void insert();
    void edit();
    void post();
    void cancel();
    void remove();
    /// Re-reads the current record through the refresh statement (or reopens without one).
    void refresh();
    /// Posts or cancels a pending edit.
    void checkBrowseMode();

    void first();
    void prior();
    void next();
    void last();
    int moveBy(int distance);
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    bool isEmpty() const;
    /// All rows: fetches the rest first.
    int recordCount();
    int fetchedCount() const { return int(m_rows.size()); }
    void fetchAll();
    /// Zero-based index of the current record, -1 without one.
    int recNo() const { return m_cur; }
    void setRecNo(int index);

    Bookmark bookmark() const;
    bool bookmarkValid(Bookmark b) const;
    void gotoBookmark(Bookmark b);

    /// Moves to the first record whose fields ("A;B") equal the values; false (and no move) when none does.
    bool locate(const QString &fields, const QVariant &values, LocateOptions options = {});

    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    /// Reads fields of another fetched row (a grid drawing its lines); the state does not change.
    class RowScope
    {
    public:
        RowScope(DataSet &ds, int row) : m_ds(ds), m_saved(ds.m_rowOverride) { ds.m_rowOverride = row; }
        ~RowScope() { m_ds.m_rowOverride = m_saved; }

    private:
        DataSet &m_ds;
        int m_saved;
    };

    Handler beforeOpen, afterOpen, beforeClose, afterClose;
    Handler beforeInsert, afterInsert, beforeEdit, afterEdit;
    Handler beforePost, afterPost, beforeCancel, afterCancel;
    Handler beforeDelete, afterDelete, beforeScroll, afterScroll;
    Handler beforeRefresh, afterRefresh;
    Handler onNewRecord, onCalcFields;

    // Controls and data sources.
    void addDataSource(DataSource *s);
    void removeDataSource(DataSource *s);
    void notify(DataEvent event, const void *info = nullptr);

    void databaseClosing() override;
    void databaseDestroyed() override;
    void transactionEnding() override;
    void transactionDestroyed() override;

protected:
    // Steps subclasses extend; the defaults run the matching events.
    virtual void doBeforeOpen();
    virtual void doAfterOpen();
    virtual void doBeforeClose();
    virtual void doAfterClose();
    virtual void internalInsert();
    virtual void internalPost();
    virtual void internalCancel();

    /// The select text about to be run (subclasses may rewrite it before opening).
    void replaceSelectSql(const QString &sql);
    /// Drops every row (the data set then shows none) without closing.
    void clearRows();

private:
    friend class Field;
    struct Row
    {
        char *data;
        Bookmark bookmark;
    };
    /// Rows live in large blocks that stay put: fetching never moves or copies earlier rows.
    class RowStore
    {
    public:
        RowStore() = default;
        RowStore(const RowStore &) = delete;
        RowStore &operator=(const RowStore &) = delete;
        ~RowStore();
        char *allocate(size_t size);
        /// Forgets every row but keeps the memory for the next opening.
        void reset();
        void release();

    private:
        struct Block
        {
            char *data;
            size_t size;
        };
        std::vector<Block> m_blocks;
        size_t m_block = 0; // block being filled
        size_t m_used = 0;  // bytes used in it
    };

    void requireInactive(const char *what) const;
    void requireBrowse(const char *what);
    void requireDatabase();
    void bindFields();
    void unbindFields();
    void layoutRecord();
    bool fetchOne();
    char *rowPtr(int row) { return m_rows[size_t(row)].data; }
    const char *rowPtr(int row) const { return m_rows[size_t(row)].data; }
    void initExtra(char *row) const;
    const char *readBuffer() const;
    char *writeBuffer(Field &f);
    void fieldChanged(Field &f);
    void calculate(char *row);
    bool hasCalculated() const { return m_hasCalculated || onCalcFields; }
    void beginInsert(bool appendAtEnd);
    void scrolled(int oldCur);
    void setState(DataSetState s);
    void fillWriteParams(Statement &st, const char *newRow, const char *oldRow);
    void runWrite(std::unique_ptr<Statement> &st, const QString &sql, const char *newRow, const char *oldRow,
                  const char *what);
    void readRowInto(Statement &st, char *row);
    void applyMasterParams();
    void masterChanged();
    QByteArray blobContent(const Field &f, const char *row) const;
    void requireTransaction();

    Database *m_database = nullptr;
    Transaction *m_transaction = nullptr;
    QString m_selectSql, m_insertSql, m_modifySql, m_deleteSql, m_refreshSql;
    bool m_forcedRefresh = false;
    bool m_readOnly = false;
    std::unique_ptr<Statement> m_select, m_insert, m_modify, m_delete, m_refresh;
    DataSource *m_masterSource = nullptr;
    std::unique_ptr<DataLink> m_masterLink;
    GeneratorField m_generator;

    std::vector<std::unique_ptr<Field>> m_fields;
    bool m_defaultFields = false;
    bool m_hasCalculated = false;

    DataSetState m_state = DataSetState::Inactive;
    RowStore m_store;
    std::vector<Row> m_rows;
    size_t m_recordSize = 0;
    size_t m_statementSize = 0;
    Bookmark m_nextBookmark = 1;
    int m_cur = -1;
    bool m_bof = true;
    bool m_eof = true;
    bool m_allFetched = true;
    std::vector<char> m_editBuf;
    std::vector<char> m_oldBuf;
    char *m_calcTarget = nullptr;
    int m_rowOverride = -1;
    mutable std::vector<QByteArray> m_blobs;
    bool m_registeredOnTransaction = false;

    int m_disableCount = 0;
    bool m_pendingChange = false;
    std::vector<DataSource *> m_sources;
};

} // namespace db
