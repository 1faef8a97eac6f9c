#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

class QWidget;

// A fresh program folder with its own database for one test, and the
// message-box and save-dialog scripts switched on. Shared variables start
// from their reset values with the folder set.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    const QString& folder() const { return folder_; }
    QString file(const QString& name) const { return folder_ + name; }

private:
    QTemporaryDir dir_;
    QString folder_;
};

// Finds a named child of a window, failing the test when it is missing.
template <typename T>
T* child(QWidget* window, const QString& name);

#include <QTest>
#include <QWidget>

template <typename T>
T* child(QWidget* window, const QString& name)
{
    T* found = window->findChild<T*>(name);
    if (!found)
        qWarning("control %s not found", qPrintable(name));
    return found;
}

#include <vector>

// A racer row for seeding a test database.
struct TestRacer {
    int id;
    int ki = 64;
    int ken = 12;
    QString name = QStringLiteral("山田太郎");
    QString yomi = QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ");
    int year = 1970;
    int month = 5;
    int day = 12;
    int blood = 1;
    double win = 6.52;
    double place = 45.3;
};

// Writes racers into T_選手 of the folder's database in one transaction.
void SeedRacers(const QString& folder, const std::vector<TestRacer>& racers);
// Stores `count` generated races in one transaction: dates from 2020 to 2025,
// every racecourse and race number; seat n of race r holds racer
// firstRacer + (6r + n) mod racerCount. With `positions` every seat has a
// finishing position 1..6, else 0.
void SeedRaces(const QString& folder, int count, int firstRacer, int racerCount, bool positions = false);
// Adds registration numbers to the extraction table.
void SeedExtraction(const QString& folder, const std::vector<int>& ids);
// Clicks line `row` of a list box as a user does.
class QListWidget;
void ClickListLine(QListWidget* list, int row);

// Picks entry `index` of a drop-down as a user does from the keyboard (the
// pick runs the box's handler).
class QComboBox;
void PickComboItem(QComboBox* box, int index);

// Runs several test objects in one executable; 0 when all passed.
int RunTestObjects(int argc, char* argv[], std::initializer_list<QObject*> objects);

// A plain window standing in for a window that a test does not open for real
// (the main menu the closing windows return to, say).
void RegisterStandIn(const QString& name);
// Unloads every window, as between two tests.
void UnloadAllWindows();

// The number of the run-time error the body raises (0: none); the error's
// description goes to `description` when given.
#include <functional>
int ErrorNumberOf(const std::function<void()>& body, QString* description = nullptr);

// Checks that every menu item of a window draws its whole caption: each item
// of a drop-down menu is painted at the width the menu gives it and again far
// wider, and the two pictures of the caption must agree (a caption cut in the
// middle, "競艇場ﾃｰ…Kﾉ)", does not); each caption of the menu bar fits its
// place. Uses the program's font.
void VerifyMenusShowWholeCaptions(QWidget* window);

// Runs the body while watching the named pipe `fifo`: a reader that waits on
// it (a start that would hang for ever) is released at once. True when
// nothing ever waited on the pipe.
bool RunsWithoutWaitingOn(const QString& fifo, const std::function<void()>& body);

// Crash runs. A test program doubles as the child that does one piece of
// work: its main hands `--child ...` arguments to a work function run by
// RunChildWork, which prints "ready" before the work and "done" after it.
int RunChildWork(const std::function<void()>& work);

// Starts this test program as a child with the arguments, waits for its
// "ready", then `delayUs` microseconds, and kills it with SIGKILL (a negative
// delay lets it run to the end). Returns the microseconds from "ready" to
// "done", or -1 when the kill came first.
qint64 RunChild(const QStringList& arguments, qint64 delayUs);

// The shortest of three uninterrupted runs of the child, each after
// `restore` has put the starting files back; -1 when one of them fails.
qint64 ShortestRun(const QStringList& arguments, const std::function<void()>& restore);

// The kill moments of a crash run: `count` delays spread evenly over a work
// that takes `workUs` (the shortest of a few uninterrupted runs) and a fifth
// beyond it.
std::vector<qint64> SpreadMoments(qint64 workUs, int count);

// Another program's connection to a database file, holding the engine's
// exclusive lock as the sqlite3 shell does inside a transaction, without
// taking this program's own lock.
struct sqlite3;
class EngineLock {
public:
    explicit EngineLock(const QString& path);
    ~EngineLock();
    EngineLock(const EngineLock&) = delete;
    EngineLock& operator=(const EngineLock&) = delete;

private:
    sqlite3* db_ = nullptr;
};

// The middle of a benchmark's timings (the upper middle of an even count).
double Median(std::vector<double> values);

// CPU time of this process in ms (on a busy machine the wall time also
// counts the time spent waiting for a core), and its resident memory in MB.
double CpuMs();
double ResidentMb();

// Every value the queries return, in their order, as one digest; and what
// the engine's integrity check says of the folder's database ("ok").
QByteArray RowsDigest(const QString& folder, const QStringList& queries);
QString IntegrityCheck(const QString& folder);

// The contents of a file (empty when it cannot be read), and a file written
// with the given bytes.
QByteArray FileBytes(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);

// Makes the folder's database as an earlier version of the program left it:
// made by the named scripts of src/data only (say "schema.sql" and
// "race_racers.sql"), in that order. An existing database is replaced.
void WriteDatabaseOfScripts(const QString& folder, const QStringList& scripts);
