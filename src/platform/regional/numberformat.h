#pragma once

#include <QString>
#include <QtGlobal>

// Number and amount texts under the installed regional settings (formatsettings.h).
//
// Pictures (formatFloat, formatCurrency with a picture) are written in one fixed notation whatever the
// settings: "0" a required digit, "#" an optional digit, "." the place of the decimal separator, "," anywhere
// in a section asks for thousands grouping (it is a flag: "###########0,.00" groups and does not scale),
// "E+"/"E-" followed by up to four "0" asks for scientific notation, text between '' or "" is copied as it
// stands, and any other character is copied too. Up to three sections separated by ";" serve positive,
// negative and zero values; an empty or missing section falls back to the first one. The text written uses
// the installed separators. Shown digits are rounded half away from zero; a value that rounds to zero is
// written with the zero section and without a minus sign.
//
// Readers (textTo...) ignore blanks around the text, take an optional sign, the installed decimal
// separator and thousands separators placed in proper groups of three ("1.234.567,5"; "1.23,5" and "3.5"
// are refused, so a period typed as a decimal point is never read as a silent thousands separator).
// On failure they return false and leave the output untouched.

namespace regional {

/// Amounts are kept as whole numbers of this fraction of the currency unit (four decimals).
constexpr qint64 CurrencyScale = 10000;

/// The shortest text that reads back as the same double: decimal separator, no grouping; exponent form
/// ("1,5E+20", "1E-5") unless 1E-4 <= |value| < 1E+15. "INF", "-INF" and "NAN" for the special values.
QString floatToText(double value);

/// Reads a decimal number, optionally with an exponent ("1,5E3"). Refuses empty text and values out of range.
bool textToFloat(const QString &text, double &value);

/// Reads a whole number (no decimal part, no exponent). Refuses values out of the type's range.
bool textToInt(const QString &text, int &value);
bool textToInt(const QString &text, qint64 &value);

/// The value written with a picture (see above). An empty picture gives floatToText(value).
QString formatFloat(const QString &picture, double value);

/// An amount in 1/10000 units with thousands grouping and exactly `decimals` decimal places, rounded half
/// away from zero ("1.234,50", "-0,01"). Negative `decimals` count as 0.
QString formatCurrency(qint64 ticks, int decimals = 2);

/// An amount in 1/10000 units written with a picture, digit for digit (no floating-point step). An empty
/// picture gives the plain amount with its significant decimals and no grouping ("1234,5").
QString formatCurrency(qint64 ticks, const QString &picture);

/// Reads an amount exactly into 1/10000 units ("1.234,5678" gives 12345678). Digits beyond the fourth
/// decimal are rounded half away from zero. No exponent.
bool textToCurrency(const QString &text, qint64 &ticks);

} // namespace regional
