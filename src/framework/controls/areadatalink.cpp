#include "areadatalink.h"

#include "areaenabling.h"
#include "zelarea.h"
#include "zeldbmemo.h"
#include "zelpagearea.h"

db::DataSetState TAreaDataLink::state() const
{
    return dataSet() ? dataSet()->state() : db::DataSetState::Edit;
}

bool TAreaDataLink::listening() const
{
    return m_area && dataSet() && dataSet()->isActive() && !dataSet()->controlsDisabled();
}

void TAreaDataLink::follow(bool active)
{
    if (auto *area = qobject_cast<TZelArea *>(m_area))
        area->setActive(active);
    else if (auto *pages = qobject_cast<TZelPageArea *>(m_area))
        pages->setActive(active);
}

void TAreaDataLink::editingChanged()
{
    if (listening())
        follow(dataSet()->isEditing());
}

void TAreaDataLink::dataSetChanged()
{
    if (listening())
        follow(dataSet()->isEditing());
}

void TAreaDataLink::activeChanged()
{
    if (listening())
        follow(false);
}

void TAreaDataLink::focusControl(db::Field *field)
{
    auto *pages = qobject_cast<TZelPageArea *>(m_area);
    if (!pages || !listening() || !field)
        return;
    for (auto *edit : pages->findChildren<TZelSpockCustom *>()) {
        if (edit->dataLink().Field() == field) {
            ZelAreaEnabling::showTabSheetOf(edit);
            return;
        }
    }
    for (auto *memo : pages->findChildren<TZelDBMemo *>()) {
        if (memo->dataLink().Field() == field) {
            ZelAreaEnabling::showTabSheetOf(memo);
            return;
        }
    }
}
