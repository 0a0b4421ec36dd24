#include "evalobj.h"

void TEvalObj::RegisterRule(const QString &fieldName, TOnEvaluate callback, TEvalObj *data)
{
    m_rules.push_back(TLinkData{std::move(callback), data ? data : this, fieldName});
}
