#include "zelfielddatalink.h"

#include "platform/db/dberror.h"

void TZelFieldDataLink::setFieldName(const QString &name)
{
    if (name == m_fieldName)
        return;
    m_fieldName = name;
    updateField();
}

void TZelFieldDataLink::updateField()
{
    db::Field *found = nullptr;
    if (isActive() && !m_fieldName.isEmpty()) {
        if (m_control) {
            found = dataSet()->findField(m_fieldName);
            if (!found)
                throw db::ProgrammingError(
                    QStringLiteral("%1: Field '%2' not found").arg(m_control->objectName(), m_fieldName));
        } else {
            found = &dataSet()->fieldByName(m_fieldName);
        }
    }
    setField(found);
}

void TZelFieldDataLink::setField(db::Field *field)
{
    m_field = field;
    editingChanged();
    recordChanged(nullptr);
}

bool TZelFieldDataLink::CanModify() const
{
    return !isReadOnly() && m_field && m_field->canModify();
}

bool TZelFieldDataLink::Edit()
{
    DataLink::edit();
    return m_fieldEditing;
}

void TZelFieldDataLink::Reset()
{
    recordChanged(nullptr);
}

void TZelFieldDataLink::UpdateRecord()
{
    updateData();
}

void TZelFieldDataLink::activeChanged()
{
    // The old field dies with a closing data set: never keep a pointer to it.
    if (!isActive())
        m_field = nullptr;
    updateField();
    if (OnActiveChange)
        OnActiveChange(this);
}

void TZelFieldDataLink::dataSetChanged()
{
    recordChanged(nullptr);
    if (OnDataSetChange)
        OnDataSetChange(this);
}

void TZelFieldDataLink::recordChanged(db::Field *field)
{
    if (m_updating)
        return;
    if (field == nullptr || field == m_field) {
        if (OnDataChange)
            OnDataChange(this);
        m_modified = false;
    }
}

void TZelFieldDataLink::editingChanged()
{
    const bool editing = isEditing() && CanModify();
    if (editing != m_fieldEditing) {
        m_fieldEditing = editing;
        m_modified = false;
        if (OnEditingChange)
            OnEditingChange(this);
    }
}

void TZelFieldDataLink::updateData()
{
    if (m_updating)
        return;
    m_updating = true;
    struct Guard
    {
        bool &flag;
        ~Guard() { flag = false; }
    } guard{m_updating};
    if (m_modified) {
        if (m_field && OnUpdateData)
            OnUpdateData(this);
        m_modified = false;
    }
}

void TZelFieldDataLink::dataSetScrolled(int distance)
{
    DataLink::dataSetScrolled(distance);
    if (OnDataSetScroll)
        OnDataSetScroll(this);
}

void TZelFieldDataLink::layoutChanged()
{
    // Fields may have been rebuilt: resolve first, so that nothing reads through a stale pointer.
    m_field = nullptr;
    updateField();
    DataLink::layoutChanged();
}

void TZelFieldDataLink::focusControl(db::Field *field)
{
    if (field && field == m_field && m_control && m_control->focusPolicy() != Qt::NoFocus &&
        m_control->isEnabled() && m_control->isVisible())
        m_control->setFocus(Qt::OtherFocusReason);
}
