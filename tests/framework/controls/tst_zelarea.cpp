#include "controlstestsupport.h"

#include "framework/controls/areaenabling.h"
#include "framework/controls/commonproperties.h"
#include "framework/controls/zelarea.h"
#include "framework/controls/zelcolors.h"
#include "framework/controls/zelfielddatalink.h"
#include "framework/controls/zelfocuscontroller.h"
#include "framework/controls/zelmemo.h"
#include "framework/controls/zelpagearea.h"
#include "framework/controls/zelspockedit.h"
#include "framework/controls/zelspockmemo.h"
#include "framework/controls/zelstatusbar.h"

#include "platform/db/dberror.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

class TstZelArea : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void areaFollowsDataSet();
    void ownerCommands_data();
    void ownerCommands();
    void textColourFollowsArea_data();
    void textColourFollowsArea();
    void lookUpFunctionHandedOut();
    void pageAreaShowsPageOfField();
    void pageAreaFollowsFromEmptyPage();
    void escapeReachesWindow_data();
    void escapeReachesWindow();
    void hintInStatusBar_data();
    void hintInStatusBar();
    void arrowKeysOnButtons();
    void listenersAndLookup();
    void fieldDataLink();

private:
    ControleData m_data;
    std::unique_ptr<FormWindow> m_window;
    void showWindow();
};

void TstZelArea::init()
{
    m_data.create();
    m_window = std::make_unique<FormWindow>();
    m_window->resize(500, 400);
}

void TstZelArea::cleanup()
{
    m_window.reset();
    m_data.reset();
}

void TstZelArea::showWindow()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TstZelArea::areaFollowsDataSet()
{
    auto *outside = new QLineEdit(m_window.get());
    outside->move(300, 350);
    auto *area = new TZelArea(m_window.get());
    area->setGeometry(0, 0, 400, 300);
    auto *group = new QGroupBox(QStringLiteral("Cliente"), area);
    group->setGeometry(10, 40, 300, 200);
    auto *nome = new TZelSpockEdit(group); // first in tab order, nested in the group box
    nome->setDataSource(m_data.source.get());
    nome->setDataField(QStringLiteral("CLI_NOME"));
    nome->move(10, 30);
    auto *numero = new TZelSpockEdit(area);
    numero->setDataSource(m_data.source.get());
    numero->setDataField(QStringLiteral("LEILAO_NUMERO"));
    numero->move(10, 260);
    area->setDataSource(m_data.source.get());
    showWindow();
    outside->setFocus();
    m_data.ds->close();
    m_data.open();
    QVERIFY(!area->Active());
    QVERIFY(!nome->isEnabled());
    QCOMPARE(nome->FontColor(), ZelColors::clGrayText());
    m_data.ds->append();
    QVERIFY(area->Active());
    QVERIFY(nome->isEnabled() && numero->isEnabled());
    QCOMPARE(nome->FontColor(), ZelColors::clWindowText());
    QTRY_VERIFY(nome->hasFocus());
    m_data.ds->cancel();
    QVERIFY(!area->Active());
    QVERIFY(!numero->isEnabled());
}

void TstZelArea::ownerCommands_data()
{
    QTest::addColumn<int>("commands");
    QTest::addColumn<bool>("browse");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("insert");
    QTest::newRow("managed") << int(ocDoControl) << false << true << true;
    QTest::newRow("insert only") << int(ocDoControl | ocInsertOnly) << false << false << true;
    QTest::newRow("inverse") << int(ocDoControl | ocInverseBehave) << true << false << false;
    QTest::newRow("left alone") << 0 << true << true << true;
}

void TstZelArea::ownerCommands()
{
    QFETCH(int, commands);
    QFETCH(bool, browse);
    QFETCH(bool, edit);
    QFETCH(bool, insert);
    auto *area = new TZelArea(m_window.get());
    auto *e = new TZelSpockEdit(area);
    e->CommonProperties()->setOwnerCommands(TOwnerCommands(commands));
    area->setDataSource(m_data.source.get());
    m_data.ds->refresh();
    QCOMPARE(e->isEnabled(), browse);
    m_data.ds->edit();
    QCOMPARE(e->isEnabled(), edit);
    if (commands == (ocDoControl | ocInsertOnly))
        QCOMPARE(e->Color(), ZelColors::clBtnFace());
    m_data.ds->cancel();
    m_data.ds->append();
    QCOMPARE(e->isEnabled(), insert);
    m_data.ds->cancel();
}

void TstZelArea::textColourFollowsArea_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("framework edit") << QStringLiteral("edit");
    QTest::newRow("framework memo") << QStringLiteral("spock memo");
    QTest::newRow("plain memo") << QStringLiteral("memo");
}

void TstZelArea::textColourFollowsArea()
{
    QFETCH(QString, kind);
    auto *area = new TZelArea(m_window.get());
    area->setGeometry(0, 0, 400, 300);
    QWidget *control = kind == QStringLiteral("edit") ? static_cast<QWidget *>(new TZelSpockEdit(area))
                       : kind == QStringLiteral("spock memo")
                           ? static_cast<QWidget *>(new TZelSpockMemo(area))
                           : static_cast<QWidget *>(new TZelMemo(area));
    control->move(10, 40);
    area->setDataSource(m_data.source.get());
    showWindow();
    m_data.ds->refresh();
    QVERIFY(!control->isEnabled());
    QCOMPARE(ZelColors::fontColor(control), ZelColors::clGrayText());
    m_data.ds->append();
    QVERIFY(control->isEnabled());
    QCOMPARE(ZelColors::fontColor(control), ZelColors::clWindowText());
    m_data.ds->cancel();
    QVERIFY(!control->isEnabled());
    QCOMPARE(ZelColors::fontColor(control), ZelColors::clGrayText());
}

void TstZelArea::lookUpFunctionHandedOut()
{
    auto *area = new TZelArea(m_window.get());
    auto *inside = new TZelSpockEdit(area);
    inside->setEditKind(ekLookup);
    auto *outside = new TZelSpockEdit(m_window.get());
    outside->setEditKind(ekLookup);
    int mine = 0;
    outside->LookUpFunction = [&](db::DataSet *, const QString &, TFormClass, TFormClass, const QString &) {
        return ++mine > 0;
    };
    area->LookUpFunction = [](db::DataSet *, const QString &, TFormClass, TFormClass, const QString &) {
        return true;
    };
    area->LookUpFormClass = &QWidget::staticMetaObject;
    area->setActive(true);
    QVERIFY(bool(inside->LookUpFunction));
    QCOMPARE(inside->LookUpFormClass, &QWidget::staticMetaObject);
    area->LookUpFunction = nullptr;
    area->setActive(false);
    QVERIFY(!inside->LookUpFunction);
    QVERIFY(bool(outside->LookUpFunction));
}

void TstZelArea::pageAreaShowsPageOfField()
{
    auto *pages = new TZelPageArea(m_window.get());
    pages->resize(400, 300);
    auto *first = new QWidget;
    auto *second = new QWidget;
    auto *a = new TZelSpockEdit(first);
    a->setDataSource(m_data.source.get());
    a->setDataField(QStringLiteral("CLI_NOME"));
    auto *b = new TZelSpockEdit(second);
    b->setDataSource(m_data.source.get());
    b->setDataField(QStringLiteral("LEILAO_NUMERO"));
    pages->addTab(first, QStringLiteral("Um"));
    pages->addTab(second, QStringLiteral("Dois"));
    pages->setDataSource(m_data.source.get());
    showWindow();
    m_data.ds->edit();
    QCOMPARE(pages->currentIndex(), 0);
    QVERIFY(a->isEnabled());
    m_data.field(QStringLiteral("LEILAO_NUMERO")).focusControl();
    QCOMPARE(pages->currentIndex(), 1);
    QVERIFY(b->isEnabled());
    QCOMPARE(pages->FirstControl(), b);
}

void TstZelArea::pageAreaFollowsFromEmptyPage()
{
    auto *pages = new TZelPageArea(m_window.get());
    pages->resize(400, 300);
    auto *empty = new QWidget;
    auto *filled = new QWidget;
    auto *nome = new TZelSpockEdit(filled);
    nome->setDataSource(m_data.source.get());
    nome->setDataField(QStringLiteral("CLI_NOME"));
    pages->addTab(empty, QStringLiteral("Vazia"));
    pages->addTab(filled, QStringLiteral("Cliente"));
    pages->setDataSource(m_data.source.get());
    showWindow();
    m_data.ds->refresh();
    QVERIFY(!pages->Active());
    pages->setCurrentIndex(1);
    QVERIFY(!nome->isEnabled());
    pages->setCurrentIndex(0);
    m_data.ds->edit();
    QVERIFY(pages->Active());
    pages->setCurrentIndex(1);
    QVERIFY(nome->isEnabled());
    QTRY_VERIFY(nome->hasFocus());
}

void TstZelArea::escapeReachesWindow_data()
{
    QTest::addColumn<bool>("memo");
    QTest::newRow("single-line framework edit") << false;
    QTest::newRow("memo") << true;
}

void TstZelArea::escapeReachesWindow()
{
    QFETCH(bool, memo);
    QWidget *control = memo ? static_cast<QWidget *>(new TZelMemo(m_window.get()))
                            : static_cast<QWidget *>(new TZelSpockEdit(m_window.get()));
    showWindow();
    control->setFocus();
    QTRY_VERIFY(control->hasFocus());
    QTest::keyClick(control, Qt::Key_Escape);
    QCOMPARE(m_window->escapes, 1);
}

void TstZelArea::hintInStatusBar_data()
{
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain sentence") << QStringLiteral("Informe o nome do cliente")
                                    << QStringLiteral("Informe o nome do cliente");
    QTest::newRow("short and long") << QStringLiteral("Nome|Nome completo do cliente")
                                    << QStringLiteral("Nome completo do cliente");
}

void TstZelArea::hintInStatusBar()
{
    QFETCH(QString, hint);
    QFETCH(QString, shown);
    TZelFocusController::instance()->setActive(true);
    auto *layout = new QVBoxLayout(m_window.get());
    auto *first = new QLineEdit;
    auto *e = new TZelSpockEdit;
    e->setToolTip(hint);
    auto *bar = new TZelStatusBar;
    bar->addPanel(92, QStringLiteral("Hoje: 99/99/9999"));
    bar->addPanel(50);
    layout->addWidget(first);
    layout->addWidget(e);
    layout->addWidget(bar);
    showWindow();
    first->setFocus();
    e->setFocus();
    QTRY_COMPARE(bar->panelText(1), shown);
    QCOMPARE(bar->panelText(0), QStringLiteral("Hoje: 99/99/9999"));
    TZelFocusController::instance()->setActive(false);
}

void TstZelArea::arrowKeysOnButtons()
{
    TZelFocusController::instance();
    auto *button = new QPushButton(QStringLiteral("&OK"), m_window.get());
    auto *edit = new QLineEdit(m_window.get());
    edit->move(0, 50);
    showWindow();
    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
    QTest::keyClick(button, Qt::Key_Down);
    QVERIFY(m_window->arrowKeys.isEmpty()); // posted, not sent
    QTRY_COMPARE(m_window->arrowKeys, QList<int>{Qt::Key_Down});
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::qWait(20);
    QCOMPARE(m_window->arrowKeys, QList<int>{Qt::Key_Down});
}

void TstZelArea::listenersAndLookup()
{
    auto *e = new TZelSpockEdit(m_window.get());
    QLineEdit plain(m_window.get());
    QCOMPARE(TCommonProperties::of(e), e->CommonProperties());
    QCOMPARE(TCommonProperties::of(&plain), nullptr);
    QCOMPARE(e->CommonProperties()->OwnerCommands(), TOwnerCommands(ocDoControl));
    QStringList heard;
    const int first = e->CommonProperties()->addListener([&](QEvent *ev) {
        if (ev->type() == QEvent::Move)
            heard << QStringLiteral("first");
    });
    e->CommonProperties()->addListener([&](QEvent *ev) {
        if (ev->type() == QEvent::Move)
            heard << QStringLiteral("second");
    });
    showWindow();
    heard.clear();
    e->move(5, 5);
    QCOMPARE(heard, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    e->CommonProperties()->removeListener(first);
    e->move(9, 9);
    QCOMPARE(heard.last(), QStringLiteral("second"));
    QCOMPARE(heard.size(), 3);
}

void TstZelArea::fieldDataLink()
{
    auto *e = new TZelSpockEdit(m_window.get());
    e->setObjectName(QStringLiteral("edtNada"));
    e->setDataSource(m_data.source.get());
    try {
        e->setDataField(QStringLiteral("NADA"));
        QFAIL("a missing field was taken");
    } catch (const ::db::ProgrammingError &error) {
        QCOMPARE(error.message(), QStringLiteral("edtNada: Field 'NADA' not found"));
    }
    auto *nome = new TZelSpockEdit(m_window.get());
    nome->setDataSource(m_data.source.get());
    nome->setDataField(QStringLiteral("cli_nome"));
    QCOMPARE(nome->DataField(), QStringLiteral("CLI_NOME"));
    QVERIFY(nome->dataLink().CanModify());
    nome->setReadOnly(true);
    QVERIFY(!nome->dataLink().CanModify());
    QVERIFY(!nome->dataLink().Edit());
    QCOMPARE(m_data.ds->state(), db::DataSetState::Browse);
    nome->setReadOnly(false);
    auto *sink = new QLineEdit(m_window.get());
    sink->move(0, 100);
    showWindow();
    sink->setFocus();
    QTRY_VERIFY(sink->hasFocus());
    m_data.field(QStringLiteral("CLI_NOME")).focusControl();
    QTRY_VERIFY(nome->hasFocus());
}

QTEST_MAIN(TstZelArea)
#include "tst_zelarea.moc"
