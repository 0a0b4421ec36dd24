#include "app/admin/admincommands.h"
#include "app/admin/consoleupgradedialogs.h"
#include "app/schema/dmversaoleilao.h"
#include "framework/schema/upgrade/upgradedialogs.h"
#include "framework/schema/version/clscustomversion.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/statement.h"

#include "testenv.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

namespace {

/// Answers the upgrade's questions as the test says and remembers what was asked.
class ScriptedDialogs final : public UpgradeDialogs
{
public:
    bool makeBackup = false;
    bool proceed = true;
    int backupQuestions = 0;
    int confirmations = 0;
    bool lastSkip = false;
    QStringList messages;

    bool askMakeBackup() override
    {
        ++backupQuestions;
        return makeBackup;
    }
    bool confirmUpgrade(db::Database &connection, const QString &, bool skipBackup) override
    {
        ++confirmations;
        lastSkip = skipBackup;
        return connection.isConnected() && proceed;
    }
    void showMessage(const QString &text) override { messages << text; }
};

/// The application's module with only the first versions of each family.
std::unique_ptr<TClsCustomVersion> partialModule(int commonCount, int leilaoCount)
{
    auto module = std::make_unique<TdmVersaoLeilao>();
    module->ScriptsCommon->Versions.resize(size_t(commonCount));
    module->Scripts->Versions.resize(size_t(leilaoCount));
    return module;
}

void createEmpty(const QString &path)
{
    db::Database database;
    database.setDatabaseName(path);
    database.setParams({QStringLiteral("USER 'SYSDBA' PASSWORD 'quillbrex' PAGE_SIZE 4096")});
    database.createDatabase();
    database.close();
}

// Rows as "a|b|c" lines, null written as "<null>".
QStringList rowsOf(const QString &path, const QString &sql)
{
    db::Database database;
    database.setDatabaseName(path);
    database.open();
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.start();
    db::Statement st(&database, &tr);
    st.setSql(sql);
    st.execute();
    QStringList rows;
    while (st.next()) {
        QStringList values;
        for (int i = 0; i < st.columnCount(); ++i)
            values << (st.field(i).isNull() ? QStringLiteral("<null>") : st.field(i).asString().trimmed());
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList installed(const QString &path)
{
    return rowsOf(path, QStringLiteral("select SCRIPT || '-' || NUMERO from VERSAO order by ID"));
}

void execOn(const QString &path, const QString &sql)
{
    db::Database database;
    database.setDatabaseName(path);
    database.open();
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.start();
    db::Statement st(&database, &tr);
    st.setSql(sql);
    st.execute();
    tr.commit();
}

const QString kHeader =
    QStringLiteral("A Versão deste programa é incompatível com a versão do banco de dados\r\n"
                   "Atualize o programa e tente novamente.\r\n\r\n");

} // namespace

class TstUpgrade : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void versionNumber_data();
    void versionNumber();
    void programWritesTheFirstRows_data();
    void programWritesTheFirstRows();
    void upToDateDatabaseRunsNothing();
    void olderCommonRunsTheMissingVersionsOnce();
    void missingFamilyRunsWholeFamily();
    void newerDatabaseIsRefused();
    void missingDatabaseIsRefusedSilently();
    void declinedUpgradeIsRefused();
    void failingScriptStopsAndRefuses();
    void consoleRefusesWhileOthersAreAttached();
    void consoleBackupFailureStopsUpgrade();
    void consoleBacksUpAndUpgrades();
    void adminCommandsThroughServer();

private:
    QString copyOf(const QString &templatePath, const QString &name);
    QTemporaryDir m_dir;
    QString m_full;
    QString m_common105;
    QString m_commonOnly;
};

void TstUpgrade::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_full = m_dir.filePath(QStringLiteral("full.fdb"));
    createEmpty(m_full);
    QVERIFY(TdmVersaoLeilao().CreateSchema(m_full));
    m_common105 = m_dir.filePath(QStringLiteral("common105.fdb"));
    createEmpty(m_common105);
    QVERIFY(partialModule(6, 2)->CreateSchema(m_common105));
    m_commonOnly = m_dir.filePath(QStringLiteral("commononly.fdb"));
    createEmpty(m_commonOnly);
    QVERIFY(partialModule(9, 0)->CreateSchema(m_commonOnly));
}

QString TstUpgrade::copyOf(const QString &templatePath, const QString &name)
{
    const QString path = m_dir.filePath(name);
    QFile::remove(path);
    if (!QFile::copy(templatePath, path))
        qFatal("cannot copy the template database");
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

void TstUpgrade::versionNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("1.08") << "1.08" << 108;
    QTest::newRow("1.10") << "1.10" << 110;
    QTest::newRow("1.09") << "1.09" << 109;
    QTest::newRow("2.0") << "2.0" << 20;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("letters") << "1.0a" << 0;
}

void TstUpgrade::versionNumber()
{
    QFETCH(QString, text);
    QTEST(VersionNumber(text), "number");
    QVERIFY(VersionNumber(QStringLiteral("1.10")) > VersionNumber(QStringLiteral("1.09")));
}

void TstUpgrade::programWritesTheFirstRows_data()
{
    // The rows the scripts write, read back from databases the program itself created and upgraded (its
    // executor, not a test's, decodes the scripts' accented text).
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("rows");
    const QString modulos = QStringLiteral("select ID, MODULO, char_length(MODULO) from MODULO order by ID");
    const QStringList bothModules{QStringLiteral("1|QUINTARIS|9"), QStringLiteral("3|USUÁRIOS|8")};
    const QString users =
        QStringLiteral("select ID, USUARIO, SENHA, PRIMEIRO_NOME, ULTIMO_NOME, OBSERVACAO, "
                       "SUPERVISOR, SUPERVISORID, EMAIL, DESATIVADO from USUARIO order by ID");
    const QStringList admin{QStringLiteral("1|ADMIN|<null>|Administrador|Sistema|<null>|T|1|<null>|<null>")};
    const QString grants =
        QStringLiteral("select USUARIOID, MODULOID, TUDO from USUARIO_MODULO order by 1, 2");
    const QString versions = QStringLiteral("select ID, SCRIPT, NUMERO from VERSAO order by ID");
    const QStringList current{QStringLiteral("1|COMMON.SQL|1.08"), QStringLiteral("2|LEILAO.SQL|1.01")};

    QTest::newRow("new: modules") << QStringLiteral("full") << modulos << bothModules;
    QTest::newRow("new: users") << QStringLiteral("full") << users << admin;
    QTest::newRow("new: grants") << QStringLiteral("full") << grants << QStringList{QStringLiteral("1|3|S")};
    QTest::newRow("new: versions") << QStringLiteral("full") << versions << current;
    QTest::newRow("new: next user") << QStringLiteral("full")
                                    << QStringLiteral("select gen_id(GEN_USUARIO_ID, 0) from RDB$DATABASE")
                                    << QStringList{QStringLiteral("1")};
    QTest::newRow("COMMON only: modules")
        << QStringLiteral("commononly") << modulos << QStringList{QStringLiteral("3|USUÁRIOS|8")};
    QTest::newRow("COMMON only: versions")
        << QStringLiteral("commononly") << versions << QStringList{QStringLiteral("1|COMMON.SQL|1.08")};
    QTest::newRow("COMMON only, then upgraded: modules")
        << QStringLiteral("commononly+") << modulos << bothModules;
    QTest::newRow("COMMON only, then upgraded: versions")
        << QStringLiteral("commononly+") << versions << current;
}

void TstUpgrade::programWritesTheFirstRows()
{
    QFETCH(QString, database);
    QFETCH(QString, sql);
    QFETCH(QStringList, rows);
    QString path = database == QLatin1String("full") ? m_full : m_commonOnly;
    if (database.endsWith(QLatin1Char('+'))) {
        path = copyOf(m_commonOnly, QStringLiteral("rows.fdb"));
        TdmVersaoLeilao module;
        ScriptedDialogs dialogs;
        QVERIFY(UpdateDatabase(module, path, dialogs));
    }
    QCOMPARE(rowsOf(path, sql), rows);
}

void TstUpgrade::upToDateDatabaseRunsNothing()
{
    const QString path = copyOf(m_full, QStringLiteral("a.fdb"));
    TdmVersaoLeilao module;
    QStringList ran;
    module.onVersionRun = [&](const TVersion &v) { ran << v.displayText(); };
    ScriptedDialogs dialogs;
    QVERIFY(UpdateDatabase(module, path, dialogs));
    QVERIFY(ran.isEmpty());
    QCOMPARE(dialogs.backupQuestions, 0);
    QCOMPARE(dialogs.confirmations, 0);
    QVERIFY(dialogs.messages.isEmpty());
}

void TstUpgrade::olderCommonRunsTheMissingVersionsOnce()
{
    const QString path = copyOf(m_common105, QStringLiteral("b.fdb"));
    QCOMPARE(installed(path),
             (QStringList{QStringLiteral("COMMON.SQL-1.05"), QStringLiteral("LEILAO.SQL-1.01")}));
    TdmVersaoLeilao module;
    QStringList ran;
    module.onVersionRun = [&](const TVersion &v) { ran << v.displayText(); };
    ScriptedDialogs dialogs;
    QVERIFY(UpdateDatabase(module, path, dialogs));
    QCOMPARE(ran, (QStringList{QStringLiteral("COMMON.SQL - 1.06"), QStringLiteral("COMMON.SQL - 1.07"),
                               QStringLiteral("COMMON.SQL - 1.08")}));
    QCOMPARE(dialogs.backupQuestions, 1);
    QCOMPARE(dialogs.confirmations, 1);
    QVERIFY(dialogs.lastSkip);
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("Banco de Dados foi atualizado com sucesso.")});
    QCOMPARE(installed(path),
             (QStringList{QStringLiteral("COMMON.SQL-1.08"), QStringLiteral("LEILAO.SQL-1.01")}));
}

void TstUpgrade::missingFamilyRunsWholeFamily()
{
    const QString path = copyOf(m_commonOnly, QStringLiteral("c.fdb"));
    TdmVersaoLeilao module;
    QStringList ran;
    module.onVersionRun = [&](const TVersion &v) { ran << v.displayText(); };
    ScriptedDialogs dialogs;
    dialogs.makeBackup = true;
    QVERIFY(UpdateDatabase(module, path, dialogs));
    QCOMPARE(ran, (QStringList{QStringLiteral("LEILAO.SQL - 1.00"), QStringLiteral("LEILAO.SQL - 1.01")}));
    QVERIFY(!dialogs.lastSkip);
    QCOMPARE(installed(path).last(), QStringLiteral("LEILAO.SQL-1.01"));
}

void TstUpgrade::newerDatabaseIsRefused()
{
    const QString path = copyOf(m_full, QStringLiteral("d.fdb"));
    execOn(path, QStringLiteral("update VERSAO set NUMERO = '1.09' where SCRIPT = 'COMMON.SQL'"));
    TdmVersaoLeilao module;
    ScriptedDialogs dialogs;
    QVERIFY(!UpdateDatabase(module, path, dialogs));
    QCOMPARE(dialogs.confirmations, 0);
    QCOMPARE(dialogs.messages, QStringList{kHeader + QStringLiteral("Programa: COMMON.SQL-1.08\r\n"
                                                                    "Banco de Dados: COMMON.SQL-1.09")});
}

void TstUpgrade::missingDatabaseIsRefusedSilently()
{
    TdmVersaoLeilao module;
    ScriptedDialogs dialogs;
    QVERIFY(!UpdateDatabase(module, m_dir.filePath(QStringLiteral("nao-existe.fdb")), dialogs));
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(dialogs.confirmations, 0);
}

void TstUpgrade::declinedUpgradeIsRefused()
{
    const QString path = copyOf(m_common105, QStringLiteral("e.fdb"));
    TdmVersaoLeilao module;
    QStringList ran;
    module.onVersionRun = [&](const TVersion &v) { ran << v.displayText(); };
    ScriptedDialogs dialogs;
    dialogs.proceed = false;
    QVERIFY(!UpdateDatabase(module, path, dialogs));
    QVERIFY(ran.isEmpty());
    QCOMPARE(dialogs.confirmations, 1); // asked once, not again for 1.07 and 1.08
    QCOMPARE(dialogs.messages, QStringList{kHeader + QStringLiteral("Programa: COMMON.SQL-1.08\r\n"
                                                                    "Banco de Dados: COMMON.SQL-1.05")});
    QCOMPARE(installed(path).first(), QStringLiteral("COMMON.SQL-1.05"));
}

void TstUpgrade::failingScriptStopsAndRefuses()
{
    const QString path = copyOf(m_common105, QStringLiteral("f.fdb"));
    TdmVersaoLeilao module;
    module.ScriptsCommon->Versions[6].Script =
        QStringList{QStringLiteral("set TERM ^ ;"), QStringLiteral("create table XPTO (A integer)^"),
                    QStringLiteral("insert into NAO_EXISTE values (1)^")};
    ScriptedDialogs dialogs;
    QVERIFY(!UpdateDatabase(module, path, dialogs));
    QVERIFY(dialogs.messages.isEmpty()); // the connection step says the rest
    QCOMPARE(installed(path).first(), QStringLiteral("COMMON.SQL-1.05"));
}

void TstUpgrade::consoleRefusesWhileOthersAreAttached()
{
    const QString path = copyOf(m_common105, QStringLiteral("g.fdb"));
    db::Database other;
    other.setDatabaseName(path);
    other.open();
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    ConsoleUpgradeDialogs dialogs(false, out, err);
    TdmVersaoLeilao module;
    QVERIFY(!UpdateDatabase(module, path, dialogs));
    QVERIFY(errText.contains(QStringLiteral("Existe(m) 1 usuário(s) conectados.")));
    QCOMPARE(installed(path).first(), QStringLiteral("COMMON.SQL-1.05"));
}

void TstUpgrade::consoleBackupFailureStopsUpgrade()
{
    const QString folder = m_dir.filePath(QStringLiteral("h"));
    QDir().mkpath(folder);
    const QString path = copyOf(m_common105, QStringLiteral("h/h.fdb"));
    // A folder where the backup file would go makes the service fail to open it (for this minute and the
    // next).
    const QDateTime now = QDateTime::currentDateTime();
    for (int m = 0; m < 2; ++m)
        QDir().mkpath(path + now.addSecs(60 * m).toString(QStringLiteral("-yyyy-MM-dd-HH-mm")) +
                      QStringLiteral(".gbk"));
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    ConsoleUpgradeDialogs dialogs(true, out, err);
    TdmVersaoLeilao module;
    QVERIFY(!UpdateDatabase(module, path, dialogs));
    QVERIFY(errText.contains(
        QStringLiteral("Backup não efetuado. Não será possível efetuar a atualização do banco de dados.")));
    QCOMPARE(installed(path).first(), QStringLiteral("COMMON.SQL-1.05"));
}

void TstUpgrade::consoleBacksUpAndUpgrades()
{
    const QString path = copyOf(m_common105, QStringLiteral("i.fdb"));
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    ConsoleUpgradeDialogs dialogs(true, out, err);
    TdmVersaoLeilao module;
    QVERIFY2(UpdateDatabase(module, path, dialogs), qPrintable(errText));
    QVERIFY(QFileInfo(dialogs.backupFile()).size() > 0);
    QVERIFY(dialogs.backupFile().startsWith(path + QLatin1Char('-')));
    QVERIFY(outText.contains(QStringLiteral("Banco de Dados foi atualizado com sucesso.")));
    QCOMPARE(installed(path).first(), QStringLiteral("COMMON.SQL-1.08"));
}

void TstUpgrade::adminCommandsThroughServer()
{
    const QString host = testenv::serverHost();
    if (host.isEmpty())
        QSKIP("No Firebird server configured (QUINTARIS_TEST_SERVER)");
    qputenv("QUINTARIS_ADMIN_PASSWORD", testenv::serverPassword().toUtf8());
    const QString path =
        testenv::serverDirectory() +
        QStringLiteral("/qx-admin-%1.fdb").arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    const QString name = host + QLatin1Char(':') + path;
    VersionModuleClass = [] { return std::make_unique<TdmVersaoLeilao>(); };
    AdminCommands commands;
    RegisterSchemaCommands(commands);
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    QCOMPARE(commands.run({QStringLiteral("create-database"), name}, out, err), 0);
    auto drop = qScopeGuard([&] {
        db::Database database;
        database.setDatabaseName(name);
        database.setParams(AdminLoginParams());
        database.open();
        database.dropDatabase();
    });
    out.flush();
    QVERIFY2(outText.contains(QStringLiteral("Banco de Dados criado com sucesso.")), qPrintable(errText));
    QVERIFY(outText.contains(QStringLiteral("LEILAO.SQL - 1.01")));
    QCOMPARE(commands.run({QStringLiteral("upgrade"), name}, out, err),
             0); // nothing to run: no backup either
    {
        db::Database database;
        database.setDatabaseName(name);
        database.setParams(AdminLoginParams());
        database.open();
        db::Transaction tr;
        tr.setDefaultDatabase(&database);
        tr.start();
        db::Statement st(&database, &tr);
        st.setSql(QStringLiteral("select count(*) from VERSAO"));
        st.execute();
        QVERIFY(st.next());
        QCOMPARE(st.field(0).asInteger(), 2);
    }
    qunsetenv("QUINTARIS_ADMIN_PASSWORD");
}

QTEST_GUILESS_MAIN(TstUpgrade)
#include "tst_upgrade.moc"
