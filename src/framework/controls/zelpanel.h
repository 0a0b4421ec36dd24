#pragma once

#include "zelfielddatalink.h"
#include "zelfocuscompanion.h"

#include <QColor>
#include <QFrame>
#include <QPixmap>

#include <functional>

class TCommonProperties;

/// Panel kinds; stored for the forms, nothing depends on them.
enum TZelPanelKind { pkExternal, pkInternal };

/// A panel with a caption; as the description beside an edit it follows the edit's focus, enabled state
/// and position. It can show a field's text, and paint a framed picture.
class TZelPanel : public QFrame
{
    Q_OBJECT
public:
    enum TBevelCut { bvNone, bvLowered, bvRaised };
    using NotifyEvent = std::function<void(TZelPanel *sender)>;

    explicit TZelPanel(QWidget *parent = nullptr);
    ~TZelPanel() override;

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

    QWidget *FocusControl() const { return m_companion.control(); }
    void setFocusControl(QWidget *control);
    QColor FocusColor() const { return m_focusColor; }
    void setFocusColor(const QColor &c) { m_focusColor = c; }
    QColor FocusFontColor() const { return m_focusFontColor; }
    void setFocusFontColor(const QColor &c) { m_focusFontColor = c; }
    TZelPanelKind PanelKind() const { return m_panelKind; }
    void setPanelKind(TZelPanelKind kind) { m_panelKind = kind; }

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    Qt::Alignment Alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment);
    TBevelCut BevelInner() const { return m_bevelInner; }
    void setBevelInner(TBevelCut cut);
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void setBevelOuter(TBevelCut cut);
    /// Space between the bevels and the caption.
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width);

    // The panel's own field: its display text becomes the caption at every record change.
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString &name);
    db::DataSource *DataSource() const { return m_link.dataSource(); }
    void setDataSource(db::DataSource *source);
    TZelFieldDataLink &dataLink() { return m_link; }
    /// After a form has been read: a bound panel drops its design caption.
    void Loaded();

    /// Drawn unscaled at the top-left corner, inside a frame.
    QPixmap Picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);

    NotifyEvent OnMouseEnter;
    NotifyEvent OnMouseLeave;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void react(QEvent *event);
    void applyBevel();
    void showField();

    TCommonProperties *m_commonProperties;
    ZelFocusCompanion m_companion;
    TZelFieldDataLink m_link;
    QColor m_focusColor;
    QColor m_focusFontColor;
    QColor m_savedColor;
    QColor m_savedFontColor;
    QString m_caption;
    Qt::Alignment m_alignment = Qt::AlignCenter;
    TBevelCut m_bevelInner = bvNone;
    TBevelCut m_bevelOuter = bvRaised;
    int m_borderWidth = 0;
    TZelPanelKind m_panelKind = pkExternal;
    QPixmap m_picture;
};
