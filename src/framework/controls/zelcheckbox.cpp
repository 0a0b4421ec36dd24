#include "zelcheckbox.h"

#include "commonproperties.h"
#include "zelerrorhandler.h"

#include "platform/db/dataset.h"
#include "platform/db/dberror.h"

TZelCheckBox::TZelCheckBox(QWidget *parent)
    : QCheckBox(parent), m_commonProperties(new TCommonProperties(this))
{
    m_link.setControl(this);
    m_link.OnDataChange = [this](TZelFieldDataLink *) { DataChange(); };
    m_link.OnEditingChange = [this](TZelFieldDataLink *) { EditingChange(); };
    m_link.OnUpdateData = [this](TZelFieldDataLink *) { UpdateData(); };
}

TZelCheckBox::~TZelCheckBox()
{
    m_link.OnDataChange = nullptr;
    m_link.OnEditingChange = nullptr;
    m_link.OnUpdateData = nullptr;
}

void TZelCheckBox::setDataField(const QString &name)
{
    m_link.setFieldName(name.toUpper());
    if (db::Field *f = m_link.Field())
        setText(f->displayLabel());
}

void TZelCheckBox::setDataSource(db::DataSource *source)
{
    // The source is watched: a freed one is forgotten by the link and by the check box alike.
    if (source == m_source)
        return;
    disconnect(m_sourceGone);
    m_source = source;
    m_link.setDataSource(source);
    if (source)
        m_sourceGone = connect(source, &QObject::destroyed, this, [this] { m_link.setDataSource(nullptr); });
}

QString TZelCheckBox::paddedText() const
{
    const db::Field *f = m_link.Field();
    const db::DataSet *ds = f->dataSet();
    const QString where = QStringLiteral("DataSet: %1 - Field: %2 - Object: %3")
                              .arg(ds ? ds->objectName() : QString(), f->fieldName(), objectName());
    if (f->dataType() != db::FieldType::String && f->dataType() != db::FieldType::FixedChar)
        throw db::ProgrammingError(QStringLiteral("Invalid Field Type. ") + where);
    if (f->size() < m_offSet + m_dataLength - 1)
        throw db::ProgrammingError(
            QStringLiteral("Invalid Field Size, OffSet or DataLength property value. ") + where);
    return f->asString().leftJustified(f->size(), u' ');
}

QString TZelCheckBox::Slice() const
{
    if (!m_link.Field())
        return QString();
    return paddedText().mid(m_offSet - 1, m_dataLength);
}

bool TZelCheckBox::matches(const QString &slice, const QString &value) const
{
    // Compared as written: a value shorter than the slice is stored followed by blanks.
    const QString wanted = value.left(m_dataLength).leftJustified(m_dataLength, u' ');
    if (m_caseSensitive)
        return slice == wanted;
    return slice.toUpper() == wanted.toUpper();
}

void TZelCheckBox::DataChange()
{
    db::Field *f = m_link.Field();
    if (!f) {
        m_isNull = true;
        return;
    }
    const QString slice = Slice();
    Qt::CheckState state;
    if (matches(slice, m_valueForTrue))
        state = Qt::Checked;
    else if (matches(slice, m_valueForFalse) || !isTristate())
        state = Qt::Unchecked;
    else
        state = Qt::PartiallyChecked;
    QCheckBox::setCheckState(state);
    m_isNull = f->isNull();
}

void TZelCheckBox::EditingChange()
{
    m_editing = !m_link.Editing();
}

void TZelCheckBox::UpdateData()
{
    db::Field *f = m_link.Field();
    if (!f)
        return;
    QString text = paddedText();
    QString part;
    if (checkState() == Qt::Checked)
        part = m_valueForTrue.leftJustified(m_dataLength, u' ');
    else if (checkState() == Qt::PartiallyChecked && isTristate())
        part = QString(m_dataLength, u' ');
    else
        part = m_valueForFalse.leftJustified(m_dataLength, u' ');
    text.replace(m_offSet - 1, m_dataLength, part);
    f->setAsString(text);
    m_isNull = f->isNull();
}

void TZelCheckBox::setChecked(bool on)
{
    if (m_source && !m_link.isActive())
        return;
    QCheckBox::setChecked(on);
}

void TZelCheckBox::Toggle()
{
    const bool bound = m_source != nullptr;
    if (bound) {
        m_link.Edit();
        m_link.setModified(true);
    }
    QCheckBox::setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    if (!bound)
        return;
    try {
        m_link.UpdateRecord();
    } catch (...) {
        // The box shows what the field holds, not a state that was never stored.
        try {
            m_link.Reset();
        } catch (...) {
        }
        setFocus(Qt::OtherFocusReason);
        throw;
    }
}

void TZelCheckBox::nextCheckState()
{
    try {
        Toggle();
    } catch (...) {
        ZelErrorHandler::handle(std::current_exception());
    }
}
