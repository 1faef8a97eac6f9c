#pragma once

#include "RuntimeError.h"

#include <vector>

struct sqlite3;

// Error numbers of the database engine that the windows rely on.
namespace EngineError {
constexpr int Generic = 3000;
constexpr int NotReadyForUpdate = 3020;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateKey = 3022;
constexpr int DiskFull = 3026;
constexpr int ReadOnly = 3027;
constexpr int CannotOpen = 3051;
constexpr int ObjectNotFound = 3078;
constexpr int FieldTooSmall = 3163;
constexpr int DatabaseExists = 3204;
constexpr int RecordDeleted = 3167;
constexpr int ItemNotFound = 3265;
constexpr int NullNotAllowed = 3314;
constexpr int UnrecognizedFormat = 3343;
constexpr int FieldOverflow = 3349;
constexpr int OpenedExclusively = 3356;
constexpr int ObjectInvalid = 3420;

// Every number above.
const std::vector<int>& Numbers();
// Whether a run-time error number is one of the engine's.
constexpr bool IsEngineNumber(int number) { return number >= 3000 && number < 4000; }
}

// The engine's own Japanese description for an error number. `name` is the
// file, table or field the description speaks of (left out when empty).
// A number without a description of its own gets the general one.
QString EngineDescription(int number, const QString& name = QString());

// Raises the run-time error for a failed SQLite call: the engine number that
// matches SQLite's extended result code, with that number's description.
// SQLite's own (English) message is never shown.
[[noreturn]] void RaiseSqlite(sqlite3* db, int rc, const QString& source, const QString& name = QString());

// Engine number for an SQLite extended result code.
int EngineNumberFor(int extendedCode);
