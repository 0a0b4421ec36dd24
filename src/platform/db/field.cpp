#include "field.h"

#include "dataset.h"
#include "dberror.h"
#include "platform/regional/regional.h"
#include "textformat.h"

#include <cstring>

namespace db {

Field::Field(DataSet *dataSet, const QString &name, FieldType type, int size, bool calculated)
    : m_dataSet(dataSet), m_name(name), m_type(type), m_size(size), m_calculated(calculated)
{}

bool Field::isNumeric() const
{
    switch (m_type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::BigInt:
    case FieldType::Float:
    case FieldType::Numeric:
        return true;
    default:
        return false;
    }
}

int Field::displayWidth() const
{
    if (m_displayWidth > 0)
        return m_displayWidth;
    switch (m_type) {
    case FieldType::String:
    case FieldType::FixedChar:
        return m_size;
    case FieldType::SmallInt:
        return 6;
    case FieldType::Integer:
        return 11;
    case FieldType::BigInt:
        return 20;
    case FieldType::Date:
        return 10;
    case FieldType::Time:
        return 8;
    case FieldType::Timestamp:
        return 19;
    case FieldType::Boolean:
        return 5;
    case FieldType::TextBlob:
    case FieldType::BinaryBlob:
        return 10;
    default:
        return 10;
    }
}

int Field::alignment() const
{
    return isNumeric() ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
}

QString Field::validChars() const
{
    if (m_validCharsSet)
        return m_validChars;
    switch (m_type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::BigInt:
        return QStringLiteral("+-0123456789");
    case FieldType::Float:
    case FieldType::Numeric:
        return QStringLiteral("+-0123456789Ee") + regional::settings().decimalSeparator;
    default:
        return {}; // empty: every character
    }
}

bool Field::isValidChar(QChar c) const
{
    const QString chars = validChars();
    return chars.isEmpty() || chars.contains(c);
}

bool Field::canModify() const
{
    return !m_readOnly && !m_calculated && m_dataSet->canModify();
}

const char *Field::readData() const
{
    return m_dataSet->readBuffer();
}

bool Field::isNull() const
{
    const char *row = readData();
    if (!row)
        return true;
    short ind;
    std::memcpy(&ind, row + m_nullOffset, sizeof ind);
    return ind == -1;
}

QVariant Field::valueIn(const char *row) const
{
    if (!row)
        return {};
    short ind;
    std::memcpy(&ind, row + m_nullOffset, sizeof ind);
    if (ind == -1)
        return {};
    if (isBlob()) {
        const QByteArray bytes = m_dataSet->blobContent(*this, row);
        return m_type == FieldType::TextBlob ? QVariant(m_dataSet->database()->codec().decode(bytes))
                                             : QVariant(bytes);
    }
    return sqlvalue::toVariant(m_sqlType, row + m_dataOffset, m_dataSet->database()->codec());
}

QVariant Field::value() const
{
    return valueIn(readData());
}

QVariant Field::oldValue() const
{
    switch (m_dataSet->state()) {
    case DataSetState::Edit:
        return valueIn(m_dataSet->m_oldBuf.data());
    case DataSetState::Insert:
        return {};
    default:
        return value();
    }
}

QVariant Field::newValue() const
{
    return value();
}

char *Field::beginWrite()
{
    if (!m_dataSet->m_calcTarget) {
        if (m_calculated)
            throw ProgrammingError(QStringLiteral("Field '%1' cannot be modified").arg(m_name));
        if (m_readOnly)
            throw ProgrammingError(QStringLiteral("Field '%1' cannot be modified").arg(m_name));
    }
    return m_dataSet->writeBuffer(*this);
}

void Field::endWrite()
{
    if (m_dataSet->m_calcTarget)
        return;
    if (onValidate)
        onValidate(*this);
    m_dataSet->fieldChanged(*this);
}

namespace {

bool rowIsNull(const char *row, int offset)
{
    short ind;
    std::memcpy(&ind, row + offset, sizeof ind);
    return ind == -1;
}

void setNullFlag(char *row, int offset, bool null)
{
    const short ind = null ? -1 : 0;
    std::memcpy(row + offset, &ind, sizeof ind);
}

} // namespace

void Field::clear()
{
    char *row = beginWrite();
    setNullFlag(row, m_nullOffset, true);
    if (m_slotOffset >= 0) {
        const qint32 none = -1;
        std::memcpy(row + m_slotOffset, &none, sizeof none);
    }
    endWrite();
}

void Field::setValue(const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        clear();
        return;
    }
    if (isBlob()) {
        if (v.typeId() == QMetaType::QByteArray)
            setAsBytes(v.toByteArray());
        else
            setAsString(v.toString());
        return;
    }
    char *row = beginWrite();
    sqlvalue::setVariant(m_sqlType, row + m_dataOffset, v, m_dataSet->database()->codec(), displayLabel());
    setNullFlag(row, m_nullOffset, false);
    endWrite();
}

QString Field::asString() const
{
    const char *row = readData();
    if (!row || rowIsNull(row, m_nullOffset))
        return {};
    if (isBlob())
        return m_dataSet->database()->codec().decode(m_dataSet->blobContent(*this, row));
    return sqlvalue::toString(m_sqlType, row + m_dataOffset, m_dataSet->database()->codec());
}

void Field::setAsString(const QString &v)
{
    if (isBlob()) {
        setAsBytes(m_dataSet->database()->codec().encodeOrThrow(v));
        return;
    }
    // An empty text clears any field that is not text.
    if (v.isEmpty() && m_type != FieldType::String && m_type != FieldType::FixedChar) {
        clear();
        return;
    }
    char *row = beginWrite();
    sqlvalue::setString(m_sqlType, row + m_dataOffset, v, m_dataSet->database()->codec(), displayLabel());
    setNullFlag(row, m_nullOffset, false);
    endWrite();
}

#define DB_FIELD_READ(Type, fn, zero)                                                                        \
    Type Field::fn() const                                                                                   \
    {                                                                                                        \
        const char *row = readData();                                                                        \
        if (!row || rowIsNull(row, m_nullOffset))                                                            \
            return zero;                                                                                     \
        if (isBlob())                                                                                        \
            throw ProgrammingError(QStringLiteral("Field '%1' is a blob").arg(m_name));                      \
        return sqlvalue::fn(m_sqlType, row + m_dataOffset, m_dataSet->database()->codec(), displayLabel());  \
    }

#define DB_FIELD_WRITE(Type, fn, setter)                                                                     \
    void Field::fn(Type v)                                                                                   \
    {                                                                                                        \
        if (isBlob())                                                                                        \
            throw ProgrammingError(QStringLiteral("Field '%1' is a blob").arg(m_name));                      \
        char *row = beginWrite();                                                                            \
        sqlvalue::setter(m_sqlType, row + m_dataOffset, v, m_dataSet->database()->codec(), displayLabel());  \
        setNullFlag(row, m_nullOffset, false);                                                               \
        endWrite();                                                                                          \
    }

namespace sqlvalue {
inline qint64 asInt64(const SqlType &t, const char *d, const TextCodec &c, const QString &n)
{
    return toInt64(t, d, c, n);
}
inline double asDouble(const SqlType &t, const char *d, const TextCodec &c, const QString &n)
{
    return toDouble(t, d, c, n);
}
inline Currency asCurrency(const SqlType &t, const char *d, const TextCodec &c, const QString &n)
{
    return toCurrency(t, d, c, n);
}
inline QDate asDate(const SqlType &t, const char *d, const TextCodec &c, const QString &n)
{
    return toDate(t, d, c, n);
}
inline QTime asTime(const SqlType &t, const char *d, const TextCodec &c, const QString &n)
{
    return toTime(t, d, c, n);
}
inline QDateTime asDateTime(const SqlType &t, const char *d, const TextCodec &c, const QString &n)
{
    return toDateTime(t, d, c, n);
}
inline bool asBool(const SqlType &t, const char *d, const TextCodec &c, const QString &n)
{
    return toBool(t, d, c, n);
}
} // namespace sqlvalue

DB_FIELD_READ(qint64, asInt64, 0)
DB_FIELD_READ(double, asDouble, 0.0)
DB_FIELD_READ(Currency, asCurrency, Currency())
DB_FIELD_READ(QDate, asDate, QDate())
DB_FIELD_READ(QTime, asTime, QTime())
DB_FIELD_READ(QDateTime, asDateTime, QDateTime())
DB_FIELD_READ(bool, asBool, false)

DB_FIELD_WRITE(qint64, setAsInt64, setInt64)
DB_FIELD_WRITE(double, setAsDouble, setDouble)
DB_FIELD_WRITE(Currency, setAsCurrency, setCurrency)
DB_FIELD_WRITE(QDate, setAsDate, setDate)
DB_FIELD_WRITE(QTime, setAsTime, setTime)
DB_FIELD_WRITE(const QDateTime &, setAsDateTime, setDateTime)
DB_FIELD_WRITE(bool, setAsBool, setBool)

#undef DB_FIELD_READ
#undef DB_FIELD_WRITE

QByteArray Field::asBytes() const
{
    const char *row = readData();
    if (!row || rowIsNull(row, m_nullOffset))
        return {};
    if (isBlob())
        return m_dataSet->blobContent(*this, row);
    return m_dataSet->database()->codec().encodeOrThrow(asString());
}

void Field::setAsBytes(const QByteArray &v)
{
    if (!isBlob()) {
        setAsString(m_dataSet->database()->codec().decode(v));
        return;
    }
    char *row = beginWrite();
    const qint32 slot = qint32(m_dataSet->m_blobs.size());
    m_dataSet->m_blobs.push_back(v);
    std::memcpy(row + m_slotOffset, &slot, sizeof slot);
    setNullFlag(row, m_nullOffset, false);
    endWrite();
}

QString Field::defaultText(bool display) const
{
    const char *row = readData();
    if (!row || rowIsNull(row, m_nullOffset))
        return {};
    const QString &format = display ? m_displayFormat : (m_editFormat.isEmpty() ? QString() : m_editFormat);
    switch (m_type) {
    case FieldType::Float:
    case FieldType::Numeric:
        if (!format.isEmpty())
            return regional::formatFloat(format, asDouble());
        if (m_currency)
            return display ? regional::formatCurrency(asCurrency().ticks(), 2)
                           : regional::formatFloat(QStringLiteral("0.00"), asCurrency().toDouble());
        return asString();
    case FieldType::SmallInt:
    case FieldType::Integer:
    case FieldType::BigInt:
        if (!format.isEmpty())
            return regional::formatFloat(format, double(asInt64()));
        return asString();
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::Timestamp:
        if (display && !format.isEmpty())
            return regional::formatDateTime(format, asDateTime());
        return asString();
    case FieldType::TextBlob:
        return display ? QStringLiteral("(Memo)") : asString();
    case FieldType::BinaryBlob:
        return display ? QStringLiteral("(Blob)") : QString();
    default:
        return asString();
    }
}

QString Field::displayText() const
{
    QString text;
    if (onGetText) {
        onGetText(const_cast<Field &>(*this), text, true);
        return text;
    }
    return defaultText(true);
}

QString Field::editText() const
{
    QString text;
    if (onGetText) {
        onGetText(const_cast<Field &>(*this), text, false);
        return text;
    }
    return defaultText(false);
}

void Field::setEditText(const QString &text)
{
    if (onSetText) {
        onSetText(*this, text);
        return;
    }
    setAsString(text);
}

void Field::focusControl()
{
    m_dataSet->notify(DataEvent::FocusControl, this);
}

} // namespace db
