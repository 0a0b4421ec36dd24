#pragma once

#include "platform/db/datasource.h"

#include <QPointer>
#include <QWidget>

/// The link through which an area (panel or page area) follows the state of its data set.
class TAreaDataLink final : public db::DataLink
{
public:
    explicit TAreaDataLink(QWidget *area) : m_area(area) {}

    QWidget *Area() const { return m_area; }
    /// The data set state the enabling uses: edit state when there is no data set.
    db::DataSetState state() const;

protected:
    void editingChanged() override;
    void dataSetChanged() override;
    void activeChanged() override;
    void focusControl(db::Field *field) override;

private:
    bool listening() const;
    void follow(bool active);

    QPointer<QWidget> m_area;
};
