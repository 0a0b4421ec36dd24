#pragma once

#include <QVariant>

#include <functional>

namespace db {
class DataSet;
class Field;
} // namespace db
class TZelErrors;

/// What a rule receives about the field it checks.
struct TEvalInfo
{
    /// The evaluated data set's field of the rule's name, or none when the data set has no such field.
    db::Field *Field = nullptr;
    db::DataSet *DataSet = nullptr;
    /// Left unassigned by the engine; read by EvalValueAsText when there is no field.
    QVariant Value;
};

/// The shape of every rule and of the hooks before and after each field: findings go into errors.
using TOnEvaluate = std::function<void(const TEvalInfo &evalInfo, TZelErrors &errors)>;
