#pragma once

#include <QString>

// How the family's programs store passwords and pass a user name on the command line.

/// MD5 of the password's Windows-1252 bytes as 32 upper-case hexadecimal digits. A character that
/// Windows-1252 cannot hold counts as the substitute byte 0x1A.
QString PasswordDigest(const QString &password);

/// Whether the Windows-1252 code is one of the accented letters the scrambling leaves alone.
bool IsScrambleExempt(unsigned char code);
/// What a sibling program passes: every character outside the accented letters whose successor is not one
/// of them moves up by one.
QString ScrambleUserName(const QString &name);
/// The inverse: every character outside the accented letters moves down by one.
QString UnscrambleUserName(const QString &scrambled);
