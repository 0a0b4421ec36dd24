#pragma once

#include "zelfocuscompanion.h"

#include <QColor>
#include <QLabel>

class TCommonProperties;

/// The caption above an edit: takes its edit's focus colour and moves along with it.
class TZelLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TZelLabel(QWidget *parent = nullptr);
    ~TZelLabel() override;

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

    QWidget *FocusControl() const { return m_companion.control(); }
    void setFocusControl(QWidget *control);

    QColor FocusColor() const { return m_focusColor; }
    void setFocusColor(const QColor &c) { m_focusColor = c; }
    /// Font colour while the focus control has the focus.
    QColor FocusFontColor() const { return m_focusFontColor; }
    void setFocusFontColor(const QColor &c) { m_focusFontColor = c; }

    QString Caption() const { return text(); }
    /// With AutoSize the label takes the size of its text.
    void setCaption(const QString &caption);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

private:
    void react(QEvent *event);

    TCommonProperties *m_commonProperties;
    ZelFocusCompanion m_companion;
    QColor m_focusColor;
    QColor m_focusFontColor;
    QColor m_savedColor;
    QColor m_savedFontColor;
    bool m_autoSize = true;
};
