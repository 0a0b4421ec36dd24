#pragma once

#include "logerror.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

/// The database-error window: the message of the run's errors, one at a time, with a details panel.
class TClsErrorHandler : public QDialog
{
    Q_OBJECT
public:
    explicit TClsErrorHandler(const QList<TLogErrorDataBase> &errors, int position = 0,
                              QWidget *parent = nullptr);

    /// Shows entry i; a position outside the list is ignored.
    void GoTo(int position);
    int position() const { return m_position; }
    bool detailsVisible() const;
    void toggleDetails();

    QPlainTextEdit *memMensagem;
    QPushButton *bbtDetails;
    QPushButton *bbtOk;
    QWidget *pnlBckGround;
    QLineEdit *edtCodigo;
    QLineEdit *edtComputerName;
    QLineEdit *edtDataHora;
    QLineEdit *edtServidor;
    QPlainTextEdit *memMensagemLog;
    QPushButton *bbtAnterior;
    QPushButton *bbtProximo;

    static constexpr int kClientWidth = 370;
    static constexpr int kTopHeight = 130;
    static constexpr int kPanelHeight = 239;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setDetailsVisible(bool on);

    QList<TLogErrorDataBase> m_errors;
    int m_position = -1;
};
