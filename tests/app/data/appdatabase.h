#pragma once

#include "framework/data/zelsqlglobals.h"
#include "platform/db/database.h"
#include "platform/db/transaction.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

/// A fresh embedded database built by the application's version scripts, connected as the program's main
/// connection (trMain as its default transaction) and published with session globals, so that data modules
/// made with TClsDataModule::create bind to it.
class AppDatabase
{
public:
    AppDatabase();
    ~AppDatabase();

    db::Database &database() { return *m_database; }
    db::Transaction &trMain() { return *m_trMain; }
    TZelSQLGlobals &globals() { return *m_globals; }
    QString path() const { return m_path; }

    /// Runs statements in a transaction of their own and commits them.
    void exec(const QStringList &statements);
    void exec(const QString &statement) { exec(QStringList{statement}); }
    /// The first row of a select run in trMain (which sees its uncommitted work), its columns as text
    /// joined by "|" with "<null>" for NULL; "<no row>" when there is none.
    QString row(const QString &sql);
    /// Every row of such a select.
    QStringList rows(const QString &sql);

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<db::Database> m_database;
    std::unique_ptr<db::Transaction> m_trMain;
    std::unique_ptr<TZelSQLGlobals> m_globals;
};
