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

void TZelImage::setCenter(bool center)
{
    if (m_center == center)
        return;
    m_center = center;
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
    const QSize size = m_picture.deviceIndependentSize().toSize();
    QPoint origin(0, 0);
    if (m_center)
        origin = QPoint((width() - size.width()) / 2, (height() - size.height()) / 2);
    painter.drawPixmap(origin, m_picture);
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
