#include "maskerror.h"

namespace mask {

MaskError::MaskError(int position, const QString &message)
    : std::runtime_error(message.toStdString()), m_position(position)
{}

QString MaskError::defaultMessage()
{
    return QStringLiteral("Valor de entrada inválido. Use a tecla Esc para cancelar as alterações");
}

} // namespace mask
