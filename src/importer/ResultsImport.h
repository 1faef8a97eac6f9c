#pragma once

#include <QString>

class QWidget;

// "成績読込" of the race history: the user picks a day's results file; the
// stored races of that day get their finishing positions after one
// confirmation that tells what will be filled and whether positions already
// entered would change. Returns true when the history table was written.
bool ReadResultsFile(QWidget* owner);
// The same for a results file already at hand.
bool ReadResultsFrom(QWidget* owner, const QString& path);
