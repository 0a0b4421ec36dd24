#pragma once

#include "zelfocuscompanion.h"

#include <QIcon>
#include <QKeySequence>
#include <QPointer>
#include <QToolButton>

class QShortcut;
class TCommonProperties;

/// Glyph colours of the companion button.
enum TZelIcon { bcRed, bcYellow, bcBlue, bcBlack, bcGreen, bcCustom };

/// The small button beside an edit: a click sends the edit its open request; it follows the edit's enabled
/// state and position, shows a coloured glyph, and its shortcut puts the focus in the edit from anywhere in
/// the application.
class TZelSpeedButton : public QToolButton
{
    Q_OBJECT
public:
    enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

    explicit TZelSpeedButton(QWidget *parent = nullptr);
    ~TZelSpeedButton() override;

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

    QWidget *FocusControl() const { return m_companion.control(); }
    /// Also moves the shortcut to the new control and takes its font.
    void setFocusControl(QWidget *control);

    TZelIcon ZelIcon() const { return m_icon; }
    /// Any colour but bcCustom loads that colour's glyph and sets the text colour of that colour;
    /// bcCustom keeps the glyph there is.
    void setZelIcon(TZelIcon icon);
    /// The glyph of a colour: the normal and the disabled picture.
    static QIcon Glyph(TZelIcon icon);
    bool hasGlyph() const { return !icon().isNull(); }
    void setGlyph(const QIcon &glyph) { setIcon(glyph); }

    QString Caption() const { return text(); }
    void setCaption(const QString &caption) { setText(caption); }
    TButtonLayout Layout() const { return m_layout; }
    void setLayout(TButtonLayout layout);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on) { m_autoSize = on; }
    bool Flat() const { return autoRaise(); }
    void setFlat(bool on) { setAutoRaise(on); }

    /// Puts the focus in the focus control; its text becomes the hint. An empty one empties the caption.
    QKeySequence ShortCut() const { return m_shortCut; }
    void setShortCut(const QKeySequence &shortCut);
    /// After a form has been read: the shortcut is applied to the focus control known by then.
    void Loaded() { setShortCut(m_shortCut); }

private:
    void react(QEvent *event);
    void sendOpenRequest();
    void focusTarget();

    TCommonProperties *m_commonProperties;
    ZelFocusCompanion m_companion;
    TZelIcon m_icon = bcCustom;
    TButtonLayout m_layout = blGlyphLeft;
    bool m_autoSize = false;
    QKeySequence m_shortCut;
    QPointer<QShortcut> m_hotKey;
};
