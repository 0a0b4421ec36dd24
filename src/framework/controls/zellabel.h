#pragma once

#include "zelfielddatalink.h"
#include "zelfocuscompanion.h"

#include <QColor>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QString>

#include <vector>

class TCommonProperties;
class TZelLabel;

/// One field the zoom window of a caption shows.
struct TZoomItem
{
    QString DataField;
};

/// The fields of a caption's zoom window, in the order shown; the names are kept upper-cased.
class TZoomItems
{
public:
    int Count() const { return int(m_items.size()); }
    const TZoomItem &Items(int i) const { return m_items.at(size_t(i)); }
    TZoomItem &Add(const QString &dataField = {});
    void setDataField(int i, const QString &dataField);
    void Delete(int i);
    void Clear() { m_items.clear(); }

private:
    std::vector<TZoomItem> m_items;
};

/// Whether a caption opens its zoom window on a click, and the data source whose record it shows.
class TZoomOptions
{
public:
    explicit TZoomOptions(TZelLabel *label) : m_label(label) {}

    bool Enabled() const { return m_enabled; }
    /// Turning the zoom on turns the caption's quick search off.
    void setEnabled(bool on);
    db::DataSource *DataSource() const { return m_dataSource; }
    void setDataSource(db::DataSource *source) { m_dataSource = source; }

private:
    TZelLabel *m_label;
    bool m_enabled = false;
    QPointer<db::DataSource> m_dataSource;
};

/// The caption above an edit: takes its edit's focus colour and moves along with it, can show a field,
/// and at a click either searches the edit's data set for a typed value or shows a zoom window with some
/// fields of the current record.
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
    /// With AutoSize the label takes the size of its text. Ignored while the label shows a field.
    void setCaption(const QString &caption);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

    // The label's own field.
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString &name);
    db::DataSource *DataSource() const { return m_link.dataSource(); }
    void setDataSource(db::DataSource *source);
    TZelFieldDataLink &dataLink() { return m_link; }
    /// After a form has been read: a bound label drops its design caption.
    void Loaded();

    /// A click may search the focus control's data set.
    bool LocateEnabled() const { return m_locateEnabled; }
    /// Turning the quick search on turns the zoom off.
    void setLocateEnabled(bool on);
    TZoomItems &ZoomItems() { return m_zoomItems; }
    TZoomOptions &ZoomOptions() { return m_zoomOptions; }

    /// The focus control is a bound edit whose data set is browsing, and the quick search is on.
    bool CanQuickSearch() const;
    bool CanZoom() const;
    /// Opens the quick-search window (modal); answers whether the data set moved to a found record.
    bool QuickSearch();
    /// Opens the zoom window, or closes the open one.
    void ToggleZoom();
    /// The open quick-search window (while it is shown) and zoom window.
    QDialog *quickSearchWindow() const { return m_quickSearch; }
    QWidget *zoomWindow() const { return m_zoom; }

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void react(QEvent *event);
    void showField();
    void applyCaption(const QString &caption);
    void closeZoom(bool fromHide);
    void buildZoom();
    void searchKey(QKeyEvent *event);

    TCommonProperties *m_commonProperties;
    ZelFocusCompanion m_companion;
    TZelFieldDataLink m_link;
    QColor m_focusColor;
    QColor m_focusFontColor;
    QColor m_savedColor;
    QColor m_savedFontColor;
    bool m_autoSize = true;
    bool m_boundEdit = false;
    bool m_locateEnabled = true;
    TZoomItems m_zoomItems;
    TZoomOptions m_zoomOptions{this};
    QPointer<QWidget> m_zoom;
    QPointer<QDialog> m_quickSearch;
    QPointer<QWidget> m_searchEdit;
};
