#include "editmask.h"

#include "maskerror.h"

namespace mask {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

EditMask::EditMask(const QString &mask, QChar dateSeparator, QChar timeSeparator)
    : m_text(mask), m_dateSeparator(dateSeparator), m_timeSeparator(timeSeparator)
{
    CaseConversion caseConversion = CaseConversion::None;
    auto addLiteral = [this](QChar c) {
        MaskPosition p;
        p.literal = c;
        m_positions.append(p);
    };
    auto addEditable = [this, &caseConversion](PositionKind kind, bool required) {
        MaskPosition p;
        p.kind = kind;
        p.required = required;
        p.caseConversion = caseConversion;
        m_positions.append(p);
        ++m_editableCount;
    };

    const qsizetype n = mask.size();
    qsizetype i = 0;
    for (; i < n; ++i) {
        const QChar c = mask.at(i);
        if (c == u';')
            break;
        switch (c.unicode()) {
        case '\\':
            // A backslash with nothing after it can only mean itself.
            if (i + 1 < n)
                ++i;
            addLiteral(mask.at(i));
            break;
        case '!':
            m_dropsLeadingBlanks = true;
            break;
        case '>':
            caseConversion = CaseConversion::Upper;
            break;
        case '<':
            if (i + 1 < n && mask.at(i + 1) == u'>') {
                caseConversion = CaseConversion::None;
                ++i;
            } else {
                caseConversion = CaseConversion::Lower;
            }
            break;
        case '0':
            addEditable(PositionKind::Digit, true);
            break;
        case '9':
            addEditable(PositionKind::Digit, false);
            break;
        case '#':
            addEditable(PositionKind::DigitOrSign, false);
            break;
        case 'L':
            addEditable(PositionKind::Letter, true);
            break;
        case 'l':
            addEditable(PositionKind::Letter, false);
            break;
        case 'A':
            addEditable(PositionKind::AlphaNumeric, true);
            break;
        case 'a':
            addEditable(PositionKind::AlphaNumeric, false);
            break;
        case 'C':
            addEditable(PositionKind::AnyChar, true);
            break;
        case 'c':
            addEditable(PositionKind::AnyChar, false);
            break;
        case '/':
            addLiteral(m_dateSeparator);
            break;
        case ':':
            addLiteral(m_timeSeparator);
            break;
        case '_':
            // Inserts a space the cursor jumps over.
            addLiteral(u' ');
            break;
        default:
            addLiteral(c);
            break;
        }
    }

    if (i < n) {
        const QString rest = mask.mid(i + 1);
        const qsizetype separator = rest.indexOf(u';');
        const QString save = separator < 0 ? rest : rest.left(separator);
        m_saveLiterals = !save.startsWith(u'0');
        if (separator >= 0 && separator + 1 < rest.size())
            m_blank = rest.at(separator + 1);
    }
}

QChar EditMask::convertCase(int i, QChar c) const
{
    switch (m_positions.at(i).caseConversion) {
    case CaseConversion::Upper:
        return c.toUpper();
    case CaseConversion::Lower:
        return c.toLower();
    case CaseConversion::None:
        break;
    }
    return c;
}

bool EditMask::accepts(int i, QChar c) const
{
    switch (m_positions.at(i).kind) {
    case PositionKind::Literal:
        return false;
    case PositionKind::Digit:
        return isAsciiDigit(c);
    case PositionKind::DigitOrSign:
        return isAsciiDigit(c) || c == u'+' || c == u'-';
    case PositionKind::Letter:
        return c.isLetter();
    case PositionKind::AlphaNumeric:
        return c.isLetter() || isAsciiDigit(c);
    case PositionKind::AnyChar:
        return c.isPrint();
    }
    return false;
}

bool EditMask::isEmptyEntry(int i, QChar c) const
{
    return c == m_blank || (c == u' ' && m_positions.at(i).kind != PositionKind::AnyChar);
}

int EditMask::nextEditable(int from) const
{
    for (int i = qMax(from, 0); i < positionCount(); ++i) {
        if (!isLiteral(i))
            return i;
    }
    return -1;
}

int EditMask::previousEditable(int before) const
{
    for (int i = qMin(before, positionCount()) - 1; i >= 0; --i) {
        if (!isLiteral(i))
            return i;
    }
    return -1;
}

QString EditMask::blankText() const
{
    QString out;
    out.reserve(positionCount());
    for (const MaskPosition &p : m_positions)
        out.append(p.kind == PositionKind::Literal ? p.literal : m_blank);
    return out;
}

bool EditMask::isBlank(const QString &displayText) const
{
    if (isEmpty())
        return displayText.isEmpty();
    for (int i = 0; i < positionCount() && i < displayText.size(); ++i) {
        if (!isLiteral(i) && !isEmptyEntry(i, displayText.at(i)))
            return false;
    }
    return true;
}

QString EditMask::format(const QString &value) const
{
    return render(value, u' ');
}

QString EditMask::displayFromStored(const QString &stored) const
{
    return render(stored, m_blank);
}

bool EditMask::hasDisplayShape(const QString &value) const
{
    if (value.size() != positionCount())
        return false;
    for (int i = 0; i < positionCount(); ++i) {
        if (isLiteral(i) && value.at(i) != literalAt(i))
            return false;
    }
    return true;
}

bool EditMask::holdsLiteral(const QString &value) const
{
    for (const MaskPosition &p : m_positions) {
        // A space literal cannot tell a value's literals from its blanks.
        if (p.kind == PositionKind::Literal && p.literal != u' ' && value.contains(p.literal))
            return true;
    }
    return false;
}

void EditMask::place(QString &out, const QList<int> &cells, const QString &piece, QChar blank) const
{
    const qsizetype n = cells.size();
    QString part = piece;
    if (part.size() > n)
        part = m_dropsLeadingBlanks ? part.right(n) : part.left(n);
    const qsizetype offset = m_dropsLeadingBlanks ? n - part.size() : 0;
    for (qsizetype k = 0; k < n; ++k) {
        const int i = cells.at(k);
        const qsizetype j = k - offset;
        if (j < 0 || j >= part.size() || isEmptyEntry(i, part.at(j)))
            out[i] = blank;
        else
            out[i] = convertCase(i, part.at(j));
    }
}

QString EditMask::render(const QString &value, QChar blank) const
{
    if (isEmpty())
        return value;

    QString out = blankText();
    if (hasDisplayShape(value)) {
        for (int i = 0; i < positionCount(); ++i) {
            if (!isLiteral(i))
                out[i] = isEmptyEntry(i, value.at(i)) ? blank : convertCase(i, value.at(i));
        }
        return out;
    }

    if (!m_saveLiterals || !holdsLiteral(value)) {
        QList<int> cells;
        for (int i = 0; i < positionCount(); ++i) {
            if (!isLiteral(i))
                cells.append(i);
        }
        place(out, cells, value, blank);
        return out;
    }

    // Each run of editable positions takes the value's text up to the literal that closes the run.
    qsizetype at = 0;
    int i = 0;
    while (i < positionCount()) {
        if (isLiteral(i)) {
            if (at < value.size() && value.at(at) == literalAt(i))
                ++at;
            ++i;
            continue;
        }
        QList<int> cells;
        while (i < positionCount() && !isLiteral(i))
            cells.append(i++);
        QString piece;
        if (i >= positionCount()) {
            piece = value.mid(at);
            at = value.size();
        } else {
            const qsizetype close = value.indexOf(literalAt(i), at);
            // A value that lacks the closing literal gives the run only as many characters as it holds.
            piece = close < 0 ? value.mid(at, cells.size()) : value.mid(at, close - at);
            at += piece.size();
        }
        place(out, cells, piece, blank);
    }
    return out;
}

bool EditMask::validate(const QString &displayText, int *errorPos) const
{
    auto fail = [errorPos](int pos) {
        if (errorPos)
            *errorPos = pos;
        return false;
    };
    if (isEmpty() || displayText.isEmpty())
        return true;
    for (int i = 0; i < positionCount(); ++i) {
        const QChar c = i < displayText.size() ? displayText.at(i) : m_blank;
        if (isLiteral(i)) {
            if (c != literalAt(i))
                return fail(i);
        } else if (isEmptyEntry(i, c)) {
            if (isRequired(i))
                return fail(i);
        } else if (!accepts(i, c)) {
            return fail(i);
        }
    }
    if (displayText.size() > positionCount())
        return fail(positionCount());
    return true;
}

void EditMask::check(const QString &displayText) const
{
    int pos = 0;
    if (!validate(displayText, &pos))
        throw MaskError(pos);
}

QString EditMask::stored(const QString &displayText) const
{
    if (isEmpty())
        return displayText;

    QString entries;
    QList<bool> empty;
    for (int i = 0; i < positionCount(); ++i) {
        if (isLiteral(i))
            continue;
        const QChar c = i < displayText.size() ? displayText.at(i) : m_blank;
        const bool isEmptyHere = isEmptyEntry(i, c);
        entries.append(isEmptyHere ? u' ' : convertCase(i, c));
        empty.append(isEmptyHere);
    }
    if (!empty.contains(false))
        return {};

    if (m_saveLiterals) {
        // Blanks trimmed at one side would be refilled from that same side: every entry keeps its place.
        QString out;
        out.reserve(positionCount());
        qsizetype k = 0;
        for (int i = 0; i < positionCount(); ++i)
            out.append(isLiteral(i) ? literalAt(i) : entries.at(k++));
        return out;
    }

    qsizetype first = 0;
    qsizetype last = entries.size();
    if (m_dropsLeadingBlanks) {
        while (first < last && empty.at(first))
            ++first;
    } else {
        while (last > first && empty.at(last - 1))
            --last;
    }
    return entries.mid(first, last - first);
}

bool EditMask::operator==(const EditMask &other) const
{
    return m_text == other.m_text && m_dateSeparator == other.m_dateSeparator &&
           m_timeSeparator == other.m_timeSeparator;
}

} // namespace mask
