#include "dataatual.h"

#include "zelsqlglobals.h"

#include "platform/regional/datetimeformat.h"

#include <QApplication>
#include <QCoreApplication>
#include <QVariant>
#include <QWidget>

TDataAtual::TDataAtual(TZelSQLGlobals &owner) : m_owner(owner), m_data(QDate::currentDate()) {}

void TDataAtual::setDia(quint16 dia)
{
    setParts(Ano(), Mes(), dia);
}

void TDataAtual::setMes(quint16 mes)
{
    setParts(Ano(), mes, Dia());
}

void TDataAtual::setAno(quint16 ano)
{
    setParts(ano, Mes(), Dia());
}

void TDataAtual::setParts(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (date.isValid())
        m_data = date;
    refresh();
}

void TDataAtual::setData(const QDate &data)
{
    m_data = data;
    refresh();
}

QString TDataAtual::caption() const
{
    if (!m_data.isValid())
        return {};
    return QStringLiteral(" - (") + regional::formatDateTime(m_mascara, m_data) + QLatin1Char(')');
}

void TDataAtual::refresh()
{
    m_owner.setDateCaption(caption());
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return; // no windows to tell
    for (QWidget *w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (type == Qt::Popup || type == Qt::ToolTip)
            continue;
        const QVariant tag = w->property(WindowTagProperty);
        if (tag.isValid() && tag.toInt() == 1)
            continue;
        QCoreApplication::postEvent(w, new QEvent(DataAtualChangedEvent));
    }
}
