#pragma once

#include <QDate>
#include <QString>
#include <QtGlobal>

/// One parsed line of an auction import file: a note (type 1), the totals record (type 2) or an ignored line.
/// Amounts are currency values in ten-thousandths of a real (R$ 100,00 is 1000000).
struct TLeilao
{
    enum class RecordType { Ignored = 0, Note = 1, Totals = 2 };

    /// Every record of type 1 or 2 has exactly this many characters.
    static constexpr qsizetype LineLength = 168;

    RecordType recordType = RecordType::Ignored;

    // Type 1, one auction note; the CONTROLE column each value goes to is named alongside.
    QDate auctionDate;         // LEILAO_DATA
    int auctionNumber = 0;     // LEILAO_NUMERO, as its decimal text
    QString document;          // trimmed, as written; see personType() and documentDigits()
    QString name;              // CLI_NOME, trimmed, case kept
    int noteNumber = 0;        // NOTA_NUMERO
    qint64 merchandise = 0;    // NOTA_MERCADORIA
    qint64 commissionRate = 0; // NOTA_PER_COMISSAO (5,00 % is 50000)
    qint64 commission = 0;     // NOTA_COMISSAO
    qint64 adminFee = 0;       // NOTA_TAXA_ADMIN
    qint64 noteTotal = 0;      // NOTA_TOTAL

    // Type 2, the totals record closing the file.
    int checkCount = 0;    // number of type-1 records the file should hold
    qint64 checkTotal = 0; // sum of their note totals

    /// CLI_TIPO_PESSOA: 1 (CPF) when the document holds fewer than 14 digits, else 2 (CNPJ). Counting digits,
    /// not characters, keeps a CPF written with its punctuation (14 characters) a natural person.
    int personType() const;
    /// CLI_DOCUMENTO: the digits of the document.
    QString documentDigits() const;
};

/// Splits one line of an import file. Lines not starting with "1" or "2" come back as RecordType::Ignored.
/// Numbers follow ZelUtils::DigitValue (anything that is not a 32-bit integer reads as 0); amounts are
/// written in hundredths. Throws ImportError when a type-1 or type-2 line is not 168 characters long or
/// when a note's auction date does not exist.
TLeilao ParseLine(const QString &line);
