#include "titlestrip.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QWidget>

QWidget *CreateTitleStrip(QWidget *parent, const QString &title, int width)
{
    auto *strip = new QWidget(parent);
    strip->setObjectName(QStringLiteral("pnlTitulo"));
    strip->setAutoFillBackground(true);
    QPalette pal = strip->palette();
    pal.setColor(QPalette::Window, Qt::white);
    strip->setPalette(pal);
    strip->setGeometry(0, 0, width, 48);
    auto *layout = new QHBoxLayout(strip);
    layout->setContentsMargins(8, 4, 8, 4);
    auto *icon = new QLabel(strip);
    icon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(32, 32));
    auto *text = new QLabel(title, strip);
    QFont font = text->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 4);
    text->setFont(font);
    layout->addWidget(icon);
    layout->addWidget(text, 1);
    return strip;
}
