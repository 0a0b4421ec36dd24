#include "programdirectory.h"

#include <QCoreApplication>
#include <QDir>

namespace ProgramDirectory {

namespace {

QString &overridden()
{
    static QString folder;
    return folder;
}

} // namespace

QString path()
{
    if (!overridden().isEmpty())
        return overridden();
    return QCoreApplication::applicationDirPath();
}

void setPath(const QString &folder)
{
    overridden() = folder;
}

QString filePath(const QString &relative)
{
    return QDir(path()).filePath(relative);
}

} // namespace ProgramDirectory
