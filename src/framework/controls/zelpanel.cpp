#include "zelpanel.h"

#include "commonproperties.h"
#include "zelcolors.h"
#include "zelspockcustom.h"

#include <QEnterEvent>
#include <QEvent>
#include <QPainter>

TZelPanel::TZelPanel(QWidget *parent)
    : QFrame(parent), m_commonProperties(new TCommonProperties(this)),
      m_companion([this](QEvent *e) { react(e); }), m_focusColor(ZelColors::cl3DLight()),
      m_focusFontColor(ZelColors::clWindowText())
{
    setAutoFillBackground(true);
    applyBevel();
    m_link.setControl(this);
    m_link.OnDataChange = [this](TZelFieldDataLink *) { showField(); };
    m_link.OnActiveChange = [this](TZelFieldDataLink *) { update(); };
}

TZelPanel::~TZelPanel()
{
    m_link.OnDataChange = nullptr;
    m_link.OnActiveChange = nullptr;
    setFocusControl(nullptr);
}

void TZelPanel::setDataField(const QString &name)
{
    m_link.setFieldName(name.toUpper());
}

void TZelPanel::setDataSource(db::DataSource *source)
{
    m_link.setDataSource(source);
    showField();
}

void TZelPanel::showField()
{
    if (!DataSource())
        return;
    const db::Field *f = m_link.Field();
    setCaption(f ? f->displayText() : QString());
}

void TZelPanel::Loaded()
{
    if (DataSource())
        setCaption(QString());
    showField();
}

void TZelPanel::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void TZelPanel::setBorderWidth(int width)
{
    m_borderWidth = qMax(0, width);
    update();
}

void TZelPanel::enterEvent(QEnterEvent *event)
{
    QFrame::enterEvent(event);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TZelPanel::leaveEvent(QEvent *event)
{
    QFrame::leaveEvent(event);
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TZelPanel::setFocusControl(QWidget *control)
{
    if (control == FocusControl()) {
        m_companion.resync();
        return;
    }
    if (auto *edit = qobject_cast<TZelSpockCustom *>(FocusControl()); edit && edit->ZelPanel() == this)
        edit->setZelPanel(nullptr);
    m_companion.setControl(control);
}

void TZelPanel::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TZelPanel::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void TZelPanel::setBevelInner(TBevelCut cut)
{
    m_bevelInner = cut;
    applyBevel();
}

void TZelPanel::setBevelOuter(TBevelCut cut)
{
    m_bevelOuter = cut;
    applyBevel();
}

void TZelPanel::applyBevel()
{
    const TBevelCut cut = m_bevelOuter != bvNone ? m_bevelOuter : m_bevelInner;
    setFrameShape(cut == bvNone ? QFrame::NoFrame : QFrame::Panel);
    setFrameShadow(cut == bvLowered ? QFrame::Sunken : QFrame::Raised);
    setLineWidth(1);
}

void TZelPanel::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    if (!m_caption.isEmpty()) {
        painter.setPen(
            palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        const int inset = 2 + m_borderWidth;
        painter.drawText(contentsRect().adjusted(inset, 0, -inset, 0), int(m_alignment | Qt::AlignVCenter),
                         m_caption);
    }
    if (m_picture.isNull())
        return;
    painter.drawPixmap(0, 0, m_picture);
    QPen pen(QColor(199, 207, 220));
    pen.setWidth(3);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

void TZelPanel::react(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (FocusControl())
            setEnabled(zelOwnEnabled(FocusControl()));
        break;
    case QEvent::FocusIn:
        m_savedColor = ZelColors::color(this);
        m_savedFontColor = ZelColors::fontColor(this);
        ZelColors::setColor(this, m_focusColor);
        ZelColors::setFontColor(this, m_focusFontColor);
        break;
    case QEvent::FocusOut:
        if (m_savedColor.isValid()) {
            ZelColors::setColor(this, m_savedColor);
            ZelColors::setFontColor(this, m_savedFontColor);
        }
        break;
    case QEvent::Move:
        zelFollowMove(this, m_companion.takeDisplacement());
        break;
    default:
        break;
    }
}
