#include "controlstestsupport.h"

#include "framework/controls/zellabel.h"
#include "framework/controls/zelmemostrings.h"
#include "framework/controls/zelspockmemo.h"

#include <QClipboard>
#include <QLineEdit>
#include <QTest>

class TstZelSpockMemo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void enterIsALineBreak();
    void count_data();
    void count();
    void lineOperations_data();
    void lineOperations();
    void wholeText();
    void escapeRestoresThenReachesForm();
    void pasteKeepsEveryLine();
    void writeThroughAndLength();
    void leavingShowsDisplayText_data();
    void leavingShowsDisplayText();

private:
    ControleData m_data;
    std::unique_ptr<db::DataSet> m_notes;
    std::unique_ptr<db::DataSource> m_source;
    std::unique_ptr<FormWindow> m_window;
    QLineEdit *m_other = nullptr;
    TZelSpockMemo *memo();
    void showWindow();
};

void TstZelSpockMemo::init()
{
    m_data.create();
    m_data.db->exec(
        QStringLiteral("create table NOTAS (ID integer not null primary key, TEXTO varchar(40))"));
    m_data.db->exec({QStringLiteral("insert into NOTAS (ID, TEXTO) values (1, 'um' || ascii_char(13) || "
                                    "ascii_char(10) || 'dois')")});
    m_notes = openTable(*m_data.db, QStringLiteral("NOTAS"), {QStringLiteral("TEXTO")});
    m_source = std::make_unique<db::DataSource>();
    m_source->setDataSet(m_notes.get());
    m_window = std::make_unique<FormWindow>();
    m_window->resize(400, 300);
    m_other = new QLineEdit(m_window.get());
    m_other->move(250, 250);
}

void TstZelSpockMemo::cleanup()
{
    m_window.reset();
    m_source.reset();
    m_notes.reset();
    m_data.reset();
}

TZelSpockMemo *TstZelSpockMemo::memo()
{
    auto *m = new TZelSpockMemo(m_window.get());
    m->setObjectName(QStringLiteral("edtTexto"));
    m->setGeometry(10, 30, 200, 100);
    m->setDataSource(m_source.get());
    m->setDataField(QStringLiteral("texto"));
    return m;
}

void TstZelSpockMemo::showWindow()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TstZelSpockMemo::enterIsALineBreak()
{
    TZelSpockMemo *m = memo();
    QCOMPARE(m->DataField(), QStringLiteral("TEXTO"));
    QCOMPARE(m->ZelLabel()->Caption(), QStringLiteral("TEXTO"));
    showWindow();
    QCOMPARE(m->Lines()->Count(), 2);
    QCOMPARE(m->Lines()->Strings(1), QStringLiteral("dois"));
    QVERIFY(m->isReadOnly());
    m->setFocus();
    QTRY_VERIFY(m->Focused());
    m->moveCursor(QTextCursor::End);
    QTest::keyClick(m, Qt::Key_Return);
    QTest::keyClicks(m, QStringLiteral("tres"));
    QCOMPARE(m_notes->state(), db::DataSetState::Edit);
    QVERIFY(m->hasFocus()); // Enter did not move on
    QCOMPARE(m->Lines()->Count(), 3);
    m_other->setFocus();
    QTRY_VERIFY(!m->Focused());
    QCOMPARE(m_notes->fieldByName(QStringLiteral("TEXTO")).asString(), QStringLiteral("um\r\ndois\r\ntres"));
    m_notes->post();
    QCOMPARE(m_notes->state(), db::DataSetState::Browse);
}

void TstZelSpockMemo::count_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("one line") << QStringLiteral("a") << 1;
    QTest::newRow("trailing break not counted") << QStringLiteral("a\r\nb\r\n") << 2;
    QTest::newRow("empty line inside") << QStringLiteral("a\r\n\r\nb") << 3;
    QTest::newRow("lone line feeds") << QStringLiteral("a\nb") << 2;
}

void TstZelSpockMemo::count()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    TZelSpockMemo m;
    m.Lines()->setText(text);
    QCOMPARE(m.Lines()->Count(), count);
}

void TstZelSpockMemo::lineOperations_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("after");
    const QString ab = QStringLiteral("a\r\nb");
    QTest::newRow("put") << ab << QStringLiteral("put") << 1 << QStringLiteral("a\r\nX");
    QTest::newRow("put past the end") << ab << QStringLiteral("put") << 2 << ab;
    QTest::newRow("insert first") << ab << QStringLiteral("insert") << 0 << QStringLiteral("X\r\na\r\nb");
    QTest::newRow("insert after the last")
        << ab << QStringLiteral("insert") << 2 << QStringLiteral("a\r\nb\r\nX");
    QTest::newRow("insert into a trailing empty line")
        << QStringLiteral("a\r\n") << QStringLiteral("insert") << 1 << QStringLiteral("a\r\nX\r\n");
    QTest::newRow("insert far past the end") << ab << QStringLiteral("insert") << 5 << ab;
    QTest::newRow("insert negative") << ab << QStringLiteral("insert") << -1 << ab;
    QTest::newRow("delete first") << ab << QStringLiteral("delete") << 0 << QStringLiteral("b");
    QTest::newRow("delete last keeps the break")
        << ab << QStringLiteral("delete") << 1 << QStringLiteral("a\r\n");
    QTest::newRow("delete missing") << ab << QStringLiteral("delete") << 4 << ab;
}

void TstZelSpockMemo::lineOperations()
{
    QFETCH(QString, before);
    QFETCH(QString, operation);
    QFETCH(int, index);
    QFETCH(QString, after);
    TZelSpockMemo m;
    m.Lines()->setText(before);
    if (operation == QStringLiteral("put"))
        m.Lines()->Put(index, QStringLiteral("X"));
    else if (operation == QStringLiteral("insert"))
        m.Lines()->Insert(index, QStringLiteral("X"));
    else
        m.Lines()->Delete(index);
    QCOMPARE(m.Lines()->Text(), after);
    QCOMPARE(m.Text(), after);
}

void TstZelSpockMemo::wholeText()
{
    TZelSpockMemo m;
    m.Lines()->setText(QStringLiteral("a\rb\nc"));
    QCOMPARE(m.Text(), QStringLiteral("a\r\nb\r\nc"));
    QCOMPARE(m.Lines()->Strings(2), QStringLiteral("c"));
    QCOMPARE(m.Lines()->Strings(3), QString());
    m.setMaxLength(5);
    bool refused = false;
    try {
        m.Lines()->setText(QStringLiteral("abcdef"));
    } catch (const db::ProgrammingError &e) {
        refused = QString::fromUtf8(e.what()) == QStringLiteral("Invalid text size");
    }
    QVERIFY(refused);
    QCOMPARE(m.Text(), QStringLiteral("a\r\nb\r\nc"));
    m.Lines()->BeginUpdate();
    QVERIFY(!m.updatesEnabled());
    m.Lines()->Add(QStringLiteral("d"));
    m.Lines()->EndUpdate();
    QVERIFY(m.updatesEnabled());
    QCOMPARE(m.Lines()->Count(), 4);
    m.Lines()->Clear();
    QCOMPARE(m.Lines()->Count(), 0);
}

void TstZelSpockMemo::escapeRestoresThenReachesForm()
{
    TZelSpockMemo *m = memo();
    showWindow();
    m->setFocus();
    QTRY_VERIFY(m->Focused());
    m->moveCursor(QTextCursor::End);
    QTest::keyClicks(m, QStringLiteral("x"));
    QCOMPARE(m->Text(), QStringLiteral("um\r\ndoisx"));
    QTest::keyClick(m, Qt::Key_Escape);
    QCOMPARE(m->Text(), QStringLiteral("um\r\ndois"));
    QCOMPARE(m_window->escapes, 0);
    QTest::keyClick(m, Qt::Key_Escape);
    QCOMPARE(m_window->escapes, 1);
}

void TstZelSpockMemo::pasteKeepsEveryLine()
{
    TZelSpockMemo *m = memo();
    showWindow();
    m->setFocus();
    QTRY_VERIFY(m->Focused());
    m->selectAll();
    QGuiApplication::clipboard()->setText(QStringLiteral("abc\r\ndef"));
    QTest::keyClick(m, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m->Text(), QStringLiteral("abc\r\ndef"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("abc\r\ndef"));
    QCOMPARE(m_notes->state(), db::DataSetState::Edit);
    // What the field cannot hold is not pasted.
    m->moveCursor(QTextCursor::End);
    QGuiApplication::clipboard()->setText(QString(60, u'z'));
    QTest::keyClick(m, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m->Text().size(), 40);
    QTest::keyClicks(m, QStringLiteral("y"));
    QCOMPARE(m->Text().size(), 40);
}

void TstZelSpockMemo::writeThroughAndLength()
{
    TZelSpockMemo *m = memo();
    QCOMPARE(m->MaxLength(), 40);
    m->setText(QStringLiteral("linha 1\nlinha 2"));
    QCOMPARE(m_notes->state(), db::DataSetState::Edit);
    QCOMPARE(m_notes->fieldByName(QStringLiteral("TEXTO")).asString(), QStringLiteral("linha 1\r\nlinha 2"));
    m->Clear();
    QVERIFY(m_notes->fieldByName(QStringLiteral("TEXTO")).isNull());
    QVERIFY(m->IsNull());
}

void TstZelSpockMemo::leavingShowsDisplayText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("nothing typed") << QString() << QStringLiteral("um\r\ndois");
    QTest::newRow("text typed") << QStringLiteral("x") << QStringLiteral("um\r\ndoisx");
}

void TstZelSpockMemo::leavingShowsDisplayText()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    // The field shows itself in capitals and is edited as stored.
    m_notes->fieldByName(QStringLiteral("TEXTO")).onGetText = [](db::Field &f, QString &text, bool display) {
        text = display ? f.asString().toUpper() : f.asString();
    };
    TZelSpockMemo *m = memo();
    showWindow();
    QCOMPARE(m->Text(), QStringLiteral("UM\r\nDOIS"));
    m->setFocus();
    QTRY_VERIFY(m->Focused());
    QCOMPARE(m->Text(), QStringLiteral("um\r\ndois"));
    m->moveCursor(QTextCursor::End);
    QTest::keyClicks(m, typed);
    m_other->setFocus();
    QTRY_VERIFY(!m->Focused());
    QCOMPARE(m_notes->fieldByName(QStringLiteral("TEXTO")).asString(), stored);
    QCOMPARE(m->Text(), stored.toUpper());
}

QTEST_MAIN(TstZelSpockMemo)
#include "tst_zelspockmemo.moc"
