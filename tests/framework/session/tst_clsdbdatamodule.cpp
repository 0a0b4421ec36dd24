#include "sessiontestsupport.h"

#include "framework/data/mainconnection.h"
#include "framework/session/clsdbdatamodule.h"
#include "framework/session/clserrorhandler.h"
#include "framework/session/guardedapplication.h"
#include "framework/session/inifile.h"
#include "framework/session/programdirectory.h"
#include "platform/db/dberror.h"
#include "platform/db/statement.h"
#include "platform/regional/datetimeformat.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

QStringList logFiles(const QString &base, const QString &kind)
{
    QDir dir(QDir(base).filePath(QStringLiteral("Log/") + kind));
    QStringList files = dir.entryList({QStringLiteral("*.INI")}, QDir::Files, QDir::Name);
    for (QString &f : files)
        f = dir.filePath(f);
    return files;
}

db::DatabaseError realDatabaseError(db::Database &database)
{
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.start();
    db::Statement st(&database, &tr);
    st.setSql(QStringLiteral("select * from TABELA_QUE_NAO_EXISTE"));
    try {
        st.execute();
    } catch (const db::DatabaseError &e) {
        return e;
    }
    qFatal("the statement should have failed");
}

} // namespace

class TstClsDBDataModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void moduleIsPublishedWhileItLives();
    void refusedStepsEndTheStart_data();
    void refusedStepsEndTheStart();

    void parameterNamesAreUpperCased();
    void parameterTooLongKeepsOldValue();
    void parameterScopes();
    void parameterFailureAnswers();

    void logActivity_data();
    void logActivity();
    void logActivityInCallersTransaction();
    void logActivityBlankTextInsertsNothing();

    void databaseErrorsSecondsApart();
    void databaseErrorsInOneSecondShareAFile();
    void exceptionLogListsTheOpenWindows();
    void exceptionsFromEventHandlersReachTheHandler();
    void silentAbortIsDropped();
    void unwritableLogIsReportedOnceAndKept();

    void errorWindowNavigation_data();
    void errorWindowNavigation();
    void errorWindowDetails();

private:
    std::unique_ptr<SchemaTemplate> m_template;
    std::unique_ptr<QTemporaryDir> m_programDir;
    std::unique_ptr<TClsDBDataModule> m_module;
    QString m_path;
    QDateTime m_now;
    int m_copies = 0;
};

void TstClsDBDataModule::initTestCase()
{
    m_template = std::make_unique<SchemaTemplate>();
    QApplication::setApplicationDisplayName(QStringLiteral("Quintaris"));
}

void TstClsDBDataModule::init()
{
    m_programDir = std::make_unique<QTemporaryDir>();
    ProgramDirectory::setPath(m_programDir->path());
    m_path = m_template->copy(QStringLiteral("db%1.fdb").arg(++m_copies));
    m_module = std::make_unique<TClsDBDataModule>(nullptr, TClsDBDataModule::StartSteps::none());
    m_module->dbMain->setDatabaseName(m_path);
    m_module->dbMain->open();
    m_module->ZelSQLGlobals->setUsuarioID(1);
    m_module->ZelSQLGlobals->setModuloID(1);
    m_now = QDateTime(QDate(2024, 3, 9), QTime(14, 5, 30));
    m_module->Logs().setClock([this] { return m_now; });
}

void TstClsDBDataModule::cleanup()
{
    m_module.reset();
    ProgramDirectory::setPath({});
}

void TstClsDBDataModule::moduleIsPublishedWhileItLives()
{
    QCOMPARE(ClsDBDataModule, m_module.get());
    QCOMPARE(MainConnection::database(), m_module->dbMain);
    QCOMPARE(MainConnection::globals(), m_module->ZelSQLGlobals);
    QCOMPARE(m_module->dbMain->defaultTransaction(), m_module->trMain);
    QCOMPARE(m_module->dbMain->param(QStringLiteral("password")), QStringLiteral("quillbrex"));
    QCOMPARE(m_module->dbMain->traceFlags(), db::AllTraceFlags);
    QSignalSpy closed(m_module->dbMain, &db::Database::disconnected);
    m_module.reset();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(ClsDBDataModule, nullptr);
    QVERIFY(!MainConnection::isPublished());
}

void TstClsDBDataModule::refusedStepsEndTheStart_data()
{
    QTest::addColumn<bool>("connects");
    QTest::addColumn<bool>("logsIn");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("loginCalls");
    QTest::newRow("connection refused") << false << true << true << 0;
    QTest::newRow("login refused") << true << false << true << 1;
    QTest::newRow("both succeed") << true << true << false << 1;
}

void TstClsDBDataModule::refusedStepsEndTheStart()
{
    QFETCH(bool, connects);
    QFETCH(bool, logsIn);
    m_module.reset();
    int loginCalls = 0;
    bool sawModuleDuringConnect = false;
    TClsDBDataModule::StartSteps steps;
    steps.connect = [&] {
        sawModuleDuringConnect = ClsDBDataModule != nullptr && MainConnection::isPublished();
        if (connects) {
            ClsDBDataModule->dbMain->setDatabaseName(m_path);
            ClsDBDataModule->dbMain->open();
        }
        return connects;
    };
    steps.login = [&] {
        ++loginCalls;
        return logsIn;
    };
    TClsDBDataModule module(nullptr, steps);
    QVERIFY(sawModuleDuringConnect);
    QTEST(module.StartRefused(), "refused");
    QTEST(loginCalls, "loginCalls");
}

void TstClsDBDataModule::parameterNamesAreUpperCased()
{
    QVERIFY(m_module->SetParam(QStringLiteral("DADOS_EMAIL"), QStringLiteral("Contato@Quorvan.com.br"),
                               QString(), QStringLiteral("1")));
    QCOMPARE(m_module->GetParam(QStringLiteral("dados_email"), QString(), QStringLiteral("1")),
             QStringLiteral("Contato@Quorvan.com.br"));
    QVERIFY(m_module->SetParam(QStringLiteral("ultimo_mes"), QStringLiteral("março"), QStringLiteral("admin"),
                               QStringLiteral("x")));
    QCOMPARE(
        scalarOn(m_path, QStringLiteral("select PARAMETRO || '|' || USUARIO || '|' || MODULO || '|' || VALOR "
                                        "from PARAMETROS where PARAMETRO = 'ULTIMO_MES'")),
        QStringLiteral("ULTIMO_MES|ADMIN|X|março"));
    QVERIFY(!m_module->trPARAMETROS->isActive());
}

void TstClsDBDataModule::parameterTooLongKeepsOldValue()
{
    QVERIFY(m_module->SetParam(QStringLiteral("DADOS_SITE"), QStringLiteral("antigo"), QString(),
                               QStringLiteral("1")));
    QVERIFY(m_module->SetParam(QStringLiteral("DADOS_SITE"), QString(100, QLatin1Char('x')), QString(),
                               QStringLiteral("1")));
    QCOMPARE(m_module->GetParam(QStringLiteral("DADOS_SITE"), QString(), QStringLiteral("1")),
             QString(100, QLatin1Char('x')));
    QVERIFY(!m_module->SetParam(QStringLiteral("DADOS_SITE"), QString(101, QLatin1Char('y')), QString(),
                                QStringLiteral("1")));
    QCOMPARE(m_module->GetParam(QStringLiteral("DADOS_SITE"), QString(), QStringLiteral("1")),
             QString(100, QLatin1Char('x')));
    QVERIFY(!m_module->trPARAMETROS->isActive());
}

void TstClsDBDataModule::parameterScopes()
{
    QCOMPARE(m_module->GetParam(QStringLiteral("NUNCA_GRAVADO"), QString(), QStringLiteral("1")), QString());
    QVERIFY(
        m_module->SetParam(QStringLiteral("COR"), QStringLiteral("azul"), QString(), QStringLiteral("1")));
    QVERIFY(m_module->SetParam(QStringLiteral("COR"), QStringLiteral("verde"), QStringLiteral("ADMIN"),
                               QStringLiteral("1")));
    QCOMPARE(m_module->GetParam(QStringLiteral("COR"), QString(), QStringLiteral("1")),
             QStringLiteral("azul"));
    QCOMPARE(m_module->GetParam(QStringLiteral("cor"), QStringLiteral("Admin"), QStringLiteral("1")),
             QStringLiteral("verde"));
    QCOMPARE(m_module->GetParam(QStringLiteral("COR"), QString(), QStringLiteral("2")), QString());
    QCOMPARE(scalarOn(m_path, QStringLiteral("select count(*) from PARAMETROS where PARAMETRO = 'COR'")),
             QStringLiteral("2"));
}

void TstClsDBDataModule::parameterFailureAnswers()
{
    // The key column holds 20 characters: the procedure fails, and the answer says so without a message.
    const QString longName(25, QLatin1Char('N'));
    QCOMPARE(m_module->GetParam(longName, QString(), QStringLiteral("1")), QString(QChar(255)));
    QVERIFY(!m_module->SetParam(longName, QStringLiteral("v"), QString(), QStringLiteral("1")));
    QVERIFY(!m_module->trPARAMETROS->isActive());
    // Still usable afterwards.
    QVERIFY(m_module->SetParam(QStringLiteral("OK"), QStringLiteral("1"), QString(), QStringLiteral("1")));
    m_module->dbMain->close();
    m_module->dbMain->setDatabaseName(m_programDir->filePath(QStringLiteral("missing.fdb")));
    QCOMPARE(m_module->GetParam(QStringLiteral("OK"), QString(), QStringLiteral("1")), QString(QChar(255)));
}

void TstClsDBDataModule::logActivity_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("log");
    QTest::addColumn<int>("rowId");
    QTest::addColumn<QString>("expected");
    QTest::newRow("title and subtitle")
        << "Lançamento de Notas - Março/2024"
        << "Registro Inserido." << 12 << "Lançamento de Notas|Registro Inserido.|12|frmTeste|1|1";
    QTest::newRow("first separator") << "A - B - C"
                                     << "x" << 3 << "A|x|3|frmTeste|1|1";
    QTest::newRow("no separator") << "Clientes"
                                  << "Registro Alterado." << 5
                                  << "Clientes|Registro Alterado.|5|frmTeste|1|1";
    QTest::newRow("hyphen without blanks") << "Auto-Teste"
                                           << "y" << 1 << "Auto-Teste|y|1|frmTeste|1|1";
    QTest::newRow("row 0 is null") << "Clientes"
                                   << "Excluído." << 0 << "Clientes|Excluído.|<null>|frmTeste|1|1";
    QTest::newRow("negative row is null") << "Clientes"
                                          << "z" << -4 << "Clientes|z|<null>|frmTeste|1|1";
    QTest::newRow("long text cut") << "T" << QString(300, QLatin1Char('L')) << 2
                                   << "T|" + QString(255, QLatin1Char('L')) + "|2|frmTeste|1|1";
}

void TstClsDBDataModule::logActivity()
{
    QFETCH(QString, caption);
    QFETCH(QString, log);
    QFETCH(int, rowId);
    m_module->LogActivity(nullptr, caption, QStringLiteral("frmTeste"), log, rowId);
    QVERIFY(!m_module->trIBSQLLOG->isActive());
    QTEST(scalarOn(m_path, QStringLiteral(
                               "select TELA || '|' || LOG || '|' || coalesce(cast(TABLEID as varchar(12)), "
                               "'<null>') || '|' || FORMNAME || '|' || USUARIOID || '|' || MODULOID "
                               "from USUARIO_LOG")),
          "expected");
    QCOMPARE(
        scalarOn(m_path, QStringLiteral("select count(*) from USUARIO_LOG where DATA is not null and HORA is "
                                        "not null")),
        QStringLiteral("1"));
}

void TstClsDBDataModule::logActivityInCallersTransaction()
{
    db::Transaction mine;
    mine.setDefaultDatabase(m_module->dbMain);
    mine.start();
    m_module->LogActivity(&mine, QStringLiteral("Notas"), QStringLiteral("frmNotas"),
                          QStringLiteral("Registro Inserido."), 9);
    QVERIFY(mine.isActive());
    QVERIFY(!m_module->trIBSQLLOG->isActive());
    db::Statement own(m_module->dbMain, &mine);
    own.setSql(QStringLiteral("select count(*) from USUARIO_LOG"));
    own.execute();
    own.next();
    QCOMPARE(own.field(0).asInteger(), 1);
    own.close();
    // Not committed: another connection does not see the row, and the caller's rollback takes it away.
    QCOMPARE(scalarOn(m_path, QStringLiteral("select count(*) from USUARIO_LOG")), QStringLiteral("0"));
    mine.rollback();
    QCOMPARE(scalarOn(m_path, QStringLiteral("select count(*) from USUARIO_LOG")), QStringLiteral("0"));
}

void TstClsDBDataModule::logActivityBlankTextInsertsNothing()
{
    m_module->LogActivity(nullptr, QStringLiteral("Notas"), QStringLiteral("frmNotas"), QStringLiteral("   "),
                          3);
    m_module->LogActivity(nullptr, QStringLiteral("Notas"), QStringLiteral("frmNotas"), QString(), 3);
    QVERIFY(!m_module->trIBSQLLOG->isActive());
    QCOMPARE(scalarOn(m_path, QStringLiteral("select count(*) from USUARIO_LOG")), QStringLiteral("0"));
    // An insert that fails (unknown user) reaches the caller.
    m_module->ZelSQLGlobals->setUsuarioID(999);
    QVERIFY_THROWS_EXCEPTION(
        db::DatabaseError,
        m_module->LogActivity(nullptr, QStringLiteral("Notas"), QStringLiteral("f"), QStringLiteral("x"), 0));
}

void TstClsDBDataModule::databaseErrorsSecondsApart()
{
    const db::DatabaseError error = realDatabaseError(*m_module->dbMain);
    QVERIFY(error.sqlCode() != 0);
    int entriesShown = -1;
    QString codeShown;
    bool previousEnabled = true;
    bool nextEnabled = true;
    {
        ModalDriver driver;
        driver.on(QStringLiteral("TClsErrorHandler"), [&](QWidget *w) {
            auto *window = static_cast<TClsErrorHandler *>(w);
            codeShown = window->edtCodigo->text();
            entriesShown = window->position() + 1;
            ModalDriver::click(window->bbtOk);
        });
        m_module->HandleAppException(nullptr, std::make_exception_ptr(error));
        QVERIFY(driver.allAnswered());
    }
    QCOMPARE(codeShown, QString::number(error.sqlCode()));
    QCOMPARE(entriesShown, 1);
    m_now = m_now.addSecs(3);
    {
        ModalDriver driver;
        driver.on(QStringLiteral("TClsErrorHandler"), [&](QWidget *w) {
            auto *window = static_cast<TClsErrorHandler *>(w);
            entriesShown = window->position() + 1;
            previousEnabled = window->bbtAnterior->isEnabled();
            nextEnabled = window->bbtProximo->isEnabled();
            ModalDriver::click(window->bbtOk);
        });
        m_module->HandleAppException(nullptr, std::make_exception_ptr(error));
        QVERIFY(driver.allAnswered());
    }
    QCOMPARE(entriesShown, 2);
    QVERIFY(previousEnabled);
    QVERIFY(!nextEnabled);

    QStringList files = logFiles(m_programDir->path(), QStringLiteral("DBA"));
    QCOMPARE(files.size(), 2);
    QVERIFY(files.at(0).endsWith(QStringLiteral("20240309_140530.INI")));
    IniFile first(files.at(0));
    QCOMPARE(first.sections(), (QStringList{QStringLiteral("CABECALHO"), QStringLiteral("ERROR(0)")}));
    QCOMPARE(first.readString(QStringLiteral("CABECALHO"), QStringLiteral("QUANTIDADE")),
             QStringLiteral("1"));
    QCOMPARE(first.keys(QStringLiteral("ERROR(0)")),
             (QStringList{QStringLiteral("COMPUTERNAME"), QStringLiteral("SERVERNAME"),
                          QStringLiteral("DATETIME"), QStringLiteral("MESSAGE"), QStringLiteral("SQLCODE")}));
    QCOMPARE(first.readString(QStringLiteral("ERROR(0)"), QStringLiteral("SERVERNAME")), m_path);
    QCOMPARE(first.readString(QStringLiteral("ERROR(0)"), QStringLiteral("DATETIME")),
             QStringLiteral("09/03/2024 14:05:30"));
    QCOMPARE(first.readString(QStringLiteral("ERROR(0)"), QStringLiteral("SQLCODE")),
             QString::number(error.sqlCode()));
    QCOMPARE(first.readString(QStringLiteral("ERROR(0)"), QStringLiteral("COMPUTERNAME")),
             ErrorLogs::computerName());
    QVERIFY(first.readString(QStringLiteral("ERROR(0)"), QStringLiteral("MESSAGE"))
                .contains(QStringLiteral("TABELA_QUE_NAO_EXISTE")));
    IniFile second(files.at(1));
    QCOMPARE(second.sections(), (QStringList{QStringLiteral("CABECALHO"), QStringLiteral("ERROR(1)")}));
    QCOMPARE(second.readString(QStringLiteral("CABECALHO"), QStringLiteral("QUANTIDADE")),
             QStringLiteral("2"));

    m_now = m_now.addSecs(2);
    m_module.reset();
    files = logFiles(m_programDir->path(), QStringLiteral("DBA"));
    QCOMPARE(files.size(), 3);
    IniFile last(files.at(2));
    QCOMPARE(last.sections(), QStringList{QStringLiteral("CABECALHO")});
    QCOMPARE(last.readString(QStringLiteral("CABECALHO"), QStringLiteral("QUANTIDADE")), QStringLiteral("2"));
    QVERIFY(logFiles(m_programDir->path(), QStringLiteral("EXCEPTION")).isEmpty());
}

void TstClsDBDataModule::databaseErrorsInOneSecondShareAFile()
{
    m_module->Logs().addDatabaseError(-204, QStringLiteral("um"), QStringLiteral("srv:/a.gdb"));
    QVERIFY(m_module->Logs().flushDatabaseErrors());
    m_module->Logs().addDatabaseError(-803, QStringLiteral("dois"), QStringLiteral("srv:/a.gdb"));
    QVERIFY(m_module->Logs().flushDatabaseErrors());
    const QStringList files = logFiles(m_programDir->path(), QStringLiteral("DBA"));
    QCOMPARE(files.size(), 1);
    IniFile ini(files.first());
    QCOMPARE(ini.sections(), (QStringList{QStringLiteral("CABECALHO"), QStringLiteral("ERROR(0)"),
                                          QStringLiteral("ERROR(1)")}));
    QCOMPARE(ini.readString(QStringLiteral("CABECALHO"), QStringLiteral("QUANTIDADE")), QStringLiteral("2"));
    QCOMPARE(ini.readString(QStringLiteral("ERROR(1)"), QStringLiteral("SQLCODE")), QStringLiteral("-803"));
    // A run without database errors writes no file at the end.
    m_module.reset();
    auto quiet = std::make_unique<TClsDBDataModule>(nullptr, TClsDBDataModule::StartSteps::none());
    quiet.reset();
    QCOMPARE(logFiles(m_programDir->path(), QStringLiteral("DBA")).size(), 1);
}

void TstClsDBDataModule::exceptionLogListsTheOpenWindows()
{
    QWidget clients;
    clients.setWindowTitle(QStringLiteral("Cadastro de Clientes"));
    clients.show();
    QWidget notes;
    notes.setWindowTitle(QStringLiteral("Lançamento de Notas - Março/2024"));
    notes.show();
    QWidget hidden;
    hidden.setWindowTitle(QStringLiteral("Escondida"));
    QVERIFY(QTest::qWaitForWindowExposed(&notes));
    {
        ModalDriver driver;
        driver.message(QStringLiteral("Falhou ao calcular"));
        m_module->HandleAppException(nullptr,
                                     std::make_exception_ptr(std::runtime_error("Falhou ao calcular")));
        QVERIFY(driver.allAnswered());
    }
    const QStringList files = logFiles(m_programDir->path(), QStringLiteral("EXCEPTION"));
    QCOMPARE(files.size(), 1);
    QVERIFY(files.first().endsWith(QStringLiteral("20240309_140530.INI")));
    IniFile ini(files.first());
    const QString section = QStringLiteral("OCORRENCIA EM 09/03/2024 14:05:30");
    QCOMPARE(ini.sections(), QStringList{section});
    QCOMPARE(ini.keys(section), (QStringList{QStringLiteral("COMPUTERNAME"), QStringLiteral("MESSAGE"),
                                             QStringLiteral("FORMS")}));
    QCOMPARE(ini.readString(section, QStringLiteral("MESSAGE")), QStringLiteral("Falhou ao calcular"));
    const QString forms = ini.readString(section, QStringLiteral("FORMS"));
    QVERIFY(forms.endsWith(QLatin1Char('|')));
    QCOMPARE(forms.split(QLatin1Char('|'), Qt::SkipEmptyParts).size(), 2);
    QVERIFY(forms.contains(QStringLiteral("Cadastro de Clientes|")));
    QVERIFY(forms.contains(QStringLiteral("Lançamento de Notas - Março/2024|")));
    QVERIFY(!forms.contains(QStringLiteral("Escondida")));
    QVERIFY(logFiles(m_programDir->path(), QStringLiteral("DBA")).isEmpty());
    // Nothing new at the end of the run.
    m_module.reset();
    QCOMPARE(logFiles(m_programDir->path(), QStringLiteral("EXCEPTION")).size(), 1);
}

void TstClsDBDataModule::exceptionsFromEventHandlersReachTheHandler()
{
    QVERIFY(qobject_cast<GuardedApplication *>(QCoreApplication::instance()));
    ModalDriver driver;
    driver.message(QStringLiteral("Valor inválido"));
    QTimer::singleShot(0, this, [] { throw db::ValueError(QStringLiteral("Valor inválido")); });
    QTRY_VERIFY(driver.allAnswered());
    QCOMPARE(m_module->Logs().exceptions().size(), 1);
    QVERIFY(m_module->Logs().exceptions().first().written);
    // A database error thrown the same way goes to the database-error window.
    ModalDriver again;
    again.on(QStringLiteral("TClsErrorHandler"), [](QWidget *w) { ModalDriver::click(w, "bbtOk"); });
    db::Database *database = m_module->dbMain;
    QTimer::singleShot(0, this, [database] { throw realDatabaseError(*database); });
    QTRY_VERIFY(again.allAnswered());
    QCOMPARE(m_module->Logs().databaseErrors().size(), 1);
}

void TstClsDBDataModule::silentAbortIsDropped()
{
    m_module->HandleAppException(nullptr, std::make_exception_ptr(db::SilentAbort()));
    GuardedApplication::handleException(nullptr, std::make_exception_ptr(db::SilentAbort()));
    QVERIFY(m_module->Logs().exceptions().isEmpty());
    QVERIFY(m_module->Logs().databaseErrors().isEmpty());
}

void TstClsDBDataModule::unwritableLogIsReportedOnceAndKept()
{
    QFile blocker(m_programDir->filePath(QStringLiteral("Log")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ModalDriver driver;
    driver.message(QStringLiteral("primeiro")).message(QStringLiteral("segundo"));
    m_module->HandleAppException(nullptr, std::make_exception_ptr(std::runtime_error("primeiro")));
    m_now = m_now.addSecs(1);
    m_module->HandleAppException(nullptr, std::make_exception_ptr(std::runtime_error("segundo")));
    QVERIFY(driver.allAnswered());
    // Each error was shown once; the failure of the file was not recorded as one more error.
    QCOMPARE(driver.seen(), (QStringList{QStringLiteral("MSG:primeiro"), QStringLiteral("MSG:segundo")}));
    QCOMPARE(m_module->Logs().exceptions().size(), 2);
    QVERIFY(!m_module->Logs().exceptions().at(0).written);
    QVERIFY(QFile::remove(m_programDir->filePath(QStringLiteral("Log"))));
    m_now = m_now.addSecs(1);
    m_module.reset();
    const QStringList files = logFiles(m_programDir->path(), QStringLiteral("EXCEPTION"));
    QCOMPARE(files.size(), 1);
    IniFile ini(files.first());
    QCOMPARE(ini.sections().size(), 2);
}

void TstClsDBDataModule::errorWindowNavigation_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("previous");
    QTest::addColumn<bool>("next");
    QTest::newRow("only entry") << 1 << 0 << false << false;
    QTest::newRow("first of three") << 3 << 0 << false << true;
    QTest::newRow("middle") << 3 << 1 << true << true;
    QTest::newRow("last of three") << 3 << 2 << true << false;
}

void TstClsDBDataModule::errorWindowNavigation()
{
    QFETCH(int, count);
    QFETCH(int, position);
    QList<TLogErrorDataBase> errors;
    for (int i = 0; i < count; ++i)
        errors.append({-100 - i, QStringLiteral("mensagem %1").arg(i),
                       QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)), QStringLiteral("srv:/b.gdb"),
                       QStringLiteral("pc%1").arg(i), true});
    TClsErrorHandler window(errors);
    window.show();
    QCOMPARE(window.position(), count - 1);
    window.GoTo(position);
    window.GoTo(count);
    window.GoTo(-1);
    QCOMPARE(window.position(), position);
    QTEST(window.bbtAnterior->isEnabled(), "previous");
    QTEST(window.bbtProximo->isEnabled(), "next");
    QCOMPARE(window.memMensagem->toPlainText(), QStringLiteral("mensagem %1").arg(position));
    QCOMPARE(window.memMensagemLog->toPlainText(), QStringLiteral("mensagem %1").arg(position));
    QCOMPARE(window.edtCodigo->text(), QString::number(-100 - position));
    QCOMPARE(window.edtComputerName->text(), QStringLiteral("pc%1").arg(position));
    QCOMPARE(window.edtDataHora->text(), QStringLiteral("02/01/2024 03:04:05"));
    QCOMPARE(window.edtServidor->text(), QStringLiteral("srv:/b.gdb"));
}

void TstClsDBDataModule::errorWindowDetails()
{
    QList<TLogErrorDataBase> errors;
    for (int i = 0; i < 2; ++i)
        errors.append({-1, QStringLiteral("m%1").arg(i), QDateTime::currentDateTime(), {}, {}, true});
    TClsErrorHandler window(errors);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Erro no Banco de Dados"));
    QVERIFY(!window.detailsVisible());
    QCOMPARE(window.width(), 370);
    const int shrunk = window.height();
    QCOMPARE(window.focusWidget(), window.bbtOk);
    QTest::mouseClick(window.bbtDetails, Qt::LeftButton);
    QVERIFY(window.detailsVisible());
    QCOMPARE(window.height(), shrunk + 239);
    QCOMPARE(window.bbtDetails->text(), QStringLiteral("<< Detalhes"));
    // At the last entry "Anterior" goes back; when it becomes disabled the focus moves to "Próximo".
    window.bbtAnterior->setFocus();
    QTest::mouseClick(window.bbtAnterior, Qt::LeftButton);
    QCOMPARE(window.position(), 0);
    QVERIFY(!window.bbtAnterior->isEnabled());
    QCOMPARE(window.focusWidget(), window.bbtProximo);
    QTest::mouseClick(window.bbtProximo, Qt::LeftButton);
    QCOMPARE(window.position(), 1);
    QCOMPARE(window.focusWidget(), window.bbtAnterior);
    QTest::mouseClick(window.bbtDetails, Qt::LeftButton);
    QVERIFY(!window.detailsVisible());
    QCOMPARE(window.height(), shrunk);
    QCOMPARE(window.bbtDetails->text(), QStringLiteral("Detalhes >>"));
}

int main(int argc, char *argv[])
{
    GuardedApplication app(argc, argv);
    TstClsDBDataModule test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_clsdbdatamodule.moc"
