#include "timezoneguard.h"

#include <QDateTime>
#include <QtGlobal>

#include <ctime>

TimeZoneGuard::TimeZoneGuard(const char *zone)
    : m_previous(qgetenv("TZ")), m_hadZone(qEnvironmentVariableIsSet("TZ"))
{
    qputenv("TZ", zone);
    tzset();
}

TimeZoneGuard::~TimeZoneGuard()
{
    if (m_hadZone)
        qputenv("TZ", m_previous);
    else
        qunsetenv("TZ");
    tzset();
}

bool TimeZoneGuard::brazilSkipsSummerTimeHour()
{
    return !QDateTime(QDate(2018, 11, 4), QTime(0, 30)).isValid();
}
