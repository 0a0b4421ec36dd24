#include "admincommands.h"

#include "app/schema/dmversaoleilao.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
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
