#pragma once

#include <QString>
#include <QStringList>

namespace db {

/// Statement text with ":NAME" parameters rewritten to the engine's "?" placeholders.
struct ParsedSql
{
    QString text;          ///< what goes to the engine
    QStringList positions; ///< upper-cased parameter name of each "?", in order
};

/// Finds ":NAME" parameters outside string literals, quoted identifiers and comments. A name may appear
/// several times; each occurrence becomes one "?".
ParsedSql parseParams(const QString &sql);

} // namespace db
