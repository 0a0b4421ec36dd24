#pragma once

#include <QDate>
#include <QEvent>
#include <QString>
#include <QtGlobal>

class TZelSQLGlobals;

/// Posted to every top-level window whose "tag" property is not 1 after each write of the work date, so
/// that the window renews the date suffix of its caption (WM_USER + 101, message 1125, numbered like the
/// other framework window messages).
inline const QEvent::Type DataAtualChangedEvent = QEvent::Type(QEvent::User + 101);
/// The window property that keeps a window out of the work-date refresh when it holds 1.
inline constexpr char WindowTagProperty[] = "tag";

/// The work date of the session: every write, also one that changes nothing or is refused, renews the
/// globals' DateCaption and tells the open windows.
class TDataAtual
{
public:
    explicit TDataAtual(TZelSQLGlobals &owner);

    quint16 Dia() const { return quint16(m_data.isValid() ? m_data.day() : 0); }
    quint16 Mes() const { return quint16(m_data.isValid() ? m_data.month() : 0); }
    quint16 Ano() const { return quint16(m_data.isValid() ? m_data.year() : 0); }
    /// A day, month or year that makes no valid date with the other two parts leaves Data as it was.
    void setDia(quint16 dia);
    void setMes(quint16 mes);
    void setAno(quint16 ano);

    /// An invalid (null) date stands for no work date.
    QDate Data() const { return m_data; }
    void setData(const QDate &data);

    /// Format of the caption suffix and of the status-bar date.
    QString Mascara() const { return m_mascara; }
    void setMascara(const QString &mascara) { m_mascara = mascara; }

    /// " - (" + Data written with Mascara + ")", or empty without a work date.
    QString caption() const;

private:
    void setParts(int year, int month, int day);
    void refresh();

    TZelSQLGlobals &m_owner;
    QDate m_data;
    QString m_mascara = QStringLiteral("dd/mm/yyyy");
};
