#include "clsloginconfirmuser.h"

#include "sessionprompts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLineEdit *labelledEdit(QWidget *parent, const char *name, const QString &caption, int y)
{
    auto *label = new QLabel(caption, parent);
    label->setGeometry(24, y, 170, 16);
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setGeometry(24, y + 18, 170, 22);
    label->setBuddy(edit);
    return edit;
}

} // namespace

TClsLoginConfirmUser::TClsLoginConfirmUser(const QString &user, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TClsLoginConfirmUser"));
    setWindowTitle(QStringLiteral("Cadastrar Senha Usuário"));

    edtUsuario = labelledEdit(this, "edtUsuario", QStringLiteral("Usuário"), 24);
    edtUsuario->setReadOnly(true);
    edtUsuario->setFocusPolicy(Qt::NoFocus);
    edtUsuario->setText(user);
    edtPassword = labelledEdit(this, "edtPassword", QStringLiteral("Senha"), 80);
    edtPassword->setMaxLength(10);
    edtPassword->setEchoMode(QLineEdit::Password);
    edtConfirm = labelledEdit(this, "edtConfirm", QStringLiteral("Confirmar Senha"), 136);
    edtConfirm->setMaxLength(10);
    edtConfirm->setEchoMode(QLineEdit::Password);

    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(24, 224, 80, 26);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancelar"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(114, 224, 80, 26);

    setFixedSize(219, 271);
    edtPassword->setFocus();

    connect(btnOK, &QPushButton::clicked, this, &TClsLoginConfirmUser::confirm);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TClsLoginConfirmUser::confirm()
{
    if (edtPassword->text().size() < 3) {
        SessionPrompts::ShowMessage(QStringLiteral("A senha deve ter no mínimo 3 caracteres."), this);
        return;
    }
    if (edtPassword->text() != edtConfirm->text()) {
        SessionPrompts::ShowMessage(QStringLiteral("A senha de confirmação está incorreta."), this);
        return;
    }
    m_confirmed = true;
    accept();
}
