#pragma once

#include <QString>
#include <QStringList>

#include <QtGlobal>

namespace ZelScript {

/// The figures of the last measured statement of a script run, as the statistics lines report them.
struct ScriptStatistics
{
    qint64 executeMilliseconds = 0;
    qint64 prepareMilliseconds = 0;
    qint64 startingMemory = 0;
    qint64 currentMemory = 0;
    qint64 numberOfBuffers = 0;
    qint64 reads = 0;
    qint64 writes = 0;
    /// Empty when no plan was read.
    QString plan;
    /// Records fetched, or rows affected by the last INSERT, UPDATE or DELETE.
    qint64 recordsFetched = 0;
};

/// Separates a statistics line's caption from its value.
inline QString statisticsSeparator()
{
    return QStringLiteral("~|");
}

/// The plan text kept when the server cannot give the plan of a statement.
inline QString planNotRetrievedText()
{
    return QStringLiteral("Plan could not be retreived");
}

/// The ten lines appended to StatisticsList after a run.
QStringList statisticsLines(const ScriptStatistics &statistics);

} // namespace ZelScript
