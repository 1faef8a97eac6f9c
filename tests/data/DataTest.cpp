#include "Database.h"
#include "EngineErrors.h"
#include "Recordset.h"
#include "TestSupport.h"

#include <QFile>
#include <sqlite3.h>
#include <QTest>

namespace {
void addRacer(Recordset& rs, int id, int ki, int ken, const QString& name, const QString& yomi)
{
    rs.AddNew();
    rs.setField(QStringLiteral("選手ID"), id);
    rs.setField(QStringLiteral("期"), ki);
    rs.setField(QStringLiteral("所属ID"), ken);
    rs.setField(QStringLiteral("名前"), name);
    rs.setField(QStringLiteral("よみがな"), yomi);
    rs.setField(QStringLiteral("生年"), 1970);
    rs.setField(QStringLiteral("生月"), 5);
    rs.setField(QStringLiteral("生日"), 12);
    rs.setField(QStringLiteral("血液型ID"), 4);
    rs.setField(QStringLiteral("勝率"), 6.52);
    rs.setField(QStringLiteral("複勝率"), 45.3);
    rs.Update();
}
}

class DataTest : public QObject {
    Q_OBJECT
private slots:
    void aMissingFileIsCreatedWithItsDeliveredRows()
    {
        TestFolder t;
        QVERIFY(!QFile::exists(t.file("Vantor.mdb")));
        Database db(t.folder());
        QVERIFY(QFile::exists(t.file("Vantor.mdb")));

        Recordset ken(db, QStringLiteral("T_所属"));
        QCOMPARE(ken.RecordCount(), 47);
        ken.FindFirst(QStringLiteral("所属ID"), 14);
        QCOMPARE(ken.field(QStringLiteral("所属名")).toString(), QStringLiteral("神奈川"));
        QCOMPARE(ken.field(QStringLiteral("県名")).toString(), QStringLiteral("神奈"));
        ken.FindFirst(QStringLiteral("所属ID"), 47);
        QCOMPARE(ken.field(QStringLiteral("所属名")).toString(), QStringLiteral("沖縄"));

        Recordset blood(db, QStringLiteral("T_血液型"));
        QCOMPARE(blood.RecordCount(), 5);
        blood.FindFirst(QStringLiteral("血液型ID"), 4);
        QCOMPARE(blood.field(QStringLiteral("血液型名")).toString(), QStringLiteral("AB"));

        Recordset course(db, QStringLiteral("T_競艇場"));
        QCOMPARE(course.RecordCount(), 24);
        QCOMPARE(course.field(QStringLiteral("競艇場名")).toString(), QStringLiteral("桐生"));
        course.MoveLast();
        QCOMPARE(course.field(QStringLiteral("競艇場ID")).toInt(), 24);
        QCOMPARE(course.field(QStringLiteral("競艇場名")).toString(), QStringLiteral("大村"));

        for (const char* view : {"Q_選手", "Q_選手抽出", "Q_期", "Q_登番", "Q_レース履歴"})
            QCOMPARE(Recordset(db, QString::fromUtf8(view)).RecordCount(), 0);
    }

    void engineErrorsAreDescribedInJapanese()
    {
        // Words of the engine's own language that must never reach a box.
        const QRegularExpression sql(QStringLiteral("\\b(SELECT|INSERT|UPDATE|DELETE|FROM|WHERE|INTO|VALUES|TABLE|"
                                                    "CONSTRAINT|UNIQUE|NULL|PRAGMA|VACUUM|failed|database|locked)\\b"),
                                     QRegularExpression::CaseInsensitiveOption);
        auto japanese = [&sql](const QString& text) {
            return !text.isEmpty() && !sql.match(text).hasMatch() &&
                   std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3000; });
        };
        const std::vector<int>& numbers = EngineError::Numbers();
        for (int number : {3021, 3022, 3163, 3167, 3314, 3343, 3349, 3356})
            QVERIFY2(std::find(numbers.begin(), numbers.end(), number) != numbers.end(), qPrintable(QString::number(number)));
        for (int number : numbers) {
            QVERIFY2(japanese(EngineDescription(number)), qPrintable(EngineDescription(number)));
            QVERIFY(!EngineDescription(number).contains(QStringLiteral("%1")));
            QVERIFY(!EngineDescription(number, QStringLiteral("T_選手")).contains(QStringLiteral("%1")));
        }
        QCOMPARE(EngineDescription(EngineError::NoCurrentRecord), QStringLiteral("カレント レコードがありません。"));
        QCOMPARE(EngineDescription(3999), EngineDescription(EngineError::Generic));
        // Without its name a description closes up: no blank where the name was.
        QVERIFY(EngineDescription(EngineError::OpenedExclusively).startsWith(QStringLiteral("データベースは他の")));
        QCOMPARE(EngineDescription(EngineError::ObjectNotFound), QStringLiteral("入力テーブルまたはクエリが見つかりません。"));

        // What the data layer raises carries these descriptions, not SQLite's text.
        TestFolder t;
        QString description;
        {
            Database db(t.folder());
            Recordset extract(db, QStringLiteral("T_選手抽出"));
            for (int i = 0; i < 2; ++i) {
                extract.AddNew();
                extract.setField(QStringLiteral("選手ID"), 3945);
                if (i == 0)
                    extract.Update();
            }
            QCOMPARE(ErrorNumberOf([&] { extract.Update(); }, &description), EngineError::DuplicateKey);
            QCOMPARE(description, EngineDescription(EngineError::DuplicateKey));

            Recordset history(db, QStringLiteral("T_レース履歴"));
            history.AddNew();
            history.setField(QStringLiteral("結果1"), QVariant());
            QCOMPARE(ErrorNumberOf([&] { history.Update(); }, &description), EngineError::NullNotAllowed);
            QVERIFY2(japanese(description) && description.contains(QStringLiteral("結果1")), qPrintable(description));

            QCOMPARE(ErrorNumberOf([&] { db.execute(QStringLiteral("SELECT * FROM 無いテーブル")); }, &description),
                     EngineError::Generic);
            QVERIFY2(japanese(description), qPrintable(description));
        }
        TestFolder bad;
        {
            QFile f(bad.file("Vantor.mdb"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("this is a text file, not a database\n");
        }
        QCOMPARE(ErrorNumberOf([&] { Database db(bad.folder()); }, &description), EngineError::UnrecognizedFormat);
        QCOMPARE(description, EngineDescription(EngineError::UnrecognizedFormat, bad.file("Vantor.mdb")));
    }

    void aFileThatIsNotTheDatabaseIsRefusedAndKept()
    {
        TestFolder t;
        {
            QFile f(t.file("Vantor.mdb"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("this is a text file, not a database\n");
        }
        QCOMPARE(ErrorNumberOf([&] { Database db(t.folder()); }), EngineError::UnrecognizedFormat);
        QFile f(t.file("Vantor.mdb"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("this is a text file, not a database\n"));

        // An empty file is no database of ours either.
        TestFolder empty;
        QFile(empty.file("Vantor.mdb")).open(QIODevice::WriteOnly);
        QCOMPARE(ErrorNumberOf([&] { Database db(empty.folder()); }), EngineError::UnrecognizedFormat);
        QCOMPARE(QFile(empty.file("Vantor.mdb")).size(), 0);
    }

    void raceHistoryGetsTheNextIdAndZeroResults()
    {
        TestFolder t;
        Database db(t.folder());
        Recordset rs(db, QStringLiteral("T_レース履歴"));
        for (int race = 1; race <= 3; ++race) {
            rs.AddNew();
            rs.setField(QStringLiteral("調査年"), 1999);
            rs.setField(QStringLiteral("調査月"), 8);
            rs.setField(QStringLiteral("調査日"), 23);
            rs.setField(QStringLiteral("競艇場ID"), 3);
            rs.setField(QStringLiteral("レースNO"), race);
            rs.setField(QStringLiteral("選手1"), 3945);
            rs.Update();
        }
        rs.MoveLast();
        const int last = rs.field(QStringLiteral("履歴ID")).toInt();
        rs.MoveFirst();
        QCOMPARE(rs.field(QStringLiteral("履歴ID")).toInt(), last - 2);
        for (int n = 1; n <= 6; ++n)
            QCOMPARE(rs.field(QStringLiteral("結果%1").arg(n)).toInt(), 0);

        // A deleted race's number is not given again.
        rs.MoveLast();
        rs.Delete();
        rs.AddNew();
        rs.setField(QStringLiteral("調査年"), 2000);
        rs.Update();
        Recordset again(db, QStringLiteral("T_レース履歴"));
        again.MoveLast();
        QCOMPARE(again.field(QStringLiteral("履歴ID")).toInt(), last + 1);

        // A result may not be emptied.
        again.Edit();
        again.setField(QStringLiteral("結果1"), QVariant());
        QCOMPARE(ErrorNumberOf([&] { again.Update(); }), EngineError::NullNotAllowed);
    }

    void theHistoryQueryFillsEmptyBoats()
    {
        TestFolder t;
        Database db(t.folder());
        Recordset racers(db, QStringLiteral("Q_選手"));
        addRacer(racers, 3945, 64, 12, QStringLiteral("山田太郎"), QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"));
        Recordset rs(db, QStringLiteral("T_レース履歴"));
        rs.AddNew();
        rs.setField(QStringLiteral("調査年"), 1999);
        rs.setField(QStringLiteral("競艇場ID"), 3);
        rs.setField(QStringLiteral("選手1"), 3945);
        rs.setField(QStringLiteral("選手2"), 4000);  // no longer in the racer table
        rs.Update();

        Recordset q(db, QStringLiteral("Q_レース履歴"));
        QCOMPARE(q.RecordCount(), 1);
        QCOMPARE(q.field(QStringLiteral("競艇場名")).toString(), QStringLiteral("江戸川"));
        QCOMPARE(q.field(QStringLiteral("所属ID1")).toInt(), 12);
        QCOMPARE(q.field(QStringLiteral("期1")).toInt(), 3945);
        QCOMPARE(q.field(QStringLiteral("名前1")).toString(), QStringLiteral("山田太郎"));
        QCOMPARE(q.field(QStringLiteral("勝率1")).toDouble(), 6.52);
        QCOMPARE(q.field(QStringLiteral("所属ID2")).toInt(), 0);
        for (int n = 2; n <= 6; ++n) {
            QCOMPARE(q.field(QStringLiteral("所属ID%1").arg(n)).toInt(), 0);
            QCOMPARE(q.field(QStringLiteral("名前%1").arg(n)).toString(), QString());
        }
        for (const QString& name : q.fieldNames())
            QVERIFY2(!q.field(name).isNull(), qPrintable(name));
    }

    void duplicateRacerIsRefusedWith3022()
    {
        TestFolder t;
        Database db(t.folder());
        Recordset rs(db, QStringLiteral("T_選手"));
        rs.AddNew();
        rs.setField(QStringLiteral("選手ID"), 3945);
        rs.Update();
        rs.AddNew();
        rs.setField(QStringLiteral("選手ID"), 3945);
        QCOMPARE(ErrorNumberOf([&] { rs.Update(); }), EngineError::DuplicateKey);
        QCOMPARE(Recordset(db, QStringLiteral("T_選手")).RecordCount(), 1);

        Recordset extract(db, QStringLiteral("T_選手抽出"));
        extract.AddNew();
        extract.setField(QStringLiteral("選手ID"), 3945);
        extract.Update();
        extract.AddNew();
        extract.setField(QStringLiteral("選手ID"), 3945);
        QCOMPARE(ErrorNumberOf([&] { extract.Update(); }), EngineError::DuplicateKey);
    }

    void wholeNumbersMustFitSixteenBits()
    {
        TestFolder t;
        Database db(t.folder());
        Recordset rs(db, QStringLiteral("T_選手"));
        rs.AddNew();
        rs.setField(QStringLiteral("選手ID"), 1);
        rs.setField(QStringLiteral("期"), 70000);
        QCOMPARE(ErrorNumberOf([&] { rs.Update(); }), EngineError::FieldOverflow);
        rs.AddNew();
        rs.setField(QStringLiteral("選手ID"), 1);
        rs.setField(QStringLiteral("期"), 64.0);  // whole doubles are stored as integers
        rs.Update();
        rs.MoveFirst();
        QCOMPARE(rs.field(QStringLiteral("期")).typeId(), int(QMetaType::LongLong));
    }

    void aNumberBeyondAnyWholeNumberIsAnOverflow()
    {
        TestFolder t;
        Database db(t.folder());
        for (const char* source : {"T_選手", "Q_選手"}) {
            Recordset rs(db, QString::fromUtf8(source));
            rs.AddNew();
            rs.setField(QStringLiteral("選手ID"), 1e20);  // the key column, as a box's Val gives it
            QCOMPARE(ErrorNumberOf([&] { rs.Update(); }), EngineError::FieldOverflow);
            rs.CancelUpdate();
            rs.AddNew();
            rs.setField(QStringLiteral("選手ID"), 2);
            rs.setField(QStringLiteral("生年"), 1e308);
            QCOMPARE(ErrorNumberOf([&] { rs.Update(); }), EngineError::FieldOverflow);
            rs.CancelUpdate();
            QCOMPARE(rs.RecordCount(), 0);
        }
    }

    void namesLongerThanTheirColumnAreRefused_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("length");
        QTest::newRow("racer") << QStringLiteral("T_選手") << QStringLiteral("名前") << 22;
        QTest::newRow("racer query") << QStringLiteral("Q_選手") << QStringLiteral("名前") << 22;
        QTest::newRow("racecourse") << QStringLiteral("T_競艇場") << QStringLiteral("競艇場名") << 22;
        QTest::newRow("roster") << QStringLiteral("T_個別名簿") << QStringLiteral("名前") << 22;
    }

    void namesLongerThanTheirColumnAreRefused()
    {
        QFETCH(QString, source);
        QFETCH(QString, column);
        QFETCH(int, length);
        TestFolder t;
        Database db(t.folder());
        Recordset rs(db, source);
        const int before = rs.RecordCount();
        auto add = [&](int characters) {
            rs.AddNew();
            if (source != QStringLiteral("T_個別名簿"))
                rs.setField(rs.fieldNames().contains(QStringLiteral("選手ID")) ? QStringLiteral("選手ID") : QStringLiteral("競艇場ID"),
                            100 + characters);
            rs.setField(column, QString(characters, QChar(0x540d)));
            try {
                rs.Update();
            } catch (...) {
                rs.CancelUpdate();
                throw;
            }
        };
        QString description;
        for (const int characters : {length + 1, 10000}) {
            QCOMPARE(ErrorNumberOf([&] { add(characters); }, &description), EngineError::FieldTooSmall);
            QVERIFY2(description.contains(QStringLiteral("フィールドが小さすぎて")), qPrintable(description));
        }
        add(length);
        QCOMPARE(rs.RecordCount(), before + 1);
        Statement stored = db.prepare(QStringLiteral("SELECT max(length(%1)) FROM %2").arg(column, source));
        stored.step();
        QCOMPARE(stored.value(0).toInt(), length);
    }

    void deletingAnExtractionRowKeepsTheRacer()
    {
        TestFolder t;
        Database db(t.folder());
        Recordset racers(db, QStringLiteral("Q_選手"));
        addRacer(racers, 3945, 64, 12, QStringLiteral("山田太郎"), QStringLiteral("ﾔﾏﾀﾞ"));
        addRacer(racers, 4001, 70, 14, QStringLiteral("鈴木一郎"), QStringLiteral("ｽｽﾞｷ"));
        Recordset extract(db, QStringLiteral("T_選手抽出"));
        for (int id : {4001, 3945}) {
            extract.AddNew();
            extract.setField(QStringLiteral("選手ID"), id);
            extract.Update();
        }
        Recordset q(db, QStringLiteral("Q_選手抽出"));
        QCOMPARE(q.RecordCount(), 2);
        QCOMPARE(q.field(QStringLiteral("選手ID")).toInt(), 3945);  // by registration number
        QCOMPARE(q.field(QStringLiteral("所属名")).toString(), QStringLiteral("東京"));

        Recordset rows(db, QStringLiteral("T_選手抽出"));
        rows.FindFirst(QStringLiteral("選手ID"), 3945);
        rows.Delete();
        QCOMPARE(Recordset(db, QStringLiteral("T_選手抽出")).RecordCount(), 1);
        QCOMPARE(Recordset(db, QStringLiteral("T_選手")).RecordCount(), 2);
        Recordset all(db, QStringLiteral("Q_選手"));
        all.FindFirst(QStringLiteral("選手ID"), 3945);
        QVERIFY(!all.NoMatch());
    }

    void theRacerQueriesTakeChanges()
    {
        TestFolder t;
        Database db(t.folder());
        Recordset q(db, QStringLiteral("Q_選手"));
        addRacer(q, 3945, 64, 12, QStringLiteral("山田太郎"), QStringLiteral("ﾔﾏﾀﾞ"));
        QCOMPARE(q.RecordCount(), 1);
        q.MoveFirst();
        QCOMPARE(q.field(QStringLiteral("所属名")).toString(), QStringLiteral("東京"));
        QCOMPARE(q.field(QStringLiteral("血液型名")).toString(), QStringLiteral("AB"));
        QCOMPARE(q.field(QStringLiteral("登番")).toInt(), 3945);

        q.Edit();
        q.setField(QStringLiteral("所属ID"), 14);
        q.setField(QStringLiteral("期"), 65);
        q.Update();
        // The recordset shows the joined name of the new branch at once.
        QCOMPARE(q.field(QStringLiteral("所属名")).toString(), QStringLiteral("神奈川"));
        Recordset table(db, QStringLiteral("T_選手"));
        QCOMPARE(table.field(QStringLiteral("所属ID")).toInt(), 14);
        QCOMPARE(table.field(QStringLiteral("期")).toInt(), 65);

        // Changing the registration number through the query moves the row.
        q.Edit();
        q.setField(QStringLiteral("選手ID"), 3946);
        q.Update();
        QCOMPARE(q.field(QStringLiteral("登番")).toInt(), 3946);
        Recordset numbers(db, QStringLiteral("Q_登番"));
        QCOMPARE(numbers.field(QStringLiteral("登番")).toInt(), 3946);

        Recordset extract(db, QStringLiteral("T_選手抽出"));
        extract.AddNew();
        extract.setField(QStringLiteral("選手ID"), 3946);
        extract.Update();
        Recordset qe(db, QStringLiteral("Q_選手抽出"));
        qe.Edit();
        qe.setField(QStringLiteral("名前"), QStringLiteral("山田次郎"));
        qe.Update();
        QCOMPARE(Recordset(db, QStringLiteral("T_選手")).field(QStringLiteral("名前")).toString(), QStringLiteral("山田次郎"));

        // Adding through the extraction query adds the racer and the extraction row.
        addRacer(qe, 5000, 90, 1, QStringLiteral("佐藤花子"), QStringLiteral("ｻﾄｳ"));
        QCOMPARE(Recordset(db, QStringLiteral("T_選手")).RecordCount(), 2);
        QCOMPARE(Recordset(db, QStringLiteral("Q_選手抽出")).RecordCount(), 2);

        // Terms once each, ascending.
        Recordset terms(db, QStringLiteral("Q_期"));
        QCOMPARE(terms.RecordCount(), 2);
        QCOMPARE(terms.field(QStringLiteral("期")).toInt(), 65);
    }

    void readingsGiveTheirKanaButton_data()
    {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<int>("id");
        QTest::newRow("ｱ") << QStringLiteral("ｱｵｷ") << 0;
        QTest::newRow("voiced ｶﾞ") << QStringLiteral("ｶﾞﾓｳ") << 5;
        QTest::newRow("ﾎﾞ") << QStringLiteral("ﾎﾞﾝﾉ") << 29;
        QTest::newRow("ﾔ") << QStringLiteral("ﾔﾏﾀﾞ") << 35;
        QTest::newRow("ﾕ") << QStringLiteral("ﾕｳｷ") << 37;
        QTest::newRow("ﾖ") << QStringLiteral("ﾖｼﾀﾞ") << 39;
        QTest::newRow("ﾛ") << QStringLiteral("ﾛｯｸ") << 44;
        QTest::newRow("ﾜ") << QStringLiteral("ﾜﾀﾅﾍﾞ") << 45;
        QTest::newRow("ﾝ") << QStringLiteral("ﾝｸﾞ") << 49;
        QTest::newRow("full-width ガ") << QStringLiteral("ガモウ") << 5;
        QTest::newRow("full-width ポ") << QStringLiteral("ポール") << 29;
        QTest::newRow("ヴ") << QStringLiteral("ヴィ") << 2;
        QTest::newRow("hiragana") << QStringLiteral("よしだ") << 39;
        QTest::newRow("hiragana voiced") << QStringLiteral("ばば") << 25;
        QTest::newRow("small ｧ") << QStringLiteral("ｧｲ") << 0;
        QTest::newRow("small ｫ") << QStringLiteral("ｫ") << 4;
        QTest::newRow("small ｬ") << QStringLiteral("ｬﾏ") << 35;
        QTest::newRow("small ｭ") << QStringLiteral("ｭｷ") << 37;
        QTest::newRow("small ｮ") << QStringLiteral("ｮｼ") << 39;
        QTest::newRow("small ｯ") << QStringLiteral("ｯｸ") << 17;
        QTest::newRow("full-width small ッ") << QStringLiteral("ッ") << 17;
        QTest::newRow("no kana") << QStringLiteral("*ABC") << -1;
        QTest::newRow("blank") << QStringLiteral(" ﾔﾏ") << -1;
    }

    void readingsGiveTheirKanaButton()
    {
        QFETCH(QString, reading);
        QFETCH(int, id);
        TestFolder t;
        Database db(t.folder());
        Recordset q(db, QStringLiteral("Q_選手"));
        addRacer(q, 1, 1, 1, QStringLiteral("x"), reading);
        q.MoveFirst();
        QCOMPARE(q.field(QStringLiteral("よみがなID")).toInt(), id);
    }

    void movingPastTheEndsAndDeletedRecords()
    {
        TestFolder t;
        Database db(t.folder());
        Recordset empty(db, QStringLiteral("T_選手"));
        QVERIFY(empty.eof() && empty.bof());
        QCOMPARE(ErrorNumberOf([&] { empty.MoveFirst(); }), EngineError::NoCurrentRecord);
        QCOMPARE(ErrorNumberOf([&] { empty.field(QStringLiteral("選手ID")); }), EngineError::NoCurrentRecord);

        Recordset rs(db, QStringLiteral("T_競艇場"));
        QCOMPARE(ErrorNumberOf([&] { rs.field(QStringLiteral("ないフィールド")); }), EngineError::ItemNotFound);
        rs.MoveLast();
        rs.MoveNext();
        QVERIFY(rs.eof());
        QCOMPARE(ErrorNumberOf([&] { rs.MoveNext(); }), EngineError::NoCurrentRecord);

        rs.FindFirst(QStringLiteral("競艇場ID"), 2);
        QCOMPARE(rs.AbsolutePosition(), 1);
        rs.FindFirst(QStringLiteral("競艇場ID"), 99);
        QVERIFY(rs.NoMatch());
        QCOMPARE(rs.field(QStringLiteral("競艇場ID")).toInt(), 2);  // stays where it was

        rs.Delete();
        QCOMPARE(ErrorNumberOf([&] { rs.field(QStringLiteral("競艇場名")); }), EngineError::RecordDeleted);
        QCOMPARE(rs.RecordCount(), 23);
        rs.MoveNext();
        QCOMPARE(rs.field(QStringLiteral("競艇場ID")).toInt(), 3);
        rs.MovePrevious();
        QCOMPARE(rs.field(QStringLiteral("競艇場ID")).toInt(), 1);  // the deleted row is skipped

        // A row deleted by another program is reported when it is changed.
        Recordset other(db, QStringLiteral("T_競艇場"));
        rs.Delete();
        QCOMPARE(ErrorNumberOf([&] { other.Delete(); }), EngineError::RecordDeleted);

        // The recordset's own errors carry the engine's descriptions, word for word.
        QString description;
        ErrorNumberOf([&] { other.Delete(); }, &description);
        QCOMPARE(description, EngineDescription(EngineError::RecordDeleted));
        ErrorNumberOf([&] { empty.MoveFirst(); }, &description);
        QCOMPARE(description, EngineDescription(EngineError::NoCurrentRecord));
        ErrorNumberOf([&] { rs.field(QStringLiteral("ないフィールド")); }, &description);
        QCOMPARE(description, EngineDescription(EngineError::ItemNotFound, QStringLiteral("ないフィールド")));
        ErrorNumberOf([&] { Recordset missing(db, QStringLiteral("T_ない")); }, &description);
        QCOMPARE(description, EngineDescription(EngineError::ObjectNotFound, QStringLiteral("T_ない")));
    }

    void reopeningSeesEveryChangeMadeMeanwhile()
    {
        TestFolder t;
        SeedRacers(t.folder(), {{3945}, {4000}});
        Database db(t.folder());
        Recordset first(db, QStringLiteral("Q_選手"));
        Recordset shared(db, QStringLiteral("Q_選手"));  // the same rows, unchanged database
        QCOMPARE(shared.RecordCount(), 2);

        // A change by this connection...
        first.Delete();
        QCOMPARE(shared.RecordCount(), 2);  // an open recordset keeps its set of rows...
        QCOMPARE(ErrorNumberOf([&] { shared.field(QStringLiteral("選手ID")); }), EngineError::RecordDeleted);
        shared.MoveNext();                  // ...but reads what is stored
        QCOMPARE(shared.field(QStringLiteral("選手ID")).toInt(), 4000);
        QCOMPARE(Recordset(db, QStringLiteral("Q_選手")).RecordCount(), 1);

        // ...and by another program's connection.
        {
            Database other(t.folder());
            Recordset racers(other, QStringLiteral("T_選手"));
            racers.Edit();
            racers.setField(QStringLiteral("期"), 99);
            racers.Update();
        }
        Recordset again(db, QStringLiteral("Q_選手"));
        QCOMPARE(again.field(QStringLiteral("期")).toInt(), 99);
    }

    // An open recordset reads what is stored when a row is read, whoever
    // wrote it; its set of rows stays as it was opened.
    void openRecordsetsReadWhatIsStored()
    {
        TestFolder t;
        SeedRacers(t.folder(), {{3945}, {4000}});
        Database db(t.folder());
        {
            Recordset add(db, QStringLiteral("T_レース履歴"));
            for (int race = 1; race <= 2; ++race) {
                add.AddNew();
                add.setField(QStringLiteral("調査年"), 1999);
                add.setField(QStringLiteral("レースNO"), race);
                add.setField(QStringLiteral("選手1"), 3945);
                add.Update();
            }
        }
        Recordset writer(db, QStringLiteral("T_レース履歴"));
        Recordset table(db, QStringLiteral("T_レース履歴"));
        Recordset view(db, QStringLiteral("Q_レース履歴"));
        QCOMPARE(view.field(QStringLiteral("結果1")).toInt(), 0);  // read before the change

        writer.Edit();
        writer.setField(QStringLiteral("結果1"), 3);
        writer.setField(QStringLiteral("結果6"), 6);
        writer.Update();
        QCOMPARE(table.field(QStringLiteral("結果1")).toInt(), 3);
        QCOMPARE(view.field(QStringLiteral("結果1")).toInt(), 3);
        QCOMPARE(view.field(QStringLiteral("結果6")).toInt(), 6);
        // Moving away and back, and finding by the changed value.
        view.MoveNext();
        view.FindFirst(QStringLiteral("結果6"), 6);
        QVERIFY(!view.NoMatch());
        QCOMPARE(view.field(QStringLiteral("レースNO")).toInt(), 1);
        view.FindFirst(QStringLiteral("結果6"), 0);
        QCOMPARE(view.field(QStringLiteral("レースNO")).toInt(), 2);

        // A change to a joined table shows in the view.
        Recordset racers(db, QStringLiteral("Q_選手"));
        racers.Edit();
        racers.setField(QStringLiteral("名前"), QStringLiteral("山田一郎"));
        racers.Update();
        view.MoveFirst();
        QCOMPARE(view.field(QStringLiteral("名前1")).toString(), QStringLiteral("山田一郎"));
        QCOMPARE(Recordset(db, QStringLiteral("Q_選手抽出")).RecordCount(), 0);

        // A row deleted through another recordset reads as deleted; moves
        // still reach it, and the rows around it read as stored.
        table.MoveLast();
        table.Delete();
        QCOMPARE(view.RecordCount(), 2);
        view.MoveLast();
        QCOMPARE(ErrorNumberOf([&] { view.field(QStringLiteral("結果1")); }), EngineError::RecordDeleted);
        writer.MoveLast();
        QCOMPARE(ErrorNumberOf([&] { writer.field(QStringLiteral("結果1")); }), EngineError::RecordDeleted);
        QCOMPARE(ErrorNumberOf([&] { writer.Edit(); }), EngineError::RecordDeleted);
        view.MovePrevious();
        QCOMPARE(view.field(QStringLiteral("結果1")).toInt(), 3);

        // Rows added elsewhere appear only after a reopen.
        table.AddNew();
        table.setField(QStringLiteral("調査年"), 2000);
        table.Update();
        QCOMPARE(view.RecordCount(), 2);
        view.FindFirst(QStringLiteral("調査年"), 2000);
        QVERIFY(view.NoMatch());
        QCOMPARE(Recordset(db, QStringLiteral("Q_レース履歴")).RecordCount(), 2);
    }

    // Another program writes through its own connection.
    void openRecordsetsSeeOtherPrograms()
    {
        TestFolder t;
        SeedRacers(t.folder(), {{3945}, {4000}, {4100}});
        Database db(t.folder());
        Recordset table(db, QStringLiteral("T_選手"));
        Recordset query(db, QStringLiteral("Q_選手"));
        QCOMPARE(query.field(QStringLiteral("期")).toInt(), 64);
        {
            Database other(t.folder());  // another window of this program
            Recordset racers(other, QStringLiteral("T_選手"));
            racers.Edit();
            racers.setField(QStringLiteral("期"), 99);
            racers.Update();
        }
        QCOMPARE(query.field(QStringLiteral("期")).toInt(), 99);
        QCOMPARE(table.field(QStringLiteral("期")).toInt(), 99);

        // A program of its own, which this process has no hook into.
        sqlite3* raw = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(t.file("Vantor.mdb")).constData(), &raw), SQLITE_OK);
        QCOMPARE(sqlite3_exec(raw, "UPDATE T_選手 SET 所属ID = 14 WHERE 選手ID = 4000; "
                                   "DELETE FROM T_選手 WHERE 選手ID = 4100; "
                                   "INSERT INTO T_選手 (選手ID, 期) VALUES (5000, 1)", nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(raw);
        QTest::qSleep(5);  // another program's commit is noticed within a millisecond
        query.MoveNext();
        QCOMPARE(query.field(QStringLiteral("所属名")).toString(), QStringLiteral("神奈川"));
        query.MoveNext();
        QCOMPARE(ErrorNumberOf([&] { query.field(QStringLiteral("期")); }), EngineError::RecordDeleted);
        QCOMPARE(query.RecordCount(), 3);
        table.FindFirst(QStringLiteral("所属ID"), 14);
        QCOMPARE(table.field(QStringLiteral("選手ID")).toInt(), 4000);
    }

    // A scan over many rows after a change reads every row as stored.
    void aLongScanAfterAChangeReadsEveryRowAsStored()
    {
        TestFolder t;
        std::vector<TestRacer> seed;
        for (int i = 1; i <= 700; ++i)
            seed.push_back(TestRacer{i});
        SeedRacers(t.folder(), seed);
        Database db(t.folder());
        Recordset query(db, QStringLiteral("Q_選手"));
        db.execute(QStringLiteral("UPDATE T_選手 SET 期 = 選手ID WHERE 選手ID % 100 = 7; DELETE FROM T_選手 WHERE 選手ID = 400"));
        int changed = 0;
        int deleted = 0;
        for (query.MoveFirst(); !query.eof(); query.MoveNext()) {
            if (ErrorNumberOf([&] { query.field(QStringLiteral("期")); }) == EngineError::RecordDeleted) {
                ++deleted;
                continue;
            }
            const int id = query.field(QStringLiteral("選手ID")).toInt();
            QCOMPARE(query.field(QStringLiteral("期")).toInt(), id % 100 == 7 ? id : 64);
            changed += id % 100 == 7 ? 1 : 0;
        }
        QCOMPARE(changed, 7);
        QCOMPARE(deleted, 1);
        query.FindFirst(QStringLiteral("期"), 607);
        QCOMPARE(query.field(QStringLiteral("選手ID")).toInt(), 607);
    }

    void compactionReplacesTheFile()
    {
        TestFolder t;
        {
            Database db(t.folder());
            Recordset rs(db, QStringLiteral("T_個別名簿"));
            rs.AddNew();
            rs.setField(QStringLiteral("名前"), QStringLiteral("山田"));
            rs.Update();
        }
        Database::compact(t.folder());
        QVERIFY(!QFile::exists(t.file("keinew.mdb")));
        Database db(t.folder());
        QCOMPARE(Recordset(db, QStringLiteral("T_個別名簿")).RecordCount(), 1);
    }
};

#include "DatabaseFileTest.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The child of the crash runs: one compaction, killed somewhere in it.
    if (argc == 3 && qstrcmp(argv[1], "--child-compact") == 0)
        return RunChildWork([&] { Database::compact(QString::fromLocal8Bit(argv[2])); });
    if (argc == 4 && qstrcmp(argv[1], "--child-write") == 0)
        return RunOutsideWriter(QString::fromLocal8Bit(argv[2]), qstrcmp(argv[3], "insert") == 0);
    QApplication app(argc, argv);
    DataTest data;
    DatabaseFileTest files;
    return RunTestObjects(argc, argv, {&data, &files});
}

#include "DataTest.moc"
