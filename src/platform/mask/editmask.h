#pragma once

#include <QChar>
#include <QList>
#include <QString>

namespace mask {

/// What the user may put into one display position.
enum class PositionKind {
    Literal,      ///< fixed text of the mask; never typed
    Digit,        ///< "0" (required) and "9" (optional): 0 to 9
    DigitOrSign,  ///< "#": 0 to 9, "+" or "-"; always optional
    Letter,       ///< "L" (required) and "l" (optional)
    AlphaNumeric, ///< "A" (required) and "a" (optional): a letter or 0 to 9
    AnyChar,      ///< "C" (required) and "c" (optional): any printable character
};

/// Case change that ">" and "<" put on the positions after them.
enum class CaseConversion { None, Upper, Lower };

/// One display position of a parsed edit mask.
struct MaskPosition
{
    PositionKind kind = PositionKind::Literal;
    bool required = false;
    /// The character shown at a literal position; null for editable ones.
    QChar literal;
    CaseConversion caseConversion = CaseConversion::None;
};

/// An edit mask in the three-part form "mask;saveLiterals;blank": parsing, display formatting, validation
/// and the text stored for a display text.
///
/// Terms used below. The display text is what a masked edit shows: exactly positionCount() characters,
/// literals in place and the blank character at every editable position nothing was typed into. The stored
/// text is what goes into the data field: with saveLiterals() the display text with blanks turned into
/// spaces, otherwise only the characters of the editable positions.
///
/// An empty mask (no positions) leaves every text unchanged.
class EditMask
{
public:
    EditMask() = default;
    /// The date and time separators replace "/" and ":" of the mask.
    explicit EditMask(const QString &mask, QChar dateSeparator = u'/', QChar timeSeparator = u':');

    /// The mask text as given.
    const QString &text() const { return m_text; }
    bool isEmpty() const { return m_positions.isEmpty(); }

    /// Second part: literals are stored with the value (anything but "0"; true when the part is missing).
    bool saveLiterals() const { return m_saveLiterals; }
    /// Third part: the character shown at positions not typed yet ("_" when the part is missing).
    QChar blank() const { return m_blank; }
    /// "!": optional positions are left blank at the start instead of the end of a value.
    bool dropsLeadingBlanks() const { return m_dropsLeadingBlanks; }

    /// Length of the display text.
    int positionCount() const { return int(m_positions.size()); }
    int editableCount() const { return m_editableCount; }
    const MaskPosition &position(int i) const { return m_positions.at(i); }
    bool isLiteral(int i) const { return m_positions.at(i).kind == PositionKind::Literal; }
    bool isRequired(int i) const { return m_positions.at(i).required; }
    QChar literalAt(int i) const { return m_positions.at(i).literal; }

    /// The character as position i keeps it (case change of ">" and "<"); literals keep it unchanged.
    QChar convertCase(int i, QChar c) const;
    /// Whether c, after convertCase(), is an entry that editable position i takes.
    bool accepts(int i, QChar c) const;
    /// Whether c at editable position i means "nothing typed": the blank, or a space where the position
    /// could not hold a real space.
    bool isEmptyEntry(int i, QChar c) const;

    /// First editable position at or after from; -1 when there is none.
    int nextEditable(int from) const;
    /// Last editable position before the index before; -1 when there is none.
    int previousEditable(int before) const;

    /// The display text with nothing typed: literals and blanks ("  /  /    ").
    QString blankText() const;
    /// Whether no editable position of the display text holds an entry.
    bool isBlank(const QString &displayText) const;

    /// The value shown through the mask, with spaces at the positions the value does not fill (the
    /// toolkit's FormatMaskText). See displayFromStored() for how the value is placed.
    QString format(const QString &value) const;
    /// The display text a masked edit shows for a stored value (blanks where the value does not reach).
    /// A value that already has the display's shape is taken position by position. Otherwise, without
    /// saveLiterals() or when the value holds none of the mask's literals, its characters fill the editable
    /// positions in order: from the start, or from the end with "!" (excess characters are dropped at the
    /// other side). With saveLiterals() and literals in the value, each run of editable positions takes the
    /// value's text up to the literal that follows the run, aligned left, or right with "!".
    QString displayFromStored(const QString &stored) const;

    /// Whether every required position holds an entry, every entry suits its position and every literal
    /// stands in place. An empty text is valid (nothing was ever shown). On failure *errorPos receives the
    /// 0-based index of the first offending position.
    bool validate(const QString &displayText, int *errorPos = nullptr) const;
    /// validate(), raising MaskError with the position on failure.
    void check(const QString &displayText) const;

    /// The text to store for a display text: blanks dropped at the end (or at the start with "!") and the
    /// rest turned into spaces, literals kept or dropped by saveLiterals(). A display text without any
    /// entry stores as empty, also when literals are saved.
    QString stored(const QString &displayText) const;

    bool operator==(const EditMask &other) const;

private:
    QString render(const QString &value, QChar blank) const;
    bool hasDisplayShape(const QString &value) const;
    bool holdsLiteral(const QString &value) const;
    void place(QString &out, const QList<int> &cells, const QString &piece, QChar blank) const;

    QString m_text;
    QChar m_dateSeparator = u'/';
    QChar m_timeSeparator = u':';
    QList<MaskPosition> m_positions;
    int m_editableCount = 0;
    bool m_saveLiterals = true;
    bool m_dropsLeadingBlanks = false;
    QChar m_blank = u'_';
};

} // namespace mask
