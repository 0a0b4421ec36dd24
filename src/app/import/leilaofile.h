#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <utility>

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
    static LeilaoFile fromBytes(const QByteArray &bytes);

    const QStringList &lines() const { return m_lines; }

    /// Parses every line and counts the notes and their totals against the last totals record. Throws what
    /// ParseLine throws (wrong length, impossible date) at the first faulty line.
    LeilaoFileTotals totals() const;
    /// The validation pass: true when the counts and sums agree with the totals record (all zero when the
    /// file has none). Otherwise throws ImportError whose message joins, in this order, "Valor total do
    /// registro totalizador não bate." and "Total de registros do totalizador não bate.", each followed by a
    /// carriage return, for whichever of the two disagrees.
    bool check() const;

private:
    QStringList m_lines;
};

/// The whole validation pass over the file at path: LeilaoFile::load(path).check().
bool CheckLeilaoFile(const QString &path);
