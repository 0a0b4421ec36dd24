#include "zelspocklist.h"

#include "zelerrorhandler.h"
#include "zellistbox.h"
#include "zelpanel.h"
#include "zelspockcustom.h"
#include "zelspockform.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

int asInteger(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}

bool isEnter(const QKeyEvent *e)
{
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

/// Ctrl+Enter stays the edit's open request, which closes the list without taking an item.
bool isRoutedKey(const QKeyEvent *e)
{
    if (e->modifiers().testFlag(Qt::ControlModifier))
        return false;
    return isEnter(e) || e->key() == Qt::Key_Escape || e->key() == Qt::Key_Up || e->key() == Qt::Key_Down;
}

} // namespace

/// Sees the edit's events before the edit does, and the list box's mouse and keys, while the list is open.
class TZelSpockList::Router final : public QObject
{
public:
    explicit Router(TZelSpockList *list) : m_list(list) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        try {
            if (watched == m_list->m_edit)
                return editEvent(event);
            if (m_list->m_listBox && watched == m_list->m_listBox->viewport())
                return mouseEvent(event);
            if (watched == m_list->m_listBox)
                return listKeyEvent(event);
        } catch (...) {
            ZelErrorHandler::handle(std::current_exception());
            return true;
        }
        return false;
    }

private:
    bool editEvent(QEvent *event)
    {
        switch (event->type()) {
        case QEvent::ShortcutOverride:
            // The window's own shortcuts must not take the keys the open list answers.
            if (isRoutedKey(static_cast<QKeyEvent *>(event))) {
                event->accept();
                return true;
            }
            return false;
        case QEvent::KeyPress: {
            auto *key = static_cast<QKeyEvent *>(event);
            if (!isRoutedKey(key))
                return false;
            if (isEnter(key)) {
                m_list->Select(SelectedItem(), true);
            } else if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
                if (m_list->m_listBox) {
                    QKeyEvent copy(QEvent::KeyPress, key->key(), Qt::NoModifier);
                    QCoreApplication::sendEvent(m_list->m_listBox, &copy);
                }
                m_list->Select(SelectedItem(), false);
            } else if (key->key() == Qt::Key_Escape) {
                m_list->Select(m_list->m_savedText, true);
            } else {
                return false;
            }
            key->accept();
            return true;
        }
        case QEvent::FocusOut:
            m_list->handleFocusLoss();
            return false;
        case QEvent::Hide:
            m_list->CloseUp();
            return false;
        default:
            return false;
        }
    }

    bool mouseEvent(QEvent *event)
    {
        TZelListBox *box = m_list->m_listBox;
        switch (event->type()) {
        case QEvent::MouseMove: {
            const int row = box->ItemAtPos(static_cast<QMouseEvent *>(event)->position().toPoint());
            if (row >= 0 && row != box->ItemIndex())
                box->setItemIndex(row);
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() != Qt::LeftButton)
                return true;
            const int row = box->ItemAtPos(mouse->position().toPoint());
            if (row >= 0)
                box->setItemIndex(row);
            m_list->m_mousePressed = true;
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && m_list->m_mousePressed) {
                m_list->m_mousePressed = false;
                m_list->Select(SelectedItem(), true);
            }
            return true;
        default:
            return false;
        }
    }

    bool listKeyEvent(QEvent *event)
    {
        if (event->type() != QEvent::KeyPress || !isEnter(static_cast<QKeyEvent *>(event)))
            return false;
        m_list->Select(SelectedItem(), true);
        return true;
    }

    TZelSpockList *m_list;
};

TZelSpockList::TZelSpockList(TZelSpockCustom *edit) : m_edit(edit), m_router(std::make_unique<Router>(this))
{}

TZelSpockList::~TZelSpockList()
{
    if (m_edit)
        m_edit->removeEventFilter(m_router.get());
    delete m_window.data();
}

TZelListBox *TZelSpockList::listBox() const
{
    return m_listBox;
}

QString TZelSpockList::SelectedItem()
{
    // A non-character: no item text can hold it.
    return QString(QChar(0xFFFF));
}

QString TZelSpockList::codeOf(const QString &item) const
{
    if (m_separator.trimmed().isEmpty())
        return item;
    const qsizetype at = item.indexOf(m_separator);
    return at < 0 ? QString() : item.left(at);
}

QString TZelSpockList::descriptionOf(const QString &item) const
{
    if (m_separator.isEmpty())
        return QString();
    const qsizetype at = item.indexOf(m_separator);
    return at < 0 ? QString() : item.mid(at + m_separator.size());
}

bool TZelSpockList::codeMatches(const QString &code, const QString &text) const
{
    if (m_listDataType == stInteger)
        return asInteger(code) == asInteger(text);
    if (m_trimValue)
        return code.trimmed() == text.trimmed();
    return code == text;
}

int TZelSpockList::IndexOfItem(const QString &text) const
{
    for (int i = 0; i < m_items.size(); ++i)
        if (codeMatches(codeOf(m_items.at(i)), text))
            return i;
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

void TZelSpockList::TextChange()
{
    if (m_separator.isEmpty())
        return;
    if (m_dropped && m_listBox)
        m_listBox->setItemIndex(-1);
    const QString text = m_edit->Text();
    int found = -1;
    for (int i = 0; i < m_items.size() && found < 0; ++i) {
        // Here the code is always what stands before the separator, even a separator of blanks.
        const QString &item = m_items.at(i);
        const qsizetype at = item.indexOf(m_separator);
        if (codeMatches(at < 0 ? QString() : item.left(at), text))
            found = i;
    }
    if (found >= 0 && m_listBox)
        m_listBox->setItemIndex(found);
    if (TZelPanel *panel = m_edit->ZelPanel())
        panel->setCaption(!text.isEmpty() && found >= 0 ? descriptionOf(m_items.at(found)) : QString());
}

void TZelSpockList::DropDown()
{
    if (m_dropped)
        return;
    if (!m_window)
        m_window = new TZelSpockForm(m_edit);
    if (m_width > 0)
        m_window->resize(m_width, m_window->height());
    if (!m_listBox) {
        m_listBox = new TZelListBox(m_window);
        m_listBox->setObjectName(QStringLiteral("SpockListBox"));
        m_listBox->setGeometry(m_window->rect());
    }
    m_listBox->setFocusPolicy(Qt::NoFocus);
    m_listBox->setFont(m_edit->font());
    m_listBox->setItemHeight(m_itemHeight);
    m_listBox->setMouseTracking(true);
    m_listBox->viewport()->setMouseTracking(true);
    m_listBox->installEventFilter(m_router.get());
    m_listBox->viewport()->installEventFilter(m_router.get());

    m_listBox->clear();
    m_listBox->addItems(m_items);
    m_listBox->setItemIndex(m_items.isEmpty() ? -1 : 0);
    m_savedText = m_edit->Text();

    const int height = qMin(int(m_items.size()) * m_listBox->ItemHeight() + 4, m_height);
    const QPoint at = m_edit->mapToGlobal(QPoint(0, 0));
    m_window->setGeometry(at.x(), at.y() + m_edit->height() + 2, m_width > 0 ? m_width : m_edit->width(),
                          height);
    m_window->show();
    m_mousePressed = false;
    // Installed last, so the list sees the edit's keys and focus before the edit's own handling.
    m_edit->installEventFilter(m_router.get());
    const bool usable = m_edit->isEnabled() && m_edit->isVisible();
    if (usable) {
        TextChange();
        m_edit->setFocus(Qt::OtherFocusReason);
    }
    m_dropped = true;
    if (!usable)
        CloseUp();
}

void TZelSpockList::CloseUp()
{
    if (!m_dropped)
        return;
    m_edit->removeEventFilter(m_router.get());
    // The call may come from the list box's own mouse handling: the window goes once that has returned.
    bool takeBack = false;
    if (m_window) {
        // A click into the list may have activated its window: the edit's window gets it back.
        takeBack = m_window->isActiveWindow();
        m_window->hide();
        m_window->deleteLater();
    }
    m_window = nullptr;
    m_listBox = nullptr;
    m_dropped = false;
    m_mousePressed = false;
    m_edit->listClosedUp(m_edit->Text() == m_savedText);
    if (takeBack && m_edit->isVisible() && m_edit->isEnabled()) {
        m_edit->activateWindow();
        m_edit->setFocus(Qt::OtherFocusReason);
    }
    if (m_edit->OnCloseUp) {
        try {
            m_edit->OnCloseUp(m_edit);
        } catch (...) {
        }
    }
}

void TZelSpockList::Select(const QString &text, bool close)
{
    if (m_listBox && m_listBox->ItemIndex() >= 0) {
        const QString chosen =
            text == SelectedItem() ? m_listBox->item(m_listBox->ItemIndex())->text() : text;
        m_edit->listSetText(chosen);
        m_edit->selectAll();
    }
    if (close && m_dropped)
        CloseUp();
}

void TZelSpockList::handleFocusLoss()
{
    // A click into the dropdown may activate its window for a moment: the edit has not been left then.
    const QWidget *focus = QApplication::focusWidget();
    const QWidget *active = QApplication::activeWindow();
    if (m_window && ((focus && (focus == m_edit || m_window->isAncestorOf(focus))) || active == m_window))
        return;
    Select(SelectedItem(), true);
    CloseUp();
}
