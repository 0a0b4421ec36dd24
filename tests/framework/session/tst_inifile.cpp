#include "framework/session/inifile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstIniFile : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void missingFileReadsEmpty();
    void writesInOrderAndOverwrites();
    void lineBreaksBecomeBlanks();
    void saveCreatesFolderAndFailsOnAFile();

private:
    QString writeFile(const QByteArray &bytes);
    QTemporaryDir m_dir;
};

QString TstIniFile::writeFile(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("in.ini"));
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
    return path;
}

void TstIniFile::reads_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("backslashes") << QByteArray("[CONNECTION]\r\nDATABASENAME=srv:C:\\Dados\\BANCO.GDB\r\n")
                                 << "CONNECTION"
                                 << "DATABASENAME"
                                 << "srv:C:\\Dados\\BANCO.GDB";
    QTest::newRow("semicolon and comma") << QByteArray("[A]\nK=a;b, c\n") << "A"
                                         << "K"
                                         << "a;b, c";
    QTest::newRow("case of names") << QByteArray("[connection]\ndatabasename=x:y\n") << "CONNECTION"
                                   << "DatabaseName"
                                   << "x:y";
    QTest::newRow("blanks around") << QByteArray("  [A]  \n  K  =  v w  \n") << "A"
                                   << "K"
                                   << "v w";
    QTest::newRow("quoted") << QByteArray("[A]\nK=\" v \"\n") << "A"
                            << "K"
                            << " v ";
    QTest::newRow("comment") << QByteArray("[A]\n;K=old\nK=new\n") << "A"
                             << "K"
                             << "new";
    QTest::newRow("first wins") << QByteArray("[A]\nK=1\nK=2\n") << "A"
                                << "K"
                                << "1";
    QTest::newRow("missing key") << QByteArray("[A]\nK=1\n") << "A"
                                 << "X"
                                 << "";
    QTest::newRow("missing section") << QByteArray("[A]\nK=1\n") << "B"
                                     << "K"
                                     << "";
    QTest::newRow("windows-1252") << QByteArray("[A]\nK=Mar\xe7o\n") << "A"
                                  << "K"
                                  << "Março";
    QTest::newRow("utf-8") << QByteArray("[A]\nK=Mar\xc3\xa7o\n") << "A"
                           << "K"
                           << "Março";
}

void TstIniFile::reads()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    IniFile ini(writeFile(content));
    QCOMPARE(ini.readString(section, key), expected);
}

void TstIniFile::missingFileReadsEmpty()
{
    IniFile ini;
    QVERIFY(!ini.load(m_dir.filePath(QStringLiteral("none.ini"))));
    QVERIFY(ini.sections().isEmpty());
    QCOMPARE(
        ini.readString(QStringLiteral("CONNECTION"), QStringLiteral("DATABASENAME"), QStringLiteral("d")),
        QStringLiteral("d"));
}

void TstIniFile::writesInOrderAndOverwrites()
{
    const QString path = writeFile("[CABECALHO]\nQUANTIDADE=1\n\n[ERROR(0)]\nSQLCODE=-204\n");
    IniFile ini(path);
    ini.writeString(QStringLiteral("cabecalho"), QStringLiteral("quantidade"), QStringLiteral("2"));
    ini.writeString(QStringLiteral("ERROR(1)"), QStringLiteral("COMPUTERNAME"), QStringLiteral("pc"));
    ini.writeString(QStringLiteral("ERROR(1)"), QStringLiteral("SERVERNAME"),
                    QStringLiteral("srv:C:\\x.gdb"));
    QVERIFY(ini.save(path));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()),
             QStringLiteral("[CABECALHO]\nQUANTIDADE=2\n\n[ERROR(0)]\nSQLCODE=-204\n\n"
                            "[ERROR(1)]\nCOMPUTERNAME=pc\nSERVERNAME=srv:C:\\x.gdb\n"));
    IniFile again(path);
    QCOMPARE(again.keys(QStringLiteral("ERROR(1)")),
             (QStringList{QStringLiteral("COMPUTERNAME"), QStringLiteral("SERVERNAME")}));
    QCOMPARE(again.readString(QStringLiteral("ERROR(1)"), QStringLiteral("SERVERNAME")),
             QStringLiteral("srv:C:\\x.gdb"));
}

void TstIniFile::lineBreaksBecomeBlanks()
{
    IniFile ini;
    ini.writeString(QStringLiteral("A"), QStringLiteral("MESSAGE"),
                    QStringLiteral("Dynamic SQL Error\nTable unknown\r\nX"));
    ini.writeString(QStringLiteral("A"), QStringLiteral("NEXT"), QStringLiteral("1"));
    const QString path = m_dir.filePath(QStringLiteral("lines.ini"));
    QVERIFY(ini.save(path));
    IniFile again(path);
    QCOMPARE(again.readString(QStringLiteral("A"), QStringLiteral("MESSAGE")),
             QStringLiteral("Dynamic SQL Error Table unknown X"));
    QCOMPARE(again.keys(QStringLiteral("A")),
             (QStringList{QStringLiteral("MESSAGE"), QStringLiteral("NEXT")}));
}

void TstIniFile::saveCreatesFolderAndFailsOnAFile()
{
    IniFile ini;
    ini.writeString(QStringLiteral("A"), QStringLiteral("K"), QStringLiteral("v"));
    QVERIFY(ini.save(m_dir.filePath(QStringLiteral("Log/DBA/x.INI"))));
    QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("Log/DBA/x.INI"))));
    QFile blocker(m_dir.filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(!ini.save(m_dir.filePath(QStringLiteral("blocker/sub/x.INI"))));
}

QTEST_GUILESS_MAIN(TstIniFile)
#include "tst_inifile.moc"
