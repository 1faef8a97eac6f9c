#include "Database.h"
#include "EngineErrors.h"
#include "FanFileWriter.h"
#include "FanHandbook.h"
#include "ImporterTests.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "ImportForm.h"
#include "MsgBox.h"
#include "Recordset.h"
#include "Keyboard.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>

std::vector<RacerRow> RacerTable(const QString& folder)
{
    Database db(folder);
    Recordset rs(db, QStringLiteral("T_選手"));
    std::vector<RacerRow> rows;
    for (; !rs.eof(); rs.MoveNext()) {
        auto f = [&rs](const char* name) { return rs.field(QString::fromUtf8(name)); };
        rows.push_back({f("選手ID"), f("期"), f("所属ID"), f("級"), f("名前"), f("よみがな"), f("よみがな１桁"), f("生年"),
                        f("生月"), f("生日"), f("血液型ID"), f("勝率"), f("複勝率")});
    }
    return rows;
}

namespace {
using Row = RacerRow;
const auto racerTable = RacerTable;

FanRecord record(const QString& toban, const QString& name = QStringLiteral("山田太郎　　　　"))
{
    FanRecord r;
    r.toban = toban;
    r.name = name;
    return r;
}
}

class ImporterTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;

    int import(const QByteArray& bytes)
    {
        WriteFile(folder_->file("FAN9907.TXT"), bytes);
        Database db(folder_->folder());
        return FanHandbook::Import(db, FanHandbook::LoadLookups(db), folder_->file("FAN9907.TXT"));
    }
    int importError(const QByteArray& bytes, QString* description = nullptr)
    {
        return ErrorNumberOf([&] { import(bytes); }, description);
    }

private slots:
    void init() { folder_ = std::make_unique<TestFolder>(); }
    void cleanup()
    {
        UnloadAllWindows();
        folder_.reset();
    }

    void recordsBecomeRacersInFileOrder()
    {
        std::vector<FanRecord> records{record("4002"), record("3001"), record("0072")};
        records[1].yomi = QStringLiteral("ｶﾞﾓｳ ｼﾞﾛｳ");
        records[1].branch = QStringLiteral("神奈");
        records[1].blood = QStringLiteral("AB");
        records[1].kyu = QStringLiteral("B2");
        QByteArray bytes = FanFileBytes(records, 412);
        bytes += "\r\n\x1a";  // an empty last line and an end-of-file mark are no record
        QCOMPARE(import(bytes), 3);
        const auto rows = racerTable(folder_->folder());
        QCOMPARE(rows.size(), size_t(3));
        // The table reads by registration number; the file's order is kept by the counter.
        QCOMPARE(rows[0].id.toInt(), 72);
        const Row& r = rows[1];
        QCOMPARE(r.id.toInt(), 3001);
        QCOMPARE(r.ki.toInt(), 64);
        QCOMPARE(r.ken.toInt(), 14);
        QCOMPARE(r.kyu.toString(), QStringLiteral("B2"));
        QCOMPARE(r.name.toString(), QStringLiteral("山田太郎　　　"));  // seven characters, blanks kept
        QCOMPARE(r.yomi.toString(), QStringLiteral("ｶﾞﾓｳ ｼﾞﾛｳ      "));  // all 15, blanks kept
        QCOMPARE(r.yomi1.toString(), QStringLiteral("ｶ"));
        QCOMPARE(r.year.toInt(), 1970);
        QCOMPARE(r.month.toInt(), 5);
        QCOMPARE(r.day.toInt(), 12);
        QCOMPARE(r.blood.toInt(), 4);
        QCOMPARE(r.win.toDouble(), 6.52);
        QCOMPARE(r.place.toDouble(), 45.3);
        Database db(folder_->folder());
        Recordset q(db, QStringLiteral("Q_選手"));
        q.FindFirst(QStringLiteral("選手ID"), 3001);
        QCOMPARE(q.field(QStringLiteral("よみがなID")).toInt(), 5);
        QCOMPARE(q.field(QStringLiteral("所属名")).toString(), QStringLiteral("神奈川"));
    }

    void eraLetters_data()
    {
        QTest::addColumn<QString>("era");
        QTest::addColumn<QString>("year");
        QTest::addColumn<int>("born");
        QTest::newRow("S45") << "S" << "45" << 1970;
        QTest::newRow("H01") << "H" << "01" << 1989;
        QTest::newRow("M45") << "M" << "45" << 1912;
        QTest::newRow("T10") << "T" << "10" << 1921;
        QTest::newRow("R02") << "R" << "02" << 2020;
        QTest::newRow("blank") << " " << "45" << 0;
        QTest::newRow("lower case") << "s" << "45" << 0;
        QTest::newRow("blank year") << "S" << "  " << 1925;
    }

    void eraLetters()
    {
        QFETCH(QString, era);
        QFETCH(QString, year);
        QFETCH(int, born);
        FanRecord r = record("1234");
        r.era = era;
        r.year = year;
        QCOMPARE(import(FanFileBytes({r}, 412)), 1);
        QCOMPARE(racerTable(folder_->folder())[0].year.toInt(), born);
    }

    void branchesAndBloodTypes()
    {
        std::vector<FanRecord> records;
        const QStringList blood{QStringLiteral("A "), QStringLiteral("B "), QStringLiteral("O "), QStringLiteral("AB"),
                                QStringLiteral("  "), QStringLiteral("C ")};
        for (int i = 0; i < blood.size(); ++i) {
            FanRecord r = record(QString::number(1000 + i));
            r.blood = blood[i];
            r.branch = i == 0 ? QStringLiteral("外国") : QStringLiteral("福岡");
            records.push_back(r);
        }
        import(FanFileBytes(records, 412));
        const auto rows = racerTable(folder_->folder());
        const int expected[6] = {1, 2, 3, 4, 5, 5};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(rows[size_t(i)].blood.toInt(), expected[i]);
        QVERIFY(rows[0].ken.isNull());  // a branch not in the table stays empty
        QCOMPARE(rows[1].ken.toInt(), 40);
    }

    void bothLayoutsGiveTheSameRacers()
    {
        std::vector<FanRecord> records{record("4001", QStringLiteral("高　橋　　二　朗")),
                                       record("4002", QStringLiteral("佐藤一二三四五六"))};
        records[1].era = QStringLiteral("H");
        records[1].year = QStringLiteral("07");
        import(FanFileBytes(records, 412));
        const auto oldRows = racerTable(folder_->folder());
        QCOMPARE(oldRows[0].name.toString(), QStringLiteral("高　橋　　二　"));
        QCOMPARE(oldRows[1].name.toString(), QStringLiteral("佐藤一二三四五"));

        import(FanFileBytes(records, 418));
        const auto newRows = racerTable(folder_->folder());
        QCOMPARE(newRows[0].name.toString(), QStringLiteral("高　橋　　二　朗"));
        QCOMPARE(newRows[1].name.toString(), QStringLiteral("佐藤一二三四五六"));
        QCOMPARE(newRows.size(), oldRows.size());
        for (size_t i = 0; i < newRows.size(); ++i) {
            Row a = oldRows[i];
            Row b = newRows[i];
            a.name = b.name = QVariant();
            QVERIFY(a == b);
        }
    }

    // A file with no record, or one cut off in its last record, would
    // replace the table with nothing or with the part that came: it is
    // refused before anything is written, saying what is wrong.
    void anEmptyOrCutFileIsRefused()
    {
        std::vector<FanRecord> handbook;
        for (int i = 0; i < 12; ++i)
            handbook.push_back(record(QString::number(4001 + i)));
        for (const int length : {412, 418}) {
            const QByteArray whole = FanFileBytes(handbook, length);
            QCOMPARE(import(whole), 12);
            const auto before = racerTable(folder_->folder());
            QString why;
            QCOMPARE(importError(QByteArray(), &why), ErrorNumber::BadFileFormat);
            QVERIFY2(why.contains(QStringLiteral("空")), qPrintable(why));
            QCOMPARE(importError(whole.left(length * 10 + length / 2), &why), ErrorNumber::BadFileFormat);
            QVERIFY2(why.contains(QStringLiteral("第 11 レコードが途中で切れています")), qPrintable(why));
            QVERIFY2(why.contains(QString::number(length / 2)), qPrintable(why));
            // A last record without its line end is cut short too, and so
            // is a first one.
            QCOMPARE(importError(whole.left(whole.size() - 2), &why), ErrorNumber::BadFileFormat);
            QVERIFY2(why.contains(QStringLiteral("第 12 レコード")), qPrintable(why));
            QCOMPARE(importError(whole.left(length - 1)), ErrorNumber::BadFileFormat);
            QCOMPARE(importError(whole + QByteArray(100, 'x')), ErrorNumber::BadFileFormat);
            QVERIFY(racerTable(folder_->folder()) == before);
        }
    }

    // The user's extraction survives a new handbook; a racer no longer in
    // it leaves the extraction with him.
    void theExtractionKeepsTheRacersStillThere()
    {
        import(FanFileBytes({record("4001"), record("4002"), record("4003")}, 418));
        SeedExtraction(folder_->folder(), {4001, 4003});
        QCOMPARE(import(FanFileBytes({record("4003"), record("4004"), record("4001")}, 418)), 3);
        QCOMPARE(import(FanFileBytes({record("4003"), record("4004")}, 418)), 2);
        Database db(folder_->folder());
        Statement rows = db.prepare(QStringLiteral("SELECT group_concat(選手ID) FROM T_選手抽出"));
        rows.step();
        QCOMPARE(rows.value(0).toString(), QStringLiteral("4003"));
    }

    void aBrokenFileIsRefusedAndTheTableKept()
    {
        import(FanFileBytes({record("4001"), record("4002")}, 418));
        const auto before = racerTable(folder_->folder());
        QString why;

        // A first line of neither length.
        QByteArray wrong = FanRecordBytes(record("5000"), 412);
        wrong.remove(100, 10);
        QCOMPARE(importError(wrong, &why), ErrorNumber::BadFileFormat);
        QVERIFY(why.contains(QStringLiteral("400 バイト")));

        // A record in the middle without its line end.
        std::vector<FanRecord> records{record("5001"), record("5002"), record("5003")};
        records[1].lineEnd = false;
        QCOMPARE(importError(FanFileBytes(records, 412), &why), ErrorNumber::BadFileFormat);
        QVERIFY(why.contains(QStringLiteral("第 2 レコード")));

        // No line end at all.
        QCOMPARE(importError(QByteArray(500, 'a'), &why), ErrorNumber::BadFileFormat);

        // A file that is not there.
        QCOMPARE(ErrorNumberOf([&] {
                     Database db(folder_->folder());
                     FanHandbook::Import(db, FanHandbook::LoadLookups(db), folder_->file("FAN0000.TXT"));
                 }),
                 ErrorNumber::FileNotFound);
        QVERIFY(racerTable(folder_->folder()) == before);
    }

    void aDuplicateRegistrationNumberRollsBack()
    {
        import(FanFileBytes({record("4001")}, 412));
        const auto before = racerTable(folder_->folder());
        QString why;
        QCOMPARE(importError(FanFileBytes({record("5001"), record("5002"), record("5001")}, 412), &why),
                 EngineError::DuplicateKey);
        QVERIFY(why.contains(QStringLiteral("第 3 レコード")));
        QVERIFY(racerTable(folder_->folder()) == before);
    }

    void tooManyRecordsRollBack()
    {
        import(FanFileBytes({record("4001")}, 412));
        const auto before = racerTable(folder_->folder());
        const QByteArray one = FanRecordBytes(record("5000"), 412);
        QByteArray many;
        many.reserve(one.size() * (FanHandbook::MaxRecords + 1));
        for (int i = 0; i <= FanHandbook::MaxRecords; ++i)
            many += one;
        QCOMPARE(importError(many), ErrorNumber::Overflow);
        QVERIFY(racerTable(folder_->folder()) == before);
    }

    // Whole-number columns take a fraction rounded as CInt does.
    void fractionsAreRoundedHalfToEven()
    {
        std::vector<FanRecord> records{record("10.5"), record("11.5"), record("4001")};
        records[0].month = QStringLiteral(".5");
        records[0].ki = QStringLiteral("1.5");
        records[1].ki = QStringLiteral("2.5");
        records[1].day = QStringLiteral("7.");
        QCOMPARE(import(FanFileBytes(records, 412)), 3);
        const auto rows = racerTable(folder_->folder());
        QCOMPARE(rows[0].id.toInt(), 10);
        QCOMPARE(rows[0].month, QVariant(qlonglong(0)));
        QCOMPARE(rows[0].ki.toInt(), 2);
        QCOMPARE(rows[1].id.toInt(), 12);
        QCOMPARE(rows[1].ki.toInt(), 2);
        QCOMPARE(rows[1].day.toInt(), 7);
        QCOMPARE(rows[2].month.toInt(), 5);
    }

    // A load that fails keeps the rows read before the error; an empty slot
    // never matches, so a blank or unknown blood type is 5.
    void aFailedLoadKeepsWhatWasRead()
    {
        {
            Database db(folder_->folder());
            db.execute(QStringLiteral("INSERT INTO T_所属 (所属ID, 所属名, 県名) VALUES (51, '外国', '外国')"));
        }
        Forms::registerForm(QStringLiteral("ImportForm"), [] { return new ImportForm; });
        auto* form = qobject_cast<ImportForm*>(Forms::show(QStringLiteral("ImportForm")));
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
        QVERIFY(MsgBoxScript::shown()[0].text.startsWith(QStringLiteral("エラー番号 ")));

        std::vector<FanRecord> records{record("4001"), record("4002"), record("4003")};
        records[1].blood = QStringLiteral("  ");
        records[2].branch = QStringLiteral("  ");
        WriteFile(folder_->file("FAN9907.TXT"), FanFileBytes(records, 412));
        form->findChild<DirList*>(QStringLiteral("SelectDir"))->setPath(folder_->folder());
        ClickListLine(form->findChild<QListWidget*>(QStringLiteral("FileSelect")), 0);
        MsgBoxScript::shown().clear();
        MsgBoxScript::queue(Mb::Yes);
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommandButton_1")), Qt::LeftButton);
        QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("インポート終了\r\n3 人の選手をインポートしました。"));
        const auto rows = racerTable(folder_->folder());
        QCOMPARE(rows[0].ken.toInt(), 12);
        QCOMPARE(rows[1].blood.toInt(), 5);
        QCOMPARE(rows[0].blood.toInt(), 5);  // the blood types were never read
        QVERIFY(rows[2].ken.isNull());
    }

    void windowFlow()
    {
        KeepFoldersInDatabase();
        import(FanFileBytes({record("4001")}, 412));
        const auto before = racerTable(folder_->folder());
        QDir(folder_->folder()).mkdir(QStringLiteral("files"));
        const QString files = folder_->file("files/");
        WriteFile(files + QStringLiteral("FAN.TXT"), FanFileBytes({record("7000")}, 412));
        WriteFile(files + QStringLiteral("fan9907.txt"), FanFileBytes({record("7001"), record("7002")}, 418));
        WriteFile(files + QStringLiteral("Fan9908.txt"), QByteArray(500, 'a'));
        WriteFile(files + QStringLiteral("other.txt"), QByteArray("x"));

        Forms::registerForm(QStringLiteral("ImportForm"), [] { return new ImportForm; });
        auto* form = qobject_cast<ImportForm*>(Forms::show(QStringLiteral("ImportForm")));
        QCOMPARE(form->windowTitle(), QStringLiteral("選手テーブルインポート"));
        auto* importButton = form->findChild<QPushButton*>(QStringLiteral("CommandButton_1"));
        QCOMPARE(form->findChild<QPushButton*>(QStringLiteral("CommandButton_0"))->text(), QStringLiteral("終  了"));

        QTest::mouseClick(importButton, Qt::LeftButton);
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("ファイル選択後、実行して下さい。")});

        auto* dirs = form->findChild<DirList*>(QStringLiteral("SelectDir"));
        dirs->setPath(files);
        auto* list = form->findChild<QListWidget*>(QStringLiteral("FileSelect"));
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        QCOMPARE(shown, (QStringList{QStringLiteral("FAN.TXT"), QStringLiteral("fan9907.txt"), QStringLiteral("Fan9908.txt")}));

        auto* chosen = form->findChild<QLineEdit*>(QStringLiteral("ListFile"));
        MsgBoxScript::shown().clear();
        ClickListLine(list, 1);
        QCOMPARE(chosen->text(), files + QStringLiteral("fan9907.txt"));
        ClickListLine(list, 0);
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("FAN.TXT ファイルは選択出来ません。")});
        QCOMPARE(chosen->text(), files + QStringLiteral("fan9907.txt"));  // the earlier choice stays

        // The keyboard chooses as the mouse does.
        MsgBoxScript::shown().clear();
        ClickListLine(list, 1);
        list->setFocus();
        QTest::keyClick(list->viewport(), Qt::Key_Down);
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(chosen->text(), files + QStringLiteral("Fan9908.txt"));
        QTest::keyClick(list->viewport(), Qt::Key_Up);
        QCOMPARE(chosen->text(), files + QStringLiteral("fan9907.txt"));
        QVERIFY(MsgBoxScript::shown().empty());

        // No changes nothing and shows no progress window.
        MsgBoxScript::shown().clear();
        MsgBoxScript::queue(Mb::No);
        QTest::mouseClick(importButton, Qt::LeftButton);
        QCOMPARE(MsgBoxScript::shown()[0].text,
                 QStringLiteral("選手テーブルを、ファン手帳からインポートします。\r\r既存の選手テーブルは削除されます。\rＯＫなら、はいを押して下さい。"));
        QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("選手テーブルインポート"));
        QCOMPARE(MsgBoxScript::shown()[0].style, Mb::Confirm);
        QVERIFY(!form->findChild<CautionForm*>());
        QVERIFY(racerTable(folder_->folder()) == before);

        MsgBoxScript::shown().clear();
        MsgBoxScript::queue(Mb::Yes);
        QTest::mouseClick(importButton, Qt::LeftButton);
        QCOMPARE(MsgBoxScript::shown().back().text, QStringLiteral("インポート終了\r\n2 人の選手をインポートしました。"));
        QCOMPARE(MsgBoxScript::shown().back().title, QStringLiteral("終了確認"));
        QCOMPARE(racerTable(folder_->folder()).size(), size_t(2));
        QVERIFY(!form->findChild<CautionForm*>());

        // A broken file: the standard error report, the table as it was.
        const auto imported = racerTable(folder_->folder());
        ClickListLine(list, 2);
        MsgBoxScript::shown().clear();
        MsgBoxScript::queue(Mb::Yes);
        QTest::mouseClick(importButton, Qt::LeftButton);
        QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
        QVERIFY(MsgBoxScript::shown()[1].text.startsWith(QStringLiteral("エラー番号 ")));
        QVERIFY(MsgBoxScript::shown()[1].text.contains(QStringLiteral("Fan9908.txt")));
        QVERIFY(!form->findChild<CautionForm*>());
        QVERIFY(racerTable(folder_->folder()) == imported);

        // Opened again, the folder list starts in the folder of the last
        // import, kept in the database.
        const QString last = QDir(files).absolutePath();
        QCOMPARE(Database(folder_->folder()).setting(QStringLiteral("フォルダ:ファン手帳")), last);
        Forms::unload(form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form = qobject_cast<ImportForm*>(Forms::show(QStringLiteral("ImportForm")));
        QCOMPARE(form->findChild<DirList*>(QStringLiteral("SelectDir"))->path(), last);
        QCOMPARE(form->findChild<QListWidget*>(QStringLiteral("FileSelect"))->count(), 3);
    }

    void anOlderHandbookAsksFirst()
    {
        auto edition = [this](const char* toban, const char* text) {
            FanRecord r = record(toban);
            r.edition = QString::fromLatin1(text);
            return r;
        };
        QCOMPARE(FanHandbook::Edition(FanRecordBytes(edition("1", "20242"), 418)), 20242);
        QCOMPARE(FanHandbook::Edition(FanRecordBytes(edition("1", "20021"), 412)), 20021);  // the old layout has it too
        QCOMPARE(FanHandbook::Edition(FanRecordBytes(edition("1", ""), 418)), 0);
        WriteFile(folder_->file("FAN0110.TXT"), FanFileBytes({edition("7003", "20021"), edition("7004", "20021")}, 412));
        QCOMPARE(FanHandbook::EditionOfFile(folder_->file("FAN0110.TXT")), 20021);

        QDir(folder_->folder()).mkdir(QStringLiteral("files"));
        const QString files = folder_->file("files/");
        WriteFile(files + QStringLiteral("FAN2410.TXT"), FanFileBytes({edition("7001", "20242")}, 418));
        WriteFile(files + QStringLiteral("FAN2404.TXT"), FanFileBytes({edition("7002", "20241")}, 418));
        Forms::registerForm(QStringLiteral("ImportForm"), [] { return new ImportForm; });
        auto* form = qobject_cast<ImportForm*>(Forms::show(QStringLiteral("ImportForm")));
        form->findChild<DirList*>(QStringLiteral("SelectDir"))->setPath(files);
        auto* list = form->findChild<QListWidget*>(QStringLiteral("FileSelect"));
        auto* importButton = form->findChild<QPushButton*>(QStringLiteral("CommandButton_1"));
        auto importLine = [&](int line, std::initializer_list<int> answers) {
            ClickListLine(list, line);
            MsgBoxScript::shown().clear();
            for (int a : answers)
                MsgBoxScript::queue(a);
            QTest::mouseClick(importButton, Qt::LeftButton);
        };
        importLine(1, {Mb::Yes});  // FAN2410: the newer one first, no extra question
        QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
        QCOMPARE(racerTable(folder_->folder()).front().id.toInt(), 7001);

        importLine(0, {Mb::No});  // FAN2404 is older: asked, No keeps the table
        QCOMPARE(MsgBoxScript::shown()[0].text,
                 QStringLiteral("選んだファン手帳（2024年前期）は、前回インポートしたもの（2024年後期）より古い版です。\r"
                                "インポートを続けますか。"));
        QCOMPARE(MsgBoxScript::shown()[0].style, Mb::Confirm);
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
        QCOMPARE(racerTable(folder_->folder()).front().id.toInt(), 7001);

        importLine(0, {Mb::Yes, Mb::Yes});  // asked, then the usual question
        QCOMPARE(racerTable(folder_->folder()).front().id.toInt(), 7002);
        Database db(folder_->folder());
        QCOMPARE(FanHandbook::LastEdition(db), 20241);
    }

    // Enter opens a folder of the folder list (the program's keyboard turns
    // it into a click as well); the instructions hold their eight lines and
    // nothing to scroll.
    void enterOpensAFolderAndTheInstructionsStayPut()
    {
        InstallKeyboard();
        QVERIFY(QDir(folder_->folder()).mkpath(QStringLiteral("files/inner")));
        Forms::registerForm(QStringLiteral("ImportForm"), [] { return new ImportForm; });
        auto* form = Forms::show(QStringLiteral("ImportForm"));
        auto* dirs = form->findChild<DirList*>(QStringLiteral("SelectDir"));
        dirs->setPath(folder_->file("files"));
        dirs->setFocus();
        dirs->setCurrentRow(dirs->count() - 1);
        QCOMPARE(dirs->currentItem()->text().trimmed(), QStringLiteral("inner"));
        QTest::keyClick(dirs, Qt::Key_Space);  // a click only chooses the line
        QCOMPARE(dirs->path(), QDir(folder_->file("files")).absolutePath());
        QTest::keyClick(dirs, Qt::Key_Return);
        QCOMPARE(dirs->path(), QDir(folder_->file("files/inner")).absolutePath());

        auto* info = form->findChild<QPlainTextEdit*>(QStringLiteral("TextInformation"));
        QCOMPARE(info->document()->blockCount(), 8);
        QCOMPARE(info->document()->firstBlock().text(), QStringLiteral("                 （選手テーブル最新版更新手順）"));
        QVERIFY(info->document()->lastBlock().text().startsWith(QStringLiteral("※ファン手帳")));
        QCOMPARE(info->verticalScrollBar()->maximum(), 0);
    }

    void everyMenuItemShowsItsWholeCaption()
    {
        Forms::registerForm(QStringLiteral("ImportForm"), [] { return new ImportForm; });
        VerifyMenusShowWholeCaptions(Forms::show(QStringLiteral("ImportForm")));
    }

    void volumesAndAnUnreadableOne()
    {
        Forms::registerForm(QStringLiteral("ImportForm"), [] { return new ImportForm; });
        auto* form = Forms::show(QStringLiteral("ImportForm"));
        auto* drives = form->findChild<QComboBox*>(QStringLiteral("SelectDrive"));
        QVERIFY(drives->count() >= 1);
        QCOMPARE(drives->itemText(0), QStringLiteral("/"));
        auto* dirs = form->findChild<DirList*>(QStringLiteral("SelectDir"));
        dirs->setPath(folder_->folder());

        // A volume that has gone (an unplugged disk, say).
        drives->addItem(folder_->file("gone"));
        PickComboItem(drives, drives->count() - 1);
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("ディスクをセットしてください。")});
        QCOMPARE(MsgBoxScript::shown()[0].style, Mb::OKOnly + Mb::Critical);
        QCOMPARE(dirs->path() + QLatin1Char('/'), folder_->folder());  // the folder list stays

        // The root opens in the folder list.
        PickComboItem(drives, 0);
        QCOMPARE(dirs->path(), QStringLiteral("/"));
    }

    void exitStartsTheMainProgram()
    {
        const QString marker = folder_->file("started");
        {
            QFile tool(folder_->file("vantor"));
            QVERIFY(tool.open(QIODevice::WriteOnly));
            tool.write(QStringLiteral("#!/bin/sh\npwd > '%1'\n").arg(marker).toUtf8());
            tool.setPermissions(tool.permissions() | QFile::ExeOwner);
        }
        Forms::registerForm(QStringLiteral("ImportForm"), [] { return new ImportForm; });
        auto* form = Forms::show(QStringLiteral("ImportForm"));
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("CommandButton_0")), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker) && QFile(marker).size() > 0, 5000);
        QVERIFY(MsgBoxScript::shown().empty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Forms::find(QStringLiteral("ImportForm")));
    }

    void aSecondToolIsRefused()
    {
        const QString name = QStringLiteral("dorrix-test-%1").arg(QCoreApplication::applicationPid());
        auto first = ClaimSingleInstance(name, QStringLiteral("ドリックスは複数起動出来ません。"));
        QVERIFY(first);
        QVERIFY(!ClaimSingleInstance(name, QStringLiteral("ドリックスは複数起動出来ません。")));
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("ドリックスは複数起動出来ません。")});
    }
};

#include "DailyTests.h"

int RunImportChild(const QString& folder, const QString& file);
QObject* NewImportCrashTest();
int RunPeriodImportChild(const QString& folder, const QString& files);
QObject* NewPeriodImportTest();
QObject* NewDownloadTest();
int WriteSiteFolder(const QString& folder);

int main(int argc, char* argv[])
{
    // The child of the crash runs: one import, killed somewhere in it.
    if (argc == 4 && qstrcmp(argv[1], "--child-import") == 0)
        return RunImportChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    if (argc == 4 && qstrcmp(argv[1], "--child-period") == 0)
        return RunPeriodImportChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    QApplication app(argc, argv);
    // A folder laid out as the official site, for trying the downloads by hand
    // against a local server (python3 -m http.server in that folder).
    if (argc == 3 && qstrcmp(argv[1], "--write-site") == 0)
        return WriteSiteFolder(QString::fromLocal8Bit(argv[2]));
    ImporterTest importer;
    ArchiveTest archive;
    DailyFilesTest dailyFiles;
    DailyWindowsTest dailyWindows;
    std::unique_ptr<QObject> crash(NewImportCrashTest());
    std::unique_ptr<QObject> period(NewPeriodImportTest());
    std::unique_ptr<QObject> download(NewDownloadTest());
    return RunTestObjects(argc, argv, {&importer, &archive, &dailyFiles, &dailyWindows, crash.get(), period.get(), download.get()});
}

#include "ImporterTest.moc"
