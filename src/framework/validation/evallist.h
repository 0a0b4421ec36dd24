#pragma once

#include "evalitem.h"

#include <memory>
#include <vector>

class TZelEvaluate;

/// The per-field hooks of an evaluator.
class TEvalList
{
public:
    explicit TEvalList(TZelEvaluate *owner = nullptr) : m_owner(owner) {}

    TZelEvaluate *Owner() const { return m_owner; }

    TEvalItem &Add(const QString &fieldName = {});
    int Count() const { return int(m_items.size()); }
    TEvalItem &Item(int index) const { return *m_items.at(size_t(index)); }
    void Delete(int index);
    void Clear() { m_items.clear(); }
    /// The first item of that field name, compared upper-cased; none when there is none.
    TEvalItem *Find(const QString &fieldName) const;

private:
    TZelEvaluate *m_owner;
    std::vector<std::unique_ptr<TEvalItem>> m_items;
};
