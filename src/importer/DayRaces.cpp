#include "DayRaces.h"

#include "Database.h"
#include "GlobalModule.h"
#include "RuntimeError.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace DayRaces {

namespace {
// A racer copy as T_選手控 holds it: every column filled.
struct Copy {
    int toban = 0, ki = 0, branch = 0;
    QString kyu, name, yomi;
    int year = 0, month = 0, day = 0, blood = 0;
    double win = 0, place = 0;

    QString key() const
    {
        const QChar s(0x1F);
        return QString::number(toban) + s + QString::number(ki) + s + QString::number(branch) + s + kyu + s + name + s +
               yomi + s + QString::number(year) + s + QString::number(month) + s + QString::number(day) + s +
               QString::number(blood) + s + QString::number(win, 'g', 17) + s + QString::number(place, 'g', 17);
    }
};

const char* const kCopyColumns = "選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率";

Copy copyFrom(const Statement& row)
{
    Copy c;
    c.toban = row.value(0).toInt();
    c.ki = row.value(1).toInt();
    c.branch = row.value(2).toInt();
    c.kyu = row.value(3).toString();
    c.name = row.value(4).toString();
    c.yomi = row.value(5).toString();
    c.year = row.value(6).toInt();
    c.month = row.value(7).toInt();
    c.day = row.value(8).toInt();
    c.blood = row.value(9).toInt();
    c.win = row.value(10).toDouble();
    c.place = row.value(11).toDouble();
    return c;
}

QString missingLine(int raceNo, const DailyFiles::Boat& boat)
{
    return QStringLiteral("%1R %2号艇 %3 %4").arg(raceNo, 2).arg(boat.boat).arg(boat.toban).arg(boat.name);
}

// A rate as the racer table keeps it: two decimals, one for the place rate.
double rounded(double value, int decimals)
{
    const double scale = decimals == 2 ? 100.0 : 10.0;
    return std::round(value * scale) / scale;
}
}

struct DayWriter::Impl {
    Database& db;
    bool loaded = false;
    QHash<int, Copy> racers;             // the racer table, as copies hold it
    QHash<QString, int> branches;        // 県名 and 所属名 -> 所属ID
    QHash<QString, qint64> copies;       // content -> 控ID, committed
    QHash<QString, qint64> pending;      // copies added in the open transaction
    // A racer of the racer table with a class (2 letters) -> 控ID, committed
    // and pending: his content is fixed for the writer's life.
    QHash<qint64, qint64> knownCopies, knownPending;
    std::optional<Statement> insertRace;
    std::optional<Statement> insertCopy;
    std::optional<Statement> markBoatOrder;
    std::optional<Statement> dayRaces;
    std::optional<Statement> dayResults;
    std::optional<Statement> updateResults;

    explicit Impl(Database& database) : db(database) {}

    void load()
    {
        if (loaded)
            return;
        Statement racerRows = db.prepare(QStringLiteral("SELECT %1 FROM Q_選手控元").arg(QString::fromUtf8(kCopyColumns)));
        while (racerRows.step()) {
            const Copy c = copyFrom(racerRows);
            racers.insert(c.toban, c);
        }
        Statement branchRows = db.prepare(QStringLiteral("SELECT 所属ID, ifnull(所属名, ''), ifnull(県名, '') FROM T_所属 ORDER BY 所属ID DESC"));
        while (branchRows.step()) {
            for (int c : {1, 2}) {
                const QString name = branchRows.value(c).toString().trimmed();
                if (!name.isEmpty())
                    branches.insert(name, branchRows.value(0).toInt());
            }
        }
        Statement copyRows = db.prepare(QStringLiteral("SELECT %1, 控ID FROM T_選手控").arg(QString::fromUtf8(kCopyColumns)));
        while (copyRows.step())
            copies.insert(copyFrom(copyRows).key(), copyRows.value(12).toLongLong());
        insertRace.emplace(db.prepare(QStringLiteral(
            "INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6, "
            "控1, 控2, 控3, 控4, 控5, 控6, 結果1, 結果2, 結果3, 結果4, 結果5, 結果6, 着1, 着2, 着3, 着4, 着5, 着6) "
            "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, "
            "?18, ?19, ?20, ?21, ?22, ?23, ?24, ?25, ?26, ?27, ?28, ?29)")));
        // A race stored from a program has its boats as its seats: the
        // analysis may read seat n as lane n.
        markBoatOrder.emplace(db.prepare(QStringLiteral("INSERT INTO T_艇番レース (履歴ID) VALUES (?1)")));
        insertCopy.emplace(db.prepare(QStringLiteral("INSERT INTO T_選手控 (%1) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)")
                                          .arg(QString::fromUtf8(kCopyColumns))));
        dayRaces.emplace(db.prepare(QStringLiteral(
            "SELECT 競艇場ID, レースNO FROM T_レース履歴 WHERE 調査年 = ?1 AND 調査月 = ?2 AND 調査日 = ?3")));
        dayResults.emplace(db.prepare(QStringLiteral(
            "SELECT 履歴ID, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6, 結果1, 結果2, 結果3, 結果4, 結果5, 結果6, "
            "着1, 着2, 着3, 着4, 着5, 着6 FROM T_レース履歴 WHERE 調査年 = ?1 AND 調査月 = ?2 AND 調査日 = ?3 ORDER BY 履歴ID")));
        updateResults.emplace(db.prepare(QStringLiteral(
            "UPDATE T_レース履歴 SET 結果1 = ?2, 結果2 = ?3, 結果3 = ?4, 結果4 = ?5, 結果5 = ?6, 結果6 = ?7, "
            "着1 = ?8, 着2 = ?9, 着3 = ?10, 着4 = ?11, 着5 = ?12, 着6 = ?13 WHERE 履歴ID = ?1")));
        loaded = true;
    }

    static qint64 knownKey(int toban, const QString& kyu)
    {
        qint64 key = toban;
        for (int i = 0; i < 2; ++i)
            key = key * 65536 + (i < kyu.size() ? kyu[i].unicode() : 0);
        return key;
    }

    // The copy of a racer of the racer table in the class of a program.
    qint64 knownCopyId(const Copy& c)
    {
        const qint64 key = knownKey(c.toban, c.kyu);
        if (const auto it = knownCopies.constFind(key); it != knownCopies.constEnd())
            return it.value();
        if (const auto it = knownPending.constFind(key); it != knownPending.constEnd())
            return it.value();
        const qint64 id = copyId(c);
        knownPending.insert(key, id);
        return id;
    }

    qint64 copyId(const Copy& c)
    {
        const QString key = c.key();
        if (const auto it = copies.constFind(key); it != copies.constEnd())
            return it.value();
        if (const auto it = pending.constFind(key); it != pending.constEnd())
            return it.value();
        Statement& insert = *insertCopy;
        insert.bind(1, c.toban).bind(2, c.ki).bind(3, c.branch).bind(4, c.kyu).bind(5, c.name).bind(6, c.yomi);
        insert.bind(7, c.year).bind(8, c.month).bind(9, c.day).bind(10, c.blood).bind(11, c.win).bind(12, c.place);
        insert.step();
        insert.reset();
        const qint64 id = db.lastInsertRowId();
        pending.insert(key, id);
        return id;
    }

    // The copy of a boat's racer; false when the racer table has no such racer.
    bool copyOf(const DailyFiles::Boat& boat, Copy* copy) const
    {
        const auto it = racers.constFind(boat.toban);
        if (it != racers.constEnd()) {
            *copy = it.value();
            if (!boat.kyu.isEmpty())
                copy->kyu = boat.kyu;
            return true;
        }
        *copy = Copy();
        copy->toban = boat.toban;
        copy->branch = branches.value(boat.branch, 0);
        copy->kyu = boat.kyu;
        copy->name = boat.name;
        copy->win = rounded(boat.winRate, 2);
        copy->place = rounded(boat.placeRate, 1);
        return false;
    }
};

DayWriter::DayWriter(Database& db) : d_(std::make_unique<Impl>(db)) {}
DayWriter::~DayWriter() = default;

void DayWriter::inTransaction(const std::function<void()>& work)
{
    d_->load();
    d_->pending.clear();
    d_->knownPending.clear();
    try {
        Database::Transaction transaction(d_->db);
        work();
        transaction.commit();
    } catch (...) {
        d_->pending.clear();
        d_->knownPending.clear();
        throw;
    }
    for (auto it = d_->pending.constBegin(); it != d_->pending.constEnd(); ++it)
        d_->copies.insert(it.key(), it.value());
    for (auto it = d_->knownPending.constBegin(); it != d_->knownPending.constEnd(); ++it)
        d_->knownCopies.insert(it.key(), it.value());
    d_->pending.clear();
    d_->knownPending.clear();
}

StoreSummary DayWriter::storePrograms(const DailyFiles::ProgramDay& day, int course, const DailyFiles::ResultDay* results)
{
    if (results && results->date != day.date)
        results = nullptr;
    StoreSummary summary;
    if (!day.date.isValid())
        return summary;
    d_->load();
    QSet<int> stored;  // racecourse * 100 + race number
    Statement& select = *d_->dayRaces;
    select.bind(1, day.date.year()).bind(2, day.date.month()).bind(3, day.date.day());
    while (select.step())
        stored.insert(select.value(0).toInt() * 100 + select.value(1).toInt());
    select.reset();
    summary.dayWasEmpty = stored.isEmpty();

    Statement& insert = *d_->insertRace;
    for (const DailyFiles::ProgramCourse& c : day.courses) {
        if (course != 0 && c.code != course)
            continue;
        const DailyFiles::ResultCourse* resultCourse = results ? results->course(c.code) : nullptr;
        for (const DailyFiles::ProgramRace& race : c.races) {
            if (stored.contains(c.code * 100 + race.raceNo)) {
                ++summary.skipped;
                continue;
            }
            const DailyFiles::ResultRace* result = resultCourse ? resultCourse->race(race.raceNo) : nullptr;
            insert.bind(1, day.date.year()).bind(2, day.date.month()).bind(3, day.date.day()).bind(4, c.code).bind(5, race.raceNo);
            for (int n = 0; n < 6; ++n) {
                insert.bind(6 + n, 0).bind(12 + n, QVariant()).bind(18 + n, 0).bind(24 + n, QVariant());
                if (n >= int(race.boats.size()) || race.boats[size_t(n)].toban == 0)
                    continue;
                const DailyFiles::Boat& boat = race.boats[size_t(n)];
                if (result) {
                    for (const DailyFiles::Finish& finish : result->finishes) {
                        if (finish.toban != boat.toban)
                            continue;
                        insert.bind(18 + n, finish.position()).bind(24 + n, finish.code);
                        ++(finish.position() != 0 ? summary.positions : summary.codes);
                        break;
                    }
                }
                Copy copy;
                qint64 copyId = 0;
                if (d_->copyOf(boat, &copy)) {
                    copyId = d_->knownCopyId(copy);
                } else {
                    ++summary.notInTable;
                    summary.missingRacers.insert(boat.toban);
                    summary.missing << missingLine(race.raceNo, boat);
                    copyId = d_->copyId(copy);
                }
                insert.bind(6 + n, boat.toban).bind(12 + n, copyId);
            }
            insert.step();
            insert.reset();
            Statement& mark = *d_->markBoatOrder;
            mark.bind(1, d_->db.lastInsertRowId());
            mark.step();
            mark.reset();
            stored.insert(c.code * 100 + race.raceNo);
            ++summary.stored;
        }
    }
    return summary;
}

ResultsPlan DayWriter::planResults(const DailyFiles::ResultDay& day)
{
    ResultsPlan plan;
    if (!day.date.isValid())
        return plan;
    d_->load();
    Statement& select = *d_->dayResults;
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
        bool changes = false;
        for (int n = 0; n < 6; ++n) {
            const int toban = select.value(3 + n).toInt();
            const int16_t stored = int16_t(select.value(9 + n).toInt());
            const QVariant storedCode = select.value(15 + n);
            update.results[size_t(n)] = stored;
            update.codes[size_t(n)] = storedCode.toString();
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
            if (stored != position || storedCode.isNull() || storedCode.toString() != finish->code) {
                changes = true;
                ++(position != 0 ? plan.changedPositions : plan.changedCodes);
            }
            update.results[size_t(n)] = position;
            update.codes[size_t(n)] = finish->code;
            ++filled;
            ++(position != 0 ? plan.positions : plan.codes);
        }
        if (filled == 0)
            continue;
        ++plan.races;
        if (changes)
            plan.updates.push_back(update);
        else
            ++plan.unchanged;
    }
    select.reset();
    return plan;
}

void DayWriter::applyResults(const ResultsPlan& plan)
{
    d_->load();
    Statement& update = *d_->updateResults;
    for (const ResultsPlan::Update& u : plan.updates) {
        update.bind(1, u.id);
        for (int n = 0; n < 6; ++n) {
            update.bind(2 + n, u.results[size_t(n)]);
            update.bind(8 + n, u.codes[size_t(n)].isEmpty() ? QVariant() : QVariant(u.codes[size_t(n)]));
        }
        update.step();
        update.reset();
    }
}

StoreSummary StorePrograms(Database& db, const DailyFiles::ProgramDay& day, int course)
{
    DayWriter writer(db);
    StoreSummary summary;
    writer.inTransaction([&] { summary = writer.storePrograms(day, course); });
    return summary;
}

ResultsPlan PlanResults(Database& db, const DailyFiles::ResultDay& day) { return DayWriter(db).planResults(day); }

void ApplyResults(Database& db, const ResultsPlan& plan)
{
    DayWriter writer(db);
    writer.inTransaction([&] { writer.applyResults(plan); });
}

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
    // The seats are the program's boats: the analysis may read seat n as lane n.
    Statement mark = db.prepare(QStringLiteral("INSERT INTO T_艇番レース (履歴ID) VALUES (?1)"));
    for (const StoredRace& race : races) {
        insert.bind(1, race.year).bind(2, race.month).bind(3, race.day).bind(4, race.courseId).bind(5, race.raceNo);
        for (int n = 0; n < 6; ++n)
            insert.bind(6 + n, race.racers[size_t(n)]);
        insert.step();
        insert.reset();
        mark.bind(1, db.lastInsertRowId());
        mark.step();
        mark.reset();
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

}
