#include "sqlvalue.h"

#include "dberror.h"
#include "textformat.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace db {

namespace {

constexpr qint64 kPow10[] = {1LL,
                             10LL,
                             100LL,
                             1000LL,
                             10000LL,
                             100000LL,
                             1000000LL,
                             10000000LL,
                             100000000LL,
                             1000000000LL,
                             10000000000LL,
                             100000000000LL,
                             1000000000000LL,
                             10000000000000LL,
                             100000000000000LL,
                             1000000000000000LL,
                             10000000000000000LL,
                             100000000000000000LL,
                             1000000000000000000LL};

template <typename T> T load(const char *data)
{
    T v;
    std::memcpy(&v, data, sizeof v);
    return v;
}

template <typename T> void store(char *data, T v)
{
    std::memcpy(data, &v, sizeof v);
}

bool isIntegral(short type)
{
    return type == SQL_SHORT || type == SQL_LONG || type == SQL_INT64;
}

qint64 rawInt(const SqlType &t, const char *data)
{
    switch (t.type) {
    case SQL_SHORT:
        return load<qint16>(data);
    case SQL_LONG:
        return load<qint32>(data);
    default:
        return load<qint64>(data);
    }
}

// Integer division rounding halves away from zero.
qint64 divRound(qint64 v, qint64 d)
{
    const qint64 q = v / d;
    const qint64 r = v % d;
    if (2 * (r < 0 ? -r : r) >= d)
        return v < 0 ? q - 1 : q + 1;
    return q;
}

QString textOf(const SqlType &t, const char *data, const TextCodec &codec)
{
    if (t.type == SQL_VARYING)
        return codec.decode(data + 2, load<quint16>(data));
    // CHAR(n) comes padded with blanks; the padding is not part of the value.
    int n = t.length;
    while (n > 0 && data[n - 1] == ' ')
        --n;
    return codec.decode(data, n);
}

// `what` names the kind with its adjective, which agrees with it: "uma data válida", "um valor inteiro
// válido".
[[noreturn]] void badValue(const QString &text, const char *what)
{
    throw ValueError(QStringLiteral("\"%1\" não é %2.").arg(text, QString::fromUtf8(what)));
}

void rangeError(const QString &name)
{
    throw ValueError(QStringLiteral("Valor fora dos limites do campo %1.").arg(name));
}

} // namespace

SqlType SqlType::of(const XSQLVAR &var)
{
    SqlType t;
    t.type = short(var.sqltype & ~1);
    t.scale = var.sqlscale;
    t.subType = var.sqlsubtype;
    t.length = var.sqllen;
    return t;
}

FieldType SqlType::fieldType() const
{
    switch (type) {
    case SQL_SHORT:
        return scale < 0 ? FieldType::Numeric : FieldType::SmallInt;
    case SQL_LONG:
        return scale < 0 ? FieldType::Numeric : FieldType::Integer;
    case SQL_INT64:
        return scale < 0 ? FieldType::Numeric : FieldType::BigInt;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return FieldType::Float;
    case SQL_VARYING:
        return FieldType::String;
    case SQL_TEXT:
        return FieldType::FixedChar;
    case SQL_TYPE_DATE:
        return FieldType::Date;
    case SQL_TYPE_TIME:
        return FieldType::Time;
    case SQL_TIMESTAMP:
        return FieldType::Timestamp;
    case SQL_BLOB:
        return subType == 1 ? FieldType::TextBlob : FieldType::BinaryBlob;
    case SQL_BOOLEAN:
        return FieldType::Boolean;
    default:
        return FieldType::Unknown;
    }
}

int SqlType::storageSize() const
{
    return type == SQL_VARYING ? length + 2 : length;
}

int SqlType::alignment() const
{
    switch (type) {
    case SQL_TEXT:
    case SQL_BOOLEAN:
        return 1;
    case SQL_VARYING:
    case SQL_SHORT:
        return 2;
    case SQL_INT64:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return 8;
    default:
        return 4; // SQL_LONG, SQL_FLOAT, dates, times, timestamps, blob ids
    }
}

QDate iscToDate(ISC_DATE d)
{
    return QDate::fromJulianDay(qint64(d) + 2400001);
}

ISC_DATE dateToIsc(QDate d)
{
    return ISC_DATE(d.toJulianDay() - 2400001);
}

QTime iscToTime(ISC_TIME t)
{
    return QTime::fromMSecsSinceStartOfDay(int(t / 10));
}

ISC_TIME timeToIsc(QTime t)
{
    return ISC_TIME(t.msecsSinceStartOfDay()) * 10;
}

namespace sqlvalue {

bool isBlob(const SqlType &t)
{
    return t.type == SQL_BLOB;
}

ISC_QUAD blobId(const char *data)
{
    return load<ISC_QUAD>(data);
}

QString toString(const SqlType &t, const char *data, const TextCodec &codec)
{
    switch (t.type) {
    case SQL_VARYING:
    case SQL_TEXT:
        return textOf(t, data, codec);
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
        if (t.scale < 0)
            return textformat::formatDouble(double(rawInt(t, data)) / double(kPow10[-t.scale]));
        return QString::number(rawInt(t, data));
    case SQL_FLOAT:
        return textformat::formatDouble(load<float>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return textformat::formatDouble(load<double>(data));
    case SQL_TYPE_DATE:
        return textformat::formatDate(iscToDate(load<ISC_DATE>(data)));
    case SQL_TYPE_TIME:
        return textformat::formatTime(iscToTime(load<ISC_TIME>(data)));
    case SQL_TIMESTAMP: {
        const auto ts = load<ISC_TIMESTAMP>(data);
        return textformat::formatDateTime(
            QDateTime(iscToDate(ts.timestamp_date), iscToTime(ts.timestamp_time)));
    }
    case SQL_BOOLEAN:
        return data[0] ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return {};
    }
}

qint64 toInt64(const SqlType &t, const char *data, const TextCodec &codec, const QString &name)
{
    Q_UNUSED(name);
    if (isIntegral(t.type))
        return t.scale < 0 ? divRound(rawInt(t, data), kPow10[-t.scale]) : rawInt(t, data);
    switch (t.type) {
    case SQL_FLOAT:
        return qint64(std::llround(load<float>(data)));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return qint64(std::llround(load<double>(data)));
    case SQL_BOOLEAN:
        return data[0] ? 1 : 0;
    case SQL_VARYING:
    case SQL_TEXT: {
        const QString s = textOf(t, data, codec).trimmed();
        bool ok = false;
        const qint64 v = s.toLongLong(&ok);
        if (!ok)
            badValue(s, "um valor inteiro válido");
        return v;
    }
    default:
        badValue(toString(t, data, codec), "um valor inteiro válido");
    }
}

double toDouble(const SqlType &t, const char *data, const TextCodec &codec, const QString &name)
{
    Q_UNUSED(name);
    if (isIntegral(t.type))
        return t.scale < 0 ? double(rawInt(t, data)) / double(kPow10[-t.scale]) : double(rawInt(t, data));
    switch (t.type) {
    case SQL_FLOAT:
        return load<float>(data);
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return load<double>(data);
    case SQL_BOOLEAN:
        return data[0] ? 1 : 0;
    case SQL_VARYING:
    case SQL_TEXT: {
        const QString s = textOf(t, data, codec).trimmed();
        double v = 0;
        if (!textformat::parseDouble(s, v))
            badValue(s, "um valor numérico válido");
        return v;
    }
    default:
        badValue(toString(t, data, codec), "um valor numérico válido");
    }
}

Currency toCurrency(const SqlType &t, const char *data, const TextCodec &codec, const QString &name)
{
    if (isIntegral(t.type)) {
        const qint64 raw = rawInt(t, data);
        if (t.scale >= -4)
            return Currency::fromTicks(raw * kPow10[4 + t.scale]);
        return Currency::fromTicks(divRound(raw, kPow10[-t.scale - 4]));
    }
    if (t.type == SQL_VARYING || t.type == SQL_TEXT) {
        const QString s = textOf(t, data, codec).trimmed();
        qint64 ticks = 0;
        if (!textformat::parseCurrency(s, ticks))
            badValue(s, "um valor numérico válido");
        return Currency::fromTicks(ticks);
    }
    return Currency::fromDouble(toDouble(t, data, codec, name));
}

QDate toDate(const SqlType &t, const char *data, const TextCodec &codec, const QString &name)
{
    switch (t.type) {
    case SQL_TYPE_DATE:
        return iscToDate(load<ISC_DATE>(data));
    case SQL_TIMESTAMP:
        return iscToDate(load<ISC_TIMESTAMP>(data).timestamp_date);
    default:
        return toDateTime(t, data, codec, name).date();
    }
}

QTime toTime(const SqlType &t, const char *data, const TextCodec &codec, const QString &name)
{
    switch (t.type) {
    case SQL_TYPE_TIME:
        return iscToTime(load<ISC_TIME>(data));
    case SQL_TIMESTAMP:
        return iscToTime(load<ISC_TIMESTAMP>(data).timestamp_time);
    case SQL_VARYING:
    case SQL_TEXT: {
        const QString s = textOf(t, data, codec).trimmed();
        QTime v;
        if (!textformat::parseTime(s, v))
            badValue(s, "uma hora válida");
        return v;
    }
    default:
        badValue(toString(t, data, codec), "uma hora válida");
    }
}

QDateTime toDateTime(const SqlType &t, const char *data, const TextCodec &codec, const QString &name)
{
    Q_UNUSED(name);
    switch (t.type) {
    case SQL_TYPE_DATE:
        return QDateTime(iscToDate(load<ISC_DATE>(data)), QTime(0, 0));
    case SQL_TYPE_TIME:
        return QDateTime(QDate(1899, 12, 30), iscToTime(load<ISC_TIME>(data)));
    case SQL_TIMESTAMP: {
        const auto ts = load<ISC_TIMESTAMP>(data);
        return QDateTime(iscToDate(ts.timestamp_date), iscToTime(ts.timestamp_time));
    }
    case SQL_VARYING:
    case SQL_TEXT: {
        const QString s = textOf(t, data, codec).trimmed();
        QDateTime v;
        if (!textformat::parseDateTime(s, v))
            badValue(s, "uma data válida");
        return v;
    }
    default:
        badValue(toString(t, data, codec), "uma data válida");
    }
}

bool toBool(const SqlType &t, const char *data, const TextCodec &codec, const QString &name)
{
    if (t.type == SQL_BOOLEAN)
        return data[0] != 0;
    if (t.type == SQL_VARYING || t.type == SQL_TEXT) {
        const QString s = textOf(t, data, codec).trimmed().toUpper();
        if (s == QLatin1String("TRUE") || s == QLatin1String("T") || s == QLatin1String("S") ||
            s == QLatin1String("1"))
            return true;
        if (s == QLatin1String("FALSE") || s == QLatin1String("F") || s == QLatin1String("N") ||
            s == QLatin1String("0"))
            return false;
        badValue(s, "um valor lógico válido");
    }
    return toInt64(t, data, codec, name) != 0;
}

QVariant toVariant(const SqlType &t, const char *data, const TextCodec &codec)
{
    switch (t.type) {
    case SQL_VARYING:
    case SQL_TEXT:
        return textOf(t, data, codec);
    case SQL_SHORT:
    case SQL_LONG:
        if (t.scale < 0)
            return double(rawInt(t, data)) / double(kPow10[-t.scale]);
        return int(rawInt(t, data));
    case SQL_INT64:
        if (t.scale < 0)
            return double(rawInt(t, data)) / double(kPow10[-t.scale]);
        return rawInt(t, data);
    case SQL_FLOAT:
        return double(load<float>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return load<double>(data);
    case SQL_TYPE_DATE:
        return iscToDate(load<ISC_DATE>(data));
    case SQL_TYPE_TIME:
        return iscToTime(load<ISC_TIME>(data));
    case SQL_TIMESTAMP:
        return toDateTime(t, data, codec, {});
    case SQL_BOOLEAN:
        return data[0] != 0;
    default:
        return {};
    }
}

void setInt64(const SqlType &t, char *data, qint64 v, const TextCodec &codec, const QString &name)
{
    if (isIntegral(t.type)) {
        if (t.scale < 0) {
            const qint64 factor = kPow10[-t.scale];
            if (v > std::numeric_limits<qint64>::max() / factor ||
                v < std::numeric_limits<qint64>::min() / factor)
                rangeError(name);
            v *= factor;
        }
        switch (t.type) {
        case SQL_SHORT:
            if (v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
                rangeError(name);
            store<qint16>(data, qint16(v));
            return;
        case SQL_LONG:
            if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
                rangeError(name);
            store<qint32>(data, qint32(v));
            return;
        default:
            store<qint64>(data, v);
            return;
        }
    }
    switch (t.type) {
    case SQL_FLOAT:
        store<float>(data, float(v));
        return;
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        store<double>(data, double(v));
        return;
    case SQL_BOOLEAN:
        data[0] = v != 0;
        return;
    default:
        setString(t, data, QString::number(v), codec, name);
    }
}

void setDouble(const SqlType &t, char *data, double v, const TextCodec &codec, const QString &name)
{
    if (isIntegral(t.type)) {
        const double scaled = t.scale < 0 ? v * double(kPow10[-t.scale]) : v;
        if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2e18)
            rangeError(name);
        SqlType unscaled = t;
        unscaled.scale = 0;
        setInt64(unscaled, data, qint64(std::llround(scaled)), codec, name);
        return;
    }
    switch (t.type) {
    case SQL_FLOAT:
        store<float>(data, float(v));
        return;
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        store<double>(data, v);
        return;
    case SQL_BOOLEAN:
        data[0] = v != 0;
        return;
    default:
        setString(t, data, textformat::formatDouble(v), codec, name);
    }
}

void setCurrency(const SqlType &t, char *data, Currency v, const TextCodec &codec, const QString &name)
{
    if (isIntegral(t.type) && t.scale < 0) {
        const int s = -t.scale;
        const qint64 raw = s >= 4 ? v.ticks() * kPow10[s - 4] : divRound(v.ticks(), kPow10[4 - s]);
        SqlType unscaled = t;
        unscaled.scale = 0;
        setInt64(unscaled, data, raw, codec, name);
        return;
    }
    setDouble(t, data, v.toDouble(), codec, name);
}

void setString(const SqlType &t, char *data, const QString &v, const TextCodec &codec, const QString &name)
{
    switch (t.type) {
    case SQL_VARYING:
    case SQL_TEXT: {
        const QByteArray bytes = codec.encodeOrThrow(v);
        if (bytes.size() > t.length) {
            const int chars = t.length / codec.maxBytesPerChar();
            throw ValueError(QStringLiteral("O texto informado para %1 é maior que o tamanho do campo (%2 "
                                            "caracteres).")
                                 .arg(name)
                                 .arg(chars));
        }
        if (t.type == SQL_VARYING) {
            store<quint16>(data, quint16(bytes.size()));
            std::memcpy(data + 2, bytes.constData(), size_t(bytes.size()));
        } else {
            std::memcpy(data, bytes.constData(), size_t(bytes.size()));
            std::memset(data + bytes.size(), ' ', size_t(t.length - bytes.size()));
        }
        return;
    }
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
        const QString s = v.trimmed();
        if (t.scale < 0) {
            qint64 ticks = 0;
            if (!textformat::parseCurrency(s, ticks)) {
                double d = 0;
                if (!textformat::parseDouble(s, d))
                    badValue(s, "um valor numérico válido");
                setDouble(t, data, d, codec, name);
                return;
            }
            setCurrency(t, data, Currency::fromTicks(ticks), codec, name);
            return;
        }
        bool ok = false;
        const qint64 n = s.toLongLong(&ok);
        if (!ok)
            badValue(s, "um valor inteiro válido");
        setInt64(t, data, n, codec, name);
        return;
    }
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        const QString s = v.trimmed();
        double d = 0;
        if (!textformat::parseDouble(s, d))
            badValue(s, "um valor numérico válido");
        setDouble(t, data, d, codec, name);
        return;
    }
    case SQL_TYPE_DATE: {
        QDate d;
        if (!textformat::parseDate(v.trimmed(), d))
            badValue(v.trimmed(), "uma data válida");
        setDate(t, data, d, codec, name);
        return;
    }
    case SQL_TYPE_TIME: {
        QTime tm;
        if (!textformat::parseTime(v.trimmed(), tm))
            badValue(v.trimmed(), "uma hora válida");
        setTime(t, data, tm, codec, name);
        return;
    }
    case SQL_TIMESTAMP: {
        QDateTime dt;
        if (!textformat::parseDateTime(v.trimmed(), dt))
            badValue(v.trimmed(), "uma data válida");
        setDateTime(t, data, dt, codec, name);
        return;
    }
    case SQL_BOOLEAN: {
        // The same words the reading side knows; anything else is refused rather than stored as false.
        const QString s = v.trimmed().toUpper();
        if (s == QLatin1String("TRUE") || s == QLatin1String("T") || s == QLatin1String("S") ||
            s == QLatin1String("1"))
            data[0] = 1;
        else if (s == QLatin1String("FALSE") || s == QLatin1String("F") || s == QLatin1String("N") ||
                 s == QLatin1String("0"))
            data[0] = 0;
        else
            badValue(v.trimmed(), "um valor lógico válido");
        return;
    }
    default:
        throw ProgrammingError(QStringLiteral("Cannot assign text to %1").arg(name));
    }
}

void setDate(const SqlType &t, char *data, QDate v, const TextCodec &codec, const QString &name)
{
    if (!v.isValid())
        badValue(QString(), "uma data válida");
    switch (t.type) {
    case SQL_TYPE_DATE:
        store<ISC_DATE>(data, dateToIsc(v));
        return;
    case SQL_TIMESTAMP:
        store<ISC_TIMESTAMP>(data, ISC_TIMESTAMP{dateToIsc(v), 0});
        return;
    default:
        setString(t, data, textformat::formatDate(v), codec, name);
    }
}

void setTime(const SqlType &t, char *data, QTime v, const TextCodec &codec, const QString &name)
{
    if (!v.isValid())
        badValue(QString(), "uma hora válida");
    switch (t.type) {
    case SQL_TYPE_TIME:
        store<ISC_TIME>(data, timeToIsc(v));
        return;
    case SQL_TIMESTAMP:
        store<ISC_TIMESTAMP>(data, ISC_TIMESTAMP{dateToIsc(QDate(1899, 12, 30)), timeToIsc(v)});
        return;
    default:
        setString(t, data, textformat::formatTime(v), codec, name);
    }
}

void setDateTime(const SqlType &t, char *data, const QDateTime &v, const TextCodec &codec,
                 const QString &name)
{
    // By its parts: a moment of the hour a summer-time change skips is a local QDateTime Qt calls invalid.
    if (!v.date().isValid())
        badValue(QString(), "uma data válida");
    switch (t.type) {
    case SQL_TYPE_DATE:
        store<ISC_DATE>(data, dateToIsc(v.date()));
        return;
    case SQL_TYPE_TIME:
        store<ISC_TIME>(data, timeToIsc(v.time()));
        return;
    case SQL_TIMESTAMP:
        store<ISC_TIMESTAMP>(data, ISC_TIMESTAMP{dateToIsc(v.date()), timeToIsc(v.time())});
        return;
    default:
        setString(t, data, textformat::formatDateTime(v), codec, name);
    }
}

void setBool(const SqlType &t, char *data, bool v, const TextCodec &codec, const QString &name)
{
    if (t.type == SQL_BOOLEAN) {
        data[0] = v;
        return;
    }
    if (t.type == SQL_VARYING || t.type == SQL_TEXT) {
        setString(t, data, v ? QStringLiteral("True") : QStringLiteral("False"), codec, name);
        return;
    }
    setInt64(t, data, v ? 1 : 0, codec, name);
}

void setVariant(const SqlType &t, char *data, const QVariant &v, const TextCodec &codec, const QString &name)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        setBool(t, data, v.toBool(), codec, name);
        return;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::ULongLong:
    case QMetaType::ULong:
        setInt64(t, data, v.toLongLong(), codec, name);
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        setDouble(t, data, v.toDouble(), codec, name);
        return;
    case QMetaType::QDate:
        setDate(t, data, v.toDate(), codec, name);
        return;
    case QMetaType::QTime:
        setTime(t, data, v.toTime(), codec, name);
        return;
    case QMetaType::QDateTime:
        setDateTime(t, data, v.toDateTime(), codec, name);
        return;
    default:
        if (v.canConvert<Currency>() && v.typeId() == qMetaTypeId<Currency>()) {
            setCurrency(t, data, v.value<Currency>(), codec, name);
            return;
        }
        setString(t, data, v.toString(), codec, name);
    }
}

} // namespace sqlvalue
} // namespace db
