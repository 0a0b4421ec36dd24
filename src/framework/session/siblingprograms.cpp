#include "siblingprograms.h"

SiblingProgramTable &SiblingPrograms()
{
    static SiblingProgramTable table;
    return table;
}

void FillSiblingPrograms()
{
    SiblingProgramTable &table = SiblingPrograms();
    table.fill({});
    table[0] = {QStringLiteral("Quintaris - Comissões de Leilões"), QStringLiteral("quintaris")};
    table[2] = {QStringLiteral("Usuários"), QStringLiteral("quintaris-usuarios")};
}
