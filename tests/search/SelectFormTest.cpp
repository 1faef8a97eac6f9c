#include "ButtonNames.h"
#include "Database.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "Keyboard.h"
#include "MsgBox.h"
#include "Recordset.h"
#include "SearchPanel.h"
#include "SelectForm.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <sqlite3.h>

namespace {
std::vector<TestRacer> racersOf(int first, int count, int ken, int ki = 64)
{
    std::vector<TestRacer> list;
    for (int i = 0; i < count; ++i) {
        TestRacer r{first + i};
        r.ken = ken;
        r.ki = ki;
        list.push_back(r);
    }
    return list;
}
}

class SelectFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;
    SelectForm* form_ = nullptr;

    SelectForm* open()
    {
        form_ = qobject_cast<SelectForm*>(Forms::show(QStringLiteral("SelectForm")));
        return form_;
    }
    template <typename T>
    T* get(const QString& name) { return child<T>(form_, name); }
    QListWidget* list1() { return get<QListWidget>(QStringLiteral("List1")); }
    QListWidget* list2() { return get<QListWidget>(QStringLiteral("List2")); }
    void press(const QString& name) { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
    void pickInCombo(const QString& name, const QString& text)
    {
        auto* box = get<QComboBox>(name);
        PickComboItem(box, box->findText(text));
        QCOMPARE(box->currentText(), text);
    }
    void typeInto(const QString& name, const QString& text)
    {
        QLineEdit* edit = get<QComboBox>(name)->lineEdit();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    QStringList lines(QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }

private slots:
    void init()
    {
        folder_ = std::make_unique<TestFolder>();
        Forms::registerForm(QStringLiteral("SelectForm"), [] { return new SelectForm; });
        RegisterStandIn(QStringLiteral("MainForm"));
    }

    void cleanup()
    {
        UnloadAllWindows();
        form_ = nullptr;
        folder_.reset();
    }

    void everyMenuItemShowsItsWholeCaption() { VerifyMenusShowWholeCaptions(open()); }

    void prefectureSearchListsItsRacers()
    {
        auto racers = racersOf(4000, 3, 12);
        racers[1].name = QStringLiteral("鈴木一郎");
        racers.push_back({3000, 70, 14, QStringLiteral("神奈川太郎")});
        racers.push_back({3500, 70, 13});
        SeedRacers(folder_->folder(), racers);
        open();
        press(QStringLiteral("Kenmei_12"));
        QCOMPARE(lines(list1()), (QStringList{QStringLiteral("東京    4000  64  山田太郎"), QStringLiteral("東京    4001  64  鈴木一郎"),
                                             QStringLiteral("東京    4002  64  山田太郎")}));
        QVERIFY(MsgBoxScript::shown().empty());
        QCOMPARE(form_->panel()->W_KenNo, int16_t(12));

        // A three-character prefecture is followed by one blank.
        press(QStringLiteral("Kenmei_14"));
        QCOMPARE(lines(list1()), QStringList{QStringLiteral("神奈川 3000  70  神奈川太郎")});

        press(QStringLiteral("Kenmei_47"));
        QCOMPARE(list1()->count(), 0);
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("該当レコードがありません")});
    }

    void fiveHundredAndFiveHundredAndOne()
    {
        SeedRacers(folder_->folder(), racersOf(1000, 500, 40));
        auto more = racersOf(2000, 600, 41);
        SeedRacers(folder_->folder(), more);
        open();
        press(QStringLiteral("Kenmei_40"));
        QCOMPARE(list1()->count(), 500);
        QVERIFY(MsgBoxScript::shown().empty());
        press(QStringLiteral("Kenmei_41"));
        QCOMPARE(list1()->count(), 501);
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("県別領域オーバーフロー")});
        // The row table stays in step with the list.
        QCOMPARE(form_->panel()->row(500).sensyuId, int16_t(2500));
        QCOMPARE(list1()->item(500)->text(), QStringLiteral("長崎    2500  64  山田太郎"));
    }

    void termSearchWithAndBeforeAnyPrefecture()
    {
        SeedRacers(folder_->folder(), racersOf(4000, 3, 12, 64));
        open();
        QTest::mouseClick(get<QCheckBox>(QStringLiteral("CheckSelect")), Qt::LeftButton);
        QVERIFY(get<QCheckBox>(QStringLiteral("CheckSelect"))->isChecked());
        pickInCombo(QStringLiteral("ComboKi"), QStringLiteral("64"));
        QCOMPARE(list1()->count(), 0);
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("該当レコードがありません W_KI & W_KenNo64&0")});

        // With a prefecture pressed first, the AND search finds them.
        MsgBoxScript::shown().clear();
        press(QStringLiteral("Kenmei_12"));  // lists only term 64 (W_KI) of 東京
        QCOMPARE(list1()->count(), 3);
        pickInCombo(QStringLiteral("ComboKi"), QStringLiteral("64"));
        QCOMPARE(list1()->count(), 3);
        QVERIFY(MsgBoxScript::shown().empty());
    }

    void numberAndKanaSearches()
    {
        std::vector<TestRacer> racers = racersOf(4000, 2, 12);
        racers[0].yomi = QStringLiteral("ｶﾞﾓｳ");
        racers[1].yomi = QStringLiteral("ｶﾄｳ");
        SeedRacers(folder_->folder(), racers);
        open();
        pickInCombo(QStringLiteral("ComboToban"), QStringLiteral("4001"));
        QCOMPARE(lines(list1()), QStringList{QStringLiteral("東京    4001  64  山田太郎")});
        press(QStringLiteral("ComboNamae_5"));  // ｶ, voiced readings included
        QCOMPARE(list1()->count(), 2);
        press(QStringLiteral("ComboNamae_0"));
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("該当レコードがありません")});

        // The grid's empty places and ﾝ cannot be pressed.
        for (int k : {36, 38, 46, 47, 48, 49})
            QVERIFY(!get<QPushButton>(QStringLiteral("ComboNamae_%1").arg(k))->isVisible());
        QCOMPARE(get<QPushButton>(QStringLiteral("ComboNamae_45"))->text(), QStringLiteral("ﾜ"));
        QCOMPARE(get<QPushButton>(QStringLiteral("ComboNamae_39"))->text(), QStringLiteral("ﾖ"));
    }

    // Another program holds the database: the search reports it, and the
    // window stays usable for the next searches.
    void aFailedReopenLeavesTheWindowUsable()
    {
        std::vector<TestRacer> racers = racersOf(4000, 2, 12);
        racers[1].yomi = QStringLiteral("ｶﾄｳ");
        SeedRacers(folder_->folder(), racers);
        open();
        sqlite3* other = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(folder_->file("Vantor.mdb")).constData(), &other), SQLITE_OK);
        QCOMPARE(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        press(QStringLiteral("Kenmei_12"));
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
        QVERIFY(MsgBoxScript::shown()[0].text.startsWith(QStringLiteral("エラー番号 ")));
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);

        MsgBoxScript::shown().clear();
        press(QStringLiteral("ComboNamae_5"));
        QCOMPARE(lines(list1()), QStringList{QStringLiteral("東京    4001  64  山田太郎")});
        pickInCombo(QStringLiteral("ComboKi"), QStringLiteral("64"));
        QCOMPARE(list1()->count(), 2);
        pickInCombo(QStringLiteral("ComboToban"), QStringLiteral("4000"));
        QCOMPARE(list1()->count(), 1);
        press(QStringLiteral("Kenmei_12"));
        QCOMPARE(list1()->count(), 2);
        QVERIFY(MsgBoxScript::shown().empty());
    }

    void listAllOnAnEmptyExtractionKeepsTheList()
    {
        SeedRacers(folder_->folder(), racersOf(4000, 3, 12));
        Global().ExtractMode = 1;
        open();
        pickInCombo(QStringLiteral("ComboKi"), QStringLiteral("64"));
        QCOMPARE(list1()->count(), 3);
        press(QStringLiteral("Command500"));
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("該当レコードがありません")});
        QCOMPARE(list1()->count(), 3);
    }

    void extractionModeReadsTheExtractionQuery()
    {
        SeedRacers(folder_->folder(), racersOf(4000, 4, 12, 64));
        SeedExtraction(folder_->folder(), {4002});
        Global().ExtractMode = 1;
        open();
        QCOMPARE(get<QLabel>(QStringLiteral("LabelTable"))->text(), QStringLiteral("抽出テーブル"));
        QVERIFY(get<QWidget>(QStringLiteral("PicNo_2"))->isVisible());
        QVERIFY(get<QPushButton>(QStringLiteral("CommandDisp_4"))->isVisible());
        // Right after opening, a term search still reads the normal query.
        pickInCombo(QStringLiteral("ComboKi"), QStringLiteral("64"));
        QCOMPARE(list1()->count(), 4);
        press(QStringLiteral("Command500"));
        QCOMPARE(lines(list1()), QStringList{QStringLiteral("東京    4002  64  山田太郎")});
        pickInCombo(QStringLiteral("ComboKi"), QStringLiteral("64"));
        QCOMPARE(list1()->count(), 1);
        // Adding in extraction mode is refused.
        press(QStringLiteral("CommandDisp_4"));
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("抽出テーブル選択時は抽出テーブルへの追加は出来ません。")});
        QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("抽出テーブル追加エラー"));
        QCOMPARE(MsgBoxScript::shown()[0].style, Mb::OKOnly + Mb::Critical);
    }

    void pickingFillsTheSlotsAndTheSeventhIsRefused()
    {
        std::vector<TestRacer> racers = racersOf(4000, 7, 12);
        racers[0].name = QStringLiteral("一番");
        racers[0].place = 45.25;  // x 10 = 452.5: to the even 452
        racers[0].win = 0.375;    // x 100 = 37.5: to the even 38
        racers[1].name = QStringLiteral("二番");
        racers[2].name = QStringLiteral("三番");
        SeedRacers(folder_->folder(), racers);
        open();
        press(QStringLiteral("Kenmei_12"));
        for (int i = 0; i < 6; ++i)
            ClickListLine(list1(), i);
        QCOMPARE(form_->W_SelCount, int16_t(6));
        QVERIFY(get<QPushButton>(QStringLiteral("CommandDisp_4"))->isVisible());
        QVERIFY(form_->findChild<QAction*>(QStringLiteral("Menu_Select"))->isEnabled());
        const GlobalModule& g = Global();
        QCOMPARE(g.SelShozokuMei[0], QStringLiteral("東京    "));
        QCOMPARE(g.SelNamae[0], QStringLiteral("一番").leftJustified(22));
        QCOMPARE(g.SelFukuritu[0], int16_t(452));
        QCOMPARE(g.SelSyoritu[0], int16_t(38));
        QCOMPARE(g.SelBladType[0], QStringLiteral("A"));
        QCOMPARE(g.SelSeiNen[0], int16_t(1970));

        ClickListLine(list1(), 6);
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("既に６人選択済みです。")});
        QCOMPARE(list2()->count(), 6);
        QCOMPARE(g.SelSensyuID[5], int16_t(4005));
        QVERIFY(g.SelShozokuMei[6].isEmpty());
    }

    void removingTheFirstOfThree()
    {
        SeedRacers(folder_->folder(), racersOf(4000, 3, 12));
        open();
        press(QStringLiteral("Kenmei_12"));
        for (int i = 0; i < 3; ++i)
            ClickListLine(list1(), i);
        ClickListLine(list2(), 0);
        QCOMPARE(lines(list2()), (QStringList{QStringLiteral("東京    4001  64  山田太郎"), QStringLiteral("東京    4002  64  山田太郎")}));
        const GlobalModule& g = Global();
        QCOMPARE(form_->W_SelCount, int16_t(2));
        QCOMPARE(g.SelSensyuID[0], int16_t(4001));
        QCOMPARE(g.SelSensyuID[1], int16_t(4002));
        QCOMPARE(g.SelSensyuID[2], int16_t(0));
        QVERIFY(g.SelShozokuMei[2].isEmpty());
    }

    void addingToTheExtractionTable()
    {
        SeedRacers(folder_->folder(), racersOf(4000, 4, 12));
        std::vector<int> existing;
        for (int i = 0; i < 498; ++i)
            existing.push_back(10000 + i);
        SeedExtraction(folder_->folder(), existing);
        open();
        press(QStringLiteral("Kenmei_12"));
        for (int i = 0; i < 4; ++i)
            ClickListLine(list1(), i);
        MsgBoxScript::queue(Mb::Yes);
        press(QStringLiteral("CommandDisp_4"));
        const auto& shown = MsgBoxScript::shown();
        QCOMPARE(shown.size(), size_t(2));
        QCOMPARE(shown[0].text, QStringLiteral("選択ボックスの選手データを抽出テーブルへ追加しますか。"));
        QCOMPARE(shown[0].title, QStringLiteral("抽出テーブル追加"));
        QCOMPARE(shown[0].style, Mb::Confirm);
        QCOMPARE(shown[1].text, QStringLiteral("抽出テーブルは５００件までです。既存の抽出テーブルを削除後、再度実行して下さい。"));
        QCOMPARE(shown[1].title, QStringLiteral("抽出テーブルエラー"));
        Database db(folder_->folder());
        QCOMPARE(Recordset(db, QStringLiteral("T_選手抽出")).RecordCount(), 500);
    }

    void addingADuplicateGoesOnWithTheOthers()
    {
        std::vector<TestRacer> racers = racersOf(4000, 3, 12);
        racers[1].name = QStringLiteral("鈴木一郎");
        SeedRacers(folder_->folder(), racers);
        SeedExtraction(folder_->folder(), {4001});
        open();
        press(QStringLiteral("Kenmei_12"));
        for (int i = 0; i < 3; ++i)
            ClickListLine(list1(), i);
        MsgBoxScript::queue(Mb::No);
        form_->findChild<QAction*>(QStringLiteral("Menu_Select"))->trigger();
        {
            Database db(folder_->folder());
            QCOMPARE(Recordset(db, QStringLiteral("T_選手抽出")).RecordCount(), 1);  // No adds nothing
        }
        MsgBoxScript::shown().clear();
        MsgBoxScript::queue(Mb::Yes);
        form_->findChild<QAction*>(QStringLiteral("Menu_Select"))->trigger();
        QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
        QCOMPARE(MsgBoxScript::shown()[1].text, QStringLiteral("鈴木一郎さんは既に抽出テーブルにあるので追加出来ません。"));
        Database db(folder_->folder());
        QCOMPARE(Recordset(db, QStringLiteral("T_選手抽出")).RecordCount(), 3);
    }

    void switchingTables()
    {
        SeedRacers(folder_->folder(), racersOf(4000, 2, 12));
        open();
        auto* change = get<QPushButton>(QStringLiteral("CommandDisp_3"));
        QCOMPARE(change->text(), QStringLiteral("通常→抽出"));
        QVERIFY(!form_->findChild<QAction*>(QStringLiteral("Menu_Table_0"))->isEnabled());
        QVERIFY(!get<QWidget>(QStringLiteral("PicNo_2"))->isVisible());
        press(QStringLiteral("Kenmei_12"));
        ClickListLine(list1(), 0);
        press(QStringLiteral("CommandDisp_3"));
        QCOMPARE(Global().ExtractMode, int16_t(1));
        QCOMPARE(change->text(), QStringLiteral("抽出→通常"));
        QCOMPARE(get<QLabel>(QStringLiteral("LabelTable"))->text(), QStringLiteral("抽出テーブル"));
        QCOMPARE(list1()->count(), 0);
        QCOMPARE(list2()->count(), 1);  // the selection is kept
        QVERIFY(get<QWidget>(QStringLiteral("PicNo_2"))->isVisible());
        QVERIFY(!get<QPushButton>(QStringLiteral("CommandDisp_4"))->isVisible());
        QVERIFY(!form_->findChild<QAction*>(QStringLiteral("Menu_Select"))->isEnabled());
        // The prefecture search now reads the (empty) extraction table.
        press(QStringLiteral("Kenmei_12"));
        QCOMPARE(list1()->count(), 0);

        form_->findChild<QAction*>(QStringLiteral("Menu_Table_0"))->trigger();
        QCOMPARE(Global().ExtractMode, int16_t(0));
        QCOMPARE(get<QLabel>(QStringLiteral("LabelTable"))->text(), QStringLiteral("通常テーブル"));
        QVERIFY(get<QPushButton>(QStringLiteral("CommandDisp_4"))->isVisible());  // one racer selected
    }

    void surveyDateBoxes()
    {
        open();
        const QDate today = QDate::currentDate();
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboNen"))->currentText(), QString::number(today.year()));
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboNen"))->count(), 5);
        QCOMPARE(Global().ChosaNen, int16_t(today.year()));
        QCOMPARE(Global().ChosaTuki, int16_t(today.month()));
        QCOMPARE(Global().ChosaHi, int16_t(today.day()));
        QVERIFY(get<QComboBox>(QStringLiteral("ComboBasho"))->currentText().isEmpty());
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboBasho"))->count(), 24);
        MsgBoxScript::shown().clear();

        typeInto(QStringLiteral("ComboTuki"), QStringLiteral("4"));
        typeInto(QStringLiteral("ComboHi"), QStringLiteral("31"));
        QVERIFY(MsgBoxScript::texts().contains(QStringLiteral("日が正しくありません")));
        QCOMPARE(Global().ChosaHi, int16_t(31));  // kept as typed

        // A number that does not fit is refused; the last value stays.
        typeInto(QStringLiteral("ComboHi"), QStringLiteral("30"));
        typeInto(QStringLiteral("ComboNen"), QStringLiteral("1999"));
        MsgBoxScript::shown().clear();
        QTest::keyClicks(get<QComboBox>(QStringLiteral("ComboNen"))->lineEdit(), QStringLiteral("99"));
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
        QVERIFY(MsgBoxScript::shown()[0].text.contains(QStringLiteral("32767")));
        QVERIFY(MsgBoxScript::shown()[0].text.contains(QStringLiteral("大きすぎます")));
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboNen"))->currentText(), QStringLiteral("19999"));
        QCOMPARE(Global().ChosaNen, int16_t(19999));
        QTest::keyClicks(get<QComboBox>(QStringLiteral("ComboNen"))->lineEdit(), QStringLiteral("9"));
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboNen"))->currentText(), QStringLiteral("19999"));
        QCOMPARE(Global().ChosaNen, int16_t(19999));

        // Below the range the box says so.
        MsgBoxScript::shown().clear();
        typeInto(QStringLiteral("ComboRace"), QStringLiteral("-99999"));
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
        QVERIFY(MsgBoxScript::shown()[0].text.startsWith(QStringLiteral("「-99999」は小さすぎます。")));

        pickInCombo(QStringLiteral("ComboBasho"), QStringLiteral("住之江"));
        QCOMPARE(Global().SelKyoteijyoMei, QStringLiteral("住之江"));
        typeInto(QStringLiteral("ComboRace"), QStringLiteral("12"));
        QCOMPARE(Global().SelRaceNo, int16_t(12));
    }

    // A value too large entered at once (pasted, or committed by an input
    // method) is refused and the box shows the value in force; so for the
    // boxes filled when the window opened.
    void aNumberTooLargeAtOnceLeavesTheValueInForceShown()
    {
        Global().SelRaceNo = 7;
        open();
        const QString year = QString::number(QDate::currentDate().year());
        auto enterAtOnce = [&](const QString& name, const QString& text) {
            QLineEdit* edit = get<QComboBox>(name)->lineEdit();
            edit->selectAll();
            QInputMethodEvent committed;
            committed.setCommitString(text);
            QApplication::sendEvent(edit, &committed);
        };
        const std::pair<QString, const int16_t*> boxes[] = {{QStringLiteral("ComboRace"), &Global().SelRaceNo},
                                                          {QStringLiteral("ComboNen"), &Global().ChosaNen}};
        for (const auto& [name, value] : boxes) {
            const QString shown = get<QComboBox>(name)->currentText();
            const int16_t before = *value;
            MsgBoxScript::shown().clear();
            enterAtOnce(name, QStringLiteral("９９９９９"));
            QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
            QVERIFY(MsgBoxScript::shown()[0].text.contains(QStringLiteral("大きすぎます")));
            QCOMPARE(*value, before);
            QCOMPARE(get<QComboBox>(name)->currentText(), shown);
        }
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboRace"))->currentText(), QStringLiteral("7"));
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboNen"))->currentText(), year);
        // A value taken is what a refusal goes back to.
        enterAtOnce(QStringLiteral("ComboRace"), QStringLiteral("11"));
        enterAtOnce(QStringLiteral("ComboRace"), QStringLiteral("70000"));
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboRace"))->currentText(), QStringLiteral("11"));
        QCOMPARE(Global().SelRaceNo, int16_t(11));
    }

    // Back in the racer table a term search still reads the extraction
    // query; an empty extraction is no empty racer table.
    void anEmptyExtractionIsNoEmptyRacerTable()
    {
        SeedRacers(folder_->folder(), racersOf(4000, 3, 12));
        open();
        press(QStringLiteral("CommandDisp_3"));
        press(QStringLiteral("Kenmei_12"));  // reads the empty extraction
        press(QStringLiteral("CommandDisp_3"));
        QCOMPARE(Global().ExtractMode, int16_t(0));
        for (const QString& box : {QStringLiteral("ComboKi"), QStringLiteral("ComboToban")}) {
            MsgBoxScript::shown().clear();
            PickComboItem(get<QComboBox>(box), 0);
            QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
            QVERIFY2(MsgBoxScript::shown()[0].text.startsWith(QStringLiteral("該当レコードがありません")),
                     qPrintable(MsgBoxScript::shown()[0].text));
        }
        MsgBoxScript::shown().clear();
        press(QStringLiteral("ComboNamae_35"));
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("該当レコードがありません")});
        press(QStringLiteral("Kenmei_12"));  // the racer table again
        QCOMPARE(list1()->count(), 3);
    }

    void showingTheTableAndClosing()
    {
        SeedRacers(folder_->folder(), racersOf(4000, 2, 12));
        open();
        form_->findChild<QAction*>(QStringLiteral("Menu_Cancel"))->trigger();  // runs "show"
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("選手を選択して下さい")});
        press(QStringLiteral("Kenmei_12"));
        ClickListLine(list1(), 1);
        Global().ChosaNen = 1999;
        // Closing empties the race slots and returns to the main menu; the
        // survey date stays.
        form_->findChild<QAction*>(QStringLiteral("Menu_Disp"))->trigger();  // runs "close"
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Forms::find(QStringLiteral("SelectForm")));
        QVERIFY(Forms::find(QStringLiteral("MainForm")));
        QVERIFY(Global().SelShozokuMei[0].isEmpty());
        QCOMPARE(Global().ChosaNen, int16_t(1999));
    }

    void emptyingTheSelection()
    {
        SeedRacers(folder_->folder(), racersOf(4000, 2, 12));
        open();
        press(QStringLiteral("Kenmei_12"));
        ClickListLine(list1(), 0);
        ClickListLine(list1(), 1);
        press(QStringLiteral("CommandDisp_2"));
        QCOMPARE(list2()->count(), 0);
        QCOMPARE(form_->W_SelCount, int16_t(0));
        QVERIFY(Global().SelShozokuMei[0].isEmpty());
        QVERIFY(!get<QPushButton>(QStringLiteral("CommandDisp_4"))->isVisible());
    }

    void theRaceChosenBeforeIsShownWhenTheWindowOpensAgain()
    {
        open();
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboBasho"))->currentText(), QString());  // fresh start
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboRace"))->currentText(), QString());
        pickInCombo(QStringLiteral("ComboBasho"), QStringLiteral("江戸川"));
        pickInCombo(QStringLiteral("ComboRace"), QStringLiteral("12"));
        Forms::unload(form_);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        open();
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboBasho"))->currentText(), QStringLiteral("江戸川"));
        QCOMPARE(get<QComboBox>(QStringLiteral("ComboRace"))->currentText(), QStringLiteral("12"));
        QCOMPARE(Global().SelKyoteijyoMei, QStringLiteral("江戸川"));
        QCOMPARE(Global().SelRaceNo, int16_t(12));
    }

    void keyboardAndAnEmptyRacerTable()
    {
        InstallKeyboard();
        open();
        // With no racers at all the search says how to fill the table.
        press(QStringLiteral("Kenmei_12"));
        QCOMPARE(MsgBoxScript::texts(), QStringList{EmptyRacerTableText()});

        SeedRacers(folder_->folder(), racersOf(4000, 3, 12));
        MsgBoxScript::shown().clear();
        // Enter on a focused button presses it; Enter or Space on a result line adds the racer.
        QTest::keyClick(get<QPushButton>(QStringLiteral("Kenmei_12")), Qt::Key_Return);
        QCOMPARE(list1()->count(), 3);
        list1()->setCurrentRow(1);
        QTest::keyClick(list1(), Qt::Key_Return);
        list1()->setCurrentRow(2);
        QTest::keyClick(list1(), Qt::Key_Space);
        QCOMPARE(form_->W_SelCount, int16_t(2));
        QCOMPARE(Global().SelSensyuID[0], int16_t(4001));
        QCOMPARE(Global().SelSensyuID[1], int16_t(4002));
        QVERIFY(MsgBoxScript::shown().empty());
    }

    void tabGoesThroughTheWindowInReadingOrder()
    {
        open();
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_));
        auto* first = get<QPushButton>(QStringLiteral("CommandDisp_0"));
        first->setFocus(Qt::TabFocusReason);
        // The control that has the focus (an editable box's line edit stands for its box).
        auto focused = [] {
            QWidget* w = QApplication::focusWidget();
            return w && w->objectName().isEmpty() ? w->parentWidget() : w;
        };
        QList<QWidget*> order;
        for (int i = 0; i < 300 && (order.isEmpty() || focused() != first); ++i) {
            order << focused();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(focused(), first);
        auto at = [&](const QString& name) { return order.indexOf(get<QWidget>(name)); };

        // Every prefecture and every visible kana is reached, once.
        QList<QWidget*> map, kana;
        for (QWidget* w : order) {
            QCOMPARE(order.count(w), 1);
            if (w->objectName().startsWith(QStringLiteral("Kenmei_")))
                map << w;
            if (w->objectName().startsWith(QStringLiteral("ComboNamae_")))
                kana << w;
        }
        QCOMPARE(map.size(), 47);
        QCOMPARE(kana.size(), 44);
        // The map row by row from the left: each next button is further
        // right on the same row, or on a lower row.
        for (qsizetype i = 1; i < map.size(); ++i) {
            const QRect a = map[i - 1]->geometry(), b = map[i]->geometry();
            const bool sameRow = std::abs(a.top() - b.top()) < a.height() / 2;
            QVERIFY2(sameRow ? b.left() > a.left() : b.top() > a.top(),
                     qPrintable(map[i - 1]->objectName() + QStringLiteral(" → ") + map[i]->objectName()));
        }
        // The kana as the syllabary goes: column by column from the left.
        for (qsizetype i = 1; i < kana.size(); ++i) {
            const QRect a = kana[i - 1]->geometry(), b = kana[i]->geometry();
            QVERIFY(b.left() > a.left() || (b.left() == a.left() && b.top() > a.top()));
        }
        // Blocks from the top left to the bottom right.
        const QStringList blocks = {QStringLiteral("CommandDisp_6"), QStringLiteral("ComboNen"),   QStringLiteral("ComboRace"),
                                    QStringLiteral("Kenmei_1"),      QStringLiteral("CheckSelect"), QStringLiteral("ComboToban"),
                                    QStringLiteral("ComboKi"),       QStringLiteral("ComboNamae_0"), QStringLiteral("ComboNamae_45"),
                                    QStringLiteral("List1"),         QStringLiteral("List2")};
        for (qsizetype i = 1; i < blocks.size(); ++i)
            QVERIFY2(at(blocks[i - 1]) >= 0 && at(blocks[i - 1]) < at(blocks[i]), qPrintable(blocks[i]));
        QVERIFY(at(QStringLiteral("Kenmei_2")) < at(QStringLiteral("Kenmei_1")));
    }

    void everyButtonHasANameForScreenReaders()
    {
        NameButtonsForScreenReaders();
        open();
        int pictures = 0;
        for (QAbstractButton* button : form_->findChildren<QAbstractButton*>()) {
            if (!button->isVisibleTo(form_))
                continue;  // the empty places of the kana grid
            QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(button);
            QVERIFY(reader);
            QVERIFY2(!reader->text(QAccessible::Name).isEmpty(), qPrintable(button->objectName()));
            if (button->text().isEmpty()) {
                // A picture button is named by its tooltip.
                QCOMPARE(reader->text(QAccessible::Name), button->toolTip());
                ++pictures;
            }
        }
        QCOMPARE(pictures, 5);  // 0-2, 5 and 6; 4 is hidden until a racer is picked, and named as well
        QCOMPARE(get<QPushButton>(QStringLiteral("CommandDisp_1"))->accessibleName(), QStringLiteral("ﾊﾞｲｵﾘｽﾞﾑを表示します。"));
        QCOMPARE(get<QPushButton>(QStringLiteral("CommandDisp_4"))->accessibleName(),
                 QStringLiteral("選択ﾎﾞｯｸｽに表示されている選手ﾃﾞｰﾀを抽出ﾃｰﾌﾞﾙに追加します。"));
    }
};

QTEST_MAIN(SelectFormTest)
#include "SelectFormTest.moc"
