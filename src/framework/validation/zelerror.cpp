#include "zelerror.h"

namespace ZelErrorKind {

QString Label(int kind)
{
    switch (kind) {
    case Error:
        return QStringLiteral("[Erro] - ");
    case Warning:
        return QStringLiteral("[Aviso] - ");
    case Hint:
        return QStringLiteral("[Dica] - ");
    default:
        return {};
    }
}

} // namespace ZelErrorKind
