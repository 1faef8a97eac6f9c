// Times opening the race history window with 10,000 stored races (six
// racers each): the drop-down must be filled in under 200 ms.
// Run: scripts/bench
#include "Database.h"
#include "Forms.h"
#include "RirekiForm.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestFolder folder;

    std::vector<TestRacer> racers;
    for (int i = 0; i < 1650; ++i)
        racers.push_back(TestRacer{3000 + i});
    SeedRacers(folder.folder(), racers);
    {
        Database db(folder.folder());
        Database::Transaction transaction(db);
        Statement insert = db.prepare(QStringLiteral(
            "INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6) "
            "VALUES (2026, 1 + ?1 % 12, 1 + ?1 % 28, 1 + ?1 % 24, 1 + ?1 % 12, ?2, ?3, ?4, ?5, ?6, ?7)"));
        for (int r = 0; r < 10000; ++r) {
            insert.bind(1, r);
            for (int n = 0; n < 6; ++n)
                insert.bind(2 + n, 3000 + (r * 6 + n) % 1650);
            insert.step();
            insert.reset();
        }
        transaction.commit();
    }
    Forms::registerForm(QStringLiteral("RirekiForm"), [] { return new RirekiForm; });

    std::vector<double> times;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer timer;
        timer.start();
        QWidget* form = Forms::show(QStringLiteral("RirekiForm"));
        times.push_back(timer.nsecsElapsed() / 1e6);
        if (form->findChild<QComboBox*>(QStringLiteral("ComboRireki"))->count() != 10000)
            return 1;
        Forms::unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::printf("stored races: 10000, runs: 7 (median)\n");
    std::printf("open RirekiForm, list filled: %7.1f ms (target < 200 ms)\n", Median(times));
    return 0;
}
