#pragma once

#include "areadatalink.h"
#include "zelspockcustom.h"

#include <QFrame>
#include <QPixmap>

#include <functional>

class TCommonProperties;

/// A panel whose managed controls follow the state of one data set: enabled while editing or inserting,
/// disabled while browsing; look-up edits inside it get the area's look-up function.
class TZelArea : public QFrame
{
    Q_OBJECT
public:
    using AreaEvent = std::function<void(TZelArea *area)>;

    explicit TZelArea(QWidget *parent = nullptr);
    ~TZelArea() override;

    bool Active() const { return m_active; }
    /// True always re-runs the enabling; false runs it only when the area was active.
    void setActive(bool on);
    db::DataSource *DataSource() const { return m_link.dataSource(); }
    void setDataSource(db::DataSource *source);
    TCommonProperties *CommonProperties() const { return m_commonProperties; }
    QPixmap Picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);

    AreaEvent BeforeActivate, AfterActivate, BeforeDeactivate, AfterDeactivate;
    TLookUpFunction LookUpFunction;
    TFormClass LookUpFormClass = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Activate(bool on);

    TAreaDataLink m_link;
    TCommonProperties *m_commonProperties;
    QPixmap m_picture;
    bool m_active = true;
};
