#pragma once

#include "zelfielddatalink.h"

#include <QCheckBox>
#include <QPointer>

class TCommonProperties;

/// The framework's check box. Unbound it is an ordinary check box; bound to a string field it owns a slice
/// of the field's text (DataLength characters from position OffSet, counted from 1), which holds
/// ValueForTrue when checked and ValueForFalse when not, so that several check boxes can share one field of
/// flags. A grayed state (AllowGrayed) writes blanks.
class TZelCheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit TZelCheckBox(QWidget *parent = nullptr);
    ~TZelCheckBox() override;

    TCommonProperties *CommonProperties() const { return m_commonProperties; }
    TZelFieldDataLink &dataLink() { return m_link; }

    QString DataField() const { return m_link.FieldName(); }
    /// Upper-cased; the caption becomes the field's display label once the field is known.
    void setDataField(const QString &name);
    db::DataSource *DataSource() const { return m_source; }
    void setDataSource(db::DataSource *source);
    db::Field *Field() const { return m_link.Field(); }

    int OffSet() const { return m_offSet; }
    void setOffSet(int offSet) { m_offSet = qMax(1, offSet); }
    int DataLength() const { return m_dataLength; }
    /// Takes effect at the next read or write; values already set keep their length.
    void setDataLength(int length) { m_dataLength = qMax(1, length); }
    QString ValueForTrue() const { return m_valueForTrue; }
    /// Keeps the first DataLength characters.
    void setValueForTrue(const QString &value) { m_valueForTrue = value.left(m_dataLength); }
    QString ValueForFalse() const { return m_valueForFalse; }
    void setValueForFalse(const QString &value) { m_valueForFalse = value.left(m_dataLength); }
    bool CaseSensitive() const { return m_caseSensitive; }
    void setCaseSensitive(bool on) { m_caseSensitive = on; }

    bool AllowGrayed() const { return isTristate(); }
    void setAllowGrayed(bool on) { setTristate(on); }
    bool Checked() const { return checkState() == Qt::Checked; }
    /// Ignored while bound to a closed data set.
    void setChecked(bool on);
    Qt::CheckState State() const { return checkState(); }
    /// Whether the bound field was null at the last read or write (true without a field).
    bool IsNull() const { return m_isNull; }

    /// A click: unchecked and grayed become checked, checked becomes unchecked; a bound check box writes
    /// its field at once (the data set is put into edit mode first). A write that fails takes the focus
    /// back to the check box and is raised.
    void Toggle();

    /// The slice of the field's text this check box owns, after checking the binding.
    QString Slice() const;

protected:
    void nextCheckState() override;

private:
    void DataChange();
    void EditingChange();
    void UpdateData();
    /// The field's text padded with blanks to the field's size; raises the two binding errors.
    QString paddedText() const;
    bool matches(const QString &slice, const QString &value) const;

    TCommonProperties *m_commonProperties;
    TZelFieldDataLink m_link;
    QPointer<db::DataSource> m_source;
    QMetaObject::Connection m_sourceGone;
    bool m_isNull = true;
    bool m_editing = true;
    int m_offSet = 1;
    int m_dataLength = 1;
    QString m_valueForTrue = QStringLiteral("T");
    QString m_valueForFalse = QStringLiteral("F");
    bool m_caseSensitive = false;
};
