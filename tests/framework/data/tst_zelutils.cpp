#include "framework/data/zelutils.h"

#include <QDate>
#include <QTest>

#include <limits>

using namespace ZelUtils;

class TestZelUtils : public QObject
{
    Q_OBJECT

private slots:
    void onlyDigits_data();
    void onlyDigits();
    void checkCPF_data();
    void checkCPF();
    void checkCNPJ_data();
    void checkCNPJ();
    void punctuatedDocumentsPassOnceReduced();
    void monthBoundaries_data();
    void monthBoundaries();
    void monthBoundariesOfInvalidDate();
    void digitValue_data();
    void digitValue();
};

void TestZelUtils::onlyDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("cpf punctuation") << "529.982.247-25"
                                     << "52998224725";
    QTest::newRow("cnpj punctuation") << "11.222.333/0001-81"
                                      << "11222333000181";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("no digit") << "abc ./-"
                              << "";
    QTest::newRow("blanks and tab") << " 12 34\t5 "
                                    << "12345";
    QTest::newRow("order kept") << "9a8b7"
                                << "987";
    QTest::newRow("superscript dropped") << QStringLiteral("x\u00B29") << "9";
    QTest::newRow("arabic-indic dropped") << QStringLiteral("\u0661\u0662\u0663") << "";
    QTest::newRow("full-width dropped") << QStringLiteral("\uFF111") << "1";
}

void TestZelUtils::onlyDigits()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(OnlyDigits(text), expected);
}

void TestZelUtils::checkCPF_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<bool>("valid");

    QTest::newRow("valid") << "52998224725" << true;
    QTest::newRow("second digit wrong") << "52998224724" << false;
    QTest::newRow("first digit wrong") << "52998224735" << false;
    QTest::newRow("other valid") << "11144477735" << true;
    QTest::newRow("first digit 0 from remainder 1") << "19846346409" << true;
    QTest::newRow("first digit 0 from remainder 0") << "52559446103" << true;
    QTest::newRow("second digit 0 from remainder 0") << "34988607550" << true;
    QTest::newRow("second digit 0 from remainder 1") << "22571182510" << true;
    QTest::newRow("eleven equal digits") << "11111111111" << true;
    QTest::newRow("eleven zeros") << "00000000000" << true;
    QTest::newRow("empty is valid") << "" << true;
    QTest::newRow("10 digits") << "5299822472" << false;
    QTest::newRow("12 digits") << "529982247250" << false;
    QTest::newRow("leading zero added") << "052998224725" << false;
    QTest::newRow("punctuated") << "529.982.247-25" << false;
    QTest::newRow("trailing blank") << "52998224725 " << false;
    QTest::newRow("letter among digits") << "5299822472a" << false;
    QTest::newRow("full-width digit") << QStringLiteral("\uFF152998224725") << false;
    QTest::newRow("valid cnpj") << "11222333000181" << false;
}

void TestZelUtils::checkCPF()
{
    QFETCH(QString, digits);
    QFETCH(bool, valid);
    QCOMPARE(CheckCPF(digits), valid);
}

void TestZelUtils::checkCNPJ_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<bool>("valid");

    QTest::newRow("valid") << "11222333000181" << true;
    QTest::newRow("second digit wrong") << "11222333000180" << false;
    QTest::newRow("first digit wrong") << "11222333000171" << false;
    QTest::newRow("digit 0 from remainder 10") << "69584830401104" << true;
    QTest::newRow("fourteen zeros") << "00000000000000" << true;
    QTest::newRow("empty is not a cnpj") << "" << false;
    QTest::newRow("13 digits") << "1122233300018" << false;
    QTest::newRow("15 digits") << "112223330001810" << false;
    QTest::newRow("punctuated") << "11.222.333/0001-81" << false;
    QTest::newRow("valid cpf of 11 digits") << "52998224725" << false;
    QTest::newRow("letter among digits") << "1122233300018x" << false;
}

void TestZelUtils::checkCNPJ()
{
    QFETCH(QString, digits);
    QFETCH(bool, valid);
    QCOMPARE(CheckCNPJ(digits), valid);
}

void TestZelUtils::punctuatedDocumentsPassOnceReduced()
{
    QVERIFY(!CheckCPF(QStringLiteral("529.982.247-25")));
    QVERIFY(CheckCPF(OnlyDigits(QStringLiteral("529.982.247-25"))));
    QVERIFY(!CheckCNPJ(QStringLiteral("11.222.333/0001-81")));
    QVERIFY(CheckCNPJ(OnlyDigits(QStringLiteral("11.222.333/0001-81"))));
    // A document typed without any digit: the CPF check lets it through, the CNPJ check does not.
    QVERIFY(CheckCPF(OnlyDigits(QStringLiteral("..-"))));
    QVERIFY(!CheckCNPJ(OnlyDigits(QStringLiteral("../-"))));
}

void TestZelUtils::monthBoundaries_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");

    QTest::newRow("leap february") << QDate(2008, 2, 15) << QDate(2008, 2, 1) << QDate(2008, 2, 29);
    QTest::newRow("common february") << QDate(2007, 2, 15) << QDate(2007, 2, 1) << QDate(2007, 2, 28);
    QTest::newRow("1900 not leap") << QDate(1900, 2, 10) << QDate(1900, 2, 1) << QDate(1900, 2, 28);
    QTest::newRow("2000 leap") << QDate(2000, 2, 10) << QDate(2000, 2, 1) << QDate(2000, 2, 29);
    QTest::newRow("31 january") << QDate(2008, 1, 31) << QDate(2008, 1, 1) << QDate(2008, 1, 31);
    QTest::newRow("30 january") << QDate(2009, 1, 30) << QDate(2009, 1, 1) << QDate(2009, 1, 31);
    QTest::newRow("december") << QDate(2008, 12, 31) << QDate(2008, 12, 1) << QDate(2008, 12, 31);
    QTest::newRow("first of april") << QDate(2010, 4, 1) << QDate(2010, 4, 1) << QDate(2010, 4, 30);
    QTest::newRow("last of march") << QDate(2010, 3, 31) << QDate(2010, 3, 1) << QDate(2010, 3, 31);
}

void TestZelUtils::monthBoundaries()
{
    QFETCH(QDate, date);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QCOMPARE(FirstDayOfMonth(date), first);
    QCOMPARE(LastDayOfMonth(date), last);
}

void TestZelUtils::monthBoundariesOfInvalidDate()
{
    QVERIFY(!FirstDayOfMonth(QDate()).isValid());
    QVERIFY(!LastDayOfMonth(QDate()).isValid());
    QVERIFY(!LastDayOfMonth(QDate(2007, 2, 29)).isValid());
}

void TestZelUtils::digitValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    const int max = std::numeric_limits<int>::max();
    const int min = std::numeric_limits<int>::min();

    QTest::newRow("plain") << "123" << 123;
    QTest::newRow("leading blanks") << "   123" << 123;
    QTest::newRow("leading zeros") << "0000000003" << 3;
    QTest::newRow("blanks then zeros") << "  00042" << 42;
    QTest::newRow("many leading zeros") << "000000000000000000000000000042" << 42;
    QTest::newRow("zero") << "000000000000000" << 0;
    QTest::newRow("negative") << "  -00042" << -42;
    QTest::newRow("plus sign") << "+7" << 7;
    QTest::newRow("maximum") << "2147483647" << max;
    QTest::newRow("maximum with zeros") << "000002147483647" << max;
    QTest::newRow("minimum") << "-2147483648" << min;
    QTest::newRow("above maximum") << "2147483648" << 0;
    QTest::newRow("below minimum") << "-2147483649" << 0;
    QTest::newRow("far too large") << "99999999999999999999" << 0;
    QTest::newRow("trailing blank") << "123 " << 0;
    QTest::newRow("inner blank") << "1 2" << 0;
    QTest::newRow("letter") << "12a" << 0;
    QTest::newRow("letter first") << "a12" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("blanks only") << "     " << 0;
    QTest::newRow("sign only") << "-" << 0;
    QTest::newRow("blank after sign") << "- 1" << 0;
    QTest::newRow("two signs") << "--1" << 0;
    QTest::newRow("leading tab") << "\t5" << 0;
    QTest::newRow("hexadecimal 0x") << "0x1A" << 0;
    QTest::newRow("hexadecimal dollar") << "$1A" << 0;
    QTest::newRow("decimal comma") << "1,5" << 0;
    QTest::newRow("arabic-indic digit") << QStringLiteral("\u0663") << 0;
}

void TestZelUtils::digitValue()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(DigitValue(text), expected);
}

QTEST_APPLESS_MAIN(TestZelUtils)
#include "tst_zelutils.moc"
