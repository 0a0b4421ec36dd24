#include "engine.h"

#include "dberror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <mutex>

#include <sys/stat.h>
#include <unistd.h>

namespace db {

namespace {

const char *const kPackagedLibDir = "/usr/lib/x86_64-linux-gnu/firebird/3.0";

// Every process that opens a database file on this machine must find the same lock table, whatever its
// engine folder and whoever runs it: with two lock tables, two processes would write one file unaware of each
// other (and neither would see the other among the attached users). So the lock folder is one for the whole
// machine, open to every user like /tmp itself. A lock file belongs to the user whose process made it: another
// user's process either shares it or is refused the database, and never opens the file blindly.
const char kLockDirectory[] = "/tmp/quintaris-firebird";

QString g_root;
std::once_flag g_once;

// Remote first so that "host:path" goes to a server; no Loopback, so that a plain path never slips through a
// local server that cannot see the program's files.
const char kConf[] = "UdfAccess = Restrict UDF\n"
                     "Providers = Remote, Engine12\n"
                     "ServerMode = SuperClassic\n";

QString packagedLibDir()
{
    const QString fromEnv = qEnvironmentVariable("QUINTARIS_FIREBIRD_LIBDIR");
    return fromEnv.isEmpty() ? QString::fromLatin1(kPackagedLibDir) : fromEnv;
}

// Several processes may prepare the same root at once: write to a temporary name, then rename.
void writeFileAtomically(const QString &path, const QByteArray &content)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == content)
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw ProgrammingError(QStringLiteral("Cannot write the engine configuration file %1").arg(path));
}

void copyFileAtomically(const QString &from, const QString &to)
{
    if (QFileInfo(to).size() == QFileInfo(from).size() && QFileInfo(to).size() > 0)
        return;
    const QString temp = to + QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid());
    QFile::remove(temp);
    if (!QFile::copy(from, temp))
        return; // without the intl module only NONE/UTF8/ASCII work; the attach then says so
    QFile::remove(to);
    if (!QFile::rename(temp, to))
        QFile::remove(temp);
}

void prepareLockDirectory()
{
    const auto failed = [] {
        return ProgrammingError(
            QStringLiteral("Não foi possível usar a pasta de bloqueios do banco de dados %1: %2")
                .arg(QString::fromLatin1(kLockDirectory), QString::fromLocal8Bit(std::strerror(errno))));
    };
    if (::mkdir(kLockDirectory, 01777) == 0) {
        // mkdir applies the umask.
        if (::chmod(kLockDirectory, 01777) != 0)
            throw failed();
        return;
    }
    if (errno != EEXIST)
        throw failed();
    struct stat st {};
    if (::lstat(kLockDirectory, &st) != 0)
        throw failed();
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        throw failed();
    }
    if (st.st_uid == ::getuid() && (st.st_mode & 07777) != 01777 && ::chmod(kLockDirectory, 01777) != 0)
        throw failed();
}

void prepareRoot(const QString &root)
{
    QDir dir;
    if (!dir.mkpath(root + QStringLiteral("/intl")))
        throw ProgrammingError(QStringLiteral("Cannot create the engine folder %1").arg(root));
    writeFileAtomically(root + QStringLiteral("/firebird.conf"), QByteArray(kConf));

    const QString lib = packagedLibDir();
    const QString udf = root + QStringLiteral("/UDF");
    if (!QFileInfo::exists(udf))
        QFile::link(lib + QStringLiteral("/UDF"), udf);
    // The character-set module must be a real file: a symbolic link loads but its character sets stay
    // unknown.
    copyFileAtomically(lib + QStringLiteral("/intl/libfbintl.so"),
                       root + QStringLiteral("/intl/libfbintl.so"));
    copyFileAtomically(lib + QStringLiteral("/intl/fbintl.conf"), root + QStringLiteral("/intl/fbintl.conf"));

    qputenv("FIREBIRD", QFile::encodeName(root));
    prepareLockDirectory();
    qputenv("FIREBIRD_LOCK", kLockDirectory);
}

} // namespace

void Engine::configure(const QString &root)
{
    std::call_once(g_once, [&] {
        QString chosen = root;
        if (chosen.isEmpty())
            chosen = qEnvironmentVariable("QUINTARIS_FIREBIRD_ROOT");
        if (chosen.isEmpty())
            chosen = userDataDirectory() + QStringLiteral("/engine");
        chosen = QDir(chosen).absolutePath();
        prepareRoot(chosen);
        g_root = chosen;
    });
}

QString Engine::root()
{
    return g_root;
}

QString Engine::lockDirectory()
{
    return QString::fromLatin1(kLockDirectory);
}

QString Engine::userDataDirectory()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/Quintaris");
}

} // namespace db
