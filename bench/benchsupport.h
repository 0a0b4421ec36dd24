#pragma once

#include <ibase.h>

#include <QString>
#include <QtGlobal>

/// What the benchmark programs share: the raw side's error handling, the database set-up both sides get, and
/// the result line.
namespace bench {

/// A failed isc_* call on the raw side: throws std::runtime_error with the engine's text.
[[noreturn]] void rawFail(const ISC_STATUS *status, const char *what);

/// With forced writes every page the engine writes waits for the disk, and on a shared machine that wait
/// swamps what the client side costs. Only the owner may switch them off, on an attachment of its own.
void disableForcedWrites(const QString &path);

/// Prints "bench <name> ours_ms=<n> raw_ms=<n> ratio=<ours/raw>" for two times in nanoseconds.
void reportNanoseconds(const QString &name, qint64 ours, qint64 raw);

/// The same line for two times in milliseconds.
void reportMilliseconds(const QString &name, qint64 ours, qint64 raw);

} // namespace bench
