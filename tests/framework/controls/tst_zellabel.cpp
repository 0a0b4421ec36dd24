#include "controlstestsupport.h"

#include "framework/controls/zelcolors.h"
#include "framework/controls/zellabel.h"
#include "framework/controls/zelpanel.h"
#include "framework/controls/zelspeedbutton.h"
#include "framework/controls/zelspockedit.h"
#include "framework/controls/zelspockfloat.h"
#include "framework/controls/zelstatusbar.h"

#include <QDialog>
#include <QEnterEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTest>

#include <functional>

class TstZelLabel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void quickSearch_data();
    void quickSearch();
    void quickSearchNotFound();
    void quickSearchOnlyWhileBrowsing();
    void quickSearchStaysOnScreen();
    void zoomWindow();
    void zoomWithBadItemShowsNothing();
    void locateAndZoomExcludeEachOther();
    void labelAndPanelShowAField();
    void panelPictureAndMouse();
    void glyphs_data();
    void glyphs();
    void shortCutFocusesEdit();
    void companionsFollowMovesMadeBeforeShow();

private:
    ControleData m_data;
    std::unique_ptr<FormWindow> m_window;
    QLineEdit *m_other = nullptr;
    TZelSpockCustom *edit(const QString &field, bool numeric = false);
    void showWindow();
    /// Runs the script on the quick-search window once it is shown (from inside its modal loop).
    void whenSearchOpens(TZelLabel *label, std::function<void(QDialog *)> script);
};

void TstZelLabel::init()
{
    m_data.create();
    m_window = std::make_unique<FormWindow>();
    m_window->resize(500, 300);
    m_window->move(20, 20);
    m_other = new QLineEdit(m_window.get());
    m_other->setObjectName(QStringLiteral("other"));
    m_other->move(300, 250);
}

void TstZelLabel::cleanup()
{
    m_window.reset();
    m_data.reset();
}

TZelSpockCustom *TstZelLabel::edit(const QString &field, bool numeric)
{
    TZelSpockCustom *e = numeric ? static_cast<TZelSpockCustom *>(new TZelSpockFloat(m_window.get()))
                                 : new TZelSpockEdit(m_window.get());
    e->setObjectName(QStringLiteral("edt") + field);
    e->move(40, 60);
    e->setDataSource(m_data.source.get());
    e->setDataField(field);
    return e;
}

void TstZelLabel::showWindow()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TstZelLabel::whenSearchOpens(TZelLabel *label, std::function<void(QDialog *)> script)
{
    auto *poll = new QTimer(label);
    poll->setInterval(10);
    connect(poll, &QTimer::timeout, label, [label, poll, script] {
        QDialog *form = label->quickSearchWindow();
        if (!form || !form->isVisible() || QApplication::activeModalWidget() != form)
            return;
        poll->deleteLater();
        poll->stop();
        script(form);
    });
    poll->start();
}

void TstZelLabel::quickSearch_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("foundId");
    QTest::newRow("start of a name, case ignored")
        << QStringLiteral("CLI_NOME") << false << QStringLiteral("jo") << 2;
    QTest::newRow("number") << QStringLiteral("NOTA_NUMERO") << true << QStringLiteral("1234") << 1;
}

void TstZelLabel::quickSearch()
{
    QFETCH(QString, field);
    QFETCH(bool, numeric);
    QFETCH(QString, typed);
    QFETCH(int, foundId);
    TZelSpockCustom *e = edit(field, numeric);
    TZelLabel *label = e->ZelLabel();
    label->setCaption(QStringLiteral("Nome"));
    if (foundId == 1)
        m_data.ds->last();
    showWindow();
    QString title;
    QString searchClass;
    QStringList panels;
    whenSearchOpens(label, [&](QDialog *form) {
        title = form->windowTitle();
        auto *search = form->findChild<TZelSpockCustom *>(QStringLiteral("edtSearch"));
        searchClass = QString::fromLatin1(search->metaObject()->className());
        auto *status = form->findChild<TZelStatusBar *>();
        panels << status->panelText(0) << status->panelText(1);
        QVERIFY(!form->findChild<TZelLabel *>()); // no stray caption on the search box
        QTest::keyClicks(search, typed);
        QTest::keyClick(search, Qt::Key_Return);
    });
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("Procurar por <Nome>"));
    QCOMPARE(searchClass, QString::fromLatin1(numeric ? "TZelSpockFloat" : "TZelSpockEdit"));
    QCOMPARE(panels, QStringList({QStringLiteral("<ENTER> - Procurar"), QStringLiteral("<ESC> - Sair")}));
    QCOMPARE(label->quickSearchWindow(), nullptr);
    QCOMPARE(m_data.field(QStringLiteral("ID")).asInteger(), foundId);
}

void TstZelLabel::quickSearchNotFound()
{
    TZelSpockCustom *e = edit(QStringLiteral("CLI_NOME"));
    TZelLabel *label = e->ZelLabel();
    showWindow();
    MessageBoxCloser boxes;
    bool stayedOpen = false;
    whenSearchOpens(label, [&](QDialog *form) {
        auto *search = form->findChild<TZelSpockCustom *>(QStringLiteral("edtSearch"));
        QTest::keyClicks(search, QStringLiteral("xyz"));
        QTest::keyClick(search, Qt::Key_Return);
        stayedOpen = form->isVisible();
        QTest::keyClick(search, Qt::Key_Escape);
    });
    QVERIFY(!label->QuickSearch());
    QCOMPARE(boxes.texts, QStringList{QStringLiteral("Não encontrado")});
    QVERIFY(stayedOpen);
    QCOMPARE(m_data.field(QStringLiteral("ID")).asInteger(), 1);
}

void TstZelLabel::quickSearchOnlyWhileBrowsing()
{
    TZelSpockCustom *e = edit(QStringLiteral("CLI_NOME"));
    TZelLabel *label = e->ZelLabel();
    showWindow();
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), label->mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(label, &enter);
    QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);

    m_data.ds->edit();
    QCoreApplication::sendEvent(label, &enter);
    QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!label->CanQuickSearch());
    MessageBoxCloser anything; // would close a window that should not open
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(label->quickSearchWindow(), nullptr);
    QCOMPARE(m_data.ds->state(), db::DataSetState::Edit);

    m_data.ds->cancel();
    label->setLocateEnabled(false);
    QVERIFY(!label->CanQuickSearch());
    auto *unbound = new TZelSpockEdit(m_window.get());
    QVERIFY(!unbound->ZelLabel()->CanQuickSearch());
}

void TstZelLabel::quickSearchStaysOnScreen()
{
    TZelSpockCustom *e = edit(QStringLiteral("CLI_NOME"));
    const QRect screen = m_window->screen()->geometry();
    m_window->move(screen.width() - 200, screen.height() - 120);
    showWindow();
    QPoint at;
    whenSearchOpens(e->ZelLabel(), [&](QDialog *form) {
        at = form->pos();
        form->reject();
    });
    QVERIFY(!e->ZelLabel()->QuickSearch());
    QCOMPARE(at.y(), screen.height() - 93);
    QCOMPARE(at.x(), screen.width() - 342);
}

void TstZelLabel::zoomWindow()
{
    auto *label = new TZelLabel(m_window.get());
    label->setCaption(QStringLiteral("Cliente"));
    label->move(10, 10);
    label->ZoomOptions().setDataSource(m_data.source.get());
    label->ZoomOptions().setEnabled(true);
    label->ZoomItems().Add(QStringLiteral("cli_nome"));
    label->ZoomItems().Add(QStringLiteral("NOTA_NUMERO"));
    m_data.field(QStringLiteral("CLI_NOME")).setDisplayLabel(QStringLiteral("Nome"));
    showWindow();
    QTest::mouseClick(label, Qt::LeftButton);
    QWidget *zoom = label->zoomWindow();
    QVERIFY(zoom && zoom->isVisible());
    QCOMPARE(zoom->windowTitle(), QStringLiteral("Cliente"));
    auto *descr = zoom->findChild<TZelPanel *>(QStringLiteral("pnlDescr0"));
    auto *value = zoom->findChild<TZelPanel *>(QStringLiteral("pnlValue0"));
    auto *value1 = zoom->findChild<TZelPanel *>(QStringLiteral("pnlValue1"));
    QVERIFY(descr && value && value1);
    QCOMPARE(descr->Caption(), QStringLiteral("Nome:"));
    QCOMPARE(value->Caption(), QStringLiteral("MARIA"));
    QCOMPARE(value1->y(), 21);
    const int widest = qMax(12 * m_data.field(QStringLiteral("CLI_NOME")).displayWidth(),
                            12 * m_data.field(QStringLiteral("NOTA_NUMERO")).displayWidth());
    QCOMPARE(value->width(), widest + 2);
    QCOMPARE(value->x(), descr->width() + 2);
    QCOMPARE(zoom->size(), QSize(descr->width() + widest + 5, 41));
    QCOMPARE(zoom->pos(), label->mapToGlobal(QPoint(0, label->height())));
    m_data.ds->next();
    QCOMPARE(value->Caption(), QStringLiteral("JOSE"));

    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(label->zoomWindow(), nullptr);
    // Hiding the window closes the zoom as well.
    QTest::mouseClick(label, Qt::LeftButton);
    QVERIFY(label->zoomWindow());
    label->zoomWindow()->hide();
    QCOMPARE(label->zoomWindow(), nullptr);
}

void TstZelLabel::zoomWithBadItemShowsNothing()
{
    auto *label = new TZelLabel(m_window.get());
    label->ZoomOptions().setDataSource(m_data.source.get());
    label->ZoomOptions().setEnabled(true);
    label->ZoomItems().Add(QStringLiteral("NAO_EXISTE"));
    showWindow();
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(label->zoomWindow(), nullptr);
    QVERIFY(!m_window->findChild<QWidget *>(QStringLiteral("ZoomForm")));
}

void TstZelLabel::locateAndZoomExcludeEachOther()
{
    TZelLabel label;
    QVERIFY(label.LocateEnabled());
    QVERIFY(!label.ZoomOptions().Enabled());
    label.ZoomOptions().setEnabled(true);
    QVERIFY(!label.LocateEnabled());
    label.setLocateEnabled(true);
    QVERIFY(!label.ZoomOptions().Enabled());
    QCOMPARE(label.FocusFontColor(), ZelColors::clRed());
}

void TstZelLabel::labelAndPanelShowAField()
{
    auto *label = new TZelLabel(m_window.get());
    label->setDataSource(m_data.source.get());
    label->setDataField(QStringLiteral("cli_nome"));
    auto *panel = new TZelPanel(m_window.get());
    panel->setDataSource(m_data.source.get());
    panel->setDataField(QStringLiteral("LEILAO_NUMERO"));
    QCOMPARE(label->DataField(), QStringLiteral("CLI_NOME"));
    QCOMPARE(label->Caption(), QStringLiteral("MARIA"));
    QCOMPARE(panel->Caption(), QStringLiteral("L1"));
    label->setCaption(QStringLiteral("ignorado"));
    QCOMPARE(label->Caption(), QStringLiteral("MARIA"));
    m_data.ds->next();
    QCOMPARE(label->Caption(), QStringLiteral("JOSE"));
    QCOMPARE(panel->Caption(), QString());
    m_data.ds->close();
    QCOMPARE(label->Caption(), QString());
}

void TstZelLabel::panelPictureAndMouse()
{
    auto *panel = new TZelPanel(m_window.get());
    panel->setGeometry(10, 10, 60, 40);
    panel->setBevelOuter(TZelPanel::bvNone);
    QPixmap picture(20, 20);
    picture.fill(QColor(255, 0, 0));
    panel->setPicture(picture);
    int entered = 0, left = 0;
    panel->OnMouseEnter = [&](TZelPanel *) { ++entered; };
    panel->OnMouseLeave = [&](TZelPanel *) { ++left; };
    showWindow();
    const QImage image = panel->grab().toImage();
    const QColor frame(199, 207, 220);
    QCOMPARE(image.pixelColor(30, 0), frame);
    QCOMPARE(image.pixelColor(59, 20), frame);
    QCOMPARE(image.pixelColor(8, 8), QColor(255, 0, 0));
    QVERIFY(image.pixelColor(40, 20) != QColor(255, 0, 0)); // unscaled
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(15, 15));
    QCoreApplication::sendEvent(panel, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(panel, &leave);
    QCOMPARE(entered, 1);
    QCOMPARE(left, 1);
}

void TstZelLabel::glyphs_data()
{
    QTest::addColumn<int>("icon");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("red") << int(bcRed) << QColor(255, 0, 0);
    QTest::newRow("yellow") << int(bcYellow) << QColor(255, 255, 0);
    QTest::newRow("blue") << int(bcBlue) << QColor(0, 0, 255);
    QTest::newRow("black") << int(bcBlack) << QColor(0, 0, 0);
    QTest::newRow("green") << int(bcGreen) << QColor(0, 255, 0);
}

void TstZelLabel::glyphs()
{
    QFETCH(int, icon);
    QFETCH(QColor, colour);
    TZelSpeedButton button;
    QVERIFY(!button.hasGlyph());
    button.setZelIcon(TZelIcon(icon));
    QVERIFY(button.hasGlyph());
    QCOMPARE(ZelColors::fontColor(&button), colour);
    const QImage normal = button.icon().pixmap(12, 12).toImage();
    QCOMPARE(normal.pixelColor(2, 6), colour);
    QCOMPARE(normal.pixelColor(0, 0).alpha(), 0);
    const QImage disabled = button.icon().pixmap(QSize(12, 12), QIcon::Disabled).toImage();
    const QColor grey = disabled.pixelColor(2, 6);
    QCOMPARE(grey.red(), grey.blue());
    // bcCustom keeps the glyph and the colour there are.
    const qint64 key = button.icon().cacheKey();
    button.setZelIcon(bcCustom);
    QCOMPARE(button.icon().cacheKey(), key);
    QCOMPARE(ZelColors::fontColor(&button), colour);
    QCOMPARE(button.ZelIcon(), bcCustom);
}

void TstZelLabel::shortCutFocusesEdit()
{
    TZelSpockCustom *e = edit(QStringLiteral("CLI_NOME"));
    auto *button = new TZelSpeedButton(m_window.get());
    button->setCaption(QStringLiteral("N"));
    button->setShortCut(QKeySequence(Qt::CTRL | Qt::Key_F)); // before it knows its edit
    e->setZelSpeedButton(button);
    QCOMPARE(button->toolTip(), QStringLiteral("Ctrl+F"));
    QCOMPARE(button->Caption(), QStringLiteral("N"));
    showWindow();
    m_other->setFocus();
    QTRY_VERIFY(m_other->hasFocus());
    QTest::keyClick(m_other, Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(e->hasFocus());

    m_other->setFocus();
    QTRY_VERIFY(m_other->hasFocus());
    e->setEnabled(false);
    QTest::keyClick(m_other, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(m_other->hasFocus());
    e->setEnabled(true);

    button->setShortCut(QKeySequence());
    QCOMPARE(button->Caption(), QString());
    QTest::keyClick(m_other, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(m_other->hasFocus());
}

void TstZelLabel::companionsFollowMovesMadeBeforeShow()
{
    auto *e = new TZelSpockEdit(m_window.get());
    auto *panel = new TZelPanel(m_window.get());
    auto *button = new TZelSpeedButton(m_window.get());
    e->setZelPanel(panel);
    e->setZelSpeedButton(button);
    const QPoint label = e->ZelLabel()->pos();
    const QPoint panelAt = panel->pos();
    const QPoint buttonAt = button->pos();
    // A hidden edit reports these moves only when it is shown, as one move from where it then is.
    e->move(100, 80);
    e->move(120, 90);
    showWindow();
    QCOMPARE(e->ZelLabel()->pos(), label + QPoint(120, 90));
    QCOMPARE(panel->pos(), panelAt + QPoint(120, 90));
    QCOMPARE(button->pos(), buttonAt + QPoint(120, 90));
    e->move(130, 100);
    QCOMPARE(e->ZelLabel()->pos(), label + QPoint(130, 100));
}

QTEST_MAIN(TstZelLabel)
#include "tst_zellabel.moc"
