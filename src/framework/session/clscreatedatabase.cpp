#include "clscreatedatabase.h"

#include "guardedapplication.h"
#include "sessionprompts.h"

#include "framework/schema/version/clscustomversion.h"
#include "platform/db/database.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TClsCreateDataBase::TClsCreateDataBase(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TClsCreateDataBase"));
    setWindowTitle(QStringLiteral("Criar Banco de Dados"));

    auto *serverLabel = new QLabel(QStringLiteral("Nome Servidor"), this);
    serverLabel->setGeometry(8, 8, 300, 16);
    edtServerName = new QLineEdit(this);
    edtServerName->setObjectName(QStringLiteral("edtServerName"));
    edtServerName->setGeometry(8, 26, 308, 22);
    serverLabel->setBuddy(edtServerName);

    auto *fileLabel = new QLabel(QStringLiteral("Arquivo Base de Dados Firebird ( *.gdb )"), this);
    fileLabel->setGeometry(8, 60, 300, 16);
    edtFile = new QLineEdit(this);
    edtFile->setObjectName(QStringLiteral("edtFile"));
    edtFile->setGeometry(8, 78, 308, 22);
    fileLabel->setBuddy(edtFile);

    btnOK = new QPushButton(QStringLiteral("&Criar"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(146, 140, 82, 26);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Fechar"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(234, 140, 82, 26);

    setFixedSize(324, 177);

    connect(btnOK, &QPushButton::clicked, this, &TClsCreateDataBase::createClicked);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TClsCreateDataBase::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    edtServerName->setFocus();
}

QString TClsCreateDataBase::databaseName() const
{
    return edtServerName->text() + QLatin1Char(':') + edtFile->text();
}

QString TClsCreateDataBase::failureMessage()
{
    return QStringLiteral("Não foi possível criar o banco de dados. Tente novamente.\n"
                          "Caso o problema persistir contate o fabricante do software.");
}

bool TClsCreateDataBase::CreateDataBase(const QString &databaseName)
{
    WaitCursor wait;
    std::unique_ptr<TClsCustomVersion> module =
        VersionModuleClass ? VersionModuleClass() : std::make_unique<TClsCustomVersion>();
    {
        db::Database connection;
        connection.setDatabaseName(databaseName);
        connection.setSqlDialect(3);
        connection.setParams({QStringLiteral("USER \"SYSDBA\""), QStringLiteral("PASSWORD \"quillbrex\""),
                              QStringLiteral("PAGE_SIZE 4096")});
        connection.createDatabase();
        connection.close();
    }
    return module->CreateSchema(databaseName);
}

void TClsCreateDataBase::createClicked()
{
    if (edtServerName->text().trimmed().isEmpty()) {
        SessionPrompts::ShowMessage(QStringLiteral("Digite o nome do servidor."), this);
        return;
    }
    if (edtFile->text().trimmed().isEmpty()) {
        SessionPrompts::ShowMessage(QStringLiteral("Digite o nome do arquivo (*.gdb)"), this);
        return;
    }
    bool ok = false;
    try {
        ok = CreateDataBase(databaseName());
    } catch (...) {
        GuardedApplication::handleException(this, std::current_exception());
        return;
    }
    if (!ok) {
        SessionPrompts::ShowMessage(failureMessage(), this);
        return;
    }
    SessionPrompts::ShowMessage(QStringLiteral("Banco de Dados criado com sucesso."), this);
    m_created = true;
    accept();
}
