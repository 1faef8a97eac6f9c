#pragma once

#include "Statistics.h"

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
    bool unplaced = false;   // ended without a place (a flying start, a disqualification ...)
    int8_t grade = 0;        // the class he raced in: 1 A1, 2 A2, 3 B1, 4 B2; 0 unknown
};

// The classes a racer races in, by their number in StoredSeat::grade.
constexpr int GradeCount = 4;
QString GradeName(int grade);   // "A1" .. "B2"
int GradeOf(const QString& name);  // 0 for any other text

struct StoredRace {
    int16_t year = 0;
    int16_t month = 0;
    int16_t day = 0;
    int32_t course = 0;      // racecourse id
    // Seat n is boat n (lane n) of the official program; else the seats are
    // in the order the racers were selected.
    bool boatOrder = false;
    std::array<StoredSeat, 6> seats;
};

// Every stored race with its racers, each seat's racer exactly as the
// history view gives him (the racer table's, else the copy kept with the
// race), in the order of the races' ids.
std::vector<StoredRace> LoadStoredRaces(const Database& db);

// Which starts count: survey days between `from` and `to` (day numbers,
// both included), one racecourse, one lane (1..6: only races stored in boat
// order know it), one class the racer raced in (1..4); an empty bound lets
// every start pass.
struct AnalysisFilter {
    std::optional<double> from;
    std::optional<double> to;
    std::optional<int32_t> course;
    std::optional<int> lane;
    std::optional<int> grade;
};

// The five states of a rhythm, strongest first. The middle one is the race
// table's red rule; the outer ones begin at an eighth of the period; between
// them the rhythm is rising or falling by the sign of tomorrow's value minus
// today's.
enum class RhythmState { Good, Rising, Critical, Falling, Poor };
constexpr int StateCount = 5;
RhythmState Classify(double score, int period, bool rising);
// The state of a rhythm (0 body, 1 emotion, 2 intellect) on a day of its
// cycle (phase 0 .. period - 1).
RhythmState StateAt(int rhythm, int32_t phase);
QString StateName(RhythmState state);
QString RhythmName(int rhythm);   // 0 body, 1 emotion, 2 intellect

// Finishes of a group of starts.
struct Tally {
    int starts = 0;
    int first = 0;          // won
    int topTwo = 0;         // 1st or 2nd
    int topThree = 0;       // 1st to 3rd
    int64_t positionSum = 0;
    int unplaced = 0;       // ended without a place: a start, neither won nor placed

    void add(int position);
    void addUnplaced();
    int placed() const { return starts - unplaced; }
    // Over the starts that ended in a place.
    double averagePosition() const { return placed() ? double(positionSum) / placed() : 0.0; }
};

// Wins of a group of starts against the wins their lanes alone lead one to
// expect: each start counts with the win rate of its lane over all starts
// that passed the same filter. Only starts of races stored in boat order.
struct LaneFigures {
    int starts = 0;
    int wins = 0;
    double expected = 0;          // Σ lane win rate
    double expectedSquares = 0;   // Σ (lane win rate)², for the interval
    std::array<int, 6> laneStarts{};
    std::array<int, 6> laneWins{};

    bool available() const { return expected > 0; }
    // 1.00: the state adds nothing to the lane.
    double ratio() const { return available() ? wins / expected : 0.0; }
    Interval interval() const { return RatioInterval(wins, expected, expectedSquares); }
};

struct AnalysisRow {
    QString group;    // "全体", a rhythm's name, or "三つとも要注意"
    QString state;    // the state's name for a rhythm row, else empty
    Tally tally;
    LaneFigures lane;
};

// Does a rhythm's state change the finish beyond chance? Two tests over its
// five states: won or not, and in the first three or not.
struct RhythmVerdict {
    ChiSquareTest win;
    ChiSquareTest topThree;
};

struct AnalysisTable {
    // Row 0 all starts, then each rhythm's five states, then the starts with
    // all three rhythms critical.
    static constexpr int RowCount = 2 + 3 * StateCount;
    static constexpr int AllRow = 0;
    static constexpr int AllCriticalRow = RowCount - 1;
    static constexpr int rowOf(int rhythm, RhythmState state) { return 1 + rhythm * StateCount + int(state); }

    std::vector<AnalysisRow> rows;
    std::array<RhythmVerdict, 3> verdicts;
    int withoutPosition = 0;  // starts of a known racer with no position 1..6 entered
    int unplaced = 0;         // starts that ended without a place (counted in the rows)
    int unknownRacer = 0;     // starts of a racer whose birth date is not known (not in the racer table)
    int emptyBoats = 0;       // boats without a racer
    // Counted starts of races not stored in boat order: left out of the lane
    // figures; with a lane chosen, left out of everything.
    int laneUnknown = 0;
    bool laneChosen = false;

    bool empty() const { return rows[AllRow].tally.starts == 0; }
    // Some starts have a known lane: the lane figures mean something.
    bool laneAvailable() const { return rows[AllRow].lane.available(); }
};

AnalysisTable Analyse(const std::vector<StoredRace>& races, const AnalysisFilter& filter);
