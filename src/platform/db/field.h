#pragma once

#include "currency.h"
#include "sqlvalue.h"

#include <QString>
#include <QVariant>

#include <functional>

namespace db {

class DataSet;

/// One column of a data set (or a calculated value), read and written in the data set's current record.
class Field
{
public:
    using GetTextHandler = std::function<void(Field &, QString &text, bool displayText)>;
    using SetTextHandler = std::function<void(Field &, const QString &text)>;
    using FieldHandler = std::function<void(Field &)>;

    Field(DataSet *dataSet, const QString &name, FieldType type, int size, bool calculated);

    DataSet *dataSet() const { return m_dataSet; }
    const QString &fieldName() const { return m_name; }
    int index() const { return m_index; }
    FieldType dataType() const { return m_type; }
    bool isCalculated() const { return m_calculated; }
    bool isBlob() const { return m_type == FieldType::TextBlob || m_type == FieldType::BinaryBlob; }
    bool isNumeric() const;
    /// Size in characters for text fields, 0 otherwise.
    int size() const { return m_size; }

    /// TABLE.FIELD.
    QString origin() const { return m_origin; }
    void setOrigin(const QString &origin) { m_origin = origin; }
    const QString &displayLabel() const { return m_displayLabel.isEmpty() ? m_name : m_displayLabel; }
    void setDisplayLabel(const QString &label) { m_displayLabel = label; }
    bool isVisible() const { return m_visible; }
    void setVisible(bool on) { m_visible = on; }
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on) { m_readOnly = on; }
    bool isRequired() const { return m_required; }
    void setRequired(bool on) { m_required = on; }
    QString editMask() const { return m_editMask; }
    void setEditMask(const QString &mask) { m_editMask = mask; }
    QString displayFormat() const { return m_displayFormat; }
    void setDisplayFormat(const QString &format) { m_displayFormat = format; }
    QString editFormat() const { return m_editFormat; }
    void setEditFormat(const QString &format) { m_editFormat = format; }
    int displayWidth() const;
    void setDisplayWidth(int width) { m_displayWidth = width; }
    /// A float field shown and compared as money (four decimals kept, two shown).
    bool isCurrency() const { return m_currency; }
    void setCurrency(bool on) { m_currency = on; }
    int alignment() const;

    /// Characters that typing may put into this field; by default those that make sense for its type.
    QString validChars() const;
    void setValidChars(const QString &chars)
    {
        m_validChars = chars;
        m_validCharsSet = true;
    }
    bool isValidChar(QChar c) const;

    bool canModify() const;

    bool isNull() const;
    void clear();
    QVariant value() const;
    void setValue(const QVariant &v);
    /// The value before the current edit began (null while inserting).
    QVariant oldValue() const;
    /// The value being edited (the current value outside editing).
    QVariant newValue() const;

    QString asString() const;
    void setAsString(const QString &v);
    int asInteger() const { return int(asInt64()); }
    void setAsInteger(int v) { setAsInt64(v); }
    qint64 asInt64() const;
    void setAsInt64(qint64 v);
    double asDouble() const;
    void setAsDouble(double v);
    Currency asCurrency() const;
    void setAsCurrency(Currency v);
    QDate asDate() const;
    void setAsDate(QDate v);
    QTime asTime() const;
    void setAsTime(QTime v);
    QDateTime asDateTime() const;
    void setAsDateTime(const QDateTime &v);
    bool asBool() const;
    void setAsBool(bool v);
    QByteArray asBytes() const;
    void setAsBytes(const QByteArray &v);

    /// The text shown in browse mode (display format, get-text hook).
    QString displayText() const;
    /// The text put into an edit control (edit format, get-text hook).
    QString editText() const;
    /// Stores typed text through the set-text hook, or as a string.
    void setEditText(const QString &text);
    QString text() const { return editText(); }

    GetTextHandler onGetText;
    SetTextHandler onSetText;
    FieldHandler onChange;
    FieldHandler onValidate;

    /// Asks the controls bound to this field to take the focus.
    void focusControl();

    // Storage, set when the data set opens.
    SqlType sqlType() const { return m_sqlType; }

private:
    friend class DataSet;
    const char *readData() const;
    char *beginWrite();
    void endWrite();
    QString defaultText(bool display) const;
    QVariant valueIn(const char *row) const;

    DataSet *m_dataSet;
    QString m_name;
    FieldType m_type;
    int m_size;
    bool m_calculated;
    int m_index = -1;
    QString m_origin;
    QString m_displayLabel;
    bool m_visible = true;
    bool m_readOnly = false;
    bool m_required = false;
    bool m_currency = false;
    QString m_editMask;
    QString m_displayFormat;
    QString m_editFormat;
    int m_displayWidth = 0;
    QString m_validChars;
    bool m_validCharsSet = false;

    SqlType m_sqlType;
    int m_column = -1; // result column, -1 for calculated fields
    int m_dataOffset = 0;
    int m_nullOffset = 0;
    bool m_nullable = true;
    int m_slotOffset = -1; // blob content slot
};

} // namespace db
