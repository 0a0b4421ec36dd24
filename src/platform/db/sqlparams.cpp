#include "sqlparams.h"

namespace db {

namespace {

bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

} // namespace

ParsedSql parseParams(const QString &sql)
{
    ParsedSql out;
    out.text.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A doubled quote inside a literal closes and reopens it, which copies the same way.
            const qsizetype end = sql.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? n : end + 1;
            out.text += QStringView(sql).mid(i, stop - i);
            i = stop;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            const qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            const qsizetype stop = end < 0 ? n : end;
            out.text += QStringView(sql).mid(i, stop - i);
            i = stop;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            const qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? n : end + 2;
            out.text += QStringView(sql).mid(i, stop - i);
            i = stop;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameChar(sql.at(i + 1))) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(sql.at(j)))
                ++j;
            out.positions << sql.mid(i + 1, j - i - 1).toUpper();
            out.text += QLatin1Char('?');
            i = j;
        } else {
            out.text += c;
            ++i;
        }
    }
    return out;
}

} // namespace db
