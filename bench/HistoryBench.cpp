// Times the race history window with a season of stored races (56,064,
// six racers each): opening it with every race listed under 200 ms and
// +50 MB of memory, and choosing a race (the last one) under 50 ms. The
// figures at 10,000 races are printed beside them.
// Run: scripts/bench
#include "Database.h"
#include "Forms.h"
#include "RirekiForm.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <cstdio>

namespace {
bool measure(int count)
{
    TestFolder folder;
    std::vector<TestRacer> racers;
    for (int i = 0; i < 1650; ++i)
        racers.push_back(TestRacer{3000 + i});
    SeedRacers(folder.folder(), racers);
    SeedRaces(folder.folder(), count, 3000, 1650);

    // Fonts and styles, loaded once for the program, are not the window's.
    Forms::unload(Forms::show(QStringLiteral("RirekiForm")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    std::vector<double> opens, chooses, growth;
    for (int run = 0; run < 7; ++run) {
        const double before = ResidentMb();
        QElapsedTimer timer;
        timer.start();
        auto* form = qobject_cast<RirekiForm*>(Forms::show(QStringLiteral("RirekiForm")));
        QCoreApplication::processEvents();
        opens.push_back(timer.nsecsElapsed() / 1e6);
        auto* box = form->findChild<QComboBox*>(QStringLiteral("ComboRireki"));
        if (box->count() != count)
            return false;
        timer.restart();
        box->setCurrentIndex(count - 1 - run);
        form->ComboRireki_Click();
        QCoreApplication::processEvents();
        chooses.push_back(timer.nsecsElapsed() / 1e6);
        growth.push_back(ResidentMb() - before);
        if (form->findChild<QLabel*>(QStringLiteral("LabelKi_0"))->text().isEmpty())
            return false;
        Forms::unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("stored races: %d, runs: 7 (median)\n", count);
    std::printf("  open RirekiForm, list filled: %7.1f ms (target < 200 ms)\n", Median(opens));
    std::printf("  choose a race:                %7.1f ms (target < 50 ms)\n", Median(chooses));
    std::printf("  memory growth while open:     %7.1f MB (target < 50 MB)\n", Median(growth));
    return true;
}
}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Forms::registerForm(QStringLiteral("RirekiForm"), [] { return new RirekiForm; });
    return measure(10000) && measure(56064) ? 0 : 1;
}
