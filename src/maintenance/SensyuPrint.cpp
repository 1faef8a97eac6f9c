#include "SensyuPrint.h"

#include "Basic.h"
#include "CharPrinter.h"
#include "Recordset.h"

#include <functional>

using Basic::CInt;
using Basic::Fixed;
using Basic::Format;
using Basic::NumberText;
using Basic::Val;

namespace {
constexpr int kRowsPerPage = 61;

struct Heading {
    QString sub;
    QString title;
};

// A stored value as text; an empty value prints as nothing.
QString textOf(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return QString();
    const int type = value.typeId();
    if (type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int)
        return NumberText(value.toDouble());
    return value.toString();
}

QString formatted(const QVariant& value, const char* pattern)
{
    if (value.isNull() || !value.isValid())
        return QString();
    return Format(Val(textOf(value)), QString::fromLatin1(pattern));
}

void printHead(CharPrinter& printer, const Heading& heading, int page)
{
    printer.printAt(10, heading.sub);
    printer.printAt(40, heading.title);
    printer.printNumberAt(88, page, true);
    printer.endLine();
    const std::pair<int, const char*> heads[12] = {{10, "期"},   {13, "登番"}, {18, "級"},   {21, "出身"},
                                                  {28, "名前"}, {43, "よみがな"}, {58, "生年"}, {63, "生月"},
                                                  {68, "生日"}, {73, "血液"}, {78, "勝率"}, {83, "複勝率"}};
    for (const auto& [column, text] : heads)
        printer.printAt(column, QString::fromUtf8(text));
    printer.endLine();
    printer.endLine();
}
}

int BuildSensyuList(CharPrinter& printer, Recordset& query, const SensyuListKey& key)
{
    printer.setForeColor(Qt::black);
    auto field = [&query](const char* name) { return query.field(QString::fromUtf8(name)); };

    // Where the list starts, its heading and which rows it takes.
    QString column;
    qint64 wanted = 0;
    Heading heading;
    switch (key.kind) {
    case 0:
        column = QStringLiteral("所属ID");
        wanted = key.kenNo;
        break;
    case 1:
        column = QStringLiteral("登番");
        wanted = CInt(Val(key.tobanText));
        break;
    case 2:
        column = QStringLiteral("期");
        wanted = CInt(Val(key.kiText));
        break;
    case 3:
        column = QStringLiteral("よみがなID");
        wanted = key.kana;
        break;
    default:
        break;
    }
    if (column.isEmpty()) {
        if (query.RecordCount() == 0)
            return 0;
        query.MoveFirst();
        heading = {QStringLiteral("抽出テーブル一覧"), QStringLiteral("競艇選手一覧表")};
    } else {
        query.FindFirst(column, wanted);
        if (query.NoMatch())
            return 0;
        switch (key.kind) {
        case 0:
            heading = {QStringLiteral("出身地　") + Basic::Trim(textOf(field("所属名"))), QStringLiteral("競艇選手一覧表")};
            break;
        case 1:
            heading = {QStringLiteral("登番　") + textOf(field("登番")), QStringLiteral("競艇選手一覧表（登番別）")};
            break;
        case 2:
            heading = {QStringLiteral("期　") + textOf(field("期")), QStringLiteral("競艇選手一覧表（期別）")};
            break;
        default:
            heading = {QStringLiteral("よみがな　") + textOf(field("よみがな１桁")), QStringLiteral("競艇選手一覧表（よみがな別）")};
            break;
        }
    }
    const int filter = column.isEmpty() ? -1 : query.fieldIndex(column);

    struct Cell {
        int column;
        const char* field;
        int width;
        const char* format;
        int fitCells = 0;  // > 0: squeezed into this many columns
    };
    static const Cell cells[12] = {
        {10, "期", 5, nullptr, 13 - 10 - 1}, {13, "選手ID", 5, nullptr},  {18, "級", 2, nullptr},
        {21, "所属名", 6, nullptr},          {28, "名前", 20, nullptr, 43 - 28 - 1}, {43, "よみがな", 20, nullptr, 58 - 43 - 1},
        {58, "生年", 4, nullptr},            {63, "生月", 4, "##0"},      {68, "生日", 4, "##0"},
        {73, "血液型名", 4, nullptr},         {78, "勝率", 5, "##0.00"},  {84, "複勝率", 5, "##0.0"}};
    int index[12];
    for (int i = 0; i < 12; ++i)
        index[i] = query.fieldIndex(QString::fromUtf8(cells[i].field));

    int line = 0;
    int total = 0;
    int16_t page = 0;
    for (; !query.eof(); query.MoveNext()) {
        if (filter >= 0) {
            const QVariant value = query.field(filter);
            if (value.isNull() || value.toDouble() != double(wanted))
                continue;
        }
        if (line == 0) {
            // The next page begins only when it has a row to hold, so a list
            // that fills its last page exactly leaves no empty page behind.
            if (page > 0)
                printer.newPage();
            ++page;
            printHead(printer, heading, page);
        }
        for (int i = 0; i < 12; ++i) {
            const QVariant value = query.field(index[i]);
            QString text = cells[i].format ? formatted(value, cells[i].format) : textOf(value);
            if (i == 3)
                text = Basic::Trim(text);
            text = Fixed(text, cells[i].width);
            // What would run into the next column (a term of three digits,
            // a name of eight characters, a reading typed in full-width
            // kana) is squeezed to leave a blank before it.
            if (cells[i].fitCells > 0)
                printer.printFitAt(cells[i].column, text, cells[i].fitCells);
            else
                printer.printAt(cells[i].column, text, i == 11);
        }
        ++total;
        if (++line >= kRowsPerPage)
            line = 0;
    }
    return total;
}
