#include "datasource.h"

#include <algorithm>

namespace db {

DataLink::~DataLink()
{
    setDataSource(nullptr);
}

void DataLink::setDataSource(DataSource *source)
{
    if (source == m_source)
        return;
    if (m_source)
        m_source->removeLink(this);
    m_source = source;
    if (m_source)
        m_source->addLink(this);
    refreshFlags();
}

DataSet *DataLink::dataSet() const
{
    return m_source ? m_source->dataSet() : nullptr;
}

void DataLink::setReadOnly(bool on)
{
    if (on == m_readOnly)
        return;
    m_readOnly = on;
    refreshFlags();
}

bool DataLink::edit()
{
    if (m_source && !m_readOnly)
        m_source->edit();
    return m_editing;
}

void DataLink::refreshFlags()
{
    const bool active =
        m_source && m_source->isEnabled() && m_source->dataSet() && m_source->dataSet()->isActive();
    if (active != m_active) {
        m_active = active;
        activeChanged();
    }
    const bool editing = active && !m_readOnly && m_source->dataSet()->isEditing();
    if (editing != m_editing) {
        m_editing = editing;
        editingChanged();
    }
}

void DataLink::dataEvent(DataEvent event, const void *info)
{
    if (event == DataEvent::UpdateState) {
        refreshFlags();
        return;
    }
    if (!m_active)
        return;
    switch (event) {
    case DataEvent::FieldChange:
        recordChanged(static_cast<Field *>(const_cast<void *>(info)));
        break;
    case DataEvent::RecordChange:
        recordChanged(nullptr);
        break;
    case DataEvent::DataSetChange:
        dataSetChanged();
        break;
    case DataEvent::DataSetScroll:
        dataSetScrolled(info ? *static_cast<const int *>(info) : 0);
        break;
    case DataEvent::LayoutChange:
        layoutChanged();
        break;
    case DataEvent::UpdateRecord:
        updateData();
        break;
    case DataEvent::FocusControl:
        focusControl(static_cast<Field *>(const_cast<void *>(info)));
        break;
    case DataEvent::UpdateState:
        break;
    }
}

DataSource::DataSource(QObject *parent) : QObject(parent) {}

DataSource::~DataSource()
{
    for (DataLink *l : std::vector<DataLink *>(m_links))
        l->setDataSource(nullptr);
    setDataSet(nullptr);
}

void DataSource::setDataSet(DataSet *dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (m_dataSet)
        m_dataSet->removeDataSource(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->addDataSource(this);
    dataEvent(DataEvent::UpdateState, nullptr);
    dataEvent(DataEvent::DataSetChange, nullptr);
}

void DataSource::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    dataEvent(DataEvent::UpdateState, nullptr);
}

DataSetState DataSource::state() const
{
    return m_dataSet && m_enabled ? m_dataSet->state() : DataSetState::Inactive;
}

void DataSource::edit()
{
    if (m_autoEdit && m_dataSet && m_dataSet->state() == DataSetState::Browse)
        m_dataSet->edit();
}

void DataSource::addLink(DataLink *link)
{
    m_links.push_back(link);
}

void DataSource::removeLink(DataLink *link)
{
    const auto it = std::find(m_links.begin(), m_links.end(), link);
    if (it != m_links.end())
        m_links.erase(it);
}

void DataSource::dataEvent(DataEvent event, const void *info)
{
    // A link may detach itself while handling the event: walk a copy, skipping those that left.
    const std::vector<DataLink *> links = m_links;
    for (DataLink *l : links)
        if (std::find(m_links.begin(), m_links.end(), l) != m_links.end())
            l->dataEvent(event, info);
    if (event == DataEvent::UpdateState && state() != m_lastState) {
        m_lastState = state();
        emit stateChanged();
    }
    if (event == DataEvent::FieldChange)
        emit dataChanged(static_cast<Field *>(const_cast<void *>(info)));
    else if (event == DataEvent::RecordChange || event == DataEvent::DataSetChange ||
             event == DataEvent::DataSetScroll)
        emit dataChanged(nullptr);
}

} // namespace db
