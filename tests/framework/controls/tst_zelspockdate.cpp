#include "controlstestsupport.h"

#include "framework/controls/zelspockdate.h"

#include <QLineEdit>
#include <QTest>

class TstZelSpockDate : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void expandYear_data();
    void expandYear();
    void displayDateField_data();
    void displayDateField();
    void typing_data();
    void typing();
    void storage_data();
    void storage();
    void shortStorageRaises();
    void setDate();
    void unboundTyping_data();
    void unboundTyping();
    void refusedFieldType();

private:
    ControleData m_data;
    std::unique_ptr<FormWindow> m_window;
    QLineEdit *m_sink = nullptr;
    TZelSpockDate *dateEdit(const QString &field);
    void focus(QWidget *w);
};

void TstZelSpockDate::init()
{
    TZelSpockDate::setToday(QDate(2005, 6, 30));
    m_data.create();
    m_window = std::make_unique<FormWindow>();
    m_window->resize(400, 200);
    m_sink = new QLineEdit(m_window.get());
    m_sink->move(200, 150);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_sink->setFocus();
}

void TstZelSpockDate::cleanup()
{
    m_window.reset();
    m_data.reset();
    TZelSpockDate::setToday(QDate());
}

TZelSpockDate *TstZelSpockDate::dateEdit(const QString &field)
{
    auto *e = new TZelSpockDate(m_window.get());
    e->setObjectName(QStringLiteral("edtData"));
    e->setDataSource(m_data.source.get());
    e->setDataField(field);
    e->show();
    return e;
}

void TstZelSpockDate::focus(QWidget *w)
{
    w->setFocus();
    QTRY_VERIFY(w->hasFocus());
}

void TstZelSpockDate::expandYear_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("expanded");
    QTest::newRow("four digits") << 1998 << 25 << 1998;
    QTest::newRow("one digit") << 5 << 25 << 2005;
    QTest::newRow("05") << 5 << 25 << 2005;
    QTest::newRow("at the limit") << 25 << 25 << 2025;
    QTest::newRow("past the limit") << 26 << 25 << 1926;
    QTest::newRow("99") << 99 << 25 << 1999;
    QTest::newRow("three digits low") << 105 << 25 << 2105;
    QTest::newRow("three digits high") << 950 << 25 << 1950;
}

void TstZelSpockDate::expandYear()
{
    QFETCH(int, year);
    QFETCH(int, limit);
    QFETCH(int, expanded);
    QCOMPARE(TZelSpockDate::ExpandYear(year, limit), expanded);
}

void TstZelSpockDate::displayDateField_data()
{
    QTest::addColumn<bool>("null");
    QTest::addColumn<bool>("nullEmpty");
    QTest::addColumn<QString>("unfocused");
    QTest::addColumn<QString>("focused");
    QTest::newRow("date") << false << true << "15/03/2005"
                          << "15/03/2005";
    QTest::newRow("null") << true << true << ""
                          << "  /  /    ";
    QTest::newRow("null, blank mask always") << true << false << "  /  /    "
                                             << "  /  /    ";
}

void TstZelSpockDate::displayDateField()
{
    QFETCH(bool, null);
    QFETCH(bool, nullEmpty);
    QFETCH(QString, unfocused);
    QFETCH(QString, focused);
    if (null)
        m_data.ds->next();
    TZelSpockDate *e = dateEdit(QStringLiteral("LEILAO_DATA"));
    e->setNullEmpty(nullEmpty);
    QCOMPARE(e->text(), unfocused);
    focus(e);
    QCOMPARE(e->text(), focused);
    QCOMPARE(e->EditMask(), QStringLiteral("!99/99/9999;1; "));
    focus(m_sink);
    QCOMPARE(e->text(), unfocused);
}

void TstZelSpockDate::typing_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("defaultDay");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QDate>("stored"); // invalid: the field is null
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("baseYear");
    QTest::newRow("two-digit year 05")
        << int(dfDDMMAAAA) << 0 << "150305" << QDate(2005, 3, 15) << "15/03/2005" << 25;
    QTest::newRow("two-digit year 26")
        << int(dfDDMMAAAA) << 0 << "150326" << QDate(1926, 3, 15) << "15/03/1926" << 25;
    QTest::newRow("blank year takes this year")
        << int(dfDDMMAAAA) << 0 << "1503" << QDate(2005, 3, 15) << "15/03/2005" << 25;
    QTest::newRow("impossible date empties") << int(dfDDMMAAAA) << 0 << "310405" << QDate() << "" << 25;
    QTest::newRow("letters dropped") << int(dfDDMMAAAA) << 0 << "1a5b0c3x05" << QDate(2005, 3, 15)
                                     << "15/03/2005" << 25;
    QTest::newRow("month/year on the 30th: no 30 February")
        << int(dfMMAAAA) << 0 << "022005" << QDate() << "" << 25;
    QTest::newRow("month/year with default day 1")
        << int(dfMMAAAA) << 1 << "022005" << QDate(2005, 2, 1) << "02/2005" << 25;
    QTest::newRow("slash closes a short part")
        << int(dfDDMMAAAA) << 0 << "5/3/05" << QDate(2005, 3, 5) << "05/03/2005" << 25;
    QTest::newRow("window from today: 25 is still ahead")
        << int(dfDDMMAAAA) << 0 << "150325" << QDate(2025, 3, 15) << "15/03/2025" << 0;
    QTest::newRow("window from today: 26 is behind")
        << int(dfDDMMAAAA) << 0 << "150326" << QDate(1926, 3, 15) << "15/03/1926" << 0;
}

void TstZelSpockDate::typing()
{
    QFETCH(int, format);
    QFETCH(int, defaultDay);
    QFETCH(QString, keys);
    QFETCH(QDate, stored);
    QFETCH(QString, shown);
    QFETCH(int, baseYear);
    TZelSpockDate *e = dateEdit(QStringLiteral("LEILAO_DATA"));
    e->setBaseYear(baseYear);
    e->setDisplayFormat(TZelDisplayFormat(format));
    e->setDefaultDay(defaultDay);
    focus(e);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, keys);
    focus(m_sink);
    db::Field &f = m_data.field(QStringLiteral("LEILAO_DATA"));
    QCOMPARE(f.isNull(), !stored.isValid());
    if (stored.isValid())
        QCOMPARE(f.asDate(), stored);
    QCOMPARE(e->text(), shown);
}

void TstZelSpockDate::storage_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("storage");
    QTest::addColumn<int>("defaultDay");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("written"); // "null" for a null field
    QTest::newRow("yyyymmdd") << "DATA_STR" << int(sfAAAAMMDD) << 0 << "15/03/2005"
                              << "01022003"
                              << "20030201";
    QTest::newRow("yyyymmdd emptied") << "DATA_STR" << int(sfAAAAMMDD) << 0 << "15/03/2005"
                                      << ""
                                      << "null";
    QTest::newRow("yyyymm without default day") << "MES_STR" << int(sfAAAAMM) << 0 << "30/12/1899"
                                                << "01022003"
                                                << "200302";
    QTest::newRow("yyyymm with default day 1") << "MES_STR" << int(sfAAAAMM) << 1 << "01/03/2005"
                                               << "01042003"
                                               << "200304";
}

void TstZelSpockDate::storage()
{
    QFETCH(QString, field);
    QFETCH(int, storage);
    QFETCH(int, defaultDay);
    QFETCH(QString, shown);
    QFETCH(QString, keys);
    QFETCH(QString, written);
    auto *e = new TZelSpockDate(m_window.get());
    e->setStorageFormat(TZelStorageFormat(storage));
    e->setDefaultDay(defaultDay);
    e->setDataSource(m_data.source.get());
    e->setDataField(field);
    e->show();
    QCOMPARE(e->text(), shown);
    focus(e);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, keys);
    focus(m_sink);
    db::Field &f = m_data.field(field);
    if (written == QStringLiteral("null"))
        QVERIFY(f.isNull());
    else
        QCOMPARE(f.asString(), written);
}

void TstZelSpockDate::shortStorageRaises()
{
    m_data.ds->edit();
    m_data.field(QStringLiteral("DATA_STR")).setAsString(QStringLiteral("2005031"));
    m_data.ds->post();
    auto *e = new TZelSpockDate(m_window.get());
    e->setDataSource(m_data.source.get());
    try {
        e->setDataField(QStringLiteral("DATA_STR"));
        QFAIL("a 7-character storage string was read");
    } catch (const ::db::ProgrammingError &error) {
        QCOMPARE(error.message(), QStringLiteral("Invalid string size for \"AAAAMMDD\" date storage format"));
    }
}

void TstZelSpockDate::setDate()
{
    TZelSpockDate *e = dateEdit(QStringLiteral("LEILAO_DATA"));
    e->setDate(QDate(2005, 3, 15)); // the value it has: nothing happens
    QCOMPARE(m_data.ds->state(), db::DataSetState::Browse);
    e->setDate(QDate(2008, 2, 29));
    QCOMPARE(m_data.ds->state(), db::DataSetState::Edit);
    QCOMPARE(m_data.field(QStringLiteral("LEILAO_DATA")).asDate(), QDate(2008, 2, 29));
    QCOMPARE(e->Date(), QDate(2008, 2, 29));
    auto *unbound = new TZelSpockDate(m_window.get());
    QCOMPARE(unbound->Date(), TZelSpockDate::ZeroDate());
    unbound->setDate(QDate(2001, 1, 2));
    QCOMPARE(unbound->text(), QStringLiteral("02/01/2001"));
}

void TstZelSpockDate::refusedFieldType()
{
    auto *e = new TZelSpockDate(m_window.get());
    e->setObjectName(QStringLiteral("edtData"));
    e->setDataSource(m_data.source.get());
    try {
        e->setDataField(QStringLiteral("NOTA_NUMERO"));
        QFAIL("an integer field was taken");
    } catch (const ::db::ProgrammingError &error) {
        QCOMPARE(
            error.message(),
            QStringLiteral(
                "Invalid field type. Field \"NOTA_NUMERO\", DataSet \"CONTROLE\" - Control \"edtData\""));
    }
    QCOMPARE(e->DataField(), QString());
}

void TstZelSpockDate::unboundTyping_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QDate>("date");
    QTest::newRow("full date") << "150305"
                               << "15/03/2005" << QDate(2005, 3, 15);
    QTest::newRow("day and month") << "0102"
                                   << "01/02/2005" << QDate(2005, 2, 1);
    QTest::newRow("impossible date") << "310405"
                                     << "" << TZelSpockDate::ZeroDate();
    QTest::newRow("nothing") << ""
                             << "" << TZelSpockDate::ZeroDate();
}

void TstZelSpockDate::unboundTyping()
{
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(QDate, date);
    auto *e = new TZelSpockDate(m_window.get());
    e->setBaseYear(25);
    e->show();
    focus(e);
    QCOMPARE(e->text(), QStringLiteral("  /  /    "));
    QTest::keyClicks(e, keys);
    focus(m_sink);
    QCOMPARE(e->text(), shown);
    QCOMPARE(e->Date(), date);
    focus(e);
    QCOMPARE(e->Date(), date);
}

QTEST_MAIN(TstZelSpockDate)
#include "tst_zelspockdate.moc"
