#pragma once

#include "areadatalink.h"
#include "zelspockcustom.h"

#include <QPointer>
#include <QTabWidget>

#include <functional>

class TCommonProperties;

/// A page control whose active page's managed controls follow the state of one data set, as in TZelArea;
/// it also knows the first and the last focusable control of the active page for the form's Enter keys.
class TZelPageArea : public QTabWidget
{
    Q_OBJECT
public:
    using AreaEvent = std::function<void(TZelPageArea *area)>;

    explicit TZelPageArea(QWidget *parent = nullptr);
    ~TZelPageArea() override;

    bool Active() const { return m_active; }
    void setActive(bool on);
    db::DataSource *DataSource() const { return m_link.dataSource(); }
    void setDataSource(db::DataSource *source);
    bool AutoChangePages() const { return m_autoChangePages; }
    void setAutoChangePages(bool on) { m_autoChangePages = on; }
    QWidget *FirstControl() const { return m_first; }
    QWidget *LastControl() const { return m_last; }
    TCommonProperties *CommonProperties() const { return m_commonProperties; }

    AreaEvent BeforeActivate, AfterActivate, BeforeDeactivate, AfterDeactivate;
    TLookUpFunction LookUpFunction;
    TFormClass LookUpFormClass = nullptr;

private:
    void Activate(bool on);
    void pageChanged();

    TAreaDataLink m_link;
    TCommonProperties *m_commonProperties;
    bool m_active = true;
    bool m_autoChangePages = false;
    QPointer<QWidget> m_first;
    QPointer<QWidget> m_last;
};
