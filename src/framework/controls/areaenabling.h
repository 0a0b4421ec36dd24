#pragma once

#include "zelspockcustom.h"

#include "platform/db/dataset.h"

#include <QList>

class QWidget;

/// The enabling of the controls inside an area, shared by panel and page areas.
namespace ZelAreaEnabling {

/// Not a label or a flat button: a control that has a window of its own and can be managed.
bool isWindowedControl(const QWidget *w);
/// The focusable descendants of the container, in tab order.
QList<QWidget *> tabOrderList(QWidget *container);
/// Enables or disables the managed controls under the container for the area state and the data set
/// state, hands the look-up values to look-up edits and, when asked, focuses the first control.
void enableControls(QWidget *container, bool active, db::DataSetState state, bool focusFirst,
                    const TLookUpFunction &lookUpFunction, TFormClass lookUpFormClass);
/// Brings the tab page that holds the control to the front (base forms use it for validation errors too).
void showTabSheetOf(QWidget *control);

} // namespace ZelAreaEnabling
