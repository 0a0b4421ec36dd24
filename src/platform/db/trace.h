#pragma once

#include <QDateTime>
#include <QFlags>
#include <QString>

#include <functional>

namespace db {

/// The kinds of client activity a connection can report to a statement monitor.
enum class TraceFlag {
    Prepare = 0x001,
    Execute = 0x002,
    Fetch = 0x004,
    Error = 0x008,
    Statement = 0x010,
    Connect = 0x020,
    Transaction = 0x040,
    Blob = 0x080,
    Service = 0x100,
    Misc = 0x200,
};
Q_DECLARE_FLAGS(TraceFlags, TraceFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TraceFlags)

inline constexpr TraceFlags AllTraceFlags = TraceFlags(0x3FF);

/// Receives (event text, time) for each traced event.
using TraceHook = std::function<void(TraceFlag, const QString &, const QDateTime &)>;

} // namespace db
