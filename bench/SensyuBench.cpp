// Times the racer maintenance window with a full handbook (9,999 racers, 501
// of them in one prefecture): opening the window, a list click, update, add
// and delete of one racer (the delete with its list rebuild), and printing
// the 501-line list (9 pages) to PDF. Run: scripts/bench
#include "CharPrinter.h"
#include "Database.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "SensyuForm.h"
#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cstdio>

namespace {
double msSince(QElapsedTimer& timer)
{
    const double ms = timer.nsecsElapsed() / 1e6;
    timer.restart();
    return ms;
}
}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestFolder folder;
    CharPrinter::setForcePdf(true);

    std::vector<TestRacer> racers;
    for (int i = 0; i < 9999; ++i) {
        TestRacer r{i + 1};
        r.ken = i < 501 ? 1 : 2 + i % 46;
        r.ki = 1 + i % 120;
        racers.push_back(r);
    }
    SeedRacers(folder.folder(), racers);
    Forms::registerForm(QStringLiteral("SensyuForm"), [] { return new SensyuForm; });
    RegisterStandIn(QStringLiteral("MainForm"));

    std::vector<double> open, click, update, add, remove, print;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer timer;
        timer.start();
        auto* form = qobject_cast<SensyuForm*>(Forms::show(QStringLiteral("SensyuForm")));
        open.push_back(msSince(timer));

        auto* list = form->findChild<QListWidget*>(QStringLiteral("List1"));
        form->findChild<QPushButton*>(QStringLiteral("Kenmei_1"))->click();
        if (list->count() != 501)
            return 1;
        timer.restart();
        ClickListLine(list, 250);
        click.push_back(msSince(timer));

        form->findChild<QLineEdit*>(QStringLiteral("Syoritu"))->setText(QString::number(5 + run));
        MsgBoxScript::queue(Mb::Yes);
        timer.restart();
        form->CommandDisp_Click(1);
        update.push_back(msSince(timer));

        MsgBoxScript::queue(Mb::Yes);
        timer.restart();
        form->CommandDisp_Click(4);
        print.push_back(msSince(timer));

        form->findChild<QLineEdit*>(QStringLiteral("Toban"))->setText(QString::number(30000 + run));
        MsgBoxScript::queue(Mb::Yes);
        timer.restart();
        form->CommandDisp_Click(2);
        add.push_back(msSince(timer));

        form->findChild<QPushButton*>(QStringLiteral("Kenmei_2"))->click();
        const int before = list->count();
        list->setCurrentRow(0);
        MsgBoxScript::queue(Mb::Yes);
        timer.restart();
        form->CommandDisp_Click(3);
        remove.push_back(msSince(timer));
        if (list->count() != before - 1)
            return 1;

        Forms::unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    for (const ShownBox& box : MsgBoxScript::shown()) {
        if (box.title == QStringLiteral("エラー")) {
            std::printf("error: %s\n", qPrintable(box.text));
            return 1;
        }
    }
    // What one committed single-row write costs on this disk, for comparison.
    std::vector<double> commit;
    {
        Database db(folder.folder());
        for (int run = 0; run < 7; ++run) {
            QElapsedTimer timer;
            timer.start();
            db.execute(QStringLiteral("UPDATE T_選手 SET 勝率 = 勝率 + 0.01 WHERE 選手ID = 9000"));
            commit.push_back(msSince(timer));
        }
    }
    std::printf("racers: 9999, runs: 7 (median)\n");
    std::printf("open SensyuForm:               %7.1f ms (target < 200 ms)\n", Median(open));
    std::printf("list click fills the edit box: %7.1f ms (target < 10 ms)\n", Median(click));
    std::printf("update one racer:              %7.1f ms (target < 20 ms)\n", Median(update));
    std::printf("add one racer:                 %7.1f ms (target < 20 ms)\n", Median(add));
    std::printf("delete one racer, list again:  %7.1f ms (target < 20 ms)\n", Median(remove));
    std::printf("print 501 lines (9 pages), PDF:%7.1f ms (target < 1000 ms)\n", Median(print));
    std::printf("  one committed row write alone on this disk: %.1f ms\n", Median(commit));
    return 0;
}
