#pragma once

#include "zelfielddatalink.h"

#include <QPlainTextEdit>

class TCommonProperties;

/// A multi-line edit bound to a text field: shows the field, puts the data set into edit mode when typed
/// into, and writes the text back when the record is updated or the memo is left.
class TZelDBMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TZelDBMemo(QWidget *parent = nullptr);
    ~TZelDBMemo() override;

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

    db::DataSource *DataSource() const { return m_link.dataSource(); }
    void setDataSource(db::DataSource *source) { m_link.setDataSource(source); }
    QString DataField() const { return m_link.FieldName(); }
    void setDataField(const QString &name) { m_link.setFieldName(name.toUpper()); }
    TZelFieldDataLink &dataLink() { return m_link; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void display();

    TCommonProperties *m_commonProperties;
    TZelFieldDataLink m_link;
    bool m_displaying = false;
};
