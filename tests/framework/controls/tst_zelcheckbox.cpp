#include "controlstestsupport.h"

#include "framework/controls/commonproperties.h"
#include "framework/controls/zelcheckbox.h"

#include <QLineEdit>
#include <QTest>

class TstZelCheckBox : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaults();
    void display_data();
    void display();
    void clickWrites_data();
    void clickWrites();
    void threeBoxesShareOneField();
    void nullFieldReadsBlanks();
    void bindingErrors_data();
    void bindingErrors();
    void valuesTakeDataLength();
    void shortValuesReadBack_data();
    void shortValuesReadBack();
    void unboundAndClosed();
    void refusedWriteKeepsFieldState();

private:
    ControleData m_data;
    std::unique_ptr<db::DataSet> m_flags;
    std::unique_ptr<db::DataSource> m_source;
    std::unique_ptr<FormWindow> m_window;
    TZelCheckBox *box(const QString &field, int offSet = 1);
    void moveTo(int id);
    void showWindow();
};

void TstZelCheckBox::init()
{
    m_data.create();
    m_data.db->exec(QStringLiteral(
        "create table FLAGS (ID integer not null primary key, F1 varchar(1), F3 char(3), N integer)"));
    m_data.db->exec({QStringLiteral("insert into FLAGS values (1, 'T', 'SNS', 5)"),
                     QStringLiteral("insert into FLAGS values (2, 'F', null, null)"),
                     QStringLiteral("insert into FLAGS values (3, 't', 'snx', null)"),
                     QStringLiteral("insert into FLAGS values (4, 'X', 'S  ', null)"),
                     QStringLiteral("insert into FLAGS values (5, null, null, null)")});
    m_flags = openTable(*m_data.db, QStringLiteral("FLAGS"),
                        {QStringLiteral("F1"), QStringLiteral("F3"), QStringLiteral("N")});
    m_source = std::make_unique<db::DataSource>();
    m_source->setDataSet(m_flags.get());
    m_window = std::make_unique<FormWindow>();
    m_window->resize(300, 200);
    new QLineEdit(m_window.get());
}

void TstZelCheckBox::cleanup()
{
    m_window.reset();
    m_source.reset();
    m_flags.reset();
    m_data.reset();
}

TZelCheckBox *TstZelCheckBox::box(const QString &field, int offSet)
{
    auto *b = new TZelCheckBox(m_window.get());
    b->setObjectName(QStringLiteral("chk%1%2").arg(field).arg(offSet));
    b->move(10, 20 * offSet + 20);
    b->setOffSet(offSet);
    b->setDataSource(m_source.get());
    b->setDataField(field);
    return b;
}

void TstZelCheckBox::moveTo(int id)
{
    QVERIFY(m_flags->locate(QStringLiteral("ID"), id));
}

void TstZelCheckBox::showWindow()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TstZelCheckBox::defaults()
{
    TZelCheckBox b;
    QCOMPARE(b.DataLength(), 1);
    QCOMPARE(b.OffSet(), 1);
    QCOMPARE(b.ValueForTrue(), QStringLiteral("T"));
    QCOMPARE(b.ValueForFalse(), QStringLiteral("F"));
    QVERIFY(!b.CaseSensitive());
    QVERIFY(b.IsNull());
    QCOMPARE(TCommonProperties::of(&b), b.CommonProperties());
    b.setDataField(QStringLiteral("f1"));
    QCOMPARE(b.DataField(), QStringLiteral("F1"));
}

void TstZelCheckBox::display_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("grayed");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<int>("state");
    QTest::newRow("T") << 1 << false << false << int(Qt::Checked);
    QTest::newRow("F") << 2 << false << false << int(Qt::Unchecked);
    QTest::newRow("F, grayed allowed") << 2 << true << false << int(Qt::Unchecked);
    QTest::newRow("t, case ignored") << 3 << false << false << int(Qt::Checked);
    QTest::newRow("t, case sensitive") << 3 << false << true << int(Qt::Unchecked);
    QTest::newRow("t, case sensitive, grayed") << 3 << true << true << int(Qt::PartiallyChecked);
    QTest::newRow("other character") << 4 << false << false << int(Qt::Unchecked);
    QTest::newRow("other character, grayed") << 4 << true << false << int(Qt::PartiallyChecked);
    QTest::newRow("null") << 5 << false << false << int(Qt::Unchecked);
    QTest::newRow("null, grayed") << 5 << true << false << int(Qt::PartiallyChecked);
}

void TstZelCheckBox::display()
{
    QFETCH(int, id);
    QFETCH(bool, grayed);
    QFETCH(bool, caseSensitive);
    QFETCH(int, state);
    TZelCheckBox *b = box(QStringLiteral("F1"));
    b->setAllowGrayed(grayed);
    b->setCaseSensitive(caseSensitive);
    QCOMPARE(b->text(), QStringLiteral("F1")); // the field's display label
    moveTo(id);
    QCOMPARE(int(b->State()), state);
    QCOMPARE(b->IsNull(), id == 5);
}

void TstZelCheckBox::clickWrites_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("grayed");
    QTest::addColumn<QString>("written");
    QTest::newRow("checked to unchecked") << 1 << false << QStringLiteral("F");
    QTest::newRow("unchecked to checked") << 2 << false << QStringLiteral("T");
    QTest::newRow("null to checked") << 5 << false << QStringLiteral("T");
    QTest::newRow("grayed to checked") << 4 << true << QStringLiteral("T");
}

void TstZelCheckBox::clickWrites()
{
    QFETCH(int, id);
    QFETCH(bool, grayed);
    QFETCH(QString, written);
    TZelCheckBox *b = box(QStringLiteral("F1"));
    b->setAllowGrayed(grayed);
    showWindow();
    moveTo(id);
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(m_flags->state(), db::DataSetState::Edit);
    QCOMPARE(m_flags->fieldByName(QStringLiteral("F1")).asString(), written);
    QCOMPARE(b->Checked(), written == QStringLiteral("T"));
    QVERIFY(!b->IsNull());
    m_flags->post();
    moveTo(id);
    QCOMPARE(m_flags->fieldByName(QStringLiteral("F1")).asString(), written);
}

void TstZelCheckBox::threeBoxesShareOneField()
{
    QList<TZelCheckBox *> boxes;
    for (int offSet = 1; offSet <= 3; ++offSet) {
        TZelCheckBox *b = box(QStringLiteral("F3"), offSet);
        b->setValueForTrue(QStringLiteral("S"));
        b->setValueForFalse(QStringLiteral("N"));
        b->dataLink().Reset(); // the new values are read at the next display
        boxes << b;
    }
    m_flags->first();
    showWindow();
    QCOMPARE(boxes[0]->State(), Qt::Checked);
    QCOMPARE(boxes[1]->State(), Qt::Unchecked);
    QCOMPARE(boxes[2]->State(), Qt::Checked);
    QTest::mouseClick(boxes[1], Qt::LeftButton);
    QCOMPARE(m_flags->fieldByName(QStringLiteral("F3")).asString(), QStringLiteral("SSS"));
    QCOMPARE(boxes[0]->State(), Qt::Checked);
    QCOMPARE(boxes[1]->State(), Qt::Checked);
    QCOMPARE(boxes[2]->State(), Qt::Checked);
    QTest::mouseClick(boxes[0], Qt::LeftButton);
    QCOMPARE(m_flags->fieldByName(QStringLiteral("F3")).asString(), QStringLiteral("NSS"));
    m_flags->post();
    QCOMPARE(m_flags->fieldByName(QStringLiteral("F3")).asString(), QStringLiteral("NSS"));
}

void TstZelCheckBox::nullFieldReadsBlanks()
{
    TZelCheckBox *third = box(QStringLiteral("F3"), 3);
    third->setValueForTrue(QStringLiteral("S"));
    third->setValueForFalse(QStringLiteral("N"));
    third->dataLink().Reset();
    showWindow();
    moveTo(2);
    QCOMPARE(third->Slice(), QStringLiteral(" "));
    QVERIFY(third->IsNull());
    QTest::mouseClick(third, Qt::LeftButton);
    QCOMPARE(m_flags->fieldByName(QStringLiteral("F3")).asString(), QStringLiteral("  S"));
    QVERIFY(!third->IsNull());
    // Grayed writes blanks over its own slice only.
    third->setAllowGrayed(true);
    third->setCheckState(Qt::PartiallyChecked);
    third->dataLink().setModified(true);
    third->dataLink().UpdateRecord();
    QCOMPARE(m_flags->fieldByName(QStringLiteral("F3")).asString().trimmed(), QString());
    QCOMPARE(third->Slice(), QStringLiteral(" "));
}

void TstZelCheckBox::bindingErrors_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("offSet");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("message");
    QTest::newRow("integer field") << QStringLiteral("N") << 1 << 1
                                   << QStringLiteral(
                                          "Invalid Field Type. DataSet: FLAGS - Field: N - Object: chkBad");
    QTest::newRow("slice past the end")
        << QStringLiteral("F3") << 3 << 2
        << QStringLiteral(
               "Invalid Field Size, OffSet or DataLength property value. DataSet: FLAGS - Field: F3 - "
               "Object: chkBad");
    QTest::newRow("offset past the end")
        << QStringLiteral("F1") << 2 << 1
        << QStringLiteral(
               "Invalid Field Size, OffSet or DataLength property value. DataSet: FLAGS - Field: F1 - "
               "Object: chkBad");
}

void TstZelCheckBox::bindingErrors()
{
    QFETCH(QString, field);
    QFETCH(int, offSet);
    QFETCH(int, length);
    QFETCH(QString, message);
    auto *b = new TZelCheckBox(m_window.get());
    b->setObjectName(QStringLiteral("chkBad"));
    b->setOffSet(offSet);
    b->setDataLength(length);
    b->setDataSource(m_source.get());
    // The first display raises it, and so does every later one.
    for (int attempt = 0; attempt < 2; ++attempt) {
        QString raised;
        try {
            if (attempt == 0)
                b->setDataField(field);
            else
                m_flags->next();
        } catch (const db::ProgrammingError &e) {
            raised = QString::fromUtf8(e.what());
        }
        QCOMPARE(raised, message);
    }
}

void TstZelCheckBox::valuesTakeDataLength()
{
    TZelCheckBox b;
    b.setValueForTrue(QStringLiteral("SIM"));
    QCOMPARE(b.ValueForTrue(), QStringLiteral("S"));
    b.setDataLength(3);
    QCOMPARE(b.ValueForTrue(), QStringLiteral("S")); // set before the length changed
    b.setValueForFalse(QStringLiteral("NAO!"));
    QCOMPARE(b.ValueForFalse(), QStringLiteral("NAO"));
}

void TstZelCheckBox::shortValuesReadBack_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("afterClick");
    QTest::addColumn<int>("shownAfterClick");
    // Two-character slices holding one-character values: what a click writes reads back the same.
    QTest::newRow("value and blank") << 4 << int(Qt::Checked) << QStringLiteral("N  ") << int(Qt::Unchecked);
    QTest::newRow("two other characters")
        << 1 << int(Qt::PartiallyChecked) << QStringLiteral("S S") << int(Qt::Checked);
    QTest::newRow("null") << 2 << int(Qt::PartiallyChecked) << QStringLiteral("S  ") << int(Qt::Checked);
}

void TstZelCheckBox::shortValuesReadBack()
{
    QFETCH(int, id);
    QFETCH(int, shown);
    QFETCH(QString, afterClick);
    QFETCH(int, shownAfterClick);
    auto *b = new TZelCheckBox(m_window.get());
    b->setObjectName(QStringLiteral("chkCurto"));
    b->setDataLength(2);
    b->setValueForTrue(QStringLiteral("S"));
    b->setValueForFalse(QStringLiteral("N"));
    b->setAllowGrayed(true);
    b->setDataSource(m_source.get());
    b->setDataField(QStringLiteral("F3"));
    showWindow();
    moveTo(id);
    QCOMPARE(int(b->State()), shown);
    QTest::mouseClick(b, Qt::LeftButton);
    // CHAR(3) reads back without its trailing blanks.
    QCOMPARE(m_flags->fieldByName(QStringLiteral("F3")).asString().leftJustified(3, u' '), afterClick);
    b->dataLink().Reset();
    QCOMPARE(int(b->State()), shownAfterClick);
    m_flags->post();
    moveTo(id);
    QCOMPARE(int(b->State()), shownAfterClick);
}

void TstZelCheckBox::unboundAndClosed()
{
    auto *plain = new TZelCheckBox(m_window.get());
    showWindow();
    plain->setChecked(true);
    QVERIFY(plain->Checked());
    QTest::mouseClick(plain, Qt::LeftButton);
    QVERIFY(!plain->Checked());
    plain->setAllowGrayed(true);
    plain->setCheckState(Qt::PartiallyChecked);
    QTest::mouseClick(plain, Qt::LeftButton);
    QCOMPARE(plain->State(), Qt::Checked);

    TZelCheckBox *bound = box(QStringLiteral("F1"));
    moveTo(2);
    QVERIFY(!bound->Checked());
    m_flags->close();
    bound->setChecked(true);
    QVERIFY(!bound->Checked());
}

void TstZelCheckBox::refusedWriteKeepsFieldState()
{
    TZelCheckBox *b = box(QStringLiteral("F1"));
    m_source->setAutoEdit(false);
    ErrorCatcher errors;
    showWindow();
    QVERIFY(b->Checked());
    QTest::mouseClick(b, Qt::LeftButton);
    QCOMPARE(errors.messages.size(), 1);
    QVERIFY(b->Checked());
    QCOMPARE(m_flags->state(), db::DataSetState::Browse);
    QCOMPARE(m_flags->fieldByName(QStringLiteral("F1")).asString(), QStringLiteral("T"));
    QTRY_VERIFY(b->hasFocus());
}

QTEST_MAIN(TstZelCheckBox)
#include "tst_zelcheckbox.moc"
