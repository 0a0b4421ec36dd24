#pragma once

#include <QColor>
#include <QPointer>

class TZelLabel;
class TZelSpockCustom;

/// The title strip an edit can show inside itself, above its text.
class TZelStaticField
{
public:
    explicit TZelStaticField(TZelSpockCustom *edit);
    virtual ~TZelStaticField();
    TZelStaticField(const TZelStaticField &) = delete;
    TZelStaticField &operator=(const TZelStaticField &) = delete;

    TZelLabel *Label() const { return m_label; }

    bool Visible() const { return m_visible; }
    /// Grows (or shrinks) the edit by the strip's height, then arranges the strip.
    void setVisible(bool on);
    Qt::Alignment Alignment() const;
    void setAlignment(Qt::Alignment alignment);
    QColor NormalColor() const;
    void setNormalColor(const QColor &c);
    QColor NormalFontColor() const;
    void setNormalFontColor(const QColor &c);
    QColor FocusColor() const;
    void setFocusColor(const QColor &c);
    QColor FocusFontColor() const;
    void setFocusFontColor(const QColor &c);

    /// Places the strip at the top of the edit (or takes it away) and sets the edit's text area.
    virtual void Arrange();

private:
    TZelSpockCustom *m_edit;
    QPointer<TZelLabel> m_label;
    bool m_visible = false;
};
