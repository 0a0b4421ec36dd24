#include "framework/session/logincredentials.h"
#include "framework/session/loginstep.h"

#include <QTest>

class TstLoginCredentials : public QObject
{
    Q_OBJECT

private slots:
    void digest_data();
    void digest();
    void scramble_data();
    void scramble();
    void charactersBelowAnAccentedLetterDoNotComeBack();
    void permissionQueryIsBuiltFromItsPieces();
    void firstPasswordUpdate();
};

void TstLoginCredentials::digest_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("digest");
    QTest::newRow("empty") << ""
                           << "D41D8CD98F00B204E9800998ECF8427E";
    QTest::newRow("abc") << "abc"
                         << "900150983CD24FB0D6963F7D28E17F72";
    // MD5 of the bytes 61 E7 E3 6F: one byte per accented letter, not the two of UTF-8.
    QTest::newRow("accented") << "ação"
                              << "AE4A7803202641A834921DAD2D15BB2C";
    // The euro sign is byte 0x80 in Windows-1252.
    QTest::newRow("euro") << "Senha€"
                          << "01F870CF9688E0AA0957CB65E11DC897";
}

void TstLoginCredentials::digest()
{
    QFETCH(QString, password);
    QFETCH(QString, digest);
    const QString got = PasswordDigest(password);
    QCOMPARE(got, digest);
    QCOMPARE(got.size(), 32);
}

void TstLoginCredentials::scramble_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("scrambled");
    QTest::newRow("ascii") << "ADMIN"
                           << "BENJO";
    QTest::newRow("digits and blank") << "USER 09"
                                      << "VTFS!1:";
    // Accented letters stay; so does a letter whose successor is accented ('Ã' follows 'Â').
    QTest::newRow("accented") << "JOÃO"
                              << "KPÃP";
    QTest::newRow("lower accented") << "ção"
                                    << "çãp";
    QTest::newRow("before accented") << QString(QChar(0xBF)) << QString(QChar(0xBF));
}

void TstLoginCredentials::scramble()
{
    QFETCH(QString, name);
    QFETCH(QString, scrambled);
    QCOMPARE(ScrambleUserName(name), scrambled);
    if (QTest::currentDataTag() != QLatin1String("before accented"))
        QCOMPARE(UnscrambleUserName(ScrambleUserName(name)), name);
}

void TstLoginCredentials::charactersBelowAnAccentedLetterDoNotComeBack()
{
    // The family's scrambling leaves '¿' (191, before 'À') unchanged, and the receiver moves it down: such
    // characters never occur in user names, and changing either side would break the sibling programs.
    QCOMPARE(UnscrambleUserName(ScrambleUserName(QString(QChar(0xBF)))), QString(QChar(0xBE)));
    for (int c = 32; c < 127; ++c)
        QCOMPARE(UnscrambleUserName(ScrambleUserName(QString(QChar(c)))), QString(QChar(c)));
}

void TstLoginCredentials::permissionQueryIsBuiltFromItsPieces()
{
    const QString expected = QStringLiteral(
        "select U.ID, U.PRIMEIRO_NOME, U.ULTIMO_NOME, U.SENHA, U.SUPERVISOR, U.DESATIVADO,  ( select "
        "M.MODULO "
        "from MODULO M where M.ID = 7) as MODULO  from USUARIO U where    ( U.USUARIO = :USUARIO) and    (( "
        "select count(UM.USUARIOID) from USUARIO_MODULO UM where UM.USUARIOID = U.ID and UM.MODULOID = 7 ) "
        ">= 1 "
        ") and (   (( select count(UM2.USUARIOID) from USUARIO_MODULO UM2 where UM2.USUARIOID = "
        "U.SUPERVISORID "
        "and UM2.MODULOID = 7) >= 1 ) or     (U.SUPERVISORID = 1)  )");
    QCOMPARE(PermissionQuery(7), expected);
    QCOMPARE(ModuleListQuery(),
             QStringLiteral("select * from USUARIO_MODULO where USUARIOID = :USUARIOID order by MODULOID"));
}

void TstLoginCredentials::firstPasswordUpdate()
{
    QCOMPARE(FirstPasswordUpdate(QStringLiteral("ABC"), 12),
             QStringLiteral("update USUARIO set  SENHA = 'ABC' where ID = 12"));
}

QTEST_GUILESS_MAIN(TstLoginCredentials)
#include "tst_logincredentials.moc"
