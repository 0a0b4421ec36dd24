#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// Values as text under the installed regional settings (decimal comma, dd/mm/yyyy).
namespace db::textformat {

QString formatDouble(double v);
bool parseDouble(const QString &text, double &v);
bool parseCurrency(const QString &text, qint64 &ticks);
QString formatDate(QDate d);
bool parseDate(const QString &text, QDate &d);
QString formatTime(QTime t);
bool parseTime(const QString &text, QTime &t);
/// Date and time; a timestamp at midnight shows the date alone.
QString formatDateTime(const QDateTime &dt);
bool parseDateTime(const QString &text, QDateTime &dt);

} // namespace db::textformat
