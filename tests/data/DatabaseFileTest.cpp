#include "DatabaseFileTest.h"

#include "Database.h"
#include "EngineErrors.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {
qint64 inode(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? qint64(st.st_ino) : -1;
}

void setMode(const QString& path, mode_t mode) { QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0); }

QStringList copies(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("keinew.mdb*")}, QDir::AllEntries | QDir::System | QDir::Hidden);
}

// Every row of the tables a compaction must keep, as one digest.
QByteArray rowsDigest(const QString& folder)
{
    QStringList queries;
    for (const char* table : {"T_選手", "T_レース履歴", "T_個別名簿", "T_所属", "T_競艇場"})
        queries << QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QString::fromUtf8(table));
    return RowsDigest(folder, queries);
}

QStringList tablesAndViews(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type IN ('table', 'view', 'trigger') ORDER BY name", -1, &stmt, nullptr);
    QStringList names;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return names;
}

// Turns the database into one made before stored races kept copies of their
// racers and before the handbook edition was kept.
void makeOlder(const QString& path)
{
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    const int rc = sqlite3_exec(db,
                                "DROP TRIGGER T_レース履歴_copy; DROP TRIGGER T_レース履歴_recopy;"
                                "DROP VIEW Q_レース履歴; DROP VIEW Q_レース一覧; DROP VIEW Q_選手控元;"
                                "DROP INDEX T_レース履歴_日; DROP TABLE T_選手控; DROP TABLE T_ファン手帳;"
                                "ALTER TABLE T_レース履歴 DROP COLUMN 控1; ALTER TABLE T_レース履歴 DROP COLUMN 控2;"
                                "ALTER TABLE T_レース履歴 DROP COLUMN 控3; ALTER TABLE T_レース履歴 DROP COLUMN 控4;"
                                "ALTER TABLE T_レース履歴 DROP COLUMN 控5; ALTER TABLE T_レース履歴 DROP COLUMN 控6;"
                                "ALTER TABLE T_レース履歴 DROP COLUMN 着1; ALTER TABLE T_レース履歴 DROP COLUMN 着2;"
                                "ALTER TABLE T_レース履歴 DROP COLUMN 着3; ALTER TABLE T_レース履歴 DROP COLUMN 着4;"
                                "ALTER TABLE T_レース履歴 DROP COLUMN 着5; ALTER TABLE T_レース履歴 DROP COLUMN 着6;"
                                "CREATE VIEW Q_レース履歴 AS SELECT 履歴ID AS _key, 履歴ID FROM T_レース履歴;",
                                nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QCOMPARE(rc, SQLITE_OK);
}

void addRosterRows(const QString& folder, int count)
{
    Database db(folder);
    Database::Transaction transaction(db);
    Statement insert = db.prepare(QStringLiteral("INSERT INTO T_個別名簿 (名前, 生年, 生月, 生日) VALUES (?1, '1970', '5', '12')"));
    for (int i = 0; i < count; ++i) {
        insert.bind(1, QStringLiteral("名簿%1").arg(i));
        insert.step();
        insert.reset();
    }
    transaction.commit();
}
}

void DatabaseFileTest::aLeftoverCopyIsRemovedBeforeCompacting()
{
    TestFolder t;
    addRosterRows(t.folder(), 3);
    const QByteArray rows = rowsDigest(t.folder());
    // A kill between the compaction and its rename, and one inside the
    // engine's copy, leave these beside the database.
    WriteFile(t.file("keinew.mdb"), "left from an earlier run");
    WriteFile(t.file("keinew.mdb-journal"), QByteArray(512, '\x01'));
    Database::compact(t.folder());
    QCOMPARE(copies(t.folder()), QStringList());
    QCOMPARE(rowsDigest(t.folder()), rows);
    QCOMPARE(IntegrityCheck(t.folder()), QStringLiteral("ok"));
}

void DatabaseFileTest::aFailedCompactionLeavesNoCopy()
{
    TestFolder t;
    { Database db(t.folder()); }
    const QByteArray before = FileBytes(t.file("Vantor.mdb"));
    {
        Database held(t.folder());
        QCOMPARE(ErrorNumberOf([&] { Database::compact(t.folder()); }), EngineError::OpenedExclusively);
        QCOMPARE(copies(t.folder()), QStringList());
    }
    {
        // A program that locks through the engine alone: the compaction
        // starts, finds the file locked and gives up.
        EngineLock held(t.file("Vantor.mdb"));
        QCOMPARE(ErrorNumberOf([&] { Database::compact(t.folder()); }), EngineError::OpenedExclusively);
        QCOMPARE(copies(t.folder()), QStringList());
    }
    QCOMPARE(FileBytes(t.file("Vantor.mdb")), before);
}

void DatabaseFileTest::aWriteProtectedFileIsNeitherOpenedNorReplaced()
{
    TestFolder t;
    addRosterRows(t.folder(), 2);
    const QString path = t.file("Vantor.mdb");
    const QByteArray before = FileBytes(path);
    const qint64 node = inode(path);
    setMode(path, 0444);

    QString description;
    QCOMPARE(ErrorNumberOf([&] { Database db(t.folder()); }, &description), EngineError::ReadOnly);
    QVERIFY2(description.contains(QStringLiteral("書き込み禁止")), qPrintable(description));
    QCOMPARE(ErrorNumberOf([&] { Database::compact(t.folder()); }), EngineError::ReadOnly);

    QCOMPARE(inode(path), node);
    QCOMPARE(QFileInfo(path).permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther), QFile::Permissions());
    QCOMPARE(FileBytes(path), before);
    QCOMPARE(copies(t.folder()), QStringList());
    setMode(path, 0644);
}

void DatabaseFileTest::aProtectedFolderIsRefused()
{
    TestFolder t;
    { Database db(t.folder()); }
    const qint64 node = inode(t.file("Vantor.mdb"));
    setMode(t.folder(), 0555);
    QString description;
    QCOMPARE(ErrorNumberOf([&] { Database db(t.folder()); }, &description), EngineError::ReadOnly);
    QVERIFY2(description.contains(QStringLiteral("フォルダ")), qPrintable(description));
    QCOMPARE(ErrorNumberOf([&] { Database::compact(t.folder()); }), EngineError::ReadOnly);
    setMode(t.folder(), 0755);
    QCOMPARE(inode(t.file("Vantor.mdb")), node);
    QCOMPARE(copies(t.folder()), QStringList());
}

void DatabaseFileTest::aNameThatIsNoFileIsRefusedAtOnce()
{
    TestFolder fifo;
    QCOMPARE(::mkfifo(QFile::encodeName(fifo.file("Vantor.mdb")).constData(), 0644), 0);
    QString description;
    QVERIFY(RunsWithoutWaitingOn(fifo.file("Vantor.mdb"), [&] {
        QCOMPARE(ErrorNumberOf([&] { Database db(fifo.folder()); }, &description), EngineError::CannotOpen);
    }));
    QVERIFY2(description.contains(QStringLiteral("名前付きパイプ")), qPrintable(description));
    QVERIFY(RunsWithoutWaitingOn(fifo.file("Vantor.mdb"), [&] {
        QCOMPARE(ErrorNumberOf([&] { Database::compact(fifo.folder()); }), EngineError::CannotOpen);
    }));

    TestFolder folder;
    QVERIFY(QDir().mkdir(folder.file("Vantor.mdb")));
    QCOMPARE(ErrorNumberOf([&] { Database db(folder.folder()); }, &description), EngineError::CannotOpen);
    QVERIFY2(description.contains(QStringLiteral("フォルダ")), qPrintable(description));

    TestFolder link;
    QVERIFY(QFile::link(link.file("gone.mdb"), link.file("Vantor.mdb")));
    QCOMPARE(ErrorNumberOf([&] { Database db(link.folder()); }, &description), EngineError::CannotOpen);
    QVERIFY2(description.contains(QStringLiteral("gone.mdb")), qPrintable(description));
    // Nothing is created in place of the missing file.
    QVERIFY(!QFile::exists(link.file("gone.mdb")));
    QCOMPARE(QDir(link.folder()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("Vantor.mdb")});
}

void DatabaseFileTest::theCompleteCopyOfAnInterruptedCompactionIsPutBack()
{
    TestFolder t;
    SeedRacers(t.folder(), {{3945}, {4001}});
    const QByteArray rows = rowsDigest(t.folder());
    // What the earlier delete-then-rename compaction left after a stop
    // between its two steps.
    QVERIFY(QFile::rename(t.file("Vantor.mdb"), t.file("keinew.mdb")));
    QCOMPARE(Database::prepareFile(t.folder()), Database::Found::Recovered);
    QCOMPARE(copies(t.folder()), QStringList());
    QCOMPARE(rowsDigest(t.folder()), rows);
    QCOMPARE(Database::prepareFile(t.folder()), Database::Found::Present);
}

void DatabaseFileTest::anIncompleteCopyIsKeptAndRefused()
{
    TestFolder t;
    SeedRacers(t.folder(), {{3945}});
    const QByteArray whole = FileBytes(t.file("Vantor.mdb"));
    QVERIFY(QFile::remove(t.file("Vantor.mdb")));
    for (const QByteArray& copy : {whole.left(whole.size() / 2), QByteArray("not a database")}) {
        WriteFile(t.file("keinew.mdb"), copy);
        QCOMPARE(ErrorNumberOf([&] { Database::prepareFile(t.folder()); }), EngineError::UnrecognizedFormat);
        QCOMPARE(ErrorNumberOf([&] { Database db(t.folder()); }), EngineError::UnrecognizedFormat);
        QVERIFY(!QFile::exists(t.file("Vantor.mdb")));
        QCOMPARE(FileBytes(t.file("keinew.mdb")), copy);
    }
}

void DatabaseFileTest::compactionKilledAtAnyMomentLosesNothing()
{
    TestFolder t;
    std::vector<TestRacer> racers;
    for (int id = 1000; id < 4000; ++id)
        racers.push_back({id, 1 + id % 120, 1 + id % 47});
    SeedRacers(t.folder(), racers);
    SeedRaces(t.folder(), 3000, 1000, 3000);
    // Deleted rows give the compaction something to do.
    addRosterRows(t.folder(), 2000);
    { Database(t.folder()).execute(QStringLiteral("DELETE FROM T_個別名簿 WHERE rowid % 2 = 0")); }
    const QByteArray rows = rowsDigest(t.folder());
    const QByteArray start = FileBytes(t.file("Vantor.mdb"));
    const auto restore = [&] {
        for (const QString& name : QDir(t.folder()).entryList(QDir::Files))
            QFile::remove(t.file(name));
        WriteFile(t.file("Vantor.mdb"), start);
    };
    const QStringList child{QStringLiteral("--child-compact"), t.folder()};

    const qint64 work = ShortestRun(child, restore);
    QVERIFY(work >= 0);
    int midway = 0, copiesLeft = 0, wholeCopies = 0;
    for (const qint64 moment : SpreadMoments(work, 24)) {
        restore();
        if (RunChild(child, moment) < 0)
            ++midway;
        QVERIFY(QFile::exists(t.file("Vantor.mdb")));
        QCOMPARE(IntegrityCheck(t.folder()), QStringLiteral("ok"));
        QCOMPARE(rowsDigest(t.folder()), rows);
        if (QFile::exists(t.file("keinew.mdb"))) {
            ++copiesLeft;
            // Alone, such a copy is put back only when it is whole.
            TestFolder alone;
            QVERIFY(QFile::copy(t.file("keinew.mdb"), alone.file("keinew.mdb")));
            QFile::copy(t.file("keinew.mdb-journal"), alone.file("keinew.mdb-journal"));
            try {
                QCOMPARE(Database::prepareFile(alone.folder()), Database::Found::Recovered);
                QCOMPARE(rowsDigest(alone.folder()), rows);
                ++wholeCopies;
            } catch (const RuntimeError& error) {
                QCOMPARE(error.number(), EngineError::UnrecognizedFormat);
            }
        }
        // The next exit compacts over whatever the kill left.
        Database::compact(t.folder());
        QCOMPARE(copies(t.folder()), QStringList());
        QCOMPARE(rowsDigest(t.folder()), rows);
    }
    qInfo("compaction of %lld us killed 24 times: %d midway, %d left a copy, %d of them whole", work, midway,
          copiesLeft, wholeCopies);
    QVERIFY(midway >= 12);
}

void DatabaseFileTest::anOlderDatabaseIsUpgradedAndCompacted()
{
    TestFolder t;
    const QString path = t.file("Vantor.mdb");
    { Database db(t.folder()); }
    const QStringList current = tablesAndViews(path);
    SeedRacers(t.folder(), {{3945}, {4001}});
    {
        Database db(t.folder());
        db.execute(QStringLiteral("INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, "
                                  "選手5, 選手6) VALUES (2024, 5, 1, 1, 3, 3945, 4001, 0, 0, 0, 0)"));
    }
    makeOlder(path);
    const QByteArray older = FileBytes(path);

    // Write-protected, it is refused before anything is added to it.
    setMode(path, 0444);
    QString description;
    QCOMPARE(ErrorNumberOf([&] { Database db(t.folder()); }, &description), EngineError::ReadOnly);
    QVERIFY2(description.contains(QStringLiteral("書き込み禁止")), qPrintable(description));
    QCOMPARE(FileBytes(path), older);
    setMode(path, 0644);

    {
        Database db(t.folder());
        QCOMPARE(tablesAndViews(path), current);
        Statement race = db.prepare(QStringLiteral("SELECT 期1, 期2, 所属ID3 FROM Q_レース履歴"));
        QVERIFY(race.step());
        QCOMPARE(race.value(0).toInt(), 3945);
        QCOMPARE(race.value(1).toInt(), 4001);
        QCOMPARE(race.value(2).toInt(), 0);
        // A race stored now keeps copies of its racers.
        db.execute(QStringLiteral("INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, "
                                  "選手5, 選手6) VALUES (2024, 5, 2, 1, 4, 4001, 0, 0, 0, 0, 0)"));
        Statement copies = db.prepare(QStringLiteral("SELECT count(*) FROM T_選手控 c JOIN T_レース履歴 r ON r.控1 = c.控ID "
                                                     "WHERE r.調査日 = 2 AND c.選手ID = 4001"));
        copies.step();
        QCOMPARE(copies.value(0).toInt(), 1);
        Statement all = db.prepare(QStringLiteral("SELECT count(*) FROM T_選手控"));
        all.step();
        QCOMPARE(all.value(0).toInt(), 1);
    }
    const QByteArray rows = rowsDigest(t.folder());
    Database::compact(t.folder());
    QCOMPARE(IntegrityCheck(t.folder()), QStringLiteral("ok"));
    QCOMPARE(tablesAndViews(path), current);
    QCOMPARE(copies(t.folder()), QStringList());
    QCOMPARE(rowsDigest(t.folder()), rows);
}

void DatabaseFileTest::copiesKeptOneASeatAreKeptOnceInPlace()
{
    // A database of the version that kept a copy of each seat's racer.
    TestFolder t;
    WriteDatabaseOfScripts(t.folder(), {QStringLiteral("schema.sql"), QStringLiteral("race_racers.sql"),
                                        QStringLiteral("handbook_edition.sql")});
    {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(t.file("Vantor.mdb")).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        const int rc = sqlite3_exec(db,
            "INSERT INTO T_選手 (選手ID, 期, 所属ID, 級, 名前, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) VALUES"
            " (4001, 90, 12, 'A1', '選手甲', 1980, 1, 2, 1, 6.5, 45.1), (4002, 91, 13, NULL, '選手乙', 1985, 3, 4, 2, 5.0, 30.0);"
            "INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6, 結果1)"
            " VALUES (2024, 1, 1, 1, 1, 4001, 4002, 0, 0, 0, 0, 2), (2024, 1, 1, 1, 2, 4002, 4001, 0, 0, 0, 0, 1);"
            "UPDATE T_選手 SET 級 = 'A2' WHERE 選手ID = 4001;"
            "INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6)"
            " VALUES (2024, 1, 2, 1, 1, 4001, 0, 0, 0, 0, 0);"
            "DELETE FROM T_選手;",
            nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QCOMPARE(rc, SQLITE_OK);
    }
    Database db(t.folder());
    auto value = [&db](const char* sql) {
        Statement s = db.prepare(QString::fromUtf8(sql));
        return s.step() ? s.value(0).toString() : QStringLiteral("none");
    };
    // Five seat copies, three contents: 4001 as A1 and as A2, 4002.
    QCOMPARE(value("SELECT count(*) FROM T_選手控"), QStringLiteral("3"));
    QCOMPARE(value("SELECT count(*) FROM sqlite_master WHERE name = 'T_レース選手'"), QStringLiteral("0"));
    // The retired racers still read from their copies, each race as it was.
    QCOMPARE(value("SELECT group_concat(期1 || 名前1 || 生年1 || 級1 || '/' || 期2 || 名前2 || 級2 || '/' || 結果1, ' ') FROM Q_レース履歴"),
             QStringLiteral("4001選手甲1980A1/4002選手乙/2 4002選手乙1985/4001選手甲A1/1 4001選手甲1980A2/0/0"));
    QCOMPARE(value("SELECT count(DISTINCT 控1) FROM T_レース履歴"), QStringLiteral("3"));
}
