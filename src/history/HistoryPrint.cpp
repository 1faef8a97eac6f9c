#include "HistoryPrint.h"

#include "Basic.h"
#include "CharPrinter.h"
#include "RaceTablePrint.h"
#include "Recordset.h"
#include "Rhythm.h"

using Basic::CInt;
using Basic::CStr;

bool IsEmptyBoat(const Recordset& race, int n)
{
    const QString digit = CStr(n);
    return CInt(race.field(QStringLiteral("選手") + digit).toDouble()) == 0 ||
           CInt(race.field(QStringLiteral("期") + digit).toDouble()) == 0;
}

int BuildHistoryPrint(CharPrinter& printer, const Recordset& race, const std::function<QString(int)>& branchName)
{
    auto number = [&race](const QString& name) { return race.field(name).toDouble(); };
    auto seat = [](const char* word, int n) { return QString::fromUtf8(word) + CStr(n); };
    const int16_t year = CInt(number(QStringLiteral("調査年")));
    const int16_t month = CInt(number(QStringLiteral("調査月")));
    const int16_t day = CInt(number(QStringLiteral("調査日")));
    const QString heading = QStringLiteral("調査日：") + CStr(year) + QStringLiteral(".") + CStr(month) + QStringLiteral(".") +
                            CStr(day) + QStringLiteral("  ") + race.field(QStringLiteral("競艇場名")).toString() +
                            QStringLiteral("競艇  第") + CStr(CInt(number(QStringLiteral("レースNO")))) +
                            QStringLiteral("レース    バイオリズム表示");
    printer.setForeColor(Qt::black);
    int printed = 0;
    for (int n = 1; n <= 6; ++n) {
        // An empty boat may stand anywhere (a race program's missing boat):
        // it is left out and the boats after it are printed.
        if (IsEmptyBoat(race, n))
            continue;
        const int16_t branch = CInt(number(seat("所属ID", n)));
        if (printed == 0) {
            printer.printAt(10, heading, true);
            printer.endLine();
            const std::pair<int, const char*> heads[13] = {{10, "No."},  {13, "出身"}, {20, "登番"}, {25, "名前"},
                                                          {39, "生年"}, {44, "生月"}, {49, "生日"}, {54, "勝率"},
                                                          {59, "複勝率"}, {66, "身体"}, {73, "感情"}, {80, "知性"},
                                                          {86, "順位"}};
            for (const auto& [column, text] : heads) {
                printer.printAt(column, QString::fromUtf8(text));
            }
            printer.endLine();
            printer.endLine();
        }
        const int16_t birthYear = CInt(number(seat("生年", n)));
        const int16_t birthMonth = CInt(number(seat("生月", n)));
        const int16_t birthDay = CInt(number(seat("生日", n)));
        const Rhythm::Scores s = Rhythm::TableScores(Rhythm::ElapsedDays(year, month, day, birthYear, birthMonth, birthDay));

        printer.printNumberAt(10, n);
        printer.printAt(13, branchName(branch));
        printer.printNumberAt(19, number(seat("選手", n)));
        // The name ends before the birth year's blank: an eight-character
        // name is squeezed, never run into the year.
        printer.printFitAt(25, race.field(seat("名前", n)).toString(), 40 - 25);
        printer.printNumberAt(40, birthYear);
        printer.printNumberAt(46, birthMonth);
        printer.printNumberAt(49, birthDay);
        printer.printNumberAt(53, number(seat("勝率", n)));
        printer.printNumberAt(59, number(seat("複勝率", n)));
        printer.printNumberAt(86, number(seat("結果", n)));
        PrintScore(printer, 66, Rhythm::CutToHundredths(s.body), false);
        PrintScore(printer, 73, Rhythm::CutToHundredths(s.emotion), false);
        PrintScore(printer, 80, s.intellect, true);
        ++printed;
    }
    return printed;
}
