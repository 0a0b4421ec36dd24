#include "zelutils.h"

#include <array>
#include <limits>

namespace ZelUtils {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool allAsciiDigits(const QString &text)
{
    for (QChar c : text) {
        if (!isAsciiDigit(c))
            return false;
    }
    return true;
}

// Weighted modulus-11 check digit shared by CPF and CNPJ: r = (sum x 10) mod 11, and 10 becomes 0. For CPF
// this equals the usual "11 - (sum mod 11), 0 when the remainder is 0 or 1".
int checkDigit(const QString &digits, const int *weights, qsizetype count)
{
    int sum = 0;
    for (qsizetype i = 0; i < count; ++i)
        sum += (digits.at(i).unicode() - u'0') * weights[i];
    const int r = (sum * 10) % 11;
    return r == 10 ? 0 : r;
}

// Recomputes both check digits from the leading base digits and compares with the full text.
template <std::size_t N1, std::size_t N2>
bool checkDocument(const QString &digits, const std::array<int, N1> &first, const std::array<int, N2> &second)
{
    static_assert(N2 == N1 + 1);
    if (digits.size() != qsizetype(N2 + 1) || !allAsciiDigits(digits))
        return false;
    QString rebuilt = digits.left(N1);
    rebuilt += QChar(u'0' + checkDigit(rebuilt, first.data(), N1));
    rebuilt += QChar(u'0' + checkDigit(rebuilt, second.data(), N2));
    return rebuilt == digits;
}

} // namespace

QString OnlyDigits(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (isAsciiDigit(c))
            result += c;
    }
    return result;
}

bool CheckCPF(const QString &digits)
{
    if (digits.isEmpty())
        return true;
    static constexpr std::array<int, 9> first{10, 9, 8, 7, 6, 5, 4, 3, 2};
    static constexpr std::array<int, 10> second{11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
    return checkDocument(digits, first, second);
}

bool CheckCNPJ(const QString &digits)
{
    static constexpr std::array<int, 12> first{5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static constexpr std::array<int, 13> second{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    return checkDocument(digits, first, second);
}

QDate FirstDayOfMonth(QDate date)
{
    if (!date.isValid())
        return {};
    return QDate(date.year(), date.month(), 1);
}

QDate LastDayOfMonth(QDate date)
{
    if (!date.isValid())
        return {};
    return FirstDayOfMonth(date.addMonths(1)).addDays(-1);
}

int DigitValue(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    if (i == text.size())
        return 0;
    // Only a negative number may reach a magnitude of 2147483648.
    const qint64 limit =
        negative ? qint64(std::numeric_limits<int>::max()) + 1 : std::numeric_limits<int>::max();
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!isAsciiDigit(c))
            return 0;
        value = value * 10 + (c.unicode() - u'0');
        if (value > limit)
            return 0;
    }
    return int(negative ? -value : value);
}

} // namespace ZelUtils
