#pragma once

#include "zelsqlglobals.h"

#include "platform/db/dataset.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

/// The data set through which a data module or form reads and writes one table: table name and unique keys,
/// an ORDER BY rebuilt at every open, counted opening shared by several forms, and the row ID kept across a
/// close.
class TZelDataSet : public db::DataSet
{
    Q_OBJECT
public:
    explicit TZelDataSet(QObject *parent = nullptr);
    ~TZelDataSet() override;

    /// The globals component whose registry lists this data set; not owned.
    TZelSQLGlobals *SQLGlobals() const { return m_globals; }
    void setSQLGlobals(TZelSQLGlobals *globals);

    /// The table this data set edits; takes the object name when it is renamed while still empty.
    QString TableName() const { return m_tableName; }
    void setTableName(const QString &name) { m_tableName = name; }
    /// One line per unique key of the table, its field names separated by ";".
    QStringList UniqueKeys() const { return m_uniqueKeys; }
    void setUniqueKeys(const QStringList &keys) { m_uniqueKeys = keys; }
    /// Order items ("TABLE.FIELD [ASC|DESC]") separated by ";"; applied at the next open.
    QString OrderByFields() const { return m_orderByFields; }
    void setOrderByFields(const QString &fields) { m_orderByFields = fields; }

    int OpenCount() const { return m_openCount; }
    /// The ID of the row current at the last close or found by the last successful LocateID; -1 before.
    int LastID() const { return m_lastId; }
    bool InsertingIntoEmpty() const { return m_insertingIntoEmpty; }

    /// Opens when not open yet and counts one more user.
    void OpenShared();
    /// Counts one user less; the last one closes the data set and releases its prepared select.
    void CloseShared();
    /// Moves to the row with this ID (when open and there is an ID field); no message when there is none.
    bool LocateID(int id);
    /// Whether the select statement has a parameter of this name (any case).
    bool HasParam(const QString &name) const;

    /// The select text with its ORDER BY clause rebuilt from OrderByFields.
    virtual QString BuildOrderedSelect() const;
    /// The order item with its table name replaced by the alias the select text gives that table.
    QString QualifyOrderItem(const QString &item) const;

    /// Fills UniqueKeys from the catalogue's unique indices of TableName, the primary key "ID" left out.
    void ReadUniqueKeys();

    /// BuildOrderedSelect for any select text.
    static QString orderedSelect(const QString &selectSql, const QString &orderByFields);
    /// QualifyOrderItem for any select text.
    static QString qualifyOrderItem(const QString &selectSql, const QString &item);

protected:
    void doBeforeOpen() override;
    void doBeforeClose() override;
    void internalInsert() override;
    void internalPost() override;
    void internalCancel() override;

private:
    QPointer<TZelSQLGlobals> m_globals;
    QString m_tableName;
    QStringList m_uniqueKeys;
    QString m_orderByFields;
    int m_openCount = 0;
    int m_lastId = -1;
    bool m_insertingIntoEmpty = false;
};

/// Literals and existence checks the data sets and the search windows build their SQL with.
namespace ZelDataSet {

/// How FormatValueSql writes a value.
enum class SqlKind { Text, Integer, Decimal, Date, Time, Other };

/// text between single quotes, every single quote inside doubled, so no value can end the literal early.
QString QuotedSql(const QString &text);

/// One value typed by a user as an SQL literal. A value that does not convert shows "Valor inválido",
/// "Data inválida" or "Hora inválida" through ZelMessage and aborts silently.
QString FormatValueSql(const QString &value, SqlKind kind);

/// FormatValueSql with the kind of the field's type; "@" stands for the field's own value. Date-and-time
/// fields are written 'mm/dd/yyyy hh:nn:ss' ("Data e hora inválida" when the value does not convert).
QString FieldValueSql(const db::Field &field, const QString &value);

/// Whether tableName has a row whose keyFields ("A;B") equal keyValues: one value for one field, a list
/// of values in field order otherwise; a null value matches null.
bool RecordExists(db::Transaction &transaction, const QString &tableName, const QString &keyFields,
                  const QVariant &keyValues);

/// The count statement IsDuplicate runs for the current record.
QString DuplicateSql(const TZelDataSet &dataSet);

/// Whether any unique key of the data set, filled from the current record, already occurs in its table.
/// The current row itself is not excluded.
bool IsDuplicate(TZelDataSet &dataSet);

/// RecordExists in the data set's transaction with the values of its fields sourceFields ("A;B").
bool ExistsInTable(db::DataSet &dataSet, const QString &sourceFields, const QString &tableName,
                   const QString &targetFields);

/// The current row's ID; a closed TZelDataSet gives its LastID; -1 when there is no ID to give.
int GetRecordID(const db::DataSet *dataSet);

} // namespace ZelDataSet
