#include "loginstep.h"

#include "clsdbdatamodule.h"
#include "clslogin.h"
#include "logincredentials.h"

#include "framework/data/zelsqlglobals.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/statement.h"
#include "platform/db/transaction.h"

QString PermissionQuery(int module)
{
    const QString m = QString::number(module);
    return QStringLiteral(
               "select U.ID, U.PRIMEIRO_NOME, U.ULTIMO_NOME, U.SENHA, U.SUPERVISOR, U.DESATIVADO,  "
               "( select M.MODULO from MODULO M where M.ID = ") +
           m + QStringLiteral(") as MODULO  from USUARIO U where ") +
           QStringLiteral("   ( U.USUARIO = :USUARIO) and ") +
           QStringLiteral("   (( select count(UM.USUARIOID) from USUARIO_MODULO UM where ") +
           QStringLiteral("UM.USUARIOID = U.ID and UM.MODULOID = ") + m + QStringLiteral(" ) >= 1 ) and ") +
           QStringLiteral("(   (( select count(UM2.USUARIOID) from USUARIO_MODULO UM2 where ") +
           QStringLiteral("UM2.USUARIOID = U.SUPERVISORID and UM2.MODULOID = ") + m +
           QStringLiteral(") >= 1 ) or ") + QStringLiteral("    (U.SUPERVISORID = 1)  )");
}

QString ModuleListQuery()
{
    return QStringLiteral("select * from USUARIO_MODULO where USUARIOID = :USUARIOID order by MODULOID");
}

QString FirstPasswordUpdate(const QString &digest, int userId)
{
    return QStringLiteral("update USUARIO set  SENHA = '") + digest + QStringLiteral("' where ID = ") +
           QString::number(userId);
}

LoginCandidate FindLoginCandidate(db::Database &database, db::Transaction &transaction, const QString &user,
                                  int module)
{
    db::Statement sql(&database, &transaction);
    sql.setSql(PermissionQuery(module));
    LoginCandidate candidate;
    try {
        sql.param(QStringLiteral("USUARIO")).setString(user);
        sql.execute();
    } catch (const db::ValueError &) {
        // Too long for USUARIO or with characters the database cannot hold: no user has that name.
        return candidate;
    }
    if (sql.next()) {
        candidate.id = sql.field(QStringLiteral("ID")).asInteger();
        candidate.found = candidate.id > 0;
        candidate.firstName = sql.field(QStringLiteral("PRIMEIRO_NOME")).asString();
        candidate.lastName = sql.field(QStringLiteral("ULTIMO_NOME")).asString();
        candidate.password = sql.field(QStringLiteral("SENHA")).asString();
        candidate.supervisor = sql.field(QStringLiteral("SUPERVISOR")).asString() == QLatin1String("T");
        candidate.deactivated = sql.field(QStringLiteral("DESATIVADO")).asString() == QLatin1String("T");
        candidate.modulo = sql.field(QStringLiteral("MODULO")).asString();
    }
    sql.close();
    return candidate;
}

void LoadModuleList(db::Database &database, db::Transaction &transaction, int userId, TZelSQLGlobals &globals)
{
    db::Statement sql(&database, &transaction);
    sql.setSql(ModuleListQuery());
    sql.param(QStringLiteral("USUARIOID")).setInteger(userId);
    sql.execute();
    globals.ModuleList().clear();
    while (sql.next())
        globals.ModuleList().append(QString::number(sql.field(QStringLiteral("MODULOID")).asInteger()));
    sql.close();
}

void FillSession(TZelSQLGlobals &globals, const QString &usuario, const LoginCandidate &candidate,
                 int moduleId)
{
    globals.setUsuario(usuario);
    globals.setUsuarioID(candidate.id);
    globals.setFirstName(candidate.firstName);
    globals.setLastName(candidate.lastName);
    globals.setIsSupervisor(candidate.supervisor);
    globals.setModulo(candidate.modulo);
    globals.setModuloID(moduleId);
}

bool ArgumentLogin(const QString &argument)
{
    if (!ClsDBDataModule)
        throw db::ProgrammingError(QStringLiteral("The main data module does not exist"));
    db::Database &database = *ClsDBDataModule->dbMain;
    db::Transaction transaction;
    transaction.setDefaultDatabase(&database);
    transaction.setParams(
        {QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")});
    transaction.start();
    const QString user = UnscrambleUserName(argument).left(10);
    const LoginCandidate candidate = FindLoginCandidate(database, transaction, user, ApplicationModuleID);
    const bool ok = candidate.found && !candidate.deactivated;
    if (ok) {
        FillSession(*ClsDBDataModule->ZelSQLGlobals, user, candidate, ApplicationModuleID);
        LoadModuleList(database, transaction, candidate.id, *ClsDBDataModule->ZelSQLGlobals);
    }
    transaction.commit();
    return ok;
}

bool LoginStep(const QStringList &arguments)
{
    if (arguments.size() > 1) {
        try {
            if (ArgumentLogin(arguments.at(1)))
                return true;
        } catch (const db::DatabaseError &) {
            // A failed argument login is silent: the dialog asks instead.
        }
    }
    TClsLogin dialog;
    dialog.setModuleNumber(ApplicationModuleID);
    dialog.exec();
    return dialog.loggedIn();
}
