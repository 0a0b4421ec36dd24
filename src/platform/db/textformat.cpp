#include "textformat.h"

#include "platform/regional/regional.h"

namespace db::textformat {

QString formatDouble(double v)
{
    return regional::floatToText(v);
}

bool parseDouble(const QString &text, double &v)
{
    return regional::textToFloat(text, v);
}

bool parseCurrency(const QString &text, qint64 &ticks)
{
    return regional::textToCurrency(text, ticks);
}

QString formatDate(QDate d)
{
    return regional::dateToText(d);
}

bool parseDate(const QString &text, QDate &d)
{
    return regional::textToDate(text, d);
}

QString formatTime(QTime t)
{
    return regional::timeToText(t);
}

bool parseTime(const QString &text, QTime &t)
{
    return regional::textToTime(text, t);
}

QString formatDateTime(const QDateTime &dt)
{
    return regional::formatDateTime(QStringLiteral("c"), dt);
}

bool parseDateTime(const QString &text, QDateTime &dt)
{
    return regional::textToDateTime(text, dt);
}

} // namespace db::textformat
