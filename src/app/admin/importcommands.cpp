#include "admincommands.h"

#include "app/import/dmimportaleilao.h"
#include "app/import/importerror.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/statement.h"
#include "platform/db/transaction.h"
#include "platform/regional/numberformat.h"

#include <QRegularExpression>

namespace {

// The totals message of the validation pass ends each of its sentences with a carriage return, meant for a
// message box; a terminal would write the second over the first.
void printMessage(QTextStream &err, const QString &message)
{
    const QStringList lines =
        message.split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
    for (const QString &line : lines)
        err << line << Qt::endl;
}

int checkImportFile(const QStringList &args, QTextStream &out, QTextStream &err)
{
    if (args.size() != 1) {
        err << QStringLiteral("uso: quintaris-admin verificar-importacao <arquivo>") << Qt::endl;
        return 2;
    }
    try {
        TdmImportaLeilao module(nullptr, 0);
        module.setFileName(args.first());
        module.CheckFile();
        const LeilaoFileTotals &totals = module.CheckedTotals();
        out << QStringLiteral("Arquivo válido: %1 nota(s), total %2.")
                   .arg(totals.noteCount)
                   .arg(regional::formatCurrency(totals.noteSum))
            << Qt::endl;
    } catch (const ImportError &e) {
        printMessage(err, e.message());
        return 1;
    } catch (const std::exception &e) {
        printMessage(err, QString::fromUtf8(e.what()));
        return 1;
    }
    return 0;
}

/// The ID of an active user with that login; throws db::ValueError for an unknown or deactivated one.
int activeUserId(db::Database &database, const QString &login)
{
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.setParams({QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait"),
                  QStringLiteral("read")});
    tr.setDefaultAction(db::EndAction::Rollback);
    tr.start();
    db::Statement st(&database, &tr);
    st.setSql(QStringLiteral("select ID, DESATIVADO from USUARIO where USUARIO = :USUARIO"));
    st.param(QStringLiteral("USUARIO")).setString(login);
    st.execute();
    if (!st.next())
        throw db::ValueError(QStringLiteral("Usuário %1 não cadastrado.").arg(login));
    const int id = st.field(QStringLiteral("ID")).asInteger();
    const bool deactivated =
        st.field(QStringLiteral("DESATIVADO")).asString().trimmed() == QLatin1String("T");
    st.close();
    tr.commit();
    if (deactivated)
        throw db::ValueError(QStringLiteral("Usuário %1 está desativado.").arg(login));
    return id;
}

int importFile(const QStringList &args, QTextStream &out, QTextStream &err)
{
    QStringList rest = args;
    QString login;
    const qsizetype option = rest.indexOf(QStringLiteral("--usuario"));
    if (option >= 0 && option + 1 < rest.size()) {
        login = rest.at(option + 1);
        rest.remove(option, 2);
    }
    if (rest.size() != 2 || login.trimmed().isEmpty()) {
        err << QStringLiteral("uso: quintaris-admin importar <banco> <arquivo> --usuario <login>")
            << Qt::endl;
        return 2;
    }
    // Logins are kept in upper case: the login window types them that way.
    login = login.trimmed().toUpper();
    try {
        db::Database database;
        database.setDatabaseName(rest.at(0));
        database.setParams(AdminLoginParams());
        database.open();
        TdmImportaLeilao module(&database, activeUserId(database, login));
        module.setFileName(rest.at(1));
        module.CheckFile();
        if (!module.ImportFile()) {
            err << QStringLiteral("Arquivo %1 não existe.").arg(rest.at(1)) << Qt::endl;
            return 1;
        }
        out << QStringLiteral("%1 nota(s) importada(s), total %2, como %3.")
                   .arg(module.ImportedCount())
                   .arg(regional::formatCurrency(module.ImportedTotal()), login)
            << Qt::endl
            << QStringLiteral("Arquivo renomeado para %1.")
                   .arg(TdmImportaLeilao::ImportedFileName(module.FileName()))
            << Qt::endl;
    } catch (const ImportError &e) {
        printMessage(err, e.message());
        return 1;
    } catch (const db::DatabaseError &e) {
        printMessage(err, e.message());
        return 1;
    } catch (const db::ValueError &e) {
        printMessage(err, e.message());
        return 1;
    } catch (const std::exception &e) {
        printMessage(err, QString::fromUtf8(e.what()));
        return 1;
    }
    return 0;
}

} // namespace

void RegisterImportCommands(AdminCommands &commands)
{
    commands.add(
        {QStringLiteral("verificar-importacao"), QStringLiteral("verificar-importacao <arquivo>"),
         QStringLiteral("confere um arquivo de leilão sem gravar nada"),
         QStringLiteral("Lê o arquivo de importação de leilão, confere o tamanho das linhas, as datas e "
                        "o registro\ntotalizador, e mostra o número de notas e o total. Termina com "
                        "status diferente de 0\nquando o arquivo não está de acordo."),
         checkImportFile});
    commands.add(
        {QStringLiteral("importar"), QStringLiteral("importar <banco> <arquivo> --usuario <login>"),
         QStringLiteral("importa um arquivo de leilão em nome de um usuário"),
         QStringLiteral(
             "Confere o arquivo e grava todas as suas notas em uma só transação, em nome do usuário "
             "dado\n(que deve estar cadastrado e ativo); o arquivo ganha o sufixo \"_IMPORTADO\" junto "
             "com a gravação\n(se ela falhar, volta ao nome de antes). Um arquivo que já tem o sufixo é "
             "recusado.\nStatus: 0 importado; 1 nada foi gravado; 2 uso incorreto."),
         importFile});
}
