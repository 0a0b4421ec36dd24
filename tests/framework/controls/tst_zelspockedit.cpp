#include "controlstestsupport.h"

#include "framework/controls/commonproperties.h"
#include "framework/controls/zelcolors.h"
#include "framework/controls/zellabel.h"
#include "framework/controls/zelpanel.h"
#include "framework/controls/zelspeedbutton.h"
#include "framework/controls/zelspockedit.h"
#include "framework/controls/zelspocklist.h"
#include "framework/controls/zelstaticfield.h"

#include "platform/mask/maskedlineedit.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

class TstZelSpockEdit : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void showsDisplayTextAndEditsWhenFocused();
    void writeThrough_data();
    void writeThrough();
    void typingStartsEditAndExitWrites();
    void escapeTwice();
    void paste_data();
    void paste();
    void ctrlEnter_data();
    void ctrlEnter();
    void lookUpMissingProperty_data();
    void lookUpMissingProperty();
    void lookUpRefresh_data();
    void lookUpRefresh();
    void lookUpPickerAssignsKey_data();
    void lookUpPickerAssignsKey();
    void widthFromField_data();
    void widthFromField();
    void maxLengthFromField();
    void clearBoundAndUnbound();
    void labelOnOtherParentIgnored();
    void companionsFollowEdit();
    void autoLabelAndDropDownWidth();
    void titleStrip();
    void coloursByState();
    void invalidCharacterDropped();
    void maskErrorKeepsFocus();
    void enterToNext_data();
    void enterToNext();

private:
    ControleData m_data;
    std::unique_ptr<FormWindow> m_window;
    TZelSpockEdit *edit(const QString &field, QWidget *parent = nullptr);
    void showWindow();
};

void TstZelSpockEdit::init()
{
    m_data.create();
    m_window = std::make_unique<FormWindow>();
    m_window->resize(500, 300);
    // Takes the focus when the window shows, so that no edit under test has it unasked.
    auto *sink = new QLineEdit(m_window.get());
    sink->setObjectName(QStringLiteral("sink"));
    sink->move(300, 250);
}

void TstZelSpockEdit::cleanup()
{
    m_window.reset();
    m_data.reset();
}

TZelSpockEdit *TstZelSpockEdit::edit(const QString &field, QWidget *parent)
{
    auto *e = new TZelSpockEdit(parent ? parent : m_window.get());
    e->setObjectName(QStringLiteral("edt") + field);
    e->setDataSource(m_data.source.get());
    e->setDataField(field);
    return e;
}

void TstZelSpockEdit::showWindow()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TstZelSpockEdit::showsDisplayTextAndEditsWhenFocused()
{
    TZelSpockEdit *nome = edit(QStringLiteral("CLI_NOME"));
    TZelSpockEdit *other = edit(QStringLiteral("LEILAO_NUMERO"));
    other->move(0, 100);
    showWindow();
    QCOMPARE(nome->text(), QStringLiteral("MARIA"));
    QVERIFY(nome->isReadOnly());
    nome->setFocusColor(QColor(255, 255, 200));
    nome->setFocus();
    QTRY_VERIFY(nome->Focused());
    QCOMPARE(nome->Color(), QColor(255, 255, 200));
    QCOMPARE(nome->selectedText(), QStringLiteral("MARIA"));
    m_data.ds->next();
    QCOMPARE(nome->text(), QStringLiteral("JOSE"));
    other->setFocus();
    QTRY_VERIFY(!nome->Focused());
    QCOMPARE(nome->Color(), ZelColors::clWindow());
}

void TstZelSpockEdit::writeThrough_data()
{
    QTest::addColumn<bool>("focused");
    QTest::addColumn<bool>("editing");
    QTest::addColumn<QString>("afterLeaving");
    QTest::newRow("unfocused writes the field") << false << false << QStringLiteral("PEDRO");
    QTest::newRow("focused only changes the text") << true << false << QStringLiteral("MARIA");
    // Text put in by code while the record is being edited is pending like typed text.
    QTest::newRow("focused while editing is written on leaving") << true << true << QStringLiteral("PEDRO");
}

void TstZelSpockEdit::writeThrough()
{
    QFETCH(bool, focused);
    QFETCH(bool, editing);
    QFETCH(QString, afterLeaving);
    TZelSpockEdit *nome = edit(QStringLiteral("CLI_NOME"));
    showWindow();
    if (editing)
        m_data.ds->edit();
    if (focused) {
        nome->setFocus();
        QTRY_VERIFY(nome->Focused());
    }
    nome->setText(QStringLiteral("PEDRO"));
    QCOMPARE(nome->text(), QStringLiteral("PEDRO"));
    QCOMPARE(m_data.ds->state() == db::DataSetState::Edit, !focused || editing);
    QCOMPARE(m_data.field(QStringLiteral("CLI_NOME")).asString(),
             focused ? QStringLiteral("MARIA") : QStringLiteral("PEDRO"));
    QLineEdit *sink = m_window->findChild<QLineEdit *>(QStringLiteral("sink"));
    sink->setFocus();
    QTRY_VERIFY(sink->hasFocus());
    QVERIFY(!nome->Focused());
    QCOMPARE(m_data.field(QStringLiteral("CLI_NOME")).asString(), afterLeaving);
    QCOMPARE(nome->text(), afterLeaving);
}

void TstZelSpockEdit::typingStartsEditAndExitWrites()
{
    TZelSpockEdit *nome = edit(QStringLiteral("CLI_NOME"));
    TZelSpockEdit *numero = edit(QStringLiteral("LEILAO_NUMERO"));
    numero->move(0, 100);
    showWindow();
    nome->setFocus();
    QTRY_VERIFY(nome->Focused());
    QTest::keyClick(nome, Qt::Key_End);
    QTest::keyClicks(nome, QStringLiteral(" SILVA"));
    // Non-ASCII typing arrives as a key event carrying the character.
    QKeyEvent cedilla(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("Ç"));
    QApplication::sendEvent(nome, &cedilla);
    QCOMPARE(m_data.ds->state(), db::DataSetState::Edit);
    QCOMPARE(nome->text(), QStringLiteral("MARIA SILVAÇ"));
    QCOMPARE(m_data.field(QStringLiteral("CLI_NOME")).asString(), QStringLiteral("MARIA"));
    numero->setFocus();
    QTRY_VERIFY(!nome->Focused());
    QCOMPARE(m_data.field(QStringLiteral("CLI_NOME")).asString(), QStringLiteral("MARIA SILVAÇ"));
}

void TstZelSpockEdit::escapeTwice()
{
    TZelSpockEdit *nome = edit(QStringLiteral("CLI_NOME"));
    showWindow();
    nome->setFocus();
    QTRY_VERIFY(nome->Focused());
    QTest::keyClicks(nome, QStringLiteral("ANA"));
    QCOMPARE(nome->text(), QStringLiteral("ANA"));
    QTest::keyClick(nome, Qt::Key_Escape);
    QCOMPARE(nome->text(), QStringLiteral("MARIA"));
    QCOMPARE(nome->selectedText(), QStringLiteral("MARIA"));
    QCOMPARE(m_window->escapes, 0);
    QTest::keyClick(nome, Qt::Key_Escape);
    QCOMPARE(nome->text(), QStringLiteral("MARIA"));
    QCOMPARE(m_window->escapes, 1);
}

void TstZelSpockEdit::paste_data()
{
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("fromMenu");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("left");
    QTest::newRow("CR LF keeps the first line")
        << QStringLiteral("abc\r\ndef") << false << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("LF alone joins the lines")
        << QStringLiteral("abc\ndef") << false << QStringLiteral("abcdef") << QStringLiteral("abcdef");
    QTest::newRow("context menu keeps the first line")
        << QStringLiteral("abc\r\ndef") << true << QStringLiteral("abc") << QStringLiteral("abc");
    QTest::newRow("context menu joins LF lines")
        << QStringLiteral("abc\ndef") << true << QStringLiteral("abcdef") << QStringLiteral("abcdef");
}

void TstZelSpockEdit::paste()
{
    QFETCH(QString, clipboard);
    QFETCH(bool, fromMenu);
    QFETCH(QString, pasted);
    QFETCH(QString, left);
    TZelSpockEdit *nome = edit(QStringLiteral("CLI_NOME"));
    showWindow();
    if (fromMenu)
        m_data.ds->edit(); // like the toolkit's edit, a read-only (browsing) edit offers no paste in its menu
    nome->setFocus();
    QTRY_VERIFY(nome->Focused());
    QApplication::clipboard()->setText(clipboard);
    if (fromMenu) {
        // Picks "Paste" in the edit's own context menu with the mouse.
        const QString pasteKey =
            u'\t' + QKeySequence(Qt::CTRL | Qt::Key_V).toString(QKeySequence::NativeText);
        bool picked = false;
        QTimer::singleShot(50, nome, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction *action : menu->actions()) {
                if (action->text().endsWith(pasteKey) && action->isEnabled()) {
                    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                    picked = true;
                    return;
                }
            }
            menu->close();
        });
        // Through the window, as the platform delivers it, so that the right click opens the menu.
        QTest::mouseClick(m_window->windowHandle(), Qt::RightButton, {},
                          nome->mapTo(m_window.get(), QPoint(5, 5)));
        QTRY_VERIFY(picked);
        QTRY_VERIFY(!QApplication::activePopupWidget());
    } else {
        QTest::keyClick(nome, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(nome->text(), pasted);
    QCOMPARE(QApplication::clipboard()->text(), left);
    QCOMPARE(m_data.ds->state(), db::DataSetState::Edit);
    QLineEdit *sink = m_window->findChild<QLineEdit *>(QStringLiteral("sink"));
    sink->setFocus();
    QTRY_VERIFY(!nome->Focused());
    QCOMPARE(m_data.field(QStringLiteral("CLI_NOME")).asString(), pasted);
}

void TstZelSpockEdit::ctrlEnter_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("edit") << int(ekEdit);
    QTest::newRow("list") << int(ekList);
}

void TstZelSpockEdit::ctrlEnter()
{
    QFETCH(int, kind);
    TZelSpockEdit *tipo = edit(QStringLiteral("CLI_TIPO_PESSOA"));
    tipo->setEditKind(TZelEditKind(kind));
    tipo->SpockList()->setItems({QStringLiteral("1 - Física"), QStringLiteral("2 - Jurídica")});
    tipo->SpockList()->setSeparator(QStringLiteral(" - "));
    int ctrlEnters = 0;
    tipo->OnCtrlEnter = [&](TZelSpockCustom *) { ++ctrlEnters; };
    showWindow();
    tipo->setFocus();
    QTRY_VERIFY(tipo->Focused());
    QTest::keyClick(tipo, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(ctrlEnters, 1);
    QCOMPARE(tipo->SpockList()->isDropped(), kind == ekList);
    QCOMPARE(m_data.ds->state(), kind == ekList ? db::DataSetState::Edit : db::DataSetState::Browse);
    QTest::keyClick(tipo, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(ctrlEnters, 2);
    QVERIFY(!tipo->SpockList()->isDropped());
    QCOMPARE(tipo->text(), QStringLiteral("1"));
}

void TstZelSpockEdit::lookUpMissingProperty_data()
{
    QTest::addColumn<bool>("withFunction");
    QTest::addColumn<QString>("message");
    QTest::newRow("no function") << false << QStringLiteral("Property LookUpFunction not Assigned");
    QTest::newRow("no picker class") << true << QStringLiteral("Property LookUpFormClass not Assigned");
}

void TstZelSpockEdit::lookUpMissingProperty()
{
    QFETCH(bool, withFunction);
    QFETCH(QString, message);
    TZelSpockEdit *doc = edit(QStringLiteral("CLI_DOCUMENTO"));
    doc->setEditKind(ekLookup);
    doc->setLookUpDataSet(m_data.ds.get());
    doc->setLookUpShowFields(QStringLiteral("ID;CLI_NOME"));
    doc->setLookUpKeyField(QStringLiteral("id"));
    doc->setLookUpResultField(QStringLiteral("cli_nome"));
    QCOMPARE(doc->LookUpKeyField(), QStringLiteral("ID"));
    int inits = 0, calls = 0;
    doc->OnInitDialog = [&](TZelSpockCustom *) { ++inits; };
    if (withFunction)
        doc->LookUpFunction = [&](db::DataSet *, const QString &, TFormClass, TFormClass, const QString &) {
            ++calls;
            return true;
        };
    showWindow();
    doc->setFocus();
    QTRY_VERIFY(doc->Focused());
    MessageBoxCloser closer;
    QTest::keyClick(doc, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(closer.texts, QStringList{message});
    QCOMPARE(inits, 0);
    QCOMPARE(calls, 0);
}

void TstZelSpockEdit::lookUpRefresh_data()
{
    QTest::addColumn<bool>("bound");
    QTest::addColumn<QString>("keyField");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("panel");
    QTest::newRow("bound key found") << true << QStringLiteral("ID") << QStringLiteral("2")
                                     << QStringLiteral("JOSE");
    QTest::newRow("bound key not found") << true << QStringLiteral("ID") << QStringLiteral("7") << QString();
    QTest::newRow("unbound integer key")
        << false << QStringLiteral("ID") << QStringLiteral("2") << QStringLiteral("JOSE");
    QTest::newRow("unbound text abc searches 0")
        << false << QStringLiteral("ID") << QStringLiteral("abc") << QStringLiteral("ZERO");
    QTest::newRow("unbound string key")
        << false << QStringLiteral("CLI_NOME") << QStringLiteral("jose") << QStringLiteral("JOSE");
    QTest::newRow("unbound fixed-char key not searched")
        << false << QStringLiteral("CODIGO") << QStringLiteral("ABC") << QString();
}

void TstZelSpockEdit::lookUpRefresh()
{
    QFETCH(bool, bound);
    QFETCH(QString, keyField);
    QFETCH(QString, typed);
    QFETCH(QString, panel);
    m_data.db->exec(QStringLiteral("insert into CONTROLE (ID, CLI_NOME, CODIGO) values (0, 'ZERO', 'ABC')"));
    m_data.ds->close();
    m_data.open();
    // The look-up source: a second data set on the same table, positioned away from the wanted row.
    db::DataSet clients;
    clients.setDatabase(&m_data.db->database());
    clients.setTransaction(&m_data.db->transaction());
    clients.setSelectSql(QStringLiteral("select ID, CLI_NOME, CODIGO from CONTROLE order by ID"));

    TZelSpockEdit *key = bound ? edit(QStringLiteral("NOTA_NUMERO")) : new TZelSpockEdit(m_window.get());
    key->move(0, 30);
    auto *description = new TZelPanel(m_window.get());
    key->setZelPanel(description);
    key->setEditKind(ekLookup);
    key->setLookUpKeyField(keyField);
    key->setLookUpResultField(QStringLiteral("CLI_NOME"));
    QList<bool> answers;
    key->OnChangeLookUp = [&](bool found) { answers << found; };
    int ownAfterOpen = 0;
    clients.afterOpen = [&](db::DataSet &) { ++ownAfterOpen; }; // must still run under the edit's hook
    key->setLookUpDataSet(&clients);
    clients.open();
    QCOMPARE(ownAfterOpen, 1);
    clients.last();

    TZelSpockEdit *other = new TZelSpockEdit(m_window.get());
    other->move(0, 150);
    showWindow();
    key->setFocus();
    QTRY_VERIFY(key->Focused());
    QTest::keyClick(key, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(key, typed);
    answers.clear();
    other->setFocus();
    QTRY_VERIFY(!key->Focused());
    QCOMPARE(description->Caption(), panel);
    QVERIFY(!answers.isEmpty());
    QCOMPARE(answers.last(), !panel.isEmpty());
}

void TstZelSpockEdit::lookUpPickerAssignsKey_data()
{
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("panel");
    QTest::newRow("confirmed choice is stored") << true << 2 << QStringLiteral("JOSE");
    // Closing the picker chooses nothing, wherever it left its data set.
    QTest::newRow("closed picker changes nothing") << false << 1234 << QString();
}

void TstZelSpockEdit::lookUpPickerAssignsKey()
{
    QFETCH(bool, confirmed);
    QFETCH(int, stored);
    QFETCH(QString, panel);
    db::DataSet clients;
    clients.setDatabase(&m_data.db->database());
    clients.setTransaction(&m_data.db->transaction());
    clients.setSelectSql(QStringLiteral("select ID, CLI_NOME from CONTROLE order by ID"));
    clients.open();
    TZelSpockEdit *numero = edit(QStringLiteral("NOTA_NUMERO"));
    auto *description = new TZelPanel(m_window.get());
    numero->setZelPanel(description);
    numero->setEditKind(ekLookup);
    numero->setLookUpDataSet(&clients);
    numero->setLookUpShowFields(QStringLiteral("ID;CLI_NOME"));
    numero->setLookUpKeyField(QStringLiteral("ID"));
    numero->setLookUpResultField(QStringLiteral("CLI_NOME"));
    numero->LookUpFormClass = &QWidget::staticMetaObject;
    QStringList steps;
    numero->OnInitDialog = [&](TZelSpockCustom *) { steps << QStringLiteral("init"); };
    numero->OnCloseDialog = [&](TZelSpockCustom *) { steps << QStringLiteral("close"); };
    numero->LookUpFunction = [&](db::DataSet *ds, const QString &show, TFormClass reg, TFormClass form,
                                 const QString &) {
        steps << QStringLiteral("pick:") + show;
        if (reg != nullptr || form != &QWidget::staticMetaObject)
            steps << QStringLiteral("wrong classes");
        ds->last(); // the picker ends on JOSE (ID 2)
        return confirmed;
    };
    showWindow();
    QEvent request(ZelEvents::OpenRequest);
    QApplication::sendEvent(numero, &request);
    QCOMPARE(steps, (QStringList{QStringLiteral("init"), QStringLiteral("pick:ID;CLI_NOME"),
                                 QStringLiteral("close")}));
    QCOMPARE(m_data.field(QStringLiteral("NOTA_NUMERO")).asInteger(), stored);
    QCOMPARE(numero->text(), QString::number(stored));
    QCOMPARE(m_data.ds->state(), confirmed ? db::DataSetState::Edit : db::DataSetState::Browse);
    QCOMPARE(description->Caption(), panel);
}

void TstZelSpockEdit::widthFromField_data()
{
    QTest::addColumn<int>("labelWidth");
    QTest::addColumn<int>("width");
    QTest::newRow("display width 10") << 0 << 69;
    QTest::newRow("wider label") << 90 << 93;
    QTest::newRow("narrow label") << 40 << 69;
}

void TstZelSpockEdit::widthFromField()
{
    QFETCH(int, labelWidth);
    QFETCH(int, width);
    auto *e = new TZelSpockEdit(m_window.get());
    e->setDataSource(m_data.source.get());
    auto *label = e->ZelLabel();
    QVERIFY(label);
    label->setAutoSize(false);
    label->resize(labelWidth, label->height());
    if (labelWidth == 0)
        e->setZelLabel(nullptr);
    e->setDataField(QStringLiteral("LEILAO_NUMERO")); // varchar(10)
    QCOMPARE(e->width(), width);
    if (labelWidth)
        QCOMPARE(label->Caption(), QStringLiteral("LEILAO_NUMERO"));
}

void TstZelSpockEdit::maxLengthFromField()
{
    TZelSpockEdit *nome = edit(QStringLiteral("CLI_NOME")); // varchar(20)
    QCOMPARE(nome->MaxLength(), 20);
    TZelSpockEdit *fixed = edit(QStringLiteral("CLI_DOCUMENTO"), nullptr);
    fixed->setMaxLength(10);
    m_data.ds->next();
    QCOMPARE(fixed->MaxLength(), 10);
    m_data.ds->close();
    QCOMPARE(nome->MaxLength(), 20);
    m_data.open();
    // The derived length is reset when the data set reopens and taken again at the next display.
    QCOMPARE(nome->MaxLength(), 20);
    QCOMPARE(fixed->MaxLength(), 10);
    showWindow();
    nome->setFocus();
    QTRY_VERIFY(nome->Focused());
    QTest::keyClick(nome, Qt::Key_End);
    QTest::keyClicks(nome, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    QCOMPARE(nome->text().size(), 20);
}

void TstZelSpockEdit::clearBoundAndUnbound()
{
    auto *unbound = new TZelSpockEdit(m_window.get());
    unbound->setText(QStringLiteral("abc"));
    QVERIFY(unbound->IsNull());
    unbound->Clear();
    QCOMPARE(unbound->text(), QString());
    QVERIFY(unbound->IsNull());

    TZelSpockEdit *nome = edit(QStringLiteral("CLI_NOME"));
    m_data.ds->edit();
    QVERIFY(!nome->IsNull());
    nome->Clear();
    QVERIFY(nome->IsNull());
    QVERIFY(m_data.field(QStringLiteral("CLI_NOME")).isNull());
}

void TstZelSpockEdit::labelOnOtherParentIgnored()
{
    TZelSpockEdit *nome = edit(QStringLiteral("CLI_NOME"));
    TZelLabel *before = nome->ZelLabel();
    QVERIFY(before);
    QWidget elsewhere(m_window.get());
    auto *stranger = new TZelLabel(&elsewhere);
    nome->setZelLabel(stranger);
    QCOMPARE(nome->ZelLabel(), before);
    QCOMPARE(before->Caption(), QStringLiteral("CLI_NOME"));
}

void TstZelSpockEdit::companionsFollowEdit()
{
    TZelSpockEdit *tipo = edit(QStringLiteral("CLI_TIPO_PESSOA"));
    tipo->setGeometry(100, 50, 60, 21);
    TZelLabel *label = tipo->ZelLabel();
    label->setAutoSize(false);
    label->resize(50, 13);
    tipo->setZelLabel(nullptr);
    tipo->setZelLabel(label);
    auto *panel = new TZelPanel(m_window.get());
    panel->resize(120, 30);
    auto *button = new TZelSpeedButton(m_window.get());
    tipo->setZelPanel(panel);
    tipo->setZelSpeedButton(button);
    QCOMPARE(label->pos(), QPoint(100, 50 - 13 - 2));
    QCOMPARE(ZelColors::fontColor(label), ZelColors::clNavy());
    QCOMPARE(panel->geometry(), QRect(100 + 60 + 4, 50, 120, 21));
    QCOMPARE(button->geometry(), QRect(100 - 21 - 2, 50, 21, 21));
    QCOMPARE(button->ZelIcon(), bcBlack);

    showWindow();
    tipo->move(130, 80);
    QCOMPARE(label->pos(), QPoint(130, 80 - 15));
    QCOMPARE(panel->pos(), QPoint(194, 80));
    QCOMPARE(button->pos(), QPoint(107, 80));

    tipo->setEnabled(false);
    QVERIFY(!panel->isEnabled());
    QVERIFY(!button->isEnabled());
    QVERIFY(label->isEnabled());
    tipo->setEnabled(true);
    QVERIFY(panel->isEnabled() && button->isEnabled());

    tipo->setFocus();
    QTRY_VERIFY(tipo->Focused());
    QCOMPARE(ZelColors::fontColor(label), ZelColors::clRed());
    QCOMPARE(ZelColors::color(panel), panel->FocusColor());

    // The button sends the open request to its edit.
    int requests = 0;
    tipo->OnCtrlEnter = [&](TZelSpockCustom *) { ++requests; };
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(requests, 1);

    delete label;
    QCOMPARE(tipo->ZelLabel(), nullptr);
}

void TstZelSpockEdit::autoLabelAndDropDownWidth()
{
    auto *first = new TZelSpockEdit(m_window.get());
    auto *second = new TZelSpockEdit(m_window.get());
    QCOMPARE(first->ZelLabel()->objectName(), QStringLiteral("ZelLabel1"));
    QCOMPARE(second->ZelLabel()->objectName(), QStringLiteral("ZelLabel2"));
    QCOMPARE(second->ZelLabel()->Caption(), QStringLiteral("ZelLabel2"));
    QCOMPARE(first->SpockList()->Width(), first->width());

    auto *edit = new TZelSpockEdit(m_window.get());
    edit->SpockList()->setWidth(0);
    edit->setGeometry(10, 10, 50, 21);
    auto *panel = new TZelPanel(m_window.get());
    panel->resize(100, 21);
    edit->SpockList()->setWidth(0);
    edit->setZelPanel(panel);
    QCOMPARE(edit->SpockList()->Width(), 50 + 4 + 100);
    edit->SpockList()->setWidth(80);
    edit->move(20, 20);
    QCOMPARE(edit->SpockList()->Width(), 80);
}

void TstZelSpockEdit::titleStrip()
{
    auto *e = new TZelSpockEdit(m_window.get());
    e->setObjectName(QStringLiteral("edtNome2"));
    e->resize(100, 21);
    e->StaticField()->Label()->resize(50, 13);
    e->StaticField()->setVisible(true);
    QCOMPARE(e->height(), 34);
    QCOMPARE(e->textMargins().top(), 13);
    QCOMPARE(e->StaticField()->Label()->parentWidget(), e);
    QCOMPARE(e->StaticField()->Label()->Caption(), QStringLiteral("edtNomeTitle"));
    e->StaticField()->setVisible(false);
    QCOMPARE(e->height(), 21);
    QCOMPARE(e->textMargins().top(), 0);
    QCOMPARE(e->StaticField()->Label()->parentWidget(), nullptr);
}

void TstZelSpockEdit::coloursByState()
{
    TZelSpockEdit *nome = edit(QStringLiteral("CLI_NOME"));
    const QColor grey(200, 200, 200);
    nome->setColor(QColor(250, 250, 210));
    nome->setDisabledColor(grey);
    nome->setDisabledFontColor(Qt::darkGray);
    nome->setEnabled(false);
    QCOMPARE(nome->Color(), grey);
    QCOMPARE(nome->FontColor(), QColor(Qt::darkGray));
    nome->setDisabledColor(Qt::blue);
    QCOMPARE(nome->Color(), QColor(Qt::blue));
    nome->setEnabled(true);
    QCOMPARE(nome->Color(), QColor(250, 250, 210));
    // A disabled parent does not count as disabling the edit itself.
    QWidget *parent = m_window.get();
    parent->setEnabled(false);
    QCOMPARE(nome->Color(), QColor(250, 250, 210));
    parent->setEnabled(true);
}

void TstZelSpockEdit::invalidCharacterDropped()
{
    TZelSpockEdit *numero = edit(QStringLiteral("NOTA_NUMERO"));
    showWindow();
    numero->setFocus();
    QTRY_VERIFY(numero->Focused());
    QTest::keyClick(numero, Qt::Key_End);
    QTest::keyClicks(numero, QStringLiteral("5a-"));
    QCOMPARE(numero->text(), QStringLiteral("12345-"));
}

void TstZelSpockEdit::maskErrorKeepsFocus()
{
    ErrorCatcher errors;
    TZelSpockEdit *doc = edit(QStringLiteral("CLI_DOCUMENTO"));
    doc->setEditMask(QStringLiteral("000.000;0; "));
    auto *other = new TZelSpockEdit(m_window.get());
    other->move(0, 100);
    showWindow();
    doc->setFocus();
    QTRY_VERIFY(doc->Focused());
    QTest::keyClicks(doc, QStringLiteral("12"));
    other->setFocus();
    QTRY_COMPARE(errors.messages.size(), 1);
    QTRY_VERIFY(doc->hasFocus());
    QVERIFY(doc->Focused());
    QTest::keyClicks(doc, QStringLiteral("123456")); // over the selected text
    other->setFocus();
    QTRY_VERIFY(!doc->Focused());
    QCOMPARE(m_data.field(QStringLiteral("CLI_DOCUMENTO")).asString(), QStringLiteral("123456"));
    QCOMPARE(errors.messages.size(), 1);
}

void TstZelSpockEdit::enterToNext_data()
{
    QTest::addColumn<bool>("onWindow");
    QTest::newRow("window parent moves the focus") << true;
    QTest::newRow("panel parent ignores the request") << false;
}

void TstZelSpockEdit::enterToNext()
{
    QFETCH(bool, onWindow);
    QWidget *holder = m_window.get();
    if (!onWindow) {
        holder = new QWidget(m_window.get());
        holder->resize(300, 200);
    }
    auto *first = new TZelSpockEdit(holder);
    auto *second = new TZelSpockEdit(holder);
    second->move(0, 50);
    first->setEnterToNext(true);
    showWindow();
    first->setFocus();
    QTRY_VERIFY(first->hasFocus());
    QTest::keyClick(first, Qt::Key_Return);
    QCOMPARE(second->hasFocus(), onWindow);
    QCOMPARE(first->text(), QString());
}

QTEST_MAIN(TstZelSpockEdit)
#include "tst_zelspockedit.moc"
