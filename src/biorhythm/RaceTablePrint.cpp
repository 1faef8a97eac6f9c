#include "RaceTablePrint.h"

#include "Basic.h"
#include "CharPrinter.h"
#include "GlobalModule.h"
#include "RaceHeadings.h"
#include "Rhythm.h"

#include <QLabel>

namespace {
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
}

void ShowScore(QLabel* label, double score)
{
    label->setText(Basic::Format(score, QStringLiteral("##,##0.00")));
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Rhythm::IsCritical(score) ? kRed : QColor(255, 255, 255));
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

void PrintScore(CharPrinter& printer, int column, double score, bool endLine)
{
    printer.setForeColor(Rhythm::IsCriticalOnPaper(score) ? kRed : kBlack);
    printer.printAt(column, Basic::Format(score, QStringLiteral("##,##0.00")), endLine);
    printer.setForeColor(kBlack);
}

int BuildRaceTablePrint(CharPrinter& printer)
{
    const GlobalModule& g = Global();
    printer.setForeColor(kBlack);
    const QString heading = SurveyDateHeading() + QStringLiteral("  ") + RaceHeading() + QStringLiteral("    バイオリズム表示");
    struct Head {
        int x;
        const char* text;
    };
    const Head heads[13] = {{10, "No."},  {13, "出身"}, {20, "登番"}, {25, "名前"},   {40, "生年"},
                            {45, "生月"}, {50, "生日"}, {55, "血液"}, {60, "勝率"},   {65, "複勝率"},
                            {72, "身体"}, {79, "感情"}, {86, "知性"}};
    // Every boat with a racer, numbered by its boat; a boat without one (a
    // race set up from its program) is left out.
    int printed = 0;
    for (int i = 0; i < 6; ++i) {
        if (g.SelShozokuMei[size_t(i)].isEmpty())
            continue;
        if (printed++ == 0) {
            printer.printAt(10, heading + QStringLiteral("\r\n"), true);
            for (int h = 0; h < 12; ++h)
                printer.printAt(heads[h].x, QString::fromUtf8(heads[h].text));
            printer.printAt(heads[12].x, QString::fromUtf8(heads[12].text) + QStringLiteral("\r\n"), true);
        }
        const size_t k = size_t(i);
        const Rhythm::Scores s =
            Rhythm::TableScores(Rhythm::ElapsedDays(g.ChosaNen, g.ChosaTuki, g.ChosaHi, g.SelSeiNen[k], g.SelSeiTuki[k], g.SelSeiHi[k]));
        printer.printNumberAt(10, i + 1);
        printer.printAt(13, g.SelShozokuMei[k]);
        printer.printNumberAt(19, g.SelSensyuID[k]);
        // A long name is squeezed so that it never touches the birth year.
        printer.printFitAt(25, g.SelNamae[k], 15);
        printer.printNumberAt(40, g.SelSeiNen[k]);
        printer.printNumberAt(46, g.SelSeiTuki[k]);
        printer.printNumberAt(50, g.SelSeiHi[k]);
        printer.printAt(55, g.SelBladType[k]);
        printer.printNumberAt(60, g.SelSyoritu[k] / 100.0);
        printer.printNumberAt(66, g.SelFukuritu[k] / 10.0);
        PrintScore(printer, 72, Rhythm::CutToHundredths(s.body), false);
        PrintScore(printer, 79, Rhythm::CutToHundredths(s.emotion), false);
        PrintScore(printer, 86, s.intellect, true);
    }
    return printed;
}
