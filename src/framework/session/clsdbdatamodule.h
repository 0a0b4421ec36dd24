#pragma once

#include "errorlogs.h"

#include "framework/data/clsdatamodule.h"
#include "framework/data/zelibsql.h"
#include "framework/data/zelsqlglobals.h"
#include "platform/db/database.h"
#include "platform/db/transaction.h"

#include <QPixmap>
#include <QString>

#include <exception>
#include <functional>
#include <memory>

/// The main data module: the session's one connection, its transactions, the session globals, the
/// parameter store, the activity log and the application-wide error handler. Building it connects and logs
/// in.
class TClsDBDataModule : public TClsDataModule
{
    Q_OBJECT
public:
    /// The connection step and the login step run at the end of construction; each answers whether it
    /// succeeded. An empty step is skipped (tests and tools that connect by themselves).
    struct StartSteps
    {
        std::function<bool()> connect;
        std::function<bool()> login;
        /// OpenConnection, then the login step with the program's command line.
        static StartSteps standard();
        static StartSteps none() { return {}; }
    };

    explicit TClsDBDataModule(QObject *parent = nullptr, StartSteps steps = StartSteps::standard());
    ~TClsDBDataModule() override;

    // Components, in the order they are created.
    db::Transaction *trMain;
    db::Database *dbMain;
    TZelSQLGlobals *ZelSQLGlobals;
    db::Transaction *trPARAMETROS;
    std::unique_ptr<TZelIBSQL> PARAMETROS;
    QPixmap PicClip;
    QPixmap PicClip1;
    std::unique_ptr<TZelIBSQL> IBSQLLOG;
    std::unique_ptr<TZelIBSQL> IBSQLPERMISSAO;
    db::Transaction *trIBSQLPERMISSAO;
    db::Transaction *trIBSQLLOG;

    /// The stored value of a parameter (empty when there is none); the one character of code 255 when it
    /// cannot be read. Name, user and module are upper-cased. Shows nothing.
    QString GetParam(const QString &name, const QString &user, const QString &module);
    /// Stores a value (at most 100 characters, kept as given); false when it cannot be stored. Shows nothing.
    bool SetParam(const QString &name, const QString &value, const QString &user, const QString &module);
    /// Records one user action in USUARIO_LOG: in `transaction` when given (left open, the row is part of the
    /// caller's work), else in trIBSQLLOG, committed here. A blank text records nothing; errors reach the
    /// caller.
    void LogActivity(db::Transaction *transaction, const QString &caption, const QString &formName,
                     const QString &log, int rowId);
    /// Records an error that reached the message loop and shows it: database errors in the database-error
    /// window over the whole run's list, others in a message box. The run continues.
    void HandleAppException(QObject *sender, std::exception_ptr error);

    ErrorLogs &Logs() { return m_logs; }
    /// True when the connection or the login step refused: the program ends without its main window.
    bool StartRefused() const { return m_startRefused; }

    /// What GetParam answers when the parameter cannot be read.
    static QString unreadableParam() { return QString(QChar(255)); }
    /// The captions of the open top-level windows, as the exception log records them.
    static QStringList openWindowCaptions();

private:
    void showDatabaseErrors();

    ErrorLogs m_logs;
    bool m_startRefused = false;
};

/// The main data module of the running program; set while its construction still runs.
extern TClsDBDataModule *ClsDBDataModule;
/// This application's number in table MODULO.
extern int ApplicationModuleID;
