#pragma once

namespace db {
class Database;
}
class TZelSQLGlobals;

/// The process-wide main connection and session globals. The main data module publishes them while it is
/// being built; data modules bind their table data sets to them, and leave them unbound while nothing is
/// published.
class MainConnection
{
public:
    static void publish(db::Database *database, TZelSQLGlobals *globals);
    static void withdraw();
    static bool isPublished();
    static db::Database *database();
    static TZelSQLGlobals *globals();
};
