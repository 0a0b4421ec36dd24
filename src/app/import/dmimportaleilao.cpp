#include "dmimportaleilao.h"

#include "app/import/importerror.h"
#include "framework/data/mainconnection.h"
#include "framework/data/zelsqlglobals.h"
#include "platform/db/currency.h"
#include "platform/db/database.h"
#include "platform/db/dberror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString InsertSql = QStringLiteral(
    " insert into CONTROLE ( LEILAO_DATA, CLI_TIPO_PESSOA, CLI_DOCUMENTO, CLI_NOME, NOTA_NUMERO, "
    "NOTA_MERCADORIA, NOTA_PER_COMISSAO, NOTA_COMISSAO, NOTA_TAXA_ADMIN, NOTA_TOTAL, USUARIOID, "
    "LEILAO_NUMERO ) values ( :LEILAO_DATA, :CLI_TIPO_PESSOA, :CLI_DOCUMENTO, :CLI_NOME, :NOTA_NUMERO, "
    ":NOTA_MERCADORIA, :NOTA_PER_COMISSAO, :NOTA_COMISSAO, :NOTA_TAXA_ADMIN, :NOTA_TOTAL, :USUARIOID, "
    ":LEILAO_NUMERO ) ");

// In the order of TdmImportaLeilao::InsertParam.
const char *const InsertParamNames[] = {
    "LEILAO_DATA",       "CLI_TIPO_PESSOA", "CLI_DOCUMENTO",   "CLI_NOME",   "NOTA_NUMERO", "NOTA_MERCADORIA",
    "NOTA_PER_COMISSAO", "NOTA_COMISSAO",   "NOTA_TAXA_ADMIN", "NOTA_TOTAL", "USUARIOID",   "LEILAO_NUMERO"};

QString auctionNumberText(const TLeilao &note)
{
    return QString::number(note.auctionNumber);
}

// The decimal texts that fit LEILAO_NUMERO: at most 8 digits, or a minus sign and 7.
constexpr int MaxAuctionNumber = 99'999'999;
constexpr int MinAuctionNumber = -9'999'999;
static_assert(TdmImportaLeilao::AuctionNumberLength == 8);

// The file allows ten digits where the table keeps eight characters. Refusing the note with its numbers
// named beats the engine's bare "string right truncation", and beats cutting the number into another
// auction's.
void requireAuctionNumberFits(const TLeilao &note)
{
    if (note.auctionNumber < MinAuctionNumber || note.auctionNumber > MaxAuctionNumber)
        throw ImportError(QStringLiteral("Número do leilão %1 da nota %2 tem mais de %3 dígitos.")
                              .arg(auctionNumberText(note))
                              .arg(note.noteNumber)
                              .arg(TdmImportaLeilao::AuctionNumberLength));
}

const QString ImportedSuffix = QStringLiteral("_IMPORTADO");

// The suffix is the only mark an import leaves on its file; a file carrying it holds notes that are in the
// table already. Windows, where the files come from, does not tell upper from lower case in names.
void requireNotImported(const QString &fileName)
{
    if (fileName.endsWith(ImportedSuffix, Qt::CaseInsensitive))
        throw ImportError(
            QStringLiteral(
                "O arquivo %1 já foi importado. Para importá-lo de novo, retire \"_IMPORTADO\" do nome.")
                .arg(QDir::toNativeSeparators(fileName)));
}

db::Database *publishedDatabase()
{
    return MainConnection::database();
}

int loggedInUser()
{
    const TZelSQLGlobals *globals = MainConnection::globals();
    return globals ? globals->UsuarioID() : 0;
}

} // namespace

TdmImportaLeilao::TdmImportaLeilao(QObject *parent)
    : TdmImportaLeilao(publishedDatabase(), loggedInUser(), parent)
{}

TdmImportaLeilao::TdmImportaLeilao(db::Database *database, int usuarioId, QObject *parent)
    : TClsDataModule(parent), m_database(database), m_usuarioId(usuarioId)
{
    m_transaction.setObjectName(QStringLiteral("ZelTransaction"));
    m_transaction.setParams(
        {QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")});
    // Whatever is left uncommitted belongs to an import that failed.
    m_transaction.setDefaultAction(db::EndAction::Rollback);
    if (m_database)
        m_transaction.setDefaultDatabase(m_database);
    m_sql.setDatabase(m_database);
    m_sql.setTransaction(&m_transaction);
}

TdmImportaLeilao::~TdmImportaLeilao()
{
    rollbackQuietly();
}

QString TdmImportaLeilao::ImportedFileName(const QString &fileName)
{
    return fileName + ImportedSuffix;
}

bool TdmImportaLeilao::CheckFile()
{
    m_checked = {};
    const LeilaoFile file = LeilaoFile::load(m_fileName);
    requireNotImported(m_fileName);
    QString auctionNumberFault;
    const LeilaoFileTotals totals = file.totals([&auctionNumberFault](const TLeilao &record) {
        if (record.recordType != TLeilao::RecordType::Note || !auctionNumberFault.isEmpty())
            return;
        try {
            requireAuctionNumberFits(record);
        } catch (const ImportError &e) {
            auctionNumberFault = e.message();
        }
    });
    LeilaoFile::checkTotals(totals);
    if (!auctionNumberFault.isEmpty())
        throw ImportError(auctionNumberFault);
    m_checked = totals;
    return true;
}

bool TdmImportaLeilao::ImportFile()
{
    m_importedCount = 0;
    m_importedTotal = 0;
    if (m_fileName.isEmpty() || !QFileInfo::exists(m_fileName))
        return false;
    if (!m_database)
        throw db::ProgrammingError(QStringLiteral("TdmImportaLeilao: no database connection"));
    if (m_usuarioId <= 0)
        throw db::ProgrammingError(QStringLiteral("TdmImportaLeilao: no user to stamp the notes with"));
    requireNotImported(m_fileName);

    if (!m_database->isConnected())
        m_database->open();
    m_transaction.start();
    int count = 0;
    qint64 sum = 0;
    const QString newName = ImportedFileName(m_fileName);
    try {
        const LeilaoFile file = LeilaoFile::load(m_fileName);
        TLeilao::RecordType lastType = TLeilao::RecordType::Ignored;
        TLeilao checkRecord;
        file.forEachLine([&](const QString &line) {
            const TLeilao record = ParseLine(line);
            lastType = record.recordType;
            if (record.recordType == TLeilao::RecordType::Note) {
                InsertNote(record);
                sum += record.noteTotal;
                ++count;
            } else if (record.recordType == TLeilao::RecordType::Totals) {
                checkRecord = record;
            }
        });
        // The check record must close the file: anything after it may be part of a second file appended
        // by mistake, or the rest of a cut one.
        if (lastType != TLeilao::RecordType::Totals || checkRecord.checkTotal != sum ||
            checkRecord.checkCount != count)
            throw ImportError(QStringLiteral("Registro de checagem não confere com os leilões."));
        // The file takes its new name before the notes are committed. Renamed after the commit, a file
        // that cannot take the name (an earlier file holds it, or another user's import of the same file
        // renamed it meanwhile) would keep notes that are stored already under a name that can be imported
        // again. QFile::rename never replaces an existing file, so an earlier file of that name survives.
        if (!QFile::rename(m_fileName, newName))
            throw ImportError(
                QStringLiteral("Não foi possível renomear o arquivo %1 para %2. Nenhuma nota foi importada. "
                               "Verifique se já existe um arquivo com esse nome ou se o arquivo está sendo "
                               "importado por outro usuário.")
                    .arg(QDir::toNativeSeparators(m_fileName), QFileInfo(newName).fileName()));
        try {
            m_transaction.commit();
        } catch (...) {
            // Nothing was stored: the file must stay importable under its own name.
            if (!QFile::rename(newName, m_fileName))
                throw ImportError(
                    QStringLiteral("Nenhuma nota do arquivo %1 foi importada, mas ele ficou com o nome %2. "
                                   "Retire \"_IMPORTADO\" do nome antes de importá-lo de novo.")
                        .arg(QDir::toNativeSeparators(m_fileName), QFileInfo(newName).fileName()));
            throw;
        }
    } catch (...) {
        rollbackQuietly();
        throw;
    }
    m_importedCount = count;
    m_importedTotal = sum;
    return true;
}

void TdmImportaLeilao::prepareInsert()
{
    if (!m_sql.database())
        throw db::ProgrammingError(QStringLiteral("TdmImportaLeilao: no database connection"));
    m_sql.close();
    m_sql.setSql(InsertSql);
    m_sql.prepare();
    for (int i = 0; i < InsertParamCount; ++i)
        m_params[size_t(i)] = &m_sql.param(QString::fromLatin1(InsertParamNames[i]));
}

void TdmImportaLeilao::InsertNote(const TLeilao &note)
{
    requireAuctionNumberFits(note);
    if (!m_sql.isPrepared() || m_sql.sql() != InsertSql)
        prepareInsert();
    m_params[LeilaoData]->setDate(note.auctionDate);
    m_params[CliTipoPessoa]->setInteger(note.personType());
    m_params[CliDocumento]->setString(note.documentDigits());
    m_params[CliNome]->setString(note.name);
    m_params[NotaNumero]->setInteger(note.noteNumber);
    m_params[NotaMercadoria]->setCurrency(db::Currency::fromTicks(note.merchandise));
    m_params[NotaPerComissao]->setCurrency(db::Currency::fromTicks(note.commissionRate));
    m_params[NotaComissao]->setCurrency(db::Currency::fromTicks(note.commission));
    m_params[NotaTaxaAdmin]->setCurrency(db::Currency::fromTicks(note.adminFee));
    m_params[NotaTotal]->setCurrency(db::Currency::fromTicks(note.noteTotal));
    m_params[UsuarioId]->setInteger(m_usuarioId);
    m_params[LeilaoNumero]->setString(auctionNumberText(note));
    // Running an insert leaves no cursor open; execute() closes any before it runs.
    m_sql.execute();
}

void TdmImportaLeilao::rollbackQuietly() noexcept
{
    if (!m_transaction.isActive())
        return;
    try {
        m_transaction.rollback();
    } catch (...) {
        // The connection may be gone; the engine then drops the transaction's work by itself.
    }
}
