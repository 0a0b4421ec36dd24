#include "zelspocklist.h"

#include "zellistbox.h"
#include "zelspockcustom.h"

#include <QVBoxLayout>
#include <QWidget>

namespace {

int asInteger(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}

} // namespace

TZelSpockList::TZelSpockList(TZelSpockCustom *edit) : m_edit(edit) {}

TZelSpockList::~TZelSpockList()
{
    delete m_window.data();
}

TZelListBox *TZelSpockList::listBox() const
{
    return m_listBox;
}

QString TZelSpockList::codeOf(const QString &item) const
{
    if (m_separator.trimmed().isEmpty())
        return item;
    const qsizetype at = item.indexOf(m_separator);
    return at < 0 ? QString() : item.left(at);
}

int TZelSpockList::IndexOfItem(const QString &text) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        const QString code = codeOf(m_items.at(i));
        bool match;
        if (m_listDataType == stInteger)
            match = asInteger(code) == asInteger(text);
        else if (m_trimValue)
            match = code.trimmed() == text.trimmed();
        else
            match = code == text;
        if (match)
            return i;
    }
    return -1;
}

int TZelSpockList::IndexOfValue(const QString &value) const
{
    for (int i = 0; i < m_values.size(); ++i) {
        if (m_mapDataType == stInteger ? asInteger(m_values.at(i)) == asInteger(value)
                                       : m_values.at(i).compare(value, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TZelSpockList::DropDown()
{
    if (m_dropped)
        return;
    if (!m_window) {
        m_window = new QWidget(m_edit, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        m_window->setObjectName(QStringLiteral("SpockListWindow"));
        auto *layout = new QVBoxLayout(m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        m_listBox = new TZelListBox(m_window);
        m_listBox->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(m_listBox);
    }
    m_listBox->clear();
    m_listBox->addItems(m_items);
    if (!m_items.isEmpty())
        m_listBox->setCurrentRow(0);
    m_savedText = m_edit->Text();
    const int itemHeight = m_listBox->fontMetrics().height();
    const int height = qMin(int(m_items.size()) * itemHeight + 4, m_height);
    const QPoint at = m_edit->mapToGlobal(QPoint(0, 0));
    m_window->setGeometry(at.x(), at.y() + m_edit->height() + 2, m_width > 0 ? m_width : m_edit->width(),
                          height);
    m_window->show();
    m_dropped = true;
    if (!m_edit->isEnabled() || !m_edit->isVisible())
        CloseUp();
    else
        m_edit->setFocus();
}

void TZelSpockList::CloseUp()
{
    if (!m_dropped)
        return;
    delete m_window.data();
    m_dropped = false;
    if (m_edit->OnCloseUp) {
        try {
            m_edit->OnCloseUp(m_edit);
        } catch (...) {
        }
    }
}
