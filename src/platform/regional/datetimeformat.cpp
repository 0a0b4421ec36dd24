#include "datetimeformat.h"

#include "formatsettings.h"

namespace regional {

namespace {

// The date Delphi-style stored date-times count from; a bare time is a date-time on this day.
constexpr int ZeroDateYear = 1899;
constexpr int ZeroDateMonth = 12;
constexpr int ZeroDateDay = 30;

void appendNumber(QString &out, int value, int width)
{
    if (value < 0) {
        out += QLatin1Char('-');
        value = -value;
    }
    char buffer[16];
    int n = 0;
    do {
        buffer[n++] = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = n; i < width; ++i)
        out += QLatin1Char('0');
    while (n > 0)
        out += QLatin1Char(buffer[--n]);
}

char16_t lowerAscii(QChar c)
{
    const char16_t u = c.unicode();
    return u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u;
}

bool isAsciiLetter(char16_t lower)
{
    return lower >= u'a' && lower <= u'z';
}

class DateTimeWriter
{
public:
    DateTimeWriter(QDate date, QTime time, QString &out)
        : m_date(date), m_time(time), m_out(out), m_settings(settings())
    {}

    void write(const QString &format, int depth)
    {
        const QChar *p = format.constData();
        const QChar *const end = p + format.size();
        char16_t lastLetter = 0;
        while (p < end) {
            const QChar c = *p;
            if (c == u'\'' || c == u'"') {
                const QChar *close = p + 1;
                while (close < end && *close != c)
                    ++close;
                m_out.append(p + 1, close - p - 1);
                p = close < end ? close + 1 : end;
                continue;
            }
            if (c == u'/') {
                m_out += m_settings.dateSeparator;
                ++p;
                continue;
            }
            if (c == u':') {
                m_out += m_settings.timeSeparator;
                ++p;
                continue;
            }
            const char16_t letter = lowerAscii(c);
            if (!isAsciiLetter(letter)) {
                m_out += c;
                ++p;
                continue;
            }
            int count = 0;
            while (p < end && lowerAscii(*p) == letter) {
                ++count;
                ++p;
            }
            char16_t token = letter;
            if (token == u'm' && lastLetter == u'h' && count <= 2)
                token = u'n';
            lastLetter = token;
            writeToken(token, count, c, depth);
        }
    }

private:
    void writeToken(char16_t token, int count, QChar written, int depth)
    {
        const int weekday = m_date.dayOfWeek() % 7; // Sunday first
        switch (token) {
        case u'd':
            if (count <= 2)
                appendNumber(m_out, m_date.day(), count);
            else if (count == 3)
                m_out += m_settings.shortDayNames[std::size_t(weekday)];
            else if (count == 4)
                m_out += m_settings.longDayNames[std::size_t(weekday)];
            else
                nested(count == 5 ? m_settings.shortDateFormat : m_settings.longDateFormat, depth);
            return;
        case u'm':
            if (count <= 2)
                appendNumber(m_out, m_date.month(), count);
            else if (count == 3)
                m_out += m_settings.shortMonthNames[std::size_t(m_date.month() - 1)];
            else
                m_out += m_settings.longMonthNames[std::size_t(m_date.month() - 1)];
            return;
        case u'y':
            if (count <= 2)
                appendNumber(m_out, m_date.year() % 100, 2);
            else
                appendNumber(m_out, m_date.year(), 4);
            return;
        case u'h':
            appendNumber(m_out, m_time.hour(), count >= 2 ? 2 : 1);
            return;
        case u'n':
            appendNumber(m_out, m_time.minute(), count >= 2 ? 2 : 1);
            return;
        case u's':
            appendNumber(m_out, m_time.second(), count >= 2 ? 2 : 1);
            return;
        case u'z':
            appendNumber(m_out, m_time.msec(), count >= 2 ? 3 : 1);
            return;
        case u't':
            nested(count == 1 ? m_settings.shortTimeFormat : m_settings.longTimeFormat, depth);
            return;
        case u'c':
            nested(m_settings.shortDateFormat, depth);
            if (m_time != QTime(0, 0)) {
                m_out += QLatin1Char(' ');
                nested(m_settings.longTimeFormat, depth);
            }
            return;
        default:
            for (int i = 0; i < count; ++i)
                m_out += written;
            return;
        }
    }

    // Installed formats are written in the same letters; they may not name one another.
    void nested(const QString &format, int depth)
    {
        if (depth == 0)
            write(format, depth + 1);
    }

    const QDate m_date;
    const QTime m_time;
    QString &m_out;
    const FormatSettings &m_settings;
};

QString formatParts(const QString &format, QDate date, QTime time)
{
    QString out;
    out.reserve(format.size() + 16);
    DateTimeWriter(date, time, out).write(format, 0);
    return out;
}

struct Cursor
{
    const QChar *p;
    const QChar *end;

    bool atEnd() const { return p == end; }
    bool is(QChar c) const { return p < end && *p == c; }
    bool isDigit() const { return p < end && p->unicode() >= u'0' && p->unicode() <= u'9'; }

    // Reads 1 to maxDigits digits; false when there is none.
    bool number(int maxDigits, int &value, int &digits)
    {
        value = 0;
        digits = 0;
        while (isDigit() && digits < maxDigits) {
            value = value * 10 + (p->unicode() - u'0');
            ++digits;
            ++p;
        }
        return digits > 0 && !isDigit();
    }
};

Cursor trimmed(const QChar *begin, const QChar *end)
{
    while (begin < end && begin->isSpace())
        ++begin;
    while (end > begin && end[-1].isSpace())
        --end;
    return {begin, end};
}

enum class Part { Day, Month, Year };

// The order of day, month and year in the short date format; day-month-year when it does not name all three.
void dateOrder(const QString &format, Part (&order)[3])
{
    int n = 0;
    bool seen[3] = {false, false, false};
    for (const QChar *p = format.constData(), *end = p + format.size(); p < end && n < 3; ++p) {
        if (*p == u'\'' || *p == u'"') {
            const QChar quote = *p;
            while (p + 1 < end && p[1] != quote)
                ++p;
            ++p;
            continue;
        }
        const char16_t letter = lowerAscii(*p);
        const int index = letter == u'd' ? 0 : letter == u'm' ? 1 : letter == u'y' ? 2 : -1;
        if (index >= 0 && !seen[index]) {
            seen[index] = true;
            order[n++] = Part(index);
        }
    }
    if (n < 3) {
        order[0] = Part::Day;
        order[1] = Part::Month;
        order[2] = Part::Year;
    }
}

bool readDate(const QChar *begin, const QChar *end, QDate &date)
{
    const FormatSettings &s = settings();
    Cursor c = trimmed(begin, end);
    Part order[3];
    dateOrder(s.shortDateFormat, order);

    int values[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int parts = 0;
    for (; parts < 3; ++parts) {
        if (parts > 0) {
            if (!c.is(s.dateSeparator))
                break;
            ++c.p;
        }
        const int maxDigits = order[parts] == Part::Year ? 4 : 2;
        if (!c.number(maxDigits, values[parts], digits[parts]))
            return false;
    }
    if (!c.atEnd() || parts < 2)
        return false;

    const int currentYear = QDate::currentDate().year();
    int day = 0;
    int month = 0;
    int year = currentYear;
    // With two parts the year is the one left out, whatever its place in the format.
    int part = 0;
    for (const Part kind : order) {
        if (kind == Part::Year && parts == 2)
            continue;
        if (part >= parts)
            break;
        if (kind == Part::Day)
            day = values[part];
        else if (kind == Part::Month)
            month = values[part];
        else
            year = digits[part] <= 2 ? expandTwoDigitYear(values[part], currentYear) : values[part];
        ++part;
    }
    if (!QDate::isValid(year, month, day))
        return false;
    date = QDate(year, month, day);
    return true;
}

bool readTime(const QChar *begin, const QChar *end, QTime &time)
{
    const FormatSettings &s = settings();
    Cursor c = trimmed(begin, end);
    int hour = 0;
    int minute = 0;
    int second = 0;
    int msec = 0;
    int digits = 0;
    if (!c.number(2, hour, digits) || !c.is(s.timeSeparator))
        return false;
    ++c.p;
    if (!c.number(2, minute, digits))
        return false;
    if (c.is(s.timeSeparator)) {
        ++c.p;
        if (!c.number(2, second, digits))
            return false;
        if (c.is(QLatin1Char('.')) || c.is(s.decimalSeparator)) {
            ++c.p;
            if (!c.number(3, msec, digits))
                return false;
            for (; digits < 3; ++digits)
                msec *= 10;
        }
    }
    if (!c.atEnd() || !QTime::isValid(hour, minute, second, msec))
        return false;
    time = QTime(hour, minute, second, msec);
    return true;
}

} // namespace

// A moment is judged by its date and time of day, not by whether the local clock ever showed it: a local
// QDateTime inside the hour a summer-time change skips is "invalid", yet the database holds such moments.
QString formatDateTime(const QString &format, const QDateTime &value)
{
    if (!value.date().isValid())
        return {};
    return formatParts(format, value.date(), value.time());
}

QString formatDateTime(const QString &format, const QDate &date)
{
    if (!date.isValid())
        return {};
    return formatParts(format, date, QTime(0, 0));
}

QString formatDateTime(const QString &format, const QTime &time)
{
    if (!time.isValid())
        return {};
    return formatParts(format, QDate(ZeroDateYear, ZeroDateMonth, ZeroDateDay), time);
}

QString dateToText(const QDate &date)
{
    return formatDateTime(settings().shortDateFormat, date);
}

QString timeToText(const QTime &time)
{
    return formatDateTime(settings().longTimeFormat, time);
}

QString dateTimeToText(const QDateTime &value)
{
    if (!value.date().isValid())
        return {};
    QString out = formatParts(settings().shortDateFormat, value.date(), value.time());
    out += QLatin1Char(' ');
    out += formatParts(settings().longTimeFormat, value.date(), value.time());
    return out;
}

bool textToDate(const QString &text, QDate &date)
{
    return readDate(text.constData(), text.constData() + text.size(), date);
}

bool textToTime(const QString &text, QTime &time)
{
    return readTime(text.constData(), text.constData() + text.size(), time);
}

bool textToDateTime(const QString &text, QDateTime &value)
{
    const Cursor all = trimmed(text.constData(), text.constData() + text.size());
    const QChar *split = all.p;
    while (split < all.end && !split->isSpace())
        ++split;
    QDate date;
    QTime time(0, 0);
    if (!readDate(all.p, split, date))
        return false;
    if (split < all.end && !readTime(split, all.end, time))
        return false;
    value = QDateTime(date, time);
    return true;
}

int expandTwoDigitYear(int year, int referenceYear)
{
    if (year < 0 || year > 99)
        return year;
    int expanded = referenceYear - referenceYear % 100 + year;
    if (expanded > referenceYear + 20)
        expanded -= 100;
    else if (expanded <= referenceYear - 80)
        expanded += 100;
    return expanded;
}

} // namespace regional
