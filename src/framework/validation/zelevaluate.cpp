#include "zelevaluate.h"

#include "framework/data/zeldataset.h"

TZelEvaluate::TZelEvaluate(QObject *parent) : QObject(parent), m_evals(this), m_errorList(this) {}

TZelEvaluate::~TZelEvaluate() = default;

void TZelEvaluate::Evaluate()
{
    TEvalClass evalClass;
    if (GetEvalClass)
        GetEvalClass(evalClass);
    if (!evalClass)
        return;
    const std::unique_ptr<TEvalObj> ruleSet = evalClass();
    if (!ruleSet)
        return;
    m_errorList.Clear();
    db::DataSet *dataSet = m_dataSet;
    // By index: a rule may register further rules, which then run too.
    for (size_t i = 0; i < ruleSet->Rules().size(); ++i) {
        const TLinkData link = ruleSet->Rules()[i];
        TZelErrors &errors = m_errorList.Add();
        errors.setFieldName(link.FieldName);
        TEvalItem *item = m_evals.Find(link.FieldName);
        TEvalInfo info;
        info.Field = dataSet ? dataSet->findField(link.FieldName) : nullptr;
        info.DataSet = dataSet;
        if (item && item->OnBeforeEvaluate)
            item->OnBeforeEvaluate(info, errors);
        if (link.Callback)
            link.Callback(info, errors);
        if (item && item->OnAfterEvaluate)
            item->OnAfterEvaluate(info, errors);
        if (errors.Count() == 0)
            m_errorList.Remove(&errors);
    }
}

void AddError(TZelErrors &errors, const QString &message, const QString &detail, const QString &formClass,
              const QString &controlName, const QString &fieldName, int kind, int code)
{
    TZelError e;
    e.Message = message;
    e.Kind = kind;
    e.Code = code;
    e.Detail = detail;
    const TZelEvaluate *evaluator = errors.Collection() ? errors.Collection()->Owner() : nullptr;
    e.DataSet = evaluator ? evaluator->DataSet() : nullptr;
    e.FieldName = fieldName;
    e.ControlName = controlName;
    e.RecordID = ZelDataSet::GetRecordID(e.DataSet);
    e.FormClass = formClass;
    errors.Add(std::move(e));
}

QString EvalValueAsText(const TEvalInfo &evalInfo)
{
    if (evalInfo.Field)
        return evalInfo.Field->asString();
    if (!evalInfo.Value.isValid() || evalInfo.Value.isNull())
        return {};
    return evalInfo.Value.toString();
}
