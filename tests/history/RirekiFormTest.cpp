#include "Basic.h"
#include "CharPrinter.h"
#include "Database.h"
#include "DispForm.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "HistoryPrint.h"
#include "MsgBox.h"
#include "RaceTablePrint.h"
#include "Recordset.h"
#include "RirekiForm.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QScopeGuard>
#include <QTest>

namespace {
struct Race {
    QDate survey;
    int course;
    int raceNo;
    std::array<int, 6> racers;
};

void storeRaces(const QString& folder, const std::vector<Race>& races)
{
    Database db(folder);
    Database::Transaction transaction(db);
    Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)"));
    for (const Race& r : races) {
        insert.bind(1, r.survey.year()).bind(2, r.survey.month()).bind(3, r.survey.day()).bind(4, r.course).bind(5, r.raceNo);
        for (int n = 0; n < 6; ++n)
            insert.bind(6 + n, r.racers[size_t(n)]);
        insert.step();
        insert.reset();
    }
    transaction.commit();
}

TestRacer racer(int id, QDate birth, int ken = 12)
{
    TestRacer r{id};
    r.ken = ken;
    r.year = birth.year();
    r.month = birth.month();
    r.day = birth.day();
    r.name = QStringLiteral("選手%1").arg(id);
    return r;
}

const QDate kSurvey(1999, 8, 23);
}

class RirekiFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;

    RirekiForm* open() { return qobject_cast<RirekiForm*>(Forms::show(QStringLiteral("RirekiForm"))); }
    static QLabel* cell(QWidget* w, const char* name, int row)
    {
        return w->findChild<QLabel*>(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(row));
    }
    static bool isRed(QLabel* label) { return label->palette().color(QPalette::Window) == QColor(255, 0, 0); }
    static void choose(QWidget* w, int line) { PickComboItem(w->findChild<QComboBox*>(QStringLiteral("ComboRireki")), line); }
    static void trigger(QWidget* w, const char* name) { w->findChild<QAction*>(QString::fromLatin1(name))->trigger(); }
    static QLineEdit* position(QWidget* w, int i) { return w->findChild<QLineEdit*>(QStringLiteral("TextJyuni_%1").arg(i)); }
    void reopen(RirekiForm*& form)
    {
        Forms::unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form = open();
    }
    std::array<int, 6> storedResults(int index = 0)
    {
        Database db(folder_->folder());
        Recordset rs(db, QStringLiteral("T_レース履歴"));
        for (int i = 0; i < index; ++i)
            rs.MoveNext();
        std::array<int, 6> out{};
        for (int n = 1; n <= 6; ++n)
            out[size_t(n - 1)] = rs.field(QStringLiteral("結果%1").arg(n)).toInt();
        return out;
    }

    // Stores the race of the shared slots on 1999-08-23 at 戸田, race 8,
    // through the race table's "履歴登録" answered Yes; the race table stays open.
    QWidget* storeThroughTheRaceTable()
    {
        Global().ChosaNen = 1999;
        Global().ChosaTuki = 8;
        Global().ChosaHi = 23;
        Global().SelKyoteijyoMei = QStringLiteral("戸田");
        Global().SelRaceNo = 8;
        auto* disp = Forms::show(QStringLiteral("DispForm"));
        MsgBoxScript::queue(Mb::Yes);
        trigger(disp, "Menu_Add");
        return disp;
    }

private slots:
    void init()
    {
        folder_ = std::make_unique<TestFolder>();
        CharPrinter::setForcePdf(true);
        Forms::registerForm(QStringLiteral("RirekiForm"), [] { return new RirekiForm; });
        Forms::registerForm(QStringLiteral("DispForm"), [] { return new DispForm; });
        RegisterStandIn(QStringLiteral("MainForm"));
    }

    void cleanup()
    {
        UnloadAllWindows();
        folder_.reset();
    }

    void emptyHistory()
    {
        auto* form = open();
        QVERIFY(form && form->isVisible());
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("レース履歴がありません。レース履歴登録後実行して下さい\r")});
        QCOMPARE(form->findChild<QComboBox*>(QStringLiteral("ComboRireki"))->count(), 0);
        for (const char* command : {"Menu_Edit", "Mneu_Delete", "Menu_Print"}) {
            MsgBoxScript::shown().clear();
            trigger(form, command);
            QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("レース履歴を選択してから実行して下さい")});
            QCOMPARE(MsgBoxScript::shown()[0].style, Mb::OKOnly);
        }
        QCOMPARE(form->windowTitle(), QStringLiteral("レース履歴"));
    }

    void aRaceFromTheRaceTableShowsTheSameScores()
    {
        // Stored through the race table window, as a user does.
        SeedRacers(folder_->folder(), {racer(3945, kSurvey), racer(4000, QDate(1970, 5, 12), 14)});
        for (int slot = 0; slot < 2; ++slot) {
            Global().SelShozokuMei[size_t(slot)] = slot == 0 ? QStringLiteral("東京    ") : QStringLiteral("神奈川 ");
            Global().SelSensyuID[size_t(slot)] = int16_t(slot == 0 ? 3945 : 4000);
            Global().SelNamae[size_t(slot)] = QStringLiteral("x");
            Global().SelSeiNen[size_t(slot)] = int16_t(slot == 0 ? 1999 : 1970);
            Global().SelSeiTuki[size_t(slot)] = int16_t(slot == 0 ? 8 : 5);
            Global().SelSeiHi[size_t(slot)] = int16_t(slot == 0 ? 23 : 12);
        }
        QWidget* disp = storeThroughTheRaceTable();

        auto* form = open();
        auto* box = form->findChild<QComboBox*>(QStringLiteral("ComboRireki"));
        QCOMPARE(box->count(), 1);
        QCOMPARE(box->itemText(0), QStringLiteral("1 ： 1999.8.23　戸田競艇　第8レース"));
        choose(form, 0);
        QCOMPARE(cell(form, "LabelShozokuMei", 0)->text(), QStringLiteral("東京"));
        QCOMPARE(cell(form, "LabelKi", 0)->text(), QStringLiteral("3945"));
        QCOMPARE(cell(form, "LabelNamae", 0)->text(), QStringLiteral("選手3945"));
        QCOMPARE(cell(form, "LabelSyoritu", 0)->text(), QStringLiteral("6.52"));
        QCOMPARE(cell(form, "LabelFukuritu", 0)->text(), QStringLiteral("45.3"));
        QCOMPARE(position(form, 0)->text(), QStringLiteral("0"));
        for (const char* name : {"LabelBody", "LabelHeart", "LabelIntel"}) {
            QCOMPARE(cell(form, name, 0)->text(), QStringLiteral("0.00"));
            QVERIFY(isRed(cell(form, name, 0)));
            QCOMPARE(cell(form, name, 1)->text(), cell(disp, name, 1)->text());
            QCOMPARE(isRed(cell(form, name, 1)), isRed(cell(disp, name, 1)));
        }
        QCOMPARE(cell(form, "LabelShozokuMei", 1)->text(), QStringLiteral("神奈川"));
        // Empty boats show their number and position only: no racer, no rhythm.
        QCOMPARE(cell(form, "LabelShozokuMei", 2)->text(), QString());
        QCOMPARE(cell(form, "LabelKi", 2)->text(), QString());
        QCOMPARE(cell(form, "LabelBody", 2)->text(), QString());
        QVERIFY(!isRed(cell(form, "LabelIntel", 2)));
        QCOMPARE(cell(form, "LabelNo", 5)->text(), QStringLiteral("6"));
        QCOMPARE(position(form, 5)->text(), QStringLiteral("0"));
        QVERIFY(MsgBoxScript::shown().size() == 1);  // the store question only
    }

    void aRacerWithoutAKnownBranchStillShows()
    {
        SeedRacers(folder_->folder(), {racer(1, QDate(1970, 1, 1), 0)});
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {1, 0, 0, 0, 0, 0}}});
        auto* form = open();
        choose(form, 0);
        QCOMPARE(cell(form, "LabelShozokuMei", 0)->text(), QString());
        QCOMPARE(cell(form, "LabelKi", 0)->text(), QStringLiteral("1"));
        QVERIFY(!cell(form, "LabelBody", 0)->text().isEmpty());
        QVERIFY(MsgBoxScript::shown().empty());
    }

    void anEmptyBoatClearsWhatWasShownBefore()
    {
        SeedRacers(folder_->folder(), {racer(1, kSurvey), racer(2, kSurvey)});
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {1, 2, 0, 0, 0, 0}}, {kSurvey, 1, 2, {1, 0, 0, 0, 0, 0}}});
        auto* form = open();
        choose(form, 0);
        QVERIFY(isRed(cell(form, "LabelBody", 1)));
        choose(form, 1);
        QVERIFY(cell(form, "LabelBody", 1)->text().isEmpty());
        QVERIFY(!isRed(cell(form, "LabelBody", 1)));
        QVERIFY(cell(form, "LabelNamae", 1)->text().isEmpty());
    }

    void scoreColoursOnScreen()
    {
        QLabel label;
        const std::pair<double, bool> cases[] = {{1.0, true}, {-1.0, true}, {1.01, false}, {-1.01, false}, {0.0, true}};
        for (const auto& [score, red] : cases) {
            ShowScore(&label, score);
            QCOMPARE(isRed(&label), red);
        }
        ShowScore(&label, -1.0);
        QCOMPARE(label.text(), QStringLiteral("-1.00"));
    }

    void intellectWholeNumbersAreRedFromMinusOneToOne()
    {
        // Phases 16 and 17 of 33 give -1 and 1 after rounding; 1 gives 2.
        SeedRacers(folder_->folder(), {racer(1, kSurvey.addDays(-16)), racer(2, kSurvey.addDays(-17)),
                                       racer(3, kSurvey), racer(4, kSurvey.addDays(-1))});
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {1, 2, 3, 4, 0, 0}}});
        auto* form = open();
        choose(form, 0);
        const std::pair<const char*, bool> expected[4] = {{"1.00", true}, {"-1.00", true}, {"0.00", true}, {"2.00", false}};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(cell(form, "LabelIntel", i)->text(), QString::fromLatin1(expected[i].first));
            QCOMPARE(isRed(cell(form, "LabelIntel", i)), expected[i].second);
        }
    }

    void positionsAreReadByTheirLeadingNumber()
    {
        SeedRacers(folder_->folder(), {racer(1, QDate(1970, 1, 1))});
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {1, 1, 1, 1, 1, 1}}});
        auto* form = open();
        choose(form, 0);
        const QStringList typed{QStringLiteral("3"), QStringLiteral("  3"), QStringLiteral("3着"), QString(),
                                QStringLiteral("x"), QStringLiteral("6")};
        for (int i = 0; i < 6; ++i) {
            position(form, i)->selectAll();
            QTest::keyClick(position(form, i), Qt::Key_Delete);
            // Typed text; a full-width character comes in as committed input.
            position(form, i)->insert(typed[i]);
        }
        MsgBoxScript::queue(Mb::No);
        trigger(form, "Menu_Edit");
        QCOMPARE(storedResults(), (std::array<int, 6>{0, 0, 0, 0, 0, 0}));
        QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("履歴テーブルを更新しますか。"));
        QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("履歴テーブル更新"));
        QCOMPARE(MsgBoxScript::shown()[0].style, Mb::Confirm);
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Menu_Edit");
        QCOMPARE(storedResults(), (std::array<int, 6>{3, 3, 3, 0, 0, 6}));

        reopen(form);
        choose(form, 0);
        QCOMPARE(position(form, 0)->text(), QStringLiteral("3"));
        QCOMPARE(position(form, 3)->text(), QStringLiteral("0"));
        QCOMPARE(position(form, 5)->text(), QStringLiteral("6"));
    }

    void storedRacesKeepRacersWhoLeaveTheTable()
    {
        // A database made before stored races kept their racers gets the copies
        // when it is opened.
        WriteDatabaseOfScripts(folder_->folder(), {QStringLiteral("schema.sql")});
        SeedRacers(folder_->folder(), {racer(4001, QDate(1970, 1, 1)), racer(4002, QDate(1971, 2, 2))});
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {4001, 4002, 0, 0, 0, 0}}, {kSurvey, 1, 2, {4001, 0, 0, 0, 0, 0}}});
        {
            // The next handbook: 4001 has retired, 4002 has a new rate.
            Database db(folder_->folder());
            db.execute(QStringLiteral("DELETE FROM T_選手 WHERE 選手ID = 4001"));
            db.execute(QStringLiteral("UPDATE T_選手 SET 勝率 = 7.77 WHERE 選手ID = 4002"));
        }
        auto* form = open();
        choose(form, 0);
        QCOMPARE(cell(form, "LabelKi", 0)->text(), QStringLiteral("4001"));
        QCOMPARE(cell(form, "LabelNamae", 0)->text(), QStringLiteral("選手4001"));
        QCOMPARE(cell(form, "LabelSeiNen", 0)->text(), QStringLiteral("1970"));
        QCOMPARE(cell(form, "LabelShozokuMei", 0)->text(), QStringLiteral("東京"));
        QVERIFY(!cell(form, "LabelBody", 0)->text().isEmpty());
        QCOMPARE(cell(form, "LabelSyoritu", 1)->text(), QStringLiteral("7.77"));  // the live racer

        // Deleting a stored race leaves the other race its copy, which both
        // races shared: a racer's copy is kept once.
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Mneu_Delete");
        Database db(folder_->folder());
        Statement copies = db.prepare(QStringLiteral("SELECT group_concat(r.履歴ID || ':' || c.選手ID) FROM T_レース履歴 r "
                                                     "JOIN T_選手控 c ON c.控ID = r.控1"));
        copies.step();
        QCOMPARE(copies.value(0).toString(), QStringLiteral("2:4001"));
        Statement count = db.prepare(QStringLiteral("SELECT count(*) FROM T_選手控 WHERE 選手ID = 4001"));
        count.step();
        QCOMPARE(count.value(0).toInt(), 1);
        reopen(form);
        choose(form, 0);
        QCOMPARE(cell(form, "LabelNamae", 0)->text(), QStringLiteral("選手4001"));
    }

    void positionsOutsideOneToSixAreRefusedAndStoredOnesShown()
    {
        SeedRacers(folder_->folder(), {racer(1, QDate(1970, 1, 1))});
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {1, 1, 1, 1, 1, 1}}});
        auto* form = open();
        choose(form, 0);
        const QStringList typed{QStringLiteral("F"), QStringLiteral("３"), QStringLiteral("2"), QStringLiteral("2"),
                                QString(), QStringLiteral("7")};
        for (int i = 0; i < 6; ++i)
            position(form, i)->setText(typed[i]);
        for (const QString& wrong : {QStringLiteral("7"), QStringLiteral("-1"), QStringLiteral("１０")}) {
            position(form, 5)->setText(wrong);
            MsgBoxScript::shown().clear();
            trigger(form, "Menu_Edit");
            QCOMPARE(MsgBoxScript::shown().size(), size_t(1));  // no store question
            QVERIFY(MsgBoxScript::shown()[0].text.startsWith(QStringLiteral("6号艇の順位が正しくありません。")));
            QCOMPARE(storedResults(), (std::array<int, 6>{0, 0, 0, 0, 0, 0}));
        }
        position(form, 5)->setText(QStringLiteral("１"));
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Menu_Edit");
        QCOMPARE(storedResults(), (std::array<int, 6>{0, 3, 2, 2, 0, 1}));  // a dead heat for second
        const QStringList shown{QStringLiteral("0"), QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("2"),
                                QStringLiteral("0"), QStringLiteral("1")};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(position(form, i)->text(), shown[i]);
    }

    void storingTheSameRaceTwiceAsksFirst()
    {
        SeedRacers(folder_->folder(), {racer(3945, kSurvey)});
        Global().SelShozokuMei[0] = QStringLiteral("東京    ");
        Global().SelSensyuID[0] = 3945;
        QWidget* disp = storeThroughTheRaceTable();
        MsgBoxScript::queue(Mb::No);
        trigger(disp, "Menu_Add");
        QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("1999.8.23 のレースは既に登録されています。もう一度登録しますか。\r\n"));
        QCOMPARE(MsgBoxScript::shown().back().style, Mb::Confirm);
        Global().SelRaceNo = 9;  // another race: the usual question
        MsgBoxScript::queue(Mb::Yes);
        trigger(disp, "Menu_Add");
        QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("1999.8.23 のレースを履歴テーブルへ登録しますか。"));
        // The question names the date that is stored, which the detail
        // window's date buttons may have moved from the one on the table.
        Global().ChosaNen = 2028;
        Global().ChosaTuki = 3;
        Global().ChosaHi = 3;
        MsgBoxScript::queue(Mb::Yes);
        trigger(disp, "Menu_Add");
        QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("2028.3.3 のレースを履歴テーブルへ登録しますか。"));
        Database db(folder_->folder());
        QCOMPARE(Recordset(db, QStringLiteral("T_レース履歴")).RecordCount(), 3);
        Statement last = db.prepare(QStringLiteral("SELECT 調査年 || '.' || 調査月 || '.' || 調査日 FROM T_レース履歴 ORDER BY 履歴ID DESC"));
        last.step();
        QCOMPARE(last.value(0).toString(), QStringLiteral("2028.3.3"));
    }

    void deletingARace()
    {
        SeedRacers(folder_->folder(), {racer(1, QDate(1970, 1, 1))});
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {1, 0, 0, 0, 0, 0}}, {kSurvey, 2, 7, {1, 0, 0, 0, 0, 0}}});
        auto* form = open();
        choose(form, 1);
        MsgBoxScript::queue(Mb::No);
        trigger(form, "Mneu_Delete");
        QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("履歴テーブルを削除しますか。"));
        QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("履歴テーブル削除"));
        {
            Database db(folder_->folder());
            QCOMPARE(Recordset(db, QStringLiteral("T_レース履歴")).RecordCount(), 2);
        }
        position(form, 0)->setText(QStringLiteral("3"));
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Mneu_Delete");
        // The race stays in the list until the window is opened again; its
        // rows go from the screen, and nothing can be written or printed for it.
        auto* box = form->findChild<QComboBox*>(QStringLiteral("ComboRireki"));
        QCOMPARE(box->count(), 2);
        for (const char* name : {"LabelNo", "LabelNamae", "LabelKi", "LabelBody", "LabelIntel"})
            QVERIFY2(cell(form, name, 0)->text().isEmpty(), name);
        QVERIFY(!cell(form, "LabelBody", 0)->autoFillBackground());
        QVERIFY(position(form, 0)->text().isEmpty());
        for (const char* command : {"Menu_Edit", "Menu_Print", "Mneu_Delete"}) {
            MsgBoxScript::shown().clear();
            MsgBoxScript::queue(Mb::Yes);
            MsgBoxScript::queue(Mb::Yes);
            trigger(form, command);
            QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("このレース履歴は削除されています。")});
        }
        QVERIFY(QDir(folder_->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty());
        {
            Database db(folder_->folder());
            QCOMPARE(Recordset(db, QStringLiteral("T_レース履歴")).RecordCount(), 1);
        }

        // Choosing the deleted race again says so and writes nothing.
        MsgBoxScript::shown().clear();
        choose(form, 0);
        choose(form, 1);
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("このレース履歴は削除されています。")});
        trigger(form, "Menu_Edit");  // answered No by default: nothing to write anyway
        QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
        QVERIFY(!MsgBoxScript::shown().back().text.startsWith(QStringLiteral("エラー")));

        reopen(form);
        box = form->findChild<QComboBox*>(QStringLiteral("ComboRireki"));
        QCOMPARE(box->count(), 1);
        QCOMPARE(box->itemText(0), QStringLiteral("1 ： 1999.8.23　桐生競艇　第1レース"));
    }

    // Positions saved through the history table are what the window shows
    // and prints afterwards, and what the next save starts from.
    void savedPositionsAreShownPrintedAndKept()
    {
        std::vector<TestRacer> racers;
        for (int i = 0; i < 6; ++i)
            racers.push_back(racer(4000 + i, QDate(1970 + i, 3, 1)));
        SeedRacers(folder_->folder(), racers);
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {4000, 4001, 4002, 4003, 4004, 4005}},
                                       {kSurvey, 1, 2, {4000, 4001, 4002, 4003, 4004, 4005}}});
        auto* form = open();
        auto type = [&](const std::array<const char*, 6>& texts) {
            for (int i = 0; i < 6; ++i)
                position(form, i)->setText(QString::fromLatin1(texts[size_t(i)]));
        };
        auto shown = [&] {
            std::array<int, 6> out{};
            for (int i = 0; i < 6; ++i)
                out[size_t(i)] = position(form, i)->text().toInt();
            return out;
        };
        auto printed = [&] {
            MsgBoxScript::queue(Mb::Yes);
            trigger(form, "Menu_Print");
            std::array<int, 6> out{};
            for (int i = 0; i < 6; ++i)
                out[size_t(i)] = CharPrinter::lastEnded().lineText(0, 4 + i).split(QLatin1Char(' '), Qt::SkipEmptyParts).last().toInt();
            return out;
        };
        choose(form, 0);
        type({"3", "2", "1", "0", "0", "6"});
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Menu_Edit");
        QCOMPARE(storedResults(), (std::array<int, 6>{3, 2, 1, 0, 0, 6}));
        QCOMPARE(printed(), (std::array<int, 6>{3, 2, 1, 0, 0, 6}));

        choose(form, 1);
        QCOMPARE(shown(), (std::array<int, 6>{0, 0, 0, 0, 0, 0}));
        choose(form, 0);
        QCOMPARE(shown(), (std::array<int, 6>{3, 2, 1, 0, 0, 6}));
        QCOMPARE(printed(), (std::array<int, 6>{3, 2, 1, 0, 0, 6}));

        position(form, 0)->setText(QStringLiteral("4"));
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Menu_Edit");
        QCOMPARE(storedResults(), (std::array<int, 6>{4, 2, 1, 0, 0, 6}));
        QCOMPARE(storedResults(1), (std::array<int, 6>{0, 0, 0, 0, 0, 0}));
        choose(form, 1);
        choose(form, 0);
        QCOMPARE(shown(), (std::array<int, 6>{4, 2, 1, 0, 0, 6}));
        QCOMPARE(printed(), (std::array<int, 6>{4, 2, 1, 0, 0, 6}));
        QVERIFY(!MsgBoxScript::texts().join(QString()).contains(QStringLiteral("エラー")));
    }

    // A racer no longer in the racer table: a seat like an empty one, with
    // no registration number, no rhythm and no red, on screen and on paper.
    void aRacerNoLongerStoredShowsAsAnEmptySeat()
    {
        SeedRacers(folder_->folder(), {racer(1, kSurvey), racer(2, kSurvey)});
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {1, 9999, 2, 0, 0, 0}}});
        auto* form = open();
        choose(form, 0);
        QCOMPARE(cell(form, "LabelNo", 1)->text(), QStringLiteral("2"));
        for (const char* name : {"LabelKi", "LabelNamae", "LabelSeiNen", "LabelBody", "LabelHeart", "LabelIntel"})
            QVERIFY2(cell(form, name, 1)->text().isEmpty(), name);
        for (const char* name : {"LabelBody", "LabelHeart", "LabelIntel"})
            QVERIFY2(!isRed(cell(form, name, 1)), name);
        QCOMPARE(cell(form, "LabelKi", 2)->text(), QStringLiteral("2"));
        QVERIFY(isRed(cell(form, "LabelBody", 2)));

        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Menu_Print");
        const CharPrinter& paper = CharPrinter::lastEnded();
        QVERIFY(paper.lineText(0, 4).startsWith(QStringLiteral("           1 東京   1    選手1")));
        // The empty seat is left out; the seat after it is printed.
        QVERIFY(paper.lineText(0, 5).startsWith(QStringLiteral("           3 東京   2    選手2")));
        QVERIFY(paper.lineText(0, 6).isEmpty());
    }

    void printingSixSeats()
    {
        std::vector<TestRacer> racers;
        for (int i = 0; i < 6; ++i)
            racers.push_back(racer(4000 + i, i == 0 ? kSurvey : QDate(1970 + i, 3, 1)));
        SeedRacers(folder_->folder(), racers);
        storeRaces(folder_->folder(), {{kSurvey, 1, 5, {4000, 4001, 4002, 4003, 4004, 4005}}});
        auto* form = open();
        choose(form, 0);
        position(form, 0)->setText(QStringLiteral("2"));
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Menu_Edit");

        Database db(folder_->folder());
        Recordset view(db, QStringLiteral("Q_レース履歴"));
        CharPrinter printer(folder_->folder(), QStringLiteral("test"));
        QCOMPARE(BuildHistoryPrint(printer, view, [&](int id) { return form->ShozokuMei(int16_t(id)); }), 6);
        QCOMPARE(printer.lineText(0, 0), QStringLiteral("          調査日：1999.8.23  桐生競艇  第5レース    バイオリズム表示"));
        QVERIFY(printer.lineText(0, 1).isEmpty());
        QCOMPARE(printer.lineText(0, 2),
                 QStringLiteral("          No.出身   登番 名前          生年 生月 生日 勝率 複勝率 身体   感情   知性  順位"));
        QVERIFY(printer.lineText(0, 3).isEmpty());
        QCOMPARE(printer.lineText(0, 4),
                 QStringLiteral("           1 東京   4000 選手4000        1999  8  23  6.52  45.3  0.00   0.00   0.00   2"));
        for (int column : {66, 73, 80})
            QCOMPARE(printer.colourAt(0, 4, column), QColor(255, 0, 0));
        QCOMPARE(printer.colourAt(0, 4, 87), QColor(0, 0, 0));
        QVERIFY(printer.lineText(0, 9).startsWith(QStringLiteral("           6 東京   4005 選手4005")));
        QVERIFY(printer.lineText(0, 10).isEmpty());

        // Through the window: the question, then a PDF.
        MsgBoxScript::shown().clear();
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Menu_Print");
        QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("レース履歴を印刷しますか。\r\n"));
        QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("レース履歴印刷"));
        // Named by the race shown.
        QCOMPARE(QDir(folder_->folder()).entryList({QStringLiteral("*.pdf")}),
                 QStringList{QStringLiteral("レース履歴-19990823-桐生-5R.pdf")});
    }

    void anEightCharacterNameShowsWholeAndKeepsClearOfTheYear()
    {
        const QFont before = QApplication::font();
        UseProgramFont();
        const auto restore = qScopeGuard([&before] { QApplication::setFont(before); });
        TestRacer long8 = racer(4000, QDate(1989, 3, 1));
        long8.name = QStringLiteral("一二三四五六七八");
        SeedRacers(folder_->folder(), {long8});
        storeRaces(folder_->folder(), {{kSurvey, 1, 5, {4000, 0, 0, 0, 0, 0}}});
        auto* form = open();
        choose(form, 0);
        QLabel* name = cell(form, "LabelNamae", 0);
        QCOMPARE(name->text(), long8.name);
        QVERIFY(name->width() >= name->fontMetrics().horizontalAdvance(long8.name));
        QVERIFY(name->geometry().right() < cell(form, "LabelSeiNen", 0)->x());

        Database db(folder_->folder());
        Recordset view(db, QStringLiteral("Q_レース履歴"));
        CharPrinter printer(folder_->folder(), QStringLiteral("test"));
        QCOMPARE(BuildHistoryPrint(printer, view, [&](int id) { return form->ShozokuMei(int16_t(id)); }), 1);
        // On paper the whole name ends before the year's column (40).
        const CharPrinter::Line& line = printer.pages()[0][4];
        const auto run = std::find_if(line.begin(), line.end(), [](const CharPrinter::Run& r) { return r.column == 25; });
        QVERIFY(run != line.end());
        QCOMPARE(run->text, long8.name);
        QVERIFY(run->fitCells > 0 && run->column + run->fitCells <= 40);
        QVERIFY(printer.lineText(0, 4).contains(QStringLiteral("  1989")));
    }

    void everyMenuItemShowsItsWholeCaption() { VerifyMenusShowWholeCaptions(open()); }

    // Empty boats stand anywhere in races stored from a race program: each
    // is left out and the boats after it are printed. A racer without an
    // affiliation is a racer and is printed.
    void printingLeavesOutEmptyBoats()
    {
        SeedRacers(folder_->folder(), {racer(1, QDate(1970, 1, 1)), racer(2, QDate(1971, 1, 1)), racer(3, QDate(1972, 1, 1), 0)});
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {1, 2, 3, 1, 2, 0}},
                                       {kSurvey, 1, 2, {0, 1, 0, 9999, 2, 0}},
                                       {kSurvey, 1, 3, {0, 0, 0, 0, 0, 9999}}});
        auto* form = open();
        Database db(folder_->folder());
        Recordset view(db, QStringLiteral("Q_レース履歴"));
        auto name = [&](int id) { return form->ShozokuMei(int16_t(id)); };
        auto boats = [](const CharPrinter& printer) {
            QStringList numbers;
            for (int line = 4; line < int(printer.pages()[0].size()); ++line)
                if (!printer.lineText(0, line).isEmpty())
                    numbers << printer.lineText(0, line).mid(10, 2).trimmed();
            return numbers;
        };
        CharPrinter five(folder_->folder(), QStringLiteral("test"));
        QCOMPARE(BuildHistoryPrint(five, view, name), 5);
        QCOMPARE(boats(five), (QStringList{"1", "2", "3", "4", "5"}));
        QVERIFY(five.lineText(0, 6).mid(19, 4).contains(QStringLiteral("3")));  // boat 3: no branch, his number

        view.MoveNext();  // boats 1, 3, 4 (a racer in no table) and 6 empty
        CharPrinter two(folder_->folder(), QStringLiteral("test"));
        QCOMPARE(BuildHistoryPrint(two, view, name), 2);
        QCOMPARE(boats(two), (QStringList{"2", "5"}));
        QVERIFY(two.lineText(0, 0).startsWith(QStringLiteral("          調査日：")));  // the heading comes first

        view.MoveNext();
        CharPrinter none(folder_->folder(), QStringLiteral("test"));
        QCOMPARE(BuildHistoryPrint(none, view, name), 0);
        choose(form, 2);
        MsgBoxScript::shown().clear();
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Menu_Print");
        QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
        QCOMPARE(MsgBoxScript::shown()[1].text, QStringLiteral("該当レコードがありません"));
        QVERIFY(QDir(folder_->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty());
        MsgBoxScript::queue(Mb::No);
        choose(form, 0);
        trigger(form, "Menu_Print");
        QVERIFY(QDir(folder_->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty());
    }

    void everyRaceCanBeChosenBeyondAShortCounter()
    {
        // More races than a 16-bit counter holds: every one is listed and the
        // last can be chosen, corrected and printed.
        SeedRacers(folder_->folder(), {racer(1, QDate(1970, 1, 1)), racer(2, QDate(1980, 2, 2))});
        std::vector<Race> races(40000, Race{kSurvey, 1, 1, {1, 0, 0, 0, 0, 0}});
        races.back() = Race{QDate(2024, 7, 29), 4, 12, {2, 1, 0, 0, 0, 0}};
        storeRaces(folder_->folder(), races);
        auto* form = open();
        QVERIFY(form);
        QVERIFY(MsgBoxScript::shown().empty());
        auto* box = form->findChild<QComboBox*>(QStringLiteral("ComboRireki"));
        QCOMPARE(box->count(), 40000);
        QCOMPARE(box->itemText(39999), QStringLiteral("40000 ： 2024.7.29　平和島競艇　第12レース"));
        choose(form, 39999);
        QCOMPARE(cell(form, "LabelKi", 0)->text(), QStringLiteral("2"));
        QCOMPARE(cell(form, "LabelSeiNen", 0)->text(), QStringLiteral("1980"));
        position(form, 0)->setText(QStringLiteral("1"));
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Menu_Edit");
        Database db(folder_->folder());
        Statement stored = db.prepare(QStringLiteral("SELECT 結果1 FROM T_レース履歴 WHERE 履歴ID = 40000"));
        QVERIFY(stored.step());
        QCOMPARE(stored.value(0).toInt(), 1);
    }

    void aDaysRacesAreFoundByTypingTheDate()
    {
        SeedRacers(folder_->folder(), {racer(1, QDate(1970, 1, 1))});
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {1, 0, 0, 0, 0, 0}},
                                       {QDate(2024, 7, 29), 4, 1, {1, 0, 0, 0, 0, 0}},
                                       {QDate(2024, 7, 29), 12, 1, {1, 0, 0, 0, 0, 0}},
                                       {QDate(2024, 7, 29), 12, 2, {1, 0, 0, 0, 0, 0}}});
        auto* form = open();
        auto* box = form->findChild<QComboBox*>(QStringLiteral("ComboRireki"));
        auto* find = form->findChild<QLineEdit*>(QStringLiteral("TextHizuke"));
        QVERIFY(find);
        const std::pair<const char*, int> cases[] = {{"2024.7.29", 1}, {"20240729", 1}, {"2024/7/29 住之江", 2},
                                                     {" 2024.7.29　住之江競艇 ", 2}, {"1999.8.23", 0},
                                                     {"２０２４．７．２９　住之江", 2}, {"２０２４０７２９", 1}};
        for (const auto& [typed, line] : cases) {
            box->setCurrentIndex(-1);
            find->setText(QString::fromUtf8(typed));
            QTest::keyClick(find, Qt::Key_Return);
            QCOMPARE(box->currentIndex(), line);
            QCOMPARE(cell(form, "LabelKi", 0)->text(), QStringLiteral("1"));
        }
        QVERIFY(MsgBoxScript::shown().empty());
        find->setText(QStringLiteral("2024.7.30"));
        QTest::keyClick(find, Qt::Key_Return);
        find->setText(QStringLiteral("7/29"));
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(MsgBoxScript::texts().size(), 2);
        QCOMPARE(MsgBoxScript::texts()[0], QStringLiteral("2024.7.30のレース履歴はありません。"));
        QVERIFY(MsgBoxScript::texts()[1].startsWith(QStringLiteral("日付を 2024.7.29 のように入力して下さい")));
    }

    void finishCodesAndRacersWithoutBirthDateAreShownAndPrinted()
    {
        SeedRacers(folder_->folder(), {racer(1, QDate(1970, 1, 1)), racer(2, QDate(1971, 1, 1))});
        storeRaces(folder_->folder(), {{kSurvey, 1, 1, {1, 2, 4999, 0, 0, 0}}});
        {
            // What a results file leaves: a flying start, a place, a
            // disqualification of a racer known only from the program.
            Database db(folder_->folder());
            db.execute(QStringLiteral("INSERT INTO T_選手控 (選手ID, 所属ID, 級, 名前, 勝率, 複勝率) VALUES (4999, 40, 'B2', '新人選手', 3.5, 20.1)"));
            db.execute(QStringLiteral("UPDATE T_レース履歴 SET 控3 = (SELECT 控ID FROM T_選手控 WHERE 選手ID = 4999), "
                                      "着1 = 'F', 結果1 = 0, 着2 = '01', 結果2 = 1, 着3 = 'K0', 結果3 = 0"));
        }
        auto* form = open();
        choose(form, 0);
        QCOMPARE(position(form, 0)->text(), QStringLiteral("F"));
        QCOMPARE(position(form, 1)->text(), QStringLiteral("1"));
        QCOMPARE(position(form, 2)->text(), QStringLiteral("K0"));
        QCOMPARE(position(form, 3)->text(), QStringLiteral("0"));
        QCOMPARE(cell(form, "LabelKi", 2)->text(), QStringLiteral("4999"));
        QCOMPARE(cell(form, "LabelNamae", 2)->text(), QStringLiteral("新人選手"));
        QCOMPARE(cell(form, "LabelShozokuMei", 2)->text(), QStringLiteral("福岡"));
        QCOMPARE(cell(form, "LabelSyoritu", 2)->text(), QStringLiteral("3.50"));
        QVERIFY(cell(form, "LabelSeiNen", 2)->text().isEmpty());
        QVERIFY(cell(form, "LabelBody", 2)->text().isEmpty());
        QVERIFY(cell(form, "LabelIntel", 2)->text().isEmpty());
        QVERIFY(!cell(form, "LabelBody", 0)->text().isEmpty());

        // The print shows the codes where the boats finished in no place.
        Database db(folder_->folder());
        Recordset view(db, QStringLiteral("Q_レース履歴"));
        CharPrinter printer(folder_->folder(), QStringLiteral("test"));
        QCOMPARE(BuildHistoryPrint(printer, view, [](int) { return QStringLiteral("福岡"); }), 3);
        // The characters of a line from a column on (a wide one takes two).
        const auto columns = [&printer](int line, int from, int count) {
            QString text;
            int column = 0;
            for (QChar c : printer.lineText(0, line)) {
                if (column >= from && column < from + count)
                    text += c;
                column += c.unicode() < 0x80 || (c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F) ? 1 : 2;
            }
            return text;
        };
        QCOMPARE(columns(4, 86, 3), QStringLiteral(" F"));
        QCOMPARE(columns(5, 86, 3), QStringLiteral(" 1"));
        QCOMPARE(columns(6, 86, 3), QStringLiteral(" K0"));
        QCOMPARE(columns(6, 19, 5), QStringLiteral(" 4999"));
        QVERIFY(columns(6, 40, 12).trimmed().isEmpty());  // no birth date
        QVERIFY(columns(6, 66, 20).trimmed().isEmpty());  // no rhythm
        QVERIFY(!columns(4, 66, 20).trimmed().isEmpty());

        // A box left showing its code keeps it; a place typed over a code
        // replaces it; a code typed by hand is no code of the file (0).
        position(form, 1)->setText(QStringLiteral("F"));
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Menu_Edit");
        Statement stored = db.prepare(QStringLiteral("SELECT ifnull(着1, '-') || 結果1 || ifnull(着2, '-') || 結果2 || ifnull(着3, '-') || 結果3 FROM T_レース履歴"));
        QVERIFY(stored.step());
        QCOMPARE(stored.value(0).toString(), QStringLiteral("F0-0K00"));
        stored.reset();  // no read left open while the window writes
        QCOMPARE(position(form, 0)->text(), QStringLiteral("F"));
        QCOMPARE(position(form, 1)->text(), QStringLiteral("0"));
        position(form, 2)->setText(QStringLiteral("6"));
        MsgBoxScript::queue(Mb::Yes);
        trigger(form, "Menu_Edit");
        QVERIFY(stored.step());
        QCOMPARE(stored.value(0).toString(), QStringLiteral("F0-0-6"));
    }

    void closingReturnsToTheMainMenu()
    {
        auto* form = open();
        trigger(form, "Menu_Close");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Forms::find(QStringLiteral("RirekiForm")));
        QVERIFY(Forms::find(QStringLiteral("MainForm")));
    }
};

QTEST_MAIN(RirekiFormTest)
#include "RirekiFormTest.moc"
