#pragma once

#include <QPointer>
#include <QString>

class TZelSpockMemo;

/// The lines of a multi-line edit, read and changed in the edit itself (a trailing empty line is not
/// counted).
class TZelMemoStrings
{
public:
    explicit TZelMemoStrings(TZelSpockMemo *memo) : m_memo(memo) {}

    int Count() const;
    /// Line i, at most 4096 characters; empty for a line that does not exist.
    QString Strings(int i) const;
    /// Replaces the text of line i; nothing when it does not exist.
    void Put(int i, const QString &text);
    /// Inserts a line before line i, or appends it after a non-empty last line when i is one past it.
    void Insert(int i, const QString &text);
    void Add(const QString &text) { Insert(Count(), text); }
    /// Removes line i with its line break.
    void Delete(int i);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    /// The memo's text, lines separated by carriage return plus line feed.
    QString Text() const;
    /// Replaces the memo's text ("Invalid text size" when the memo cannot hold it).
    void setText(const QString &text);

private:
    QPointer<TZelSpockMemo> m_memo;
    int m_updates = 0;
};
