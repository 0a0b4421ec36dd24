#pragma once

#include "platform/db/database.h"
#include "platform/db/transaction.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

/// A fresh embedded database in a temporary folder, connected, with an active read-committed transaction.
class TestDatabase
{
public:
    explicit TestDatabase(const QString &fileName = QStringLiteral("test.fdb"));
    ~TestDatabase();

    db::Database &database() { return *m_database; }
    db::Transaction &transaction() { return *m_transaction; }
    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }

    /// Runs statements in a transaction of their own and commits them.
    void exec(const QStringList &statements);
    void exec(const QString &statement) { exec(QStringList{statement}); }
    /// A second connection to the same file.
    std::unique_ptr<db::Database> connectAgain() const;

    static QStringList transactionParams();

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<db::Database> m_database;
    std::unique_ptr<db::Transaction> m_transaction;
};
