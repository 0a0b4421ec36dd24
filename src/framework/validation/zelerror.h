#pragma once

#include <QString>

namespace db {
class DataSet;
}

/// Severities of a finding: a hint, a warning the user may accept, an error that blocks the save.
namespace ZelErrorKind {
constexpr int Hint = 0;
constexpr int Warning = 1;
constexpr int Error = 2;

/// "[Erro] - ", "[Aviso] - " or "[Dica] - ", put before a finding wherever findings are listed.
QString Label(int kind);
} // namespace ZelErrorKind

/// One finding of a validation rule about one field of the record being checked.
struct TZelError
{
    QString Message;
    int Kind = ZelErrorKind::Error;
    int Code = 0;
    QString Detail;
    /// The data set under evaluation; not owned.
    db::DataSet *DataSet = nullptr;
    QString FieldName;
    /// Object name of the edit control to focus for this finding.
    QString ControlName;
    /// ID of the data set's current row, -1 without one.
    int RecordID = -1;
    /// Class name of the form the rule belongs to ("TfrmLancaNotas").
    QString FormClass;
};
