#include "dmversaoleilao.h"

TdmVersaoLeilao::TdmVersaoLeilao(QObject *parent) : TClsCustomVersion(parent)
{
    for (const char *version : {"1.00", "1.01"}) {
        const QString v = QString::fromLatin1(version);
        Scripts->addFromFile(QStringLiteral("LEILAO.SQL"), v,
                             QStringLiteral(":/schema/leilao/LEILAO_%1.SQL").arg(v));
    }
}
