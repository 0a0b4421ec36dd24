#pragma once

#include <QByteArray>

/// Sets the process's local time zone (TZ) for the guard's life and puts the previous one back afterwards.
class TimeZoneGuard
{
public:
    explicit TimeZoneGuard(const char *zone);
    ~TimeZoneGuard();
    TimeZoneGuard(const TimeZoneGuard &) = delete;
    TimeZoneGuard &operator=(const TimeZoneGuard &) = delete;

    /// Whether the local clock of Brazil's old summer time skips 04/11/2018 00:30, i.e. the zone's data is
    /// there; without it a case about that hour proves nothing.
    static bool brazilSkipsSummerTimeHour();

private:
    QByteArray m_previous;
    bool m_hadZone;
};
