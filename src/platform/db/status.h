#pragma once

#include <ibase.h>

#include <QString>

namespace db {

/// The engine's status vector for one call; check() turns an error into a DatabaseError.
class Status
{
public:
    ISC_STATUS *vector() { return m_status; }
    operator ISC_STATUS *() { return m_status; }

    bool hasError() const { return m_status[0] == 1 && m_status[1] > 0; }
    long gdsCode() const { return hasError() ? long(m_status[1]) : 0; }
    int sqlCode() const;
    QString message() const;

    /// Throws DatabaseError when the last call failed.
    void check(const char *context, const QString &statement = {}) const;

private:
    ISC_STATUS_ARRAY m_status = {};
};

} // namespace db
