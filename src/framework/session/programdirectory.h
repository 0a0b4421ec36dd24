#pragma once

#include <QString>

/// The folder of the program's own files (connection.ini, Log/): the executable's folder unless set.
namespace ProgramDirectory {

QString path();
/// Replaces the folder (tests and tools that prepare another program's files); empty restores the default.
void setPath(const QString &folder);
/// path() joined with a relative file name.
QString filePath(const QString &relative);

} // namespace ProgramDirectory
