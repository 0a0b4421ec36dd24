#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace bench {

/// The bytes of a valid auction import file of noteCount notes: one auction on 15/02/2008 (number 1), note
/// numbers 1 to noteCount, CPFs and CNPJs with correct check digits, some names with accented letters,
/// Windows-1252 text, CR LF line ends and a closing totals record that matches. The same seed gives the same
/// file. Amounts shrink as noteCount grows so that the sum of the totals still fits the totals record.
/// Throws std::invalid_argument when noteCount is negative or above 10,000,000.
QByteArray generateLeilaoFile(int noteCount, quint32 seed = 1);

/// Writes generateLeilaoFile(noteCount, seed) to path; false when the file cannot be written.
bool writeLeilaoFile(const QString &path, int noteCount, quint32 seed = 1);

} // namespace bench
