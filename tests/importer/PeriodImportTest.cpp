// A period of day files in one step: a generated fortnight with a racer
// missing from the racer table, every kind of finish code, a cancelled race,
// a dead heat and a file that cannot be read; stored once, imported twice,
// killed in the middle, cancelled, and through the window.
#include "DailyFileWriter.h"
#include "DailyFiles.h"
#include "Database.h"
#include "DayRaces.h"
#include "FileDialog.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "PeriodImport.h"
#include "ResultsImport.h"
#include "RirekiForm.h"
#include "TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTest>

namespace {
const QDate kFirst(2024, 7, 1);
constexpr int kDays = 14;
constexpr int kCourses = 3;
constexpr int kRaces = 12;
constexpr int kMissing = 4999;  // in the programs, not in the racer table
const QStringList kCodes = {QStringLiteral("F"),  QStringLiteral("L0"), QStringLiteral("L1"), QStringLiteral("K0"),
                            QStringLiteral("K1"), QStringLiteral("S0"), QStringLiteral("S1"), QStringLiteral("S2"),
                            QStringLiteral("00")};

// The fortnight: day 2 (index 1), racecourse 1: races 1 and 2 end in every
// code; day 3, racecourse 2, race 5: boat 4 is the missing racer; day 4,
// racecourse 2, race 3: a dead heat for second; day 5, racecourse 1,
// race 12: cancelled; day 6: the results file is broken.
std::vector<GeneratedDay> fortnight()
{
    std::vector<GeneratedDay> days = GeneratePeriod(kFirst, kDays, kCourses, kRaces, 3000, 600);
    for (int k = 0; k < 6; ++k)
        days[1].results[0].races[0].lines[size_t(k)].code = kCodes[k];
    for (int k = 0; k < 3; ++k)
        days[1].results[0].races[1].lines[size_t(k)].code = kCodes[6 + k];
    days[2].programs[1].races[4].boats[3].toban = kMissing;
    days[2].programs[1].races[4].boats[3].name = QStringLiteral("新人選手");
    days[2].programs[1].races[4].boats[3].kyu = QStringLiteral("B2");
    days[2].programs[1].races[4].boats[3].branch = QStringLiteral("福岡");
    days[2].results[1].races[4].lines[3].toban = kMissing;
    days[2].results[1].races[4].lines[3].code = QStringLiteral("F");
    days[3].results[1].races[2].lines[2].code = QStringLiteral("02");
    days[4].results[0].races[11].cancelled = true;
    days[4].results[0].races[11].lines.clear();
    return days;
}

// Writes the fortnight into the folder (archives, names in mixed case).
void writeFortnight(const QString& folder)
{
    const std::vector<GeneratedDay> days = fortnight();
    for (size_t d = 0; d < days.size(); ++d) {
        const auto paths = WriteDayFiles(folder, days[d], d % 2 == 0);
        if (d == 5) {
            QByteArray bytes = ResultFileBytes(days[d].date, days[d].results);
            bytes.replace(ResultLine(days[d].results[0].races[0].lines[2]), "  01  3 30");
            WriteFile(paths[1], bytes);
        }
        if (d == 7)
            QFile::rename(paths[0], folder + QStringLiteral("B") + days[d].date.toString(QStringLiteral("yyMMdd")) + QStringLiteral(".LZH"));
    }
}

std::vector<TestRacer> racers()
{
    std::vector<TestRacer> list;
    for (int id = 3000; id < 3600; ++id)
        list.push_back(TestRacer{id});
    return list;
}

QString filesFolder(const QString& folder)
{
    const QString files = folder + QStringLiteral("days/");
    QDir().mkpath(files);
    return files;
}

PeriodImport::Summary importAll(const QString& folder, const QString& files,
                                const std::function<bool(int, const QDate&)>& progress = {})
{
    Database db(folder);
    return PeriodImport::ImportDays(db, PeriodImport::FindDayFiles(files).days, progress);
}

QVariant one(const QString& folder, const QString& sql)
{
    Database db(folder);
    Statement select = db.prepare(sql);
    return select.step() ? select.value(0) : QVariant();
}

QByteArray historyDigest(const QString& folder)
{
    return RowsDigest(folder, {QStringLiteral("SELECT * FROM T_レース履歴 ORDER BY 履歴ID"),
                               QStringLiteral("SELECT * FROM T_選手控 ORDER BY 控ID")});
}
}

int RunPeriodImportChild(const QString& folder, const QString& files)
{
    return RunChildWork([&] { importAll(folder, files); });
}

class PeriodImportTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFolder> folder_;
    QString files_;

private slots:
    void init()
    {
        folder_ = std::make_unique<TestFolder>();
        files_ = filesFolder(folder_->folder());
        writeFortnight(files_);
        SeedRacers(folder_->folder(), racers());
    }
    void cleanup()
    {
        UnloadAllWindows();
        folder_.reset();
    }

    void theFolderGivesItsDaysInAnyCase()
    {
        WriteFile(files_ + QStringLiteral("K240701.TXT"), "double");
        WriteFile(files_ + QStringLiteral("readme.txt"), "x");
        WriteFile(files_ + QStringLiteral("b2407011.txt"), "x");
        const PeriodImport::Found found = PeriodImport::FindDayFiles(files_);
        QCOMPARE(int(found.days.size()), kDays);
        QCOMPARE(found.days.front().date, kFirst);
        QCOMPARE(found.days.back().date, kFirst.addDays(kDays - 1));
        QVERIFY(found.days[7].program.endsWith(QStringLiteral("B240708.LZH")));
        QVERIFY(found.days[7].results.endsWith(QStringLiteral("k240708.txt")));
        // Of a .TXT and a .lzh of the same day, the first name in order.
        QCOMPARE(found.doubles, QStringList{QStringLiteral("k240701.lzh")});
        QVERIFY(found.days[0].results.endsWith(QStringLiteral("K240701.TXT")));
    }

    void aFortnightIsStoredWithEveryRacerAndFinish()
    {
        const PeriodImport::Summary s = importAll(folder_->folder(), files_);
        const QString f = folder_->folder();
        QCOMPARE(s.days, kDays);
        QCOMPARE(s.stored, kDays * kCourses * kRaces);
        QCOMPARE(s.skipped, 0);
        QCOMPARE(s.notInTable, 1);
        QCOMPARE(s.codes, 10);
        // Every seat of every race but the cancelled one and the broken day's.
        QCOMPARE(s.positions, (kDays - 1) * kCourses * kRaces * 6 - 6 - 10);
        QCOMPARE(s.refused.size(), 1);
        QVERIFY2(s.refused[0].startsWith(QStringLiteral("k240706.txt：k240706.txt は競走成績のファイルとして読めません。")), qPrintable(s.refused[0]));
        QCOMPARE(one(f, QStringLiteral("SELECT count(*) FROM T_レース履歴")).toInt(), kDays * kCourses * kRaces);

        // Each code as it stands, with position 0; places as numbers.
        const QString day2 = QStringLiteral("FROM Q_レース履歴 WHERE 調査年 = 2024 AND 調査月 = 7 AND 調査日 = 2 AND 競艇場名 = '桐生' AND レースNO = %1");
        QCOMPARE(one(f, QStringLiteral("SELECT 着1 || 着2 || 着3 || 着4 || 着5 || 着6 ") + day2.arg(1)).toString(), QStringLiteral("FL0L1K0K1S0"));
        QCOMPARE(one(f, QStringLiteral("SELECT 結果1 + 結果2 + 結果3 + 結果4 + 結果5 + 結果6 ") + day2.arg(1)).toInt(), 0);
        QCOMPARE(one(f, QStringLiteral("SELECT 着1 || 着2 || 着3 || '/' || 結果4 || 結果5 || 結果6 ") + day2.arg(2)).toString(), QStringLiteral("S1S200/456"));
        // The dead heat.
        QCOMPARE(one(f, QStringLiteral("SELECT 結果1 || 結果2 || 結果3 || 結果4 || 結果5 || 結果6 FROM Q_レース履歴 "
                                       "WHERE 調査日 = 4 AND 競艇場名 = '戸田' AND レースNO = 3")).toString(), QStringLiteral("122456"));
        // The cancelled race: stored, no result, no code.
        QCOMPARE(one(f, QStringLiteral("SELECT ifnull(着1, 'none') || 結果1 FROM T_レース履歴 WHERE 調査日 = 5 AND 競艇場ID = 1 AND レースNO = 12"))
                     .toString(), QStringLiteral("none0"));
        // The broken results file's day: races stored, no results.
        QCOMPARE(one(f, QStringLiteral("SELECT sum(結果1) FROM T_レース履歴 WHERE 調査日 = 6")).toInt(), 0);
        QCOMPARE(one(f, QStringLiteral("SELECT count(*) FROM T_レース履歴 WHERE 調査日 = 6")).toInt(), kCourses * kRaces);

        // The missing racer keeps his number and what the program says of him.
        const QString missing = QStringLiteral("FROM Q_レース履歴 WHERE 調査日 = 3 AND 競艇場名 = '戸田' AND レースNO = 5");
        QCOMPARE(one(f, QStringLiteral("SELECT 選手4 ") + missing).toInt(), kMissing);
        QCOMPARE(one(f, QStringLiteral("SELECT 期4 ") + missing).toInt(), kMissing);
        QCOMPARE(one(f, QStringLiteral("SELECT 名前4 ") + missing).toString(), QStringLiteral("新人選手"));
        QCOMPARE(one(f, QStringLiteral("SELECT 所属ID4 ") + missing).toInt(), 40);
        QCOMPARE(one(f, QStringLiteral("SELECT 級4 ") + missing).toString(), QStringLiteral("B2"));
        QCOMPARE(one(f, QStringLiteral("SELECT 勝率4 || '/' || 複勝率4 ") + missing).toString(), QStringLiteral("6.54/45.1"));
        QCOMPARE(one(f, QStringLiteral("SELECT 生年4 ") + missing).toInt(), 0);
        QCOMPARE(one(f, QStringLiteral("SELECT 着4 || 結果4 ") + missing).toString(), QStringLiteral("F0"));
        // A known racer: the live racer, with the class of the program.
        QCOMPARE(one(f, QStringLiteral("SELECT 生年1 || 級1 ") + missing).toString(), QStringLiteral("1970A1"));

        // Copies once: one per racer here (the same class every day).
        QCOMPARE(one(f, QStringLiteral("SELECT count(*) FROM T_選手控")).toInt(),
                 one(f, QStringLiteral("SELECT count(DISTINCT 選手ID) FROM T_選手控")).toInt());
        QCOMPARE(one(f, QStringLiteral("SELECT count(*) FROM T_選手控")).toInt(), 601);
        QCOMPARE(one(f, QStringLiteral("SELECT count(*) FROM T_レース履歴 WHERE 控1 IS NULL OR 控6 IS NULL")).toInt(), 0);

        // A handbook that holds him later gives the live racer.
        SeedRacers(f, {TestRacer{kMissing}});
        QCOMPARE(one(f, QStringLiteral("SELECT 生年4 || 名前4 ") + missing).toString(), QStringLiteral("1970山田太郎"));
        QCOMPARE(one(f, QStringLiteral("SELECT 級4 ") + missing).toString(), QStringLiteral("B2"));
    }

    void importedTwiceStoresNothingTwice()
    {
        importAll(folder_->folder(), files_);
        const QByteArray once = historyDigest(folder_->folder());
        const PeriodImport::Summary again = importAll(folder_->folder(), files_);
        QCOMPARE(again.days, kDays);
        QCOMPARE(again.stored, 0);
        QCOMPARE(again.skipped, kDays * kCourses * kRaces);
        QCOMPARE(again.positions, 0);
        QCOMPARE(again.codes, 0);
        QCOMPARE(historyDigest(folder_->folder()), once);
    }

    void aCancelLeavesTheDaysBeforeIt()
    {
        std::vector<QDate> told;
        const PeriodImport::Summary s = importAll(folder_->folder(), files_, [&](int index, const QDate& date) {
            told.push_back(date);
            return index < 5;
        });
        QVERIFY(s.cancelled);
        QCOMPARE(s.days, 5);
        QCOMPARE(told.size(), size_t(6));
        QCOMPARE(told.back(), kFirst.addDays(5));
        QCOMPARE(one(folder_->folder(), QStringLiteral("SELECT count(*) FROM T_レース履歴")).toInt(), 5 * kCourses * kRaces);
        QCOMPARE(one(folder_->folder(), QStringLiteral("SELECT max(調査日) FROM T_レース履歴")).toInt(), 5);
        // Going on later completes the same history as one run.
        importAll(folder_->folder(), files_);
        const QByteArray resumed = historyDigest(folder_->folder());
        TestFolder fresh;
        SeedRacers(fresh.folder(), racers());
        importAll(fresh.folder(), files_);
        QCOMPARE(resumed, historyDigest(fresh.folder()));
    }

    void aKillLeavesWholeDays()
    {
        const QByteArray empty = FileBytes(folder_->file("Vantor.mdb"));
        QVERIFY(!empty.isEmpty());
        const QString run = folder_->folder() + QStringLiteral("run/");
        QVERIFY(QDir().mkpath(run));
        const auto restore = [&] {
            for (const QString& name : QDir(run).entryList(QDir::Files))
                QFile::remove(run + name);
            WriteFile(run + QStringLiteral("Vantor.mdb"), empty);
        };
        const QStringList child{QStringLiteral("--child-period"), run, files_};
        const qint64 work = ShortestRun(child, restore);
        QVERIFY(work >= 0);
        const QByteArray whole = historyDigest(run);

        int midway = 0;
        for (const qint64 moment : SpreadMoments(work, 12)) {
            restore();
            if (RunChild(child, moment) < 0)
                ++midway;
            QCOMPARE(IntegrityCheck(run), QStringLiteral("ok"));
            // Whole days only: every stored day has all its races, and its
            // results where its file could be read.
            Database db(run);
            Statement days = db.prepare(QStringLiteral(
                "SELECT 調査日, count(*), sum(着1 IS NOT NULL) FROM T_レース履歴 GROUP BY 調査日 ORDER BY 調査日"));
            int expectedDay = 1;
            while (days.step()) {
                QCOMPARE(days.value(0).toInt(), expectedDay);
                QCOMPARE(days.value(1).toInt(), kCourses * kRaces);
                const int withResults = expectedDay == 6 ? 0 : expectedDay == 5 ? kCourses * kRaces - 1 : kCourses * kRaces;
                QCOMPARE(days.value(2).toInt(), withResults);
                ++expectedDay;
            }
        }
        // Run again after the last kill, the import completes the same history.
        QVERIFY(RunChild(child, -1) >= 0);
        QCOMPARE(historyDigest(run), whole);
        qInfo("period import of %lld us killed 12 times: %d midway", work, midway);
        QVERIFY(midway >= 6);
    }

    void theWindowImportsTheChosenPeriod()
    {
        Forms::registerForm(QStringLiteral("RirekiForm"), [] { return new RirekiForm; });
        Forms::registerCommand(QStringLiteral("ImportPeriod"), PeriodImport::ChooseAndImportFolder);
        QWidget* history = Forms::show(QStringLiteral("RirekiForm"));
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("レース履歴がありません。レース履歴登録後実行して下さい\r")});
        MsgBoxScript::shown().clear();

        QString period;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<IkkatsuForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            period = form->findChild<QLabel*>(QStringLiteral("LabelKikan"))->text();
            form->findChild<QDateEdit*>(QStringLiteral("DateTo"))->setDate(kFirst.addDays(6));
            MsgBoxScript::queue(Mb::Yes);
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommandStart")), Qt::LeftButton);
        });
        FileDialogScript::queue(files_);
        history->findChild<QAction*>(QStringLiteral("Menu_Ikkatsu"))->trigger();

        QCOMPARE(FileDialogScript::asked().back().caption, QStringLiteral("番組表と成績のフォルダ"));
        QCOMPARE(period, QStringLiteral("ファイルの期間：2024.7.1～2024.7.14（14 日分、28 ファイル）"));
        const auto& shown = MsgBoxScript::shown();
        QCOMPARE(shown.size(), size_t(2));
        QCOMPARE(shown[0].text, QStringLiteral("7 日分の番組表と成績を取り込みますか。"));
        QCOMPARE(shown[0].style, Mb::Confirm);
        const QStringList summary = shown[1].text.split(QStringLiteral("\r\n"));
        QCOMPARE(summary[0], QStringLiteral("一括取込が終わりました。"));
        QCOMPARE(summary[1], QStringLiteral("期間：2024年7月1日～2024年7月7日"));
        QCOMPARE(summary[2], QStringLiteral("取り込んだ日：7 日"));
        QCOMPARE(summary[3], QStringLiteral("登録したレース：252 件"));
        QCOMPARE(summary[5], QStringLiteral("書き込んだ順位：1280 席"));
        QCOMPARE(summary[6], QStringLiteral("書き込んだ着順の記号（F・L・K・S など）：10 席"));
        QCOMPARE(summary[7], QStringLiteral("選手テーブルにない選手（登番と番組表の内容で登録）：1 人（1 席）"));
        QCOMPARE(summary[8], QStringLiteral("読めなかったファイル：1 件"));
        QVERIFY(summary[9].startsWith(QStringLiteral("　k240706.txt：")));
        // The history lists the new races at once.
        auto* list = history->findChild<QComboBox*>(QStringLiteral("ComboRireki"));
        QCOMPARE(list->count(), 252);
        QCOMPARE(list->itemText(251), QStringLiteral("252 ： 2024.7.7　江戸川競艇　第12レース"));
    }

    void stoppingInTheWindowKeepsWholeDays()
    {
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<IkkatsuForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            auto* bar = form->findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
            auto* stop = form->findChild<QPushButton*>(QStringLiteral("CommandCancel"));
            // Pressed while the third day is read.
            auto* watch = new QTimer(form);
            QObject::connect(watch, &QTimer::timeout, form, [bar, stop, watch] {
                if (bar->value() >= 2 && stop->isEnabled()) {
                    QTest::mouseClick(stop, Qt::LeftButton);
                    watch->stop();
                }
            });
            watch->start(0);
            MsgBoxScript::queue(Mb::Yes);
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommandStart")), Qt::LeftButton);
        });
        QVERIFY(PeriodImport::ImportFolder(nullptr, files_));
        const auto& shown = MsgBoxScript::shown();
        QCOMPARE(shown.size(), size_t(2));
        QCOMPARE(shown[0].text, QStringLiteral("14 日分の番組表と成績を取り込みますか。"));
        QVERIFY(shown[1].text.startsWith(QStringLiteral("一括取込を中止しました。")));
        const int days = one(folder_->folder(), QStringLiteral("SELECT count(DISTINCT 調査日) FROM T_レース履歴")).toInt();
        QVERIFY2(days >= 2 && days < kDays, qPrintable(QString::number(days)));
        QCOMPARE(one(folder_->folder(), QStringLiteral("SELECT count(*) FROM T_レース履歴")).toInt(), days * kCourses * kRaces);
        QVERIFY(shown[1].text.contains(QStringLiteral("取り込んだ日：%1 日\r\n").arg(days)));
    }

    void positionsEnteredByHandThatTheResultsChangeAreCounted()
    {
        importAll(folder_->folder(), files_);
        {
            Database db(folder_->folder());
            // Typed in the history: a wrong place, and one where the file has a code.
            db.execute(QStringLiteral("UPDATE T_レース履歴 SET 結果1 = 4 WHERE 調査日 = 3 AND 競艇場ID = 1 AND レースNO = 1"));
            db.execute(QStringLiteral("UPDATE T_レース履歴 SET 結果2 = 5, 着2 = NULL WHERE 調査日 = 2 AND 競艇場ID = 1 AND レースNO = 1"));
        }
        const PeriodImport::Summary again = importAll(folder_->folder(), files_);
        QCOMPARE(again.changedEntered, 2);
        // Only those two seats were written again: one place, one code.
        QCOMPARE(again.positions, 1);
        QCOMPARE(again.codes, 1);
        QCOMPARE(one(folder_->folder(), QStringLiteral("SELECT 結果1 FROM T_レース履歴 WHERE 調査日 = 3 AND 競艇場ID = 1 AND レースNO = 1")).toInt(), 1);
        QVERIFY(PeriodImport::SummaryText(again, kFirst, kFirst).contains(QStringLiteral("\r\n入力済みの順位を成績で書き換えた席：2 席\r\n")));
        // A run that changes no position typed before says nothing of them.
        QVERIFY(!PeriodImport::SummaryText(importAll(folder_->folder(), files_), kFirst, kFirst).contains(QStringLiteral("入力済み")));
    }

    void theMissingRacersAreCountedOnceEachBesideTheirSeats()
    {
        std::vector<GeneratedDay> days = fortnight();
        // The missing racer again on day 4, and a second one there.
        days[3].programs[0].races[0].boats[0].toban = kMissing;
        days[3].programs[0].races[1].boats[0].toban = kMissing + 1;
        const QString other = folder_->folder() + QStringLiteral("other/");
        QDir().mkpath(other);
        for (const GeneratedDay& day : days)
            WriteDayFiles(other, day, false);
        const PeriodImport::Summary s = importAll(folder_->folder(), other);
        QCOMPARE(s.notInTable, 3);
        QCOMPARE(s.missingRacers, 2);
        QVERIFY(PeriodImport::SummaryText(s, kFirst, kFirst).contains(QStringLiteral("選手テーブルにない選手（登番と番組表の内容で登録）：2 人（3 席）\r\n")));
    }

    void resultsThatCannotGoAnywhereAreNamedWithTheirReason()
    {
        const std::vector<GeneratedDay> days = fortnight();
        const QString other = folder_->folder() + QStringLiteral("other/");
        QDir().mkpath(other);
        // Day 1: the results file alone. Day 2: a broken program beside its
        // results. Day 3: results published before any race was run.
        WriteDayFiles(other, days[0], false);
        QFile::remove(other + QStringLiteral("b240701.txt"));
        WriteDayFiles(other, days[1], false);
        WriteFile(other + QStringLiteral("b240702.txt"), "STARTB\r\n");
        std::vector<ResultCourseText> pending = days[2].results;
        for (ResultCourseText& c : pending) {
            c.pending = true;
            c.races.clear();
        }
        WriteDayFiles(other, days[2], false);
        WriteFile(other + QStringLiteral("k240703.txt"), ResultFileBytes(days[2].date, pending));

        const PeriodImport::Summary s = importAll(folder_->folder(), other);
        QCOMPARE(s.days, 3);
        QCOMPARE(s.stored, kCourses * kRaces);
        QCOMPARE(s.positions, 0);
        QCOMPARE(s.refused.size(), 4);
        QCOMPARE(s.refused[0], QStringLiteral("k240701.txt：この日のレース履歴も番組表もありません。"));
        QVERIFY2(s.refused[1].startsWith(QStringLiteral("b240702.txt：")), qPrintable(s.refused[1]));
        QCOMPARE(s.refused[2], QStringLiteral("k240702.txt：この日のレース履歴がなく、番組表も読めませんでした。"));
        QCOMPARE(s.refused[3], QStringLiteral("k240703.txt：まだ成績がありません。"));
        // Once its races are stored, the results file alone fills them.
        {
            Database db(folder_->folder());
            DayRaces::StorePrograms(db, DailyFiles::ParseProgram(ProgramFileBytes(days[0].date, days[0].programs), QStringLiteral("b")));
        }
        const PeriodImport::Summary later = importAll(folder_->folder(), other);
        QCOMPARE(later.positions, kCourses * kRaces * 6);
        QCOMPARE(later.refused.size(), 3);
    }

    void aDatabaseErrorMidwayKeepsTheDaysBeforeItAndSaysSo()
    {
        {
            Database db(folder_->folder());
            // The disk "fills up" on the third day.
            db.execute(QStringLiteral("CREATE TRIGGER full_disk BEFORE INSERT ON T_レース履歴 WHEN NEW.調査日 = 3 "
                                      "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END"));
        }
        QString told;
        int room = -1;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<IkkatsuForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            MsgBoxScript::queue(Mb::Yes);
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommandStart")), Qt::LeftButton);
            auto* day = form->findChild<QLabel*>(QStringLiteral("LabelDay"));
            told = day->text();
            room = day->width() - day->fontMetrics().horizontalAdvance(told);
            QVERIFY(form->findChild<QPushButton*>(QStringLiteral("CommandClose"))->isEnabled());
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommandClose")), Qt::LeftButton);
        });
        // The history is to be read again: two days went in.
        QVERIFY(PeriodImport::ImportFolder(nullptr, files_));
        const auto& shown = MsgBoxScript::shown();
        QCOMPARE(shown.size(), size_t(2));
        QVERIFY2(shown[1].text.startsWith(QStringLiteral("エラー番号 ")), qPrintable(shown[1].text));
        QCOMPARE(told, QStringLiteral("2024.7.3 で止まりました。その前の 2 日分は登録されています。"));
        // Read whole, not cut at the label's edge.
        QVERIFY2(room >= 0, qPrintable(QString::number(room)));
        QCOMPARE(one(folder_->folder(), QStringLiteral("SELECT count(*) FROM T_レース履歴")).toInt(), 2 * kCourses * kRaces);
        QCOMPARE(one(folder_->folder(), QStringLiteral("SELECT max(調査日) FROM T_レース履歴")).toInt(), 2);
    }

    void aFolderWithoutDayFilesSaysSo()
    {
        const QString empty = folder_->folder() + QStringLiteral("empty/");
        QDir().mkpath(empty);
        QVERIFY(!PeriodImport::ImportFolder(nullptr, empty));
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
        QVERIFY(MsgBoxScript::shown()[0].text.contains(QStringLiteral("番組表（bYYMMDD）と成績（kYYMMDD）のファイルがありません。")));
        // Answering No imports nothing.
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<IkkatsuForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            MsgBoxScript::queue(Mb::No);
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommandStart")), Qt::LeftButton);
            QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommandClose")), Qt::LeftButton);
        });
        QVERIFY(!PeriodImport::ImportFolder(nullptr, files_));
        QCOMPARE(one(folder_->folder(), QStringLiteral("SELECT count(*) FROM T_レース履歴")).toInt(), 0);
    }
};

#include "PeriodImportTest.moc"

QObject* NewPeriodImportTest() { return new PeriodImportTest; }
