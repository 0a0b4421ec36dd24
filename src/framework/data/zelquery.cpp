#include "zelquery.h"

TZelQuery::TZelQuery(QObject *parent) : db::DataSet(parent)
{
    setReadOnly(true);
}
