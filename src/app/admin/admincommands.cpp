#include "admincommands.h"

int AdminCommands::run(const QStringList &args, QTextStream &out, QTextStream &err) const
{
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h")) {
        printUsage(args.isEmpty() ? err : out);
        return args.isEmpty() ? 2 : 0;
    }
    for (const AdminCommand &c : m_commands) {
        if (c.name != args.first())
            continue;
        const QStringList rest = args.mid(1);
        if (rest.contains(QLatin1String("--help")) || rest.contains(QLatin1String("-h"))) {
            out << QStringLiteral("uso: quintaris-admin ") << c.usage << Qt::endl << c.help << Qt::endl;
            return 0;
        }
        return c.run(rest, out, err);
    }
    err << QStringLiteral("Comando desconhecido: %1").arg(args.first()) << Qt::endl;
    printUsage(err);
    return 2;
}

void AdminCommands::printUsage(QTextStream &out) const
{
    out << QStringLiteral("uso: quintaris-admin <comando> [argumentos]") << Qt::endl
        << Qt::endl
        << QStringLiteral("Comandos:") << Qt::endl;
    for (const AdminCommand &c : m_commands)
        out << QStringLiteral("  ") << c.usage.leftJustified(44) << c.summary << Qt::endl;
    out << Qt::endl
        << QStringLiteral("\"quintaris-admin <comando> --help\" explica cada comando.") << Qt::endl;
}

QStringList AdminLoginParams()
{
    const QString password = qEnvironmentVariable("QUINTARIS_ADMIN_PASSWORD", QStringLiteral("quillbrex"));
    return {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=") + password};
}
