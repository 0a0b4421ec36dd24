#pragma once

#include "testdatabase.h"

#include "framework/controls/zelerrorhandler.h"
#include "framework/controls/zelevents.h"
#include "framework/controls/zelformhandler.h"

#include "platform/db/dataset.h"
#include "platform/db/datasource.h"
#include "platform/db/dberror.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <memory>

/// A window standing in for the base form: records the Escapes handed to it and the arrow-key messages.
class FormWindow : public QWidget, public ZelFormHandler
{
public:
    int escapes = 0;
    QList<int> arrowKeys;
    bool dialogKey(int key) override
    {
        if (key == Qt::Key_Escape)
            ++escapes;
        return true;
    }

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == ZelEvents::ArrowKeyOnButton)
            arrowKeys << static_cast<ZelArrowKeyEvent *>(e)->key();
        return QWidget::event(e);
    }
};

/// The notes table of the office, enough of it for the controls, on a fresh embedded database.
struct ControleData
{
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<db::DataSet> ds;
    std::unique_ptr<db::DataSource> source;

    void create()
    {
        db = std::make_unique<TestDatabase>();
        try {
            exec();
        } catch (const ::db::DatabaseError &e) {
            qFatal("%s", qPrintable(e.message()));
        }
        setUp();
    }

    void exec()
    {
        db->exec({QStringLiteral(
            "create table CONTROLE (ID integer not null primary key, LEILAO_DATA date, "
            "LEILAO_NUMERO varchar(10), CLI_TIPO_PESSOA integer, CLI_DOCUMENTO varchar(14), "
            "CLI_NOME varchar(20), NOTA_NUMERO integer, NOTA_MERCADORIA double precision, "
            "NOTA_TOTAL double precision, DATA_STR varchar(8), MES_STR varchar(6), OBS varchar(10), "
            "CODIGO char(3))")});
        db->exec(
            {QStringLiteral(
                 "insert into CONTROLE (ID, LEILAO_DATA, LEILAO_NUMERO, CLI_TIPO_PESSOA, CLI_NOME, "
                 "NOTA_NUMERO, NOTA_MERCADORIA, DATA_STR, MES_STR) values (1, '2005-03-15', "
                 "'L1', 1, 'MARIA', 1234, 1234.5, '20050315', '200503')"),
             QStringLiteral("insert into CONTROLE (ID, CLI_NOME, NOTA_MERCADORIA) values (2, 'JOSE', 0)")});
    }

    void setUp()
    {
        ds = std::make_unique<db::DataSet>();
        ds->setObjectName(QStringLiteral("CONTROLE"));
        ds->setDatabase(&db->database());
        ds->setTransaction(&db->transaction());
        ds->setSelectSql(QStringLiteral("select * from CONTROLE order by ID"));
        ds->setInsertSql(QStringLiteral(
            "insert into CONTROLE (ID, LEILAO_DATA, LEILAO_NUMERO, CLI_TIPO_PESSOA, CLI_DOCUMENTO, CLI_NOME, "
            "NOTA_NUMERO, NOTA_MERCADORIA, NOTA_TOTAL, DATA_STR, MES_STR, OBS, CODIGO) values (:ID, "
            ":LEILAO_DATA, "
            ":LEILAO_NUMERO, :CLI_TIPO_PESSOA, :CLI_DOCUMENTO, :CLI_NOME, :NOTA_NUMERO, :NOTA_MERCADORIA, "
            ":NOTA_TOTAL, :DATA_STR, :MES_STR, :OBS, :CODIGO)"));
        ds->setModifySql(QStringLiteral(
            "update CONTROLE set LEILAO_DATA = :LEILAO_DATA, LEILAO_NUMERO = :LEILAO_NUMERO, CLI_TIPO_PESSOA "
            "= "
            ":CLI_TIPO_PESSOA, CLI_DOCUMENTO = :CLI_DOCUMENTO, CLI_NOME = :CLI_NOME, NOTA_NUMERO = "
            ":NOTA_NUMERO, "
            "NOTA_MERCADORIA = :NOTA_MERCADORIA, NOTA_TOTAL = :NOTA_TOTAL, DATA_STR = :DATA_STR, MES_STR = "
            ":MES_STR, OBS = :OBS, CODIGO = :CODIGO where ID = :OLD_ID"));
        source = std::make_unique<db::DataSource>();
        source->setDataSet(ds.get());
        open();
    }

    void open()
    {
        ds->open();
        ds->fieldByName(QStringLiteral("NOTA_MERCADORIA")).setCurrency(true);
        ds->fieldByName(QStringLiteral("NOTA_TOTAL")).setCurrency(true);
    }

    void reset()
    {
        source.reset();
        ds.reset();
        db.reset();
    }

    db::Field &field(const QString &name) { return ds->fieldByName(name); }
};

/// Collects what the controls hand to the application's error handler.
class ErrorCatcher
{
public:
    ErrorCatcher()
    {
        m_previous = ZelErrorHandler::install(
            [this](std::exception_ptr e) { messages << ZelErrorHandler::messageOf(e); });
    }
    ~ErrorCatcher() { ZelErrorHandler::install(m_previous); }
    QStringList messages;

private:
    ZelErrorHandler::Handler m_previous;
};

/// Closes the message boxes a call opens, recording their texts; armed before the call that blocks.
class MessageBoxCloser : public QObject
{
public:
    QStringList texts;
    MessageBoxCloser()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                texts << box->text();
                box->accept();
            } else if (modal && m_clock.elapsed() > 5000) {
                modal->close();
            }
        });
        m_clock.start();
        m_timer.start();
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
};

/// A data set over one more table of the test database, editable through its ID.
inline std::unique_ptr<db::DataSet> openTable(TestDatabase &database, const QString &table,
                                              const QStringList &columns)
{
    auto ds = std::make_unique<db::DataSet>();
    ds->setObjectName(table);
    ds->setDatabase(&database.database());
    ds->setTransaction(&database.transaction());
    ds->setSelectSql(QStringLiteral("select * from %1 order by ID").arg(table));
    QStringList sets;
    for (const QString &c : columns)
        sets << QStringLiteral("%1 = :%1").arg(c);
    ds->setModifySql(QStringLiteral("update %1 set %2 where ID = :OLD_ID").arg(table, sets.join(u',')));
    ds->setInsertSql(QStringLiteral("insert into %1 (ID, %2) values (:ID, :%3)")
                         .arg(table, columns.join(u','), columns.join(QStringLiteral(", :"))));
    ds->open();
    return ds;
}
