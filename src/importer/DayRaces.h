#pragma once

#include "DailyFiles.h"

#include <array>
#include <cstdint>
#include <vector>

class Database;

// Races of a day in the race history T_レース履歴.
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
// Each is marked as stored in boat order (seat n is boat n).
void StoreRaces(Database& db, const std::vector<StoredRace>& races);
// How many races of that day and racecourse the history already holds.
int CountStored(Database& db, const QDate& date, int courseId);

// What a day's results file does to the stored races of its day.
struct ResultsPlan {
    struct Update {
        qint64 id = 0;                     // 履歴ID
        std::array<int16_t, 6> results{};  // 結果1..6 after the update
    };
    int storedRaces = 0;      // stored races of the file's day
    int races = 0;            // races with at least one seat filled
    int seats = 0;            // seats filled
    int withoutResult = 0;    // stored races the file has no result for
    int unmatchedSeats = 0;   // seats of a race with results whose racer is not in them
    int changedEntered = 0;   // seats whose entered (non-zero) position would change
    std::vector<Update> updates;
};

// Matches the stored races of the file's day (same racecourse and race
// number) seat by seat through the registration number: a finish 01..06
// gives that position, every other code 0. Writes nothing.
ResultsPlan PlanResults(Database& db, const DailyFiles::ResultDay& day);
// Writes the plan's positions in one transaction.
void ApplyResults(Database& db, const ResultsPlan& plan);

}
