#include "platform/regional/regional.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace regional;

namespace {

// Puts other settings in place for one test and the office's back afterwards, also when a check fails.
class InstalledFor
{
public:
    explicit InstalledFor(const FormatSettings &s) { install(s); }
    ~InstalledFor() { install(FormatSettings::brazilian()); }
    InstalledFor(const InstalledFor &) = delete;
    InstalledFor &operator=(const InstalledFor &) = delete;
};

FormatSettings englishSettings()
{
    FormatSettings s = FormatSettings::brazilian();
    s.decimalSeparator = QLatin1Char('.');
    s.thousandSeparator = QLatin1Char(',');
    s.dateSeparator = QLatin1Char('-');
    s.timeSeparator = QLatin1Char('.');
    s.shortDateFormat = QStringLiteral("yyyy/mm/dd");
    s.longTimeFormat = QStringLiteral("hh:nn:ss");
    s.longMonthNames = {QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
                        QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
                        QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
                        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
    s.longDayNames = {QStringLiteral("Sunday"),    QStringLiteral("Monday"),   QStringLiteral("Tuesday"),
                      QStringLiteral("Wednesday"), QStringLiteral("Thursday"), QStringLiteral("Friday"),
                      QStringLiteral("Saturday")};
    for (std::size_t i = 0; i < 12; ++i)
        s.shortMonthNames[i] = s.longMonthNames[i].left(3);
    for (std::size_t i = 0; i < 7; ++i)
        s.shortDayNames[i] = s.longDayNames[i].left(3);
    return s;
}

const double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

class TestRegional : public QObject
{
    Q_OBJECT

private slots:
    void init() { install(FormatSettings::brazilian()); }

    void brazilianSeparators();
    void monthNames_data();
    void monthNames();
    void dayNames_data();
    void dayNames();
    void longMonthNameOutOfRange_data();
    void longMonthNameOutOfRange();

    void floatToTextCases_data();
    void floatToTextCases();
    void floatTextRoundTrip_data();
    void floatTextRoundTrip();
    void textToFloatCases_data();
    void textToFloatCases();
    void textToIntCases_data();
    void textToIntCases();
    void textToInt64Cases_data();
    void textToInt64Cases();

    void formatFloatCases_data();
    void formatFloatCases();

    void formatCurrencyDecimals_data();
    void formatCurrencyDecimals();
    void formatCurrencyPicture_data();
    void formatCurrencyPicture();
    void textToCurrencyCases_data();
    void textToCurrencyCases();
    void currencyTextRoundTrip_data();
    void currencyTextRoundTrip();

    void formatDateTimeCases_data();
    void formatDateTimeCases();
    void formatDateAndTimeOverloads();
    void dateAndTimeTexts();
    void expandTwoDigitYearCases_data();
    void expandTwoDigitYearCases();
    void textToDateCases_data();
    void textToDateCases();
    void textToDateTwoDigitYearUsesToday();
    void textToDateWithoutYearUsesThisYear();
    void textToTimeCases_data();
    void textToTimeCases();
    void textToDateTimeCases_data();
    void textToDateTimeCases();

    void installChangesNumbers();
    void installChangesDates();
};

void TestRegional::brazilianSeparators()
{
    const FormatSettings &s = settings();
    QCOMPARE(s.decimalSeparator, QLatin1Char(','));
    QCOMPARE(s.thousandSeparator, QLatin1Char('.'));
    QCOMPARE(s.listSeparator, QLatin1Char(';'));
    QCOMPARE(s.dateSeparator, QLatin1Char('/'));
    QCOMPARE(s.timeSeparator, QLatin1Char(':'));
    QCOMPARE(s.shortDateFormat, QStringLiteral("dd/mm/yyyy"));
    QVERIFY(s.currencySymbol.isEmpty());
    QCOMPARE(s.currencyDecimals, 2);
}

void TestRegional::monthNames_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("longName");
    QTest::addColumn<QString>("shortName");
    const char *names[][2] = {{"Janeiro", "Jan"}, {"Fevereiro", "Fev"}, {"Março", "Mar"},
                              {"Abril", "Abr"},   {"Maio", "Mai"},      {"Junho", "Jun"},
                              {"Julho", "Jul"},   {"Agosto", "Ago"},    {"Setembro", "Set"},
                              {"Outubro", "Out"}, {"Novembro", "Nov"},  {"Dezembro", "Dez"}};
    for (int m = 1; m <= 12; ++m)
        QTest::newRow(names[m - 1][1])
            << m << QString::fromUtf8(names[m - 1][0]) << QString::fromUtf8(names[m - 1][1]);
}

void TestRegional::monthNames()
{
    QFETCH(int, month);
    QFETCH(QString, longName);
    QFETCH(QString, shortName);
    QCOMPARE(settings().longMonthNames[std::size_t(month - 1)], longName);
    QCOMPARE(settings().shortMonthNames[std::size_t(month - 1)], shortName);
    QCOMPARE(longMonthName(month), longName);
    const QDate date(2005, month, 15);
    QCOMPARE(formatDateTime(QStringLiteral("mmmm"), date), longName);
    QCOMPARE(formatDateTime(QStringLiteral("mmm"), date), shortName);
}

void TestRegional::dayNames_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("longName");
    QTest::addColumn<QString>("shortName");
    // 13 March 2005 was a Sunday.
    const char *names[][2] = {{"domingo", "dom"},      {"segunda-feira", "seg"}, {"terça-feira", "ter"},
                              {"quarta-feira", "qua"}, {"quinta-feira", "qui"},  {"sexta-feira", "sex"},
                              {"sábado", "sáb"}};
    for (int i = 0; i < 7; ++i)
        QTest::newRow(names[i][0]) << QDate(2005, 3, 13).addDays(i) << QString::fromUtf8(names[i][0])
                                   << QString::fromUtf8(names[i][1]);
}

void TestRegional::dayNames()
{
    QFETCH(QDate, date);
    QFETCH(QString, longName);
    QFETCH(QString, shortName);
    QCOMPARE(formatDateTime(QStringLiteral("dddd"), date), longName);
    QCOMPARE(formatDateTime(QStringLiteral("ddd"), date), shortName);
    const std::size_t sundayFirst = std::size_t(date.dayOfWeek() % 7);
    QCOMPARE(settings().longDayNames[sundayFirst], longName);
    QCOMPARE(settings().shortDayNames[sundayFirst], shortName);
}

void TestRegional::longMonthNameOutOfRange_data()
{
    QTest::addColumn<int>("month");
    QTest::newRow("zero") << 0;
    QTest::newRow("thirteen") << 13;
    QTest::newRow("negative") << -1;
}

void TestRegional::longMonthNameOutOfRange()
{
    QFETCH(int, month);
    QCOMPARE(longMonthName(month), QString());
}

// ---- numbers ----

void TestRegional::floatToTextCases_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("integer") << 1234.0 << "1234";
    QTest::newRow("no grouping") << 1234567.5 << "1234567,5";
    QTest::newRow("fraction") << 3.5 << "3,5";
    QTest::newRow("negative") << -0.25 << "-0,25";
    QTest::newRow("shortest of 0.1") << 0.1 << "0,1";
    QTest::newRow("binary noise kept") << 0.1 + 0.2 << "0,30000000000000004";
    QTest::newRow("small fixed") << 0.0001 << "0,0001";
    QTest::newRow("smaller goes exponent") << 0.00001 << "1E-5";
    QTest::newRow("large fixed") << 123456789012345.0 << "123456789012345";
    QTest::newRow("largest fixed") << 999999999999999.0 << "999999999999999";
    QTest::newRow("1E15 exponent") << 1e15 << "1E+15";
    QTest::newRow("exponent with fraction") << -1.5e20 << "-1,5E+20";
    QTest::newRow("infinity") << Inf << "INF";
    QTest::newRow("minus infinity") << -Inf << "-INF";
    QTest::newRow("nan") << NaN << "NAN";
}

void TestRegional::floatToTextCases()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(floatToText(value), text);
}

void TestRegional::floatTextRoundTrip_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("third") << 1.0 / 3.0;
    QTest::newRow("noise") << 0.1 + 0.2;
    QTest::newRow("money") << 1234567.89;
    QTest::newRow("tiny") << 5e-324;
    QTest::newRow("huge") << 1.7976931348623157e308;
    QTest::newRow("negative exponent") << -2.5e-9;
    QTest::newRow("pi") << 3.141592653589793;
}

void TestRegional::floatTextRoundTrip()
{
    QFETCH(double, value);
    double back = 0;
    QVERIFY(textToFloat(floatToText(value), back));
    QCOMPARE(back, value); // bit for bit: QCOMPARE on doubles is fuzzy only near zero
    QVERIFY(back == value);
}

void TestRegional::textToFloatCases_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("decimal comma") << "3,5" << true << 3.5;
    QTest::newRow("integer") << "42" << true << 42.0;
    QTest::newRow("negative") << "-0,75" << true << -0.75;
    QTest::newRow("plus sign") << "+2" << true << 2.0;
    QTest::newRow("blanks around") << "  12,5 " << true << 12.5;
    QTest::newRow("grouped") << "1.234,5" << true << 1234.5;
    QTest::newRow("grouped millions") << "-12.345.678,25" << true << -12345678.25;
    QTest::newRow("leading comma") << ",5" << true << 0.5;
    QTest::newRow("trailing comma") << "5," << true << 5.0;
    QTest::newRow("exponent") << "1,5E3" << true << 1500.0;
    QTest::newRow("negative exponent") << "25e-2" << true << 0.25;
    QTest::newRow("exponent plus") << "1E+2" << true << 100.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blanks") << "   " << false << 0.0;
    QTest::newRow("sign only") << "-" << false << 0.0;
    QTest::newRow("comma only") << "," << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("trailing garbage") << "12x" << false << 0.0;
    QTest::newRow("inner blank") << "1 2" << false << 0.0;
    QTest::newRow("period as decimal point") << "3.5" << false << 0.0;
    QTest::newRow("short group") << "1.23,5" << false << 0.0;
    QTest::newRow("long first group") << "1234.567" << false << 0.0;
    QTest::newRow("separator first") << ".123" << false << 0.0;
    QTest::newRow("separator last") << "123." << false << 0.0;
    QTest::newRow("two commas") << "1,2,3" << false << 0.0;
    QTest::newRow("grouping in fraction") << "1,234.567" << false << 0.0;
    QTest::newRow("exponent without digits") << "1E" << false << 0.0;
    QTest::newRow("exponent sign only") << "1E-" << false << 0.0;
    QTest::newRow("overflow") << "1E400" << false << 0.0;
    QTest::newRow("inf text") << "inf" << false << 0.0;
    QTest::newRow("nan text") << "nan" << false << 0.0;
    QTest::newRow("double sign") << "--1" << false << 0.0;
}

void TestRegional::textToFloatCases()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    double result = -99.0;
    QCOMPARE(textToFloat(text, result), ok);
    QCOMPARE(result, ok ? value : -99.0); // untouched on failure
}

void TestRegional::textToIntCases_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "1234" << true << 1234;
    QTest::newRow("grouped") << "1.234.567" << true << 1234567;
    QTest::newRow("negative") << "-42" << true << -42;
    QTest::newRow("blanks") << " 7 " << true << 7;
    QTest::newRow("leading zeros") << "007" << true << 7;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("min") << "-2.147.483.648" << true << std::numeric_limits<int>::min();
    QTest::newRow("above max") << "2147483648" << false << 0;
    QTest::newRow("below min") << "-2147483649" << false << 0;
    QTest::newRow("decimal") << "1,5" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "+" << false << 0;
    QTest::newRow("bad grouping") << "12.34" << false << 0;
    QTest::newRow("exponent") << "1E3" << false << 0;
    QTest::newRow("garbage") << "12a" << false << 0;
}

void TestRegional::textToIntCases()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    int result = -99;
    QCOMPARE(textToInt(text, result), ok);
    QCOMPARE(result, ok ? value : -99);
}

void TestRegional::textToInt64Cases_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("value");
    QTest::newRow("beyond int") << "3000000000" << true << Q_INT64_C(3000000000);
    QTest::newRow("max") << "9223372036854775807" << true << std::numeric_limits<qint64>::max();
    QTest::newRow("min") << "-9223372036854775808" << true << std::numeric_limits<qint64>::min();
    QTest::newRow("above max") << "9223372036854775808" << false << qint64(0);
    QTest::newRow("far above") << "99999999999999999999999" << false << qint64(0);
}

void TestRegional::textToInt64Cases()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qint64, value);
    qint64 result = -99;
    QCOMPARE(textToInt(text, result), ok);
    QCOMPARE(result, ok ? value : qint64(-99));
}

void TestRegional::formatFloatCases_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    const QString edit = QStringLiteral("###########0,.00"); // the numeric edit's default picture
    QTest::newRow("edit picture") << edit << 1234.5 << "1.234,50";
    QTest::newRow("edit picture zero") << edit << 0.0 << "0,00";
    QTest::newRow("edit picture negative") << edit << -1234.5 << "-1.234,50";
    QTest::newRow("edit picture million") << edit << 1234567.891 << "1.234.567,89";
    QTest::newRow("edit picture below one") << edit << 0.5 << "0,50";
    QTest::newRow("edit picture overflowing digits") << edit << 1e15 << "1.000.000.000.000.000,00";
    QTest::newRow("edit without grouping") << "###########0.00" << 1234.5 << "1234,50";
    QTest::newRow("edit integer field") << "###########0," << 1234.0 << "1.234";
    QTest::newRow("left zeros") << "000000" << 42.0 << "000042";
    QTest::newRow("left zeros grouped") << "000000," << 42.0 << "000.042";
    QTest::newRow("right zeros off 2.5") << "###########0,.##" << 2.5 << "2,5";
    QTest::newRow("right zeros off 2") << "###########0,.##" << 2.0 << "2";

    const QString report = QStringLiteral("#,##0.00");
    QTest::newRow("report 1234.5") << report << 1234.5 << "1.234,50";
    QTest::newRow("report negative") << report << -1234.0 << "-1.234,00";
    QTest::newRow("report zero") << report << 0.0 << "0,00";
    QTest::newRow("report half") << report << 0.5 << "0,50";
    QTest::newRow("report three digits") << report << 999.0 << "999,00";
    QTest::newRow("report exactly thousand") << report << 1000.0 << "1.000,00";
    QTest::newRow("report large") << report << 123456789012.34 << "123.456.789.012,34";
    QTest::newRow("report more digits than placeholders") << report << 1234567.0 << "1.234.567,00";
    QTest::newRow("report huge") << report << 1e20 << "100.000.000.000.000.000.000,00";

    QTest::newRow("9.995 rounds up a digit") << "0.00" << 9.995 << "10,00";
    QTest::newRow("999.995 carries into grouping") << report << 999.995 << "1.000,00";
    QTest::newRow("1.005 half away") << "0.00" << 1.005 << "1,01";
    QTest::newRow("2.675 half away") << "0.00" << 2.675 << "2,68";
    QTest::newRow("negative half away") << "0.00" << -2.675 << "-2,68";
    QTest::newRow("noise below half") << "0.00" << 1.00499 << "1,00";
    QTest::newRow("sum noise") << "0.00" << 0.1 + 0.2 << "0,30";
    QTest::newRow("0.5 integer") << "0" << 0.5 << "1";
    QTest::newRow("1.5 integer") << "0" << 1.5 << "2";
    QTest::newRow("2.5 integer") << "0" << 2.5 << "3";
    QTest::newRow("-0.5 integer") << "0" << -0.5 << "-1";
    QTest::newRow("0.05 one decimal") << "0.0" << 0.05 << "0,1";
    QTest::newRow("0.04 no decimals") << "0" << 0.4 << "0";

    QTest::newRow("rounds to zero drops sign") << "0.00" << -0.001 << "0,00";
    QTest::newRow("rounds to zero uses zero section") << "0.00;(0.00);zero" << -0.001 << "zero";
    QTest::newRow("negative section") << "#,##0.00;(#,##0.00)" << -1234.0 << "(1.234,00)";
    QTest::newRow("negative section positive") << "#,##0.00;(#,##0.00)" << 1234.0 << "1.234,00";
    QTest::newRow("zero section") << "#,##0.00;;Zero" << 0.0 << "Zero";
    QTest::newRow("empty negative section") << "#,##0.00;;Zero" << -1.5 << "-1,50";
    QTest::newRow("empty zero section") << "0.00;-0.00;" << 0.0 << "0,00";
    QTest::newRow("fourth section ignored") << "0;(0);z;w" << 0.0 << "z";

    QTest::newRow("optional digits 1234") << "#.##" << 1234.0 << "1234";
    QTest::newRow("optional digits 0.5") << "#.##" << 0.5 << ",5";
    QTest::newRow("optional digits 0") << "#.##" << 0.0 << "";
    QTest::newRow("optional digits -1234") << "#.##" << -1234.0 << "-1234";
    QTest::newRow("mixed decimals") << "0.0#" << 1.2 << "1,2";
    QTest::newRow("mixed decimals full") << "0.0#" << 1.234 << "1,23";
    QTest::newRow("no integer placeholder") << ".00" << 12.5 << "12,50";
    QTest::newRow("picture narrower than value") << "0" << 12345.0 << "12345";

    QTest::newRow("quoted literal") << "\"R$ \"#,##0.00" << 5.0 << "R$ 5,00";
    QTest::newRow("single quoted literal") << "0.00' kg'" << 2.0 << "2,00 kg";
    QTest::newRow("quoted placeholders stay text") << "'#0.,'0" << 7.0 << "#0.,7";
    QTest::newRow("quoted semicolon") << "0';'0" << 12.0 << "1;2";
    QTest::newRow("unterminated quote") << "0 'kg" << 5.0 << "5 kg";
    QTest::newRow("bare literal") << "0%" << 50.0 << "50%";
    QTest::newRow("literal between digits") << "00-00" << 1234.0 << "12-34";

    QTest::newRow("scientific") << "0.000E+00" << 1234.0 << "1,234E+03";
    QTest::newRow("scientific negative") << "0.000E+00" << -1234.0 << "-1,234E+03";
    QTest::newRow("scientific small") << "0.000E+00" << 0.5 << "5,000E-01";
    QTest::newRow("scientific zero") << "0.000E+00" << 0.0 << "0,000E+00";
    QTest::newRow("scientific rounding") << "0.00E+00" << 9.996 << "1,00E+01";
    QTest::newRow("scientific optional") << "#.###E-0" << 1234.0 << "1,234E3";
    QTest::newRow("scientific optional small") << "#.###E-0" << 0.5 << "5E-1";
    QTest::newRow("scientific optional zero") << "#.###E-0" << 0.0 << "0E0";
    QTest::newRow("scientific two integer digits") << "00.00E+00" << 1.5 << "15,00E-01";
    QTest::newRow("lowercase e kept") << "0.0e+0" << 250.0 << "2,5e+2";
    QTest::newRow("E without sign is text") << "0E" << 3.0 << "3E";

    QTest::newRow("empty picture") << "" << 3.25 << "3,25";
    QTest::newRow("infinity") << "0.00" << Inf << "INF";
    QTest::newRow("nan") << "0.00" << NaN << "NAN";
}

void TestRegional::formatFloatCases()
{
    QFETCH(QString, picture);
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(formatFloat(picture, value), text);
}

// ---- currency ----

void TestRegional::formatCurrencyDecimals_data()
{
    QTest::addColumn<qint64>("ticks");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("two decimals") << Q_INT64_C(12345000) << 2 << "1.234,50";
    QTest::newRow("zero") << Q_INT64_C(0) << 2 << "0,00";
    QTest::newRow("below one") << Q_INT64_C(500) << 2 << "0,05";
    QTest::newRow("negative") << Q_INT64_C(-12345000) << 2 << "-1.234,50";
    QTest::newRow("half rounds away") << Q_INT64_C(12350) << 2 << "1,24";
    QTest::newRow("negative half rounds away") << Q_INT64_C(-12350) << 2 << "-1,24";
    QTest::newRow("only the next digit counts") << Q_INT64_C(12345) << 2 << "1,23";
    QTest::newRow("below half") << Q_INT64_C(12349) << 2 << "1,23";
    QTest::newRow("carry through") << Q_INT64_C(99999950) << 2 << "10.000,00";
    QTest::newRow("rounds to zero no sign") << Q_INT64_C(-49) << 2 << "0,00";
    QTest::newRow("four decimals") << Q_INT64_C(12345678) << 4 << "1.234,5678";
    QTest::newRow("six decimals pad") << Q_INT64_C(12345678) << 6 << "1.234,567800";
    QTest::newRow("no decimals") << Q_INT64_C(15000) << 0 << "2";
    QTest::newRow("negative decimals") << Q_INT64_C(15000) << -3 << "2";
    QTest::newRow("max") << std::numeric_limits<qint64>::max() << 4 << "922.337.203.685.477,5807";
    QTest::newRow("min") << std::numeric_limits<qint64>::min() << 4 << "-922.337.203.685.477,5808";
    QTest::newRow("max rounded") << std::numeric_limits<qint64>::max() << 2 << "922.337.203.685.477,58";
}

void TestRegional::formatCurrencyDecimals()
{
    QFETCH(qint64, ticks);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(formatCurrency(ticks, decimals), text);
}

void TestRegional::formatCurrencyPicture_data()
{
    QTest::addColumn<qint64>("ticks");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("text");
    QTest::newRow("report mask") << Q_INT64_C(12345000) << "#,##0.00"
                                 << "1.234,50";
    QTest::newRow("edit picture") << Q_INT64_C(12345000) << "###########0,.00"
                                  << "1.234,50";
    QTest::newRow("exact half") << Q_INT64_C(99950) << "0.00"
                                << "10,00";
    QTest::newRow("negative section") << Q_INT64_C(-10000) << "0.00;(0.00)"
                                      << "(1,00)";
    QTest::newRow("zero section") << Q_INT64_C(40) << "0.00;(0.00);-"
                                  << "-";
    QTest::newRow("beyond double precision") << std::numeric_limits<qint64>::max() << "#,##0.0000"
                                             << "922.337.203.685.477,5807";
    QTest::newRow("empty picture") << Q_INT64_C(12345000) << ""
                                   << "1234,5";
    QTest::newRow("empty picture small") << Q_INT64_C(-5) << ""
                                         << "-0,0005";
}

void TestRegional::formatCurrencyPicture()
{
    QFETCH(qint64, ticks);
    QFETCH(QString, picture);
    QFETCH(QString, text);
    QCOMPARE(formatCurrency(ticks, picture), text);
}

void TestRegional::textToCurrencyCases_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("ticks");
    QTest::newRow("grouped four decimals") << "1.234,5678" << true << Q_INT64_C(12345678);
    QTest::newRow("two decimals") << "1234,50" << true << Q_INT64_C(12345000);
    QTest::newRow("integer") << "7" << true << Q_INT64_C(70000);
    QTest::newRow("negative") << "-0,01" << true << Q_INT64_C(-100);
    QTest::newRow("leading comma") << ",5" << true << Q_INT64_C(5000);
    QTest::newRow("blanks") << " 3,25 " << true << Q_INT64_C(32500);
    QTest::newRow("fifth decimal rounds up") << "0,00005" << true << Q_INT64_C(1);
    QTest::newRow("fifth decimal rounds down") << "0,00004999" << true << Q_INT64_C(0);
    QTest::newRow("negative rounds away") << "-1,23455" << true << Q_INT64_C(-12346);
    QTest::newRow("beyond double precision")
        << "922.337.203.685.477,5807" << true << std::numeric_limits<qint64>::max();
    QTest::newRow("overflow") << "922337203685477,5808" << false << qint64(0);
    QTest::newRow("rounding overflows") << "922337203685477,58075" << false << qint64(0);
    QTest::newRow("far too large") << "99999999999999999999" << false << qint64(0);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("comma only") << "," << false << qint64(0);
    QTest::newRow("period decimal") << "1.5" << false << qint64(0);
    QTest::newRow("exponent") << "1E3" << false << qint64(0);
    QTest::newRow("garbage") << "R$ 10,00" << false << qint64(0);
    QTest::newRow("two commas") << "1,2,3" << false << qint64(0);
}

void TestRegional::textToCurrencyCases()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qint64, ticks);
    qint64 result = -99;
    QCOMPARE(textToCurrency(text, result), ok);
    QCOMPARE(result, ok ? ticks : qint64(-99));
}

void TestRegional::currencyTextRoundTrip_data()
{
    QTest::addColumn<qint64>("ticks");
    QTest::newRow("cents") << Q_INT64_C(12345600);
    QTest::newRow("negative") << Q_INT64_C(-98765432100);
    QTest::newRow("zero") << Q_INT64_C(0);
    QTest::newRow("odd ticks") << Q_INT64_C(1);
    QTest::newRow("max") << std::numeric_limits<qint64>::max();
}

void TestRegional::currencyTextRoundTrip()
{
    QFETCH(qint64, ticks);
    qint64 back = -1;
    QVERIFY(textToCurrency(formatCurrency(ticks, 4), back));
    QCOMPARE(back, ticks);
    back = -1;
    QVERIFY(textToCurrency(formatCurrency(ticks, QString()), back));
    QCOMPARE(back, ticks);
}

// ---- dates ----

void TestRegional::formatDateTimeCases_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("text");
    const QDateTime morning(QDate(2005, 3, 5), QTime(9, 7, 3, 45));
    const QDateTime evening(QDate(2005, 12, 31), QTime(23, 59, 58, 999));
    const QDateTime midnight(QDate(2005, 3, 5), QTime(0, 0));
    QTest::newRow("short date") << "dd/mm/yyyy" << morning << "05/03/2005";
    QTest::newRow("unpadded") << "d/m/yy" << morning << "5/3/05";
    QTest::newRow("uppercase letters") << "DD/MM/YYYY" << morning << "05/03/2005";
    QTest::newRow("long month") << "d 'de' mmmm 'de' yyyy" << morning
                                << QString::fromUtf8("5 de Março de 2005");
    QTest::newRow("short month") << "dd-mmm-yy" << evening << "31-Dez-05";
    QTest::newRow("day names") << "ddd dddd" << morning << QString::fromUtf8("sáb sábado");
    QTest::newRow("short date token") << "ddddd" << evening << "31/12/2005";
    QTest::newRow("long date token") << "dddddd" << morning
                                     << QString::fromUtf8("sábado, 5 de Março de 2005");
    QTest::newRow("time") << "hh:nn:ss" << morning << "09:07:03";
    QTest::newRow("time unpadded") << "h:n:s" << morning << "9:7:3";
    QTest::newRow("milliseconds") << "ss.zzz z" << morning << "03.045 45";
    QTest::newRow("mm after hh is minutes") << "hh:mm" << evening << "23:59";
    QTest::newRow("log file name") << "yyyymmdd_hhmmss" << morning << "20050305_090703";
    QTest::newRow("backup name") << "yyyy-mm-dd-hh-mm" << evening << "2005-12-31-23-59";
    QTest::newRow("sql literal") << "mm/dd/yyyy HH:MM:SS" << morning << "03/05/2005 09:07:03";
    QTest::newRow("month name after hour stays month")
        << "hh mmmm" << morning << QString::fromUtf8("09 Março");
    QTest::newRow("t and tt") << "t|tt" << evening << "23:59|23:59:58";
    QTest::newRow("c with time") << "c" << morning << "05/03/2005 09:07:03";
    QTest::newRow("c at midnight") << "c" << midnight << "05/03/2005";
    QTest::newRow("double quotes") << "\"dia\" d" << morning << "dia 5";
    QTest::newRow("quoted letters kept") << "'mmmm' mm" << morning << "mmmm 03";
    QTest::newRow("unterminated quote") << "d 'x" << morning << "5 x";
    QTest::newRow("other letters literal") << "d-x-q" << morning << "5-x-q";
    QTest::newRow("year 3 letters is four digits") << "yyy" << morning << "2005";
    QTest::newRow("early year padded") << "yyyy/yy" << QDateTime(QDate(5, 1, 2), QTime(1, 0)) << "0005/05";
    QTest::newRow("invalid") << "dd/mm/yyyy" << QDateTime() << "";
}

void TestRegional::formatDateTimeCases()
{
    QFETCH(QString, format);
    QFETCH(QDateTime, value);
    QFETCH(QString, text);
    QCOMPARE(formatDateTime(format, value), text);
}

void TestRegional::formatDateAndTimeOverloads()
{
    QCOMPARE(formatDateTime(QStringLiteral("dd/mm/yyyy hh:nn"), QDate(2005, 3, 15)),
             QStringLiteral("15/03/2005 00:00"));
    QCOMPARE(formatDateTime(QStringLiteral("dd/mm/yyyy hh:nn"), QTime(14, 30)),
             QStringLiteral("30/12/1899 14:30"));
    QCOMPARE(formatDateTime(QStringLiteral("dd/mm/yyyy"), QDate()), QString());
    QCOMPARE(formatDateTime(QStringLiteral("hh:nn"), QTime()), QString());
}

void TestRegional::dateAndTimeTexts()
{
    QCOMPARE(dateToText(QDate(2005, 3, 15)), QStringLiteral("15/03/2005"));
    QCOMPARE(dateToText(QDate(1999, 1, 1)), QStringLiteral("01/01/1999"));
    QCOMPARE(dateToText(QDate()), QString());
    QCOMPARE(timeToText(QTime(9, 5)), QStringLiteral("09:05:00"));
    QCOMPARE(timeToText(QTime()), QString());
    QCOMPARE(dateTimeToText(QDateTime(QDate(2005, 3, 15), QTime(0, 0))),
             QStringLiteral("15/03/2005 00:00:00"));
    QCOMPARE(dateTimeToText(QDateTime(QDate(2005, 3, 15), QTime(18, 4, 9))),
             QStringLiteral("15/03/2005 18:04:09"));
    QCOMPARE(dateTimeToText(QDateTime()), QString());
}

void TestRegional::expandTwoDigitYearCases_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("reference");
    QTest::addColumn<int>("expanded");
    QTest::newRow("2005: 05") << 5 << 2005 << 2005;
    QTest::newRow("2005: 25 last of window") << 25 << 2005 << 2025;
    QTest::newRow("2005: 26 first of past") << 26 << 2005 << 1926;
    QTest::newRow("2005: 99") << 99 << 2005 << 1999;
    QTest::newRow("2005: 00") << 0 << 2005 << 2000;
    QTest::newRow("2090: 05 next century") << 5 << 2090 << 2105;
    QTest::newRow("2090: 11 first of window") << 11 << 2090 << 2011;
    QTest::newRow("2090: 10 last of next") << 10 << 2090 << 2110;
    QTest::newRow("1990: 10 in window") << 10 << 1990 << 2010;
    QTest::newRow("1990: 11 back") << 11 << 1990 << 1911;
    QTest::newRow("not two digits") << 2005 << 2030 << 2005;
    QTest::newRow("three digits") << 205 << 2030 << 205;
}

void TestRegional::expandTwoDigitYearCases()
{
    QFETCH(int, year);
    QFETCH(int, reference);
    QFETCH(int, expanded);
    QCOMPARE(expandTwoDigitYear(year, reference), expanded);
}

void TestRegional::textToDateCases_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QDate>("date");
    QTest::newRow("short date") << "15/03/2005" << true << QDate(2005, 3, 15);
    QTest::newRow("unpadded") << "5/3/2005" << true << QDate(2005, 3, 5);
    QTest::newRow("blanks around") << " 01/12/1999  " << true << QDate(1999, 12, 1);
    QTest::newRow("leap day") << "29/02/2004" << true << QDate(2004, 2, 29);
    QTest::newRow("three-digit year literal") << "1/1/205" << true << QDate(205, 1, 1);
    QTest::newRow("four-digit small year") << "1/1/0099" << true << QDate(99, 1, 1);
    QTest::newRow("not a leap year") << "29/02/2005" << false << QDate();
    QTest::newRow("31 April") << "31/04/2005" << false << QDate();
    QTest::newRow("day zero") << "00/03/2005" << false << QDate();
    QTest::newRow("month 13") << "01/13/2005" << false << QDate();
    QTest::newRow("year zero") << "01/01/0000" << false << QDate();
    QTest::newRow("empty") << "" << false << QDate();
    QTest::newRow("blank mask") << "  /  /    " << false << QDate();
    QTest::newRow("day only") << "15" << false << QDate();
    QTest::newRow("no separators") << "15032005" << false << QDate();
    QTest::newRow("other separator") << "15-03-2005" << false << QDate();
    QTest::newRow("trailing separator") << "15/03/" << false << QDate();
    QTest::newRow("five-digit year") << "15/03/20055" << false << QDate();
    QTest::newRow("three-digit day") << "015/03/2005" << false << QDate();
    QTest::newRow("trailing text") << "15/03/2005x" << false << QDate();
    QTest::newRow("with time") << "15/03/2005 10:00" << false << QDate();
    QTest::newRow("letters") << "aa/bb/cccc" << false << QDate();
}

void TestRegional::textToDateCases()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QDate, date);
    QDate result(1900, 1, 1);
    QCOMPARE(textToDate(text, result), ok);
    QCOMPARE(result, ok ? date : QDate(1900, 1, 1));
}

void TestRegional::textToDateTwoDigitYearUsesToday()
{
    const int thisYear = QDate::currentDate().year();
    const int lastInWindow = (thisYear + 20) % 100;
    const int firstInPast = (thisYear + 21) % 100;
    QDate date;
    QVERIFY(textToDate(QStringLiteral("15/03/%1").arg(lastInWindow, 2, 10, QLatin1Char('0')), date));
    QCOMPARE(date, QDate(thisYear + 20, 3, 15));
    QVERIFY(textToDate(QStringLiteral("15/03/%1").arg(firstInPast, 2, 10, QLatin1Char('0')), date));
    QCOMPARE(date, QDate(thisYear - 79, 3, 15));
    QVERIFY(textToDate(QStringLiteral("1/2/%1").arg(thisYear % 100), date));
    QCOMPARE(date, QDate(thisYear, 2, 1));
    QVERIFY(textToDate(QStringLiteral("1/2/%1").arg(thisYear % 10), date)); // one digit counts as two
    QCOMPARE(date, QDate(expandTwoDigitYear(thisYear % 10, thisYear), 2, 1));
}

void TestRegional::textToDateWithoutYearUsesThisYear()
{
    QDate date;
    QVERIFY(textToDate(QStringLiteral("15/03"), date));
    QCOMPARE(date, QDate(QDate::currentDate().year(), 3, 15));
}

void TestRegional::textToTimeCases_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QTime>("time");
    QTest::newRow("hours and minutes") << "09:05" << true << QTime(9, 5);
    QTest::newRow("unpadded") << "9:5" << true << QTime(9, 5);
    QTest::newRow("seconds") << "23:59:58" << true << QTime(23, 59, 58);
    QTest::newRow("milliseconds") << "10:00:01.250" << true << QTime(10, 0, 1, 250);
    QTest::newRow("short fraction") << "10:00:01,5" << true << QTime(10, 0, 1, 500);
    QTest::newRow("midnight") << " 00:00 " << true << QTime(0, 0);
    QTest::newRow("hour 24") << "24:00" << false << QTime();
    QTest::newRow("minute 60") << "10:60" << false << QTime();
    QTest::newRow("second 60") << "10:00:60" << false << QTime();
    QTest::newRow("hours only") << "10" << false << QTime();
    QTest::newRow("empty") << "" << false << QTime();
    QTest::newRow("trailing colon") << "10:" << false << QTime();
    QTest::newRow("three-digit minute") << "10:000" << false << QTime();
    QTest::newRow("fraction without seconds") << "10:00.5" << false << QTime();
    QTest::newRow("am pm") << "10:00 PM" << false << QTime();
}

void TestRegional::textToTimeCases()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QTime, time);
    QTime result(1, 2, 3);
    QCOMPARE(textToTime(text, result), ok);
    QCOMPARE(result, ok ? time : QTime(1, 2, 3));
}

void TestRegional::textToDateTimeCases_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QDateTime>("value");
    QTest::newRow("date and time") << "15/03/2005 10:20:30" << true
                                   << QDateTime(QDate(2005, 3, 15), QTime(10, 20, 30));
    QTest::newRow("date only at midnight")
        << "15/03/2005" << true << QDateTime(QDate(2005, 3, 15), QTime(0, 0));
    QTest::newRow("several blanks") << " 1/2/2003   4:05 " << true
                                    << QDateTime(QDate(2003, 2, 1), QTime(4, 5));
    QTest::newRow("own output") << dateTimeToText(QDateTime(QDate(2010, 7, 9), QTime(8, 7, 6))) << true
                                << QDateTime(QDate(2010, 7, 9), QTime(8, 7, 6));
    QTest::newRow("bad time") << "15/03/2005 25:00" << false << QDateTime();
    QTest::newRow("bad date") << "31/02/2005 10:00" << false << QDateTime();
    QTest::newRow("time only") << "10:00" << false << QDateTime();
    QTest::newRow("trailing text") << "15/03/2005 10:00 x" << false << QDateTime();
    QTest::newRow("empty") << "" << false << QDateTime();
}

void TestRegional::textToDateTimeCases()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(QDateTime, value);
    const QDateTime untouched(QDate(1900, 1, 1), QTime(1, 1));
    QDateTime result = untouched;
    QCOMPARE(textToDateTime(text, result), ok);
    QCOMPARE(result, ok ? value : untouched);
}

// ---- other settings ----

void TestRegional::installChangesNumbers()
{
    InstalledFor english(englishSettings());
    QCOMPARE(settings().decimalSeparator, QLatin1Char('.'));
    QCOMPARE(formatFloat(QStringLiteral("#,##0.00"), 1234.5), QStringLiteral("1,234.50"));
    QCOMPARE(formatFloat(QStringLiteral("###########0,.00"), -1234567.5), QStringLiteral("-1,234,567.50"));
    QCOMPARE(floatToText(3.5), QStringLiteral("3.5"));
    QCOMPARE(formatCurrency(Q_INT64_C(12345000)), QStringLiteral("1,234.50"));

    double value = 0;
    QVERIFY(textToFloat(QStringLiteral("1,234.5"), value));
    QCOMPARE(value, 1234.5);
    QVERIFY(!textToFloat(QStringLiteral("3,5"), value)); // the comma now groups, and badly
    qint64 ticks = 0;
    QVERIFY(textToCurrency(QStringLiteral("1,234.5678"), ticks));
    QCOMPARE(ticks, Q_INT64_C(12345678));
    int whole = 0;
    QVERIFY(textToInt(QStringLiteral("1,000"), whole));
    QCOMPARE(whole, 1000);

    // The office's settings are back once the guard is gone.
    install(FormatSettings::brazilian());
    QCOMPARE(formatFloat(QStringLiteral("#,##0.00"), 1234.5), QStringLiteral("1.234,50"));
    QVERIFY(textToFloat(QStringLiteral("3,5"), value));
    QCOMPARE(value, 3.5);
}

void TestRegional::installChangesDates()
{
    InstalledFor english(englishSettings());
    const QDateTime value(QDate(2005, 3, 19), QTime(9, 5, 7));
    QCOMPARE(dateToText(value.date()), QStringLiteral("2005-03-19"));
    QCOMPARE(formatDateTime(QStringLiteral("dddd, d mmmm yyyy (ddd mmm)"), value),
             QStringLiteral("Saturday, 19 March 2005 (Sat Mar)"));
    QCOMPARE(formatDateTime(QStringLiteral("hh:nn"), value), QStringLiteral("09.05"));
    QCOMPARE(timeToText(value.time()), QStringLiteral("09.05.07"));
    QCOMPARE(longMonthName(3), QStringLiteral("March"));

    QDate date;
    QVERIFY(textToDate(QStringLiteral("2005-3-19"), date)); // year-month-day order from the short date format
    QCOMPARE(date, QDate(2005, 3, 19));
    QVERIFY(!textToDate(QStringLiteral("19/03/2005"), date));
    QVERIFY(textToDate(QStringLiteral("3-19"), date)); // month and day: the year left out
    QCOMPARE(date, QDate(QDate::currentDate().year(), 3, 19));
    QTime time;
    QVERIFY(textToTime(QStringLiteral("9.05.07"), time));
    QCOMPARE(time, QTime(9, 5, 7));
}

QTEST_GUILESS_MAIN(TestRegional)
#include "tst_regional.moc"
