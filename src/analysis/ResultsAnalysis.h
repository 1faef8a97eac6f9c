#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class Database;

// Did racers finish better on some rhythm days than on others? The stored
// races with their entered positions, counted by the state of each rhythm on
// the survey day. Plain data in, plain table out: the window only shows it.

// One boat of a stored race, as the history view gives it.
struct StoredSeat {
    int32_t racer = 0;       // registration number; 0 for an empty boat
    int16_t birthYear = 0;   // 0 when the view knows no such racer
    int16_t birthMonth = 0;
    int16_t birthDay = 0;
    int16_t position = 0;    // finishing position; 0 until entered
    QString code;            // finish code of the results file (F, K0 ... or 01..06); empty when none
    bool named = false;      // the view gives the racer's name (from the racer table or a copy)
};

struct StoredRace {
    int16_t year = 0;
    int16_t month = 0;
    int16_t day = 0;
    int32_t course = 0;      // racecourse id
    std::array<StoredSeat, 6> seats;
};

// Every stored race with its racers, read through the history view so that
// the analysis sees each seat's racer exactly as the history window does.
std::vector<StoredRace> LoadStoredRaces(const Database& db);

// Which races count: survey days between `from` and `to` (day numbers,
// both included) and one racecourse; an empty bound lets every race pass.
struct AnalysisFilter {
    std::optional<double> from;
    std::optional<double> to;
    std::optional<int32_t> course;
};

// The five states of a rhythm's score, strongest first. The middle one is
// the race table's red rule; the outer ones begin at an eighth of the period.
enum class RhythmState { Good, Rising, Critical, Falling, Poor };
constexpr int StateCount = 5;
RhythmState Classify(double score, int period);
QString StateName(RhythmState state);
QString RhythmName(int rhythm);   // 0 body, 1 emotion, 2 intellect

// Finishes of a group of starts.
struct Tally {
    int starts = 0;
    int first = 0;          // won
    int topTwo = 0;         // 1st or 2nd
    int topThree = 0;       // 1st to 3rd
    int64_t positionSum = 0;
    int codes = 0;          // starts that ended in a code, no place (F, L, K, S ...): not in the rates

    void add(int position);
    void addCode() { ++codes; }
    double averagePosition() const { return starts ? double(positionSum) / starts : 0.0; }
};

// The 95 % score interval of Wilson for `successes` out of `trials`; it
// stays inside 0..1 and is honest for small numbers, where the plain
// rate +- 2 standard errors is not. Trials 0 gives 0..1.
struct Interval {
    double low;
    double high;
};
Interval Wilson(int successes, int trials);

struct AnalysisRow {
    QString group;    // "全体", a rhythm's name, or "三つとも要注意"
    QString state;    // the state's name for a rhythm row, else empty
    Tally tally;
};

struct AnalysisTable {
    // Row 0 all starts, then each rhythm's five states, then the starts with
    // all three rhythms critical.
    static constexpr int RowCount = 2 + 3 * StateCount;
    static constexpr int AllRow = 0;
    static constexpr int AllCriticalRow = RowCount - 1;
    static constexpr int rowOf(int rhythm, RhythmState state) { return 1 + rhythm * StateCount + int(state); }

    std::vector<AnalysisRow> rows;
    int withoutPosition = 0;  // starts of a known racer with no position 1..6 entered
    int unknownRacer = 0;     // starts whose racer the history view cannot give
    int noBirthDate = 0;      // starts of a racer known by name only (not in the racer table): no rhythm
    int withCode = 0;         // starts of a known racer that ended in a code (F, L, K, S ...)

    bool empty() const { return rows[AllRow].tally.starts == 0 && rows[AllRow].tally.codes == 0; }
};

AnalysisTable Analyse(const std::vector<StoredRace>& races, const AnalysisFilter& filter);
