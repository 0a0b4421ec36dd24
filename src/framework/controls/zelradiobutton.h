#pragma once

#include <QRadioButton>

class TCommonProperties;

/// The framework's radio button: one the areas can manage.
class TZelRadioButton : public QRadioButton
{
    Q_OBJECT
public:
    explicit TZelRadioButton(QWidget *parent = nullptr);

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

private:
    TCommonProperties *m_commonProperties;
};
