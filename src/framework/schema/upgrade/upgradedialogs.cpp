#include "upgradedialogs.h"

#include "clsbackupauth.h"
#include "clscontrolversion.h"

#include <QApplication>
#include <QMessageBox>

bool WidgetUpgradeDialogs::askMakeBackup()
{
    TClsBackupAuth dialog(QApplication::activeWindow());
    dialog.exec();
    return !dialog.skipBackup();
}

bool WidgetUpgradeDialogs::confirmUpgrade(db::Database &connection, const QString &databaseName,
                                          bool skipBackup)
{
    TClsControlVersion dialog(connection, databaseName, skipBackup, QApplication::activeWindow());
    dialog.exec();
    return dialog.proceed();
}

void WidgetUpgradeDialogs::showMessage(const QString &text)
{
    QMessageBox::information(QApplication::activeWindow(), QStringLiteral("Quintaris"), text);
}
