#include "zelspockdate.h"

#include "platform/db/dataset.h"
#include "platform/db/dberror.h"
#include "platform/regional/regional.h"

namespace {

struct DisplayLayout
{
    const char *mask;
    const char *format;
    const char *blank;
    int minLength;
};

const DisplayLayout &layoutOf(TZelDisplayFormat f)
{
    static const DisplayLayout layouts[] = {
        {"!99/99/9999;1; ", "dd/mm/yyyy", "  /  /    ", 10},
        {"!99/9999;1; ", "mm/yyyy", "  /    ", 7},
        {"!99/99;1; ", "dd/mm", "  /  ", 5},
    };
    return layouts[f];
}

struct StorageLayout
{
    const char *format;
    int length;
    const char *name;
};

const StorageLayout &layoutOf(TZelStorageFormat f)
{
    static const StorageLayout layouts[] = {
        {"yyyymmdd", 8, "AAAAMMDD"},
        {"yyyymm", 6, "AAAAMM"},
        {"mmdd", 4, "MMDD"},
    };
    return layouts[f];
}

/// One part of a text (1-based position), trimmed, as an integer; 0 when it is not one.
int partOf(const QString &text, int position, int length)
{
    bool ok = false;
    const int n = text.mid(position - 1, length).trimmed().toInt(&ok);
    return ok ? n : 0;
}

bool partBlank(const QString &text, int position, int length)
{
    return text.mid(position - 1, length).trimmed().isEmpty();
}

bool isStringField(const db::Field *f)
{
    return f->dataType() == db::FieldType::String || f->dataType() == db::FieldType::FixedChar;
}

bool isDateField(const db::Field *f)
{
    return f->dataType() == db::FieldType::Date || f->dataType() == db::FieldType::Timestamp;
}

QDate &fixedToday()
{
    static QDate today;
    return today;
}

QString blankText(TZelDisplayFormat f)
{
    QString blank = QString::fromLatin1(layoutOf(f).blank);
    return blank.replace(u'/', regional::settings().dateSeparator);
}

} // namespace

TZelSpockDate::TZelSpockDate(QWidget *parent) : TZelSpockCustom(parent) {}

QDate TZelSpockDate::Today()
{
    return fixedToday().isValid() ? fixedToday() : QDate::currentDate();
}

void TZelSpockDate::setToday(const QDate &date)
{
    fixedToday() = date;
}

int TZelSpockDate::YearLimit() const
{
    return m_baseYear != 0 ? (m_baseYear & 0xFF) : Today().year() % 100 + 20;
}

int TZelSpockDate::ExpandYear(int year, int limit)
{
    if (year >= 1000)
        return year;
    if (year >= 0 && year <= 9)
        return year + 2000;
    if (year >= 10 && year <= 99)
        return year <= limit ? year + 2000 : year + 1900;
    if (year >= 100 && year <= 899)
        return year + 2000;
    if (year >= 900 && year <= 999)
        return year + 1000;
    return year;
}

QString TZelSpockDate::TableMask() const
{
    return QString::fromLatin1(layoutOf(m_displayFormat).mask);
}

void TZelSpockDate::SetMask()
{
    if (EditMask() != TableMask())
        applyMask(TableMask());
}

void TZelSpockDate::setDisplayFormat(TZelDisplayFormat format)
{
    if (format == m_displayFormat)
        return;
    m_displayFormat = format;
    SetMask();
}

void TZelSpockDate::setZeroEmpty(bool on)
{
    m_zeroEmpty = on;
    dataLink().Reset();
}

void TZelSpockDate::setNullEmpty(bool on)
{
    m_nullEmpty = on;
    dataLink().Reset();
}

QString TZelSpockDate::DigitsOnly() const
{
    QString text = displayedText();
    text.remove(u'/');
    text.remove(regional::settings().dateSeparator);
    return text.trimmed();
}

QString TZelSpockDate::GetTextValue() const
{
    return DigitsOnly().isEmpty() ? QString() : displayedText();
}

QDate TZelSpockDate::Date() const
{
    if (DigitsOnly().isEmpty())
        return ZeroDate();
    bool isDate = false;
    const QDate date = const_cast<TZelSpockDate *>(this)->DisplayTextToDate(displayedText(), &isDate);
    return isDate ? date : ZeroDate();
}

void TZelSpockDate::setDate(const QDate &date)
{
    if (date == Date())
        return;
    const bool isNull = !date.isValid() || date == ZeroDate();
    if (isBound()) {
        dataLink().Edit();
        {
            UpdateScope scope(this);
            putText(DateToDisplayText(date, isNull), true);
        }
        dataLink().setModified(true);
        dataLink().UpdateRecord();
    } else {
        UpdateScope scope(this);
        putText(DateToDisplayText(date, false), true);
    }
}

QString TZelSpockDate::DateToDisplayText(const QDate &date, bool isNull) const
{
    if (!date.isValid() || (date == ZeroDate() && m_zeroEmpty))
        isNull = true;
    if (!isNull)
        return regional::formatDateTime(QString::fromLatin1(layoutOf(m_displayFormat).format), date);
    return !m_nullEmpty || Focused() ? blankText(m_displayFormat) : QString();
}

QString TZelSpockDate::DateToStorage(const QDate &date, bool isNull) const
{
    const StorageLayout &layout = layoutOf(m_storageFormat);
    if (isNull || !date.isValid())
        return QString(layout.length, u' ');
    return regional::formatDateTime(QString::fromLatin1(layout.format), date);
}

QDate TZelSpockDate::DisplayTextToDate(const QString &text, bool *isDate)
{
    const QDate today = Today();
    int day = m_defaultDay ? m_defaultDay : today.day();
    int month = m_defaultMonth ? m_defaultMonth : today.month();
    int year = m_defaultYear ? m_defaultYear : today.year();
    *isDate = false;
    if (text.size() < layoutOf(m_displayFormat).minLength)
        return ZeroDate();
    auto readYear = [&](int position) {
        const int y = partBlank(text, position, 4) ? year : partOf(text, position, 4);
        return ExpandYear(y, YearLimit());
    };
    auto readMonth = [&](int position) {
        const int m = partOf(text, position, 2);
        return m == 0 ? month : m;
    };
    switch (m_displayFormat) {
    case dfDDMMAAAA:
        year = readYear(7);
        month = readMonth(4);
        day = partOf(text, 1, 2);
        break;
    case dfMMAAAA:
        year = readYear(4);
        month = readMonth(1);
        break;
    case dfDDMM:
        month = readMonth(4);
        day = partOf(text, 1, 2);
        break;
    }
    const QDate date(year, month, day);
    if (!date.isValid()) {
        m_unboundNull = true;
        return ZeroDate();
    }
    *isDate = true;
    return date;
}

QDate TZelSpockDate::StorageToDate(const QString &text, bool *isDate) const
{
    const StorageLayout &layout = layoutOf(m_storageFormat);
    *isDate = false;
    if (text.size() < layout.length)
        throw db::ProgrammingError(QStringLiteral("Invalid string size for \"%1\" date storage format")
                                       .arg(QLatin1String(layout.name)));
    int year = 0, month = 0, day = 0;
    switch (m_storageFormat) {
    case sfAAAAMMDD:
        year = partOf(text, 1, 4);
        month = partOf(text, 5, 2);
        day = partOf(text, 7, 2);
        break;
    case sfAAAAMM:
        year = partOf(text, 1, 4);
        month = partOf(text, 5, 2);
        day = m_defaultDay;
        break;
    case sfMMDD:
        month = partOf(text, 1, 2);
        day = partOf(text, 3, 2);
        year = m_defaultYear;
        break;
    }
    const QDate date(year, month, day);
    if (year == 0 || !date.isValid())
        return ZeroDate();
    *isDate = true;
    return date;
}

void TZelSpockDate::invalidFieldType() const
{
    throw db::ProgrammingError(
        QStringLiteral("Invalid field type. Field \"%1\", DataSet \"%2\" - Control \"%3\"")
            .arg(Field() ? Field()->fieldName() : DataField(), dataSetName(DataSource()), objectName()));
}

QString TZelSpockDate::FieldToDisplayText() const
{
    const db::Field *f = Field();
    if (isStringField(f)) {
        // A null string is no date; only a stored value is decoded (and may be too short).
        if (f->isNull())
            return DateToDisplayText(ZeroDate(), true);
        bool isDate = false;
        const QDate date = StorageToDate(f->asString(), &isDate);
        return DateToDisplayText(date, false);
    }
    if (isDateField(f)) {
        const QDate date = f->dataType() == db::FieldType::Date ? f->asDate() : f->asDateTime().date();
        return DateToDisplayText(date, f->isNull());
    }
    invalidFieldType();
}

void TZelSpockDate::setDataField(const QString &name)
{
    // Checked before binding, so that a refused field is never displayed.
    const db::DataSet *ds = DataSource() ? DataSource()->dataSet() : nullptr;
    const db::Field *f = ds && ds->isActive() ? ds->findField(name.toUpper()) : nullptr;
    if (f && !isStringField(f) && !isDateField(f)) {
        TZelSpockCustom::setDataField(QString());
        throw db::ProgrammingError(
            QStringLiteral("Invalid field type. Field \"%1\", DataSet \"%2\" - Control \"%3\"")
                .arg(f->fieldName(), dataSetName(DataSource()), objectName()));
    }
    TZelSpockCustom::setDataField(name);
}

void TZelSpockDate::DataChange()
{
    UpdateScope scope(this);
    if (isBound() && Field()) {
        SetMask();
        const QString text = FieldToDisplayText();
        if (Focused() && dataLink().CanModify()) {
            putText(text, true);
        } else {
            putText(text, false);
            if (dataLink().Editing() && dataLink().Modified())
                setModified(true);
        }
    } else if (isBound()) {
        applyMask(QString());
        putText(QString(), true);
    } else if (!isLoading()) {
        const QString digits = DigitsOnly();
        QString read;
        if (hasFocus()) {
            putText(digits, true);
            SetMask();
            read = displayedText();
        } else {
            read = displayedText();
            applyMask(QString());
        }
        bool isDate = false;
        const QDate date = DisplayTextToDate(read, &isDate);
        putText(DateToDisplayText(date, !isDate || digits.isEmpty()), true);
        if (!isDate && !digits.isEmpty())
            Clear();
    }
}

void TZelSpockDate::UpdateData()
{
    UpdateScope scope(this);
    db::Field *f = Field();
    if (!isBound() || !f)
        return;
    bool isDate = false;
    const QDate date = DisplayTextToDate(displayedText(), &isDate);
    if (!isDate && !DigitsOnly().isEmpty())
        Clear();
    if (isStringField(f)) {
        validateMask();
        if (!DigitsOnly().isEmpty())
            f->setEditText(DateToStorage(date, date == ZeroDate()));
        else
            f->clear();
    } else if (isDateField(f)) {
        validateMask();
        if (!DigitsOnly().isEmpty()) {
            if (f->dataType() == db::FieldType::Date)
                f->setAsDate(date);
            else
                f->setAsDateTime(QDateTime(date, QTime(0, 0)));
        } else {
            f->clear();
        }
    } else {
        invalidFieldType();
    }
}

void TZelSpockDate::KeyPress(QChar &key)
{
    TZelSpockCustom::KeyPress(key);
    if (key.isNull())
        return;
    const ushort c = key.unicode();
    if (c == 8 || c == u'\r' || c == 27 || key == u'/' || (key >= u'0' && key <= u'9'))
        return;
    key = QChar();
}
