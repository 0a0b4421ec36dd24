#include "maskedlineedit.h"

#include "maskerror.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>

#include <stdexcept>

namespace mask {

namespace {

constexpr qsizetype MaxUndoSteps = 100;

QString withShortcut(const QString &caption, QKeySequence::StandardKey key)
{
    const QString shortcut = QKeySequence(key).toString(QKeySequence::NativeText);
    return shortcut.isEmpty() ? caption : caption + u'\t' + shortcut;
}

} // namespace

MaskedLineEdit::MaskedLineEdit(QLineEdit *edit, const EditMask &mask)
    : QObject(edit), m_edit(edit), m_mask(mask)
{
    if (!edit)
        throw std::invalid_argument("MaskedLineEdit needs a line edit");
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, &MaskedLineEdit::normaliseExternalText);
    if (isActive())
        setDisplayText(edit->text());
}

MaskedLineEdit::~MaskedLineEdit()
{
    if (m_edit)
        m_edit->removeEventFilter(this);
}

QLineEdit *MaskedLineEdit::lineEdit() const
{
    return m_edit;
}

void MaskedLineEdit::setEditMask(const EditMask &mask)
{
    const QString value = storedText();
    m_mask = mask;
    if (isActive()) {
        setDisplayText(value);
    } else {
        resetHistory();
        m_updating = true;
        m_edit->setText(value);
        m_updating = false;
    }
}

void MaskedLineEdit::prepareEdit()
{
    // Qt's own input mask would fight every keystroke, and a short maximum length would cut the display.
    if (!m_edit->inputMask().isEmpty())
        m_edit->setInputMask(QString());
    if (m_edit->maxLength() < m_mask.positionCount())
        m_edit->setMaxLength(m_mask.positionCount());
}

QString MaskedLineEdit::displayText() const
{
    return m_edit->text();
}

QString MaskedLineEdit::currentText() const
{
    const QString text = m_edit->text();
    return text.size() == m_mask.positionCount() ? text : m_mask.displayFromStored(text);
}

void MaskedLineEdit::setDisplayText(const QString &text)
{
    resetHistory();
    if (!isActive()) {
        m_edit->setText(text);
        return;
    }
    prepareEdit();
    show(m_mask.displayFromStored(text), slotAtOrAfter(0));
    m_edit->setModified(false);
}

QString MaskedLineEdit::storedText() const
{
    return m_mask.stored(m_edit->text());
}

bool MaskedLineEdit::validate(int *errorPos) const
{
    return m_mask.validate(m_edit->text(), errorPos);
}

void MaskedLineEdit::validateEdit()
{
    int pos = 0;
    if (!validate(&pos)) {
        m_edit->setCursorPosition(pos);
        throw MaskError(pos);
    }
}

bool MaskedLineEdit::canModify()
{
    if (m_modifyCheck && !m_modifyCheck())
        return false;
    return !m_edit->isReadOnly();
}

bool MaskedLineEdit::clearSelection(QString &text, int &cursor) const
{
    if (!m_edit->hasSelectedText())
        return false;
    const int start = m_edit->selectionStart();
    const int end = qMin(m_edit->selectionEnd(), m_mask.positionCount());
    for (int i = start; i < end; ++i) {
        if (!m_mask.isLiteral(i))
            text[i] = m_mask.blank();
    }
    cursor = start;
    return true;
}

bool MaskedLineEdit::apply(const QString &text, int cursor)
{
    const QString before = m_edit->text();
    if (text == before) {
        m_edit->setCursorPosition(cursor);
        return false;
    }
    m_undo.append({before, m_edit->cursorPosition()});
    if (m_undo.size() > MaxUndoSteps)
        m_undo.removeFirst();
    m_redo.clear();
    show(text, cursor);
    m_edit->setModified(true);
    emit edited(text);
    return true;
}

void MaskedLineEdit::show(const QString &text, int cursor)
{
    m_updating = true;
    if (m_edit->text() != text)
        m_edit->setText(text);
    m_edit->setCursorPosition(cursor);
    m_updating = false;
}

void MaskedLineEdit::resetHistory()
{
    m_undo.clear();
    m_redo.clear();
}

int MaskedLineEdit::slotAtOrAfter(int pos) const
{
    const int next = m_mask.nextEditable(pos);
    return next < 0 ? m_mask.positionCount() : next;
}

int MaskedLineEdit::slotAfter(int pos) const
{
    return slotAtOrAfter(pos + 1);
}

int MaskedLineEdit::slotBefore(int pos) const
{
    const int previous = m_mask.previousEditable(pos);
    return previous < 0 ? slotAtOrAfter(0) : previous;
}

bool MaskedLineEdit::insertText(const QString &input)
{
    if (!isActive()) {
        if (!canModify())
            return false;
        const QString before = m_edit->text();
        m_edit->insert(input);
        return m_edit->text() != before;
    }
    if (!canModify())
        return false;

    QString text = currentText();
    int cursor = m_edit->cursorPosition();
    clearSelection(text, cursor);
    const int count = m_mask.positionCount();

    for (const QChar typed : input) {
        const int target = m_mask.nextEditable(cursor);
        if (target >= 0) {
            const QChar c = m_mask.convertCase(target, typed);
            if (m_mask.accepts(target, c)) {
                text[target] = c;
                cursor = target + 1;
                continue;
            }
            if (typed == u' ' && !m_mask.isRequired(target)) {
                text[target] = m_mask.blank();
                cursor = target + 1;
                continue;
            }
        }

        // A literal the cursor has just been carried past is typed by habit: nothing to do.
        bool justPast = false;
        for (int i = qMin(cursor, count) - 1; i >= 0 && m_mask.isLiteral(i); --i) {
            if (m_mask.literalAt(i) == typed) {
                justPast = true;
                break;
            }
        }
        if (justPast)
            continue;

        // A literal of the next run of literals ends the entry of the current run of positions.
        int i = cursor;
        while (i < count && !m_mask.isLiteral(i))
            ++i;
        for (; i < count && m_mask.isLiteral(i); ++i) {
            if (m_mask.literalAt(i) == typed) {
                for (int k = cursor; k < i; ++k) {
                    if (!m_mask.isLiteral(k))
                        text[k] = m_mask.blank();
                }
                cursor = i + 1;
                break;
            }
        }
    }
    return apply(text, slotAtOrAfter(cursor));
}

bool MaskedLineEdit::backspace()
{
    if (!isActive()) {
        if (!canModify())
            return false;
        const QString before = m_edit->text();
        m_edit->backspace();
        return m_edit->text() != before;
    }
    if (!canModify())
        return false;
    QString text = currentText();
    int cursor = m_edit->cursorPosition();
    if (!clearSelection(text, cursor)) {
        const int target = m_mask.previousEditable(cursor);
        if (target < 0)
            return false;
        text[target] = m_mask.blank();
        cursor = target;
    }
    return apply(text, cursor);
}

bool MaskedLineEdit::deleteForward()
{
    if (!isActive()) {
        if (!canModify())
            return false;
        const QString before = m_edit->text();
        m_edit->del();
        return m_edit->text() != before;
    }
    if (!canModify())
        return false;
    QString text = currentText();
    int cursor = m_edit->cursorPosition();
    if (!clearSelection(text, cursor)) {
        const int target = m_mask.nextEditable(cursor);
        if (target < 0)
            return false;
        text[target] = m_mask.blank();
        // Repeated Delete keeps clearing forward, as characters would run into the cursor in a plain edit.
        cursor = slotAfter(target);
    }
    return apply(text, cursor);
}

bool MaskedLineEdit::cut()
{
    if (!m_edit->hasSelectedText() || m_edit->echoMode() != QLineEdit::Normal)
        return false;
    if (!isActive()) {
        if (!canModify())
            return false;
        m_edit->cut();
        return true;
    }
    if (!canModify())
        return false;
    m_edit->copy();
    QString text = currentText();
    int cursor = m_edit->cursorPosition();
    clearSelection(text, cursor);
    return apply(text, cursor);
}

bool MaskedLineEdit::paste()
{
    QString text = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
    const qsizetype lineEnd = text.indexOf(u'\r');
    if (lineEnd >= 0)
        text.truncate(lineEnd);
    text.remove(u'\n');
    if (text.isEmpty())
        return false;
    return insertText(text);
}

bool MaskedLineEdit::undo()
{
    if (!isActive()) {
        const QString before = m_edit->text();
        m_edit->undo();
        return m_edit->text() != before;
    }
    if (m_undo.isEmpty() || !canModify())
        return false;
    m_redo.append({m_edit->text(), m_edit->cursorPosition()});
    const State state = m_undo.takeLast();
    show(state.text, state.cursor);
    m_edit->setModified(true);
    emit edited(state.text);
    return true;
}

bool MaskedLineEdit::redo()
{
    if (!isActive()) {
        const QString before = m_edit->text();
        m_edit->redo();
        return m_edit->text() != before;
    }
    if (m_redo.isEmpty() || !canModify())
        return false;
    m_undo.append({m_edit->text(), m_edit->cursorPosition()});
    const State state = m_redo.takeLast();
    show(state.text, state.cursor);
    m_edit->setModified(true);
    emit edited(state.text);
    return true;
}

void MaskedLineEdit::moveCursor(int target, bool extend)
{
    if (!extend) {
        m_edit->setCursorPosition(target);
        return;
    }
    int anchor = m_edit->cursorPosition();
    if (m_edit->hasSelectedText())
        anchor = anchor == m_edit->selectionStart() ? m_edit->selectionEnd() : m_edit->selectionStart();
    if (target == anchor)
        m_edit->setCursorPosition(target);
    else
        m_edit->setSelection(anchor, target - anchor);
}

bool MaskedLineEdit::handleKey(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        paste();
        return true;
    }
    if (event->matches(QKeySequence::Cut)) {
        cut();
        return true;
    }
    if (event->matches(QKeySequence::Undo)) {
        undo();
        return true;
    }
    if (event->matches(QKeySequence::Redo)) {
        redo();
        return true;
    }
    if (event->matches(QKeySequence::DeleteStartOfWord)) {
        backspace();
        return true;
    }
    if (event->matches(QKeySequence::DeleteEndOfWord)) {
        deleteForward();
        return true;
    }

    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const int cursor = m_edit->cursorPosition();
    switch (event->key()) {
    case Qt::Key_Backspace:
        backspace();
        return true;
    case Qt::Key_Delete:
        deleteForward();
        return true;
    case Qt::Key_Left:
        if (!shift && m_edit->hasSelectedText())
            moveCursor(slotAtOrAfter(m_edit->selectionStart()), false);
        else
            moveCursor(slotBefore(cursor), shift);
        return true;
    case Qt::Key_Right:
        if (!shift && m_edit->hasSelectedText())
            moveCursor(slotAtOrAfter(m_edit->selectionEnd()), false);
        else
            moveCursor(slotAfter(cursor), shift);
        return true;
    case Qt::Key_Home:
        moveCursor(slotAtOrAfter(0), shift);
        return true;
    case Qt::Key_End:
        moveCursor(m_mask.positionCount(), shift);
        return true;
    default:
        break;
    }

    const QString text = event->text();
    const auto commandModifiers =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!text.isEmpty() && text.at(0).isPrint() && commandModifiers == Qt::NoModifier) {
        insertText(text);
        return true;
    }
    return false;
}

bool MaskedLineEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edit || !isActive())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return handleKey(static_cast<QKeyEvent *>(event));
    case QEvent::InputMethod: {
        auto *input = static_cast<QInputMethodEvent *>(event);
        if (!input->commitString().isEmpty())
            insertText(input->commitString());
        input->accept();
        return true;
    }
    case QEvent::ContextMenu: {
        const QPoint at = static_cast<QContextMenuEvent *>(event)->globalPos();
        QPointer<QMenu> menu = createContextMenu();
        menu->exec(at);
        delete menu.data();
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        // A drop would insert its text past the mask.
        event->ignore();
        return true;
    default:
        return false;
    }
}

QMenu *MaskedLineEdit::createContextMenu()
{
    if (!isActive())
        return m_edit->createStandardContextMenu();

    auto *menu = new QMenu(m_edit);
    const bool writable = !m_edit->isReadOnly();
    const bool selection = m_edit->hasSelectedText() && m_edit->echoMode() == QLineEdit::Normal;
    auto add = [menu](const QString &caption, const char *name, bool enabled, auto slot) {
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setEnabled(enabled);
        QObject::connect(action, &QAction::triggered, menu, slot);
    };
    add(withShortcut(QStringLiteral("&Desfazer"), QKeySequence::Undo), "edit-undo",
        writable && isUndoAvailable(), [this] { undo(); });
    add(withShortcut(QStringLiteral("&Refazer"), QKeySequence::Redo), "edit-redo",
        writable && isRedoAvailable(), [this] { redo(); });
    menu->addSeparator();
    add(withShortcut(QStringLiteral("Recor&tar"), QKeySequence::Cut), "edit-cut", writable && selection,
        [this] { cut(); });
    add(withShortcut(QStringLiteral("&Copiar"), QKeySequence::Copy), "edit-copy", selection,
        [this] { m_edit->copy(); });
    add(withShortcut(QStringLiteral("C&olar"), QKeySequence::Paste), "edit-paste",
        writable && !QGuiApplication::clipboard()->text().isEmpty(), [this] { paste(); });
    add(QStringLiteral("E&xcluir"), "edit-delete", writable && m_edit->hasSelectedText(),
        [this] { deleteForward(); });
    menu->addSeparator();
    add(withShortcut(QStringLiteral("Selecionar &tudo"), QKeySequence::SelectAll), "select-all", true,
        [this] { m_edit->selectAll(); });
    return menu;
}

void MaskedLineEdit::normaliseExternalText()
{
    if (m_updating || !isActive())
        return;
    resetHistory();
    const QString text = m_edit->text();
    const QString display = m_mask.displayFromStored(text);
    if (display != text) {
        prepareEdit();
        show(display, slotAtOrAfter(0));
    }
}

} // namespace mask
