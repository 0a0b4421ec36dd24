#include "zellistbox.h"

#include "commonproperties.h"

#include <QStyledItemDelegate>

namespace {

/// Gives every row the list box's item height, whatever the style would make of the font.
class FixedRowDelegate final : public QStyledItemDelegate
{
public:
    explicit FixedRowDelegate(TZelListBox *list) : QStyledItemDelegate(list), m_list(list) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_list->ItemHeight());
        return size;
    }

private:
    TZelListBox *m_list;
};

} // namespace

TZelListBox::TZelListBox(QWidget *parent)
    : QListWidget(parent), m_commonProperties(new TCommonProperties(this))
{
    setItemDelegate(new FixedRowDelegate(this));
    setUniformItemSizes(true);
}

int TZelListBox::ItemHeight() const
{
    return m_itemHeight > 0 ? m_itemHeight : fontMetrics().height();
}

void TZelListBox::setItemHeight(int height)
{
    m_itemHeight = qMax(0, height);
    doItemsLayout();
}

int TZelListBox::ItemAtPos(const QPoint &pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() : -1;
}

int TZelListBox::ItemIndex() const
{
    const QListWidgetItem *item = currentItem();
    return item && item->isSelected() ? currentRow() : -1;
}

void TZelListBox::setItemIndex(int row)
{
    if (row < 0 || row >= count()) {
        setCurrentRow(-1);
        clearSelection();
        return;
    }
    setCurrentRow(row);
    scrollToItem(item(row));
}
