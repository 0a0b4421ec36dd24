#include "framework/data/dataatual.h"
#include "framework/data/zelsqlglobals.h"

#include <QApplication>
#include <QDate>
#include <QEvent>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

/// A window that counts the work-date messages it receives.
class CountingWindow : public QWidget
{
public:
    explicit CountingWindow(QWidget *parent = nullptr) : QWidget(parent) {}
    int received = 0;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == DataAtualChangedEvent)
            ++received;
        return QWidget::event(e);
    }
};

enum class Part { Dia, Mes, Ano };

} // namespace

Q_DECLARE_METATYPE(Part)

class TstZelSQLGlobals : public QObject
{
    Q_OBJECT

private slots:
    void createdForNoSession();
    void partWrites_data();
    void partWrites();
    void dateCaption_data();
    void dateCaption();
    void refreshReachesWindowsNotTaggedOne();
    void everyWriteRefreshes();
};

void TstZelSQLGlobals::createdForNoSession()
{
    TZelSQLGlobals g;
    QCOMPARE(g.UsuarioID(), 0);
    QCOMPARE(g.ModuloID(), 0);
    QVERIFY(!g.IsSupervisor());
    QCOMPARE(g.DataSetCount(), 0);
    QVERIFY(g.ModuleList().isEmpty());
    QCOMPARE(g.DataAtual().Data(), QDate::currentDate());
    QCOMPARE(g.DataAtual().Mascara(), QStringLiteral("dd/mm/yyyy"));
    QCOMPARE(g.DateCaption(),
             QStringLiteral(" - (%1)").arg(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"))));
}

void TstZelSQLGlobals::partWrites_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<Part>("part");
    QTest::addColumn<int>("value");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("31/01 then month 2") << QDate(2008, 1, 31) << Part::Mes << 2 << QDate(2008, 1, 31);
    QTest::newRow("31/01 then month 3") << QDate(2008, 1, 31) << Part::Mes << 3 << QDate(2008, 3, 31);
    QTest::newRow("15/02 then day 29 (leap)") << QDate(2008, 2, 15) << Part::Dia << 29 << QDate(2008, 2, 29);
    QTest::newRow("15/02 then day 30") << QDate(2008, 2, 15) << Part::Dia << 30 << QDate(2008, 2, 15);
    QTest::newRow("day 0") << QDate(2008, 2, 15) << Part::Dia << 0 << QDate(2008, 2, 15);
    QTest::newRow("month 13") << QDate(2008, 2, 15) << Part::Mes << 13 << QDate(2008, 2, 15);
    QTest::newRow("29/02 then 2009") << QDate(2008, 2, 29) << Part::Ano << 2009 << QDate(2008, 2, 29);
    QTest::newRow("29/02 then 2012") << QDate(2008, 2, 29) << Part::Ano << 2012 << QDate(2012, 2, 29);
    QTest::newRow("no date, month 2") << QDate() << Part::Mes << 2 << QDate();
}

void TstZelSQLGlobals::partWrites()
{
    QFETCH(QDate, start);
    QFETCH(Part, part);
    QFETCH(int, value);
    QFETCH(QDate, expected);
    TZelSQLGlobals g;
    TDataAtual &d = g.DataAtual();
    d.setData(start);
    switch (part) {
    case Part::Dia:
        d.setDia(quint16(value));
        break;
    case Part::Mes:
        d.setMes(quint16(value));
        break;
    case Part::Ano:
        d.setAno(quint16(value));
        break;
    }
    QCOMPARE(d.Data(), expected);
    QCOMPARE(d.Dia(), quint16(expected.isValid() ? expected.day() : 0));
    QCOMPARE(d.Mes(), quint16(expected.isValid() ? expected.month() : 0));
    QCOMPARE(d.Ano(), quint16(expected.isValid() ? expected.year() : 0));
}

void TstZelSQLGlobals::dateCaption_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("caption");
    QTest::newRow("default mask") << QDate(2008, 2, 15) << "dd/mm/yyyy"
                                  << " - (15/02/2008)";
    QTest::newRow("no date") << QDate() << "dd/mm/yyyy"
                             << "";
    QTest::newRow("month name") << QDate(2008, 3, 1) << "mmmm/yyyy"
                                << " - (Março/2008)";
    QTest::newRow("short day name") << QDate(2008, 3, 1) << "ddd dd"
                                    << " - (sáb 01)";
}

void TstZelSQLGlobals::dateCaption()
{
    QFETCH(QDate, date);
    QFETCH(QString, mask);
    TZelSQLGlobals g;
    g.DataAtual().setMascara(mask);
    g.DataAtual().setData(date);
    QTEST(g.DateCaption(), "caption");
}

void TstZelSQLGlobals::refreshReachesWindowsNotTaggedOne()
{
    CountingWindow plain;
    plain.show();
    CountingWindow taggedOne;
    taggedOne.setProperty(WindowTagProperty, 1);
    taggedOne.show();
    CountingWindow taggedTwo;
    taggedTwo.setProperty(WindowTagProperty, 2);
    taggedTwo.show();
    CountingWindow hidden; // created but not shown yet: its caption must be right when it is
    auto *child = new CountingWindow(&plain);
    child->show();

    TZelSQLGlobals g;
    g.DataAtual().setData(QDate(2008, 2, 15));
    QCOMPARE(plain.received, 0); // posted, not sent
    QCoreApplication::sendPostedEvents();
    QCOMPARE(plain.received, 1);
    QCOMPARE(taggedOne.received, 0);
    QCOMPARE(taggedTwo.received, 1);
    QCOMPARE(hidden.received, 1);
    QCOMPARE(child->received, 0);
}

void TstZelSQLGlobals::everyWriteRefreshes()
{
    CountingWindow w;
    w.show();
    TZelSQLGlobals g;
    TDataAtual &d = g.DataAtual();
    d.setData(QDate(2008, 1, 31));
    d.setMes(2);  // refused, still refreshed
    d.setDia(31); // same value
    d.setAno(2008);
    d.setData(QDate(2008, 1, 31));
    d.setMascara(QStringLiteral("yyyy")); // only stored
    QCoreApplication::sendPostedEvents();
    QCOMPARE(w.received, 5);
    QCOMPARE(g.DateCaption(), QStringLiteral(" - (31/01/2008)"));
    d.setData(QDate());
    QCoreApplication::sendPostedEvents();
    QCOMPARE(w.received, 6);
    QCOMPARE(g.DateCaption(), QString());
}

QTEST_MAIN(TstZelSQLGlobals)
#include "tst_zelsqlglobals.moc"
