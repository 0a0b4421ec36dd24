#include "leilaofile.h"

#include "app/import/importerror.h"
#include "app/import/leilao.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <stdexcept>

namespace {

// The files are written by a Windows program; every byte is one character.
QString decodeWindows1252(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        throw std::logic_error("The Windows-1252 text codec is not available in this Qt build");
    return decoder.decode(bytes);
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
    const QString text = decodeWindows1252(bytes);
    QStringList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        lines.append(text.sliced(start, i - start));
        i += (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size())
        lines.append(text.sliced(start));
    return LeilaoFile(std::move(lines));
}

LeilaoFileTotals LeilaoFile::totals() const
{
    LeilaoFileTotals result;
    for (const QString &line : m_lines) {
        const TLeilao record = ParseLine(line);
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
    }
    return result;
}

bool LeilaoFile::check() const
{
    const LeilaoFileTotals t = totals();
    QString message;
    if (t.checkTotal != t.noteSum)
        message += QStringLiteral("Valor total do registro totalizador não bate.\r");
    if (t.checkCount != t.noteCount)
        message += QStringLiteral("Total de registros do totalizador não bate.\r");
    if (!message.isEmpty())
        throw ImportError(message);
    return true;
}

bool CheckLeilaoFile(const QString &path)
{
    return LeilaoFile::load(path).check();
}
