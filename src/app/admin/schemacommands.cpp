#include "admincommands.h"
#include "consoleupgradedialogs.h"

#include "framework/schema/eisqlexception.h"
#include "framework/schema/version/clscustomversion.h"
#include "framework/schema/zelibsqlobj.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/transaction.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

int createDatabase(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << QStringLiteral("uso: quintaris-admin create-database <banco>") << Qt::endl;
        return 2;
    }
    const QString name = args.first();
    try {
        db::Database database;
        database.setDatabaseName(name);
        const QStringList login = AdminLoginParams();
        database.setParams({QStringLiteral("USER 'SYSDBA'"),
                            QStringLiteral("PASSWORD '%1'").arg(login.last().section(QLatin1Char('='), 1)),
                            QStringLiteral("PAGE_SIZE 4096")});
        database.createDatabase();
        database.close();
        auto module = VersionModuleClass();
        module->onVersionRun = [&](const TVersion &v) { out << v.displayText() << Qt::endl; };
        if (!module->CreateSchema(name)) {
            err << QStringLiteral("Não foi possível criar o banco de dados. Tente novamente.") << Qt::endl;
            return 1;
        }
    } catch (const EISQLException &e) {
        err << e.message() << Qt::endl << e.data() << Qt::endl;
        return 1;
    } catch (const std::exception &e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
    out << QStringLiteral("Banco de Dados criado com sucesso.") << Qt::endl;
    return 0;
}

int upgrade(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QStringList rest = args;
    const bool noBackup = rest.removeAll(QStringLiteral("--sem-backup")) > 0;
    if (rest.size() != 1) {
        err << QStringLiteral("uso: quintaris-admin upgrade <banco> [--sem-backup]") << Qt::endl;
        return 2;
    }
    auto module = VersionModuleClass();
    module->onVersionRun = [&](const TVersion &v) { out << v.displayText() << Qt::endl; };
    ConsoleUpgradeDialogs dialogs(!noBackup, out, err);
    if (!UpdateDatabase(*module, rest.first(), dialogs)) {
        err << QStringLiteral("O banco de dados não foi aceito: %1").arg(rest.first()) << Qt::endl;
        return 1;
    }
    out << QStringLiteral("Banco de dados pronto: %1").arg(rest.first()) << Qt::endl;
    return 0;
}

QStringList readScript(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw db::ValueError(QStringLiteral("Não foi possível ler o arquivo %1.").arg(path));
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QStringDecoder("windows-1252")(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.split(QLatin1Char('\n'));
}

int runScript(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 2) {
        err << QStringLiteral("uso: quintaris-admin run-script <banco> <arquivo>") << Qt::endl;
        return 2;
    }
    try {
        db::Database database;
        database.setDatabaseName(args.at(0));
        database.setParams(AdminLoginParams());
        database.open();
        db::Transaction defaultTrans;
        defaultTrans.setObjectName(QStringLiteral("DefaultTrans"));
        defaultTrans.setParams(
            {QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")});
        defaultTrans.setDefaultAction(db::EndAction::Rollback);
        defaultTrans.setDefaultDatabase(&database);
        database.setDefaultTransaction(&defaultTrans);
        TZelIBSQLObj executor;
        executor.setDatabase(&database);
        executor.setDefaultTransIDX(0);
        executor.setDDLTransIDX(0);
        executor.setAutoDDL(true);
        executor.setScriptDirectory(QFileInfo(args.at(1)).absolutePath());
        executor.setQuery(readScript(args.at(1)));
        int statements = 0;
        executor.setOnQueryProgress([&](TZelIBSQLObj *) { ++statements; });
        executor.ExecuteScript();
        // What the script left uncommitted is committed: the tool runs scripts to completion.
        for (int i = 0; i < database.transactionCount(); ++i)
            if (database.transaction(i)->isActive())
                database.transaction(i)->commit();
        out << QStringLiteral("%1 comando(s) executado(s).").arg(statements) << Qt::endl;
    } catch (const EISQLException &e) {
        err << QStringLiteral("Erro na categoria %1 (erro %2): %3")
                   .arg(int(e.category()))
                   .arg(e.errorNumber())
                   .arg(e.message())
            << Qt::endl;
        if (!e.data().isEmpty())
            err << e.data() << Qt::endl;
        return 1;
    } catch (const std::exception &e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace

void RegisterSchemaCommands(AdminCommands &commands)
{
    commands.add(
        {QStringLiteral("create-database"), QStringLiteral("create-database <banco>"),
         QStringLiteral("cria um banco novo com o esquema completo"),
         QStringLiteral("Cria o banco (\"servidor:caminho\" ou um caminho local) e executa todas as versões "
                        "dos scripts,\nna ordem. O banco não pode existir."),
         createDatabase});
    commands.add(
        {QStringLiteral("upgrade"), QStringLiteral("upgrade <banco> [--sem-backup]"),
         QStringLiteral("atualiza o esquema do banco às versões deste programa"),
         QStringLiteral("Executa as versões que faltam ao banco, depois de um backup no servidor (a menos "
                        "que\n--sem-backup seja dado). Recusa enquanto houver outros usuários conectados.\n"
                        "Termina com status diferente de 0 quando o banco não é aceito."),
         upgrade});
    commands.add(
        {QStringLiteral("run-script"), QStringLiteral("run-script <banco> <arquivo>"),
         QStringLiteral("executa um arquivo de script SQL no banco"),
         QStringLiteral("Executa o script comando a comando (SET TERM, COMMIT, INPUT...). No primeiro erro,\n"
                        "mostra a categoria e a mensagem e termina com status diferente de 0."),
         runScript});
}
