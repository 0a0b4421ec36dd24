#include "admincommands.h"

#include "framework/schema/version/clscustomversion.h"
#include "framework/session/connectionstep.h"
#include "framework/session/programdirectory.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/engine.h"
#include "platform/db/statement.h"
#include "platform/db/transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

/// A connection as the administrator with a transaction of its own; commits when asked.
struct AdminSession
{
    explicit AdminSession(const QString &databaseName)
    {
        database.setDatabaseName(databaseName);
        database.setParams(AdminLoginParams());
        database.open();
        transaction.setDefaultDatabase(&database);
        transaction.setParams(
            {QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")});
        transaction.start();
    }
    QString scalar(const QString &sql, const QVariantList &values = {})
    {
        db::Statement st(&database, &transaction);
        st.setSql(sql);
        for (int i = 0; i < values.size(); ++i)
            st.param(i).setValue(values.at(i));
        st.execute();
        if (!st.next() || st.field(0).isNull())
            return {};
        return st.field(0).asString();
    }
    void exec(const QString &sql, const QVariantList &values = {})
    {
        db::Statement st(&database, &transaction);
        st.setSql(sql);
        for (int i = 0; i < values.size(); ++i)
            st.param(i).setValue(values.at(i));
        st.execute();
    }

    db::Database database;
    db::Transaction transaction;
};

/// Grants a module; answers false when the grant already existed. Unknown users and modules are errors.
bool grant(AdminSession &session, const QString &user, int module)
{
    const QString userId =
        session.scalar(QStringLiteral("select ID from USUARIO where USUARIO = :USUARIO"), {user});
    if (userId.isEmpty())
        throw db::ValueError(QStringLiteral("Usuário %1 não existe.").arg(user));
    if (session.scalar(QStringLiteral("select ID from MODULO where ID = :ID"), {module}).isEmpty())
        throw db::ValueError(QStringLiteral("Módulo %1 não existe.").arg(module));
    if (!session
             .scalar(QStringLiteral(
                         "select USUARIOID from USUARIO_MODULO where USUARIOID = :U and MODULOID = :M"),
                     {userId.toInt(), module})
             .isEmpty())
        return false;
    session.exec(QStringLiteral("insert into USUARIO_MODULO (USUARIOID, MODULOID) values (:U, :M)"),
                 {userId.toInt(), module});
    return true;
}

int grantModule(const QStringList &args, QTextStream &out, QTextStream &err)
{
    bool numeric = false;
    const int module = args.size() == 3 ? args.at(2).toInt(&numeric) : 0;
    if (args.size() != 3 || !numeric) {
        err << QStringLiteral("uso: quintaris-admin grant-module <banco> <usuário> <módulo>") << Qt::endl;
        return 2;
    }
    try {
        AdminSession session(args.at(0));
        const bool added = grant(session, args.at(1), module);
        session.transaction.commit();
        out << (added ? QStringLiteral("Módulo %1 concedido a %2.")
                      : QStringLiteral("%2 já tinha o módulo %1."))
                   .arg(module)
                   .arg(args.at(1))
            << Qt::endl;
    } catch (const db::ValueError &e) {
        err << e.message() << Qt::endl;
        return 1;
    } catch (const std::exception &e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
    return 0;
}

/// The folder of the program beside the tool (the build tree keeps the tool one folder below it).
QString defaultProgramFolder()
{
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString &candidate : {here.path(), here.filePath(QStringLiteral(".."))})
        if (QFileInfo(QDir(candidate).filePath(QStringLiteral("quintaris"))).isExecutable())
            return QDir::cleanPath(candidate);
    return here.path();
}

bool hasTable(AdminSession &session, const QString &table)
{
    return !session
                .scalar(QStringLiteral(
                            "select RDB$RELATION_NAME from RDB$RELATIONS where RDB$RELATION_NAME = :T"),
                        {table})
                .isEmpty();
}

int initLocal(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QString folder = defaultProgramFolder();
    QString path = QDir(db::Engine::userDataDirectory()).filePath(QStringLiteral("quintaris.fdb"));
    for (int i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args.at(i) == QLatin1String("--pasta") && hasValue) {
            folder = args.at(++i);
        } else if (args.at(i) == QLatin1String("--banco") && hasValue) {
            path = args.at(++i);
        } else {
            err << QStringLiteral(
                       "uso: quintaris-admin init-local [--pasta <pasta do programa>] [--banco <arquivo>]")
                << Qt::endl;
            return 2;
        }
    }
    try {
        path = QFileInfo(path).absoluteFilePath();
        QDir().mkpath(QFileInfo(path).absolutePath());
        bool needsSchema = !QFileInfo::exists(path);
        if (needsSchema) {
            db::Database database;
            database.setDatabaseName(path);
            database.setParams(
                {QStringLiteral("USER 'SYSDBA'"),
                 QStringLiteral("PASSWORD '%1'").arg(AdminLoginParams().last().section('=', 1)),
                 QStringLiteral("PAGE_SIZE 4096")});
            database.createDatabase();
            database.close();
        } else {
            // An empty database left by an earlier build of the program gets the schema; one that has it is
            // left to the program's own upgrade at connection.
            AdminSession session(path);
            needsSchema =
                !hasTable(session, QStringLiteral("VERSAO")) &&
                session.scalar(QStringLiteral("select count(*) from RDB$RELATIONS where "
                                              "coalesce(RDB$SYSTEM_FLAG, 0) = 0")) == QLatin1String("0");
        }
        if (needsSchema) {
            auto module = VersionModuleClass();
            module->onVersionRun = [&](const TVersion &v) { out << v.displayText() << Qt::endl; };
            if (!module->CreateSchema(path)) {
                err << QStringLiteral("Não foi possível criar o banco de dados. Tente novamente.")
                    << Qt::endl;
                return 1;
            }
            out << QStringLiteral("Banco de Dados criado com sucesso: %1").arg(path) << Qt::endl;
        } else {
            out << QStringLiteral("Banco de dados local existente: %1").arg(path) << Qt::endl;
        }
        {
            AdminSession session(path);
            if (grant(session, QStringLiteral("ADMIN"), 1))
                out << QStringLiteral("Módulo 1 concedido a ADMIN.") << Qt::endl;
            session.transaction.commit();
        }
        ProgramDirectory::setPath(folder);
        SaveDatabaseName(path);
        if (ReadSavedDatabaseName() != path) {
            err << QStringLiteral("Não foi possível gravar %1.").arg(ConnectionIniPath()) << Qt::endl;
            return 1;
        }
        out << QStringLiteral("%1 aponta para o banco local.").arg(ConnectionIniPath()) << Qt::endl;
    } catch (const db::ValueError &e) {
        err << e.message() << Qt::endl;
        return 1;
    } catch (const std::exception &e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace

void RegisterSessionCommands(AdminCommands &commands)
{
    commands.add(
        {QStringLiteral("init-local"), QStringLiteral("init-local [--pasta <pasta>] [--banco <arquivo>]"),
         QStringLiteral("prepara o banco local e o connection.ini do programa"),
         QStringLiteral("Cria (uma vez) o banco local com o esquema completo, concede o módulo 1 a ADMIN e "
                        "grava\nconnection.ini na pasta do programa apontando para ele. Sem --banco, o "
                        "banco fica na\npasta de dados do usuário; sem --pasta, o connection.ini vai para a "
                        "pasta do programa\nquintaris ao lado desta ferramenta."),
         initLocal});
    commands.add(
        {QStringLiteral("grant-module"), QStringLiteral("grant-module <banco> <usuário> <módulo>"),
         QStringLiteral("concede um módulo a um usuário"),
         QStringLiteral("Insere a linha de USUARIO_MODULO que permite ao usuário entrar no módulo. O usuário "
                        "e o\nmódulo precisam existir; uma concessão que já existe não é repetida."),
         grantModule});
}
