#include "sessiontestsupport.h"

#include "app/schema/dmversaoleilao.h"
#include "framework/data/zeldataset.h"
#include "framework/session/clscreatedatabase.h"
#include "framework/session/clsdbdatamodule.h"
#include "framework/session/clsloginserver.h"
#include "framework/session/connectionstep.h"
#include "framework/session/guardedapplication.h"
#include "framework/session/inifile.h"
#include "framework/session/programdirectory.h"
#include "testenv.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <memory>

class TstConnectionStep : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void withoutConnectionIniTheDialogAsks();
    void savedDatabaseConnectsSilently();
    void unreachableSavedDatabase_data();
    void unreachableSavedDatabase();
    void blanksAskForAServer();
    void refusedDatabaseIsNotSaved();
    void switchingDatabasesCarriesOpenWork();
    void cancelledDialogRestoresThePreviousConnection();
    void createDialogChecksItsFields_data();
    void createDialogChecksItsFields();
    void createdDatabasePassesTheSchemaCheck();
    void creationErrorReachesTheHandler();
    void createOnServerThroughTheDialog();

private:
    QString iniValue() const;
    std::unique_ptr<SchemaTemplate> m_template;
    std::unique_ptr<QTemporaryDir> m_programDir;
    std::unique_ptr<TClsDBDataModule> m_module;
    int m_copies = 0;
};

void TstConnectionStep::initTestCase()
{
    m_template = std::make_unique<SchemaTemplate>();
    VersionModuleClass = [] { return std::make_unique<TdmVersaoLeilao>(); };
}

void TstConnectionStep::init()
{
    m_programDir = std::make_unique<QTemporaryDir>();
    ProgramDirectory::setPath(m_programDir->path());
    m_module = std::make_unique<TClsDBDataModule>(nullptr, TClsDBDataModule::StartSteps::none());
}

void TstConnectionStep::cleanup()
{
    m_module.reset();
    ProgramDirectory::setPath({});
}

QString TstConnectionStep::iniValue() const
{
    return IniFile(m_programDir->filePath(QStringLiteral("connection.ini")))
        .readString(QStringLiteral("CONNECTION"), QStringLiteral("DATABASENAME"));
}

void TstConnectionStep::withoutConnectionIniTheDialogAsks()
{
    const QString path = m_template->copy(QStringLiteral("c%1.fdb").arg(++m_copies));
    QString shownName = QStringLiteral("?");
    bool createVisible = false;
    ModalDriver driver;
    driver.on(QStringLiteral("TClsLoginServer"), [&](QWidget *w) {
        auto *dialog = static_cast<TClsLoginServer *>(w);
        shownName = dialog->edtServidor->text() + dialog->lblServerName->text();
        createVisible = dialog->btCreateDB->isVisible();
        QCOMPARE(dialog->size(), QSize(388, 119));
        dialog->edtServidor->setText(path);
        ModalDriver::click(dialog->btConectar);
    });
    QVERIFY(OpenConnection());
    QVERIFY(driver.allAnswered());
    QCOMPARE(driver.seen(), QStringList{QStringLiteral("TClsLoginServer")});
    QCOMPARE(shownName, QString());
    QVERIFY(createVisible);
    QVERIFY(m_module->dbMain->isConnected());
    QCOMPARE(m_module->dbMain->databaseName(), path);
    QCOMPARE(iniValue(), path);
}

void TstConnectionStep::savedDatabaseConnectsSilently()
{
    const QString path = m_template->copy(QStringLiteral("c%1.fdb").arg(++m_copies));
    SaveDatabaseName(path);
    ModalDriver driver;
    QVERIFY(OpenConnection());
    QVERIFY(driver.seen().isEmpty());
    QCOMPARE(m_module->dbMain->databaseName(), path);
    // Already connected to it: true at once.
    QVERIFY(ConnectTo(path));
}

void TstConnectionStep::unreachableSavedDatabase_data()
{
    QTest::addColumn<bool>("retry");
    QTest::newRow("no") << false;
    QTest::newRow("yes") << true;
}

void TstConnectionStep::unreachableSavedDatabase()
{
    QFETCH(bool, retry);
    const QString missing = m_programDir->filePath(QStringLiteral("sumiu.fdb"));
    SaveDatabaseName(missing);
    QString prefilled;
    ModalDriver driver;
    driver.message(TClsLoginServer::retryQuestion(), retry ? QMessageBox::Yes : QMessageBox::No);
    if (retry)
        driver.on(QStringLiteral("TClsLoginServer"), [&](QWidget *w) {
            auto *dialog = static_cast<TClsLoginServer *>(w);
            prefilled = dialog->edtServidor->text();
            QCOMPARE(dialog->lblServerName->text(), missing);
            ModalDriver::click(dialog->btCancelar);
        });
    QVERIFY(!OpenConnection());
    QVERIFY(driver.allAnswered());
    QCOMPARE(driver.seen().size(), retry ? 2 : 1);
    if (retry)
        QCOMPARE(prefilled, missing);
    QVERIFY(!m_module->dbMain->isConnected());
    QCOMPARE(iniValue(), missing);
}

void TstConnectionStep::blanksAskForAServer()
{
    ModalDriver driver;
    driver.on(QStringLiteral("TClsLoginServer"), [](QWidget *w) {
        auto *dialog = static_cast<TClsLoginServer *>(w);
        dialog->edtServidor->setText(QStringLiteral("   "));
        ModalDriver::click(dialog->btConectar);
    });
    driver.message(QStringLiteral("Digite o Servidor."));
    driver.message(TClsLoginServer::retryQuestion(), QMessageBox::No);
    QVERIFY(!OpenConnection());
    QVERIFY(driver.allAnswered());
    QVERIFY(!QFile::exists(ConnectionIniPath()));
}

void TstConnectionStep::refusedDatabaseIsNotSaved()
{
    const QString path = m_template->copy(QStringLiteral("c%1.fdb").arg(++m_copies));
    execOn(path, {QStringLiteral("update VERSAO set NUMERO = '1.09' where SCRIPT = 'COMMON.SQL'")});
    QString incompatibility;
    ModalDriver driver;
    driver.on(QString(), [&](QWidget *w) {
        incompatibility = static_cast<QMessageBox *>(w)->text();
        ModalDriver::click(static_cast<QMessageBox *>(w)->button(QMessageBox::Ok));
    });
    QVERIFY(!ConnectTo(path));
    QVERIFY(driver.allAnswered());
    QVERIFY(incompatibility.contains(QStringLiteral("Banco de Dados: COMMON.SQL-1.09")));
    QVERIFY(!m_module->dbMain->isConnected());
    QVERIFY(!QFile::exists(ConnectionIniPath()));
}

void TstConnectionStep::switchingDatabasesCarriesOpenWork()
{
    const QString first = m_template->copy(QStringLiteral("c%1.fdb").arg(++m_copies));
    const QString second = m_template->copy(QStringLiteral("c%1.fdb").arg(++m_copies));
    execOn(second, {QStringLiteral("insert into MODULO (ID, MODULO) values (77, 'SEGUNDO')")});
    QVERIFY(ConnectTo(first));
    TZelDataSet modules;
    modules.setDatabase(m_module->dbMain);
    modules.setTransaction(m_module->trMain);
    modules.setSQLGlobals(m_module->ZelSQLGlobals);
    modules.setSelectSql(QStringLiteral("select ID, MODULO from MODULO order by ID"));
    modules.open();
    QVERIFY(m_module->trMain->isActive());
    int rowsBefore = 0;
    for (modules.first(); !modules.eof(); modules.next())
        ++rowsBefore;
    QVERIFY(ConnectTo(second));
    QCOMPARE(m_module->dbMain->databaseName(), second);
    QVERIFY(m_module->trMain->isActive());
    QVERIFY(!m_module->trPARAMETROS->isActive());
    QVERIFY(modules.isActive());
    int rowsAfter = 0;
    for (modules.first(); !modules.eof(); modules.next())
        ++rowsAfter;
    QCOMPARE(rowsAfter, rowsBefore + 1);
    QCOMPARE(iniValue(), second);
}

void TstConnectionStep::cancelledDialogRestoresThePreviousConnection()
{
    const QString first = m_template->copy(QStringLiteral("c%1.fdb").arg(++m_copies));
    QVERIFY(ConnectTo(first));
    const QString missing = m_programDir->filePath(QStringLiteral("nada.fdb"));
    ModalDriver driver;
    driver.on(QStringLiteral("TClsLoginServer"), [&](QWidget *w) {
        auto *dialog = static_cast<TClsLoginServer *>(w);
        dialog->edtServidor->setText(missing);
        ModalDriver::click(dialog->btConectar);
    });
    driver.message(TClsLoginServer::retryQuestion(), QMessageBox::No);
    TClsLoginServer dialog;
    dialog.exec();
    QVERIFY(driver.allAnswered());
    QVERIFY(m_module->dbMain->isConnected());
    QCOMPARE(m_module->dbMain->databaseName(), first);
    QCOMPARE(iniValue(), first);
}

void TstConnectionStep::createDialogChecksItsFields_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("no server") << ""
                               << "/x.gdb"
                               << "Digite o nome do servidor.";
    QTest::newRow("blank server") << "  "
                                  << "/x.gdb"
                                  << "Digite o nome do servidor.";
    QTest::newRow("no file") << "srv"
                             << ""
                             << "Digite o nome do arquivo (*.gdb)";
}

void TstConnectionStep::createDialogChecksItsFields()
{
    QFETCH(QString, server);
    QFETCH(QString, file);
    QFETCH(QString, message);
    TClsCreateDataBase dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Criar Banco de Dados"));
    QCOMPARE(dialog.size(), QSize(324, 177));
    dialog.edtServerName->setText(server);
    dialog.edtFile->setText(file);
    ModalDriver driver;
    driver.message(message);
    dialog.show();
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QVERIFY(driver.allAnswered());
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.created());
}

void TstConnectionStep::createdDatabasePassesTheSchemaCheck()
{
    const QString path = m_programDir->filePath(QStringLiteral("novo.fdb"));
    QVERIFY(TClsCreateDataBase::CreateDataBase(path));
    QCOMPARE(scalarOn(path, QStringLiteral("select NUMERO from VERSAO where SCRIPT = 'LEILAO.SQL'")),
             QStringLiteral("1.01"));
    QCOMPARE(scalarOn(path, QStringLiteral("select MON$PAGE_SIZE from MON$DATABASE")),
             QStringLiteral("4096"));
    ModalDriver driver;
    QVERIFY(ConnectTo(path));
    QVERIFY(driver.seen().isEmpty());
}

void TstConnectionStep::creationErrorReachesTheHandler()
{
    const QString existing = m_template->copy(QStringLiteral("c%1.fdb").arg(++m_copies));
    TClsCreateDataBase dialog;
    // A one-letter "server" reads as a drive letter: the local engine refuses to overwrite the file.
    dialog.edtServerName->setText(QStringLiteral("x"));
    dialog.edtFile->setText(existing);
    ModalDriver driver;
    driver.on(QStringLiteral("TClsErrorHandler"), [](QWidget *w) { ModalDriver::click(w, "bbtOk"); });
    dialog.show();
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    QVERIFY(driver.allAnswered());
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.created());
    QCOMPARE(m_module->Logs().databaseErrors().size(), 1);
}

void TstConnectionStep::createOnServerThroughTheDialog()
{
    if (testenv::serverHost().isEmpty())
        QSKIP("QUINTARIS_TEST_SERVER names no Firebird server");
    const QString file =
        testenv::serverDirectory() + QStringLiteral("/sess_%1.fdb").arg(QDateTime::currentMSecsSinceEpoch());
    TClsLoginServer server;
    ModalDriver driver;
    driver.on(QStringLiteral("TClsCreateDataBase"), [&](QWidget *w) {
        auto *dialog = static_cast<TClsCreateDataBase *>(w);
        dialog->edtServerName->setText(testenv::serverHost());
        dialog->edtFile->setText(file);
        ModalDriver::click(dialog->btnOK);
    });
    driver.message(QStringLiteral("Banco de Dados criado com sucesso."));
    server.show();
    QTest::mouseClick(server.btCreateDB, Qt::LeftButton);
    QVERIFY(driver.allAnswered());
    QCOMPARE(server.edtServidor->text(), testenv::serverHost() + QLatin1Char(':') + file);
    ModalDriver none;
    QVERIFY(ConnectTo(server.edtServidor->text()));
    QVERIFY(none.seen().isEmpty());
    m_module->dbMain->dropDatabase();
}

QTEST_MAIN(TstConnectionStep)
#include "tst_connectionstep.moc"
