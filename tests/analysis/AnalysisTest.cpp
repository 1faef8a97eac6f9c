#include "AnalysisReport.h"
#include "Basic.h"
#include "BunsekiForm.h"
#include "CharPrinter.h"
#include "Database.h"
#include "Forms.h"
#include "MsgBox.h"
#include "RateChart.h"
#include "ResultsAnalysis.h"
#include "Rhythm.h"
#include "RirekiForm.h"
#include "FileDialog.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>

namespace {
struct Race {
    QDate survey;
    int course;
    std::array<int, 6> racers;
    std::array<int, 6> positions;
};

void storeRaces(const QString& folder, const std::vector<Race>& races)
{
    Database db(folder);
    Database::Transaction transaction(db);
    Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6, "
        "結果1, 結果2, 結果3, 結果4, 結果5, 結果6) VALUES (?1, ?2, ?3, ?4, 1, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)"));
    for (const Race& r : races) {
        insert.bind(1, r.survey.year()).bind(2, r.survey.month()).bind(3, r.survey.day()).bind(4, r.course);
        for (int n = 0; n < 6; ++n)
            insert.bind(5 + n, r.racers[size_t(n)]).bind(11 + n, r.positions[size_t(n)]);
        insert.step();
        insert.reset();
    }
    transaction.commit();
}

TestRacer racer(int id, QDate birth)
{
    TestRacer r{id};
    r.year = birth.year();
    r.month = birth.month();
    r.day = birth.day();
    return r;
}

// The hand-worked history. Survey day 15 June 2000; each racer's day count D
// and the scores it gives (body P 23, emotion P 28, intellect P 33 rounded):
//   A 101 born 2000-06-15  D 0    0.00   0.00   0   all three critical
//   B 102 born 2000-06-14  D 1    1.55   1.56   2   all rising
//   C 103 born 2000-06-16  D -1  -1.55  -1.56  -2   all rising (to 0 tomorrow)
//   D 104 born 2000-06-09  D 6    5.74   6.82   8   all good
//   E 105 born 2000-05-11  D 35  -0.78   7.00   3   critical, good, rising
//   F 106 born 2000-05-29  D 17  -5.74  -4.36  -1   poor, poor, critical
// The strong bounds P/8 are 2.875, 3.5 and 4.125.
const QDate kJune15(2000, 6, 15);
const QDate kJuly20(2000, 7, 20);
constexpr int kUnknown = 9999;

void seedHandWorkedHistory(const QString& folder)
{
    SeedRacers(folder, {racer(101, QDate(2000, 6, 15)), racer(102, QDate(2000, 6, 14)), racer(103, QDate(2000, 6, 16)),
                        racer(104, QDate(2000, 6, 9)), racer(105, QDate(2000, 5, 11)), racer(106, QDate(2000, 5, 29))});
    storeRaces(folder, {
        // An empty boat and a racer not in the racer table.
        {kJune15, 1, {101, 102, 103, 104, 0, kUnknown}, {1, 2, 3, 4, 0, 5}},
        // Boats 5 and 6 without positions.
        {kJune15, 2, {101, 102, 103, 104, 102, 103}, {2, 1, 6, 3, 0, 0}},
        {kJune15, 2, {105, 106, 0, 0, 0, 0}, {1, 5, 0, 0, 0, 0}},
        // A a month later: D 35, critical, good, rising as E above.
        {kJuly20, 1, {101, 0, 0, 0, 0, 0}, {6, 0, 0, 0, 0, 0}},
    });
}

struct Expect {
    int starts, first, topTwo, topThree, positionSum;
};

void compareTally(const Tally& t, const Expect& e)
{
    QCOMPARE(t.starts, e.starts);
    QCOMPARE(t.first, e.first);
    QCOMPARE(t.topTwo, e.topTwo);
    QCOMPARE(t.topThree, e.topThree);
    QCOMPARE(t.positionSum, int64_t(e.positionSum));
}

const Tally& tallyOf(const AnalysisTable& table, int rhythm, RhythmState state)
{
    return table.rows[size_t(AnalysisTable::rowOf(rhythm, state))].tally;
}

// A racer born so that on 15 June 2000 his rhythm `rhythm` is in `state`,
// finishing at `position` (0: none entered).
StoredSeat seatIn(int rhythm, RhythmState state, int position, int racer = 101)
{
    for (int d = 0; d < Rhythm::Periods[rhythm]; ++d)
        if (StateAt(rhythm, d) == state) {
            const QDate birth = kJune15.addDays(-d);
            return {racer, int16_t(birth.year()), int16_t(birth.month()), int16_t(birth.day()), int16_t(position)};
        }
    return {};
}

// 40 races in boat order: boat 1 wins three in four, boat 2 the rest. Boat 1
// always holds a racer in a good body state, boat 2 a poor one, boat 3 a
// rising, boat 4 a falling, boats 5 and 6 critical ones.
std::vector<StoredRace> laneOneHistory()
{
    std::vector<StoredRace> races;
    for (int i = 0; i < 40; ++i) {
        StoredRace race{2000, 6, 15, 1, true, {}};
        const bool firstWins = i % 4 != 0;
        race.seats[0] = seatIn(0, RhythmState::Good, firstWins ? 1 : 2);
        race.seats[1] = seatIn(0, RhythmState::Poor, firstWins ? 2 : 1);
        race.seats[2] = seatIn(0, RhythmState::Rising, 3);
        race.seats[3] = seatIn(0, RhythmState::Falling, 4);
        race.seats[4] = seatIn(0, RhythmState::Critical, 5);
        race.seats[5] = seatIn(0, RhythmState::Critical, 6);
        races.push_back(race);
    }
    return races;
}

AnalysisFilter june()
{
    AnalysisFilter f;
    f.from = DayNumber(2000, 6, 1);
    f.to = DayNumber(2000, 6, 30);
    return f;
}
}

// The counting, the interval and the reports, on plain data.
class ResultsAnalysisTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;
    std::vector<StoredRace> races_;

private slots:
    void init()
    {
        folder_ = std::make_unique<TestFolder>();
        seedHandWorkedHistory(folder_->folder());
        races_ = LoadStoredRaces(Database(folder_->folder()));
    }
    void cleanup() { folder_.reset(); }

    void theViewGivesEachSeat()
    {
        QCOMPARE(races_.size(), size_t(4));
        const StoredRace& first = races_[0];
        QCOMPARE(first.year, int16_t(2000));
        QCOMPARE(first.course, 1);
        QCOMPARE(first.seats[1].racer, 102);
        QCOMPARE(first.seats[1].birthDay, int16_t(14));
        QCOMPARE(first.seats[1].position, int16_t(2));
        QCOMPARE(first.seats[4].racer, 0);
        // A racer held neither in the racer table nor as a copy comes without a birth date.
        QCOMPARE(first.seats[5].racer, kUnknown);
        QCOMPARE(first.seats[5].birthYear, int16_t(0));
    }

    void handWorkedJune()
    {
        const AnalysisTable t = Analyse(races_, june());
        QCOMPARE(int(t.rows.size()), AnalysisTable::RowCount);
        // Ten starts: race 1 A1 B2 C3 D4, race 2 A2 B1 C6 D3, race 3 E1 F5.
        compareTally(t.rows[AnalysisTable::AllRow].tally, {10, 3, 5, 7, 28});
        QCOMPARE(t.withoutPosition, 2);
        QCOMPARE(t.unknownRacer, 1);
        QCOMPARE(t.emptyBoats, 5);  // one in race 1, four in race 3
        QCOMPARE(t.unplaced, 0);
        // No race was stored in boat order: no lane figures.
        QCOMPARE(t.laneUnknown, 10);
        QVERIFY(!t.laneAvailable());
        QCOMPARE(t.rows[AnalysisTable::AllRow].lane.starts, 0);

        using S = RhythmState;
        // Body: good D(4,3); rising B(2,1) C(3,6); critical A(1,2) E(1); falling none; poor F(5).
        compareTally(tallyOf(t, 0, S::Good), {2, 0, 0, 1, 7});
        compareTally(tallyOf(t, 0, S::Rising), {4, 1, 2, 3, 12});
        compareTally(tallyOf(t, 0, S::Critical), {3, 2, 3, 3, 4});
        compareTally(tallyOf(t, 0, S::Falling), {0, 0, 0, 0, 0});
        compareTally(tallyOf(t, 0, S::Poor), {1, 0, 0, 0, 5});
        // Emotion: good D(4,3) E(1); rising B C; critical A; poor F.
        compareTally(tallyOf(t, 1, S::Good), {3, 1, 1, 2, 8});
        compareTally(tallyOf(t, 1, S::Rising), {4, 1, 2, 3, 12});
        compareTally(tallyOf(t, 1, S::Critical), {2, 1, 2, 2, 3});
        compareTally(tallyOf(t, 1, S::Falling), {0, 0, 0, 0, 0});
        compareTally(tallyOf(t, 1, S::Poor), {1, 0, 0, 0, 5});
        // Intellect: good D; rising B(2,1) C(3,6) E(1); critical A(1,2) F(5); poor none.
        compareTally(tallyOf(t, 2, S::Good), {2, 0, 0, 1, 7});
        compareTally(tallyOf(t, 2, S::Rising), {5, 2, 3, 4, 13});
        compareTally(tallyOf(t, 2, S::Critical), {3, 1, 2, 2, 8});
        compareTally(tallyOf(t, 2, S::Falling), {0, 0, 0, 0, 0});
        compareTally(tallyOf(t, 2, S::Poor), {0, 0, 0, 0, 0});
        // All three critical: A only (F's body and emotion are poor).
        compareTally(t.rows[AnalysisTable::AllCriticalRow].tally, {2, 1, 2, 2, 3});

        // The texts: 3 of 10 won, average 2.8; 2 of 3 is 66.7 %.
        const Tally& all = t.rows[AnalysisTable::AllRow].tally;
        QCOMPARE(RateText(all.first, all.starts), QStringLiteral("30.0"));
        QCOMPARE(AverageText(all), QStringLiteral("2.80"));
        QCOMPARE(RateText(2, 3), QStringLiteral("66.7"));
        QCOMPARE(AverageText(tallyOf(t, 0, S::Critical)), QStringLiteral("1.33"));
        QCOMPARE(RateText(0, 0), QString());
        QCOMPARE(AverageText(tallyOf(t, 2, S::Poor)), QString());
    }

    void filters()
    {
        // Every date: A's July race adds a sixth place (critical, good, rising).
        const AnalysisTable all = Analyse(races_, {});
        compareTally(all.rows[AnalysisTable::AllRow].tally, {11, 3, 5, 7, 34});
        compareTally(tallyOf(all, 0, RhythmState::Critical), {4, 2, 3, 3, 10});
        compareTally(tallyOf(all, 1, RhythmState::Good), {4, 1, 1, 2, 14});
        compareTally(tallyOf(all, 2, RhythmState::Rising), {6, 2, 3, 4, 19});
        compareTally(all.rows[AnalysisTable::AllCriticalRow].tally, {2, 1, 2, 2, 3});

        // Racecourse 1: race 1 and the July race.
        AnalysisFilter kiryu;
        kiryu.course = 1;
        const AnalysisTable one = Analyse(races_, kiryu);
        compareTally(one.rows[AnalysisTable::AllRow].tally, {5, 1, 2, 3, 16});
        QCOMPARE(one.withoutPosition, 0);
        QCOMPARE(one.unknownRacer, 1);

        // Both bounds are included; a range holding no race gives an empty table.
        AnalysisFilter day;
        day.from = day.to = DayNumber(2000, 7, 20);
        compareTally(Analyse(races_, day).rows[AnalysisTable::AllRow].tally, {1, 0, 0, 0, 6});
        day.from = day.to = DayNumber(2000, 7, 21);
        const AnalysisTable none = Analyse(races_, day);
        QVERIFY(none.empty());
        QCOMPARE(none.withoutPosition, 0);
    }

    void aRacerWhoLeftTheRacerTableStillCounts()
    {
        // A later handbook no longer lists D: his stored starts keep the
        // copy of him made when the races were stored.
        Database(folder_->folder()).execute(QStringLiteral("DELETE FROM T_選手 WHERE 選手ID = 104"));
        const std::vector<StoredRace> races = LoadStoredRaces(Database(folder_->folder()));
        QCOMPARE(races[0].seats[3].racer, 104);
        QCOMPARE(races[0].seats[3].birthDay, int16_t(9));
        const AnalysisTable t = Analyse(races, june());
        compareTally(t.rows[AnalysisTable::AllRow].tally, {10, 3, 5, 7, 28});
        compareTally(tallyOf(t, 0, RhythmState::Good), {2, 0, 0, 1, 7});
        QCOMPARE(t.unknownRacer, 1);
    }

    void eachSeatReadsAsTheHistoryViewGivesIt()
    {
        // D leaves the racer table (his copies stay), B is renamed and moved
        // to another birth date there (the live row counts), a race stored
        // after D left keeps no copy of him.
        Database db(folder_->folder());
        db.execute(QStringLiteral("DELETE FROM T_選手 WHERE 選手ID = 104"));
        db.execute(QStringLiteral("UPDATE T_選手 SET 生日 = 20 WHERE 選手ID = 102"));
        storeRaces(folder_->folder(), {{kJuly20, 3, {104, 102, 0, 101, 0, 0}, {1, 2, 0, 3, 0, 0}}});
        // The classes kept with the races, and finish codes: A flew (F),
        // B was disqualified after a place was typed (K0 with 2 kept).
        db.execute(QStringLiteral("UPDATE T_選手控 SET 級 = CASE 選手ID WHEN 101 THEN 'A1' WHEN 102 THEN 'B2' ELSE 'A2' END"));
        db.execute(QStringLiteral("UPDATE T_レース履歴 SET 着1 = 'F', 結果1 = 0, 着2 = 'K0' WHERE 履歴ID = (SELECT min(履歴ID) FROM T_レース履歴)"));
        const std::vector<StoredRace> races = LoadStoredRaces(db);
        Statement view = db.prepare(QStringLiteral(
            "SELECT 調査年, 調査月, 調査日, 選手1, 生年1, 生月1, 生日1, 結果1, 選手2, 生年2, 生月2, 生日2, 結果2, "
            "選手3, 生年3, 生月3, 生日3, 結果3, 選手4, 生年4, 生月4, 生日4, 結果4, 選手5, 生年5, 生月5, 生日5, 結果5, "
            "選手6, 生年6, 生月6, 生日6, 結果6, 級1, 級2, 級3, 級4, 級5, 級6, 着1, 着2, 着3, 着4, 着5, 着6 "
            "FROM Q_レース履歴 ORDER BY 履歴ID"));
        size_t r = 0;
        for (; view.step(); ++r) {
            QVERIFY(r < races.size());
            const StoredRace& race = races[r];
            QCOMPARE(int(race.year), view.value(0).toInt());
            QCOMPARE(int(race.month), view.value(1).toInt());
            QCOMPARE(int(race.day), view.value(2).toInt());
            for (int n = 0; n < 6; ++n) {
                const StoredSeat& seat = race.seats[size_t(n)];
                const int c = 3 + 5 * n;
                QCOMPARE(seat.racer, view.value(c).toInt());
                QCOMPARE(int(seat.birthYear), view.value(c + 1).toInt());
                QCOMPARE(int(seat.birthMonth), view.value(c + 2).toInt());
                QCOMPARE(int(seat.birthDay), view.value(c + 3).toInt());
                QCOMPARE(int(seat.position), view.value(c + 4).toInt());
                QCOMPARE(int(seat.grade), GradeOf(view.value(33 + n).toString()));
                const QString code = view.value(39 + n).toString();
                QCOMPARE(seat.unplaced, seat.position == 0 && !code.isEmpty() && !code.startsWith(QLatin1Char('0')));
            }
        }
        QCOMPARE(r, races.size());
        // The live row counts for B; D of the new race is unknown.
        QCOMPARE(races[0].seats[1].birthDay, int16_t(20));
        QCOMPARE(races[0].seats[3].birthDay, int16_t(9));
        QCOMPARE(races[4].seats[0].racer, 104);
        QCOMPARE(races[4].seats[0].birthYear, int16_t(0));
        QCOMPARE(races[0].seats[0].grade, int8_t(1));
        QCOMPARE(races[0].seats[1].grade, int8_t(4));
        // A's flying start ended without a place; B's typed place stands.
        QVERIFY(races[0].seats[0].unplaced);
        QVERIFY(!races[0].seats[1].unplaced);

        // Counted: A's start is a start that neither won nor placed, in
        // the column of its own; the average is over the placed starts.
        AnalysisTable t = Analyse(races, june());
        QCOMPARE(t.unplaced, 1);
        QCOMPARE(t.withoutPosition, 2);
        const Tally& all = t.rows[AnalysisTable::AllRow].tally;
        QCOMPARE(all.starts, 10);
        QCOMPARE(all.unplaced, 1);
        QCOMPARE(all.first, 2);  // A's win of race 1 is gone
        QCOMPARE(all.topThree, 6);
        QCOMPARE(AverageText(all), QStringLiteral("3.00"));  // (28 - 1) / 9
        QCOMPARE(tallyOf(t, 0, RhythmState::Critical).unplaced, 1);  // A is critical in all three
        QCOMPARE(t.rows[AnalysisTable::AllCriticalRow].tally.unplaced, 1);
        QVERIFY(LeftOutLines(t).contains(
            QStringLiteral("着外（F・L・K・S など）の 1 出走は、着に入らなかった出走として数えています（「着外」の列）。")));
        // The class raced in narrows the starts: A1 is A's two June starts.
        AnalysisFilter a1 = june();
        a1.grade = 1;
        t = Analyse(races, a1);
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.starts, 2);
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.unplaced, 1);
    }

    void positionsOutsideOneToSixAreLeftOut()
    {
        StoredRace race = races_[0];
        race.seats[0].position = 7;
        race.seats[1].position = -1;
        const AnalysisTable t = Analyse({race}, {});
        compareTally(t.rows[AnalysisTable::AllRow].tally, {2, 0, 0, 1, 7});
        QCOMPARE(t.withoutPosition, 2);
    }

    void stateBounds()
    {
        // Body: P/8 = 2.875 is good, just under is the middle band; +-1 is the red rule.
        for (bool rising : {true, false}) {
            const RhythmState middle = rising ? RhythmState::Rising : RhythmState::Falling;
            QCOMPARE(Classify(2.875, 23, rising), RhythmState::Good);
            QCOMPARE(Classify(2.87, 23, rising), middle);
            QCOMPARE(Classify(1.01, 23, rising), middle);
            QCOMPARE(Classify(1.0, 23, rising), RhythmState::Critical);
            QCOMPARE(Classify(-1.0, 23, rising), RhythmState::Critical);
            QCOMPARE(Classify(-1.01, 23, rising), middle);
            QCOMPARE(Classify(-2.87, 23, rising), middle);
            QCOMPARE(Classify(-2.875, 23, rising), RhythmState::Poor);
            // Intellect scores are whole numbers: 4 is under 4.125, 5 over it.
            QCOMPARE(Classify(4, 33, rising), middle);
            QCOMPARE(Classify(5, 33, rising), RhythmState::Good);
            QCOMPARE(Classify(-5, 33, rising), RhythmState::Poor);
        }
    }

    void theMiddleBandsFollowTheDirection()
    {
        // Body, day 10 of 23: 5.75 sin(156.5°) = 2.29, in the middle band
        // above zero, and falling (day 11 gives 1.55): 下向き, though the
        // value is positive.
        QVERIFY(Rhythm::Score(11, 23) < Rhythm::Score(10, 23));
        QCOMPARE(StateAt(0, 10), RhythmState::Falling);
        QCOMPARE(StateName(StateAt(0, 10)), QStringLiteral("下向き"));
        // Day 22: -1.55 and rising to 0 tomorrow: 上向き, though negative.
        QCOMPARE(StateAt(0, 22), RhythmState::Rising);
        QCOMPARE(StateName(StateAt(0, 22)), QStringLiteral("上向き"));
        // Day 1: 1.55 rising; day 13: -2.29 falling further.
        QCOMPARE(StateAt(0, 1), RhythmState::Rising);
        QCOMPARE(StateAt(0, 13), RhythmState::Falling);
        // Intellect, rounded: day 30 is -4 (under -4.125 is poor) and rising.
        QCOMPARE(Rhythm::TableScores(30).intellect, -4.0);
        QCOMPARE(StateAt(2, 30), RhythmState::Rising);

        // The middle bands of each cycle, worked out from the scores: days
        // rising through them and days falling through them.
        const std::vector<int> rising[3] = {{1, 22}, {1, 2, 26, 27}, {1, 2, 3, 30, 31, 32}};
        const std::vector<int> falling[3] = {{10, 13}, {12, 13, 15, 16}, {14, 15, 18, 19}};
        for (int r = 0; r < 3; ++r) {
            std::vector<int> up, down;
            for (int phase = 0; phase < Rhythm::Periods[r]; ++phase) {
                if (StateAt(r, phase) == RhythmState::Rising)
                    up.push_back(phase);
                if (StateAt(r, phase) == RhythmState::Falling)
                    down.push_back(phase);
            }
            QCOMPARE(up, rising[r]);
            QCOMPARE(down, falling[r]);
        }

        // Through the counting: a racer on day 10 of his body cycle counts as 下向き.
        StoredRace race{2000, 6, 15, 1, false, {}};
        const QDate birth = kJune15.addDays(-10);
        race.seats[0] = {101, int16_t(birth.year()), int16_t(birth.month()), int16_t(birth.day()), 1};
        const AnalysisTable t = Analyse({race}, {});
        QCOMPARE(tallyOf(t, 0, RhythmState::Falling).starts, 1);
        QCOMPARE(tallyOf(t, 0, RhythmState::Rising).starts, 0);
    }

    void everyDayCountFallsInTheStateOfItsScores()
    {
        // Three years of day counts either side of birth, each one start.
        for (int days = -1100; days <= 1100; ++days) {
            const QDate birth = kJune15.addDays(-days);
            StoredRace race{2000, 6, 15, 1, false, {}};
            race.seats[0] = {101, int16_t(birth.year()), int16_t(birth.month()), int16_t(birth.day()), 1};
            const AnalysisTable t = Analyse({race}, {});
            const Rhythm::Scores s = Rhythm::TableScores(days);
            const double values[3] = {s.body, s.emotion, s.intellect};
            for (int r = 0; r < 3; ++r) {
                const int period = Rhythm::Periods[r];
                const int phase = Rhythm::Phase(days, period);
                const bool rising = Rhythm::Sine(Rhythm::Phase(days + 1, period), period) > Rhythm::Sine(phase, period);
                QVERIFY2(tallyOf(t, r, Classify(values[r], period, rising)).starts == 1, qPrintable(QString::number(days)));
            }
        }
    }

    void theLaneTakenIntoAccount()
    {
        const AnalysisTable t = Analyse(laneOneHistory(), {});
        QVERIFY(t.laneAvailable());
        QCOMPARE(t.laneUnknown, 0);
        const AnalysisRow& all = t.rows[AnalysisTable::AllRow];
        QCOMPARE(all.lane.starts, 240);
        QCOMPARE(RatioText(all.lane), QStringLiteral("1.00"));

        // Good wins 75 % against 16.7 % of all starts, only because its
        // racers sat in boat 1: the lanes expect 40 x 0.75 = 30 wins, it won 30.
        const AnalysisRow& good = t.rows[size_t(AnalysisTable::rowOf(0, RhythmState::Good))];
        QCOMPARE(RateText(good.tally.first, good.tally.starts), QStringLiteral("75.0"));
        QCOMPARE(good.lane.wins, 30);
        QVERIFY(qAbs(good.lane.expected - 30.0) < 1e-9);
        QCOMPARE(ExpectedText(good.lane), QStringLiteral("30.0"));
        QCOMPARE(RatioText(good.lane), QStringLiteral("1.00"));
        const Interval i = good.lane.interval();
        QVERIFY(i.low < 1.0 && i.high > 1.0);
        QCOMPARE(RatioIntervalText(good.lane), Basic::Format(i.low, QStringLiteral("0.00")) + QStringLiteral("～") +
                                                  Basic::Format(i.high, QStringLiteral("0.00")));
        // Poor: 10 wins from boat 2, whose rate is a quarter: 1.00 as well.
        const AnalysisRow& poor = t.rows[size_t(AnalysisTable::rowOf(0, RhythmState::Poor))];
        QCOMPARE(poor.lane.wins, 10);
        QCOMPARE(RatioText(poor.lane), QStringLiteral("1.00"));
        // Rising sat in boat 3, which never won: nothing to expect, no ratio.
        const AnalysisRow& rising = t.rows[size_t(AnalysisTable::rowOf(0, RhythmState::Rising))];
        QCOMPARE(rising.lane.starts, 40);
        QCOMPARE(RatioText(rising.lane), QString());

        // The plain test sees a difference, which the lanes explain.
        QVERIFY(!t.verdicts[0].win.tooFew);
        QVERIFY(t.verdicts[0].win.p < 0.001);
        QCOMPARE(VerdictSentence(t, 0, false), QStringLiteral("状態で差があります（高い：好調 75.0%、低い：上向き 0.0%）"));

        // The CSV carries the lane columns.
        const QStringList lines = QString::fromUtf8(AnalysisCsv(t, QString()).mid(3)).split(QStringLiteral("\r\n"));
        QVERIFY(lines[2 + AnalysisTable::rowOf(0, RhythmState::Good)].endsWith(  // after the first line and the header
            QStringLiteral(",0,40,30,30.00,1.00,") + Basic::Format(i.low, QStringLiteral("0.00")) + QLatin1Char(',') +
            Basic::Format(i.high, QStringLiteral("0.00"))));
    }

    void aLaneChosen()
    {
        std::vector<StoredRace> races = laneOneHistory();
        // A race from the race table: its seats need not be the boats.
        StoredRace fromTable{2000, 6, 15, 1, false, {}};
        fromTable.seats[0] = seatIn(0, RhythmState::Good, 1);
        fromTable.seats[1] = seatIn(0, RhythmState::Poor, 0);
        races.push_back(fromTable);

        AnalysisTable t = Analyse(races, {});
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.starts, 241);
        QCOMPARE(t.rows[AnalysisTable::AllRow].lane.starts, 240);
        QCOMPARE(t.laneUnknown, 1);
        QCOMPARE(t.withoutPosition, 1);
        QCOMPARE(t.emptyBoats, 4);

        // Boat 1 only: the 40 starts of boat 1; the race of unknown boats is
        // left out, and said to be.
        AnalysisFilter one;
        one.lane = 1;
        t = Analyse(races, one);
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.starts, 40);
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.first, 30);
        QCOMPARE(t.rows[size_t(AnalysisTable::rowOf(0, RhythmState::Good))].tally.starts, 40);
        QCOMPARE(RatioText(t.rows[size_t(AnalysisTable::rowOf(0, RhythmState::Good))].lane), QStringLiteral("1.00"));
        QCOMPARE(t.rows[size_t(AnalysisTable::rowOf(0, RhythmState::Poor))].tally.starts, 0);
        QCOMPARE(t.laneUnknown, 1);
        QCOMPARE(t.withoutPosition, 0);
        QCOMPARE(t.emptyBoats, 0);
        QVERIFY(LeftOutLines(t).contains(
            QStringLiteral("艇番のわからないレース（レース表から登録）の 1 出走は、艇番で絞れないため除いています。")));

        // Boat 6: critical racers who never won.
        one.lane = 6;
        t = Analyse(races, one);
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.starts, 40);
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.first, 0);
        QCOMPARE(t.rows[size_t(AnalysisTable::rowOf(0, RhythmState::Critical))].tally.starts, 40);
    }

    void aClassChosen()
    {
        // Boats 1 and 2 are A1, boat 3 B1, boat 4 of unknown class, boat 5
        // empty, boat 6 B2; boat 1 wins every race, boat 2 is second.
        std::vector<StoredRace> races;
        for (int i = 0; i < 10; ++i) {
            StoredRace race{2000, 6, 15, 1, true, {}};
            const int8_t grades[6] = {1, 1, 3, 0, 0, 4};
            for (int b = 0; b < 6; ++b) {
                race.seats[size_t(b)] = seatIn(0, RhythmState::Good, b + 1);
                race.seats[size_t(b)].grade = grades[b];
            }
            race.seats[4].racer = 0;
            races.push_back(race);
        }
        AnalysisFilter a1;
        a1.grade = GradeOf(QStringLiteral("A1"));
        AnalysisTable t = Analyse(races, a1);
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.starts, 20);
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.first, 10);
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.topTwo, 20);
        QCOMPARE(t.emptyBoats, 0);
        // The lanes' rates come from the same starts: boat 1 of the A1 starts
        // won every time, so the ratio is 1.00.
        QCOMPARE(RatioText(t.rows[AnalysisTable::AllRow].lane), QStringLiteral("1.00"));

        AnalysisFilter b2;
        b2.grade = GradeOf(QStringLiteral("B2"));
        t = Analyse(races, b2);
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.starts, 10);
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.first, 0);
        // Every class: all but the empty boat; the unknown class counts.
        t = Analyse(races, {});
        QCOMPARE(t.rows[AnalysisTable::AllRow].tally.starts, 50);
        QCOMPARE(t.emptyBoats, 10);

        QCOMPARE(GradeName(3), QStringLiteral("B1"));
        QCOMPARE(GradeOf(QStringLiteral("B1")), 3);
        QCOMPARE(GradeOf(QStringLiteral("A1 ")), 1);
        QCOMPARE(GradeOf(QString()), 0);
        QCOMPARE(GradeOf(QStringLiteral("X")), 0);
    }

    void verdictsByHand()
    {
        // 100 starts in each body state, won 10, 20, 30, 20, 20 times (the
        // others fourth): χ² = 12.5 at 4 df, p = e^-6.25 x 7.25 = 0.014.
        const int wins[StateCount] = {10, 20, 30, 20, 20};
        std::vector<StoredRace> races;
        for (int s = 0; s < StateCount; ++s)
            for (int k = 0; k < 100; ++k) {
                StoredRace race{2000, 6, 15, 1, false, {}};
                race.seats[0] = seatIn(0, RhythmState(s), k < wins[s] ? 1 : 4);
                races.push_back(race);
            }
        AnalysisTable t = Analyse(races, {});
        QVERIFY(qAbs(t.verdicts[0].win.chiSquare - 12.5) < 1e-9);
        QCOMPARE(t.verdicts[0].win.df, 4);
        QVERIFY(qAbs(t.verdicts[0].win.p - std::exp(-6.25) * 7.25) < 1e-12);
        // Nobody placed second or third: the test on the first three is the same.
        QVERIFY(qAbs(t.verdicts[0].topThree.chiSquare - 12.5) < 1e-9);
        QCOMPARE(VerdictLine(t, 0, false),
                 QStringLiteral("身体・1着の検定：χ²=12.50 自由度4 p=0.014　状態で差があります（高い：要注意 30.0%、低い：好調 10.0%）"));
        QVERIFY(VerdictLine(t, 0, true).startsWith(QStringLiteral("身体・3連対の検定：χ²=12.50 自由度4 p=0.014　")));

        // Twenty wins in every state: chance.
        for (StoredRace& race : races)
            race.seats[0].position = 4;
        for (int s = 0; s < StateCount; ++s)
            for (int k = 0; k < 20; ++k)
                races[size_t(100 * s + k)].seats[0].position = 1;
        t = Analyse(races, {});
        QVERIFY(qAbs(t.verdicts[0].win.chiSquare) < 1e-9);
        QCOMPARE(VerdictSentence(t, 0, false), QStringLiteral("偶然の範囲です"));
        QCOMPARE(VerdictLine(t, 0, false), QStringLiteral("身体・1着の検定：χ²=0.00 自由度4 p=1.000　偶然の範囲です"));

        // Only four starts in the poor state: too few to tell.
        races.resize(100 * 4 + 4);
        t = Analyse(races, {});
        QVERIFY(t.verdicts[0].win.tooFew);
        QCOMPARE(VerdictLine(t, 0, false),
                 QStringLiteral("身体・1着の検定：出走が少なく判断できません（期待数が 5 に満たない状態があります）"));
    }

    void racesStoredInBoatOrderAreKnown()
    {
        Database db(folder_->folder());
        db.execute(QStringLiteral("INSERT INTO T_艇番レース (履歴ID) SELECT min(履歴ID) FROM T_レース履歴"));
        std::vector<StoredRace> races = LoadStoredRaces(db);
        QVERIFY(races[0].boatOrder);
        QVERIFY(!races[1].boatOrder);
        // A deleted race takes its mark with it.
        db.execute(QStringLiteral("DELETE FROM T_レース履歴 WHERE 履歴ID = (SELECT min(履歴ID) FROM T_レース履歴)"));
        Statement marks = db.prepare(QStringLiteral("SELECT count(*) FROM T_艇番レース"));
        QVERIFY(marks.step());
        QCOMPARE(marks.value(0).toInt(), 0);
        races = LoadStoredRaces(db);
        QCOMPARE(races.size(), size_t(3));
        QVERIFY(!races[0].boatOrder);
    }

    void wilsonKnownValues()
    {
        // 0 of 10: 0 .. z^2 / (n + z^2) = 0.2775.
        Interval i = Wilson(0, 10);
        QCOMPARE(i.low, 0.0);
        QVERIFY(qAbs(i.high - 0.27753) < 1e-4);
        // 5 of 10: 0.2366 .. 0.7634, symmetric about one half.
        i = Wilson(5, 10);
        QVERIFY(qAbs(i.low - 0.23659) < 1e-4);
        QVERIFY(qAbs(i.high - 0.76341) < 1e-4);
        // 10 of 10: 0.7225 .. 1.
        i = Wilson(10, 10);
        QVERIFY(qAbs(i.low - 0.72247) < 1e-4);
        QCOMPARE(i.high, 1.0);
        // With no trial nothing is known.
        i = Wilson(0, 0);
        QCOMPARE(i.low, 0.0);
        QCOMPARE(i.high, 1.0);
        QCOMPARE(IntervalText(5, 10), QStringLiteral("23.7～76.3"));
        QCOMPARE(IntervalText(0, 0), QString());
    }

    void csvForASpreadsheet()
    {
        const QByteArray csv = AnalysisCsv(Analyse(races_, june()), QStringLiteral("調査日 2000.6.1～2000.6.30　全競艇場"));
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
        // The races it was made for, the header, rows, an empty line, the
        // tests' header and six tests, the empty text after the last CR LF.
        QCOMPARE(lines.size(), AnalysisTable::RowCount + 11);
        QCOMPARE(lines.takeFirst(), QStringLiteral("成績分析　調査日 2000.6.1～2000.6.30　全競艇場"));
        QCOMPARE(lines.last(), QString());
        QVERIFY(lines[0].startsWith(QStringLiteral("区分,状態,出走数,1着数,1着率(%)")));
        QVERIFY(lines[0].endsWith(QStringLiteral(",平均着順,着外数,艇番のわかる出走数,その1着数,艇番からの期待1着数,実際/期待,実際/期待下限,実際/期待上限")));
        for (int i = 0; i <= AnalysisTable::RowCount; ++i)
            QCOMPARE(lines[i].count(QLatin1Char(',')), 22);
        // 全体: 10 starts, 3 won (30.0, 10.8..60.3), 5 in two, 7 in three,
        // average 2.80, none unplaced, no start of a known lane.
        QCOMPARE(lines[1], QStringLiteral("全体,,10,3,30.0,10.8,60.3,5,50.0,23.7,76.3,7,70.0,39.7,89.2,2.80,0,0,0,,,,"));
        QCOMPARE(lines[2], QStringLiteral("身体,好調,2,0,0.0,0.0,65.8,0,0.0,0.0,65.8,1,50.0,9.5,90.5,3.50,0,0,0,,,,"));
        // No start: counts 0 and no rates.
        QCOMPARE(lines[1 + AnalysisTable::rowOf(2, RhythmState::Poor)], QStringLiteral("知性,不調,0,0,,,,0,,,,0,,,,,0,0,0,,,,"));
        QCOMPARE(lines[AnalysisTable::RowCount],
                 QStringLiteral("三つとも要注意,,2,1,50.0,9.5,90.5,2,100.0,34.2,100.0,2,100.0,34.2,100.0,1.50,0,0,0,,,,"));
        // The tests: ten starts are far too few.
        QCOMPARE(lines[AnalysisTable::RowCount + 1], QString());
        QCOMPARE(lines[AnalysisTable::RowCount + 2], QStringLiteral("区分,検定,カイ二乗,自由度,p値,判定"));
        QCOMPARE(lines[AnalysisTable::RowCount + 3],
                 QStringLiteral("身体,1着,,,,出走が少なく判断できません（期待数が 5 に満たない状態があります）"));
        QCOMPARE(lines[AnalysisTable::RowCount + 8].left(7), QStringLiteral("知性,3連対,"));
    }

    void printedPage()
    {
        CharPrinter printer(folder_->folder(), QStringLiteral("成績分析"));
        BuildAnalysisPrint(printer, Analyse(races_, june()), QStringLiteral("調査日 2000.6.1～2000.6.30　全競艇場"));
        QCOMPARE(printer.pages().size(), size_t(1));
        QCOMPARE(printer.lineText(0, 0), QStringLiteral("成績分析　調査日 2000.6.1～2000.6.30　全競艇場"));
        QVERIFY(printer.lineText(0, 2).startsWith(QStringLiteral("区分           状態")));
        // Heading, empty line, column headings, empty line, 17 rows with two
        // test lines under each rhythm, empty line, the lane table's heading,
        // column headings and 17 rows, empty line, four left-out lines, the
        // two notes, and the line left open after them.
        const auto& lines = printer.pages()[0];
        constexpr int Rates = 4, Lanes = Rates + AnalysisTable::RowCount + 6 + 1 + 2, Notes = Lanes + AnalysisTable::RowCount + 1;
        QCOMPARE(int(lines.size()), Notes + 4 + 2 + 1);
        QVERIFY(int(lines.size()) <= 65);  // one A4 page
        QCOMPARE(printer.lineText(0, Rates),
                 QStringLiteral("全体                      10  30.0(10.8-60.3)   50.0(23.7-76.3)   70.0(39.7-89.2)   2.80"));
        // Body's five rows, then its two tests.
        QVERIFY(printer.lineText(0, Rates + 5).startsWith(QStringLiteral("身体           不調")));
        QCOMPARE(printer.lineText(0, Rates + 6), QStringLiteral("  身体・1着の検定：出走が少なく判断できません（期待数が 5 に満たない状態があります）"));
        QVERIFY(printer.lineText(0, Rates + 7).startsWith(QStringLiteral("  身体・3連対の検定：")));
        QVERIFY(printer.lineText(0, Rates + 8).startsWith(QStringLiteral("感情           好調")));
        QCOMPARE(printer.lineText(0, Rates + AnalysisTable::rowOf(2, RhythmState::Poor) + 2 * 2).trimmed(),
                 QStringLiteral("知性           不調        0"));
        QVERIFY(printer.lineText(0, Lanes - 2).startsWith(QStringLiteral("艇番を考慮した1着")));
        QCOMPARE(printer.lineText(0, Lanes).trimmed(), QStringLiteral("全体                       0           0       0"));
        QCOMPARE(printer.lineText(0, Notes), QStringLiteral("順位が入っていない 2 出走は集計に含めていません。"));
        QCOMPARE(printer.lineText(0, Notes + 1),
                 QStringLiteral("生年月日の分からない選手（選手テーブルにない選手）の 1 出走も除いています。"));
        QCOMPARE(printer.lineText(0, Notes + 2), QStringLiteral("空き艇 5 艇は数えていません。"));
        QCOMPARE(printer.lineText(0, Notes + 3),
                 QStringLiteral("艇番の列はレース表から登録した 10 出走を含めません（席の順が艇番と限らないため）。"));
        // Every line fits the width of an A4 page (91 columns).
        for (int l = 0; l < int(lines.size()); ++l)
            QVERIFY2(CharPrinter::cells(printer.lineText(0, l)) <= 91, qPrintable(printer.lineText(0, l)));
    }
};

// The window, opened from the race history as a user does.
class BunsekiFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;

    static RirekiForm* openHistory() { return qobject_cast<RirekiForm*>(Forms::show(QStringLiteral("RirekiForm"))); }
    static BunsekiForm* openAnalysis(QWidget* history)
    {
        QMenuBar* bar = qobject_cast<QMainWindow*>(history)->menuBar();
        QAction* item = bar->actions().last();
        if (item->objectName() != QStringLiteral("Menu_Bunseki"))
            return nullptr;
        item->trigger();
        return qobject_cast<BunsekiForm*>(Forms::find(QStringLiteral("BunsekiForm")));
    }
    // A cell of a row of the analysis, where the window shows that row.
    static QString cell(BunsekiForm* form, int row, int column)
    {
        return form->findChild<QTableWidget*>(QStringLiteral("TableBunseki"))->item(BunsekiForm::tableRowOf(row), column)->text();
    }
    static void setDates(BunsekiForm* form, QDate from, QDate to)
    {
        form->findChild<QDateEdit*>(QStringLiteral("DateFrom"))->setDate(from);
        form->findChild<QDateEdit*>(QStringLiteral("DateTo"))->setDate(to);
    }
    static void click(QWidget* form, const char* name)
    {
        QTest::mouseClick(form->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }

private slots:
    void init()
    {
        folder_ = std::make_unique<TestFolder>();
        CharPrinter::setForcePdf(true);
        Forms::registerForm(QStringLiteral("RirekiForm"), [] { return new RirekiForm; });
        Forms::registerForm(QStringLiteral("BunsekiForm"), [] { return new BunsekiForm; });
        RegisterStandIn(QStringLiteral("MainForm"));
    }

    void cleanup()
    {
        UnloadAllWindows();
        folder_.reset();
    }

    void opensFromTheHistoryAndClosesWithIt()
    {
        seedHandWorkedHistory(folder_->folder());
        RirekiForm* history = openHistory();
        QMenuBar* bar = history->menuBar();
        QCOMPARE(bar->actions().last()->text(), QStringLiteral("成績分析(&A)"));
        QStringList captions;
        for (QAction* a : bar->actions())
            captions << a->text();
        QCOMPARE(captions, (QStringList{QStringLiteral("終了(&X)"), QStringLiteral("順位更新(&E)"), QStringLiteral("履歴削除(&D)"),
                                        QStringLiteral("印刷(&P)"), QStringLiteral("ﾍﾙﾌﾟ(&H)"), QStringLiteral("成績読込(&K)"),
                                        QStringLiteral("取得(&G)"), QStringLiteral("一括取込(&B)"), QStringLiteral("成績分析(&A)")}));
        // Every entry shows in the bar itself, none behind the bar's "more" button.
        QVERIFY(QTest::qWaitForWindowExposed(history));
        for (QAction* a : bar->actions())
            QVERIFY2(bar->rect().contains(bar->actionGeometry(a)), qPrintable(a->text()));
        const auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
        QVERIFY(!more || !more->isVisible());
        QStringList fetches;
        for (QAction* a : bar->findChild<QMenu*>(QStringLiteral("Menu_Download"))->actions())
            fetches << a->text();
        QCOMPARE(fetches, (QStringList{QStringLiteral("成績取得(&G)"), QStringLiteral("一括取得(&T)")}));

        BunsekiForm* form = openAnalysis(history);
        QVERIFY(form && form->isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral("成績分析"));
        QVERIFY(history->isVisible());
        // Default: every stored race, every racecourse.
        QCOMPARE(form->findChild<QDateEdit*>(QStringLiteral("DateFrom"))->date(), kJune15);
        QCOMPARE(form->findChild<QDateEdit*>(QStringLiteral("DateTo"))->date(), kJuly20);
        QCOMPARE(form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"))->currentText(), QStringLiteral("全競艇場"));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 0), QStringLiteral("全体"));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QStringLiteral("11"));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 3), QStringLiteral("27.3"));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 4), IntervalText(3, 11));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 9), QStringLiteral("3.09"));
        QCOMPARE(cell(form, AnalysisTable::AllCriticalRow, 0), QStringLiteral("三つとも要注意"));
        QVERIFY(form->findChild<QLabel*>(QStringLiteral("LabelGaitou"))->isHidden());
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("LabelJogai"))->text(),
                 QStringLiteral("順位が入っていない 2 出走は集計に含めていません。\n生年月日の分からない選手（選手テーブルにない選手）の 1 出走も除いています。\n"
                                "空き艇 10 艇は数えていません。\n"
                                "艇番の列はレース表から登録した 11 出走を含めません（席の順が艇番と限らないため）。"));
        QVERIFY(qAbs(form->findChild<RateChart*>(QStringLiteral("PictureGraph"))->axisTop() - 1.0) < 1e-9);

        // Opening again brings the same window forward.
        QCOMPARE(openAnalysis(history), form);
        QCOMPARE(history->findChildren<BunsekiForm*>().size(), 1);

        // Closing the analysis leaves the history open.
        click(form, "CommandClose");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Forms::find(QStringLiteral("BunsekiForm")));
        QVERIFY(history->isVisible());

        // Closing the history takes an open analysis with it.
        QVERIFY(openAnalysis(history));
        history->Menu_Close_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Forms::find(QStringLiteral("RirekiForm")));
        QVERIFY(!Forms::find(QStringLiteral("BunsekiForm")));
        QVERIFY(MsgBoxScript::shown().empty());
    }

    void filtersNarrowTheTable()
    {
        seedHandWorkedHistory(folder_->folder());
        BunsekiForm* form = openAnalysis(openHistory());
        setDates(form, QDate(2000, 6, 1), QDate(2000, 6, 30));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QStringLiteral("10"));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 3), QStringLiteral("30.0"));

        auto* courses = form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"));
        QCOMPARE(courses->itemText(1), QStringLiteral("桐生"));
        PickComboItem(courses, 1);
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QStringLiteral("4"));
        setDates(form, kJune15, kJuly20);
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QStringLiteral("5"));
    }

    void anEmptyResultIsNoError()
    {
        seedHandWorkedHistory(folder_->folder());
        BunsekiForm* form = openAnalysis(openHistory());
        MsgBoxScript::shown().clear();
        setDates(form, QDate(2001, 1, 1), QDate(2001, 12, 31));
        auto* message = form->findChild<QLabel*>(QStringLiteral("LabelGaitou"));
        QVERIFY(!message->isHidden());
        QCOMPARE(message->text(), QStringLiteral("該当レコードがありません"));
        for (int c = 2; c < 15; ++c)
            QCOMPARE(cell(form, AnalysisTable::AllRow, c), QString());
        QVERIFY(MsgBoxScript::shown().empty());

        // Nothing to print or save: told, nothing written, no dialog.
        click(form, "CommandPrint");
        click(form, "CommandCsv");
        QCOMPARE(MsgBoxScript::texts(), (QStringList{QStringLiteral("該当レコードがありません"), QStringLiteral("該当レコードがありません")}));
        QVERIFY(FileDialogScript::asked().empty());
        QVERIFY(QDir(folder_->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty());

        // Back to the stored range: the table and no message.
        setDates(form, kJune15, kJuly20);
        QVERIFY(message->isHidden());
    }

    void noStoredRaceAtAll()
    {
        RirekiForm* history = openHistory();
        MsgBoxScript::shown().clear();
        BunsekiForm* form = openAnalysis(history);
        QVERIFY(form);
        QVERIFY(MsgBoxScript::shown().empty());
        QVERIFY(!form->findChild<QLabel*>(QStringLiteral("LabelGaitou"))->isHidden());
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QString());
    }

    void printsToPdf()
    {
        seedHandWorkedHistory(folder_->folder());
        BunsekiForm* form = openAnalysis(openHistory());
        // No: nothing printed.
        MsgBoxScript::queue(Mb::No);
        click(form, "CommandPrint");
        QVERIFY(QDir(folder_->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty());
        QCOMPARE(MsgBoxScript::shown().back().title, QStringLiteral("成績分析印刷"));
        QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("成績分析を印刷しますか。\r\n"));
        QCOMPARE(MsgBoxScript::shown().back().style, Mb::Confirm);

        MsgBoxScript::queue(Mb::Yes);
        click(form, "CommandPrint");
        const QStringList pdfs = QDir(folder_->folder()).entryList({QStringLiteral("成績分析*.pdf")});
        QCOMPARE(pdfs.size(), 1);
        // Named by the period and the racecourse.
        QCOMPARE(pdfs[0], QStringLiteral("成績分析-%1-%2-%3.pdf")
                              .arg(form->findChild<QDateEdit*>(QStringLiteral("DateFrom"))->date().toString(QStringLiteral("yyyyMMdd")),
                                   form->findChild<QDateEdit*>(QStringLiteral("DateTo"))->date().toString(QStringLiteral("yyyyMMdd")),
                                   form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"))->currentText()));
        QVERIFY(QFileInfo(folder_->file(pdfs[0])).size() > 1000);
        QVERIFY(MsgBoxScript::shown().back().text.contains(pdfs[0]));
    }

    void savesCsv()
    {
        seedHandWorkedHistory(folder_->folder());
        BunsekiForm* form = openAnalysis(openHistory());
        setDates(form, QDate(2000, 6, 1), QDate(2000, 6, 30));

        // Cancelled: nothing written.
        click(form, "CommandCsv");
        QCOMPARE(FileDialogScript::asked().size(), size_t(1));
        // Named by the period and racecourse, in the home folder the first time.
        QCOMPARE(FileDialogScript::asked()[0].suggested, QDir::home().filePath(QStringLiteral("成績分析-20000601-20000630-%1.csv")
                                                                                     .arg(form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"))->currentText())));
        QCOMPARE(FileDialogScript::asked()[0].caption, QStringLiteral("CSV保存"));
        QVERIFY(FileDialogScript::asked()[0].save);

        const QString path = folder_->file(QStringLiteral("june.csv"));
        FileDialogScript::queue(path);
        click(form, "CommandCsv");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written.contains("調査日 2000.6.1～2000.6.30"));
        QCOMPARE(written, AnalysisCsv(form->table(), QStringLiteral("調査日 2000.6.1～2000.6.30　") +
                                                         form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"))->currentText() +
                                                         QStringLiteral("　全艇　全級")));
        QCOMPARE(form->table().rows[AnalysisTable::AllRow].tally.starts, 10);
        QVERIFY(MsgBoxScript::shown().empty());

        // The next one is proposed in the folder last used.
        click(form, "CommandCsv");
        QCOMPARE(QFileInfo(FileDialogScript::asked().back().suggested).absolutePath(), QDir(folder_->folder()).absolutePath());

        // A folder that cannot be written to: told, no error report.
        FileDialogScript::queue(folder_->file(QStringLiteral("no such folder/x.csv")));
        click(form, "CommandCsv");
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
        QVERIFY(MsgBoxScript::shown()[0].text.startsWith(QStringLiteral("CSV ファイルを保存できませんでした。")));
        QCOMPARE(MsgBoxScript::shown()[0].style, Mb::OKOnly + Mb::Critical);
    }

    void laneColumnsTestsAndTheRatioChart()
    {
        // The 40 races of boat 1 and boat 2 above, stored in boat order.
        const std::vector<StoredRace> races = laneOneHistory();
        std::vector<TestRacer> racers;
        const RhythmState states[6] = {RhythmState::Good, RhythmState::Poor, RhythmState::Rising,
                                       RhythmState::Falling, RhythmState::Critical, RhythmState::Critical};
        for (int b = 0; b < 6; ++b) {
            const StoredSeat seat = seatIn(0, states[b], 0);
            racers.push_back(racer(201 + b, QDate(seat.birthYear, seat.birthMonth, seat.birthDay)));
        }
        SeedRacers(folder_->folder(), racers);
        std::vector<Race> stored;
        for (const StoredRace& r : races) {
            Race race{kJune15, 1, {201, 202, 203, 204, 205, 206}, {}};
            for (int b = 0; b < 6; ++b)
                race.positions[size_t(b)] = r.seats[size_t(b)].position;
            stored.push_back(race);
        }
        storeRaces(folder_->folder(), stored);
        Database(folder_->folder()).execute(QStringLiteral("INSERT INTO T_艇番レース (履歴ID) SELECT 履歴ID FROM T_レース履歴"));

        BunsekiForm* form = openAnalysis(openHistory());
        auto* table = form->findChild<QTableWidget*>(QStringLiteral("TableBunseki"));
        QCOMPARE(table->horizontalHeaderItem(13)->text(), QStringLiteral("実際\n÷期待"));
        const int good = AnalysisTable::rowOf(0, RhythmState::Good);
        QCOMPARE(cell(form, good, 3), QStringLiteral("75.0"));
        QCOMPARE(cell(form, good, 10), QStringLiteral("0"));
        QCOMPARE(cell(form, good, 11), QStringLiteral("30"));
        QCOMPARE(cell(form, good, 12), QStringLiteral("30.0"));
        QCOMPARE(cell(form, good, 13), QStringLiteral("1.00"));
        QCOMPARE(cell(form, good, 14), RatioIntervalText(form->table().rows[size_t(good)].lane));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 13), QStringLiteral("1.00"));

        // Under the body's five rows, its two tests, across the table.
        const int line = BunsekiForm::verdictRowOf(0, false);
        QCOMPARE(line, BunsekiForm::tableRowOf(AnalysisTable::rowOf(0, RhythmState::Poor)) + 1);
        QCOMPARE(table->columnSpan(line, 0), 15);
        QCOMPARE(table->item(line, 0)->text().trimmed(), VerdictLine(form->table(), 0, false));
        QVERIFY(table->item(line, 0)->text().contains(QStringLiteral("状態で差があります")));
        QVERIFY(table->item(line, 0)->font().bold());
        QVERIFY(table->item(BunsekiForm::verdictRowOf(2, true), 0)->text().contains(QStringLiteral("知性・3連対の検定")));
        QCOMPARE(table->item(BunsekiForm::tableRowOf(AnalysisTable::AllCriticalRow), 0)->text(), QStringLiteral("三つとも要注意"));

        // The chart shows the ratio, its axis up to a half above the widest interval.
        auto* chart = form->findChild<RateChart*>(QStringLiteral("PictureGraph"));
        QVERIFY(chart->showsRatio());
        QVERIFY(chart->axisTop() >= 1.5);

        // Boat 2 only: its 40 starts, 10 won.
        auto* lanes = form->findChild<QComboBox*>(QStringLiteral("ComboTeiban"));
        QCOMPARE(lanes->count(), 7);
        QCOMPARE(lanes->itemText(0), QStringLiteral("全艇"));
        QCOMPARE(lanes->itemText(2), QStringLiteral("2号艇"));
        PickComboItem(lanes, 2);
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QStringLiteral("40"));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 3), QStringLiteral("25.0"));
        QCOMPARE(cell(form, AnalysisTable::rowOf(0, RhythmState::Poor), 2), QStringLiteral("40"));
        QCOMPARE(cell(form, good, 2), QStringLiteral("0"));

        // The print names the lane chosen.
        MsgBoxScript::queue(Mb::Yes);
        click(form, "CommandPrint");
        QVERIFY(CharPrinter::lastEnded().lineText(0, 0).endsWith(QStringLiteral("全競艇場　2号艇　全級")));
    }

    void withoutLanesTheChartShowsTheRate()
    {
        seedHandWorkedHistory(folder_->folder());
        BunsekiForm* form = openAnalysis(openHistory());
        QVERIFY(!form->findChild<RateChart*>(QStringLiteral("PictureGraph"))->showsRatio());
        QCOMPARE(cell(form, AnalysisTable::AllRow, 13), QString());
        QCOMPARE(cell(form, AnalysisTable::AllRow, 10), QStringLiteral("0"));
        // Too few starts to test: said, with no p value.
        auto* table = form->findChild<QTableWidget*>(QStringLiteral("TableBunseki"));
        QVERIFY(table->item(BunsekiForm::verdictRowOf(1, false), 0)->text().contains(QStringLiteral("出走が少なく判断できません")));
        QVERIFY(!table->item(BunsekiForm::verdictRowOf(1, false), 0)->text().contains(QStringLiteral("p=")));
    }

    void theLeftoversOfAStoppedSaveAreRemoved()
    {
        seedHandWorkedHistory(folder_->folder());
        BunsekiForm* form = openAnalysis(openHistory());
        setDates(form, QDate(2000, 6, 1), QDate(2000, 6, 30));
        const QByteArray csv = AnalysisCsv(form->table(), QStringLiteral("調査日 2000.6.1～2000.6.30　全競艇場　全艇　全級"));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("analysis.csv"));
        // What saves killed midway left: this program's hidden working file,
        // and the working files of the earlier way of saving, empty or cut.
        WriteFile(dir.filePath(QStringLiteral(".vantor-save-a1B2c3")), csv.left(40));
        WriteFile(dir.filePath(QStringLiteral("analysis.csv.Xy12Zq")), csv.left(100));
        WriteFile(dir.filePath(QStringLiteral("analysis.csv.Qw3rTy")), QByteArray());
        // The user's own files stay, whatever their names.
        WriteFile(dir.filePath(QStringLiteral("analysis.csv.backup")), "my own notes");
        WriteFile(dir.filePath(QStringLiteral("other.csv.Xy12Zq")), csv.left(100));
        FileDialogScript::queue(path);
        click(form, "CommandCsv");
        QVERIFY(MsgBoxScript::shown().empty());
        QCOMPARE(FileBytes(path), csv);
        QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        left.sort();
        QCOMPARE(left, (QStringList{QStringLiteral("analysis.csv"), QStringLiteral("analysis.csv.backup"),
                                    QStringLiteral("other.csv.Xy12Zq")}));
        QCOMPARE(FileBytes(dir.filePath(QStringLiteral("analysis.csv.backup"))), QByteArray("my own notes"));
        // Saved again over itself: one file, the new contents, the permissions kept.
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        FileDialogScript::queue(path);
        click(form, "CommandCsv");
        QCOMPARE(FileBytes(path), csv);
        QCOMPARE(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void positionsEnteredInTheHistoryCountOnReturn()
    {
        SeedRacers(folder_->folder(), {racer(101, QDate(2000, 6, 15)), racer(102, QDate(2000, 6, 14))});
        storeRaces(folder_->folder(), {{kJune15, 1, {101, 102, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}});
        RirekiForm* history = openHistory();
        BunsekiForm* form = openAnalysis(history);
        QVERIFY(form->table().empty());
        QCOMPARE(form->table().withoutPosition, 2);

        // The user enters the positions in the history window and comes back.
        PickComboItem(history->findChild<QComboBox*>(QStringLiteral("ComboRireki")), 0);
        history->findChild<QLineEdit*>(QStringLiteral("TextJyuni_0"))->setText(QStringLiteral("2"));
        history->findChild<QLineEdit*>(QStringLiteral("TextJyuni_1"))->setText(QStringLiteral("1"));
        MsgBoxScript::queue(Mb::Yes);
        history->Menu_Edit_Click();
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(form, &activate);
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QStringLiteral("2"));
        QCOMPARE(cell(form, AnalysisTable::AllCriticalRow, 9), QStringLiteral("2.00"));
        QCOMPARE(cell(form, AnalysisTable::rowOf(0, RhythmState::Rising), 3), QStringLiteral("100.0"));
        QCOMPARE(form->table().withoutPosition, 0);
    }
};

QObject* NewStatisticsTest();

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    std::unique_ptr<QObject> statistics(NewStatisticsTest());
    ResultsAnalysisTest analysis;
    BunsekiFormTest window;
    return RunTestObjects(argc, argv, {statistics.get(), &analysis, &window});
}

#include "AnalysisTest.moc"
