#include "leilaofilegen.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>

#include <array>
#include <limits>
#include <stdexcept>

namespace bench {

namespace {

constexpr int MaxNotes = 10'000'000;
constexpr qint64 CommissionRate = 500; // 5,00 %, in hundredths

QString zeros(qint64 value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

QString blanks(const QString &text, int width)
{
    return text.leftJustified(width, u' ', true);
}

template <std::size_t N> QChar checkDigit(const QString &digits, const std::array<int, N> &weights)
{
    int sum = 0;
    for (std::size_t i = 0; i < N; ++i)
        sum += (digits.at(qsizetype(i)).unicode() - u'0') * weights[i];
    const int r = (sum * 10) % 11;
    return QChar(u'0' + (r == 10 ? 0 : r));
}

QString randomDigits(QRandomGenerator &random, int count)
{
    QString digits;
    for (int i = 0; i < count; ++i)
        digits += QChar(u'0' + random.bounded(10));
    return digits;
}

QString cpf(QRandomGenerator &random)
{
    QString digits = randomDigits(random, 9);
    digits += checkDigit(digits, std::array<int, 9>{10, 9, 8, 7, 6, 5, 4, 3, 2});
    digits += checkDigit(digits, std::array<int, 10>{11, 10, 9, 8, 7, 6, 5, 4, 3, 2});
    return digits;
}

QString cnpj(QRandomGenerator &random)
{
    QString digits = randomDigits(random, 8) + QStringLiteral("0001");
    digits += checkDigit(digits, std::array<int, 12>{5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
    digits += checkDigit(digits, std::array<int, 13>{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
    return digits;
}

QString clientName(QRandomGenerator &random, int note)
{
    static const QStringList names{QStringLiteral("JOSÉ DA CONCEIÇÃO"),
                                   QStringLiteral("MARIA APARECIDA SOUZA"),
                                   QStringLiteral("AGROPECUÁRIA SÃO JOÃO LTDA"),
                                   QStringLiteral("Leilões & Cia"), QStringLiteral("ANTÔNIO GONÇALVES")};
    return names.at(random.bounded(int(names.size()))) + QStringLiteral(" %1").arg(note);
}

} // namespace

QByteArray generateLeilaoFile(int noteCount, quint32 seed)
{
    if (noteCount < 0 || noteCount > MaxNotes)
        throw std::invalid_argument("generateLeilaoFile: noteCount must be between 0 and 10000000");

    QRandomGenerator random(seed);
    // The totals record reads its sum as a 32-bit number of cents: share that room among the notes. The
    // commission (5 %), the fee (up to 5 %) and their rounding fit in what the merchandise leaves of a share.
    const qint64 share = std::numeric_limits<qint32>::max() / qMax(noteCount, 1);
    const qint64 maxMerchandise = qMax<qint64>(1, qMin<qint64>(share * 10 / 12, 100'000'000));

    QString text;
    text.reserve(qsizetype(noteCount + 1) * 170);
    qint64 sum = 0;
    for (int note = 1; note <= noteCount; ++note) {
        const qint64 merchandise = 1 + qint64(random.bounded(quint64(maxMerchandise)));
        const qint64 commission = (merchandise * CommissionRate + 5000) / 10000;
        const qint64 fee = qint64(random.bounded(quint64(merchandise / 20 + 1)));
        const qint64 total = merchandise + commission + fee;
        sum += total;

        const bool company = random.bounded(4) == 0;
        text += QStringLiteral("1150220080000000001");
        text += blanks(company ? cnpj(random) : cpf(random), 14);
        text += blanks(clientName(random, note), 50);
        text += zeros(note, 10);
        text += zeros(merchandise, 15);
        text += zeros(CommissionRate, 15);
        text += zeros(commission, 15);
        text += zeros(fee, 15);
        text += zeros(total, 15);
        text += QStringLiteral("\r\n");
    }
    text += u'2' + zeros(noteCount, 10) + zeros(sum, 15) + QString(142, u' ') + QStringLiteral("\r\n");

    QStringEncoder encoder("windows-1252");
    return encoder.encode(text);
}

bool writeLeilaoFile(const QString &path, int noteCount, quint32 seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = generateLeilaoFile(noteCount, seed);
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace bench
