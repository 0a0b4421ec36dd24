#pragma once

#include "evalinfo.h"

#include <QString>

#include <vector>

class TEvalObj;

/// One registered rule: its callback, the rule-set object it belongs to and its field name.
struct TLinkData
{
    TOnEvaluate Callback;
    TEvalObj *Data = nullptr;
    QString FieldName;
};

/// Base of rule sets: a subclass's constructor registers its rules in the order in which they run.
class TEvalObj
{
public:
    TEvalObj() = default;
    virtual ~TEvalObj() = default;
    TEvalObj(const TEvalObj &) = delete;
    TEvalObj &operator=(const TEvalObj &) = delete;

    /// Appends a rule; data defaults to this rule set.
    void RegisterRule(const QString &fieldName, TOnEvaluate callback, TEvalObj *data = nullptr);
    /// Appends a member function of the rule set as a rule.
    template <class T>
    void RegisterRule(const QString &fieldName, void (T::*method)(const TEvalInfo &, TZelErrors &))
    {
        T *self = static_cast<T *>(this);
        RegisterRule(fieldName, [self, method](const TEvalInfo &info, TZelErrors &errors) {
            (self->*method)(info, errors);
        });
    }

    const std::vector<TLinkData> &Rules() const { return m_rules; }

private:
    std::vector<TLinkData> m_rules;
};
