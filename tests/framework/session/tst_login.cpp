#include "sessiontestsupport.h"

#include "app/admin/admincommands.h"
#include "app/schema/dmversaoleilao.h"
#include "framework/session/clsdbdatamodule.h"
#include "framework/session/clslogin.h"
#include "framework/session/clsloginconfirmuser.h"
#include "framework/session/connectionstep.h"
#include "framework/session/logincredentials.h"
#include "framework/session/loginstep.h"
#include "framework/session/programdirectory.h"
#include "framework/session/remembereduser.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include <memory>

class TstLogin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void nullPasswordRegistersADigest();
    void firstPasswordCancelledIsARefusal();
    void rightPasswordLogsIn();
    void threeWrongPasswordsClose();
    void deactivatedUserIsRefused_data();
    void deactivatedUserIsRefused();
    void grantRules_data();
    void grantRules();
    void freshDatabaseNeedsAGrant();
    void initLocalPreparesAFirstLogin();
    void rememberedUser_data();
    void rememberedUser();
    void argumentLogin_data();
    void argumentLogin();

private:
    void fillLogin(QWidget *w, const QString &user, const QString &password);
    std::unique_ptr<SchemaTemplate> m_template;
    std::unique_ptr<TClsDBDataModule> m_module;
    QTemporaryDir m_settingsDir;
    QString m_path;
    int m_copies = 0;
};

void TstLogin::initTestCase()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    VersionModuleClass = [] { return std::make_unique<TdmVersaoLeilao>(); };
    m_template = std::make_unique<SchemaTemplate>();
    // The scripts grant ADMIN only module 3; the installation grants module 1, and the test users below.
    execOn(
        m_template->path(),
        {QStringLiteral("insert into USUARIO_MODULO (USUARIOID, MODULOID) values (1, 1)"),
         QStringLiteral("insert into USUARIO (ID, USUARIO, SENHA, PRIMEIRO_NOME, ULTIMO_NOME, SUPERVISOR, "
                        "SUPERVISORID, DESATIVADO) values (2, 'MARIA', '%1', 'Maria', 'Souza', 'F', 1, 'F')")
             .arg(PasswordDigest(QStringLiteral("certa"))),
         QStringLiteral("insert into USUARIO_MODULO (USUARIOID, MODULOID) values (2, 1)")});
}

void TstLogin::init()
{
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvan"),
              QStringLiteral("Servers"))
        .clear();
    m_path = m_template->copy(QStringLiteral("l%1.fdb").arg(++m_copies));
    m_module = std::make_unique<TClsDBDataModule>(nullptr, TClsDBDataModule::StartSteps::none());
    m_module->dbMain->setDatabaseName(m_path);
    m_module->dbMain->open();
    ApplicationModuleID = 1;
}

void TstLogin::cleanup()
{
    m_module.reset();
}

void TstLogin::fillLogin(QWidget *w, const QString &user, const QString &password)
{
    auto *dialog = static_cast<TClsLogin *>(w);
    dialog->edtUser->clear();
    QTest::keyClicks(dialog->edtUser, user);
    dialog->edtPass->setText(password);
    ModalDriver::click(dialog->btnLogin);
}

void TstLogin::nullPasswordRegistersADigest()
{
    ModalDriver driver;
    QString typed;
    driver.on(QStringLiteral("TClsLogin"), [&](QWidget *w) {
        fillLogin(w, QStringLiteral("admin"), QStringLiteral("ignorada"));
        typed = static_cast<TClsLogin *>(w)->edtUser->text();
    });
    auto confirmWith = [](const QString &password, const QString &confirmation) {
        return [=](QWidget *w) {
            auto *dialog = static_cast<TClsLoginConfirmUser *>(w);
            QCOMPARE(dialog->edtUsuario->text(), QStringLiteral("ADMIN"));
            dialog->edtPassword->setText(password);
            dialog->edtConfirm->setText(confirmation);
            ModalDriver::click(dialog->btnOK);
        };
    };
    driver.on(QStringLiteral("TClsLoginConfirmUser"), confirmWith(QStringLiteral("ab"), QStringLiteral("ab")))
        .message(QStringLiteral("A senha deve ter no mínimo 3 caracteres."))
        .on(QStringLiteral("TClsLoginConfirmUser"), confirmWith(QStringLiteral("abc"), QStringLiteral("abd")))
        .message(QStringLiteral("A senha de confirmação está incorreta."))
        .on(QStringLiteral("TClsLoginConfirmUser"),
            confirmWith(QStringLiteral("abc"), QStringLiteral("abc")));
    QVERIFY(LoginStep({QStringLiteral("quintaris")}));
    QVERIFY(driver.allAnswered());
    QCOMPARE(typed, QStringLiteral("ADMIN"));
    QCOMPARE(scalarOn(m_path, QStringLiteral("select SENHA from USUARIO where ID = 1")),
             PasswordDigest(QStringLiteral("abc")));
    QVERIFY(!m_module->trMain->isActive());
    const TZelSQLGlobals &session = *m_module->ZelSQLGlobals;
    QCOMPARE(session.Usuario(), QStringLiteral("ADMIN"));
    QCOMPARE(session.UsuarioID(), 1);
    QCOMPARE(session.FirstName(), QStringLiteral("Administrador"));
    QCOMPARE(session.LastName(), QStringLiteral("Sistema"));
    QVERIFY(session.IsSupervisor());
    QCOMPARE(session.Modulo(), QStringLiteral("QUINTARIS"));
    QCOMPARE(session.ModuloID(), 1);
    QCOMPARE(session.ModuleList(), (QStringList{QStringLiteral("1"), QStringLiteral("3")}));
    const RememberedUser remembered = RememberedUser::read();
    QCOMPARE(remembered.user, QStringLiteral("ADMIN"));
    QCOMPARE(remembered.remember, QStringLiteral("True"));
}

void TstLogin::firstPasswordCancelledIsARefusal()
{
    ModalDriver driver;
    driver.on(QStringLiteral("TClsLogin"), [&](QWidget *w) { fillLogin(w, QStringLiteral("ADMIN"), {}); })
        .on(QStringLiteral("TClsLoginConfirmUser"), [](QWidget *w) { ModalDriver::click(w, "btnCancel"); })
        .message(QStringLiteral("Login Incorreto."))
        .on(QStringLiteral("TClsLogin"), [](QWidget *w) { ModalDriver::click(w, "btnCancel"); });
    QVERIFY(!LoginStep({QStringLiteral("quintaris")}));
    QVERIFY(driver.allAnswered());
    QCOMPARE(scalarOn(m_path, QStringLiteral("select SENHA from USUARIO where ID = 1")),
             QStringLiteral("<null>"));
    QCOMPARE(m_module->ZelSQLGlobals->UsuarioID(), 0);
}

void TstLogin::rightPasswordLogsIn()
{
    ModalDriver driver;
    bool unchecked = false;
    driver.on(QStringLiteral("TClsLogin"), [&](QWidget *w) {
        auto *dialog = static_cast<TClsLogin *>(w);
        QCOMPARE(dialog->size(), QSize(345, 202));
        QCOMPARE(dialog->edtUser->maxLength(), 10);
        QCOMPARE(dialog->edtPass->echoMode(), QLineEdit::Password);
        dialog->chbRemember->setChecked(false);
        unchecked = true;
        fillLogin(w, QStringLiteral("MARIA"), QStringLiteral("certa"));
    });
    QVERIFY(LoginStep({QStringLiteral("quintaris")}));
    QVERIFY(unchecked);
    QCOMPARE(m_module->ZelSQLGlobals->UsuarioID(), 2);
    QVERIFY(!m_module->ZelSQLGlobals->IsSupervisor());
    QCOMPARE(m_module->ZelSQLGlobals->ModuleList(), QStringList{QStringLiteral("1")});
    QCOMPARE(RememberedUser::read().user, QStringLiteral("MARIA"));
    QCOMPARE(RememberedUser::read().remember, QStringLiteral("False"));
}

void TstLogin::threeWrongPasswordsClose()
{
    ModalDriver driver;
    for (int i = 0; i < 3; ++i)
        driver
            .on(QStringLiteral("TClsLogin"),
                [&](QWidget *w) { fillLogin(w, QStringLiteral("MARIA"), QStringLiteral("errada")); })
            .message(QStringLiteral("Login Incorreto."));
    TClsLogin dialog;
    dialog.setModuleNumber(1);
    dialog.exec();
    QVERIFY(driver.allAnswered());
    QVERIFY(!dialog.loggedIn());
    QCOMPARE(dialog.attempts(), 4);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(m_module->ZelSQLGlobals->UsuarioID(), 0);
}

void TstLogin::deactivatedUserIsRefused_data()
{
    QTest::addColumn<QString>("senha");
    QTest::addColumn<QString>("typed");
    QTest::newRow("right password") << PasswordDigest(QStringLiteral("certa")) << "certa";
    // Without a password yet: registering one must not open the door to a deactivated user.
    QTest::newRow("no password yet") << "<null>"
                                     << "";
    QTest::newRow("blank password") << "   "
                                    << "qualquer";
}

void TstLogin::deactivatedUserIsRefused()
{
    QFETCH(QString, senha);
    QFETCH(QString, typed);
    const QString value = senha == QLatin1String("<null>") ? QStringLiteral("null") : "'" + senha + "'";
    execOn(m_path,
           {QStringLiteral("update USUARIO set DESATIVADO = 'T', SENHA = %1 where ID = 2").arg(value)});
    // Short deadline: a first-password dialog that should not open is closed and the test fails quickly.
    ModalDriver driver(5000);
    driver.on(QStringLiteral("TClsLogin"), [&](QWidget *w) { fillLogin(w, QStringLiteral("MARIA"), typed); })
        .message(QStringLiteral("Login Incorreto."))
        .on(QStringLiteral("TClsLogin"), [](QWidget *w) { ModalDriver::click(w, "btnCancel"); });
    QVERIFY(!LoginStep({QStringLiteral("quintaris")}));
    QVERIFY(!driver.timedOut());
    QVERIFY(driver.allAnswered());
    QCOMPARE(driver.seen(), (QStringList{QStringLiteral("TClsLogin"), QStringLiteral("MSG:Login Incorreto."),
                                         QStringLiteral("TClsLogin")}));
    QCOMPARE(scalarOn(m_path, QStringLiteral("select SENHA from USUARIO where ID = 2")), senha);
    QCOMPARE(m_module->ZelSQLGlobals->UsuarioID(), 0);
    QVERIFY(m_module->ZelSQLGlobals->Usuario().isEmpty());
}

void TstLogin::grantRules_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("found");
    QTest::newRow("supervisor is user 1") << "MARIA" << true;
    QTest::newRow("supervisor without the grant") << "JOSE" << false;
    QTest::newRow("supervisor with the grant") << "ANA" << true;
    QTest::newRow("user without the grant") << "PEDRO" << false;
    QTest::newRow("unknown user") << "NINGUEM" << false;
    QTest::newRow("quote is text") << "D'AVILA" << true;
    QTest::newRow("quote cannot widen the query") << "' OR 1=1--" << false;
    // A name no row of USUARIO can hold is simply not found (the dialog then says "Login Incorreto.").
    QTest::newRow("character outside the database") << QStringLiteral("ŁUKASZ") << false;
}

void TstLogin::grantRules()
{
    QFETCH(QString, user);
    execOn(m_path,
           {QStringLiteral(
                "insert into USUARIO (ID, USUARIO, SUPERVISOR, SUPERVISORID) values (3, 'CHEFE', 'T', 1)"),
            QStringLiteral(
                "insert into USUARIO (ID, USUARIO, SUPERVISOR, SUPERVISORID) values (4, 'JOSE', 'F', 3)"),
            QStringLiteral("insert into USUARIO_MODULO (USUARIOID, MODULOID) values (4, 1)"),
            QStringLiteral(
                "insert into USUARIO (ID, USUARIO, SUPERVISOR, SUPERVISORID) values (5, 'ANA', 'F', 2)"),
            QStringLiteral("insert into USUARIO_MODULO (USUARIOID, MODULOID) values (5, 1)"),
            QStringLiteral(
                "insert into USUARIO (ID, USUARIO, SUPERVISOR, SUPERVISORID) values (6, 'PEDRO', 'F', 1)"),
            QStringLiteral("insert into USUARIO_MODULO (USUARIOID, MODULOID) values (6, 3)"),
            QStringLiteral(
                "insert into USUARIO (ID, USUARIO, SUPERVISOR, SUPERVISORID) values (7, 'D''AVILA', 'F', 1)"),
            QStringLiteral("insert into USUARIO_MODULO (USUARIOID, MODULOID) values (7, 1)")});
    m_module->trMain->start();
    const LoginCandidate candidate = FindLoginCandidate(*m_module->dbMain, *m_module->trMain, user, 1);
    m_module->trMain->commit();
    QTEST(candidate.found, "found");
    if (candidate.found)
        QCOMPARE(candidate.modulo, QStringLiteral("QUINTARIS"));
}

void TstLogin::freshDatabaseNeedsAGrant()
{
    const QString fresh = m_template->folder() + QStringLiteral("/fresh.fdb");
    QFile::remove(fresh);
    {
        db::Database database;
        database.setDatabaseName(fresh);
        database.setParams({QStringLiteral("USER 'SYSDBA' PASSWORD 'quillbrex' PAGE_SIZE 4096")});
        database.createDatabase();
        database.close();
    }
    QVERIFY(TdmVersaoLeilao().CreateSchema(fresh));
    m_module->dbMain->close();
    m_module->dbMain->setDatabaseName(fresh);
    m_module->dbMain->open();
    auto findAdmin = [&] {
        m_module->trMain->start();
        const bool found =
            FindLoginCandidate(*m_module->dbMain, *m_module->trMain, QStringLiteral("ADMIN"), 1).found;
        m_module->trMain->commit();
        return found;
    };
    QVERIFY(!findAdmin());
    AdminCommands commands;
    RegisterSessionCommands(commands);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    QCOMPARE(
        commands.run({QStringLiteral("grant-module"), fresh, QStringLiteral("ADMIN"), QStringLiteral("1")},
                     out, err),
        0);
    QVERIFY(findAdmin());
    QCOMPARE(
        commands.run({QStringLiteral("grant-module"), fresh, QStringLiteral("ADMIN"), QStringLiteral("1")},
                     out, err),
        0);
    QCOMPARE(scalarOn(fresh, QStringLiteral("select count(*) from USUARIO_MODULO where USUARIOID = 1")),
             QStringLiteral("2"));
    QCOMPARE(
        commands.run({QStringLiteral("grant-module"), fresh, QStringLiteral("NINGUEM"), QStringLiteral("1")},
                     out, err),
        1);
    QCOMPARE(
        commands.run({QStringLiteral("grant-module"), fresh, QStringLiteral("ADMIN"), QStringLiteral("42")},
                     out, err),
        1);
    QCOMPARE(commands.run({QStringLiteral("grant-module"), fresh, QStringLiteral("ADMIN")}, out, err), 2);
}

void TstLogin::initLocalPreparesAFirstLogin()
{
    QTemporaryDir program;
    const QString path = program.filePath(QStringLiteral("dados/local.fdb"));
    AdminCommands commands;
    RegisterSessionCommands(commands);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    const QStringList args{QStringLiteral("init-local"), QStringLiteral("--pasta"), program.path(),
                           QStringLiteral("--banco"), path};
    QVERIFY2(commands.run(args, out, err) == 0, qPrintable(errText));
    ProgramDirectory::setPath(program.path());
    QCOMPARE(ReadSavedDatabaseName(), path);
    ProgramDirectory::setPath({});
    QCOMPARE(scalarOn(path, QStringLiteral("select NUMERO from VERSAO where SCRIPT = 'LEILAO.SQL'")),
             QStringLiteral("1.01"));
    execOn(path, {QStringLiteral("update USUARIO set SENHA = 'X' where ID = 1")});
    // Once only: a second run keeps the database and its data.
    QCOMPARE(commands.run(args, out, err), 0);
    QCOMPARE(scalarOn(path, QStringLiteral("select SENHA from USUARIO where ID = 1")), QStringLiteral("X"));
    QCOMPARE(scalarOn(path, QStringLiteral(
                                "select count(*) from USUARIO_MODULO where USUARIOID = 1 and MODULOID = 1")),
             QStringLiteral("1"));
    m_module->dbMain->close();
    m_module->dbMain->setDatabaseName(path);
    m_module->dbMain->open();
    m_module->trMain->start();
    QVERIFY(FindLoginCandidate(*m_module->dbMain, *m_module->trMain, QStringLiteral("ADMIN"), 1).found);
    m_module->trMain->commit();
    QCOMPARE(commands.run({QStringLiteral("init-local"), QStringLiteral("--desconhecido")}, out, err), 2);
}

void TstLogin::rememberedUser_data()
{
    QTest::addColumn<QString>("remember");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("userField");
    QTest::newRow("True") << "True" << true << "MARIA";
    QTest::newRow("False") << "False" << false << "";
    QTest::newRow("absent") << "" << true << "MARIA";
    QTest::newRow("other") << "yes" << false << "";
}

void TstLogin::rememberedUser()
{
    QFETCH(QString, remember);
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvan"),
                    QStringLiteral("Servers"));
    store.setValue(QStringLiteral("USER"), QStringLiteral("MARIA"));
    if (!remember.isEmpty())
        store.setValue(QStringLiteral("REMEMBER"), remember);
    store.sync();
    bool checked = false;
    QString userField;
    QWidget *focus = nullptr;
    ModalDriver driver;
    driver.on(QStringLiteral("TClsLogin"), [&](QWidget *w) {
        auto *dialog = static_cast<TClsLogin *>(w);
        checked = dialog->chbRemember->isChecked();
        userField = dialog->edtUser->text();
        focus = dialog->focusWidget();
        QVERIFY(m_module->trMain->isActive());
        ModalDriver::click(dialog->btnCancel);
    });
    TClsLogin dialog;
    dialog.exec();
    QVERIFY(driver.allAnswered());
    QTEST(checked, "checked");
    QTEST(userField, "userField");
    QCOMPARE(focus, userField.isEmpty() ? static_cast<QWidget *>(dialog.edtUser) : dialog.edtPass);
    QVERIFY(!m_module->trMain->isActive());
}

void TstLogin::argumentLogin_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("desativado");
    QTest::addColumn<bool>("withoutDialog");
    QTest::newRow("granted, password ignored") << "MARIA"
                                               << "F" << true;
    QTest::newRow("deactivated") << "MARIA"
                                 << "T" << false;
    QTest::newRow("not granted") << "NINGUEM"
                                 << "F" << false;
}

void TstLogin::argumentLogin()
{
    QFETCH(QString, user);
    QFETCH(QString, desativado);
    QFETCH(bool, withoutDialog);
    execOn(m_path, {QStringLiteral("update USUARIO set DESATIVADO = '%1' where ID = 2").arg(desativado)});
    ModalDriver driver;
    if (!withoutDialog)
        driver.on(QStringLiteral("TClsLogin"), [](QWidget *w) { ModalDriver::click(w, "btnCancel"); });
    const bool ok = LoginStep({QStringLiteral("quintaris"), ScrambleUserName(user)});
    QCOMPARE(ok, withoutDialog);
    QVERIFY(driver.allAnswered());
    QCOMPARE(driver.seen().isEmpty(), withoutDialog);
    if (withoutDialog) {
        QCOMPARE(m_module->ZelSQLGlobals->Usuario(), user);
        QCOMPARE(m_module->ZelSQLGlobals->UsuarioID(), 2);
        QCOMPARE(m_module->ZelSQLGlobals->ModuleList(), QStringList{QStringLiteral("1")});
        // The remembered user belongs to the dialog only.
        QCOMPARE(RememberedUser::read().user, QString());
    }
}

QTEST_MAIN(TstLogin)
#include "tst_login.moc"
