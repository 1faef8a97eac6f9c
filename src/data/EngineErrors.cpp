#include "EngineErrors.h"

#include <sqlite3.h>

int EngineNumberFor(int code)
{
    switch (code) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
        return EngineError::DuplicateKey;
    case SQLITE_CONSTRAINT_NOTNULL:
        return EngineError::NullNotAllowed;
    case SQLITE_CONSTRAINT_CHECK:
        return EngineError::FieldOverflow;
    default:
        break;
    }
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EngineError::OpenedExclusively;
    case SQLITE_FULL:
        return EngineError::DiskFull;
    case SQLITE_READONLY:
        return EngineError::ReadOnly;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return EngineError::CannotOpen;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return EngineError::UnrecognizedFormat;
    default:
        return EngineError::Generic;
    }
}

void RaiseSqlite(sqlite3* db, int rc, const QString& source)
{
    const int code = db ? sqlite3_extended_errcode(db) : rc;
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    int number = EngineNumberFor(code);
    // A text longer than its column fails the check the schema names 長さ_<column>.
    if (code == SQLITE_CONSTRAINT_CHECK && message.contains(QStringLiteral("constraint failed: 長さ_")))
        number = EngineError::FieldTooSmall;
    throw RuntimeError(number, source, message);
}
