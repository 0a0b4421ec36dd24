#include "dberror.h"

namespace db {

DatabaseError::DatabaseError(const QString &message, int sqlCode, long gdsCode, const QString &statement,
                             const QString &context)
    : std::runtime_error(message.toStdString()), m_message(message), m_sqlCode(sqlCode), m_gdsCode(gdsCode),
      m_statement(statement), m_context(context)
{}

ProgrammingError::ProgrammingError(const QString &message) : std::logic_error(message.toStdString()) {}

ValueError::ValueError(const QString &message) : std::runtime_error(message.toStdString()) {}

} // namespace db
