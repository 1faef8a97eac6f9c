#include "Basic.h"
#include "Bior2Form.h"
#include "BiorForm.h"
#include "BiorhythmTests.h"
#include "CharPrinter.h"
#include "Database.h"
#include "DispForm.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "RaceTablePrint.h"
#include "Recordset.h"
#include "Rhythm.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScopeGuard>
#include <utility>

namespace {
std::unique_ptr<TestFolder> g_folder;
const QDate kSurvey(1999, 8, 23);

// Puts a racer into a race slot as the search window does.
void setSlot(int slot, int id, const QString& name, QDate birth, const QString& ken = QStringLiteral("東京"))
{
    GlobalModule& g = Global();
    const size_t s = size_t(slot);
    g.SelShozokuMei[s] = Basic::Fixed(ken, 6);
    g.SelSensyuID[s] = int16_t(id);
    g.SelNamae[s] = Basic::Fixed(name, 22);
    g.SelKi[s] = 64;
    g.SelSeiNen[s] = int16_t(birth.year());
    g.SelSeiTuki[s] = int16_t(birth.month());
    g.SelSeiHi[s] = int16_t(birth.day());
    g.SelBladType[s] = QStringLiteral("A");
    g.SelSyoritu[s] = 652;
    g.SelFukuritu[s] = 453;
}

void setSurvey(QDate date)
{
    Global().ChosaNen = int16_t(date.year());
    Global().ChosaTuki = int16_t(date.month());
    Global().ChosaHi = int16_t(date.day());
}

// A racer whose elapsed days on the survey date are `days`.
QDate bornDaysBefore(int days) { return kSurvey.addDays(-days); }

template <typename T>
T* form(const char* name)
{
    return qobject_cast<T*>(Forms::find(QString::fromLatin1(name)));
}

QLabel* cell(QWidget* window, const char* name, int row)
{
    return window->findChild<QLabel*>(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(row));
}

bool isRed(QLabel* label) { return label->palette().color(QPalette::Window) == QColor(255, 0, 0); }

void trigger(QWidget* window, const QString& action)
{
    QAction* found = window->findChild<QAction*>(action);
    QVERIFY2(found, qPrintable(action));
    found->trigger();
}

void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The text of `count` columns of a printed line, from `column` on.
QString columns(const CharPrinter& printer, int line, int column, int count)
{
    const QString text = printer.lineText(0, line);
    QString out;
    int at = 0;
    for (QChar c : text) {
        const int width = CharPrinter::cells(QString(c));
        if (at >= column && at < column + count)
            out += c;
        at += width;
    }
    return out;
}

QString panelLabel(QWidget* window, int j)
{
    return window->findChild<QLabel*>(QStringLiteral("LabelNamae_%1").arg(j))->text();
}
}

void RaceWindowsTest::init()
{
    g_folder = std::make_unique<TestFolder>();
    CharPrinter::setForcePdf(true);
    Forms::registerForm(QStringLiteral("DispForm"), [] { return new DispForm; });
    Forms::registerForm(QStringLiteral("BiorForm"), [] { return new BiorForm; });
    Forms::registerForm(QStringLiteral("Bior2Form"), [] { return new Bior2Form; });
    Forms::registerForm(QStringLiteral("SelectForm"), [] {
        auto* stand = new QMainWindow;
        stand->setObjectName(QStringLiteral("SelectForm"));
        return stand;
    });
    setSurvey(kSurvey);
    Global().SelKyoteijyoMei = QStringLiteral("桐生");
    Global().SelRaceNo = 5;
}

void RaceWindowsTest::cleanup()
{
    UnloadAllWindows();
    g_folder.reset();
}

void RaceWindowsTest::raceTableShowsScoresAndCriticalCells()
{
    setSlot(0, 3945, QStringLiteral("山田太郎"), kSurvey);          // born on the survey day
    setSlot(1, 4000, QStringLiteral("鈴木一郎"), bornDaysBefore(6)); // body at its top: 5.75 sin(93.9°)
    auto* disp = qobject_cast<DispForm*>(Forms::show(QStringLiteral("DispForm")));
    QVERIFY(disp);
    QCOMPARE(disp->windowTitle(), QStringLiteral("表示"));
    QCOMPARE(cell(disp, "LabelNo", 0)->text(), QStringLiteral("1"));
    QCOMPARE(disp->findChild<QLabel*>(QStringLiteral("LabelDisp_0"))->text(), QStringLiteral("調査日： 1999. 8. 23"));
    QCOMPARE(disp->findChild<QLabel*>(QStringLiteral("LabelDisp_1"))->text(), QStringLiteral("桐生競艇  第5レース"));
    QCOMPARE(cell(disp, "LabelShozokuMei", 0)->text(), QStringLiteral("東京    "));
    QCOMPARE(cell(disp, "LabelKi", 0)->text(), QStringLiteral("3945"));
    QCOMPARE(cell(disp, "LabelNamae", 0)->text(), QStringLiteral("山田太郎"));
    QCOMPARE(cell(disp, "LabelSeiTuki", 0)->text(), QStringLiteral("8"));
    QCOMPARE(cell(disp, "LabelSyoritu", 0)->text(), QStringLiteral("6.52"));
    QCOMPARE(cell(disp, "LabelFukuritu", 0)->text(), QStringLiteral("45.3"));
    for (const char* name : {"LabelBody", "LabelHeart", "LabelIntel"}) {
        QCOMPARE(cell(disp, name, 0)->text(), QStringLiteral("0.00"));
        QVERIFY(isRed(cell(disp, name, 0)));
    }
    QCOMPARE(cell(disp, "LabelBody", 1)->text(), QStringLiteral("5.74"));
    QVERIFY(!isRed(cell(disp, "LabelBody", 1)));
    QVERIFY(cell(disp, "LabelNo", 2)->text().isEmpty());
}

void RaceWindowsTest::oneRacerFillsOneRow()
{
    setSlot(0, 3945, QStringLiteral("山田太郎"), QDate(1970, 5, 12));
    Global().SelSyoritu[0] = 0;
    Global().SelFukuritu[0] = 1000;
    Global().SelKyoteijyoMei.clear();
    auto* disp = Forms::show(QStringLiteral("DispForm"));
    QCOMPARE(cell(disp, "LabelSyoritu", 0)->text(), QStringLiteral("0.00"));
    QCOMPARE(cell(disp, "LabelFukuritu", 0)->text(), QStringLiteral("100.0"));
    QCOMPARE(disp->findChild<QLabel*>(QStringLiteral("LabelDisp_1"))->text(), QStringLiteral("競艇  第5レース"));
    for (int row = 1; row < 6; ++row)
        QVERIFY(cell(disp, "LabelBody", row)->text().isEmpty());
}

void RaceWindowsTest::intellectIsRoundedBeforeItIsMarked()
{
    // Phase 16 of 33: 0.78 shows 1.00 on red; phase 1: 1.56 shows 2.00 on white;
    // phase 17 and 32 the same below zero.
    setSlot(0, 1, QStringLiteral("a"), bornDaysBefore(16));
    setSlot(1, 2, QStringLiteral("b"), bornDaysBefore(1));
    setSlot(2, 3, QStringLiteral("c"), bornDaysBefore(17));
    setSlot(3, 4, QStringLiteral("d"), bornDaysBefore(32));
    auto* disp = Forms::show(QStringLiteral("DispForm"));
    QCOMPARE(cell(disp, "LabelIntel", 0)->text(), QStringLiteral("1.00"));
    QVERIFY(isRed(cell(disp, "LabelIntel", 0)));
    QCOMPARE(cell(disp, "LabelIntel", 1)->text(), QStringLiteral("2.00"));
    QVERIFY(!isRed(cell(disp, "LabelIntel", 1)));
    QCOMPARE(cell(disp, "LabelIntel", 2)->text(), QStringLiteral("-1.00"));
    QVERIFY(isRed(cell(disp, "LabelIntel", 2)));
    QCOMPARE(cell(disp, "LabelIntel", 3)->text(), QStringLiteral("-2.00"));
    QVERIFY(!isRed(cell(disp, "LabelIntel", 3)));
    // Body at phase 1 of 23: 1.55, white.
    QCOMPARE(cell(disp, "LabelBody", 1)->text(), QStringLiteral("1.55"));
    QVERIFY(!isRed(cell(disp, "LabelBody", 1)));
}

void RaceWindowsTest::storingARaceWithThreeRacers()
{
    setSlot(0, 3945, QStringLiteral("a"), QDate(1970, 1, 1));
    setSlot(1, 4000, QStringLiteral("b"), QDate(1971, 1, 1));
    setSlot(2, 4100, QStringLiteral("c"), QDate(1972, 1, 1));
    Global().SelKyoteijyoMei = QStringLiteral(" 住之江 ");  // blanks around do not matter
    auto* disp = Forms::show(QStringLiteral("DispForm"));
    MsgBoxScript::queue(Mb::No);
    trigger(disp, QStringLiteral("Menu_Add"));
    {
        Database db(g_folder->folder());
        QCOMPARE(Recordset(db, QStringLiteral("T_レース履歴")).RecordCount(), 0);
    }
    QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("1999.8.23 のレースを履歴テーブルへ登録しますか。"));
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("履歴テーブル登録"));
    QCOMPARE(MsgBoxScript::shown()[0].style, 292);
    MsgBoxScript::queue(Mb::Yes);
    trigger(disp, QStringLiteral("Menu_Add"));
    MsgBoxScript::queue(Mb::Yes);
    trigger(disp, QStringLiteral("Menu_Add"));  // the same race again is a second record
    QCOMPARE(MsgBoxScript::shown().size(), size_t(3));

    Database db(g_folder->folder());
    Recordset rs(db, QStringLiteral("T_レース履歴"));
    QCOMPARE(rs.RecordCount(), 2);
    QCOMPARE(rs.field(QStringLiteral("調査年")).toInt(), 1999);
    QCOMPARE(rs.field(QStringLiteral("調査月")).toInt(), 8);
    QCOMPARE(rs.field(QStringLiteral("調査日")).toInt(), 23);
    QCOMPARE(rs.field(QStringLiteral("競艇場ID")).toInt(), 12);
    QCOMPARE(rs.field(QStringLiteral("レースNO")).toInt(), 5);
    QCOMPARE(rs.field(QStringLiteral("選手1")).toInt(), 3945);
    QCOMPARE(rs.field(QStringLiteral("選手3")).toInt(), 4100);
    for (int n = 4; n <= 6; ++n) {
        QCOMPARE(rs.field(QStringLiteral("選手%1").arg(n)).toInt(), 0);
        QCOMPARE(rs.field(QStringLiteral("結果%1").arg(n)).toInt(), 0);
    }
}

void RaceWindowsTest::storingWithoutARacecourseIsRefused()
{
    setSlot(0, 3945, QStringLiteral("a"), QDate(1970, 1, 1));
    for (const QString& course : {QString(), QStringLiteral("琵琶湖")}) {
        Global().SelKyoteijyoMei = course;
        auto* disp = Forms::show(QStringLiteral("DispForm"));
        MsgBoxScript::shown().clear();
        trigger(disp, QStringLiteral("Menu_Add"));
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("競艇場名を選択していないので履歴登録出来ません")});
        QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("Vantor"));
        Forms::unload(disp);
        processDeletes();
    }
    Database db(g_folder->folder());
    QCOMPARE(Recordset(db, QStringLiteral("T_レース履歴")).RecordCount(), 0);
}

void RaceWindowsTest::storingWithAnImpossibleDateIsRefused()
{
    setSlot(0, 3945, QStringLiteral("a"), QDate(1970, 1, 1));
    Global().SelKyoteijyoMei = QStringLiteral("住之江");
    const struct {
        int year, month, day;
        const char* message;
    } dates[] = {{2024, 99, 1, "月が正しくありません"}, {2024, 0, 1, "月が正しくありません"},
                 {2024, 8, -9999, "日が正しくありません"}, {2024, 8, 0, "日が正しくありません"},
                 {2023, 2, 29, "日が正しくありません"}, {2024, 4, 31, "日が正しくありません"}};
    for (const auto& date : dates) {
        Global().ChosaNen = int16_t(date.year);
        Global().ChosaTuki = int16_t(date.month);
        Global().ChosaHi = int16_t(date.day);
        auto* disp = Forms::show(QStringLiteral("DispForm"));
        MsgBoxScript::shown().clear();
        MsgBoxScript::queue(Mb::Yes);
        trigger(disp, QStringLiteral("Menu_Add"));
        // The date check's own message, and no question.
        QCOMPARE(MsgBoxScript::texts(), QStringList{QString::fromUtf8(date.message)});
        QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("Vantor"));
        Forms::unload(disp);
        processDeletes();
    }
    {
        Database db(g_folder->folder());
        QCOMPARE(Recordset(db, QStringLiteral("T_レース履歴")).RecordCount(), 0);
    }
    // 29 February of a leap year is a date.
    Global().ChosaNen = 2024;
    Global().ChosaTuki = 2;
    Global().ChosaHi = 29;
    auto* disp = Forms::show(QStringLiteral("DispForm"));
    MsgBoxScript::queue(Mb::Yes);
    trigger(disp, QStringLiteral("Menu_Add"));
    Database db(g_folder->folder());
    QCOMPARE(Recordset(db, QStringLiteral("T_レース履歴")).RecordCount(), 1);
}

void RaceWindowsTest::printedTableForSixRacers()
{
    setSlot(0, 3945, QStringLiteral("山田太郎"), kSurvey);
    for (int i = 1; i < 6; ++i)
        setSlot(i, 4000 + i, QStringLiteral("選手%1").arg(i), bornDaysBefore(100 * i));
    CharPrinter printer(g_folder->folder(), QStringLiteral("test"));
    QCOMPARE(BuildRaceTablePrint(printer), 6);
    QCOMPARE(printer.pages().size(), size_t(1));
    QCOMPARE(printer.lineText(0, 0), QStringLiteral("          調査日： 1999. 8. 23  桐生競艇  第5レース    バイオリズム表示"));
    QVERIFY(printer.lineText(0, 1).isEmpty());
    QCOMPARE(printer.lineText(0, 2),
             QStringLiteral("          No.出身   登番 名前           生年 生月 生日 血液 勝率 複勝率 身体   感情   知性"));
    QVERIFY(printer.lineText(0, 3).isEmpty());
    QCOMPARE(printer.lineText(0, 4),
             QStringLiteral("           1 東京   3945 山田太郎        1999  8   23  A     6.52  45.3 0.00   0.00   0.00"));
    for (int column : {72, 79, 86})
        QCOMPARE(printer.colourAt(0, 4, column), QColor(255, 0, 0));
    QCOMPARE(printer.colourAt(0, 4, 11), QColor(0, 0, 0));
    for (int i = 1; i < 6; ++i)
        QVERIFY2(printer.lineText(0, 4 + i).startsWith(QStringLiteral("           %1 東京   400%2 選手%2").arg(i + 1).arg(i)),
                 qPrintable(printer.lineText(0, 4 + i)));
    QVERIFY(printer.lineText(0, 10).isEmpty());

    // A name of eight full-width characters is squeezed before the birth year.
    setSlot(0, 3945, QStringLiteral("一二三四五六七八"), kSurvey);
    CharPrinter again(g_folder->folder(), QStringLiteral("test"));
    BuildRaceTablePrint(again);
    QVERIFY2(again.lineText(0, 4).contains(QStringLiteral(" 一二三四五六七  1999 ")), qPrintable(again.lineText(0, 4)));
    QCOMPARE(again.pages()[0][4][3].text, QStringLiteral("一二三四五六七八"));  // whole on paper
}

void RaceWindowsTest::aBoatWithoutARacerKeepsItsPlace()
{
    // Boat 2 empty, as a race set up from its program leaves a racer who is
    // not in the racer table.
    Global().clearSelection();
    for (int i : {0, 2, 3})
        setSlot(i, 4000 + i, QStringLiteral("選手%1").arg(i), QDate(1970 + i, 3, 1));

    CharPrinter printer(g_folder->folder(), QStringLiteral("test"));
    QCOMPARE(BuildRaceTablePrint(printer), 3);
    QCOMPARE(printer.lineText(0, 0), QStringLiteral("          調査日： 1999. 8. 23  桐生競艇  第5レース    バイオリズム表示"));
    for (const auto& [line, boat] : {std::pair{4, 1}, std::pair{5, 3}, std::pair{6, 4}})
        QVERIFY2(printer.lineText(0, line).startsWith(QStringLiteral("           %1 東京   400%2 選手%2").arg(boat).arg(boat - 1)),
                 qPrintable(printer.lineText(0, line)));
    QVERIFY(printer.lineText(0, 7).isEmpty());

    auto* disp = Forms::show(QStringLiteral("DispForm"));
    QCOMPARE(cell(disp, "LabelNo", 1)->text(), QString());
    QCOMPARE(cell(disp, "LabelNo", 3)->text(), QStringLiteral("4"));
    QCOMPARE(cell(disp, "LabelKi", 3)->text(), QStringLiteral("4003"));
    QVERIFY(cell(disp, "LabelBody", 4)->text().isEmpty());

    auto* bior = Forms::show(QStringLiteral("BiorForm"));
    for (int j = 0; j < 6; ++j) {
        const bool filled = j == 0 || j == 2 || j == 3;
        QCOMPARE(bior->findChild<GlyphPanel*>(QStringLiteral("PictureBior_%1").arg(j))->glyphs().size(),
                 filled ? size_t(39) : size_t(0));
        QCOMPARE(panelLabel(bior, j).isEmpty(), !filled);
    }
}

void RaceWindowsTest::printedBoundsAreOpen()
{
    // On paper, body and emotion are cut downwards to hundredths and only
    // scores strictly inside -1..1 are red; the intellect marks only 0.
    setSlot(0, 1, QStringLiteral("a"), bornDaysBefore(16));  // intellect 1, emotion 16 of 28: -3.04
    setSlot(1, 2, QStringLiteral("b"), bornDaysBefore(22));  // body 22 of 23: -1.551 cut to -1.56
    CharPrinter printer(g_folder->folder(), QStringLiteral("test"));
    BuildRaceTablePrint(printer);
    QCOMPARE(columns(printer, 4, 86, 4), QStringLiteral("1.00"));
    QCOMPARE(printer.colourAt(0, 4, 86), QColor(0, 0, 0));  // red on screen, black on paper
    const double body = Rhythm::Score(22, 23);
    QVERIFY(body > -1.56 && body < -1.55);
    QCOMPARE(columns(printer, 5, 72, 5), QStringLiteral("-1.56"));
    QCOMPARE(printer.colourAt(0, 5, 72), QColor(0, 0, 0));
}

void RaceWindowsTest::printingWithoutAPrinterWritesAPdf()
{
    setSlot(0, 3945, QStringLiteral("山田太郎"), kSurvey);
    auto* disp = Forms::show(QStringLiteral("DispForm"));
    MsgBoxScript::queue(Mb::No);
    trigger(disp, QStringLiteral("Menu_Print"));
    QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("ﾊﾞｲｵﾘｽﾞﾑｸﾞﾗﾌを印刷しますか。\r\n"));
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("ﾊﾞｲｵﾘｽﾞﾑｸﾞﾗﾌ印刷"));
    QVERIFY(QDir(g_folder->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty());

    MsgBoxScript::queue(Mb::Yes);
    trigger(disp, QStringLiteral("Menu_Print"));
    const QStringList pdfs = QDir(g_folder->folder()).entryList({QStringLiteral("*.pdf")});
    // Named by the race it holds; printed again, the first stays.
    QCOMPARE(pdfs, QStringList{QStringLiteral("バイオリズム表-19990823-桐生-5R.pdf")});
    QVERIFY(QFileInfo(g_folder->file(pdfs[0])).size() > 1000);
    QVERIFY(MsgBoxScript::shown().back().text.contains(g_folder->file(pdfs[0])));
    MsgBoxScript::queue(Mb::Yes);
    trigger(disp, QStringLiteral("Menu_Print"));
    QCOMPARE(QDir(g_folder->folder()).entryList({QStringLiteral("*.pdf")}),
             (QStringList{QStringLiteral("バイオリズム表-19990823-桐生-5R (2).pdf"), QStringLiteral("バイオリズム表-19990823-桐生-5R.pdf")}));
    // A title never reaches outside the folder or makes a name the file system refuses.
    QCOMPARE(CharPrinter::pdfPathFor(g_folder->folder(), QStringLiteral(" ../a/b:c*\\d ")),
             g_folder->folder() + QStringLiteral(".._a_b_c__d.pdf"));
}

void RaceWindowsTest::sixGraphsOfABirthdayRacer()
{
    setSlot(0, 3945, QStringLiteral("山田太郎"), kSurvey);
    auto* bior = Forms::show(QStringLiteral("BiorForm"));
    QCOMPARE(bior->windowTitle(), QStringLiteral("バイオリズム一覧"));
    auto* panel = bior->findChild<GlyphPanel*>(QStringLiteral("PictureBior_0"));
    QCOMPARE(panel->glyphs().size(), size_t(39));
    int onSurveyDay = 0;
    for (const auto& glyph : panel->glyphs()) {
        if (glyph.at.x() == 88) {
            QCOMPARE(glyph.at.y(), 61.0);
            ++onSurveyDay;
        }
    }
    QCOMPARE(onSurveyDay, 3);
    QCOMPARE(panel->glyphs().front().at.x(), 8.0);
    QCOMPARE(panel->glyphs().back().at.x(), 168.0);
    // What the panel shows when it is painted: the cube of the survey day
    // (drawn last) in cyan, the zero axis in black.
    const QImage shown = panel->grab().toImage();
    QCOMPARE(QColor(shown.pixel(88 + 4, 61 + 6)), Basic::QBColor(3));
    QCOMPARE(QColor(shown.pixel(10, 66)), Basic::QBColor(0));
    QCOMPARE(bior->findChild<QLabel*>(QStringLiteral("LabelDisp_1"))->text(), QStringLiteral("桐生競艇  第5レース"));
}

void RaceWindowsTest::sixGraphsWithThreeRacers()
{
    for (int i = 0; i < 3; ++i)
        setSlot(i, 4000 + i, QStringLiteral("選手%1").arg(i), QDate(1970 + i, 3, 1));
    auto* bior = Forms::show(QStringLiteral("BiorForm"));
    for (int j = 0; j < 6; ++j) {
        auto* panel = bior->findChild<GlyphPanel*>(QStringLiteral("PictureBior_%1").arg(j));
        QCOMPARE(panel->glyphs().size(), j < 3 ? size_t(39) : size_t(0));
        QCOMPARE(panelLabel(bior, j).isEmpty(), j >= 3);
        // Every panel has its axes.
        QCOMPARE(QColor(panel->grab().toImage().pixel(93, 5)), Basic::QBColor(0));
    }
    QCOMPARE(panelLabel(bior, 0), Basic::Fixed(QStringLiteral("選手0"), 22));
}

void RaceWindowsTest::panelClicksAndMenuChooseTheDetail()
{
    for (int i = 0; i < 6; ++i)
        setSlot(i, 4000 + i, QStringLiteral("選手%1").arg(i), QDate(1970 + i, 3, 1));
    auto* bior = Forms::show(QStringLiteral("BiorForm"));
    trigger(bior, QStringLiteral("Menu_disp_6"));  // 下右(&D)
    QCOMPARE(Global().SelDetailIndex, int16_t(5));
    auto* detail = form<Bior2Form>("Bior2Form");
    QVERIFY(detail);
    QCOMPARE(detail->findChild<QLabel*>(QStringLiteral("LabelNamae"))->text(), Global().SelNamae[5]);
    // While it is open, another choice only brings it to the front.
    QTest::mouseClick(bior->findChild<QWidget*>(QStringLiteral("PictureBior_1")), Qt::LeftButton);
    QCOMPARE(Global().SelDetailIndex, int16_t(1));
    QCOMPARE(detail->findChild<QLabel*>(QStringLiteral("LabelNamae"))->text(), Global().SelNamae[5]);
    trigger(detail, QStringLiteral("Menu_Close"));
    processDeletes();
    trigger(bior, QStringLiteral("Menu_disp_4"));  // 下左(&A)
    QCOMPARE(Global().SelDetailIndex, int16_t(3));
    QCOMPARE(form<Bior2Form>("Bior2Form")->findChild<QLabel*>(QStringLiteral("LabelNamae"))->text(), Global().SelNamae[3]);
}

void RaceWindowsTest::detailOfABirthdayPerson()
{
    setSlot(0, 3945, QStringLiteral("山田太郎"), kSurvey);
    Global().SelDetailIndex = 0;
    auto* detail = qobject_cast<Bior2Form*>(Forms::show(QStringLiteral("Bior2Form")));
    QCOMPARE(detail->windowTitle(), QStringLiteral("バイオリズム個別明細"));
    QCOMPARE(detail->findChild<QLabel*>(QStringLiteral("LabelChoHi"))->text(), QStringLiteral(" 1999. 8. 23"));
    // The survey day's icons stand on the centre line.
    for (const char* name : {"ImageBody_10", "ImageSoul_10", "ImageIntel_10"}) {
        auto* icon = detail->findChild<QLabel*>(QString::fromLatin1(name));
        QVERIFY(icon && icon->isVisible());
        QCOMPARE(icon->x(), 269);  // 268.75
        QCOMPARE(icon->y(), 160);  // 159.75
    }
    QCOMPARE(detail->findChild<QLabel*>(QStringLiteral("ImageBody_20"))->x(), int(std::lround(Bior2Form::ColumnX(20))));
    auto* advice = detail->findChild<QLabel*>(QStringLiteral("LabelMSG"));
    QCOMPARE(advice->text(), QStringLiteral("※今日は、全てが要注意、最悪の日です。"));
    QVERIFY(!advice->isVisible());

    // An empty slot: no name, no icons.
    Forms::unload(detail);
    processDeletes();
    Global().SelDetailIndex = 4;
    detail = qobject_cast<Bior2Form*>(Forms::show(QStringLiteral("Bior2Form")));
    QVERIFY(detail->findChild<QLabel*>(QStringLiteral("LabelNamae"))->text().isEmpty());
    QVERIFY(!detail->findChild<QLabel*>(QStringLiteral("ImageBody_10")));
}

void RaceWindowsTest::adviceLines()
{
    setSlot(0, 3945, QStringLiteral("a"), kSurvey);
    auto* detail = qobject_cast<Bior2Form*>(Forms::show(QStringLiteral("Bior2Form")));
    auto* advice = detail->findChild<QLabel*>(QStringLiteral("LabelMSG"));
    // Phase 0 is caution; 6 of 23, 7 of 28 and 8 of 33 are near the top.
    const struct {
        int b, e, i;
        const char* text;
    } cases[8] = {{0, 7, 8, "※今日は、身体が要注意です。"},           {6, 0, 8, "※今日は、感情が要注意です。"},
                  {6, 7, 0, "※今日は、知性が要注意です。"},           {0, 0, 8, "※今日は、身体と感情が要注意です。"},
                  {0, 7, 0, "※今日は、身体と知性が要注意です。"},     {6, 0, 0, "※今日は、感情と知性が要注意です。"},
                  {0, 0, 0, "※今日は、全てが要注意、最悪の日です。"}, {6, 7, 8, "※今日は、特に問題はありません。"}};
    for (const auto& c : cases) {
        detail->Set_LabelMsg(c.b, c.e, c.i);
        QCOMPARE(advice->text(), QString::fromUtf8(c.text));
    }
}

void RaceWindowsTest::dateButtons_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<int>("button");
    QTest::addColumn<QDate>("to");
    QTest::newRow("next day 28 Feb 2000") << QDate(2000, 2, 28) << 2 << QDate(2000, 2, 29);
    QTest::newRow("next day 28 Feb 1999") << QDate(1999, 2, 28) << 2 << QDate(1999, 3, 1);
    QTest::newRow("next day 31 Dec 1999") << QDate(1999, 12, 31) << 2 << QDate(2000, 1, 1);
    QTest::newRow("next day 30 Apr") << QDate(1999, 4, 30) << 2 << QDate(1999, 5, 1);
    QTest::newRow("previous month 31 Mar 1999") << QDate(1999, 3, 31) << 0 << QDate(1999, 2, 28);
    QTest::newRow("previous month 31 Mar 2000") << QDate(2000, 3, 31) << 0 << QDate(2000, 2, 29);
    QTest::newRow("previous month 31 Jan 2000") << QDate(2000, 1, 31) << 0 << QDate(1999, 12, 31);
    QTest::newRow("previous month 31 May") << QDate(1999, 5, 31) << 0 << QDate(1999, 4, 30);
    QTest::newRow("previous month 31 Aug") << QDate(1999, 8, 31) << 0 << QDate(1999, 7, 31);
    QTest::newRow("next month 31 Aug 1999") << QDate(1999, 8, 31) << 3 << QDate(1999, 9, 30);
    QTest::newRow("next month 31 Jan 2000") << QDate(2000, 1, 31) << 3 << QDate(2000, 2, 29);
    QTest::newRow("next month 30 Jan 1999") << QDate(1999, 1, 30) << 3 << QDate(1999, 2, 28);
    QTest::newRow("next month 15 Dec") << QDate(1999, 12, 15) << 3 << QDate(2000, 1, 15);
    QTest::newRow("previous day 1 Jan") << QDate(2000, 1, 1) << 1 << QDate(1999, 12, 31);
    QTest::newRow("previous day 1 Mar 2000") << QDate(2000, 3, 1) << 1 << QDate(2000, 2, 29);
    QTest::newRow("previous day 1 Mar 1999") << QDate(1999, 3, 1) << 1 << QDate(1999, 2, 28);
    QTest::newRow("previous day 1 May") << QDate(1999, 5, 1) << 1 << QDate(1999, 4, 30);
    QTest::newRow("previous day 1 Aug") << QDate(1999, 8, 1) << 1 << QDate(1999, 7, 31);
    QTest::newRow("previous day 15 Aug") << QDate(1999, 8, 15) << 1 << QDate(1999, 8, 14);
}

void RaceWindowsTest::dateButtons()
{
    QFETCH(QDate, from);
    QFETCH(int, button);
    QFETCH(QDate, to);
    setSlot(0, 3945, QStringLiteral("a"), QDate(1970, 1, 1));
    setSurvey(from);
    auto* detail = Forms::show(QStringLiteral("Bior2Form"));
    QTest::mouseClick(detail->findChild<QPushButton*>(QStringLiteral("CommandChoYMD_%1").arg(button)), Qt::LeftButton);
    QCOMPARE(QDate(Global().ChosaNen, Global().ChosaTuki, Global().ChosaHi), to);
    // The graph follows the moved date.
    QCOMPARE(detail->findChild<QLabel*>(QStringLiteral("LabelChoHi"))->text(),
             Basic::Str(to.year()) + "." + Basic::Str(to.month()) + "." + Basic::Str(to.day()));
    const int32_t d = Rhythm::ElapsedDays(int16_t(to.year()), int16_t(to.month()), int16_t(to.day()), 1970, 1, 1);
    QCOMPARE(detail->findChild<QLabel*>(QStringLiteral("ImageSoul_10"))->y(),
             int(std::lround(Rhythm::DetailY(Rhythm::Phase(d, 28), 28))));
}

void RaceWindowsTest::dayLinesAndMessageToggle()
{
    setSlot(0, 3945, QStringLiteral("a"), QDate(1970, 1, 1));
    auto* detail = Forms::show(QStringLiteral("Bior2Form"));
    auto* graph = detail->findChild<DetailGraph*>(QStringLiteral("PictureBior"));
    const QImage plain = graph->grab().toImage();
    const int lineX = int(((1 + 1) * 380 - 120) / 16.0 + 2.5);  // the first day line
    QCOMPARE(QColor(plain.pixel(lineX, 325)), Basic::QBColor(15));

    auto* lines = detail->findChild<QPushButton*>(QStringLiteral("CommandChoYMD_4"));
    QTest::mouseClick(lines, Qt::LeftButton);
    QCOMPARE(Global().TatesenOn, int16_t(-1));
    QCOMPARE(QColor(graph->grab().toImage().pixel(lineX, 325)), Basic::QBColor(7));
    QTest::mouseClick(lines, Qt::LeftButton);
    QCOMPARE(Global().TatesenOn, int16_t(0));
    QCOMPARE(graph->grab().toImage(), plain);

    auto* msg = detail->findChild<QPushButton*>(QStringLiteral("CommandChoYMD_5"));
    auto* advice = detail->findChild<QLabel*>(QStringLiteral("LabelMSG"));
    QTest::mouseClick(msg, Qt::LeftButton);
    QVERIFY(advice->isVisible());
    // The options stay for the run: a new detail window shows the advice.
    Forms::unload(detail);
    processDeletes();
    detail = Forms::show(QStringLiteral("Bior2Form"));
    QVERIFY(detail->findChild<QLabel*>(QStringLiteral("LabelMSG"))->isVisible());
    QTest::mouseClick(detail->findChild<QPushButton*>(QStringLiteral("CommandChoYMD_5")), Qt::LeftButton);
    QVERIFY(!detail->findChild<QLabel*>(QStringLiteral("LabelMSG"))->isVisible());

    // An empty boat has no advice: with MSG on, nothing shows.
    QTest::mouseClick(detail->findChild<QPushButton*>(QStringLiteral("CommandChoYMD_5")), Qt::LeftButton);
    Forms::unload(detail);
    processDeletes();
    Global().SelDetailIndex = 4;
    detail = Forms::show(QStringLiteral("Bior2Form"));
    advice = detail->findChild<QLabel*>(QStringLiteral("LabelMSG"));
    QVERIFY(advice->isVisible());
    QCOMPARE(advice->text(), QString());
}

void RaceWindowsTest::roadThroughTheWindowsAndBack()
{
    setSlot(0, 3945, QStringLiteral("a"), QDate(1970, 1, 1));
    auto* disp = Forms::show(QStringLiteral("DispForm"));
    trigger(disp, QStringLiteral("Menu_Disp"));
    auto* bior = Forms::find(QStringLiteral("BiorForm"));
    QVERIFY(bior && bior->isVisible());
    QTest::mouseClick(bior->findChild<QWidget*>(QStringLiteral("PictureBior_0")), Qt::LeftButton);
    auto* detail = Forms::find(QStringLiteral("Bior2Form"));
    QVERIFY(detail && detail->isVisible());
    trigger(detail, QStringLiteral("Menu_Close"));
    processDeletes();
    QVERIFY(!Forms::find(QStringLiteral("Bior2Form")));
    QVERIFY(bior->isVisible());
    trigger(bior, QStringLiteral("Menu_Close"));
    processDeletes();
    QVERIFY(!Forms::find(QStringLiteral("BiorForm")));
    QVERIFY(disp->isVisible());
    trigger(disp, QStringLiteral("Menu_Close"));
    processDeletes();
    QVERIFY(!Forms::find(QStringLiteral("DispForm")));
    QVERIFY(Forms::find(QStringLiteral("SelectForm")));
}

void RaceWindowsTest::headingsFitTheirLongestTexts()
{
    const QFont before = QApplication::font();
    UseProgramFont();
    const auto restore = qScopeGuard([&before] { QApplication::setFont(before); });
    setSlot(0, 3945, QStringLiteral("a"), QDate(1970, 1, 1));
    setSurvey(QDate(2028, 12, 29));
    Global().SelRaceNo = 12;
    QStringList courses;
    {
        Database db(g_folder->folder());
        Recordset rs(db, QStringLiteral("T_競艇場"));
        for (rs.MoveFirst(); !rs.eof(); rs.MoveNext())
            courses << rs.field(QStringLiteral("競艇場名")).toString();
    }
    QCOMPARE(courses.size(), 24);
    for (const QString& course : courses) {
        Global().SelKyoteijyoMei = course;
        for (const char* window : {"DispForm", "BiorForm"}) {
            QWidget* form = Forms::show(QString::fromLatin1(window));
            auto* date = form->findChild<QLabel*>(QStringLiteral("LabelDisp_0"));
            auto* race = form->findChild<QLabel*>(QStringLiteral("LabelDisp_1"));
            QCOMPARE(date->text(), QStringLiteral("調査日： 2028. 12. 29"));
            QCOMPARE(race->text(), course + QStringLiteral("競艇  第12レース"));
            for (QLabel* label : {date, race})
                QVERIFY2(label->width() >= label->fontMetrics().horizontalAdvance(label->text()),
                         qPrintable(QStringLiteral("%1: %2").arg(QString::fromLatin1(window), label->text())));
            QVERIFY(date->geometry().right() < race->x());
            Forms::unload(form);
            processDeletes();
        }
    }
}

void RaceWindowsTest::everyMenuItemShowsItsWholeCaption()
{
    for (const char* window : {"DispForm", "BiorForm", "Bior2Form"})
        VerifyMenusShowWholeCaptions(Forms::show(QString::fromLatin1(window)));
}

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    RhythmTest rhythm;
    RaceWindowsTest windows;
    return RunTestObjects(argc, argv, {&rhythm, &windows});
}
