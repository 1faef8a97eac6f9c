#include "ListPrint.h"

#include "CharPrinter.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "Recordset.h"

namespace {
constexpr int kLinesPerPage = 60;  // the counter passes this after the 61st row
}

int BuildList(CharPrinter& printer, Recordset& rows, const ListLayout& layout)
{
    printer.setForeColor(Qt::black);
    int16_t lineCounter = 0;
    int16_t page = 0;
    int total = 0;
    if (rows.RecordCount() == 0)
        return 0;
    for (rows.MoveFirst(); !rows.eof(); rows.MoveNext()) {
        if (lineCounter == 0) {
            // A page is started only when a row is there to go on it, so a
            // full last page is not followed by an empty one.
            if (page > 0)
                printer.newPage();
            ++page;
            printer.printAt(30, layout.title);
            printer.printNumberAt(60, page, true);
            printer.endLine();
            for (const auto& [column, text] : layout.heads)
                printer.printAt(column, text);
            printer.endLine();
            printer.endLine();
        }
        layout.row(printer, rows);
        ++total;
        if (++lineCounter > kLinesPerPage)
            lineCounter = 0;
    }
    return total;
}

void PrintList(const QString& title, const std::function<int(CharPrinter&)>& build)
{
    try {
        CharPrinter printer(Global().DataFolder, title);
        if (build(printer) == 0) {
            MsgBox(QStringLiteral("該当レコードがありません"));
            return;
        }
        printer.endDoc();
    } catch (const std::exception&) {
        MsgBox(QStringLiteral("プリンタに問題があります。"));
    }
}
