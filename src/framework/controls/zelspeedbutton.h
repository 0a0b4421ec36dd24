#pragma once

#include "zelfocuscompanion.h"

#include <QToolButton>

class TCommonProperties;

/// Glyph colours of the companion button.
enum TZelIcon { bcRed, bcYellow, bcBlue, bcBlack, bcGreen, bcCustom };

/// The small button beside an edit: a click sends the edit its open request; it follows the edit's enabled
/// state and position.
class TZelSpeedButton : public QToolButton
{
    Q_OBJECT
public:
    enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

    explicit TZelSpeedButton(QWidget *parent = nullptr);
    ~TZelSpeedButton() override;

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

    QWidget *FocusControl() const { return m_companion.control(); }
    void setFocusControl(QWidget *control);

    TZelIcon ZelIcon() const { return m_icon; }
    /// Any colour but bcCustom also sets the text colour of that colour.
    void setZelIcon(TZelIcon icon);
    bool hasGlyph() const { return !icon().isNull(); }
    TButtonLayout Layout() const { return m_layout; }
    void setLayout(TButtonLayout layout);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on) { m_autoSize = on; }
    bool Flat() const { return autoRaise(); }
    void setFlat(bool on) { setAutoRaise(on); }

private:
    void react(QEvent *event);
    void sendOpenRequest();

    TCommonProperties *m_commonProperties;
    ZelFocusCompanion m_companion;
    TZelIcon m_icon = bcCustom;
    TButtonLayout m_layout = blGlyphLeft;
    bool m_autoSize = false;
};
