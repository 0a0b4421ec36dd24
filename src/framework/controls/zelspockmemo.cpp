#include "zelspockmemo.h"

#include "commonproperties.h"
#include "zelcolors.h"
#include "zelerrorhandler.h"
#include "zelfocuscompanion.h"
#include "zellabel.h"
#include "zelmemostrings.h"

#include "platform/db/dataset.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <climits>

namespace {

bool isTextField(const db::Field *f)
{
    return f && (f->dataType() == db::FieldType::String || f->dataType() == db::FieldType::FixedChar ||
                 f->dataType() == db::FieldType::TextBlob);
}

/// Line breaks as the document holds them (line feed only).
QString toDocument(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString toStored(QString text)
{
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

struct Depth
{
    explicit Depth(int &d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
    int &depth;
};

} // namespace

TZelSpockMemo::TZelSpockMemo(QWidget *parent)
    : QPlainTextEdit(parent), m_commonProperties(new TCommonProperties(this, true)),
      m_lines(std::make_unique<TZelMemoStrings>(this)), m_focusColor(ZelColors::clWindow()),
      m_focusFontColor(ZelColors::clWindowText()), m_disabledColor(ZelColors::clWindow()),
      m_disabledFontColor(ZelColors::clWindowText())
{
    m_link.setControl(this);
    m_link.OnActiveChange = [this](TZelFieldDataLink *) {
        // A length taken from the field is taken again from the reopened one.
        if (m_derivedMaxLength) {
            m_maxLength = 0;
            m_derivedMaxLength = false;
        }
    };
    m_link.OnDataChange = [this](TZelFieldDataLink *) { DataChange(); };
    m_link.OnEditingChange = [this](TZelFieldDataLink *) { EditingChange(); };
    m_link.OnUpdateData = [this](TZelFieldDataLink *) { UpdateData(); };
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_updateDepth == 0 && DataSource())
            m_link.setModified(true);
    });
    setTabChangesFocus(true);
    resize(185, 89);
    applyWrap();
    if (parent)
        createLabel();
}

TZelSpockMemo::~TZelSpockMemo()
{
    m_link.OnActiveChange = nullptr;
    m_link.OnDataChange = nullptr;
    m_link.OnEditingChange = nullptr;
    m_link.OnUpdateData = nullptr;
}

// ------------------------------------------------------------------------------------------- binding

QString TZelSpockMemo::DataField() const
{
    return m_link.FieldName().toUpper();
}

void TZelSpockMemo::setDataField(const QString &name)
{
    m_link.setFieldName(name.toUpper());
    if (m_label && Field())
        m_label->setCaption(Field()->displayLabel());
}

void TZelSpockMemo::setDataSource(db::DataSource *source)
{
    m_link.setDataSource(source);
    if (!source)
        QPlainTextEdit::setReadOnly(false);
    else
        EditingChange();
}

bool TZelSpockMemo::ReadOnly() const
{
    return DataSource() ? m_link.isReadOnly() : isReadOnly();
}

void TZelSpockMemo::setReadOnly(bool on)
{
    QPlainTextEdit::setReadOnly(on);
    m_link.setReadOnly(on);
}

bool TZelSpockMemo::IsNull() const
{
    if (DataSource() && Field())
        return Field()->isNull();
    return m_unboundNull;
}

// ---------------------------------------------------------------------------------------------- text

QString TZelSpockMemo::Text() const
{
    return toStored(toPlainText());
}

void TZelSpockMemo::putText(const QString &text)
{
    Depth depth(m_updateDepth);
    const QString shown = toDocument(text);
    if (shown != toPlainText())
        setPlainText(shown);
}

void TZelSpockMemo::setText(const QString &text)
{
    const bool writeThrough = m_updateDepth == 0 && DataSource() && !m_focused;
    if (writeThrough)
        m_link.Edit();
    putText(text);
    if (DataSource())
        m_link.setModified(true);
    if (writeThrough)
        m_link.UpdateRecord();
}

void TZelSpockMemo::Clear()
{
    putText(QString());
    if (DataSource()) {
        if (m_link.isActive() && Field())
            Field()->clear();
        else
            m_unboundNull = true;
    }
}

void TZelSpockMemo::Reset()
{
    if (DataSource()) {
        m_link.Reset();
        selectAll();
    }
}

void TZelSpockMemo::DataChange()
{
    {
        Depth depth(m_updateDepth);
        db::Field *f = Field();
        if (DataSource() && f) {
            if (isTextField(f) && m_maxLength == 0 && f->size() > 0) {
                m_maxLength = f->size();
                m_derivedMaxLength = true;
            }
            putText(m_focused && m_link.CanModify() ? f->editText() : f->displayText());
        } else if (DataSource()) {
            putText(QString());
        }
    }
    if (OnDataChange)
        OnDataChange(this);
}

void TZelSpockMemo::EditingChange()
{
    if (DataSource())
        QPlainTextEdit::setReadOnly(!m_link.Editing());
}

void TZelSpockMemo::UpdateData()
{
    Depth depth(m_updateDepth);
    if (!DataSource() || !Field())
        return;
    try {
        Field()->setEditText(Text());
    } catch (...) {
        Clear();
        if (OnUpdateError)
            OnUpdateError(this);
    }
}

// ---------------------------------------------------------------------------------------------- look

void TZelSpockMemo::setScrollBars(TScrollStyle style)
{
    m_scrollBars = style;
    applyWrap();
}

void TZelSpockMemo::setWordWrap(bool on)
{
    m_wordWrap = on;
    applyWrap();
}

void TZelSpockMemo::applyWrap()
{
    const bool h = m_scrollBars == ssHorizontal || m_scrollBars == ssBoth;
    const bool v = m_scrollBars == ssVertical || m_scrollBars == ssBoth;
    setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // Without wrapping the view still follows the cursor sideways, with or without a scroll bar.
    setLineWrapMode(m_wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TZelSpockMemo::setAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    Qt::Alignment a = alignment == taRightJustify ? Qt::AlignRight
                      : alignment == taCenter     ? Qt::AlignHCenter
                                                  : Qt::AlignLeft;
    if (layoutDirection() == Qt::RightToLeft && alignment != taCenter)
        a = a == Qt::AlignRight ? Qt::AlignLeft : Qt::AlignRight;
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(a);
    document()->setDefaultTextOption(option);
}

void TZelSpockMemo::setFocusColor(const QColor &c)
{
    m_focusColor = c;
    if (m_focused)
        ZelColors::setColor(this, c);
}

void TZelSpockMemo::setFocusFontColor(const QColor &c)
{
    m_focusFontColor = c;
    if (m_focused)
        ZelColors::setFontColor(this, c);
}

void TZelSpockMemo::setDisabledColor(const QColor &c)
{
    m_disabledColor = c;
    if (!m_ownEnabled)
        ZelColors::setColor(this, c);
}

void TZelSpockMemo::setDisabledFontColor(const QColor &c)
{
    m_disabledFontColor = c;
    if (!m_ownEnabled)
        ZelColors::setFontColor(this, c);
}

void TZelSpockMemo::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        const bool own = zelOwnEnabled(this);
        if (own != m_ownEnabled) {
            m_ownEnabled = own;
            if (!own) {
                m_savedDisabledColor = ZelColors::color(this);
                m_savedDisabledFontColor = ZelColors::fontColor(this);
                ZelColors::setColor(this, m_disabledColor);
                ZelColors::setFontColor(this, m_disabledFontColor);
            } else if (m_savedDisabledColor.isValid()) {
                ZelColors::setColor(this, m_savedDisabledColor);
                ZelColors::setFontColor(this, m_savedDisabledFontColor);
            }
        }
    } else if (event->type() == QEvent::LayoutDirectionChange) {
        setAlignment(m_alignment);
    }
    QPlainTextEdit::changeEvent(event);
}

// ---------------------------------------------------------------------------------------- companion

void TZelSpockMemo::createLabel()
{
    if (m_label || !parentWidget())
        return;
    const QWidget *owner = window();
    QString name;
    for (int n = 1;; ++n) {
        name = QStringLiteral("ZelLabel") + QString::number(n);
        if (!owner->findChild<QObject *>(name) && owner->objectName() != name)
            break;
    }
    auto *label = new TZelLabel(parentWidget());
    label->setObjectName(name);
    label->setCaption(name);
    label->show();
    setZelLabel(label);
}

void TZelSpockMemo::setZelLabel(TZelLabel *label)
{
    if (label == m_label)
        return;
    if (!label) {
        m_label = nullptr;
        return;
    }
    if (label->parentWidget() != parentWidget())
        return;
    label->setFocusControl(this);
    ZelColors::setFontColor(label, ZelColors::clNavy());
    label->move(x(), y() - label->height() - 2);
    if (Field())
        label->setCaption(Field()->displayLabel());
    m_label = label;
}

// ---------------------------------------------------------------------------------------- focus, keys

void TZelSpockMemo::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    if (m_focused)
        return; // the window came back, or a popup closed: the memo never left
    m_focused = true;
    try {
        m_link.Reset();
    } catch (...) {
        ZelErrorHandler::handle(std::current_exception());
    }
    m_savedFocusColor = ZelColors::color(this);
    m_savedFocusFontColor = ZelColors::fontColor(this);
    ZelColors::setColor(this, m_focusColor);
    ZelColors::setFontColor(this, m_focusFontColor);
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        selectAll();
}

void TZelSpockMemo::DoExit()
{
    if (DataSource()) {
        try {
            m_link.UpdateRecord();
        } catch (...) {
            QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
            throw;
        }
    }
    m_focused = false;
    // Unfocused, the field is shown in its display form again.
    m_link.Reset();
    if (m_savedFocusColor.isValid()) {
        ZelColors::setColor(this, m_savedFocusColor);
        ZelColors::setFontColor(this, m_savedFocusFontColor);
    }
}

void TZelSpockMemo::focusOutEvent(QFocusEvent *event)
{
    const bool leaves =
        event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
    if (leaves && m_focused) {
        try {
            DoExit();
        } catch (...) {
            ZelErrorHandler::handle(std::current_exception());
        }
    }
    QPlainTextEdit::focusOutEvent(event);
}

int TZelSpockMemo::room() const
{
    if (m_maxLength <= 0)
        return INT_MAX;
    QString selected = textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, u'\n');
    return m_maxLength - (int(Text().size()) - int(toStored(selected).size()));
}

void TZelSpockMemo::keyPressEvent(QKeyEvent *event)
{
    const bool bound = DataSource() != nullptr;
    if (event->key() == Qt::Key_Escape) {
        const QString fieldText = Field() ? toDocument(Field()->displayText()) : QString();
        if (bound && m_link.Modified() && toPlainText() != fieldText) {
            m_link.Reset();
            selectAll();
            event->accept();
            return;
        }
        event->ignore(); // on to the window
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool typing =
        enter || (!event->text().isEmpty() && event->text().at(0).unicode() >= 32 &&
                  !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)));
    const bool changing = typing || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete ||
                          event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut) ||
                          event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo);
    if (bound && changing) {
        try {
            m_link.Edit();
        } catch (...) {
            ZelErrorHandler::handle(std::current_exception());
            event->accept();
            return;
        }
    }
    if (typing && !isReadOnly() && room() < (enter ? 2 : int(event->text().size()))) {
        QApplication::beep();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TZelSpockMemo::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText())
        return;
    if (DataSource())
        m_link.Edit();
    if (isReadOnly())
        return;
    // Every line is pasted; what the text cannot hold is left out.
    QString text = toDocument(source->text());
    const int free = room();
    if (free != INT_MAX) {
        int used = 0;
        qsizetype keep = 0;
        while (keep < text.size() && used + (text.at(keep) == u'\n' ? 2 : 1) <= free)
            used += text.at(keep++) == u'\n' ? 2 : 1;
        text.truncate(keep);
    }
    insertPlainText(text);
}

bool TZelSpockMemo::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange && !m_label)
        createLabel();
    return QPlainTextEdit::event(event);
}
