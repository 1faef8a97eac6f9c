#pragma once

class CharPrinter;

// Writes the race table of the shared race variables into a document:
// heading, column heads, one line a racer with the three scores, critical
// ones in red. Returns the number of racer lines (0: nothing to print).
int BuildRaceTablePrint(CharPrinter& printer);
