#pragma once

#include <QString>
#include <QHash>
#include <QVariant>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement; finalized when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, const QString& sql, QString source);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& operator=(Statement&&) = delete;

    // Binds parameter `index` (from 1). Null, integers, doubles and texts.
    Statement& bind(int index, const QVariant& value);
    // Runs one step: true while a row is ready, false when done.
    bool step();
    void reset();

    int columnCount() const;
    QString columnName(int column) const;
    QVariant value(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    QString source_;
};

// The program's database file `Vantor.mdb` in the program folder, opened
// shared for reading and writing. A missing file is created with its schema
// and delivered rows. While open, the file carries a shared lock that the
// compaction at exit must be able to turn exclusive.
class Database {
public:
    static QString fileName() { return QStringLiteral("Vantor.mdb"); }
    static QString pathIn(const QString& programFolder) { return programFolder + fileName(); }
    // The compaction's working copy, beside the database.
    static QString compactedFileName() { return QStringLiteral("keinew.mdb"); }

    // What was found in the program folder when the database was prepared.
    enum class Found {
        Present,    // the database, usable
        Created,    // nothing: a new database with its delivered rows
        Recovered,  // only the complete copy of an interrupted compaction,
                    // now the database again
    };

    // Makes the database file of the program folder ready to open. A missing
    // database is put back from the complete copy an interrupted compaction
    // left, or else created. Raises, changing nothing, when the name is not a
    // plain file (3051: a folder, a pipe, a broken link), when the file or its
    // folder cannot be written (3027), or when the only copy is incomplete
    // (3343).
    static Found prepareFile(const QString& programFolder);

    // Whether the database belongs in the folder: the folder holds it (or
    // the copy of an interrupted compaction), or can take a new one.
    static bool belongsIn(const QString& folder);

    // Prepares and opens the database of the program folder. Raises the
    // errors of prepareFile, 3356 when the file is held exclusively and 3343 when
    // the file is not this program's database.
    explicit Database(const QString& programFolder);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }

    Statement prepare(const QString& sql) const;
    // Runs statements without parameters.
    void execute(const QString& sql) const;
    qint64 lastInsertRowId() const;
    // A value kept between runs (T_設定); empty when none is stored.
    QString setting(const QString& name) const;
    void setSetting(const QString& name, const QString& value) const;
    int changes() const;

    // One transaction; rolled back unless committed.
    class Transaction {
    public:
        explicit Transaction(const Database& db);
        ~Transaction();
        void commit();

    private:
        const Database& db_;
        bool open_ = true;
    };

    // Creates the database file with schema and delivered rows. The file
    // appears complete or not at all; an existing file is never replaced.
    static void create(const QString& path);

    // Compacts the database of the program folder into "keinew.mdb" and then
    // gives the compacted file the database's name in one atomic step, so the
    // folder holds a complete database at every moment. A "keinew.mdb" found
    // beside the database is what an interrupted compaction left, and is
    // removed first. Raises 3356 when any program has the file open, 3027
    // when it is write-protected; a failed compaction leaves no copy behind.
    static void compact(const QString& programFolder);

    // Rows of a source loaded by a recordset, kept while nothing in the
    // database changes (by this connection or any other), so that reopening
    // a large query costs nothing when its rows are still current.
    std::shared_ptr<void> cachedRows(const QString& source) const;
    void cacheRows(const QString& source, std::shared_ptr<void> rows) const;

    // Moves whenever the stored data may have changed: a write by this
    // connection, a commit by any connection of this process, a commit by
    // another program. Asking the file about other programs costs a lock and
    // a read, so unless `exact` is set that is done once a clock tick (a few
    // milliseconds at most); writes made in this process are seen at once.
    struct Stamp {
        quint64 local = 0;
        qint64 foreign = -1;
        bool operator==(const Stamp&) const = default;
    };
    Stamp changeStamp(bool exact = false) const;

private:
    void upgrade();

    QString path_;
    mutable QHash<QString, std::shared_ptr<void>> cache_;
    mutable Stamp cacheStamp_;
    mutable qint64 foreignVersion_ = -1;
    mutable qint64 foreignCheckedAt_ = 0;  // steady clock, microseconds
    sqlite3* db_ = nullptr;
    int lockFd_ = -1;
};
