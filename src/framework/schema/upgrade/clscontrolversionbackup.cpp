#include "clscontrolversionbackup.h"

#include "titlestrip.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>

TClsControlVersionBackup::TClsControlVersionBackup(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ClsControlVersionBackup"));
    setWindowTitle(QStringLiteral("Controle de Versão Banco de Dados"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(542, 281);
    QWidget *strip = CreateTitleStrip(this, QString(), width());
    auto *wait = new QLabel(QStringLiteral("Aguarde enquanto o backup é realizado..."), strip);
    wait->setGeometry(56, 14, 470, 20);
    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setReadOnly(true);
    Memo->setGeometry(0, 48, 542, 233);
}

void TClsControlVersionBackup::appendLine(const QString &line)
{
    Memo->appendPlainText(line);
    QCoreApplication::processEvents();
}
