#include "zelimage.h"

#include "commonproperties.h"

#include <QEnterEvent>
#include <QPainter>

TZelImage::TZelImage(QWidget *parent) : QWidget(parent), m_commonProperties(new TCommonProperties(this)) {}

TZelImage::~TZelImage() = default;

void TZelImage::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    updateGeometry();
    update();
}

void TZelImage::setStretch(bool stretch)
{
    if (m_stretch == stretch)
        return;
    m_stretch = stretch;
    update();
}

QSize TZelImage::sizeHint() const
{
    return m_picture.isNull() ? QSize(105, 105) : m_picture.deviceIndependentSize().toSize();
}

void TZelImage::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_stretch) {
        painter.drawPixmap(rect(), m_picture);
        return;
    }
    painter.drawPixmap(QPoint(0, 0), m_picture);
}

void TZelImage::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TZelImage::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (OnMouseLeave)
        OnMouseLeave(this);
}
