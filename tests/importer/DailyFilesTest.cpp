#include "DailyFileWriter.h"
#include "DailyFiles.h"
#include "DailyTests.h"
#include "FanFileWriter.h"
#include "Cp932.h"
#include "RuntimeError.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace DailyFiles;

namespace {
const QDate kDay(2024, 8, 1);

std::vector<int> codesOf(const std::vector<ProgramCourse>& courses)
{
    std::vector<int> codes;
    for (const auto& c : courses)
        codes.push_back(c.code);
    return codes;
}
}

void DailyFilesTest::programListsCoursesRacesAndBoats()
{
    ProgramCourseText gamagori{7, false, {MakeProgramRace(1, 4001), MakeProgramRace(12, 4101)}};
    gamagori.races[1].title = QStringLiteral("優勝戦");
    gamagori.races[1].distance = 1200;
    const ProgramCourseText tsu{9, true, {}};
    const ProgramCourseText omura{24, false, {MakeProgramRace(1, 4201)}};
    const ProgramDay day = ParseProgram(ProgramFileBytes(kDay, {gamagori, tsu, omura}), QStringLiteral("B240801.TXT"));

    QCOMPARE(day.date, kDay);
    QCOMPARE(codesOf(day.courses), (std::vector<int>{7, 9, 24}));
    QVERIFY(!day.courses[0].pending);
    QVERIFY(day.courses[1].pending);  // "いましばらくお待ちください"
    QVERIFY(day.courses[1].races.empty());
    QCOMPARE(day.courses[0].races.size(), size_t(2));
    const ProgramRace& twelfth = day.courses[0].races[1];
    QCOMPARE(twelfth.raceNo, 12);  // a two-digit head has no leading blank
    QCOMPARE(twelfth.title, QStringLiteral("優勝戦"));
    QCOMPARE(twelfth.distance, 1200);
    QCOMPARE(day.courses[0].races[0].distance, 1800);
    QCOMPARE(twelfth.boats.size(), size_t(6));
    for (int k = 0; k < 6; ++k) {
        QCOMPARE(twelfth.boats[size_t(k)].boat, k + 1);
        QCOMPARE(twelfth.boats[size_t(k)].toban, 4101 + k);
    }
    QCOMPARE(day.courses[2].races[0].boats[5].toban, 4206);
}

void DailyFilesTest::programBoatLinesAreReadByPosition()
{
    ProgramRaceText race = MakeProgramRace(1, 4001);
    ProgramBoat& b = race.boats[2];
    b.toban = 123;  // "0123"
    b.name = QStringLiteral("長谷川雄一郎");  // cut to four characters
    b.branch = QStringLiteral("福岡");
    b.age = 9;
    b.weight = 47;
    b.kyu = QStringLiteral("B2");
    // Right-aligned numbers that touch: nothing between them to split on.
    b.rest = QStringLiteral(" 6.5457.3810.00100.00 2310.00 45100.00 1 2 3 4      ");
    race.boats[4].name = QStringLiteral("林　健");
    const QByteArray file = ProgramFileBytes(kDay, {{1, false, {race}}});
    QCOMPARE(BoatLine(3, b).size(), qsizetype(BoatLineLength));

    const Boat& read = ParseProgram(file, QStringLiteral("b.txt")).courses[0].races[0].boats[2];
    QCOMPARE(read.toban, 123);
    QCOMPARE(read.name, QStringLiteral("長谷川雄"));
    QCOMPARE(read.branch, QStringLiteral("福岡"));
    QCOMPARE(read.age, 9);
    QCOMPARE(read.weight, 47);
    QCOMPARE(read.kyu, QStringLiteral("B2"));
    // Blanks inside a name stay, the padding goes.
    QCOMPARE(ParseProgram(file, QStringLiteral("b.txt")).courses[0].races[0].boats[4].name, QStringLiteral("林　健"));
}

void DailyFilesTest::resultsReadEveryFinishCode()
{
    // Every code a result line can carry, over two races; a dead heat for second.
    ResultRaceText first = MakeResultRace(1, 4001);
    first.lines[2].code = QStringLiteral("02");
    ResultRaceText second = MakeResultRace(2, 4101);
    const QStringList codes = {QStringLiteral("F"),  QStringLiteral("L0"), QStringLiteral("L1"), QStringLiteral("K0"),
                               QStringLiteral("K1"), QStringLiteral("S0")};
    for (int k = 0; k < 6; ++k)
        second.lines[size_t(k)].code = codes[k];
    second.lines[0].timing = QStringLiteral("F0.01");
    second.lines[1].timing = QStringLiteral("L .");
    second.lines[3].timing = QStringLiteral("K .");
    for (auto& l : second.lines)
        l.time = QStringLiteral(" .  . ");
    ResultRaceText third = MakeResultRace(3, 4201);
    third.lines[0].code = QStringLiteral("S1");
    third.lines[1].code = QStringLiteral("S2");
    third.lines[2].code = QStringLiteral("00");
    const QByteArray file = ResultFileBytes(kDay, {{5, false, {first, second, third}}});
    QCOMPARE(ResultLine(second.lines[0]).size(), qsizetype(ResultLineLength));

    const ResultDay day = ParseResults(file, QStringLiteral("K240801.TXT"));
    QCOMPARE(day.date, kDay);
    QCOMPARE(day.courses.size(), size_t(1));
    const ResultCourse& c = day.courses[0];
    QCOMPARE(c.code, 5);
    QCOMPARE(c.races.size(), size_t(3));
    std::vector<int> positions;
    for (const Finish& f : c.race(1)->finishes)
        positions.push_back(f.position());
    QCOMPARE(positions, (std::vector<int>{1, 2, 2, 4, 5, 6}));
    QCOMPARE(c.race(1)->finishes[3].toban, 4004);
    QCOMPARE(c.race(1)->finishes[3].boat, 4);
    QStringList read;
    for (const Finish& f : c.race(2)->finishes) {
        read << f.code;
        QCOMPARE(f.position(), 0);
    }
    QCOMPARE(read, codes);
    QCOMPARE(c.race(3)->finishes[0].code, QStringLiteral("S1"));
    QCOMPARE(c.race(3)->finishes[2].code, QStringLiteral("00"));
    for (int k = 0; k < 3; ++k)
        QCOMPARE(c.race(3)->finishes[size_t(k)].position(), 0);
    QCOMPARE(c.race(3)->finishes[3].position(), 4);
}

void DailyFilesTest::resultsKnowCancelledVoidAndUnfinished()
{
    ResultRaceText cancelled;
    cancelled.raceNo = 7;
    cancelled.cancelled = true;
    ResultRaceText voided = MakeResultRace(5, 4001);
    voided.isVoid = true;
    for (int k = 1; k < 6; ++k)
        voided.lines[size_t(k)].code = QStringLiteral("F");
    const ResultRaceText eleventh = MakeResultRace(11, 4101);
    const QByteArray file = ResultFileBytes(kDay, {{3, false, {voided, cancelled, eleventh}}, {20, true, {}}});

    const ResultDay day = ParseResults(file, QStringLiteral("k.txt"));
    const ResultCourse* edogawa = day.course(3);
    QVERIFY(edogawa);
    QCOMPARE(edogawa->cancelled, std::vector<int>{7});
    QVERIFY(!edogawa->race(7));  // a cancelled race has no block
    QVERIFY(edogawa->race(5)->isVoid);
    QVERIFY(!edogawa->race(11)->isVoid);
    QCOMPARE(edogawa->race(11)->finishes.size(), size_t(6));
    const ResultCourse* wakamatsu = day.course(20);
    QVERIFY(wakamatsu && wakamatsu->pending && wakamatsu->races.empty());
    QVERIFY(!day.course(1));
}

void DailyFilesTest::brokenFilesAreRefusedNamingTheLine_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("results");
    QTest::addColumn<int>("line");

    const QByteArray program = ProgramFileBytes(kDay, {{7, false, {MakeProgramRace(1, 4001)}}, {8, false, {MakeProgramRace(1, 4101)}}});
    const QByteArray boat = BoatLine(2, MakeProgramRace(1, 4001).boats[1]);
    const int boatLine = LineOf(program, boat);
    QVERIFY(boatLine > 0);
    QByteArray shortBoat = program;
    shortBoat.replace(boat + "\r\n", boat.left(78) + "\r\n");
    QTest::newRow("a boat line of 78 bytes") << shortBoat << false << boatLine;
    QByteArray longBoat = program;
    longBoat.replace(boat + "\r\n", boat + " \r\n");
    QTest::newRow("a boat line of 80 bytes") << longBoat << false << boatLine;
    QByteArray swapped = program;
    swapped.replace(boat + "\r\n", "3" + boat.mid(1) + "\r\n");
    QTest::newRow("boats out of order") << swapped << false << boatLine;
    QByteArray notB = program;
    notB.replace("STARTB", "STARTK");
    QTest::newRow("not a program file") << notB << false << 1;
    QByteArray noEnd = program;
    noEnd.replace("07BEND\r\n", "");
    QTest::newRow("a section without its end") << noEnd << false << LineOf(program, "08BBGN") - 1;
    QByteArray wrongEnd = program;
    wrongEnd.replace("07BEND", "06BEND");
    QTest::newRow("an end of another course") << wrongEnd << false << LineOf(program, "07BEND");
    QByteArray cut = program.left(program.indexOf("FINALB"));
    QTest::newRow("cut before FINALB") << cut << false << LineOf(program, "FINALB") - 1;
    const QByteArray dashes = QByteArray(79, '-') + "\r\n";
    QByteArray noDashes = program;
    noDashes.remove(program.indexOf(dashes), dashes.size());
    QTest::newRow("a race head without its dashed line") << noDashes << false << LineOf(program, dashes.chopped(2));

    const QByteArray results = ResultFileBytes(kDay, {{7, false, {MakeResultRace(1, 4001), MakeResultRace(2, 4101)}}});
    const QByteArray result = ResultLine(MakeResultRace(2, 4101).lines[3]);
    const int resultLine = LineOf(results, result);
    QVERIFY(resultLine > 0);
    QByteArray shortResult = results;
    shortResult.replace(result + "\r\n", result.left(65) + "\r\n");
    QTest::newRow("a result line of 65 bytes") << shortResult << true << resultLine;
    QByteArray badCode = results;
    badCode.replace(result + "\r\n", "  X9" + result.mid(4) + "\r\n");
    QTest::newRow("an unknown finish code") << badCode << true << resultLine;
    QByteArray programAsResults = program;
    QTest::newRow("a program file as results") << programAsResults << true << 1;
    QByteArray strayLine = results;
    strayLine.replace("07KBGN", "hello\r\n07KBGN");
    QTest::newRow("a line outside the sections") << strayLine << true << 2;
}

void DailyFilesTest::brokenFilesAreRefusedNamingTheLine()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, results);
    QFETCH(int, line);
    QString description;
    const int number = ErrorNumberOf(
        [&] {
            if (results)
                ParseResults(file, QStringLiteral("K240801.TXT"));
            else
                ParseProgram(file, QStringLiteral("B240801.TXT"));
        },
        &description);
    QCOMPARE(number, ErrorNumber::BadFileFormat);
    QVERIFY2(description.contains(QStringLiteral("。%1 行目：").arg(line)), qPrintable(description));
    QVERIFY(description.contains(results ? QStringLiteral("K240801.TXT") : QStringLiteral("B240801.TXT")));
}

void DailyFilesTest::filesNotInShiftJisAreRefused()
{
    const QByteArray program = ProgramFileBytes(kDay, {{7, false, {MakeProgramRace(1, 4001)}}});
    const QByteArray results = ResultFileBytes(kDay, {{7, false, {MakeResultRace(1, 4001)}}});
    QCOMPARE(ParseProgram(program, QStringLiteral("B240801.TXT")).courses.size(), size_t(1));
    QCOMPARE(ParseResults(results, QStringLiteral("K240801.TXT")).courses.size(), size_t(1));
    // As an editor saves them by default, with and without its mark, and as
    // UTF-16.
    auto utf16 = [](const QByteArray& bytes) {
        const QString text = DecodeCp932(bytes);
        return QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    };
    const struct {
        QByteArray program, results;
        const char* encoding;
    } saved[] = {{DecodeCp932(program).toUtf8(), DecodeCp932(results).toUtf8(), "UTF-8"},
                 {"\xEF\xBB\xBF" + DecodeCp932(program).toUtf8(), "\xEF\xBB\xBF" + DecodeCp932(results).toUtf8(), "UTF-8"},
                 {utf16(program), utf16(results), "UTF-16"}};
    QTemporaryDir dir;
    for (const auto& file : saved) {
        QString description;
        QCOMPARE(ErrorNumberOf([&] { ParseProgram(file.program, QStringLiteral("B240801.TXT")); }, &description),
                 ErrorNumber::BadFileFormat);
        QVERIFY2(description.startsWith(QStringLiteral("B240801.TXT は番組表のファイルとして読めません。Shift-JIS のファイルではありません（%1 で")
                                            .arg(QLatin1String(file.encoding))),
                 qPrintable(description));
        // The results file is refused as itself, never blaming the stored races.
        const QString path = dir.filePath(QStringLiteral("K240801.TXT"));
        WriteFile(path, file.results);
        QCOMPARE(ErrorNumberOf([&] { ReadResults(path); }, &description), ErrorNumber::BadFileFormat);
        QVERIFY2(description.startsWith(QStringLiteral("K240801.TXT は競走成績のファイルとして読めません。Shift-JIS のファイルではありません")),
                 qPrintable(description));
    }
}

void DailyFilesTest::archivesGiveTheirMember()
{
    QTemporaryDir dir;
    const QByteArray program = ProgramFileBytes(kDay, {{7, false, {MakeProgramRace(1, 4001)}}});
    const QByteArray results = ResultFileBytes(kDay, {{7, false, {MakeResultRace(1, 4001)}}});
    const QString b = dir.filePath(QStringLiteral("b240801.lzh"));
    const QString k = dir.filePath(QStringLiteral("k240801.lzh"));
    WriteFile(b, Lh0Archive({{"B240801.TXT", program}}));
    WriteFile(k, Lh0Archive({{"README.TXT", "x"}, {"K240801.TXT", results}}));

    QCOMPARE(ReadProgram(b).courses[0].races[0].boats[3].toban, 4004);
    QCOMPARE(ReadResults(k).course(7)->race(1)->finishes[5].toban, 4006);
    // A results archive is not a program file, whatever its name.
    const QString wrong = dir.filePath(QStringLiteral("b240802.lzh"));
    WriteFile(wrong, Lh0Archive({{"K240801.TXT", results}}));
    QString description;
    QCOMPARE(ErrorNumberOf([&] { ReadProgram(wrong); }, &description), ErrorNumber::BadFileFormat);
    QVERIFY2(description.contains(QStringLiteral("b240802.lzh")), qPrintable(description));
}
