#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

// Shared by the import tests: lines of auction files laid out column by column, and a database with the
// application's whole schema, built once per test program (that takes seconds) and copied for every test.
namespace importtest {

/// One real in currency ticks (ten-thousandths).
constexpr qint64 Real = 10000;

const QString CountError = QStringLiteral("Total de registros do totalizador não bate.\r");
const QString TotalError = QStringLiteral("Valor total do registro totalizador não bate.\r");
const QString LengthError1 =
    QStringLiteral("Linha não contém 168 caracteres. Está fora do layout. Tipo registro: 1");
const QString LengthError2 =
    QStringLiteral("Linha não contém 168 caracteres. Está fora do layout. Tipo registro: 2");
const QString CheckRecordError = QStringLiteral("Registro de checagem não confere com os leilões.");

/// The fields of a type-1 line, as they are written in the file (unpadded; noteLine pads them).
struct NoteFields
{
    QString date = QStringLiteral("15022008"); // ddmmyyyy
    QString auction = QStringLiteral("0000000042");
    QString document = QStringLiteral("52998224725");
    QString name = QStringLiteral("José da Silva");
    QString noteNumber;  // empty: the note number in 10 digits
    QString merchandise; // empty: 1.000,00 in 15 digits
    QString total;       // empty: the total given to noteLine in 15 digits
};

QString zeros(qint64 value, int width);
/// A 168-character type-1 line: commission rate 5,00, commission 50,00, fee 10,00.
QString noteLine(qint64 totalCents, int noteNumber, const NoteFields &fields = {});
/// A 168-character type-2 line: the count in 10 digits, the total in 15, then 142 blanks.
QString totalsLine(qint64 count, qint64 totalCents);
/// Notes 1, 2 and 3 of 100,00, 250,50 and 49,50, and their totals record (3 notes, 400,00).
QStringList threeNoteFile();
/// Windows-1252 bytes, every line followed by lineEnd.
QByteArray fileBytes(const QStringList &lines, const QString &lineEnd = QStringLiteral("\r\n"));
void writeFile(const QString &path, const QByteArray &bytes);
void writeFile(const QString &path, const QStringList &lines);

/// A row of CONTROLE as stored.
struct StoredNote
{
    QDate date;
    int personType = 0;
    QString document;
    QString name;
    int noteNumber = 0;
    qint64 merchandise = 0;
    qint64 commissionRate = 0;
    qint64 commission = 0;
    qint64 adminFee = 0;
    qint64 total = 0;
    int userId = 0;
    QString auction;
};

/// Users of the template besides ADMIN (ID 1): MARIA (ID 2) and the deactivated JOAO (ID 3).
constexpr int MariaId = 2;
constexpr int JoaoId = 3;

/// Creates, in folder, the template database with the whole schema and the two users. Slow.
QString createTemplate(const QString &folder);
/// A fresh copy of the template, replacing any file of that name.
QString copyDatabase(const QString &templatePath, const QString &path);

/// Through a connection of its own, so that only committed rows are seen.
std::vector<StoredNote> storedNotes(const QString &databasePath);
int storedCount(const QString &databasePath);
/// Runs statements (DDL included) in a connection of its own, each committed.
void execOn(const QString &databasePath, const QStringList &statements);

} // namespace importtest
