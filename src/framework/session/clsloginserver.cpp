#include "clsloginserver.h"

#include "clscreatedatabase.h"
#include "clsdbdatamodule.h"
#include "connectionstep.h"
#include "guardedapplication.h"
#include "sessionprompts.h"

#include "framework/schema/version/clscustomversion.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TClsLoginServer::TClsLoginServer(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TClsLoginServer"));
    setWindowTitle(QStringLiteral("Login"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    lblServerCaption = new QLabel(QStringLiteral("Servidor:"), this);
    lblServerCaption->setObjectName(QStringLiteral("lblServerCaption"));
    lblServerCaption->setGeometry(8, 6, 60, 16);
    lblServerName = new QLabel(this);
    lblServerName->setObjectName(QStringLiteral("lblServerName"));
    lblServerName->setGeometry(68, 6, 312, 16);

    lblServidor = new QLabel(QStringLiteral("Servidor"), this);
    lblServidor->setObjectName(QStringLiteral("lblServidor"));
    lblServidor->setGeometry(8, 32, 200, 16);
    edtServidor = new QLineEdit(this);
    edtServidor->setObjectName(QStringLiteral("edtServidor"));
    edtServidor->setGeometry(8, 48, 373, 22);
    edtServidor->setToolTip(QStringLiteral("<nome servidor>:<caminho do bando de dados>"));
    lblServidor->setBuddy(edtServidor);

    btCreateDB = new QPushButton(QStringLiteral("Criar Banco de Dados..."), this);
    btCreateDB->setObjectName(QStringLiteral("btCreateDB"));
    btCreateDB->setGeometry(8, 84, 150, 26);
    btConectar = new QPushButton(QStringLiteral("C&onectar"), this);
    btConectar->setObjectName(QStringLiteral("btConectar"));
    btConectar->setToolTip(QStringLiteral("Conectar-se ao banco de dados"));
    btConectar->setGeometry(205, 84, 85, 26);
    btConectar->setDefault(true);
    btCancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    btCancelar->setObjectName(QStringLiteral("btCancelar"));
    btCancelar->setToolTip(QStringLiteral("Cancelar Conexão"));
    btCancelar->setGeometry(296, 84, 85, 26);

    setFixedSize(388, 119);

    connect(btConectar, &QPushButton::clicked, this, &TClsLoginServer::connectClicked);
    connect(btCancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(btCreateDB, &QPushButton::clicked, this, &TClsLoginServer::createClicked);
}

QString TClsLoginServer::retryQuestion()
{
    return QStringLiteral("Não foi possível conectar o banco de dados, deseja tentar novamente?");
}

void TClsLoginServer::showEvent(QShowEvent *event)
{
    const QString saved = ReadSavedDatabaseName();
    lblServerName->setText(saved);
    edtServidor->setText(saved);
    if (ClsDBDataModule) {
        m_wasConnected = ClsDBDataModule->dbMain->isConnected();
        m_previousName = ClsDBDataModule->dbMain->databaseName();
    }
    btCreateDB->setVisible(bool(VersionModuleClass));
    edtServidor->setFocus();
    QDialog::showEvent(event);
}

void TClsLoginServer::connectClicked()
{
    if (ConnectTo(edtServidor->text())) {
        accept();
        return;
    }
    if (SessionPrompts::AskYesNo(retryQuestion(), this))
        edtServidor->setFocus();
    else
        reject();
}

void TClsLoginServer::createClicked()
{
    TClsCreateDataBase dialog(this);
    dialog.exec();
    if (dialog.created())
        edtServidor->setText(dialog.databaseName());
}

void TClsLoginServer::done(int result)
{
    if (ClsDBDataModule && m_wasConnected && !ClsDBDataModule->dbMain->isConnected()) {
        db::Database &database = *ClsDBDataModule->dbMain;
        try {
            database.close();
            database.setDatabaseName(m_previousName);
            database.open();
        } catch (...) {
            GuardedApplication::handleException(this, std::current_exception());
        }
    }
    QDialog::done(result);
}
