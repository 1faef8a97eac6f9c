#include "Database.h"
#include "FanFileWriter.h"
#include "FanHandbook.h"
#include "Forms.h"
#include "ImportForm.h"
#include "ImporterTests.h"
#include "LhaArchive.h"
#include "MsgBox.h"
#include "RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
// data/FAN9907.LZH: SyntheticHandbook() written to FAN9907.TXT and packed
// once with the free LHA tool of Debian 12 (jlha-utils 0.1.6,
// `jlha a FAN9907.LZH FAN9907.TXT`): method -lh5-, a level-2 header, 1,404
// bytes. If the generator is changed, make the archive again the same way.
QByteArray lh5Fixture()
{
    QFile file(QStringLiteral(":/FAN9907.LZH"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Sets the checksum of the level-0 header at `at` after a change to it.
void resum(QByteArray& archive, int at)
{
    int sum = 0;
    for (int i = at + 2; i < at + 2 + uchar(archive[at]); ++i)
        sum += uchar(archive[i]);
    archive[at + 1] = char(sum & 0xFF);
}

const QByteArray kReadme = QByteArrayLiteral("This archive holds the fan handbook.\r\n");
}

void ArchiveTest::init() { folder_ = std::make_unique<TestFolder>(); }

void ArchiveTest::cleanup()
{
    UnloadAllWindows();
    folder_.reset();
}

int ArchiveTest::import(const QString& name, const QByteArray& bytes)
{
    WriteFile(folder_->file(name), bytes);
    Database db(folder_->folder());
    return FanHandbook::Import(db, FanHandbook::LoadLookups(db), folder_->file(name));
}

void ArchiveTest::bothMethodsGiveTheRowsOfThePlainFile()
{
    const QByteArray plain = SyntheticHandbook();
    const QByteArray one = FanFileBytes({FanRecord{}}, 412);
    QCOMPARE(import(QStringLiteral("FAN9907.TXT"), plain), 40);
    const auto rows = RacerTable(folder_->folder());
    QCOMPARE(rows.size(), size_t(40));

    // The compressed member decodes to the very bytes of the plain file.
    const QByteArray lh5 = lh5Fixture();
    QVERIFY(lh5.startsWith(QByteArray("\x2d\x00-lh5-", 7)));
    const LhaMember member = ReadLhaMember(lh5, QStringLiteral("FAN9907.LZH"), QStringLiteral("FAN*.TXT"));
    QCOMPARE(member.name.toUpper(), QStringLiteral("FAN9907.TXT"));
    QVERIFY(member.data == plain);

    import(QStringLiteral("FAN0001.TXT"), one);
    QCOMPARE(import(QStringLiteral("FAN9907.LZH"), lh5), 40);
    QVERIFY(RacerTable(folder_->folder()) == rows);

    import(QStringLiteral("FAN0001.TXT"), one);
    QCOMPARE(import(QStringLiteral("fan9907.lzh"), Lh0Archive({{"FAN9907.TXT", plain}})), 40);
    QVERIFY(RacerTable(folder_->folder()) == rows);
}

void ArchiveTest::theHandbookAmongOtherMembers()
{
    const QByteArray plain = SyntheticHandbook();
    const QByteArray archive = Lh0Archive({{"README.TXT", kReadme}, {"fan9907.txt", plain}, {"FAN9907.DOC", kReadme}});
    const LhaMember member = ReadLhaMember(archive, QStringLiteral("FAN9907.LZH"), QStringLiteral("FAN*.TXT"));
    QVERIFY(member.data == plain);
    QCOMPARE(member.name, QStringLiteral("fan9907.txt"));

    // The same archive without its end marker, or with bytes after it.
    QVERIFY(ReadLhaMember(archive.chopped(1), QString(), QStringLiteral("FAN*.TXT")).data == plain);
    QVERIFY(ReadLhaMember(archive + QByteArray(300, '\x1a'), QString(), QStringLiteral("FAN*.TXT")).data == plain);

    // The day's race programs: another pattern, the other members left alone.
    const QByteArray program("b990701 program\r\n");
    const QByteArray daily = Lh0Archive({{"B990701.TXT", program}, {"README.TXT", kReadme}});
    QCOMPARE(ReadLhaMember(daily, QStringLiteral("B990701.LZH"), QStringLiteral("b??????.txt")).data, program);
}

void ArchiveTest::refusalsKeepTheTable_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QString>("why");
    const QByteArray plain = SyntheticHandbook();
    const QByteArray good = Lh0Archive({{"FAN9907.TXT", plain}, {"README.TXT", kReadme}});
    const int second = int(good.indexOf("-lh0-", 10)) - 2;  // where the second header starts
    const QByteArray lh5 = lh5Fixture();

    QTest::newRow("no handbook member") << Lh0Archive({{"README.TXT", kReadme}}) << "の中に FAN*.TXT のファイルがありません";
    QTest::newRow("nothing but the end marker") << QByteArray(1, '\0') << "の中に FAN*.TXT のファイルがありません";
    QTest::newRow("two handbook members") << Lh0Archive({{"FAN9907.TXT", plain}, {"FAN9908.TXT", plain}})
                                          << "の中に FAN*.TXT のファイルが複数あります（「fan9907.txt」と「fan9908.txt」）";
    QTest::newRow("FAN.TXT") << Lh0Archive({{"FAN.TXT", plain}}) << "FAN9907.LZH の中の FAN.TXT ファイルは選択出来ません";
    QTest::newRow("a plain file under an archive name") << plain << "は LHA 書庫ではありません";

    QByteArray firstHeader = good;
    firstHeader[1] = char(firstHeader[1] ^ 0x55);
    QTest::newRow("bad first header") << firstHeader << "は壊れています（0 バイト目からのヘッダが読めません）";
    QByteArray secondHeader = good;
    secondHeader[second + 1] = char(secondHeader[second + 1] ^ 0x55);
    QTest::newRow("bad header after the member")
        << secondHeader << QStringLiteral("は壊れています（%1 バイト目からのヘッダが読めません）").arg(second);
    QByteArray method = good;
    method.replace(2, 5, "-lhz-");
    resum(method, 0);
    QTest::newRow("unknown method") << method << "の「fan9907.txt」は読めない圧縮方式（-lhz-）です";

    QByteArray crc = good;
    crc[40 + 418 * 3 + 100] = '9';  // one digit of a record changed
    QTest::newRow("CRC mismatch") << crc << "は壊れています（「fan9907.txt」の CRC が合いません）";
    QTest::newRow("cut in the member") << good.left(5000) << "は途中で切れています（「fan9907.txt」が最後までありません）";
    QTest::newRow("cut in a header") << good.left(second + 10)
                                     << QStringLiteral("は途中で切れています（%1 バイト目からのヘッダが最後までありません）").arg(second);

    QTest::newRow("-lh5- cut short") << lh5.left(700) << "は途中で切れています（「fan9907.txt」が最後までありません）";
    QByteArray flipped = lh5;
    flipped[600] = char(flipped[600] ^ 0x10);
    QTest::newRow("-lh5- data damaged") << flipped << "は壊れています（「fan9907.txt」";

    QTest::newRow("a member that is no handbook") << Lh0Archive({{"FAN9907.TXT", QByteArray(500, 'a')}})
                                                  << "FAN9907.LZH の中の fan9907.txt はファン手帳のファイルとして読めません";
}

void ArchiveTest::refusalsKeepTheTable()
{
    QFETCH(QByteArray, archive);
    QFETCH(QString, why);
    import(QStringLiteral("FAN9906.TXT"), SyntheticHandbook());
    const auto before = RacerTable(folder_->folder());
    QString description;
    QCOMPARE(ErrorNumberOf([&] { import(QStringLiteral("FAN9907.LZH"), archive); }, &description), ErrorNumber::BadFileFormat);
    QVERIFY2(description.contains(why), qPrintable(description));
    QVERIFY(RacerTable(folder_->folder()) == before);
}

void ArchiveTest::chooseAnArchiveByMouseAndKeyboard()
{
    QDir(folder_->folder()).mkdir(QStringLiteral("files"));
    const QString files = folder_->file("files/");
    WriteFile(files + QStringLiteral("FAN9907.LZH"), lh5Fixture());
    WriteFile(files + QStringLiteral("fan9908.lzh"), lh5Fixture().left(700));
    WriteFile(files + QStringLiteral("Fan9909.txt"), FanFileBytes({FanRecord{}}, 412));
    WriteFile(files + QStringLiteral("FAN9907.ZIP"), QByteArray("PK"));

    Forms::registerForm(QStringLiteral("ImportForm"), [] { return new ImportForm; });
    auto* form = qobject_cast<ImportForm*>(Forms::show(QStringLiteral("ImportForm")));
    form->findChild<DirList*>(QStringLiteral("SelectDir"))->setPath(files);
    auto* list = form->findChild<QListWidget*>(QStringLiteral("FileSelect"));
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    QCOMPARE(shown, (QStringList{QStringLiteral("FAN9907.LZH"), QStringLiteral("fan9908.lzh"), QStringLiteral("Fan9909.txt")}));

    // The mouse: the archive is chosen and imported like the plain file.
    auto* chosen = form->findChild<QLineEdit*>(QStringLiteral("ListFile"));
    auto* importButton = form->findChild<QPushButton*>(QStringLiteral("CommandButton_1"));
    ClickListLine(list, 0);
    QCOMPARE(chosen->text(), files + QStringLiteral("FAN9907.LZH"));
    MsgBoxScript::queue(Mb::Yes);
    QTest::mouseClick(importButton, Qt::LeftButton);
    QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("選手テーブルインポート"));
    QCOMPARE(MsgBoxScript::shown()[1].text, QStringLiteral("インポート終了\r\n40 人の選手をインポートしました。"));
    const auto imported = RacerTable(folder_->folder());
    QCOMPARE(imported.size(), size_t(40));

    // The keyboard: down to the cut archive, Enter chooses it; the import
    // is refused by the standard error report and the table stays.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(chosen->text(), files + QStringLiteral("fan9908.lzh"));
    MsgBoxScript::shown().clear();
    MsgBoxScript::queue(Mb::Yes);
    QTest::mouseClick(importButton, Qt::LeftButton);
    QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
    QVERIFY(MsgBoxScript::shown()[1].text.startsWith(QStringLiteral("エラー番号 ")));
    QVERIFY(MsgBoxScript::shown()[1].text.contains(QStringLiteral("fan9908.lzh は途中で切れています")));
    QVERIFY(!form->findChild<CautionForm*>());
    QVERIFY(RacerTable(folder_->folder()) == imported);
}
