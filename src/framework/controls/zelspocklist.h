#pragma once

#include "zelspockform.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>

class QObject;
class TZelListBox;
class TZelSpockCustom;

/// How the codes of a value list and its mapped values are compared.
enum TListDataType { stString, stInteger };

/// The value list of an edit in list mode: items "code - description", optional mapped values, and the
/// dropdown that shows them.
///
/// While the dropdown is open the list watches the edit's events before the edit does (Enter, Escape, the
/// vertical arrows and the loss of the focus) and the list box's mouse (hot tracking, a click picks).
class TZelSpockList
{
public:
    explicit TZelSpockList(TZelSpockCustom *edit);
    ~TZelSpockList();
    TZelSpockList(const TZelSpockList &) = delete;
    TZelSpockList &operator=(const TZelSpockList &) = delete;

    TZelSpockCustom *edit() const { return m_edit; }

    QStringList Items() const { return m_items; }
    void setItems(const QStringList &items) { m_items = items; }
    QStringList Values() const { return m_values; }
    void setValues(const QStringList &values) { m_values = values; }
    /// The field holds the entry of Values at the chosen item's position instead of the code.
    bool MapValues() const { return m_mapValues; }
    void setMapValues(bool on) { m_mapValues = on; }
    /// Splits an item into its code and its description.
    QString Separator() const { return m_separator; }
    void setSeparator(const QString &separator) { m_separator = separator; }
    /// Dropdown width; 0 lets the edit compute it.
    int Width() const { return m_width; }
    void setWidth(int width) { m_width = width; }
    /// Maximum dropdown height in pixels.
    int Height() const { return m_height; }
    void setHeight(int height) { m_height = height; }
    bool TrimValue() const { return m_trimValue; }
    void setTrimValue(bool on) { m_trimValue = on; }
    TListDataType ListDataType() const { return m_listDataType; }
    void setListDataType(TListDataType t) { m_listDataType = t; }
    TListDataType MapDataType() const { return m_mapDataType; }
    void setMapDataType(TListDataType t) { m_mapDataType = t; }

    /// Position of the first item whose code matches the text, or -1.
    int IndexOfItem(const QString &text) const;
    /// Position of the value in Values, or -1.
    int IndexOfValue(const QString &value) const;
    /// The code part of an item.
    QString codeOf(const QString &item) const;
    /// The description part of an item (after the separator), empty when it has none.
    QString descriptionOf(const QString &item) const;

    /// Row height of the dropdown in pixels; 0 (the default) takes the height of the list box's font.
    int ItemHeight() const { return m_itemHeight; }
    void setItemHeight(int height) { m_itemHeight = qMax(0, height); }

    bool isDropped() const { return m_dropped; }
    TZelSpockForm *dropDownWindow() const { return m_window; }
    TZelListBox *listBox() const;
    /// Opens the dropdown below the edit with the item of the edit's code highlighted.
    void DropDown();
    void CloseUp();
    /// Puts a text into the edit as if typed, or the highlighted item when text is SelectedItem(); then
    /// closes the dropdown when asked. Nothing is put when no item is highlighted.
    void Select(const QString &text, bool close);
    /// The marker that makes Select() take the highlighted item.
    static QString SelectedItem();

    /// What the edit does on every change of its text in list mode: highlights the item of the code in an
    /// open dropdown and shows its description in the edit's panel.
    void TextChange();

private:
    class Router;
    friend class Router;

    bool codeMatches(const QString &code, const QString &text) const;
    void handleFocusLoss();

    TZelSpockCustom *m_edit;
    QStringList m_items;
    QStringList m_values;
    bool m_mapValues = false;
    QString m_separator;
    int m_width = 0;
    int m_height = 43;
    bool m_trimValue = true;
    TListDataType m_listDataType = stString;
    TListDataType m_mapDataType = stString;
    int m_itemHeight = 0;
    bool m_dropped = false;
    QString m_savedText;
    bool m_mousePressed = false;
    QPointer<TZelSpockForm> m_window;
    QPointer<TZelListBox> m_listBox;
    std::unique_ptr<Router> m_router;
};
