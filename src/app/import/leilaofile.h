#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <utility>

struct TLeilao;

/// What the validation pass counted in an auction import file. Amounts are currency in ten-thousandths.
struct LeilaoFileTotals
{
    int noteCount = 0;  // type-1 records
    qint64 noteSum = 0; // sum of their note totals
    bool hasTotalsRecord = false;
    int checkCount = 0;    // count of the last type-2 record, 0 when there is none
    qint64 checkTotal = 0; // total of the last type-2 record, 0 when there is none
};

/// The lines of an auction import file and the validation pass over them; nothing is written anywhere.
class LeilaoFile
{
public:
    explicit LeilaoFile(QStringList lines) : m_lines(std::move(lines)) {}

    /// Reads the file at path as Windows-1252. Throws ImportError "Arquivo <path> não existe." when there is
    /// no such file, and ImportError "Não foi possível ler o arquivo <path>." when it is a folder or cannot
    /// be read.
    static LeilaoFile load(const QString &path);
    /// The file's content as Windows-1252 bytes, one byte per character. A line ends at CR LF, a lone CR or a
    /// lone LF; a break at the very end does not start another line, so only a blank line there shows up.
    /// The bytes are kept and decoded line by line as they are visited.
    static LeilaoFile fromBytes(const QByteArray &bytes);

    QStringList lines() const;
    /// Visits every line in file order. Lines read from bytes are decoded one at a time into the same text,
    /// so that a file of a hundred thousand notes is never held twice over as decoded text.
    void forEachLine(const std::function<void(const QString &line)> &visit) const;

    /// Parses every line and counts the notes and their totals against the last totals record. Throws what
    /// ParseLine throws (wrong length, impossible date) at the first faulty line. onRecord, when given, sees
    /// every parsed record in file order, so that a caller with checks of its own parses the file only once.
    LeilaoFileTotals totals(const std::function<void(const TLeilao &)> &onRecord = {}) const;
    /// The validation pass: true when the counts and sums agree with the totals record (all zero when the
    /// file has none). Otherwise throws ImportError whose message joins, in this order, "Valor total do
    /// registro totalizador não bate." and "Total de registros do totalizador não bate.", each followed by a
    /// carriage return, for whichever of the two disagrees.
    bool check() const;
    /// The comparison that check() makes, over totals already counted; throws the same ImportError.
    static void checkTotals(const LeilaoFileTotals &totals);

private:
    QStringList m_lines;
    QByteArray m_bytes;
    bool m_fromBytes = false;
};

/// The whole validation pass over the file at path: LeilaoFile::load(path).check().
bool CheckLeilaoFile(const QString &path);
