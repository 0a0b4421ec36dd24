#pragma once

#include <ibase.h>

#include <QByteArray>

namespace db {

class Database;
class Transaction;

/// Reads and writes whole blobs; a blob id is valid only inside the transaction that produced it.
namespace blob {

QByteArray read(Database &database, Transaction &transaction, ISC_QUAD id);
ISC_QUAD write(Database &database, Transaction &transaction, const QByteArray &content);

} // namespace blob
} // namespace db
