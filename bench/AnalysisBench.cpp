// Times the results analysis over 10,000 stored races with all six
// positions entered (60,000 starts): opening the window with its table
// computed, and a filter change, each under 300 ms; the memory the open
// window holds under 20 MB.
// Run: scripts/bench
#include "BunsekiForm.h"
#include "Database.h"
#include "Forms.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <ctime>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestFolder folder;

    std::vector<TestRacer> racers;
    for (int i = 0; i < 1650; ++i) {
        TestRacer r{3000 + i};
        r.year = 1960 + i % 40;
        r.month = 1 + i % 12;
        r.day = 1 + i % 28;
        racers.push_back(r);
    }
    SeedRacers(folder.folder(), racers);
    SeedRaces(folder.folder(), 10000, 3000, 1650, true);
    Forms::registerForm(QStringLiteral("BunsekiForm"), [] { return new BunsekiForm; });

    // One open and close first, so that fonts and styles loaded once for the
    // whole program are not counted as the window's.
    const double beforeFirst = ResidentMb();
    Forms::unload(Forms::show(QStringLiteral("BunsekiForm")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const double firstGrowth = ResidentMb() - beforeFirst;

    // The two parts of the work, for the record.
    {
        Database db(folder.folder());
        QElapsedTimer timer;
        timer.start();
        const double cpu = CpuMs();
        const std::vector<StoredRace> races = LoadStoredRaces(db);
        std::printf("read stored races:                %7.1f ms (CPU %.1f ms)\n", timer.nsecsElapsed() / 1e6, CpuMs() - cpu);
        timer.restart();
        const double cpu2 = CpuMs();
        const AnalysisTable table = Analyse(races, {});
        std::printf("compute the table:                %7.1f ms (CPU %.1f ms)\n", timer.nsecsElapsed() / 1e6, CpuMs() - cpu2);
    }

    std::vector<double> opens, changes, growth;
    for (int run = 0; run < 7; ++run) {
        const double before = ResidentMb();
        QElapsedTimer timer;
        timer.start();
        auto* form = qobject_cast<BunsekiForm*>(Forms::show(QStringLiteral("BunsekiForm")));
        QCoreApplication::processEvents();
        opens.push_back(timer.nsecsElapsed() / 1e6);
        growth.push_back(ResidentMb() - before);
        if (!form || form->table().rows[0].tally.starts != 60000)
            return 1;

        auto* from = form->findChild<QDateEdit*>(QStringLiteral("DateFrom"));
        auto* courses = form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"));
        timer.restart();
        from->setDate(from->date().addYears(1));
        QCoreApplication::processEvents();
        changes.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        courses->setCurrentIndex(1 + run);
        QCoreApplication::processEvents();
        changes.push_back(timer.nsecsElapsed() / 1e6);
        if (form->table().rows[0].tally.starts >= 60000)
            return 1;

        Forms::unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("stored races: 10000, starts: 60000, runs: 7 (median)\n");
    std::printf("open BunsekiForm, table computed: %7.1f ms (target < 300 ms)\n", Median(opens));
    std::printf("filter change:                    %7.1f ms (target < 300 ms)\n", Median(changes));
    std::printf("memory growth while open:         %7.1f MB (target < 20 MB)\n", Median(growth));
    std::printf("memory after the first open:      %7.1f MB (fonts and styles, loaded once)\n", firstGrowth);
    return 0;
}
