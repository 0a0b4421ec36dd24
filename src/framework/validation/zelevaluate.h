#pragma once

#include "evallist.h"
#include "evalobj.h"
#include "zelerrorlist.h"

#include "platform/db/dataset.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

/// Builds a fresh rule set; stands for the class reference a form names.
using TEvalClass = std::function<std::unique_ptr<TEvalObj>()>;
/// The form's answer to "which rule set?": the handler sets evalClass, or leaves it empty for none.
using TGetEvalClassEvent = std::function<void(TEvalClass &evalClass)>;

/// The TEvalClass of rule-set class T.
template <class T> TEvalClass EvalClassOf()
{
    return [] { return std::unique_ptr<TEvalObj>(std::make_unique<T>()); };
}

/// The rules engine: runs a fresh rule set over the current record of a data set and collects the findings.
class TZelEvaluate : public QObject
{
    Q_OBJECT
public:
    explicit TZelEvaluate(QObject *parent = nullptr);
    ~TZelEvaluate() override;

    TEvalList &Evals() { return m_evals; }
    TGetEvalClassEvent GetEvalClass;
    db::DataSet *DataSet() const { return m_dataSet; }
    void setDataSet(db::DataSet *dataSet) { m_dataSet = dataSet; }

    /// The findings of the last evaluation: one item per field with at least one finding.
    TZelErrorList &ErrorList() { return m_errorList; }
    const TZelErrorList &ErrorList() const { return m_errorList; }

    /// Runs every rule of a new rule set in registration order, each between the hooks of its field. Without
    /// a rule set nothing changes. An exception of a rule ends the evaluation and reaches the caller.
    virtual void Evaluate();

private:
    TEvalList m_evals;
    QPointer<db::DataSet> m_dataSet;
    TZelErrorList m_errorList;
};

/// The single way rules report a finding: appends it to errors with the evaluator's data set and the ID of
/// its current row.
void AddError(TZelErrors &errors, const QString &message, const QString &detail, const QString &formClass,
              const QString &controlName, const QString &fieldName, int kind, int code);

/// The field's value as text, or the info's Value as text when there is no field ("" for null): empty text
/// means the field was not filled in.
QString EvalValueAsText(const TEvalInfo &evalInfo);
