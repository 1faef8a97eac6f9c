// Times a generated season through the import of a period: 366 days, 12
// racecourses of 12 races each, every file an LHA archive; 1,733 racers run,
// 83 of them not in the racer table. Against it a plain baseline that reads
// the same files and inserts the same rows in one transaction a day, with
// nothing else. Prints both, their ratio, and the size of the stored season.
// Targets: the import at most 30 s and never slower than the baseline; the
// season at most 8 MB before compaction. Each run also prints the CPU time
// of both: the import reads the next day on a second core while it writes.
// Run: scripts/bench; `season_bench import|baseline [days]` runs one side
// alone, once, for a profiler.
#include "DailyFileWriter.h"
#include "DailyFiles.h"
#include "Database.h"
#include "PeriodImport.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr int kRacers = 1733;
constexpr int kInTable = 1650;

std::vector<TestRacer> handbook()
{
    std::vector<TestRacer> racers;
    for (int i = 0; i < kInTable; ++i) {
        TestRacer r{3000 + i};
        r.year = 1960 + i % 40;
        racers.push_back(r);
    }
    return racers;
}

// The same rows the import writes, the plain way: each race inserted once
// with its racers, copies and results, each copy once, and its mark of
// boat order.
void baseline(const QString& folder, const std::vector<PeriodImport::DayFiles>& days)
{
    Database db(folder);
    QHash<int, QString> known;
    {
        Statement racers = db.prepare(QStringLiteral("SELECT 選手ID, 期, 所属ID, 名前, 生年, 生月, 生日, 勝率, 複勝率 FROM Q_選手控元"));
        while (racers.step())
            known.insert(racers.value(0).toInt(), racers.value(1).toString() + racers.value(3).toString() + racers.value(4).toString());
    }
    QHash<QString, qint64> copies;
    Statement insertCopy = db.prepare(QStringLiteral(
        "INSERT INTO T_選手控 (選手ID, 期, 所属ID, 級, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) "
        "SELECT 選手ID, 期, 所属ID, ?2, 名前, よみがな, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率 FROM Q_選手控元 WHERE 選手ID = ?1 "
        "UNION ALL SELECT ?1, 0, 0, ?2, ?3, '', 0, 0, 0, 0, ?4, ?5 WHERE NOT EXISTS (SELECT 1 FROM T_選手 WHERE 選手ID = ?1)"));
    Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6, "
        "控1, 控2, 控3, 控4, 控5, 控6, 結果1, 結果2, 結果3, 結果4, 結果5, 結果6, 着1, 着2, 着3, 着4, 着5, 着6) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19, ?20, ?21, ?22, ?23, "
        "?24, ?25, ?26, ?27, ?28, ?29)"));
    // Races stored from a program are marked as seated in boat order.
    Statement mark = db.prepare(QStringLiteral("INSERT INTO T_艇番レース (履歴ID) VALUES (?1)"));
    for (const PeriodImport::DayFiles& files : days) {
        const DailyFiles::ProgramDay program = DailyFiles::ReadProgram(files.program);
        const DailyFiles::ResultDay results = DailyFiles::ReadResults(files.results);
        Database::Transaction transaction(db);
        for (const DailyFiles::ProgramCourse& course : program.courses) {
            const DailyFiles::ResultCourse* rc = results.course(course.code);
            for (const DailyFiles::ProgramRace& race : course.races) {
                const DailyFiles::ResultRace* rr = rc ? rc->race(race.raceNo) : nullptr;
                insert.bind(1, program.date.year()).bind(2, program.date.month()).bind(3, program.date.day());
                insert.bind(4, course.code).bind(5, race.raceNo);
                for (int n = 0; n < 6; ++n) {
                    const DailyFiles::Boat& boat = race.boats[size_t(n)];
                    const QString key = QString::number(boat.toban) + boat.kyu + known.value(boat.toban, boat.name);
                    qint64 copy = copies.value(key, 0);
                    if (!copy) {
                        insertCopy.bind(1, boat.toban).bind(2, boat.kyu).bind(3, boat.name).bind(4, boat.winRate).bind(5, boat.placeRate);
                        insertCopy.step();
                        insertCopy.reset();
                        copy = db.lastInsertRowId();
                        copies.insert(key, copy);
                    }
                    insert.bind(6 + n, boat.toban).bind(12 + n, copy).bind(18 + n, 0).bind(24 + n, QVariant());
                    if (rr)
                        for (const DailyFiles::Finish& f : rr->finishes)
                            if (f.toban == boat.toban)
                                insert.bind(18 + n, f.position()).bind(24 + n, f.code);
                }
                insert.step();
                insert.reset();
                mark.bind(1, db.lastInsertRowId());
                mark.step();
                mark.reset();
            }
        }
        transaction.commit();
    }
}

double lastCpu = 0;  // CPU seconds of the last body timed

double seconds(const std::function<void()>& body)
{
    QElapsedTimer timer;
    const double cpu = CpuMs();
    timer.start();
    body();
    lastCpu = (CpuMs() - cpu) / 1e3;
    return timer.nsecsElapsed() / 1e9;
}

qint64 databaseBytes(const QString& folder) { return QFileInfo(folder + Database::fileName()).size(); }
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    TestFolder files;
    // A second argument: fewer days.
    const int dayCount = argc > 2 ? std::clamp(std::atoi(argv[2]), 1, 366) : 366;
    std::vector<GeneratedDay> season = GeneratePeriod(QDate(2024, 1, 1), dayCount, 12, 12, 3000, kRacers);
    // Every finish code now and then, as a season has them.
    const QStringList codes = {QStringLiteral("F"), QStringLiteral("L0"), QStringLiteral("K0"), QStringLiteral("K1"), QStringLiteral("S0")};
    for (size_t d = 0; d < season.size(); ++d)
        season[d].results[d % 12].races[d % 12].lines[5].code = codes[int(d % 5)];
    for (const GeneratedDay& day : season)
        WriteDayFiles(files.folder(), day, true);
    const PeriodImport::Found found = PeriodImport::FindDayFiles(files.folder());
    if (found.days.size() != size_t(dayCount))
        return 1;

    // "import" or "baseline" as argument: that side alone, once (for a profiler).
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!only.isEmpty()) {
        TestFolder db;
        SeedRacers(db.folder(), handbook());
        const double took = seconds([&] {
            if (only == QLatin1String("import")) {
                Database database(db.folder());
                PeriodImport::ImportDays(database, found.days);
            } else {
                baseline(db.folder(), found.days);
            }
        });
        std::printf("%s: %.2f s (CPU %.2f s)\n", argv[1], took, lastCpu);
        return 0;
    }

    // Each run on a fresh database holding the handbook; the best of five
    // (on a shared virtual machine a run's wall time varies by a third).
    constexpr int Runs = 5;
    std::vector<double> imports, plains, importCpu, plainCpu;
    qint64 size = 0, compacted = 0;
    PeriodImport::Summary summary;
    for (int run = 0; run < Runs; ++run) {
        {
            TestFolder db;
            SeedRacers(db.folder(), handbook());
            imports.push_back(seconds([&] {
                Database database(db.folder());
                summary = PeriodImport::ImportDays(database, found.days);
            }));
            importCpu.push_back(lastCpu);
            size = databaseBytes(db.folder());
            Database::compact(db.folder());
            compacted = databaseBytes(db.folder());
        }
        {
            TestFolder db;
            SeedRacers(db.folder(), handbook());
            plains.push_back(seconds([&] { baseline(db.folder(), found.days); }));
            plainCpu.push_back(lastCpu);
        }
    }
    if (summary.stored != dayCount * 144 || !summary.refused.isEmpty())
        return 1;
    for (int run = 0; run < Runs; ++run)
        std::printf("run %d: import %.2f s (CPU %.2f), baseline %.2f s (CPU %.2f)\n", run, imports[size_t(run)],
                     importCpu[size_t(run)], plains[size_t(run)], plainCpu[size_t(run)]);
    const double import = *std::min_element(imports.begin(), imports.end());
    const double plain = *std::min_element(plains.begin(), plains.end());
    std::printf("season: %d days, %d races, %d boats not in the racer table, %d codes; runs: %d (best)\n", summary.days,
                summary.stored, summary.notInTable, summary.codes, Runs);
    std::printf("period import (一括取込):        %7.2f s (target <= 30 s)\n", import);
    std::printf("plain baseline, same rows:      %7.2f s\n", plain);
    std::printf("ratio import / baseline:        %7.2f   (target <= 1.00)\n", import / plain);
    std::printf("database after the season:      %7.2f MB (target <= 8 MB; with the handbook)\n", size / 1048576.0);
    std::printf("after compaction:               %7.2f MB\n", compacted / 1048576.0);
    return 0;
}
