#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <vector>

// The two files the official site publishes every day: the race programs
// "bYYMMDD" (member "BYYMMDD.TXT") and the results "kYYMMDD" ("KYYMMDD.TXT").
// Shift-JIS text with CR LF, one section per racecourse, the section's
// number being the racecourse's code (01 桐生 ... 24 大村, the 競艇場ID of the
// delivered racecourse table). A file is read whole and checked before any
// of it is used: one that breaks the layout raises the bad-file-format
// run-time error (321) naming the line.
namespace DailyFiles {

// The text bytes of a daily file: a TXT file as it is; from an LHA archive
// (".LZH"), its one member whose name is `kind` + "*.TXT" (B or K),
// decompressed in memory.
QByteArray ReadDailyFileBytes(const QString& path, char kind);

// ---- race programs ----

struct Boat {
    int boat = 0;      // 1..6
    int toban = 0;     // registration number (登番)
    QString name;      // as printed: four full-width characters, cut
    int age = 0;
    QString branch;    // 支部
    int weight = 0;
    QString kyu;       // class: A1, A2, B1, B2
    double winRate = 0;    // national win rate (全国勝率), 0 when not given
    double placeRate = 0;  // national top-two rate (全国2率), percent
};

struct ProgramRace {
    int raceNo = 0;    // 1..12
    QString title;
    int distance = 0;  // metres
    std::vector<Boat> boats;  // the six boats in boat order
};

struct ProgramCourse {
    int code = 0;
    bool pending = false;  // "data not published yet": no races
    int line = 0;          // line of the section's head
    std::vector<ProgramRace> races;
};

struct ProgramDay {
    QDate date;
    std::vector<ProgramCourse> courses;  // in file order
};

// A boat line: 79 bytes without the line end.
constexpr int BoatLineLength = 79;

ProgramDay ParseProgram(const QByteArray& bytes, const QString& fileName);
ProgramDay ReadProgram(const QString& path);

// ---- results ----

struct Finish {
    QString code;      // "01".."06", "F", "L0", "L1", "K0", "K1", "S0", "S1", "S2", "00"
    int boat = 0;
    int toban = 0;
    QString name;
    // The finishing position 1..6 of the codes 01..06; 0 for every other code.
    int position() const;
};

struct ResultRace {
    int raceNo = 0;
    bool isVoid = false;  // "レース不成立"
    std::vector<Finish> finishes;  // in file order; a dead heat repeats a code
};

struct ResultCourse {
    int code = 0;
    bool pending = false;       // not all races run yet: no results
    std::vector<int> cancelled; // race numbers marked "中　止"
    std::vector<ResultRace> races;
    const ResultRace* race(int raceNo) const;
};

struct ResultDay {
    QDate date;
    std::vector<ResultCourse> courses;
    const ResultCourse* course(int code) const;
};

// A result line: 66 bytes without the line end.
constexpr int ResultLineLength = 66;

ResultDay ParseResults(const QByteArray& bytes, const QString& fileName);
ResultDay ReadResults(const QString& path);

}
