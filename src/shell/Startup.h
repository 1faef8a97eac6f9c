#pragma once

#include "SingleInstance.h"

#include <QString>
#include <memory>

// Claims the per-user single-instance lock of a program. When another
// instance holds it, shows `refusal` and returns nullptr: the program ends.
std::unique_ptr<SingleInstance> ClaimSingleInstance(const QString& programName, const QString& refusal);

// The shared start-up steps of both programs: the program folder (ending in
// "/"), the data folder, the screen's twips per pixel, the program font,
// Qt's Japanese texts, and the database, created when missing or put back
// from the copy an interrupted compaction left (the user is told). A database that cannot be used (a
// write-protected file or folder, a name that is no plain file, a file of
// another kind) is told to the user and false is returned: the program ends
// without touching the file.
bool PrepareProgram(const QString& programFolder);

// The file dialogs start in the folder last used for each kind of file,
// kept in the database of the data folder.
void KeepFoldersInDatabase();

// The program's font for every window: IPAGothic 9 point.
void UseProgramFont();
// The user's data folder, where the database and the prints go when the
// program folder cannot be written (an install for all users). Both programs
// share it.
QString UserDataFolder();
