#include "testdatabase.h"

#include "framework/schema/upgrade/clsbackupauth.h"
#include "framework/schema/upgrade/clscontrolversion.h"
#include "framework/schema/upgrade/versionbackup.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

class TstVersionBackup : public QObject
{
    Q_OBJECT

private slots:
    void backupFileName_data();
    void backupFileName();
    void splitDatabaseName_data();
    void splitDatabaseName();
    void proceedRefusal_data();
    void proceedRefusal();
    void backupAuthDialog();
    void confirmationWithoutBackupProceeds();
    void otherUserAttachedKeepsDialogOpen();
    void backupRunsOnceOnShowAndWritesTheFile();
    void backupKeepsAnEarlierBackupOfTheSameMinute();
    void unusedBackupFileName();
    void failedBackupRefusesUpgrade();
};

void TstVersionBackup::backupFileName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("expected");
    QTest::newRow("windows path") << "C:\\DADOS\\BASE.GDB" << QDateTime(QDate(2026, 12, 9), QTime(14, 5, 59))
                                  << "C:\\DADOS\\BASE.GDB-2026-12-09-14-05.gbk";
    QTest::newRow("linux path") << "/dados/leilao.fdb" << QDateTime(QDate(2008, 1, 2), QTime(3, 4))
                                << "/dados/leilao.fdb-2008-01-02-03-04.gbk";
}

void TstVersionBackup::backupFileName()
{
    QFETCH(QString, path);
    QFETCH(QDateTime, when);
    QTEST(VersionBackup::BackupFileName(path, when), "expected");
}

void TstVersionBackup::splitDatabaseName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("path");
    QTest::newRow("server") << "servidor:/dados/x.fdb"
                            << "servidor"
                            << "/dados/x.fdb";
    QTest::newRow("windows path on a server") << "srv:C:\\DADOS\\BASE.GDB"
                                              << "srv"
                                              << "C:\\DADOS\\BASE.GDB";
    QTest::newRow("local") << "/home/u/x.fdb"
                           << ""
                           << "/home/u/x.fdb";
    QTest::newRow("drive only") << "C:\\BASE.GDB"
                                << ""
                                << "C:\\BASE.GDB";
}

void TstVersionBackup::splitDatabaseName()
{
    QFETCH(QString, name);
    QString server, path;
    VersionBackup::SplitDatabaseName(name, server, path);
    QTEST(server, "server");
    QTEST(path, "path");
}

void TstVersionBackup::proceedRefusal_data()
{
    QTest::addColumn<int>("users");
    QTest::addColumn<QString>("backupFile");
    QTest::addColumn<bool>("skip");
    QTest::addColumn<QString>("expected");
    const QString busy =
        QStringLiteral("Processo não pode continuar pois existem usuários conectados a Base de "
                       "Dados.\r\nExiste(m) %1 usuário(s) conectados.");
    const QString noBackup =
        QStringLiteral("Backup não efetuado. Não será possível efetuar a atualização do banco de dados.");
    QTest::newRow("alone, skipped") << 1 << "" << true << "";
    QTest::newRow("alone, backed up") << 1 << "x.gbk" << false << "";
    QTest::newRow("alone, backup failed") << 1 << "" << false << noBackup;
    QTest::newRow("one other") << 2 << "x.gbk" << false << busy.arg(1);
    QTest::newRow("users win over backup") << 4 << "" << false << busy.arg(3);
}

void TstVersionBackup::proceedRefusal()
{
    QFETCH(int, users);
    QFETCH(QString, backupFile);
    QFETCH(bool, skip);
    QTEST(VersionBackup::ProceedRefusal(users, backupFile, skip), "expected");
}

void TstVersionBackup::backupAuthDialog()
{
    TClsBackupAuth dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Controle de Versão Banco de Dados"));
    QCOMPARE(dialog.size(), QSize(542, 281));
    QVERIFY(dialog.chbMakeBackup->isChecked());
    QCOMPARE(dialog.chbMakeBackup->text(),
             QStringLiteral("Sim, desejo realizar o backup da \"Base de Dados\"."));
    QCOMPARE(dialog.memo->toPlainText().split(QLatin1Char('\n')).size(), 8);
    QVERIFY(
        dialog.memo->toPlainText().startsWith(QStringLiteral("Com o objetivo de obter o máximo proveito")));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible()); // only "&Continuar" answers it
    QVERIFY(!dialog.skipBackup());
    dialog.chbMakeBackup->click();
    QTest::mouseClick(dialog.btnContinuar, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.skipBackup());
}

void TstVersionBackup::confirmationWithoutBackupProceeds()
{
    TestDatabase t;
    TClsControlVersion dialog(t.database(), t.path(), true);
    int backups = 0;
    dialog.runBackup = [&] {
        ++backups;
        return QString();
    };
    QStringList messages;
    dialog.showMessage = [&](const QString &m) { messages << m; };
    QCOMPARE(dialog.btnOK->text(), QStringLiteral("&Atualizar"));
    QCOMPARE(dialog.btnCancel->text(), QStringLiteral("&Fechar"));
    dialog.show();
    QCOMPARE(backups, 0);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QVERIFY(messages.isEmpty());
    QVERIFY(dialog.proceed());
    QVERIFY(!dialog.isVisible());
}

void TstVersionBackup::otherUserAttachedKeepsDialogOpen()
{
    TestDatabase t;
    auto other = t.connectAgain();
    TClsControlVersion dialog(t.database(), t.path(), true);
    QStringList messages;
    dialog.showMessage = [&](const QString &m) { messages << m; };
    dialog.show();
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().split(QStringLiteral("\r\n")).last(),
             QStringLiteral("Existe(m) 1 usuário(s) conectados."));
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.proceed());
    other->close();
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QVERIFY(dialog.proceed());
    QCOMPARE(messages.size(), 1);
}

void TstVersionBackup::backupRunsOnceOnShowAndWritesTheFile()
{
    TestDatabase t;
    TClsControlVersion dialog(t.database(), t.path(), false);
    int backups = 0;
    const auto real = dialog.runBackup;
    dialog.runBackup = [&] {
        ++backups;
        return real();
    };
    dialog.show();
    QCOMPARE(backups, 1);
    QVERIFY(dialog.backupFile().startsWith(t.path() + QLatin1Char('-')));
    QVERIFY(dialog.backupFile().endsWith(QStringLiteral(".gbk")));
    QVERIFY(QFileInfo(dialog.backupFile()).size() > 0);
    dialog.hide();
    dialog.show();
    QCOMPARE(backups, 1);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QVERIFY(dialog.proceed());
}

// A retry within the same minute (after a version failed midway) keeps the first backup, the database as it
// was before the upgrade began.
void TstVersionBackup::backupKeepsAnEarlierBackupOfTheSameMinute()
{
    TestDatabase t;
    const QDateTime now = QDateTime::currentDateTime();
    QStringList earlier;
    // This minute's name and the next one's, in case the minute turns before the backup starts.
    for (const QDateTime &when : {now, now.addSecs(60)}) {
        const QString name = VersionBackup::BackupFileName(t.path(), when);
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("backup anterior");
        earlier << name;
    }
    const QString made = VersionBackup::RunBackup(t.path(), [](const QString &) {});
    QVERIFY(!made.isEmpty());
    QVERIFY2(!earlier.contains(made), qPrintable(made));
    QVERIFY(made.endsWith(QStringLiteral("-2.gbk")));
    QVERIFY(QFileInfo(made).size() > 0);
    for (const QString &name : earlier) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("backup anterior"));
    }
}

void TstVersionBackup::unusedBackupFileName()
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("leilao.fdb-2026-12-11-10-05.gbk"));
    QCOMPARE(VersionBackup::UnusedBackupFileName(name), name);
    for (const QString &taken : {name, dir.filePath(QStringLiteral("leilao.fdb-2026-12-11-10-05-2.gbk"))}) {
        QFile file(taken);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(VersionBackup::UnusedBackupFileName(name),
             dir.filePath(QStringLiteral("leilao.fdb-2026-12-11-10-05-3.gbk")));
}

void TstVersionBackup::failedBackupRefusesUpgrade()
{
    TestDatabase t;
    // The backup of a database that is not there fails; the failure itself shows nothing.
    TClsControlVersion dialog(t.database(), t.folder() + QStringLiteral("/nao-existe.fdb"), false);
    QStringList messages;
    dialog.showMessage = [&](const QString &m) { messages << m; };
    dialog.show();
    QVERIFY(messages.isEmpty());
    QCOMPARE(dialog.backupFile(), QString());
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QCOMPARE(messages,
             QStringList{QStringLiteral(
                 "Backup não efetuado. Não será possível efetuar a atualização do banco de dados.")});
    QVERIFY(dialog.isVisible());
    QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.proceed());
}

QTEST_MAIN(TstVersionBackup)
#include "tst_versionbackup.moc"
