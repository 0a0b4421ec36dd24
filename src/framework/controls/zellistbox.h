#pragma once

#include <QListWidget>

class TCommonProperties;

/// The framework's list box: a list widget the areas can manage, with rows of one fixed height.
class TZelListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit TZelListBox(QWidget *parent = nullptr);

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

    /// Height of every row in pixels; 0 (the default) takes the height of the font.
    int ItemHeight() const;
    void setItemHeight(int height);
    /// The row under a point of the viewport, or -1.
    int ItemAtPos(const QPoint &pos) const;
    /// The selected row, or -1 when none is selected.
    int ItemIndex() const;
    /// Selects a row (-1: none).
    void setItemIndex(int row);

private:
    TCommonProperties *m_commonProperties;
    int m_itemHeight = 0;
};
