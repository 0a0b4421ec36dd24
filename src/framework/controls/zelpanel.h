#pragma once

#include "zelfocuscompanion.h"

#include <QColor>
#include <QFrame>

class TCommonProperties;

/// A panel with a caption; as the description beside an edit it follows the edit's focus, enabled state
/// and position.
class TZelPanel : public QFrame
{
    Q_OBJECT
public:
    enum TBevelCut { bvNone, bvLowered, bvRaised };

    explicit TZelPanel(QWidget *parent = nullptr);
    ~TZelPanel() override;

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

    QWidget *FocusControl() const { return m_companion.control(); }
    void setFocusControl(QWidget *control);
    QColor FocusColor() const { return m_focusColor; }
    void setFocusColor(const QColor &c) { m_focusColor = c; }
    QColor FocusFontColor() const { return m_focusFontColor; }
    void setFocusFontColor(const QColor &c) { m_focusFontColor = c; }

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    Qt::Alignment Alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void setBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TBevelCut cut);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void react(QEvent *event);
    void applyBevel();

    TCommonProperties *m_commonProperties;
    ZelFocusCompanion m_companion;
    QColor m_focusColor;
    QColor m_focusFontColor;
    QColor m_savedColor;
    QColor m_savedFontColor;
    QString m_caption;
    Qt::Alignment m_alignment = Qt::AlignCenter;
    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvRaised;
};
