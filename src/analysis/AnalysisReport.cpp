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
    return tally.starts > 0 ? Format(tally.averagePosition(), QStringLiteral("0.00")) : QString();
}

QStringList LeftOutLines(const AnalysisTable& table)
{
    QStringList lines = {QStringLiteral("順位が入っていない %1 出走は集計に含めていません。").arg(table.withoutPosition)};
    if (table.unknownRacer > 0)
        lines << QStringLiteral("選手テーブルにも保存時の選手データにもない選手の %1 出走も除いています。").arg(table.unknownRacer);
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
                            "3連対数,3連対率(%),3連対率下限(%),3連対率上限(%),平均着順");
    for (const AnalysisRow& row : table.rows) {
        const Tally& t = row.tally;
        QStringList fields = {csvField(row.group), csvField(row.state), CStr(t.starts)};
        for (int k : {t.first, t.topTwo, t.topThree})
            fields << CStr(k) << RateText(k, t.starts) << boundText(k, t.starts, false) << boundText(k, t.starts, true);
        fields << AverageText(t);
        lines << fields.join(QLatin1Char(','));
    }
    return QByteArray("\xEF\xBB\xBF") + lines.join(QStringLiteral("\r\n")).toUtf8() + QByteArray("\r\n");
}

void BuildAnalysisPrint(CharPrinter& printer, const AnalysisTable& table, const QString& condition)
{
    // Columns of the page: each rate block holds the rate right-aligned in
    // five columns and its interval in brackets after it.
    constexpr int Group = 0, State = 15, StartsEnd = 28, Blocks[3] = {29, 47, 65}, AverageEnd = 88;
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
    for (const AnalysisRow& row : table.rows) {
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
    }
    printer.endLine();
    for (const QString& line : LeftOutLines(table))
        printer.printAt(Group, line, true);
    printer.printAt(Group, QStringLiteral("率は %、括弧内は 95% 信頼区間（Wilson）。"), true);
}
