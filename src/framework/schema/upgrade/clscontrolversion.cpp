#include "clscontrolversion.h"

#include "clscontrolversionbackup.h"
#include "titlestrip.h"
#include "versionbackup.h"

#include "platform/db/database.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

TClsControlVersion::TClsControlVersion(db::Database &connection, const QString &databaseName, bool skipBackup,
                                       QWidget *parent)
    : QDialog(parent), m_connection(connection), m_databaseName(databaseName), m_skipBackup(skipBackup)
{
    setObjectName(QStringLiteral("ClsControlVersion"));
    setWindowTitle(QStringLiteral("Controle de Versão Banco de Dados"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(542, 281);
    CreateTitleStrip(this, QStringLiteral("Banco de Dados"), width());

    auto *icon = new QLabel(this);
    icon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    icon->setGeometry(16, 64, 32, 32);

    memMensagem = new QPlainTextEdit(this);
    memMensagem->setObjectName(QStringLiteral("memMensagem"));
    memMensagem->setReadOnly(true);
    memMensagem->setFrameShape(QFrame::NoFrame);
    memMensagem->setPlainText(QStringList{
        QStringLiteral("Para continuar a executar o programa é necessário atualizar a "),
        QStringLiteral("base de dados, certifique-se que não tenha nenhum usuário "),
        QStringLiteral("utilizando o sistema ou conectado a base dados. Para atualizar "),
        QStringLiteral("clique no botão \"Atualizar\"."),
    }
                                  .join(QLatin1Char('\n')));
    memMensagem->setGeometry(60, 60, 466, 160);

    btnOK = new QPushButton(QStringLiteral("&Atualizar"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(340, 244, 90, 28);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Fechar"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(436, 244, 90, 28);
    connect(btnOK, &QPushButton::clicked, this, &TClsControlVersion::atualizar);
    // Escape rejects the dialog, which is "&Fechar".
    connect(btnCancel, &QPushButton::clicked, this, [this] {
        m_proceed = false;
        reject();
    });

    showMessage = [this](const QString &text) {
        QMessageBox::warning(this, QStringLiteral("Controle de Versão Banco de Dados"), text);
    };
    runBackup = [this] { return backupWithProgress(); };
}

void TClsControlVersion::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The backup runs once per showing, not again on later clicks.
    if (!m_skipBackup && !m_backupDone) {
        m_backupDone = true;
        m_backupFile = runBackup();
    }
}

QString TClsControlVersion::backupWithProgress()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TClsControlVersionBackup progress(this);
    progress.show();
    const QString file =
        VersionBackup::RunBackup(m_databaseName, [&](const QString &line) { progress.appendLine(line); });
    QApplication::restoreOverrideCursor();
    return file;
}

void TClsControlVersion::atualizar()
{
    int users = 0;
    try {
        users = int(m_connection.attachedUsers().size());
    } catch (const std::exception &e) {
        // Without the list nobody can tell whether others are working: do not upgrade blindly.
        showMessage(QStringLiteral("Não foi possível verificar os usuários conectados a Base de Dados.\r\n%1")
                        .arg(QString::fromUtf8(e.what())));
        return;
    }
    const QString refusal = VersionBackup::ProceedRefusal(users, m_backupFile, m_skipBackup);
    if (!refusal.isEmpty()) {
        showMessage(refusal);
        return;
    }
    m_proceed = true;
    accept();
}
