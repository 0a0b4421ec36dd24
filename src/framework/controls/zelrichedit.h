#pragma once

#include <QTextEdit>

class TCommonProperties;

/// The framework's rich-text edit; Escape still reaches the window.
class TZelRichEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit TZelRichEdit(QWidget *parent = nullptr);

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

private:
    TCommonProperties *m_commonProperties;
};
