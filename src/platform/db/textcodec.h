#pragma once

#include <QByteArray>
#include <QString>

namespace db {

/// Converts between QString and the bytes of a connection character set (WIN1252 by default).
class TextCodec
{
public:
    enum class Kind { Win1252, Utf8, Latin1, Raw };

    explicit TextCodec(Kind kind = Kind::Win1252) : m_kind(kind) {}
    /// The codec for a Firebird character set name (WIN1252, UTF8, ISO8859_1, NONE...).
    static TextCodec forCharset(const QString &charset);

    Kind kind() const { return m_kind; }
    int maxBytesPerChar() const { return m_kind == Kind::Utf8 ? 4 : 1; }

    QString decode(const char *data, int length) const;
    QString decode(const QByteArray &bytes) const { return decode(bytes.constData(), int(bytes.size())); }
    /// False when the text holds a character the character set cannot store; out is then undefined.
    bool encode(QStringView text, QByteArray &out) const;
    /// Encodes or throws ValueError naming the first character that cannot be stored.
    QByteArray encodeOrThrow(QStringView text) const;

private:
    Kind m_kind;
};

} // namespace db
