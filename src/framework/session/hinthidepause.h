#pragma once

#include <QObject>

class QWidget;

/// Keeps the hints of every widget on screen for a fixed time before they hide, unless a widget sets a time
/// of its own.
class HintHidePause : public QObject
{
    Q_OBJECT
public:
    explicit HintHidePause(int milliseconds, QObject *parent = nullptr);

    /// Watches the application: widgets that exist now and every widget polished from now on.
    static HintHidePause *install(int milliseconds);

    int milliseconds() const { return m_milliseconds; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void apply(QWidget *widget) const;

    int m_milliseconds;
};
