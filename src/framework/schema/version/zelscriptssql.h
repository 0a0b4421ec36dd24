#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

/// One version of a script family: its family name ("COMMON.SQL"), number ("1.00") and lines.
struct TVersion
{
    QString Name;
    QString Version;
    QStringList Script;

    QString displayText() const { return Name + QStringLiteral(" - ") + Version; }
};

/// The versions of one or more families, in the order they are applied.
using TVersionList = std::vector<TVersion>;

/// Holds an ordered list of versions.
class TZelScriptsSQL : public QObject
{
    Q_OBJECT
public:
    explicit TZelScriptsSQL(QObject *parent = nullptr) : QObject(parent) {}

    TVersionList Versions;

    /// Appends a version whose lines come from a resource or file (UTF-8 text).
    void addFromFile(const QString &name, const QString &version, const QString &path);
};

/// A version number as a whole number: the text without its dots, 0 when that is not a number
/// ("1.08" is 108, "1.10" is 110, "2.0" is 20).
int VersionNumber(const QString &version);
