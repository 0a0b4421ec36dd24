#include "logincredentials.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QStringDecoder>
#include <QStringEncoder>

namespace {

QByteArray toWindows1252(const QString &text)
{
    QStringEncoder encoder("windows-1252");
    return encoder(text);
}

QString fromWindows1252(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1252");
    return decoder(bytes);
}

} // namespace

QString PasswordDigest(const QString &password)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(toWindows1252(password), QCryptographicHash::Md5).toHex().toUpper());
}

bool IsScrambleExempt(unsigned char c)
{
    return (c >= 192 && c <= 196) || (c >= 199 && c <= 207) || (c >= 209 && c <= 214) ||
           (c >= 217 && c <= 220) || (c >= 224 && c <= 228) || (c >= 231 && c <= 239) ||
           (c >= 241 && c <= 246) || (c >= 249 && c <= 252);
}

QString ScrambleUserName(const QString &name)
{
    QByteArray bytes = toWindows1252(name);
    for (char &ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        const auto next = static_cast<unsigned char>(c + 1);
        if (!IsScrambleExempt(c) && !IsScrambleExempt(next))
            ch = static_cast<char>(next);
    }
    return fromWindows1252(bytes);
}

QString UnscrambleUserName(const QString &scrambled)
{
    QByteArray bytes = toWindows1252(scrambled);
    for (char &ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (!IsScrambleExempt(c))
            ch = static_cast<char>(static_cast<unsigned char>(c - 1));
    }
    return fromWindows1252(bytes);
}
