#include "SensyuFormTest.h"

#include "Basic.h"
#include "Database.h"
#include "EngineErrors.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "Keyboard.h"
#include "MainForm.h"
#include "MsgBox.h"
#include "SensyuForm.h"
#include "TestSupport.h"

#include <QAbstractItemView>
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

SensyuForm* open()
{
    g_form = qobject_cast<SensyuForm*>(Forms::show(QStringLiteral("SensyuForm")));
    return g_form;
}

template <typename T>
T* get(const char* name) { return child<T>(g_form, QString::fromLatin1(name)); }
QListWidget* list1() { return get<QListWidget>("List1"); }
QLineEdit* edit(const char* name) { return get<QLineEdit>(name); }
QComboBox* combo(const char* name) { return get<QComboBox>(name); }
void press(const char* name) { QTest::mouseClick(get<QPushButton>(name), Qt::LeftButton); }
void trigger(const char* name) { g_form->findChild<QAction*>(QString::fromLatin1(name))->trigger(); }
void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Presses a button whose question is answered `answer`.
void answer(int answer, const char* button)
{
    MsgBoxScript::shown().clear();
    MsgBoxScript::queue(answer);
    press(button);
}

// Types into a box as a Japanese input method hands text over, replacing
// what the box held.
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

// Chooses entry `index` from a drop-down's open list with the keyboard, as
// a user does: the list opened, moved to the entry, Enter.
void chooseFromList(QComboBox* box, int index)
{
    box->setFocus();
    box->showPopup();
    QAbstractItemView* view = box->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(view->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QVERIFY(!view->isVisible());
    QCOMPARE(box->currentIndex(), index);
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
void execute(const QString& sql) { Database(g_folder->folder()).execute(sql); }

const ShownBox& box(int i = -1)
{
    static const ShownBox none{};
    const auto& shown = MsgBoxScript::shown();
    const int at = i < 0 ? int(shown.size()) + i : i;
    return at >= 0 && at < int(shown.size()) ? shown[size_t(at)] : none;
}
bool isErrorReport(int number) { return box().title == QStringLiteral("エラー") && box().text.startsWith(QStringLiteral("エラー番号 ") + Basic::Str(number)); }
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
    QCOMPARE(combo("ComboSyozoku")->count(), 47);
    QCOMPARE(combo("ComboBladtype")->itemText(3), QStringLiteral("AB"));

    press("CommandDisp_0");
    processDeletes();
    QVERIFY(!Forms::find(QStringLiteral("SensyuForm")));
    menu = qobject_cast<MainForm*>(Forms::find(QStringLiteral("MainForm")));
    QVERIFY(menu && menu->isVisible());
    menu->findChild<QAction*>(QStringLiteral("Menu_Sensyu"))->trigger();
    processDeletes();
    g_form = qobject_cast<SensyuForm*>(Forms::find(QStringLiteral("SensyuForm")));
    QVERIFY(g_form);
    trigger("Menu_Close");
    processDeletes();
    QVERIFY(!Forms::find(QStringLiteral("SensyuForm")));
    QVERIFY(Forms::find(QStringLiteral("MainForm")));
}

void SensyuFormTest::tableSwitchAndItsPresentation()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 3, 12));
    SeedExtraction(g_folder->folder(), {4001});
    open();
    PickComboItem(combo("ComboKi"), 0);
    QCOMPARE(list1()->count(), 3);

    auto presented = [](bool extract) {
        QCOMPARE(get<QPushButton>("CommandDisp_5")->text(), extract ? QStringLiteral("抽出→通常") : QStringLiteral("通常→抽出"));
        QCOMPARE(get<QLabel>("LabelTable")->text(), extract ? QStringLiteral("抽出テーブル") : QStringLiteral("通常テーブル"));
        QCOMPARE(g_form->findChild<QAction*>(QStringLiteral("Menu_Ment_1"))->text(),
                 extract ? QStringLiteral("全削除(C)") : QStringLiteral("追加(A)"));
        QCOMPARE(g_form->findChild<QAction*>(QStringLiteral("Menu_Table_0"))->isEnabled(), extract);
        QCOMPARE(g_form->findChild<QAction*>(QStringLiteral("Menu_Table_1"))->isEnabled(), !extract);
        QCOMPARE(get<QWidget>("PicNo_2")->isVisible(), extract);
        QCOMPARE(get<QPushButton>("CommandDisp_2")->isVisible(), !extract);
        QCOMPARE(get<QPushButton>("CommandDisp_8")->isVisible(), extract);
    };
    presented(false);
    press("CommandDisp_5");
    QCOMPARE(Global().ExtractMode, int16_t(1));
    presented(true);
    QCOMPARE(list1()->count(), 0);
    // Every search reads the table in use, the term search included.
    PickComboItem(combo("ComboKi"), 0);
    QCOMPARE(lines(), QStringList{QStringLiteral("東京    4001  64  山田太郎")});

    // Here the menu's second entry deletes the listed rows, and adding is refused.
    list1()->clear();
    trigger("Menu_Ment_1");
    QCOMPARE(box().title, QStringLiteral("抽出テーブル全削除エラー"));
    QCOMPARE(box().text, QStringLiteral("削除したいレコードをリストに表示させてから実行して下さい。\r\n"));
    QCOMPARE(box().style, Mb::OKOnly + Mb::Critical);
    g_form->CommandDisp_Click(2);
    QCOMPARE(box().title, QStringLiteral("抽出テーブル追加処理選択エラー"));
    QCOMPARE(box().text, QStringLiteral("抽出テーブルの場合は追加処理は選択出来ません\r\n"));

    trigger("Menu_Table_0");
    QCOMPARE(Global().ExtractMode, int16_t(0));
    presented(false);
    PickComboItem(combo("ComboToban"), 0);
    QCOMPARE(lines(), QStringList{QStringLiteral("東京    4000  64  山田太郎")});
    MsgBoxScript::queue(Mb::No);
    trigger("Menu_Ment_1");  // now it adds: its question comes up
    QCOMPARE(box().title, QStringLiteral("選手テーブル追加"));

    // The switch outlives the window.
    press("CommandDisp_5");
    press("CommandDisp_0");
    processDeletes();
    QCOMPARE(Global().ExtractMode, int16_t(1));
}

void SensyuFormTest::listClickFillsTheEditBox()
{
    auto racers = racersOf(4000, 2, 12);
    racers[1].name = QStringLiteral("鈴木一郎");
    racers[1].blood = 4;
    racers[1].win = 6.5;
    racers[1].place = 45;
    SeedRacers(g_folder->folder(), racers);
    execute(QStringLiteral("UPDATE T_選手 SET 期 = NULL, 級 = NULL, 勝率 = NULL, 複勝率 = NULL WHERE 選手ID = 4000"));
    open();
    g_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(g_form));
    press("Kenmei_12");
    ClickListLine(list1(), 1);
    const std::pair<const char*, const char*> shown[] = {
        {"Ki", "64"},      {"Toban", "4001"}, {"Namae", "鈴木一郎"}, {"Yomigana", "ﾔﾏﾀﾞ ﾀﾛｳ"}, {"Kyu", "A1"},
        {"Seinen", "1970"}, {"Seituki", "5"},  {"Seihi", "12"},      {"Syoritu", "6.5"},       {"Fukuritu", "45"}};
    for (const auto& [name, text] : shown)
        QCOMPARE(edit(name)->text(), QString::fromUtf8(text));
    QCOMPARE(combo("ComboSyozoku")->currentText(), QStringLiteral("東京"));
    QCOMPARE(combo("ComboBladtype")->currentText(), QStringLiteral("AB"));
    QVERIFY(combo("ComboSyozoku")->hasFocus());

    // Empty term and rates show 0, an empty class nothing; saved again, the
    // class becomes an empty text.
    ClickListLine(list1(), 0);
    QCOMPARE(edit("Ki")->text(), QStringLiteral("0"));
    QCOMPARE(edit("Kyu")->text(), QString());
    QCOMPARE(edit("Syoritu")->text(), QStringLiteral("0"));
    QCOMPARE(edit("Fukuritu")->text(), QStringLiteral("0"));
    answer(Mb::Yes, "CommandDisp_1");
    QCOMPARE(stored(QStringLiteral("SELECT typeof(級) || ':' || 級 || ':' || 期 FROM T_選手 WHERE 選手ID = 4000")).toString(),
             QStringLiteral("text::0"));
}

void SensyuFormTest::updateAndItsSelection()
{
    auto racers = racersOf(4000, 3, 12);
    racers[1].name = QStringLiteral("鈴木一郎");
    SeedRacers(g_folder->folder(), racers);
    const QString all = QStringLiteral("SELECT group_concat(選手ID || 所属ID || 勝率 || よみがな１桁, '/') FROM T_選手");
    const QString seeded = stored(all).toString();
    open();
    press("Kenmei_12");
    for (const char* button : {"CommandDisp_1", "CommandDisp_3"}) {
        answer(Mb::Yes, button);
        QCOMPARE(box().title, QStringLiteral("レコード未選択エラー"));
        QCOMPARE(box().text, QStringLiteral("レコードを選択してから実行して下さい。\r\n"));
        QCOMPARE(box().style, Mb::OKOnly + Mb::Critical);
    }
    ClickListLine(list1(), 1);
    typeInto(edit("Syoritu"), QStringLiteral("7.25"));
    typeInto(edit("Yomigana"), QStringLiteral("ﾀﾅｶ"));
    typeInto(edit("Seituki"), QStringLiteral("12月"));
    typeInto(combo("ComboSyozoku"), QStringLiteral("大阪"));
    answer(Mb::No, "CommandDisp_1");
    QCOMPARE(box().title, QStringLiteral("選手テーブル更新"));
    QCOMPARE(box().text, QStringLiteral("4001 鈴木一郎　選手の内容を更新しますか。\r\n"));
    QCOMPARE(box().style, Mb::Confirm);
    QCOMPARE(stored(all).toString(), seeded);

    MsgBoxScript::queue(Mb::Yes);
    trigger("Menu_Ment_0");
    QCOMPARE(stored(QStringLiteral("SELECT 所属ID || ' ' || 勝率 || ' ' || 生月 || ' ' || よみがな１桁 FROM T_選手 WHERE 選手ID = 4001")).toString(),
             QStringLiteral("28 7.25 12 ﾀ"));
    QCOMPARE(list1()->currentRow(), 1);  // the list is not rebuilt

    // A changed registration number moves the row; the old line stays until
    // the next search, and naming a racer who is gone, it touches no other.
    typeInto(edit("Toban"), QStringLiteral("4100"));
    answer(Mb::Yes, "CommandDisp_1");
    QCOMPARE(stored(QStringLiteral("SELECT group_concat(選手ID) FROM T_選手")).toString(), QStringLiteral("4000,4002,4100"));
    QCOMPARE(list1()->item(1)->text(), QStringLiteral("東京    4001  64  鈴木一郎"));
    const QString moved = stored(all).toString();
    for (const char* button : {"CommandDisp_1", "CommandDisp_3"}) {
        ClickListLine(list1(), 1);
        answer(Mb::Yes, button);
        QVERIFY(isErrorReport(EngineError::NoCurrentRecord));
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));  // stopped before its question
    }
    QCOMPARE(stored(all).toString(), moved);
    press("Kenmei_28");
    QCOMPARE(lines(), QStringList{QStringLiteral("大阪    4100  64  鈴木一郎")});
}

void SensyuFormTest::refusedRowsChangeNothing()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 2, 12));
    open();
    press("Kenmei_12");
    const QString all = QStringLiteral("SELECT group_concat(選手ID || 期 || 級 || 名前 || よみがな || 勝率, '/') FROM T_選手");
    const QString before = stored(all).toString();
    struct Case {
        const char* box;
        QString text;
        int number;  // the engine's error, or 0 for a lookup's own box
        QString message;
    };
    const Case cases[] = {
        {"Toban", QStringLiteral("4000"), EngineError::DuplicateKey, {}},
        {"Toban", QStringLiteral("70000"), EngineError::FieldOverflow, {}},
        {"Ki", QStringLiteral("-40000"), EngineError::FieldOverflow, {}},
        {"Kyu", QStringLiteral("A1B"), EngineError::FieldTooSmall, {}},
        {"Yomigana", QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀ"), EngineError::FieldTooSmall, {}},
        {"ComboSyozoku", QStringLiteral("東京都"), 0, QStringLiteral("所属テーブルなし")},
        {"ComboSyozoku", QString(), 0, QStringLiteral("所属テーブルなし")},
        {"ComboBladtype", QString(), 0, QStringLiteral("血液型テーブルなし")},
    };
    for (const Case& c : cases) {
        ClickListLine(list1(), 1);
        typeInto(edit("Namae"), QStringLiteral("変更"));
        typeInto(get<QWidget>(c.box), c.text);
        // Updated, and added as a new racer (number 4500 unless the number
        // is the case), the row is refused whole.
        for (const char* button : {"CommandDisp_1", "CommandDisp_2"}) {
            answer(Mb::Yes, button);
            QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
            if (c.number)
                QVERIFY2(isErrorReport(c.number), qPrintable(box().text));
            else
                QCOMPARE(box().text, c.message);
            QCOMPARE(stored(all).toString(), before);
            QCOMPARE(edit("Namae")->text(), QStringLiteral("変更"));  // the boxes keep what was typed
            if (QLatin1String(c.box) != QLatin1String("Toban"))
                typeInto(edit("Toban"), QStringLiteral("4500"));
        }
    }
    QCOMPARE(list1()->count(), 2);
    // The query is not left half-written: the next update works.
    ClickListLine(list1(), 1);
    QCOMPARE(edit("Namae")->text(), QStringLiteral("山田太郎"));
    typeInto(edit("Kyu"), QStringLiteral("B2"));
    answer(Mb::Yes, "CommandDisp_1");
    QCOMPARE(stored(QStringLiteral("SELECT 級 FROM T_選手 WHERE 選手ID = 4001")).toString(), QStringLiteral("B2"));
}

void SensyuFormTest::badNumbersAndLongNamesAreRefused()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 2, 12));
    open();
    press("Kenmei_12");
    const QString all = QStringLiteral("SELECT group_concat(選手ID || 期 || 名前 || 生年, '/') FROM T_選手");
    const QString before = stored(all).toString();
    struct Case {
        const char* box;
        QString text;
        int number;       // the error report's number, or 0
        QString message;  // else the box that refuses it
    };
    const QString noNumber = QStringLiteral("登番を入力して下さい。（0 は登番に使えません。）\r\n");
    const Case cases[] = {
        // A pasted text far longer than a name.
        {"Namae", QString(10000, QChar(0x540d)), EngineError::FieldTooSmall, {}},
        {"Namae", QString(23, QChar(0x540d)), EngineError::FieldTooSmall, {}},
        // Numbers too large for any column: the overflow of every number box.
        {"Toban", QStringLiteral("99999999999999999999"), EngineError::FieldOverflow, {}},
        {"Toban", QStringLiteral("1e308"), EngineError::FieldOverflow, {}},
        {"Seinen", QStringLiteral("1e308"), EngineError::FieldOverflow, {}},
        // A fraction in a whole-number box.
        {"Toban", QStringLiteral("4000.5"), ErrorNumber::TypeMismatch, {}},
        {"Ki", QStringLiteral("3.5"), ErrorNumber::TypeMismatch, {}},
        // 0 means "no racer" in a boat: never a registration number.
        {"Toban", QString(), 0, noNumber},
        {"Toban", QStringLiteral("0"), 0, noNumber},
        {"Toban", QStringLiteral("ｱ"), 0, noNumber},
    };
    for (const Case& c : cases) {
        for (const char* button : {"CommandDisp_1", "CommandDisp_2"}) {
            ClickListLine(list1(), 1);
            if (QLatin1String(c.box) != QLatin1String("Toban") && QLatin1String(button) == QLatin1String("CommandDisp_2"))
                typeInto(edit("Toban"), QStringLiteral("4500"));
            typeInto(get<QWidget>(c.box), c.text);
            answer(Mb::Yes, button);
            QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
            if (c.number) {
                QVERIFY2(isErrorReport(c.number), qPrintable(box().text.left(200)));
            } else {
                QCOMPARE(box().text, c.message);
                QCOMPARE(box().style, Mb::OKOnly + Mb::Critical);
            }
            if (c.number == ErrorNumber::TypeMismatch)
                QVERIFY2(box().text.contains(QStringLiteral("整数")), qPrintable(box().text));
            QCOMPARE(stored(all).toString(), before);
        }
    }
    // The longest name that fits is stored whole.
    ClickListLine(list1(), 1);
    typeInto(edit("Namae"), QString(22, QChar(0x540d)));
    answer(Mb::Yes, "CommandDisp_1");
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QCOMPARE(stored(QStringLiteral("SELECT 名前 FROM T_選手 WHERE 選手ID = 4001")).toString(), QString(22, QChar(0x540d)));
}

void SensyuFormTest::racersGoneElsewhereReadAsDeleted()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 3, 12));
    open();
    press("Kenmei_12");
    QCOMPARE(list1()->count(), 3);
    // The import tool rebuilds the table meanwhile, without racer 4001.
    execute(QStringLiteral("DELETE FROM T_選手"));
    SeedRacers(g_folder->folder(), {{4000}, {4002}});
    const QString all = QStringLiteral("SELECT group_concat(選手ID, ',') FROM T_選手");
    MsgBoxScript::shown().clear();
    ClickListLine(list1(), 1);
    QVERIFY2(isErrorReport(EngineError::RecordDeleted), qPrintable(box().text));
    for (const char* button : {"CommandDisp_1", "CommandDisp_3"}) {
        answer(Mb::Yes, button);
        QVERIFY2(isErrorReport(EngineError::RecordDeleted), qPrintable(box().text));
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));  // stopped before its question
    }
    QCOMPARE(stored(all).toString(), QStringLiteral("4000,4002"));
    // The racers still there are found as before.
    ClickListLine(list1(), 2);
    QCOMPARE(edit("Toban")->text(), QStringLiteral("4002"));
}

void SensyuFormTest::addWithEmptyBoxes()
{
    open();
    typeInto(combo("ComboSyozoku"), QStringLiteral("神奈川"));
    typeInto(combo("ComboBladtype"), QStringLiteral("B"));
    typeInto(edit("Toban"), QStringLiteral("5001"));
    answer(Mb::Yes, "CommandDisp_2");
    QCOMPARE(box().text, QStringLiteral("選手テーブルを追加しますか。\r\n"));
    QCOMPARE(stored(QStringLiteral("SELECT 期 || '|' || 所属ID || '|' || 級 || '|' || 名前 || '|' || よみがな || '|' || "
                                   "よみがな１桁 || '|' || 生年 || '|' || 血液型ID || '|' || 勝率 FROM T_選手 WHERE 選手ID = 5001"))
                 .toString(),
             QStringLiteral("0|14|||||0|2|0.0"));
    QCOMPARE(list1()->count(), 0);  // the list is not rebuilt
    press("Kenmei_14");
    QCOMPARE(lines(), QStringList{QStringLiteral("神奈川 5001  0  ")});
}

void SensyuFormTest::deleteRepeatsTheLastSearch()
{
    auto racers = racersOf(4000, 3, 12);
    racers[1].name = QStringLiteral("鈴木一郎");
    racers[2].yomi = QStringLiteral("ｱｵｷ");
    SeedRacers(g_folder->folder(), racers);
    SeedExtraction(g_folder->folder(), {4000, 4002});
    open();
    press("Kenmei_12");
    ClickListLine(list1(), 1);
    answer(Mb::No, "CommandDisp_3");
    QCOMPARE(box().title, QStringLiteral("選手テーブル削除"));
    QCOMPARE(box().text, QStringLiteral("4001 鈴木一郎　選手を削除しますか。\r\n"));
    QCOMPARE(count(QStringLiteral("T_選手")), 3);
    MsgBoxScript::queue(Mb::Yes);
    trigger("Menu_Ment_2");
    QCOMPARE(count(QStringLiteral("T_選手")), 2);
    QCOMPARE(lines(), (QStringList{QStringLiteral("東京    4000  64  山田太郎"), QStringLiteral("東京    4002  64  山田太郎")}));

    // In the extraction table only the extraction row goes; a kana search
    // is repeated with its kana.
    press("CommandDisp_5");
    press("ComboNamae_0");
    ClickListLine(list1(), 0);
    answer(Mb::Yes, "CommandDisp_3");
    QCOMPARE(box(0).title, QStringLiteral("選手抽出テーブル削除"));
    QCOMPARE(box(0).text, QStringLiteral("4002 山田太郎　選手を削除しますか。\r\n\r\n（選手テーブル自体は削除されません。）\r\n\r\n"));
    QCOMPARE(stored(QStringLiteral("SELECT group_concat(選手ID) FROM T_選手抽出")).toString(), QStringLiteral("4000"));
    QCOMPARE(count(QStringLiteral("T_選手")), 2);
    QCOMPARE(list1()->count(), 0);
    QCOMPARE(box().text, QStringLiteral("該当レコードがありません"));
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
    press("Kenmei_12");
    QCOMPARE(list1()->count(), 3);
    answer(Mb::No, "CommandDisp_8");
    QCOMPARE(box().title, QStringLiteral("選手抽出テーブル削除"));
    QCOMPARE(box().text, QStringLiteral("リストに表示されている選手抽出テーブルのデータを全て削除します。\r\n"
                                        "（選手テーブル自体は削除されません。）\r\n\r\n実行しますか。"));
    QCOMPARE(count(QStringLiteral("T_選手抽出")), 5);

    // Another program takes one listed row out meanwhile: none of them goes.
    execute(QStringLiteral("DELETE FROM T_選手抽出 WHERE 選手ID = 4002"));
    answer(Mb::Yes, "CommandDisp_8");
    QVERIFY(isErrorReport(EngineError::RecordDeleted));
    QCOMPARE(stored(QStringLiteral("SELECT group_concat(選手ID) FROM T_選手抽出")).toString(), QStringLiteral("4000,4003,4100,4101"));
    QCOMPARE(list1()->count(), 3);

    press("Kenmei_12");
    answer(Mb::Yes, "CommandDisp_8");
    QCOMPARE(list1()->count(), 0);
    QCOMPARE(stored(QStringLiteral("SELECT group_concat(選手ID) FROM T_選手抽出")).toString(), QStringLiteral("4100,4101"));
    QCOMPARE(count(QStringLiteral("T_選手")), 6);
    press("CommandDisp_8");
    QCOMPARE(box().title, QStringLiteral("抽出テーブル全削除エラー"));
}

void SensyuFormTest::enterRing()
{
    open();
    g_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(g_form));
    const char* ring[13] = {"ComboSyozoku", "Ki",      "Toban", "Namae",         "Yomigana", "Kyu",     "Seinen",
                            "Seituki",      "Seihi",   "ComboBladtype", "Syoritu", "Fukuritu", "ComboSyozoku"};
    get<QWidget>(ring[0])->setFocus();
    for (const char* name : ring) {
        QVERIFY2(get<QWidget>(name)->hasFocus(), name);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    QVERIFY(edit("Ki")->hasFocus());
    // Choosing an affiliation or a blood type from the open list moves on.
    chooseFromList(combo("ComboSyozoku"), 11);
    QVERIFY(edit("Ki")->hasFocus());
    QCOMPARE(combo("ComboSyozoku")->currentText(), QStringLiteral("東京"));
    chooseFromList(combo("ComboBladtype"), 1);
    QVERIFY(edit("Syoritu")->hasFocus());
    QCOMPARE(combo("ComboBladtype")->currentText(), QStringLiteral("B"));
    // The arrow keys on the closed box change its item and stay there.
    PickComboItem(combo("ComboSyozoku"), 13);
    QVERIFY(combo("ComboSyozoku")->hasFocus());
}

// The bar of the window: a racer chosen, a click into 勝率, typing and
// 更新 change 勝率 and nothing else.
void SensyuFormTest::typingGoesWhereTheUserClicked()
{
    auto racers = racersOf(4000, 2, 28);
    racers[1].ken = 12;
    racers[1].blood = 2;
    racers[1].win = 5.1;
    SeedRacers(g_folder->folder(), racers);
    const QString row = QStringLiteral("SELECT 期 || '|' || 所属ID || '|' || 級 || '|' || 名前 || '|' || よみがな || '|' || "
                                       "生年 || '|' || 生月 || '|' || 生日 || '|' || 血液型ID || '|' || 勝率 || '|' || 複勝率 "
                                       "FROM T_選手 WHERE 選手ID = 4001");
    const QString before = stored(row).toString();
    open();
    g_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(g_form));
    PickComboItem(combo("ComboKi"), 0);
    ClickListLine(list1(), 0);  // the 大阪 racer first, then the 東京 one
    ClickListLine(list1(), 1);
    QVERIFY(combo("ComboSyozoku")->hasFocus());

    QTest::mouseClick(edit("Syoritu"), Qt::LeftButton);
    QVERIFY(edit("Syoritu")->hasFocus());
    QTest::keyClick(edit("Syoritu"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit("Syoritu"), QStringLiteral("6.52"));
    QCOMPARE(edit("Syoritu")->text(), QStringLiteral("6.52"));
    QCOMPARE(edit("Ki")->text(), QStringLiteral("64"));
    answer(Mb::Yes, "CommandDisp_1");
    QCOMPARE(box().text, QStringLiteral("4001 山田太郎　選手の内容を更新しますか。\r\n"));
    QCOMPARE(stored(row).toString(), QString(before).replace(QStringLiteral("|5.1|"), QStringLiteral("|6.52|")));

    // Leaving a drop-down by a click, or by Shift+Tab, goes where the user
    // went, with whatever text of the list the box holds.
    ClickListLine(list1(), 1);
    combo("ComboBladtype")->setFocus();
    typeInto(combo("ComboBladtype"), QStringLiteral("AB"));
    QTest::mouseClick(edit("Seinen"), Qt::LeftButton);
    QVERIFY(edit("Seinen")->hasFocus());
    QCOMPARE(combo("ComboBladtype")->currentText(), QStringLiteral("AB"));
    ClickListLine(list1(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(list1()->hasFocus());

    // The branch list opens on the racer's own branch, not the one before.
    ClickListLine(list1(), 0);
    ClickListLine(list1(), 1);
    QComboBox* branch = combo("ComboSyozoku");
    QCOMPARE(branch->currentIndex(), branch->findText(QStringLiteral("東京")));
    branch->showPopup();
    QCOMPARE(branch->view()->currentIndex().row(), branch->findText(QStringLiteral("東京")));
    branch->hidePopup();
    QCOMPARE(stored(QStringLiteral("SELECT 所属ID || '|' || 血液型ID || '|' || 生年 FROM T_選手 WHERE 選手ID = 4001")).toString(),
             QStringLiteral("12|2|1970"));
}

void SensyuFormTest::theListLoadsItsLineByKeyboardToo()
{
    auto racers = racersOf(4000, 3, 12);
    racers[1].name = QStringLiteral("鈴木一郎");
    racers[2].name = QStringLiteral("田中三郎");
    SeedRacers(g_folder->folder(), racers);
    open();
    g_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(g_form));
    press("Kenmei_12");
    ClickListLine(list1(), 0);
    list1()->setFocus();
    QTest::keyClick(list1(), Qt::Key_Down);
    QCOMPARE(edit("Namae")->text(), QStringLiteral("鈴木一郎"));
    QCOMPARE(edit("Toban")->text(), QStringLiteral("4001"));
    QVERIFY(list1()->hasFocus());  // the next arrow moves on in the list
    QTest::keyClick(list1(), Qt::Key_Down);
    QCOMPARE(edit("Namae")->text(), QStringLiteral("田中三郎"));
    // The question asks about the racer the box holds.
    answer(Mb::No, "CommandDisp_1");
    QCOMPARE(box().text, QStringLiteral("4002 田中三郎　選手の内容を更新しますか。\r\n"));
    // A click on the line already chosen loads it again.
    typeInto(edit("Namae"), QStringLiteral("書きかけ"));
    ClickListLine(list1(), 2);
    QCOMPARE(edit("Namae")->text(), QStringLiteral("田中三郎"));
    QVERIFY(combo("ComboSyozoku")->hasFocus());
}

// Enter on a line is a click on it (the program-wide keyboard): like a
// click on the line already chosen, it loads the racer again, even when the
// arrow keys chose the line before the box was edited.
void SensyuFormTest::enterOnTheChosenLineLoadsItAgain()
{
    InstallKeyboard();
    auto racers = racersOf(4000, 2, 12);
    racers[1].name = QStringLiteral("鈴木一郎");
    SeedRacers(g_folder->folder(), racers);
    open();
    g_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(g_form));
    press("Kenmei_12");
    ClickListLine(list1(), 0);
    list1()->setFocus();
    QTest::keyClick(list1(), Qt::Key_Down);
    QCOMPARE(edit("Namae")->text(), QStringLiteral("鈴木一郎"));
    typeInto(edit("Namae"), QStringLiteral("書きかけ"));
    list1()->setFocus();
    QTest::keyClick(list1(), Qt::Key_Return);
    QCOMPARE(edit("Namae")->text(), QStringLiteral("鈴木一郎"));
    QVERIFY(combo("ComboSyozoku")->hasFocus());
    // Down then Enter loads the line once and goes on to 出身.
    typeInto(edit("Namae"), QStringLiteral("書きかけ"));
    list1()->setFocus();
    QTest::keyClick(list1(), Qt::Key_Up);
    QCOMPARE(edit("Namae")->text(), racers[0].name);
    QTest::keyClick(list1(), Qt::Key_Return);
    QCOMPARE(edit("Namae")->text(), racers[0].name);
    QVERIFY(combo("ComboSyozoku")->hasFocus());
}

void SensyuFormTest::extractionFollowsTheRacer()
{
    SeedRacers(g_folder->folder(), racersOf(4000, 3, 12));
    SeedExtraction(g_folder->folder(), {4001, 4002});
    const QString extraction = QStringLiteral("SELECT group_concat(選手ID) FROM (SELECT 選手ID FROM T_選手抽出 ORDER BY 選手ID)");
    open();
    press("Kenmei_12");
    ClickListLine(list1(), 1);
    typeInto(edit("Toban"), QStringLiteral("4100"));
    answer(Mb::Yes, "CommandDisp_1");
    QCOMPARE(stored(extraction).toString(), QStringLiteral("4002,4100"));
    press("Kenmei_12");
    ClickListLine(list1(), 1);  // 4002
    answer(Mb::Yes, "CommandDisp_3");
    QCOMPARE(stored(extraction).toString(), QStringLiteral("4100"));
    // The extraction lists him under his new number.
    press("CommandDisp_5");
    press("Command500");
    QCOMPARE(lines(), QStringList{QStringLiteral("東京    4100  64  山田太郎")});
}
