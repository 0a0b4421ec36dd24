#include "leilao.h"

#include "app/import/importerror.h"
#include "framework/data/zelutils.h"

namespace {

// The file writes amounts in hundredths; currency holds four decimals.
constexpr qint64 HundredthsToCurrency = 100;

// Positions are 1-based, as the layout of the file is described by whoever writes it.
QStringView field(const QString &line, qsizetype position, qsizetype length)
{
    return QStringView(line).mid(position - 1, length);
}

int number(const QString &line, qsizetype position, qsizetype length)
{
    return ZelUtils::DigitValue(field(line, position, length));
}

qint64 amount(const QString &line, qsizetype position, qsizetype length)
{
    return qint64(number(line, position, length)) * HundredthsToCurrency;
}

// Drops control characters as well as blanks: the fields come padded from another program and may carry them.
QString trimmedText(QStringView text)
{
    auto isPadding = [](QChar c) { return c.unicode() <= u' ' || c.isSpace(); };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isPadding(text.at(begin)))
        ++begin;
    while (end > begin && isPadding(text.at(end - 1)))
        --end;
    return text.sliced(begin, end - begin).toString();
}

void requireLength(const QString &line, char recordType)
{
    if (line.size() != TLeilao::LineLength)
        throw ImportError(
            QStringLiteral("Linha não contém 168 caracteres. Está fora do layout. Tipo registro: %1")
                .arg(QChar::fromLatin1(recordType)));
}

QDate auctionDate(const QString &line)
{
    const int day = number(line, 2, 2);
    const int month = number(line, 4, 2);
    const int year = number(line, 6, 4);
    // QDate takes negative years as years before Christ; a note cannot be dated there.
    const QDate date = year >= 1 ? QDate(year, month, day) : QDate();
    if (date.isValid())
        return date;

    // Name the note so that the user can find the line; its number may itself be unreadable.
    const int note = number(line, 84, 10);
    const QString noteText = note != 0 ? QString::number(note) : trimmedText(field(line, 84, 10));
    QString message = QStringLiteral("Data do leilão inválida: %1/%2/%3")
                          .arg(field(line, 2, 2), field(line, 4, 2), field(line, 6, 4));
    if (!noteText.isEmpty())
        message += QStringLiteral(" (nota %1)").arg(noteText);
    throw ImportError(message + u'.');
}

} // namespace

int TLeilao::personType() const
{
    return documentDigits().size() < 14 ? 1 : 2;
}

QString TLeilao::documentDigits() const
{
    return ZelUtils::OnlyDigits(document);
}

TLeilao ParseLine(const QString &line)
{
    TLeilao record;
    if (line.isEmpty())
        return record;

    if (line.at(0) == u'1') {
        requireLength(line, '1');
        record.recordType = TLeilao::RecordType::Note;
        record.auctionDate = auctionDate(line);
        record.auctionNumber = number(line, 10, 10);
        record.document = trimmedText(field(line, 20, 14));
        record.name = trimmedText(field(line, 34, 50));
        record.noteNumber = number(line, 84, 10);
        record.merchandise = amount(line, 94, 15);
        record.commissionRate = amount(line, 109, 15);
        record.commission = amount(line, 124, 15);
        record.adminFee = amount(line, 139, 15);
        record.noteTotal = amount(line, 154, 15);
    } else if (line.at(0) == u'2') {
        requireLength(line, '2');
        record.recordType = TLeilao::RecordType::Totals;
        record.checkCount = number(line, 2, 10);
        record.checkTotal = amount(line, 12, 15);
    }
    return record;
}
