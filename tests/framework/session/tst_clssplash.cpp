#include "framework/controls/zelimage.h"
#include "framework/controls/zellabel.h"
#include "framework/session/clssplash.h"
#include "framework/session/hinthidepause.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <memory>

class TstClsSplash : public QObject
{
    Q_OBJECT

private slots:
    void layout();
    void drawsItsPictureAndCaption();
    void hintsStayAHundredSeconds_data();
    void hintsStayAHundredSeconds();
};

// A frameless 450 x 310 window in the middle of the screen, the picture over all of it, the caption in the
// strip at the bottom, the repainting timer running.
void TstClsSplash::layout()
{
    TClsSplash splash;
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(splash.size(), QSize(450, 310));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(splash.geometry().center(),
             QRect(screen.topLeft() + QPoint((screen.width() - 450) / 2, (screen.height() - 310) / 2),
                   QSize(450, 310))
                 .center());

    QVERIFY(!splash.imgSplash()->Picture().isNull());
    QCOMPARE(splash.imgSplash()->geometry(), QRect(0, 0, 450, 310));

    TZelLabel *caption = splash.lblCaption();
    QCOMPARE(caption->geometry(), QRect(8, 295, 313, 14));
    QCOMPARE(caption->font().family(), QStringLiteral("Arial"));
    QCOMPARE(caption->font().pointSize(), 8);
    QCOMPARE(caption->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(!caption->text().isEmpty());
    // The caption is one line that fits its label.
    QVERIFY(caption->fontMetrics().horizontalAdvance(caption->text()) <= caption->width());

    QVERIFY(splash.tmrRepaint()->isActive());
    QCOMPARE(splash.tmrRepaint()->interval(), 500);
}

void TstClsSplash::drawsItsPictureAndCaption()
{
    TClsSplash splash;
    splash.showAndPaint();
    QVERIFY(splash.isVisible());
    const QImage shown = splash.grab().toImage();
    const QImage picture = splash.imgSplash()->Picture().toImage().scaled(shown.size());
    // Away from the caption the window shows the picture itself.
    for (const QPoint p : {QPoint(10, 10), QPoint(225, 150), QPoint(440, 280)})
        QCOMPARE(shown.pixelColor(p), picture.pixelColor(p));
    // The caption's white text lands in its strip.
    bool white = false;
    for (int x = 8; x < 321 && !white; ++x)
        for (int y = 295; y < 309 && !white; ++y)
            white = shown.pixelColor(x, y).lightness() > 200 && picture.pixelColor(x, y).lightness() < 100;
    QVERIFY(white);
}

void TstClsSplash::hintsStayAHundredSeconds_data()
{
    QTest::addColumn<bool>("beforeInstall");
    QTest::addColumn<int>("ownDuration");
    QTest::addColumn<int>("expected");
    QTest::newRow("window created afterwards") << false << -1 << 100000;
    QTest::newRow("window that already existed") << true << -1 << 100000;
    QTest::newRow("own duration kept") << false << 3000 << 3000;
}

void TstClsSplash::hintsStayAHundredSeconds()
{
    QFETCH(bool, beforeInstall);
    QFETCH(int, ownDuration);
    std::unique_ptr<QWidget> window;
    QPushButton *button = nullptr;
    auto build = [&] {
        window = std::make_unique<QWidget>();
        button = new QPushButton(QStringLiteral("C&onectar"), window.get());
        button->setToolTip(QStringLiteral("Conectar-se ao banco de dados"));
        button->setToolTipDuration(ownDuration);
    };
    if (beforeInstall)
        build();
    std::unique_ptr<HintHidePause> pause(HintHidePause::install(100000));
    if (!beforeInstall)
        build();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTEST(button->toolTipDuration(), "expected");
    QCOMPARE(window->toolTipDuration(), 100000);
    pause.reset();
    // Without it Qt hides a hint by the length of its text.
    QWidget later;
    later.show();
    QCOMPARE(later.toolTipDuration(), -1);
}

QTEST_MAIN(TstClsSplash)
#include "tst_clssplash.moc"
