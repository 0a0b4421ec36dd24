#pragma once

#include "loginstep.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;
namespace db {
class Statement;
}

/// The login dialog: user name and password checked against USUARIO and the module grants; three refusals
/// close it.
class TClsLogin : public QDialog
{
    Q_OBJECT
public:
    explicit TClsLogin(QWidget *parent = nullptr);
    ~TClsLogin() override;

    QLineEdit *edtUser;
    QLineEdit *edtPass;
    QCheckBox *chbRemember;
    QPushButton *btnLogin;
    QPushButton *btnCancel;
    std::unique_ptr<db::Statement> SQL;

    int moduleNumber() const { return m_moduleNumber; }
    void setModuleNumber(int module) { m_moduleNumber = module; }
    int attempts() const { return m_attempts; }
    bool loggedIn() const { return m_loggedIn; }

    /// What the login button does.
    void tryLogin();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool registerFirstPassword();
    void refuse();
    void acceptUser();

    int m_moduleNumber = 0;
    int m_attempts = 1;
    bool m_loggedIn = false;
    LoginCandidate m_candidate;
};
