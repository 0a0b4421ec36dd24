#include "app/data/dmcommon.h"
#include "app/data/dmleilao.h"
#include "app/frmsplashleilao.h"
#include "app/schema/dmversaoleilao.h"
#include "framework/controls/zelerrorhandler.h"
#include "framework/controls/zelfocuscontroller.h"
#include "framework/data/zelmessage.h"
#include "framework/schema/version/clscustomversion.h"
#include "framework/session/clsdbdatamodule.h"
#include "framework/session/guardedapplication.h"
#include "framework/session/hinthidepause.h"
#include "framework/session/siblingprograms.h"
#include "platform/os/terminationsignals.h"
#include "platform/regional/formatsettings.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

namespace {

void runStartupRoutine(QApplication &app)
{
    TZelFocusController::instance()->setActive(true);
    regional::install(regional::FormatSettings::brazilian());
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    // The standard buttons ("Sim", "Não", "Cancelar") in Portuguese.
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                         QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(translator);
    FillSiblingPrograms();
    // Hints carry the longer explanations of the family's windows: they stay up for 100 seconds.
    HintHidePause::install(100000);
}

/// Until the main menu exists: who is logged in, to which database.
std::unique_ptr<QWidget> sessionWindow(const TClsDBDataModule &module)
{
    auto window = std::make_unique<QWidget>();
    window->setObjectName(QStringLiteral("frmSessao"));
    window->setWindowTitle(QStringLiteral("Quintaris"));
    auto *layout = new QVBoxLayout(window.get());
    const TZelSQLGlobals &session = *module.ZelSQLGlobals;
    auto *text = new QLabel(QStringLiteral("Usuário %1 (%2 %3) conectado ao banco de dados\n%4\nMódulo: %5")
                                .arg(session.Usuario(), session.FirstName(), session.LastName(),
                                     module.dbMain->databaseName(), session.Modulo()),
                            window.get());
    text->setObjectName(QStringLiteral("lblSessao"));
    layout->addWidget(text);
    auto *quit = new QPushButton(QStringLiteral("&Sair"), window.get());
    quit->setObjectName(QStringLiteral("btnSair"));
    QObject::connect(quit, &QPushButton::clicked, window.get(), &QWidget::close);
    layout->addWidget(quit);
    return window;
}

} // namespace

int main(int argc, char *argv[])
{
    // Before any thread exists, so that every thread (the engine's too) leaves these signals to us.
    os::TerminationSignals::blockInProcess();
    GuardedApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(QUINTARIS_VERSION));

    // Asked to end by the system or the terminal: every window closes as if the user closed it (a dialog of
    // the start-up counts as cancelled, also one that opens after the request), and the program then ends
    // the ordinary way, writing its logs and closing its connection.
    os::TerminationSignals termination;
    QTimer closing;
    closing.setInterval(100);
    const auto closeEverything = [] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    };
    QObject::connect(&closing, &QTimer::timeout, &app, closeEverything);
    QObject::connect(&termination, &os::TerminationSignals::requested, &app, [&closing, closeEverything] {
        closeEverything();
        closing.start();
    });

    auto splash = std::make_unique<TfrmSplashLeilao>();
    splash->showAndPaint();

    runStartupRoutine(app);
    ApplicationModuleID = 1;
    VersionModuleClass = [] { return std::make_unique<TdmVersaoLeilao>(); };
    QApplication::setApplicationName(QStringLiteral("Quintaris"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quintaris"));

    ZelMessage::SetErrorHook([](const QString &message) {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), message);
    });
    // Errors inside control event handlers are handled like every other that reaches the message loop.
    ZelErrorHandler::install(
        [](std::exception_ptr error) { GuardedApplication::handleException(nullptr, error); });

    // Connects and logs in while it is built; a refusal ends the program without a window.
    auto module = std::unique_ptr<TClsDBDataModule>(TClsDataModule::create<TClsDBDataModule>());
    // The application's data modules, also after a refusal: none of them touches the database until a
    // window opens its data sets. Destroyed in the reverse order, the main module (logs, connection) last.
    const auto common = std::unique_ptr<TdmCommon>(TClsDataModule::create<TdmCommon>());
    dmCommon = common.get();
    const auto idleVersionModule = std::make_unique<TdmVersaoLeilao>();
    const auto leilao = std::unique_ptr<TdmLeilao>(TClsDataModule::create<TdmLeilao>());
    dmLeilao = leilao.get();
    const auto forget = qScopeGuard([] {
        dmLeilao = nullptr;
        dmCommon = nullptr;
    });

    splash.reset();
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();

    if (module->StartRefused() || termination.received())
        return 0;
    std::unique_ptr<QWidget> window = sessionWindow(*module);
    window->show();
    const int status = QApplication::exec();
    window.reset();
    return status;
}
