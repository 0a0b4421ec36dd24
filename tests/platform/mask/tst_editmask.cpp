#include "platform/mask/editmask.h"
#include "platform/mask/maskedlineedit.h"
#include "platform/mask/maskerror.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace mask;

namespace {

const QString DateMask = QStringLiteral("!99/99/9999;1; ");
const QString MonthMask = QStringLiteral("!99/9999;1; ");
const QString CpfMask = QStringLiteral("999.999.999-99;0; ");
const QString CnpjMask = QStringLiteral("99.999.999/9999-99;0; ");
const QString DddMask = QStringLiteral("999;0; ");
const QString RgMask = QStringLiteral("99.999.999->a;0; ");
const QString CepMask = QStringLiteral("!99999\\-999;1; ");
const QString PhoneMask = QStringLiteral("!9999\\-9999;1; ");

// One code per position: the mask character that makes it (editable) or the literal in brackets, followed
// by ">" or "<" when the position changes case.
QString shapeOf(const EditMask &m)
{
    QString s;
    for (int i = 0; i < m.positionCount(); ++i) {
        const MaskPosition &p = m.position(i);
        if (p.kind == PositionKind::Literal) {
            s += u'[' + QString(p.literal) + u']';
            continue;
        }
        switch (p.kind) {
        case PositionKind::Digit:
            s += p.required ? u'0' : u'9';
            break;
        case PositionKind::DigitOrSign:
            s += u'#';
            break;
        case PositionKind::Letter:
            s += p.required ? u'L' : u'l';
            break;
        case PositionKind::AlphaNumeric:
            s += p.required ? u'A' : u'a';
            break;
        case PositionKind::AnyChar:
            s += p.required ? u'C' : u'c';
            break;
        case PositionKind::Literal:
            break;
        }
        if (p.caseConversion == CaseConversion::Upper)
            s += u'>';
        else if (p.caseConversion == CaseConversion::Lower)
            s += u'<';
    }
    return s;
}

struct Edit
{
    std::unique_ptr<QLineEdit> edit;
    MaskedLineEdit *driver = nullptr;
};

Edit makeEdit(const QString &maskText, const QString &initialText = {})
{
    Edit e;
    e.edit = std::make_unique<QLineEdit>();
    e.edit->setText(initialText);
    e.driver = new MaskedLineEdit(e.edit.get(), EditMask(maskText));
    e.edit->show();
    e.edit->activateWindow();
    e.edit->setFocus();
    return e;
}

} // namespace

class TstEditMask : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    // EditMask
    void parse_data();
    void parse();
    void separators();
    void format_data();
    void format();
    void displayFromStored_data();
    void displayFromStored();
    void validate_data();
    void validate();
    void checkRaisesMaskError();
    void stored_data();
    void stored();
    void storedRoundTrip_data();
    void storedRoundTrip();
    void isBlank();

    // MaskedLineEdit
    void attachShowsMaskedText_data();
    void attachShowsMaskedText();
    void typing_data();
    void typing();
    void refusedCharacterChangesNothing();
    void backspaceOverLiteral();
    void deleteBlanksForward();
    void selectionIsBlanked();
    void selectAllAndTypeReplaces();
    void paste_data();
    void paste();
    void cutBlanksSelection();
    void contextMenuGoesThroughMask();
    void cursorSkipsLiterals();
    void shiftExtendsSelection();
    void textFromCodeIsShownThroughMask();
    void readOnlyAndModifyCheck();
    void undoRedo();
    void inputMethodCommit();
    void validateEditPlacesCursor();
    void changingMaskKeepsValue();
    void emptyMaskLeavesEditAlone();
};

void TstEditMask::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
}

void TstEditMask::parse_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<bool>("saveLiterals");
    QTest::addColumn<QChar>("blank");
    QTest::addColumn<bool>("leading");
    QTest::addColumn<QString>("blankText");
    QTest::addColumn<int>("editable");

    QTest::newRow("date") << DateMask << "99[/]99[/]9999" << true << QChar(u' ') << true << "  /  /    " << 8;
    QTest::newRow("month") << MonthMask << "99[/]9999" << true << QChar(u' ') << true << "  /    " << 6;
    QTest::newRow("cpf") << CpfMask << "999[.]999[.]999[-]99" << false << QChar(u' ') << false
                         << "   .   .   -  " << 11;
    QTest::newRow("cnpj") << CnpjMask << "99[.]999[.]999[/]9999[-]99" << false << QChar(u' ') << false
                          << "  .   .   /    -  " << 14;
    QTest::newRow("ddd") << DddMask << "999" << false << QChar(u' ') << false << "   " << 3;
    QTest::newRow("rg") << RgMask << "99[.]999[.]999[-]a>" << false << QChar(u' ') << false << "  .   .   - "
                        << 9;
    QTest::newRow("cep") << CepMask << "99999[-]999" << true << QChar(u' ') << true << "     -   " << 8;
    QTest::newRow("phone") << PhoneMask << "9999[-]9999" << true << QChar(u' ') << true << "    -    " << 8;
    QTest::newRow("required, underscore blank") << "000;1;_"
                                                << "000" << true << QChar(u'_') << false << "___" << 3;
    QTest::newRow("defaults without parts") << "LLL"
                                            << "LLL" << true << QChar(u'_') << false << "___" << 3;
    QTest::newRow("save part without blank part") << "99;0"
                                                  << "99" << false << QChar(u'_') << false << "__" << 2;
    QTest::newRow("time separator and space literal")
        << "99:99_9;0;*"
        << "99[:]99[ ]9" << false << QChar(u'*') << false << "**:** *" << 5;
    QTest::newRow("case directives") << ">LL<ll<>Cc#;1;_"
                                     << "L>L>l<l<Cc#" << true << QChar(u'_') << false << "_______" << 7;
    QTest::newRow("escaped mask characters") << "\\L\\\\9;1;_"
                                             << "[L][\\]9" << true << QChar(u'_') << false << "L\\_" << 1;
    QTest::newRow("escaped semicolon") << "A\\;a;0;_"
                                       << "A[;]a" << false << QChar(u'_') << false << "_;_" << 2;
    QTest::newRow("empty") << ""
                           << "" << true << QChar(u'_') << false << "" << 0;
}

void TstEditMask::parse()
{
    QFETCH(QString, mask);
    const EditMask m(mask);
    QFETCH(QString, shape);
    QCOMPARE(shapeOf(m), shape);
    QFETCH(bool, saveLiterals);
    QCOMPARE(m.saveLiterals(), saveLiterals);
    QFETCH(QChar, blank);
    QCOMPARE(m.blank(), blank);
    QFETCH(bool, leading);
    QCOMPARE(m.dropsLeadingBlanks(), leading);
    QFETCH(QString, blankText);
    QCOMPARE(m.blankText(), blankText);
    QCOMPARE(m.positionCount(), int(blankText.size()));
    QFETCH(int, editable);
    QCOMPARE(m.editableCount(), editable);
    QCOMPARE(m.isEmpty(), blankText.isEmpty());
    QCOMPARE(m.text(), mask);
}

void TstEditMask::separators()
{
    const EditMask m(QStringLiteral("99/99 99:99;1; "), u'-', u'.');
    QCOMPARE(m.blankText(), QStringLiteral("  -     .  "));
    QCOMPARE(m.format(QStringLiteral("1203")), QStringLiteral("12-03   .  "));
    QVERIFY(!(m == EditMask(QStringLiteral("99/99 99:99;1; "))));
}

void TstEditMask::format_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("cpf digits") << CpfMask << "52998224725"
                                << "529.982.247-25";
    QTest::newRow("cpf fewer digits") << CpfMask << "5299"
                                      << "529.9  .   -  ";
    QTest::newRow("cpf nothing") << CpfMask << ""
                                 << "   .   .   -  ";
    QTest::newRow("cpf excess dropped") << CpfMask << "529982247251234"
                                        << "529.982.247-25";
    QTest::newRow("cnpj digits") << CnpjMask << "11222333000181"
                                 << "11.222.333/0001-81";
    QTest::newRow("ddd short") << DddMask << "11"
                               << "11 ";
    QTest::newRow("ddd leading blank") << DddMask << " 11"
                                       << " 11";
    QTest::newRow("rg upper-cases") << RgMask << "12345678x"
                                    << "12.345.678-X";
    QTest::newRow("cep stored") << CepMask << "01310-100"
                                << "01310-100";
    QTest::newRow("cep without hyphen") << CepMask << "01310100"
                                        << "01310-100";
    QTest::newRow("cep short first part") << CepMask << "1310-100"
                                          << " 1310-100";
    QTest::newRow("date") << DateMask << "15/03/2005"
                          << "15/03/2005";
    QTest::newRow("date short parts") << DateMask << "1/3/2005"
                                      << " 1/ 3/2005";
    QTest::newRow("date nothing") << DateMask << ""
                                  << "  /  /    ";
    QTest::newRow("month") << MonthMask << "03/2005"
                           << "03/2005";
    QTest::newRow("phone short") << PhoneMask << "333-4444"
                                 << " 333-4444";
    QTest::newRow("leading blanks, entries only") << "!999;0; "
                                                  << "11"
                                                  << " 11";
    QTest::newRow("leading blanks, excess at start dropped") << "!999;0; "
                                                             << "1234"
                                                             << "234";
    QTest::newRow("trailing blanks per part") << "99/99;1;_"
                                              << "1/2"
                                              << "1 /2 ";
    QTest::newRow("blank character not used") << "000-000;0;_"
                                              << "12"
                                              << "12 -   ";
    QTest::newRow("empty mask") << ""
                                << "abc"
                                << "abc";
}

void TstEditMask::format()
{
    QFETCH(QString, mask);
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(EditMask(mask).format(value), expected);
}

void TstEditMask::displayFromStored_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("display");

    QTest::newRow("entries only") << "000-000;0;_"
                                  << "12"
                                  << "12_-___";
    QTest::newRow("literals saved, short part") << "000-000;1;_"
                                                << "12-3"
                                                << "12_-3__";
    QTest::newRow("literals saved, leading blanks") << "!000-000;1;_"
                                                    << "12-3"
                                                    << "_12-__3";
    QTest::newRow("date") << DateMask << "15/03/2005"
                          << "15/03/2005";
    QTest::newRow("date short parts") << DateMask << "1/3/2005"
                                      << " 1/ 3/2005";
    QTest::newRow("date missing separator") << DateMask << "15/032005"
                                            << "15/03/2005";
    QTest::newRow("date empty") << DateMask << ""
                                << "  /  /    ";
    QTest::newRow("cep digits") << CepMask << "01310100"
                                << "01310-100";
    QTest::newRow("cpf display text kept") << CpfMask << "529.982.247-25"
                                           << "529.982.247-25";
    QTest::newRow("cpf digits") << CpfMask << "52998224725"
                                << "529.982.247-25";
    QTest::newRow("cpf digits with blank") << CpfMask << "529 82"
                                           << "529. 82.   -  ";
    QTest::newRow("rg") << RgMask << "12345678x"
                        << "12.345.678-X";
    QTest::newRow("ddd stored right-aligned") << DddMask << " 11"
                                              << " 11";
    QTest::newRow("leading blanks") << "!999;0;_"
                                    << "11"
                                    << "_11";
    QTest::newRow("space kept where any character goes") << "cccc;0;_"
                                                         << "a b"
                                                         << "a b_";
    QTest::newRow("space is a blank where digits go") << "9999;0;_"
                                                      << "1 2"
                                                      << "1_2_";
    QTest::newRow("lower case") << "<llll;0;_"
                                << "AbC"
                                << "abc_";
}

void TstEditMask::displayFromStored()
{
    QFETCH(QString, mask);
    QFETCH(QString, stored);
    QFETCH(QString, display);
    QCOMPARE(EditMask(mask).displayFromStored(stored), display);
}

void TstEditMask::validate_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("errorPos");

    QTest::newRow("date complete") << DateMask << "15/03/2005" << true << -1;
    QTest::newRow("date blank: optional positions") << DateMask << "  /  /    " << true << -1;
    QTest::newRow("date letter") << DateMask << "1a/03/2005" << false << 1;
    QTest::newRow("date separator missing") << DateMask << "15-03/2005" << false << 2;
    QTest::newRow("cep complete") << CepMask << "01310-100" << true << -1;
    QTest::newRow("cep partly blank") << CepMask << "0131 -1  " << true << -1;
    QTest::newRow("required blank") << "000-000;0;_"
                                    << "12_-___" << false << 2;
    QTest::newRow("required space") << "000-000;0;_"
                                    << "12 -345" << false << 2;
    QTest::newRow("required complete") << "000-000;0;_"
                                       << "123-456" << true << -1;
    QTest::newRow("empty text") << "000-000;0;_"
                                << "" << true << -1;
    QTest::newRow("short text lacks required") << "000-000;0;_"
                                               << "123-4" << false << 5;
    QTest::newRow("letter in letter-only") << "LL;0;_"
                                           << "A1" << false << 1;
    QTest::newRow("accented letters") << "LL;0;_"
                                      << "çÃ" << true << -1;
    QTest::newRow("space where any character goes") << "C;0;_"
                                                    << " " << true << -1;
    QTest::newRow("space is the blank") << "C;0; "
                                        << " " << false << 0;
    QTest::newRow("too long") << DddMask << "1234" << false << 3;
    QTest::newRow("sign") << "#99;0; "
                          << "-12" << true << -1;
    QTest::newRow("plus and blanks") << "#99;0; "
                                     << "+1 " << true << -1;
    QTest::newRow("sign only first") << "#99;0; "
                                     << "1-2" << false << 1;
    QTest::newRow("rg complete") << RgMask << "12.345.678-X" << true << -1;
    QTest::newRow("rg punctuation at end") << RgMask << "12.345.678-!" << false << 11;
    QTest::newRow("cpf digits only") << CpfMask << "52998224725" << false << 3;
    QTest::newRow("empty mask") << ""
                                << "anything" << true << -1;
}

void TstEditMask::validate()
{
    QFETCH(QString, mask);
    QFETCH(QString, display);
    QFETCH(int, errorPos);
    int pos = -1;
    QFETCH(bool, valid);
    QCOMPARE(EditMask(mask).validate(display, &pos), valid);
    QCOMPARE(pos, errorPos);
}

void TstEditMask::checkRaisesMaskError()
{
    const EditMask m(QStringLiteral("000-000;0;_"));
    m.check(QStringLiteral("123-456"));
    try {
        m.check(QStringLiteral("123-4__"));
        QFAIL("an incomplete entry passed");
    } catch (const MaskError &e) {
        QCOMPARE(e.position(), 5);
        QCOMPARE(e.message(),
                 QStringLiteral("Valor de entrada inválido. Use a tecla Esc para cancelar as alterações"));
        QCOMPARE(QString::fromUtf8(e.what()), e.message());
    }
}

void TstEditMask::stored_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("stored");

    QTest::newRow("cpf") << CpfMask << "529.982.247-25"
                         << "52998224725";
    QTest::newRow("cpf partial") << CpfMask << "529.982.24 -  "
                                 << "52998224";
    QTest::newRow("cpf blank inside") << CpfMask << "529. 82.247-25"
                                      << "529 8224725";
    QTest::newRow("cpf nothing") << CpfMask << "   .   .   -  "
                                 << "";
    QTest::newRow("cnpj") << CnpjMask << "11.222.333/0001-81"
                          << "11222333000181";
    QTest::newRow("ddd trailing blank dropped") << DddMask << "11 "
                                                << "11";
    QTest::newRow("ddd leading blank kept") << DddMask << " 11"
                                            << " 11";
    QTest::newRow("cep") << CepMask << "01310-100"
                         << "01310-100";
    QTest::newRow("cep partial") << CepMask << "0131 -1  "
                                 << "0131 -1  ";
    QTest::newRow("cep nothing") << CepMask << "     -   "
                                 << "";
    QTest::newRow("phone") << PhoneMask << "3333-4444"
                           << "3333-4444";
    QTest::newRow("date") << DateMask << "15/03/2005"
                          << "15/03/2005";
    QTest::newRow("date short parts") << DateMask << " 1/ 3/2005"
                                      << " 1/ 3/2005";
    QTest::newRow("date nothing") << DateMask << "  /  /    "
                                  << "";
    QTest::newRow("rg lower case") << RgMask << "12.345.678-x"
                                   << "12345678X";
    QTest::newRow("blanks become spaces, literals saved") << "000-000;1;_"
                                                          << "12_-___"
                                                          << "12 -   ";
    QTest::newRow("trailing blanks dropped") << "000-000;0;_"
                                             << "12_-3__"
                                             << "12 3";
    QTest::newRow("leading blanks dropped") << "!999;0;_"
                                            << "__1"
                                            << "1";
    QTest::newRow("leading only") << "!999;0;_"
                                  << "1__"
                                  << "1  ";
    QTest::newRow("empty mask") << ""
                                << " as typed "
                                << " as typed ";
}

void TstEditMask::stored()
{
    QFETCH(QString, mask);
    QFETCH(QString, display);
    QFETCH(QString, stored);
    QCOMPARE(EditMask(mask).stored(display), stored);
}

void TstEditMask::storedRoundTrip_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("display");

    QTest::newRow("cpf") << CpfMask << "529.982.247-25";
    QTest::newRow("cpf partial") << CpfMask << "529.98 .   -  ";
    QTest::newRow("cnpj") << CnpjMask << "11.222.333/0001-81";
    QTest::newRow("ddd") << DddMask << " 11";
    QTest::newRow("rg") << RgMask << "12.345.678-X";
    QTest::newRow("cep") << CepMask << "01310-100";
    QTest::newRow("cep partial") << CepMask << "0131 -1  ";
    QTest::newRow("cep blank") << CepMask << "     -   ";
    QTest::newRow("date") << DateMask << "15/03/2005";
    QTest::newRow("date typed short") << DateMask << "1 /3 /2005";
    QTest::newRow("date blank") << DateMask << "  /  /    ";
    QTest::newRow("month") << MonthMask << "03/2005";
    QTest::newRow("underscore blank") << "!000-000;1;_"
                                      << "_12-__3";
    QTest::newRow("underscore blank, entries") << "000-000;0;_"
                                               << "12_-___";
}

void TstEditMask::storedRoundTrip()
{
    QFETCH(QString, mask);
    QFETCH(QString, display);
    const EditMask m(mask);
    QCOMPARE(m.displayFromStored(m.stored(display)), display);
}

void TstEditMask::isBlank()
{
    const EditMask date(DateMask);
    QVERIFY(date.isBlank(date.blankText()));
    QVERIFY(!date.isBlank(QStringLiteral("  /  /   5")));
    const EditMask any(QStringLiteral("cc;0;_"));
    QVERIFY(any.isBlank(QStringLiteral("__")));
    QVERIFY(!any.isBlank(QStringLiteral(" _")));
    QVERIFY(EditMask().isBlank(QString()));
    QVERIFY(!EditMask().isBlank(QStringLiteral(" ")));
}

void TstEditMask::attachShowsMaskedText_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("cursor");

    QTest::newRow("date blank") << DateMask << ""
                                << "  /  /    " << 0;
    QTest::newRow("cpf stored digits") << CpfMask << "52998224725"
                                       << "529.982.247-25" << 0;
    QTest::newRow("cep stored") << CepMask << "01310-100"
                                << "01310-100" << 0;
    QTest::newRow("leading literal") << "(99)9;0;_"
                                     << ""
                                     << "(__)_" << 1;
}

void TstEditMask::attachShowsMaskedText()
{
    QFETCH(QString, mask);
    QFETCH(QString, initial);
    QFETCH(QString, display);
    QLineEdit edit;
    edit.setText(initial);
    MaskedLineEdit driver(&edit, EditMask(mask));
    QCOMPARE(edit.text(), display);
    QCOMPARE(driver.displayText(), display);
    QFETCH(int, cursor);
    QCOMPARE(edit.cursorPosition(), cursor);
    QVERIFY(!edit.isModified());
    QVERIFY(!driver.isUndoAvailable());

    // A field-sized maximum length or a Qt input mask would cut or reshape the display.
    QLineEdit limited;
    limited.setMaxLength(3);
    MaskedLineEdit limitedDriver(&limited, EditMask(mask));
    QCOMPARE(limited.maxLength(), qMax(3, int(display.size())));
    limitedDriver.setDisplayText(initial);
    QCOMPARE(limited.text(), display);

    QLineEdit qtMasked;
    qtMasked.setInputMask(QStringLiteral("999"));
    MaskedLineEdit qtMaskedDriver(&qtMasked, EditMask(mask));
    QVERIFY(qtMasked.inputMask().isEmpty());
    qtMaskedDriver.setDisplayText(initial);
    QCOMPARE(qtMasked.text(), display);
}

void TstEditMask::typing_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("cursor");

    QTest::newRow("date digits") << DateMask << "15032005"
                                 << "15/03/2005"
                                 << "15/03/2005" << 10;
    QTest::newRow("date with separators") << DateMask << "15/03/2005"
                                          << "15/03/2005"
                                          << "15/03/2005" << 10;
    QTest::newRow("date short parts") << DateMask << "1/3/2005"
                                      << "1 /3 /2005"
                                      << "1 /3 /2005" << 10;
    QTest::newRow("date letter refused") << DateMask << "1a5"
                                         << "15/  /    "
                                         << "15/  /    " << 3;
    QTest::newRow("month") << MonthMask << "032005"
                           << "03/2005"
                           << "03/2005" << 7;
    QTest::newRow("cep digits") << CepMask << "01310100"
                                << "01310-100"
                                << "01310-100" << 9;
    QTest::newRow("cep with hyphen") << CepMask << "01310-100"
                                     << "01310-100"
                                     << "01310-100" << 9;
    QTest::newRow("cep partial") << CepMask << "0131"
                                 << "0131 -   "
                                 << "0131 -   " << 4;
    QTest::newRow("phone") << PhoneMask << "33334444"
                           << "3333-4444"
                           << "3333-4444" << 9;
    QTest::newRow("cpf digits") << CpfMask << "52998224725"
                                << "529.982.247-25"
                                << "52998224725" << 14;
    QTest::newRow("cpf punctuated") << CpfMask << "529.982.247-25"
                                    << "529.982.247-25"
                                    << "52998224725" << 14;
    QTest::newRow("cpf letter refused") << CpfMask << "529x982"
                                        << "529.982.   -  "
                                        << "529982" << 8;
    QTest::newRow("cpf far literal ignored") << CpfMask << "52-9"
                                             << "529.   .   -  "
                                             << "529" << 4;
    QTest::newRow("cnpj") << CnpjMask << "11222333000181"
                          << "11.222.333/0001-81"
                          << "11222333000181" << 18;
    QTest::newRow("ddd leading blank") << DddMask << " 11"
                                       << " 11"
                                       << " 11" << 3;
    QTest::newRow("ddd short") << DddMask << "11"
                               << "11 "
                               << "11" << 2;
    QTest::newRow("ddd typing past the end") << DddMask << "1234"
                                             << "123"
                                             << "123" << 3;
    QTest::newRow("rg upper-cased") << RgMask << "12345678x"
                                    << "12.345.678-X"
                                    << "12345678X" << 12;
    QTest::newRow("letters only") << "LL;0;_"
                                  << "a1b"
                                  << "ab"
                                  << "ab" << 2;
    QTest::newRow("space refused where required") << "000;0;_"
                                                  << " 1"
                                                  << "1__"
                                                  << "1" << 1;
    QTest::newRow("case directives") << ">LL<ll<>Cc;1;_"
                                     << "aBcDeF"
                                     << "ABcdeF"
                                     << "ABcdeF" << 6;
}

void TstEditMask::typing()
{
    QFETCH(QString, mask);
    QFETCH(QString, keys);
    Edit e = makeEdit(mask);
    QTest::keyClicks(e.edit.get(), keys);
    QFETCH(QString, display);
    QCOMPARE(e.edit->text(), display);
    QFETCH(QString, stored);
    QCOMPARE(e.driver->storedText(), stored);
    QFETCH(int, cursor);
    QCOMPARE(e.edit->cursorPosition(), cursor);
    QVERIFY(e.edit->isModified());
}

void TstEditMask::refusedCharacterChangesNothing()
{
    Edit e = makeEdit(DateMask);
    QSignalSpy edited(e.driver, &MaskedLineEdit::edited);
    QSignalSpy changed(e.edit.get(), &QLineEdit::textChanged);
    QTest::keyClick(e.edit.get(), Qt::Key_A);
    QTest::keyClick(e.edit.get(), Qt::Key_Minus);
    QCOMPARE(e.edit->text(), QStringLiteral("  /  /    "));
    QCOMPARE(e.edit->cursorPosition(), 0);
    QCOMPARE(edited.count(), 0);
    QCOMPARE(changed.count(), 0);
    QVERIFY(!e.edit->isModified());

    QTest::keyClicks(e.edit.get(), QStringLiteral("123"));
    QCOMPARE(edited.count(), 3);
    QCOMPARE(edited.last().at(0).toString(), QStringLiteral("12/3 /    "));
}

void TstEditMask::backspaceOverLiteral()
{
    Edit e = makeEdit(CepMask);
    QTest::keyClicks(e.edit.get(), QStringLiteral("013101"));
    QCOMPARE(e.edit->text(), QStringLiteral("01310-1  "));
    QCOMPARE(e.edit->cursorPosition(), 7);

    QTest::keyClick(e.edit.get(), Qt::Key_Backspace);
    QCOMPARE(e.edit->text(), QStringLiteral("01310-   "));
    QCOMPARE(e.edit->cursorPosition(), 6);

    QTest::keyClick(e.edit.get(), Qt::Key_Backspace);
    QCOMPARE(e.edit->text(), QStringLiteral("0131 -   "));
    QCOMPARE(e.edit->cursorPosition(), 4);

    for (int i = 0; i < 6; ++i)
        QTest::keyClick(e.edit.get(), Qt::Key_Backspace);
    QCOMPARE(e.edit->text(), QStringLiteral("     -   "));
    QCOMPARE(e.edit->cursorPosition(), 0);
    QCOMPARE(e.driver->storedText(), QString());
}

void TstEditMask::deleteBlanksForward()
{
    Edit e = makeEdit(CepMask, QStringLiteral("01310-100"));
    e.edit->setCursorPosition(0);
    QTest::keyClick(e.edit.get(), Qt::Key_Delete);
    QCOMPARE(e.edit->text(), QStringLiteral(" 1310-100"));
    QCOMPARE(e.edit->cursorPosition(), 1);
    QTest::keyClick(e.edit.get(), Qt::Key_Delete);
    QCOMPARE(e.edit->text(), QStringLiteral("  310-100"));

    e.edit->setCursorPosition(5); // on the hyphen: the next position is cleared
    QTest::keyClick(e.edit.get(), Qt::Key_Delete);
    QCOMPARE(e.edit->text(), QStringLiteral("  310- 00"));
    QCOMPARE(e.edit->cursorPosition(), 7);

    e.edit->setCursorPosition(9);
    QTest::keyClick(e.edit.get(), Qt::Key_Delete);
    QCOMPARE(e.edit->text(), QStringLiteral("  310- 00"));
}

void TstEditMask::selectionIsBlanked()
{
    Edit e = makeEdit(CpfMask, QStringLiteral("52998224725"));
    e.edit->setSelection(2, 7);
    QTest::keyClick(e.edit.get(), Qt::Key_Backspace);
    QCOMPARE(e.edit->text(), QStringLiteral("52 .   . 47-25"));
    QCOMPARE(e.edit->cursorPosition(), 2);
    QVERIFY(!e.edit->hasSelectedText());

    e.edit->setSelection(11, 3);
    QTest::keyClick(e.edit.get(), Qt::Key_Delete);
    QCOMPARE(e.edit->text(), QStringLiteral("52 .   . 47-  "));

    // Typing over a selection blanks it first and starts at its beginning.
    e.edit->setSelection(8, 3);
    QTest::keyClicks(e.edit.get(), QStringLiteral("7"));
    QCOMPARE(e.edit->text(), QStringLiteral("52 .   .7  -  "));
    QCOMPARE(e.edit->cursorPosition(), 9);
}

void TstEditMask::selectAllAndTypeReplaces()
{
    Edit e = makeEdit(DateMask, QStringLiteral("15/03/2005"));
    QTest::keyClick(e.edit.get(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(e.edit->selectedText(), QStringLiteral("15/03/2005"));
    QTest::keyClicks(e.edit.get(), QStringLiteral("0101"));
    QCOMPARE(e.edit->text(), QStringLiteral("01/01/    "));
    QTest::keyClicks(e.edit.get(), QStringLiteral("2000"));
    QCOMPARE(e.edit->text(), QStringLiteral("01/01/2000"));
}

void TstEditMask::paste_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("display");
    QTest::addColumn<int>("edits");

    QTest::newRow("cpf punctuated") << CpfMask << "" << false << "529.982.247-25"
                                    << "529.982.247-25" << 1;
    QTest::newRow("cpf digits") << CpfMask << "" << false << "52998224725"
                                << "529.982.247-25" << 1;
    QTest::newRow("cep up to the line break") << CepMask << "" << false << "01310-100\r\nxyz"
                                              << "01310-100" << 1;
    QTest::newRow("line feed alone joins") << CepMask << "" << false << "0131\n0100"
                                           << "01310-100" << 1;
    QTest::newRow("nothing fits") << DateMask << "" << false << "abc"
                                  << "  /  /    " << 0;
    QTest::newRow("over a selection") << DateMask << "15/03/2005" << true << "01/02/2003"
                                      << "01/02/2003" << 1;
    QTest::newRow("partial over a selection") << DateMask << "15/03/2005" << true << "7"
                                              << "7 /  /    " << 1;
}

void TstEditMask::paste()
{
    QFETCH(QString, mask);
    QFETCH(QString, initial);
    Edit e = makeEdit(mask, initial);
    e.edit->setCursorPosition(0);
    QFETCH(bool, selectAll);
    if (selectAll)
        e.edit->selectAll();
    QFETCH(QString, clipboard);
    QGuiApplication::clipboard()->setText(clipboard);
    QSignalSpy edited(e.driver, &MaskedLineEdit::edited);
    QTest::keySequence(e.edit.get(), QKeySequence(QKeySequence::Paste));
    QFETCH(QString, display);
    QCOMPARE(e.edit->text(), display);
    QFETCH(int, edits);
    QCOMPARE(edited.count(), edits);
}

void TstEditMask::cutBlanksSelection()
{
    Edit e = makeEdit(CepMask, QStringLiteral("01310-100"));
    e.edit->setSelection(3, 4);
    QTest::keySequence(e.edit.get(), QKeySequence(QKeySequence::Cut));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("10-1"));
    QCOMPARE(e.edit->text(), QStringLiteral("013  - 00"));
}

void TstEditMask::contextMenuGoesThroughMask()
{
    Edit e = makeEdit(CpfMask);
    QGuiApplication::clipboard()->setText(QStringLiteral("529.982.247-25"));
    std::unique_ptr<QMenu> menu(e.driver->createContextMenu());
    auto action = [&menu](const char *name) {
        QAction *a = menu->findChild<QAction *>(QString::fromLatin1(name));
        return a;
    };
    QVERIFY(action("edit-paste"));
    QVERIFY(action("edit-paste")->text().startsWith(QStringLiteral("C&olar")));
    QVERIFY(action("edit-paste")->isEnabled());
    QVERIFY(!action("edit-cut")->isEnabled());
    QVERIFY(!action("edit-undo")->isEnabled());
    action("edit-paste")->trigger();
    QCOMPARE(e.edit->text(), QStringLiteral("529.982.247-25"));

    e.edit->setSelection(0, 4);
    menu.reset(e.driver->createContextMenu());
    QVERIFY(action("edit-undo")->isEnabled());
    action("edit-delete")->trigger();
    QCOMPARE(e.edit->text(), QStringLiteral("   .982.247-25"));
}

void TstEditMask::cursorSkipsLiterals()
{
    Edit e = makeEdit(CpfMask, QStringLiteral("52998224725"));
    e.edit->setCursorPosition(4);
    QTest::keyClick(e.edit.get(), Qt::Key_Left);
    QCOMPARE(e.edit->cursorPosition(), 2);
    QTest::keyClick(e.edit.get(), Qt::Key_Right);
    QCOMPARE(e.edit->cursorPosition(), 4);
    QTest::keyClick(e.edit.get(), Qt::Key_End);
    QCOMPARE(e.edit->cursorPosition(), 14);
    QTest::keyClick(e.edit.get(), Qt::Key_Right);
    QCOMPARE(e.edit->cursorPosition(), 14);
    QTest::keyClick(e.edit.get(), Qt::Key_Home);
    QCOMPARE(e.edit->cursorPosition(), 0);
    QTest::keyClick(e.edit.get(), Qt::Key_Left);
    QCOMPARE(e.edit->cursorPosition(), 0);

    // A click may leave the cursor on a literal; typing goes on at the next position.
    e.edit->setCursorPosition(7);
    QTest::keyClick(e.edit.get(), Qt::Key_1);
    QCOMPARE(e.edit->text(), QStringLiteral("529.982.147-25"));
    QCOMPARE(e.edit->cursorPosition(), 9);

    Edit bracketed = makeEdit(QStringLiteral("(99)9;0;_"));
    QTest::keyClick(bracketed.edit.get(), Qt::Key_End);
    QTest::keyClick(bracketed.edit.get(), Qt::Key_Home);
    QCOMPARE(bracketed.edit->cursorPosition(), 1);
}

void TstEditMask::shiftExtendsSelection()
{
    Edit e = makeEdit(CpfMask, QStringLiteral("52998224725"));
    QTest::keyClick(e.edit.get(), Qt::Key_End);
    QTest::keyClick(e.edit.get(), Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(e.edit.get(), Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(e.edit->selectedText(), QStringLiteral("25"));
    QTest::keyClick(e.edit.get(), Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(e.edit->selectedText(), QStringLiteral("7-25"));
    QTest::keyClick(e.edit.get(), Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(e.edit->selectedText(), QStringLiteral("25"));
    QTest::keyClick(e.edit.get(), Qt::Key_Left);
    QVERIFY(!e.edit->hasSelectedText());
    QCOMPARE(e.edit->cursorPosition(), 12);
}

void TstEditMask::textFromCodeIsShownThroughMask()
{
    Edit e = makeEdit(CpfMask);
    e.edit->setText(QStringLiteral("52998224725"));
    QCOMPARE(e.edit->text(), QStringLiteral("529.982.247-25"));
    QCOMPARE(e.driver->storedText(), QStringLiteral("52998224725"));
    e.edit->clear();
    QCOMPARE(e.edit->text(), QStringLiteral("   .   .   -  "));
    QVERIFY(e.driver->isBlank());

    Edit cep = makeEdit(CepMask);
    cep.driver->setDisplayText(QStringLiteral("01310100"));
    QCOMPARE(cep.edit->text(), QStringLiteral("01310-100"));
    QCOMPARE(cep.driver->storedText(), QStringLiteral("01310-100"));
    QVERIFY(!cep.edit->isModified());
    cep.driver->clear();
    QCOMPARE(cep.edit->text(), QStringLiteral("     -   "));
    QCOMPARE(cep.driver->storedText(), QString());
}

void TstEditMask::readOnlyAndModifyCheck()
{
    Edit e = makeEdit(DddMask);
    e.edit->setReadOnly(true);
    QTest::keyClicks(e.edit.get(), QStringLiteral("11"));
    QCOMPARE(e.edit->text(), QStringLiteral("   "));

    // The data link's way: asked before the change, it makes the edit writable.
    int asked = 0;
    e.driver->setModifyCheck([&] {
        ++asked;
        e.edit->setReadOnly(false);
        return true;
    });
    QTest::keyClicks(e.edit.get(), QStringLiteral("11"));
    QCOMPARE(e.edit->text(), QStringLiteral("11 "));
    QCOMPARE(asked, 2);

    e.driver->setModifyCheck([] { return false; });
    QTest::keyClick(e.edit.get(), Qt::Key_Backspace);
    QTest::keyClicks(e.edit.get(), QStringLiteral("9"));
    QCOMPARE(e.edit->text(), QStringLiteral("11 "));
}

void TstEditMask::undoRedo()
{
    Edit e = makeEdit(DddMask);
    QTest::keyClicks(e.edit.get(), QStringLiteral("12"));
    QCOMPARE(e.edit->text(), QStringLiteral("12 "));
    QTest::keySequence(e.edit.get(), QKeySequence(QKeySequence::Undo));
    QCOMPARE(e.edit->text(), QStringLiteral("1  "));
    QCOMPARE(e.edit->cursorPosition(), 1);
    QTest::keySequence(e.edit.get(), QKeySequence(QKeySequence::Undo));
    QCOMPARE(e.edit->text(), QStringLiteral("   "));
    QVERIFY(!e.driver->isUndoAvailable());
    QTest::keySequence(e.edit.get(), QKeySequence(QKeySequence::Redo));
    QCOMPARE(e.edit->text(), QStringLiteral("1  "));
    QTest::keyClicks(e.edit.get(), QStringLiteral("5"));
    QCOMPARE(e.edit->text(), QStringLiteral("15 "));
    QVERIFY(!e.driver->isRedoAvailable());

    e.driver->setDisplayText(QStringLiteral("99"));
    QVERIFY(!e.driver->isUndoAvailable());
}

void TstEditMask::inputMethodCommit()
{
    Edit e = makeEdit(DateMask);
    QInputMethodEvent event;
    event.setCommitString(QStringLiteral("1x5"));
    QApplication::sendEvent(e.edit.get(), &event);
    QCOMPARE(e.edit->text(), QStringLiteral("15/  /    "));
}

void TstEditMask::validateEditPlacesCursor()
{
    Edit e = makeEdit(QStringLiteral("000-000;0;_"));
    QTest::keyClicks(e.edit.get(), QStringLiteral("12345"));
    QCOMPARE(e.edit->text(), QStringLiteral("123-45_"));
    QVERIFY(!e.driver->validate());
    e.edit->setCursorPosition(0);
    try {
        e.driver->validateEdit();
        QFAIL("an incomplete entry passed");
    } catch (const MaskError &error) {
        QCOMPARE(error.position(), 6);
    }
    QCOMPARE(e.edit->cursorPosition(), 6);
    QTest::keyClicks(e.edit.get(), QStringLiteral("6"));
    e.driver->validateEdit();
    QCOMPARE(e.driver->storedText(), QStringLiteral("123456"));
}

void TstEditMask::changingMaskKeepsValue()
{
    Edit e = makeEdit(CpfMask, QStringLiteral("52998224725"));
    e.driver->setEditMask(EditMask());
    QCOMPARE(e.edit->text(), QStringLiteral("52998224725"));
    e.driver->setEditMask(EditMask(CpfMask));
    QCOMPARE(e.edit->text(), QStringLiteral("529.982.247-25"));
    e.driver->setEditMask(EditMask(CnpjMask));
    QCOMPARE(e.edit->text(), QStringLiteral("52.998.224/725 -  "));
}

void TstEditMask::emptyMaskLeavesEditAlone()
{
    Edit e = makeEdit(QString(), QStringLiteral("ab"));
    QTest::keyClick(e.edit.get(), Qt::Key_End);
    QTest::keyClicks(e.edit.get(), QStringLiteral("c-1"));
    QCOMPARE(e.edit->text(), QStringLiteral("abc-1"));
    QTest::keyClick(e.edit.get(), Qt::Key_Backspace);
    QCOMPARE(e.edit->text(), QStringLiteral("abc-"));
    QCOMPARE(e.driver->storedText(), QStringLiteral("abc-"));
}

QTEST_MAIN(TstEditMask)
#include "tst_editmask.moc"
