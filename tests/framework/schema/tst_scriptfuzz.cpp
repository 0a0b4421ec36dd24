// Arbitrary text through the splitter and the command recognition: bounded, seeded random scripts built from
// the pieces that steer the splitter (terminators, SET TERM, comments, quotes, line breaks) and from raw
// bytes. Every run must end, answer the same way twice, and fail only in the ways the splitter documents.

#include "framework/schema/eisqlexception.h"
#include "framework/schema/scriptcommand.h"
#include "framework/schema/scriptsplitter.h"

#include <QRandomGenerator>
#include <QtTest>

#include <stdexcept>

namespace {

const QStringList kPieces{
    QStringLiteral(";"),
    QStringLiteral("^"),
    QStringLiteral("set term ^ ;"),
    QStringLiteral("SET TERM ; ^"),
    QStringLiteral("set term"),
    QStringLiteral("/*"),
    QStringLiteral("*/"),
    QStringLiteral("--"),
    QStringLiteral("'"),
    QStringLiteral("\""),
    QStringLiteral(" "),
    QStringLiteral("commit"),
    QStringLiteral("create table T (A integer)"),
    QStringLiteral("begin"),
    QStringLiteral("end"),
    QStringLiteral(":VAR"),
    QStringLiteral("input 'x.sql'"),
    QStringLiteral("connect 'a' user 'b'"),
    QStringLiteral("create database '"),
    QStringLiteral("set sql dialect"),
    QStringLiteral("\t"),
    QStringLiteral("ç€"),
    QStringLiteral("!!"),
};

QStringList randomScript(QRandomGenerator &rng)
{
    QStringList lines;
    const int lineCount = int(rng.bounded(1, 25));
    for (int l = 0; l < lineCount; ++l) {
        QString line;
        const int parts = int(rng.bounded(0, 8));
        for (int p = 0; p < parts; ++p) {
            if (rng.bounded(5) == 0) {
                // raw characters, control characters included
                const int n = int(rng.bounded(1, 6));
                for (int i = 0; i < n; ++i)
                    line += QChar(char16_t(rng.bounded(1, 0x300)));
            } else {
                line += kPieces.at(qsizetype(rng.bounded(qsizetype(kPieces.size()))));
            }
        }
        lines << line;
    }
    return lines;
}

} // namespace

class TstScriptFuzz : public QObject
{
    Q_OBJECT

private slots:
    void randomScriptsNeverCrashOrHang();
};

void TstScriptFuzz::randomScriptsNeverCrashOrHang()
{
    QRandomGenerator rng(20261211);
    int split = 0;
    int refused = 0;
    for (int round = 0; round < 4000; ++round) {
        const QStringList lines = randomScript(rng);
        int hookCalls = 0;
        const auto first = ZelScript::SplitStatements(lines, QStringLiteral(";"), [&] { ++hookCalls; });
        const auto second = ZelScript::SplitStatements(lines, QStringLiteral(";"));
        QCOMPARE(first.has_value(), second.has_value());
        QVERIFY(hookCalls <= lines.size() + 1);
        if (!first) {
            ++refused;
            QVERIFY_THROWS_EXCEPTION(EISQLException, ZelScript::splitScript(lines));
            continue;
        }
        ++split;
        QCOMPARE(*first, *second);
        for (const QString &statement : *first) {
            try {
                const ZelScript::ScriptCommand command = ZelScript::recognizeCommand(statement);
                if (command.kind == ZelScript::ScriptCommandKind::SetSqlDialect)
                    (void)command.integerArgument();
                (void)ZelScript::classifyDdl(statement);
            } catch (const std::invalid_argument &) {
                // a dialect that is not a number: documented
            } catch (const EISQLException &e) {
                QCOMPARE(int(e.category()), int(EISQLException::Parse));
            }
        }
    }
    // The generator must reach both outcomes, or the test proves little.
    QVERIFY(split > 100);
    QVERIFY(refused > 10);
}

QTEST_GUILESS_MAIN(TstScriptFuzz)
#include "tst_scriptfuzz.moc"
