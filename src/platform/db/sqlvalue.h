#pragma once

#include "currency.h"
#include "textcodec.h"

#include <ibase.h>

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

namespace db {

/// The kinds of value a column or field holds.
enum class FieldType {
    Unknown,
    SmallInt,
    Integer,
    BigInt,
    Float,   ///< double precision (and single precision read as double)
    Numeric, ///< NUMERIC/DECIMAL: a scaled integer
    String,  ///< VARCHAR
    FixedChar,
    Date,
    Time,
    Timestamp,
    TextBlob,
    BinaryBlob,
    Boolean,
};

/// How one value is laid out in memory: the engine's type code (without the null bit), scale, sub-type and
/// byte length of the data area (for VARCHAR without the two-byte length prefix).
struct SqlType
{
    short type = SQL_NULL;
    short scale = 0;
    short subType = 0;
    short length = 0;

    static SqlType of(const XSQLVAR &var);
    FieldType fieldType() const;
    /// Bytes the value needs in a record buffer (VARCHAR includes its length prefix).
    int storageSize() const;
    /// The alignment the value's C type needs.
    int alignment() const;
};

QDate iscToDate(ISC_DATE d);
ISC_DATE dateToIsc(QDate d);
QTime iscToTime(ISC_TIME t);
ISC_TIME timeToIsc(QTime t);

/// Reading and writing one non-null value stored in the engine's layout. Conversion failures throw ValueError
/// with a Portuguese message; `name` (a field or parameter) is used in it.
namespace sqlvalue {

bool isBlob(const SqlType &t);
ISC_QUAD blobId(const char *data);

QString toString(const SqlType &t, const char *data, const TextCodec &codec);
qint64 toInt64(const SqlType &t, const char *data, const TextCodec &codec, const QString &name);
double toDouble(const SqlType &t, const char *data, const TextCodec &codec, const QString &name);
Currency toCurrency(const SqlType &t, const char *data, const TextCodec &codec, const QString &name);
QDate toDate(const SqlType &t, const char *data, const TextCodec &codec, const QString &name);
QTime toTime(const SqlType &t, const char *data, const TextCodec &codec, const QString &name);
QDateTime toDateTime(const SqlType &t, const char *data, const TextCodec &codec, const QString &name);
bool toBool(const SqlType &t, const char *data, const TextCodec &codec, const QString &name);
/// Native value: qint64/int, double, QString, QDate, QTime, QDateTime, bool; blobs are not read here.
QVariant toVariant(const SqlType &t, const char *data, const TextCodec &codec);

void setInt64(const SqlType &t, char *data, qint64 v, const TextCodec &codec, const QString &name);
void setDouble(const SqlType &t, char *data, double v, const TextCodec &codec, const QString &name);
void setCurrency(const SqlType &t, char *data, Currency v, const TextCodec &codec, const QString &name);
void setString(const SqlType &t, char *data, const QString &v, const TextCodec &codec, const QString &name);
void setDate(const SqlType &t, char *data, QDate v, const TextCodec &codec, const QString &name);
void setTime(const SqlType &t, char *data, QTime v, const TextCodec &codec, const QString &name);
void setDateTime(const SqlType &t, char *data, const QDateTime &v, const TextCodec &codec,
                 const QString &name);
void setBool(const SqlType &t, char *data, bool v, const TextCodec &codec, const QString &name);
/// Dispatches on the variant's type; a null variant is the caller's business.
void setVariant(const SqlType &t, char *data, const QVariant &v, const TextCodec &codec, const QString &name);

} // namespace sqlvalue
} // namespace db
