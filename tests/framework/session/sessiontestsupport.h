#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <functional>

class QWidget;

/// Answers the modal windows a blocking call opens, in the order the test expects them, and records every
/// one it saw ("TClsLogin", or "MSG:" + the text of a message box). After the deadline it rejects whatever
/// is open, so that a test never hangs.
class ModalDriver : public QObject
{
    Q_OBJECT
public:
    explicit ModalDriver(int deadlineMs = 20000);

    using Action = std::function<void(QWidget *)>;
    /// The next modal window whose object name is `objectName` gets `action`.
    ModalDriver &on(const QString &objectName, Action action);
    /// The next message box whose text is `text` gets its button `button` clicked
    /// (QMessageBox::StandardButton).
    ModalDriver &message(const QString &text, int button = 0x00000400 /* Ok */);

    QStringList seen() const { return m_seen; }
    bool allAnswered() const { return m_steps.empty(); }
    bool timedOut() const { return m_timedOut; }

    /// Clicks a button from the event loop, so the action returns before the click's own modal windows run.
    static void click(QWidget *button);
    static void click(QWidget *window, const char *buttonName);

private:
    void tick();
    struct Step
    {
        QString objectName;
        QString text;
        bool isMessage = false;
        Action action;
    };
    std::deque<Step> m_steps;
    QStringList m_seen;
    QPointer<QWidget> m_handled;
    QTimer m_timer;
    qint64 m_deadline;
    bool m_timedOut = false;
};

/// A database with the program's whole schema, built once per suite and copied for each test.
class SchemaTemplate
{
public:
    SchemaTemplate();
    QString path() const { return m_path; }
    /// A fresh copy under `name` in the suite's folder.
    QString copy(const QString &name) const;
    QString folder() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

/// Runs statements on a database file in a transaction of their own.
void execOn(const QString &path, const QStringList &statements);
/// The first column of the first row, as text ("<null>" for null, "<none>" without a row).
QString scalarOn(const QString &path, const QString &sql);
