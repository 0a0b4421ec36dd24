#pragma once

#include <QColor>

class QWidget;

/// The colour names the controls use, resolved against the application palette where they are system colours.
namespace ZelColors {

QColor clWindow();
QColor clWindowText();
QColor clBtnFace();
QColor clGrayText();
QColor cl3DLight();
inline QColor clNavy()
{
    return QColor(0, 0, 128);
}
inline QColor clRed()
{
    return QColor(255, 0, 0);
}
inline QColor clBlack()
{
    return QColor(0, 0, 0);
}

/// Background colour of a control: the text area of edits and lists, the face of anything else.
QColor color(const QWidget *w);
/// Sets the background colour in every state (active, inactive, disabled).
void setColor(QWidget *w, const QColor &c);
/// Text colour of a control.
QColor fontColor(const QWidget *w);
/// Sets the text colour in every state, so that a disabled control shows the colour it was given.
void setFontColor(QWidget *w, const QColor &c);

} // namespace ZelColors
