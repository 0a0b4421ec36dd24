#include "evallist.h"

TEvalItem &TEvalList::Add(const QString &fieldName)
{
    m_items.push_back(std::make_unique<TEvalItem>());
    m_items.back()->setFieldName(fieldName);
    return *m_items.back();
}

void TEvalList::Delete(int index)
{
    m_items.erase(m_items.begin() + index);
}

TEvalItem *TEvalList::Find(const QString &fieldName) const
{
    const QString upper = fieldName.toUpper();
    for (const auto &item : m_items)
        if (item->FieldName() == upper)
            return item.get();
    return nullptr;
}
