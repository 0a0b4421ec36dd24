#include "scriptsplitter.h"

#include "eisqlexception.h"

#include <QCoreApplication>

#include <stdexcept>

namespace ZelScript {

namespace {

const QString CommentOpen = QStringLiteral("/*");
const QString CommentClose = QStringLiteral("*/");
const QString LineBreak = QStringLiteral("\r\n");

bool isBlank(QChar c)
{
    return c.unicode() <= 32;
}

qsizetype leadingBlanks(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text.at(i)))
        ++i;
    return i;
}

// The terminator that closes a statement followed by a trailing comment is the last one before the comment;
// an earlier one may sit inside a string literal that must reach the server intact.
qsizetype terminatorBeforeComment(const QString &line, const QString &terminator, qsizetype comment,
                                  qsizetype firstTerminator)
{
    const qsizetype from = comment - terminator.size();
    const qsizetype last = from >= 0 ? line.lastIndexOf(terminator, from) : -1;
    return last >= firstTerminator ? last : firstTerminator;
}

class Splitter
{
public:
    Splitter(const QStringList &lines, const QString &terminator, const PendingEventsHook &hook)
        : m_lines(lines), m_terminator(terminator), m_hook(hook)
    {}

    std::optional<QStringList> run()
    {
        while (m_next < m_lines.size()) {
            if (!processLine(takeLine()))
                return std::nullopt;
        }
        return m_statements;
    }

private:
    const QString &takeLine()
    {
        if (m_hook)
            m_hook();
        return m_lines.at(m_next++);
    }

    // A line at statement level; returns false when an opened block comment is never closed.
    bool processLine(QString line)
    {
        for (;;) {
            const QString trimmed = trimBlanks(line);
            if (trimmed.isEmpty())
                return true;
            if (trimmed == CommentClose) {
                // The closing part of a comment that trailed the previous statement on its last line.
                if (!m_statements.isEmpty())
                    m_statements.last() += line;
                return true;
            }
            if (trimmed.startsWith(CommentOpen)) {
                std::optional<QString> rest = skipComment(trimmed);
                if (!rest)
                    return false;
                // Whatever follows the comment is script text like any other line: dropping it would lose a
                // statement, gluing it to the next one would merge two.
                line = *rest;
                continue;
            }
            if (trimmed.toUpper().startsWith(QLatin1String("SET TERM"))) {
                changeTerminator(trimmed);
                return true;
            }
            readStatement(line, trimmed);
            return true;
        }
    }

    // Text after the comment that `trimmed` opens, reading further lines while it stays open.
    std::optional<QString> skipComment(const QString &trimmed)
    {
        const qsizetype close = trimmed.indexOf(CommentClose, CommentOpen.size());
        if (close >= 0)
            return trimmed.mid(close + CommentClose.size());
        while (m_next < m_lines.size()) {
            const QString &line = takeLine();
            const qsizetype lineClose = line.indexOf(CommentClose);
            if (lineClose >= 0)
                return line.mid(lineClose + CommentClose.size());
        }
        return std::nullopt;
    }

    void changeTerminator(const QString &trimmed)
    {
        QString rest = trimBlanks(trimmed.mid(8));
        const qsizetype old = rest.indexOf(m_terminator);
        if (old >= 0)
            rest.remove(old, m_terminator.size());
        rest = trimBlanks(rest);
        // "SET TERM ;" while ";" is already the terminator leaves nothing: the terminator stays as it is.
        if (!rest.isEmpty())
            m_terminator = rest;
    }

    void readStatement(const QString &line, const QString &trimmed)
    {
        const qsizetype n = m_terminator.size();
        const qsizetype lead = leadingBlanks(line);
        const qsizetype first = trimmed.indexOf(m_terminator);
        if (first >= 0) {
            qsizetype cut = -1;
            if (first == trimmed.size() - n) {
                cut = lead + first;
            } else {
                // The comment position is taken in the untrimmed line, the terminator's in the trimmed one.
                const qsizetype comment = line.indexOf(CommentOpen, first + 1);
                if (comment >= 0)
                    cut = terminatorBeforeComment(line, m_terminator, comment, lead + first);
            }
            if (cut >= 0) {
                QString statement = line;
                statement.remove(cut, n);
                addStatement(statement);
                return;
            }
        }

        QString pending = QLatin1Char(' ') + line;
        while (m_next < m_lines.size()) {
            const QString &more = takeLine();
            if (trimBlanks(more).isEmpty())
                continue;
            pending += LineBreak;
            const qsizetype start = pending.size();
            pending += more;
            const qsizetype q = more.indexOf(m_terminator);
            if (q < 0)
                continue;
            qsizetype cut = -1;
            if (q == more.size() - n) {
                cut = q;
            } else {
                const qsizetype comment = more.indexOf(CommentOpen, q + n);
                if (comment >= 0)
                    cut = terminatorBeforeComment(more, m_terminator, comment, q);
            }
            if (cut >= 0) {
                pending.remove(start + cut, n);
                addStatement(pending);
                return;
            }
        }

        // The script ended before the terminator: the statement still counts, and loses a terminator only
        // when it ends with one.
        QString statement = trimBlanks(pending);
        if (statement.endsWith(m_terminator))
            statement.chop(n);
        addStatement(statement);
    }

    void addStatement(const QString &text)
    {
        const QString statement = trimBlanks(text);
        if (!statement.isEmpty())
            m_statements.append(statement);
    }

    const QStringList &m_lines;
    QString m_terminator;
    const PendingEventsHook &m_hook;
    qsizetype m_next = 0;
    QStringList m_statements;
};

} // namespace

PendingEventsHook qtEventLoopHook()
{
    return [] { QCoreApplication::processEvents(); };
}

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

std::optional<QStringList> SplitStatements(const QStringList &lines, const QString &terminator,
                                           const PendingEventsHook &processPendingEvents)
{
    if (terminator.isEmpty())
        throw std::invalid_argument("SplitStatements: the terminator must not be empty");
    return Splitter(lines, terminator, processPendingEvents).run();
}

QStringList splitScript(const QStringList &lines, const PendingEventsHook &processPendingEvents)
{
    std::optional<QStringList> statements = SplitStatements(lines, QStringLiteral(";"), processPendingEvents);
    if (!statements)
        throw EISQLException(EISQLException::unableToParseScriptText(), EISQLException::Parse);
    return *statements;
}

} // namespace ZelScript
