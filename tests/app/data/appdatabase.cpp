#include "appdatabase.h"

#include "app/schema/dmversaoleilao.h"
#include "framework/data/mainconnection.h"
#include "platform/db/statement.h"

#include <QtTest>

AppDatabase::AppDatabase()
{
    if (!m_dir.isValid())
        qFatal("cannot create a temporary folder");
    m_path = m_dir.filePath(QStringLiteral("leilao.fdb"));
    {
        db::Database creator;
        creator.setDatabaseName(m_path);
        creator.setParams({QStringLiteral("USER 'SYSDBA'"), QStringLiteral("PASSWORD 'quillbrex'"),
                           QStringLiteral("PAGE_SIZE 4096")});
        creator.createDatabase();
        creator.close();
    }
    TdmVersaoLeilao().CreateSchema(m_path);

    m_database = std::make_unique<db::Database>();
    m_database->setObjectName(QStringLiteral("dbMain"));
    m_database->setDatabaseName(m_path);
    m_database->setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbrex"),
                           QStringLiteral("lc_ctype=WIN1252")});
    m_trMain = std::make_unique<db::Transaction>();
    m_trMain->setObjectName(QStringLiteral("trMain"));
    m_trMain->setDefaultDatabase(m_database.get());
    m_trMain->setParams(
        {QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")});
    m_trMain->setDefaultAction(db::EndAction::Rollback);
    m_database->setDefaultTransaction(m_trMain.get());
    m_database->open();
    m_globals = std::make_unique<TZelSQLGlobals>();
    MainConnection::publish(m_database.get(), m_globals.get());
}

AppDatabase::~AppDatabase()
{
    MainConnection::withdraw();
    try {
        m_globals.reset();
        m_trMain.reset();
        m_database.reset();
    } catch (...) {
    }
}

void AppDatabase::exec(const QStringList &statements)
{
    db::Transaction tr;
    tr.setDefaultDatabase(m_database.get());
    tr.setParams(m_trMain->params());
    tr.start();
    for (const QString &sql : statements) {
        db::Statement st(m_database.get(), &tr);
        st.setSql(sql);
        st.execute();
    }
    tr.commit();
}

QString AppDatabase::row(const QString &sql)
{
    const QStringList all = rows(sql);
    return all.isEmpty() ? QStringLiteral("<no row>") : all.first();
}

QStringList AppDatabase::rows(const QString &sql)
{
    if (!m_trMain->isActive())
        m_trMain->start();
    db::Statement st(m_database.get(), m_trMain.get());
    st.setSql(sql);
    st.execute();
    QStringList result;
    while (st.next()) {
        QStringList columns;
        for (int i = 0; i < st.columnCount(); ++i)
            columns << (st.field(i).isNull() ? QStringLiteral("<null>") : st.field(i).asString());
        result << columns.join(u'|');
    }
    st.close();
    return result;
}
