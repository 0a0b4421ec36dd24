#include "zelspeedbutton.h"

#include "commonproperties.h"
#include "zelcolors.h"
#include "zelevents.h"
#include "zelspockcustom.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QShortcut>

namespace {

constexpr int GlyphSize = 12;

QColor glyphColour(TZelIcon icon)
{
    switch (icon) {
    case bcRed:
        return QColor(255, 0, 0);
    case bcYellow:
        return QColor(255, 255, 0);
    case bcBlue:
        return QColor(0, 0, 255);
    case bcGreen:
        return QColor(0, 255, 0);
    case bcBlack:
    case bcCustom:
        break;
    }
    return QColor(0, 0, 0);
}

/// A ball of the colour with a small arrow pointing down: "open the list".
QPixmap drawGlyph(const QColor &fill, bool enabled)
{
    QPixmap pixmap(GlyphSize, GlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body = enabled ? fill : QColor(160, 160, 160);
    const QColor rim = enabled ? body.darker(170) : QColor(128, 128, 128);
    p.setPen(QPen(body == QColor(0, 0, 0) ? QColor(96, 96, 96) : rim, 1));
    p.setBrush(body);
    p.drawEllipse(QRectF(0.5, 0.5, GlyphSize - 1, GlyphSize - 1));
    // The arrow stands out on dark and light balls alike.
    const bool light = enabled && body.lightness() > 150;
    p.setPen(Qt::NoPen);
    p.setBrush(light ? QColor(0, 0, 0) : QColor(255, 255, 255));
    QPainterPath arrow;
    arrow.moveTo(3, 4.5);
    arrow.lineTo(GlyphSize - 3, 4.5);
    arrow.lineTo(GlyphSize / 2.0, GlyphSize - 3.5);
    arrow.closeSubpath();
    p.drawPath(arrow);
    return pixmap;
}

} // namespace

TZelSpeedButton::TZelSpeedButton(QWidget *parent)
    : QToolButton(parent), m_commonProperties(new TCommonProperties(this)),
      m_companion([this](QEvent *e) { react(e); })
{
    QFont f = font();
    f.setBold(true);
    f.setUnderline(true);
    setFont(f);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(GlyphSize, GlyphSize));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    connect(this, &QToolButton::clicked, this, &TZelSpeedButton::sendOpenRequest);
    setShortCut(QKeySequence());
}

TZelSpeedButton::~TZelSpeedButton()
{
    delete m_hotKey.data();
    setFocusControl(nullptr);
}

void TZelSpeedButton::setFocusControl(QWidget *control)
{
    if (control == FocusControl()) {
        m_companion.resync();
        return;
    }
    if (auto *edit = qobject_cast<TZelSpockCustom *>(FocusControl()); edit && edit->ZelSpeedButton() == this)
        edit->setZelSpeedButton(nullptr);
    m_companion.setControl(control);
    setShortCut(m_shortCut);
    if (control) {
        QFont f = font();
        f.setFamily(control->font().family());
        f.setPointSizeF(control->font().pointSizeF());
        setFont(f);
    }
}

QIcon TZelSpeedButton::Glyph(TZelIcon icon)
{
    QIcon glyph;
    const QColor fill = glyphColour(icon);
    glyph.addPixmap(drawGlyph(fill, true), QIcon::Normal);
    glyph.addPixmap(drawGlyph(fill, false), QIcon::Disabled);
    return glyph;
}

void TZelSpeedButton::setZelIcon(TZelIcon icon)
{
    if (icon != bcCustom) {
        setIcon(QIcon());
        setIcon(Glyph(icon));
        ZelColors::setFontColor(this, glyphColour(icon));
    }
    m_icon = icon;
}

void TZelSpeedButton::setLayout(TButtonLayout layout)
{
    m_layout = layout;
    setLayoutDirection(layout == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
    setToolButtonStyle(layout == blGlyphTop || layout == blGlyphBottom ? Qt::ToolButtonTextUnderIcon
                                                                       : Qt::ToolButtonTextBesideIcon);
}

void TZelSpeedButton::setShortCut(const QKeySequence &shortCut)
{
    delete m_hotKey.data();
    m_hotKey = nullptr;
    if (!shortCut.isEmpty()) {
        // The hot key belongs to the application: pressed in any of its windows it reaches the edit. A
        // Ctrl+digit also answers to the digit of the numeric keypad.
        if (QWidget *control = FocusControl()) {
            m_hotKey = new QShortcut(shortCut, control);
            m_hotKey->setContext(Qt::ApplicationShortcut);
            connect(m_hotKey, &QShortcut::activated, this, &TZelSpeedButton::focusTarget);
        }
        setToolTip(shortCut.toString(QKeySequence::NativeText));
    } else {
        setText(QString());
    }
    m_shortCut = shortCut;
}

void TZelSpeedButton::focusTarget()
{
    QWidget *control = FocusControl();
    if (!control || !control->isEnabled() || !control->isVisible() || control->focusPolicy() == Qt::NoFocus)
        return;
    control->window()->activateWindow();
    control->setFocus(Qt::ShortcutFocusReason);
}

void TZelSpeedButton::sendOpenRequest()
{
    if (QWidget *target = FocusControl()) {
        QEvent request(ZelEvents::OpenRequest);
        QCoreApplication::sendEvent(target, &request);
    }
}

void TZelSpeedButton::react(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        if (FocusControl())
            setEnabled(zelOwnEnabled(FocusControl()));
        break;
    case QEvent::Move:
        zelFollowMove(this, m_companion.takeDisplacement());
        break;
    default:
        break;
    }
}
