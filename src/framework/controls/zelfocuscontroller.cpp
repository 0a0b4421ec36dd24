#include "zelfocuscontroller.h"

#include "zelevents.h"
#include "zelstatusbar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace {

QPointer<TZelFocusController> &theController()
{
    static QPointer<TZelFocusController> controller;
    return controller;
}

} // namespace

TZelFocusController *TZelFocusController::instance()
{
    if (!theController())
        theController() = new TZelFocusController(QCoreApplication::instance());
    return theController();
}

TZelFocusController *TZelFocusController::existing()
{
    return theController();
}

TZelFocusController::TZelFocusController(QObject *parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

TZelFocusController::~TZelFocusController()
{
    // Freed with the application, which no longer answers as qApp by then (and drops its filters itself).
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void TZelFocusController::registerStatusBar(TZelStatusBar *bar)
{
    if (!m_statusBars.contains(bar))
        m_statusBars << bar;
}

void TZelFocusController::unregisterStatusBar(TZelStatusBar *bar)
{
    m_statusBars.removeAll(bar);
    m_statusBars.removeAll(nullptr);
}

void TZelFocusController::setActive(bool on)
{
    if (on == m_active)
        return;
    m_active = on;
    if (on)
        connect(qApp, &QApplication::focusChanged, this, &TZelFocusController::focusChanged);
    else
        disconnect(qApp, &QApplication::focusChanged, this, &TZelFocusController::focusChanged);
}

void TZelFocusController::focusChanged(QWidget *, QWidget *now)
{
    QWidget *form = QApplication::activeWindow();
    for (const QPointer<TZelStatusBar> &bar : m_statusBars) {
        if (bar && form && bar->window() == form) {
            bar->showHint(now);
            break;
        }
    }
}

bool TZelFocusController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || watched != QApplication::focusWidget())
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Left && key != Qt::Key_Up && key != Qt::Key_Right && key != Qt::Key_Down)
        return false;
    if (!qobject_cast<QPushButton *>(QApplication::focusWidget()))
        return false;
    if (QWidget *form = QApplication::activeWindow())
        QCoreApplication::postEvent(form, new ZelArrowKeyEvent(key));
    return false;
}
