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
