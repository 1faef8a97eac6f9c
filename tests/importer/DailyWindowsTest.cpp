#include "BangumiForm.h"
#include "DailyFileWriter.h"
#include "DailyTests.h"
#include "Database.h"
#include "DayRaces.h"
#include "DispForm.h"
#include "FanFileWriter.h"
#include "FileDialog.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "Keyboard.h"
#include "MsgBox.h"
#include "Recordset.h"
#include "ResultsImport.h"
#include "RirekiForm.h"
#include "RuntimeError.h"
#include "SelectForm.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>

namespace {
const QDate kDay(2024, 8, 1);

struct StoredRow {
    int year, month, day, course, raceNo;
    std::array<int, 6> racers;
    std::array<int, 6> results;
};

std::vector<StoredRow> history(const QString& folder)
{
    Database db(folder);
    Recordset rs(db, QStringLiteral("T_レース履歴"));
    std::vector<StoredRow> rows;
    for (; !rs.eof(); rs.MoveNext()) {
        auto f = [&rs](const QString& name) { return rs.field(name).toInt(); };
        StoredRow row{f(QStringLiteral("調査年")), f(QStringLiteral("調査月")), f(QStringLiteral("調査日")),
                      f(QStringLiteral("競艇場ID")), f(QStringLiteral("レースNO")), {}, {}};
        for (int n = 0; n < 6; ++n) {
            row.racers[size_t(n)] = f(QStringLiteral("選手%1").arg(n + 1));
            row.results[size_t(n)] = f(QStringLiteral("結果%1").arg(n + 1));
        }
        rows.push_back(row);
    }
    return rows;
}

void store(const QString& folder, const QDate& date, int course, int raceNo, std::array<int16_t, 6> racers)
{
    Database db(folder);
    DayRaces::StoreRaces(db, {{int16_t(date.year()), int16_t(date.month()), int16_t(date.day()), int16_t(course),
                               int16_t(raceNo), racers}});
}

void trigger(QWidget* w, const char* name)
{
    auto* action = w->findChild<QAction*>(QString::fromLatin1(name));
    QVERIFY(action);
    action->trigger();
}

void click(QWidget* w, const char* name)
{
    auto* button = w->findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

QString gridText(QWidget* w, int row, int column)
{
    const QTableWidgetItem* item = w->findChild<QTableWidget*>(QStringLiteral("GridBoat"))->item(row, column);
    return item ? item->text() : QString();
}

QStringList lines(QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The search window with the 番組表 opened from its menu and a file read.
QWidget* openPrograms(const QString& path)
{
    QWidget* select = Forms::show(QStringLiteral("SelectForm"));
    trigger(select, "Menu_Bangumi");
    QWidget* programs = Forms::find(QStringLiteral("BangumiForm"));
    if (!programs)
        return nullptr;
    FileDialogScript::queue(path);
    click(programs, "CommandFile");
    return programs;
}

QListWidget* list(QWidget* w, const char* name) { return w->findChild<QListWidget*>(QString::fromLatin1(name)); }
}

void DailyWindowsTest::init()
{
    folder_ = std::make_unique<TestFolder>();
    std::vector<TestRacer> racers;
    for (int id : {4001, 4002, 4003, 4004, 4005, 4101, 4102, 4103, 4104, 4105, 4106}) {
        TestRacer r{id};
        r.name = QStringLiteral("選手%1").arg(id);
        racers.push_back(r);
    }
    SeedRacers(folder_->folder(), racers);
    RegisterStandIn(QStringLiteral("MainForm"));
    Forms::registerForm(QStringLiteral("SelectForm"), [] { return new SelectForm; });
    Forms::registerForm(QStringLiteral("DispForm"), [] { return new DispForm; });
    Forms::registerForm(QStringLiteral("RirekiForm"), [] { return new RirekiForm; });
    Forms::registerForm(QStringLiteral("BangumiForm"), [] { return new BangumiForm(Forms::find(QStringLiteral("SelectForm"))); });
    Forms::registerCommand(QStringLiteral("ReadResults"), ReadResultsFile);
}

void DailyWindowsTest::cleanup()
{
    UnloadAllWindows();
    folder_.reset();
}

void DailyWindowsTest::selectSetsUpTheRaceInTheSearchWindow()
{
    const QString path = folder_->file("B240801.TXT");
    WriteFile(path, ProgramFileBytes(kDay, {{7, false, {MakeProgramRace(1, 4001), MakeProgramRace(2, 4101)}}, {9, true, {}}}));
    QWidget* programs = openPrograms(path);
    QVERIFY(programs);
    QCOMPARE(programs->windowTitle(), QStringLiteral("番組表"));
    QCOMPARE(lines(list(programs, "ListBasho")), (QStringList{QStringLiteral("07 蒲郡"), QStringLiteral("09 津（未発表）")}));

    // Race 2 first, then race 1: the second choice replaces the first.
    ClickListLine(list(programs, "ListBasho"), 0);
    QCOMPARE(lines(list(programs, "ListRace")), (QStringList{QStringLiteral(" 1R  予選  1800m"), QStringLiteral(" 2R  予選  1800m")}));
    ClickListLine(list(programs, "ListRace"), 1);
    click(programs, "CommandSentaku");
    flushDeletes();
    QVERIFY(!Forms::find(QStringLiteral("BangumiForm")));
    auto* select = qobject_cast<SelectForm*>(Forms::find(QStringLiteral("SelectForm")));
    QCOMPARE(select->W_SelCount, int16_t(6));

    // Opened again, the window is on the same file and race.
    trigger(select, "Menu_Bangumi");
    programs = Forms::find(QStringLiteral("BangumiForm"));
    QCOMPARE(list(programs, "ListRace")->currentRow(), 1);
    ClickListLine(list(programs, "ListRace"), 0);
    QCOMPARE(gridText(programs, 0, 1), QStringLiteral("4001"));
    QCOMPARE(gridText(programs, 0, 2), QStringLiteral("山田太郎"));
    QCOMPARE(gridText(programs, 0, 5), QString());
    QCOMPARE(gridText(programs, 5, 1), QStringLiteral("4006"));
    QCOMPARE(gridText(programs, 5, 5), QStringLiteral("＊"));  // not in the racer table
    click(programs, "CommandSentaku");
    flushDeletes();

    const GlobalModule& g = Global();
    QCOMPARE(select->W_SelCount, int16_t(5));
    const QStringList picked = lines(select->findChild<QListWidget*>(QStringLiteral("List2")));
    QCOMPARE(picked.size(), 5);
    QCOMPARE(picked[0], QStringLiteral("東京    4001  64  選手4001"));  // as the result list writes it
    for (int k = 0; k < 5; ++k) {
        QCOMPARE(g.SelSensyuID[size_t(k)], int16_t(4001 + k));
        QCOMPARE(g.SelSyoritu[size_t(k)], int16_t(652));
    }
    QVERIFY(g.SelShozokuMei[5].isEmpty());
    QCOMPARE(g.SelSensyuID[5], int16_t(0));
    QCOMPARE(g.ChosaNen, int16_t(2024));
    QCOMPARE(g.ChosaTuki, int16_t(8));
    QCOMPARE(g.ChosaHi, int16_t(1));
    QCOMPARE(g.SelKyoteijyoMei, QStringLiteral("蒲郡"));
    QCOMPARE(g.SelRaceNo, int16_t(1));
    QCOMPARE(select->findChild<QComboBox*>(QStringLiteral("ComboNen"))->currentText(), QStringLiteral("2024"));
    QCOMPARE(select->findChild<QComboBox*>(QStringLiteral("ComboBasho"))->currentText(), QStringLiteral("蒲郡"));
    QCOMPARE(select->findChild<QComboBox*>(QStringLiteral("ComboRace"))->currentText(), QStringLiteral("1"));
    QVERIFY(select->findChild<QAction*>(QStringLiteral("Menu_Select"))->isEnabled());
    QVERIFY2(MsgBoxScript::shown().empty(), qPrintable(MsgBoxScript::texts().join(QLatin1Char('|'))));

    // From here the race table works as for a race picked by hand.
    click(select, "CommandDisp_1");
    QWidget* table = Forms::find(QStringLiteral("DispForm"));
    QVERIFY(table);
    QCOMPARE(table->findChild<QLabel*>(QStringLiteral("LabelDisp_1"))->text(), QStringLiteral("蒲郡競艇  第1レース"));
    QCOMPARE(table->findChild<QLabel*>(QStringLiteral("LabelKi_4"))->text(), QStringLiteral("4005"));
}

void DailyWindowsTest::selectUsesTheRacerTableInUse()
{
    SeedExtraction(folder_->folder(), {4001, 4003});
    Global().ExtractMode = 1;
    const QString path = folder_->file("B240801.TXT");
    WriteFile(path, ProgramFileBytes(kDay, {{12, false, {MakeProgramRace(3, 4001)}}}));
    QWidget* programs = openPrograms(path);
    ClickListLine(list(programs, "ListBasho"), 0);
    ClickListLine(list(programs, "ListRace"), 0);
    QStringList marks;
    for (int k = 0; k < 6; ++k)
        marks << gridText(programs, k, 5);
    QCOMPARE(marks, (QStringList{QString(), QStringLiteral("＊"), QString(), QStringLiteral("＊"), QStringLiteral("＊"),
                                 QStringLiteral("＊")}));
    click(programs, "CommandSentaku");
    // Each racer in his boat's slot; the boats after the last one found stay out.
    QCOMPARE(Global().SelSensyuID[0], int16_t(4001));
    QVERIFY(Global().SelShozokuMei[1].isEmpty());
    QCOMPARE(Global().SelSensyuID[1], int16_t(0));
    QCOMPARE(Global().SelSensyuID[2], int16_t(4003));
    QVERIFY(Global().SelShozokuMei[3].isEmpty());
    QCOMPARE(qobject_cast<SelectForm*>(Forms::find(QStringLiteral("SelectForm")))->W_SelCount, int16_t(3));
    QCOMPARE(Global().SelKyoteijyoMei, QStringLiteral("住之江"));
    QCOMPARE(Global().SelRaceNo, int16_t(3));
}

void DailyWindowsTest::storingEveryRaceOfACourse()
{
    const QString path = folder_->file("B240801.TXT");
    WriteFile(path, ProgramFileBytes(kDay, {{9, true, {}},
                                            {7, false, {MakeProgramRace(1, 4001), MakeProgramRace(2, 4101),
                                                        MakeProgramRace(11, 4201), MakeProgramRace(12, 4301)}}}));
    QWidget* programs = openPrograms(path);
    // By racecourse number, whatever the file's order.
    QCOMPARE(lines(list(programs, "ListBasho")), (QStringList{QStringLiteral("07 蒲郡"), QStringLiteral("09 津（未発表）")}));

    click(programs, "CommandAll");  // no racecourse chosen yet
    ClickListLine(list(programs, "ListBasho"), 1);
    click(programs, "CommandAll");  // nothing published there
    QCOMPARE(MsgBoxScript::texts(), (QStringList{QStringLiteral("競艇場を選択して下さい"), QStringLiteral("この場の番組はまだありません。")}));
    QVERIFY(history(folder_->folder()).empty());

    ClickListLine(list(programs, "ListBasho"), 0);
    MsgBoxScript::shown().clear();
    MsgBoxScript::queue(Mb::No);
    click(programs, "CommandAll");
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("蒲郡競艇の 4 レースを履歴テーブルへ登録しますか。\r\n"));
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("履歴テーブル登録"));
    QCOMPARE(MsgBoxScript::shown()[0].style, Mb::Confirm);
    QVERIFY(history(folder_->folder()).empty());

    MsgBoxScript::queue(Mb::Yes);
    click(programs, "CommandAll");
    const auto rows = history(folder_->folder());
    QCOMPARE(rows.size(), size_t(4));
    const int raceNos[4] = {1, 2, 11, 12};
    for (size_t r = 0; r < 4; ++r) {
        QCOMPARE(rows[r].year, 2024);
        QCOMPARE(rows[r].month, 8);
        QCOMPARE(rows[r].day, 1);
        QCOMPARE(rows[r].course, 7);
        QCOMPARE(rows[r].raceNo, raceNos[r]);
        QCOMPARE(rows[r].results, (std::array<int, 6>{}));
    }
    // A racer missing from the racer table keeps his registration number.
    QCOMPARE(rows[0].racers, (std::array<int, 6>{4001, 4002, 4003, 4004, 4005, 4006}));
    QCOMPARE(rows[1].racers, (std::array<int, 6>{4101, 4102, 4103, 4104, 4105, 4106}));
    QCOMPARE(rows[3].racers, (std::array<int, 6>{4301, 4302, 4303, 4304, 4305, 4306}));
    // Their seats are the program's boats, and each is marked so.
    {
        Database db(folder_->folder());
        Statement marks = db.prepare(QStringLiteral("SELECT count(*) FROM T_艇番レース m JOIN T_レース履歴 r ON r.履歴ID = m.履歴ID"));
        QVERIFY(marks.step());
        QCOMPARE(marks.value(0).toInt(), 4);
    }
    // Thirteen racers are missing: twelve are named, the rest counted.
    const QStringList summary = MsgBoxScript::shown().back().text.split(QStringLiteral("\r\n"));
    QCOMPARE(summary.size(), 16);
    QCOMPARE(summary[0], QStringLiteral("4 レースを履歴テーブルへ登録しました。"));
    QCOMPARE(summary[1], QStringLiteral("選手テーブルにない選手（登番と番組表の内容で登録）："));
    QCOMPARE(summary[2], QStringLiteral(" 1R 6号艇 4006 山田太郎"));
    QCOMPARE(summary[13], QStringLiteral("12R 5号艇 4305 山田太郎"));
    QCOMPARE(summary[14], QStringLiteral("ほか 1 人"));

    // A second time, the question says the races are there already.
    click(programs, "CommandAll");
    QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("蒲郡競艇の 4 レースを履歴テーブルへ登録しますか。\r\n"
                                                               "この日のこの場のレースは既に 4 件登録されています。\r\n"));
    QCOMPARE(history(folder_->folder()).size(), size_t(4));
    // Stored again with consent, nothing is there twice.
    MsgBoxScript::queue(Mb::Yes);
    click(programs, "CommandAll");
    QCOMPARE(history(folder_->folder()).size(), size_t(4));
    QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("0 レースを履歴テーブルへ登録しました。\r\n"
                                                               "登録済みの 4 レースは二重に登録しませんでした。\r\n"));
}

void DailyWindowsTest::aMissingRacerLeavesHisBoatEmpty()
{
    ProgramRaceText race = MakeProgramRace(5, 4101);
    race.boats[1].toban = 9999;  // boat 2: not in the racer table
    const QString path = folder_->file("B240801.TXT");
    WriteFile(path, ProgramFileBytes(kDay, {{7, false, {race}}}));
    QWidget* programs = openPrograms(path);
    ClickListLine(list(programs, "ListBasho"), 0);
    ClickListLine(list(programs, "ListRace"), 0);
    MsgBoxScript::queue(Mb::Yes);
    click(programs, "CommandAll");
    // Stored from the program, the missing racer keeps his registration number.
    QCOMPARE(history(folder_->folder()).back().racers, (std::array<int, 6>{4101, 9999, 4103, 4104, 4105, 4106}));
    MsgBoxScript::shown().clear();

    click(programs, "CommandSentaku");
    flushDeletes();
    auto* select = qobject_cast<SelectForm*>(Forms::find(QStringLiteral("SelectForm")));
    const GlobalModule& g = Global();
    QCOMPARE(select->W_SelCount, int16_t(6));
    const int16_t boats[6] = {4101, 0, 4103, 4104, 4105, 4106};
    for (size_t k = 0; k < 6; ++k) {
        QCOMPARE(g.SelSensyuID[k], boats[k]);
        QCOMPARE(g.SelShozokuMei[k].isEmpty(), k == 1);
    }
    const QStringList picked = lines(select->findChild<QListWidget*>(QStringLiteral("List2")));
    QCOMPARE(picked.size(), 6);
    QCOMPARE(picked[1], QStringLiteral("＊ 2号艇  9999  山田太郎（未登録）"));
    QCOMPARE(picked[2], QStringLiteral("東京    4103  64  選手4103"));

    // The race table shows the five in their boats' rows.
    click(select, "CommandDisp_1");
    QWidget* table = Forms::find(QStringLiteral("DispForm"));
    QVERIFY(table);
    auto cell = [table](const char* name, int row) {
        return table->findChild<QLabel*>(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(row))->text();
    };
    QCOMPARE(cell("LabelKi", 0), QStringLiteral("4101"));
    QCOMPARE(cell("LabelKi", 1), QString());
    QCOMPARE(cell("LabelNo", 2), QStringLiteral("3"));
    QCOMPARE(cell("LabelKi", 2), QStringLiteral("4103"));
    QCOMPARE(cell("LabelKi", 5), QStringLiteral("4106"));

    // 全レース登録 stored this race: storing it again is asked about.
    MsgBoxScript::queue(Mb::Yes);
    trigger(table, "Menu_Add");
    QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("2024.8.1 のレースは既に登録されています。もう一度登録しますか。\r\n"));
    const auto rows = history(folder_->folder());
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows.back().racers, (std::array<int, 6>{4101, 0, 4103, 4104, 4105, 4106}));
    QCOMPARE(rows.back().raceNo, 5);
    trigger(table, "Menu_Close");

    // A racer picked from the result list takes the empty boat.
    MsgBoxScript::shown().clear();
    click(select, "Kenmei_12");
    QListWidget* results = select->panel()->list();
    QVERIFY(results->count() > 0);
    ClickListLine(results, 0);
    QCOMPARE(select->W_SelCount, int16_t(6));
    QCOMPARE(g.SelSensyuID[1], int16_t(4001));
    QCOMPARE(lines(select->findChild<QListWidget*>(QStringLiteral("List2")))[1], results->item(0)->text());
    ClickListLine(results, 0);
    QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("既に６人選択済みです。")});
}

void DailyWindowsTest::tabAndEnterInTheProgramsWindow()
{
    InstallKeyboard();
    const QString path = folder_->file("B240801.TXT");
    WriteFile(path, ProgramFileBytes(kDay, {{7, false, {MakeProgramRace(1, 4001), MakeProgramRace(2, 4101)}}}));
    QWidget* programs = openPrograms(path);
    ClickListLine(list(programs, "ListBasho"), 0);
    ClickListLine(list(programs, "ListRace"), 0);
    programs->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(programs));

    // Tab goes through the window in reading order, through the grid and out of it.
    auto* first = programs->findChild<QWidget*>(QStringLiteral("CommandFile"));
    first->setFocus(Qt::TabFocusReason);
    QStringList order;
    for (int i = 0; i < 20 && (order.isEmpty() || QApplication::focusWidget() != first); ++i) {
        order << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(order, (QStringList{QStringLiteral("CommandFile"), QStringLiteral("CommandDownload"), QStringLiteral("ListBasho"), QStringLiteral("ListRace"),
                                 QStringLiteral("GridBoat"), QStringLiteral("CommandSentaku"), QStringLiteral("CommandAll"),
                                 QStringLiteral("CommandClose")}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("CommandClose"));

    // Enter on a racecourse goes to its races; Enter on a race does 選択.
    QListWidget* courses = list(programs, "ListBasho");
    courses->setFocus(Qt::TabFocusReason);
    QTest::keyClick(courses, Qt::Key_Return);
    QListWidget* races = list(programs, "ListRace");
    QCOMPARE(QApplication::focusWidget(), races);
    QTest::keyClick(races, Qt::Key_Down);
    QCOMPARE(races->currentRow(), 1);
    QTest::keyClick(races, Qt::Key_Return);
    flushDeletes();
    QVERIFY(!Forms::find(QStringLiteral("BangumiForm")));
    QCOMPARE(Global().SelRaceNo, int16_t(2));
    QCOMPARE(Global().SelSensyuID[0], int16_t(4101));
    QVERIFY2(MsgBoxScript::shown().empty(), qPrintable(MsgBoxScript::texts().join(QLatin1Char('|'))));
}

void DailyWindowsTest::theFileDialogSpeaksJapanese()
{
    QVERIFY(LoadQtJapanese());
    const QString path = folder_->file("B240801.TXT");
    WriteFile(path, ProgramFileBytes(kDay, {{7, false, {MakeProgramRace(1, 4001)}}}));
    RememberFolder(QStringLiteral("番組表"), folder_->folder());
    QWidget* select = Forms::show(QStringLiteral("SelectForm"));
    trigger(select, "Menu_Bangumi");
    QWidget* programs = Forms::find(QStringLiteral("BangumiForm"));

    // The real dialog, looked at and cancelled once it is up.
    FileDialogScript::stop();
    QString folder;
    QStringList texts;
    bool seen = false;
    QTimer::singleShot(0, programs, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        folder = dialog->directory().absolutePath();
        for (const char* name : {"backButton", "forwardButton", "toParentButton", "newFolderButton", "listModeButton",
                                 "detailModeButton"})
            if (auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name)))
                texts << button->toolTip();
        if (auto* tree = dialog->findChild<QTreeView*>(QStringLiteral("treeView")))
            for (int c = 0; c < tree->model()->columnCount(); ++c)
                texts << tree->model()->headerData(c, Qt::Horizontal).toString();
        if (auto* places = dialog->findChild<QListView*>(QStringLiteral("sidebar")))
            texts << places->model()->index(0, 0).data().toString();  // the whole file system
        for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
            if (auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name)))
                texts << label->text();
        for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons())
            texts << button->text();
        dialog->reject();
    });
    click(programs, "CommandFile");
    FileDialogScript::start();
    QVERIFY(seen);
    QCOMPARE(folder, QDir(folder_->folder()).absolutePath());
    QCOMPARE(texts.size(), 6 + 4 + 1 + 3 + 2);
    const QRegularExpression english(QStringLiteral("[A-Za-z]{2,}"));
    for (const QString& text : texts)
        QVERIFY2(!text.isEmpty() && !english.match(text).hasMatch(), qPrintable(texts.join(QLatin1Char('|'))));
    // Qt's own texts: the buttons' tips, the columns, the whole file system.
    QCOMPARE(texts.mid(0, 11), (QStringList{QStringLiteral("戻る"), QStringLiteral("進む"), QStringLiteral("親ディレクトリ"),
                                             QStringLiteral("新しいフォルダの作成"), QStringLiteral("一覧表示"),
                                             QStringLiteral("詳細表示"), QStringLiteral("名前"), QStringLiteral("サイズ"),
                                             QStringLiteral("タイプ"), QStringLiteral("更新日"), QStringLiteral("コンピュータ")}));
    QVERIFY2(texts.contains(QStringLiteral("開く(&O)")), qPrintable(texts.join(QLatin1Char('|'))));
    QCOMPARE(list(programs, "ListBasho")->count(), 0);  // cancelled: nothing read
}

void DailyWindowsTest::dialogsStartInTheFolderLastUsed()
{
    KeepFoldersInDatabase();
    QDir(folder_->folder()).mkdir(QStringLiteral("week"));
    const QString path = folder_->file("week/B240801.TXT");
    WriteFile(path, ProgramFileBytes(kDay, {{7, false, {MakeProgramRace(1, 4001)}}}));
    QWidget* programs = openPrograms(path);
    QCOMPARE(FileDialogScript::asked().back().folder, QDir::homePath());  // the first time
    click(programs, "CommandFile");  // cancelled
    QCOMPARE(FileDialogScript::asked().back().folder, QDir(folder_->file("week")).absolutePath());
    // Kept in the database; the results have a folder of their own.
    QCOMPARE(Database(folder_->folder()).setting(QStringLiteral("フォルダ:番組表")), QDir(folder_->file("week")).absolutePath());
    ReadResultsFile(programs);
    QCOMPARE(FileDialogScript::asked().back().caption, QStringLiteral("競走成績のファイル"));
    QCOMPARE(FileDialogScript::asked().back().folder, QDir::homePath());
}

void DailyWindowsTest::aBrokenProgramFileChangesNothing()
{
    const QString good = folder_->file("B240801.TXT");
    const QByteArray bytes = ProgramFileBytes(kDay, {{7, false, {MakeProgramRace(1, 4001)}}});
    WriteFile(good, bytes);
    QWidget* programs = openPrograms(good);
    ClickListLine(list(programs, "ListBasho"), 0);

    const QByteArray boat = BoatLine(4, MakeProgramRace(1, 4001).boats[3]);
    QByteArray broken = bytes;
    broken.replace(boat, boat.left(70));
    const QString bad = folder_->file("B240802.TXT");
    WriteFile(bad, broken);
    FileDialogScript::queue(bad);
    click(programs, "CommandFile");
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QVERIFY(MsgBoxScript::shown()[0].text.contains(QStringLiteral("B240802.TXT は番組表のファイルとして読めません。%1 行目").arg(LineOf(bytes, boat))));
    QCOMPARE(lines(list(programs, "ListBasho")), QStringList{QStringLiteral("07 蒲郡")});
    QCOMPARE(list(programs, "ListRace")->count(), 1);
    QVERIFY(history(folder_->folder()).empty());
}

void DailyWindowsTest::resultsFillExactlyTheMatchingSeats()
{
    const QString folder = folder_->folder();
    store(folder, kDay, 7, 1, {4001, 4002, 4003, 4004, 4005, 4006});
    store(folder, kDay, 7, 2, {4101, 0, 4103, 9999, 4105, 4106});
    store(folder, kDay, 7, 7, {4001, 4002, 4003, 4004, 4005, 4006});  // cancelled
    store(folder, kDay, 9, 1, {4001, 4002, 4003, 4004, 4005, 4006});  // not finished yet
    store(folder, kDay, 5, 1, {4001, 4002, 4003, 4004, 4005, 4006});  // not in the file
    store(folder, kDay.addDays(1), 7, 1, {4001, 4002, 4003, 4004, 4005, 4006});  // another day

    ResultRaceText first = MakeResultRace(1, 4001);
    const QStringList codes = {QStringLiteral("02"), QStringLiteral("01"), QStringLiteral("F"),
                               QStringLiteral("03"), QStringLiteral("K0"), QStringLiteral("03")};  // a dead heat for third
    for (int k = 0; k < 6; ++k)
        first.lines[size_t(k)].code = codes[k];
    ResultRaceText second = MakeResultRace(2, 4101);
    ResultRaceText cancelled;
    cancelled.raceNo = 7;
    cancelled.cancelled = true;
    const QString path = folder_->file("K240801.TXT");
    WriteFile(path, ResultFileBytes(kDay, {{7, false, {first, second, cancelled}}, {9, true, {}}}));

    QWidget* form = Forms::show(QStringLiteral("RirekiForm"));
    PickComboItem(form->findChild<QComboBox*>(QStringLiteral("ComboRireki")), 0);
    QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("TextJyuni_0"))->text(), QStringLiteral("0"));
    FileDialogScript::queue(path);
    MsgBoxScript::queue(Mb::Yes);
    trigger(form, "Menu_Seiseki");
    QCOMPARE(FileDialogScript::asked().size(), size_t(1));
    QCOMPARE(FileDialogScript::asked()[0].caption, QStringLiteral("競走成績のファイル"));
    QVERIFY(!FileDialogScript::asked()[0].save);

    const auto& shown = MsgBoxScript::shown();
    QCOMPARE(shown.size(), size_t(2));
    QCOMPARE(shown[0].text, QStringLiteral("2024年8月1日の成績を読み込みます。\r\n"
                                           "順位を入れるレース：2 件（順位 8 席、F・L・K・S など 2 席）\r\n"
                                           "成績のないレース（中止・未実施・ファイルにない場）：3 件\r\n"
                                           "成績に登番のない席：1 席\r\n"
                                           "履歴テーブルを更新しますか。\r\n"));
    QCOMPARE(shown[0].title, QStringLiteral("履歴テーブル更新"));
    QCOMPARE(shown[0].style, Mb::Confirm);
    QVERIFY(shown[1].text.startsWith(QStringLiteral("2024年8月1日の成績を読み込みました。\r\n順位を入れたレース：2 件（順位 8 席、F・L・K・S など 2 席）\r\n")));

    const auto rows = history(folder);
    QCOMPARE(rows[0].results, (std::array<int, 6>{2, 1, 0, 3, 0, 3}));
    QCOMPARE(rows[1].results, (std::array<int, 6>{1, 0, 3, 0, 5, 6}));
    for (size_t r = 2; r < 6; ++r)
        QCOMPARE(rows[r].results, (std::array<int, 6>{}));
    // The race on show shows what was read.
    QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("TextJyuni_0"))->text(), QStringLiteral("2"));
    QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("TextJyuni_5"))->text(), QStringLiteral("3"));
    // The codes are kept as the file has them, and shown.
    QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("TextJyuni_2"))->text(), QStringLiteral("F"));
    QCOMPARE(form->findChild<QLineEdit*>(QStringLiteral("TextJyuni_4"))->text(), QStringLiteral("K0"));
}

void DailyWindowsTest::enteredPositionsChangeOnlyWithConsent()
{
    const QString folder = folder_->folder();
    store(folder, kDay, 7, 1, {4001, 4002, 4003, 4004, 4005, 4006});
    {
        Database db(folder);
        db.execute(QStringLiteral("UPDATE T_レース履歴 SET 結果1 = 6, 結果2 = 2"));  // 結果2 stays 2
    }
    const QString path = folder_->file("K240801.TXT");
    WriteFile(path, ResultFileBytes(kDay, {{7, false, {MakeResultRace(1, 4001)}}}));
    QWidget* form = Forms::show(QStringLiteral("RirekiForm"));

    FileDialogScript::queue(path);
    MsgBoxScript::queue(Mb::No);
    trigger(form, "Menu_Seiseki");
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QVERIFY(MsgBoxScript::shown()[0].text.contains(QStringLiteral("入力済みの順位が 1 席で変わります。\r\n履歴テーブルを更新しますか。")));
    QCOMPARE(history(folder)[0].results, (std::array<int, 6>{6, 2, 0, 0, 0, 0}));

    FileDialogScript::queue(path);
    MsgBoxScript::queue(Mb::Yes);
    trigger(form, "Menu_Seiseki");
    QCOMPARE(history(folder)[0].results, (std::array<int, 6>{1, 2, 3, 4, 5, 6}));

    // Cancelling the file choice does nothing at all.
    MsgBoxScript::shown().clear();
    trigger(form, "Menu_Seiseki");
    QVERIFY(MsgBoxScript::shown().empty());
}

void DailyWindowsTest::aBrokenResultsFileWritesNothing()
{
    const QString folder = folder_->folder();
    store(folder, kDay, 7, 1, {4001, 4002, 4003, 4004, 4005, 4006});
    // The first racecourse is sound; the break comes in the second.
    const ResultRaceText race = MakeResultRace(1, 4001);
    QByteArray bytes = ResultFileBytes(kDay, {{7, false, {race}}, {8, false, {race}}});
    const QByteArray last = ResultLine(race.lines[5]);
    const qsizetype at = bytes.lastIndexOf(last);
    bytes.replace(at, last.size(), last.left(60));
    const QString path = folder_->file("K240801.TXT");
    WriteFile(path, bytes);

    QWidget* form = Forms::show(QStringLiteral("RirekiForm"));
    FileDialogScript::queue(path);
    MsgBoxScript::queue(Mb::Yes);
    trigger(form, "Menu_Seiseki");
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QVERIFY(MsgBoxScript::shown()[0].text.contains(QStringLiteral("K240801.TXT は競走成績のファイルとして読めません。")));
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("エラー"));
    QCOMPARE(history(folder)[0].results, (std::array<int, 6>{}));

    // A file of a day with no stored race says so.
    WriteFile(path, ResultFileBytes(kDay.addDays(3), {{7, false, {race}}}));
    MsgBoxScript::shown().clear();
    FileDialogScript::queue(path);
    trigger(form, "Menu_Seiseki");
    QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("2024年8月4日のレース履歴がありません。\r\n")});
    QCOMPARE(history(folder)[0].results, (std::array<int, 6>{}));
}

void DailyWindowsTest::racesWithAnImpossibleDateAreNotStored()
{
    const QString folder = folder_->folder();
    Database db(folder);
    const DayRaces::StoredRace good{2024, 8, 1, 7, 1, {4001, 4002, 0, 0, 0, 0}};
    DayRaces::StoredRace badDay = good;
    badDay.day = -9999;
    DayRaces::StoredRace badMonth = good;
    badMonth.month = 99;
    QString description;
    QCOMPARE(ErrorNumberOf([&] { DayRaces::StoreRaces(db, {good, badDay}); }, &description), ErrorNumber::InvalidArgument);
    QVERIFY2(description.startsWith(QStringLiteral("日が正しくありません")), qPrintable(description));
    QCOMPARE(ErrorNumberOf([&] { DayRaces::StoreRaces(db, {badMonth}); }, &description), ErrorNumber::InvalidArgument);
    QVERIFY2(description.startsWith(QStringLiteral("月が正しくありません")), qPrintable(description));
    QCOMPARE(history(folder).size(), size_t(0));  // all of them or none
    DayRaces::StoreRaces(db, {good});
    QCOMPARE(history(folder).size(), size_t(1));
}
