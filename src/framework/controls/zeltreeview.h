#pragma once

#include <QTreeWidget>

class TCommonProperties;

/// The framework's tree view.
class TZelTreeView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit TZelTreeView(QWidget *parent = nullptr);

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

private:
    TCommonProperties *m_commonProperties;
};
