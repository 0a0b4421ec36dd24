#pragma once

#include <QList>
#include <QStatusBar>

class QLabel;
class TCommonProperties;

/// A status bar with fixed panels; the panel at HintPanelIndex shows the long hint of the focused control.
class TZelStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit TZelStatusBar(QWidget *parent = nullptr);
    ~TZelStatusBar() override;

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

    /// -1: no hint shown.
    int HintPanelIndex() const { return m_hintPanelIndex; }
    void setHintPanelIndex(int index) { m_hintPanelIndex = index; }

    /// Appends a panel of this width (the last one may stretch); answers its index.
    int addPanel(int width, const QString &text = {});
    int panelCount() const { return int(m_panels.size()); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);
    /// In simple mode one text fills the bar instead of the panels.
    bool SimplePanel() const { return m_simple; }
    void setSimplePanel(bool on);
    QString SimpleText() const { return m_simpleText; }
    void setSimpleText(const QString &text);

    /// Shows the hint of this control (the focus controller calls it on every focus change).
    void showHint(const QWidget *control);

private:
    TCommonProperties *m_commonProperties;
    QList<QLabel *> m_panels;
    int m_hintPanelIndex = 1;
    bool m_simple = false;
    QString m_simpleText;
};

/// The long part of a hint "short|long" (the whole hint when it has no "|").
QString zelLongHint(const QString &hint);
