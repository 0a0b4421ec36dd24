#pragma once

#include "dataset.h"

#include <QObject>

#include <vector>

namespace db {

class DataSource;

/// The channel from a data source to one control (or a detail data set); override the notifications needed.
class DataLink
{
public:
    DataLink() = default;
    virtual ~DataLink();
    DataLink(const DataLink &) = delete;
    DataLink &operator=(const DataLink &) = delete;

    DataSource *dataSource() const { return m_source; }
    void setDataSource(DataSource *source);
    DataSet *dataSet() const;
    bool isActive() const { return m_active; }
    bool isEditing() const { return m_editing; }
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on);
    /// Asks the data source for edit mode (automatic edit, unless read-only); true when now editing.
    bool edit();

protected:
    virtual void activeChanged() {}
    virtual void dataSetChanged() { recordChanged(nullptr); }
    virtual void recordChanged(Field *) {}
    virtual void editingChanged() {}
    virtual void updateData() {}
    virtual void dataSetScrolled(int) { dataSetChanged(); }
    virtual void layoutChanged() { dataSetChanged(); }
    virtual void focusControl(Field *) {}

private:
    friend class DataSource;
    void dataEvent(DataEvent event, const void *info);
    void refreshFlags();

    DataSource *m_source = nullptr;
    bool m_active = false;
    bool m_editing = false;
    bool m_readOnly = false;
};

/// Connects one data set to its controls.
class DataSource : public QObject
{
    Q_OBJECT
public:
    explicit DataSource(QObject *parent = nullptr);
    ~DataSource() override;

    DataSet *dataSet() const { return m_dataSet; }
    void setDataSet(DataSet *dataSet);
    bool autoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool on) { m_autoEdit = on; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool on);
    DataSetState state() const;
    /// Enters edit mode when automatic editing is on and the data set is browsing.
    void edit();

    void addLink(DataLink *link);
    void removeLink(DataLink *link);
    void dataEvent(DataEvent event, const void *info);

signals:
    void stateChanged();
    void dataChanged(db::Field *field);

private:
    DataSet *m_dataSet = nullptr;
    bool m_autoEdit = true;
    bool m_enabled = true;
    std::vector<DataLink *> m_links;
    DataSetState m_lastState = DataSetState::Inactive;
};

} // namespace db
