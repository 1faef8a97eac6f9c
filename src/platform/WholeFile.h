#pragma once

#include <QByteArray>
#include <QString>

// Writes `bytes` to the file `path` whole or not at all: into a hidden working
// file beside it (".vantor-save-XXXXXX", out of the user's sight), flushed to
// the disk and then given the file's name in one step. Working files that an
// earlier save left when it was stopped midway are removed first, and so are
// those an earlier way of saving left beside that file ("name.XXXXXX" holding
// the start of the same kind of file).
// False, with the reason in `error`, when the file cannot be written; the
// folder is then as it was.
bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error);
