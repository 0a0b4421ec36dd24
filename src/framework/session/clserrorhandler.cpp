#include "clserrorhandler.h"

#include "platform/regional/datetimeformat.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace {

QLineEdit *readOnlyField(QWidget *parent, const char *name, const QString &caption, int x, int y, int width)
{
    auto *label = new QLabel(caption, parent);
    label->setGeometry(x, y, width, 16);
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setReadOnly(true);
    edit->setGeometry(x, y + 16, width, 22);
    label->setBuddy(edit);
    return edit;
}

} // namespace

TClsErrorHandler::TClsErrorHandler(const QList<TLogErrorDataBase> &errors, int position, QWidget *parent)
    : QDialog(parent), m_errors(errors), m_position(position)
{
    setObjectName(QStringLiteral("TClsErrorHandler"));
    setWindowTitle(QStringLiteral("Erro no Banco de Dados"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("imgIcon"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32));
    icon->setGeometry(8, 8, 40, 40);

    memMensagem = new QPlainTextEdit(this);
    memMensagem->setObjectName(QStringLiteral("memMensagem"));
    memMensagem->setReadOnly(true);
    memMensagem->setGeometry(56, 8, kClientWidth - 64, 80);

    bbtDetails = new QPushButton(QStringLiteral("Detalhes >>"), this);
    bbtDetails->setObjectName(QStringLiteral("bbtDetails"));
    bbtDetails->setGeometry(56, 96, 100, 26);
    bbtOk = new QPushButton(QStringLiteral("&Ok"), this);
    bbtOk->setObjectName(QStringLiteral("bbtOk"));
    bbtOk->setGeometry(kClientWidth - 108, 96, 100, 26);
    bbtOk->setDefault(true);

    pnlBckGround = new QWidget(this);
    pnlBckGround->setObjectName(QStringLiteral("pnlBckGround"));
    pnlBckGround->setGeometry(0, kTopHeight, kClientWidth, kPanelHeight);
    edtCodigo = readOnlyField(pnlBckGround, "edtCodigo", QStringLiteral("Código"), 8, 4, 80);
    edtComputerName =
        readOnlyField(pnlBckGround, "edtComputerName", QStringLiteral("Nome Computador"), 96, 4, 266);
    edtDataHora = readOnlyField(pnlBckGround, "edtDataHora", QStringLiteral("Data/Hora"), 8, 46, 130);
    edtServidor = readOnlyField(pnlBckGround, "edtServidor", QStringLiteral("Servidor"), 146, 46, 216);
    auto *messageLabel = new QLabel(QStringLiteral("Mensagem:"), pnlBckGround);
    messageLabel->setGeometry(8, 88, 200, 16);
    memMensagemLog = new QPlainTextEdit(pnlBckGround);
    memMensagemLog->setObjectName(QStringLiteral("memMensagemLog"));
    memMensagemLog->setReadOnly(true);
    memMensagemLog->setGeometry(8, 104, kClientWidth - 16, 92);
    messageLabel->setBuddy(memMensagemLog);
    bbtAnterior = new QPushButton(QStringLiteral("&Anterior"), pnlBckGround);
    bbtAnterior->setObjectName(QStringLiteral("bbtAnterior"));
    bbtAnterior->setGeometry(kClientWidth - 216, 204, 100, 26);
    bbtProximo = new QPushButton(QStringLiteral("&Próximo"), pnlBckGround);
    bbtProximo->setObjectName(QStringLiteral("bbtProximo"));
    bbtProximo->setGeometry(kClientWidth - 108, 204, 100, 26);

    connect(bbtOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(bbtDetails, &QPushButton::clicked, this, &TClsErrorHandler::toggleDetails);
    connect(bbtAnterior, &QPushButton::clicked, this, [this] { GoTo(m_position - 1); });
    connect(bbtProximo, &QPushButton::clicked, this, [this] { GoTo(m_position + 1); });

    setFixedSize(kClientWidth, kTopHeight + kPanelHeight);
    GoTo(position);
    bbtOk->setFocus();
}

void TClsErrorHandler::showEvent(QShowEvent *event)
{
    GoTo(int(m_errors.size()) - 1);
    setDetailsVisible(false);
    bbtOk->setFocus();
    QDialog::showEvent(event);
}

bool TClsErrorHandler::detailsVisible() const
{
    return !pnlBckGround->isHidden();
}

void TClsErrorHandler::setDetailsVisible(bool on)
{
    pnlBckGround->setVisible(on);
    bbtDetails->setText(on ? QStringLiteral("<< Detalhes") : QStringLiteral("Detalhes >>"));
    setFixedSize(kClientWidth, kTopHeight + (on ? kPanelHeight : 0));
}

void TClsErrorHandler::toggleDetails()
{
    setDetailsVisible(!detailsVisible());
}

void TClsErrorHandler::GoTo(int position)
{
    if (position < 0 || position >= m_errors.size())
        return;
    m_position = position;
    const TLogErrorDataBase &e = m_errors.at(position);
    memMensagem->setPlainText(e.message);
    memMensagemLog->setPlainText(e.message);
    edtCodigo->setText(QString::number(e.sqlCode));
    edtComputerName->setText(e.computerName);
    edtDataHora->setText(regional::dateTimeToText(e.dateTime));
    edtServidor->setText(e.server);

    const bool single = m_errors.size() == 1;
    const bool first = position == 0;
    const bool last = position == m_errors.size() - 1;
    const bool previousHadFocus = bbtAnterior->hasFocus();
    const bool nextHadFocus = bbtProximo->hasFocus();
    bbtAnterior->setEnabled(!single && !first);
    bbtProximo->setEnabled(!single && !last);
    if (previousHadFocus && !bbtAnterior->isEnabled())
        bbtProximo->setFocus();
    else if (nextHadFocus && !bbtProximo->isEnabled())
        bbtAnterior->setFocus();
}
