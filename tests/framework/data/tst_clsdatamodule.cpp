#include "testdatabase.h"

#include "framework/data/clsdatamodule.h"
#include "framework/data/mainconnection.h"
#include "framework/data/zeldataset.h"
#include "framework/data/zelsqlglobals.h"

#include <QTest>

#include <memory>

namespace {

/// A data module like the application's: table data sets, one of them inside a helper object, one with a
/// transaction of its own, and a data set of another kind.
class SampleModule : public TClsDataModule
{
public:
    explicit SampleModule(db::Transaction *own = nullptr)
    {
        controle = new TZelDataSet(this);
        controle->setObjectName(QStringLiteral("CONTROLE"));
        controle->setSelectSql(QStringLiteral("select * from CONTROLE"));
        auto *holder = new QObject(this);
        nested = new TZelDataSet(holder);
        nested->setObjectName(QStringLiteral("NESTED"));
        withTransaction = new TZelDataSet(this);
        withTransaction->setTransaction(own);
        other = new db::DataSet(this);
    }

    TZelDataSet *controle;
    TZelDataSet *nested;
    TZelDataSet *withTransaction;
    db::DataSet *other;
};

} // namespace

class TstClsDataModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void unboundBeforeTheMainDataModule();
    void boundToMainConnectionAndGlobals();
    void bindingLater();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TstClsDataModule::initTestCase()
{
    m_db = std::make_unique<TestDatabase>();
    m_db->database().setDefaultTransaction(&m_db->transaction());
    m_db->exec(
        QStringLiteral("create table CONTROLE (ID integer not null primary key, CLI_NOME varchar(50))"));
    m_db->exec(QStringLiteral("insert into CONTROLE values (1, 'UM')"));
}

void TstClsDataModule::cleanup()
{
    MainConnection::withdraw();
}

void TstClsDataModule::unboundBeforeTheMainDataModule()
{
    QVERIFY(!MainConnection::isPublished());
    std::unique_ptr<SampleModule> m(TClsDataModule::create<SampleModule>());
    for (TZelDataSet *ds : {m->controle, m->nested, m->withTransaction}) {
        QCOMPARE(ds->database(), nullptr);
        QCOMPARE(ds->SQLGlobals(), nullptr);
    }
    QCOMPARE(m->controle->transaction(), nullptr);
}

void TstClsDataModule::boundToMainConnectionAndGlobals()
{
    TZelSQLGlobals globals;
    MainConnection::publish(&m_db->database(), &globals);
    db::Transaction own;
    own.setDefaultDatabase(&m_db->database());
    std::unique_ptr<SampleModule> m(TClsDataModule::create<SampleModule>(&own));

    for (TZelDataSet *ds : {m->controle, m->nested, m->withTransaction}) {
        QCOMPARE(ds->database(), &m_db->database());
        QCOMPARE(ds->SQLGlobals(), &globals);
    }
    QCOMPARE(m->controle->transaction(), &m_db->transaction());
    QCOMPARE(m->withTransaction->transaction(), &own);
    QCOMPARE(m->other->database(), nullptr);
    QCOMPARE(m->other->transaction(), nullptr);
    QCOMPARE(globals.DataSetCount(), 3);

    m->controle->open();
    QCOMPARE(m->controle->fieldByName(QStringLiteral("CLI_NOME")).asString(), QStringLiteral("UM"));
    m->controle->close();

    m.reset();
    QCOMPARE(globals.DataSetCount(), 0);
}

void TstClsDataModule::bindingLater()
{
    // A module built directly binds nothing until asked, once the main connection exists.
    SampleModule m;
    m.bindDataSets();
    QCOMPARE(m.controle->database(), nullptr);
    TZelSQLGlobals globals;
    MainConnection::publish(&m_db->database(), &globals);
    m.bindDataSets();
    QCOMPARE(m.controle->database(), &m_db->database());
    QCOMPARE(m.controle->SQLGlobals(), &globals);
    QCOMPARE(globals.DataSetCount(), 3);
}

QTEST_GUILESS_MAIN(TstClsDataModule)
#include "tst_clsdatamodule.moc"
