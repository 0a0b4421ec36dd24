#include "testdatabase.h"

#include "platform/db/statement.h"

#include <QtTest>

TestDatabase::TestDatabase(const QString &fileName)
{
    if (!m_dir.isValid())
        qFatal("cannot create a temporary folder");
    m_path = m_dir.filePath(fileName);
    m_database = std::make_unique<db::Database>();
    m_database->setDatabaseName(m_path);
    m_database->setParams({QStringLiteral("USER 'SYSDBA'"), QStringLiteral("PASSWORD 'quillbrex'"),
                           QStringLiteral("PAGE_SIZE 4096")});
    m_database->createDatabase();
    m_database->close();
    m_database->setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbrex"),
                           QStringLiteral("lc_ctype=WIN1252")});
    m_database->open();
    m_transaction = std::make_unique<db::Transaction>();
    m_transaction->setObjectName(QStringLiteral("trTest"));
    m_transaction->setDefaultDatabase(m_database.get());
    m_transaction->setParams(transactionParams());
    m_transaction->start();
}

TestDatabase::~TestDatabase()
{
    try {
        m_transaction.reset();
        m_database.reset();
    } catch (...) {
    }
}

QStringList TestDatabase::transactionParams()
{
    return {QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")};
}

void TestDatabase::exec(const QStringList &statements)
{
    db::Transaction tr;
    tr.setDefaultDatabase(m_database.get());
    tr.setParams(transactionParams());
    tr.start();
    for (const QString &sql : statements) {
        db::Statement st(m_database.get(), &tr);
        st.setParamCheck(false);
        st.setSql(sql);
        st.execute();
    }
    tr.commit();
}

std::unique_ptr<db::Database> TestDatabase::connectAgain() const
{
    auto other = std::make_unique<db::Database>();
    other->setDatabaseName(m_path);
    other->setParams(m_database->params());
    other->open();
    return other;
}
