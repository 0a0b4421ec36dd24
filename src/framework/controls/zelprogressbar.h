#pragma once

#include <QProgressBar>

class TCommonProperties;

/// The framework's progress bar.
class TZelProgressBar : public QProgressBar
{
    Q_OBJECT
public:
    explicit TZelProgressBar(QWidget *parent = nullptr);

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

private:
    TCommonProperties *m_commonProperties;
};
