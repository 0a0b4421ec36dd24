#include "appdatabase.h"

#include "app/data/dmcommon.h"
#include "framework/data/zeldataset.h"
#include "platform/db/datasource.h"
#include "platform/db/statement.h"

#include <QTest>

#include <memory>

class TstDmCommon : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void dataSets_data();
    void dataSets();
    void writeStatements_data();
    void writeStatements();
    void personTypeText_data();
    void personTypeText();
    void documentEntry_data();
    void documentEntry();
    void ddd_data();
    void ddd();
    void masks_data();
    void masks();
    void contaCorrenteFollowsBanco();
    void bancoUniqueKeys();
    void produtoShowsItsUnit();
    void dadosEmpresaIsRowOne();
    void keyFilters_data();
    void keyFilters();

private:
    TZelDataSet *dataSet(const QString &name);
    void execMain(const QString &sql);

    std::unique_ptr<AppDatabase> m_db;
    std::unique_ptr<TdmCommon> m_dm;
};

void TstDmCommon::initTestCase()
{
    m_db = std::make_unique<AppDatabase>();
}

void TstDmCommon::init()
{
    m_dm.reset(TClsDataModule::create<TdmCommon>());
}

void TstDmCommon::cleanup()
{
    m_dm.reset();
    if (m_db->trMain().isActive())
        m_db->trMain().rollback();
}

void TstDmCommon::cleanupTestCase()
{
    m_db.reset();
}

TZelDataSet *TstDmCommon::dataSet(const QString &name)
{
    auto *ds = m_dm->findChild<TZelDataSet *>(name);
    if (!ds)
        qFatal("no data set %s", qPrintable(name));
    return ds;
}

void TstDmCommon::execMain(const QString &sql)
{
    if (!m_db->trMain().isActive())
        m_db->trMain().start();
    db::Statement st(&m_db->database(), &m_db->trMain());
    st.setSql(sql);
    st.execute();
}

void TstDmCommon::dataSets_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("select");
    QTest::addColumn<QString>("generator");
    QTest::addColumn<bool>("onNewRecord");
    QTest::addColumn<QStringList>("uniqueKeys");
    QTest::addColumn<int>("joinedFields");

    QTest::newRow("CLIENTE") << "CLIENTE"
                             << "CLIENTE"
                             << "select * from CLIENTE order by ID"
                             << "GEN_CLIENTE_ID" << true << QStringList{} << 0;
    QTest::newRow("UNIDADE") << "UNIDADE"
                             << "UNIDADE"
                             << "select * from UNIDADE order by ID"
                             << "GEN_UNIDADE_ID" << false << QStringList{} << 0;
    QTest::newRow("BANCO") << "BANCO"
                           << "BANCO"
                           << "select * from BANCO order by BANCO"
                           << "" << false << QStringList{"BANCO"} << 0;
    QTest::newRow("CONTA_CORRENTE")
        << "CONTA_CORRENTE"
        << "CONTA_CORRENTE"
        << "select * from CONTA_CORRENTE where BANCO = :BANCO order by NUM_AGENCIA"
        << "" << false << QStringList{"BANCO;NUM_AGENCIA;NUM_CONTA"} << 0;
    QTest::newRow("DADOS_EMPRESA") << "DADOS_EMPRESA"
                                   << "DADOS_EMPRESA"
                                   << "select * from DADOS_EMPRESA where ID = 1"
                                   << "" << false << QStringList{} << 0;
    QTest::newRow("PRODUTO") << "PRODUTO"
                             << "PRODUTO"
                             << "select P.*, U.SIGLA, U.TITULO from PRODUTO P left join UNIDADE U on U.ID = "
                                "P.UNIDADEID order by P.ID"
                             << "GEN_PRODUTO_ID" << false << QStringList{} << 2;
    QTest::newRow("FORNECEDOR") << "FORNECEDOR"
                                << "FORNECEDOR"
                                << "Select * from FORNECEDOR Order by ID"
                                << "GEN_FORNECEDOR_ID" << true << QStringList{} << 0;
    QTest::newRow("CLIENTE_LKP") << "CLIENTE_LKP"
                                 << "CLIENTE"
                                 << "select * from CLIENTE order by ID"
                                 << "GEN_CLIENTE_ID" << true << QStringList{} << 0;
}

void TstDmCommon::dataSets()
{
    QFETCH(QString, name);
    QFETCH(QString, table);
    QFETCH(QString, select);
    QFETCH(QString, generator);
    QFETCH(bool, onNewRecord);
    QFETCH(QStringList, uniqueKeys);
    QFETCH(int, joinedFields);

    TZelDataSet *ds = dataSet(name);
    QCOMPARE(ds->TableName(), table);
    QCOMPARE(ds->selectSql().simplified(), select);
    QCOMPARE(ds->UniqueKeys(), uniqueKeys);
    QCOMPARE(ds->generatorField().generator, generator);
    if (!generator.isEmpty()) {
        QCOMPARE(ds->generatorField().field, QStringLiteral("ID"));
        QCOMPARE(ds->generatorField().applyOn,
                 onNewRecord ? db::GeneratorField::ApplyOn::NewRecord : db::GeneratorField::ApplyOn::Post);
    }

    auto *source = m_dm->findChild<db::DataSource *>(QStringLiteral("ds") + name);
    QVERIFY(source);
    QCOMPARE(source->dataSet(), ds);

    // Bound to the main connection, its default transaction and the session.
    QCOMPARE(ds->database(), &m_db->database());
    QCOMPARE(ds->transaction(), &m_db->trMain());
    QCOMPARE(ds->SQLGlobals(), &m_db->globals());

    // The persistent fields are exactly the table's columns (plus what a join brings).
    ds->open();
    const int columns =
        m_db->row(QStringLiteral("select count(*) from RDB$RELATION_FIELDS where RDB$RELATION_NAME = '%1'")
                      .arg(table))
            .toInt();
    QVERIFY(columns > 2);
    QCOMPARE(ds->fieldCount(), columns + joinedFields);
    for (int i = 0; i < ds->fieldCount() - joinedFields; ++i)
        QCOMPARE(ds->field(i)->origin(), table + QLatin1Char('.') + ds->field(i)->fieldName());
    ds->close();
}

void TstDmCommon::writeStatements_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("idAtAppend"); // "generated", "null" or a number

    QTest::newRow("CLIENTE") << "CLIENTE"
                             << "NOME"
                             << "ID = %1"
                             << "generated";
    QTest::newRow("UNIDADE") << "UNIDADE"
                             << "TITULO"
                             << "ID = %1"
                             << "null";
    QTest::newRow("BANCO") << "BANCO"
                           << "NOME"
                           << "BANCO = 901"
                           << "null";
    QTest::newRow("CONTA_CORRENTE") << "CONTA_CORRENTE"
                                    << "NOME_AGENCIA"
                                    << "BANCO = 900 and NUM_AGENCIA = '0001' and NUM_CONTA = '123'"
                                    << "null";
    QTest::newRow("DADOS_EMPRESA") << "DADOS_EMPRESA"
                                   << "RAZAO_SOCIAL"
                                   << "ID = %1"
                                   << "1";
    QTest::newRow("PRODUTO") << "PRODUTO"
                             << "DESCRICAO"
                             << "ID = %1"
                             << "null";
    QTest::newRow("FORNECEDOR") << "FORNECEDOR"
                                << "NOME"
                                << "ID = %1"
                                << "generated";
    QTest::newRow("CLIENTE_LKP") << "CLIENTE_LKP"
                                 << "NOME"
                                 << "ID = %1"
                                 << "generated";
}

void TstDmCommon::writeStatements()
{
    QFETCH(QString, name);
    QFETCH(QString, field);
    QFETCH(QString, where);
    QFETCH(QString, idAtAppend);

    TZelDataSet *ds = dataSet(name);
    if (name == QLatin1String("CONTA_CORRENTE")) {
        execMain(QStringLiteral("insert into BANCO (BANCO, NOME) values (900, 'MESTRE')"));
        m_dm->BANCO->open();
        QVERIFY(m_dm->BANCO->locate(QStringLiteral("BANCO"), 900));
    }
    ds->open();
    ds->append();
    db::Field &id = ds->fieldByName(QStringLiteral("ID"));
    if (idAtAppend == QLatin1String("null"))
        QVERIFY(id.isNull());
    else if (idAtAppend == QLatin1String("generated"))
        QVERIFY(id.asInteger() > 0);
    else
        QCOMPARE(id.asString(), idAtAppend);

    if (name == QLatin1String("BANCO"))
        ds->fieldByName(QStringLiteral("BANCO")).setAsInteger(901);
    if (name == QLatin1String("CONTA_CORRENTE")) {
        ds->fieldByName(QStringLiteral("NUM_AGENCIA")).setAsString(QStringLiteral("0001"));
        ds->fieldByName(QStringLiteral("NUM_CONTA")).setAsString(QStringLiteral("123"));
    }
    ds->fieldByName(field).setAsString(QStringLiteral("PRIMEIRO"));
    ds->post();
    const QString key = where.contains(QLatin1String("%1")) ? where.arg(id.asInteger()) : where;
    const QString read = QStringLiteral("select %1 from %2 where %3").arg(field, ds->TableName(), key);
    // Every row knows its ID once saved, also where the table's trigger gave it, so a change of the row
    // does not write the ID as null.
    QVERIFY(!id.isNull());
    QCOMPARE(m_db->row(QStringLiteral("select ID from %1 where %2").arg(ds->TableName(), key)),
             id.asString());
    QCOMPARE(m_db->row(read), QStringLiteral("PRIMEIRO"));

    ds->edit();
    ds->fieldByName(field).setAsString(QStringLiteral("SEGUNDO"));
    ds->post();
    QCOMPARE(m_db->row(read), QStringLiteral("SEGUNDO"));

    execMain(QStringLiteral("update %1 set %2 = 'DE FORA' where %3").arg(ds->TableName(), field, key));
    ds->refresh();
    QCOMPARE(ds->fieldByName(field).asString(), QStringLiteral("DE FORA"));

    ds->remove();
    QCOMPARE(m_db->row(read), QStringLiteral("<no row>"));
}

void TstDmCommon::personTypeText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");

    QTest::newRow("1") << "1" << 1;
    QTest::newRow("2") << "2" << 2;
    QTest::newRow("with blanks") << " 2 " << 2;
    QTest::newRow("letters") << "abc" << 0;
    QTest::newRow("digit then letter") << "1a" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("too big") << "99999999999" << 0;
}

void TstDmCommon::personTypeText()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);

    for (TZelDataSet *ds : {m_dm->CLIENTE, m_dm->CLIENTE_LKP}) {
        ds->open();
        ds->append();
        db::Field &tipo = ds->fieldByName(QStringLiteral("TIPOPESSOA"));
        QCOMPARE(tipo.displayText(), QString()); // a new client has no type yet
        tipo.setEditText(QStringLiteral("2"));
        tipo.setEditText(typed);
        QVERIFY(!tipo.isNull());
        QCOMPARE(tipo.asInteger(), stored);
        QCOMPARE(tipo.displayText(), QString::number(stored));
        QCOMPARE(tipo.editText(), QString::number(stored));
        ds->post();
        QCOMPARE(m_db->row(QStringLiteral("select TIPOPESSOA from CLIENTE where ID = %1")
                               .arg(ds->fieldByName(QStringLiteral("ID")).asInteger())),
                 QString::number(stored));
        ds->close();
    }
}

void TstDmCommon::documentEntry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("display");

    QTest::newRow("CPF punctuated") << "CLIENTE" << 1 << ""
                                    << "529.982.247-25"
                                    << "52998224725"
                                    << "529.982.247-25";
    QTest::newRow("CPF too long") << "CLIENTE" << 1 << ""
                                  << "529982247251234"
                                  << "52998224725"
                                  << "529.982.247-25";
    QTest::newRow("CNPJ punctuated") << "CLIENTE" << 2 << ""
                                     << "11.222.333/0001-81"
                                     << "11222333000181"
                                     << "11.222.333/0001-81";
    QTest::newRow("CNPJ too long") << "CLIENTE" << 2 << ""
                                   << "112223330001819999"
                                   << "11222333000181"
                                   << "11.222.333/0001-81";
    QTest::newRow("CNPJ short") << "CLIENTE" << 2 << ""
                                << "529.982.247-25"
                                << "52998224725"
                                << "52.998.224/725 -  ";
    QTest::newRow("no digits") << "CLIENTE" << 1 << "52998224725"
                               << "abc"
                               << ""
                               << "";
    QTest::newRow("type 0 ignores") << "CLIENTE" << 0 << "52998224725"
                                    << "11222333000181"
                                    << "52998224725"
                                    << "52998224725";
    QTest::newRow("type 3 ignores") << "CLIENTE" << 3 << ""
                                    << "123"
                                    << ""
                                    << "";
    QTest::newRow("look-up CPF") << "CLIENTE_LKP" << 1 << ""
                                 << "529.982.247-25"
                                 << "52998224725"
                                 << "529.982.247-25";
    QTest::newRow("look-up type 0") << "CLIENTE_LKP" << 0 << "123"
                                    << "456"
                                    << "123"
                                    << "123";
}

void TstDmCommon::documentEntry()
{
    QFETCH(QString, name);
    QFETCH(int, tipo);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, display);

    TZelDataSet *ds = dataSet(name);
    ds->open();
    ds->append();
    db::Field &doc = ds->fieldByName(QStringLiteral("CNPJ_CPF"));
    QCOMPARE(doc.displayLabel(), QStringLiteral("C.N.P.J./C.P.F."));
    if (!before.isEmpty())
        doc.setAsString(before);
    ds->fieldByName(QStringLiteral("TIPOPESSOA")).setAsInteger(tipo);
    doc.setEditText(typed);
    QCOMPARE(doc.asString(), stored);
    QCOMPARE(doc.displayText(), display);
    ds->post();
    QCOMPARE(m_db->row(QStringLiteral("select coalesce(CNPJ_CPF, '') from CLIENTE where ID = %1")
                           .arg(ds->fieldByName(QStringLiteral("ID")).asInteger())),
             stored);
}

void TstDmCommon::ddd_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // as "[" + value + "]", "<null>" for NULL

    QTest::newRow("TEL_DDD 11") << "CLIENTE"
                                << "TEL_DDD"
                                << "11"
                                << "[ 11]";
    QTest::newRow("FAX_DDD 11") << "CLIENTE"
                                << "FAX_DDD"
                                << "11"
                                << "[ 11]";
    QTest::newRow("CEL_DDD 11") << "CLIENTE"
                                << "CEL_DDD"
                                << "11"
                                << "[ 11]";
    QTest::newRow("blanks around") << "CLIENTE"
                                   << "TEL_DDD"
                                   << " 11 "
                                   << "[ 11]";
    QTest::newRow("left-aligned by a mask") << "CLIENTE"
                                            << "TEL_DDD"
                                            << "11 "
                                            << "[ 11]";
    QTest::newRow("one digit") << "CLIENTE"
                               << "FAX_DDD"
                               << "1"
                               << "[  1]";
    QTest::newRow("three digits") << "CLIENTE"
                                  << "CEL_DDD"
                                  << "011"
                                  << "[011]";
    QTest::newRow("empty") << "CLIENTE"
                           << "TEL_DDD"
                           << ""
                           << "<null>";
    QTest::newRow("blanks only") << "CLIENTE"
                                 << "CEL_DDD"
                                 << "   "
                                 << "<null>";
    QTest::newRow("look-up") << "CLIENTE_LKP"
                             << "TEL_DDD"
                             << "21"
                             << "[ 21]";
}

void TstDmCommon::ddd()
{
    QFETCH(QString, name);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, stored);

    TZelDataSet *ds = dataSet(name);
    ds->open();
    ds->append();
    db::Field &f = ds->fieldByName(field);
    f.setEditText(QStringLiteral("99"));
    f.setEditText(typed);
    ds->post();
    QCOMPARE(m_db->row(QStringLiteral("select '[' || %1 || ']' from CLIENTE where ID = %2")
                           .arg(field)
                           .arg(ds->fieldByName(QStringLiteral("ID")).asInteger())),
             stored);
}

void TstDmCommon::masks_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("mask");

    for (const char *ds : {"CLIENTE", "CLIENTE_LKP"}) {
        for (const char *f : {"TEL_DDD", "FAX_DDD", "CEL_DDD"})
            QTest::addRow("%s.%s", ds, f) << ds << f << "999;0; ";
        QTest::addRow("%s.RG_RESP", ds) << ds << "RG_RESP"
                                        << "99.999.999->a;0; ";
        QTest::addRow("%s.NOME", ds) << ds << "NOME"
                                     << "";
    }
}

void TstDmCommon::masks()
{
    QFETCH(QString, name);
    QFETCH(QString, field);
    QFETCH(QString, mask);

    QCOMPARE(dataSet(name)->fieldByName(field).editMask(), mask);
}

void TstDmCommon::contaCorrenteFollowsBanco()
{
    execMain(QStringLiteral("insert into BANCO (BANCO, NOME) values (341, 'ITAU')"));
    execMain(QStringLiteral("insert into BANCO (BANCO, NOME) values (1, 'BRASIL')"));
    execMain(QStringLiteral("insert into BANCO (BANCO, NOME) values (237, 'BRADESCO')"));
    execMain(
        QStringLiteral("insert into CONTA_CORRENTE (BANCO, NUM_AGENCIA, NUM_CONTA) values (1, '0002', '9')"));
    execMain(
        QStringLiteral("insert into CONTA_CORRENTE (BANCO, NUM_AGENCIA, NUM_CONTA) values (1, '0001', '5')"));
    execMain(QStringLiteral(
        "insert into CONTA_CORRENTE (BANCO, NUM_AGENCIA, NUM_CONTA) values (341, '1234', '77')"));

    TZelDataSet *banco = m_dm->BANCO;
    TZelDataSet *conta = m_dm->CONTA_CORRENTE;
    const auto accounts = [conta] {
        QStringList list;
        for (conta->first(); !conta->eof(); conta->next())
            list << conta->fieldByName(QStringLiteral("BANCO")).asString() + QLatin1Char('/') +
                        conta->fieldByName(QStringLiteral("NUM_AGENCIA")).asString() + QLatin1Char('/') +
                        conta->fieldByName(QStringLiteral("NUM_CONTA")).asString();
        return list;
    };

    banco->open();
    conta->open();
    QCOMPARE(banco->fieldByName(QStringLiteral("BANCO")).asInteger(), 1);
    QCOMPARE(accounts(), (QStringList{"1/0001/5", "1/0002/9"}));
    banco->next();
    QCOMPARE(banco->fieldByName(QStringLiteral("BANCO")).asInteger(), 237);
    QCOMPARE(accounts(), QStringList{});
    banco->next();
    QCOMPARE(accounts(), QStringList{"341/1234/77"});

    // A new account is created under the current bank.
    conta->append();
    QCOMPARE(conta->fieldByName(QStringLiteral("BANCO")).asInteger(), 341);
    conta->fieldByName(QStringLiteral("NUM_AGENCIA")).setAsString(QStringLiteral("0500"));
    conta->fieldByName(QStringLiteral("NUM_CONTA")).setAsString(QStringLiteral("88"));
    conta->post();
    QCOMPARE(m_db->row(QStringLiteral("select count(*) from CONTA_CORRENTE where BANCO = 341")),
             QStringLiteral("2"));
    banco->first();
    QCOMPARE(accounts(), (QStringList{"1/0001/5", "1/0002/9"}));
    banco->last();
    QCOMPARE(accounts(), (QStringList{"341/0500/88", "341/1234/77"}));
}

void TstDmCommon::bancoUniqueKeys()
{
    execMain(QStringLiteral("insert into BANCO (BANCO, NOME) values (1, 'BRASIL')"));
    execMain(
        QStringLiteral("insert into CONTA_CORRENTE (BANCO, NUM_AGENCIA, NUM_CONTA) values (1, '0001', '5')"));
    m_dm->BANCO->open();
    m_dm->CONTA_CORRENTE->open();

    m_dm->CONTA_CORRENTE->append();
    m_dm->CONTA_CORRENTE->fieldByName(QStringLiteral("NUM_AGENCIA")).setAsString(QStringLiteral("0001"));
    m_dm->CONTA_CORRENTE->fieldByName(QStringLiteral("NUM_CONTA")).setAsString(QStringLiteral("5"));
    QVERIFY(ZelDataSet::IsDuplicate(*m_dm->CONTA_CORRENTE));
    m_dm->CONTA_CORRENTE->fieldByName(QStringLiteral("NUM_CONTA")).setAsString(QStringLiteral("6"));
    QVERIFY(!ZelDataSet::IsDuplicate(*m_dm->CONTA_CORRENTE));
    m_dm->CONTA_CORRENTE->cancel();

    m_dm->BANCO->append();
    m_dm->BANCO->fieldByName(QStringLiteral("BANCO")).setAsInteger(1);
    QVERIFY(ZelDataSet::IsDuplicate(*m_dm->BANCO));
    m_dm->BANCO->fieldByName(QStringLiteral("BANCO")).setAsInteger(2);
    QVERIFY(!ZelDataSet::IsDuplicate(*m_dm->BANCO));
    m_dm->BANCO->cancel();
}

void TstDmCommon::produtoShowsItsUnit()
{
    TZelDataSet *unidade = m_dm->UNIDADE;
    unidade->open();
    unidade->append();
    unidade->fieldByName(QStringLiteral("SIGLA")).setAsString(QStringLiteral("KG"));
    unidade->fieldByName(QStringLiteral("TITULO")).setAsString(QStringLiteral("QUILO"));
    unidade->post();
    const int unidadeId = unidade->fieldByName(QStringLiteral("ID")).asInteger();
    QVERIFY(unidadeId > 0);

    TZelDataSet *produto = m_dm->PRODUTO;
    QVERIFY(!produto->insertSql().contains(QLatin1String("SIGLA")));
    QVERIFY(!produto->modifySql().contains(QLatin1String("TITULO")));
    produto->open();
    produto->append();
    produto->fieldByName(QStringLiteral("UNIDADEID")).setAsInteger(unidadeId);
    produto->fieldByName(QStringLiteral("DESCRICAO")).setAsString(QStringLiteral("ARROZ"));
    produto->fieldByName(QStringLiteral("VALOR")).setAsDouble(12.5);
    produto->post();
    const int id = produto->fieldByName(QStringLiteral("ID")).asInteger();
    produto->refresh();
    QCOMPARE(produto->fieldByName(QStringLiteral("SIGLA")).asString(), QStringLiteral("KG"));
    QCOMPARE(produto->fieldByName(QStringLiteral("DESCRICAO")).asString(), QStringLiteral("ARROZ"));

    produto->close();
    produto->open();
    QVERIFY(produto->LocateID(id));
    QCOMPARE(produto->fieldByName(QStringLiteral("SIGLA")).asString(), QStringLiteral("KG"));
    QCOMPARE(produto->fieldByName(QStringLiteral("TITULO")).asString(), QStringLiteral("QUILO"));
    QCOMPARE(produto->fieldByName(QStringLiteral("VALOR")).asDouble(), 12.5);
}

void TstDmCommon::dadosEmpresaIsRowOne()
{
    TZelDataSet *empresa = m_dm->DADOS_EMPRESA;
    empresa->open();
    QVERIFY(empresa->isEmpty());
    empresa->append();
    QCOMPARE(empresa->fieldByName(QStringLiteral("ID")).asInteger(), 1);
    empresa->fieldByName(QStringLiteral("RAZAO_SOCIAL"))
        .setAsString(QStringLiteral("LEILOEIRO OFICIAL LTDA"));
    empresa->fieldByName(QStringLiteral("CEP")).setAsString(QStringLiteral("01310-100"));
    empresa->post();
    execMain(QStringLiteral("insert into DADOS_EMPRESA (ID, RAZAO_SOCIAL) values (2, 'OUTRA')"));
    empresa->close();
    empresa->open();
    QCOMPARE(empresa->recordCount(), 1);
    QCOMPARE(empresa->fieldByName(QStringLiteral("RAZAO_SOCIAL")).asString(),
             QStringLiteral("LEILOEIRO OFICIAL LTDA"));
    QCOMPARE(m_db->row(QStringLiteral("select CEP from DADOS_EMPRESA where ID = 1")),
             QStringLiteral("01310-100"));
}

void TstDmCommon::keyFilters_data()
{
    QTest::addColumn<bool>("digitFilter");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("allowOthers");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("passes");

    const QString backspace(QChar(8));
    const QString escape(QChar(27));
    QTest::newRow("digit: 7") << true << "7" << false << true << true;
    QTest::newRow("digit: 0") << true << "0" << false << true << true;
    QTest::newRow("digit: 9") << true << "9" << false << true << true;
    QTest::newRow("digit: backspace") << true << backspace << false << true << true;
    QTest::newRow("digit: escape") << true << escape << false << true << true;
    QTest::newRow("digit: blank") << true << " " << false << true << true;
    QTest::newRow("digit: percent") << true << "%" << false << true << true;
    QTest::newRow("digit: apostrophe") << true << "'" << false << true << true;
    QTest::newRow("digit: A swallowed") << true << "A" << false << false << false;
    QTest::newRow("digit: hyphen swallowed") << true << "-" << false << false << false;
    QTest::newRow("digit: dot swallowed") << true << "." << false << false << false;
    QTest::newRow("digit: enter swallowed") << true << QString(QChar(13)) << false << false << false;
    QTest::newRow("digit: arabic-indic three swallowed")
        << true << QString(QChar(0x0663)) << false << false << false;
    QTest::newRow("digit: A allowed") << true << "A" << true << false << true;
    QTest::newRow("digit: 5 with others") << true << "5" << true << true << true;
    QTest::newRow("control: backspace") << false << backspace << false << true << true;
    QTest::newRow("control: apostrophe") << false << "'" << false << true << true;
    QTest::newRow("control: 7 swallowed") << false << "7" << false << false << false;
    QTest::newRow("control: A swallowed") << false << "A" << false << false << false;
    QTest::newRow("control: A allowed") << false << "A" << true << false << true;
    QTest::newRow("control: percent allowed") << false << "%" << true << true << true;
}

void TstDmCommon::keyFilters()
{
    QFETCH(bool, digitFilter);
    QFETCH(QString, key);
    QFETCH(bool, allowOthers);
    QFETCH(bool, result);
    QFETCH(bool, passes);

    QChar k = key.at(0);
    const bool answer =
        digitFilter ? TdmCommon::DigitKeyFilter(k, allowOthers) : TdmCommon::IsControlKey(k, allowOthers);
    QCOMPARE(answer, result);
    QCOMPARE(k, passes ? key.at(0) : QChar());
}

QTEST_MAIN(TstDmCommon)
#include "tst_dmcommon.moc"
