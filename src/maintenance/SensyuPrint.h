#pragma once

#include <QString>
#include <cstdint>

class CharPrinter;
class Recordset;

// The last search of the racer maintenance window, which chooses what its
// racer list prints.
struct SensyuListKey {
    int kind = 0;          // 0 prefecture, 1 registration number, 2 term, 3 kana, 4 list-all
    int16_t kenNo = 0;     // the prefecture searched
    int kana = 0;          // the kana searched
    QString tobanText;     // the registration-number and term drop-downs as they read
    QString kiText;
};

// Writes the racer list of the last search into a document: from the first
// matching row of the racer query to its end, every row that matches, 61 rows
// a page, each page with its heading and column heads. Returns the number of
// rows written (0: nothing to print).
int BuildSensyuList(CharPrinter& printer, Recordset& query, const SensyuListKey& key);
