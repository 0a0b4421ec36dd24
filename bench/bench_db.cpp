// Times the data layer against the same work written directly on the Firebird C client, in one fresh embedded
// WIN1252 database with a table shaped like CONTROLE, and prints one line per case:
//   bench <name> ours_ms=<n> raw_ms=<n> ratio=<ours/raw>
// dataset_read: open a DataSet on every row, read every field with the accessor of its type, close; against
// prepare, execute, fetch and decode through an XSQLDA. insert: start a transaction, prepare an insert with
// ":NAME" parameters, run it once per row, commit; against the same with an input XSQLDA.
// Each case runs several rounds (5 by default) whose order alternates between the two sides, and keeps the
// best time of each side, so that neither profits from caches the other warmed. Both sides work on the same
// attachment and must arrive at the same values, or the run fails.
// Options: --rows <n> (100000), --rounds <n>, --case read|insert|all (smaller runs suit valgrind).

#include "platform/db/database.h"
#include "platform/db/dataset.h"
#include "platform/db/dberror.h"
#include "platform/db/engine.h"
#include "platform/db/field.h"
#include "platform/db/statement.h"
#include "platform/db/transaction.h"

#include "benchsupport.h"

#include <ibase.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kAmountCount = 5;

const char *const kColumns = "ID, LEILAO_DATA, LEILAO_NUMERO, CLI_TIPO_PESSOA, CLI_DOCUMENTO, CLI_NOME, "
                             "NOTA_NUMERO, NOTA_MERCADORIA, NOTA_PER_COMISSAO, NOTA_COMISSAO, "
                             "NOTA_TAXA_ADMIN, NOTA_TOTAL, USUARIOID";

QString createTableSql(const QString &table)
{
    return QStringLiteral("create table %1 (ID integer not null primary key, LEILAO_DATA date, "
                          "LEILAO_NUMERO varchar(8), CLI_TIPO_PESSOA integer, CLI_DOCUMENTO varchar(14), "
                          "CLI_NOME varchar(50), NOTA_NUMERO integer, NOTA_MERCADORIA double precision, "
                          "NOTA_PER_COMISSAO double precision, NOTA_COMISSAO double precision, "
                          "NOTA_TAXA_ADMIN double precision, NOTA_TOTAL double precision, USUARIOID integer)")
        .arg(table);
}

QString insertSql(const QString &table, bool named)
{
    QString values;
    for (const QString &column : QString::fromLatin1(kColumns).split(QStringLiteral(", "))) {
        if (!values.isEmpty())
            values += QStringLiteral(", ");
        values += named ? QLatin1Char(':') + column : QStringLiteral("?");
    }
    return QStringLiteral("insert into %1 (%2) values (%3)")
        .arg(table, QString::fromLatin1(kColumns), values);
}

// ----------------------------------------------------------------------------------------------- rows

/// One auction note as the program holds it before writing it.
struct Note
{
    int id = 0;
    QDate date;
    QString auctionNumber;
    int personType = 0;
    QString document;
    QString name;
    int noteNumber = 0;
    double amounts[kAmountCount] = {};
    bool hasUser = true;
    int userId = 0;
};

std::vector<Note> makeNotes(int count)
{
    static const char16_t *const first[] = {u"José",   u"João",   u"Antônio", u"Conceição", u"Luís",
                                            u"Maria",  u"Márcia", u"Inês",    u"Sebastião", u"Cecília",
                                            u"Ângela", u"Túlio",  u"Zoë",     u"Heitor",    u"Ana"};
    static const char16_t *const last[] = {u"da Silva",  u"Gonçalves", u"Araújo",  u"Simões",    u"Magalhães",
                                           u"Conceição", u"Brandão",   u"Peçanha", u"Guimarães", u"Lúcio",
                                           u"Müller",    u"Assunção",  u"Souza",   u"Falcão"};
    const int nFirst = int(std::size(first));
    const int nLast = int(std::size(last));
    std::vector<Note> notes(static_cast<size_t>(count));
    const QDate start(2008, 1, 2);
    quint32 seed = 12345;
    const auto rnd = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) & 0xFFFFFF;
    };
    for (int i = 0; i < count; ++i) {
        Note &n = notes[size_t(i)];
        n.id = i + 1;
        n.date = start.addDays(i / 400);
        n.auctionNumber = QString::number(1 + i / 400);
        n.personType = (i % 7 == 0) ? 2 : 1;
        const quint32 docDigits = rnd();
        n.document = n.personType == 2
                         ? QStringLiteral("%1000190").arg(docDigits % 10000000, 7, 10, QLatin1Char('0'))
                         : QStringLiteral("%1%2")
                               .arg(docDigits % 100000000, 8, 10, QLatin1Char('0'))
                               .arg(i % 1000, 3, 10, QLatin1Char('0'));
        n.name = QString::fromUtf16(first[rnd() % nFirst]) + QLatin1Char(' ') +
                 QString::fromUtf16(last[rnd() % nLast]) + QLatin1Char(' ') +
                 QString::fromUtf16(last[rnd() % nLast]);
        n.noteNumber = 100000 + i;
        const double merchandise = double(rnd() % 10000000) / 100.0;
        n.amounts[0] = merchandise;
        n.amounts[1] = 5.0;
        n.amounts[2] = merchandise * 0.05;
        n.amounts[3] = double(rnd() % 5000) / 100.0;
        n.amounts[4] = n.amounts[0] + n.amounts[2] + n.amounts[3];
        // A few notes without a user, so that both readers meet NULLs.
        n.hasUser = i % 97 != 0;
        n.userId = 1 + i % 5;
    }
    return notes;
}

/// What a reader saw: both readers must arrive at the same sums, or they did not do the same work.
struct Checksum
{
    qint64 rows = 0;
    qint64 integers = 0;
    qint64 days = 0;
    qint64 characters = 0;
    quint64 codeUnits = 0;
    double amounts = 0;

    void addText(const QString &s)
    {
        characters += s.size();
        for (QChar c : s)
            codeUnits += c.unicode();
    }
    bool operator==(const Checksum &o) const
    {
        return rows == o.rows && integers == o.integers && days == o.days && characters == o.characters &&
               codeUnits == o.codeUnits && amounts == o.amounts;
    }
};

// ------------------------------------------------------------------------------ raw client helpers

// The same transaction parameters as the data layer's "read_committed", "rec_version", "nowait".
const char kTpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
const QStringList kTransactionParams = {QStringLiteral("read_committed"), QStringLiteral("rec_version"),
                                        QStringLiteral("nowait")};

/// An XSQLDA in a byte vector, sized for n variables.
struct RawDa
{
    std::vector<char> mem;
    explicit RawDa(int n) { resize(n); }
    void resize(int n)
    {
        mem.assign(XSQLDA_LENGTH(n), 0);
        get()->version = SQLDA_VERSION1;
        get()->sqln = short(n);
    }
    XSQLDA *get() { return reinterpret_cast<XSQLDA *>(mem.data()); }
};

/// Points every variable of da at its own slot in buffer (8-aligned data, then the indicator).
void allocateVars(XSQLDA *da, std::vector<char> &buffer)
{
    std::vector<size_t> offsets;
    size_t size = 0;
    for (int i = 0; i < da->sqld; ++i) {
        const XSQLVAR &v = da->sqlvar[i];
        const size_t data = (v.sqltype & ~1) == SQL_VARYING ? size_t(v.sqllen) + 2 : size_t(v.sqllen);
        offsets.push_back(size);
        size = (size + data + sizeof(short) + 7) / 8 * 8;
    }
    buffer.assign(size, 0);
    for (int i = 0; i < da->sqld; ++i) {
        XSQLVAR &v = da->sqlvar[i];
        const size_t data = (v.sqltype & ~1) == SQL_VARYING ? size_t(v.sqllen) + 2 : size_t(v.sqllen);
        v.sqldata = buffer.data() + offsets[size_t(i)];
        v.sqlind = reinterpret_cast<short *>(buffer.data() + offsets[size_t(i)] + data + (data % 2));
    }
}

// Windows-1252 as a plain table, the way a hand-written client would convert.
struct Cp1252
{
    char16_t toUnicode[256];
    Cp1252()
    {
        static const char16_t high[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                          0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
        for (int b = 0; b < 256; ++b)
            toUnicode[b] = (b >= 0x80 && b < 0xA0) ? high[b - 0x80] : char16_t(b);
    }
    QString decode(const char *data, int length) const
    {
        QString s(length, Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(s.data());
        for (int i = 0; i < length; ++i)
            out[i] = toUnicode[static_cast<unsigned char>(data[i])];
        return s;
    }
    /// Writes the bytes of s into out; false when a character has no Windows-1252 byte or out is too small.
    bool encode(const QString &s, char *out, int capacity, int &length) const
    {
        if (s.size() > capacity)
            return false;
        const char16_t *in = reinterpret_cast<const char16_t *>(s.utf16());
        for (qsizetype i = 0; i < s.size(); ++i) {
            const char16_t c = in[i];
            if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
                out[i] = char(c);
                continue;
            }
            int b = 0x80;
            while (b < 0xA0 && toUnicode[b] != c)
                ++b;
            if (b == 0xA0)
                return false;
            out[i] = char(b);
        }
        length = int(s.size());
        return true;
    }
};

const Cp1252 &cp1252()
{
    static const Cp1252 table;
    return table;
}

template <typename T> T load(const char *p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename T> void store(char *p, T v)
{
    std::memcpy(p, &v, sizeof v);
}

// ISC_DATE counts days from 1858-11-17, the day before Julian day 2400001.
constexpr qint64 kIscDateOffset = 2400001;

// -------------------------------------------------------------------------------------------- reading

const QString kSelect = QStringLiteral("select * from CONTROLE");

Checksum readOurs(db::Database &database, qint64 &nanoseconds)
{
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.setParams(kTransactionParams);
    tr.start();
    Checksum sum;
    QElapsedTimer timer;
    timer.start();
    {
        db::DataSet ds;
        ds.setDatabase(&database);
        ds.setTransaction(&tr);
        ds.setSelectSql(kSelect);
        ds.open();
        std::vector<db::Field *> fields;
        for (int i = 0; i < ds.fieldCount(); ++i)
            fields.push_back(ds.field(i));
        while (!ds.eof()) {
            ++sum.rows;
            for (const db::Field *f : fields) {
                switch (f->dataType()) {
                case db::FieldType::Integer:
                    sum.integers += f->asInteger();
                    break;
                case db::FieldType::Date:
                    sum.days += f->asDate().toJulianDay();
                    break;
                case db::FieldType::String:
                    sum.addText(f->asString());
                    break;
                case db::FieldType::Float:
                    sum.amounts += f->asDouble();
                    break;
                default:
                    throw std::logic_error("unexpected field type");
                }
            }
            ds.next();
        }
        ds.close();
    }
    nanoseconds = timer.nsecsElapsed();
    tr.commit();
    return sum;
}

Checksum readRaw(db::Database &database, qint64 &nanoseconds)
{
    isc_db_handle *dbHandle = database.handle();
    ISC_STATUS_ARRAY status = {};
    isc_tr_handle tr = 0;
    if (isc_start_transaction(status, &tr, 1, dbHandle, sizeof kTpb, kTpb))
        bench::rawFail(status, "isc_start_transaction");
    Checksum sum;
    QElapsedTimer timer;
    timer.start();
    {
        isc_stmt_handle st = 0;
        if (isc_dsql_allocate_statement(status, dbHandle, &st))
            bench::rawFail(status, "isc_dsql_allocate_statement");
        RawDa out(16);
        const QByteArray sql = kSelect.toLatin1();
        if (isc_dsql_prepare(status, &tr, &st, 0, sql.constData(), 3, out.get()))
            bench::rawFail(status, "isc_dsql_prepare");
        if (out.get()->sqld > out.get()->sqln) {
            out.resize(out.get()->sqld);
            if (isc_dsql_describe(status, &st, 1, out.get()))
                bench::rawFail(status, "isc_dsql_describe");
        }
        XSQLDA *da = out.get();
        std::vector<char> row;
        allocateVars(da, row);
        if (isc_dsql_execute(status, &tr, &st, 1, nullptr))
            bench::rawFail(status, "isc_dsql_execute");
        const Cp1252 &codec = cp1252();
        ISC_STATUS rc;
        while ((rc = isc_dsql_fetch(status, &st, 1, da)) == 0) {
            ++sum.rows;
            for (int i = 0; i < da->sqld; ++i) {
                const XSQLVAR &v = da->sqlvar[i];
                const bool null = (v.sqltype & 1) && *v.sqlind == -1;
                switch (v.sqltype & ~1) {
                case SQL_LONG:
                    sum.integers += null ? 0 : load<qint32>(v.sqldata);
                    break;
                case SQL_TYPE_DATE: {
                    const QDate d =
                        null ? QDate()
                             : QDate::fromJulianDay(qint64(load<ISC_DATE>(v.sqldata)) + kIscDateOffset);
                    sum.days += d.toJulianDay();
                    break;
                }
                case SQL_VARYING: {
                    const QString s =
                        null ? QString() : codec.decode(v.sqldata + 2, load<quint16>(v.sqldata));
                    sum.addText(s);
                    break;
                }
                case SQL_DOUBLE:
                    sum.amounts += null ? 0.0 : load<double>(v.sqldata);
                    break;
                default:
                    throw std::logic_error("unexpected column type");
                }
            }
        }
        if (rc != 100)
            bench::rawFail(status, "isc_dsql_fetch");
        if (isc_dsql_free_statement(status, &st, DSQL_drop))
            bench::rawFail(status, "isc_dsql_free_statement");
    }
    nanoseconds = timer.nsecsElapsed();
    if (isc_commit_transaction(status, &tr))
        bench::rawFail(status, "isc_commit_transaction");
    return sum;
}

// ------------------------------------------------------------------------------------------ inserting

void insertOurs(db::Database &database, const QString &table, const std::vector<Note> &notes)
{
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.setParams(kTransactionParams);
    tr.start();
    {
        db::Statement st(&database, &tr);
        st.setSql(insertSql(table, true));
        st.prepare();
        // By name on every row, as the program's own import does.
        for (const Note &n : notes) {
            st.param(QStringLiteral("ID")).setInteger(n.id);
            st.param(QStringLiteral("LEILAO_DATA")).setDate(n.date);
            st.param(QStringLiteral("LEILAO_NUMERO")).setString(n.auctionNumber);
            st.param(QStringLiteral("CLI_TIPO_PESSOA")).setInteger(n.personType);
            st.param(QStringLiteral("CLI_DOCUMENTO")).setString(n.document);
            st.param(QStringLiteral("CLI_NOME")).setString(n.name);
            st.param(QStringLiteral("NOTA_NUMERO")).setInteger(n.noteNumber);
            st.param(QStringLiteral("NOTA_MERCADORIA")).setDouble(n.amounts[0]);
            st.param(QStringLiteral("NOTA_PER_COMISSAO")).setDouble(n.amounts[1]);
            st.param(QStringLiteral("NOTA_COMISSAO")).setDouble(n.amounts[2]);
            st.param(QStringLiteral("NOTA_TAXA_ADMIN")).setDouble(n.amounts[3]);
            st.param(QStringLiteral("NOTA_TOTAL")).setDouble(n.amounts[4]);
            db::Param &user = st.param(QStringLiteral("USUARIOID"));
            if (n.hasUser)
                user.setInteger(n.userId);
            else
                user.clear();
            st.execute();
        }
    }
    tr.commit();
}

void insertRaw(db::Database &database, const QString &table, const std::vector<Note> &notes)
{
    isc_db_handle *dbHandle = database.handle();
    ISC_STATUS_ARRAY status = {};
    isc_tr_handle tr = 0;
    if (isc_start_transaction(status, &tr, 1, dbHandle, sizeof kTpb, kTpb))
        bench::rawFail(status, "isc_start_transaction");
    isc_stmt_handle st = 0;
    if (isc_dsql_allocate_statement(status, dbHandle, &st))
        bench::rawFail(status, "isc_dsql_allocate_statement");
    const QByteArray sql = insertSql(table, false).toLatin1();
    if (isc_dsql_prepare(status, &tr, &st, 0, sql.constData(), 3, nullptr))
        bench::rawFail(status, "isc_dsql_prepare");
    RawDa in(16);
    if (isc_dsql_describe_bind(status, &st, 1, in.get()))
        bench::rawFail(status, "isc_dsql_describe_bind");
    if (in.get()->sqld > in.get()->sqln) {
        in.resize(in.get()->sqld);
        if (isc_dsql_describe_bind(status, &st, 1, in.get()))
            bench::rawFail(status, "isc_dsql_describe_bind");
    }
    XSQLDA *da = in.get();
    if (da->sqld != 13)
        throw std::logic_error("unexpected parameter count");
    for (int i = 0; i < da->sqld; ++i)
        da->sqlvar[i].sqltype |= 1; // every parameter carries an indicator
    std::vector<char> buffer;
    allocateVars(da, buffer);
    XSQLVAR *v = da->sqlvar;
    const Cp1252 &codec = cp1252();
    const auto setText = [&codec](XSQLVAR &var, const QString &s) {
        int length = 0;
        if (!codec.encode(s, var.sqldata + 2, var.sqllen, length))
            throw std::runtime_error("text cannot be stored: " + s.toStdString());
        store<quint16>(var.sqldata, quint16(length));
        *var.sqlind = 0;
    };
    const auto setInt = [](XSQLVAR &var, int value) {
        store<qint32>(var.sqldata, value);
        *var.sqlind = 0;
    };
    for (const Note &n : notes) {
        setInt(v[0], n.id);
        store<ISC_DATE>(v[1].sqldata, ISC_DATE(n.date.toJulianDay() - kIscDateOffset));
        *v[1].sqlind = 0;
        setText(v[2], n.auctionNumber);
        setInt(v[3], n.personType);
        setText(v[4], n.document);
        setText(v[5], n.name);
        setInt(v[6], n.noteNumber);
        for (int a = 0; a < kAmountCount; ++a) {
            store<double>(v[7 + a].sqldata, n.amounts[a]);
            *v[7 + a].sqlind = 0;
        }
        if (n.hasUser)
            setInt(v[12], n.userId);
        else
            *v[12].sqlind = -1;
        if (isc_dsql_execute(status, &tr, &st, 1, da))
            bench::rawFail(status, "isc_dsql_execute");
    }
    if (isc_dsql_free_statement(status, &st, DSQL_drop))
        bench::rawFail(status, "isc_dsql_free_statement");
    if (isc_commit_transaction(status, &tr))
        bench::rawFail(status, "isc_commit_transaction");
}

// ------------------------------------------------------------------------------------------- harness

void execDdl(db::Database &database, const QString &sql)
{
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.setParams(kTransactionParams);
    tr.start();
    db::Statement st(&database, &tr);
    st.setParamCheck(false);
    st.setSql(sql);
    st.execute();
    tr.commit();
}

/// A fingerprint of a table's content, to prove that both writers stored the same rows.
QString tableFingerprint(db::Database &database, const QString &table)
{
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.setParams(kTransactionParams);
    tr.start();
    db::Statement st(&database, &tr);
    st.setSql(QStringLiteral("select count(*), sum(ID), sum(extract(day from LEILAO_DATA)), "
                             "sum(char_length(CLI_NOME)), sum(NOTA_TOTAL), sum(USUARIOID), count(USUARIOID), "
                             "max(CLI_NOME), min(CLI_DOCUMENTO), max(LEILAO_NUMERO) from %1")
                  .arg(table));
    st.execute();
    st.next();
    QStringList parts;
    for (int i = 0; i < st.columnCount(); ++i)
        parts << st.field(i).asString();
    st.close();
    tr.commit();
    return parts.join(QLatin1Char('|'));
}

struct Best
{
    qint64 ours = std::numeric_limits<qint64>::max();
    qint64 raw = std::numeric_limits<qint64>::max();
};

void report(const QString &name, const Best &best)
{
    bench::reportNanoseconds(name, best.ours, best.raw);
}

Best benchRead(db::Database &database, int rounds)
{
    Best best;
    qint64 ns = 0;
    const Checksum expected = readRaw(database, ns); // warms the file cache for both sides
    for (int round = 0; round < rounds; ++round) {
        for (int side = 0; side < 2; ++side) {
            const bool ours = (side == 0) == (round % 2 == 0);
            const Checksum got = ours ? readOurs(database, ns) : readRaw(database, ns);
            if (!(got == expected))
                throw std::runtime_error("the two readers saw different values");
            qint64 &slot = ours ? best.ours : best.raw;
            slot = std::min(slot, ns);
        }
    }
    return best;
}

Best benchInsert(db::Database &database, const std::vector<Note> &notes, int rounds)
{
    // Every run writes into a table of its own, so none pays for another's pages or garbage.
    for (int i = 0; i < 2 * rounds; ++i)
        execDdl(database, createTableSql(QStringLiteral("CONTROLE_%1").arg(i + 1)));
    Best best;
    QString fingerprint;
    int tableNo = 0;
    for (int round = 0; round < rounds; ++round) {
        for (int side = 0; side < 2; ++side) {
            const bool ours = (side == 0) == (round % 2 == 0);
            const QString table = QStringLiteral("CONTROLE_%1").arg(++tableNo);
            QElapsedTimer timer;
            timer.start();
            if (ours)
                insertOurs(database, table, notes);
            else
                insertRaw(database, table, notes);
            const qint64 ns = timer.nsecsElapsed();
            qint64 &slot = ours ? best.ours : best.raw;
            slot = std::min(slot, ns);
            const QString f = tableFingerprint(database, table);
            if (fingerprint.isEmpty())
                fingerprint = f;
            else if (f != fingerprint)
                throw std::runtime_error("the two writers stored different rows");
        }
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Data layer against the raw Firebird client"));
    parser.addHelpOption();
    const QCommandLineOption rowsOption(QStringLiteral("rows"), QStringLiteral("Rows per case (100000)."),
                                        QStringLiteral("n"), QStringLiteral("100000"));
    const QCommandLineOption roundsOption(QStringLiteral("rounds"),
                                          QStringLiteral("Rounds per case; the best is kept (5)."),
                                          QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption caseOption(QStringLiteral("case"), QStringLiteral("read, insert or all (all)."),
                                        QStringLiteral("name"), QStringLiteral("all"));
    parser.addOptions({rowsOption, roundsOption, caseOption});
    parser.process(app);
    const int rows = parser.value(rowsOption).toInt();
    const int rounds = parser.value(roundsOption).toInt();
    const QString which = parser.value(caseOption);
    if (rows <= 0 || rounds <= 0 || !QStringList{"read", "insert", "all"}.contains(which)) {
        std::fprintf(stderr, "bench_db: --rows and --rounds must be positive, --case read|insert|all\n");
        return 2;
    }

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "bench_db: cannot create a temporary folder\n");
        return 1;
    }
    try {
        // A private engine root keeps the run away from the user's own database folder.
        if (qEnvironmentVariableIsEmpty("QUINTARIS_FIREBIRD_ROOT"))
            db::Engine::configure(dir.filePath(QStringLiteral("engine")));
        const std::vector<Note> notes = makeNotes(rows);
        const QString suffix =
            rows % 1000 == 0 ? QString::number(rows / 1000) + QLatin1Char('k') : QString::number(rows);

        db::Database database;
        database.setDatabaseName(dir.filePath(QStringLiteral("bench.fdb")));
        database.setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=masterkey"),
                            QStringLiteral("lc_ctype=WIN1252")});
        database.createDatabase();
        database.close();
        bench::disableForcedWrites(database.databaseName());
        database.open();

        if (which != QLatin1String("insert")) {
            execDdl(database, createTableSql(QStringLiteral("CONTROLE")));
            insertOurs(database, QStringLiteral("CONTROLE"), notes);
            report(QStringLiteral("dataset_read_") + suffix, benchRead(database, rounds));
        }
        if (which != QLatin1String("read"))
            report(QStringLiteral("insert_") + suffix, benchInsert(database, notes, rounds));
        database.close();
    } catch (const db::DatabaseError &e) {
        std::fprintf(stderr, "bench_db: %s\n", qPrintable(e.message()));
        return 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_db: %s\n", e.what());
        return 1;
    }
    return 0;
}
