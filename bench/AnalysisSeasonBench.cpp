// Times the results analysis over a generated season the size of 2024
// (56,064 races, 336,384 boats): opening the window with its table, tests
// and lane figures computed under 300 ms, a filter change under 100 ms, the
// memory the open window holds under 30 MB. The races are stored day by day
// by the race programs' and results' writer of the period import (seats in
// boat order, classes and finish codes kept); lane 1 wins about 56 % and lane 6 about 3 %, as
// in a real season; the rhythms have no effect at all. A few hundred races
// are left unmarked as from the race table (seats not in boat order); some
// boats end with a finish code, some have no result, some racers are not in
// the racer table.
// Run: scripts/bench   (or build/bench/analysis_season_bench [--keep FOLDER]
// to leave the season's Vantor.mdb in FOLDER, for looking at the window)
#include "BunsekiForm.h"
#include "Database.h"
#include "DailyFiles.h"
#include "DayRaces.h"
#include "Forms.h"
#include "RuntimeError.h"
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

// The 2024 season: every day 12 racecourses (13 on 280 days), 12 races each,
// stored day by day through the writer the period import uses, each boat's
// class from the program and each finish code from the results.
Season seedSeason(const QString& folder)
{
    std::mt19937 random(2024);
    std::vector<TestRacer> racers;
    std::vector<QString> classes;
    for (int i = 0; i < kRacers; ++i) {
        TestRacer r{kFirstRacer + i};
        const QDate birth = QDate(1960, 1, 1).addDays(std::uniform_int_distribution<int>(0, 43 * 365)(random));
        r.year = birth.year();
        r.month = birth.month();
        r.day = birth.day();
        racers.push_back(r);
        const int draw = std::uniform_int_distribution<int>(0, 99)(random);
        classes.push_back(draw < 20 ? QStringLiteral("A1") : draw < 40 ? QStringLiteral("A2") : draw < 85 ? QStringLiteral("B1") : QStringLiteral("B2"));
    }
    SeedRacers(folder, racers);
    static const char* const codes[] = {"F", "L0", "L1", "K0", "K1", "S0", "S1", "S2"};

    Season season;
    Database db(folder);
    DayRaces::DayWriter writer(db);
    for (QDate day(2024, 1, 1); day.year() == 2024; day = day.addDays(1)) {
        DailyFiles::ProgramDay programs{day, {}};
        DailyFiles::ResultDay results{day, {}};
        const int courses = day.dayOfYear() <= 280 ? 13 : 12;
        for (int c = 0; c < courses; ++c) {
            const int course = 1 + (day.dayOfYear() * 5 + c) % 24;
            DailyFiles::ProgramCourse program{course, false, 0, {}};
            DailyFiles::ResultCourse result{course, false, {}, {}};
            for (int raceNo = 1; raceNo <= 12; ++raceNo) {
                DailyFiles::ProgramRace race{raceNo, QStringLiteral("予選"), 1800, {}};
                DailyFiles::ResultRace finish{raceNo, false, {}};
                const std::array<int16_t, 6> order = finishOrder(random);
                for (int b = 0; b < 6; ++b) {
                    const int draw = std::uniform_int_distribution<int>(0, 999)(random);
                    // One racer in 300 is missing from the racer table (birth date unknown).
                    const int racer = draw < 3 ? 9000 + draw : kFirstRacer + std::uniform_int_distribution<int>(0, kRacers - 1)(random);
                    DailyFiles::Boat boat;
                    boat.boat = b + 1;
                    // One boat in 100 is empty.
                    boat.toban = draw >= 990 ? 0 : racer;
                    boat.name = QStringLiteral("山田太郎");
                    boat.kyu = racer >= 9000 ? QStringLiteral("B2") : classes[size_t(racer - kFirstRacer)];
                    race.boats.push_back(boat);
                    // 1.4 % of the starts end with a code, 3 % have no result yet.
                    DailyFiles::Finish f;
                    f.boat = b + 1;
                    f.toban = racer;
                    f.code = draw < 14 ? QString::fromLatin1(codes[draw % 8]) : QStringLiteral("0%1").arg(order[size_t(b)]);
                    if ((draw >= 14 && draw < 14 + 30) || boat.toban == 0)
                        continue;
                    finish.finishes.push_back(f);
                }
                program.races.push_back(race);
                result.races.push_back(finish);
                ++season.races;
            }
            programs.courses.push_back(program);
            results.courses.push_back(result);
        }
        writer.inTransaction([&] {
            writer.storePrograms(programs);
            writer.applyResults(writer.planResults(results));
        });
    }
    season.boats = 6 * season.races;
    // Races the user set up in the race table: the same kind of races,
    // without the mark of boat order.
    db.execute(QStringLiteral("DELETE FROM T_艇番レース WHERE 履歴ID % %1 = 0").arg(season.races / kFromRaceTable));
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
    Season season;
    try {
        season = seedSeason(folder.folder());
    } catch (const RuntimeError& e) {
        std::printf("seeding failed: %d %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
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

    const double beforeFirst = ResidentMb();
    Forms::unload(Forms::show(QStringLiteral("BunsekiForm")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const double firstGrowth = ResidentMb() - beforeFirst;

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
        std::printf("counted starts: %d (%d without a place); lane column: %d (%d left out: races from the race table); "
                    "not entered %d, empty boats %d, birth date unknown %d\n",
                    all.starts, table.unplaced, table.rows[AnalysisTable::AllRow].lane.starts, table.laneUnknown,
                    table.withoutPosition, table.emptyBoats, table.unknownRacer);
        for (int r = 0; r < 3; ++r)
            std::printf("  %s: win p = %.3f, top three p = %.3f\n", qPrintable(RhythmName(r)), table.verdicts[size_t(r)].win.p,
                        table.verdicts[size_t(r)].topThree.p);
    }

    std::vector<double> opens, openCpu, changes, changeCpu, growth;
    for (int run = 0; run < 7; ++run) {
        const double before = ResidentMb();
        QElapsedTimer timer;
        timer.start();
        double cpu = CpuMs();
        auto* form = qobject_cast<BunsekiForm*>(Forms::show(QStringLiteral("BunsekiForm")));
        QCoreApplication::processEvents();
        opens.push_back(timer.nsecsElapsed() / 1e6);
        openCpu.push_back(CpuMs() - cpu);
        growth.push_back(ResidentMb() - before);
        if (!form || form->table().rows[0].tally.starts < 300000)
            return 1;

        auto* from = form->findChild<QDateEdit*>(QStringLiteral("DateFrom"));
        auto* courses = form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"));
        auto* lanes = form->findChild<QComboBox*>(QStringLiteral("ComboTeiban"));
        auto change = [&](const std::function<void()>& body) {
            timer.restart();
            const double cpu = CpuMs();
            body();
            QCoreApplication::processEvents();
            changes.push_back(timer.nsecsElapsed() / 1e6);
            changeCpu.push_back(CpuMs() - cpu);
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
