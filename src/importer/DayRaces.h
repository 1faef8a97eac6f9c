#pragma once

#include "DailyFiles.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Database;

// Races of a day in the race history T_レース履歴: storing a day's race
// programs and applying its results. The 番組表 window, "成績読込" and the
// import of a period all go through here.
namespace DayRaces {

// One race as it is stored: date, racecourse, race number and the registration
// number of the racer in each boat (0: no racer).
struct StoredRace {
    int16_t year = 0, month = 0, day = 0;
    int16_t courseId = 0;
    int16_t raceNo = 0;
    std::array<int16_t, 6> racers{};
};

// Adds the races to the history in one transaction: all of them or none.
// Each seat's racer is copied from the racer table as he is now.
// Each is marked as stored in boat order (seat n is boat n).
void StoreRaces(Database& db, const std::vector<StoredRace>& races);
// How many races of that day and racecourse the history already holds.
int CountStored(Database& db, const QDate& date, int courseId);

// What storing a day's programs did.
struct StoreSummary {
    int stored = 0;          // races added
    int skipped = 0;         // races of the file already in the history
    int notInTable = 0;      // seats whose racer is not in the racer table
    QSet<int> missingRacers; // the registration numbers of those racers
    int positions = 0;       // seats stored with a position 1..6 (from the day's results)
    int codes = 0;           // seats stored with a code that is no position
    bool dayWasEmpty = true; // the history held no race of the day before
    // "12R 5号艇 4305 山田太郎" for each such seat, in file order.
    QStringList missing;
};

// What a day's results file does to the stored races of its day.
struct ResultsPlan {
    struct Update {
        qint64 id = 0;                     // 履歴ID
        std::array<int16_t, 6> results{};  // 結果1..6 after the update
        std::array<QString, 6> codes;      // 着1..6 after the update (empty: none)
    };
    int storedRaces = 0;      // stored races of the file's day
    int races = 0;            // races with at least one seat filled
    int positions = 0;        // seats given a position 1..6
    int codes = 0;            // seats given a code that is no position (F, L0, K1, S0 ...)
    int withoutResult = 0;    // stored races the file has no result for
    int unmatchedSeats = 0;   // seats of a race with results whose racer is not in them
    int changedEntered = 0;   // seats whose entered (non-zero) position would change
    int unchanged = 0;        // races that hold the file's results already
    // Of the seats filled, those whose stored position or code the update
    // changes: a position 1..6, or a code that is no position.
    int changedPositions = 0;
    int changedCodes = 0;
    std::vector<Update> updates;  // the races whose stored values change
    int seats() const { return positions + codes; }
};

// Writes stored races of the days it is given, each day as one whole: the
// racer table, the racecourses, the branches and the racer copies are read
// once, and a copy of a racer is kept once per distinct content. Reading
// the database before a write and writing go through prepared statements
// kept for the writer's life.
class DayWriter {
public:
    explicit DayWriter(Database& db);
    ~DayWriter();

    // Stores every race of the day's programs that the history does not hold
    // yet (same date, racecourse and race number), of one racecourse or, with
    // course 0, of all. A boat's racer is kept by his registration number;
    // his copy is the racer table's with the class of the program, or, when
    // the racer table has no such racer, what the program says of him (name,
    // branch, class, rates; birth date unknown). Given the day's results, a
    // race is stored with them at once. No transaction of its own.
    StoreSummary storePrograms(const DailyFiles::ProgramDay& day, int course = 0,
                               const DailyFiles::ResultDay* results = nullptr);

    // Matches the stored races of the file's day (same racecourse and race
    // number) seat by seat through the registration number: a finish 01..06
    // gives that position, every other code 0, and each keeps its code.
    // Writes nothing.
    ResultsPlan planResults(const DailyFiles::ResultDay& day);
    // Writes the plan's changes. No transaction of its own.
    void applyResults(const ResultsPlan& plan);

    // Runs `work` as one transaction: all it wrote, or (on an error, which
    // goes on to the caller) nothing, the writer's memory of copies included.
    void inTransaction(const std::function<void()>& work);

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// The same for one piece of work, each in a transaction of its own.
StoreSummary StorePrograms(Database& db, const DailyFiles::ProgramDay& day, int course = 0);
ResultsPlan PlanResults(Database& db, const DailyFiles::ResultDay& day);
void ApplyResults(Database& db, const ResultsPlan& plan);

}
