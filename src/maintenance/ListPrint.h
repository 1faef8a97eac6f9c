#pragma once

#include <QString>
#include <functional>
#include <utility>
#include <vector>

class CharPrinter;
class Recordset;

// The printed lists of the maintenance windows. Every page starts with the
// title at column 30 and the page number at column 60, an empty line, the
// column heads and another empty line; 61 rows fill a page.
struct ListLayout {
    QString title;
    std::vector<std::pair<int, QString>> heads;            // column, text
    std::function<void(CharPrinter&, const Recordset&)> row;  // prints one row's line, ending it
};

// Writes every row of `rows`, from the first, into the document. Returns the
// number of rows written (0: the document holds nothing).
int BuildList(CharPrinter& printer, Recordset& rows, const ListLayout& layout);

// Builds a list with `build` and sends it to the printer (a PDF in the
// program folder where there is none). An empty list is told with
// "該当レコードがありません" and nothing is printed; any failure on the way
// is told with "プリンタに問題があります。".
void PrintList(const QString& title, const std::function<int(CharPrinter&)>& build);
