#include "leilaofile.h"

#include "app/import/importerror.h"
#include "app/import/leilao.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The files are written by a Windows program; every byte is one character. Bytes 0x80..0x9F as Windows-1252
// reads them; its five undefined bytes keep their C1 code point, as the database layer reads and writes them.
constexpr char16_t High1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// A table rather than a general converter: files of a hundred thousand notes are read twice per import.
void decodeWindows1252(const char *data, qsizetype length, QString &text)
{
    text.resize(length);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? High1252[b - 0x80] : char16_t(b);
    }
}

QString unreadable(const QString &path)
{
    return QStringLiteral("Não foi possível ler o arquivo %1.").arg(path);
}

} // namespace

LeilaoFile LeilaoFile::load(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        throw ImportError(QStringLiteral("Arquivo ") + path + QStringLiteral(" não existe."));
    if (info.isDir())
        throw ImportError(unreadable(path));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportError(unreadable(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ImportError(unreadable(path));
    return fromBytes(bytes);
}

LeilaoFile LeilaoFile::fromBytes(const QByteArray &bytes)
{
    LeilaoFile file({});
    file.m_bytes = bytes;
    file.m_fromBytes = true;
    return file;
}

QStringList LeilaoFile::lines() const
{
    if (!m_fromBytes)
        return m_lines;
    QStringList lines;
    forEachLine([&lines](const QString &line) { lines.append(line); });
    return lines;
}

void LeilaoFile::forEachLine(const std::function<void(const QString &)> &visit) const
{
    if (!m_fromBytes) {
        for (const QString &line : m_lines)
            visit(line);
        return;
    }
    const char *data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    QString line;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < size) {
        const char c = data[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        decodeWindows1252(data + start, i - start, line);
        visit(line);
        i += (c == '\r' && i + 1 < size && data[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < size) {
        decodeWindows1252(data + start, size - start, line);
        visit(line);
    }
}

LeilaoFileTotals LeilaoFile::totals(const std::function<void(const TLeilao &)> &onRecord) const
{
    LeilaoFileTotals result;
    forEachLine([&](const QString &line) {
        const TLeilao record = ParseLine(line);
        if (onRecord)
            onRecord(record);
        switch (record.recordType) {
        case TLeilao::RecordType::Note:
            ++result.noteCount;
            result.noteSum += record.noteTotal;
            break;
        case TLeilao::RecordType::Totals:
            result.hasTotalsRecord = true;
            result.checkCount = record.checkCount;
            result.checkTotal = record.checkTotal;
            break;
        case TLeilao::RecordType::Ignored:
            break;
        }
    });
    return result;
}

bool LeilaoFile::check() const
{
    checkTotals(totals());
    return true;
}

void LeilaoFile::checkTotals(const LeilaoFileTotals &t)
{
    QString message;
    if (t.checkTotal != t.noteSum)
        message += QStringLiteral("Valor total do registro totalizador não bate.\r");
    if (t.checkCount != t.noteCount)
        message += QStringLiteral("Total de registros do totalizador não bate.\r");
    if (!message.isEmpty())
        throw ImportError(message);
}

bool CheckLeilaoFile(const QString &path)
{
    return LeilaoFile::load(path).check();
}
