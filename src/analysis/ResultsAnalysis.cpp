#include "ResultsAnalysis.h"

#include "Database.h"
#include "Rhythm.h"

#include <cmath>

namespace {
QString seat(const char* word, int n) { return QString::fromUtf8(word) + QString::number(n); }
}

std::vector<StoredRace> LoadStoredRaces(const Database& db)
{
    // The history view gives each seat's racer; the racecourse's id comes
    // from the stored race itself, as the view gives only its name.
    QStringList columns = {QStringLiteral("q.調査年"), QStringLiteral("q.調査月"), QStringLiteral("q.調査日"),
                           QStringLiteral("r.競艇場ID")};
    for (int n = 1; n <= 6; ++n)
        for (const char* word : {"選手", "生年", "生月", "生日", "結果", "着", "名前"})
            columns << QStringLiteral("q.") + seat(word, n);
    Statement rows = db.prepare(QStringLiteral("SELECT %1 FROM Q_レース履歴 q JOIN T_レース履歴 r ON r.履歴ID = q.履歴ID")
                                    .arg(columns.join(QStringLiteral(", "))));
    std::vector<StoredRace> races;
    while (rows.step()) {
        StoredRace race;
        race.year = int16_t(rows.value(0).toInt());
        race.month = int16_t(rows.value(1).toInt());
        race.day = int16_t(rows.value(2).toInt());
        race.course = rows.value(3).toInt();
        for (int i = 0; i < 6; ++i) {
            const int c = 4 + 7 * i;
            StoredSeat& s = race.seats[size_t(i)];
            s.racer = rows.value(c).toInt();
            s.birthYear = int16_t(rows.value(c + 1).toInt());
            s.birthMonth = int16_t(rows.value(c + 2).toInt());
            s.birthDay = int16_t(rows.value(c + 3).toInt());
            s.position = int16_t(rows.value(c + 4).toInt());
            s.code = rows.value(c + 5).toString();
            s.named = !rows.value(c + 6).toString().isEmpty();
        }
        races.push_back(race);
    }
    return races;
}

RhythmState Classify(double score, int period)
{
    const double strong = period / 8.0;
    if (Rhythm::IsCritical(score))
        return RhythmState::Critical;
    if (score >= strong)
        return RhythmState::Good;
    if (score > 1)
        return RhythmState::Rising;
    if (score <= -strong)
        return RhythmState::Poor;
    return RhythmState::Falling;
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

Interval Wilson(int successes, int trials)
{
    if (trials <= 0)
        return {0.0, 1.0};
    constexpr double z = 1.959963984540054;  // two-sided 95 %
    const double n = trials;
    const double p = successes / n;
    const double z2 = z * z;
    const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const double half = z / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
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

    // A rhythm's score depends only on its phase: classify every phase once.
    // For days 0 .. P-1 the phase in the cycle of P days is the day itself.
    std::array<std::vector<RhythmState>, 3> stateAt;
    for (int r = 0; r < 3; ++r) {
        const int period = Rhythm::Periods[r];
        for (int phase = 0; phase < period; ++phase) {
            const Rhythm::Scores scores = Rhythm::TableScores(phase);
            const double values[3] = {scores.body, scores.emotion, scores.intellect};
            stateAt[size_t(r)].push_back(Classify(values[r], period));
        }
    }

    for (const StoredRace& race : races) {
        if (filter.course && race.course != *filter.course)
            continue;
        if (filter.from || filter.to) {
            const double day = DayNumber(race.year, race.month, race.day);
            if ((filter.from && day < *filter.from) || (filter.to && day > *filter.to))
                continue;
        }
        for (const StoredSeat& seat : race.seats) {
            if (seat.racer == 0)
                continue;
            // The view gives a racer it cannot find with no birth date.
            if (seat.birthYear == 0) {
                ++(seat.named ? table.noBirthDate : table.unknownRacer);
                continue;
            }
            const bool coded = seat.position == 0 && !seat.code.isEmpty();
            if (!coded && (seat.position < 1 || seat.position > 6)) {
                ++table.withoutPosition;
                continue;
            }
            const int32_t days =
                Rhythm::ElapsedDays(race.year, race.month, race.day, seat.birthYear, seat.birthMonth, seat.birthDay);
            // A start that ended in a code is a bad day, not a missing one:
            // it is counted in a column of its own, apart from the rates.
            const auto count = [&](Tally& tally) { coded ? tally.addCode() : tally.add(seat.position); };
            table.withCode += coded;
            count(table.rows[AnalysisTable::AllRow].tally);
            bool allCritical = true;
            for (int r = 0; r < 3; ++r) {
                const RhythmState state = stateAt[size_t(r)][size_t(Rhythm::Phase(days, Rhythm::Periods[r]))];
                allCritical = allCritical && state == RhythmState::Critical;
                count(table.rows[size_t(AnalysisTable::rowOf(r, state))].tally);
            }
            if (allCritical)
                count(table.rows[AnalysisTable::AllCriticalRow].tally);
        }
    }
    return table;
}
