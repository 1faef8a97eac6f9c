#include "AnalysisReport.h"
#include "BunsekiForm.h"
#include "CharPrinter.h"
#include "Database.h"
#include "Forms.h"
#include "MsgBox.h"
#include "RateChart.h"
#include "ResultsAnalysis.h"
#include "Rhythm.h"
#include "RirekiForm.h"
#include "FileDialog.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {
struct Race {
    QDate survey;
    int course;
    std::array<int, 6> racers;
    std::array<int, 6> positions;
};

void storeRaces(const QString& folder, const std::vector<Race>& races)
{
    Database db(folder);
    Database::Transaction transaction(db);
    Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6, "
        "結果1, 結果2, 結果3, 結果4, 結果5, 結果6) VALUES (?1, ?2, ?3, ?4, 1, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)"));
    for (const Race& r : races) {
        insert.bind(1, r.survey.year()).bind(2, r.survey.month()).bind(3, r.survey.day()).bind(4, r.course);
        for (int n = 0; n < 6; ++n)
            insert.bind(5 + n, r.racers[size_t(n)]).bind(11 + n, r.positions[size_t(n)]);
        insert.step();
        insert.reset();
    }
    transaction.commit();
}

TestRacer racer(int id, QDate birth)
{
    TestRacer r{id};
    r.year = birth.year();
    r.month = birth.month();
    r.day = birth.day();
    return r;
}

// The hand-worked history. Survey day 15 June 2000; each racer's day count D
// and the scores it gives (body P 23, emotion P 28, intellect P 33 rounded):
//   A 101 born 2000-06-15  D 0    0.00   0.00   0   all three critical
//   B 102 born 2000-06-14  D 1    1.55   1.56   2   all rising
//   C 103 born 2000-06-16  D -1  -1.55  -1.56  -2   all falling
//   D 104 born 2000-06-09  D 6    5.74   6.82   8   all good
//   E 105 born 2000-05-11  D 35  -0.78   7.00   3   critical, good, rising
//   F 106 born 2000-05-29  D 17  -5.74  -4.36  -1   poor, poor, critical
// The strong bounds P/8 are 2.875, 3.5 and 4.125.
const QDate kJune15(2000, 6, 15);
const QDate kJuly20(2000, 7, 20);
constexpr int kUnknown = 9999;

void seedHandWorkedHistory(const QString& folder)
{
    SeedRacers(folder, {racer(101, QDate(2000, 6, 15)), racer(102, QDate(2000, 6, 14)), racer(103, QDate(2000, 6, 16)),
                        racer(104, QDate(2000, 6, 9)), racer(105, QDate(2000, 5, 11)), racer(106, QDate(2000, 5, 29))});
    storeRaces(folder, {
        // An empty boat and a racer not in the racer table.
        {kJune15, 1, {101, 102, 103, 104, 0, kUnknown}, {1, 2, 3, 4, 0, 5}},
        // Boats 5 and 6 without positions.
        {kJune15, 2, {101, 102, 103, 104, 102, 103}, {2, 1, 6, 3, 0, 0}},
        {kJune15, 2, {105, 106, 0, 0, 0, 0}, {1, 5, 0, 0, 0, 0}},
        // A a month later: D 35, critical, good, rising as E above.
        {kJuly20, 1, {101, 0, 0, 0, 0, 0}, {6, 0, 0, 0, 0, 0}},
    });
}

struct Expect {
    int starts, first, topTwo, topThree, positionSum;
};

void compareTally(const Tally& t, const Expect& e)
{
    QCOMPARE(t.starts, e.starts);
    QCOMPARE(t.first, e.first);
    QCOMPARE(t.topTwo, e.topTwo);
    QCOMPARE(t.topThree, e.topThree);
    QCOMPARE(t.positionSum, int64_t(e.positionSum));
}

const Tally& tallyOf(const AnalysisTable& table, int rhythm, RhythmState state)
{
    return table.rows[size_t(AnalysisTable::rowOf(rhythm, state))].tally;
}

AnalysisFilter june()
{
    AnalysisFilter f;
    f.from = DayNumber(2000, 6, 1);
    f.to = DayNumber(2000, 6, 30);
    return f;
}
}

// The counting, the interval and the reports, on plain data.
class ResultsAnalysisTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;
    std::vector<StoredRace> races_;

private slots:
    void init()
    {
        folder_ = std::make_unique<TestFolder>();
        seedHandWorkedHistory(folder_->folder());
        races_ = LoadStoredRaces(Database(folder_->folder()));
    }
    void cleanup() { folder_.reset(); }

    void theViewGivesEachSeat()
    {
        QCOMPARE(races_.size(), size_t(4));
        const StoredRace& first = races_[0];
        QCOMPARE(first.year, int16_t(2000));
        QCOMPARE(first.course, 1);
        QCOMPARE(first.seats[1].racer, 102);
        QCOMPARE(first.seats[1].birthDay, int16_t(14));
        QCOMPARE(first.seats[1].position, int16_t(2));
        QCOMPARE(first.seats[4].racer, 0);
        // A racer held neither in the racer table nor as a copy comes without a birth date.
        QCOMPARE(first.seats[5].racer, kUnknown);
        QCOMPARE(first.seats[5].birthYear, int16_t(0));
    }

    void handWorkedJune()
    {
        const AnalysisTable t = Analyse(races_, june());
        QCOMPARE(int(t.rows.size()), AnalysisTable::RowCount);
        // Ten starts: race 1 A1 B2 C3 D4, race 2 A2 B1 C6 D3, race 3 E1 F5.
        compareTally(t.rows[AnalysisTable::AllRow].tally, {10, 3, 5, 7, 28});
        QCOMPARE(t.withoutPosition, 2);
        QCOMPARE(t.unknownRacer, 1);

        using S = RhythmState;
        // Body: good D(4,3); rising B(2,1); critical A(1,2) E(1); falling C(3,6); poor F(5).
        compareTally(tallyOf(t, 0, S::Good), {2, 0, 0, 1, 7});
        compareTally(tallyOf(t, 0, S::Rising), {2, 1, 2, 2, 3});
        compareTally(tallyOf(t, 0, S::Critical), {3, 2, 3, 3, 4});
        compareTally(tallyOf(t, 0, S::Falling), {2, 0, 0, 1, 9});
        compareTally(tallyOf(t, 0, S::Poor), {1, 0, 0, 0, 5});
        // Emotion: good D(4,3) E(1); rising B; critical A; falling C; poor F.
        compareTally(tallyOf(t, 1, S::Good), {3, 1, 1, 2, 8});
        compareTally(tallyOf(t, 1, S::Rising), {2, 1, 2, 2, 3});
        compareTally(tallyOf(t, 1, S::Critical), {2, 1, 2, 2, 3});
        compareTally(tallyOf(t, 1, S::Falling), {2, 0, 0, 1, 9});
        compareTally(tallyOf(t, 1, S::Poor), {1, 0, 0, 0, 5});
        // Intellect: good D; rising B(2,1) E(1); critical A(1,2) F(5); falling C; poor none.
        compareTally(tallyOf(t, 2, S::Good), {2, 0, 0, 1, 7});
        compareTally(tallyOf(t, 2, S::Rising), {3, 2, 3, 3, 4});
        compareTally(tallyOf(t, 2, S::Critical), {3, 1, 2, 2, 8});
        compareTally(tallyOf(t, 2, S::Falling), {2, 0, 0, 1, 9});
        compareTally(tallyOf(t, 2, S::Poor), {0, 0, 0, 0, 0});
        // All three critical: A only (F's body and emotion are poor).
        compareTally(t.rows[AnalysisTable::AllCriticalRow].tally, {2, 1, 2, 2, 3});

        // The texts: 3 of 10 won, average 2.8; 2 of 3 is 66.7 %.
        const Tally& all = t.rows[AnalysisTable::AllRow].tally;
        QCOMPARE(RateText(all.first, all.starts), QStringLiteral("30.0"));
        QCOMPARE(AverageText(all), QStringLiteral("2.80"));
        QCOMPARE(RateText(2, 3), QStringLiteral("66.7"));
        QCOMPARE(AverageText(tallyOf(t, 0, S::Critical)), QStringLiteral("1.33"));
        QCOMPARE(RateText(0, 0), QString());
        QCOMPARE(AverageText(tallyOf(t, 2, S::Poor)), QString());
    }

    void filters()
    {
        // Every date: A's July race adds a sixth place (critical, good, rising).
        const AnalysisTable all = Analyse(races_, {});
        compareTally(all.rows[AnalysisTable::AllRow].tally, {11, 3, 5, 7, 34});
        compareTally(tallyOf(all, 0, RhythmState::Critical), {4, 2, 3, 3, 10});
        compareTally(tallyOf(all, 1, RhythmState::Good), {4, 1, 1, 2, 14});
        compareTally(tallyOf(all, 2, RhythmState::Rising), {4, 2, 3, 3, 10});
        compareTally(all.rows[AnalysisTable::AllCriticalRow].tally, {2, 1, 2, 2, 3});

        // Racecourse 1: race 1 and the July race.
        AnalysisFilter kiryu;
        kiryu.course = 1;
        const AnalysisTable one = Analyse(races_, kiryu);
        compareTally(one.rows[AnalysisTable::AllRow].tally, {5, 1, 2, 3, 16});
        QCOMPARE(one.withoutPosition, 0);
        QCOMPARE(one.unknownRacer, 1);

        // Both bounds are included; a range holding no race gives an empty table.
        AnalysisFilter day;
        day.from = day.to = DayNumber(2000, 7, 20);
        compareTally(Analyse(races_, day).rows[AnalysisTable::AllRow].tally, {1, 0, 0, 0, 6});
        day.from = day.to = DayNumber(2000, 7, 21);
        const AnalysisTable none = Analyse(races_, day);
        QVERIFY(none.empty());
        QCOMPARE(none.withoutPosition, 0);
    }

    void aRacerWhoLeftTheRacerTableStillCounts()
    {
        // A later handbook no longer lists D: his stored starts keep the
        // copy of him made when the races were stored.
        Database(folder_->folder()).execute(QStringLiteral("DELETE FROM T_選手 WHERE 選手ID = 104"));
        const std::vector<StoredRace> races = LoadStoredRaces(Database(folder_->folder()));
        QCOMPARE(races[0].seats[3].racer, 104);
        QCOMPARE(races[0].seats[3].birthDay, int16_t(9));
        const AnalysisTable t = Analyse(races, june());
        compareTally(t.rows[AnalysisTable::AllRow].tally, {10, 3, 5, 7, 28});
        compareTally(tallyOf(t, 0, RhythmState::Good), {2, 0, 0, 1, 7});
        QCOMPARE(t.unknownRacer, 1);
    }

    void positionsOutsideOneToSixAreLeftOut()
    {
        StoredRace race = races_[0];
        race.seats[0].position = 7;
        race.seats[1].position = -1;
        const AnalysisTable t = Analyse({race}, {});
        compareTally(t.rows[AnalysisTable::AllRow].tally, {2, 0, 0, 1, 7});
        QCOMPARE(t.withoutPosition, 2);
    }

    void stateBounds()
    {
        // Body: P/8 = 2.875 is good, just under is rising; +-1 is the red rule.
        QCOMPARE(Classify(2.875, 23), RhythmState::Good);
        QCOMPARE(Classify(2.87, 23), RhythmState::Rising);
        QCOMPARE(Classify(1.01, 23), RhythmState::Rising);
        QCOMPARE(Classify(1.0, 23), RhythmState::Critical);
        QCOMPARE(Classify(-1.0, 23), RhythmState::Critical);
        QCOMPARE(Classify(-1.01, 23), RhythmState::Falling);
        QCOMPARE(Classify(-2.87, 23), RhythmState::Falling);
        QCOMPARE(Classify(-2.875, 23), RhythmState::Poor);
        // Intellect scores are whole numbers: 4 is under 4.125, 5 over it.
        QCOMPARE(Classify(4, 33), RhythmState::Rising);
        QCOMPARE(Classify(5, 33), RhythmState::Good);
        QCOMPARE(Classify(-5, 33), RhythmState::Poor);
    }

    void everyDayCountFallsInTheStateOfItsScores()
    {
        // Three years of day counts either side of birth, each one start.
        for (int days = -1100; days <= 1100; ++days) {
            const QDate birth = kJune15.addDays(-days);
            StoredRace race{2000, 6, 15, 1, {}};
            race.seats[0] = {101, int16_t(birth.year()), int16_t(birth.month()), int16_t(birth.day()), 1};
            const AnalysisTable t = Analyse({race}, {});
            const Rhythm::Scores s = Rhythm::TableScores(days);
            const double values[3] = {s.body, s.emotion, s.intellect};
            for (int r = 0; r < 3; ++r)
                QVERIFY2(tallyOf(t, r, Classify(values[r], Rhythm::Periods[r])).starts == 1, qPrintable(QString::number(days)));
        }
    }

    void wilsonKnownValues()
    {
        // 0 of 10: 0 .. z^2 / (n + z^2) = 0.2775.
        Interval i = Wilson(0, 10);
        QCOMPARE(i.low, 0.0);
        QVERIFY(qAbs(i.high - 0.27753) < 1e-4);
        // 5 of 10: 0.2366 .. 0.7634, symmetric about one half.
        i = Wilson(5, 10);
        QVERIFY(qAbs(i.low - 0.23659) < 1e-4);
        QVERIFY(qAbs(i.high - 0.76341) < 1e-4);
        // 10 of 10: 0.7225 .. 1.
        i = Wilson(10, 10);
        QVERIFY(qAbs(i.low - 0.72247) < 1e-4);
        QCOMPARE(i.high, 1.0);
        // With no trial nothing is known.
        i = Wilson(0, 0);
        QCOMPARE(i.low, 0.0);
        QCOMPARE(i.high, 1.0);
        QCOMPARE(IntervalText(5, 10), QStringLiteral("23.7～76.3"));
        QCOMPARE(IntervalText(0, 0), QString());
    }

    void csvForASpreadsheet()
    {
        const QByteArray csv = AnalysisCsv(Analyse(races_, june()), QStringLiteral("調査日 2000.6.1～2000.6.30　全競艇場"));
        QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
        QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
        // The races it was made for, then the header, the rows, the empty text after the last CR LF.
        QCOMPARE(lines.size(), AnalysisTable::RowCount + 3);
        QCOMPARE(lines.takeFirst(), QStringLiteral("成績分析　調査日 2000.6.1～2000.6.30　全競艇場"));
        QCOMPARE(lines.last(), QString());
        QVERIFY(lines[0].startsWith(QStringLiteral("区分,状態,出走数,1着数,1着率(%)")));
        for (int i = 0; i <= AnalysisTable::RowCount; ++i)
            QCOMPARE(lines[i].count(QLatin1Char(',')), 15);
        // 全体: 10 starts, 3 won (30.0, 10.8..60.3), 5 in two, 7 in three, average 2.80.
        QCOMPARE(lines[1], QStringLiteral("全体,,10,3,30.0,10.8,60.3,5,50.0,23.7,76.3,7,70.0,39.7,89.2,2.80"));
        QCOMPARE(lines[2], QStringLiteral("身体,好調,2,0,0.0,0.0,65.8,0,0.0,0.0,65.8,1,50.0,9.5,90.5,3.50"));
        // No start: counts 0 and no rates.
        QCOMPARE(lines[1 + AnalysisTable::rowOf(2, RhythmState::Poor)], QStringLiteral("知性,不調,0,0,,,,0,,,,0,,,,"));
        QCOMPARE(lines[AnalysisTable::RowCount], QStringLiteral("三つとも要注意,,2,1,50.0,9.5,90.5,2,100.0,34.2,100.0,2,100.0,34.2,100.0,1.50"));
    }

    void printedPage()
    {
        CharPrinter printer(folder_->folder(), QStringLiteral("成績分析"));
        BuildAnalysisPrint(printer, Analyse(races_, june()), QStringLiteral("調査日 2000.6.1～2000.6.30　全競艇場"));
        QCOMPARE(printer.pages().size(), size_t(1));
        QCOMPARE(printer.lineText(0, 0), QStringLiteral("成績分析　調査日 2000.6.1～2000.6.30　全競艇場"));
        QVERIFY(printer.lineText(0, 2).startsWith(QStringLiteral("区分           状態")));
        // Heading, empty line, column headings, empty line, 17 rows, empty
        // line, two left-out lines, the note, and the line left open after it.
        const auto& lines = printer.pages()[0];
        QCOMPARE(int(lines.size()), 4 + AnalysisTable::RowCount + 5);
        QCOMPARE(printer.lineText(0, 4),
                 QStringLiteral("全体                      10  30.0(10.8-60.3)   50.0(23.7-76.3)   70.0(39.7-89.2)   2.80"));
        QCOMPARE(printer.lineText(0, 4 + AnalysisTable::rowOf(2, RhythmState::Poor)).trimmed(),
                 QStringLiteral("知性           不調        0"));
        QCOMPARE(printer.lineText(0, 4 + AnalysisTable::RowCount + 1),
                 QStringLiteral("順位が入っていない 2 出走は集計に含めていません。"));
        QCOMPARE(printer.lineText(0, 4 + AnalysisTable::RowCount + 2),
                 QStringLiteral("選手テーブルにも保存時の選手データにもない選手の 1 出走も除いています。"));
        // Every line fits the width of an A4 page (91 columns).
        for (int l = 0; l < int(lines.size()); ++l)
            QVERIFY2(CharPrinter::cells(printer.lineText(0, l)) <= 91, qPrintable(printer.lineText(0, l)));
    }
};

// The window, opened from the race history as a user does.
class BunsekiFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;

    static RirekiForm* openHistory() { return qobject_cast<RirekiForm*>(Forms::show(QStringLiteral("RirekiForm"))); }
    static BunsekiForm* openAnalysis(QWidget* history)
    {
        QMenuBar* bar = qobject_cast<QMainWindow*>(history)->menuBar();
        QAction* item = bar->actions().last();
        if (item->objectName() != QStringLiteral("Menu_Bunseki"))
            return nullptr;
        item->trigger();
        return qobject_cast<BunsekiForm*>(Forms::find(QStringLiteral("BunsekiForm")));
    }
    static QString cell(BunsekiForm* form, int row, int column)
    {
        return form->findChild<QTableWidget*>(QStringLiteral("TableBunseki"))->item(row, column)->text();
    }
    static void setDates(BunsekiForm* form, QDate from, QDate to)
    {
        form->findChild<QDateEdit*>(QStringLiteral("DateFrom"))->setDate(from);
        form->findChild<QDateEdit*>(QStringLiteral("DateTo"))->setDate(to);
    }
    static void click(QWidget* form, const char* name)
    {
        QTest::mouseClick(form->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }

private slots:
    void init()
    {
        folder_ = std::make_unique<TestFolder>();
        CharPrinter::setForcePdf(true);
        Forms::registerForm(QStringLiteral("RirekiForm"), [] { return new RirekiForm; });
        Forms::registerForm(QStringLiteral("BunsekiForm"), [] { return new BunsekiForm; });
        RegisterStandIn(QStringLiteral("MainForm"));
    }

    void cleanup()
    {
        UnloadAllWindows();
        folder_.reset();
    }

    void opensFromTheHistoryAndClosesWithIt()
    {
        seedHandWorkedHistory(folder_->folder());
        RirekiForm* history = openHistory();
        QMenuBar* bar = history->menuBar();
        QCOMPARE(bar->actions().last()->text(), QStringLiteral("成績分析(&A)"));
        QStringList captions;
        for (QAction* a : bar->actions())
            captions << a->text();
        QCOMPARE(captions, (QStringList{QStringLiteral("終了(&X)"), QStringLiteral("順位更新(&E)"), QStringLiteral("履歴削除(&D)"),
                                        QStringLiteral("印刷(&P)"), QStringLiteral("ﾍﾙﾌﾟ(&H)"), QStringLiteral("成績読込(&K)"),
                                        QStringLiteral("成績取得(&G)"), QStringLiteral("成績分析(&A)")}));

        BunsekiForm* form = openAnalysis(history);
        QVERIFY(form && form->isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral("成績分析"));
        QVERIFY(history->isVisible());
        // Default: every stored race, every racecourse.
        QCOMPARE(form->findChild<QDateEdit*>(QStringLiteral("DateFrom"))->date(), kJune15);
        QCOMPARE(form->findChild<QDateEdit*>(QStringLiteral("DateTo"))->date(), kJuly20);
        QCOMPARE(form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"))->currentText(), QStringLiteral("全競艇場"));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 0), QStringLiteral("全体"));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QStringLiteral("11"));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 3), QStringLiteral("27.3"));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 4), IntervalText(3, 11));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 9), QStringLiteral("3.09"));
        QCOMPARE(cell(form, AnalysisTable::AllCriticalRow, 0), QStringLiteral("三つとも要注意"));
        QVERIFY(form->findChild<QLabel*>(QStringLiteral("LabelGaitou"))->isHidden());
        QCOMPARE(form->findChild<QLabel*>(QStringLiteral("LabelJogai"))->text(),
                 QStringLiteral("順位が入っていない 2 出走は集計に含めていません。\n選手テーブルにも保存時の選手データにもない選手の 1 出走も除いています。"));
        QVERIFY(qAbs(form->findChild<RateChart*>(QStringLiteral("PictureGraph"))->axisTop() - 1.0) < 1e-9);

        // Opening again brings the same window forward.
        QCOMPARE(openAnalysis(history), form);
        QCOMPARE(history->findChildren<BunsekiForm*>().size(), 1);

        // Closing the analysis leaves the history open.
        click(form, "CommandClose");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Forms::find(QStringLiteral("BunsekiForm")));
        QVERIFY(history->isVisible());

        // Closing the history takes an open analysis with it.
        QVERIFY(openAnalysis(history));
        history->Menu_Close_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Forms::find(QStringLiteral("RirekiForm")));
        QVERIFY(!Forms::find(QStringLiteral("BunsekiForm")));
        QVERIFY(MsgBoxScript::shown().empty());
    }

    void filtersNarrowTheTable()
    {
        seedHandWorkedHistory(folder_->folder());
        BunsekiForm* form = openAnalysis(openHistory());
        setDates(form, QDate(2000, 6, 1), QDate(2000, 6, 30));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QStringLiteral("10"));
        QCOMPARE(cell(form, AnalysisTable::AllRow, 3), QStringLiteral("30.0"));

        auto* courses = form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"));
        QCOMPARE(courses->itemText(1), QStringLiteral("桐生"));
        PickComboItem(courses, 1);
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QStringLiteral("4"));
        setDates(form, kJune15, kJuly20);
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QStringLiteral("5"));
    }

    void anEmptyResultIsNoError()
    {
        seedHandWorkedHistory(folder_->folder());
        BunsekiForm* form = openAnalysis(openHistory());
        MsgBoxScript::shown().clear();
        setDates(form, QDate(2001, 1, 1), QDate(2001, 12, 31));
        auto* message = form->findChild<QLabel*>(QStringLiteral("LabelGaitou"));
        QVERIFY(!message->isHidden());
        QCOMPARE(message->text(), QStringLiteral("該当レコードがありません"));
        for (int c = 2; c < 10; ++c)
            QCOMPARE(cell(form, AnalysisTable::AllRow, c), QString());
        QVERIFY(MsgBoxScript::shown().empty());

        // Nothing to print or save: told, nothing written, no dialog.
        click(form, "CommandPrint");
        click(form, "CommandCsv");
        QCOMPARE(MsgBoxScript::texts(), (QStringList{QStringLiteral("該当レコードがありません"), QStringLiteral("該当レコードがありません")}));
        QVERIFY(FileDialogScript::asked().empty());
        QVERIFY(QDir(folder_->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty());

        // Back to the stored range: the table and no message.
        setDates(form, kJune15, kJuly20);
        QVERIFY(message->isHidden());
    }

    void noStoredRaceAtAll()
    {
        RirekiForm* history = openHistory();
        MsgBoxScript::shown().clear();
        BunsekiForm* form = openAnalysis(history);
        QVERIFY(form);
        QVERIFY(MsgBoxScript::shown().empty());
        QVERIFY(!form->findChild<QLabel*>(QStringLiteral("LabelGaitou"))->isHidden());
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QString());
    }

    void printsToPdf()
    {
        seedHandWorkedHistory(folder_->folder());
        BunsekiForm* form = openAnalysis(openHistory());
        // No: nothing printed.
        MsgBoxScript::queue(Mb::No);
        click(form, "CommandPrint");
        QVERIFY(QDir(folder_->folder()).entryList({QStringLiteral("*.pdf")}).isEmpty());
        QCOMPARE(MsgBoxScript::shown().back().title, QStringLiteral("成績分析印刷"));
        QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("成績分析を印刷しますか。\r\n"));
        QCOMPARE(MsgBoxScript::shown().back().style, Mb::Confirm);

        MsgBoxScript::queue(Mb::Yes);
        click(form, "CommandPrint");
        const QStringList pdfs = QDir(folder_->folder()).entryList({QStringLiteral("成績分析*.pdf")});
        QCOMPARE(pdfs.size(), 1);
        // Named by the period and the racecourse.
        QCOMPARE(pdfs[0], QStringLiteral("成績分析-%1-%2-%3.pdf")
                              .arg(form->findChild<QDateEdit*>(QStringLiteral("DateFrom"))->date().toString(QStringLiteral("yyyyMMdd")),
                                   form->findChild<QDateEdit*>(QStringLiteral("DateTo"))->date().toString(QStringLiteral("yyyyMMdd")),
                                   form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"))->currentText()));
        QVERIFY(QFileInfo(folder_->file(pdfs[0])).size() > 1000);
        QVERIFY(MsgBoxScript::shown().back().text.contains(pdfs[0]));
    }

    void savesCsv()
    {
        seedHandWorkedHistory(folder_->folder());
        BunsekiForm* form = openAnalysis(openHistory());
        setDates(form, QDate(2000, 6, 1), QDate(2000, 6, 30));

        // Cancelled: nothing written.
        click(form, "CommandCsv");
        QCOMPARE(FileDialogScript::asked().size(), size_t(1));
        // Named by the period and racecourse, in the home folder the first time.
        QCOMPARE(FileDialogScript::asked()[0].suggested, QDir::home().filePath(QStringLiteral("成績分析-20000601-20000630-%1.csv")
                                                                                     .arg(form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"))->currentText())));
        QCOMPARE(FileDialogScript::asked()[0].caption, QStringLiteral("CSV保存"));
        QVERIFY(FileDialogScript::asked()[0].save);

        const QString path = folder_->file(QStringLiteral("june.csv"));
        FileDialogScript::queue(path);
        click(form, "CommandCsv");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        QVERIFY(written.contains("調査日 2000.6.1～2000.6.30"));
        QCOMPARE(written, AnalysisCsv(form->table(), QStringLiteral("調査日 2000.6.1～2000.6.30　") +
                                                         form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"))->currentText()));
        QCOMPARE(form->table().rows[AnalysisTable::AllRow].tally.starts, 10);
        QVERIFY(MsgBoxScript::shown().empty());

        // The next one is proposed in the folder last used.
        click(form, "CommandCsv");
        QCOMPARE(QFileInfo(FileDialogScript::asked().back().suggested).absolutePath(), QDir(folder_->folder()).absolutePath());

        // A folder that cannot be written to: told, no error report.
        FileDialogScript::queue(folder_->file(QStringLiteral("no such folder/x.csv")));
        click(form, "CommandCsv");
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
        QVERIFY(MsgBoxScript::shown()[0].text.startsWith(QStringLiteral("CSV ファイルを保存できませんでした。")));
        QCOMPARE(MsgBoxScript::shown()[0].style, Mb::OKOnly + Mb::Critical);
    }

    void theLeftoversOfAStoppedSaveAreRemoved()
    {
        seedHandWorkedHistory(folder_->folder());
        BunsekiForm* form = openAnalysis(openHistory());
        setDates(form, QDate(2000, 6, 1), QDate(2000, 6, 30));
        const QByteArray csv = AnalysisCsv(form->table(), QStringLiteral("調査日 2000.6.1～2000.6.30　") +
                                                              form->findChild<QComboBox*>(QStringLiteral("ComboKyoteijyo"))->currentText());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("analysis.csv"));
        // What saves killed midway left: this program's hidden working file,
        // and the working files of the earlier way of saving, empty or cut.
        WriteFile(dir.filePath(QStringLiteral(".vantor-save-a1B2c3")), csv.left(40));
        WriteFile(dir.filePath(QStringLiteral("analysis.csv.Xy12Zq")), csv.left(100));
        WriteFile(dir.filePath(QStringLiteral("analysis.csv.Qw3rTy")), QByteArray());
        // The user's own files stay, whatever their names.
        WriteFile(dir.filePath(QStringLiteral("analysis.csv.backup")), "my own notes");
        WriteFile(dir.filePath(QStringLiteral("other.csv.Xy12Zq")), csv.left(100));
        FileDialogScript::queue(path);
        click(form, "CommandCsv");
        QVERIFY(MsgBoxScript::shown().empty());
        QCOMPARE(FileBytes(path), csv);
        QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        left.sort();
        QCOMPARE(left, (QStringList{QStringLiteral("analysis.csv"), QStringLiteral("analysis.csv.backup"),
                                    QStringLiteral("other.csv.Xy12Zq")}));
        QCOMPARE(FileBytes(dir.filePath(QStringLiteral("analysis.csv.backup"))), QByteArray("my own notes"));
        // Saved again over itself: one file, the new contents, the permissions kept.
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        FileDialogScript::queue(path);
        click(form, "CommandCsv");
        QCOMPARE(FileBytes(path), csv);
        QCOMPARE(QFileInfo(path).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
    }

    void positionsEnteredInTheHistoryCountOnReturn()
    {
        SeedRacers(folder_->folder(), {racer(101, QDate(2000, 6, 15)), racer(102, QDate(2000, 6, 14))});
        storeRaces(folder_->folder(), {{kJune15, 1, {101, 102, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}});
        RirekiForm* history = openHistory();
        BunsekiForm* form = openAnalysis(history);
        QVERIFY(form->table().empty());
        QCOMPARE(form->table().withoutPosition, 2);

        // The user enters the positions in the history window and comes back.
        PickComboItem(history->findChild<QComboBox*>(QStringLiteral("ComboRireki")), 0);
        history->findChild<QLineEdit*>(QStringLiteral("TextJyuni_0"))->setText(QStringLiteral("2"));
        history->findChild<QLineEdit*>(QStringLiteral("TextJyuni_1"))->setText(QStringLiteral("1"));
        MsgBoxScript::queue(Mb::Yes);
        history->Menu_Edit_Click();
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(form, &activate);
        QCOMPARE(cell(form, AnalysisTable::AllRow, 2), QStringLiteral("2"));
        QCOMPARE(cell(form, AnalysisTable::AllCriticalRow, 9), QStringLiteral("2.00"));
        QCOMPARE(cell(form, AnalysisTable::rowOf(0, RhythmState::Rising), 3), QStringLiteral("100.0"));
        QCOMPARE(form->table().withoutPosition, 0);
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ResultsAnalysisTest analysis;
    BunsekiFormTest window;
    return RunTestObjects(argc, argv, {&analysis, &window});
}

#include "AnalysisTest.moc"
