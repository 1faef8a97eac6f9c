#pragma once

class CharPrinter;
class QLabel;

// A score as the windows show it: "##,##0.00" on red when -1 <= score <= 1,
// else on white.
void ShowScore(QLabel* label, double score);

// A score as the prints show it, at a column: red when -1 < score < 1, else
// black; the colour goes back to black after it.
void PrintScore(CharPrinter& printer, int column, double score, bool endLine);

// Writes the race table of the shared race variables into a document:
// heading, column heads, one line a racer with the three scores, critical
// ones in red. Returns the number of racer lines (0: nothing to print).
int BuildRaceTablePrint(CharPrinter& printer);
