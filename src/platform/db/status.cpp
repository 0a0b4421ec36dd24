#include "status.h"

#include "dberror.h"

namespace db {

int Status::sqlCode() const
{
    return hasError() ? int(isc_sqlcode(m_status)) : 0;
}

QString Status::message() const
{
    if (!hasError())
        return {};
    QString text;
    char buffer[1024];
    const ISC_STATUS *cursor = m_status;
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QString::fromLocal8Bit(buffer);
    }
    return text;
}

void Status::check(const char *context, const QString &statement) const
{
    if (hasError())
        throw DatabaseError(message(), sqlCode(), gdsCode(), statement, QString::fromLatin1(context));
}

} // namespace db
