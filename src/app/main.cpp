#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/engine.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextStream>

#include <memory>

namespace {

bool haveDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Creates the local database on first use, or opens the existing one; returns what to tell the user.
QString prepareLocalDatabase()
{
    const QString folder = db::Engine::userDataDirectory();
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/quintaris.fdb");
    db::Database database;
    database.setDatabaseName(path);
    if (QFileInfo::exists(path)) {
        database.setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbrex")});
        database.open();
        database.close();
        return QStringLiteral("Banco de dados local pronto: %1").arg(path);
    }
    database.setParams({QStringLiteral("USER 'SYSDBA'"), QStringLiteral("PASSWORD 'quillbrex'"),
                        QStringLiteral("PAGE_SIZE 4096")});
    database.createDatabase();
    database.close();
    return QStringLiteral("Banco de dados local criado e pronto: %1").arg(path);
}

} // namespace

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    if (haveDisplay())
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    app->setApplicationName(QStringLiteral("Quintaris"));

    QString text;
    bool ok = true;
    try {
        text = prepareLocalDatabase();
    } catch (const db::DatabaseError &e) {
        ok = false;
        text = QStringLiteral("Não foi possível preparar o banco de dados local.\n%1").arg(e.message());
    } catch (const std::exception &e) {
        ok = false;
        text = QStringLiteral("Não foi possível preparar o banco de dados local.\n%1")
                   .arg(QString::fromUtf8(e.what()));
    }
    QTextStream(ok ? stdout : stderr) << text << Qt::endl;
    if (qobject_cast<QApplication *>(app.get())) {
        if (ok)
            QMessageBox::information(nullptr, QStringLiteral("Quintaris"), text);
        else
            QMessageBox::critical(nullptr, QStringLiteral("Quintaris"), text);
    }
    return ok ? 0 : 1;
}
