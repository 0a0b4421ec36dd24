#include "admincommands.h"

#include "app/schema/dmversaoleilao.h"
#include "platform/os/terminationsignals.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    // The engine's own handlers of these signals would only shut the engine down and leave the command
    // running without it; an interrupted command ends here instead, its open transaction undone.
    os::TerminationSignals::blockInProcess();
    os::TerminationSignals::exitOnRequest(
        QStringLiteral("quintaris-admin: interrompido antes de terminar; a transação em andamento foi desfeita.").toUtf8());
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("quintaris-admin"));
    VersionModuleClass = [] { return std::make_unique<TdmVersaoLeilao>(); };
    AdminCommands commands;
    RegisterSchemaCommands(commands);
    RegisterSessionCommands(commands);
    RegisterImportCommands(commands);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return commands.run(app.arguments().mid(1), out, err);
}
