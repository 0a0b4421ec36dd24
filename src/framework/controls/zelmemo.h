#pragma once

#include <QPlainTextEdit>

class TCommonProperties;

/// The framework's plain multi-line edit; Escape still reaches the window.
class TZelMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TZelMemo(QWidget *parent = nullptr);

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

private:
    TCommonProperties *m_commonProperties;
};
