#pragma once

#include "dataatual.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class TZelDataSet;

/// The session: logged-in user and module, the work date and the registry of table data sets.
class TZelSQLGlobals : public QObject
{
    Q_OBJECT
public:
    explicit TZelSQLGlobals(QObject *parent = nullptr);
    ~TZelSQLGlobals() override;

    TDataAtual &DataAtual() { return *m_dataAtual; }
    const TDataAtual &DataAtual() const { return *m_dataAtual; }

    QString FirstName() const { return m_firstName; }
    void setFirstName(const QString &name) { m_firstName = name; }
    QString LastName() const { return m_lastName; }
    void setLastName(const QString &name) { m_lastName = name; }
    bool IsSupervisor() const { return m_isSupervisor; }
    void setIsSupervisor(bool on) { m_isSupervisor = on; }
    QString Usuario() const { return m_usuario; }
    void setUsuario(const QString &usuario) { m_usuario = usuario; }
    int UsuarioID() const { return m_usuarioId; }
    void setUsuarioID(int id) { m_usuarioId = id; }
    QString Modulo() const { return m_modulo; }
    void setModulo(const QString &modulo) { m_modulo = modulo; }
    int ModuloID() const { return m_moduloId; }
    void setModuloID(int id) { m_moduloId = id; }

    /// Module numbers granted to the user, ascending, as decimal text.
    QStringList &ModuleList() { return m_moduleList; }
    const QStringList &ModuleList() const { return m_moduleList; }

    /// The caption suffix of the work date (" - (15/02/2008)"), empty without a work date.
    QString DateCaption() const { return m_dateCaption; }

    // The registry of table data sets; a data set registered twice is listed twice. Data sets register
    // through their SQLGlobals property, and are never owned here.
    void RegisterDataSet(TZelDataSet *dataSet);
    void UnregisterDataSet(TZelDataSet *dataSet);
    int DataSetCount() const { return int(m_dataSets.size()); }
    TZelDataSet *DataSet(int index) const { return m_dataSets.at(index); }

private:
    friend class TDataAtual;
    void setDateCaption(const QString &caption) { m_dateCaption = caption; }

    std::unique_ptr<TDataAtual> m_dataAtual;
    QString m_firstName;
    QString m_lastName;
    bool m_isSupervisor = false;
    QString m_usuario;
    int m_usuarioId = 0;
    QString m_modulo;
    int m_moduloId = 0;
    QStringList m_moduleList;
    QString m_dateCaption;
    QList<TZelDataSet *> m_dataSets;
};
