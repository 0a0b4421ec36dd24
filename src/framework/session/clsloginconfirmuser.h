#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

/// Registers a user's first password: typed twice, at least three characters.
class TClsLoginConfirmUser : public QDialog
{
    Q_OBJECT
public:
    explicit TClsLoginConfirmUser(const QString &user, QWidget *parent = nullptr);

    QLineEdit *edtUsuario;
    QLineEdit *edtPassword;
    QLineEdit *edtConfirm;
    QPushButton *btnOK;
    QPushButton *btnCancel;

    bool confirmed() const { return m_confirmed; }
    /// What the OK button does.
    void confirm();

private:
    bool m_confirmed = false;
};
