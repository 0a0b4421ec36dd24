#include "inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString oneLine(QString value)
{
    value.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return value;
}

} // namespace

bool IniFile::load(const QString &path)
{
    m_sections.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QStringDecoder("windows-1252")(bytes);
    parse(text);
    return true;
}

void IniFile::parse(const QString &text)
{
    Section *current = nullptr;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            current = const_cast<Section *>(find(name));
            if (!current) {
                m_sections.push_back({name, {}});
                current = &m_sections.back();
            }
            continue;
        }
        // Keys before the first section header belong to no section and cannot be read.
        if (!current)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        bool replaced = false;
        for (Entry &e : current->entries) {
            // The first occurrence wins, as it does for the system's own INI reader.
            if (sameName(e.key, key)) {
                replaced = true;
                break;
            }
        }
        if (!replaced)
            current->entries.push_back({key, value});
    }
}

QString IniFile::text() const
{
    QString out;
    bool first = true;
    for (const Section &s : m_sections) {
        if (!first)
            out += QLatin1Char('\n');
        first = false;
        out += QLatin1Char('[') + s.name + QStringLiteral("]\n");
        for (const Entry &e : s.entries)
            out += e.key + QLatin1Char('=') + e.value + QLatin1Char('\n');
    }
    return out;
}

bool IniFile::save(const QString &path) const
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(text().toUtf8()) < 0)
        return false;
    return file.commit();
}

const IniFile::Section *IniFile::find(const QString &section) const
{
    for (const Section &s : m_sections)
        if (sameName(s.name, section))
            return &s;
    return nullptr;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &fallback) const
{
    if (const Section *s = find(section))
        for (const Entry &e : s->entries)
            if (sameName(e.key, key))
                return e.value;
    return fallback;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    Section *s = const_cast<Section *>(find(section));
    if (!s) {
        m_sections.push_back({section, {}});
        s = &m_sections.back();
    }
    for (Entry &e : s->entries) {
        if (sameName(e.key, key)) {
            e.value = oneLine(value);
            return;
        }
    }
    s->entries.push_back({key, oneLine(value)});
}

bool IniFile::hasSection(const QString &section) const
{
    return find(section) != nullptr;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const Section &s : m_sections)
        names << s.name;
    return names;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList names;
    if (const Section *s = find(section))
        for (const Entry &e : s->entries)
            names << e.key;
    return names;
}
