#include "SensyuFormTest.h"

#include "Basic.h"
#include "Database.h"
#include "EngineErrors.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MainForm.h"
#include "MsgBox.h"
#include "Recordset.h"
#include "SensyuForm.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {
std::unique_ptr<TestFolder> g_folder;
SensyuForm* g_form = nullptr;

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

SensyuForm* open()
{
    g_form = qobject_cast<SensyuForm*>(Forms::show(QStringLiteral("SensyuForm")));
    return g_form;
}

template <typename T>
T* get(const QString& name) { return child<T>(g_form, name); }

QListWidget* list1() { return get<QListWidget>(QStringLiteral("List1")); }
QLineEdit* edit(const char* name) { return get<QLineEdit>(QString::fromLatin1(name)); }
QComboBox* combo(const char* name) { return get<QComboBox>(QString::fromLatin1(name)); }
void press(const QString& name) { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
void trigger(const QString& name) { g_form->findChild<QAction*>(name)->trigger(); }
void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Types into a box as a user does, replacing what it held; the text comes
// as a Japanese input method hands it over.
void typeInto(QWidget* box, const QString& text)
{
    QLineEdit* line = qobject_cast<QLineEdit*>(box);
    if (auto* c = qobject_cast<QComboBox*>(box))
        line = c->lineEdit();
    line->selectAll();
    QTest::keyClick(line, Qt::Key_Delete);
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QApplication::sendEvent(line, &typed);
}

QStringList lines()
{
    QStringList out;
    for (int i = 0; i < list1()->count(); ++i)
        out << list1()->item(i)->text();
    return out;
}

// One value of the database, read through a connection of its own.
QVariant stored(const QString& sql)
{
    Database db(g_folder->folder());
    Statement select = db.prepare(sql);
    return select.step() ? select.value(0) : QVariant();
}
qint64 count(const QString& table) { return stored(QStringLiteral("SELECT count(*) FROM ") + table).toLongLong(); }

ShownBox lastBox() { return MsgBoxScript::shown().empty() ? ShownBox{} : MsgBoxScript::shown().back(); }
}

void SensyuFormTest::init()
{
    g_folder = std::make_unique<TestFolder>();
    Forms::registerForm(QStringLiteral("SensyuForm"), [] { return new SensyuForm; });
    RegisterStandIn(QStringLiteral("MainForm"));
}

void SensyuFormTest::cleanup()
{
    UnloadAllWindows();
    g_form = nullptr;
    g_folder.reset();
}

void SensyuFormTest::openingFromTheMainMenuAndClosing()
{
    Forms::registerForm(QStringLiteral("MainForm"), [] { return new MainForm; });
    Global().SelShozokuMei[0] = QStringLiteral("東京  ");
    Global().SelDetailIndex = 3;
    auto* menu = qobject_cast<MainForm*>(Forms::show(QStringLiteral("MainForm")));
    QTest::mouseClick(menu->findChild<QPushButton*>(QStringLiteral("CommandSelect_3")), Qt::LeftButton);
    processDeletes();
    g_form = qobject_cast<SensyuForm*>(Forms::find(QStringLiteral("SensyuForm")));
    QVERIFY(g_form && g_form->isVisible());
    QVERIFY(!Forms::find(QStringLiteral("MainForm")));
    QVERIFY(Global().SelShozokuMei[0].isEmpty());
    QCOMPARE(Global().SelDetailIndex, int16_t(0));
    QCOMPARE(g_form->windowTitle(), QStringLiteral("選手テーブルメンテナンス"));
    QCOMPARE(list1()->height(), 240);
    QCOMPARE(get<QLabel>(QStringLiteral("LabelSentaku"))->text(), QStringLiteral("編集ボックス"));
    QCOMPARE(get<QLabel>(QStringLiteral("LabelHensyu_4"))->text(), QStringLiteral("ﾖﾐｶﾞﾅ"));
    QCOMPARE(get<QPushButton>(QStringLiteral("CommandDisp_8"))->toolTip(),
             QStringLiteral("リストに表示されている抽出テーブルのデータを全て削除します。"));
    QCOMPARE(combo("ComboSyozoku")->count(), 47);
    QCOMPARE(combo("ComboBladtype")->itemText(3), QStringLiteral("AB"));

    // Its exit button returns to the main menu; so does the menu's entry.
    press(QStringLiteral("CommandDisp_0"));
    processDeletes();
    QVERIFY(!Forms::find(QStringLiteral("SensyuForm")));
    menu = qobject_cast<MainForm*>(Forms::find(QStringLiteral("MainForm")));
    QVERIFY(menu && menu->isVisible());
    menu->findChild<QAction*>(QStringLiteral("Menu_Sensyu"))->trigger();
    processDeletes();
    g_form = qobject_cast<SensyuForm*>(Forms::find(QStringLiteral("SensyuForm")));
    QVERIFY(g_form);
    trigger(QStringLiteral("Menu_Close"));
    processDeletes();
    QVERIFY(!Forms::find(QStringLiteral("SensyuForm")));
    QVERIFY(Forms::find(QStringLiteral("MainForm")));
}

void SensyuFormTest::presentationFollowsTheTable()
{
    Global().ExtractMode = 1;
    open();
    QCOMPARE(get<QPushButton>(QStringLiteral("CommandDisp_5"))->text(), QStringLiteral("抽出→通常"));
    QCOMPARE(get<QLabel>(QStringLiteral("LabelTable"))->text(), QStringLiteral("抽出テーブル"));
    QCOMPARE(g_form->findChild<QAction*>(QStringLiteral("Menu_Ment_1"))->text(), QStringLiteral("全削除(C)"));
    QVERIFY(g_form->findChild<QAction*>(QStringLiteral("Menu_Table_0"))->isEnabled());
    QVERIFY(!g_form->findChild<QAction*>(QStringLiteral("Menu_Table_1"))->isEnabled());
    QVERIFY(get<QWidget>(QStringLiteral("PicNo_2"))->isVisible());
    QVERIFY(!get<QPushButton>(QStringLiteral("CommandDisp_2"))->isVisible());
    QVERIFY(get<QPushButton>(QStringLiteral("CommandDisp_8"))->isVisible());

    // The menu's second entry deletes the listed rows here; with none listed
    // it says so.
    trigger(QStringLiteral("Menu_Ment_1"));
    QCOMPARE(lastBox().title, QStringLiteral("抽出テーブル全削除エラー"));
    QCOMPARE(lastBox().text, QStringLiteral("削除したいレコードをリストに表示させてから実行して下さい。\r\n"));
    QCOMPARE(lastBox().style, Mb::OKOnly + Mb::Critical);
    // Adding is refused while the extraction table is in use.
    g_form->CommandDisp_Click(2);
    QCOMPARE(lastBox().title, QStringLiteral("抽出テーブル追加処理選択エラー"));
    QCOMPARE(lastBox().text, QStringLiteral("抽出テーブルの場合は追加処理は選択出来ません\r\n"));

    trigger(QStringLiteral("Menu_Table_0"));
    QCOMPARE(Global().ExtractMode, int16_t(0));
    QCOMPARE(get<QPushButton>(QStringLiteral("CommandDisp_5"))->text(), QStringLiteral("通常→抽出"));
    QCOMPARE(get<QLabel>(QStringLiteral("LabelTable"))->text(), QStringLiteral("通常テーブル"));
    QCOMPARE(g_form->findChild<QAction*>(QStringLiteral("Menu_Ment_1"))->text(), QStringLiteral("追加(A)"));
    QVERIFY(!get<QWidget>(QStringLiteral("PicNo_2"))->isVisible());
    QVERIFY(get<QPushButton>(QStringLiteral("CommandDisp_2"))->isVisible());
    QVERIFY(!get<QPushButton>(QStringLiteral("CommandDisp_8"))->isVisible());
    // Now the second entry adds: its question comes up.
    MsgBoxScript::queue(Mb::No);
    trigger(QStringLiteral("Menu_Ment_1"));
    QCOMPARE(lastBox().title, QStringLiteral("選手テーブル追加"));
    QCOMPARE(lastBox().text, QStringLiteral("選手テーブルを追加しますか。\r\n"));
    QCOMPARE(lastBox().style, Mb::Confirm);
}

void SensyuFormTest::listClickFillsTheEditBox()
{
    auto racers = racersOf(4000, 2, 12);
    racers[1].name = QStringLiteral("鈴木一郎");
    racers[1].yomi = QStringLiteral("ｽｽﾞｷ ｲﾁﾛｳ");
    racers[1].blood = 4;
    racers[1].win = 6.5;
    racers[1].place = 45;
    SeedRacers(g_folder->folder(), racers);
    {
        Database db(g_folder->folder());
        db.execute(QStringLiteral("UPDATE T_選手 SET 期 = NULL, 級 = NULL, 勝率 = NULL, 複勝率 = NULL WHERE 選手ID = 4000"));
    }
    open();
    g_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(g_form));
    press(QStringLiteral("Kenmei_12"));
    QCOMPARE(lines(), (QStringList{QStringLiteral("東京    4000  0  山田太郎"), QStringLiteral("東京    4001  64  鈴木一郎")}));
    ClickListLine(list1(), 1);
    QCOMPARE(combo("ComboSyozoku")->currentText(), QStringLiteral("東京"));
    QCOMPARE(edit("Ki")->text(), QStringLiteral("64"));
    QCOMPARE(edit("Toban")->text(), QStringLiteral("4001"));
    QCOMPARE(edit("Namae")->text(), QStringLiteral("鈴木一郎"));
    QCOMPARE(edit("Yomigana")->text(), QStringLiteral("ｽｽﾞｷ ｲﾁﾛｳ"));
    QCOMPARE(edit("Kyu")->text(), QStringLiteral("A1"));
    QCOMPARE(edit("Seinen")->text(), QStringLiteral("1970"));
    QCOMPARE(edit("Seituki")->text(), QStringLiteral("5"));
    QCOMPARE(edit("Seihi")->text(), QStringLiteral("12"));
    QCOMPARE(combo("ComboBladtype")->currentText(), QStringLiteral("AB"));
    QCOMPARE(edit("Syoritu")->text(), QStringLiteral("6.5"));
    QCOMPARE(edit("Fukuritu")->text(), QStringLiteral("45"));
    QVERIFY(combo("ComboSyozoku")->hasFocus());

    // Empty term and rates show 0, an empty class nothing.
    ClickListLine(list1(), 0);
    QCOMPARE(edit("Ki")->text(), QStringLiteral("0"));
    QCOMPARE(edit("Kyu")->text(), QString());
    QCOMPARE(edit("Syoritu")->text(), QStringLiteral("0"));
    QCOMPARE(edit("Fukuritu")->text(), QStringLiteral("0"));
    QCOMPARE(combo("ComboBladtype")->currentText(), QStringLiteral("A"));
}

void SensyuFormTest::updateAndDeleteNeedASelection()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 2, 12));
    open();
    press(QStringLiteral("Kenmei_12"));
    for (const char* button : {"CommandDisp_1", "CommandDisp_3"}) {
        MsgBoxScript::shown().clear();
        press(QString::fromLatin1(button));
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
        QCOMPARE(lastBox().title, QStringLiteral("レコード未選択エラー"));
        QCOMPARE(lastBox().text, QStringLiteral("レコードを選択してから実行して下さい。\r\n"));
        QCOMPARE(lastBox().style, Mb::OKOnly + Mb::Critical);
    }
    QCOMPARE(count(QStringLiteral("T_選手")), 2);
}

void SensyuFormTest::updateWritesTheBoxes()
{
    auto racers = racersOf(4000, 3, 12);
    racers[1].name = QStringLiteral("鈴木一郎");
    SeedRacers(g_folder->folder(), racers);
    {
        Database db(g_folder->folder());
        db.execute(QStringLiteral("UPDATE T_選手 SET 級 = NULL WHERE 選手ID = 4001"));
    }
    open();
    press(QStringLiteral("Kenmei_12"));
    ClickListLine(list1(), 1);
    typeInto(edit("Syoritu"), QStringLiteral("7.25"));
    typeInto(edit("Yomigana"), QStringLiteral("ﾀﾅｶ"));
    typeInto(edit("Seituki"), QStringLiteral("12月"));
    typeInto(combo("ComboSyozoku"), QStringLiteral("大阪"));
    typeInto(combo("ComboBladtype"), QStringLiteral("O"));

    // No writes nothing.
    MsgBoxScript::queue(Mb::No);
    press(QStringLiteral("CommandDisp_1"));
    QCOMPARE(lastBox().title, QStringLiteral("選手テーブル更新"));
    QCOMPARE(lastBox().text, QStringLiteral("4001 鈴木一郎　選手の内容を更新しますか。\r\n"));
    QCOMPARE(lastBox().style, Mb::Confirm);
    QCOMPARE(stored(QStringLiteral("SELECT 勝率 FROM T_選手 WHERE 選手ID = 4001")).toDouble(), 6.52);

    MsgBoxScript::queue(Mb::Yes);
    trigger(QStringLiteral("Menu_Ment_0"));
    QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
    QCOMPARE(stored(QStringLiteral("SELECT 勝率 FROM T_選手 WHERE 選手ID = 4001")).toDouble(), 7.25);
    QCOMPARE(stored(QStringLiteral("SELECT 所属ID FROM T_選手 WHERE 選手ID = 4001")).toInt(), 28);
    QCOMPARE(stored(QStringLiteral("SELECT 血液型ID FROM T_選手 WHERE 選手ID = 4001")).toInt(), 3);
    QCOMPARE(stored(QStringLiteral("SELECT 生月 FROM T_選手 WHERE 選手ID = 4001")).toInt(), 12);
    QCOMPARE(stored(QStringLiteral("SELECT よみがな１桁 FROM T_選手 WHERE 選手ID = 4001")).toString(), QStringLiteral("ﾀ"));
    // An empty class is saved as an empty text.
    QCOMPARE(stored(QStringLiteral("SELECT typeof(級) || ':' || 級 FROM T_選手 WHERE 選手ID = 4001")).toString(), QStringLiteral("text:"));
    // The list is not rebuilt, and the others are untouched.
    QCOMPARE(list1()->item(1)->text(), QStringLiteral("東京    4001  64  鈴木一郎"));
    QCOMPARE(list1()->currentRow(), 1);
    QCOMPARE(stored(QStringLiteral("SELECT 勝率 FROM T_選手 WHERE 選手ID = 4000")).toDouble(), 6.52);
}

void SensyuFormTest::updateWithAChangedNumber()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 3, 12));
    SeedExtraction(g_folder->folder(), {4001});
    open();
    press(QStringLiteral("Kenmei_12"));
    ClickListLine(list1(), 1);
    typeInto(edit("Toban"), QStringLiteral("4100"));
    MsgBoxScript::queue(Mb::Yes);
    press(QStringLiteral("CommandDisp_1"));
    QCOMPARE(count(QStringLiteral("T_選手 WHERE 選手ID = 4001")), 0);
    QCOMPARE(count(QStringLiteral("T_選手 WHERE 選手ID = 4100")), 1);
    QCOMPARE(count(QStringLiteral("T_選手")), 3);
    // The old line stays until the next search.
    QCOMPARE(list1()->item(1)->text(), QStringLiteral("東京    4001  64  山田太郎"));

    // That old line names a racer who is gone: updating or deleting it is
    // an error and touches no other racer.
    const QString all = QStringLiteral("SELECT group_concat(選手ID || 勝率, '/') FROM T_選手");
    const QString before = stored(all).toString();
    for (const char* button : {"CommandDisp_1", "CommandDisp_3"}) {
        ClickListLine(list1(), 1);
        typeInto(edit("Syoritu"), QStringLiteral("1"));
        MsgBoxScript::shown().clear();
        press(QString::fromLatin1(button));
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));  // no question: it stops before
        QCOMPARE(lastBox().title, QStringLiteral("エラー"));
        QVERIFY(lastBox().text.startsWith(QStringLiteral("エラー番号  3021")));
    }
    QCOMPARE(count(QStringLiteral("T_選手")), 3);
    QCOMPARE(stored(all).toString(), before);

    press(QStringLiteral("Kenmei_12"));
    QCOMPARE(list1()->item(2)->text(), QStringLiteral("東京    4100  64  山田太郎"));
}

void SensyuFormTest::refusedRowsChangeNothing()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 2, 12));
    open();
    press(QStringLiteral("Kenmei_12"));
    ClickListLine(list1(), 1);
    const QString all = QStringLiteral("SELECT group_concat(選手ID || 期 || 級 || 名前 || よみがな || 勝率, '/') FROM T_選手");
    const QString before = stored(all).toString();

    struct Case {
        const char* box;
        QString text;
        int number;
    };
    const Case cases[] = {
        {"Toban", QStringLiteral("4000"), EngineError::DuplicateKey},
        {"Toban", QStringLiteral("70000"), EngineError::FieldOverflow},
        {"Ki", QStringLiteral("-40000"), EngineError::FieldOverflow},
        {"Kyu", QStringLiteral("A1B"), EngineError::FieldTooSmall},
        {"Yomigana", QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀ"), EngineError::FieldTooSmall},
    };
    for (const Case& c : cases) {
        ClickListLine(list1(), 1);
        typeInto(edit("Namae"), QStringLiteral("変更"));
        typeInto(edit(c.box), c.text);
        MsgBoxScript::shown().clear();
        MsgBoxScript::queue(Mb::Yes);
        press(QStringLiteral("CommandDisp_1"));
        QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
        QCOMPARE(lastBox().title, QStringLiteral("エラー"));
        QVERIFY2(lastBox().text.startsWith(QStringLiteral("エラー番号 ") + Basic::Str(c.number)), qPrintable(lastBox().text));
        QCOMPARE(stored(all).toString(), before);
        // The boxes keep what was typed.
        QCOMPARE(edit(c.box)->text(), c.text);
        QCOMPARE(edit("Namae")->text(), QStringLiteral("変更"));

        // Added as a new racer, the same value is refused the same way.
        typeInto(edit("Toban"), c.box == QLatin1String("Toban") ? c.text : QStringLiteral("4500"));
        MsgBoxScript::queue(Mb::Yes);
        press(QStringLiteral("CommandDisp_2"));
        QVERIFY2(lastBox().text.startsWith(QStringLiteral("エラー番号 ") + Basic::Str(c.number)), qPrintable(lastBox().text));
        QCOMPARE(stored(all).toString(), before);
    }
    QCOMPARE(lines(), (QStringList{QStringLiteral("東京    4000  64  山田太郎"), QStringLiteral("東京    4001  64  山田太郎")}));

    // The recordset is not left half-written: the next update works.
    ClickListLine(list1(), 1);
    QCOMPARE(edit("Toban")->text(), QStringLiteral("4001"));
    typeInto(edit("Kyu"), QStringLiteral("B2"));
    MsgBoxScript::queue(Mb::Yes);
    press(QStringLiteral("CommandDisp_1"));
    QCOMPARE(stored(QStringLiteral("SELECT 級 FROM T_選手 WHERE 選手ID = 4001")).toString(), QStringLiteral("B2"));
}

void SensyuFormTest::unknownLookupTextsWriteNothing()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 1, 12));
    open();
    press(QStringLiteral("Kenmei_12"));
    const std::pair<const char*, QString> cases[] = {
        {"ComboSyozoku", QStringLiteral("所属テーブルなし")},
        {"ComboBladtype", QStringLiteral("血液型テーブルなし")}};
    for (const auto& [box, message] : cases) {
        for (const QString& text : {QStringLiteral("東京都"), QString()}) {
            ClickListLine(list1(), 0);
            typeInto(edit("Syoritu"), QStringLiteral("9.99"));
            typeInto(combo(box), text);
            MsgBoxScript::shown().clear();
            MsgBoxScript::queue(Mb::Yes);
            press(QStringLiteral("CommandDisp_1"));
            QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
            QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("選手テーブル更新"));
            QCOMPARE(lastBox().text, message);
            QCOMPARE(lastBox().style, Mb::OKOnly);
            QCOMPARE(stored(QStringLiteral("SELECT 勝率 FROM T_選手")).toDouble(), 6.52);
        }
    }
}

void SensyuFormTest::addWithEmptyBoxes()
{
    open();
    typeInto(combo("ComboSyozoku"), QStringLiteral("神奈川"));
    typeInto(combo("ComboBladtype"), QStringLiteral("B"));
    typeInto(edit("Toban"), QStringLiteral("5001"));
    MsgBoxScript::queue(Mb::Yes);
    press(QStringLiteral("CommandDisp_2"));
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QCOMPARE(stored(QStringLiteral("SELECT 期 || '|' || 所属ID || '|' || 級 || '|' || 名前 || '|' || よみがな || '|' || "
                                   "よみがな１桁 || '|' || 生年 || '|' || 血液型ID || '|' || 勝率 FROM T_選手 WHERE 選手ID = 5001"))
                 .toString(),
             QStringLiteral("0|14|||||0|2|0.0"));
    QCOMPARE(list1()->count(), 0);  // the list is not rebuilt

    // The new racer is found by the next search.
    press(QStringLiteral("Kenmei_14"));
    QCOMPARE(lines(), QStringList{QStringLiteral("神奈川 5001  0  ")});
}

void SensyuFormTest::deleteRepeatsTheLastSearch()
{
    auto racers = racersOf(4000, 3, 12, 64);
    racers[1].name = QStringLiteral("鈴木一郎");
    racers[2].yomi = QStringLiteral("ｱｵｷ");
    SeedRacers(g_folder->folder(), racers);
    open();
    press(QStringLiteral("Kenmei_12"));
    ClickListLine(list1(), 1);
    MsgBoxScript::queue(Mb::No);
    press(QStringLiteral("CommandDisp_3"));
    QCOMPARE(lastBox().title, QStringLiteral("選手テーブル削除"));
    QCOMPARE(lastBox().text, QStringLiteral("4001 鈴木一郎　選手を削除しますか。\r\n"));
    QCOMPARE(lastBox().style, Mb::Confirm);
    QCOMPARE(count(QStringLiteral("T_選手")), 3);

    MsgBoxScript::queue(Mb::Yes);
    trigger(QStringLiteral("Menu_Ment_2"));
    QCOMPARE(count(QStringLiteral("T_選手")), 2);
    QCOMPARE(lines(), (QStringList{QStringLiteral("東京    4000  64  山田太郎"), QStringLiteral("東京    4002  64  山田太郎")}));

    // A kana search is repeated with its kana.
    press(QStringLiteral("ComboNamae_0"));
    QCOMPARE(list1()->count(), 1);
    ClickListLine(list1(), 0);
    MsgBoxScript::shown().clear();
    MsgBoxScript::queue(Mb::Yes);
    press(QStringLiteral("CommandDisp_3"));
    QCOMPARE(count(QStringLiteral("T_選手")), 1);
    QCOMPARE(list1()->count(), 0);
    QCOMPARE(lastBox().text, QStringLiteral("該当レコードがありません"));
}

void SensyuFormTest::deleteInExtractionModeKeepsTheRacer()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 3, 12));
    SeedExtraction(g_folder->folder(), {4000, 4002});
    Global().ExtractMode = 1;
    open();
    press(QStringLiteral("Command500"));
    QCOMPARE(list1()->count(), 2);
    ClickListLine(list1(), 1);
    MsgBoxScript::queue(Mb::Yes);
    press(QStringLiteral("CommandDisp_3"));
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("選手抽出テーブル削除"));
    QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("4002 山田太郎　選手を削除しますか。\r\n\r\n"
                                                           "（選手テーブル自体は削除されません。）\r\n\r\n"));
    QCOMPARE(count(QStringLiteral("T_選手抽出")), 1);
    QCOMPARE(count(QStringLiteral("T_選手")), 3);
    QCOMPARE(lines(), QStringList{QStringLiteral("東京    4000  64  山田太郎")});
}

void SensyuFormTest::deleteAllListed()
{
    auto racers = racersOf(4000, 4, 12);
    auto others = racersOf(4100, 2, 13);
    racers.insert(racers.end(), others.begin(), others.end());
    SeedRacers(g_folder->folder(), racers);
    // Listed and unlisted rows interleave in the table.
    SeedExtraction(g_folder->folder(), {4000, 4100, 4002, 4101, 4003});
    Global().ExtractMode = 1;
    open();
    press(QStringLiteral("Kenmei_12"));
    QCOMPARE(list1()->count(), 3);

    MsgBoxScript::queue(Mb::No);
    press(QStringLiteral("CommandDisp_8"));
    QCOMPARE(lastBox().title, QStringLiteral("選手抽出テーブル削除"));
    QCOMPARE(lastBox().text, QStringLiteral("リストに表示されている選手抽出テーブルのデータを全て削除します。\r\n"
                                            "（選手テーブル自体は削除されません。）\r\n\r\n実行しますか。"));
    QCOMPARE(lastBox().style, Mb::Confirm);
    QCOMPARE(count(QStringLiteral("T_選手抽出")), 5);
    QCOMPARE(list1()->count(), 3);

    MsgBoxScript::queue(Mb::Yes);
    trigger(QStringLiteral("Menu_Ment_1"));
    QCOMPARE(list1()->count(), 0);
    QCOMPARE(stored(QStringLiteral("SELECT group_concat(選手ID) FROM T_選手抽出")).toString(), QStringLiteral("4100,4101"));
    QCOMPARE(count(QStringLiteral("T_選手")), 6);

    // Pressed again on the now empty list.
    press(QStringLiteral("CommandDisp_8"));
    QCOMPARE(lastBox().title, QStringLiteral("抽出テーブル全削除エラー"));
}

void SensyuFormTest::deleteAllIsAllOrNothing()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 3, 12));
    SeedExtraction(g_folder->folder(), {4000, 4001, 4002});
    Global().ExtractMode = 1;
    open();
    press(QStringLiteral("Command500"));
    QCOMPARE(list1()->count(), 3);
    // Another program takes one listed row out meanwhile.
    {
        Database other(g_folder->folder());
        other.execute(QStringLiteral("DELETE FROM T_選手抽出 WHERE 選手ID = 4001"));
    }
    MsgBoxScript::queue(Mb::Yes);
    press(QStringLiteral("CommandDisp_8"));
    QCOMPARE(lastBox().title, QStringLiteral("エラー"));
    QVERIFY(lastBox().text.startsWith(QStringLiteral("エラー番号  3167")));
    QCOMPARE(stored(QStringLiteral("SELECT group_concat(選手ID) FROM T_選手抽出")).toString(), QStringLiteral("4000,4002"));
    QCOMPARE(list1()->count(), 3);

    // Once the list is made again, it works.
    press(QStringLiteral("Command500"));
    MsgBoxScript::queue(Mb::Yes);
    press(QStringLiteral("CommandDisp_8"));
    QCOMPARE(count(QStringLiteral("T_選手抽出")), 0);
    QCOMPARE(count(QStringLiteral("T_選手")), 3);
}

void SensyuFormTest::tableSwitch()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 3, 12));
    SeedExtraction(g_folder->folder(), {4001});
    open();
    PickComboItem(get<QComboBox>(QStringLiteral("ComboKi")), 0);
    QCOMPARE(list1()->count(), 3);
    QCOMPARE(g_form->lastKind(), SearchPanel::Kind::Term);

    press(QStringLiteral("CommandDisp_5"));
    QCOMPARE(Global().ExtractMode, int16_t(1));
    QCOMPARE(list1()->count(), 0);
    // Every search reads the table in use, the term search included.
    PickComboItem(get<QComboBox>(QStringLiteral("ComboKi")), 0);
    QCOMPARE(lines(), QStringList{QStringLiteral("東京    4001  64  山田太郎")});
    PickComboItem(get<QComboBox>(QStringLiteral("ComboToban")), 0);
    QCOMPARE(list1()->count(), 0);
    QCOMPARE(lastBox().text, QStringLiteral("該当レコードがありません"));

    trigger(QStringLiteral("Menu_Table_0"));
    QCOMPARE(Global().ExtractMode, int16_t(0));
    QCOMPARE(list1()->count(), 0);
    PickComboItem(get<QComboBox>(QStringLiteral("ComboToban")), 0);
    QCOMPARE(lines(), QStringList{QStringLiteral("東京    4000  64  山田太郎")});

    // The switch outlives the window.
    press(QStringLiteral("CommandDisp_5"));
    press(QStringLiteral("CommandDisp_0"));
    processDeletes();
    QCOMPARE(Global().ExtractMode, int16_t(1));
}

void SensyuFormTest::enterRing()
{
    open();
    g_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(g_form));
    const char* ring[12] = {"ComboSyozoku", "Ki",     "Toban",         "Namae",   "Yomigana", "Kyu",
                            "Seinen",       "Seituki", "Seihi", "ComboBladtype", "Syoritu", "Fukuritu"};
    get<QWidget>(QStringLiteral("ComboSyozoku"))->setFocus();
    for (int i = 0; i < 12; ++i) {
        QWidget* field = get<QWidget>(QString::fromLatin1(ring[i]));
        QVERIFY2(field->hasFocus(), ring[i]);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QVERIFY(combo("ComboSyozoku")->hasFocus());
    // Other keys stay where they are.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    QVERIFY(combo("ComboSyozoku")->hasFocus());

    // Choosing an affiliation or a blood type moves on.
    PickComboItem(combo("ComboSyozoku"), 12);
    QVERIFY(edit("Ki")->hasFocus());
    PickComboItem(combo("ComboBladtype"), 1);
    QVERIFY(edit("Syoritu")->hasFocus());
}
