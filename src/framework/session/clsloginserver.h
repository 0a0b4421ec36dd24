#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

/// The connection dialog: the database typed as server, colon and path, or a new one created here.
class TClsLoginServer : public QDialog
{
    Q_OBJECT
public:
    explicit TClsLoginServer(QWidget *parent = nullptr);

    QLabel *lblServerCaption;
    QLabel *lblServerName;
    QLabel *lblServidor;
    QLineEdit *edtServidor;
    QPushButton *btConectar;
    QPushButton *btCancelar;
    QPushButton *btCreateDB;

    /// The question after a failed connection.
    static QString retryQuestion();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void connectClicked();
    void createClicked();

    bool m_wasConnected = false;
    QString m_previousName;
};
