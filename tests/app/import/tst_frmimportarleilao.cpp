#include "importfixture.h"

#include "app/import/dmimportaleilao.h"
#include "app/import/frmimportarleilao.h"
#include "app/import/importerror.h"
#include "framework/data/mainconnection.h"
#include "framework/data/zelsqlglobals.h"
#include "platform/db/database.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

using namespace importtest;

namespace {

/// Hands the next modal window to a handler from inside the event loop of its exec(), which would otherwise
/// block the test. Armed before the call that blocks; gives up after a deadline.
class ModalWatcher
{
public:
    explicit ModalWatcher(std::function<void(QWidget *)> handle, int deadlineMs = 10000)
        : m_handle(std::move(handle))
    {
        m_clock.start();
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this, deadlineMs] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible()) {
                m_timer.stop();
                ++m_seen;
                m_handle(modal);
            } else if (m_clock.elapsed() > deadlineMs) {
                m_timer.stop();
            }
        });
        m_timer.start();
    }
    int seen() const { return m_seen; }

private:
    std::function<void(QWidget *)> m_handle;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_seen = 0;
};

/// What a message box showed before the watcher closed it.
struct ShownBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool hourglass = true;
};

std::function<void(QWidget *)> recordBox(std::optional<ShownBox> &shown)
{
    return [&shown](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            modal->close();
            return;
        }
        shown = ShownBox{box->windowTitle(), box->text(), box->icon(),
                         QGuiApplication::overrideCursor() != nullptr};
        box->accept();
    };
}

} // namespace

class TestFrmImportarLeilao : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void controls();
    void tabSkipsTheFileEdit();
    void fileFilter_data();
    void fileFilter();
    void chooseFile();
    void cancelledChoiceKeepsPath();
    void noFileDoesNothing_data();
    void noFileDoesNothing();
    void importShowsSuccess();
    void failureGoesToHandler_data();
    void failureGoesToHandler();
    void failureWithoutHandlerShowsMessage();
    void closeButton();

private:
    QTemporaryDir m_dir;
    QString m_template;
    std::unique_ptr<QTemporaryDir> m_workDir;
    QString m_dbPath;
    std::unique_ptr<db::Database> m_db;
    std::unique_ptr<TZelSQLGlobals> m_globals;
    std::unique_ptr<TfrmImportarLeilao> m_form;
};

void TestFrmImportarLeilao::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_template = createTemplate(m_dir.path());
}

void TestFrmImportarLeilao::init()
{
    m_workDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_workDir->isValid());
    m_dbPath = copyDatabase(m_template, m_workDir->filePath(QStringLiteral("leilao.fdb")));
    m_db = std::make_unique<db::Database>();
    m_db->setDatabaseName(m_dbPath);
    m_db->open();
    m_globals = std::make_unique<TZelSQLGlobals>();
    m_globals->setUsuarioID(MariaId);
    MainConnection::publish(m_db.get(), m_globals.get());
    m_form = std::make_unique<TfrmImportarLeilao>();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void TestFrmImportarLeilao::cleanup()
{
    m_form.reset();
    MainConnection::withdraw();
    m_globals.reset();
    m_db.reset();
    m_workDir.reset();
}

void TestFrmImportarLeilao::controls()
{
    TfrmImportarLeilao &form = *m_form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Importar Leilão"));
    QCOMPARE(form.size(), QSize(591, 129));
    QCOMPARE(form.lblFileName()->text(), QStringLiteral("Nome arquivo importação"));
    QCOMPARE(form.lblFileName()->buddy(), form.edtFileNamePagadoria());
    QVERIFY(form.edtFileNamePagadoria()->isReadOnly());
    QCOMPARE(form.edtFileNamePagadoria()->palette().color(QPalette::Base),
             form.edtFileNamePagadoria()->palette().color(QPalette::Button));
    QCOMPARE(form.btnSelecionarPagadoria()->text(), QStringLiteral("Procurar..."));
    QVERIFY(form.btnSelecionarPagadoria()->font().bold());
    QCOMPARE(form.btnOK()->text(), QStringLiteral("&Importar"));
    QCOMPARE(form.btnCancel()->text(), QStringLiteral("&Fechar"));
    QCOMPARE(form.edtFileNamePagadoria()->objectName(), QStringLiteral("edtFileNamePagadoria"));
    QCOMPARE(TfrmImportarLeilao::FileFilter, QStringLiteral("Arquivo Importação Resgate|*.txt"));
}

void TestFrmImportarLeilao::tabSkipsTheFileEdit()
{
    TfrmImportarLeilao &form = *m_form;
    form.btnSelecionarPagadoria()->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), form.btnSelecionarPagadoria());
    QList<QWidget *> visited;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget();
    }
    const QList<QWidget *> cycle{form.btnOK(), form.btnCancel(), form.btnSelecionarPagadoria()};
    QCOMPARE(visited, cycle + cycle);
    // A click still reaches it, so that a long path can be scrolled.
    QTest::mouseClick(form.edtFileNamePagadoria(), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), form.edtFileNamePagadoria());
}

void TestFrmImportarLeilao::fileFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("import files") << "Arquivo Importação Resgate|*.txt"
                                  << "Arquivo Importação Resgate (*.txt)";
    QTest::newRow("two filters") << "Texto|*.txt|Todos|*.*"
                                 << "Texto (*.txt);;Todos (*.*)";
    QTest::newRow("two patterns") << "Planilhas|*.xls;*.csv"
                                  << "Planilhas (*.xls *.csv)";
    QTest::newRow("caption without pattern") << "Texto"
                                             << "";
}

void TestFrmImportarLeilao::fileFilter()
{
    QFETCH(QString, filter);
    QTEST(TfrmImportarLeilao::QtFileFilter(filter), "qt");
}

void TestFrmImportarLeilao::chooseFile()
{
    const QString file = m_workDir->filePath(QStringLiteral("pagadoria.txt"));
    writeFile(file, threeNoteFile());
    QStringList filters;
    ModalWatcher watcher([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        filters = dialog->nameFilters();
        dialog->selectFile(file);
        static_cast<QDialog *>(dialog)->accept(); // QFileDialog hides its override
    });
    QTest::mouseClick(m_form->btnSelecionarPagadoria(), Qt::LeftButton);
    QCOMPARE(watcher.seen(), 1);
    QCOMPARE(filters, QStringList{QStringLiteral("Arquivo Importação Resgate (*.txt)")});
    QCOMPARE(m_form->edtFileNamePagadoria()->text(), file);
    QCOMPARE(storedCount(m_dbPath), 0); // choosing imports nothing
}

void TestFrmImportarLeilao::cancelledChoiceKeepsPath()
{
    const QString file = m_workDir->filePath(QStringLiteral("pagadoria.txt"));
    m_form->edtFileNamePagadoria()->setText(file);
    QString startFolder;
    ModalWatcher watcher([&](QWidget *modal) {
        if (auto *dialog = qobject_cast<QFileDialog *>(modal))
            startFolder = dialog->directory().absolutePath();
        modal->close();
    });
    QTest::mouseClick(m_form->btnSelecionarPagadoria(), Qt::LeftButton);
    QCOMPARE(watcher.seen(), 1);
    QCOMPARE(startFolder, QFileInfo(file).absolutePath());
    QCOMPARE(m_form->edtFileNamePagadoria()->text(), file);
}

void TestFrmImportarLeilao::noFileDoesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("no file chosen") << QString();
    QTest::newRow("file gone") << QStringLiteral("sumiu.txt");
}

void TestFrmImportarLeilao::noFileDoesNothing()
{
    QFETCH(QString, name);
    m_form->edtFileNamePagadoria()->setText(name.isEmpty() ? QString() : m_workDir->filePath(name));
    int errors = 0;
    m_form->setErrorHandler([&errors](std::exception_ptr) { ++errors; });
    std::optional<ShownBox> shown;
    ModalWatcher watcher(recordBox(shown), 300);
    QTest::mouseClick(m_form->btnOK(), Qt::LeftButton);
    QTest::qWait(400);
    QCOMPARE(watcher.seen(), 0);
    QCOMPARE(errors, 0);
    QVERIFY(m_form->isVisible());
    QCOMPARE(storedCount(m_dbPath), 0);
}

void TestFrmImportarLeilao::importShowsSuccess()
{
    const QString file = m_workDir->filePath(QStringLiteral("leilao.txt"));
    writeFile(file, threeNoteFile());
    m_form->edtFileNamePagadoria()->setText(file);
    int errors = 0;
    m_form->setErrorHandler([&errors](std::exception_ptr) { ++errors; });
    // The engine is asked to run each insert while the hourglass shows.
    QList<bool> hourglassAtInsert;
    m_db->setTraceFlags(db::TraceFlag::Execute);
    m_db->setTraceHook([&hourglassAtInsert](db::TraceFlag, const QString &text, const QDateTime &) {
        if (text.contains(QStringLiteral("insert into CONTROLE")))
            hourglassAtInsert << (QGuiApplication::overrideCursor() &&
                                  QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor);
    });
    std::optional<ShownBox> shown;
    ModalWatcher watcher(recordBox(shown));
    QTest::mouseClick(m_form->btnOK(), Qt::LeftButton);
    m_db->setTraceHook({});

    QCOMPARE(errors, 0);
    QVERIFY(shown.has_value());
    QCOMPARE(shown->title, QStringLiteral("Importação"));
    QCOMPARE(shown->text, QStringLiteral("Importação de leilão concluída."));
    QCOMPARE(shown->icon, QMessageBox::Information);
    QVERIFY(!shown->hourglass); // restored before the box
    QCOMPARE(hourglassAtInsert, (QList<bool>{true, true, true}));
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(storedCount(m_dbPath), 3);
    QVERIFY(!QFileInfo::exists(file));
    QVERIFY(QFileInfo::exists(file + QStringLiteral("_IMPORTADO")));

    // A second import from the same window: the path now names nothing, so nothing happens.
    std::optional<ShownBox> second;
    ModalWatcher again(recordBox(second), 300);
    QTest::mouseClick(m_form->btnOK(), Qt::LeftButton);
    QTest::qWait(400);
    QVERIFY(!second.has_value());
    QCOMPARE(storedCount(m_dbPath), 3);

    // And another file imports on top of the first.
    const QString other = m_workDir->filePath(QStringLiteral("outro.txt"));
    writeFile(other, threeNoteFile());
    m_form->edtFileNamePagadoria()->setText(other);
    std::optional<ShownBox> third;
    ModalWatcher once_more(recordBox(third));
    QTest::mouseClick(m_form->btnOK(), Qt::LeftButton);
    QVERIFY(third.has_value());
    QCOMPARE(storedCount(m_dbPath), 6);
}

void TestFrmImportarLeilao::failureGoesToHandler_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message"); // %1 is the file's path
    QTest::addColumn<bool>("renameBlocked");

    QStringList fourCounted = threeNoteFile();
    fourCounted.last() = totalsLine(4, 40000);
    QTest::newRow("count 4") << "leilao.txt" << fileBytes(fourCounted) << CountError << false;
    QStringList shortNote = threeNoteFile();
    shortNote[0].chop(1);
    QTest::newRow("167 characters") << "leilao.txt" << fileBytes(shortNote) << LengthError1 << false;
    QTest::newRow("empty line after check record")
        << "leilao.txt" << (fileBytes(threeNoteFile()) + "\r\n") << CheckRecordError << false;
    // An earlier file took the name the import would give this one: nothing is kept, so that trying again
    // after moving it away cannot import the notes twice.
    QTest::newRow("rename refused")
        << "leilao.txt" << fileBytes(threeNoteFile())
        << QStringLiteral(
               "Não foi possível renomear o arquivo %1 para leilao.txt_IMPORTADO. Nenhuma nota foi "
               "importada. Verifique se já existe um arquivo com esse nome ou se o arquivo está "
               "sendo importado por outro usuário.")
        << true;
    QTest::newRow("already imported")
        << "leilao.txt_IMPORTADO" << fileBytes(threeNoteFile())
        << QStringLiteral(
               "O arquivo %1 já foi importado. Para importá-lo de novo, retire \"_IMPORTADO\" do nome.")
        << false;
}

void TestFrmImportarLeilao::failureGoesToHandler()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(bool, renameBlocked);
    const QString file = m_workDir->filePath(name);
    writeFile(file, bytes);
    if (renameBlocked)
        writeFile(TdmImportaLeilao::ImportedFileName(file), QByteArray("antes"));
    m_form->edtFileNamePagadoria()->setText(file);
    QStringList messages;
    bool hourglassAtError = true;
    m_form->setErrorHandler([&](std::exception_ptr error) {
        messages << TfrmImportarLeilao::ErrorMessage(error);
        hourglassAtError = QGuiApplication::overrideCursor() != nullptr;
    });
    std::optional<ShownBox> shown;
    ModalWatcher watcher(recordBox(shown), 300);
    QTest::mouseClick(m_form->btnOK(), Qt::LeftButton);
    QTest::qWait(400);
    QVERIFY(!shown.has_value()); // no success box after a failure
    QCOMPARE(messages, QStringList{message.contains(QStringLiteral("%1")) ? message.arg(file) : message});
    QVERIFY(!hourglassAtError);
    QVERIFY(QFileInfo::exists(file));
    QCOMPARE(storedCount(m_dbPath), 0);
}

void TestFrmImportarLeilao::failureWithoutHandlerShowsMessage()
{
    const QString file = m_workDir->filePath(QStringLiteral("leilao.txt"));
    QStringList fourCounted = threeNoteFile();
    fourCounted.last() = totalsLine(4, 40000);
    writeFile(file, fourCounted);
    m_form->edtFileNamePagadoria()->setText(file);
    std::optional<ShownBox> shown;
    ModalWatcher watcher(recordBox(shown));
    QTest::mouseClick(m_form->btnOK(), Qt::LeftButton);
    QVERIFY(shown.has_value());
    QCOMPARE(shown->text, CountError);
    QCOMPARE(shown->icon, QMessageBox::Critical);
    QVERIFY(!shown->hourglass);
    QCOMPARE(storedCount(m_dbPath), 0);
}

void TestFrmImportarLeilao::closeButton()
{
    QTest::mouseClick(m_form->btnCancel(), Qt::LeftButton);
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_form->result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestFrmImportarLeilao)
#include "tst_frmimportarleilao.moc"
