#pragma once

#include <QString>
#include <functional>

class CharPrinter;
class Recordset;

// Writes the stored race at the current row of the history query into a
// document: heading, column heads, one line a seat up to the first seat
// without an affiliation. `branchName` turns an affiliation id into its name.
// Returns the number of seat lines (0: nothing to print).
int BuildHistoryPrint(CharPrinter& printer, const Recordset& race, const std::function<QString(int)>& branchName);
