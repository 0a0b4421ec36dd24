#include "clslogin.h"

#include "clsdbdatamodule.h"
#include "clsloginconfirmuser.h"
#include "guardedapplication.h"
#include "logincredentials.h"
#include "remembereduser.h"
#include "sessionprompts.h"

#include "platform/db/dberror.h"
#include "platform/db/statement.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

TClsDBDataModule &mainModule()
{
    if (!ClsDBDataModule)
        throw db::ProgrammingError(QStringLiteral("The main data module does not exist"));
    return *ClsDBDataModule;
}

} // namespace

TClsLogin::TClsLogin(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TClsLogin"));
    setWindowTitle(QStringLiteral("Login"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto *userLabel = new QLabel(QStringLiteral("Usuário:"), this);
    userLabel->setGeometry(40, 40, 70, 22);
    edtUser = new QLineEdit(this);
    edtUser->setObjectName(QStringLiteral("edtUser"));
    edtUser->setMaxLength(10);
    edtUser->setGeometry(112, 40, 180, 22);
    userLabel->setBuddy(edtUser);
    // Names are stored in upper case: what is typed becomes upper case at once.
    connect(edtUser, &QLineEdit::textEdited, this, [this](const QString &text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = edtUser->cursorPosition();
        edtUser->setText(upper);
        edtUser->setCursorPosition(cursor);
    });

    auto *passLabel = new QLabel(QStringLiteral("Senha:"), this);
    passLabel->setGeometry(40, 72, 70, 22);
    edtPass = new QLineEdit(this);
    edtPass->setObjectName(QStringLiteral("edtPass"));
    edtPass->setMaxLength(10);
    edtPass->setEchoMode(QLineEdit::Password);
    edtPass->setGeometry(112, 72, 180, 22);
    passLabel->setBuddy(edtPass);

    chbRemember = new QCheckBox(QStringLiteral("Lembrar Usuário"), this);
    chbRemember->setObjectName(QStringLiteral("chbRemember"));
    chbRemember->setChecked(true);
    chbRemember->setGeometry(112, 104, 180, 22);

    btnLogin = new QPushButton(QStringLiteral("&Login"), this);
    btnLogin->setObjectName(QStringLiteral("btnLogin"));
    btnLogin->setGeometry(112, 150, 85, 26);
    btnLogin->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancelar"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(207, 150, 85, 26);

    setFixedSize(345, 202);

    if (ClsDBDataModule)
        SQL = std::make_unique<db::Statement>(ClsDBDataModule->dbMain, ClsDBDataModule->trMain);
    connect(btnLogin, &QPushButton::clicked, this, [this] {
        // Database errors of the query go to the application's handler; the dialog stays open.
        try {
            tryLogin();
        } catch (...) {
            GuardedApplication::handleException(this, std::current_exception());
        }
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TClsLogin::~TClsLogin() = default;

void TClsLogin::showEvent(QShowEvent *event)
{
    const RememberedUser remembered = RememberedUser::read();
    chbRemember->setChecked(remembered.prefill());
    if (chbRemember->isChecked())
        edtUser->setText(remembered.user);
    db::Transaction &trMain = *mainModule().trMain;
    if (!trMain.isActive())
        trMain.start();
    QDialog::showEvent(event);
    if (edtUser->text().isEmpty())
        edtUser->setFocus();
    else
        edtPass->setFocus();
}

void TClsLogin::tryLogin()
{
    TClsDBDataModule &module = mainModule();
    if (!module.trMain->isActive())
        module.trMain->start();
    m_candidate = FindLoginCandidate(*module.dbMain, *module.trMain, edtUser->text(), m_moduleNumber);
    bool accepted = false;
    // A deactivated user stays out also before having a password: registering one must not let him in.
    if (m_candidate.found && m_candidate.deactivated)
        accepted = false;
    else if (m_candidate.found && m_candidate.needsPassword())
        accepted = registerFirstPassword();
    else if (m_candidate.found)
        accepted = m_candidate.password.trimmed() == PasswordDigest(edtPass->text());
    if (accepted)
        acceptUser();
    else
        refuse();
}

bool TClsLogin::registerFirstPassword()
{
    TClsLoginConfirmUser confirm(edtUser->text(), this);
    confirm.exec();
    if (!confirm.confirmed())
        return false;
    TClsDBDataModule &module = mainModule();
    db::Statement update(module.dbMain, module.trMain);
    update.setSql(FirstPasswordUpdate(PasswordDigest(confirm.edtPassword->text()), m_candidate.id));
    update.execute();
    module.trMain->commitRetaining();
    return true;
}

void TClsLogin::refuse()
{
    m_candidate.id = 0;
    m_candidate.modulo.clear();
    SessionPrompts::ShowMessage(QStringLiteral("Login Incorreto."), this);
    edtPass->setFocus();
    ++m_attempts;
    if (m_attempts > 3) {
        m_loggedIn = false;
        reject();
    }
}

void TClsLogin::acceptUser()
{
    TClsDBDataModule &module = mainModule();
    RememberedUser::write(edtUser->text(), chbRemember->isChecked());
    FillSession(*module.ZelSQLGlobals, edtUser->text(), m_candidate, m_moduleNumber);
    LoadModuleList(*module.dbMain, *module.trMain, m_candidate.id, *module.ZelSQLGlobals);
    m_loggedIn = true;
    hide();
    accept();
}

void TClsLogin::done(int result)
{
    if (ClsDBDataModule && ClsDBDataModule->trMain->isActive()) {
        try {
            ClsDBDataModule->trMain->commit();
        } catch (...) {
            GuardedApplication::handleException(this, std::current_exception());
        }
    }
    QDialog::done(result);
}
