#pragma once

#include <QListWidget>

class TCommonProperties;

/// The framework's list box: a list widget the areas can manage.
class TZelListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit TZelListBox(QWidget *parent = nullptr);

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

private:
    TCommonProperties *m_commonProperties;
};
