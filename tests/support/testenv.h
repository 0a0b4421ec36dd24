#pragma once

#include <QString>

namespace testenv {

/// The Firebird server the server tests may use ("host"), or empty when none is configured.
QString serverHost();
QString serverPassword();
/// Folder on the server's machine where the server may create test databases.
QString serverDirectory();

} // namespace testenv
