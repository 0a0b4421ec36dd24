#pragma once

#include <QDialog>
#include <QString>

#include <exception>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

/// The window that picks an auction file and imports it into the main connection's database.
class TfrmImportarLeilao : public QDialog
{
    Q_OBJECT
public:
    /// Receives every failure of an import; the window shows nothing of its own for it.
    using ErrorHandler = std::function<void(std::exception_ptr)>;

    /// The file dialog's filter, caption and pattern separated by "|".
    static const QString FileFilter;

    explicit TfrmImportarLeilao(QWidget *parent = nullptr);

    /// Without a handler failures are shown in a plain message box with their message.
    void setErrorHandler(ErrorHandler handler) { m_errorHandler = std::move(handler); }

    QLabel *lblFileName() const { return m_lblFileName; }
    QLineEdit *edtFileNamePagadoria() const { return m_edtFileNamePagadoria; }
    QPushButton *btnSelecionarPagadoria() const { return m_btnSelecionarPagadoria; }
    QPushButton *btnOK() const { return m_btnOK; }
    QPushButton *btnCancel() const { return m_btnCancel; }

    /// A filter of "caption|pattern" pairs ("Texto|*.txt|Todos|*.*") written the way Qt's file dialogs
    /// take it ("Texto (*.txt);;Todos (*.*)"); patterns separated by ";" become blank-separated.
    static QString QtFileFilter(const QString &filter);
    /// The text a user should see for an error: the message of the program's own exception types, what()
    /// of any other.
    static QString ErrorMessage(std::exception_ptr error);

public slots:
    /// "Procurar...": a file dialog; the chosen path becomes the edit's text, a cancelled one changes
    /// nothing.
    void selectFile();
    /// "&Importar": nothing when no file exists at the edit's path; otherwise the validation and import
    /// passes under the hourglass, then the success box. Failures go to the error handler.
    void importFile();

private:
    void reportError(std::exception_ptr error);

    QLabel *m_lblFileName = nullptr;
    QLineEdit *m_edtFileNamePagadoria = nullptr;
    QPushButton *m_btnSelecionarPagadoria = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnCancel = nullptr;
    ErrorHandler m_errorHandler;
};
