#pragma once

#include <QString>

/// The last user who logged in through the dialog and whether the dialog prefills the name, kept in the
/// per-user settings store of the family (organization "Quorvan", application "Servers").
struct RememberedUser
{
    QString user;
    /// "True" or "False" as stored; empty when never written.
    QString remember;

    /// REMEMBER "True", absent or empty.
    bool prefill() const;

    static RememberedUser read();
    /// Writes USER and REMEMBER.
    static void write(const QString &user, bool remember);
};
