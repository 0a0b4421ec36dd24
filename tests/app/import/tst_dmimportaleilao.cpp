#include "importfixture.h"

#include "app/import/dmimportaleilao.h"
#include "app/import/importerror.h"
#include "framework/data/mainconnection.h"
#include "framework/data/zelsqlglobals.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"

#include "leilaofilegen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace importtest;

namespace {

// The message of whatever the call throws, tagged with the kind of error, or empty when it throws nothing.
QString errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const ImportError &e) {
        return e.message();
    } catch (const db::DatabaseError &e) {
        return QStringLiteral("database: ") + e.message();
    } catch (const db::ProgrammingError &e) {
        return QStringLiteral("programming: ") + e.message();
    }
    return {};
}

} // namespace

class TestDmImportaLeilao : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void importsThreeNotes();
    void validationFailures_data();
    void validationFailures();
    void importFailures_data();
    void importFailures();
    void documentForms_data();
    void documentForms();
    void auctionNumbers_data();
    void auctionNumbers();
    void lettersInNumbersReadAsZero();
    void databaseFailureRollsBackEverything_data();
    void databaseFailureRollsBackEverything();
    void renameFailureImportsNothing_data();
    void renameFailureImportsNothing();
    void alreadyImportedFileRefused_data();
    void alreadyImportedFileRefused();
    void insertPreparedOnce();
    void missingFileImportsNothing();
    void noUserImportsNothing();
    void randomFilesNeverCrash();

private:
    QString filePath(const QString &name) const { return m_work.filePath(name); }
    void expectUntouched(const QString &file);

    QTemporaryDir m_dir;
    QString m_template;
    std::unique_ptr<QTemporaryDir> m_workDir;
    QDir m_work;
    QString m_dbPath;
    std::unique_ptr<db::Database> m_db;
    std::unique_ptr<TZelSQLGlobals> m_globals;
};

void TestDmImportaLeilao::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_template = createTemplate(m_dir.path());
}

void TestDmImportaLeilao::init()
{
    m_workDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_workDir->isValid());
    m_work = QDir(m_workDir->path());
    m_dbPath = copyDatabase(m_template, m_work.filePath(QStringLiteral("leilao.fdb")));
    m_db = std::make_unique<db::Database>();
    m_db->setDatabaseName(m_dbPath);
    m_db->open();
    m_globals = std::make_unique<TZelSQLGlobals>();
    m_globals->setUsuario(QStringLiteral("MARIA"));
    m_globals->setUsuarioID(MariaId);
    MainConnection::publish(m_db.get(), m_globals.get());
}

void TestDmImportaLeilao::cleanup()
{
    MainConnection::withdraw();
    m_globals.reset();
    m_db.reset();
    m_workDir.reset();
}

// A refused file leaves the table as it was and keeps its own name.
void TestDmImportaLeilao::expectUntouched(const QString &file)
{
    QCOMPARE(storedCount(m_dbPath), 0);
    QVERIFY(QFileInfo::exists(file));
    QVERIFY(!QFileInfo::exists(TdmImportaLeilao::ImportedFileName(file)));
}

void TestDmImportaLeilao::importsThreeNotes()
{
    const QString file = filePath(QStringLiteral("leilao.txt"));
    writeFile(file, threeNoteFile());
    // The check record exactly as the office's files write it.
    QCOMPARE(threeNoteFile().last(), QStringLiteral("2") + QStringLiteral("0000000003") +
                                         QStringLiteral("000000000040000") + QString(142, u' '));

    TdmImportaLeilao module;
    QCOMPARE(module.UsuarioID(), MariaId);
    QCOMPARE(module.database(), m_db.get());
    module.setFileName(file);
    QVERIFY(module.CheckFile());
    QCOMPARE(module.CheckedTotals().noteCount, 3);
    QCOMPARE(module.CheckedTotals().noteSum, 400 * Real);
    QCOMPARE(storedCount(m_dbPath), 0); // the validation pass writes nothing

    QVERIFY(module.ImportFile());
    QCOMPARE(module.ImportedCount(), 3);
    QCOMPARE(module.ImportedTotal(), 400 * Real);
    QVERIFY(!module.ZelTransaction().isActive());
    QVERIFY(!QFileInfo::exists(file));
    QVERIFY(QFileInfo::exists(file + QStringLiteral("_IMPORTADO")));
    QCOMPARE(TdmImportaLeilao::ImportedFileName(file), file + QStringLiteral("_IMPORTADO"));

    const std::vector<StoredNote> notes = storedNotes(m_dbPath);
    QCOMPARE(notes.size(), size_t(3));
    const qint64 totals[] = {100 * Real, 250 * Real + 5000, 49 * Real + 5000};
    for (int i = 0; i < 3; ++i) {
        const StoredNote &n = notes[size_t(i)];
        QCOMPARE(n.date, QDate(2008, 2, 15));
        QCOMPARE(n.personType, 1);
        QCOMPARE(n.document, QStringLiteral("52998224725"));
        QCOMPARE(n.name, QStringLiteral("José da Silva"));
        QCOMPARE(n.noteNumber, i + 1);
        QCOMPARE(n.merchandise, 1000 * Real);
        QCOMPARE(n.commissionRate, 5 * Real);
        QCOMPARE(n.commission, 50 * Real);
        QCOMPARE(n.adminFee, 10 * Real);
        QCOMPARE(n.total, totals[i]);
        QCOMPARE(n.userId, MariaId);
        QCOMPARE(n.auction, QStringLiteral("42"));
    }
}

void TestDmImportaLeilao::validationFailures_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("message");

    QStringList fourCounted = threeNoteFile();
    fourCounted.last() = totalsLine(4, 40000);
    QTest::newRow("count 4") << fourCounted << CountError;
    QStringList wrongSum = threeNoteFile();
    wrongSum.last() = totalsLine(3, 40001);
    QTest::newRow("total one cent off") << wrongSum << TotalError;
    QStringList both = threeNoteFile();
    both.last() = totalsLine(2, 30000);
    QTest::newRow("both") << both << TotalError + CountError;
    QStringList noTotals = threeNoteFile();
    noTotals.removeLast();
    QTest::newRow("no totals record") << noTotals << TotalError + CountError;

    QStringList shortNote = threeNoteFile();
    shortNote[1].chop(1);
    QCOMPARE(shortNote[1].size(), 167);
    QTest::newRow("167-character note") << shortNote << LengthError1;
    QStringList longTotals = threeNoteFile();
    longTotals.last() += u' ';
    QTest::newRow("169-character totals") << longTotals << LengthError2;

    NoteFields feb30;
    feb30.date = QStringLiteral("30022008");
    QStringList badDate = threeNoteFile();
    badDate[2] = noteLine(4950, 3, feb30);
    QTest::newRow("30 February") << badDate
                                 << QStringLiteral("Data do leilão inválida: 30/02/2008 (nota 3).");

    NoteFields nineDigits;
    nineDigits.auction = QStringLiteral("0123456789");
    QStringList longAuction = threeNoteFile();
    longAuction[1] = noteLine(25050, 2, nineDigits);
    QTest::newRow("9-digit auction number")
        << longAuction << QStringLiteral("Número do leilão 123456789 da nota 2 tem mais de 8 dígitos.");
    // The totals disagree as well: their message comes first, as the totals are the file's own check.
    QStringList longAuctionAndCount = longAuction;
    longAuctionAndCount.last() = totalsLine(4, 40000);
    QTest::newRow("auction number and count") << longAuctionAndCount << CountError;
}

void TestDmImportaLeilao::validationFailures()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, message);
    const QString file = filePath(QStringLiteral("leilao.txt"));
    writeFile(file, lines);
    TdmImportaLeilao module;
    module.setFileName(file);
    QCOMPARE(errorOf([&] { module.CheckFile(); }), message);
    QCOMPARE(module.CheckedTotals().noteCount, 0);
    QVERIFY(QFileInfo::exists(file));
    expectUntouched(file);
}

void TestDmImportaLeilao::importFailures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("passesValidation");
    QTest::addColumn<QString>("message");

    // An empty line after the check record: the validation pass ignores it, the import pass wants the check
    // record last.
    QTest::newRow("empty line after check record")
        << (fileBytes(threeNoteFile()) + "\r\n") << true << CheckRecordError;
    QTest::newRow("blank line after check record")
        << (fileBytes(threeNoteFile()) + "   \r\n") << true << CheckRecordError;
    QTest::newRow("note after check record")
        << fileBytes({noteLine(10000, 1), noteLine(25050, 2), totalsLine(3, 40000), noteLine(4950, 3)})
        << true << CheckRecordError;
    QStringList fourCounted = threeNoteFile();
    fourCounted.last() = totalsLine(4, 40000);
    QTest::newRow("count 4") << fileBytes(fourCounted) << false << CheckRecordError;
    QTest::newRow("empty file") << QByteArray() << true << CheckRecordError;

    NoteFields feb30;
    feb30.date = QStringLiteral("30022008");
    QStringList badDate = threeNoteFile();
    badDate[2] = noteLine(4950, 3, feb30);
    QTest::newRow("impossible date after two notes")
        << fileBytes(badDate) << false << QStringLiteral("Data do leilão inválida: 30/02/2008 (nota 3).");
    QStringList shortNote = threeNoteFile();
    shortNote[2].chop(1);
    QTest::newRow("167 characters after two notes") << fileBytes(shortNote) << false << LengthError1;
    NoteFields nineDigits;
    nineDigits.auction = QStringLiteral("0123456789");
    QStringList longAuction = threeNoteFile();
    longAuction[2] = noteLine(4950, 3, nineDigits);
    QTest::newRow("9-digit auction number after two notes")
        << fileBytes(longAuction) << false
        << QStringLiteral("Número do leilão 123456789 da nota 3 tem mais de 8 dígitos.");
}

void TestDmImportaLeilao::importFailures()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, passesValidation);
    QFETCH(QString, message);
    const QString file = filePath(QStringLiteral("leilao.txt"));
    writeFile(file, bytes);

    TdmImportaLeilao module;
    module.setFileName(file);
    QCOMPARE(errorOf([&] { module.CheckFile(); }).isEmpty(), passesValidation);
    // The import pass checks for itself, whether the validation ran or not.
    QCOMPARE(errorOf([&] { module.ImportFile(); }), message);
    QVERIFY(!module.ZelTransaction().isActive());
    QCOMPARE(module.ImportedCount(), 0);
    QVERIFY(QFileInfo::exists(file));
    expectUntouched(file);
    // The same connection sees nothing either: the notes were rolled back, not merely left uncommitted.
    TdmImportaLeilao again;
    QCOMPARE(again.database(), m_db.get());
    writeFile(file, threeNoteFile());
    again.setFileName(file);
    QVERIFY(again.ImportFile());
    QCOMPARE(storedCount(m_dbPath), 3);
}

void TestDmImportaLeilao::documentForms_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("personType");
    QTest::addColumn<QString>("stored");

    QTest::newRow("cpf and 3 blanks") << "52998224725   " << 1 << "52998224725";
    QTest::newRow("cnpj") << "11222333000181" << 2 << "11222333000181";
    // A CPF with its punctuation fills the 14 columns; counting digits keeps it a natural person.
    QTest::newRow("punctuated cpf") << "529.982.247-25" << 1 << "52998224725";
    QTest::newRow("right-aligned cpf") << "   52998224725" << 1 << "52998224725";
    QTest::newRow("blank") << "              " << 1 << "";
}

void TestDmImportaLeilao::documentForms()
{
    QFETCH(QString, field);
    QFETCH(int, personType);
    QFETCH(QString, stored);
    NoteFields fields;
    fields.document = field;
    fields.name = QStringLiteral("  Conceição Araújo LTDA  ");
    const QString file = filePath(QStringLiteral("doc.txt"));
    writeFile(file, {noteLine(12345, 7, fields), totalsLine(1, 12345)});
    TdmImportaLeilao module;
    module.setFileName(file);
    QVERIFY(module.CheckFile());
    QVERIFY(module.ImportFile());
    const std::vector<StoredNote> notes = storedNotes(m_dbPath);
    QCOMPARE(notes.size(), size_t(1));
    QCOMPARE(notes[0].personType, personType);
    QCOMPARE(notes[0].document, stored);
    QCOMPARE(notes[0].name, QStringLiteral("Conceição Araújo LTDA"));
    QCOMPARE(notes[0].total, 123 * Real + 4500);
}

void TestDmImportaLeilao::auctionNumbers_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("stored");

    QTest::newRow("leading zeros") << "0000000042"
                                   << "42";
    QTest::newRow("leading blanks") << "        42"
                                    << "42";
    QTest::newRow("eight digits fit") << "0012345678"
                                      << "12345678";
    QTest::newRow("negative, eight characters") << "  -1234567"
                                                << "-1234567";
    QTest::newRow("trailing blank reads 0") << "42        "
                                            << "0";
    QTest::newRow("letters read 0") << "00000042AB"
                                    << "0";
    QTest::newRow("above 2147483647 reads 0") << "2147483648"
                                              << "0";
    QTest::newRow("nine digits refused") << "0123456789"
                                         << "";
    QTest::newRow("ten digits refused") << "2147483647"
                                        << "";
    QTest::newRow("negative, nine characters refused") << " -12345678"
                                                       << "";
}

void TestDmImportaLeilao::auctionNumbers()
{
    QFETCH(QString, field);
    QFETCH(QString, stored);
    NoteFields fields;
    fields.auction = field;
    const QString file = filePath(QStringLiteral("auction.txt"));
    writeFile(file, {noteLine(10000, 5, fields), totalsLine(1, 10000)});
    TdmImportaLeilao module;
    module.setFileName(file);
    if (stored.isEmpty()) {
        QVERIFY(errorOf([&] { module.CheckFile(); }).startsWith(QStringLiteral("Número do leilão ")));
        QVERIFY(errorOf([&] { module.ImportFile(); }).endsWith(QStringLiteral(" tem mais de 8 dígitos.")));
        expectUntouched(file);
        return;
    }
    QVERIFY(module.CheckFile());
    QVERIFY(module.ImportFile());
    const std::vector<StoredNote> notes = storedNotes(m_dbPath);
    QCOMPARE(notes.size(), size_t(1));
    QCOMPARE(notes[0].auction, stored);
}

void TestDmImportaLeilao::lettersInNumbersReadAsZero()
{
    NoteFields letters;
    letters.merchandise = QStringLiteral("00000001000O0"); // a letter O among the digits
    letters.noteNumber = QStringLiteral("12A4567890");
    NoteFields letterTotal;
    letterTotal.total = QStringLiteral("0000000000100x0");
    const QString file = filePath(QStringLiteral("letters.txt"));
    // The unreadable total counts as 0, so the check record that matches carries only the first note.
    writeFile(file, {noteLine(10000, 1, letters), noteLine(0, 2, letterTotal), totalsLine(2, 10000)});
    TdmImportaLeilao module;
    module.setFileName(file);
    QVERIFY(module.CheckFile());
    QCOMPARE(module.CheckedTotals().noteSum, 100 * Real);
    QVERIFY(module.ImportFile());
    const std::vector<StoredNote> notes = storedNotes(m_dbPath);
    QCOMPARE(notes.size(), size_t(2));
    QCOMPARE(notes[0].merchandise, 0);
    QCOMPARE(notes[0].noteNumber, 0);
    QCOMPARE(notes[0].total, 100 * Real);
    QCOMPARE(notes[1].total, 0);
    QCOMPARE(notes[1].noteNumber, 2);
    QCOMPARE(notes[1].merchandise, 1000 * Real);
}

void TestDmImportaLeilao::databaseFailureRollsBackEverything_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QStringList>("teardown");
    QTest::addColumn<int>("inserts");

    QTest::newRow("check constraint")
        << QStringList{QStringLiteral(
               "alter table CONTROLE add constraint CK_NOTA_500 check (NOTA_NUMERO <> 500)")}
        << QStringList{QStringLiteral("alter table CONTROLE drop constraint CK_NOTA_500")} << 499;
    QTest::newRow("trigger")
        << QStringList{QStringLiteral("create exception E_NOTA_500 'nota 500 recusada'"),
                       QStringLiteral("create trigger TG_NOTA_500 for CONTROLE before insert position 5 as "
                                      "begin if (new.NOTA_NUMERO = 500) then exception E_NOTA_500; end")}
        << QStringList{QStringLiteral("drop trigger TG_NOTA_500")} << 499;
    // Every insert goes through and the commit itself is refused, after the file took its new name.
    QTest::newRow("commit refused")
        << QStringList{QStringLiteral("create exception E_NOTA_500 'nota 500 recusada'"),
                       QStringLiteral("create trigger TG_COMMIT_500 on transaction commit as begin "
                                      "if (exists(select 1 from CONTROLE where NOTA_NUMERO = 500)) then "
                                      "exception E_NOTA_500; end")}
        << QStringList{QStringLiteral("drop trigger TG_COMMIT_500")} << 1000;
}

void TestDmImportaLeilao::databaseFailureRollsBackEverything()
{
    QFETCH(QStringList, setup);
    QFETCH(QStringList, teardown);
    QFETCH(int, inserts);
    // The test's own connection must not hold the table while the other one changes it.
    MainConnection::withdraw();
    m_db->close();
    execOn(m_dbPath, setup);
    m_db->open();
    MainConnection::publish(m_db.get(), m_globals.get());

    const QString file = filePath(QStringLiteral("mil.txt"));
    const QByteArray bytes = bench::generateLeilaoFile(1000);
    writeFile(file, bytes);
    std::vector<QString> executed;
    m_db->setTraceFlags(db::TraceFlag::Execute);
    m_db->setTraceHook([&executed](db::TraceFlag, const QString &text, const QDateTime &) {
        if (text.contains(QStringLiteral("insert into CONTROLE")))
            executed.push_back(text);
    });
    {
        TdmImportaLeilao module;
        module.setFileName(file);
        QVERIFY(module.CheckFile());
        const QString error = errorOf([&] { module.ImportFile(); });
        QVERIFY2(error.startsWith(QStringLiteral("database: ")), qPrintable(error));
        QVERIFY(!module.ZelTransaction().isActive());
    }
    m_db->setTraceHook({});
    // The notes that went in before the refusal did not stay.
    QCOMPARE(executed.size(), size_t(inserts));
    expectUntouched(file);
    QFile kept(file);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), bytes);

    MainConnection::withdraw();
    m_db->close();
    execOn(m_dbPath, teardown);
    m_db->open();
    MainConnection::publish(m_db.get(), m_globals.get());
    TdmImportaLeilao module;
    module.setFileName(file);
    QVERIFY(module.ImportFile());
    QCOMPARE(storedCount(m_dbPath), 1000);
}

void TestDmImportaLeilao::renameFailureImportsNothing_data()
{
    QTest::addColumn<QString>("obstacle");
    // A file of the same name imported before holds the new name, and must survive.
    QTest::newRow("earlier file in the way") << "file";
    QTest::newRow("folder in the way") << "folder";
    // Another user's import of the same file renamed it while this one was inserting.
    QTest::newRow("file taken meanwhile") << "taken";
}

// Were the notes committed and the file left under its name, the next attempt would import them again.
void TestDmImportaLeilao::renameFailureImportsNothing()
{
    QFETCH(QString, obstacle);
    const QString file = filePath(QStringLiteral("leilao.txt"));
    const QString imported = TdmImportaLeilao::ImportedFileName(file);
    const QString taken = filePath(QStringLiteral("outro_usuario.txt"));
    writeFile(file, threeNoteFile());
    if (obstacle == QLatin1String("file"))
        writeFile(imported, QByteArray("earlier import"));
    else if (obstacle == QLatin1String("folder"))
        QVERIFY(m_work.mkdir(QFileInfo(imported).fileName()));
    int inserts = 0;
    m_db->setTraceFlags(db::TraceFlag::Execute);
    m_db->setTraceHook([&](db::TraceFlag, const QString &text, const QDateTime &) {
        if (text.contains(QStringLiteral("insert into CONTROLE")) && ++inserts == 2 &&
            obstacle == QLatin1String("taken"))
            QVERIFY(QFile::rename(file, taken));
    });
    TdmImportaLeilao module;
    module.setFileName(file);
    QVERIFY(module.CheckFile());
    QCOMPARE(errorOf([&] { module.ImportFile(); }),
             QStringLiteral("Não foi possível renomear o arquivo %1 para leilao.txt_IMPORTADO. Nenhuma nota "
                            "foi importada. Verifique se já existe um arquivo com esse nome ou se o arquivo "
                            "está sendo importado por outro usuário.")
                 .arg(QDir::toNativeSeparators(file)));
    m_db->setTraceHook({});
    QCOMPARE(inserts, 3);
    QVERIFY(!module.ZelTransaction().isActive());
    QCOMPARE(module.ImportedCount(), 0);
    QCOMPARE(storedCount(m_dbPath), 0);
    if (obstacle == QLatin1String("taken")) {
        QVERIFY(QFileInfo::exists(taken));
        QVERIFY(!QFileInfo::exists(imported));
        return;
    }
    QVERIFY(QFileInfo::exists(file));
    if (obstacle == QLatin1String("file")) {
        QFile earlier(imported);
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier import"));
    } else {
        QVERIFY(QFileInfo(imported).isDir());
    }
}

void TestDmImportaLeilao::alreadyImportedFileRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("refused");
    QTest::newRow("imported before") << "leilao.txt_IMPORTADO" << true;
    QTest::newRow("imported twice") << "leilao.txt_IMPORTADO_IMPORTADO" << true;
    // Windows, where the files come from, does not tell these names apart.
    QTest::newRow("lower case") << "leilao.txt_importado" << true;
    QTest::newRow("without extension") << "pagadoria_IMPORTADO" << true;
    QTest::newRow("mark inside the name") << "leilao_IMPORTADO.txt" << false;
    QTest::newRow("plain name") << "leilao.txt" << false;
}

// The suffix is the only mark an import leaves on its file: a file that carries it holds notes that are in
// the table already.
void TestDmImportaLeilao::alreadyImportedFileRefused()
{
    QFETCH(QString, name);
    QFETCH(bool, refused);
    const QString file = filePath(name);
    writeFile(file, threeNoteFile());
    TdmImportaLeilao module;
    module.setFileName(file);
    if (!refused) {
        QVERIFY(module.CheckFile());
        QVERIFY(module.ImportFile());
        QCOMPARE(storedCount(m_dbPath), 3);
        QVERIFY(QFileInfo::exists(TdmImportaLeilao::ImportedFileName(file)));
        return;
    }
    const QString message =
        QStringLiteral(
            "O arquivo %1 já foi importado. Para importá-lo de novo, retire \"_IMPORTADO\" do nome.")
            .arg(QDir::toNativeSeparators(file));
    QCOMPARE(errorOf([&] { module.CheckFile(); }), message);
    // The import pass refuses it for itself as well.
    QCOMPARE(errorOf([&] { module.ImportFile(); }), message);
    QVERIFY(!module.ZelTransaction().isActive());
    expectUntouched(file);
}

void TestDmImportaLeilao::insertPreparedOnce()
{
    const QString file = filePath(QStringLiteral("leilao.txt"));
    writeFile(file, threeNoteFile());
    int prepares = 0;
    int executes = 0;
    m_db->setTraceFlags(db::TraceFlag::Prepare | db::TraceFlag::Execute);
    m_db->setTraceHook([&](db::TraceFlag flag, const QString &text, const QDateTime &) {
        if (!text.contains(QStringLiteral("insert into CONTROLE")))
            return;
        if (flag == db::TraceFlag::Prepare)
            ++prepares;
        else if (flag == db::TraceFlag::Execute)
            ++executes;
    });
    TdmImportaLeilao module;
    module.setFileName(file);
    QVERIFY(module.ImportFile());
    m_db->setTraceHook({});
    QCOMPARE(prepares, 1);
    QCOMPARE(executes, 3);
    QVERIFY(module.SQL().sql().startsWith(QStringLiteral(" insert into CONTROLE ( LEILAO_DATA, ")));
    QCOMPARE(module.SQL().paramCount(), 12);
}

void TestDmImportaLeilao::missingFileImportsNothing()
{
    const QString file = filePath(QStringLiteral("nada.txt"));
    TdmImportaLeilao module;
    module.setFileName(file);
    QCOMPARE(errorOf([&] { module.CheckFile(); }), QStringLiteral("Arquivo %1 não existe.").arg(file));
    QCOMPARE(module.ImportFile(), false);
    QVERIFY(!module.ZelTransaction().isActive());
    module.setFileName(QString());
    QCOMPARE(errorOf([&] { module.CheckFile(); }), QStringLiteral("Arquivo  não existe."));
    QCOMPARE(module.ImportFile(), false);
    // A folder exists but cannot be read as a file.
    module.setFileName(m_work.path());
    QCOMPARE(errorOf([&] { module.CheckFile(); }),
             QStringLiteral("Não foi possível ler o arquivo %1.").arg(m_work.path()));
    QCOMPARE(errorOf([&] { module.ImportFile(); }),
             QStringLiteral("Não foi possível ler o arquivo %1.").arg(m_work.path()));
    QVERIFY(!module.ZelTransaction().isActive());
    QCOMPARE(storedCount(m_dbPath), 0);
}

void TestDmImportaLeilao::noUserImportsNothing()
{
    const QString file = filePath(QStringLiteral("leilao.txt"));
    writeFile(file, threeNoteFile());
    m_globals->setUsuarioID(0);
    TdmImportaLeilao module;
    module.setFileName(file);
    QVERIFY(errorOf([&] { module.ImportFile(); }).startsWith(QStringLiteral("programming: ")));
    expectUntouched(file);
    QVERIFY(QFileInfo::exists(file));

    MainConnection::withdraw();
    TdmImportaLeilao unbound;
    unbound.setFileName(file);
    QVERIFY(unbound.CheckFile()); // the validation pass needs no database
    QVERIFY(errorOf([&] { unbound.ImportFile(); }).startsWith(QStringLiteral("programming: ")));
    QVERIFY(QFileInfo::exists(file));
}

// Arbitrary bytes, and valid files with a few bytes changed, never crash either pass: the validation pass
// accepts or refuses with an ImportError, and the import pass either commits a whole file or leaves the
// table exactly as it was.
void TestDmImportaLeilao::randomFilesNeverCrash()
{
    QRandomGenerator random(20080215);
    const QByteArray valid = fileBytes(threeNoteFile());
    const QString file = filePath(QStringLiteral("random.txt"));
    int expectedRows = 0;
    int imported = 0;
    int refused = 0;
    for (int round = 0; round < 150; ++round) {
        QByteArray bytes;
        if (round % 3 == 0) {
            const int length = random.bounded(0, 700);
            for (int i = 0; i < length; ++i)
                bytes.append(char(random.bounded(256)));
        } else {
            bytes = valid;
            const int mutations = round % 3 == 1 ? random.bounded(1, 3) : random.bounded(1, 12);
            for (int i = 0; i < mutations; ++i) {
                const int at = random.bounded(int(bytes.size()));
                // Mostly digits, so that many files still parse and reach the database.
                bytes[at] = random.bounded(4) ? char('0' + random.bounded(10)) : char(random.bounded(256));
            }
        }
        writeFile(file, bytes);
        TdmImportaLeilao module;
        module.setFileName(file);
        bool checked = false;
        try {
            checked = module.CheckFile();
        } catch (const ImportError &) {
        }
        try {
            QVERIFY(module.ImportFile());
            // Whatever the import pass accepts, the validation pass accepted with the same figures.
            QVERIFY(checked);
            QCOMPARE(module.ImportedCount(), module.CheckedTotals().noteCount);
            QCOMPARE(module.ImportedTotal(), module.CheckedTotals().noteSum);
            expectedRows += module.ImportedCount();
            ++imported;
            QVERIFY(QFile::remove(TdmImportaLeilao::ImportedFileName(file)));
        } catch (const ImportError &) {
            ++refused;
            QVERIFY(QFileInfo::exists(file));
        } catch (const db::ValueError &) {
            ++refused;
            QVERIFY(QFileInfo::exists(file));
        }
        QVERIFY(!module.ZelTransaction().isActive());
    }
    QCOMPARE(storedCount(m_dbPath), expectedRows);
    QVERIFY2(imported > 10 && refused > 10, qPrintable(QStringLiteral("%1 %2").arg(imported).arg(refused)));
}

QTEST_GUILESS_MAIN(TestDmImportaLeilao)
#include "tst_dmimportaleilao.moc"
