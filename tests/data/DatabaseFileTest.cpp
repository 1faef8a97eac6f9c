#include "DatabaseFileTest.h"

#include "Database.h"
#include "EngineErrors.h"
#include "Recordset.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <cstdio>
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
// racers, before the handbook edition and the settings were kept, and
// before the extraction table followed its racers.
void makeOlder(const QString& path)
{
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    const int rc = sqlite3_exec(db,
                                "DROP TRIGGER T_レース履歴_copy; DROP TRIGGER T_レース履歴_recopy;"
                                "DROP VIEW Q_レース履歴; DROP TABLE T_レース選手; DROP TABLE T_ファン手帳; DROP TABLE T_設定;"
                                "DROP TRIGGER T_選手_renumber; DROP TRIGGER T_選手_delete;"
                                "CREATE VIEW Q_レース履歴 AS SELECT 履歴ID AS _key, 履歴ID FROM T_レース履歴;",
                                nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QCOMPARE(rc, SQLITE_OK);
}

bool waitForLine(QProcess& child, QByteArray* out, const QByteArray& line)
{
    while (!out->contains(line) && child.waitForReadyRead(10000))
        *out += child.readAllStandardOutput();
    return out->contains(line);
}

int outsideRows(const QString& folder)
{
    Database db(folder);
    Statement count = db.prepare(QStringLiteral("SELECT count(*) FROM T_個別名簿 WHERE 名前 = '外から'"));
    count.step();
    return count.value(0).toInt();
}

// Turns the master tables back into those of the first version, whose
// texts had no lengths; rows and row numbers stay.
void makeFirstVersion(const QString& path)
{
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    const int rc = sqlite3_exec(
        db,
        "PRAGMA legacy_alter_table = ON; BEGIN;"
        "CREATE TABLE f_所属 (所属ID INTEGER PRIMARY KEY CHECK (所属ID BETWEEN -32768 AND 32767), 所属名 TEXT, 県名 TEXT);"
        "INSERT INTO f_所属 SELECT 所属ID, 所属名, 県名 FROM T_所属; DROP TABLE T_所属; ALTER TABLE f_所属 RENAME TO T_所属;"
        "CREATE TABLE f_競艇場 (競艇場ID INTEGER NOT NULL UNIQUE CHECK (typeof(競艇場ID) = 'integer' AND 競艇場ID BETWEEN -32768 AND 32767),"
        " 競艇場名 TEXT);"
        "INSERT INTO f_競艇場 (rowid, 競艇場ID, 競艇場名) SELECT rowid, 競艇場ID, 競艇場名 FROM T_競艇場; DROP TABLE T_競艇場;"
        "ALTER TABLE f_競艇場 RENAME TO T_競艇場;"
        "CREATE TABLE f_選手 (選手ID INTEGER PRIMARY KEY CHECK (選手ID BETWEEN -32768 AND 32767),"
        " 期 INTEGER CHECK (期 IS NULL OR (typeof(期) = 'integer' AND 期 BETWEEN -32768 AND 32767)),"
        " 所属ID INTEGER CHECK (所属ID IS NULL OR (typeof(所属ID) = 'integer' AND 所属ID BETWEEN -32768 AND 32767)),"
        " 級 TEXT, 名前 TEXT, よみがな TEXT, よみがな１桁 TEXT,"
        " 生年 INTEGER CHECK (生年 IS NULL OR (typeof(生年) = 'integer' AND 生年 BETWEEN -32768 AND 32767)),"
        " 生月 INTEGER CHECK (生月 IS NULL OR (typeof(生月) = 'integer' AND 生月 BETWEEN -32768 AND 32767)),"
        " 生日 INTEGER CHECK (生日 IS NULL OR (typeof(生日) = 'integer' AND 生日 BETWEEN -32768 AND 32767)),"
        " 血液型ID INTEGER CHECK (血液型ID IS NULL OR (typeof(血液型ID) = 'integer' AND 血液型ID BETWEEN -32768 AND 32767)),"
        " 勝率 REAL, 複勝率 REAL);"
        "INSERT INTO f_選手 SELECT 選手ID, 期, 所属ID, 級, 名前, よみがな, よみがな１桁, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率 FROM T_選手;"
        "DROP TABLE T_選手; ALTER TABLE f_選手 RENAME TO T_選手;"
        "CREATE TABLE f_個別名簿 (名前 TEXT, 生年 TEXT, 生月 TEXT, 生日 TEXT);"
        "INSERT INTO f_個別名簿 (rowid, 名前, 生年, 生月, 生日) SELECT rowid, 名前, 生年, 生月, 生日 FROM T_個別名簿;"
        "DROP TABLE T_個別名簿; ALTER TABLE f_個別名簿 RENAME TO T_個別名簿;"
        "COMMIT;",
        nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QCOMPARE(rc, SQLITE_OK);
}

// The master tables' rows with their row numbers, as one digest.
QByteArray masterRowsDigest(const QString& folder)
{
    QStringList queries;
    for (const char* table : {"T_選手", "T_所属", "T_競艇場", "T_個別名簿", "T_レース選手"})
        queries << QStringLiteral("SELECT rowid, * FROM %1 ORDER BY rowid").arg(QString::fromUtf8(table));
    queries[4] = QStringLiteral("SELECT * FROM T_レース選手");
    return RowsDigest(folder, queries);
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
    {
        // A racer deleted by the older version left his extraction row.
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        const int rc = sqlite3_exec(db, "INSERT INTO T_選手抽出 (選手ID) VALUES (3945), (4001), (5000)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QCOMPARE(rc, SQLITE_OK);
    }
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
        Statement copies = db.prepare(QStringLiteral("SELECT count(*) FROM T_レース選手"));
        copies.step();
        QCOMPARE(copies.value(0).toInt(), 1);
        // Settings are kept, one value a name.
        QCOMPARE(db.setting(QStringLiteral("フォルダ:番組表")), QString());
        db.setSetting(QStringLiteral("フォルダ:番組表"), QStringLiteral("/home/fan/ダウンロード"));
        db.setSetting(QStringLiteral("フォルダ:番組表"), QStringLiteral("/home/fan/番組"));
        QCOMPARE(db.setting(QStringLiteral("フォルダ:番組表")), QStringLiteral("/home/fan/番組"));
        // The extraction follows its racers now, and the row left behind is gone.
        db.execute(QStringLiteral("UPDATE T_選手 SET 選手ID = 4100 WHERE 選手ID = 4001"));
        db.execute(QStringLiteral("DELETE FROM T_選手 WHERE 選手ID = 3945"));
        Statement extraction = db.prepare(QStringLiteral("SELECT group_concat(選手ID) FROM T_選手抽出"));
        extraction.step();
        QCOMPARE(extraction.value(0).toString(), QStringLiteral("4100"));
    }
    const QByteArray rows = rowsDigest(t.folder());
    Database::compact(t.folder());
    QCOMPARE(IntegrityCheck(t.folder()), QStringLiteral("ok"));
    QCOMPARE(tablesAndViews(path), current);
    QCOMPARE(copies(t.folder()), QStringList());
    QCOMPARE(rowsDigest(t.folder()), rows);
}

void DatabaseFileTest::aFirstVersionFileGetsTheRulesOfANewOne()
{
    TestFolder t;
    const QString path = t.file("Vantor.mdb");
    { Database db(t.folder()); }
    const QStringList current = tablesAndViews(path);
    SeedRacers(t.folder(), {{3945}, {4001}});
    addRosterRows(t.folder(), 3);
    {
        Database db(t.folder());
        db.execute(QStringLiteral("DELETE FROM T_個別名簿 WHERE 名前 = '名簿1'"));
        db.execute(QStringLiteral("INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, "
                                  "選手5, 選手6) VALUES (2024, 5, 1, 1, 3, 3945, 4001, 0, 0, 0, 0)"));
    }
    makeFirstVersion(path);
    const QByteArray rows = masterRowsDigest(t.folder());

    Database db(t.folder());
    QCOMPARE(masterRowsDigest(t.folder()), rows);
    QCOMPARE(tablesAndViews(path), current);
    QCOMPARE(IntegrityCheck(t.folder()), QStringLiteral("ok"));
    // Every text refused as in a new database.
    const struct {
        const char* source;
        const char* key;
        const char* column;
        int length;
    } texts[] = {{"Q_選手", "選手ID", "よみがな", 15}, {"T_選手", "選手ID", "名前", 22}, {"Q_選手", "選手ID", "級", 2},
                 {"T_競艇場", "競艇場ID", "競艇場名", 22}, {"T_個別名簿", nullptr, "名前", 22}, {"T_所属", "所属ID", "県名", 2}};
    for (const auto& text : texts) {
        Recordset rs(db, QString::fromUtf8(text.source));
        rs.AddNew();
        if (text.key)
            rs.setField(QString::fromUtf8(text.key), 99);
        rs.setField(QString::fromUtf8(text.column), QString(text.length + 1, QChar(0xff71)));
        QVERIFY2(ErrorNumberOf([&] { rs.Update(); }) == EngineError::FieldTooSmall, text.source);
        rs.CancelUpdate();
    }
    QCOMPARE(masterRowsDigest(t.folder()), rows);
    // The views and triggers that name the tables work on the new ones.
    Statement race = db.prepare(QStringLiteral("SELECT 名前1, 競艇場名 FROM Q_レース履歴"));
    QVERIFY(race.step());
    QCOMPARE(race.value(0).toString(), QStringLiteral("山田太郎"));
    QCOMPARE(race.value(1).toString(), QStringLiteral("桐生"));
    Recordset racers(db, QStringLiteral("Q_選手"));
    QCOMPARE(racers.RecordCount(), 2);
    racers.AddNew();
    racers.setField(QStringLiteral("選手ID"), 4100);
    racers.setField(QStringLiteral("よみがな"), QStringLiteral("ｶﾜﾉ"));
    racers.Update();
    Statement added = db.prepare(QStringLiteral("SELECT よみがなID FROM Q_選手 WHERE 選手ID = 4100"));
    QVERIFY(added.step());
    QCOMPARE(added.value(0).toInt(), 5);
}

void DatabaseFileTest::rowsThatDoNotFitTheNewRulesAreKept()
{
    TestFolder t;
    const QString path = t.file("Vantor.mdb");
    SeedRacers(t.folder(), {{3945}});
    makeFirstVersion(path);
    const QString reading = QString(40, QChar(0xff71));
    {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        const QByteArray sql = QStringLiteral("UPDATE T_選手 SET よみがな = '%1'").arg(reading).toUtf8();
        QCOMPARE(sqlite3_exec(raw, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(raw);
    }
    const QByteArray rows = masterRowsDigest(t.folder());
    // The file opens and keeps the row whole rather than cut it.
    for (int open = 0; open < 2; ++open) {
        Database db(t.folder());
        Statement stored = db.prepare(QStringLiteral("SELECT よみがな FROM T_選手 WHERE 選手ID = 3945"));
        QVERIFY(stored.step());
        QCOMPARE(stored.value(0).toString(), reading);
    }
    QCOMPARE(masterRowsDigest(t.folder()), rows);
    QCOMPARE(IntegrityCheck(t.folder()), QStringLiteral("ok"));
}

int RunOutsideWriter(const QString& path, bool insert)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK && insert)
        rc = sqlite3_exec(db, "INSERT INTO T_個別名簿 (名前, 生年, 生月, 生日) VALUES ('外から', '1980', '1', '2')", nullptr,
                          nullptr, nullptr);
    if (rc != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        return 1;
    }
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 1;
    rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    std::printf("committed %d\n", rc);
    std::fflush(stdout);
    sqlite3_close(db);
    return rc == SQLITE_OK ? 0 : 1;
}

void DatabaseFileTest::anOutsideWriteOpenAtExitIsKept_data()
{
    QTest::addColumn<bool>("insert");
    QTest::newRow("row written, not committed") << true;
    QTest::newRow("write transaction begun") << false;
}

void DatabaseFileTest::anOutsideWriteOpenAtExitIsKept()
{
    QFETCH(bool, insert);
    TestFolder t;
    addRosterRows(t.folder(), 2);
    const QByteArray before = FileBytes(t.file("Vantor.mdb"));
    QProcess writer;
    writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    writer.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--child-write"), t.file("Vantor.mdb"), QLatin1String(insert ? "insert" : "reserve")});
    QByteArray out;
    QVERIFY(waitForLine(writer, &out, "ready\n"));

    // The exit's compaction steps aside, as for a file held exclusively.
    QCOMPARE(ErrorNumberOf([&] { Database::compact(t.folder()); }), EngineError::OpenedExclusively);
    QCOMPARE(copies(t.folder()), QStringList());
    QCOMPARE(FileBytes(t.file("Vantor.mdb")), before);

    writer.write("commit\n");
    QVERIFY(waitForLine(writer, &out, "committed 0\n"));
    QVERIFY(writer.waitForFinished(10000));
    QCOMPARE(outsideRows(t.folder()), insert ? 1 : 0);

    // Once the other program is done, the next exit compacts and keeps its row.
    Database::compact(t.folder());
    QCOMPARE(copies(t.folder()), QStringList());
    QCOMPARE(outsideRows(t.folder()), insert ? 1 : 0);
    QCOMPARE(IntegrityCheck(t.folder()), QStringLiteral("ok"));
}
