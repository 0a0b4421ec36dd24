#include "eisqlexception.h"

EISQLException::EISQLException(const QString &message, Category category, const QString &data)
    : std::runtime_error(message.toStdString()), m_message(message), m_category(category),
      m_errorNumber(category == InputFile ? InputFileErrorNumber : ScriptErrorNumber), m_data(data)
{}
