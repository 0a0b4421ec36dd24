#include "zelspockfloat.h"

#include "platform/db/currency.h"
#include "platform/db/dataset.h"
#include "platform/db/dberror.h"
#include "platform/regional/regional.h"

#include <QRegularExpression>

#include <cmath>

namespace {

QChar decimalSeparator()
{
    return regional::settings().decimalSeparator;
}

QString withoutThousands(QString text)
{
    return text.remove(regional::settings().thousandSeparator);
}

bool isIntegerField(const db::Field *f)
{
    const auto t = f->dataType();
    return t == db::FieldType::SmallInt || t == db::FieldType::Integer || t == db::FieldType::BigInt;
}

bool isDecimalField(const db::Field *f)
{
    return f->dataType() == db::FieldType::Float || f->dataType() == db::FieldType::Numeric;
}

qint64 ticksOf(double value)
{
    return db::Currency::fromDouble(value).ticks();
}

// Four-decimal units overflow a qint64 from about 9.22E14 on; larger numbers are written from the double.
bool fitsTicks(double value)
{
    return std::fabs(value) < 9.0e14;
}

/// A number as the typing filter sees it: sign, digits, decimal separator, exponent; "12," and ",5" count.
bool looksLikeNumber(const QString &text)
{
    const QString sep = QRegularExpression::escape(QString(decimalSeparator()));
    static QString builtFor;
    static QRegularExpression re;
    if (builtFor != sep) {
        builtFor = sep;
        re = QRegularExpression(QStringLiteral("^[+-]?(\\d+%1?\\d*|%1\\d+)([Ee][+-]?\\d+)?$").arg(sep));
    }
    return re.match(text).hasMatch();
}

} // namespace

TZelSpockFloat::TZelSpockFloat(QWidget *parent) : TZelSpockCustom(parent)
{
    setAlignment(taRightJustify);
}

bool TZelSpockFloat::hasDecimals() const
{
    if (!isBound())
        return true;
    return Field() && isDecimalField(Field());
}

QString TZelSpockFloat::Picture() const
{
    QString picture;
    if (m_leftZeros)
        picture = QString(m_integerPlaces, u'0');
    else
        picture = QString(qMax(0, m_integerPlaces - 1), u'#') + u'0';
    if (m_useSeparator)
        picture += u',';
    if (hasDecimals())
        picture += u'.' + QString(m_decimalPlaces, m_rightZeros ? u'0' : u'#');
    return picture;
}

QString TZelSpockFloat::FormatValue(qint64 ticks, bool isNull) const
{
    if (isNull)
        return m_nullEmpty && !Focused() ? QString() : regional::formatCurrency(0, Picture());
    if (ticks != 0)
        return regional::formatCurrency(ticks, Picture());
    return m_zeroEmpty && !Focused() ? QString() : regional::formatCurrency(0, Picture());
}

QString TZelSpockFloat::formatNumber(double value, bool isNull) const
{
    if (isNull || fitsTicks(value))
        return FormatValue(ticksOf(value), isNull);
    return regional::formatFloat(Picture(), value);
}

QString TZelSpockFloat::formatField(const db::Field &field) const
{
    if (field.isNull() || fitsTicks(field.asDouble()))
        return FormatValue(field.asCurrency().ticks(), field.isNull());
    return regional::formatFloat(Picture(), field.asDouble());
}

double TZelSpockFloat::ParseText(const QString &text, bool *ok)
{
    double value = 0;
    const bool parsed = regional::textToFloat(withoutThousands(text), value);
    if (ok)
        *ok = parsed;
    return parsed ? value : 0;
}

void TZelSpockFloat::rebuild()
{
    dataLink().Reset();
}

void TZelSpockFloat::setLeftZeros(bool on)
{
    m_leftZeros = on;
    rebuild();
}

void TZelSpockFloat::setUseSeparator(bool on)
{
    m_useSeparator = on;
    rebuild();
}

void TZelSpockFloat::setZeroEmpty(bool on)
{
    m_zeroEmpty = on;
    rebuild();
}

void TZelSpockFloat::setNullEmpty(bool on)
{
    m_nullEmpty = on;
    rebuild();
}

void TZelSpockFloat::setRightZeros(bool on)
{
    m_rightZeros = on;
    rebuild();
}

void TZelSpockFloat::setIntegerPlaces(int places)
{
    m_integerPlaces = qBound(0, places, 255);
}

void TZelSpockFloat::setDecimalPlaces(int places)
{
    m_decimalPlaces = qBound(0, places, 255);
    rebuild();
}

double TZelSpockFloat::FloatValue() const
{
    if (!isBound())
        return m_unboundValue;
    const db::Field *f = Field();
    if (!f)
        return 0;
    return fitsTicks(f->asDouble()) ? f->asCurrency().toDouble() : f->asDouble();
}

void TZelSpockFloat::setFloatValue(double value)
{
    m_unboundNull = false;
    setText(formatNumber(value, false));
    if (!isBound()) {
        // A zero hidden by ZeroEmpty is still a value, not the empty text setText() saw.
        m_unboundNull = false;
        m_unboundValue = value;
    }
}

void TZelSpockFloat::setIsNull(bool on)
{
    if (on)
        Clear();
    else if (IsNull())
        setFloatValue(0);
    if (!isBound())
        m_unboundNull = on;
}

void TZelSpockFloat::setDataField(const QString &name)
{
    // Checked before binding, so that a refused field is never displayed.
    const db::DataSet *ds = DataSource() ? DataSource()->dataSet() : nullptr;
    const db::Field *f = ds && ds->isActive() ? ds->findField(name.toUpper()) : nullptr;
    if (f && !isIntegerField(f) && !isDecimalField(f)) {
        TZelSpockCustom::setDataField(QString());
        throw db::ProgrammingError(
            QStringLiteral("Invalid field type. Field \"%1\", DataSet \"%2\" - Control \"%3\"")
                .arg(f->fieldName(), dataSetName(DataSource()), objectName()));
    }
    TZelSpockCustom::setDataField(name);
}

void TZelSpockFloat::setEditKind(TZelEditKind kind)
{
    if (kind != ekList)
        TZelSpockCustom::setEditKind(kind);
}

void TZelSpockFloat::setText(const QString &text)
{
    TZelSpockCustom::setText(text);
    // An unbound edit rebuilds its text from its own value at every focus change: text put in by the
    // program must become that value, or it is gone at the first focus entry.
    if (updateDepth() == 0) {
        if (!Focused())
            m_unboundNull = text.trimmed().isEmpty();
        m_unboundValue = ParseText(text);
    }
}

void TZelSpockFloat::Clear()
{
    setFloatValue(0);
    TZelSpockCustom::Clear();
}

void TZelSpockFloat::Loaded()
{
    TZelSpockCustom::Loaded();
    DataChange();
}

QString TZelSpockFloat::GetFieldText() const
{
    return Field() ? formatField(*Field()) : QString();
}

QString TZelSpockFloat::GetTextValue() const
{
    if (IsNull()) {
        QString digits = withoutThousands(Text());
        digits.remove(decimalSeparator());
        bool isInteger = false;
        const qlonglong n = digits.trimmed().toLongLong(&isInteger);
        if (!isInteger || n == 0)
            return QString();
    }
    return formatNumber(ParseText(Text()), IsNull());
}

void TZelSpockFloat::DoExit()
{
    if (!isBound() && isModified())
        m_unboundNull = Text().trimmed().isEmpty();
    TZelSpockCustom::DoExit();
}

void TZelSpockFloat::DataChange()
{
    UpdateScope scope(this);
    if (isBound()) {
        if (!EditMask().isEmpty())
            applyMask(QString());
        db::Field *f = Field();
        if (f && Focused() && dataLink().CanModify()) {
            putText(withoutThousands(formatField(*f)), true);
        } else if (f) {
            putText(formatField(*f), false);
            if (dataLink().Editing() && dataLink().Modified())
                setModified(true);
        } else {
            putText(QString(), true);
        }
    } else if (!isLoading()) {
        if (Focused()) {
            putText(withoutThousands(formatNumber(m_unboundValue, m_unboundNull)), true);
        } else if (m_unboundNull && m_nullEmpty) {
            // Emptying must not turn an empty edit into a zero: it stays null.
            Clear();
            m_unboundNull = true;
        } else {
            m_unboundValue = ParseText(Text());
            putText(formatNumber(m_unboundValue, m_unboundNull), true);
        }
    }
}

void TZelSpockFloat::UpdateData()
{
    UpdateScope scope(this);
    if (!isBound())
        return;
    validateMask();
    // A text the field refuses (too large for its type, pasted words) is not cleared: the error reaches the
    // focus exit, which keeps the focus and the typed text, so that nothing typed vanishes unnoticed.
    const QString text = Text();
    if (text == QStringLiteral("-"))
        Field()->setEditText(hasDecimals() ? QStringLiteral("0") + decimalSeparator() + QStringLiteral("00")
                                           : QStringLiteral("0"));
    else
        Field()->setEditText(withoutThousands(text));
}

void TZelSpockFloat::KeyPress(QChar &key)
{
    if (isBound() && Field()) {
        if (isDecimalField(Field()))
            Field()->setValidChars(QStringLiteral("+-0123456789") + decimalSeparator());
        else if (isIntegerField(Field()))
            Field()->setValidChars(QStringLiteral("+-0123456789"));
    }
    if (key == u',' || key == u'.')
        key = m_decimalPlaces > 0 ? decimalSeparator() : QChar();
    if (key.isNull())
        return;
    TZelSpockCustom::KeyPress(key);
    if (!key.isNull() && key.unicode() >= 32 && !AcceptChar(key)) {
        key = QChar();
    } else if (key.unicode() == 27) {
        Reset();
        key = QChar();
    }
}

bool TZelSpockFloat::AcceptChar(QChar c) const
{
    QString text = displayedText();
    int start = cursorPosition();
    if (hasSelectedText()) {
        start = selectionStart();
        text.remove(start, selectedText().size());
    }
    text.insert(start, c);
    text = withoutThousands(text);

    const QString allowed = QStringLiteral("+-0123456789Ee") + decimalSeparator();
    for (QChar ch : text)
        if (!allowed.contains(ch))
            return false;
    if (text != QStringLiteral("-") && !looksLikeNumber(text.left(63)))
        return false;
    if (text.contains(u'-'))
        text.remove(0, 1);
    const qsizetype sep = text.indexOf(decimalSeparator());
    const qsizetype p = sep < 0 ? text.size() + 1 : sep + 1;
    if (text.size() - p > m_decimalPlaces)
        return false;
    if (m_integerPlaces != 0 && p > m_integerPlaces + 1)
        return false;
    return true;
}
