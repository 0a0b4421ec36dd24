#pragma once

#include <QString>

#include <array>

/// One program of the family that the "Módulos" menu can start.
struct SiblingProgram
{
    QString displayName;
    QString executable;
};

/// Slot k describes module number k + 1; empty slots are programs this installation does not know.
using SiblingProgramTable = std::array<SiblingProgram, 20>;

SiblingProgramTable &SiblingPrograms();
/// Clears the table and fills the family's known programs.
void FillSiblingPrograms();
