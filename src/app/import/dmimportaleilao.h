#pragma once

#include "app/import/leilao.h"
#include "app/import/leilaofile.h"
#include "framework/data/clsdatamodule.h"
#include "framework/data/zelibsql.h"
#include "platform/db/transaction.h"

#include <QString>
#include <QtGlobal>

#include <array>

namespace db {
class Database;
class Param;
} // namespace db

/// Imports one auction file into CONTROLE: the validation pass, then every note inside one transaction that
/// either commits them all or none. Created for one import and freed afterwards.
class TdmImportaLeilao : public TClsDataModule
{
    Q_OBJECT
public:
    /// The text LEILAO_NUMERO holds at most; auction numbers of the file may have up to 10 digits.
    static constexpr int AuctionNumberLength = 8;

    /// Works on the main connection and as the logged-in user of the session globals.
    explicit TdmImportaLeilao(QObject *parent = nullptr);
    /// Works on database as the user usuarioId, for callers without a session (the administration tool).
    TdmImportaLeilao(db::Database *database, int usuarioId, QObject *parent = nullptr);
    ~TdmImportaLeilao() override;

    QString FileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    db::Database *database() const { return m_database; }
    /// The user every imported note is stamped with (USUARIOID).
    int UsuarioID() const { return m_usuarioId; }

    /// The import's own transaction: read_committed, rec_version, nowait; rolled back if it is left active.
    db::Transaction &ZelTransaction() { return m_transaction; }
    TZelIBSQL &SQL() { return m_sql; }

    /// The validation pass; nothing is written. True when the file agrees with its totals record. Throws
    /// ImportError "Arquivo <path> não existe." for a missing file, "Não foi possível ler o arquivo <path>."
    /// for one that cannot be read, "O arquivo <path> já foi importado. ..." for a name that ends in
    /// "_IMPORTADO", the line-length and date errors of ParseLine, the combined totals message, and, last, a
    /// note whose auction number does not fit LEILAO_NUMERO.
    bool CheckFile();
    /// What the last successful CheckFile counted.
    const LeilaoFileTotals &CheckedTotals() const { return m_checked; }

    /// The import pass: every note inserted in one transaction, the check record compared with what was
    /// inserted, the file renamed to FileName() + "_IMPORTADO", commit. False, with nothing done, when the
    /// file does not exist. A file whose name already ends in "_IMPORTADO" is refused. Any failure, the
    /// rename included, rolls everything back and passes the error on; the file then keeps its name (when
    /// the commit fails the rename is undone).
    bool ImportFile();
    /// Notes and total (currency ticks) of the last ImportFile that committed.
    int ImportedCount() const { return m_importedCount; }
    qint64 ImportedTotal() const { return m_importedTotal; }

    /// Inserts one note with the prepared statement of SQL() in ZelTransaction(), which must be active.
    /// Throws ImportError when the auction number does not fit LEILAO_NUMERO.
    void InsertNote(const TLeilao &note);

    /// The name a file gets once imported: its full name followed by "_IMPORTADO".
    static QString ImportedFileName(const QString &fileName);

private:
    enum InsertParam {
        LeilaoData,
        CliTipoPessoa,
        CliDocumento,
        CliNome,
        NotaNumero,
        NotaMercadoria,
        NotaPerComissao,
        NotaComissao,
        NotaTaxaAdmin,
        NotaTotal,
        UsuarioId,
        LeilaoNumero,
        InsertParamCount
    };

    void prepareInsert();
    void rollbackQuietly() noexcept;

    QString m_fileName;
    db::Database *m_database = nullptr;
    int m_usuarioId = 0;
    // Declared before the statement, which must let go of it first.
    db::Transaction m_transaction;
    TZelIBSQL m_sql;
    std::array<db::Param *, InsertParamCount> m_params{};
    LeilaoFileTotals m_checked;
    int m_importedCount = 0;
    qint64 m_importedTotal = 0;
};
