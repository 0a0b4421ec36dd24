#pragma once

#include "dberror.h"

#include <QMetaType>
#include <QtGlobal>

#include <cmath>
#include <compare>

namespace db {

/// A money value with four decimal places, held as an integer count of 1/10000.
class Currency
{
public:
    static constexpr qint64 Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromTicks(qint64 ticks)
    {
        Currency c;
        c.m_ticks = ticks;
        return c;
    }
    /// Rounds to the nearest 1/10000, halves away from zero. Beyond about ±9.22E14, or for what is not a
    /// number, throws ValueError: no money value can hold it.
    static Currency fromDouble(double value)
    {
        const double scaled = std::round(value * double(Scale));
        // 2^63: every double of smaller magnitude fits a qint64.
        if (!(std::fabs(scaled) < 9223372036854775808.0))
            throw ValueError(QStringLiteral("Valor fora dos limites de um valor monetário."));
        return fromTicks(qint64(scaled));
    }
    static constexpr Currency fromUnits(qint64 units) { return fromTicks(units * Scale); }

    constexpr qint64 ticks() const { return m_ticks; }
    double toDouble() const { return double(m_ticks) / double(Scale); }

    constexpr auto operator<=>(const Currency &) const = default;
    constexpr Currency operator+(Currency o) const { return fromTicks(m_ticks + o.m_ticks); }
    constexpr Currency operator-(Currency o) const { return fromTicks(m_ticks - o.m_ticks); }
    constexpr Currency operator-() const { return fromTicks(-m_ticks); }
    Currency &operator+=(Currency o)
    {
        m_ticks += o.m_ticks;
        return *this;
    }
    Currency &operator-=(Currency o)
    {
        m_ticks -= o.m_ticks;
        return *this;
    }

private:
    qint64 m_ticks = 0;
};

} // namespace db

Q_DECLARE_METATYPE(db::Currency)
