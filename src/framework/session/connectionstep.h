#pragma once

#include <QString>

// The connection step: which database the session uses, kept in connection.ini beside the program.

/// The path of connection.ini in the program's folder.
QString ConnectionIniPath();
/// The database string last connected successfully; empty when the file, section or key is missing.
QString ReadSavedDatabaseName();
/// Remembers a database string; a file that cannot be written is ignored.
void SaveDatabaseName(const QString &databaseName);

/// Connects dbMain to `databaseName` after the schema check on a connection of its own; open data sets
/// and active transactions of a previous connection are carried over. True when dbMain is connected to it.
bool ConnectTo(const QString &databaseName);
/// Tries the saved database, otherwise asks for one in the connection dialog; true when dbMain is connected.
bool OpenConnection();
