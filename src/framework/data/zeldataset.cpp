#include "zeldataset.h"

#include "zelmessage.h"
#include "zelsqlglobals.h"

#include "platform/db/dberror.h"
#include "platform/db/statement.h"
#include "platform/regional/regional.h"

#include <QRegularExpression>
#include <QSet>

#include <memory>

// ------------------------------------------------------------------------------------------- the data set

TZelDataSet::TZelDataSet(QObject *parent) : db::DataSet(parent)
{
    connect(this, &QObject::objectNameChanged, this, [this](const QString &name) {
        if (m_tableName.isEmpty())
            m_tableName = name;
    });
}

TZelDataSet::~TZelDataSet()
{
    setSQLGlobals(nullptr);
}

void TZelDataSet::setSQLGlobals(TZelSQLGlobals *globals)
{
    if (m_globals)
        m_globals->UnregisterDataSet(this);
    if (globals)
        globals->RegisterDataSet(this);
    m_globals = globals;
}

void TZelDataSet::OpenShared()
{
    open();
    ++m_openCount;
}

void TZelDataSet::CloseShared()
{
    // Never below zero: an unmatched close must not make a later pair of users close the data set early.
    if (m_openCount > 0)
        --m_openCount;
    if (m_openCount == 0)
        close();
    if (!isActive() && selectStatement().isPrepared())
        selectStatement().unprepare();
}

bool TZelDataSet::LocateID(int id)
{
    if (!isActive() || !findField(QStringLiteral("ID")))
        return false;
    if (!locate(QStringLiteral("ID"), id))
        return false;
    m_lastId = id;
    return true;
}

bool TZelDataSet::HasParam(const QString &name) const
{
    return paramNames().contains(name.toUpper());
}

QString TZelDataSet::BuildOrderedSelect() const
{
    return orderedSelect(selectSql(), m_orderByFields);
}

QString TZelDataSet::QualifyOrderItem(const QString &item) const
{
    return qualifyOrderItem(selectSql(), item);
}

void TZelDataSet::doBeforeOpen()
{
    if (!m_orderByFields.isEmpty()) {
        const QString ordered = BuildOrderedSelect();
        if (ordered != selectSql())
            replaceSelectSql(ordered);
    }
    db::DataSet::doBeforeOpen();
}

void TZelDataSet::doBeforeClose()
{
    if (db::Field *id = findField(QStringLiteral("ID")))
        m_lastId = id->isNull() ? -1 : id->asInteger();
    m_insertingIntoEmpty = false;
    db::DataSet::doBeforeClose();
}

void TZelDataSet::internalInsert()
{
    m_insertingIntoEmpty = recNo() < 0;
    db::DataSet::internalInsert();
}

void TZelDataSet::internalPost()
{
    db::DataSet::internalPost();
    m_insertingIntoEmpty = false;
}

void TZelDataSet::internalCancel()
{
    db::DataSet::internalCancel();
    if (m_insertingIntoEmpty)
        clearRows();
    m_insertingIntoEmpty = false;
}

// -------------------------------------------------------------------------------------------- ORDER BY

namespace {

// Words that never name an alias. Besides the usual ones, GROUP, HAVING, PLAN and the join words can follow a
// table ahead of the order clause: taken for an alias they would make a statement the server refuses.
bool isReserved(const QString &upperWord)
{
    static const QSet<QString> words = {
        QStringLiteral("SELECT"),    QStringLiteral("UPDATE"),    QStringLiteral("DELETE"),
        QStringLiteral("AS"),        QStringLiteral("FROM"),      QStringLiteral("LEFT"),
        QStringLiteral("OUTER"),     QStringLiteral("JOIN"),      QStringLiteral("ON"),
        QStringLiteral("INNER"),     QStringLiteral("RIGHT"),     QStringLiteral("WHERE"),
        QStringLiteral("ORDER"),     QStringLiteral("BY"),        QStringLiteral("ASC"),
        QStringLiteral("DESC"),      QStringLiteral("MONTH"),     QStringLiteral("YEAR"),
        QStringLiteral("DISTINCT"),  QStringLiteral("BETWEEN"),   QStringLiteral("SUM"),
        QStringLiteral("GENERATOR"), QStringLiteral("PROCEDURE"), QStringLiteral("TRIGGER"),
        QStringLiteral("BEFORE"),    QStringLiteral("AFTER"),     QStringLiteral("INSERT"),
        QStringLiteral("EXTRACT"),   QStringLiteral("IN"),        QStringLiteral("DATABASE"),
        QStringLiteral("CREATE"),    QStringLiteral("TABLE"),     QStringLiteral("SET"),
        QStringLiteral("COMMIT"),    QStringLiteral("WORK"),      QStringLiteral("POSITION"),
        QStringLiteral("BEGIN"),     QStringLiteral("END"),       QStringLiteral("DECLARE"),
        QStringLiteral("DEC"),       QStringLiteral("COUNT"),     QStringLiteral("SUSPEND"),
        QStringLiteral("GROUP"),     QStringLiteral("HAVING"),    QStringLiteral("PLAN"),
        QStringLiteral("FULL"),      QStringLiteral("CROSS"),     QStringLiteral("NATURAL"),
        QStringLiteral("USING"),
    };
    return words.contains(upperWord);
}

bool isAliasWord(const QString &upperWord)
{
    for (const QChar c : upperWord) {
        const char16_t u = c.unicode();
        if (!((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '"'))
            return false;
    }
    return !upperWord.isEmpty();
}

bool isNamePart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') || c == QLatin1Char('.');
}

// Where the first occurrence of name that stands as a word of its own and is followed by white space (a
// blank, a tab or a line break) ends; -1 when there is none. "CONTROLE" is not found inside "XCONTROLE" or
// "C.CONTROLE".
qsizetype findNameEnd(const QString &text, const QString &name)
{
    for (qsizetype pos = text.indexOf(name); pos >= 0; pos = text.indexOf(name, pos + 1)) {
        const qsizetype end = pos + name.size();
        if ((pos == 0 || !isNamePart(text.at(pos - 1))) && end < text.size() && text.at(end).isSpace())
            return end;
    }
    return -1;
}

// The leading word of text (already trimmed): everything up to the first white space or comma.
QString firstWord(const QString &text)
{
    qsizetype end = 0;
    while (end < text.size() && !text.at(end).isSpace() && text.at(end) != QLatin1Char(','))
        ++end;
    return text.left(end);
}

} // namespace

QString TZelDataSet::orderedSelect(const QString &selectSql, const QString &orderByFields)
{
    QStringList items;
    for (const QString &part : orderByFields.split(QLatin1Char(';'))) {
        const QString item = part.trimmed();
        if (!item.isEmpty())
            items << item;
    }
    if (items.isEmpty())
        return selectSql;
    // Any spacing or line break between the two words still marks the clause to replace.
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    QString text = selectSql;
    const QRegularExpressionMatch m = orderBy.match(selectSql);
    if (m.hasMatch())
        text = selectSql.left(m.capturedStart());
    text = text.trimmed() + QStringLiteral(" order by ") + qualifyOrderItem(selectSql, items.first());
    for (qsizetype i = 1; i < items.size(); ++i)
        text += QStringLiteral(", ") + qualifyOrderItem(selectSql, items.at(i));
    return text;
}

QString TZelDataSet::qualifyOrderItem(const QString &selectSql, const QString &item)
{
    const qsizetype dot = item.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return item; // a bare field name has no table to replace
    const QString prefix = item.left(dot).remove(QLatin1Char('"')).trimmed();
    const QString rest = item.mid(dot + 1).remove(QLatin1Char('"'));
    if (prefix.isEmpty())
        return item;

    QString result = prefix;
    qsizetype end = findNameEnd(selectSql, prefix);
    if (end < 0)
        end = findNameEnd(selectSql, prefix + QLatin1Char('"'));
    if (end >= 0) {
        // Once a table has an alias the server no longer accepts its name, so the alias must be found
        // wherever the line breaks fall and also after the optional AS.
        QString remaining = selectSql.mid(end).trimmed();
        QString word = firstWord(remaining);
        if (word.compare(QLatin1String("AS"), Qt::CaseInsensitive) == 0) {
            remaining = remaining.mid(word.size()).trimmed();
            word = firstWord(remaining);
        }
        const QString upper = word.toUpper();
        if (isAliasWord(upper) && !isReserved(upper))
            result = word;
    }
    return result + QLatin1Char('.') + rest;
}

// ------------------------------------------------------------------------------------------ catalogue

void TZelDataSet::ReadUniqueKeys()
{
    db::Database *db = database();
    db::Transaction *tr = transaction() ? transaction() : (db ? db->defaultTransaction() : nullptr);
    if (!db)
        throw db::ProgrammingError(QStringLiteral("%1: Database not assigned").arg(objectName()));
    if (!tr)
        throw db::ProgrammingError(QStringLiteral("%1: Transaction not assigned").arg(objectName()));
    const bool wasConnected = db->isConnected();
    if (!wasConnected)
        db->open();
    const bool wasActive = tr->isActive();
    if (!wasActive)
        tr->start();

    m_uniqueKeys.clear();
    try {
        db::Statement st(db, tr);
        st.setSql(QStringLiteral("Select I.RDB$INDEX_NAME as IName, I.RDB$UNIQUE_FLAG, I.RDB$INDEX_TYPE,\n"
                                 "I.RDB$SEGMENT_COUNT, S.RDB$FIELD_NAME as FName\n"
                                 "from RDB$INDICES I, RDB$INDEX_SEGMENTS S\n"
                                 "where I.RDB$INDEX_NAME = S.RDB$INDEX_NAME and\n"
                                 "I.RDB$RELATION_NAME = ") +
                  ZelDataSet::QuotedSql(m_tableName.toUpper()) +
                  QStringLiteral("\nand I.RDB$UNIQUE_FLAG = 1\n"
                                 "ORDER BY I.RDB$INDEX_NAME"));
        st.execute();
        QString previous;
        bool first = true;
        while (st.next()) {
            const QString index = st.field(QStringLiteral("INAME")).asString().trimmed();
            const QString field = st.field(QStringLiteral("FNAME")).asString().trimmed();
            if (first || index != previous)
                m_uniqueKeys << field;
            else
                m_uniqueKeys.last() += QLatin1Char(';') + field;
            previous = index;
            first = false;
        }
        st.close();
    } catch (...) {
        if (!wasActive)
            tr->rollback();
        if (!wasConnected)
            db->close();
        throw;
    }
    if (!wasActive)
        tr->commit();
    if (!wasConnected)
        db->close();
    m_uniqueKeys.removeOne(QStringLiteral("ID"));
}

// ---------------------------------------------------------------------------------- unit operations

namespace ZelDataSet {

namespace {

// A number typed with the regional separators, written the way SQL reads it: no grouping, "." as decimal
// point. Only called with text the regional readers accepted.
QString sqlNumber(const QString &value)
{
    const auto &s = regional::settings();
    QString text = value.trimmed();
    text.remove(s.thousandSeparator);
    text.replace(s.decimalSeparator, QLatin1Char('.'));
    return text;
}

QString quotedDate(const QDate &date)
{
    return QLatin1Char('\'') + date.toString(QStringLiteral("MM/dd/yyyy")) + QLatin1Char('\'');
}

bool isNullValue(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

bool recordExists(db::Database *database, db::Transaction &transaction, const QString &tableName,
                  const QString &keyFields, const QVariant &keyValues)
{
    const QStringList fields = keyFields.split(QLatin1Char(';'));
    QVariantList values;
    const bool isList =
        keyValues.typeId() == QMetaType::QVariantList || keyValues.typeId() == QMetaType::QStringList;
    if (fields.size() >= 2 || isList) {
        if (!isList || keyValues.toList().size() != fields.size())
            throw db::ProgrammingError(QStringLiteral("Number of fields not equal to the number of values."));
        values = keyValues.toList();
    } else {
        values << keyValues;
    }
    if (!database)
        throw db::ProgrammingError(QStringLiteral("RecordExists: transaction without a database"));
    if (!database->isConnected())
        database->open();
    if (!transaction.isActive())
        transaction.start();

    QStringList conditions;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString f = fields.at(i).trimmed();
        conditions << (isNullValue(values.at(i)) ? QStringLiteral(" ( %1 is null ) ").arg(f)
                                                 : QStringLiteral(" ( %1 = :%1 ) ").arg(f));
    }
    db::Statement st(database, &transaction);
    st.setSql(QStringLiteral("SELECT COUNT(*) FROM ") + tableName + QStringLiteral(" WHERE ") +
              conditions.join(QStringLiteral(" AND ")));
    for (qsizetype i = 0; i < fields.size(); ++i)
        if (!isNullValue(values.at(i)))
            st.param(fields.at(i).trimmed()).setValue(values.at(i));
    st.execute();
    const bool found = st.next() && st.field(0).asInt64() > 0;
    st.close();
    return found;
}

} // namespace

QString QuotedSql(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString FormatValueSql(const QString &value, SqlKind kind)
{
    switch (kind) {
    case SqlKind::Text:
        return QuotedSql(value);
    case SqlKind::Integer: {
        if (value.isEmpty())
            return QStringLiteral("NULL");
        qint64 n = 0;
        if (!regional::textToInt(value, n))
            ZelMessage::ErrorAbort(QStringLiteral("Valor inválido"));
        return sqlNumber(value);
    }
    case SqlKind::Decimal: {
        if (value.isEmpty())
            return QStringLiteral("NULL");
        double d = 0;
        if (!regional::textToFloat(value, d))
            ZelMessage::ErrorAbort(QStringLiteral("Valor inválido"));
        return sqlNumber(value);
    }
    case SqlKind::Date: {
        QDate date;
        if (!regional::textToDate(value, date))
            ZelMessage::ErrorAbort(QStringLiteral("Data inválida"));
        return quotedDate(date);
    }
    case SqlKind::Time: {
        QTime time;
        if (!regional::textToTime(value, time))
            ZelMessage::ErrorAbort(QStringLiteral("Hora inválida"));
        return QLatin1Char('\'') + time.toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('\'');
    }
    case SqlKind::Other:
        break;
    }
    return QStringLiteral("0");
}

QString FieldValueSql(const db::Field &field, const QString &value)
{
    const QString text = value == QLatin1String("@") ? field.asString() : value;
    switch (field.dataType()) {
    case db::FieldType::String:
    case db::FieldType::FixedChar:
    case db::FieldType::TextBlob:
        return FormatValueSql(text, SqlKind::Text);
    case db::FieldType::SmallInt:
    case db::FieldType::Integer:
    case db::FieldType::BigInt:
        return FormatValueSql(text, SqlKind::Integer);
    case db::FieldType::Float:
    case db::FieldType::Numeric:
        return FormatValueSql(text, SqlKind::Decimal);
    case db::FieldType::Date:
        return FormatValueSql(text, SqlKind::Date);
    case db::FieldType::Time:
        return FormatValueSql(text, SqlKind::Time);
    case db::FieldType::Timestamp: {
        QDateTime moment;
        if (!regional::textToDateTime(text, moment))
            ZelMessage::ErrorAbort(QStringLiteral("Data e hora inválida"));
        // Written from its parts: a local QDateTime inside the hour a clock change skips is invalid and
        // would print as nothing, although the server stores such a moment like any other.
        return QLatin1Char('\'') + moment.date().toString(QStringLiteral("MM/dd/yyyy")) + QLatin1Char(' ') +
               moment.time().toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('\'');
    }
    default:
        return QStringLiteral("0");
    }
}

bool RecordExists(db::Transaction &transaction, const QString &tableName, const QString &keyFields,
                  const QVariant &keyValues)
{
    return recordExists(transaction.defaultDatabase(), transaction, tableName, keyFields, keyValues);
}

QString DuplicateSql(const TZelDataSet &dataSet)
{
    const QStringList keys = dataSet.UniqueKeys();
    if (keys.isEmpty())
        throw db::ProgrammingError(QStringLiteral("UniqueKeys not assigned (ChavesÚnicas não atribuidas)"));
    QString sql = QStringLiteral("SELECT COUNT(*) FROM ") + dataSet.TableName() + QStringLiteral(" WHERE ( ");
    for (qsizetype k = 0; k < keys.size(); ++k) {
        if (k > 0)
            sql += QStringLiteral(" ) OR ( ");
        const QStringList names = keys.at(k).split(QLatin1Char(';'));
        for (qsizetype i = 0; i < names.size(); ++i) {
            if (i > 0)
                sql += QStringLiteral(" AND ");
            const QString name = names.at(i).trimmed();
            const db::Field &field = dataSet.fieldByName(name);
            const QString value = field.asString().trimmed();
            if (value.isEmpty())
                sql += name + QStringLiteral(" is null ");
            else
                sql += name + QStringLiteral(" = ") + FieldValueSql(field, value);
        }
    }
    return sql + QStringLiteral(" ) ");
}

bool IsDuplicate(TZelDataSet &dataSet)
{
    const QString sql = DuplicateSql(dataSet);
    db::Database *database = dataSet.database();
    db::Transaction *transaction = dataSet.transaction();
    if (!database)
        throw db::ProgrammingError(QStringLiteral("%1: Database not assigned").arg(dataSet.objectName()));
    if (!transaction)
        throw db::ProgrammingError(QStringLiteral("%1: Transaction not assigned").arg(dataSet.objectName()));
    if (!database->isConnected())
        database->open();
    if (!transaction->isActive())
        transaction->start();
    db::Statement st(database, transaction);
    st.setSql(sql);
    st.execute();
    const bool found = st.next() && st.field(0).asInt64() > 0;
    st.close();
    return found;
}

bool ExistsInTable(db::DataSet &dataSet, const QString &sourceFields, const QString &tableName,
                   const QString &targetFields)
{
    const QStringList names = sourceFields.split(QLatin1Char(';'));
    QVariant values;
    if (names.size() == 1) {
        const db::Field &f = dataSet.fieldByName(names.first().trimmed());
        values = f.isNull() ? QVariant() : f.value();
    } else {
        QVariantList list;
        for (const QString &name : names) {
            const db::Field &f = dataSet.fieldByName(name.trimmed());
            list << (f.isNull() ? QVariant() : f.value());
        }
        values = list;
    }
    if (!dataSet.transaction())
        throw db::ProgrammingError(QStringLiteral("%1: Transaction not assigned").arg(dataSet.objectName()));
    db::Database *database = dataSet.transaction()->defaultDatabase();
    return recordExists(database ? database : dataSet.database(), *dataSet.transaction(), tableName,
                        targetFields, values);
}

int GetRecordID(const db::DataSet *dataSet)
{
    if (!dataSet)
        return -1;
    if (!dataSet->isActive()) {
        const auto *zel = qobject_cast<const TZelDataSet *>(dataSet);
        return zel ? zel->LastID() : -1;
    }
    const db::Field *id = dataSet->findField(QStringLiteral("ID"));
    if (!id || id->isNull())
        return -1;
    return id->asInteger();
}

} // namespace ZelDataSet
