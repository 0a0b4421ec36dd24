#include "zelsqlglobals.h"

TZelSQLGlobals::TZelSQLGlobals(QObject *parent)
    : QObject(parent), m_dataAtual(std::make_unique<TDataAtual>(*this))
{
    m_dateCaption = m_dataAtual->caption();
}

TZelSQLGlobals::~TZelSQLGlobals() = default;

void TZelSQLGlobals::RegisterDataSet(TZelDataSet *dataSet)
{
    m_dataSets.append(dataSet);
}

void TZelSQLGlobals::UnregisterDataSet(TZelDataSet *dataSet)
{
    m_dataSets.removeOne(dataSet);
}
