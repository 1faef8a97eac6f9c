#include "DayRaces.h"

#include "Database.h"
#include "GlobalModule.h"
#include "RuntimeError.h"

#include <algorithm>

namespace DayRaces {

void StoreRaces(Database& db, const std::vector<StoredRace>& races)
{
    // A race is stored only with a date that exists; none is stored otherwise.
    for (const StoredRace& race : races) {
        if (const QString problem = DateProblem(race.year, race.month, race.day); !problem.isEmpty())
            throw RuntimeError(ErrorNumber::InvalidArgument, QStringLiteral("DayRaces"),
                               QStringLiteral("%1 (%2-%3-%4)").arg(problem).arg(race.year).arg(race.month).arg(race.day));
    }
    Database::Transaction transaction(db);
    Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)"));
    for (const StoredRace& race : races) {
        insert.bind(1, race.year).bind(2, race.month).bind(3, race.day).bind(4, race.courseId).bind(5, race.raceNo);
        for (int n = 0; n < 6; ++n)
            insert.bind(6 + n, race.racers[size_t(n)]);
        insert.step();
        insert.reset();
    }
    transaction.commit();
}

int CountStored(Database& db, const QDate& date, int courseId)
{
    Statement count = db.prepare(QStringLiteral(
        "SELECT count(*) FROM T_レース履歴 WHERE 調査年 = ?1 AND 調査月 = ?2 AND 調査日 = ?3 AND 競艇場ID = ?4"));
    count.bind(1, date.year()).bind(2, date.month()).bind(3, date.day()).bind(4, courseId);
    return count.step() ? count.value(0).toInt() : 0;
}

ResultsPlan PlanResults(Database& db, const DailyFiles::ResultDay& day)
{
    ResultsPlan plan;
    if (!day.date.isValid())
        return plan;
    Statement select = db.prepare(QStringLiteral(
        "SELECT 履歴ID, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6, 結果1, 結果2, 結果3, 結果4, 結果5, 結果6 "
        "FROM T_レース履歴 WHERE 調査年 = ?1 AND 調査月 = ?2 AND 調査日 = ?3 ORDER BY 履歴ID"));
    select.bind(1, day.date.year()).bind(2, day.date.month()).bind(3, day.date.day());
    while (select.step()) {
        ++plan.storedRaces;
        const DailyFiles::ResultCourse* course = day.course(select.value(1).toInt());
        const DailyFiles::ResultRace* race = course ? course->race(select.value(2).toInt()) : nullptr;
        if (!race) {
            ++plan.withoutResult;
            continue;
        }
        ResultsPlan::Update update;
        update.id = select.value(0).toLongLong();
        int filled = 0;
        for (int n = 0; n < 6; ++n) {
            const int toban = select.value(3 + n).toInt();
            const int16_t stored = int16_t(select.value(9 + n).toInt());
            update.results[size_t(n)] = stored;
            if (toban == 0)
                continue;
            const auto finish = std::find_if(race->finishes.begin(), race->finishes.end(),
                                             [toban](const DailyFiles::Finish& f) { return f.toban == toban; });
            if (finish == race->finishes.end()) {
                ++plan.unmatchedSeats;
                continue;
            }
            const int16_t position = int16_t(finish->position());
            if (stored != 0 && stored != position)
                ++plan.changedEntered;
            update.results[size_t(n)] = position;
            ++filled;
        }
        if (filled == 0)
            continue;
        ++plan.races;
        plan.seats += filled;
        plan.updates.push_back(update);
    }
    return plan;
}

void ApplyResults(Database& db, const ResultsPlan& plan)
{
    Database::Transaction transaction(db);
    Statement update = db.prepare(QStringLiteral(
        "UPDATE T_レース履歴 SET 結果1 = ?2, 結果2 = ?3, 結果3 = ?4, 結果4 = ?5, 結果5 = ?6, 結果6 = ?7 WHERE 履歴ID = ?1"));
    for (const ResultsPlan::Update& u : plan.updates) {
        update.bind(1, u.id);
        for (int n = 0; n < 6; ++n)
            update.bind(2 + n, u.results[size_t(n)]);
        update.step();
        update.reset();
    }
    transaction.commit();
}

}
