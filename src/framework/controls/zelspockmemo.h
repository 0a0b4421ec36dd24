#pragma once

#include "zelfielddatalink.h"
#include "zellabel.h"
#include "zelspockcustom.h"

#include <QColor>
#include <QPlainTextEdit>
#include <QPointer>

#include <functional>
#include <memory>

class TCommonProperties;
class TZelMemoStrings;

/// Scroll bars of a multi-line edit.
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

/// The multi-line edit of the Spock family: one text field shown and edited over several lines, Enter
/// being a line break. Like the single-line edits it writes the text into the field when it is left (or
/// at once when text is assigned from code while it has no focus), takes its colours from its state, and
/// keeps a caption above it.
///
/// The text it hands to the field has its line breaks as carriage return plus line feed, as the other
/// programs sharing the database write them.
class TZelSpockMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    using NotifyEvent = std::function<void(TZelSpockMemo *sender)>;

    explicit TZelSpockMemo(QWidget *parent = nullptr);
    ~TZelSpockMemo() override;

    TCommonProperties *CommonProperties() const { return m_commonProperties; }
    TZelFieldDataLink &dataLink() { return m_link; }
    /// The lines of the memo.
    TZelMemoStrings *Lines() const { return m_lines.get(); }

    QString DataField() const;
    void setDataField(const QString &name);
    db::DataSource *DataSource() const { return m_link.dataSource(); }
    void setDataSource(db::DataSource *source);
    bool ReadOnly() const;
    void setReadOnly(bool on);
    db::Field *Field() const { return m_link.Field(); }
    bool IsNull() const;

    /// The text with carriage return plus line feed between lines.
    QString Text() const;
    /// Text from code; a bound memo without the focus writes it into the field at once.
    void setText(const QString &text);
    /// Empties the text and, when bound, the field.
    void Clear();
    /// Shows the field again, dropping what was typed.
    void Reset();

    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void setScrollBars(TScrollStyle style);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool on);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);
    /// Characters the text may hold (line breaks count two); 0: no limit. A bound memo takes its text
    /// field's size.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int length) { m_maxLength = qMax(0, length); }
    /// Always true: Enter makes a new line, it never moves to the next control.
    bool WantReturns() const { return true; }

    QColor FocusColor() const { return m_focusColor; }
    void setFocusColor(const QColor &c);
    QColor FocusFontColor() const { return m_focusFontColor; }
    void setFocusFontColor(const QColor &c);
    QColor DisabledColor() const { return m_disabledColor; }
    void setDisabledColor(const QColor &c);
    QColor DisabledFontColor() const { return m_disabledFontColor; }
    void setDisabledFontColor(const QColor &c);
    bool Focused() const { return m_focused; }

    TZelLabel *ZelLabel() const { return m_label; }
    /// Attaches a caption of the same parent above the memo (a caption of another parent is ignored).
    void setZelLabel(TZelLabel *label);

    int ZelTag() const { return m_zelTag; }
    void setZelTag(int tag) { m_zelTag = tag; }

    NotifyEvent OnDataChange;
    NotifyEvent OnUpdateError;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    friend class TZelMemoStrings;

    void DataChange();
    void EditingChange();
    void UpdateData();
    void DoExit();
    void putText(const QString &text);
    void applyWrap();
    void createLabel();
    /// What typing may still add, with the selection replaced.
    int room() const;

    TCommonProperties *m_commonProperties;
    TZelFieldDataLink m_link;
    std::unique_ptr<TZelMemoStrings> m_lines;
    TScrollStyle m_scrollBars = ssNone;
    bool m_wordWrap = true;
    TAlignment m_alignment = taLeftJustify;
    int m_maxLength = 0;
    bool m_derivedMaxLength = false;
    bool m_focused = false;
    bool m_ownEnabled = true;
    int m_updateDepth = 0;
    int m_zelTag = 0;
    QPointer<TZelLabel> m_label;
    QColor m_focusColor, m_focusFontColor, m_savedFocusColor, m_savedFocusFontColor;
    QColor m_disabledColor, m_disabledFontColor, m_savedDisabledColor, m_savedDisabledFontColor;
    bool m_unboundNull = true;
};
