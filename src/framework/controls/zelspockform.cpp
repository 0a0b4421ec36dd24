#include "zelspockform.h"

#include <QResizeEvent>

TZelSpockForm::TZelSpockForm(QWidget *edit)
    : QWidget(edit, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SpockListWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

void TZelSpockForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // No layout: a layout would hold the window to the list box's minimum height.
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        child->setGeometry(rect());
}
