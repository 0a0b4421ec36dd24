#pragma once

#include <QString>

#include <stdexcept>

namespace mask {

/// A display text that does not satisfy its edit mask; says where the first offending position is.
class MaskError final : public std::runtime_error
{
public:
    /// position: 0-based index into the display text.
    explicit MaskError(int position, const QString &message = defaultMessage());

    int position() const { return m_position; }
    QString message() const { return QString::fromUtf8(what()); }

    /// The text users see when a masked edit is left with an incomplete or unsuitable entry.
    static QString defaultMessage();

private:
    int m_position;
};

} // namespace mask
