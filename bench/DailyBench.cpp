// Times the day's files: reading a whole day's race-program file (14
// racecourses, 168 races) and listing it in the 番組表 window, storing the
// 12 races of a racecourse with "全レース登録", and reading a whole day's
// results file against 10,000 stored races of that day (every one of them
// gets its positions).
// Run: scripts/bench
#include "BangumiForm.h"
#include "DailyFileWriter.h"
#include "Database.h"
#include "DayRaces.h"
#include "FileDialog.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "ResultsImport.h"
#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <cstdio>
#include <functional>

namespace {
constexpr int Runs = 7;
const QDate kDay(2024, 8, 1);
const int kCourses[14] = {1, 2, 4, 5, 7, 8, 10, 12, 15, 17, 18, 20, 22, 24};

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::exit(1);
}

// Median of the runs, in milliseconds; `prepare` runs untimed before each.
double median(const std::function<void()>& prepare, const std::function<void()>& body)
{
    std::vector<double> times;
    for (int run = 0; run < Runs; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return Median(times);
}

int toban(int course, int race, int boat) { return 3000 + (course * 72 + race * 6 + boat) % 1650; }
}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestFolder folder;
    std::vector<TestRacer> racers;
    for (int i = 0; i < 1650; ++i)
        racers.push_back(TestRacer{3000 + i});
    SeedRacers(folder.folder(), racers);

    std::vector<ProgramCourseText> programs;
    std::vector<ResultCourseText> results;
    for (int course : kCourses) {
        ProgramCourseText p{course, false, {}};
        ResultCourseText r{course, false, {}};
        for (int race = 1; race <= 12; ++race) {
            ProgramRaceText pr = MakeProgramRace(race, 0);
            ResultRaceText rr = MakeResultRace(race, 0);
            for (int boat = 0; boat < 6; ++boat) {
                pr.boats[size_t(boat)].toban = toban(course, race, boat);
                rr.lines[size_t(boat)].toban = toban(course, race, boat);
            }
            p.races.push_back(pr);
            r.races.push_back(rr);
        }
        programs.push_back(p);
        results.push_back(r);
    }
    const QString programPath = folder.file("B240801.TXT");
    const QString resultsPath = folder.file("K240801.TXT");
    write(programPath, ProgramFileBytes(kDay, programs));
    write(resultsPath, ResultFileBytes(kDay, results));

    auto* programsWindow = new BangumiForm;
    auto* basho = programsWindow->findChild<QListWidget*>(QStringLiteral("ListBasho"));
    const double open = median([] {}, [&] {
        programsWindow->Open(programPath);
        for (int row = 0; row < basho->count(); ++row)
            basho->setCurrentRow(row);
    });
    if (basho->count() != 14)
        return 1;

    basho->setCurrentRow(0);
    const double store = median([] { MsgBoxScript::queue(Mb::Yes); }, [&] { programsWindow->CommandAll_Click(); });
    delete programsWindow;

    // 10,000 stored races of the day, over the file's races.
    {
        Database db(folder.folder());
        db.execute(QStringLiteral("DELETE FROM T_レース履歴"));
        std::vector<DayRaces::StoredRace> stored;
        for (int i = 0; i < 10000; ++i) {
            const int course = kCourses[i % 14];
            const int race = 1 + (i / 14) % 12;
            DayRaces::StoredRace s{2024, 8, 1, int16_t(course), int16_t(race), {}};
            for (int boat = 0; boat < 6; ++boat)
                s.racers[size_t(boat)] = int16_t(toban(course, race, boat));
            stored.push_back(s);
        }
        DayRaces::StoreRaces(db, stored);
    }
    bool wrote = true;
    const double apply = median(
        [&] {
            FileDialogScript::queue(resultsPath);
            MsgBoxScript::queue(Mb::Yes);
        },
        [&] { wrote = ReadResultsFile(nullptr) && wrote; });
    if (!wrote)
        return 1;

    std::printf("runs: %d (median)\n", Runs);
    std::printf("program file, 14 racecourses / 168 races, read and listed: %7.1f ms (target < 50 ms)\n", open);
    std::printf("全レース登録 of 12 races:                                  %7.1f ms (target < 50 ms)\n", store);
    std::printf("results file against 10,000 stored races of its day:      %7.1f ms (target < 200 ms)\n", apply);
    return 0;
}
