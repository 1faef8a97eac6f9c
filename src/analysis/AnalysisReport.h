#pragma once

#include "ResultsAnalysis.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class CharPrinter;

// The texts of the analysis table, the same on screen, on paper and in the
// CSV file: rates in per cent with one decimal, nothing for a group without
// starts.
QString PercentText(double fraction);
QString RateText(int successes, int trials);
// "12.1～61.6": the 95 % interval of a rate, in per cent.
QString IntervalText(int successes, int trials);
QString AverageText(const Tally& tally);

// The lane columns: the wins the lanes lead one to expect ("12.3"), the
// ratio of the actual wins to them ("1.04") and its 95 % interval
// ("0.87～1.23"); nothing where no start of the row has a known lane.
QString ExpectedText(const LaneFigures& lane);
QString RatioText(const LaneFigures& lane);
QString RatioIntervalText(const LaneFigures& lane);

// The verdict of one test of a rhythm in one plain sentence: by chance, the
// states differ (and which is highest and lowest), or too few starts.
// `topThree` picks the test on the first three, else the one on wins.
QString VerdictSentence(const AnalysisTable& table, int rhythm, bool topThree);
// The whole line under a rhythm's rows: the finish tested, χ², degrees of
// freedom and p value, then the sentence.
QString VerdictLine(const AnalysisTable& table, int rhythm, bool topThree);

// The lines under the table: how many starts were left out, and why.
QStringList LeftOutLines(const AnalysisTable& table);

// The table as CSV for a spreadsheet: UTF-8 (with the byte-order mark by
// which spreadsheets recognise it), a first line with the chosen races
// (`condition`, as the print's heading has them), a header line, one line
// per row, then after an empty line the tests of each rhythm; CR LF line
// ends.
QByteArray AnalysisCsv(const AnalysisTable& table, const QString& condition);

// The table as a printed page: a heading with the chosen races
// (`condition`), the rates with each rhythm's verdict under its rows, the
// lane columns, and the left-out lines.
void BuildAnalysisPrint(CharPrinter& printer, const AnalysisTable& table, const QString& condition);
