#include "tabledefinition.h"

#include "framework/data/zeldataset.h"

TableDefinition::TableDefinition(const QString &table, const QList<Column> &columns,
                                 const QStringList &keyColumns)
    : m_table(table), m_columns(columns), m_keys(keyColumns)
{}

QStringList TableDefinition::columnNames() const
{
    QStringList names;
    names.reserve(m_columns.size());
    for (const Column &c : m_columns)
        names << c.name;
    return names;
}

QString TableDefinition::keyCondition(const QString &paramPrefix) const
{
    QStringList parts;
    for (const QString &key : m_keys)
        parts << QStringLiteral("%1 = :%2%1").arg(key, paramPrefix);
    return parts.join(QStringLiteral(" and "));
}

QString TableDefinition::insertSql() const
{
    const QStringList names = columnNames();
    return QStringLiteral("insert into %1 (%2) values (:%3)")
        .arg(m_table, names.join(QStringLiteral(", ")), names.join(QStringLiteral(", :")));
}

QString TableDefinition::modifySql() const
{
    QStringList sets;
    for (const QString &name : columnNames())
        sets << QStringLiteral("%1 = :%1").arg(name);
    return QStringLiteral("update %1 set %2 where %3")
        .arg(m_table, sets.join(QStringLiteral(", ")), keyCondition(QStringLiteral("OLD_")));
}

QString TableDefinition::deleteSql() const
{
    return QStringLiteral("delete from %1 where %2").arg(m_table, keyCondition(QStringLiteral("OLD_")));
}

QString TableDefinition::refreshSql() const
{
    return QStringLiteral("Select %1 from %2 where %3")
        .arg(columnNames().join(QStringLiteral(", ")), m_table, keyCondition(QString()));
}

void TableDefinition::applyTo(TZelDataSet &dataSet) const
{
    dataSet.setTableName(m_table);
    dataSet.setInsertSql(insertSql());
    dataSet.setModifySql(modifySql());
    dataSet.setDeleteSql(deleteSql());
    dataSet.setRefreshSql(refreshSql());
    for (const Column &c : m_columns)
        dataSet.addField(c.name, c.type, c.size);
}
