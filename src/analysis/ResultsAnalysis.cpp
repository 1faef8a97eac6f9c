#include "ResultsAnalysis.h"

#include "Database.h"
#include "Rhythm.h"

#include <cmath>
#include <unordered_map>

namespace {
// What a racer table row or a kept copy says of a racer: birth date (null
// where not kept) and class.
struct Known {
    QVariant year, month, day;
    QString grade;
};

Known knownFrom(const Statement& row, int first)
{
    return {row.value(first), row.value(first + 1), row.value(first + 2), row.value(first + 3).toString()};
}

// The first of the two values that is kept, else 0.
int16_t liveOrCopy(const QVariant* live, const QVariant* copy)
{
    if (live && !live->isNull())
        return int16_t(live->toInt());
    return copy && !copy->isNull() ? int16_t(copy->toInt()) : int16_t(0);
}

bool isPlaceCode(const QString& code) { return code.size() == 2 && code[0] == QLatin1Char('0') && code[1] >= QLatin1Char('1') && code[1] <= QLatin1Char('6'); }
}

std::vector<StoredRace> LoadStoredRaces(const Database& db)
{
    // Each seat's racer as the history view gives him: each value the racer
    // table's where he is in it, else that of the copy kept with the race;
    // the class he raced in from the copy. Read here from the tables
    // themselves: for a season of races the view's twelve joins a row take
    // several times as long as the whole analysis.
    std::unordered_map<int32_t, Known> live;
    {
        Statement racers = db.prepare(QStringLiteral("SELECT 選手ID, 生年, 生月, 生日, 級 FROM T_選手"));
        while (racers.step())
            live[racers.value(0).toInt()] = knownFrom(racers, 1);
    }
    std::unordered_map<int64_t, std::pair<int32_t, Known>> copies;
    {
        Statement kept = db.prepare(QStringLiteral("SELECT 控ID, 選手ID, 生年, 生月, 生日, 級 FROM T_選手控"));
        while (kept.step())
            copies[kept.value(0).toLongLong()] = {kept.value(1).toInt(), knownFrom(kept, 2)};
    }

    Statement rows = db.prepare(QStringLiteral(
        "SELECT r.調査年, r.調査月, r.調査日, r.競艇場ID, b.履歴ID IS NOT NULL, "
        "r.選手1, r.選手2, r.選手3, r.選手4, r.選手5, r.選手6, r.結果1, r.結果2, r.結果3, r.結果4, r.結果5, r.結果6, "
        "r.控1, r.控2, r.控3, r.控4, r.控5, r.控6, r.着1, r.着2, r.着3, r.着4, r.着5, r.着6 "
        "FROM T_レース履歴 r LEFT JOIN T_艇番レース b ON b.履歴ID = r.履歴ID ORDER BY r.履歴ID"));
    std::vector<StoredRace> races;
    while (rows.step()) {
        StoredRace race;
        race.year = int16_t(rows.value(0).toInt());
        race.month = int16_t(rows.value(1).toInt());
        race.day = int16_t(rows.value(2).toInt());
        race.course = rows.value(3).toInt();
        race.boatOrder = rows.value(4).toInt() != 0;
        for (int i = 0; i < 6; ++i) {
            StoredSeat& s = race.seats[size_t(i)];
            s.racer = rows.value(5 + i).toInt();
            s.position = int16_t(rows.value(11 + i).toInt());
            if (s.racer == 0)
                continue;
            // A finish code other than a place, with no position: F, L, K, S ...
            const QString code = rows.value(23 + i).toString();
            s.unplaced = s.position == 0 && !code.isEmpty() && !isPlaceCode(code);
            const auto found = live.find(s.racer);
            const Known* mine = found != live.end() ? &found->second : nullptr;
            const Known* copy = nullptr;
            if (const QVariant id = rows.value(17 + i); !id.isNull())
                if (const auto kept = copies.find(id.toLongLong()); kept != copies.end() && kept->second.first == s.racer)
                    copy = &kept->second.second;
            s.birthYear = liveOrCopy(mine ? &mine->year : nullptr, copy ? &copy->year : nullptr);
            s.birthMonth = liveOrCopy(mine ? &mine->month : nullptr, copy ? &copy->month : nullptr);
            s.birthDay = liveOrCopy(mine ? &mine->day : nullptr, copy ? &copy->day : nullptr);
            s.grade = int8_t(GradeOf(copy ? copy->grade : mine ? mine->grade : QString()));
        }
        races.push_back(race);
    }
    return races;
}

RhythmState Classify(double score, int period, bool rising)
{
    const double strong = period / 8.0;
    if (Rhythm::IsCritical(score))
        return RhythmState::Critical;
    if (score >= strong)
        return RhythmState::Good;
    if (score <= -strong)
        return RhythmState::Poor;
    return rising ? RhythmState::Rising : RhythmState::Falling;
}

RhythmState StateAt(int rhythm, int32_t phase)
{
    // The score of the tables (intellect rounded); the direction from the
    // curve itself, which never stands still in the middle bands.
    const int period = Rhythm::Periods[rhythm];
    const Rhythm::Scores scores = Rhythm::TableScores(phase);
    const double values[3] = {scores.body, scores.emotion, scores.intellect};
    const bool rising = Rhythm::Sine((phase + 1) % period, period) > Rhythm::Sine(phase, period);
    return Classify(values[rhythm], period, rising);
}

QString StateName(RhythmState state)
{
    switch (state) {
    case RhythmState::Good: return QStringLiteral("好調");
    case RhythmState::Rising: return QStringLiteral("上向き");
    case RhythmState::Critical: return QStringLiteral("要注意");
    case RhythmState::Falling: return QStringLiteral("下向き");
    case RhythmState::Poor: return QStringLiteral("不調");
    }
    return QString();
}

QString GradeName(int grade)
{
    static const QString names[GradeCount] = {QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("B1"), QStringLiteral("B2")};
    return grade >= 1 && grade <= GradeCount ? names[grade - 1] : QString();
}

int GradeOf(const QString& name)
{
    for (int g = 1; g <= GradeCount; ++g)
        if (name.trimmed() == GradeName(g))
            return g;
    return 0;
}

QString RhythmName(int rhythm)
{
    static const QString names[3] = {QStringLiteral("身体"), QStringLiteral("感情"), QStringLiteral("知性")};
    return names[rhythm];
}

void Tally::add(int position)
{
    ++starts;
    first += position == 1;
    topTwo += position <= 2;
    topThree += position <= 3;
    positionSum += position;
}

void Tally::addUnplaced()
{
    ++starts;
    ++unplaced;
}

AnalysisTable Analyse(const std::vector<StoredRace>& races, const AnalysisFilter& filter)
{
    AnalysisTable table;
    table.rows.resize(AnalysisTable::RowCount);
    table.rows[AnalysisTable::AllRow].group = QStringLiteral("全体");
    for (int r = 0; r < 3; ++r)
        for (int s = 0; s < StateCount; ++s) {
            AnalysisRow& row = table.rows[size_t(AnalysisTable::rowOf(r, RhythmState(s)))];
            row.group = RhythmName(r);
            row.state = StateName(RhythmState(s));
        }
    table.rows[AnalysisTable::AllCriticalRow].group = QStringLiteral("三つとも要注意");

    // A rhythm's state depends only on its phase: classify every phase once.
    std::array<std::vector<RhythmState>, 3> stateAt;
    for (int r = 0; r < 3; ++r)
        for (int phase = 0; phase < Rhythm::Periods[r]; ++phase)
            stateAt[size_t(r)].push_back(StateAt(r, phase));

    table.laneChosen = filter.lane.has_value();
    std::array<AnalysisRow*, 5> counted{};
    for (const StoredRace& race : races) {
        if (filter.course && race.course != *filter.course)
            continue;
        if (filter.from || filter.to) {
            const double day = DayNumber(race.year, race.month, race.day);
            if ((filter.from && day < *filter.from) || (filter.to && day > *filter.to))
                continue;
        }
        for (int lane = 1; lane <= 6; ++lane) {
            const StoredSeat& seat = race.seats[size_t(lane - 1)];
            if (filter.lane && race.boatOrder && lane != *filter.lane)
                continue;
            // With a lane chosen, a race of unknown lanes counts only in the
            // lane-unknown note.
            const bool passes = !filter.lane || race.boatOrder;
            if (seat.racer == 0) {
                // An empty boat has no class.
                table.emptyBoats += passes && !filter.grade;
                continue;
            }
            if (filter.grade && seat.grade != *filter.grade)
                continue;
            // The view gives a racer it cannot find with no birth date.
            if (seat.birthYear == 0) {
                table.unknownRacer += passes;
                continue;
            }
            const bool placed = !seat.unplaced && seat.position >= 1 && seat.position <= 6;
            if (!placed && !seat.unplaced) {
                table.withoutPosition += passes;
                continue;
            }
            if (!race.boatOrder) {
                ++table.laneUnknown;
                if (filter.lane)
                    continue;
            }
            const int32_t days =
                Rhythm::ElapsedDays(race.year, race.month, race.day, seat.birthYear, seat.birthMonth, seat.birthDay);
            size_t n = 0;
            counted[n++] = &table.rows[AnalysisTable::AllRow];
            bool allCritical = true;
            for (int r = 0; r < 3; ++r) {
                const RhythmState state = stateAt[size_t(r)][size_t(Rhythm::Phase(days, Rhythm::Periods[r]))];
                allCritical = allCritical && state == RhythmState::Critical;
                counted[n++] = &table.rows[size_t(AnalysisTable::rowOf(r, state))];
            }
            if (allCritical)
                counted[n++] = &table.rows[AnalysisTable::AllCriticalRow];
            table.unplaced += !placed;
            for (size_t k = 0; k < n; ++k) {
                AnalysisRow& row = *counted[k];
                if (placed)
                    row.tally.add(seat.position);
                else
                    row.tally.addUnplaced();
                if (race.boatOrder) {
                    ++row.lane.laneStarts[size_t(lane - 1)];
                    row.lane.laneWins[size_t(lane - 1)] += placed && seat.position == 1;
                }
            }
        }
    }

    // The lanes' own win rates over the same starts, then what they lead one
    // to expect of each row.
    const LaneFigures& all = table.rows[AnalysisTable::AllRow].lane;
    std::array<double, 6> laneRate{};
    for (size_t l = 0; l < 6; ++l)
        laneRate[l] = all.laneStarts[l] ? double(all.laneWins[l]) / all.laneStarts[l] : 0.0;
    for (AnalysisRow& row : table.rows) {
        LaneFigures& f = row.lane;
        for (size_t l = 0; l < 6; ++l) {
            f.starts += f.laneStarts[l];
            f.wins += f.laneWins[l];
            f.expected += f.laneStarts[l] * laneRate[l];
            f.expectedSquares += f.laneStarts[l] * laneRate[l] * laneRate[l];
        }
    }

    for (int r = 0; r < 3; ++r) {
        std::array<int, StateCount> trials{}, wins{}, topThree{};
        for (int s = 0; s < StateCount; ++s) {
            const Tally& t = table.rows[size_t(AnalysisTable::rowOf(r, RhythmState(s)))].tally;
            trials[size_t(s)] = t.starts;
            wins[size_t(s)] = t.first;
            topThree[size_t(s)] = t.topThree;
        }
        table.verdicts[size_t(r)] = {IndependenceTest(wins, trials), IndependenceTest(topThree, trials)};
    }
    return table;
}
