#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>

class QWidget;
class TZelListBox;
class TZelSpockCustom;

/// How the codes of a value list and its mapped values are compared.
enum TListDataType { stString, stInteger };

/// The value list of an edit in list mode: items "code - description", optional mapped values, and the
/// dropdown that shows them.
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

    bool isDropped() const { return m_dropped; }
    QWidget *dropDownWindow() const { return m_window; }
    TZelListBox *listBox() const;
    void DropDown();
    void CloseUp();

private:
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
    bool m_dropped = false;
    QString m_savedText;
    QPointer<QWidget> m_window;
    QPointer<TZelListBox> m_listBox;
};
