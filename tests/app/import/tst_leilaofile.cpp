#include "app/import/importerror.h"
#include "app/import/leilao.h"
#include "app/import/leilaofile.h"
#include "framework/data/zelutils.h"

#include "leilaofilegen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

const QString LengthError1 =
    QStringLiteral("Linha não contém 168 caracteres. Está fora do layout. Tipo registro: 1");
const QString LengthError2 =
    QStringLiteral("Linha não contém 168 caracteres. Está fora do layout. Tipo registro: 2");
const QString TotalError = QStringLiteral("Valor total do registro totalizador não bate.\r");
const QString CountError = QStringLiteral("Total de registros do totalizador não bate.\r");

// One real in ten-thousandths.
constexpr qint64 Real = 10000;

QString zeros(qint64 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// Overwrites the characters at a 1-based position, as the file layout counts them.
QString withField(QString line, int position, const QString &text)
{
    line.replace(position - 1, text.size(), text);
    return line;
}

// A type-1 line laid out column by column, so that a fault in the parser's positions shows up.
QString noteLine(qint64 totalCents, int noteNumber = 1,
                 const QString &document = QStringLiteral("52998224725"))
{
    QString line = QStringLiteral("1") + QStringLiteral("15") + QStringLiteral("02") + QStringLiteral("2008");
    line += zeros(42, 10);
    line += document.leftJustified(14, u' ', true);
    line += QStringLiteral("JOSÉ DA SILVA").leftJustified(50, u' ');
    line += zeros(noteNumber, 10);
    line += zeros(100000, 15); // merchandise 1.000,00
    line += zeros(500, 15);    // 5,00 %
    line += zeros(5000, 15);   // commission 50,00
    line += zeros(1000, 15);   // fee 10,00
    line += zeros(totalCents, 15);
    return line;
}

QString totalsLine(qint64 count, qint64 totalCents)
{
    return QStringLiteral("2") + zeros(count, 10) + zeros(totalCents, 15) + QString(142, u' ');
}

QByteArray windows1252(const QStringList &lines, const QString &lineEnd = QStringLiteral("\r\n"))
{
    QStringEncoder encoder("windows-1252");
    QString text;
    for (const QString &line : lines)
        text += line + lineEnd;
    return encoder.encode(text);
}

// The three notes of 100,00, 250,50 and 49,50 (400,00 together).
QStringList threeNotes()
{
    return {noteLine(10000, 1), noteLine(25050, 2), noteLine(4950, 3)};
}

QString importErrorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const ImportError &e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestLeilaoFile : public QObject
{
    Q_OBJECT

private slots:
    void parseNoteLine();
    void parseTotalsLine();
    void parseNumbers_data();
    void parseNumbers();
    void ignoredLines_data();
    void ignoredLines();
    void wrongLength_data();
    void wrongLength();
    void impossibleDate_data();
    void impossibleDate();
    void documentForms_data();
    void documentForms();
    void splitLines_data();
    void splitLines();
    void checkPass_data();
    void checkPass();
    void checkCountsAndSums();
    void emptyLineAfterTotalsRecord();
    void loadFromDisk();
    void missingFile();
    void unreadableFile_data();
    void unreadableFile();
    void generatedFilesPass_data();
    void generatedFilesPass();
    void randomInputNeverCrashes();

private:
    QTemporaryDir m_dir;
};

void TestLeilaoFile::parseNoteLine()
{
    const QString line = noteLine(106000, 1234);
    QCOMPARE(line.size(), TLeilao::LineLength);

    const TLeilao note = ParseLine(line);
    QCOMPARE(note.recordType, TLeilao::RecordType::Note);
    QCOMPARE(note.auctionDate, QDate(2008, 2, 15));
    QCOMPARE(note.auctionNumber, 42);
    QCOMPARE(note.document, QStringLiteral("52998224725"));
    QCOMPARE(note.name, QStringLiteral("JOSÉ DA SILVA"));
    QCOMPARE(note.noteNumber, 1234);
    QCOMPARE(note.merchandise, 1000 * Real);
    QCOMPARE(note.commissionRate, 5 * Real);
    QCOMPARE(note.commission, 50 * Real);
    QCOMPARE(note.adminFee, 10 * Real);
    QCOMPARE(note.noteTotal, 1060 * Real);
    QCOMPARE(note.checkCount, 0);
    QCOMPARE(note.checkTotal, 0);
}

void TestLeilaoFile::parseTotalsLine()
{
    const QString line = totalsLine(3, 40000);
    QCOMPARE(line.size(), TLeilao::LineLength);

    const TLeilao totals = ParseLine(line);
    QCOMPARE(totals.recordType, TLeilao::RecordType::Totals);
    QCOMPARE(totals.checkCount, 3);
    QCOMPARE(totals.checkTotal, 400 * Real);
    QCOMPARE(totals.noteTotal, 0);
    QVERIFY(!totals.auctionDate.isValid());

    // What follows the total is not read, whatever it holds.
    const TLeilao noisy = ParseLine(withField(line, 27, QString(142, u'x')));
    QCOMPARE(noisy.checkCount, 3);
    QCOMPARE(noisy.checkTotal, 400 * Real);
}

void TestLeilaoFile::parseNumbers_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("noteNumber");
    QTest::addColumn<qint64>("noteTotal");

    // Field 84 is the note number (10 characters), field 154 the note total (15).
    QTest::newRow("total zero-padded") << 154 << "000000000010050" << qint64(1) << 10050 * 100LL;
    QTest::newRow("total blank-padded") << 154 << "          10050" << qint64(1) << 10050 * 100LL;
    QTest::newRow("total blanks then zeros") << 154 << "     0000010050" << qint64(1) << 10050 * 100LL;
    QTest::newRow("total trailing blanks") << 154 << "10050          " << qint64(1) << qint64(0);
    QTest::newRow("total with letters") << 154 << "0000000000l0050" << qint64(1) << qint64(0);
    QTest::newRow("total all blanks") << 154 << "               " << qint64(1) << qint64(0);
    QTest::newRow("total decimal comma") << 154 << "00000000100,50 " << qint64(1) << qint64(0);
    QTest::newRow("total largest") << 154 << "000002147483647" << qint64(1) << 2147483647 * 100LL;
    QTest::newRow("total above 32 bits") << 154 << "000002147483648" << qint64(1) << qint64(0);
    QTest::newRow("total negative") << 154 << "-00000000010050" << qint64(1) << -10050 * 100LL;
    QTest::newRow("total smallest") << 154 << "-00002147483648" << qint64(1) << -2147483648LL * 100;
    QTest::newRow("total below 32 bits") << 154 << "-00002147483649" << qint64(1) << qint64(0);
    QTest::newRow("total sign after blanks") << 154 << "         -10050" << qint64(1) << -10050 * 100LL;
    QTest::newRow("total blank after sign") << 154 << "-         10050" << qint64(1) << qint64(0);
    QTest::newRow("note number with letters") << 84 << "00000A1234" << qint64(0) << 106000 * 100LL;
    QTest::newRow("note number blank-padded") << 84 << "      1234" << qint64(1234) << 106000 * 100LL;
    QTest::newRow("note number empty") << 84 << "          " << qint64(0) << 106000 * 100LL;
}

void TestLeilaoFile::parseNumbers()
{
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(qint64, noteNumber);
    QFETCH(qint64, noteTotal);

    const TLeilao note = ParseLine(withField(noteLine(106000, 1), position, text));
    QCOMPARE(note.recordType, TLeilao::RecordType::Note);
    QCOMPARE(qint64(note.noteNumber), noteNumber);
    QCOMPARE(note.noteTotal, noteTotal);
    QCOMPARE(note.merchandise, 1000 * Real);
}

void TestLeilaoFile::ignoredLines_data()
{
    QTest::addColumn<QString>("line");

    QTest::newRow("empty") << QString();
    QTest::newRow("header") << QStringLiteral("PAGADORIA 15/02/2008");
    QTest::newRow("type 0") << QStringLiteral("0").repeated(168);
    QTest::newRow("type 3") << QStringLiteral("3") + QString(10, u'9');
    QTest::newRow("blank before 1") << QStringLiteral(" ") + noteLine(100).left(167);
    QTest::newRow("blanks") << QString(168, u' ');
}

void TestLeilaoFile::ignoredLines()
{
    QFETCH(QString, line);
    const TLeilao record = ParseLine(line);
    QCOMPARE(record.recordType, TLeilao::RecordType::Ignored);
    QCOMPARE(record.noteTotal, 0);
    QCOMPARE(record.checkCount, 0);
}

void TestLeilaoFile::wrongLength_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("message");

    QTest::newRow("note of 167") << noteLine(100).left(167) << LengthError1;
    QTest::newRow("note of 169") << noteLine(100) + u' ' << LengthError1;
    QTest::newRow("note of 1") << QStringLiteral("1") << LengthError1;
    QTest::newRow("totals of 167") << totalsLine(3, 40000).left(167) << LengthError2;
    QTest::newRow("totals of 169") << totalsLine(3, 40000) + u' ' << LengthError2;
    QTest::newRow("totals without filler") << totalsLine(3, 40000).left(26) << LengthError2;
}

void TestLeilaoFile::wrongLength()
{
    QFETCH(QString, line);
    QFETCH(QString, message);
    QCOMPARE(importErrorOf([&] { ParseLine(line); }), message);
}

void TestLeilaoFile::impossibleDate_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("message");

    const QString prefix = QStringLiteral("Data do leilão inválida: ");
    QTest::newRow("31 february") << "31022008" << prefix + "31/02/2008 (nota 7).";
    QTest::newRow("29 february common year") << "29022007" << prefix + "29/02/2007 (nota 7).";
    QTest::newRow("day 0") << "00012008" << prefix + "00/01/2008 (nota 7).";
    QTest::newRow("month 13") << "15132008" << prefix + "15/13/2008 (nota 7).";
    QTest::newRow("month 0") << "15002008" << prefix + "15/00/2008 (nota 7).";
    QTest::newRow("year 0") << "15020000" << prefix + "15/02/0000 (nota 7).";
    QTest::newRow("negative year") << "1502-001" << prefix + "15/02/-001 (nota 7).";
    QTest::newRow("letters in day") << "1a022008" << prefix + "1a/02/2008 (nota 7).";
    QTest::newRow("blank date") << "        " << prefix + "  /  /     (nota 7).";
    QTest::newRow("29 february leap year") << "29022008" << QString();
    QTest::newRow("blank-padded day") << " 1022008" << QString();
}

void TestLeilaoFile::impossibleDate()
{
    QFETCH(QString, date);
    QFETCH(QString, message);

    const QString line = withField(noteLine(100, 7), 2, date);
    QCOMPARE(importErrorOf([&] { ParseLine(line); }), message);
    const QString file = importErrorOf([&] {
        LeilaoFile(QStringList{noteLine(100, 6), line, totalsLine(2, 200)}).check();
    });
    QCOMPARE(file, message);
}

void TestLeilaoFile::documentForms_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("document");
    QTest::addColumn<int>("personType");
    QTest::addColumn<QString>("digits");

    QTest::newRow("cpf and 3 blanks") << "52998224725   "
                                      << "52998224725" << 1 << "52998224725";
    QTest::newRow("cnpj") << "11222333000181"
                          << "11222333000181" << 2 << "11222333000181";
    QTest::newRow("punctuated cpf") << "529.982.247-25"
                                    << "529.982.247-25" << 1 << "52998224725";
    QTest::newRow("right-aligned cpf") << "   52998224725"
                                       << "52998224725" << 1 << "52998224725";
    QTest::newRow("13 digits") << "1122233300018 "
                               << "1122233300018" << 1 << "1122233300018";
    QTest::newRow("blank") << "              "
                           << "" << 1 << "";
}

void TestLeilaoFile::documentForms()
{
    QFETCH(QString, field);
    QFETCH(QString, document);
    QFETCH(int, personType);
    QFETCH(QString, digits);

    const TLeilao note = ParseLine(withField(noteLine(100), 20, field));
    QCOMPARE(note.document, document);
    QCOMPARE(note.personType(), personType);
    QCOMPARE(note.documentDigits(), digits);
    // The name that follows the document starts at its own column.
    QCOMPARE(note.name, QStringLiteral("JOSÉ DA SILVA"));
}

void TestLeilaoFile::splitLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lf without last break") << QByteArray("a\nb") << QStringList{"a", "b"};
    QTest::newRow("lone cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("blank last line") << QByteArray("a\r\n\r\n") << QStringList{"a", ""};
    QTest::newRow("lf then cr") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("only a break") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("windows-1252 letters")
        << QByteArray("JOS\xC9 \x80 \xE7\r\n") << QStringList{QStringLiteral("JOSÉ € ç")};
    QTest::newRow("undefined byte kept") << QByteArray("a\x81z") << QStringList{QStringLiteral("a\u0081z")};
}

void TestLeilaoFile::splitLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(LeilaoFile::fromBytes(bytes).lines(), lines);
}

void TestLeilaoFile::checkPass_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    const QStringList notes = threeNotes();
    QTest::newRow("three notes") << windows1252(notes + QStringList{totalsLine(3, 40000)}) << QString();
    QTest::newRow("unix line ends") << windows1252(notes + QStringList{totalsLine(3, 40000)}, "\n")
                                    << QString();
    QTest::newRow("count 4") << windows1252(notes + QStringList{totalsLine(4, 40000)}) << CountError;
    QTest::newRow("total 400,01") << windows1252(notes + QStringList{totalsLine(3, 40001)}) << TotalError;
    QTest::newRow("both wrong") << windows1252(notes + QStringList{totalsLine(2, 30000)})
                                << TotalError + CountError;
    QTest::newRow("no totals record") << windows1252(notes) << TotalError + CountError;
    QTest::newRow("last totals record counts")
        << windows1252(QStringList{totalsLine(9, 1)} + notes + QStringList{totalsLine(3, 40000)})
        << QString();
    QTest::newRow("earlier totals record ignored")
        << windows1252(notes + QStringList{totalsLine(3, 40000), totalsLine(9, 1)})
        << TotalError + CountError;
    QTest::newRow("total with letters reads 0")
        << windows1252({noteLine(10000, 1), withField(noteLine(25050, 2), 154, "00000000025O50"),
                        noteLine(4950, 3), totalsLine(3, 40000)})
        << TotalError;
    QTest::newRow("line of 167 characters") << windows1252({noteLine(10000, 1), noteLine(25050, 2).left(167),
                                                            noteLine(4950, 3), totalsLine(3, 40000)})
                                            << LengthError1;
    QTest::newRow("short totals record")
        << windows1252(notes + QStringList{totalsLine(3, 40000).trimmed()}) << LengthError2;
    QTest::newRow("header and blank lines ignored")
        << windows1252(QStringList{"PAGADORIA", ""} + notes + QStringList{"", totalsLine(3, 40000)})
        << QString();
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("impossible date") << windows1252({noteLine(10000, 1),
                                                     withField(noteLine(25050, 2), 2, "30022008"),
                                                     totalsLine(2, 35050)})
                                     << QStringLiteral("Data do leilão inválida: 30/02/2008 (nota 2).");
}

void TestLeilaoFile::checkPass()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);

    const LeilaoFile file = LeilaoFile::fromBytes(bytes);
    bool passed = false;
    QCOMPARE(importErrorOf([&] { passed = file.check(); }), message);
    QCOMPARE(passed, message.isEmpty());
}

void TestLeilaoFile::checkCountsAndSums()
{
    const LeilaoFile file(threeNotes() + QStringList{totalsLine(3, 40000)});
    const LeilaoFileTotals totals = file.totals();
    QCOMPARE(totals.noteCount, 3);
    QCOMPARE(totals.noteSum, 400 * Real);
    QVERIFY(totals.hasTotalsRecord);
    QCOMPARE(totals.checkCount, 3);
    QCOMPARE(totals.checkTotal, 400 * Real);

    const LeilaoFileTotals withoutRecord = LeilaoFile(threeNotes()).totals();
    QCOMPARE(withoutRecord.noteCount, 3);
    QVERIFY(!withoutRecord.hasTotalsRecord);
    QCOMPARE(withoutRecord.checkCount, 0);
    QCOMPARE(withoutRecord.checkTotal, 0);
}

void TestLeilaoFile::emptyLineAfterTotalsRecord()
{
    // The validation pass lets this file through; the import pass must still see that the record parsed
    // last is no totals record, and refuses the file then.
    const QByteArray bytes = windows1252(threeNotes() + QStringList{totalsLine(3, 40000), QString()});
    const LeilaoFile file = LeilaoFile::fromBytes(bytes);
    QCOMPARE(file.lines().size(), 5);
    QVERIFY(file.lines().last().isEmpty());
    QVERIFY(file.check());
    QCOMPARE(ParseLine(file.lines().last()).recordType, TLeilao::RecordType::Ignored);
    QCOMPARE(ParseLine(file.lines().at(3)).recordType, TLeilao::RecordType::Totals);
}

void TestLeilaoFile::loadFromDisk()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("leilão.txt"));
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    // 0xC9 is É in Windows-1252 and an invalid byte in UTF-8: the line must still be 168 characters.
    const QByteArray bytes = windows1252(threeNotes() + QStringList{totalsLine(3, 40000)});
    QVERIFY(bytes.contains('\xC9'));
    QCOMPARE(out.write(bytes), bytes.size());
    out.close();

    const LeilaoFile file = LeilaoFile::load(path);
    QCOMPARE(file.lines().size(), 4);
    QCOMPARE(ParseLine(file.lines().first()).name, QStringLiteral("JOSÉ DA SILVA"));
    QVERIFY(CheckLeilaoFile(path));
}

void TestLeilaoFile::missingFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("nada.txt"));
    QCOMPARE(importErrorOf([&] { CheckLeilaoFile(missing); }),
             QStringLiteral("Arquivo ") + missing + QStringLiteral(" não existe."));
    QCOMPARE(importErrorOf([&] { CheckLeilaoFile(QString()); }), QStringLiteral("Arquivo  não existe."));
}

void TestLeilaoFile::unreadableFile_data()
{
    QTest::addColumn<QString>("path");

    QVERIFY(m_dir.isValid());
    const QString locked = m_dir.filePath(QStringLiteral("trancado.txt"));
    QFile out(locked);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(windows1252({totalsLine(0, 0)}));
    out.close();
    QVERIFY(QFile::setPermissions(locked, QFileDevice::WriteOwner));

    QTest::newRow("folder") << m_dir.path();
    QTest::newRow("no read permission") << locked;
    // Opens, then fails on the first read.
    if (QFile::exists(QStringLiteral("/proc/self/mem")))
        QTest::newRow("read error") << QStringLiteral("/proc/self/mem");
}

void TestLeilaoFile::unreadableFile()
{
    QFETCH(QString, path);
    QFile probe(path);
    if (QFileInfo(path).isFile() && probe.open(QIODevice::ReadOnly) && !probe.read(1).isEmpty())
        QSKIP("This user reads files without read permission (root)");
    QCOMPARE(importErrorOf([&] { CheckLeilaoFile(path); }),
             QStringLiteral("Não foi possível ler o arquivo ") + path + u'.');
}

void TestLeilaoFile::generatedFilesPass_data()
{
    QTest::addColumn<int>("notes");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("thousand") << 1000;
    // So many notes that full-sized amounts would overflow the totals record.
    QTest::newRow("hundred thousand") << 100000;
}

void TestLeilaoFile::generatedFilesPass()
{
    QFETCH(int, notes);

    const QByteArray bytes = bench::generateLeilaoFile(notes, 7);
    QCOMPARE(bench::generateLeilaoFile(notes, 7), bytes);
    const LeilaoFile file = LeilaoFile::fromBytes(bytes);
    QCOMPARE(file.lines().size(), notes + 1);
    QVERIFY(file.check());
    QCOMPARE(file.totals().noteCount, notes);

    int companies = 0;
    for (const QString &line : file.lines()) {
        QCOMPARE(line.size(), TLeilao::LineLength);
        const TLeilao record = ParseLine(line);
        if (record.recordType != TLeilao::RecordType::Note)
            continue;
        QVERIFY(record.noteTotal > 0);
        QCOMPARE(record.noteTotal, record.merchandise + record.commission + record.adminFee);
        const QString digits = record.documentDigits();
        if (record.personType() == 2) {
            ++companies;
            QVERIFY2(ZelUtils::CheckCNPJ(digits), qPrintable(digits));
        } else {
            QVERIFY2(ZelUtils::CheckCPF(digits) && digits.size() == 11, qPrintable(digits));
        }
    }
    if (notes >= 1000)
        QVERIFY(companies > 0 && companies < notes);
    if (notes > 0)
        QVERIFY(bench::generateLeilaoFile(notes, 8) != bytes);
}

void TestLeilaoFile::randomInputNeverCrashes()
{
    QRandomGenerator random(20080215);
    const QString valid = noteLine(106000, 1);
    const QString totals = totalsLine(3, 40000);

    auto randomLineBytes = [&]() {
        QByteArray bytes;
        const int shape = random.bounded(4);
        if (shape < 2) {
            // A valid record with a few bytes replaced, so that the parser gets past its first checks.
            bytes = (shape == 0 ? valid : totals).toLatin1();
            const int mutations = random.bounded(1, 8);
            for (int i = 0; i < mutations; ++i)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            if (random.bounded(10) == 0)
                bytes.resize(random.bounded(160, 176), ' ');
        } else {
            const int length = shape == 2 ? random.bounded(166, 171) : random.bounded(0, 300);
            for (int i = 0; i < length; ++i)
                bytes.append(char(random.bounded(256)));
            if (!bytes.isEmpty() && random.bounded(2) == 0)
                bytes[0] = random.bounded(2) ? '1' : '2';
        }
        // Line breaks belong to the file, not to a line.
        for (char &c : bytes) {
            if (c == '\r' || c == '\n')
                c = ' ';
        }
        return bytes;
    };

    QStringDecoder decoder("windows-1252");
    int parsed = 0;
    int refused = 0;
    for (int i = 0; i < 4000; ++i) {
        const QByteArray bytes = randomLineBytes();
        const QString line = decoder.decode(bytes);
        QCOMPARE(line.size(), bytes.size());
        try {
            const TLeilao record = ParseLine(line);
            ++parsed;
            const QChar type = line.isEmpty() ? QChar() : line.at(0);
            if (type == u'1' || type == u'2')
                QCOMPARE(line.size(), TLeilao::LineLength);
            QCOMPARE(record.recordType, type == u'1'   ? TLeilao::RecordType::Note
                                        : type == u'2' ? TLeilao::RecordType::Totals
                                                       : TLeilao::RecordType::Ignored);
            for (qint64 amount : {record.merchandise, record.commissionRate, record.commission,
                                  record.adminFee, record.noteTotal, record.checkTotal})
                QCOMPARE(amount % 100, 0);
            if (record.recordType == TLeilao::RecordType::Note)
                QVERIFY(record.auctionDate.isValid());
        } catch (const ImportError &e) {
            ++refused;
            QVERIFY(e.message() == LengthError1 || e.message() == LengthError2 ||
                    e.message().startsWith(QStringLiteral("Data do leilão inválida: ")));
        }
    }
    // Both roads were taken often enough for the run to mean something.
    QVERIFY2(parsed > 500 && refused > 500, qPrintable(QStringLiteral("%1 %2").arg(parsed).arg(refused)));

    static const char *const breaks[] = {"\r\n", "\n", "\r"};
    int passedFiles = 0;
    int refusedFiles = 0;
    for (int f = 0; f < 300; ++f) {
        QByteArray bytes;
        const int lines = random.bounded(0, 20);
        for (int i = 0; i < lines; ++i)
            bytes += randomLineBytes() + breaks[random.bounded(3)];
        if (random.bounded(2) == 0)
            bytes += char(random.bounded(256));
        const LeilaoFile file = LeilaoFile::fromBytes(bytes);
        QVERIFY(file.lines().size() <= lines + 1);

        LeilaoFileTotals totals;
        bool counted = false;
        try {
            totals = file.totals();
            counted = true;
        } catch (const ImportError &) {
        }
        const bool agree = totals.noteCount == totals.checkCount && totals.noteSum == totals.checkTotal;
        try {
            QVERIFY(file.check());
            QVERIFY(counted && agree);
            ++passedFiles;
        } catch (const ImportError &e) {
            QVERIFY(!counted || !agree);
            if (counted)
                QVERIFY(e.message() == TotalError || e.message() == CountError ||
                        e.message() == TotalError + CountError);
            ++refusedFiles;
        }
    }
    QVERIFY2(passedFiles > 0 && refusedFiles > 0,
             qPrintable(QStringLiteral("%1 %2").arg(passedFiles).arg(refusedFiles)));
}

QTEST_GUILESS_MAIN(TestLeilaoFile)
#include "tst_leilaofile.moc"
