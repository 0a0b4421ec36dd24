#include "zelpanel.h"

#include "commonproperties.h"
#include "zelcolors.h"
#include "zelspockcustom.h"

#include <QEvent>
#include <QPainter>

TZelPanel::TZelPanel(QWidget *parent)
    : QFrame(parent), m_commonProperties(new TCommonProperties(this)),
      m_companion([this](QEvent *e) { react(e); }), m_focusColor(ZelColors::cl3DLight()),
      m_focusFontColor(ZelColors::clWindowText())
{
    setAutoFillBackground(true);
    applyBevel();
}

TZelPanel::~TZelPanel()
{
    setFocusControl(nullptr);
}

void TZelPanel::setFocusControl(QWidget *control)
{
    if (control == FocusControl())
        return;
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
    if (m_caption.isEmpty())
        return;
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(contentsRect().adjusted(2, 0, -2, 0), int(m_alignment | Qt::AlignVCenter), m_caption);
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
        zelFollowMove(this, event);
        break;
    default:
        break;
    }
}
