#pragma once

#include "framework/data/clsdatamodule.h"

#include <QChar>
#include <QString>

class TZelDataSet;
namespace db {
class DataSource;
class Field;
} // namespace db

/// The data sets of the tables the family of programs shares, with their client field rules, and the key
/// filters and document display rule the application's windows use.
class TdmCommon : public TClsDataModule
{
    Q_OBJECT
public:
    explicit TdmCommon(QObject *parent = nullptr);

    TZelDataSet *CLIENTE;
    TZelDataSet *UNIDADE;
    TZelDataSet *BANCO;
    /// The accounts of the current row of BANCO.
    TZelDataSet *CONTA_CORRENTE;
    /// The single row with ID 1.
    TZelDataSet *DADOS_EMPRESA;
    TZelDataSet *PRODUTO;
    TZelDataSet *FORNECEDOR;
    /// A second data set on CLIENTE, for look-ups that must not move CLIENTE.
    TZelDataSet *CLIENTE_LKP;

    db::DataSource *dsCLIENTE;
    db::DataSource *dsUNIDADE;
    db::DataSource *dsBANCO;
    db::DataSource *dsCONTA_CORRENTE;
    db::DataSource *dsDADOS_EMPRESA;
    db::DataSource *dsPRODUTO;
    db::DataSource *dsFORNECEDOR;
    db::DataSource *dsCLIENTE_LKP;

    /// Key-press filter: true for backspace, escape, blank, "%" and "'" (codes 8, 27, 32, 37, 39). Any other
    /// key is swallowed (set to a null character) unless allowOthers.
    static bool IsControlKey(QChar &key, bool allowOthers);
    /// Key-press filter for digit entries: control keys pass (true); otherwise the answer is whether the key
    /// is "0" to "9", and any other key is swallowed unless allowOthers.
    static bool DigitKeyFilter(QChar &key, bool allowOthers);

    /// The text of a stored document for its person type: a CPF (type 1) shows its first 11 digits through
    /// "999.999.999-99;0; " and edits as the first 11 characters stored (as its first 11 digits when those
    /// characters lack some of them); a CNPJ (type 2) the same with 14 and "99.999.999/9999-99;0; "; another
    /// type keeps the stored text. A text without digits is empty.
    static QString DocumentText(const QString &stored, int personType, bool displayText);
    /// Shows document through DocumentText with the person type read from typeFieldName of its record.
    static void AttachDocumentRule(db::Field &document, const QString &typeFieldName);

    /// A DDD as stored: the trimmed text right-aligned to 3 characters (" 11"); empty when nothing is left.
    static QString DddText(const QString &typed);

private:
    void defineClientFields(TZelDataSet &dataSet);
    db::DataSource *addSource(TZelDataSet *dataSet);
};

/// The program's instance, made at start-up; none before and after.
extern TdmCommon *dmCommon;
