#include "controlstestsupport.h"

#include "framework/controls/zellistbox.h"
#include "framework/controls/zelpanel.h"
#include "framework/controls/zelspeedbutton.h"
#include "framework/controls/zelspockedit.h"
#include "framework/controls/zelspockform.h"
#include "framework/controls/zelspocklist.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

class TstZelSpockList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void indexOfItem_data();
    void indexOfItem();
    void indexOfValue_data();
    void indexOfValue();
    void unmappedList_data();
    void unmappedList();
    void mappedListShowsAndStores();
    void mappedListRefusesUnknownCode();
    void mappedListClosedWithoutChoiceKeepsValue_data();
    void mappedListClosedWithoutChoiceKeepsValue();
    void dropDownKeys_data();
    void dropDownKeys();
    void dropDownHeight_data();
    void dropDownHeight();
    void clickOnAnotherControlTakesHighlight();
    void mousePicksItem();
    void hiddenEditClosesAtOnce();

private:
    ControleData m_data;
    std::unique_ptr<FormWindow> m_window;
    QLineEdit *m_other = nullptr;
    int m_updateErrors = 0;
    TZelSpockEdit *tipo(const QString &field = QStringLiteral("CLI_TIPO_PESSOA"),
                        const std::function<void(TZelSpockEdit *)> &configure = {});
    void showWindow();
};

void TstZelSpockList::init()
{
    m_data.create();
    m_window = std::make_unique<FormWindow>();
    m_window->resize(500, 300);
    m_other = new QLineEdit(m_window.get());
    m_other->setObjectName(QStringLiteral("other"));
    m_other->move(300, 250);
    m_updateErrors = 0;
}

void TstZelSpockList::cleanup()
{
    m_window.reset();
    m_data.reset();
}

TZelSpockEdit *TstZelSpockList::tipo(const QString &field,
                                     const std::function<void(TZelSpockEdit *)> &configure)
{
    auto *e = new TZelSpockEdit(m_window.get());
    e->setObjectName(QStringLiteral("edtTipoPessoa"));
    e->SpockList()->setWidth(0); // the width follows the edit and its panel
    e->setGeometry(40, 40, 60, 21);
    e->setEditKind(ekList);
    e->SpockList()->setItems(
        {QStringLiteral("1 - Física"), QStringLiteral("2 - Jurídica"), QStringLiteral("3 - Estrangeira")});
    e->SpockList()->setSeparator(QStringLiteral(" - "));
    auto *panel = new TZelPanel(m_window.get());
    panel->setObjectName(QStringLiteral("pnlTipoPessoa"));
    panel->resize(120, 21);
    e->setZelPanel(panel);
    e->OnUpdateError = [this](TZelSpockCustom *) { ++m_updateErrors; };
    if (configure)
        configure(e);
    e->setDataSource(m_data.source.get());
    e->setDataField(field);
    return e;
}

void TstZelSpockList::showWindow()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TstZelSpockList::indexOfItem_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("listType");
    QTest::addColumn<bool>("trim");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    const QStringList plain{QStringLiteral("1 - Física"), QStringLiteral("2 - Jurídica")};
    const QString sep = QStringLiteral(" - ");
    QTest::newRow("code") << plain << sep << int(stString) << true << QStringLiteral("2") << 1;
    QTest::newRow("code with blanks, trimmed")
        << plain << sep << int(stString) << true << QStringLiteral(" 2 ") << 1;
    QTest::newRow("unknown code") << plain << sep << int(stString) << true << QStringLiteral("3") << -1;
    QTest::newRow("01 is not 1 as text")
        << plain << sep << int(stString) << true << QStringLiteral("01") << -1;
    QTest::newRow("01 is 1 as integer")
        << plain << sep << int(stInteger) << true << QStringLiteral("01") << 0;
    QTest::newRow("not an integer reads 0") << QStringList{QStringLiteral("0 - Nenhum")} << sep
                                            << int(stInteger) << true << QStringLiteral("x") << 0;
    QTest::newRow("leading blank kept without TrimValue")
        << QStringList{QStringLiteral(" 1 - Física")} << sep << int(stString) << false << QStringLiteral("1")
        << -1;
    QTest::newRow("leading blank dropped with TrimValue")
        << QStringList{QStringLiteral(" 1 - Física")} << sep << int(stString) << true << QStringLiteral("1")
        << 0;
    QTest::newRow("case counts") << QStringList{QStringLiteral("A - Ativo")} << sep << int(stString) << true
                                 << QStringLiteral("a") << -1;
    QTest::newRow("item without separator has an empty code")
        << QStringList{QStringLiteral("Física"), QStringLiteral(" - vazio")} << sep << int(stString) << true
        << QString() << 0;
    QTest::newRow("blank separator: the whole item is the code")
        << QStringList{QStringLiteral("1 x"), QStringLiteral("1")} << QStringLiteral(" ") << int(stString)
        << true << QStringLiteral("1") << 1;
}

void TstZelSpockList::indexOfItem()
{
    QFETCH(QStringList, items);
    QFETCH(QString, separator);
    QFETCH(int, listType);
    QFETCH(bool, trim);
    QFETCH(QString, text);
    QFETCH(int, expected);
    TZelSpockEdit edit;
    TZelSpockList *list = edit.SpockList();
    list->setItems(items);
    list->setSeparator(separator);
    list->setListDataType(TListDataType(listType));
    list->setTrimValue(trim);
    QCOMPARE(list->IndexOfItem(text), expected);
}

void TstZelSpockList::indexOfValue_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<int>("mapType");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("string, case ignored")
        << QStringList{QStringLiteral("A"), QStringLiteral("b")} << int(stString) << QStringLiteral("B") << 1;
    QTest::newRow("string, blanks count") << QStringList{QStringLiteral("A"), QStringLiteral("B")}
                                          << int(stString) << QStringLiteral("B ") << -1;
    QTest::newRow("integer, trimmed") << QStringList{QStringLiteral("1"), QStringLiteral(" 02")}
                                      << int(stInteger) << QStringLiteral("2 ") << 1;
    QTest::newRow("absent") << QStringList{QStringLiteral("1")} << int(stInteger) << QStringLiteral("7")
                            << -1;
}

void TstZelSpockList::indexOfValue()
{
    QFETCH(QStringList, values);
    QFETCH(int, mapType);
    QFETCH(QString, value);
    QFETCH(int, expected);
    TZelSpockEdit edit;
    edit.SpockList()->setValues(values);
    edit.SpockList()->setMapDataType(TListDataType(mapType));
    QCOMPARE(edit.SpockList()->IndexOfValue(value), expected);
}

void TstZelSpockList::unmappedList_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("other item") << QStringLiteral("2") << QStringLiteral("Jurídica") << QVariant(2);
    QTest::newRow("code outside the list") << QStringLiteral("7") << QString() << QVariant(7);
}

void TstZelSpockList::unmappedList()
{
    QFETCH(QString, typed);
    QFETCH(QString, description);
    QFETCH(QVariant, stored);
    TZelSpockEdit *edit = tipo();
    showWindow();
    QCOMPARE(edit->text(), QStringLiteral("1"));
    QCOMPARE(edit->ZelPanel()->Caption(), QStringLiteral("Física"));

    edit->setFocus();
    QTRY_VERIFY(edit->Focused());
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), typed);
    QCOMPARE(edit->ZelPanel()->Caption(), description);
    QCOMPARE(m_data.ds->state(), db::DataSetState::Edit);
    m_other->setFocus();
    QTRY_VERIFY(!edit->Focused());
    QCOMPARE(m_data.field(QStringLiteral("CLI_TIPO_PESSOA")).value().toInt(), stored.toInt());
    QCOMPARE(m_updateErrors, 0);
}

void TstZelSpockList::mappedListShowsAndStores()
{
    m_data.ds->edit();
    m_data.field(QStringLiteral("OBS")).setAsString(QStringLiteral("b"));
    m_data.ds->post();
    TZelSpockEdit *edit = tipo(QStringLiteral("OBS"), [](TZelSpockEdit *e) {
        e->SpockList()->setMapValues(true);
        e->SpockList()->setValues({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    });
    showWindow();
    QCOMPARE(edit->text(), QStringLiteral("2"));
    QCOMPARE(edit->ZelPanel()->Caption(), QStringLiteral("Jurídica"));

    // Choosing the first item from the dropdown stores its mapped value.
    edit->setFocus();
    QTRY_VERIFY(edit->Focused());
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(edit->SpockList()->isDropped());
    QCOMPARE(edit->SpockList()->listBox()->ItemIndex(), 1);
    QTest::keyClick(edit, Qt::Key_Up);
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(!edit->SpockList()->isDropped());
    QCOMPARE(edit->text(), QStringLiteral("1"));
    QCOMPARE(edit->ZelPanel()->Caption(), QStringLiteral("Física"));
    m_other->setFocus();
    QTRY_VERIFY(!edit->Focused());
    QCOMPARE(m_data.field(QStringLiteral("OBS")).asString(), QStringLiteral("A"));
    QCOMPARE(edit->text(), QStringLiteral("1"));
}

void TstZelSpockList::mappedListRefusesUnknownCode()
{
    TZelSpockEdit *edit = tipo(QStringLiteral("OBS"));
    edit->SpockList()->setMapValues(true);
    edit->SpockList()->setValues({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    showWindow();
    edit->setFocus();
    QTRY_VERIFY(edit->Focused());
    QTest::keyClicks(edit, QStringLiteral("9"));
    QCOMPARE(edit->ZelPanel()->Caption(), QString());
    m_other->setFocus();
    QTRY_VERIFY(!edit->Focused());
    QCOMPARE(m_updateErrors, 1);
    QCOMPARE(edit->text(), QString());
    QVERIFY(m_data.field(QStringLiteral("OBS")).isNull());
}

enum class CloseWay { Escape, SecondRequest, ButtonTwice, ClickElsewhere };
Q_DECLARE_METATYPE(CloseWay)

void TstZelSpockList::mappedListClosedWithoutChoiceKeepsValue_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<CloseWay>("way");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");

    const QString unmapped = QStringLiteral("Z");
    const QString mapped = QStringLiteral("B");
    for (bool editing : {false, true}) {
        const char *state = editing ? "edit" : "browse";
        QTest::addRow("unmapped, %s, escape", state)
            << unmapped << editing << CloseWay::Escape << QString() << QString() << unmapped;
        QTest::addRow("unmapped, %s, second ctrl+enter", state)
            << unmapped << editing << CloseWay::SecondRequest << QString() << QString() << unmapped;
        QTest::addRow("unmapped, %s, button twice", state)
            << unmapped << editing << CloseWay::ButtonTwice << QString() << QString() << unmapped;
        QTest::addRow("mapped, %s, escape", state)
            << mapped << editing << CloseWay::Escape << QStringLiteral("2") << QString() << mapped;
        QTest::addRow("mapped, %s, button twice", state)
            << mapped << editing << CloseWay::ButtonTwice << QStringLiteral("2") << QString() << mapped;
        // Leaving takes the highlighted item, here the one of the value already stored.
        QTest::addRow("mapped, %s, click elsewhere", state)
            << mapped << editing << CloseWay::ClickElsewhere << QStringLiteral("2") << QString() << mapped;
        // A code typed before the list opened is still the user's change and reaches the field.
        QTest::addRow("unmapped, %s, typed 3, escape", state)
            << unmapped << editing << CloseWay::Escape << QString() << QStringLiteral("3")
            << QStringLiteral("C");
    }
}

void TstZelSpockList::mappedListClosedWithoutChoiceKeepsValue()
{
    QFETCH(QString, stored);
    QFETCH(bool, editing);
    QFETCH(CloseWay, way);
    QFETCH(QString, shown);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    m_data.ds->edit();
    m_data.field(QStringLiteral("OBS")).setAsString(stored);
    m_data.ds->post();
    TZelSpockEdit *edit = tipo(QStringLiteral("OBS"), [](TZelSpockEdit *e) {
        e->SpockList()->setMapValues(true);
        e->SpockList()->setValues({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    });
    auto *button = new TZelSpeedButton(m_window.get());
    edit->setZelSpeedButton(button);
    if (editing)
        m_data.ds->edit();
    showWindow();
    QCOMPARE(edit->text(), shown);

    edit->setFocus();
    QTRY_VERIFY(edit->Focused());
    TZelSpockList *list = edit->SpockList();
    if (!typed.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
        shown = typed;
    }
    if (way == CloseWay::ButtonTwice)
        QTest::mouseClick(button, Qt::LeftButton);
    else
        QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    QVERIFY(list->isDropped());
    // The open request lets a pick reach the field: the record is being edited from here on.
    QCOMPARE(m_data.ds->state(), db::DataSetState::Edit);
    switch (way) {
    case CloseWay::Escape:
        QTest::keyClick(edit, Qt::Key_Escape);
        break;
    case CloseWay::SecondRequest:
        QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
        break;
    case CloseWay::ButtonTwice:
        QTest::mouseClick(button, Qt::LeftButton);
        break;
    case CloseWay::ClickElsewhere:
        QTest::mouseClick(m_other, Qt::LeftButton);
        break;
    }
    QVERIFY(!list->isDropped());
    QCOMPARE(edit->text(), shown);
    if (way != CloseWay::ClickElsewhere) {
        QVERIFY(edit->hasFocus());
        QTest::keyClick(edit, Qt::Key_Tab);
    }
    QTRY_VERIFY(!edit->Focused());

    QCOMPARE(m_updateErrors, 0);
    QCOMPARE(edit->text(), shown);
    QVERIFY(!m_data.field(QStringLiteral("OBS")).isNull());
    QCOMPARE(m_data.field(QStringLiteral("OBS")).asString(), kept);
    // Saving the record puts the same value into the table.
    m_data.ds->post();
    m_data.ds->close();
    m_data.open();
    QCOMPARE(m_data.field(QStringLiteral("OBS")).asString(), kept);
}

void TstZelSpockList::dropDownKeys_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<int>("stored");
    QTest::newRow("down follows") << QList<int>{Qt::Key_Down} << QStringLiteral("2") << true << 2;
    QTest::newRow("down twice, enter")
        << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << QStringLiteral("3") << false << 3;
    QTest::newRow("down, escape restores")
        << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Escape} << QStringLiteral("1") << false << 1;
    QTest::newRow("up at the top stays")
        << QList<int>{Qt::Key_Up, Qt::Key_Return} << QStringLiteral("1") << false << 1;
}

void TstZelSpockList::dropDownKeys()
{
    QFETCH(QList<int>, keys);
    QFETCH(QString, text);
    QFETCH(bool, dropped);
    QFETCH(int, stored);
    TZelSpockEdit *edit = tipo();
    int closeUps = 0;
    edit->OnCloseUp = [&](TZelSpockCustom *) { ++closeUps; };
    showWindow();
    edit->setFocus();
    QTRY_VERIFY(edit->Focused());
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    TZelSpockList *list = edit->SpockList();
    QVERIFY(list->isDropped());
    QCOMPARE(list->listBox()->ItemIndex(), 0);
    for (int key : keys)
        QTest::keyClick(edit, Qt::Key(key));
    QCOMPARE(edit->text(), text);
    QCOMPARE(list->isDropped(), dropped);
    QCOMPARE(closeUps, dropped ? 0 : 1);
    QCOMPARE(edit->ZelPanel()->Caption(), list->descriptionOf(list->Items().at(stored - 1)));
    QVERIFY(edit->hasFocus());
    // Escape and the keys the list took never reached the window.
    QCOMPARE(m_window->escapes, 0);
    m_other->setFocus();
    QTRY_VERIFY(!edit->Focused());
    QVERIFY(!list->isDropped());
    QCOMPARE(m_data.field(QStringLiteral("CLI_TIPO_PESSOA")).asInteger(), stored);
}

void TstZelSpockList::dropDownHeight_data()
{
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("maxHeight");
    QTest::addColumn<int>("expected");
    QTest::newRow("ten items, 43 at most") << 10 << 43 << 43;
    QTest::newRow("two items") << 2 << 43 << 30;
    QTest::newRow("two items, taller limit") << 2 << 200 << 30;
    QTest::newRow("no items") << 0 << 43 << 4;
}

void TstZelSpockList::dropDownHeight()
{
    QFETCH(int, items);
    QFETCH(int, maxHeight);
    QFETCH(int, expected);
    TZelSpockEdit *edit = tipo();
    QStringList list;
    for (int i = 1; i <= items; ++i)
        list << QStringLiteral("%1 - Item %1").arg(i);
    edit->SpockList()->setItems(list);
    edit->SpockList()->setItemHeight(13);
    edit->SpockList()->setHeight(maxHeight);
    showWindow();
    edit->setFocus();
    QTRY_VERIFY(edit->Focused());
    edit->OpenRequest();
    QWidget *window = edit->SpockList()->dropDownWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->height(), expected);
    const QPoint corner = edit->mapToGlobal(QPoint(0, 0));
    QCOMPARE(window->geometry().topLeft(), QPoint(corner.x(), corner.y() + edit->height() + 2));
    // Without a width of its own the list spans the edit and its panel.
    QCOMPARE(window->width(), 60 + 4 + 120);
    QCOMPARE(edit->SpockList()->listBox()->count(), items);
    QCOMPARE(edit->SpockList()->listBox()->ItemIndex(), items > 0 ? 0 : -1);
}

void TstZelSpockList::clickOnAnotherControlTakesHighlight()
{
    TZelSpockEdit *edit = tipo();
    showWindow();
    edit->setFocus();
    QTRY_VERIFY(edit->Focused());
    QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
    // The highlight moves without the text following it (mouse hot tracking).
    edit->SpockList()->listBox()->setItemIndex(2);
    QCOMPARE(edit->text(), QStringLiteral("1"));
    QTest::mouseClick(m_other, Qt::LeftButton);
    QTRY_VERIFY(!edit->Focused());
    QVERIFY(!edit->SpockList()->isDropped());
    QCOMPARE(edit->text(), QStringLiteral("3"));
    QCOMPARE(edit->ZelPanel()->Caption(), QStringLiteral("Estrangeira"));
    QCOMPARE(m_data.field(QStringLiteral("CLI_TIPO_PESSOA")).asInteger(), 3);
}

void TstZelSpockList::mousePicksItem()
{
    TZelSpockEdit *edit = tipo();
    edit->SpockList()->setHeight(200);
    showWindow();
    edit->setFocus();
    QTRY_VERIFY(edit->Focused());
    edit->OpenRequest();
    TZelListBox *box = edit->SpockList()->listBox();
    QVERIFY(QTest::qWaitForWindowExposed(edit->SpockList()->dropDownWindow()));
    const QRect second = box->visualItemRect(box->item(1));
    QMouseEvent move(QEvent::MouseMove, second.center(), box->viewport()->mapToGlobal(second.center()),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box->viewport(), &move);
    QTRY_COMPARE(box->ItemIndex(), 1);
    QCOMPARE(edit->text(), QStringLiteral("1")); // hot tracking moves the highlight only
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, second.center());
    QVERIFY(!edit->SpockList()->isDropped());
    QCOMPARE(edit->text(), QStringLiteral("2"));
    QCOMPARE(edit->ZelPanel()->Caption(), QStringLiteral("Jurídica"));
    QCOMPARE(edit->selectedText(), QStringLiteral("2"));
    QTRY_VERIFY(edit->hasFocus());
    m_other->setFocus();
    QTRY_VERIFY(!edit->Focused());
    QCOMPARE(m_data.field(QStringLiteral("CLI_TIPO_PESSOA")).asInteger(), 2);
}

void TstZelSpockList::hiddenEditClosesAtOnce()
{
    TZelSpockEdit *edit = tipo();
    int closeUps = 0;
    edit->OnCloseUp = [&](TZelSpockCustom *) {
        ++closeUps;
        throw std::runtime_error("ignored");
    };
    edit->SpockList()->DropDown(); // the window is not shown: the edit is not visible
    QVERIFY(!edit->SpockList()->isDropped());
    QCOMPARE(closeUps, 1);
    QVERIFY(!edit->SpockList()->dropDownWindow());

    showWindow();
    edit->setEnabled(false);
    edit->SpockList()->DropDown();
    QVERIFY(!edit->SpockList()->isDropped());
    QCOMPARE(closeUps, 2);
}

QTEST_MAIN(TstZelSpockList)
#include "tst_zelspocklist.moc"
