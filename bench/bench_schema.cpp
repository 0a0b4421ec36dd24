// Times creating the complete schema with the version module against isql-fb running the same script files
// on a fresh database, in one run, and prints
//   bench create_schema ours_ms=<n> raw_ms=<n> ratio=<ours/raw>
//   bench create_schema_reconnecting ours_ms=<n> raw_ms=<n> ratio=<ours/raw>
//   bench schema_scripts_one_connection ours_ms=<n> raw_ms=<n> ratio=<ours/raw>
// The first baseline is isql-fb reading every file on one connection. The version module runs each version on
// a connection of its own, and with the engine in its shared-file mode every connection starts cold (its own
// page and metadata caches), so the second baseline has isql-fb connect again before each file, as the module
// does. The third line takes the connections out of the comparison: the module's version step runs every
// version on one connection, against the first baseline.
// All sides start from an empty embedded WIN1252 database created outside the timing (forced writes off, so
// that disk flushes do not swamp the work measured), use the same engine configuration and the same files;
// the order of the sides turns from round to round and the best time of each is kept.
// Options: --rounds <n> (3).

#include "benchsupport.h"

#include "app/schema/dmversaoleilao.h"
#include "platform/db/database.h"
#include "platform/db/engine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <limits>

namespace {

void createEmpty(const QString &path)
{
    db::Database database;
    database.setDatabaseName(path);
    database.setParams({QStringLiteral("USER 'SYSDBA' PASSWORD 'quillbrex' PAGE_SIZE 4096")});
    database.createDatabase();
    database.close();
    bench::disableForcedWrites(path);
}

// The version scripts as files, in order.
QStringList writeScripts(const QString &folder)
{
    TdmVersaoLeilao module;
    QStringList paths;
    for (const TVersion &v : module.combinedVersions()) {
        const QString path =
            QStringLiteral("%1/%2_%3.sql").arg(folder).arg(paths.size() + 1, 2, 10, QLatin1Char('0')).arg(v.Version);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(v.Script.join(QLatin1Char('\n')).toUtf8());
        paths << path;
    }
    return paths;
}

// A master script that inputs the version files one after the other; with reconnect, each on a connection
// of its own, as the version module runs them.
QString writeMaster(const QString &folder, const QStringList &scripts, const QString &database, bool reconnect)
{
    QString master;
    for (const QString &script : scripts) {
        if (reconnect)
            master += QStringLiteral("connect '%1' user 'SYSDBA';\n").arg(database);
        master += QStringLiteral("input '%1';\n").arg(script);
    }
    const QString masterPath =
        folder + (reconnect ? QStringLiteral("/master-reconnect.sql") : QStringLiteral("/master.sql"));
    QFile file(masterPath);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the master script");
    file.write(master.toUtf8());
    return masterPath;
}

qint64 timeOurs(const QString &path)
{
    createEmpty(path);
    QElapsedTimer timer;
    timer.start();
    TdmVersaoLeilao module;
    if (!module.CreateSchema(path))
        qFatal("CreateSchema failed");
    return timer.elapsed();
}

// The version step alone: every version on one connection.
qint64 timeOursOneConnection(const QString &path)
{
    createEmpty(path);
    QElapsedTimer timer;
    timer.start();
    TdmVersaoLeilao module;
    module.DefaultTrans->setDefaultDatabase(module.FDataBase);
    module.DDLTrans->setDefaultDatabase(module.FDataBase);
    module.FDataBase->setDefaultTransaction(module.DefaultTrans);
    module.FDataBase->setDatabaseName(path);
    module.FDataBase->open();
    for (const TVersion &version : module.combinedVersions())
        module.runVersion(version);
    module.FDataBase->close();
    return timer.elapsed();
}

qint64 timeRaw(const QString &path, const QString &master, bool connectsItself)
{
    createEmpty(path);
    QElapsedTimer timer;
    timer.start();
    QProcess isql;
    isql.setProgram(QStringLiteral("isql-fb"));
    QStringList arguments{QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-ch"), QStringLiteral("UTF8"),
                          QStringLiteral("-user"), QStringLiteral("SYSDBA"), QStringLiteral("-i"), master};
    if (!connectsItself)
        arguments << path;
    isql.setArguments(arguments);
    isql.start();
    if (!isql.waitForFinished(600000) || isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0)
        qFatal("isql-fb failed: %s", isql.readAllStandardError().constData());
    return timer.elapsed();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    QCommandLineOption roundsOption(QStringLiteral("rounds"), QStringLiteral("rounds per side"),
                                    QStringLiteral("n"), QStringLiteral("3"));
    parser.addOption(roundsOption);
    parser.process(app);
    const int rounds = std::max(1, parser.value(roundsOption).toInt());

    QTemporaryDir dir;
    if (qEnvironmentVariableIsEmpty("QUINTARIS_FIREBIRD_ROOT"))
        db::Engine::configure(dir.filePath(QStringLiteral("engine")));
    else
        db::Engine::configure();
    const QStringList scripts = writeScripts(dir.path());
    const QString master = writeMaster(dir.path(), scripts, QString(), false);

    qint64 ours = std::numeric_limits<qint64>::max();
    qint64 oursOneConnection = std::numeric_limits<qint64>::max();
    qint64 raw = std::numeric_limits<qint64>::max();
    qint64 rawReconnecting = std::numeric_limits<qint64>::max();
    for (int r = 0; r < rounds; ++r) {
        const QString a = dir.filePath(QStringLiteral("ours%1.fdb").arg(r));
        const QString b = dir.filePath(QStringLiteral("raw%1.fdb").arg(r));
        const QString c = dir.filePath(QStringLiteral("rawc%1.fdb").arg(r));
        const QString d = dir.filePath(QStringLiteral("oursc%1.fdb").arg(r));
        const QString reconnecting = writeMaster(dir.path(), scripts, c, true);
        // The order of the sides turns from round to round.
        const std::function<void()> sides[] = {
            [&] { ours = std::min(ours, timeOurs(a)); },
            [&] { raw = std::min(raw, timeRaw(b, master, false)); },
            [&] { rawReconnecting = std::min(rawReconnecting, timeRaw(c, reconnecting, true)); },
            [&] { oursOneConnection = std::min(oursOneConnection, timeOursOneConnection(d)); },
        };
        for (int i = 0; i < 4; ++i)
            sides[(r + i) % 4]();
    }
    bench::reportMilliseconds(QStringLiteral("create_schema"), ours, raw);
    bench::reportMilliseconds(QStringLiteral("create_schema_reconnecting"), ours, rawReconnecting);
    bench::reportMilliseconds(QStringLiteral("schema_scripts_one_connection"), oursOneConnection, raw);
    return 0;
}
