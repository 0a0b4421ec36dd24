#pragma once

#include <QString>
#include <QStringList>

namespace db {
class Database;
class Transaction;
} // namespace db
class TZelSQLGlobals;

/// The row of USUARIO the permission query found for a user name, if any.
struct LoginCandidate
{
    bool found = false;
    int id = 0;
    QString firstName;
    QString lastName;
    QString password;
    bool supervisor = false;
    bool deactivated = false;
    QString modulo;

    /// SENHA null or blank: the user registers a password at this login.
    bool needsPassword() const { return password.trimmed().isEmpty(); }
};

/// The permission query for module `module`: a user's row only when the user holds the module and the
/// supervisor holds it too or is user 1.
QString PermissionQuery(int module);
/// Every module granted to a user, ascending.
QString ModuleListQuery();
/// The statement that registers a first password.
QString FirstPasswordUpdate(const QString &digest, int userId);

/// Runs the permission query for `user` (compared as text, whatever it holds).
LoginCandidate FindLoginCandidate(db::Database &database, db::Transaction &transaction, const QString &user,
                                  int module);
/// Replaces the session's module list with the user's granted modules.
void LoadModuleList(db::Database &database, db::Transaction &transaction, int userId,
                    TZelSQLGlobals &globals);
/// Puts the logged-in user into the session.
void FillSession(TZelSQLGlobals &globals, const QString &usuario, const LoginCandidate &candidate,
                 int moduleId);

/// Logs in the user whose scrambled name a sibling program passed, without a password; a deactivated or
/// ungranted user is refused silently.
bool ArgumentLogin(const QString &argument);
/// The login step: the argument login when the command line carries a user, otherwise (or when it fails)
/// the login dialog. `arguments` is the command line with the program name first.
bool LoginStep(const QStringList &arguments);
