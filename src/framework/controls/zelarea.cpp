#include "zelarea.h"

#include "areaenabling.h"
#include "commonproperties.h"

#include <QPainter>
#include <QPen>

TZelArea::TZelArea(QWidget *parent)
    : QFrame(parent), m_link(this), m_commonProperties(new TCommonProperties(this))
{}

TZelArea::~TZelArea()
{
    m_link.setDataSource(nullptr);
}

void TZelArea::setDataSource(db::DataSource *source)
{
    m_link.setDataSource(source);
}

void TZelArea::setActive(bool on)
{
    if (!on && on == m_active)
        return;
    if (findChildren<QWidget *>(Qt::FindDirectChildrenOnly).isEmpty())
        return;
    Activate(on);
    m_active = on;
}

void TZelArea::Activate(bool on)
{
    if (on && BeforeActivate)
        BeforeActivate(this);
    if (!on && BeforeDeactivate)
        BeforeDeactivate(this);
    ZelAreaEnabling::enableControls(this, on, m_link.state(), true, LookUpFunction, LookUpFormClass);
    if (on && AfterActivate)
        AfterActivate(this);
    if (!on && AfterDeactivate)
        AfterDeactivate(this);
}

void TZelArea::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void TZelArea::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    QPen pen(QColor(199, 207, 220));
    pen.setWidth(3);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}
