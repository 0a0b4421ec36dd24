#include "zelscriptssql.h"

#include "platform/db/dberror.h"

#include <QFile>

void TZelScriptsSQL::addFromFile(const QString &name, const QString &version, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw db::ProgrammingError(QStringLiteral("Version script %1 not found").arg(path));
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Versions.push_back(TVersion{name, version, text.split(QLatin1Char('\n'))});
}

int VersionNumber(const QString &version)
{
    QString digits = version;
    digits.remove(QLatin1Char('.'));
    bool ok = false;
    const int n = digits.toInt(&ok);
    return ok ? n : 0;
}
