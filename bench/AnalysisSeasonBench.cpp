// Times the results analysis over a generated season the size of 2024
// (56,064 races, 336,384 boats): opening the window with its table, tests
// and lane figures computed under 300 ms, a filter change under 100 ms, the
// memory the open window holds under 30 MB. The races are stored by the
// race programs' storing routine (seats in boat order) and their positions
// by the results' routine; lane 1 wins about 56 % and lane 6 about 3 %, as
// in a real season; the rhythms have no effect at all. A few hundred races
// come from the race table (seats not in boat order), some boats are empty
// and some racers left the racer table.
// Run: scripts/bench   (or build/bench/analysis_season_bench [--keep FOLDER]
// to leave the season's Vantor.mdb in FOLDER, for looking at the window)
#include "BunsekiForm.h"
#include "Database.h"
#include "DayRaces.h"
#include "Forms.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <functional>
#include <ctime>
#include <random>

namespace {
constexpr int kRacers = 1650;
constexpr int kFirstRacer = 3000;
constexpr int kFromRaceTable = 400;

// CPU time of this process in ms: on a busy machine the wall time also
// counts the time spent waiting for a core.
double cpuMs()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double residentMb()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

// Finishing order of one race: boats drawn one place at a time with chances
// by lane weight (the Plackett-Luce model), so the inner lanes win most.
std::array<int16_t, 6> finishOrder(std::mt19937& random)
{
    static const double weights[6] = {7.5, 1.9, 1.6, 1.3, 0.75, 0.42};
    std::array<int16_t, 6> positions{};
    std::array<bool, 6> placed{};
    for (int16_t place = 1; place <= 6; ++place) {
        double total = 0;
        for (int b = 0; b < 6; ++b)
            total += placed[size_t(b)] ? 0 : weights[b];
        double pick = std::uniform_real_distribution<double>(0, total)(random);
        int boat = -1;
        for (int b = 0; b < 6; ++b) {
            if (placed[size_t(b)])
                continue;
            boat = b;  // the last boat left when rounding runs past the end
            if (pick < weights[b])
                break;
            pick -= weights[b];
        }
        placed[size_t(boat)] = true;
        positions[size_t(boat)] = place;
    }
    return positions;
}

struct Season {
    int races = 0;
    int boats = 0;
};

// The 2024 season: every day 12 racecourses (13 on 280 days), 12 races each.
Season seedSeason(const QString& folder)
{
    std::mt19937 random(2024);
    std::vector<TestRacer> racers;
    for (int i = 0; i < kRacers; ++i) {
        TestRacer r{kFirstRacer + i};
        const QDate birth = QDate(1960, 1, 1).addDays(std::uniform_int_distribution<int>(0, 43 * 365)(random));
        r.year = birth.year();
        r.month = birth.month();
        r.day = birth.day();
        racers.push_back(r);
    }
    SeedRacers(folder, racers);

    std::vector<DayRaces::StoredRace> races;
    std::vector<DayRaces::ResultsPlan::Update> results;
    Season season;
    for (QDate day(2024, 1, 1); day.year() == 2024; day = day.addDays(1)) {
        const int courses = day.dayOfYear() <= 280 ? 13 : 12;
        for (int c = 0; c < courses; ++c) {
            const int course = 1 + (day.dayOfYear() * 5 + c) % 24;
            for (int raceNo = 1; raceNo <= 12; ++raceNo) {
                DayRaces::StoredRace race{int16_t(day.year()), int16_t(day.month()), int16_t(day.day()), int16_t(course),
                                          int16_t(raceNo), {}};
                DayRaces::ResultsPlan::Update result;
                result.id = qint64(races.size()) + 1;
                result.results = finishOrder(random);
                for (int b = 0; b < 6; ++b) {
                    const int draw = std::uniform_int_distribution<int>(0, 999)(random);
                    // 1 % of the boats empty, 3 % of the finishes not entered.
                    race.racers[size_t(b)] = draw < 10 ? 0 : int16_t(kFirstRacer + std::uniform_int_distribution<int>(0, kRacers - 1)(random));
                    if (draw < 40)
                        result.results[size_t(b)] = 0;
                }
                races.push_back(race);
                results.push_back(result);
            }
        }
    }
    season.races = int(races.size());
    season.boats = 6 * season.races;

    Database db(folder);
    DayRaces::StoreRaces(db, races);
    DayRaces::ResultsPlan plan;
    plan.updates = results;
    DayRaces::ApplyResults(db, plan);
    // Races the user set up in the race table: the same kind of races,
    // without the mark of boat order.
    db.execute(QStringLiteral("DELETE FROM T_艇番レース WHERE 履歴ID % %1 = 0").arg(season.races / kFromRaceTable));
    // Racers who left the racer table after their races were stored keep
    // their copies; remove a few without copies to have unknown racers.
    db.execute(QStringLiteral("DELETE FROM T_レース選手 WHERE 選手ID BETWEEN %1 AND %2").arg(kFirstRacer).arg(kFirstRacer + 4));
    db.execute(QStringLiteral("DELETE FROM T_選手 WHERE 選手ID BETWEEN %1 AND %2").arg(kFirstRacer).arg(kFirstRacer + 4));
    return season;
}
}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestFolder folder;
    QElapsedTimer seeding;
    seeding.start();
    const Season season = seedSeason(folder.folder());
    std::printf("season generated and stored:      %7.1f s (%d races, %d boats)\n", seeding.nsecsElapsed() / 1e9,
                season.races, season.boats);
    if (argc == 3 && qstrcmp(argv[1], "--keep") == 0) {
        const QString target = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/Vantor.mdb");
        QFile::remove(target);
        if (!QFile::copy(folder.file(QStringLiteral("Vantor.mdb")), target))
            return 1;
        std::printf("kept as %s\n", qPrintable(target));
    }
    Forms::registerForm(QStringLiteral("BunsekiForm"), [] { return new BunsekiForm; });

    const double beforeFirst = residentMb();
    Forms::unload(Forms::show(QStringLiteral("BunsekiForm")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const double firstGrowth = residentMb() - beforeFirst;

    {
        Database db(folder.folder());
        QElapsedTimer timer;
        timer.start();
        const std::vector<StoredRace> races = LoadStoredRaces(db);
        std::printf("read stored races:                %7.1f ms\n", timer.nsecsElapsed() / 1e6);
        timer.restart();
        const AnalysisTable table = Analyse(races, {});
        std::printf("compute the table:                %7.1f ms\n", timer.nsecsElapsed() / 1e6);
        const Tally& all = table.rows[AnalysisTable::AllRow].tally;
        std::printf("counted starts: %d; lane column: %d (%d left out: races from the race table); "
                    "not entered %d, empty boats %d, unknown racers %d\n",
                    all.starts, table.rows[AnalysisTable::AllRow].lane.starts, table.laneUnknown, table.withoutPosition,
                    table.emptyBoats, table.unknownRacer);
        for (int r = 0; r < 3; ++r)
            std::printf("  %s: win p = %.3f, top three p = %.3f\n", qPrintable(RhythmName(r)), table.verdicts[size_t(r)].win.p,
                        table.verdicts[size_t(r)].topThree.p);
    }

    std::vector<double> opens, openCpu, changes, changeCpu, growth;
    for (int run = 0; run < 7; ++run) {
        const double before = residentMb();
        QElapsedTimer timer;
        timer.start();
        double cpu = cpuMs();
        auto* form = qobject_cast<BunsekiForm*>(Forms::show(QStringLiteral("BunsekiForm")));
        QCoreApplication::processEvents();
        opens.push_back(timer.nsecsElapsed() / 1e6);
        openCpu.push_back(cpuMs() - cpu);
        growth.push_back(residentMb() - before);
        if (!form || form->table().rows[0].tally.starts < 300000)
            return 1;

        auto* from = form->findChild<QDateEdit*>(QStringLiteral("DateFrom"));
        auto* courses = form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"));
        auto* lanes = form->findChild<QComboBox*>(QStringLiteral("ComboTeiban"));
        auto change = [&](const std::function<void()>& body) {
            timer.restart();
            const double cpu = cpuMs();
            body();
            QCoreApplication::processEvents();
            changes.push_back(timer.nsecsElapsed() / 1e6);
            changeCpu.push_back(cpuMs() - cpu);
        };
        change([&] { from->setDate(from->date().addMonths(6)); });
        change([&] { courses->setCurrentIndex(1 + run); });
        change([&] { lanes->setCurrentIndex(1 + run % 6); });
        if (form->table().rows[0].tally.starts >= 300000)
            return 1;

        Forms::unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("runs: 7 (median)\n");
    std::printf("open BunsekiForm, table computed: %7.1f ms, CPU %.1f ms (target < 300 ms)\n", Median(opens), Median(openCpu));
    std::printf("filter change:                    %7.1f ms, CPU %.1f ms (target < 100 ms)\n", Median(changes), Median(changeCpu));
    std::printf("memory growth while open:         %7.1f MB (target < 30 MB)\n", Median(growth));
    std::printf("memory after the first open:      %7.1f MB (fonts and styles, loaded once)\n", firstGrowth);
    return 0;
}
