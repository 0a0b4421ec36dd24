#include "clsdatamodule.h"

#include "mainconnection.h"
#include "zeldataset.h"

#include "platform/db/database.h"

TClsDataModule::TClsDataModule(QObject *parent) : QObject(parent) {}

void TClsDataModule::bindDataSets()
{
    if (!MainConnection::isPublished())
        return;
    db::Database *database = MainConnection::database();
    for (TZelDataSet *ds : findChildren<TZelDataSet *>()) {
        ds->setDatabase(database);
        if (!ds->transaction() && database->defaultTransaction())
            ds->setTransaction(database->defaultTransaction());
        ds->setSQLGlobals(MainConnection::globals());
    }
}
