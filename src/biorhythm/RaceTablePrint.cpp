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
    printer.setCurrentX(column);
    printer.setForeColor(Rhythm::IsCriticalOnPaper(score) ? kRed : kBlack);
    printer.print(Basic::Format(score, QStringLiteral("##,##0.00")), endLine);
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
    int i = 0;
    for (; i < 6 && !g.SelShozokuMei[size_t(i)].isEmpty(); ++i) {
        if (i == 0) {
            printer.setCurrentX(10);
            printer.print(heading + QStringLiteral("\r\n"), true);
            for (int h = 0; h < 13; ++h) {
                printer.setCurrentX(heads[h].x);
                if (h < 12)
                    printer.print(QString::fromUtf8(heads[h].text));
                else
                    printer.print(QString::fromUtf8(heads[h].text) + QStringLiteral("\r\n"), true);
            }
        }
        const int32_t d = Rhythm::ElapsedDays(g.ChosaNen, g.ChosaTuki, g.ChosaHi, g.SelSeiNen[size_t(i)],
                                              g.SelSeiTuki[size_t(i)], g.SelSeiHi[size_t(i)]);
        const Rhythm::Scores s = Rhythm::TableScores(d);
        const size_t k = size_t(i);
        printer.setCurrentX(10);
        printer.printNumber(i + 1);
        printer.setCurrentX(13);
        printer.print(g.SelShozokuMei[k]);
        printer.setCurrentX(19);
        printer.printNumber(g.SelSensyuID[k]);
        printer.setCurrentX(25);
        printer.print(g.SelNamae[k]);
        printer.setCurrentX(40);
        printer.printNumber(g.SelSeiNen[k]);
        printer.setCurrentX(46);
        printer.printNumber(g.SelSeiTuki[k]);
        printer.setCurrentX(50);
        printer.printNumber(g.SelSeiHi[k]);
        printer.setCurrentX(55);
        printer.print(g.SelBladType[k]);
        printer.setCurrentX(60);
        printer.printNumber(g.SelSyoritu[k] / 100.0);
        printer.setCurrentX(66);
        printer.printNumber(g.SelFukuritu[k] / 10.0);
        PrintScore(printer, 72, Rhythm::CutToHundredths(s.body), false);
        PrintScore(printer, 79, Rhythm::CutToHundredths(s.emotion), false);
        PrintScore(printer, 86, s.intellect, true);
    }
    return i;
}
