#pragma once

#include "zelspockcustom.h"

#include <QtGlobal>

/// The numeric edit: right-aligned, formatted with a picture built from its properties, filtering keys so
/// that only a number that fits the picture can be typed.
class TZelSpockFloat : public TZelSpockCustom
{
    Q_OBJECT
public:
    explicit TZelSpockFloat(QWidget *parent = nullptr);

    bool LeftZeros() const { return m_leftZeros; }
    void setLeftZeros(bool on);
    bool UseSeparator() const { return m_useSeparator; }
    void setUseSeparator(bool on);
    bool ZeroEmpty() const { return m_zeroEmpty; }
    void setZeroEmpty(bool on);
    bool NullEmpty() const { return m_nullEmpty; }
    void setNullEmpty(bool on);
    bool RightZeros() const { return m_rightZeros; }
    void setRightZeros(bool on);
    bool FormatOnEditing() const { return m_formatOnEditing; }
    void setFormatOnEditing(bool on) { m_formatOnEditing = on; }
    int IntegerPlaces() const { return m_integerPlaces; }
    void setIntegerPlaces(int places);
    int DecimalPlaces() const { return m_decimalPlaces; }
    void setDecimalPlaces(int places);

    /// Bound: the field as a four-decimal amount (0 without a field); unbound: the edit's own value.
    double FloatValue() const;
    void setFloatValue(double value);
    void setIsNull(bool on);

    void setDataField(const QString &name) override;
    void setEditKind(TZelEditKind kind) override;
    void setText(const QString &text) override;
    void Clear() override;
    void Loaded() override;
    QString GetFieldText() const override;
    QString GetTextValue() const override;
    void DoExit() override;
    void CreateZelPanel() override {}

    /// The format picture ("###########0,.00" with the defaults on a float field).
    QString Picture() const;
    /// The text for an amount in 1/10000 units and a null state.
    QString FormatValue(qint64 ticks, bool isNull) const;
    /// Whether typing c at the cursor keeps a number that fits the picture.
    virtual bool AcceptChar(QChar c) const;
    /// The text as a number (thousands separators ignored); 0 when it is none.
    static double ParseText(const QString &text, bool *ok = nullptr);

protected:
    void DataChange() override;
    void UpdateData() override;
    void KeyPress(QChar &key) override;

private:
    bool hasDecimals() const;
    /// FormatValue() for any double, including amounts too large for 1/10000 units.
    QString formatNumber(double value, bool isNull) const;
    QString formatField(const db::Field &field) const;
    void rebuild();

    bool m_leftZeros = false;
    bool m_useSeparator = true;
    bool m_zeroEmpty = false;
    bool m_nullEmpty = true;
    bool m_rightZeros = true;
    bool m_formatOnEditing = false;
    int m_integerPlaces = 12;
    int m_decimalPlaces = 2;
    double m_unboundValue = 0;
};
