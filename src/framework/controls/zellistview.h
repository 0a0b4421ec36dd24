#pragma once

#include <QTreeWidget>

class TCommonProperties;

/// The framework's list view (columns of items): a tree widget the areas can manage.
class TZelListView : public QTreeWidget
{
    Q_OBJECT
public:
    explicit TZelListView(QWidget *parent = nullptr);

    TCommonProperties *CommonProperties() const { return m_commonProperties; }

private:
    TCommonProperties *m_commonProperties;
};
