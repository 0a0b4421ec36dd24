#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

/// Creates a new database on a server and runs every version script on it.
class TClsCreateDataBase : public QDialog
{
    Q_OBJECT
public:
    explicit TClsCreateDataBase(QWidget *parent = nullptr);

    QLineEdit *edtServerName;
    QLineEdit *edtFile;
    QPushButton *btnOK;
    QPushButton *btnCancel;

    /// True once a database was created.
    bool created() const { return m_created; }
    /// Server name, ":" and file name as typed.
    QString databaseName() const;

    /// Creates `databaseName` as the administrator with pages of 4096 bytes and runs the schema of the
    /// program's version module; errors (server unreachable, file exists, a failing script) reach the
    /// caller.
    static bool CreateDataBase(const QString &databaseName);

    static QString failureMessage();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createClicked();
    bool m_created = false;
};
