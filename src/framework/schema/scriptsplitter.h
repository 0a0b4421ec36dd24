#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace ZelScript {

/// Called once for every script line the splitter takes (and by the executor before every statement) so that
/// a long script does not freeze the windows; the program points it at the Qt event loop.
using PendingEventsHook = std::function<void()>;

/// A hook that lets the running Qt event loop handle whatever is pending.
PendingEventsHook qtEventLoopHook();

/// Removes every leading and trailing character with code 32 or below (the scripts' notion of blank).
QString trimBlanks(const QString &text);

/// Splits script lines into statements (each trimmed, without its terminator), starting with `terminator`
/// and following the script's SET TERM lines. Returns nothing when a block comment opened at the start of a
/// line is never closed. Quotes are not considered: a terminator inside a string literal counts.
/// Throws std::invalid_argument when `terminator` is empty.
std::optional<QStringList> SplitStatements(const QStringList &lines, const QString &terminator,
                                           const PendingEventsHook &processPendingEvents = {});

/// Splits a whole script with the initial terminator ";" as a run does; throws EISQLException
/// "Unable to parse script" (category Parse) when the script cannot be split.
QStringList splitScript(const QStringList &lines, const PendingEventsHook &processPendingEvents = {});

} // namespace ZelScript
