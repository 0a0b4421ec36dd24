#pragma once

#include "platform/db/dataset.h"

/// A read-only query over any select text (the report selection windows use it).
class TZelQuery : public db::DataSet
{
    Q_OBJECT
public:
    explicit TZelQuery(QObject *parent = nullptr);
};
