#pragma once

#include <QString>
#include <functional>

class CharPrinter;
class Recordset;

// Whether boat n (1-6) of the stored race at the current row of the history
// query has no racer: none was stored for it, or the one stored is found
// neither in the racer table nor among the race's copies.
bool IsEmptyBoat(const Recordset& race, int n);

// Writes the stored race at the current row of the history query into a
// document: heading, column heads, one line a boat with a racer, empty boats
// left out wherever they stand. `branchName` turns an affiliation id into its
// name. Returns the number of boat lines (0: nothing to print).
int BuildHistoryPrint(CharPrinter& printer, const Recordset& race, const std::function<QString(int)>& branchName);
