#include "sessiontestsupport.h"

#include "app/schema/dmversaoleilao.h"
#include "platform/db/database.h"
#include "platform/db/statement.h"
#include "platform/db/transaction.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QWidget>

ModalDriver::ModalDriver(int deadlineMs) : m_deadline(QDateTime::currentMSecsSinceEpoch() + deadlineMs)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::tick);
    m_timer.start(10);
}

ModalDriver &ModalDriver::on(const QString &objectName, Action action)
{
    m_steps.push_back({objectName, {}, false, std::move(action)});
    return *this;
}

ModalDriver &ModalDriver::message(const QString &text, int button)
{
    m_steps.push_back({{}, text, true, [button](QWidget *w) {
                           auto *box = static_cast<QMessageBox *>(w);
                           click(box->button(QMessageBox::StandardButton(button)));
                       }});
    return *this;
}

void ModalDriver::click(QWidget *button)
{
    auto *b = qobject_cast<QAbstractButton *>(button);
    if (!b)
        qFatal("ModalDriver: not a button");
    QTimer::singleShot(0, b, &QAbstractButton::click);
}

void ModalDriver::click(QWidget *window, const char *buttonName)
{
    click(window->findChild<QAbstractButton *>(QLatin1String(buttonName)));
}

void ModalDriver::tick()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (QDateTime::currentMSecsSinceEpoch() > m_deadline) {
        m_timedOut = true;
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        return;
    }
    if (!modal || !modal->isVisible() || modal == m_handled)
        return;
    auto *box = qobject_cast<QMessageBox *>(modal);
    const QString description = box ? QStringLiteral("MSG:") + box->text() : modal->objectName();
    if (m_steps.empty())
        return;
    const Step &step = m_steps.front();
    const bool matches =
        step.isMessage ? (box && box->text() == step.text) : modal->objectName() == step.objectName;
    if (!matches)
        return;
    m_seen << description;
    m_handled = modal;
    Action action = step.action;
    m_steps.pop_front();
    action(modal);
    // The same window may come back (a dialog that stays open after a message): let it be handled again once
    // something else took its place or the action's click has run.
    QTimer::singleShot(0, this, [this] { m_handled = nullptr; });
}

SchemaTemplate::SchemaTemplate()
{
    m_path = m_dir.filePath(QStringLiteral("template.fdb"));
    {
        db::Database database;
        database.setDatabaseName(m_path);
        database.setParams({QStringLiteral("USER 'SYSDBA' PASSWORD 'quillbrex' PAGE_SIZE 4096")});
        database.createDatabase();
        database.close();
    }
    if (!TdmVersaoLeilao().CreateSchema(m_path))
        qFatal("cannot build the template database");
}

QString SchemaTemplate::copy(const QString &name) const
{
    const QString path = m_dir.filePath(name);
    QFile::remove(path);
    if (!QFile::copy(m_path, path))
        qFatal("cannot copy the template database");
    QFile(path).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

void execOn(const QString &path, const QStringList &statements)
{
    db::Database database;
    database.setDatabaseName(path);
    database.setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbrex")});
    database.open();
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.start();
    for (const QString &sql : statements) {
        db::Statement st(&database, &tr);
        st.setSql(sql);
        st.execute();
    }
    tr.commit();
}

QString scalarOn(const QString &path, const QString &sql)
{
    db::Database database;
    database.setDatabaseName(path);
    database.setParams({QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=quillbrex")});
    database.open();
    db::Transaction tr;
    tr.setDefaultDatabase(&database);
    tr.start();
    db::Statement st(&database, &tr);
    st.setSql(sql);
    st.execute();
    if (!st.next())
        return QStringLiteral("<none>");
    return st.field(0).isNull() ? QStringLiteral("<null>") : st.field(0).asString();
}
