#pragma once

#include "evalinfo.h"

#include <QString>

/// Hooks a form attaches to one field: run right before and right after every rule of that field.
class TEvalItem
{
public:
    /// Always upper case; also the item's display name.
    QString FieldName() const { return m_fieldName; }
    void setFieldName(const QString &name) { m_fieldName = name.toUpper(); }
    QString DisplayName() const { return m_fieldName; }

    TOnEvaluate OnBeforeEvaluate;
    TOnEvaluate OnAfterEvaluate;

private:
    QString m_fieldName;
};
