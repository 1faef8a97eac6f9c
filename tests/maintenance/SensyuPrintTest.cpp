#include "SensyuPrintTest.h"

#include "CharPrinter.h"
#include "Database.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MaintenanceTests.h"
#include "MsgBox.h"
#include "Recordset.h"
#include "SensyuForm.h"
#include "SensyuPrint.h"
#include "TestSupport.h"

#include <QDir>
#include <QPushButton>
#include <algorithm>

namespace {
std::unique_ptr<TestFolder> g_folder;

// The text placed at a column of a printed line ("" when none starts there).
QString at(const CharPrinter& printer, int page, int line, int column)
{
    if (page >= int(printer.pages().size()) || line >= int(printer.pages()[page].size()))
        return QString();
    for (const CharPrinter::Run& run : printer.pages()[page][line])
        if (run.column == column)
            return run.text;
    return QString();
}

struct Printed {
    std::unique_ptr<CharPrinter> printer;
    int rows = 0;
};

Printed print(const SensyuListKey& key, const QString& query = QStringLiteral("Q_選手"))
{
    Printed out;
    out.printer = std::make_unique<CharPrinter>(g_folder->folder(), QStringLiteral("選手一覧"));
    Database db(g_folder->folder());
    Recordset rs(db, query);
    out.rows = BuildSensyuList(*out.printer, rs, key);
    return out;
}

SensyuListKey keyOf(int kind, int number, const QString& text = QString())
{
    SensyuListKey key;
    key.kind = kind;
    key.kenNo = int16_t(number);
    key.kana = number;
    key.tobanText = text;
    key.kiText = text;
    return key;
}

std::vector<TestRacer> racersOf(int first, int count, int ken)
{
    std::vector<TestRacer> list;
    for (int i = 0; i < count; ++i) {
        TestRacer r{first + i};
        r.ken = ken;
        list.push_back(r);
    }
    return list;
}
}

void SensyuPrintTest::init()
{
    g_folder = std::make_unique<TestFolder>();
    CharPrinter::setForcePdf(true);
}

void SensyuPrintTest::cleanup()
{
    UnloadAllWindows();
    g_folder.reset();
}

void SensyuPrintTest::headingPerSearchKind()
{
    std::vector<TestRacer> racers = racersOf(4000, 3, 12);
    racers[0].yomi = QStringLiteral("ｱｵｷ");
    racers[1].ki = 70;
    racers[2].ken = 13;
    racers.push_back({3900, 64, 12});  // before the first term-70 racer in the query
    SeedRacers(g_folder->folder(), racers);
    SeedExtraction(g_folder->folder(), {4001, 4002});

    struct Case {
        SensyuListKey key;
        QString query;
        QString sub;
        QString title;
        QStringList ids;
    };
    const Case cases[] = {
        {keyOf(0, 12), QStringLiteral("Q_選手"), QStringLiteral("出身地　東京"), QStringLiteral("競艇選手一覧表"),
         {QStringLiteral("3900 "), QStringLiteral("4000 "), QStringLiteral("4001 ")}},
        {keyOf(1, 0, QStringLiteral("4001")), QStringLiteral("Q_選手"), QStringLiteral("登番　4001"),
         QStringLiteral("競艇選手一覧表（登番別）"), {QStringLiteral("4001 ")}},
        {keyOf(2, 0, QStringLiteral("70")), QStringLiteral("Q_選手"), QStringLiteral("期　70"),
         QStringLiteral("競艇選手一覧表（期別）"), {QStringLiteral("4001 ")}},
        {keyOf(3, 0), QStringLiteral("Q_選手"), QStringLiteral("よみがな　ｱ"), QStringLiteral("競艇選手一覧表（よみがな別）"),
         {QStringLiteral("4000 ")}},
        {keyOf(4, 0), QStringLiteral("Q_選手抽出"), QStringLiteral("抽出テーブル一覧"), QStringLiteral("競艇選手一覧表"),
         {QStringLiteral("4001 "), QStringLiteral("4002 ")}},
    };
    for (const Case& c : cases) {
        const Printed p = print(c.key, c.query);
        QCOMPARE(p.rows, int(c.ids.size()));
        QCOMPARE(at(*p.printer, 0, 0, 10), c.sub);
        QCOMPARE(at(*p.printer, 0, 0, 40), c.title);
        QCOMPARE(at(*p.printer, 0, 0, 88), QStringLiteral(" 1 "));
        QVERIFY(p.printer->pages()[0][1].empty());
        QVERIFY(p.printer->pages()[0][3].empty());
        for (int i = 0; i < int(c.ids.size()); ++i)
            QCOMPARE(at(*p.printer, 0, 4 + i, 13), c.ids[i]);
    }

    // The column heads.
    const Printed p = print(keyOf(0, 12));
    const std::pair<int, const char*> heads[12] = {{10, "期"},   {13, "登番"}, {18, "級"},   {21, "出身"},
                                                  {28, "名前"}, {43, "よみがな"}, {58, "生年"}, {63, "生月"},
                                                  {68, "生日"}, {73, "血液"}, {78, "勝率"}, {83, "複勝率"}};
    for (const auto& [column, text] : heads)
        QCOMPARE(at(*p.printer, 0, 2, column), QString::fromUtf8(text));

    // Nothing that matches: nothing printed, whatever the kind.
    for (const SensyuListKey& key : {keyOf(0, 47), keyOf(1, 0, QStringLiteral("9999")), keyOf(2, 0, QStringLiteral("1")),
                                     keyOf(3, 45)}) {
        const Printed none = print(key);
        QCOMPARE(none.rows, 0);
        QVERIFY(none.printer->pages()[0].empty());
    }
    {
        Database db(g_folder->folder());
        db.execute(QStringLiteral("DELETE FROM T_選手抽出"));
    }
    QCOMPARE(print(keyOf(4, 0), QStringLiteral("Q_選手抽出")).rows, 0);
}

void SensyuPrintTest::rowFormats()
{
    TestRacer r{4000, 64, 14};
    r.name = QStringLiteral("あいうえおかきくけこさしすせそたちつてとな");  // 21 characters
    r.yomi = QStringLiteral("ｱｲｳｴｵ");
    r.win = 6.5;
    r.place = 45;
    r.month = 3;
    r.blood = 4;
    TestRacer low{4001, 7, 14};
    low.win = 10.25;
    low.place = 100;
    low.day = 1;
    SeedRacers(g_folder->folder(), {r, low});
    {
        Database db(g_folder->folder());
        db.execute(QStringLiteral("UPDATE T_選手 SET 級 = NULL WHERE 選手ID = 4000"));
    }
    const Printed p = print(keyOf(0, 14));
    const std::pair<int, QString> cells[] = {
        {10, QStringLiteral("64")},  {13, QStringLiteral("4000 ")}, {18, QStringLiteral("  ")},
        {21, QStringLiteral("神奈川   ")}, {28, QStringLiteral("あいうえおかきくけこさしすせそたちつてと")},
        {43, QStringLiteral("ｱｲｳｴｵ")}, {58, QStringLiteral("1970")}, {63, QStringLiteral("3   ")},
        {68, QStringLiteral("12  ")}, {73, QStringLiteral("AB  ")}, {78, QStringLiteral("6.50 ")}, {84, QStringLiteral("45.0 ")}};
    for (const auto& [column, text] : cells)
        QCOMPARE(at(*p.printer, 0, 4, column), text);
    // The reading's run is squeezed too (no trailing blanks); on paper it
    // still fills its fifteen columns up to 生年.
    QCOMPARE(Maintenance::Cells(p.printer->lineText(0, 4), 43, 19), QStringLiteral("ｱｲｳｴｵ").leftJustified(15) + QStringLiteral("1970"));
    QCOMPARE(at(*p.printer, 0, 5, 10), QStringLiteral("7"));  // a squeezed cell keeps no trailing blanks
    QCOMPARE(Maintenance::Cells(p.printer->lineText(0, 5), 10, 5), QStringLiteral("7  40"));
    QCOMPARE(at(*p.printer, 0, 5, 18), QStringLiteral("A1"));
    QCOMPARE(at(*p.printer, 0, 5, 68), QStringLiteral("1   "));
    QCOMPARE(at(*p.printer, 0, 5, 78), QStringLiteral("10.25"));
    QCOMPARE(at(*p.printer, 0, 5, 84), QStringLiteral("100.0"));
}

// Every name of today's handbook has eight characters and terms have three
// digits: each is squeezed so that a blank stays before the reading and
// before the registration number.
void SensyuPrintTest::longTermsAndNamesKeepABlankBeforeTheNextColumn()
{
    TestRacer r{4847, 115, 12};
    r.name = QStringLiteral("山田太郎一二三四");
    r.yomi = QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ");
    SeedRacers(g_folder->folder(), {r});
    const Printed p = print(keyOf(0, 12));
    QCOMPARE(p.rows, 1);
    const CharPrinter::Line& line = p.printer->pages()[0][4];
    auto run = [&line](int column) {
        const auto found = std::find_if(line.begin(), line.end(), [column](const CharPrinter::Run& x) { return x.column == column; });
        return found == line.end() ? CharPrinter::Run{} : *found;
    };
    QCOMPARE(run(10).text, QStringLiteral("115"));
    QCOMPARE(run(10).fitCells, 2);
    QCOMPARE(run(28).text, r.name);
    QCOMPARE(run(28).fitCells, 14);
    const QString paper = p.printer->lineText(0, 4);
    QCOMPARE(Maintenance::Cells(paper, 12, 6), QStringLiteral(" 4847 "));
    QCOMPARE(Maintenance::Cells(paper, 42, 9), QStringLiteral(" ﾔﾏﾀﾞ ﾀﾛｳ"));
}

void SensyuPrintTest::aFullWidthReadingKeepsABlankBeforeTheYear()
{
    // The maintenance window takes a reading as typed: eight hiragana are
    // sixteen columns, two more than the reading has before 生年.
    TestRacer r{4848, 115, 12};
    r.name = QStringLiteral("東京花子五六七八");
    r.yomi = QStringLiteral("とうきょうはなこ");
    r.year = 1992;
    SeedRacers(g_folder->folder(), {r});
    const Printed p = print(keyOf(0, 12));
    QCOMPARE(p.rows, 1);
    const CharPrinter::Line& line = p.printer->pages()[0][4];
    const auto reading = std::find_if(line.begin(), line.end(), [](const CharPrinter::Run& x) { return x.column == 43; });
    QVERIFY(reading != line.end());
    QCOMPARE(reading->text, r.yomi);
    QCOMPARE(reading->fitCells, 14);
    QCOMPARE(Maintenance::Cells(p.printer->lineText(0, 4), 57, 5), QStringLiteral(" 1992"));
}

void SensyuPrintTest::sixtyOneRowsAPage()
{
    SeedRacers(g_folder->folder(), racersOf(1000, 61, 40));
    Printed p = print(keyOf(0, 40));
    QCOMPARE(p.rows, 61);
    QCOMPARE(int(p.printer->pages().size()), 1);
    QCOMPARE(at(*p.printer, 0, 64, 13), QStringLiteral("1060 "));

    SeedRacers(g_folder->folder(), racersOf(1061, 1, 40));
    p = print(keyOf(0, 40));
    QCOMPARE(p.rows, 62);
    QCOMPARE(int(p.printer->pages().size()), 2);
    QCOMPARE(at(*p.printer, 1, 0, 10), QStringLiteral("出身地　福岡"));
    QCOMPARE(at(*p.printer, 1, 0, 88), QStringLiteral(" 2 "));
    QCOMPARE(at(*p.printer, 1, 2, 83), QStringLiteral("複勝率"));
    QCOMPARE(at(*p.printer, 1, 4, 13), QStringLiteral("1061 "));
}

void SensyuPrintTest::printingFromTheWindow()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 3, 12));
    RegisterStandIn(QStringLiteral("MainForm"));
    Forms::registerForm(QStringLiteral("SensyuForm"), [] { return new SensyuForm; });
    auto* form = qobject_cast<SensyuForm*>(Forms::show(QStringLiteral("SensyuForm")));
    auto press = [form](const char* name) {
        QTest::mouseClick(form->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    };
    const QStringList pdf = {QStringLiteral("*.pdf")};

    // Before any search: nothing to print.
    MsgBoxScript::queue(Mb::Yes);
    press("CommandDisp_4");
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("選手テーブル印刷"));
    QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("選手テーブルを印刷しますか。\r\n"));
    QCOMPARE(MsgBoxScript::shown()[0].style, Mb::Confirm);
    QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("該当レコードがありません"));

    press("Kenmei_12");
    MsgBoxScript::shown().clear();
    MsgBoxScript::queue(Mb::No);
    press("CommandDisp_4");
    QVERIFY(QDir(g_folder->folder()).entryList(pdf).isEmpty());
    MsgBoxScript::queue(Mb::Yes);
    press("CommandDisp_4");
    const QStringList written = QDir(g_folder->folder()).entryList(pdf);
    QCOMPARE(written, QStringList{QStringLiteral("選手一覧-県別.pdf")});  // named by the kind of list
    QVERIFY(MsgBoxScript::shown().back().text.contains(g_folder->file(written[0])));

    // A document that cannot be written is a printer problem.
    Global().DataFolder = g_folder->folder() + QStringLiteral("missing/");
    MsgBoxScript::queue(Mb::Yes);
    press("CommandDisp_4");
    Global().DataFolder = g_folder->folder();
    QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("プリンタに問題があります。"));
}
