#include "formatsettings.h"

namespace regional {

namespace {

template <std::size_t N> std::array<QString, N> firstThreeCharacters(const std::array<QString, N> &names)
{
    std::array<QString, N> shortNames;
    for (std::size_t i = 0; i < N; ++i)
        shortNames[i] = names[i].left(3);
    return shortNames;
}

FormatSettings &installed()
{
    static FormatSettings current = FormatSettings::brazilian();
    return current;
}

} // namespace

FormatSettings FormatSettings::brazilian()
{
    FormatSettings s;
    s.decimalSeparator = QLatin1Char(',');
    s.thousandSeparator = QLatin1Char('.');
    s.listSeparator = QLatin1Char(';');
    s.dateSeparator = QLatin1Char('/');
    s.timeSeparator = QLatin1Char(':');
    s.currencySymbol.clear();
    s.currencyDecimals = 2;
    s.shortDateFormat = QStringLiteral("dd/mm/yyyy");
    s.longDateFormat = QStringLiteral("dddd, d' de 'mmmm' de 'yyyy");
    s.shortTimeFormat = QStringLiteral("hh:nn");
    s.longTimeFormat = QStringLiteral("hh:nn:ss");
    s.longMonthNames = {QStringLiteral("Janeiro"), QStringLiteral("Fevereiro"), QStringLiteral("Março"),
                        QStringLiteral("Abril"),   QStringLiteral("Maio"),      QStringLiteral("Junho"),
                        QStringLiteral("Julho"),   QStringLiteral("Agosto"),    QStringLiteral("Setembro"),
                        QStringLiteral("Outubro"), QStringLiteral("Novembro"),  QStringLiteral("Dezembro")};
    s.shortMonthNames = firstThreeCharacters(s.longMonthNames);
    s.longDayNames = {QStringLiteral("domingo"),      QStringLiteral("segunda-feira"),
                      QStringLiteral("terça-feira"),  QStringLiteral("quarta-feira"),
                      QStringLiteral("quinta-feira"), QStringLiteral("sexta-feira"),
                      QStringLiteral("sábado")};
    s.shortDayNames = firstThreeCharacters(s.longDayNames);
    return s;
}

const FormatSettings &settings()
{
    return installed();
}

void install(const FormatSettings &newSettings)
{
    installed() = newSettings;
}

QString longMonthName(int month)
{
    if (month < 1 || month > 12)
        return {};
    return installed().longMonthNames[std::size_t(month - 1)];
}

} // namespace regional
