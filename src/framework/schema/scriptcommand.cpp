#include "scriptcommand.h"

#include "eisqlexception.h"
#include "scriptsplitter.h"

#include <QLatin1String>

#include <initializer_list>
#include <stdexcept>
#include <utility>

namespace ZelScript {

namespace {

bool isBlank(QChar c)
{
    return c.unicode() <= 32;
}

// The keyword of `keywords` that `upper` begins with, or an empty view.
QLatin1String matchedKeyword(const QString &upper, std::initializer_list<QLatin1String> keywords)
{
    for (QLatin1String keyword : keywords) {
        if (upper.startsWith(keyword))
            return keyword;
    }
    return {};
}

bool startsWithAny(const QString &upper, std::initializer_list<QLatin1String> keywords)
{
    return !matchedKeyword(upper, keywords).isEmpty();
}

struct NameAndRest
{
    QString name;
    QString rest;
};

// A database name as CONNECT and CREATE DATABASE write it: in single or double quotes that close only before
// a blank or the end of the text (a quote anywhere else is dropped), or unquoted up to the first blank.
std::optional<NameAndRest> readDatabaseName(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    const QChar first = text.at(0);
    if (first != QLatin1Char('\'') && first != QLatin1Char('"')) {
        qsizetype end = 0;
        while (end < text.size() && !isBlank(text.at(end)))
            ++end;
        return NameAndRest{text.left(end), text.mid(end)};
    }
    QString name;
    qsizetype from = 1;
    for (;;) {
        const qsizetype quote = text.indexOf(first, from);
        if (quote < 0)
            return std::nullopt;
        name += text.mid(from, quote - from);
        if (quote + 1 == text.size() || isBlank(text.at(quote + 1)))
            return NameAndRest{name, text.mid(quote + 1)};
        from = quote + 1;
    }
}

QString withoutQuotes(const QString &value)
{
    if (value.size() >= 2) {
        const QChar quote = value.front();
        if ((quote == QLatin1Char('\'') || quote == QLatin1Char('"')) && value.back() == quote)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

QStringList blankSeparatedTokens(const QString &text)
{
    QStringList tokens;
    QString token;
    for (QChar c : text) {
        if (isBlank(c)) {
            if (!token.isEmpty())
                tokens.append(std::exchange(token, QString()));
        } else {
            token += c;
        }
    }
    if (!token.isEmpty())
        tokens.append(token);
    return tokens;
}

[[noreturn]] void throwConnectParseError()
{
    throw EISQLException(EISQLException::connectParseErrorText(), EISQLException::Parse);
}

[[noreturn]] void throwCreateParseError()
{
    throw EISQLException(EISQLException::createParseErrorText(), EISQLException::Parse);
}

} // namespace

int ScriptCommand::integerArgument() const
{
    bool ok = false;
    const int value = argument.toInt(&ok, 10);
    if (!ok)
        throw std::invalid_argument(
            QStringLiteral("'%1' is not a valid integer value").arg(argument).toStdString());
    return value;
}

ScriptCommand recognizeCommand(const QString &statement)
{
    const QString text = trimBlanks(statement);
    const QString upper = text.toUpper();
    ScriptCommand command;

    if (startsWithAny(upper, {QLatin1String("BLOBDUMP"), QLatin1String("EDIT"), QLatin1String("EXIT"),
                              QLatin1String("HELP"), QLatin1String("QUIT"), QLatin1String("SHOW ")})) {
        command.kind = ScriptCommandKind::Ignored;
    } else if (startsWithAny(upper, {QLatin1String("IN "), QLatin1String("INPUT")})) {
        command.kind = ScriptCommandKind::Input;
        // The name keeps its case: file names are case-sensitive here.
        qsizetype blank = 0;
        while (blank < text.size() && !isBlank(text.at(blank)))
            ++blank;
        command.argument = trimBlanks(text.mid(blank));
    } else if (startsWithAny(upper, {QLatin1String("OUT "), QLatin1String("OUTPUT")})) {
        command.kind = ScriptCommandKind::Output;
    } else if (startsWithAny(upper, {QLatin1String("SET COUNT"), QLatin1String("SET ECHO"),
                                     QLatin1String("SET LIST"), QLatin1String("SET PLAN"),
                                     QLatin1String("SET STATS"), QLatin1String("SET TIME")})) {
        command.kind = ScriptCommandKind::SetIgnored;
    } else if (upper.startsWith(QLatin1String("SET NAMES"))) {
        command.kind = ScriptCommandKind::SetNames;
        command.argument = trimBlanks(upper.mid(9));
    } else if (upper.startsWith(QLatin1String("SET SQL DIALECT"))) {
        command.kind = ScriptCommandKind::SetSqlDialect;
        command.argument = trimBlanks(text.mid(16));
    } else if (const QLatin1String keyword =
                   matchedKeyword(upper, {QLatin1String("SET AUTODDL"), QLatin1String("SET AUTO")});
               !keyword.isEmpty()) {
        command.kind = ScriptCommandKind::SetAutoDdl;
        command.argument = upper.mid(keyword.size() + 1);
        command.flag = !command.argument.startsWith(QLatin1String("OFF"));
    } else if (upper.startsWith(QLatin1String("DROP DATABASE"))) {
        command.kind = ScriptCommandKind::DropDatabase;
    } else if (startsWithAny(upper, {QLatin1String("CREATE DATABASE"), QLatin1String("CREATE SCHEMA")})) {
        command.kind = ScriptCommandKind::CreateDatabase;
    } else if (upper.startsWith(QLatin1String("CONNECT"))) {
        command.kind = ScriptCommandKind::Connect;
    }
    return command;
}

ConnectStatement parseConnectStatement(const QString &statement)
{
    const QString text = trimBlanks(statement);
    if (!text.toUpper().startsWith(QLatin1String("CONNECT")))
        throwConnectParseError();
    // Blanks between CONNECT and the name are not part of the name.
    const std::optional<NameAndRest> name = readDatabaseName(trimBlanks(text.mid(8)));
    if (!name || name->name.isEmpty())
        throwConnectParseError();

    ConnectStatement result;
    result.databaseName = name->name;
    const QStringList tokens = blankSeparatedTokens(name->rest);
    if (tokens.size() % 2 != 0)
        throwConnectParseError();
    // A role keeps its quotes (they make it a case-sensitive name), and so does every value written after it.
    bool afterRole = false;
    for (qsizetype i = 0; i < tokens.size(); i += 2) {
        const QString keyword = tokens.at(i).toUpper();
        QString prefix;
        if (keyword == QLatin1String("USER") || keyword == QLatin1String("USERNAME")) {
            prefix = QStringLiteral("USER_NAME=");
        } else if (keyword == QLatin1String("PASS") || keyword == QLatin1String("PASSWORD")) {
            prefix = QStringLiteral("PASSWORD=");
        } else if (keyword == QLatin1String("ROLE")) {
            prefix = QStringLiteral("SQL_ROLE_NAME=");
            afterRole = true;
        } else if (keyword == QLatin1String("CACHE")) {
            prefix = QStringLiteral("NUM_BUFFERS=");
        } else {
            throwConnectParseError();
        }
        const QString &value = tokens.at(i + 1);
        result.options.append(prefix + (afterRole ? value : withoutQuotes(value)));
    }
    return result;
}

QStringList connectParameters(const QStringList &options, const QString &characterSet, int dialect)
{
    QStringList parameters = options;
    if (!characterSet.isEmpty() && characterSet != QLatin1String("NONE"))
        parameters.append(QStringLiteral("lc_ctype=") + characterSet);
    parameters.append(QStringLiteral("isc_dpb_sql_dialect=") + QString::number(dialect));
    return parameters;
}

QString CreateDatabaseStatement::createSql() const
{
    return QStringLiteral("CREATE DATABASE '") + databaseName + QStringLiteral("' ") + options;
}

CreateDatabaseStatement parseCreateDatabaseStatement(const QString &statement)
{
    const QString text = trimBlanks(statement);
    const QString upper = text.toUpper();
    qsizetype skip = 0;
    if (upper.startsWith(QLatin1String("CREATE DATABASE")))
        skip = 16;
    else if (upper.startsWith(QLatin1String("CREATE SCHEMA")))
        skip = 14;
    else
        throwCreateParseError();
    const std::optional<NameAndRest> name = readDatabaseName(trimBlanks(text.mid(skip)));
    if (!name || name->name.isEmpty())
        throwCreateParseError();

    CreateDatabaseStatement result;
    result.databaseName = name->name;
    result.options = QLatin1Char(' ') + name->rest;
    result.options.replace(QLatin1Char('"'), QLatin1Char('\''));
    return result;
}

DdlEvent classifyDdl(const QString &statement)
{
    const QString upper = trimBlanks(statement).toUpper();
    DdlEvent result;
    qsizetype verbSize = 0;
    if (upper.startsWith(QLatin1String("CREATE"))) {
        result.event = TSQLEvent::Create;
        verbSize = 6;
    } else if (upper.startsWith(QLatin1String("DROP"))) {
        result.event = TSQLEvent::Drop;
        verbSize = 4;
    } else if (upper.startsWith(QLatin1String("ALTER"))) {
        result.event = TSQLEvent::Alter;
        verbSize = 5;
    } else {
        return result;
    }

    struct ObjectWord
    {
        QLatin1String word;
        TSQLSubEvent subEvent;
    };
    static const ObjectWord objects[] = {
        {QLatin1String("VIEW"), TSQLSubEvent::View},
        {QLatin1String("TABLE"), TSQLSubEvent::Table},
        {QLatin1String("PROCEDURE"), TSQLSubEvent::Procedure},
        {QLatin1String("DOMAIN"), TSQLSubEvent::Domain},
        {QLatin1String("EXTERNAL"), TSQLSubEvent::External},
        {QLatin1String("FILTER"), TSQLSubEvent::Filter},
        {QLatin1String("EXCEPTION"), TSQLSubEvent::Exception},
        {QLatin1String("ROLE"), TSQLSubEvent::Role},
        {QLatin1String("GENERATOR"), TSQLSubEvent::Generator},
        {QLatin1String("TRIGGER"), TSQLSubEvent::Trigger},
    };
    const QString object = upper.mid(verbSize + 1);
    for (const ObjectWord &candidate : objects) {
        if (object.startsWith(candidate.word)) {
            result.subEvent = candidate.subEvent;
            break;
        }
    }
    return result;
}

std::optional<TSQLSubEvent> dialectSubEvent(int dialect)
{
    switch (dialect) {
    case 1:
        return TSQLSubEvent::Dialect1;
    case 2:
        return TSQLSubEvent::Dialect2;
    case 3:
        return TSQLSubEvent::Dialect3;
    default:
        return std::nullopt;
    }
}

} // namespace ZelScript
