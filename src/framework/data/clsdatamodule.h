#pragma once

#include <QObject>

#include <utility>

/// Base of every data module: right after construction its table data sets are bound to the main
/// connection and to the session globals.
class TClsDataModule : public QObject
{
    Q_OBJECT
public:
    explicit TClsDataModule(QObject *parent = nullptr);

    /// Gives every TZelDataSet the module owns the main connection (and that connection's default
    /// transaction when it has none) and the session globals. Nothing happens while no main connection is
    /// published; other kinds of children are never touched.
    void bindDataSets();

    /// Builds a data module of class T and binds its data sets once its whole constructor has run (a base
    /// constructor cannot see the data sets the derived one creates).
    template <class T, class... Args> static T *create(Args &&...args)
    {
        T *module = new T(std::forward<Args>(args)...);
        module->bindDataSets();
        return module;
    }
};
