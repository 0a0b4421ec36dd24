#include "mainconnection.h"

#include "zelsqlglobals.h"

#include "platform/db/database.h"

#include <QPointer>

namespace {

struct Published
{
    QPointer<db::Database> database;
    QPointer<TZelSQLGlobals> globals;
};

Published &published()
{
    static Published p;
    return p;
}

} // namespace

void MainConnection::publish(db::Database *database, TZelSQLGlobals *globals)
{
    published().database = database;
    published().globals = globals;
}

void MainConnection::withdraw()
{
    published() = Published{};
}

bool MainConnection::isPublished()
{
    return !published().database.isNull();
}

db::Database *MainConnection::database()
{
    return published().database;
}

TZelSQLGlobals *MainConnection::globals()
{
    return published().globals;
}
