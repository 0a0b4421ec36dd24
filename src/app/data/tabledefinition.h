#pragma once

#include "platform/db/sqlvalue.h"

#include <QList>
#include <QString>
#include <QStringList>

class TZelDataSet;

/// The columns of one table as a data module edits it: its persistent fields, in column order, and the
/// insert, modify, delete and refresh statements that name every column.
class TableDefinition
{
public:
    struct Column
    {
        QString name;
        db::FieldType type;
        int size = 0;
    };

    /// keyColumns identify a row in the modify, delete and refresh statements.
    TableDefinition(const QString &table, const QList<Column> &columns,
                    const QStringList &keyColumns = {QStringLiteral("ID")});

    const QString &table() const { return m_table; }
    const QList<Column> &columns() const { return m_columns; }
    QStringList columnNames() const;

    /// insert into T (A, B) values (:A, :B)
    QString insertSql() const;
    /// update T set A = :A, B = :B where K = :OLD_K; every column is written, the key included.
    QString modifySql() const;
    /// delete from T where K = :OLD_K
    QString deleteSql() const;
    /// Select A, B from T where K = :K
    QString refreshSql() const;

    /// Sets TableName and the four write statements and adds the persistent fields; the data set must be
    /// closed and still without fields of these names.
    void applyTo(TZelDataSet &dataSet) const;

private:
    QString keyCondition(const QString &paramPrefix) const;

    QString m_table;
    QList<Column> m_columns;
    QStringList m_keys;
};
