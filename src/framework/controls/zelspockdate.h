#pragma once

#include "zelspockcustom.h"

#include <QDate>

enum TZelDisplayFormat { dfDDMMAAAA, dfMMAAAA, dfDDMM };
enum TZelStorageFormat { sfAAAAMMDD, sfAAAAMM, sfMMDD };

/// The date edit: a full date, a month and year, or a day and month, bound to a date field or to a string
/// field holding the date as digits; two-digit years slide with the century, blank parts take defaults.
class TZelSpockDate : public TZelSpockCustom
{
    Q_OBJECT
public:
    explicit TZelSpockDate(QWidget *parent = nullptr);

    bool UseJoker() const { return m_useJoker; }
    void setUseJoker(bool on) { m_useJoker = on; }
    /// 0: today's day.
    int DefaultDay() const { return m_defaultDay; }
    void setDefaultDay(int day) { m_defaultDay = qBound(0, day, 255); }
    /// 0: today's month.
    int DefaultMonth() const { return m_defaultMonth; }
    void setDefaultMonth(int month) { m_defaultMonth = qBound(0, month, 255); }
    /// 0: today's year.
    int DefaultYear() const { return m_defaultYear; }
    void setDefaultYear(int year) { m_defaultYear = year; }
    TZelDisplayFormat DisplayFormat() const { return m_displayFormat; }
    void setDisplayFormat(TZelDisplayFormat format);
    TZelStorageFormat StorageFormat() const { return m_storageFormat; }
    void setStorageFormat(TZelStorageFormat format) { m_storageFormat = format; }
    /// Limit of the two-digit-year window; 0: today's year (two digits) + 20.
    int BaseYear() const { return m_baseYear; }
    void setBaseYear(int year) { m_baseYear = year; }
    bool ZeroEmpty() const { return m_zeroEmpty; }
    void setZeroEmpty(bool on);
    bool NullEmpty() const { return m_nullEmpty; }
    void setNullEmpty(bool on);

    /// The date the text holds; ZeroDate() when it holds none.
    QDate Date() const;
    /// Shows the date; a bound edit stores it in its field at once.
    void setDate(const QDate &date);

    /// The date 0 of the stored date-times (30/12/1899), which means "no date".
    static QDate ZeroDate() { return QDate(1899, 12, 30); }
    /// Years of one to three digits placed around the window limit.
    static int ExpandYear(int year, int limit);
    /// Today for the defaults and the year window; tests may fix it (an invalid date gives back the clock).
    static QDate Today();
    static void setToday(const QDate &date);

    int YearLimit() const;
    /// The text without "/", trimmed: empty exactly when no digit was typed.
    QString DigitsOnly() const;
    QString DateToDisplayText(const QDate &date, bool isNull) const;
    QString DateToStorage(const QDate &date, bool isNull) const;
    /// Reads a display text; *isDate false (and the date 0) when it holds no possible date.
    QDate DisplayTextToDate(const QString &text, bool *isDate);
    /// Reads a stored string; raises the storage format's message when it is too short.
    QDate StorageToDate(const QString &text, bool *isDate) const;
    /// The bound field as display text.
    QString FieldToDisplayText() const;
    /// The edit mask of the display format.
    QString TableMask() const;

    void setDataField(const QString &name) override;
    QString GetTextValue() const override;
    void CreateZelPanel() override {}

protected:
    void DataChange() override;
    void UpdateData() override;
    void KeyPress(QChar &key) override;

private:
    void SetMask();
    [[noreturn]] void invalidFieldType() const;

    bool m_useJoker = false;
    int m_defaultDay = 0;
    int m_defaultMonth = 0;
    int m_defaultYear = 0;
    TZelDisplayFormat m_displayFormat = dfDDMMAAAA;
    TZelStorageFormat m_storageFormat = sfAAAAMMDD;
    int m_baseYear = 0;
    bool m_zeroEmpty = false;
    bool m_nullEmpty = true;
};
