#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// Date and time texts under the installed regional settings (formatsettings.h).
//
// Format letters, case-insensitive; a run of one letter is one token:
//   d day 1-31, dd 01-31, ddd short day name, dddd long day name, ddddd short date format,
//   dddddd long date format; m month 1-12, mm 01-12, mmm short month name, mmmm long month name;
//   yy two-digit year, yyyy four-digit year; h hour 0-23, hh 00-23; n minute, nn two digits; s second,
//   ss two digits; z millisecond, zzz three digits; t short time format, tt long time format;
//   c short date format followed by the long time format (the time left out when it is exactly 00:00:00).
//   An "m" or "mm" right after an hour token means minutes, so "hh:mm" and "yyyymmdd_hhmmss" read as times.
//   "/" writes the date separator and ":" the time separator; text between '' or "" is copied as it stands,
//   and every other character is copied too. There is no 12-hour clock.
//
// Readers ignore blanks around the text and return false, leaving the output untouched, for anything that
// is not a real date or time.

namespace regional {

/// An invalid value gives an empty text.
QString formatDateTime(const QString &format, const QDateTime &value);
QString formatDateTime(const QString &format, const QDate &date);
/// Date tokens of a bare time see the day 30/12/1899, the day 0 of the stored date-times.
QString formatDateTime(const QString &format, const QTime &time);

/// The date in the short date format ("15/03/2005"); empty for an invalid date.
QString dateToText(const QDate &date);
/// The time in the long time format ("09:05:00"); empty for an invalid time.
QString timeToText(const QTime &time);
/// Short date, a blank and the long time ("15/03/2005 09:05:00"); empty for an invalid value.
QString dateTimeToText(const QDateTime &value);

/// Reads a date with day, month and year in the order of the short date format, separated by the date
/// separator, one or two digits for day and month ("5/3/2005", "05/03/2005"). Without the year part the
/// current year is taken. Years of one or two digits go through expandTwoDigitYear() with the current year.
bool textToDate(const QString &text, QDate &date);
/// Reads "h:n", "h:n:s" or "h:n:s.zzz" (the fraction after "." or the decimal separator).
bool textToTime(const QString &text, QTime &time);
/// Reads a date, optionally followed by blanks and a time; a date alone is taken at 00:00.
bool textToDateTime(const QString &text, QDateTime &value);

/// A year written with at most two digits, placed in the window of one hundred years that ends twenty years
/// after `referenceYear` (in 2005: 0..25 are 2000..2025, 26..99 are 1926..1999). Other years are returned
/// unchanged.
int expandTwoDigitYear(int year, int referenceYear);

} // namespace regional
