#pragma once

#include "zelerrors.h"

#include <memory>
#include <vector>

class TZelEvaluate;

/// The findings of one evaluation, one TZelErrors item per field with findings, in evaluation order.
class TZelErrorList
{
public:
    explicit TZelErrorList(TZelEvaluate *owner = nullptr) : m_owner(owner) {}

    TZelEvaluate *Owner() const { return m_owner; }

    TZelErrors &Add();
    int Count() const { return int(m_items.size()); }
    TZelErrors &Item(int index) const { return *m_items.at(size_t(index)); }
    void Delete(int index);
    /// Drops the item (when it belongs to this list).
    void Remove(const TZelErrors *item);
    void Clear() { m_items.clear(); }

    /// Every finding of every item, in order.
    std::vector<TZelError> AllErrors() const;
    /// Whether any finding has this kind.
    bool HasKind(int kind) const;

private:
    TZelEvaluate *m_owner;
    std::vector<std::unique_ptr<TZelErrors>> m_items;
};
