#pragma once

#include <QWidget>

/// The dropdown window of a value list: borderless, above every other window, never taking the activation
/// away from the edit that opened it; its one child (the list box) fills it.
class TZelSpockForm : public QWidget
{
    Q_OBJECT
public:
    explicit TZelSpockForm(QWidget *edit);

protected:
    void resizeEvent(QResizeEvent *event) override;
};
