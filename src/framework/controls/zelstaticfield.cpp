#include "zelstaticfield.h"

#include "zelcolors.h"
#include "zellabel.h"
#include "zelspockcustom.h"

#include <QRegularExpression>

TZelStaticField::TZelStaticField(TZelSpockCustom *edit) : m_edit(edit), m_label(new TZelLabel)
{
    m_label->setAutoSize(false);
    m_label->setAutoFillBackground(true);
    m_label->resize(m_label->width(), m_label->fontMetrics().height());
    m_label->hide();
}

TZelStaticField::~TZelStaticField()
{
    delete m_label.data();
}

void TZelStaticField::setVisible(bool on)
{
    if (on == m_visible)
        return;
    m_visible = on;
    if (m_label && !m_edit->isLoading())
        m_edit->resize(m_edit->width(), m_edit->height() + (on ? m_label->height() : -m_label->height()));
    Arrange();
}

void TZelStaticField::Arrange()
{
    if (!m_label || !m_edit->parentWidget())
        return;
    QString caption = m_edit->objectName();
    caption.remove(QRegularExpression(QStringLiteral("[0-9]")));
    m_label->setCaption(caption + QStringLiteral("Title"));
    m_label->setAutoSize(false);
    if (m_visible) {
        m_label->setParent(m_edit);
        m_label->setGeometry(0, 0, m_edit->contentsRect().width(), m_label->height());
        m_label->show();
    } else {
        m_label->hide();
        m_label->setParent(nullptr);
        m_label->move(0, 0);
    }
    m_edit->SetEditRect();
}

Qt::Alignment TZelStaticField::Alignment() const
{
    return m_label->alignment();
}

void TZelStaticField::setAlignment(Qt::Alignment alignment)
{
    m_label->setAlignment(alignment);
}

QColor TZelStaticField::NormalColor() const
{
    return ZelColors::color(m_label);
}

void TZelStaticField::setNormalColor(const QColor &c)
{
    ZelColors::setColor(m_label, c);
}

QColor TZelStaticField::NormalFontColor() const
{
    return ZelColors::fontColor(m_label);
}

void TZelStaticField::setNormalFontColor(const QColor &c)
{
    ZelColors::setFontColor(m_label, c);
}

QColor TZelStaticField::FocusColor() const
{
    return m_label->FocusColor();
}

void TZelStaticField::setFocusColor(const QColor &c)
{
    m_label->setFocusColor(c);
}

QColor TZelStaticField::FocusFontColor() const
{
    return m_label->FocusFontColor();
}

void TZelStaticField::setFocusFontColor(const QColor &c)
{
    m_label->setFocusFontColor(c);
}
