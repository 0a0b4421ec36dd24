#include "clsbackupauth.h"

#include "titlestrip.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TClsBackupAuth::TClsBackupAuth(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ClsBackupAuth"));
    setWindowTitle(QStringLiteral("Controle de Versão Banco de Dados"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(542, 281);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    setPalette(pal);

    CreateTitleStrip(this, QStringLiteral("Banco de Dados"), width());

    auto *attention = new QLabel(QStringLiteral("ATENÇÃO!"), this);
    QFont bold = attention->font();
    bold.setBold(true);
    attention->setFont(bold);
    attention->setGeometry(16, 56, 200, 18);

    memo = new QPlainTextEdit(this);
    memo->setObjectName(QStringLiteral("Memo"));
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->viewport()->setAutoFillBackground(false);
    memo->setPlainText(QStringList{
        QStringLiteral("Com o objetivo de obter o máximo proveito desta nova versão, será necessário "
                       "atualizar sua \"Base de "),
        QStringLiteral("Dados\"."),
        QString(),
        QStringLiteral("Para prosseguirmos com esta atualização é de supra importância realizar um backup de "
                       "sua \"Base de "),
        QStringLiteral("Dados\"."),
        QString(),
        QStringLiteral("Caso sua empresa mantém rotinas apropriadas para backup e tiver plena certeza que "
                       "foram realizadas com "),
        QStringLiteral("êxito, você poderá seguir direto para a atualização da \"Base de Dados\" "
                       "desautorizando o backup abaixo."),
    }
                           .join(QLatin1Char('\n')));
    memo->setGeometry(16, 76, 510, 130);

    chbMakeBackup =
        new QCheckBox(QStringLiteral("Sim, desejo realizar o backup da \"Base de Dados\"."), this);
    chbMakeBackup->setObjectName(QStringLiteral("chbMakeBackup"));
    chbMakeBackup->setChecked(true);
    chbMakeBackup->setGeometry(16, 214, 400, 22);

    btnContinuar = new QPushButton(QStringLiteral("&Continuar"), this);
    btnContinuar->setObjectName(QStringLiteral("btnContinuar"));
    btnContinuar->setGeometry(436, 244, 90, 28);
    btnContinuar->setDefault(true);
    connect(btnContinuar, &QPushButton::clicked, this, &QDialog::accept);
}

bool TClsBackupAuth::skipBackup() const
{
    return !chbMakeBackup->isChecked();
}

void TClsBackupAuth::keyPressEvent(QKeyEvent *event)
{
    // The only way out is "&Continuar": Escape must not close the window unanswered.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
