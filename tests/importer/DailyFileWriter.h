#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <array>
#include <vector>

// Makes the official daily files for the tests, in code page 932 with CR LF:
// the race programs (B) and the results (K), one section per racecourse.

struct ProgramBoat {
    int toban = 4444;
    QString name = QStringLiteral("山田太郎");  // cut or padded to four full-width characters
    int age = 30;
    QString branch = QStringLiteral("東京");
    int weight = 52;
    QString kyu = QStringLiteral("A1");
    // Rates, motor and boat numbers and the meeting's results: 55 bytes.
    QString rest = QStringLiteral(" 6.54 45.12 6.23 40.00 23 35.00 45 32.00 1 2 3 4      ");
};

struct ProgramRaceText {
    int raceNo = 1;
    QString title = QStringLiteral("予選");
    int distance = 1800;
    std::array<ProgramBoat, 6> boats;
};

struct ProgramCourseText {
    int code = 1;
    bool pending = false;  // "data not yet published": no races
    std::vector<ProgramRaceText> races;
};

// Six boats with registration numbers first, first + 1, ...
ProgramRaceText MakeProgramRace(int raceNo, int firstToban);
// The 79 bytes of a boat line.
QByteArray BoatLine(int boat, const ProgramBoat& b);
QByteArray ProgramFileBytes(const QDate& date, const std::vector<ProgramCourseText>& courses);

struct ResultLineText {
    QString code = QStringLiteral("01");  // 01..06, F, L0, L1, K0, K1, S0, S1, S2, 00
    int boat = 1;
    int toban = 4444;
    QString name = QStringLiteral("山田太郎");
    QString timing = QStringLiteral("0.12");
    QString time = QStringLiteral("1.49.8");
};

struct ResultRaceText {
    int raceNo = 1;
    bool cancelled = false;  // "中　止" in the payout summary, no block
    bool isVoid = false;     // "レース不成立" under the results
    std::vector<ResultLineText> lines;
};

struct ResultCourseText {
    int code = 1;
    bool pending = false;  // not all races run yet
    std::vector<ResultRaceText> races;
};

// Boats 1..6 finishing in boat order, registration numbers first, first + 1, ...
ResultRaceText MakeResultRace(int raceNo, int firstToban);
// The 66 bytes of a result line.
QByteArray ResultLine(const ResultLineText& r);
QByteArray ResultFileBytes(const QDate& date, const std::vector<ResultCourseText>& courses);

// The 1-based number of the line that holds exactly these bytes (0: none).
int LineOf(const QByteArray& file, const QByteArray& line);

// A generated period of official day files: `days` days from `first`, each
// with racecourses 1 .. `courses` of races 1 .. `races`. Boat k of a race
// holds racer firstToban + (a running number) mod racerCount and finishes in
// boat order; a test changes the days it needs before writing them.
struct GeneratedDay {
    QDate date;
    std::vector<ProgramCourseText> programs;
    std::vector<ResultCourseText> results;
};
std::vector<GeneratedDay> GeneratePeriod(const QDate& first, int days, int courses, int races, int firstToban, int racerCount);
// Writes the day's bYYMMDD and kYYMMDD into the folder, as LHA archives
// (".lzh", one member "BYYMMDD.TXT" / "KYYMMDD.TXT") or as text (".txt").
// Returns the two paths.
std::array<QString, 2> WriteDayFiles(const QString& folder, const GeneratedDay& day, bool archives);
