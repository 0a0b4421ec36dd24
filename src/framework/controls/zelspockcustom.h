#pragma once

#include "zelfielddatalink.h"

#include <QColor>
#include <QLineEdit>
#include <QPointer>

#include <functional>
#include <memory>

namespace db {
class DataSet;
class DataSource;
} // namespace db
namespace mask {
class MaskedLineEdit;
}

class TCommonProperties;
class TZelLabel;
class TZelPanel;
class TZelSpeedButton;
class TZelSpockList;
class TZelStaticField;

/// What an edit of the Spock family does with its text.
enum TZelEditKind { ekEdit, ekList, ekLookup };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

/// A window class handed to a look-up picker (the picker's, or the one that registers a new record).
using TFormClass = const QMetaObject *;
/// Lets the user pick a record of the data set; answers whether the user confirmed.
using TLookUpFunction =
    std::function<bool(db::DataSet *dataSet, const QString &showFields, TFormClass registerFormClass,
                       TFormClass formClass, const QString &caption)>;

/// The base of the framework's data-aware edits: a masked line edit showing one field, with value-list and
/// look-up modes, companions (caption, description panel, button), focus and disabled colours, and
/// write-through of text assigned from code.
class TZelSpockCustom : public QLineEdit
{
    Q_OBJECT
public:
    using NotifyEvent = std::function<void(TZelSpockCustom *sender)>;
    using TChangeLookUpNotifyEvent = std::function<void(bool Founded)>;

    explicit TZelSpockCustom(QWidget *parent = nullptr);
    ~TZelSpockCustom() override;

    /// While loading, companions are only stored and the width does not follow the field.
    void BeginLoad() { m_loading = true; }
    virtual void Loaded();
    bool isLoading() const { return m_loading; }

    TZelStaticField *StaticField() const { return m_staticField.get(); }
    TCommonProperties *CommonProperties() const { return m_commonProperties; }
    TZelSpockList *SpockList() const { return m_spockList.get(); }
    TZelFieldDataLink &dataLink() { return m_link; }
    mask::MaskedLineEdit *maskDriver() const { return m_mask; }

    // Binding.
    virtual QString DataField() const;
    virtual void setDataField(const QString &name);
    virtual db::DataSource *DataSource() const;
    virtual void setDataSource(db::DataSource *source);
    virtual bool ReadOnly() const;
    virtual void setReadOnly(bool on);
    virtual db::Field *Field() const;
    virtual bool IsNull() const;

    /// Text as the field stores it (a masked edit drops what its mask does not save).
    QString Text() const;
    /// Text from code. A bound edit without the focus writes it into the field at once.
    virtual void setText(const QString &text);
    virtual void Clear();
    virtual void Reset();

    TAlignment Alignment() const { return m_alignment; }
    virtual void setAlignment(TAlignment alignment);
    QString EditMask() const { return m_editMask; }
    void setEditMask(const QString &mask);
    /// 0: no limit.
    int MaxLength() const { return m_maxLength; }
    void setMaxLength(int length);

    TZelEditKind EditKind() const { return m_editKind; }
    virtual void setEditKind(TZelEditKind kind) { m_editKind = kind; }

    // Companions; not owned.
    TZelLabel *ZelLabel() const;
    virtual void setZelLabel(TZelLabel *label);
    TZelSpeedButton *ZelSpeedButton() const;
    virtual void setZelSpeedButton(TZelSpeedButton *button);
    TZelPanel *ZelPanel() const;
    virtual void setZelPanel(TZelPanel *panel);
    /// Creates the companion (named after the first free number in the window) and attaches it.
    virtual void CreateZelLabel();
    virtual void CreateZelPanel();
    virtual void CreateZelSpeedButton();

    // Look-up.
    QString LookUpResultField() const { return m_lookUpResultField; }
    virtual void setLookUpResultField(const QString &name) { m_lookUpResultField = name.toUpper(); }
    QString LookUpKeyField() const { return m_lookUpKeyField; }
    virtual void setLookUpKeyField(const QString &name) { m_lookUpKeyField = name.toUpper(); }
    QString LookUpCaption() const { return m_lookUpCaption; }
    virtual void setLookUpCaption(const QString &caption) { m_lookUpCaption = caption; }
    QString LookUpShowFields() const { return m_lookUpShowFields; }
    virtual void setLookUpShowFields(const QString &fields) { m_lookUpShowFields = fields; }
    db::DataSet *LookUpDataSet() const { return m_lookUpDataSet; }
    /// Hooks the data set's afterOpen so that the description follows a reopened data set.
    virtual void setLookUpDataSet(db::DataSet *dataSet);
    virtual void RefreshLookUp();
    TLookUpFunction LookUpFunction;
    TFormClass LookUpFormClass = nullptr;
    TFormClass LookUpRegisterFormClass = nullptr;

    // Colours.
    QColor Color() const;
    void setColor(const QColor &c);
    QColor FontColor() const;
    void setFontColor(const QColor &c);
    QColor FocusColor() const { return m_focusColor; }
    virtual void setFocusColor(const QColor &c);
    QColor FocusFontColor() const { return m_focusFontColor; }
    virtual void setFocusFontColor(const QColor &c);
    QColor DisabledColor() const { return m_disabledColor; }
    virtual void setDisabledColor(const QColor &c);
    QColor DisabledFontColor() const { return m_disabledFontColor; }
    void setDisabledFontColor(const QColor &c);

    int ZelTag() const { return m_zelTag; }
    void setZelTag(int tag) { m_zelTag = tag; }
    bool EnterToNext() const { return m_enterToNext; }
    void setEnterToNext(bool on) { m_enterToNext = on; }
    bool WantReturns() const { return m_wantReturns; }
    void setWantReturns(bool on) { m_wantReturns = on; }

    bool Focused() const { return m_focused; }
    /// The bound field's display text.
    virtual QString GetFieldText() const;
    /// The text as a value: trimmed in the base.
    virtual QString GetTextValue() const;

    /// Puts text into the window as typing would (the change is pending for the field); a list item is
    /// split into its code and the panel's description. The value list's picks come this way.
    void listSetText(const QString &text);
    /// Told by the value list when it closes; unchanged when the text is still the one it had on opening.
    void listClosedUp(bool unchanged);

    /// Opens or closes the value list, or runs the look-up picker (what Ctrl+Enter and the button do).
    void OpenRequest();
    /// Pastes the clipboard's first line; the clipboard keeps that line only.
    void Paste();

    /// Focus exit: writes the text into the field; on failure the focus stays and the error is raised.
    virtual void DoExit();
    /// Adjusts the text area below the title strip.
    virtual void SetEditRect();

    NotifyEvent OnCtrlEnter;
    NotifyEvent OnInitDialog;
    NotifyEvent OnCloseDialog;
    NotifyEvent OnCloseUp;
    NotifyEvent OnDropDown;
    NotifyEvent OnDataChange;
    NotifyEvent OnUpdateError;
    TChangeLookUpNotifyEvent OnChangeLookUp;

protected:
    /// Raised while the edit puts text into itself, so that this text is not written back to the field.
    struct UpdateScope
    {
        explicit UpdateScope(TZelSpockCustom *e) : edit(e) { ++edit->m_updateDepth; }
        ~UpdateScope() { --edit->m_updateDepth; }
        TZelSpockCustom *edit;
    };
    int updateDepth() const { return m_updateDepth; }
    bool isBound() const { return DataSource() != nullptr; }

    virtual void ActiveChange();
    virtual void DataChange();
    virtual void EditingChange();
    virtual void UpdateData();
    virtual void ResetMaxLength();
    virtual void setFocused(bool on);
    virtual void LookUpDataSetAfterOpen(db::DataSet &dataSet);
    virtual void AdjustDropDownWidth();
    /// Asked before the user changes the text: a bound edit puts its data set into edit mode.
    virtual bool EditCanModify();
    /// Key-down handling; true consumes the key.
    virtual bool KeyDown(QKeyEvent *event);
    /// Character handling; a null character drops it, another one is typed instead.
    virtual void KeyPress(QChar &key);
    /// Focus entry: the field in its edit form, the focus colours, everything selected.
    virtual void DoEnter();

    /// Puts text into the window without writing it to the field; changeEvent false keeps textChanged quiet.
    void putText(const QString &text, bool changeEvent);
    /// Types one character at the cursor, through the mask when there is one.
    void typeChar(QChar c);
    /// Validates the text against the mask (MaskError on failure).
    void validateMask();
    bool maskActive() const;
    /// The text the user sees, literals and blanks included.
    QString displayedText() const { return QLineEdit::text(); }
    void applyMask(const QString &mask);
    void selectAllText() { selectAll(); }
    /// The field a look-up or a refusal message names: the data set's name.
    static QString dataSetName(const db::DataSource *source);

    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    bool m_unboundNull = true;

private:
    bool handleKeyPress(QKeyEvent *event);
    void showContextMenu(QContextMenuEvent *event);
    void receivedParent();
    void splitListText();
    void refocusLater();
    QString uniqueName(const QString &prefix) const;

    std::unique_ptr<TZelStaticField> m_staticField;
    QPointer<db::DataSet> m_lookUpDataSet;
    std::function<void(db::DataSet &)> m_savedAfterOpen;
    TCommonProperties *m_commonProperties;
    TZelFieldDataLink m_link;
    mask::MaskedLineEdit *m_mask = nullptr;
    TAlignment m_alignment = taLeftJustify;
    bool m_focused = false;
    QPointer<TZelLabel> m_label;
    QPointer<TZelPanel> m_panel;
    QPointer<TZelSpeedButton> m_button;
    QString m_lookUpResultField, m_lookUpKeyField, m_lookUpCaption, m_lookUpShowFields;
    TZelEditKind m_editKind = ekEdit;
    std::unique_ptr<TZelSpockList> m_spockList;
    int m_zelTag = 0;
    bool m_enterToNext = false;
    bool m_wantReturns = false;
    QColor m_disabledColor, m_disabledFontColor;
    QColor m_savedDisabledColor, m_savedDisabledFontColor;
    QColor m_focusColor, m_focusFontColor;
    QColor m_savedFocusColor, m_savedFocusFontColor;
    int m_updateDepth = 0;
    bool m_loading = false;
    QString m_editMask;
    int m_maxLength = 0;
    bool m_ownEnabled = true;
    QString m_oldText;
    // The open request marked the link modified although nothing was pending before.
    bool m_dropMarkedModified = false;
};
