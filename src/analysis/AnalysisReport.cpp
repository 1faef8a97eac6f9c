#include "AnalysisReport.h"

#include "Basic.h"
#include "CharPrinter.h"


using Basic::CStr;
using Basic::Format;

QString PercentText(double fraction) { return Format(fraction * 100.0, QStringLiteral("##0.0")); }

QString RateText(int successes, int trials) { return trials > 0 ? PercentText(double(successes) / trials) : QString(); }

QString IntervalText(int successes, int trials)
{
    if (trials <= 0)
        return QString();
    const Interval i = Wilson(successes, trials);
    return PercentText(i.low) + QStringLiteral("～") + PercentText(i.high);
}

QString AverageText(const Tally& tally)
{
    return tally.placed() > 0 ? Format(tally.averagePosition(), QStringLiteral("0.00")) : QString();
}

QString ExpectedText(const LaneFigures& lane)
{
    return lane.available() ? Format(lane.expected, QStringLiteral("#,##0.0")) : QString();
}

QString RatioText(const LaneFigures& lane) { return lane.available() ? Format(lane.ratio(), QStringLiteral("0.00")) : QString(); }

QString RatioIntervalText(const LaneFigures& lane)
{
    if (!lane.available())
        return QString();
    const Interval i = lane.interval();
    return Format(i.low, QStringLiteral("0.00")) + QStringLiteral("～") + Format(i.high, QStringLiteral("0.00"));
}

namespace {
const ChiSquareTest& testOf(const AnalysisTable& table, int rhythm, bool topThree)
{
    const RhythmVerdict& v = table.verdicts[size_t(rhythm)];
    return topThree ? v.topThree : v.win;
}

QString pText(double p) { return p < 0.001 ? QStringLiteral("p<0.001") : QStringLiteral("p=") + Format(p, QStringLiteral("0.000")); }
}

QString VerdictSentence(const AnalysisTable& table, int rhythm, bool topThree)
{
    const ChiSquareTest& test = testOf(table, rhythm, topThree);
    if (test.tooFew)
        return QStringLiteral("出走が少なく判断できません（期待数が 5 に満たない状態があります）");
    if (test.p >= 0.05)
        return QStringLiteral("偶然の範囲です");
    // The states with the highest and the lowest rate of the finish tested.
    int high = -1, low = -1;
    double highRate = 0, lowRate = 0;
    for (int s = 0; s < StateCount; ++s) {
        const Tally& t = table.rows[size_t(AnalysisTable::rowOf(rhythm, RhythmState(s)))].tally;
        const double rate = double(topThree ? t.topThree : t.first) / t.starts;
        if (high < 0 || rate > highRate)
            high = s, highRate = rate;
        if (low < 0 || rate < lowRate)
            low = s, lowRate = rate;
    }
    return QStringLiteral("状態で差があります（高い：%1 %2%、低い：%3 %4%）")
        .arg(StateName(RhythmState(high)), PercentText(highRate), StateName(RhythmState(low)), PercentText(lowRate));
}

QString VerdictLine(const AnalysisTable& table, int rhythm, bool topThree)
{
    const ChiSquareTest& test = testOf(table, rhythm, topThree);
    QString line = RhythmName(rhythm) + (topThree ? QStringLiteral("・3連対の検定：") : QStringLiteral("・1着の検定："));
    if (!test.tooFew)
        line += QStringLiteral("χ²=%1 自由度%2 %3　").arg(Format(test.chiSquare, QStringLiteral("0.00")), CStr(test.df), pText(test.p));
    return line + VerdictSentence(table, rhythm, topThree);
}

QStringList LeftOutLines(const AnalysisTable& table)
{
    QStringList lines = {QStringLiteral("順位が入っていない %1 出走は集計に含めていません。").arg(table.withoutPosition)};
    if (table.unknownRacer > 0)
        lines << QStringLiteral("生年月日の分からない選手（選手テーブルにない選手）の %1 出走も除いています。").arg(table.unknownRacer);
    if (table.emptyBoats > 0)
        lines << QStringLiteral("空き艇 %1 艇は数えていません。").arg(table.emptyBoats);
    if (table.unplaced > 0)
        lines << QStringLiteral("着外（F・L・K・S など）の %1 出走は、着に入らなかった出走として数えています（「着外」の列）。")
                     .arg(table.unplaced);
    if (table.laneUnknown > 0)
        lines << (table.laneChosen
                      ? QStringLiteral("艇番のわからないレース（レース表から登録）の %1 出走は、艇番で絞れないため除いています。")
                      : QStringLiteral("艇番の列はレース表から登録した %1 出走を含めません（席の順が艇番と限らないため）。"))
                     .arg(table.laneUnknown);
    return lines;
}

namespace {
QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString boundText(int successes, int trials, bool high)
{
    if (trials <= 0)
        return QString();
    const Interval i = Wilson(successes, trials);
    return PercentText(high ? i.high : i.low);
}
}

QByteArray AnalysisCsv(const AnalysisTable& table, const QString& condition)
{
    QStringList lines;
    lines << csvField(QStringLiteral("成績分析　") + condition);
    lines << QStringLiteral("区分,状態,出走数,1着数,1着率(%),1着率下限(%),1着率上限(%),"
                            "2連対数,2連対率(%),2連対率下限(%),2連対率上限(%),"
                            "3連対数,3連対率(%),3連対率下限(%),3連対率上限(%),平均着順,着外数,"
                            "艇番のわかる出走数,その1着数,艇番からの期待1着数,実際/期待,実際/期待下限,実際/期待上限");
    for (const AnalysisRow& row : table.rows) {
        const Tally& t = row.tally;
        QStringList fields = {csvField(row.group), csvField(row.state), CStr(t.starts)};
        for (int k : {t.first, t.topTwo, t.topThree})
            fields << CStr(k) << RateText(k, t.starts) << boundText(k, t.starts, false) << boundText(k, t.starts, true);
        fields << AverageText(t) << CStr(t.unplaced);
        const LaneFigures& lane = row.lane;
        fields << CStr(lane.starts) << CStr(lane.wins);
        if (lane.available()) {
            const Interval i = lane.interval();
            fields << Format(lane.expected, QStringLiteral("0.00")) << RatioText(lane) << Format(i.low, QStringLiteral("0.00"))
                   << Format(i.high, QStringLiteral("0.00"));
        } else {
            fields << QString() << QString() << QString() << QString();
        }
        lines << fields.join(QLatin1Char(','));
    }
    lines << QString() << QStringLiteral("区分,検定,カイ二乗,自由度,p値,判定");
    for (int r = 0; r < 3; ++r)
        for (bool topThree : {false, true}) {
            const ChiSquareTest& test = topThree ? table.verdicts[size_t(r)].topThree : table.verdicts[size_t(r)].win;
            QStringList fields = {RhythmName(r), topThree ? QStringLiteral("3連対") : QStringLiteral("1着")};
            if (test.tooFew)
                fields << QString() << QString() << QString();
            else
                fields << Format(test.chiSquare, QStringLiteral("0.00")) << CStr(test.df) << Format(test.p, QStringLiteral("0.0000"));
            fields << csvField(VerdictSentence(table, r, topThree));
            lines << fields.join(QLatin1Char(','));
        }
    return QByteArray("\xEF\xBB\xBF") + lines.join(QStringLiteral("\r\n")).toUtf8() + QByteArray("\r\n");
}

void BuildAnalysisPrint(CharPrinter& printer, const AnalysisTable& table, const QString& condition)
{
    // Columns of the page: each rate block holds the rate right-aligned in
    // five columns and its interval in brackets after it.
    constexpr int Group = 0, State = 15, StartsEnd = 28, Blocks[3] = {29, 47, 65}, AverageEnd = 88, Verdict = 2;
    constexpr int PageWidth = 91;  // columns of an A4 page
    // The lane table: ends of its right-aligned columns.
    constexpr int UnplacedEnd = 28, LaneStartsEnd = 40, LaneWinsEnd = 48, ExpectedEnd = 58, RatioEnd = 66, RatioInterval = 67;
    auto rightAt = [&printer](int end, const QString& text) { printer.printAt(end - CharPrinter::cells(text), text); };

    printer.setForeColor(Qt::black);
    printer.printAt(Group, QStringLiteral("成績分析　") + condition, true);
    printer.endLine();
    printer.printAt(Group, QStringLiteral("区分"));
    printer.printAt(State, QStringLiteral("状態"));
    rightAt(StartsEnd, QStringLiteral("出走"));
    printer.printAt(Blocks[0], QStringLiteral("1着率(95%区間)"));
    printer.printAt(Blocks[1], QStringLiteral("2連対率(95%区間)"));
    printer.printAt(Blocks[2], QStringLiteral("3連対率(95%区間)"));
    rightAt(AverageEnd, QStringLiteral("平均"));
    printer.endLine();
    printer.endLine();
    for (int r = 0; r < AnalysisTable::RowCount; ++r) {
        const AnalysisRow& row = table.rows[size_t(r)];
        const Tally& t = row.tally;
        printer.printAt(Group, row.group);
        if (!row.state.isEmpty())
            printer.printAt(State, row.state);
        rightAt(StartsEnd, CStr(t.starts));
        if (t.starts > 0) {
            const int counts[3] = {t.first, t.topTwo, t.topThree};
            for (int b = 0; b < 3; ++b) {
                const Interval i = Wilson(counts[b], t.starts);
                rightAt(Blocks[b] + 5, RateText(counts[b], t.starts));
                printer.print(QStringLiteral("(") + PercentText(i.low) + QStringLiteral("-") + PercentText(i.high) +
                              QStringLiteral(")"));
            }
            rightAt(AverageEnd, AverageText(t));
        }
        printer.endLine();
        // Under a rhythm's five rows, its two tests.
        for (int rhythm = 0; rhythm < 3; ++rhythm)
            if (r == AnalysisTable::rowOf(rhythm, RhythmState::Poor))
                for (bool topThree : {false, true}) {
                    printer.printFitAt(Verdict, VerdictLine(table, rhythm, topThree), PageWidth - Verdict);
                    printer.endLine();
                }
    }
    printer.endLine();

    printer.printAt(Group, QStringLiteral("艇番を考慮した1着（期待は、同じ出走の艇番ごとの1着率から）"), true);
    printer.printAt(Group, QStringLiteral("区分"));
    printer.printAt(State, QStringLiteral("状態"));
    rightAt(UnplacedEnd, QStringLiteral("着外"));
    rightAt(LaneStartsEnd, QStringLiteral("艇番あり"));
    rightAt(LaneWinsEnd, QStringLiteral("1着"));
    rightAt(ExpectedEnd, QStringLiteral("期待"));
    rightAt(RatioEnd, QStringLiteral("比"));
    printer.printAt(RatioInterval, QStringLiteral("(95%区間)"), true);
    for (const AnalysisRow& row : table.rows) {
        printer.printAt(Group, row.group);
        if (!row.state.isEmpty())
            printer.printAt(State, row.state);
        rightAt(UnplacedEnd, CStr(row.tally.unplaced));
        rightAt(LaneStartsEnd, CStr(row.lane.starts));
        rightAt(LaneWinsEnd, CStr(row.lane.wins));
        if (row.lane.available()) {
            const Interval i = row.lane.interval();
            rightAt(ExpectedEnd, ExpectedText(row.lane));
            rightAt(RatioEnd, RatioText(row.lane));
            printer.printAt(RatioInterval, QStringLiteral("(") + Format(i.low, QStringLiteral("0.00")) + QStringLiteral("-") +
                                               Format(i.high, QStringLiteral("0.00")) + QStringLiteral(")"));
        }
        printer.endLine();
    }
    printer.endLine();
    for (const QString& line : LeftOutLines(table)) {
        printer.printFitAt(Group, line, PageWidth);
        printer.endLine();
    }
    printer.printAt(Group, QStringLiteral("率は %、括弧内は 95% 信頼区間（Wilson）。"), true);
    printer.printAt(Group, QStringLiteral("比＝実際の1着数／艇番からの期待1着数。1.00 なら状態は艇番以上のものを加えていません。"), true);
}
