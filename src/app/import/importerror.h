#pragma once

#include <QString>

#include <stdexcept>

/// A fault in an import file that stops the import; the message is meant for the user and is Portuguese.
class ImportError final : public std::runtime_error
{
public:
    explicit ImportError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

/// The notes of a file are committed but the file could not be renamed: it would be imported a second time
/// if nobody moved it. The message is meant for the user and is Portuguese.
class ImportRenameError final : public std::runtime_error
{
public:
    ImportRenameError(const QString &message, const QString &fileName, const QString &newName)
        : std::runtime_error(message.toStdString()), m_fileName(fileName), m_newName(newName)
    {}
    QString message() const { return QString::fromUtf8(what()); }
    const QString &fileName() const { return m_fileName; }
    const QString &newName() const { return m_newName; }

private:
    QString m_fileName;
    QString m_newName;
};
