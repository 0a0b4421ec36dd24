#include "blob.h"

#include "database.h"
#include "dberror.h"
#include "status.h"
#include "transaction.h"

namespace db::blob {

namespace {

// Closes the blob on every path; a close failure after a read error must not hide that error.
struct BlobHandle
{
    isc_blob_handle handle = 0;
    ~BlobHandle()
    {
        if (handle) {
            Status status;
            isc_close_blob(status, &handle);
        }
    }
    void close(const char *context)
    {
        Status status;
        isc_close_blob(status, &handle);
        handle = 0;
        status.check(context);
    }
};

constexpr unsigned short kSegment = 32768;

} // namespace

QByteArray read(Database &database, Transaction &transaction, ISC_QUAD id)
{
    Status status;
    BlobHandle blob;
    isc_open_blob2(status, database.handle(), transaction.handle(), &blob.handle, &id, 0, nullptr);
    status.check("blob::read");

    // Ask for the total length first so the buffer is allocated once.
    const char items[] = {isc_info_blob_total_length};
    char info[32];
    QByteArray out;
    isc_blob_info(status, &blob.handle, sizeof items, items, sizeof info, info);
    if (!status.hasError() && info[0] == isc_info_blob_total_length) {
        const short len = short(isc_vax_integer(info + 1, 2));
        out.reserve(qsizetype(isc_vax_integer(info + 3, len)));
    }
    char buffer[kSegment];
    for (;;) {
        unsigned short got = 0;
        const ISC_STATUS rc = isc_get_segment(status, &blob.handle, &got, kSegment, buffer);
        if (rc == isc_segstr_eof)
            break;
        if (rc != 0 && rc != isc_segment)
            status.check("blob::read");
        out.append(buffer, got);
    }
    blob.close("blob::read");
    if (database.tracing(TraceFlag::Blob))
        database.trace(TraceFlag::Blob, QStringLiteral("Read blob: %1 bytes").arg(out.size()));
    return out;
}

ISC_QUAD write(Database &database, Transaction &transaction, const QByteArray &content)
{
    Status status;
    BlobHandle blob;
    ISC_QUAD id{};
    isc_create_blob2(status, database.handle(), transaction.handle(), &blob.handle, &id, 0, nullptr);
    status.check("blob::write");
    qsizetype pos = 0;
    while (pos < content.size()) {
        const auto n = static_cast<unsigned short>(qMin<qsizetype>(kSegment, content.size() - pos));
        isc_put_segment(status, &blob.handle, n, content.constData() + pos);
        status.check("blob::write");
        pos += n;
    }
    blob.close("blob::write");
    if (database.tracing(TraceFlag::Blob))
        database.trace(TraceFlag::Blob, QStringLiteral("Write blob: %1 bytes").arg(content.size()));
    return id;
}

} // namespace db::blob
