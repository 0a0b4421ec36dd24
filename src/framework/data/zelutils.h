#pragma once

#include <QDate>
#include <QString>

/// Brazilian document checks, digit extraction, month boundaries and lenient integer reading.
namespace ZelUtils {

/// The characters "0" to "9" of text, in order; everything else (including other scripts' digits) is dropped.
QString OnlyDigits(const QString &text);

/// Check digits of a CPF (natural person). Pass the result of OnlyDigits: only exactly 11 ASCII digits whose
/// last two are the check digits of the first nine pass, punctuation fails. An empty text passes, because the
/// callers test the digits of a document only when something was typed.
bool CheckCPF(const QString &digits);

/// Check digits of a CNPJ (company). Pass the result of OnlyDigits: only exactly 14 ASCII digits whose last
/// two are the check digits of the first twelve pass. Unlike CheckCPF an empty text fails: a document that
/// holds no digit at all is no CNPJ, and the note entry should warn about it.
bool CheckCNPJ(const QString &digits);

/// Day 1 of date's month; an invalid date gives an invalid date.
QDate FirstDayOfMonth(QDate date);

/// The last day of date's month (28 to 31); an invalid date gives an invalid date.
QDate LastDayOfMonth(QDate date);

/// text as a signed 32-bit integer, or 0 when it is not one. Leading blanks, one sign and leading zeros are
/// accepted; anything else (trailing blanks, letters, inner blanks, hexadecimal, an empty text, a value
/// outside -2147483648..2147483647) gives 0.
int DigitValue(QStringView text);

} // namespace ZelUtils
