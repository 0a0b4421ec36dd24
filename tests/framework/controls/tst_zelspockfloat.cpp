#include "controlstestsupport.h"

#include "framework/controls/zelspockfloat.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

class TstZelSpockFloat : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void display_data();
    void display();
    void typing_data();
    void typing();
    void leavingStores_data();
    void leavingStores();
    void refusedFieldType();
    void floatValueWritesRounded();
    void refusedValueKept_data();
    void refusedValueKept();
    void unboundTextFromCode_data();
    void unboundTextFromCode();

private:
    ControleData m_data;
    std::unique_ptr<FormWindow> m_window;
    QLineEdit *m_sink = nullptr;
    TZelSpockFloat *numeric(const QString &field);
    void focus(QWidget *w);
};

void TstZelSpockFloat::init()
{
    m_data.create();
    m_window = std::make_unique<FormWindow>();
    m_window->resize(400, 200);
    m_sink = new QLineEdit(m_window.get());
    m_sink->move(200, 150);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_sink->setFocus();
}

void TstZelSpockFloat::cleanup()
{
    m_window.reset();
    m_data.reset();
}

TZelSpockFloat *TstZelSpockFloat::numeric(const QString &field)
{
    auto *e = new TZelSpockFloat(m_window.get());
    e->setObjectName(QStringLiteral("edtValor"));
    e->setDataSource(m_data.source.get());
    e->setDataField(field);
    e->show();
    return e;
}

void TstZelSpockFloat::focus(QWidget *w)
{
    w->setFocus();
    QTRY_VERIFY(w->hasFocus());
}

void TstZelSpockFloat::display_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value"); // "null" for a null field
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QString>("unfocused");
    QTest::addColumn<QString>("focused");
    QTest::newRow("currency") << "NOTA_MERCADORIA"
                              << "1234.5"
                              << ""
                              << "1.234,50"
                              << "1234,50";
    QTest::newRow("null") << "NOTA_MERCADORIA"
                          << "null"
                          << ""
                          << ""
                          << "0,00";
    QTest::newRow("null shown") << "NOTA_MERCADORIA"
                                << "null"
                                << "NullEmpty=0"
                                << "0,00"
                                << "0,00";
    QTest::newRow("zero") << "NOTA_MERCADORIA"
                          << "0"
                          << ""
                          << "0,00"
                          << "0,00";
    QTest::newRow("zero empty") << "NOTA_MERCADORIA"
                                << "0"
                                << "ZeroEmpty=1"
                                << ""
                                << "0,00";
    QTest::newRow("integer") << "NOTA_NUMERO"
                             << "1234"
                             << "DecimalPlaces=0"
                             << "1.234"
                             << "1234";
    QTest::newRow("left zeros") << "NOTA_NUMERO"
                                << "42"
                                << "LeftZeros=1;UseSeparator=0;IntegerPlaces=6"
                                << "000042"
                                << "000042";
    QTest::newRow("left zeros grouped") << "NOTA_NUMERO"
                                        << "42"
                                        << "LeftZeros=1;IntegerPlaces=6"
                                        << "000.042"
                                        << "000042";
    QTest::newRow("decimals as needed") << "NOTA_MERCADORIA"
                                        << "2.5"
                                        << "RightZeros=0"
                                        << "2,5"
                                        << "2,5";
    QTest::newRow("whole as needed") << "NOTA_MERCADORIA"
                                     << "2"
                                     << "RightZeros=0"
                                     << "2"
                                     << "2";
    QTest::newRow("beyond four-decimal amounts") << "NOTA_MERCADORIA"
                                                 << "1e15"
                                                 << "IntegerPlaces=0"
                                                 << "1.000.000.000.000.000,00"
                                                 << "1000000000000000,00";
    QTest::newRow("negative beyond four-decimal amounts") << "NOTA_MERCADORIA"
                                                          << "-25e14"
                                                          << "IntegerPlaces=0"
                                                          << "-2.500.000.000.000.000,00"
                                                          << "-2500000000000000,00";
}

void TstZelSpockFloat::display()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QString, settings);
    QFETCH(QString, unfocused);
    QFETCH(QString, focused);
    m_data.ds->edit();
    if (value == QStringLiteral("null"))
        m_data.field(field).clear();
    else
        m_data.field(field).setAsDouble(value.toDouble());
    m_data.ds->post();
    TZelSpockFloat *e = numeric(field);
    for (const QString &pair : settings.split(u';', Qt::SkipEmptyParts)) {
        const QString name = pair.section(u'=', 0, 0);
        const int v = pair.section(u'=', 1).toInt();
        if (name == QStringLiteral("NullEmpty"))
            e->setNullEmpty(v);
        else if (name == QStringLiteral("ZeroEmpty"))
            e->setZeroEmpty(v);
        else if (name == QStringLiteral("DecimalPlaces"))
            e->setDecimalPlaces(v);
        else if (name == QStringLiteral("LeftZeros"))
            e->setLeftZeros(v);
        else if (name == QStringLiteral("UseSeparator"))
            e->setUseSeparator(v);
        else if (name == QStringLiteral("IntegerPlaces"))
            e->setIntegerPlaces(v);
        else if (name == QStringLiteral("RightZeros"))
            e->setRightZeros(v);
    }
    e->dataLink().Reset();
    QCOMPARE(e->text(), unfocused);
    focus(e);
    QCOMPARE(e->text(), focused);
    focus(m_sink);
    QCOMPARE(e->text(), unfocused);
}

void TstZelSpockFloat::typing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::newRow("third decimal refused") << "NOTA_MERCADORIA" << 2 << "12,345"
                                           << "12,34";
    QTest::newRow("thirteenth digit refused") << "NOTA_MERCADORIA" << 2 << "1234567890123"
                                              << "123456789012";
    QTest::newRow("minus first") << "NOTA_MERCADORIA" << 2 << "-123456789012"
                                 << "-123456789012";
    QTest::newRow("period gives comma") << "NOTA_MERCADORIA" << 2 << "7.5"
                                        << "7,5";
    QTest::newRow("letters refused") << "NOTA_MERCADORIA" << 2 << "1a2"
                                     << "12";
    QTest::newRow("no decimals: comma and period do nothing") << "NOTA_NUMERO" << 0 << "1,2.3"
                                                              << "123";
}

void TstZelSpockFloat::typing()
{
    QFETCH(QString, field);
    QFETCH(int, decimals);
    QFETCH(QString, keys);
    QFETCH(QString, text);
    TZelSpockFloat *e = numeric(field);
    e->setDecimalPlaces(decimals);
    focus(e);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, keys);
    QCOMPARE(e->text(), text);
}

void TstZelSpockFloat::leavingStores_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("isNull");
    QTest::addColumn<double>("stored");
    QTest::newRow("minus alone stores 0") << "NOTA_MERCADORIA"
                                          << "-" << false << 0.0;
    QTest::newRow("empty stores null") << "NOTA_MERCADORIA"
                                       << "" << true << 0.0;
    QTest::newRow("number") << "NOTA_MERCADORIA"
                            << "1234,5" << false << 1234.5;
    QTest::newRow("negative number") << "NOTA_MERCADORIA"
                                     << "-0,01" << false << -0.01;
    QTest::newRow("integer: minus alone stores 0") << "NOTA_NUMERO"
                                                   << "-" << false << 0.0;
    QTest::newRow("integer: empty stores null") << "NOTA_NUMERO"
                                                << "" << true << 0.0;
    QTest::newRow("integer: largest") << "NOTA_NUMERO"
                                      << "2147483647" << false << 2147483647.0;
}

void TstZelSpockFloat::leavingStores()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(bool, isNull);
    QFETCH(double, stored);
    TZelSpockFloat *e = numeric(field);
    focus(e);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, typed);
    focus(m_sink);
    db::Field &f = m_data.field(field);
    QCOMPARE(f.isNull(), isNull);
    QCOMPARE(f.asDouble(), stored);
}

void TstZelSpockFloat::refusedFieldType()
{
    auto *e = new TZelSpockFloat(m_window.get());
    e->setObjectName(QStringLiteral("edtNome"));
    e->setDataSource(m_data.source.get());
    try {
        e->setDataField(QStringLiteral("CLI_NOME"));
        QFAIL("a string field was taken");
    } catch (const ::db::ProgrammingError &error) {
        QCOMPARE(error.message(),
                 QStringLiteral(
                     "Invalid field type. Field \"CLI_NOME\", DataSet \"CONTROLE\" - Control \"edtNome\""));
    }
    QCOMPARE(e->DataField(), QString());
}

void TstZelSpockFloat::floatValueWritesRounded()
{
    TZelSpockFloat *e = numeric(QStringLiteral("NOTA_TOTAL"));
    e->setFloatValue(100.10 * 5 / 100);
    QCOMPARE(m_data.ds->state(), db::DataSetState::Edit);
    QCOMPARE(m_data.field(QStringLiteral("NOTA_TOTAL")).asCurrency(), db::Currency::fromTicks(50100));
    QCOMPARE(e->text(), QStringLiteral("5,01"));
    QCOMPARE(e->FloatValue(), 5.01);
}

void TstZelSpockFloat::refusedValueKept_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("message");
    QTest::newRow("too large for an integer field") << "NOTA_NUMERO"
                                                    << "12345678901"
                                                    << ""
                                                    << "Valor fora dos limites do campo NOTA_NUMERO.";
    QTest::newRow("pasted text that is no number") << "NOTA_MERCADORIA"
                                                   << ""
                                                   << "R$ 10,00"
                                                   << "\"R$ 10,00\" não é um valor numérico válido.";
}

// What the field cannot take stays in the edit, with the field's own message, instead of vanishing.
void TstZelSpockFloat::refusedValueKept()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, message);
    ErrorCatcher errors;
    TZelSpockFloat *e = numeric(field);
    const QVariant before = m_data.field(field).value();
    focus(e);
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, typed);
    if (!pasted.isEmpty()) {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
    }
    const QString shown = e->text();
    QVERIFY(!shown.isEmpty());
    m_sink->setFocus();
    QTRY_COMPARE(errors.messages, QStringList{message});
    QTRY_VERIFY(e->hasFocus());
    QCOMPARE(e->text(), shown);
    QCOMPARE(m_data.field(field).value(), before);
    QVERIFY(!m_data.field(field).isNull());
}

void TstZelSpockFloat::unboundTextFromCode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("isNull");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QString>("unfocused");
    QTest::newRow("number") << "1.234,5" << 1234.5 << false << "1234,50"
                            << "1.234,50";
    QTest::newRow("zero") << "0" << 0.0 << false << "0,00"
                          << "0,00";
    QTest::newRow("empty") << "" << 0.0 << true << "0,00"
                           << "";
    QTest::newRow("beyond four-decimal amounts")
        << "2.500.000.000.000.000" << 2.5e15 << false << "2500000000000000,00"
        << "2.500.000.000.000.000,00";
}

// An unbound edit keeps the number its program put into it through the focus changes.
void TstZelSpockFloat::unboundTextFromCode()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(bool, isNull);
    QFETCH(QString, focused);
    QFETCH(QString, unfocused);
    auto *e = new TZelSpockFloat(m_window.get());
    e->show();
    e->setFloatValue(77);
    e->setText(text);
    QCOMPARE(e->FloatValue(), value);
    QCOMPARE(e->IsNull(), isNull);
    focus(e);
    QCOMPARE(e->text(), focused);
    focus(m_sink);
    QCOMPARE(e->text(), unfocused);
    QCOMPARE(e->FloatValue(), value);
    QCOMPARE(e->IsNull(), isNull);
}

QTEST_MAIN(TstZelSpockFloat)
#include "tst_zelspockfloat.moc"
