#pragma once

#include "platform/db/datasource.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

/// The data link through which a framework control reads and writes one field of its data source.
class TZelFieldDataLink : public db::DataLink
{
public:
    using Notify = std::function<void(TZelFieldDataLink *)>;

    TZelFieldDataLink() = default;

    QString FieldName() const { return m_fieldName; }
    /// Stores the name and resolves the field again when it differs.
    void setFieldName(const QString &name);
    db::Field *Field() const { return m_field; }

    /// The control served: names the control in a missing-field error and takes the focus on request.
    QWidget *Control() const { return m_control; }
    void setControl(QWidget *control) { m_control = control; }

    /// Editing and the field can be modified.
    bool Editing() const { return m_fieldEditing; }
    bool Modified() const { return m_modified; }
    void setModified(bool on) { m_modified = on; }

    /// Not read-only, and the field exists and can be modified.
    bool CanModify() const;
    /// Asks the data source for edit mode (even when the field cannot be modified); answers Editing().
    bool Edit();
    /// Shows the field's value again and drops the modified flag.
    void Reset();
    /// Writes the control's pending text into the field now (the data set's record update does the same).
    void UpdateRecord();

    Notify OnDataChange;
    Notify OnDataSetChange;
    Notify OnUpdateData;
    Notify OnEditingChange;
    Notify OnDataSetScroll;
    Notify OnActiveChange;

protected:
    void activeChanged() override;
    void dataSetChanged() override;
    void recordChanged(db::Field *field) override;
    void editingChanged() override;
    void updateData() override;
    void dataSetScrolled(int distance) override;
    void layoutChanged() override;
    void focusControl(db::Field *field) override;

private:
    void updateField();
    void setField(db::Field *field);

    QString m_fieldName;
    db::Field *m_field = nullptr;
    QPointer<QWidget> m_control;
    bool m_fieldEditing = false;
    bool m_modified = false;
    // A field written by the control's own update must not be shown back into it half-way.
    bool m_updating = false;
};
