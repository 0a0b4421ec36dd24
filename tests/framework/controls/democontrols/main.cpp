// Shows the data-aware controls together on a fresh embedded database with a notes table, for a look at
// their captions, values and companions (and at the value list's dropdown with --dropdown).
//
//   demo_controls [--dropdown] [--quit-after <ms>]

#include "testdatabase.h"

#include "framework/controls/zelarea.h"
#include "framework/controls/zelcheckbox.h"
#include "framework/controls/zelcolors.h"
#include "framework/controls/zelfocuscontroller.h"
#include "framework/controls/zellabel.h"
#include "framework/controls/zellistbox.h"
#include "framework/controls/zelpanel.h"
#include "framework/controls/zelspeedbutton.h"
#include "framework/controls/zelspockdate.h"
#include "framework/controls/zelspockedit.h"
#include "framework/controls/zelspockfloat.h"
#include "framework/controls/zelspocklist.h"
#include "framework/controls/zelspockmemo.h"
#include "framework/controls/zelstatusbar.h"

#include "platform/db/dataset.h"
#include "platform/db/datasource.h"
#include "platform/db/dberror.h"

#include <QApplication>
#include <QGroupBox>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

const QStringList Columns{
    QStringLiteral("LEILAO_DATA"),     QStringLiteral("LEILAO_NUMERO"),     QStringLiteral("CLI_TIPO_PESSOA"),
    QStringLiteral("CLI_DOCUMENTO"),   QStringLiteral("CLI_NOME"),          QStringLiteral("NOTA_NUMERO"),
    QStringLiteral("NOTA_MERCADORIA"), QStringLiteral("NOTA_PER_COMISSAO"), QStringLiteral("NOTA_COMISSAO"),
    QStringLiteral("NOTA_TAXA_ADMIN"), QStringLiteral("NOTA_TOTAL"),        QStringLiteral("OBS"),
    QStringLiteral("SITUACAO")};

void createTable(TestDatabase &database)
{
    database.exec(QStringLiteral(
        "create table CONTROLE (ID integer not null primary key, LEILAO_DATA date, LEILAO_NUMERO "
        "varchar(10), "
        "CLI_TIPO_PESSOA integer, CLI_DOCUMENTO varchar(14), CLI_NOME varchar(30), NOTA_NUMERO integer, "
        "NOTA_MERCADORIA double precision, NOTA_PER_COMISSAO double precision, NOTA_COMISSAO double "
        "precision, "
        "NOTA_TAXA_ADMIN double precision, NOTA_TOTAL double precision, OBS varchar(200), SITUACAO "
        "char(3))"));
    database.exec(
        {QStringLiteral("insert into CONTROLE values (1, '2005-03-15', '0315/A', 2, '11222333000181', "
                        "'LEILOES DO NORTE LTDA', 1234, 100.10, 5, 5.01, 10, 115.11, 'Retirada no pátio' || "
                        "ascii_char(13) || ascii_char(10) || 'Pago em cheque', 'SNS')"),
         QStringLiteral("insert into CONTROLE values (2, '2005-03-15', '0315/A', 1, '11144477735', "
                        "'MARIA DA SILVA', 1235, 2500, 5, 125, 10, 2635, null, 'NNN')")});
}

void setLabels(db::DataSet &ds)
{
    const QList<QPair<QString, QString>> labels{
        {QStringLiteral("LEILAO_DATA"), QStringLiteral("Data Leilão")},
        {QStringLiteral("LEILAO_NUMERO"), QStringLiteral("Número Leilão")},
        {QStringLiteral("CLI_TIPO_PESSOA"), QStringLiteral("Tipo Pessoa")},
        {QStringLiteral("CLI_DOCUMENTO"), QStringLiteral("Documento")},
        {QStringLiteral("CLI_NOME"), QStringLiteral("Nome")},
        {QStringLiteral("NOTA_NUMERO"), QStringLiteral("Número")},
        {QStringLiteral("NOTA_MERCADORIA"), QStringLiteral("Valor Mercadoria")},
        {QStringLiteral("NOTA_PER_COMISSAO"), QStringLiteral("Perc.Com.")},
        {QStringLiteral("NOTA_COMISSAO"), QStringLiteral("Comissão")},
        {QStringLiteral("NOTA_TAXA_ADMIN"), QStringLiteral("Taxa Admin.")},
        {QStringLiteral("NOTA_TOTAL"), QStringLiteral("Total")},
        {QStringLiteral("OBS"), QStringLiteral("Observações")}};
    for (const auto &[name, label] : labels)
        ds.fieldByName(name).setDisplayLabel(label);
    for (const QString &money : {QStringLiteral("NOTA_MERCADORIA"), QStringLiteral("NOTA_COMISSAO"),
                                 QStringLiteral("NOTA_TAXA_ADMIN"), QStringLiteral("NOTA_TOTAL")})
        ds.fieldByName(money).setCurrency(true);
}

template <typename Edit>
Edit *place(QWidget *parent, db::DataSource *source, const QString &field, int x, int y, int width = 0)
{
    auto *e = new Edit(parent);
    e->setObjectName(QStringLiteral("edt") + field);
    e->setDataSource(source);
    e->setDataField(field);
    if (width > 0)
        e->resize(width, e->height());
    e->move(x, y);
    e->setFocusColor(QColor(255, 255, 225));
    e->setToolTip(
        QStringLiteral("Campo %1|Informe %2").arg(field, e->Field() ? e->Field()->displayLabel() : field));
    return e;
}

QPixmap logo()
{
    QPixmap pixmap(110, 46);
    QPainter p(&pixmap);
    QLinearGradient gradient(0, 0, 110, 46);
    gradient.setColorAt(0, QColor(30, 60, 120));
    gradient.setColorAt(1, QColor(90, 140, 200));
    p.fillRect(pixmap.rect(), gradient);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPointSize(12);
    p.setFont(f);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("Quintaris"));
    return pixmap;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quintaris"));
    const QStringList args = QApplication::arguments();
    const bool dropDown = args.contains(QStringLiteral("--dropdown"));
    const qsizetype quitAt = args.indexOf(QStringLiteral("--quit-after"));

    try {
        TestDatabase database(QStringLiteral("demo.fdb"));
        createTable(database);
        db::DataSet ds;
        ds.setObjectName(QStringLiteral("CONTROLE"));
        ds.setDatabase(&database.database());
        ds.setTransaction(&database.transaction());
        ds.setSelectSql(QStringLiteral("select * from CONTROLE order by ID"));
        QStringList sets;
        for (const QString &c : Columns)
            sets << QStringLiteral("%1 = :%1").arg(c);
        ds.setModifySql(QStringLiteral("update CONTROLE set %1 where ID = :OLD_ID").arg(sets.join(u',')));
        ds.open();
        setLabels(ds);
        db::DataSource source;
        source.setDataSet(&ds);

        TZelFocusController::instance()->setActive(true);
        QWidget window;
        window.setObjectName(QStringLiteral("frmDemoControles"));
        window.setWindowTitle(QStringLiteral("Quintaris - Controles"));
        auto *outer = new QVBoxLayout(&window);
        outer->setContentsMargins(0, 0, 0, 0);
        auto *area = new TZelArea(&window);
        area->setObjectName(QStringLiteral("Area"));
        area->setMinimumSize(640, 440);
        outer->addWidget(area);
        auto *status = new TZelStatusBar(&window);
        status->addPanel(120, QStringLiteral("Registro 1 de 2"));
        status->addPanel(300);
        outer->addWidget(status);

        // The auction.
        place<TZelSpockDate>(area, &source, QStringLiteral("LEILAO_DATA"), 16, 28, 84);
        place<TZelSpockEdit>(area, &source, QStringLiteral("LEILAO_NUMERO"), 130, 28);

        // The client: a value list with its button and description panel, the document and the name.
        auto *cliente = new QGroupBox(QStringLiteral("Cliente"), area);
        cliente->setGeometry(8, 60, 624, 76);
        auto *tipo = new TZelSpockEdit(cliente);
        tipo->setObjectName(QStringLiteral("edtTipoPessoa"));
        tipo->setEditKind(ekList);
        tipo->SpockList()->setItems({QStringLiteral("1 - Física"), QStringLiteral("2 - Jurídica")});
        tipo->SpockList()->setValues({QStringLiteral("1"), QStringLiteral("2")});
        tipo->SpockList()->setSeparator(QStringLiteral(" - "));
        tipo->setFocusColor(QColor(255, 255, 225));
        tipo->setToolTip(QStringLiteral(
            "Tipo de pessoa|Tipo de pessoa: 1 - Física, 2 - Jurídica (Ctrl+Enter abre a lista)"));
        tipo->setGeometry(36, 40, 29, 21);
        tipo->setDataSource(&source);
        tipo->setDataField(QStringLiteral("CLI_TIPO_PESSOA"));
        tipo->resize(29, 21);
        auto *tipoPanel = new TZelPanel(cliente);
        tipoPanel->setObjectName(QStringLiteral("pnlTipoPessoa"));
        tipoPanel->resize(90, 21);
        auto *tipoButton = new TZelSpeedButton(cliente);
        tipoButton->setObjectName(QStringLiteral("btnTipoPessoa"));
        tipo->SpockList()->setWidth(0);
        tipo->setZelPanel(tipoPanel);
        tipo->setZelSpeedButton(tipoButton);
        tipoButton->setZelIcon(bcBlue);
        tipoButton->setShortCut(QKeySequence(Qt::CTRL | Qt::Key_T));
        tipo->dataLink().Reset();
        place<TZelSpockEdit>(cliente, &source, QStringLiteral("CLI_DOCUMENTO"), 180, 40, 110);
        place<TZelSpockEdit>(cliente, &source, QStringLiteral("CLI_NOME"), 300, 40, 310);

        // The note: numeric edits.
        auto *nota = new QGroupBox(QStringLiteral("Nota"), area);
        nota->setGeometry(8, 146, 624, 76);
        const QStringList amounts{QStringLiteral("NOTA_MERCADORIA"), QStringLiteral("NOTA_PER_COMISSAO"),
                                  QStringLiteral("NOTA_COMISSAO"), QStringLiteral("NOTA_TAXA_ADMIN"),
                                  QStringLiteral("NOTA_TOTAL")};
        auto *numero = place<TZelSpockFloat>(nota, &source, QStringLiteral("NOTA_NUMERO"), 10, 40, 72);
        numero->setDecimalPlaces(0);
        for (int i = 0; i < amounts.size(); ++i) {
            auto *e = place<TZelSpockFloat>(nota, &source, amounts.at(i), 90 + i * 106, 40, 96);
            e->setDecimalPlaces(2);
        }

        // A memo, three flags sharing one field, a caption that shows a field, a framed picture.
        auto *memo = new TZelSpockMemo(area);
        memo->setObjectName(QStringLiteral("edtObs"));
        memo->setGeometry(16, 252, 300, 90);
        memo->setScrollBars(ssVertical);
        memo->setDataSource(&source);
        memo->setDataField(QStringLiteral("OBS"));
        memo->setFocusColor(QColor(255, 255, 225));

        const QStringList flags{QStringLiteral("Paga"), QStringLiteral("Entregue"),
                                QStringLiteral("Conferida")};
        auto *situacao = new QGroupBox(QStringLiteral("Situação"), area);
        situacao->setGeometry(330, 236, 150, 106);
        for (int i = 0; i < flags.size(); ++i) {
            auto *box = new TZelCheckBox(situacao);
            box->setObjectName(QStringLiteral("chk") + flags.at(i));
            box->setOffSet(i + 1);
            box->setValueForTrue(QStringLiteral("S"));
            box->setValueForFalse(QStringLiteral("N"));
            box->setDataSource(&source);
            box->setDataField(QStringLiteral("SITUACAO"));
            box->setText(flags.at(i));
            box->setGeometry(12, 24 + i * 24, 130, 20);
        }

        auto *captionTitle = new TZelLabel(area);
        captionTitle->setCaption(QStringLiteral("Cliente da nota (legenda ligada ao campo):"));
        captionTitle->move(16, 356);
        auto *boundCaption = new TZelLabel(area);
        boundCaption->setObjectName(QStringLiteral("lblCliNome"));
        boundCaption->move(16, 374);
        QFont bold = boundCaption->font();
        bold.setBold(true);
        boundCaption->setFont(bold);
        boundCaption->setDataSource(&source);
        boundCaption->setDataField(QStringLiteral("CLI_NOME"));
        auto *zoomCaption = new TZelLabel(area);
        zoomCaption->setCaption(QStringLiteral("Resumo da nota (clique)"));
        zoomCaption->ZoomOptions().setDataSource(&source);
        zoomCaption->ZoomOptions().setEnabled(true);
        for (const QString &f :
             {QStringLiteral("CLI_NOME"), QStringLiteral("NOTA_NUMERO"), QStringLiteral("NOTA_TOTAL")})
            zoomCaption->ZoomItems().Add(f);
        zoomCaption->move(16, 400);
        ZelColors::setFontColor(zoomCaption, QColor(0, 0, 128));

        auto *picture = new TZelPanel(area);
        picture->setObjectName(QStringLiteral("pnlLogo"));
        picture->setBevelOuter(TZelPanel::bvNone);
        picture->setPicture(logo());
        picture->setGeometry(496, 244, 116, 52);

        window.resize(640, 470);
        window.show();
        window.activateWindow();
        if (dropDown) {
            tipo->setFocus();
            QTimer::singleShot(200, tipo, [tipo] {
                tipo->OpenRequest();
                tipo->SpockList()->listBox()->setItemIndex(1);
            });
        } else {
            tipo->setFocus();
        }
        if (quitAt >= 0 && quitAt + 1 < args.size())
            QTimer::singleShot(args.at(quitAt + 1).toInt(), &app, &QApplication::quit);
        return QApplication::exec();
    } catch (const db::DatabaseError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    return 1;
}
