// Times the results analysis at full scale: a season of stored races with
// every position entered (53,000 races, 318,000 starts) opens under 300 ms,
// ten seasons (530,000 races) under 2 s.
// Run: scripts/bench
#include "BunsekiForm.h"
#include "Database.h"
#include "Forms.h"
#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {
bool measure(int races, double target, int runs)
{
    TestFolder folder;
    std::vector<TestRacer> racers;
    for (int i = 0; i < 1650; ++i) {
        TestRacer r{3000 + i};
        r.year = 1960 + i % 40;
        racers.push_back(r);
    }
    SeedRacers(folder.folder(), racers);
    SeedRaces(folder.folder(), races, 3000, 1650, true);
    Forms::unload(Forms::show(QStringLiteral("BunsekiForm")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::vector<double> opens;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        auto* form = qobject_cast<BunsekiForm*>(Forms::show(QStringLiteral("BunsekiForm")));
        QCoreApplication::processEvents();
        opens.push_back(timer.nsecsElapsed() / 1e6);
        if (!form || form->table().rows[0].tally.starts != races * 6)
            return false;
        Forms::unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("stored races: %d, starts: %d, runs: %d (median)\n", races, races * 6, runs);
    std::printf("  open BunsekiForm, table computed: %8.1f ms (target < %.0f ms)\n", Median(opens), target);
    return true;
}
}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Forms::registerForm(QStringLiteral("BunsekiForm"), [] { return new BunsekiForm; });
    return measure(53000, 300, 5) && measure(530000, 2000, 3) ? 0 : 1;
}
