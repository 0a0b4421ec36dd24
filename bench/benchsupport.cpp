#include "benchsupport.h"

#include <QFile>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace bench {

void rawFail(const ISC_STATUS *status, const char *what)
{
    QString text;
    char buffer[1024];
    const ISC_STATUS *cursor = status;
    while (fb_interpret(buffer, sizeof buffer, &cursor) > 0)
        text += QString::fromLocal8Bit(buffer) + QLatin1Char(' ');
    throw std::runtime_error(std::string(what) + ": " + text.toStdString());
}

void disableForcedWrites(const QString &path)
{
    QByteArray dpb(1, char(isc_dpb_version1));
    const auto append = [&dpb](char item, const QByteArray &value) {
        dpb.append(item);
        dpb.append(char(value.size()));
        dpb.append(value);
    };
    append(isc_dpb_user_name, QByteArrayLiteral("SYSDBA"));
    append(isc_dpb_force_write, QByteArray(1, '\0'));
    ISC_STATUS_ARRAY status = {};
    isc_db_handle handle = 0;
    const QByteArray name = QFile::encodeName(path);
    if (isc_attach_database(status, 0, name.constData(), &handle, short(dpb.size()), dpb.constData()))
        rawFail(status, "isc_attach_database");
    if (isc_detach_database(status, &handle))
        rawFail(status, "isc_detach_database");
}

void reportNanoseconds(const QString &name, qint64 ours, qint64 raw)
{
    const double oursMs = double(ours) / 1e6;
    const double rawMs = double(raw) / 1e6;
    std::printf("bench %s ours_ms=%lld raw_ms=%lld ratio=%.2f\n", qPrintable(name),
                static_cast<long long>(oursMs + 0.5), static_cast<long long>(rawMs + 0.5), oursMs / rawMs);
    std::fflush(stdout);
}

void reportMilliseconds(const QString &name, qint64 ours, qint64 raw)
{
    reportNanoseconds(name, ours * 1000000, raw * 1000000);
}

} // namespace bench
