#include "zelerrorlist.h"

#include <algorithm>

TZelErrors &TZelErrorList::Add()
{
    m_items.push_back(std::make_unique<TZelErrors>(this));
    return *m_items.back();
}

void TZelErrorList::Delete(int index)
{
    m_items.erase(m_items.begin() + index);
}

void TZelErrorList::Remove(const TZelErrors *item)
{
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [item](const std::unique_ptr<TZelErrors> &p) { return p.get() == item; });
    if (it != m_items.end())
        m_items.erase(it);
}

std::vector<TZelError> TZelErrorList::AllErrors() const
{
    std::vector<TZelError> all;
    for (const auto &item : m_items)
        all.insert(all.end(), item->Errors().begin(), item->Errors().end());
    return all;
}

bool TZelErrorList::HasKind(int kind) const
{
    for (const auto &item : m_items)
        for (const TZelError &e : item->Errors())
            if (e.Kind == kind)
                return true;
    return false;
}
