#include "clsdbdatamodule.h"

#include "clserrorhandler.h"
#include "connectionstep.h"
#include "guardedapplication.h"
#include "loginstep.h"

#include "framework/data/mainconnection.h"
#include "platform/db/dberror.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

TClsDBDataModule *ClsDBDataModule = nullptr;
int ApplicationModuleID = 1;

namespace {

const QString kAdministratorPassword = QStringLiteral("quillbrex");

db::Transaction *sessionTransaction(QObject *parent, const char *name, db::Database *database)
{
    auto *t = new db::Transaction(parent);
    t->setObjectName(QLatin1String(name));
    t->setParams({QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")});
    t->setDefaultAction(db::EndAction::RollbackRetaining);
    t->setDefaultDatabase(database);
    return t;
}

} // namespace

TClsDBDataModule::StartSteps TClsDBDataModule::StartSteps::standard()
{
    return {[] { return OpenConnection(); }, [] { return LoginStep(QCoreApplication::arguments()); }};
}

TClsDBDataModule::TClsDBDataModule(QObject *parent, StartSteps steps) : TClsDataModule(parent)
{
    setObjectName(QStringLiteral("ClsDBDataModule"));
    // The connection and login steps below reach the session through this reference.
    ClsDBDataModule = this;
    // Failures later in start-up are recorded and shown like every other.
    GuardedApplication::setHandler(
        [this](QObject *sender, std::exception_ptr error) { HandleAppException(sender, error); });

    // The database exists before its transactions are bound to it; trMain is still the first component.
    dbMain = new db::Database(this);
    trMain = sessionTransaction(this, "trMain", dbMain);
    dbMain->setObjectName(QStringLiteral("dbMain"));
    dbMain->setParams(
        {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=") + kAdministratorPassword});
    dbMain->setDefaultTransaction(trMain);
    dbMain->setSqlDialect(3);
    dbMain->setTraceFlags(db::AllTraceFlags);

    ZelSQLGlobals = new TZelSQLGlobals(this);
    ZelSQLGlobals->setObjectName(QStringLiteral("ZelSQLGlobals"));
    ZelSQLGlobals->DataAtual().setMascara(QStringLiteral("dd/mm/yyyy"));

    trPARAMETROS = sessionTransaction(this, "trPARAMETROS", dbMain);
    PARAMETROS = std::make_unique<TZelIBSQL>(dbMain, trPARAMETROS);
    IBSQLLOG = std::make_unique<TZelIBSQL>(dbMain, nullptr);
    IBSQLPERMISSAO = std::make_unique<TZelIBSQL>(dbMain, nullptr);
    trIBSQLPERMISSAO = sessionTransaction(this, "trIBSQLPERMISSAO", dbMain);
    IBSQLPERMISSAO->setTransaction(trIBSQLPERMISSAO);
    trIBSQLLOG = sessionTransaction(this, "trIBSQLLOG", dbMain);
    IBSQLLOG->setTransaction(trIBSQLLOG);

    bindDataSets();
    // The connection step reads the registry of data sets and the login step fills the session.
    MainConnection::publish(dbMain, ZelSQLGlobals);

    if (steps.connect) {
        bool ok = steps.connect();
        if (ok && steps.login)
            ok = steps.login();
        m_startRefused = !ok;
    }
}

TClsDBDataModule::~TClsDBDataModule()
{
    m_logs.flushExceptions(openWindowCaptions());
    m_logs.flushDatabaseErrors();
    if (ClsDBDataModule == this) {
        GuardedApplication::setHandler({});
        ClsDBDataModule = nullptr;
    }
    if (MainConnection::database() == dbMain)
        MainConnection::withdraw();
    PARAMETROS.reset();
    IBSQLLOG.reset();
    IBSQLPERMISSAO.reset();
    try {
        dbMain->close();
    } catch (...) {
        // The engine drops the attachment anyway; nothing is left to tell the user at this point.
    }
}

QString TClsDBDataModule::GetParam(const QString &name, const QString &user, const QString &module)
{
    try {
        if (!trPARAMETROS->isActive())
            trPARAMETROS->start();
        PARAMETROS->ExecProc(QStringLiteral("GETPARAMS"),
                             {QString(), user.toUpper(), module.toUpper(), name.toUpper(), 0, 0});
        const db::Column valor = PARAMETROS->field(QStringLiteral("VALOR"));
        const QString value = valor.isNull() ? QString() : valor.asString();
        PARAMETROS->close();
        trPARAMETROS->commit();
        return value;
    } catch (...) {
        try {
            if (trPARAMETROS->isActive())
                trPARAMETROS->rollback();
        } catch (...) {
        }
        return unreadableParam();
    }
}

bool TClsDBDataModule::SetParam(const QString &name, const QString &value, const QString &user,
                                const QString &module)
{
    try {
        if (!trPARAMETROS->isActive())
            trPARAMETROS->start();
        PARAMETROS->ExecProc(QStringLiteral("SETPARAMS"),
                             {QString(), user.toUpper(), module.toUpper(), name.toUpper(), 0, 0, value});
        PARAMETROS->close();
        trPARAMETROS->commit();
        return true;
    } catch (...) {
        try {
            if (trPARAMETROS->isActive())
                trPARAMETROS->rollback();
        } catch (...) {
        }
        return false;
    }
}

void TClsDBDataModule::LogActivity(db::Transaction *transaction, const QString &caption,
                                   const QString &formName, const QString &log, int rowId)
{
    const qsizetype dash = caption.indexOf(QStringLiteral(" - "));
    const QString tela = dash < 0 ? caption : caption.left(dash);
    const QString text = log.left(255);

    const bool ownTransaction = transaction == nullptr;
    if (ownTransaction) {
        transaction = trIBSQLLOG;
        if (!transaction->isActive())
            transaction->start();
    }
    if (!text.trimmed().isEmpty()) {
        db::Database *database = transaction->defaultDatabase() ? transaction->defaultDatabase() : dbMain;
        IBSQLLOG->setDatabase(database);
        IBSQLLOG->setTransaction(transaction);
        IBSQLLOG->setSql(
            QStringLiteral("insert into USUARIO_LOG (USUARIOID,MODULOID,TABLEID,FORMNAME,TELA,LOG) "
                           "values (:USUARIOID,:MODULOID,:TABLEID,:FORMNAME,:TELA,:LOG)"));
        IBSQLLOG->param(QStringLiteral("USUARIOID")).setInteger(ZelSQLGlobals->UsuarioID());
        IBSQLLOG->param(QStringLiteral("MODULOID")).setInteger(ZelSQLGlobals->ModuloID());
        if (rowId > 0)
            IBSQLLOG->param(QStringLiteral("TABLEID")).setInteger(rowId);
        else
            IBSQLLOG->param(QStringLiteral("TABLEID")).clear();
        IBSQLLOG->param(QStringLiteral("FORMNAME")).setString(formName);
        IBSQLLOG->param(QStringLiteral("TELA")).setString(tela);
        IBSQLLOG->param(QStringLiteral("LOG")).setString(text);
        IBSQLLOG->execute();
    }
    if (ownTransaction)
        trIBSQLLOG->commit();
}

QStringList TClsDBDataModule::openWindowCaptions()
{
    QStringList captions;
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return captions;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!w->isWindow() || !w->isVisible())
            continue;
        const Qt::WindowType type = w->windowType();
        if (type == Qt::ToolTip || type == Qt::Popup || type == Qt::Desktop)
            continue;
        captions << w->windowTitle();
    }
    return captions;
}

void TClsDBDataModule::HandleAppException(QObject *, std::exception_ptr error)
{
    if (!error)
        return;
    try {
        std::rethrow_exception(error);
    } catch (const db::SilentAbort &) {
        return;
    } catch (const db::DatabaseError &e) {
        m_logs.addDatabaseError(e.sqlCode(), e.message(), dbMain->databaseName());
        m_logs.flushDatabaseErrors();
        showDatabaseErrors();
        return;
    } catch (...) {
    }
    const QString message = GuardedApplication::messageOf(error);
    m_logs.addException(message);
    m_logs.flushExceptions(openWindowCaptions());
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        QWidget *owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                           : QApplication::activeWindow();
        QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message,
                        QMessageBox::Ok, owner);
        box.exec();
    }
}

void TClsDBDataModule::showDatabaseErrors()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    QWidget *owner =
        QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    TClsErrorHandler window(m_logs.databaseErrors(), int(m_logs.databaseErrors().size()) - 1, owner);
    window.exec();
}
