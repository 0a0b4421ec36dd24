#pragma once

#include <QDateTime>
#include <QString>

/// One entry of the exception log.
struct TLogError
{
    QString message;
    QDateTime dateTime;
    QString computerName;
    bool written = false;
};

/// One entry of the database-error log.
struct TLogErrorDataBase
{
    int sqlCode = 0;
    QString message;
    QDateTime dateTime;
    QString server;
    QString computerName;
    bool written = false;
};
