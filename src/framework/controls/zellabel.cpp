#include "zellabel.h"

#include "commonproperties.h"
#include "zelcolors.h"
#include "zelerrorhandler.h"
#include "zelpanel.h"
#include "zelspockdate.h"
#include "zelspockedit.h"
#include "zelspockfloat.h"
#include "zelstatusbar.h"

#include "platform/db/dataset.h"
#include "platform/regional/regional.h"

#include <QApplication>
#include <QDialog>
#include <QEnterEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>

#include <functional>

namespace {

/// The zoom window: its hiding closes the zoom.
class ZoomWindow final : public QWidget
{
public:
    explicit ZoomWindow(QWidget *owner) : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {}
    std::function<void()> onHide;

protected:
    void hideEvent(QHideEvent *event) override
    {
        QWidget::hideEvent(event);
        if (auto hide = std::exchange(onHide, nullptr))
            hide();
    }
};

QRect screenOf(const QWidget *w)
{
    const QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

} // namespace

// ------------------------------------------------------------------------------------------ zoom items

TZoomItem &TZoomItems::Add(const QString &dataField)
{
    m_items.push_back({dataField.toUpper()});
    return m_items.back();
}

void TZoomItems::setDataField(int i, const QString &dataField)
{
    m_items.at(size_t(i)).DataField = dataField.toUpper();
}

void TZoomItems::Delete(int i)
{
    if (i >= 0 && i < Count())
        m_items.erase(m_items.begin() + i);
}

void TZoomOptions::setEnabled(bool on)
{
    m_enabled = on;
    if (on)
        m_label->setLocateEnabled(false);
}

// -------------------------------------------------------------------------------------------- label

TZelLabel::TZelLabel(QWidget *parent)
    : QLabel(parent), m_commonProperties(new TCommonProperties(this)),
      m_companion([this](QEvent *e) { react(e); }), m_focusColor(ZelColors::clWindow()),
      m_focusFontColor(ZelColors::clRed())
{
    m_link.setControl(this);
    m_link.OnDataChange = [this](TZelFieldDataLink *) { showField(); };
    m_link.OnActiveChange = [this](TZelFieldDataLink *) { update(); };
}

TZelLabel::~TZelLabel()
{
    m_link.OnDataChange = nullptr;
    m_link.OnActiveChange = nullptr;
    if (m_zoom)
        static_cast<ZoomWindow *>(m_zoom.data())->onHide = nullptr;
    setFocusControl(nullptr);
}

void TZelLabel::setFocusControl(QWidget *control)
{
    if (control == FocusControl()) {
        m_companion.resync();
        return;
    }
    if (auto *edit = qobject_cast<TZelSpockCustom *>(FocusControl()); edit && edit->ZelLabel() == this)
        edit->setZelLabel(nullptr);
    m_companion.setControl(control);
    // Companions are attached before the edit learns its field, so the field is looked at on each click.
    m_boundEdit = qobject_cast<TZelSpockCustom *>(control) != nullptr;
    setBuddy(control);
}

void TZelLabel::applyCaption(const QString &caption)
{
    setText(caption);
    if (m_autoSize)
        adjustSize();
}

void TZelLabel::setCaption(const QString &caption)
{
    if (DataSource())
        return; // a bound label shows its field
    applyCaption(caption);
}

void TZelLabel::setAutoSize(bool on)
{
    m_autoSize = on;
    if (on)
        adjustSize();
}

void TZelLabel::setDataField(const QString &name)
{
    m_link.setFieldName(name.toUpper());
}

void TZelLabel::setDataSource(db::DataSource *source)
{
    m_link.setDataSource(source);
    showField();
}

void TZelLabel::showField()
{
    if (!DataSource())
        return;
    db::Field *f = m_link.Field();
    applyCaption(f ? f->displayText() : QString());
}

void TZelLabel::Loaded()
{
    if (DataSource())
        applyCaption(QString());
    showField();
}

void TZelLabel::setLocateEnabled(bool on)
{
    m_locateEnabled = on;
    if (on)
        m_zoomOptions.setEnabled(false);
}

void TZelLabel::react(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        m_savedColor = ZelColors::color(this);
        m_savedFontColor = ZelColors::fontColor(this);
        ZelColors::setFontColor(this, m_focusFontColor);
        break;
    case QEvent::FocusOut:
        if (m_savedFontColor.isValid()) {
            ZelColors::setColor(this, m_savedColor);
            ZelColors::setFontColor(this, m_savedFontColor);
        }
        break;
    case QEvent::Move:
        zelFollowMove(this, m_companion.takeDisplacement());
        break;
    default:
        break;
    }
}

// ------------------------------------------------------------------------------------ cursor and click

bool TZelLabel::CanQuickSearch() const
{
    const auto *edit = qobject_cast<const TZelSpockCustom *>(FocusControl());
    if (!edit || !m_boundEdit || !m_locateEnabled || edit->DataField().isEmpty())
        return false;
    const db::DataSet *ds = edit->DataSource() ? edit->DataSource()->dataSet() : nullptr;
    return ds && ds->state() == db::DataSetState::Browse;
}

bool TZelLabel::CanZoom() const
{
    const db::DataSource *source = m_zoomOptions.DataSource();
    return source && source->dataSet() && m_zoomItems.Count() > 0 && m_zoomOptions.Enabled();
}

void TZelLabel::enterEvent(QEnterEvent *event)
{
    setCursor(CanQuickSearch() || CanZoom() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QLabel::enterEvent(event);
}

void TZelLabel::leaveEvent(QEvent *event)
{
    setCursor(Qt::ArrowCursor);
    QLabel::leaveEvent(event);
}

void TZelLabel::mousePressEvent(QMouseEvent *event)
{
    QLabel::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    try {
        if (m_zoomOptions.Enabled())
            ToggleZoom();
        else if (CanQuickSearch())
            QuickSearch();
    } catch (...) {
        ZelErrorHandler::handle(std::current_exception());
    }
}

// -------------------------------------------------------------------------------------- quick search

bool TZelLabel::QuickSearch()
{
    auto *edit = qobject_cast<TZelSpockCustom *>(FocusControl());
    if (!edit)
        return false;
    auto *form = new QDialog(this, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    form->setObjectName(QStringLiteral("QuickSearchForm"));
    m_quickSearch = form;
    struct Forget
    {
        TZelLabel *label;
        QDialog *form;
        ~Forget()
        {
            label->m_quickSearch = nullptr;
            label->m_searchEdit = nullptr;
            delete form;
        }
    } forget{this, form};

    auto *prompt = new QLabel(QStringLiteral("Informe o valor que você procura"), form);
    prompt->move(4, 4);
    prompt->adjustSize();

    // The kind of the focus control decides how the value is typed: a number, a date, or text.
    TZelSpockCustom *search = nullptr;
    if (auto *number = qobject_cast<TZelSpockFloat *>(edit)) {
        auto *e = new TZelSpockFloat(form);
        e->setIntegerPlaces(number->IntegerPlaces());
        e->setDecimalPlaces(number->DecimalPlaces());
        search = e;
    } else if (auto *date = qobject_cast<TZelSpockDate *>(edit)) {
        auto *e = new TZelSpockDate(form);
        e->setDisplayFormat(date->DisplayFormat());
        search = e;
    } else {
        search = new TZelSpockEdit(form);
    }
    // A search box needs no caption of its own: the prompt stands above it.
    if (TZelLabel *own = search->ZelLabel()) {
        search->setZelLabel(nullptr);
        delete own;
    }
    search->setObjectName(QStringLiteral("edtSearch"));
    search->setGeometry(4, 20, 325, search->height());
    search->setText(QString());
    m_searchEdit = search;

    auto *status = new TZelStatusBar(form);
    status->setSimplePanel(false);
    status->addPanel(110, QStringLiteral("<ENTER> - Procurar"));
    status->addPanel(0, QStringLiteral("<ESC> - Sair"));
    form->setWindowTitle(QStringLiteral("Procurar por <") + Caption() + u'>');
    form->setFixedSize(342, 93);
    status->setGeometry(0, form->height() - 22, form->width(), 22);

    const QRect screen = screenOf(edit);
    const QPoint origin = edit->mapToGlobal(QPoint(0, 0));
    int top = origin.y() + edit->height() - 1;
    if (top + form->height() > screen.height())
        top = screen.height() - form->height();
    int left = origin.x() - 3;
    if (left + form->width() > screen.width())
        left = screen.width() - form->width();
    form->move(left, top);

    form->installEventFilter(this);
    search->installEventFilter(this);
    search->setFocus();
    return form->exec() == QDialog::Accepted;
}

bool TZelLabel::eventFilter(QObject *watched, QEvent *event)
{
    if (m_quickSearch && (watched == m_quickSearch || watched == m_searchEdit) &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter && key->key() != Qt::Key_Escape)
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        try {
            searchKey(key);
        } catch (...) {
            ZelErrorHandler::handle(std::current_exception());
        }
        return true;
    }
    return QLabel::eventFilter(watched, event);
}

void TZelLabel::searchKey(QKeyEvent *key)
{
    QDialog *form = m_quickSearch;
    if (key->key() == Qt::Key_Escape) {
        form->reject();
        return;
    }
    auto *edit = qobject_cast<TZelSpockCustom *>(FocusControl());
    auto *search = qobject_cast<TZelSpockCustom *>(m_searchEdit.data());
    if (!edit || !search || !edit->DataSource() || !edit->DataSource()->dataSet())
        return;
    QVariant value = search->Text();
    if (auto *date = qobject_cast<TZelSpockDate *>(search)) {
        bool isDate = false;
        const QDate d = date->DisplayTextToDate(date->displayText(), &isDate);
        value = isDate ? QVariant(d) : QVariant(search->Text());
    } else if (qobject_cast<TZelSpockFloat *>(search)) {
        QString plain = search->Text();
        plain.remove(regional::settings().thousandSeparator);
        double d = 0;
        if (regional::textToFloat(plain, d))
            value = d;
    }
    if (edit->DataSource()->dataSet()->locate(
            edit->DataField(), value, db::LocateOption::CaseInsensitive | db::LocateOption::PartialKey))
        form->accept();
    else
        QMessageBox::information(form, QApplication::applicationName(), QStringLiteral("Não encontrado"));
}

// ---------------------------------------------------------------------------------------------- zoom

void TZelLabel::ToggleZoom()
{
    if (m_zoom) {
        closeZoom(false);
        return;
    }
    if (!CanZoom())
        return;
    try {
        buildZoom();
    } catch (...) {
        // A zoom that cannot be built shows nothing.
        if (m_zoom) {
            static_cast<ZoomWindow *>(m_zoom.data())->onHide = nullptr;
            delete m_zoom.data();
        }
        m_zoom = nullptr;
    }
}

void TZelLabel::closeZoom(bool fromHide)
{
    auto *window = static_cast<ZoomWindow *>(m_zoom.data());
    m_zoom = nullptr;
    if (!window)
        return;
    window->onHide = nullptr;
    if (fromHide)
        window->deleteLater();
    else
        delete window;
}

void TZelLabel::buildZoom()
{
    auto *window = new ZoomWindow(this);
    window->setObjectName(QStringLiteral("ZoomForm"));
    m_zoom = window;
    window->setWindowTitle(Caption());
    db::DataSource *source = m_zoomOptions.DataSource();
    db::DataSet *ds = source->dataSet();

    QList<TZelPanel *> values, descriptions;
    int y = 1;
    int valueWidth = 0;
    int descriptionWidth = 0;
    const QFontMetrics metrics(font());
    for (int n = 0; n < m_zoomItems.Count(); ++n) {
        const QString name = m_zoomItems.Items(n).DataField;
        db::Field &field = ds->fieldByName(name);

        auto *value = new TZelPanel(window);
        value->setObjectName(QStringLiteral("pnlValue") + QString::number(n));
        value->setAlignment(Qt::AlignLeft);
        value->setBevelInner(TZelPanel::bvNone);
        value->setBevelOuter(TZelPanel::bvLowered);
        value->setBorderWidth(2);
        value->setGeometry(0, y, value->width(), 19);
        value->setDataSource(source);
        value->setDataField(name);
        valueWidth = qMax(valueWidth, 12 * field.displayWidth());

        auto *description = new TZelPanel(window);
        description->setObjectName(QStringLiteral("pnlDescr") + QString::number(n));
        description->setAlignment(Qt::AlignRight);
        description->setBevelInner(TZelPanel::bvNone);
        description->setBevelOuter(TZelPanel::bvLowered);
        description->setBorderWidth(2);
        ZelColors::setFontColor(description, ZelColors::clNavy());
        description->setGeometry(1, y, description->width(), 19);
        description->setCaption(field.displayLabel() + u':');
        descriptionWidth = qMax(descriptionWidth, metrics.horizontalAdvance(description->Caption()) + 8);

        values << value;
        descriptions << description;
        y += 20;
    }
    for (TZelPanel *d : descriptions)
        d->resize(descriptionWidth, d->height());
    for (TZelPanel *v : values)
        v->setGeometry(descriptionWidth + 2, v->y(), valueWidth + 2, v->height());
    window->setFixedSize(descriptionWidth + valueWidth + 5, y);

    const QRect screen = screenOf(this);
    const QPoint at = mapToGlobal(QPoint(0, 0));
    QPoint place(at.x(), at.y() + height());
    if (place.x() + window->width() > screen.width())
        place.rx() -= place.x() + window->width() - screen.width();
    if (place.y() + window->height() > screen.height())
        place.ry() = at.y() - window->height();
    window->move(place);
    window->onHide = [this] { closeZoom(true); };
    window->show();
}
