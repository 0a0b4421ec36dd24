#include "frmimportarleilao.h"

#include "app/import/dmimportaleilao.h"
#include "app/import/importerror.h"
#include "platform/db/dberror.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

const QString TfrmImportarLeilao::FileFilter = QStringLiteral("Arquivo Importação Resgate|*.txt");

namespace {

/// Shows the hourglass for as long as it lives.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

TfrmImportarLeilao::TfrmImportarLeilao(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmImportarLeilao"));
    setWindowTitle(QStringLiteral("Importar Leilão"));

    m_lblFileName = new QLabel(QStringLiteral("Nome arquivo importação"), this);
    m_lblFileName->setObjectName(QStringLiteral("lblFileName"));

    m_edtFileNamePagadoria = new QLineEdit(this);
    m_edtFileNamePagadoria->setObjectName(QStringLiteral("edtFileNamePagadoria"));
    m_edtFileNamePagadoria->setReadOnly(true);
    // Out of the Tab order but still clickable, so that a long path can be scrolled and copied.
    m_edtFileNamePagadoria->setFocusPolicy(Qt::ClickFocus);
    QPalette face = m_edtFileNamePagadoria->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    m_edtFileNamePagadoria->setPalette(face);
    m_lblFileName->setBuddy(m_edtFileNamePagadoria);

    m_btnSelecionarPagadoria = new QPushButton(QStringLiteral("Procurar..."), this);
    m_btnSelecionarPagadoria->setObjectName(QStringLiteral("btnSelecionarPagadoria"));
    QFont bold = m_btnSelecionarPagadoria->font();
    bold.setBold(true);
    m_btnSelecionarPagadoria->setFont(bold);

    m_btnOK = new QPushButton(QStringLiteral("&Importar"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnCancel = new QPushButton(QStringLiteral("&Fechar"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_edtFileNamePagadoria, 1);
    fileRow->addWidget(m_btnSelecionarPagadoria);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_btnOK);
    buttonRow->addWidget(m_btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lblFileName);
    layout->addLayout(fileRow);
    layout->addStretch(1);
    layout->addLayout(buttonRow);
    resize(591, 129);

    setTabOrder(m_btnSelecionarPagadoria, m_btnOK);
    setTabOrder(m_btnOK, m_btnCancel);
    m_btnSelecionarPagadoria->setFocus();

    connect(m_btnSelecionarPagadoria, &QPushButton::clicked, this, &TfrmImportarLeilao::selectFile);
    connect(m_btnOK, &QPushButton::clicked, this, &TfrmImportarLeilao::importFile);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TfrmImportarLeilao::QtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts.at(i) + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString TfrmImportarLeilao::ErrorMessage(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const db::DatabaseError &e) {
        return e.message();
    } catch (const db::ValueError &e) {
        return e.message();
    } catch (const db::ProgrammingError &e) {
        return e.message();
    } catch (const ImportError &e) {
        return e.message();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Erro desconhecido.");
    }
}

void TfrmImportarLeilao::selectFile()
{
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("dlgSelecionarPagadoria"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(QtFileFilter(FileFilter));
    const QString current = m_edtFileNamePagadoria->text();
    if (!current.isEmpty())
        dialog.setDirectory(QFileInfo(current).absolutePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    m_edtFileNamePagadoria->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

void TfrmImportarLeilao::importFile()
{
    const QString path = m_edtFileNamePagadoria->text();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    bool imported = false;
    try {
        const WaitCursor hourglass;
        TdmImportaLeilao module;
        module.setFileName(path);
        if (module.CheckFile())
            imported = module.ImportFile();
    } catch (...) {
        reportError(std::current_exception());
        return;
    }
    if (!imported)
        return;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Importação"),
                    QStringLiteral("Importação de leilão concluída."), QMessageBox::Ok, this);
    box.exec();
}

void TfrmImportarLeilao::reportError(std::exception_ptr error)
{
    if (m_errorHandler) {
        m_errorHandler(error);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Quintaris"), ErrorMessage(error), QMessageBox::Ok,
                    this);
    box.exec();
}
