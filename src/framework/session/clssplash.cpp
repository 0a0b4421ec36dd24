#include "clssplash.h"

#include "framework/controls/zelimage.h"
#include "framework/controls/zellabel.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTimer>

namespace {

constexpr int kWidth = 450;
constexpr int kHeight = 310;

QString captionText()
{
    return QStringLiteral("Quintaris %1 · carregando…").arg(QCoreApplication::applicationVersion());
}

} // namespace

TClsSplash::TClsSplash(QWidget *parent)
    // An ordinary window without a frame: a window manager may keep a window of the splash-screen kind above
    // every other, and the start-up dialogs must open over this one.
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_image(new TZelImage(this)),
      m_caption(new TZelLabel(this)), m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("TClsSplash"));
    setFixedSize(kWidth, kHeight);

    m_image->setObjectName(QStringLiteral("imgSplash"));
    m_image->setPicture(QPixmap(QStringLiteral(":/session/splash.png")));
    m_image->setStretch(true);
    m_image->setGeometry(0, 0, kWidth, kHeight);

    m_caption->setObjectName(QStringLiteral("lblCaption"));
    m_caption->setAttribute(Qt::WA_TranslucentBackground);
    m_caption->setAutoFillBackground(false);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    m_caption->setFont(font);
    QPalette palette = m_caption->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    m_caption->setPalette(palette);
    m_caption->setGeometry(8, 295, 313, 14);
    m_caption->setText(captionText());

    m_timer->setObjectName(QStringLiteral("tmrRepaint"));
    m_timer->setInterval(500);
    connect(m_timer, &QTimer::timeout, this, [this] { repaint(); });
    m_timer->start();

    centreOnScreen();
}

TClsSplash::~TClsSplash() = default;

void TClsSplash::centreOnScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - kWidth) / 2, area.y() + (area.height() - kHeight) / 2);
}

void TClsSplash::showAndPaint()
{
    show();
    raise();
    repaint();
}
