#include "importfixture.h"

#include "app/admin/admincommands.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <memory>

using namespace importtest;

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run run(const QStringList &args)
{
    AdminCommands commands;
    RegisterImportCommands(commands);
    Run result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status = commands.run(args, out, err);
    out.flush();
    err.flush();
    return result;
}

} // namespace

class TestImportCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void checkFile_data();
    void checkFile();
    void importAsUser_data();
    void importAsUser();
    void refusedImports_data();
    void refusedImports();
    void renameFailure();
    void usage_data();
    void usage();

private:
    QString filePath(const QString &name) const { return m_workDir->filePath(name); }

    QTemporaryDir m_dir;
    QString m_template;
    std::unique_ptr<QTemporaryDir> m_workDir;
    QString m_dbPath;
};

void TestImportCommands::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_template = createTemplate(m_dir.path());
}

void TestImportCommands::init()
{
    m_workDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_workDir->isValid());
    m_dbPath = copyDatabase(m_template, m_workDir->filePath(QStringLiteral("leilao.fdb")));
}

void TestImportCommands::cleanup()
{
    m_workDir.reset();
}

void TestImportCommands::checkFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    QTest::newRow("valid") << fileBytes(threeNoteFile()) << 0 << "Arquivo válido: 3 nota(s), total 400,00.\n"
                           << "";
    QTest::newRow("big total") << fileBytes({noteLine(123456789, 1), totalsLine(1, 123456789)}) << 0
                               << "Arquivo válido: 1 nota(s), total 1.234.567,89.\n"
                               << "";
    QStringList fourCounted = threeNoteFile();
    fourCounted.last() = totalsLine(4, 40000);
    QTest::newRow("count 4") << fileBytes(fourCounted) << 1 << ""
                             << "Total de registros do totalizador não bate.\n";
    QStringList both = threeNoteFile();
    both.last() = totalsLine(2, 1);
    // One sentence per line on a terminal, not the carriage returns meant for a message box.
    QTest::newRow("both totals") << fileBytes(both) << 1 << ""
                                 << "Valor total do registro totalizador não bate.\n"
                                    "Total de registros do totalizador não bate.\n";
    QStringList shortNote = threeNoteFile();
    shortNote[0].chop(1);
    QTest::newRow("167 characters") << fileBytes(shortNote) << 1 << "" << LengthError1 + u'\n';
}

void TestImportCommands::checkFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    const QString file = filePath(QStringLiteral("leilao.txt"));
    writeFile(file, bytes);
    const Run r = run({QStringLiteral("verificar-importacao"), file});
    QCOMPARE(r.err, err);
    QCOMPARE(r.out, out);
    QCOMPARE(r.status, status);
    QVERIFY(QFileInfo::exists(file)); // checking never renames
}

void TestImportCommands::importAsUser_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<int>("userId");
    QTest::newRow("ADMIN") << "ADMIN" << 1;
    QTest::newRow("lower case") << "maria" << MariaId;
}

void TestImportCommands::importAsUser()
{
    QFETCH(QString, login);
    QFETCH(int, userId);
    const QString file = filePath(QStringLiteral("leilao.txt"));
    writeFile(file, threeNoteFile());
    const Run r = run({QStringLiteral("importar"), m_dbPath, file, QStringLiteral("--usuario"), login});
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, QStringLiteral("3 nota(s) importada(s), total 400,00, como %1.\n"
                                   "Arquivo renomeado para %2_IMPORTADO.\n")
                        .arg(login.toUpper(), file));
    QCOMPARE(r.status, 0);
    const std::vector<StoredNote> notes = storedNotes(m_dbPath);
    QCOMPARE(notes.size(), size_t(3));
    for (const StoredNote &n : notes)
        QCOMPARE(n.userId, userId);
    QVERIFY(!QFileInfo::exists(file));
    QVERIFY(QFileInfo::exists(file + QStringLiteral("_IMPORTADO")));
}

void TestImportCommands::refusedImports_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("err");

    const QByteArray valid = fileBytes(threeNoteFile());
    QTest::newRow("unknown user") << valid << "fulano"
                                  << "Usuário FULANO não cadastrado.\n";
    QTest::newRow("deactivated user") << valid << "joao"
                                      << "Usuário JOAO está desativado.\n";
    QStringList fourCounted = threeNoteFile();
    fourCounted.last() = totalsLine(4, 40000);
    QTest::newRow("count 4") << fileBytes(fourCounted) << "ADMIN"
                             << "Total de registros do totalizador não bate.\n";
    QTest::newRow("empty line after check record") << (valid + "\r\n") << "ADMIN" << CheckRecordError + u'\n';
}

void TestImportCommands::refusedImports()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, login);
    QFETCH(QString, err);
    const QString file = filePath(QStringLiteral("leilao.txt"));
    writeFile(file, bytes);
    const Run r = run({QStringLiteral("importar"), m_dbPath, file, QStringLiteral("--usuario"), login});
    QCOMPARE(r.err, err);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.status, 1);
    QCOMPARE(storedCount(m_dbPath), 0);
    QVERIFY(QFileInfo::exists(file));
}

void TestImportCommands::renameFailure()
{
    const QString file = filePath(QStringLiteral("leilao.txt"));
    writeFile(file, threeNoteFile());
    writeFile(file + QStringLiteral("_IMPORTADO"), QByteArray("antes"));
    const Run r = run(
        {QStringLiteral("importar"), m_dbPath, file, QStringLiteral("--usuario"), QStringLiteral("ADMIN")});
    QCOMPARE(r.status, 1);
    QCOMPARE(r.err,
             QStringLiteral("Não foi possível renomear o arquivo %1 para leilao.txt_IMPORTADO. Nenhuma "
                            "nota foi importada. Verifique se já existe um arquivo com esse nome ou se o "
                            "arquivo está sendo importado por outro usuário.\n")
                 .arg(file));
    QCOMPARE(r.out, QString());
    QCOMPARE(storedCount(m_dbPath), 0);
    QVERIFY(QFileInfo::exists(file));
}

void TestImportCommands::usage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("check without file") << QStringList{"verificar-importacao"};
    QTest::newRow("check with two files") << QStringList{"verificar-importacao", "a.txt", "b.txt"};
    QTest::newRow("import without user") << QStringList{"importar", "x.fdb", "a.txt"};
    QTest::newRow("import with empty user") << QStringList{"importar", "x.fdb", "a.txt", "--usuario", ""};
    QTest::newRow("user without value") << QStringList{"importar", "x.fdb", "a.txt", "--usuario"};
    QTest::newRow("import without file") << QStringList{"importar", "x.fdb", "--usuario", "ADMIN"};
}

void TestImportCommands::usage()
{
    QFETCH(QStringList, args);
    const Run r = run(args);
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.startsWith(QStringLiteral("uso: quintaris-admin ") + args.first()), qPrintable(r.err));
    QCOMPARE(r.out, QString());
}

QTEST_GUILESS_MAIN(TestImportCommands)
#include "tst_importcommands.moc"
