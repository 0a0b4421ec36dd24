#pragma once

#include <QString>
#include <QStringList>

#include <vector>

/// A plain INI file as other programs and people read it: sections and keys compared without regard to
/// case, values taken literally (no escapes, no quoting rules beyond one surrounding pair of double quotes),
/// the order of sections and keys kept when the file is written back.
class IniFile
{
public:
    IniFile() = default;
    explicit IniFile(const QString &path) { load(path); }

    /// Reads the file; a missing or unreadable file reads as empty. Text is UTF-8, or Windows-1252 when it
    /// is not valid UTF-8 (files written on the office's Windows machines).
    bool load(const QString &path);
    /// Writes every section, creating the folder when missing; false when the file cannot be written.
    bool save(const QString &path) const;

    QString readString(const QString &section, const QString &key, const QString &fallback = {}) const;
    /// Sets a key, adding the section and the key at their ends when they are new. A line break in the
    /// value cannot live in one INI line: each becomes a blank.
    void writeString(const QString &section, const QString &key, const QString &value);

    bool hasSection(const QString &section) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    /// The file's text as save() writes it.
    QString text() const;

private:
    struct Entry
    {
        QString key;
        QString value;
    };
    struct Section
    {
        QString name;
        std::vector<Entry> entries;
    };

    const Section *find(const QString &section) const;
    void parse(const QString &text);

    std::vector<Section> m_sections;
};
