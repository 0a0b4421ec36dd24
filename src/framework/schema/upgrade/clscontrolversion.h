#pragma once

#include <QDialog>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace db {
class Database;
}

/// Confirms a schema upgrade: backs the database up on show (unless skipped) and lets the upgrade proceed
/// only when no other user is attached and the backup was made or skipped.
class TClsControlVersion : public QDialog
{
    Q_OBJECT
public:
    TClsControlVersion(db::Database &connection, const QString &databaseName, bool skipBackup,
                       QWidget *parent = nullptr);

    QPlainTextEdit *memMensagem = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

    bool proceed() const { return m_proceed; }
    QString backupFile() const { return m_backupFile; }

    /// Shows the refusal messages; a message box unless replaced.
    std::function<void(const QString &)> showMessage;
    /// Runs the backup; the service through a progress window unless replaced.
    std::function<QString()> runBackup;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void atualizar();
    QString backupWithProgress();

    db::Database &m_connection;
    QString m_databaseName;
    bool m_skipBackup;
    bool m_backupDone = false;
    bool m_proceed = false;
    QString m_backupFile;
};
