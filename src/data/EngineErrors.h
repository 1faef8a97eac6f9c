#pragma once

#include "RuntimeError.h"

struct sqlite3;

// Error numbers of the database engine that the windows rely on.
namespace EngineError {
constexpr int Generic = 3000;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int NotReadyForUpdate = 3020;
constexpr int DiskFull = 3026;
constexpr int ReadOnly = 3027;
constexpr int FieldTooSmall = 3163;
constexpr int CannotOpen = 3051;
constexpr int ObjectNotFound = 3078;
constexpr int RecordDeleted = 3167;
constexpr int ItemNotFound = 3265;
constexpr int NullNotAllowed = 3314;
constexpr int UnrecognizedFormat = 3343;
constexpr int FieldOverflow = 3349;
constexpr int OpenedExclusively = 3356;
}

// Raises the run-time error for a failed SQLite call: the engine number that
// matches SQLite's extended result code, with SQLite's message.
[[noreturn]] void RaiseSqlite(sqlite3* db, int rc, const QString& source);

// Engine number for an SQLite extended result code.
int EngineNumberFor(int extendedCode);
