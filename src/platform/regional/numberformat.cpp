#include "numberformat.h"

#include "formatsettings.h"

#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace regional {

namespace {

// Significant digits taken from a double before a picture rounds it: the precision a double holds for
// certain, so that 9.995 (stored as 9.99499999...) shows as 10,00 and sums carrying binary noise round
// the way the user reads them.
constexpr int PictureDigits = 15;

/// A decimal number as its significant digits: value = 0.d1 d2 ... dn x 10^point.
struct Decimal
{
    static constexpr int Capacity = 24; // 17 digits of a double, 19 of a qint64
    char digits[Capacity];
    int count = 0; // 0: the value is zero
    int point = 0;
    bool negative = false;

    bool isZero() const { return count == 0; }
    char digitAt(int i) const { return i >= 0 && i < count ? digits[i] : '0'; }

    void trimTrailingZeros()
    {
        while (count > 0 && digits[count - 1] == '0')
            --count;
    }

    // Keeps the first `keep` digits, rounding the magnitude half up (half away from zero for the value).
    void roundAt(int keep)
    {
        if (keep >= count)
            return;
        if (keep < 0) {
            count = 0;
            return;
        }
        const bool up = digits[keep] >= '5';
        count = keep;
        if (up) {
            int i = count - 1;
            while (i >= 0 && digits[i] == '9')
                --i;
            if (i < 0) {
                digits[0] = '1';
                count = 1;
                ++point;
            } else {
                ++digits[i];
                count = i + 1;
            }
        }
        trimTrailingZeros();
    }
};

// precision 0: the shortest digits that read back as the same double.
Decimal decimalFromDouble(double value, int precision)
{
    Decimal d;
    d.negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0)
        return d;
    char buffer[64];
    const std::to_chars_result r = precision > 0 ? std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                                                 std::chars_format::scientific, precision - 1)
                                                 : std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                                                 std::chars_format::scientific);
    const char *p = buffer;
    while (p < r.ptr && *p != 'e') {
        if (*p != '.' && d.count < Decimal::Capacity)
            d.digits[d.count++] = *p;
        ++p;
    }
    int exponent = 0;
    if (p < r.ptr) {
        ++p;
        if (*p == '+')
            ++p;
        std::from_chars(p, r.ptr, exponent);
    }
    d.point = exponent + 1;
    d.trimTrailingZeros();
    return d;
}

Decimal decimalFromTicks(qint64 ticks)
{
    Decimal d;
    d.negative = ticks < 0;
    // Magnitude through unsigned arithmetic so that the most negative value has one too.
    quint64 magnitude = ticks < 0 ? quint64(0) - quint64(ticks) : quint64(ticks);
    char reversed[Decimal::Capacity];
    int n = 0;
    while (magnitude != 0) {
        reversed[n++] = char('0' + magnitude % 10);
        magnitude /= 10;
    }
    for (int i = 0; i < n; ++i)
        d.digits[i] = reversed[n - 1 - i];
    d.count = n;
    d.point = n - 4;
    d.trimTrailingZeros();
    return d;
}

QChar groupingSeparator(const FormatSettings &s)
{
    // Grouping with the decimal character itself could not be read back: leave it out then.
    return s.thousandSeparator == s.decimalSeparator ? QChar() : s.thousandSeparator;
}

// The plain decimal text: all significant digits, no grouping.
QString plainText(const Decimal &d, const FormatSettings &s)
{
    if (d.isZero())
        return QStringLiteral("0");
    QString out;
    out.reserve(d.count + 8);
    if (d.negative)
        out += QLatin1Char('-');
    if (d.point <= 0) {
        out += QLatin1Char('0');
        out += s.decimalSeparator;
        for (int i = d.point; i < 0; ++i)
            out += QLatin1Char('0');
        for (int i = 0; i < d.count; ++i)
            out += QLatin1Char(d.digits[i]);
        return out;
    }
    for (int i = 0; i < d.point; ++i)
        out += QLatin1Char(d.digitAt(i));
    if (d.count > d.point) {
        out += s.decimalSeparator;
        for (int i = d.point; i < d.count; ++i)
            out += QLatin1Char(d.digits[i]);
    }
    return out;
}

// ---- pictures ----

struct Section
{
    const QChar *begin = nullptr;
    const QChar *end = nullptr;
    int digitCount = 0;
    int decimalIndex = -1;
    int firstZero = INT_MAX;
    int lastZero = 0; // placeholders up to and including the last "0"
    bool thousands = false;
    const QChar *exponent = nullptr; // the "E" of a scientific section
    int exponentDigits = 0;

    bool isEmpty() const { return begin == end; }
};

const QChar *skipQuoted(const QChar *p, const QChar *end)
{
    const QChar quote = *p;
    ++p;
    while (p < end && *p != quote)
        ++p;
    return p; // on the closing quote, or at the end when it is missing
}

Section scanSection(const QChar *begin, const QChar *end)
{
    Section s;
    s.begin = begin;
    s.end = end;
    for (const QChar *p = begin; p < end; ++p) {
        switch (p->unicode()) {
        case u'#':
            ++s.digitCount;
            break;
        case u'0':
            if (s.firstZero == INT_MAX)
                s.firstZero = s.digitCount;
            ++s.digitCount;
            s.lastZero = s.digitCount;
            break;
        case u'.':
            if (s.decimalIndex < 0)
                s.decimalIndex = s.digitCount;
            break;
        case u',':
            s.thousands = true;
            break;
        case u'\'':
        case u'"':
            p = skipQuoted(p, end);
            break;
        case u'E':
        case u'e':
            if (p + 1 < end && (p[1] == u'+' || p[1] == u'-')) {
                s.exponent = p;
                for (const QChar *q = p + 2; q < end && *q == u'0' && s.exponentDigits < 4; ++q)
                    ++s.exponentDigits;
                p = end; // what follows the exponent is plain text
            }
            break;
        default:
            break;
        }
        if (p == end)
            break;
    }
    if (s.decimalIndex < 0)
        s.decimalIndex = s.digitCount;
    return s;
}

struct Sections
{
    const QChar *begin[3] = {};
    const QChar *end[3] = {};
    int count = 0;

    Section at(int index) const { return scanSection(begin[index], end[index]); }
};

// Splits at the ";" outside quotes; a fourth section and beyond are ignored.
Sections splitSections(const QString &picture)
{
    Sections sections;
    const QChar *p = picture.constData();
    const QChar *const end = p + picture.size();
    sections.begin[0] = p;
    sections.count = 1;
    for (; p < end; ++p) {
        if (*p == u'\'' || *p == u'"') {
            p = skipQuoted(p, end);
            if (p == end)
                break;
        } else if (*p == u';') {
            sections.end[sections.count - 1] = p;
            if (sections.count == 3)
                return sections;
            sections.begin[sections.count++] = p + 1;
        }
    }
    sections.end[sections.count - 1] = end;
    return sections;
}

class PictureWriter
{
public:
    PictureWriter(const Section &section, const Decimal &value, bool writeSign, const FormatSettings &s)
        : m_section(section), m_value(value), m_writeSign(writeSign), m_decimal(s.decimalSeparator),
          m_thousand(section.thousands ? groupingSeparator(s) : QChar())
    {}

    QString write()
    {
        m_out.reserve(int(m_section.end - m_section.begin) + 16);
        if (m_writeSign)
            m_out += QLatin1Char('-');
        if (m_section.exponent)
            prepareScientific();
        else
            prepareFixed();
        int placeholder = 0;
        bool integerWrittenAtPoint = false;
        for (const QChar *p = m_section.begin; p < m_section.end; ++p) {
            const char16_t c = p->unicode();
            if (p == m_section.exponent) {
                writeExponent(p[1] == u'+');
                p += 1 + m_section.exponentDigits;
                writeLiterals(p + 1);
                break;
            }
            switch (c) {
            case u'#':
            case u'0':
                writePlaceholder(placeholder++);
                break;
            case u'.':
                if (m_section.decimalIndex == 0 && !integerWrittenAtPoint && !m_section.exponent) {
                    for (int q = m_integerWidth; q >= 1; --q)
                        writeIntegerDigit(q);
                    integerWrittenAtPoint = true;
                }
                break;
            case u',':
                break;
            case u'\'':
            case u'"':
                p = writeQuoted(p);
                break;
            default:
                m_out += *p;
                break;
            }
        }
        return m_out;
    }

private:
    void prepareFixed()
    {
        m_integerLength = m_value.point > 0 ? m_value.point : 0;
        const int required =
            m_section.firstZero < m_section.decimalIndex ? m_section.decimalIndex - m_section.firstZero : 0;
        m_integerWidth = std::max(m_integerLength, required);
        m_fractionStart = m_value.point;
        setFractionLength();
    }

    void prepareScientific()
    {
        // All integer placeholders show a digit; the value's first digit goes to the first of them.
        m_integerLength = m_section.decimalIndex;
        m_integerWidth = m_section.decimalIndex;
        m_fractionStart = m_section.decimalIndex;
        m_exponentValue = m_value.isZero() ? 0 : m_value.point - m_section.decimalIndex;
        setFractionLength();
    }

    void setFractionLength()
    {
        const int decimals = m_section.digitCount - m_section.decimalIndex;
        const int minimum = std::max(0, m_section.lastZero - m_section.decimalIndex);
        m_fractionLength = decimals;
        while (m_fractionLength > minimum && m_value.digitAt(m_fractionStart + m_fractionLength - 1) == '0')
            --m_fractionLength;
    }

    // Position q counts integer digits from the decimal point leftwards, from 1.
    void writeIntegerDigit(int q)
    {
        char digit;
        if (m_section.exponent)
            digit = m_value.digitAt(m_section.decimalIndex - q);
        else
            digit = q <= m_integerLength ? m_value.digitAt(m_value.point - q) : '0';
        m_out += QLatin1Char(digit);
        if (!m_thousand.isNull() && !m_section.exponent && q > 1 && (q - 1) % 3 == 0)
            m_out += m_thousand;
    }

    void writePlaceholder(int index)
    {
        if (index < m_section.decimalIndex) {
            const int position = m_section.decimalIndex - index;
            if (index == 0) {
                // The first placeholder also takes the digits the picture has no room for.
                for (int q = m_integerWidth; q >= position; --q)
                    writeIntegerDigit(q);
            } else if (position <= m_integerWidth) {
                writeIntegerDigit(position);
            }
            return;
        }
        const int j = index - m_section.decimalIndex;
        if (j >= m_fractionLength)
            return;
        if (!m_decimalWritten) {
            m_out += m_decimal;
            m_decimalWritten = true;
        }
        m_out += QLatin1Char(m_value.digitAt(m_fractionStart + j));
    }

    void writeExponent(bool alwaysSign)
    {
        m_out += *m_section.exponent;
        if (m_exponentValue < 0)
            m_out += QLatin1Char('-');
        else if (alwaysSign)
            m_out += QLatin1Char('+');
        const QString digits = QString::number(std::abs(m_exponentValue));
        for (int i = int(digits.size()); i < m_section.exponentDigits; ++i)
            m_out += QLatin1Char('0');
        m_out += digits;
    }

    void writeLiterals(const QChar *p)
    {
        for (; p < m_section.end; ++p) {
            if (*p == u'\'' || *p == u'"')
                p = writeQuoted(p);
            else
                m_out += *p;
        }
    }

    // Returns the position of the closing quote, or the one before the end when the quote is not closed.
    const QChar *writeQuoted(const QChar *open)
    {
        const QChar *close = skipQuoted(open, m_section.end);
        m_out.append(open + 1, close - open - 1);
        return close == m_section.end ? close - 1 : close;
    }

    const Section &m_section;
    const Decimal &m_value;
    const bool m_writeSign;
    const QChar m_decimal;
    const QChar m_thousand;
    QString m_out;
    int m_integerLength = 0;
    int m_integerWidth = 0;
    int m_fractionStart = 0;
    int m_fractionLength = 0;
    int m_exponentValue = 0;
    bool m_decimalWritten = false;
};

void roundFor(const Section &section, Decimal &d)
{
    if (section.exponent)
        d.roundAt(std::max(section.digitCount, 1));
    else
        d.roundAt(d.point + section.digitCount - section.decimalIndex);
}

QString formatDecimal(const QString &picture, Decimal d)
{
    const FormatSettings &s = settings();
    const Sections sections = splitSections(picture);
    bool negativeSection = false;
    Section current;
    if (d.negative && !d.isZero() && sections.count > 1) {
        current = sections.at(1);
        negativeSection = !current.isEmpty();
    }
    if (!negativeSection)
        current = sections.at(0);
    roundFor(current, d);
    if (d.isZero()) {
        d.negative = false;
        if (sections.count > 2) {
            const Section zero = sections.at(2);
            if (!zero.isEmpty())
                return PictureWriter(zero, d, false, s).write();
        }
        if (negativeSection) {
            current = sections.at(0);
            negativeSection = false;
        }
    }
    // The first section serves negative values too, behind a minus sign.
    return PictureWriter(current, d, d.negative && !negativeSection, s).write();
}

// ---- reading ----

struct TextCursor
{
    const QChar *p;
    const QChar *end;

    bool atEnd() const { return p == end; }
    bool isDigit() const { return p < end && p->unicode() >= u'0' && p->unicode() <= u'9'; }
    bool is(QChar c) const { return p < end && !c.isNull() && *p == c; }
};

TextCursor trimmed(const QString &text)
{
    const QChar *begin = text.constData();
    const QChar *end = begin + text.size();
    while (begin < end && begin->isSpace())
        ++begin;
    while (end > begin && end[-1].isSpace())
        --end;
    return {begin, end};
}

bool readSign(TextCursor &c)
{
    if (c.is(QLatin1Char('-'))) {
        ++c.p;
        return true;
    }
    if (c.is(QLatin1Char('+')))
        ++c.p;
    return false;
}

// Reads the integer digits with optional grouping into `digits` (may stay empty). False when the grouping
// is malformed.
template <typename Sink> bool readGroupedDigits(TextCursor &c, QChar thousand, Sink &&digits)
{
    int sinceSeparator = 0;
    bool grouped = false;
    for (;;) {
        if (c.isDigit()) {
            digits(char(c.p->unicode()));
            ++sinceSeparator;
            ++c.p;
        } else if (c.is(thousand)) {
            if (sinceSeparator == 0 || (grouped ? sinceSeparator != 3 : sinceSeparator > 3))
                return false;
            grouped = true;
            sinceSeparator = 0;
            ++c.p;
        } else {
            break;
        }
    }
    return !grouped || sinceSeparator == 3;
}

bool readUnsigned(const QString &text, quint64 limitPositive, quint64 limitNegative, bool &negative,
                  quint64 &magnitude)
{
    TextCursor c = trimmed(text);
    negative = readSign(c);
    const quint64 limit = negative ? limitNegative : limitPositive;
    quint64 m = 0;
    int digitCount = 0;
    bool overflow = false;
    const bool grouping = readGroupedDigits(c, groupingSeparator(settings()), [&](char digit) {
        ++digitCount;
        const quint64 d = quint64(digit - '0');
        if (m > (limit - d) / 10)
            overflow = true;
        else
            m = m * 10 + d;
    });
    if (!grouping || overflow || digitCount == 0 || !c.atEnd())
        return false;
    magnitude = m;
    return true;
}

} // namespace

QString floatToText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    const Decimal d = decimalFromDouble(value, 0);
    const FormatSettings &s = settings();
    if (d.isZero() || (d.point >= -3 && d.point <= 15))
        return plainText(d, s);
    QString out;
    out.reserve(d.count + 8);
    if (d.negative)
        out += QLatin1Char('-');
    out += QLatin1Char(d.digits[0]);
    if (d.count > 1) {
        out += s.decimalSeparator;
        for (int i = 1; i < d.count; ++i)
            out += QLatin1Char(d.digits[i]);
    }
    const int exponent = d.point - 1;
    out += exponent < 0 ? QLatin1String("E-") : QLatin1String("E+");
    out += QString::number(std::abs(exponent));
    return out;
}

bool textToFloat(const QString &text, double &value)
{
    const FormatSettings &s = settings();
    TextCursor c = trimmed(text);
    QVarLengthArray<char, 64> buffer;
    if (readSign(c))
        buffer.append('-');
    int digitCount = 0;
    auto digit = [&](char d) {
        buffer.append(d);
        ++digitCount;
    };
    if (!readGroupedDigits(c, groupingSeparator(s), digit))
        return false;
    if (c.is(s.decimalSeparator)) {
        ++c.p;
        buffer.append('.');
        while (c.isDigit())
            digit(char((c.p++)->unicode()));
    }
    if (digitCount == 0)
        return false;
    if (c.is(QLatin1Char('E')) || c.is(QLatin1Char('e'))) {
        ++c.p;
        buffer.append('e');
        if (c.is(QLatin1Char('-')))
            buffer.append('-');
        if (c.is(QLatin1Char('-')) || c.is(QLatin1Char('+')))
            ++c.p;
        if (!c.isDigit())
            return false;
        while (c.isDigit())
            buffer.append(char((c.p++)->unicode()));
    }
    if (!c.atEnd())
        return false;
    double result = 0;
    const std::from_chars_result r =
        std::from_chars(buffer.constData(), buffer.constData() + buffer.size(), result);
    if (r.ec != std::errc() || r.ptr != buffer.constData() + buffer.size() || !std::isfinite(result))
        return false;
    value = result;
    return true;
}

bool textToInt(const QString &text, int &value)
{
    bool negative = false;
    quint64 magnitude = 0;
    if (!readUnsigned(text, quint64(INT_MAX), quint64(INT_MAX) + 1, negative, magnitude))
        return false;
    value = negative ? int(-qint64(magnitude)) : int(magnitude);
    return true;
}

bool textToInt(const QString &text, qint64 &value)
{
    constexpr quint64 max = quint64(std::numeric_limits<qint64>::max());
    bool negative = false;
    quint64 magnitude = 0;
    if (!readUnsigned(text, max, max + 1, negative, magnitude))
        return false;
    value = negative ? qint64(quint64(0) - magnitude) : qint64(magnitude);
    return true;
}

QString formatFloat(const QString &picture, double value)
{
    if (picture.isEmpty() || !std::isfinite(value))
        return floatToText(value);
    return formatDecimal(picture, decimalFromDouble(value, PictureDigits));
}

QString formatCurrency(qint64 ticks, int decimals)
{
    const FormatSettings &s = settings();
    decimals = std::max(decimals, 0);
    Decimal d = decimalFromTicks(ticks);
    d.roundAt(d.point + decimals);
    const QChar thousand = groupingSeparator(s);
    QString out;
    out.reserve(24 + decimals);
    if (d.negative && !d.isZero())
        out += QLatin1Char('-');
    if (d.point <= 0) {
        out += QLatin1Char('0');
    } else {
        for (int q = d.point; q >= 1; --q) {
            out += QLatin1Char(d.digitAt(d.point - q));
            if (!thousand.isNull() && q > 1 && (q - 1) % 3 == 0)
                out += thousand;
        }
    }
    if (decimals > 0) {
        out += s.decimalSeparator;
        for (int j = 0; j < decimals; ++j)
            out += QLatin1Char(d.digitAt(d.point + j));
    }
    return out;
}

QString formatCurrency(qint64 ticks, const QString &picture)
{
    if (picture.isEmpty())
        return plainText(decimalFromTicks(ticks), settings());
    return formatDecimal(picture, decimalFromTicks(ticks));
}

bool textToCurrency(const QString &text, qint64 &ticks)
{
    constexpr quint64 max = quint64(std::numeric_limits<qint64>::max());
    const FormatSettings &s = settings();
    TextCursor c = trimmed(text);
    const bool negative = readSign(c);
    quint64 units = 0;
    int digitCount = 0;
    bool overflow = false;
    const bool grouping = readGroupedDigits(c, groupingSeparator(s), [&](char digit) {
        ++digitCount;
        const quint64 d = quint64(digit - '0');
        if (units > (max / quint64(CurrencyScale) - d) / 10)
            overflow = true;
        else
            units = units * 10 + d;
    });
    if (!grouping || overflow)
        return false;
    quint64 fraction = 0;
    int fractionDigits = 0;
    bool roundUp = false;
    if (c.is(s.decimalSeparator)) {
        ++c.p;
        for (; c.isDigit(); ++c.p) {
            const int d = c.p->unicode() - u'0';
            if (fractionDigits < 4)
                fraction = fraction * 10 + quint64(d);
            else if (fractionDigits == 4)
                roundUp = d >= 5;
            ++fractionDigits;
            ++digitCount;
        }
    }
    if (digitCount == 0 || !c.atEnd())
        return false;
    for (int i = fractionDigits; i < 4; ++i)
        fraction *= 10;
    quint64 magnitude = units * quint64(CurrencyScale) + fraction;
    if (roundUp) {
        if (magnitude == max)
            return false;
        ++magnitude;
    }
    if (magnitude > max)
        return false;
    ticks = negative ? -qint64(magnitude) : qint64(magnitude);
    return true;
}

} // namespace regional
