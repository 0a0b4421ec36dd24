#pragma once

#include <QChar>
#include <QString>

#include <array>

namespace regional {

/// The regional settings every number and date text of the program is written and read with.
struct FormatSettings
{
    QChar decimalSeparator;
    QChar thousandSeparator;
    QChar listSeparator;
    QChar dateSeparator;
    QChar timeSeparator;
    /// Written before or after amounts by whoever wants it; the office's settings leave it empty.
    QString currencySymbol;
    int currencyDecimals = 2;

    /// Format texts in the letters of formatDateTime().
    QString shortDateFormat;
    QString longDateFormat;
    QString shortTimeFormat;
    QString longTimeFormat;

    /// January first.
    std::array<QString, 12> longMonthNames;
    std::array<QString, 12> shortMonthNames;
    /// Sunday first.
    std::array<QString, 7> longDayNames;
    std::array<QString, 7> shortDayNames;

    /// The settings the program installs at start: Brazilian separators and capitalised month names.
    static FormatSettings brazilian();
};

/// The installed settings; FormatSettings::brazilian() until install() is called.
const FormatSettings &settings();

/// Replaces the installed settings. Meant for start-up, before any other thread formats values.
void install(const FormatSettings &newSettings);

/// The long name of month 1 to 12 under the installed settings, or an empty text for any other number.
QString longMonthName(int month);

} // namespace regional
