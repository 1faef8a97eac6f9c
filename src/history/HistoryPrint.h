#pragma once

#include <QString>
#include <QVariant>
#include <functional>

class CharPrinter;
class Recordset;

// The position a finish code of the results gives: 1..6 for "01".."06", 0
// for every other code (F, L0, K1, S0 ...).
int CodePosition(const QString& code);
// A stored seat's place as the history shows it: the finish code where the
// boat finished in no place and a code is kept, else the position.
QString PositionText(const QVariant& position, const QVariant& code);

// Whether boat n (1-6) of the stored race at the current row of the history
// query has no racer: none was stored for it, or the one stored is found
// neither in the racer table nor among the race's copies.
bool IsEmptyBoat(const Recordset& race, int n);

// Writes the stored race at the current row of the history query into a
// document: heading, column heads, one line a boat with a racer, empty boats
// left out wherever they stand; a racer whose birth date is not known gets no
// birth date and no rhythm values. `branchName` turns an affiliation id into
// its name. Returns the number of boat lines (0: nothing to print).
int BuildHistoryPrint(CharPrinter& printer, const Recordset& race, const std::function<QString(int)>& branchName);
