#include "scriptstatistics.h"

namespace ZelScript {

namespace {

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// hh:mm:ss, then the milliseconds in four digits after `millisecondSeparator`.
QString duration(qint64 milliseconds, QChar millisecondSeparator)
{
    const qint64 hours = milliseconds / 3600000;
    const qint64 minutes = milliseconds / 60000 % 60;
    const qint64 seconds = milliseconds / 1000 % 60;
    return twoDigits(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') + twoDigits(seconds) +
           millisecondSeparator + QStringLiteral("%1").arg(milliseconds % 1000, 4, 10, QLatin1Char('0'));
}

} // namespace

QStringList statisticsLines(const ScriptStatistics &statistics)
{
    const QString separator = statisticsSeparator();
    const auto line = [&separator](const char *caption, const QString &value) {
        return QLatin1String(caption) + separator + value;
    };
    return {
        line("Execution Time (hh:mm:ss.ssss)", duration(statistics.executeMilliseconds, QLatin1Char('.'))),
        // The prepare line has always separated the milliseconds with a colon; readers of the list expect it.
        line("Prepare Time (hh:mm:ss.ssss)", duration(statistics.prepareMilliseconds, QLatin1Char(':'))),
        line("Starting Memory", QString::number(statistics.startingMemory)),
        line("Current Memory", QString::number(statistics.currentMemory)),
        line("Delta Memory", QString::number(statistics.currentMemory - statistics.startingMemory)),
        line("Number of Buffers", QString::number(statistics.numberOfBuffers)),
        line("Reads", QString::number(statistics.reads)),
        line("Writes", QString::number(statistics.writes)),
        line("Plan", statistics.plan.isEmpty() ? QStringLiteral("Not Available") : statistics.plan),
        line("Records Fetched", QString::number(statistics.recordsFetched)),
    };
}

} // namespace ZelScript
