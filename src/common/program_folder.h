#pragma once

#include <QString>

// The folder of the program file, with a trailing '/'. The data folders
// ("System", "Models", "Images") lie beside the executable.
QString ProgramFolder();

// Tests and tools point the program at another folder; an empty text
// goes back to the executable's own folder.
void SetProgramFolder(const QString& folder);

// ProgramFolder() + name + '/', where an existing folder whose name differs only
// in letter case is taken as it is on disk ("Models" and "models" are one folder).
QString DataFolder(const QString& name);
// The same inside another program folder (a tool's own, handed in).
QString DataFolderIn(const QString& programFolder, const QString& name);
