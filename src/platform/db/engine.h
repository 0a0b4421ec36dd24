#pragma once

#include <QString>

namespace db {

/// The embedded engine's private configuration root: UDF access for ib_udf and a server mode in which several
/// local processes share one database file. Nothing under /etc is touched. The lock folder is not in the root
/// but one for the whole machine, so that every process opening a file shares its lock table.
class Engine
{
public:
    /// Prepares the root (once per process) before the first attachment. An empty root means the default:
    /// $QUINTARIS_FIREBIRD_ROOT, else the user's data directory. Later calls with another root are ignored.
    static void configure(const QString &root = {});
    /// The root in use, or empty before configure().
    static QString root();
    /// The machine-wide folder of the engine's lock tables.
    static QString lockDirectory();
    /// The per-user folder for the program's data (the default local database lives there).
    static QString userDataDirectory();
};

} // namespace db
