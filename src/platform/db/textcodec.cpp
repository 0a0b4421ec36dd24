#include "textcodec.h"

#include "dberror.h"

#include <array>

namespace db {

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five undefined bytes.
constexpr char16_t kHigh1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t decode1252(unsigned char b)
{
    if (b >= 0x80 && b < 0xA0) {
        const char16_t c = kHigh1252[b - 0x80];
        return c ? c : char16_t(b); // undefined bytes pass through as their C1 code point
    }
    return char16_t(b);
}

int encode1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    if (c >= 0x80 && c < 0xA0) // C1 controls read from undefined bytes round-trip
        return kHigh1252[c - 0x80] == 0 ? int(c) : -1;
    for (int i = 0; i < 32; ++i)
        if (kHigh1252[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

TextCodec TextCodec::forCharset(const QString &charset)
{
    const QString cs = charset.trimmed().toUpper();
    if (cs == QLatin1String("UTF8") || cs == QLatin1String("UNICODE_FSS"))
        return TextCodec(Kind::Utf8);
    if (cs == QLatin1String("ISO8859_1") || cs == QLatin1String("LATIN1"))
        return TextCodec(Kind::Latin1);
    if (cs == QLatin1String("OCTETS") || cs == QLatin1String("BINARY"))
        return TextCodec(Kind::Raw);
    // NONE stores bytes as they come: the family's text is Windows-1252, so those are the bytes we send.
    return TextCodec(Kind::Win1252);
}

QString TextCodec::decode(const char *data, int length) const
{
    switch (m_kind) {
    case Kind::Utf8:
        return QString::fromUtf8(data, length);
    case Kind::Latin1:
    case Kind::Raw:
        return QString::fromLatin1(data, length);
    case Kind::Win1252:
        break;
    }
    QString out(length, Qt::Uninitialized);
    char16_t *dst = reinterpret_cast<char16_t *>(out.data());
    for (int i = 0; i < length; ++i)
        dst[i] = decode1252(static_cast<unsigned char>(data[i]));
    return out;
}

bool TextCodec::encode(QStringView text, QByteArray &out) const
{
    switch (m_kind) {
    case Kind::Utf8:
        out = text.toUtf8();
        return true;
    case Kind::Latin1:
    case Kind::Raw:
        for (QChar c : text)
            if (c.unicode() > 0xFF)
                return false;
        out = text.toLatin1();
        return true;
    case Kind::Win1252:
        break;
    }
    out.resize(text.size());
    char *dst = out.data();
    const char16_t *src = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = src[i];
        if (c < 0x80) {
            dst[i] = char(c);
            continue;
        }
        const int b = encode1252(c);
        if (b < 0)
            return false;
        dst[i] = char(b);
    }
    return true;
}

QByteArray TextCodec::encodeOrThrow(QStringView text) const
{
    QByteArray out;
    if (encode(text, out))
        return out;
    for (QChar c : text) {
        QByteArray probe;
        if (!encode(QStringView(&c, 1), probe))
            throw ValueError(
                QStringLiteral("O texto contém o caractere \"%1\" (U+%2), que o banco de dados não "
                               "pode gravar.")
                    .arg(c)
                    .arg(QString::number(c.unicode(), 16).rightJustified(4, QLatin1Char('0')).toUpper()));
    }
    throw ValueError(QStringLiteral("O texto contém caracteres que o banco de dados não pode gravar."));
}

} // namespace db
