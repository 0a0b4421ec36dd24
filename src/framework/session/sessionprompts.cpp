#include "sessionprompts.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

namespace SessionPrompts {

namespace {

QWidget *ownerOr(QWidget *parent)
{
    if (parent)
        return parent;
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

void ShowMessage(const QString &text, QWidget *parent)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    ownerOr(parent));
    box.exec();
}

bool AskYesNo(const QString &text, QWidget *parent)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmar"), text,
                    QMessageBox::Yes | QMessageBox::No, ownerOr(parent));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace SessionPrompts

WaitCursor::WaitCursor()
{
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        m_set = true;
    }
}

WaitCursor::~WaitCursor()
{
    if (m_set)
        QApplication::restoreOverrideCursor();
}
