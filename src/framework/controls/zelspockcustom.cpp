#include "zelspockcustom.h"

#include "commonproperties.h"
#include "zelcolors.h"
#include "zelerrorhandler.h"
#include "zelevents.h"
#include "zellabel.h"
#include "zelpanel.h"
#include "zelspeedbutton.h"
#include "zelspocklist.h"
#include "zelstaticfield.h"

#include "platform/db/dataset.h"
#include "platform/db/dberror.h"
#include "platform/mask/editmask.h"
#include "platform/mask/maskedlineedit.h"
#include "platform/regional/regional.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <cmath>

namespace {

constexpr int NoLimit = 32767;

bool isTextField(const db::Field *f)
{
    return f && (f->dataType() == db::FieldType::String || f->dataType() == db::FieldType::FixedChar);
}

void showPropertyError(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, QApplication::applicationName(), text, QMessageBox::Ok);
}

/// Detaches a menu action from the line edit's own slot; true when the action was tied to it.
bool takeOver(QAction *action, QLineEdit *edit, void (QLineEdit::*slot)(), const char *slotSignature)
{
    // The toolkit ties its menu either way, depending on its version.
    return QObject::disconnect(action, &QAction::triggered, edit, slot) ||
           QObject::disconnect(action, SIGNAL(triggered()), edit, slotSignature);
}

} // namespace

TZelSpockCustom::TZelSpockCustom(QWidget *parent)
    : QLineEdit(parent), m_staticField(std::make_unique<TZelStaticField>(this)),
      m_commonProperties(new TCommonProperties(this, true)),
      m_spockList(std::make_unique<TZelSpockList>(this)), m_disabledColor(ZelColors::clWindow()),
      m_disabledFontColor(ZelColors::clWindowText()), m_focusColor(ZelColors::clWindow()),
      m_focusFontColor(ZelColors::clWindowText())
{
    m_link.setControl(this);
    m_link.OnActiveChange = [this](TZelFieldDataLink *) { ActiveChange(); };
    m_link.OnDataChange = [this](TZelFieldDataLink *) { DataChange(); };
    m_link.OnEditingChange = [this](TZelFieldDataLink *) { EditingChange(); };
    m_link.OnUpdateData = [this](TZelFieldDataLink *) { UpdateData(); };

    // Filters run last-installed first: the common properties see events last, before the edit itself;
    // the mask comes next, and the edit's own key handling first of all.
    m_mask = new mask::MaskedLineEdit(this);
    m_mask->setModifyCheck([this] { return EditCanModify(); });
    installEventFilter(this);
    // What the user changes is pending for the field until the record is updated.
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (m_updateDepth == 0 && isBound())
            m_link.setModified(true);
        if (m_editKind == ekList)
            m_spockList->TextChange();
    });

    QLineEdit::setMaxLength(NoLimit);
    resize(width(), 21);
    setToolTipDuration(-1);
    AdjustDropDownWidth();
    if (parent)
        receivedParent();
}

TZelSpockCustom::~TZelSpockCustom()
{
    m_link.OnActiveChange = nullptr;
    m_link.OnDataChange = nullptr;
    m_link.OnEditingChange = nullptr;
    m_link.OnUpdateData = nullptr;
    if (m_lookUpDataSet)
        m_lookUpDataSet->afterOpen = m_savedAfterOpen;
    removeEventFilter(this);
}

void TZelSpockCustom::Loaded()
{
    m_loading = false;
    if (isBound()) {
        UpdateScope scope(this);
        putText(QString(), true);
    }
}

// ------------------------------------------------------------------------------------------- binding

QString TZelSpockCustom::DataField() const
{
    return m_link.FieldName().toUpper();
}

void TZelSpockCustom::setDataField(const QString &name)
{
    m_link.setFieldName(name.toUpper());
    if (!m_link.dataSet())
        return;
    db::Field *f = Field();
    if (m_label && f)
        m_label->setCaption(f->displayLabel());
    if (!f || m_loading)
        return;
    int w = int(std::lround(f->displayWidth() * 6.5 + 0.5));
    w = (w / 4) * 4 + 5;
    if (m_label && w < m_label->width())
        w = (m_label->width() / 4) * 4 + 5;
    resize(w, height());
}

db::DataSource *TZelSpockCustom::DataSource() const
{
    return m_link.dataSource();
}

void TZelSpockCustom::setDataSource(db::DataSource *source)
{
    m_link.setDataSource(source);
    if (!source)
        QLineEdit::setReadOnly(false);
    else
        EditingChange();
}

bool TZelSpockCustom::ReadOnly() const
{
    return isBound() ? m_link.isReadOnly() : QLineEdit::isReadOnly();
}

void TZelSpockCustom::setReadOnly(bool on)
{
    QLineEdit::setReadOnly(on);
    m_link.setReadOnly(on);
}

db::Field *TZelSpockCustom::Field() const
{
    return m_link.Field();
}

bool TZelSpockCustom::IsNull() const
{
    if (isBound() && Field())
        return Field()->isNull();
    return m_unboundNull;
}

// ---------------------------------------------------------------------------------------------- text

bool TZelSpockCustom::maskActive() const
{
    return m_mask->isActive();
}

QString TZelSpockCustom::Text() const
{
    if (maskActive()) {
        const QString shown = QLineEdit::text();
        return shown.isEmpty() ? QString() : m_mask->storedText();
    }
    return QLineEdit::text();
}

void TZelSpockCustom::putText(const QString &text, bool changeEvent)
{
    {
        const QSignalBlocker quiet(changeEvent ? nullptr : this);
        // Text equal to what is shown is left alone, so that the selection and the cursor stay.
        if (maskActive() && text.isEmpty() && !m_focused) {
            // An empty masked edit without the focus shows nothing, not its blank mask.
            const QSignalBlocker noNormalising(this);
            if (!QLineEdit::text().isEmpty())
                QLineEdit::setText(QString());
        } else if (maskActive()) {
            if (m_mask->editMask().displayFromStored(text) != QLineEdit::text())
                m_mask->setDisplayText(text);
        } else if (text != QLineEdit::text()) {
            QLineEdit::setText(text);
        }
    }
    m_oldText = QLineEdit::text();
    // A quiet display still shows the description of the code in the panel.
    if (!changeEvent && m_editKind == ekList)
        m_spockList->TextChange();
    splitListText();
}

void TZelSpockCustom::listSetText(const QString &text)
{
    putText(text, true);
}

void TZelSpockCustom::listClosedUp(bool unchanged)
{
    // The mark of the open request lets a pick reach the field. A list closed without a change must not
    // write back what was shown: a stored value that no item maps shows as nothing and would be lost.
    if (m_dropMarkedModified && unchanged && isBound())
        m_link.setModified(false);
    m_dropMarkedModified = false;
}

void TZelSpockCustom::splitListText()
{
    if (m_editKind != ekList)
        return;
    const QString separator = m_spockList->Separator();
    if (separator.isEmpty())
        return;
    const QString text = Text();
    const qsizetype at = text.indexOf(separator);
    if (at <= 0)
        return;
    UpdateScope scope(this);
    if (m_panel)
        m_panel->setCaption(text.mid(at + separator.size()));
    putText(text.left(at), true);
}

void TZelSpockCustom::setText(const QString &text)
{
    const bool writeThrough = m_updateDepth == 0 && isBound() && !m_focused;
    // In a focused edit of a record being edited the text waits for the field like typed text; otherwise
    // leaving the edit would show the field again and the assigned text would be gone.
    const bool pending = m_updateDepth == 0 && isBound() && m_focused && m_link.Editing();
    if (writeThrough) {
        m_link.Edit();
        m_link.setModified(true);
    }
    {
        UpdateScope scope(this);
        putText(text, true);
    }
    if (pending)
        m_link.setModified(true);
    // The split comes before the write, so that a list edit stores the code and not the whole item.
    if (writeThrough)
        m_link.UpdateRecord();
}

void TZelSpockCustom::Clear()
{
    {
        UpdateScope scope(this);
        putText(QString(), true);
    }
    if (isBound()) {
        if (m_link.isActive() && Field())
            Field()->clear();
        else
            m_unboundNull = true;
    }
}

void TZelSpockCustom::Reset()
{
    if (isBound()) {
        m_link.Reset();
        selectAll();
    } else if (isModified()) {
        UpdateScope scope(this);
        putText(m_oldText, true);
        setModified(false);
    }
}

void TZelSpockCustom::setAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    const Qt::Alignment h = alignment == taRightJustify ? Qt::AlignRight
                            : alignment == taCenter     ? Qt::AlignHCenter
                                                        : Qt::AlignLeft;
    QLineEdit::setAlignment(h | Qt::AlignVCenter);
}

void TZelSpockCustom::applyMask(const QString &maskText)
{
    const auto &s = regional::settings();
    m_editMask = maskText;
    const bool wasEmpty = QLineEdit::text().isEmpty();
    {
        UpdateScope scope(this);
        const QSignalBlocker quiet(this);
        m_mask->setEditMask(mask::EditMask(maskText, s.dateSeparator, s.timeSeparator));
        if (wasEmpty && !m_focused)
            QLineEdit::setText(QString());
    }
    if (!maskActive())
        QLineEdit::setMaxLength(m_maxLength > 0 ? m_maxLength : NoLimit);
}

void TZelSpockCustom::setEditMask(const QString &maskText)
{
    applyMask(maskText);
}

void TZelSpockCustom::setMaxLength(int length)
{
    m_maxLength = qMax(0, length);
    if (!maskActive())
        QLineEdit::setMaxLength(m_maxLength > 0 ? m_maxLength : NoLimit);
}

void TZelSpockCustom::validateMask()
{
    if (maskActive() && isModified() && !QLineEdit::text().isEmpty())
        m_mask->validateEdit();
}

void TZelSpockCustom::typeChar(QChar c)
{
    if (maskActive())
        m_mask->insertText(QString(c));
    else if (!isReadOnly())
        insert(QString(c));
}

QString TZelSpockCustom::GetFieldText() const
{
    return Field() ? Field()->displayText() : QString();
}

QString TZelSpockCustom::GetTextValue() const
{
    return Text().trimmed();
}

QString TZelSpockCustom::dataSetName(const db::DataSource *source)
{
    return source && source->dataSet() ? source->dataSet()->objectName() : QString();
}

// -------------------------------------------------------------------------------- link notifications

void TZelSpockCustom::ActiveChange()
{
    if (isBound())
        ResetMaxLength();
}

void TZelSpockCustom::ResetMaxLength()
{
    if (m_maxLength <= 0 || !DataSource() || !DataSource()->dataSet())
        return;
    const db::Field *f = DataSource()->dataSet()->findField(DataField());
    if (isTextField(f) && f->size() == m_maxLength)
        setMaxLength(0);
}

void TZelSpockCustom::DataChange()
{
    UpdateScope scope(this);
    db::Field *f = Field();
    if (isBound() && f) {
        if (m_editMask.trimmed().isEmpty() && !f->editMask().isEmpty())
            applyMask(f->editMask());
        if (isTextField(f) && m_maxLength == 0)
            setMaxLength(f->size());
        const bool mapped = m_editKind == ekList && m_spockList->MapValues();
        auto shown = [&](const QString &value) {
            if (!mapped)
                return value;
            const int i = m_spockList->IndexOfValue(value);
            const QStringList items = m_spockList->Items();
            return i >= 0 && i < items.size() ? items.at(i) : QString();
        };
        if (m_focused && m_link.CanModify()) {
            putText(shown(f->editText()), true);
        } else {
            putText(shown(f->displayText()), false);
            if (m_link.Editing() && m_link.Modified())
                setModified(true);
        }
    } else if (isBound()) {
        putText(QString(), true);
    }
    RefreshLookUp();
    if (OnDataChange)
        OnDataChange(this);
}

void TZelSpockCustom::EditingChange()
{
    if (isBound())
        QLineEdit::setReadOnly(!m_link.Editing());
}

void TZelSpockCustom::UpdateData()
{
    UpdateScope scope(this);
    if (!isBound())
        return;
    validateMask();
    try {
        QString text = Text();
        if (m_editKind == ekList && m_spockList->MapValues()) {
            const int i = m_spockList->IndexOfItem(text);
            const QStringList values = m_spockList->Values();
            if (i < 0 || i >= values.size())
                throw db::ValueError(QStringLiteral("\"%1\" não está na lista de valores.").arg(text));
            text = values.at(i);
        }
        Field()->setEditText(text);
    } catch (...) {
        Clear();
        if (OnUpdateError)
            OnUpdateError(this);
    }
}

bool TZelSpockCustom::EditCanModify()
{
    return isBound() ? m_link.Edit() : true;
}

// ------------------------------------------------------------------------------------- focus, colours

void TZelSpockCustom::setFocused(bool on)
{
    if (on == m_focused)
        return;
    m_focused = on;
    m_link.Reset();
}

void TZelSpockCustom::DoEnter()
{
    setFocused(true);
    m_savedFocusColor = Color();
    m_savedFocusFontColor = FontColor();
    setColor(m_focusColor);
    setFontColor(m_focusFontColor);
    selectAll();
}

void TZelSpockCustom::refocusLater()
{
    QTimer::singleShot(0, this, [this] {
        setFocus(Qt::OtherFocusReason);
        selectAll();
    });
}

void TZelSpockCustom::DoExit()
{
    if (isBound()) {
        try {
            m_link.UpdateRecord();
        } catch (...) {
            selectAll();
            refocusLater();
            throw;
        }
    }
    setFocused(false);
    if (m_savedFocusColor.isValid()) {
        setColor(m_savedFocusColor);
        setFontColor(m_savedFocusFontColor);
    }
    selectAll();
    RefreshLookUp();
    if (!isBound()) {
        try {
            validateMask();
        } catch (...) {
            refocusLater();
            throw;
        }
    }
}

void TZelSpockCustom::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (m_focused)
        return; // the window came back, or a popup closed: the edit never left
    try {
        DoEnter();
    } catch (...) {
        ZelErrorHandler::handle(std::current_exception());
    }
}

void TZelSpockCustom::focusOutEvent(QFocusEvent *event)
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
    QLineEdit::focusOutEvent(event);
}

QColor TZelSpockCustom::Color() const
{
    return ZelColors::color(this);
}

void TZelSpockCustom::setColor(const QColor &c)
{
    ZelColors::setColor(this, c);
}

QColor TZelSpockCustom::FontColor() const
{
    return ZelColors::fontColor(this);
}

void TZelSpockCustom::setFontColor(const QColor &c)
{
    ZelColors::setFontColor(this, c);
}

void TZelSpockCustom::setFocusColor(const QColor &c)
{
    m_focusColor = c;
    if (m_focused)
        setColor(c);
}

void TZelSpockCustom::setFocusFontColor(const QColor &c)
{
    m_focusFontColor = c;
    if (m_focused)
        setFontColor(c);
}

void TZelSpockCustom::setDisabledColor(const QColor &c)
{
    m_disabledColor = c;
    if (!m_ownEnabled)
        setColor(c);
}

void TZelSpockCustom::setDisabledFontColor(const QColor &c)
{
    m_disabledFontColor = c;
    if (!m_ownEnabled)
        setFontColor(c);
}

void TZelSpockCustom::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        const bool own = zelOwnEnabled(this);
        if (own != m_ownEnabled) {
            m_ownEnabled = own;
            if (!own) {
                m_savedDisabledColor = Color();
                m_savedDisabledFontColor = FontColor();
                setColor(m_disabledColor);
                setFontColor(m_disabledFontColor);
            } else if (m_savedDisabledColor.isValid()) {
                setColor(m_savedDisabledColor);
                setFontColor(m_savedDisabledFontColor);
            }
        }
    } else if (event->type() == QEvent::FontChange) {
        SetEditRect();
    }
    QLineEdit::changeEvent(event);
}

void TZelSpockCustom::SetEditRect()
{
    const bool strip =
        m_staticField->Visible() && m_staticField->Label() && m_staticField->Label()->parentWidget() == this;
    setTextMargins(0, strip ? m_staticField->Label()->height() : 0, 0, 0);
}

// ------------------------------------------------------------------------------------------ companions

QString TZelSpockCustom::uniqueName(const QString &prefix) const
{
    const QWidget *owner = window();
    for (int n = 1;; ++n) {
        const QString name = prefix + QString::number(n);
        if (!owner->findChild<QObject *>(name) && owner->objectName() != name)
            return name;
    }
}

void TZelSpockCustom::CreateZelLabel()
{
    auto *label = new TZelLabel(parentWidget());
    const QString name = uniqueName(QStringLiteral("ZelLabel"));
    label->setObjectName(name);
    label->setCaption(name);
    label->show();
    setZelLabel(label);
}

void TZelSpockCustom::CreateZelPanel()
{
    auto *panel = new TZelPanel(parentWidget());
    const QString name = uniqueName(QStringLiteral("ZelPanel"));
    panel->setObjectName(name);
    panel->setCaption(name);
    panel->show();
    setZelPanel(panel);
}

void TZelSpockCustom::CreateZelSpeedButton()
{
    auto *button = new TZelSpeedButton(parentWidget());
    button->setObjectName(uniqueName(QStringLiteral("ZelSpeedButton")));
    button->show();
    setZelSpeedButton(button);
}

TZelLabel *TZelSpockCustom::ZelLabel() const
{
    return m_label;
}

TZelSpeedButton *TZelSpockCustom::ZelSpeedButton() const
{
    return m_button;
}

TZelPanel *TZelSpockCustom::ZelPanel() const
{
    return m_panel;
}

void TZelSpockCustom::setZelLabel(TZelLabel *label)
{
    if (label == m_label)
        return;
    if (m_loading || !label) {
        m_label = label;
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

void TZelSpockCustom::setZelSpeedButton(TZelSpeedButton *button)
{
    if (button == m_button)
        return;
    if (m_loading || !button) {
        m_button = button;
        return;
    }
    if (button->parentWidget() != parentWidget())
        return;
    button->setFocusControl(this);
    button->resize(height(), height());
    button->move(x() - button->width() - 2, y());
    if (!button->hasGlyph()) {
        button->setLayout(TZelSpeedButton::blGlyphRight);
        button->setZelIcon(bcBlack);
    }
    button->setAutoSize(true);
    button->setFlat(true);
    m_button = button;
}

void TZelSpockCustom::setZelPanel(TZelPanel *panel)
{
    if (panel == m_panel)
        return;
    if (m_loading || !panel) {
        m_panel = panel;
        return;
    }
    if (panel->parentWidget() != parentWidget())
        return;
    panel->setFocusControl(this);
    panel->setGeometry(x() + width() + 4, y(), panel->width(), height());
    panel->setBevelInner(TZelPanel::bvNone);
    panel->setBevelOuter(TZelPanel::bvLowered);
    panel->setAlignment(Qt::AlignLeft);
    m_panel = panel;
    AdjustDropDownWidth();
}

void TZelSpockCustom::receivedParent()
{
    if (!parentWidget() || m_loading)
        return;
    if (!m_label)
        CreateZelLabel();
    m_staticField->Arrange();
}

void TZelSpockCustom::AdjustDropDownWidth()
{
    if (m_spockList->Width() != 0)
        return;
    if (m_panel)
        m_spockList->setWidth(m_panel->x() + m_panel->width() - x());
    else
        m_spockList->setWidth(width());
}

void TZelSpockCustom::moveEvent(QMoveEvent *event)
{
    AdjustDropDownWidth();
    QLineEdit::moveEvent(event);
}

void TZelSpockCustom::resizeEvent(QResizeEvent *event)
{
    AdjustDropDownWidth();
    QLineEdit::resizeEvent(event);
    if (m_staticField->Visible() && m_staticField->Label())
        m_staticField->Label()->resize(contentsRect().width(), m_staticField->Label()->height());
}

// --------------------------------------------------------------------------------------------- look-up

void TZelSpockCustom::setLookUpDataSet(db::DataSet *dataSet)
{
    if (dataSet == m_lookUpDataSet)
        return;
    if (m_lookUpDataSet)
        m_lookUpDataSet->afterOpen = m_savedAfterOpen;
    m_savedAfterOpen = nullptr;
    m_lookUpDataSet = dataSet;
    if (dataSet) {
        m_savedAfterOpen = dataSet->afterOpen;
        dataSet->afterOpen = [this](db::DataSet &ds) { LookUpDataSetAfterOpen(ds); };
    }
}

void TZelSpockCustom::LookUpDataSetAfterOpen(db::DataSet &dataSet)
{
    RefreshLookUp();
    if (m_savedAfterOpen)
        m_savedAfterOpen(dataSet);
}

void TZelSpockCustom::RefreshLookUp()
{
    if (m_editKind != ekLookup || !m_panel)
        return;
    bool found = false;
    db::DataSet *ds = m_lookUpDataSet;
    try {
        if (ds && !m_lookUpKeyField.isEmpty() && ds->isActive() && !m_lookUpResultField.isEmpty()) {
            db::Field &key = ds->fieldByName(m_lookUpKeyField);
            if (!ds->isEmpty() && key.editText() == GetTextValue()) {
                found = true;
            } else if (!DataField().isEmpty() && DataSource() && DataSource()->dataSet()) {
                const QVariant value = DataSource()->dataSet()->fieldByName(DataField()).value();
                found = ds->locate(m_lookUpKeyField, value, db::LocateOption::CaseInsensitive);
            } else {
                const QString text = Text();
                QVariant value;
                switch (key.dataType()) {
                case db::FieldType::String:
                case db::FieldType::TextBlob:
                    value = text;
                    break;
                case db::FieldType::SmallInt:
                case db::FieldType::Integer:
                case db::FieldType::BigInt:
                case db::FieldType::Boolean: {
                    qint64 n = 0;
                    if (!regional::textToInt(text, n))
                        n = 0;
                    value = n;
                    break;
                }
                case db::FieldType::Float: {
                    QString plain = text;
                    plain.remove(regional::settings().thousandSeparator);
                    double d = 0;
                    if (!regional::textToFloat(plain, d))
                        throw db::ValueError(QStringLiteral("Valor inválido"));
                    value = d;
                    break;
                }
                case db::FieldType::Date:
                case db::FieldType::Time:
                case db::FieldType::Timestamp: {
                    QDateTime dt;
                    if (!regional::textToDateTime(text, dt))
                        throw db::ValueError(QStringLiteral("Data inválida"));
                    value = dt;
                    break;
                }
                default:
                    break; // fixed-char, BCD and binary keys are not searched
                }
                if (value.isValid())
                    found = ds->locate(m_lookUpKeyField, value, db::LocateOption::CaseInsensitive);
            }
        }
    } catch (...) {
        found = false;
    }
    if (found) {
        m_panel->setCaption(ds->fieldByName(m_lookUpResultField).editText());
        if (OnChangeLookUp)
            OnChangeLookUp(true);
    } else {
        m_panel->setCaption(QString());
        if (OnChangeLookUp)
            OnChangeLookUp(false);
    }
}

void TZelSpockCustom::OpenRequest()
{
    if (OnCtrlEnter)
        OnCtrlEnter(this);
    if (m_editKind == ekList) {
        if (m_spockList->isDropped()) {
            m_spockList->CloseUp();
            return;
        }
        if (OnDropDown)
            OnDropDown(this);
        m_dropMarkedModified = false;
        if (isBound()) {
            m_link.Edit();
            m_dropMarkedModified = !m_link.Modified();
            m_link.setModified(true);
        }
        m_spockList->DropDown();
        return;
    }
    if (m_editKind != ekLookup)
        return;
    if (!LookUpFunction) {
        showPropertyError(this, QStringLiteral("Property LookUpFunction not Assigned"));
        return;
    }
    if (!LookUpFormClass) {
        showPropertyError(this, QStringLiteral("Property LookUpFormClass not Assigned"));
        return;
    }
    db::DataSet *ds = m_lookUpDataSet;
    if (!ds || m_lookUpShowFields.isEmpty() || m_lookUpResultField.isEmpty())
        return;
    if (OnInitDialog)
        OnInitDialog(this);
    // A picker closed without a choice leaves its data set anywhere (back on its starting record at best):
    // that record is no choice of the user's and must not replace the value.
    const bool chosen =
        LookUpFunction(ds, m_lookUpShowFields, LookUpRegisterFormClass, LookUpFormClass, m_lookUpCaption);
    if (chosen && DataSource() && DataSource()->dataSet()) {
        db::Field &target = DataSource()->dataSet()->fieldByName(DataField());
        // A choice made while browsing must not be lost: it starts the edit, as typing would.
        m_link.Edit();
        target.setValue(ds->fieldByName(m_lookUpKeyField).value());
    } else if (chosen) {
        setText(ds->fieldByName(m_lookUpKeyField).editText());
    }
    RefreshLookUp();
    if (OnCloseDialog)
        OnCloseDialog(this);
}

// -------------------------------------------------------------------------------------------- keys

void TZelSpockCustom::Paste()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    QString text = clipboard->text();
    const qsizetype lineEnd = text.indexOf(u'\r');
    if (lineEnd >= 0)
        text.truncate(lineEnd);
    text.remove(u'\n');
    clipboard->clear();
    clipboard->setText(text);
    if (isBound())
        m_link.Edit();
    if (maskActive())
        m_mask->paste();
    else
        QLineEdit::paste();
}

bool TZelSpockCustom::KeyDown(QKeyEvent *event)
{
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    if (isBound() && (event->key() == Qt::Key_Delete || (event->key() == Qt::Key_Insert && shift)))
        m_link.Edit();
    if (event->key() == Qt::Key_Escape && isModified() && isBound() && GetTextValue() != GetFieldText()) {
        m_link.Reset();
        selectAll();
        return true;
    }
    return false;
}

void TZelSpockCustom::KeyPress(QChar &key)
{
    if (!m_wantReturns && (key == u'\r' || key == u'\n'))
        key = QChar();
    if (!isBound() || key.isNull())
        return;
    if (key.unicode() >= 32 && Field() && !Field()->isValidChar(key)) {
        QApplication::beep();
        key = QChar();
        return;
    }
    const ushort c = key.unicode();
    if (c == 8 || c == 22 || c == 24 || (c == u'\r' && m_wantReturns) || c >= 32) {
        m_link.Edit();
    } else if (c == 27) {
        m_link.Reset();
        selectAll();
        key = QChar();
    }
}

bool TZelSpockCustom::handleKeyPress(QKeyEvent *event)
{
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && ctrl) {
        OpenRequest();
        return true;
    }
    if (enter && !m_wantReturns && m_enterToNext) {
        // Only a window moves the focus on this request; other parents let it pass.
        if (parentWidget() && parentWidget()->isWindow())
            focusNextPrevChild(!shift);
        return true;
    }
    if (KeyDown(event))
        return true;
    if (event->matches(QKeySequence::Paste)) {
        Paste();
        return true;
    }
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo)) {
        if (isBound())
            m_link.Edit();
        return false;
    }

    QChar key;
    if (enter)
        key = u'\r';
    else if (event->key() == Qt::Key_Backspace)
        key = QChar(8);
    else if (event->key() == Qt::Key_Escape)
        key = QChar(27);
    else if (!event->text().isEmpty() && event->text().at(0).unicode() >= 32 &&
             !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        key = event->text().at(0);
    if (key.isNull())
        return false;
    const QChar typed = key;
    KeyPress(key);
    if (typed == u'\r' || typed.unicode() == 27)
        return false; // the line edit ignores them: they go on to the window
    if (key.isNull())
        return true;
    if (key != typed) {
        typeChar(key);
        return true;
    }
    return false;
}

void TZelSpockCustom::showContextMenu(QContextMenuEvent *event)
{
    // The menu's paste, cut and undo would go around the edit: paste must keep the first line only, and
    // every change must ask the data link to edit first, as the keys do.
    QMenu *menu = createStandardContextMenu();
    const auto guarded = [this](auto work) {
        return [this, work] {
            try {
                work();
            } catch (...) {
                ZelErrorHandler::handle(std::current_exception());
            }
        };
    };
    for (QAction *action : menu->actions()) {
        if (takeOver(action, this, &QLineEdit::paste, SLOT(paste()))) {
            connect(action, &QAction::triggered, this, guarded([this] { Paste(); }));
        } else if (takeOver(action, this, &QLineEdit::cut, SLOT(cut()))) {
            connect(action, &QAction::triggered, this, guarded([this] {
                        if (isBound())
                            m_link.Edit();
                        cut();
                    }));
        } else if (takeOver(action, this, &QLineEdit::undo, SLOT(undo()))) {
            connect(action, &QAction::triggered, this, guarded([this] {
                        if (isBound())
                            m_link.Edit();
                        undo();
                    }));
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

bool TZelSpockCustom::eventFilter(QObject *watched, QEvent *event)
{
    // A masked edit builds its own menu.
    if (watched == this && event->type() == QEvent::ContextMenu && !maskActive()) {
        showContextMenu(static_cast<QContextMenuEvent *>(event));
        return true;
    }
    if (watched == this && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        try {
            if (handleKeyPress(key)) {
                key->accept();
                return true;
            }
        } catch (...) {
            ZelErrorHandler::handle(std::current_exception());
            key->accept();
            return true;
        }
    }
    return QLineEdit::eventFilter(watched, event);
}

bool TZelSpockCustom::event(QEvent *event)
{
    if (event->type() == ZelEvents::OpenRequest) {
        try {
            OpenRequest();
        } catch (...) {
            ZelErrorHandler::handle(std::current_exception());
        }
        return true;
    }
    if (event->type() == QEvent::ParentChange)
        receivedParent();
    if (event->type() == QEvent::ShortcutOverride) {
        // Ctrl+Enter and Escape belong to the edit first (the window's shortcuts come after it).
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers().testFlag(Qt::ControlModifier)) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}
