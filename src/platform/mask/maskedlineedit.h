#pragma once

#include "editmask.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QKeyEvent;
class QLineEdit;
class QMenu;

namespace mask {

/// Makes a QLineEdit edit its text through an EditMask, keystroke by keystroke.
///
/// It is an event filter on the line edit rather than a QLineEdit subclass, so that the data-aware edits
/// keep their own class tree and any QLineEdit (also one inside a dialog or a grid editor) can take a mask.
/// It takes over every way the user changes the text: key presses, input-method commits, paste and cut,
/// undo and redo, and the context menu (its own, since the standard one pastes past the mask); drops are
/// refused. Event filters installed later run earlier, so a data-aware control that wants to see or swallow
/// keys first installs its own filter after creating this object, or calls the editing operations below
/// from its handlers.
///
/// While the mask has positions, the text always has the full display length: overwrite at the cursor,
/// literals skipped, an unsuitable character silently ignored, Backspace and Delete putting the blank back.
/// Text set on the line edit from code (setText, clear) is taken as a stored value and shown through the
/// mask. With an empty mask the line edit behaves as usual.
class MaskedLineEdit final : public QObject
{
    Q_OBJECT

public:
    /// Asked before every change the user makes; false drops the change. The data-aware edits put the
    /// data set into edit mode here (and may make a read-only edit writable).
    using ModifyCheck = std::function<bool()>;

    /// The driver belongs to the line edit and dies with it. The line edit's input mask is removed and its
    /// maximum length raised to the display length when shorter; its current text is taken as a stored value.
    explicit MaskedLineEdit(QLineEdit *edit, const EditMask &mask = {});
    ~MaskedLineEdit() override;

    QLineEdit *lineEdit() const;
    const EditMask &editMask() const { return m_mask; }
    /// Changes the mask and shows the current stored value through the new one.
    void setEditMask(const EditMask &mask);
    bool isActive() const { return !m_mask.isEmpty(); }

    void setModifyCheck(ModifyCheck check) { m_modifyCheck = std::move(check); }

    QString displayText() const;
    /// Text from code: a stored value or a display text; clears the undo history and the modified flag.
    void setDisplayText(const QString &text);
    /// The text to store for what the edit shows (EditMask::stored).
    QString storedText() const;
    /// Shows the blank mask.
    void clear() { setDisplayText(QString()); }
    bool isBlank() const { return m_mask.isBlank(displayText()); }

    bool validate(int *errorPos = nullptr) const;
    /// Validates; on failure puts the cursor on the offending position and raises MaskError.
    void validateEdit();

    // The user's editing operations; each answers whether the text changed.
    /// Typing: each character goes to the next editable position at or after the cursor (the selection is
    /// blanked first). A character the position does not take is ignored, except a space (blanks an
    /// optional position) and a literal of the next run of literals (jumps past it, blanking what it skips).
    bool insertText(const QString &text);
    bool backspace();
    bool deleteForward();
    bool cut();
    /// The clipboard's text up to the first carriage return, without line feeds, typed in.
    bool paste();
    bool undo();
    bool redo();
    bool isUndoAvailable() const { return !m_undo.isEmpty(); }
    bool isRedoAvailable() const { return !m_redo.isEmpty(); }

    /// The context menu the driver shows (Portuguese captions; paste, cut and delete go through the mask).
    /// Its actions are named "edit-undo", "edit-redo", "edit-cut", "edit-copy", "edit-paste", "edit-delete"
    /// and "select-all". The caller owns the menu.
    QMenu *createContextMenu();

signals:
    /// The user changed the text (not emitted for text set from code).
    void edited(const QString &displayText);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct State
    {
        QString text;
        int cursor = 0;
    };

    bool handleKey(QKeyEvent *event);
    bool canModify();
    bool clearSelection(QString &text, int &cursor) const;
    bool apply(const QString &text, int cursor);
    void show(const QString &text, int cursor);
    QString currentText() const;
    void prepareEdit();
    void moveCursor(int target, bool extend);
    int slotAtOrAfter(int pos) const;
    int slotBefore(int pos) const;
    int slotAfter(int pos) const;
    void normaliseExternalText();
    void resetHistory();

    QPointer<QLineEdit> m_edit;
    EditMask m_mask;
    ModifyCheck m_modifyCheck;
    QList<State> m_undo;
    QList<State> m_redo;
    bool m_updating = false;
};

} // namespace mask
