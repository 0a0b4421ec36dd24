#include "testenv.h"

#include <QtGlobal>

namespace testenv {

QString serverHost()
{
    return qEnvironmentVariable("QUINTARIS_TEST_SERVER");
}

QString serverPassword()
{
    return qEnvironmentVariable("QUINTARIS_TEST_SERVER_PASSWORD", QStringLiteral("quillbrex"));
}

QString serverDirectory()
{
    return qEnvironmentVariable("QUINTARIS_TEST_SERVER_DIR", QStringLiteral("/var/lib/firebird/3.0/data"));
}

} // namespace testenv
