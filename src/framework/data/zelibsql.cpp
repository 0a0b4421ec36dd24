#include "zelibsql.h"

#include "zeldataset.h"

#include "platform/db/currency.h"
#include "platform/db/dberror.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QTime>

namespace {

// The server converts these texts back into numbers and dates whatever the regional settings say.
QString valueText(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (v.typeId() == qMetaTypeId<db::Currency>())
        return QString::number(v.value<db::Currency>().toDouble(), 'f', 4);
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("T") : QStringLiteral("F");
    case QMetaType::QDate:
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::QDateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        return v.toString();
    }
}

} // namespace

TZelIBSQL::TZelIBSQL(db::Database *database, db::Transaction *transaction)
    : db::Statement(database, transaction)
{}

void TZelIBSQL::ExecSQLText(const QString &text)
{
    close();
    if (database() && !database()->isConnected())
        database()->open();
    if (transaction() && !transaction()->isActive())
        transaction()->start();
    setSql(text);
    prepare();
    execute();
}

void TZelIBSQL::ExecProc(const QString &procedureName, const QVariantList &values)
{
    ExecSQLText(procedureCall(procedureName, values));
}

QString TZelIBSQL::procedureCall(const QString &procedureName, const QVariantList &values)
{
    if (values.isEmpty())
        throw db::ProgrammingError(QStringLiteral("ExecProc %1: no values given").arg(procedureName));
    QStringList literals;
    for (const QVariant &v : values)
        literals << ZelDataSet::QuotedSql(valueText(v));
    return QStringLiteral("Execute Procedure ") + procedureName + QStringLiteral("\n (") +
           literals.join(QStringLiteral(", ")) + QLatin1Char(')');
}
