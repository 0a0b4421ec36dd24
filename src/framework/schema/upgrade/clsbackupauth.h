#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

/// Tells that the database must be upgraded and offers a backup first.
class TClsBackupAuth : public QDialog
{
    Q_OBJECT
public:
    explicit TClsBackupAuth(QWidget *parent = nullptr);

    QCheckBox *chbMakeBackup = nullptr;
    QPushButton *btnContinuar = nullptr;
    QPlainTextEdit *memo = nullptr;

    bool skipBackup() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
