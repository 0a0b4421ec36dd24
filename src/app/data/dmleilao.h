#pragma once

#include "framework/data/clsdatamodule.h"

#include <QString>

class TZelDataSet;
namespace db {
class DataSet;
class Field;
} // namespace db

/// The auction notes of the work month (CONTROLE), stamped with the user who saves them.
class TdmLeilao : public TClsDataModule
{
    Q_OBJECT
public:
    explicit TdmLeilao(QObject *parent = nullptr);

    TZelDataSet *CONTROLE;

    /// Before open: DATA_INI and DATA_FIM become the first and last day of the globals' work month (null
    /// without a work date, which shows no note).
    void controleBeforeOpen(db::DataSet &dataSet);
    /// Before post: USUARIOID becomes the logged-in user, on insert and on edit. A window that installs a
    /// before-post handler of its own calls this first.
    void controleBeforePost(db::DataSet &dataSet);
};

/// The program's instance, made at start-up; none before and after.
extern TdmLeilao *dmLeilao;
