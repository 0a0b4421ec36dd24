#pragma once

#include "zelerror.h"

#include <QString>

#include <vector>

class TZelErrorList;

/// The findings about one evaluated field, in the order the rule added them.
class TZelErrors
{
public:
    explicit TZelErrors(TZelErrorList *collection = nullptr) : m_collection(collection) {}

    /// The list this item belongs to (none for an item made on its own).
    TZelErrorList *Collection() const { return m_collection; }

    /// Always upper case.
    QString FieldName() const { return m_fieldName; }
    void setFieldName(const QString &name) { m_fieldName = name.toUpper(); }

    int Count() const { return int(m_errors.size()); }
    const TZelError &Item(int index) const { return m_errors.at(size_t(index)); }
    const std::vector<TZelError> &Errors() const { return m_errors; }
    void Add(TZelError error) { m_errors.push_back(std::move(error)); }
    void Clear() { m_errors.clear(); }

private:
    TZelErrorList *m_collection;
    QString m_fieldName;
    std::vector<TZelError> m_errors;
};
