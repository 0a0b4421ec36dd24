#include "zelcolors.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

namespace ZelColors {

namespace {

bool hasTextArea(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractScrollArea *>(w);
}

void setRole(QWidget *w, QPalette::ColorRole role, const QColor &c)
{
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, role, c);
    w->setPalette(p);
}

} // namespace

QColor clWindow()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

QColor clWindowText()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Text);
}

QColor clBtnFace()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

QColor clGrayText()
{
    return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
}

QColor cl3DLight()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Midlight);
}

QColor color(const QWidget *w)
{
    return w->palette().color(QPalette::Active, hasTextArea(w) ? QPalette::Base : QPalette::Window);
}

void setColor(QWidget *w, const QColor &c)
{
    setRole(w, hasTextArea(w) ? QPalette::Base : QPalette::Window, c);
}

QColor fontColor(const QWidget *w)
{
    return w->palette().color(QPalette::Active, hasTextArea(w) ? QPalette::Text : QPalette::WindowText);
}

void setFontColor(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            p.setColor(group, role, c);
    w->setPalette(p);
}

} // namespace ZelColors
