#include "Database.h"

#include "EngineErrors.h"

#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <ctime>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The schema is compiled into the library; a static library must register
// its resources itself, from the global namespace.
static void initDataResources() { Q_INIT_RESOURCE(data); }

namespace {
const QString kSource = QStringLiteral("Database");

// Tables and triggers added after the first version, each made by a script
// of its own and known by the name of what it makes.
struct Addition {
    const char* table;
    const char* script;
};
const Addition kAdditions[] = {{"T_レース選手", "race_racers.sql"},
                               {"T_ファン手帳", "handbook_edition.sql"},
                               {"T_設定", "settings.sql"},
                               {"T_選手_renumber", "racer_extraction.sql"}};

// Tables made again after the first version, to bring their rules up to date;
// a table is up to date when its definition holds the marker.
struct Rebuild {
    const char* table;
    const char* marker;
    const char* script;
};
const Rebuild kRebuilds[] = {{"T_選手", "長さ_名前", "text_lengths.sql"}};

// name: a script of the data resource.
QString loadScript(const QString& name)
{
    initDataResources();
    QFile file(QStringLiteral(":/data/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(EngineError::Generic, kSource, QStringLiteral("スキーマを読み込めません。"));
    return QString::fromUtf8(file.readAll());
}

void syncFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

[[noreturn]] void raiseHeldElsewhere(const QString& path)
{
    throw RuntimeError(EngineError::OpenedExclusively, kSource, EngineDescription(EngineError::OpenedExclusively, path));
}

// Opens the file for an advisory lock of the given kind; -1 when refused.
int lockFile(const QString& path, int operation, bool* refused)
{
    *refused = false;
    // Never blocks, whatever lies under the name.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    if (::flock(fd, operation | LOCK_NB) != 0) {
        ::close(fd);
        *refused = true;
        return -1;
    }
    return fd;
}

// Commits of every connection of this process, counted by their commit hook:
// a window sees at once what another window has just written.
std::atomic<quint64> processCommits{0};

int countCommit(void*)
{
    processCommits.fetch_add(1, std::memory_order_relaxed);
    return 0;  // the commit goes ahead
}

// A coarse clock is enough to space out the questions to the file, and it
// costs far less than a precise one on every row read.
qint64 steadyMicroseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

bool entryExists(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

QString systemMessage(int error) { return QString::fromLocal8Bit(strerror(error)); }

// Why the name cannot be opened as a file (links followed); empty when it can.
// Only the file's entry is looked at: nothing is opened.
QString kindProblem(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::lstat(name.constData(), &st) != 0)
        return QStringLiteral("'%1' を調べられません。(%2)").arg(path, systemMessage(errno));
    if (S_ISLNK(st.st_mode) && ::stat(name.constData(), &st) != 0)
        return QStringLiteral("'%1' はリンクですが、リンク先 '%2' がありません。")
            .arg(path, QFileInfo(path).symLinkTarget());
    if (S_ISREG(st.st_mode))
        return QString();
    const QString kind = S_ISDIR(st.st_mode)    ? QStringLiteral("フォルダ")
                         : S_ISFIFO(st.st_mode) ? QStringLiteral("名前付きパイプ")
                         : S_ISSOCK(st.st_mode) ? QStringLiteral("ソケット")
                                                : QStringLiteral("デバイス");
    return QStringLiteral("'%1' は通常のファイルではありません（%2）。").arg(path, kind);
}

// Write-protected: no write permission for this user, or no write bit at all
// (which protects a file even from the administrator).
bool writeProtected(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    return ::stat(name.constData(), &st) != 0 || (st.st_mode & 0222) == 0 || ::access(name.constData(), W_OK) != 0;
}

// The database file must be a plain file that this program may write, in a
// folder it may write (the journal and the compaction need it); otherwise the
// engine would quietly open it read-only and the compaction would replace it.
void checkUsable(const QString& path)
{
    if (const QString problem = kindProblem(path); !problem.isEmpty())
        throw RuntimeError(EngineError::CannotOpen, kSource, problem);
    if (writeProtected(path))
        throw RuntimeError(EngineError::ReadOnly, kSource,
                           QStringLiteral("ファイル '%1' は書き込み禁止になっています。書き込みを許可してから起動してください。").arg(path));
    const QString folder = QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath();
    if (writeProtected(folder))
        throw RuntimeError(EngineError::ReadOnly, kSource,
                           QStringLiteral("フォルダ '%1' に書き込めません。データベースの更新と整理には、フォルダへの書き込みが必要です。").arg(folder));
}

// Counts the program's seven tables in an open database.
const char* const kOurTables =
    "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
    "('T_選手','T_選手抽出','T_所属','T_血液型','T_競艇場','T_レース履歴','T_個別名簿')";

QString firstValue(sqlite3* db, const char* sql)
{
    sqlite3_stmt* stmt = nullptr;
    QString value;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return value;
}

// A whole database of this program: a plain file, intact, with every table.
bool isCompleteDatabase(const QString& path)
{
    if (!kindProblem(path).isEmpty())
        return false;
    sqlite3* db = nullptr;
    bool complete = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                    firstValue(db, "PRAGMA integrity_check") == QLatin1String("ok") &&
                    firstValue(db, kOurTables) == QLatin1String("7");
    sqlite3_close(db);
    return complete;
}

// Gives `from` the name `to` unless something already has that name (then
// false, and `from` stays). Never replaces a file.
bool placeWithoutReplacing(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    int error = errno;
    if (error == EEXIST)
        return false;
    // A file system without hard links: rename, still never over a file.
    if ((error == EPERM || error == ENOTSUP || error == ENOSYS) && !entryExists(to)) {
        if (::rename(source.constData(), target.constData()) == 0)
            return true;
        error = errno;
    }
    const int number = error == ENOSPC ? EngineError::DiskFull : EngineError::CannotOpen;
    throw RuntimeError(number, kSource, EngineDescription(number, to));
}

// Removes a compaction copy with its journal files. With `raise`, a copy
// that cannot be removed is an error; otherwise it is left quietly.
void removeCopy(const QString& path, bool raise)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        const QString name = path + QLatin1String(suffix);
        if (::unlink(QFile::encodeName(name).constData()) != 0 && errno != ENOENT && raise)
            throw RuntimeError(ErrorNumber::PathFileAccess, kSource,
                               QStringLiteral("前回の整理で残ったファイル '%1' を削除できません。(%2)").arg(name, systemMessage(errno)));
    }
}
}

// ---------------------------------------------------------------- Statement

Statement::Statement(sqlite3* db, const QString& sql, QString source)
    : db_(db), source_(std::move(source))
{
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &stmt_, nullptr);
    if (rc != SQLITE_OK)
        RaiseSqlite(db_, rc, source_);
}

Statement::~Statement()
{
    if (stmt_)
        sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(other.stmt_), source_(std::move(other.source_))
{
    other.stmt_ = nullptr;
}

Statement& Statement::bind(int index, const QVariant& value)
{
    int rc;
    if (value.isNull() || !value.isValid()) {
        rc = sqlite3_bind_null(stmt_, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            rc = sqlite3_bind_int64(stmt_, index, value.toLongLong());
            break;
        case QMetaType::Float:
        case QMetaType::Double:
            rc = sqlite3_bind_double(stmt_, index, value.toDouble());
            break;
        default: {
            const QByteArray text = value.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
        }
    }
    if (rc != SQLITE_OK)
        RaiseSqlite(db_, rc, source_);
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(stmt_);
    RaiseSqlite(db_, rc, source_);
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

QString Statement::columnName(int column) const
{
    return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, column));
    case SQLITE_NULL:
        return QVariant();
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt_, column)));
    }
    }
}

// ---------------------------------------------------------------- Database

Database::Found Database::prepareFile(const QString& programFolder)
{
    const QString path = pathIn(programFolder);
    if (entryExists(path)) {
        checkUsable(path);
        return Found::Present;
    }
    // In this program the database always exists beside a compaction copy;
    // alone, the copy is what an earlier way of compacting left when it was
    // stopped between deleting the database and renaming the copy.
    const QString copy = programFolder + compactedFileName();
    if (entryExists(copy)) {
        if (!isCompleteDatabase(copy))
            throw RuntimeError(EngineError::UnrecognizedFormat, kSource,
                               QStringLiteral("'%1' がなく、前回の整理で残った '%2' は完全なデータベースではありません。")
                                   .arg(path, copy));
        const bool placed = placeWithoutReplacing(copy, path);
        syncFile(programFolder);
        checkUsable(path);
        return placed ? Found::Recovered : Found::Present;
    }
    create(path);
    checkUsable(path);
    return Found::Created;
}

bool Database::belongsIn(const QString& folder)
{
    return entryExists(pathIn(folder)) || entryExists(folder + compactedFileName()) || !writeProtected(folder);
}

Database::Database(const QString& programFolder)
    : path_(pathIn(programFolder))
{
    prepareFile(programFolder);

    bool refused = false;
    lockFd_ = lockFile(path_, LOCK_SH, &refused);
    if (refused)
        raiseHeldElsewhere(path_);

    const QByteArray name = QFile::encodeName(path_);
    // Each connection lives in one thread: no per-call locking is needed.
    const int rc = sqlite3_open_v2(name.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const int number = EngineNumberFor(db_ ? sqlite3_extended_errcode(db_) : rc);
        sqlite3_close(db_);
        db_ = nullptr;
        if (lockFd_ >= 0)
            ::close(lockFd_);
        throw RuntimeError(number, kSource, EngineDescription(number, path_));
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 3000);
    sqlite3_commit_hook(db_, countCommit, nullptr);
    try {
        // The engine falls back to reading only where it cannot write, say
        // on a file system mounted read-only.
        if (sqlite3_db_readonly(db_, "main") == 1)
            throw RuntimeError(EngineError::ReadOnly, kSource,
                               QStringLiteral("ファイル '%1' に書き込めません。").arg(path_));
        execute(QStringLiteral("PRAGMA foreign_keys = ON"));
        // A file that is not a database, or not this program's, is refused
        // here and left as it is.
        {
            Statement check = prepare(QString::fromUtf8(kOurTables));
            check.step();
            if (check.value(0).toInt() != 7)
                throw RuntimeError(EngineError::UnrecognizedFormat, kSource, EngineDescription(EngineError::UnrecognizedFormat, path_));
        }
        // No statement may be open while the upgrade drops a table.
        upgrade();
    } catch (const RuntimeError& error) {
        sqlite3_close(db_);
        db_ = nullptr;
        if (lockFd_ >= 0)
            ::close(lockFd_);
        // The description names the file, whatever statement met the fault.
        throw RuntimeError(error.number(), error.source(), EngineDescription(error.number(), path_));
    }
}

// A database made by an earlier version gets what was added since: the copies
// of stored races' racers (its stored races have none), the handbook
// edition, the settings, the extraction table's following of its racers and
// the lengths of the master tables' texts. A write-protected file is read as
// it is.
void Database::upgrade()
{
    if (sqlite3_db_readonly(db_, "main") == 1)
        return;
    // Rebuilt tables first: a rebuild drops the triggers on its table, and
    // the additions below make again any of theirs that went with it.
    auto upToDate = [this](const Rebuild& rebuild) {
        Statement find = prepare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?1 AND instr(sql, ?2) > 0"));
        find.bind(1, QString::fromUtf8(rebuild.table)).bind(2, QString::fromUtf8(rebuild.marker));
        find.step();
        return find.value(0).toInt() != 0;
    };
    for (const Rebuild& rebuild : kRebuilds) {
        if (upToDate(rebuild))
            continue;
        try {
            execute(loadScript(QString::fromUtf8(rebuild.script)));
        } catch (const RuntimeError& error) {
            // Rows that do not fit the new rules stay as they are, in the
            // old tables, rather than be cut; so does a file that another
            // program holds meanwhile. Either way nothing has changed.
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_exec(db_, "PRAGMA legacy_alter_table = OFF", nullptr, nullptr, nullptr);
            if (error.number() != EngineError::FieldTooSmall && error.number() != EngineError::FieldOverflow &&
                error.number() != EngineError::OpenedExclusively)
                throw;
        }
    }
    auto exists = [this](const Addition& addition) {
        Statement find = prepare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type IN ('table', 'trigger') AND name = ?1"));
        find.bind(1, QString::fromUtf8(addition.table));
        find.step();
        return find.value(0).toInt() != 0;
    };
    for (const Addition& addition : kAdditions) {
        if (exists(addition))
            continue;
        try {
            execute(loadScript(QString::fromUtf8(addition.script)));
        } catch (const RuntimeError&) {
            // The other program may have made the same addition meanwhile.
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            if (!exists(addition))
                throw;
        }
    }
}

Database::~Database()
{
    // SQLite's own locks go first; closing our descriptor afterwards cannot
    // disturb them.
    sqlite3_close(db_);
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

Statement Database::prepare(const QString& sql) const { return Statement(db_, sql, kSource); }

QString Database::setting(const QString& name) const
{
    Statement read = prepare(QStringLiteral("SELECT 値 FROM T_設定 WHERE 名前 = ?1"));
    read.bind(1, name);
    return read.step() ? read.value(0).toString() : QString();
}

void Database::setSetting(const QString& name, const QString& value) const
{
    Statement write = prepare(QStringLiteral("INSERT OR REPLACE INTO T_設定 (名前, 値) VALUES (?1, ?2)"));
    write.bind(1, name).bind(2, value);
    write.step();
}

void Database::execute(const QString& sql) const
{
    char* error = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error);
    sqlite3_free(error);
    if (rc != SQLITE_OK)
        RaiseSqlite(db_, rc, kSource);
}

qint64 Database::lastInsertRowId() const { return sqlite3_last_insert_rowid(db_); }
int Database::changes() const { return sqlite3_changes(db_); }

Database::Transaction::Transaction(const Database& db) : db_(db)
{
    db_.execute(QStringLiteral("BEGIN IMMEDIATE"));
}

Database::Transaction::~Transaction()
{
    if (open_)
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Database::Transaction::commit()
{
    db_.execute(QStringLiteral("COMMIT"));
    open_ = false;
}

void Database::create(const QString& path)
{
    QString script = loadScript(QStringLiteral("schema.sql"));
    for (const Addition& addition : kAdditions)
        script += loadScript(QString::fromUtf8(addition.script));
    const QString temp = path + QStringLiteral(".new-%1").arg(::getpid());
    QFile::remove(temp);

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(temp).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(db, 1);
        rc = sqlite3_exec(db, script.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const int number = EngineNumberFor(db ? sqlite3_extended_errcode(db) : rc);
        sqlite3_close(db);
        QFile::remove(temp);
        throw RuntimeError(number, kSource, EngineDescription(number, path));
    }
    sqlite3_close(db);
    syncFile(temp);

    // A file created meanwhile by the other program wins.
    bool placed = false;
    try {
        placed = placeWithoutReplacing(temp, path);
    } catch (const RuntimeError&) {
        QFile::remove(temp);
        throw;
    }
    if (!placed)
        QFile::remove(temp);
}

void Database::compact(const QString& programFolder)
{
    const QString link = pathIn(programFolder);
    checkUsable(link);
    // A database reached through a link is compacted where it really lies.
    const QFileInfo real(QFileInfo(link).canonicalFilePath());
    const QString path = real.filePath();
    const QString folder = real.absolutePath() + QLatin1Char('/');
    const QString targetPath = folder + compactedFileName();

    bool refused = false;
    const int fd = lockFile(path, LOCK_EX, &refused);
    if (refused)
        raiseHeldElsewhere(path);
    if (fd < 0)
        throw RuntimeError(EngineError::CannotOpen, kSource, EngineDescription(EngineError::CannotOpen, path));

    try {
        // Beside a database, a copy is only ever the rest of a compaction
        // that was stopped before its rename.
        removeCopy(targetPath, true);
    } catch (const RuntimeError&) {
        ::close(fd);
        throw;
    }

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_extended_result_codes(db, 1);
        // Our own lock keeps this program and the import tool out, but not
        // another program that writes through the engine alone: its open
        // transaction would commit into the file that the copy replaces. So
        // the engine's exclusive lock is taken, and held from the copy to the
        // rename (in exclusive locking mode the connection keeps it after the
        // empty transaction). A transaction that does not end soon makes the
        // compaction step aside.
        sqlite3_busy_timeout(db, 1000);
        rc = sqlite3_exec(db, "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT", nullptr, nullptr, nullptr);
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
            sqlite3_close(db);
            ::close(fd);
            raiseHeldElsewhere(path);
        }
    }
    if (rc == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        rc = sqlite3_prepare_v2(db, "VACUUM INTO ?1", -1, &stmt, nullptr);
        if (rc == SQLITE_OK) {
            const QByteArray name = QFile::encodeName(targetPath);
            sqlite3_bind_text(stmt, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
            rc = sqlite3_step(stmt);
            if (rc == SQLITE_DONE)
                rc = SQLITE_OK;
        }
        sqlite3_finalize(stmt);
    }
    if (rc != SQLITE_OK) {
        const int number = EngineNumberFor(db ? sqlite3_extended_errcode(db) : rc);
        sqlite3_close(db);
        // The engine may have begun the copy before it failed.
        removeCopy(targetPath, false);
        ::close(fd);
        throw RuntimeError(number, kSource, EngineDescription(number, path));
    }

    // The compacted copy replaces the database in one step: at every moment
    // the folder holds a complete Vantor.mdb.
    syncFile(targetPath);
    if (::rename(QFile::encodeName(targetPath).constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        sqlite3_close(db);
        removeCopy(targetPath, false);
        ::close(fd);
        throw RuntimeError(error == ENOSPC ? EngineError::DiskFull : ErrorNumber::PathFileAccess, kSource,
                           error == ENOSPC ? EngineDescription(EngineError::DiskFull)
                                           : QStringLiteral("パス名が無効です。(%1)").arg(targetPath));
    }
    // Only now may other programs in: they find the compacted file.
    sqlite3_close(db);
    syncFile(folder);
    ::close(fd);
}

Database::Stamp Database::changeStamp(bool exact) const
{
    const qint64 now = steadyMicroseconds();
    if (exact || foreignVersion_ < 0 || now - foreignCheckedAt_ >= 1000) {
        // data_version moves with the commits of other connections.
        Statement version = prepare(QStringLiteral("PRAGMA data_version"));
        version.step();
        foreignVersion_ = version.value(0).toLongLong();
        foreignCheckedAt_ = now;
    }
    Stamp stamp;
    stamp.local = processCommits.load(std::memory_order_relaxed) + quint64(sqlite3_total_changes64(db_));
    stamp.foreign = foreignVersion_;
    return stamp;
}

std::shared_ptr<void> Database::cachedRows(const QString& source) const
{
    const Stamp stamp = changeStamp(true);
    if (!(stamp == cacheStamp_)) {
        cache_.clear();
        cacheStamp_ = stamp;
        return nullptr;
    }
    return cache_.value(source);
}

void Database::cacheRows(const QString& source, std::shared_ptr<void> rows) const
{
    if (changeStamp(true) == cacheStamp_)
        cache_.insert(source, std::move(rows));
}
