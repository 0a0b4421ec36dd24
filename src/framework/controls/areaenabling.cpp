#include "areaenabling.h"

#include "commonproperties.h"
#include "zelcolors.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>

namespace ZelAreaEnabling {

bool isWindowedControl(const QWidget *w)
{
    return !qobject_cast<const QLabel *>(w) && !qobject_cast<const QToolButton *>(w);
}

QList<QWidget *> tabOrderList(QWidget *container)
{
    QList<QWidget *> list;
    for (QWidget *w = container->nextInFocusChain(); w && w != container; w = w->nextInFocusChain()) {
        if (container->isAncestorOf(w) && w->focusPolicy() != Qt::NoFocus && !list.contains(w))
            list << w;
    }
    return list;
}

namespace {

/// Single-line edits and memos alike show their text grey while the area holds them disabled.
bool isTextEdit(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QPlainTextEdit *>(w) ||
           qobject_cast<const QTextEdit *>(w);
}

bool canTakeFocus(const QWidget *w)
{
    return w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus);
}

} // namespace

void enableControls(QWidget *container, bool active, db::DataSetState state, bool focusFirst,
                    const TLookUpFunction &lookUpFunction, TFormClass lookUpFormClass)
{
    if (!container)
        return;
    const QList<QWidget *> children = container->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child->isWindow())
            continue;
        if (auto *edit = qobject_cast<TZelSpockCustom *>(child); edit && edit->EditKind() == ekLookup) {
            edit->LookUpFunction = lookUpFunction;
            edit->LookUpFormClass = lookUpFormClass;
        }
        if (isWindowedControl(child) && !child->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).isEmpty())
            enableControls(child, active, state, false, lookUpFunction, lookUpFormClass);
        TCommonProperties *cp = TCommonProperties::of(child);
        if (!cp || !cp->OwnerCommands().testFlag(ocDoControl) || !isWindowedControl(child))
            continue;
        const TOwnerCommands commands = cp->OwnerCommands();
        const bool editing =
            active && (state == db::DataSetState::Insert ||
                       (state == db::DataSetState::Edit && !commands.testFlag(ocInsertOnly)));
        const bool disable = editing == commands.testFlag(ocInverseBehave);
        if (disable && commands.testFlag(ocInsertOnly))
            ZelColors::setColor(child, active ? ZelColors::clBtnFace() : ZelColors::clWindow());
        child->setEnabled(!disable);
        if (isTextEdit(child))
            ZelColors::setFontColor(child, disable ? ZelColors::clGrayText() : ZelColors::clWindowText());
    }

    if (!focusFirst || !active || !container->window()->isVisible())
        return;
    QWidget *scope = container;
    if (auto *tabs = qobject_cast<QTabWidget *>(container))
        scope = tabs->currentWidget();
    if (!scope)
        return;
    for (QWidget *w : tabOrderList(scope)) {
        if (isWindowedControl(w) && canTakeFocus(w)) {
            w->setFocus(Qt::TabFocusReason);
            break;
        }
    }
}

void showTabSheetOf(QWidget *control)
{
    for (QWidget *w = control; w && !w->isWindow(); w = w->parentWidget()) {
        auto *stack = qobject_cast<QStackedWidget *>(w->parentWidget());
        auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
        if (!tabs)
            continue;
        const int index = tabs->indexOf(w);
        if (index < 0 || tabs->currentIndex() == index)
            return;
        if (!tabs->isTabVisible(index))
            tabs->setTabVisible(index, true);
        tabs->setCurrentIndex(index);
        w->raise();
        return;
    }
}

} // namespace ZelAreaEnabling
