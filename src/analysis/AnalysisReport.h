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

// The lines under the table: how many starts were left out, and why.
QStringList LeftOutLines(const AnalysisTable& table);

// The table as CSV for a spreadsheet: UTF-8 (with the byte-order mark by
// which spreadsheets recognise it), a first line with the chosen races
// (`condition`, as the print's heading has them), a header line, CR LF line
// ends.
QByteArray AnalysisCsv(const AnalysisTable& table, const QString& condition);

// The table as a printed page: a heading with the chosen races
// (`condition`), the column headings, one line per row, and the left-out
// line.
void BuildAnalysisPrint(CharPrinter& printer, const AnalysisTable& table, const QString& condition);
