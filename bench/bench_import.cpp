// Times the auction import against the same rows written directly on the Firebird C client, in fresh
// embedded WIN1252 databases with the application's whole schema (CONTROLE with its trigger and foreign
// key), and prints one line:
//   bench import_<n> ours_ms=<n> raw_ms=<n> ratio=<ours/raw>
// ours: TdmImportaLeilao validating and importing a generated file of n notes (read, decode, parse and check
// the file, then read and parse it again while inserting every note with the prepared statement, commit and
// rename). raw: the same n rows, parsed and encoded beforehand, inserted with one prepared statement and an
// input XSQLDA in one transaction, then committed.
// Each round gives both sides a fresh copy of the same database, alternates which side goes first, and keeps
// the best time of each side; both sides must store the same rows, or the run fails.
// Options: --notes <n> (100000), --rounds <n> (3); --write-file <path> only writes the generated file of
// --notes notes there (for trying `quintaris-admin importar` by hand) and exits.

#include "benchsupport.h"
#include "leilaofilegen.h"

#include "app/import/dmimportaleilao.h"
#include "app/import/leilao.h"
#include "app/import/leilaofile.h"
#include "app/schema/dmversaoleilao.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"
#include "platform/db/engine.h"
#include "platform/db/statement.h"
#include "platform/db/transaction.h"

#include <ibase.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kAdminUserId = 1;
constexpr int kParamCount = 12;

const char kRawInsert[] =
    "insert into CONTROLE (LEILAO_DATA, CLI_TIPO_PESSOA, CLI_DOCUMENTO, CLI_NOME, NOTA_NUMERO, "
    "NOTA_MERCADORIA, NOTA_PER_COMISSAO, NOTA_COMISSAO, NOTA_TAXA_ADMIN, NOTA_TOTAL, USUARIOID, "
    "LEILAO_NUMERO) "
    "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

// The same transaction parameters as the import's "read_committed", "rec_version", "nowait".
const char kTpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};

// ISC_DATE counts days from 1858-11-17, the day before Julian day 2400001.
constexpr qint64 kIscDateOffset = 2400001;

/// One note as the raw writer sends it: engine representations and Windows-1252 bytes.
struct RawNote
{
    ISC_DATE date = 0;
    ISC_LONG personType = 0;
    QByteArray document;
    QByteArray name;
    ISC_LONG noteNumber = 0;
    ISC_INT64 amounts[5] = {}; // currency ticks, sent with scale -4 as the import sends them
    ISC_LONG userId = kAdminUserId;
    QByteArray auction;
};

std::vector<RawNote> rawNotes(const QByteArray &fileBytes)
{
    QStringEncoder encoder("windows-1252");
    std::vector<RawNote> notes;
    const LeilaoFile file = LeilaoFile::fromBytes(fileBytes);
    for (const QString &line : file.lines()) {
        const TLeilao r = ParseLine(line);
        if (r.recordType != TLeilao::RecordType::Note)
            continue;
        RawNote n;
        n.date = ISC_DATE(r.auctionDate.toJulianDay() - kIscDateOffset);
        n.personType = r.personType();
        n.document = encoder.encode(r.documentDigits());
        n.name = encoder.encode(r.name);
        n.noteNumber = r.noteNumber;
        const qint64 amounts[5] = {r.merchandise, r.commissionRate, r.commission, r.adminFee, r.noteTotal};
        std::copy(std::begin(amounts), std::end(amounts), n.amounts);
        n.auction = QByteArray::number(r.auctionNumber);
        notes.push_back(n);
    }
    return notes;
}

void insertRaw(db::Database &database, std::vector<RawNote> &notes)
{
    isc_db_handle *dbHandle = database.handle();
    ISC_STATUS_ARRAY status = {};
    isc_tr_handle tr = 0;
    if (isc_start_transaction(status, &tr, 1, dbHandle, sizeof kTpb, kTpb))
        bench::rawFail(status, "isc_start_transaction");
    isc_stmt_handle st = 0;
    if (isc_dsql_allocate_statement(status, dbHandle, &st))
        bench::rawFail(status, "isc_dsql_allocate_statement");
    if (isc_dsql_prepare(status, &tr, &st, 0, kRawInsert, 3, nullptr))
        bench::rawFail(status, "isc_dsql_prepare");
    std::vector<char> daMemory(XSQLDA_LENGTH(kParamCount), 0);
    XSQLDA *da = reinterpret_cast<XSQLDA *>(daMemory.data());
    da->version = SQLDA_VERSION1;
    da->sqln = kParamCount;
    if (isc_dsql_describe_bind(status, &st, 1, da))
        bench::rawFail(status, "isc_dsql_describe_bind");
    if (da->sqld != kParamCount)
        throw std::logic_error("unexpected parameter count");
    static short notNull = 0;
    XSQLVAR *v = da->sqlvar;
    const auto fixed = [](XSQLVAR &var, short type, short length, short scale = 0) {
        var.sqltype = short(type | 1);
        var.sqllen = length;
        var.sqlscale = scale;
        var.sqlsubtype = 0;
        var.sqlind = &notNull;
    };
    fixed(v[0], SQL_TYPE_DATE, sizeof(ISC_DATE));
    fixed(v[1], SQL_LONG, sizeof(ISC_LONG));
    fixed(v[4], SQL_LONG, sizeof(ISC_LONG));
    for (int a = 0; a < 5; ++a)
        fixed(v[5 + a], SQL_INT64, sizeof(ISC_INT64), -4);
    fixed(v[10], SQL_LONG, sizeof(ISC_LONG));
    for (int i : {2, 3, 11})
        fixed(v[i], SQL_TEXT, 0);
    for (RawNote &n : notes) {
        v[0].sqldata = reinterpret_cast<char *>(&n.date);
        v[1].sqldata = reinterpret_cast<char *>(&n.personType);
        v[2].sqldata = n.document.data();
        v[2].sqllen = short(n.document.size());
        v[3].sqldata = n.name.data();
        v[3].sqllen = short(n.name.size());
        v[4].sqldata = reinterpret_cast<char *>(&n.noteNumber);
        for (int a = 0; a < 5; ++a)
            v[5 + a].sqldata = reinterpret_cast<char *>(&n.amounts[a]);
        v[10].sqldata = reinterpret_cast<char *>(&n.userId);
        v[11].sqldata = n.auction.data();
        v[11].sqllen = short(n.auction.size());
        if (isc_dsql_execute(status, &tr, &st, 1, da))
            bench::rawFail(status, "isc_dsql_execute");
    }
    if (isc_dsql_free_statement(status, &st, DSQL_drop))
        bench::rawFail(status, "isc_dsql_free_statement");
    if (isc_commit_transaction(status, &tr))
        bench::rawFail(status, "isc_commit_transaction");
}

void importOurs(db::Database &database, const QString &file, int expectedNotes)
{
    TdmImportaLeilao module(&database, kAdminUserId);
    module.setFileName(file);
    if (!module.CheckFile() || !module.ImportFile() || module.ImportedCount() != expectedNotes)
        throw std::runtime_error("the import did not take every note");
}

/// A fingerprint of CONTROLE, to prove that both writers stored the same rows.
QString fingerprint(db::Database &database)
{
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.start();
    db::Statement st(&database, &tr);
    st.setSql(QStringLiteral(
        "select count(*), sum(NOTA_NUMERO), sum(NOTA_MERCADORIA), sum(NOTA_PER_COMISSAO), "
        "sum(NOTA_COMISSAO), "
        "sum(NOTA_TAXA_ADMIN), sum(NOTA_TOTAL), sum(CLI_TIPO_PESSOA), sum(char_length(CLI_NOME)), "
        "min(CLI_NOME), max(CLI_NOME), min(CLI_DOCUMENTO), max(CLI_DOCUMENTO), min(LEILAO_DATA), "
        "max(LEILAO_NUMERO), sum(USUARIOID) from CONTROLE"));
    st.execute();
    st.next();
    QStringList parts;
    for (int i = 0; i < st.columnCount(); ++i)
        parts << st.field(i).asString();
    st.close();
    tr.commit();
    return parts.join(QLatin1Char('|'));
}

void copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        throw std::runtime_error("cannot copy " + from.toStdString());
    QFile(to).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Auction import against the raw Firebird client"));
    parser.addHelpOption();
    const QCommandLineOption notesOption(QStringLiteral("notes"),
                                         QStringLiteral("Notes in the file (100000)."), QStringLiteral("n"),
                                         QStringLiteral("100000"));
    const QCommandLineOption roundsOption(QStringLiteral("rounds"),
                                          QStringLiteral("Rounds; the best of each side is kept (3)."),
                                          QStringLiteral("n"), QStringLiteral("3"));
    const QCommandLineOption writeOption(QStringLiteral("write-file"),
                                         QStringLiteral("Only write the generated import file to path."),
                                         QStringLiteral("path"));
    parser.addOptions({notesOption, roundsOption, writeOption});
    parser.process(app);
    const int notes = parser.value(notesOption).toInt();
    const int rounds = parser.value(roundsOption).toInt();
    if (notes <= 0 || rounds <= 0) {
        std::fprintf(stderr, "bench_import: --notes and --rounds must be positive\n");
        return 2;
    }

    if (parser.isSet(writeOption)) {
        if (!bench::writeLeilaoFile(parser.value(writeOption), notes)) {
            std::fprintf(stderr, "bench_import: cannot write %s\n", qPrintable(parser.value(writeOption)));
            return 1;
        }
        return 0;
    }

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "bench_import: cannot create a temporary folder\n");
        return 1;
    }
    try {
        if (qEnvironmentVariableIsEmpty("QUINTARIS_FIREBIRD_ROOT"))
            db::Engine::configure(dir.filePath(QStringLiteral("engine")));

        const QString templatePath = dir.filePath(QStringLiteral("template.fdb"));
        {
            db::Database database;
            database.setDatabaseName(templatePath);
            database.setParams({QStringLiteral("USER 'SYSDBA' PASSWORD 'masterkey' PAGE_SIZE 4096")});
            database.createDatabase();
            database.close();
        }
        bench::disableForcedWrites(templatePath);
        if (!TdmVersaoLeilao().CreateSchema(templatePath))
            throw std::runtime_error("the schema scripts failed");

        const QByteArray fileBytes = bench::generateLeilaoFile(notes);
        const QString source = dir.filePath(QStringLiteral("source.txt"));
        const QString file = dir.filePath(QStringLiteral("leilao.txt"));
        {
            QFile out(source);
            if (!out.open(QIODevice::WriteOnly) || out.write(fileBytes) != fileBytes.size())
                throw std::runtime_error("cannot write the import file");
        }
        std::vector<RawNote> raw = rawNotes(fileBytes);

        qint64 bestOurs = std::numeric_limits<qint64>::max();
        qint64 bestRaw = std::numeric_limits<qint64>::max();
        QString expected;
        const QString databasePath = dir.filePath(QStringLiteral("round.fdb"));
        for (int round = 0; round < rounds; ++round) {
            for (int side = 0; side < 2; ++side) {
                const bool ours = (side == 0) == (round % 2 == 0);
                copyFile(templatePath, databasePath);
                copyFile(source, file);
                QFile::remove(TdmImportaLeilao::ImportedFileName(file));
                db::Database database;
                database.setDatabaseName(databasePath);
                database.setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=masterkey"),
                                    QStringLiteral("lc_ctype=WIN1252")});
                database.open();
                QElapsedTimer timer;
                timer.start();
                if (ours)
                    importOurs(database, file, int(raw.size()));
                else
                    insertRaw(database, raw);
                const qint64 ns = timer.nsecsElapsed();
                (ours ? bestOurs : bestRaw) = std::min(ours ? bestOurs : bestRaw, ns);
                const QString got = fingerprint(database);
                if (expected.isEmpty())
                    expected = got;
                else if (got != expected)
                    throw std::runtime_error("the two writers stored different rows");
                database.close();
            }
        }
        const QString suffix =
            notes % 1000 == 0 ? QString::number(notes / 1000) + QLatin1Char('k') : QString::number(notes);
        bench::reportNanoseconds(QStringLiteral("import_") + suffix, bestOurs, bestRaw);
    } catch (const db::DatabaseError &e) {
        std::fprintf(stderr, "bench_import: %s\n", qPrintable(e.message()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_import: %s\n", e.what());
        return 1;
    }
    return 0;
}
