#include "CharPrinter.h"
#include "Database.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "KyoteijyoForm.h"
#include "MaintenanceTests.h"
#include "MsgBox.h"
#include "Recordset.h"
#include "TestSupport.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

using namespace Maintenance;

namespace {
QLineEdit* idBox(QWidget* w) { return child<QLineEdit>(w, QStringLiteral("KyoteijyoID")); }
QLineEdit* nameBox(QWidget* w) { return child<QLineEdit>(w, QStringLiteral("KyoteijyoMei")); }
QString shown(QWidget* w) { return idBox(w)->text() + QLatin1Char('/') + nameBox(w)->text(); }

void type(QWidget* w, const QString& id, const QString& name)
{
    idBox(w)->setText(id);
    nameBox(w)->setText(name);
}

// Presses a change button and answers its question with Yes.
void confirm(QWidget* w, int index)
{
    MsgBoxScript::shown().clear();
    MsgBoxScript::queue(Mb::Yes);
    Press(w, index);
}

// Courses 1..n named 場1..場n in place of the delivered ones.
void seedCourses(const QString& folder, int n)
{
    Execute(folder, QStringLiteral("DELETE FROM T_競艇場; "
                                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                   "INSERT INTO T_競艇場 (競艇場ID, 競艇場名) SELECT i, '場' || i FROM n;")
                        .arg(n));
}

int listOf(const QString& folder, CharPrinter& printer)
{
    Database db(folder);
    Recordset courses(db, QStringLiteral("T_競艇場"));
    return BuildKyoteijyoList(printer, courses);
}
}

QMainWindow* KyoteijyoFormTest::open()
{
    return qobject_cast<QMainWindow*>(Forms::show(QStringLiteral("KyoteijyoForm")));
}

void KyoteijyoFormTest::init()
{
    folder_ = std::make_unique<TestFolder>();
    CharPrinter::setForcePdf(true);
    Forms::registerForm(QStringLiteral("KyoteijyoForm"), [] { return new KyoteijyoForm; });
    RegisterStandIn(QStringLiteral("MainForm"));
}

void KyoteijyoFormTest::cleanup()
{
    UnloadAllWindows();
    folder_.reset();
}

void KyoteijyoFormTest::stepsToBothEndsWithTheirBoxes()
{
    QMainWindow* w = open();
    QCOMPARE(shown(w), QStringLiteral("1/桐生"));
    QCOMPARE(RecordNo(w), QStringLiteral("1"));
    Press(w, 1);
    QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("先頭レコードです。")});
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("Vantor"));
    QCOMPARE(MsgBoxScript::shown()[0].style, Mb::OKOnly);
    QCOMPARE(RecordNo(w), QStringLiteral("1"));
    QCOMPARE(shown(w), QStringLiteral("1/桐生"));

    MsgBoxScript::shown().clear();
    Press(w, 3);
    QCOMPARE(shown(w), QStringLiteral("24/大村"));
    QCOMPARE(RecordNo(w), QStringLiteral("24"));
    Press(w, 2);
    QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("最終レコードです。")});
    QCOMPARE(RecordNo(w), QStringLiteral("24"));
    QCOMPARE(shown(w), QStringLiteral("24/大村"));
    // Still on the last row: one step back is the 23rd.
    Press(w, 1);
    QCOMPARE(shown(w), QStringLiteral("23/唐津"));
    QCOMPARE(RecordNo(w), QStringLiteral("23"));
}

void KyoteijyoFormTest::updateAddAndDeleteWithTheirNumbers()
{
    QMainWindow* w = open();
    const QString folder = folder_->folder();
    Press(w, 2);
    nameBox(w)->setText(QStringLiteral("戸田公園"));
    MsgBoxScript::queue(Mb::No);
    Press(w, 4);
    QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("競艇場テーブルを更新しますか。\r\n"));
    QCOMPARE(MsgBoxScript::shown()[0].style, Mb::Confirm);
    QCOMPARE(Column(folder, QStringLiteral("T_競艇場"), QStringLiteral("競艇場名"))[1], QStringLiteral("戸田"));
    confirm(w, 4);
    QCOMPARE(Column(folder, QStringLiteral("T_競艇場"), QStringLiteral("競艇場名"))[1], QStringLiteral("戸田公園"));
    QCOMPARE(RecordNo(w), QStringLiteral("2"));

    // Add: the typed values stay, the current row and number too.
    type(w, QStringLiteral("25"), QStringLiteral("新競艇場"));
    confirm(w, 5);
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("競艇場テーブル追加"));
    QCOMPARE(Column(folder, QStringLiteral("T_競艇場"), QStringLiteral("競艇場ID")).size(), 25);
    QCOMPARE(shown(w), QStringLiteral("25/新競艇場"));
    QCOMPARE(RecordNo(w), QStringLiteral("2"));
    Press(w, 2);
    QCOMPARE(shown(w), QStringLiteral("3/江戸川"));
    QCOMPARE(RecordNo(w), QStringLiteral("3"));
    Press(w, 3);
    QCOMPARE(shown(w), QStringLiteral("25/新競艇場"));
    QCOMPARE(RecordNo(w), QStringLiteral("25"));

    // Delete: the boxes and number stay until the next move, which goes on
    // from the deleted row and numbers the rows that are left.
    Press(w, 0);
    Press(w, 2);
    confirm(w, 6);
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("競艇場テーブル削除"));
    QVERIFY(!Column(folder, QStringLiteral("T_競艇場"), QStringLiteral("競艇場ID")).contains(QStringLiteral("2")));
    QCOMPARE(shown(w), QStringLiteral("2/戸田公園"));
    QCOMPARE(RecordNo(w), QStringLiteral("2"));
    Press(w, 2);
    QCOMPARE(shown(w), QStringLiteral("3/江戸川"));
    QCOMPARE(RecordNo(w), QStringLiteral("2"));
    Press(w, 3);
    QCOMPARE(RecordNo(w), QStringLiteral("24"));
}

void KyoteijyoFormTest::refusedIdsWriteNothing()
{
    QMainWindow* w = open();
    const QString folder = folder_->folder();
    const QStringList before = Column(folder, QStringLiteral("T_競艇場"), QStringLiteral("競艇場名"));
    struct Case {
        int command;
        const char* id;
        int number;
        QString name = QStringLiteral("不正");
    };
    // An ID already there, ones beyond 16 bits or any number, a fraction
    // (a whole number is expected, error 13), and names too long to keep.
    for (const Case& c : {Case{5, "1", 3022}, Case{5, "70000", 3349}, Case{5, "99999999999999999999", 3349},
                          Case{4, "1e308", 3349}, Case{5, "2.5", 13}, Case{4, "3.5", 13}, Case{4, "2", 3022},
                          Case{5, "30", 3163, QString(23, QChar(0x5834))}, Case{4, "31", 3163, QString(10000, QChar(0x5834))}}) {
        type(w, QString::fromLatin1(c.id), c.name);
        confirm(w, c.command);
        QCOMPARE(MsgBoxScript::shown().size(), size_t(2));
        QVERIFY2(MsgBoxScript::shown()[1].text.startsWith(QStringLiteral("エラー番号 ") + QString::number(c.number).prepend(' ')),
                 qPrintable(MsgBoxScript::shown()[1].text));
        QCOMPARE(MsgBoxScript::shown()[1].title, QStringLiteral("エラー"));
        if (c.number == 13)
            QVERIFY2(MsgBoxScript::shown()[1].text.contains(QStringLiteral("'競艇場ID' には整数を入力して下さい。")),
                     qPrintable(MsgBoxScript::shown()[1].text));
        QCOMPARE(Column(folder, QStringLiteral("T_競艇場"), QStringLiteral("競艇場名")), before);
    }
    // Nothing was counted and the recordset still takes an add (an empty ID is 0).
    Press(w, 3);
    type(w, QString(), QStringLiteral("ゼロ"));
    confirm(w, 5);
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    Press(w, 2);
    QCOMPARE(shown(w), QStringLiteral("0/ゼロ"));
    QCOMPARE(RecordNo(w), QStringLiteral("25"));
}

void KyoteijyoFormTest::anEmptyTableOpensAndTakesAnAdd()
{
    Execute(folder_->folder(), QStringLiteral("DELETE FROM T_競艇場"));
    QMainWindow* w = open();
    QVERIFY(w && w->isVisible());
    QVERIFY(MsgBoxScript::shown().empty());
    QCOMPARE(RecordNo(w), QStringLiteral("0"));
    QCOMPARE(shown(w), QStringLiteral("/"));
    // A move on an empty table is the engine's "no current record".
    Press(w, 0);
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QVERIFY(MsgBoxScript::shown()[0].text.startsWith(QStringLiteral("エラー番号  3021")));

    type(w, QStringLiteral("1"), QStringLiteral("桐生"));
    confirm(w, 5);
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QCOMPARE(Column(folder_->folder(), QStringLiteral("T_競艇場"), QStringLiteral("競艇場名")), QStringList{QStringLiteral("桐生")});
    QCOMPARE(RecordNo(w), QStringLiteral("0"));
    // From no current row, the next record is the first one.
    type(w, QString(), QString());
    Press(w, 2);
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QCOMPARE(RecordNo(w), QStringLiteral("1"));
    QCOMPARE(shown(w), QStringLiteral("1/桐生"));
    Press(w, 3);
    QCOMPARE(RecordNo(w), QStringLiteral("1"));
    QCOMPARE(shown(w), QStringLiteral("1/桐生"));
}

void KyoteijyoFormTest::listPagesAndFieldWidths()
{
    const QString folder = folder_->folder();
    seedCourses(folder, 61);
    Execute(folder, QStringLiteral("UPDATE T_競艇場 SET 競艇場ID = 12345, 競艇場名 = 'あいうえおかきくけこさしすせ' WHERE 競艇場ID = 1"));
    {
        CharPrinter printer(folder, QStringLiteral("t"));
        QCOMPARE(listOf(folder, printer), 61);
        QCOMPARE(printer.pages().size(), size_t(1));
        const QStringList lines = PageLines(printer, 0);
        QCOMPARE(lines.size(), 4 + 61);
        QCOMPARE(lines[0], QString(30, ' ') + QStringLiteral("競艇場一覧表") + QString(18, ' ') + QStringLiteral(" 1"));
        QCOMPARE(lines[1], QString());
        QCOMPARE(lines[2], QString(10, ' ') + QStringLiteral("競艇場"));
        QCOMPARE(lines[3], QString());
        QCOMPARE(lines[4], QString(10, ' ') + QStringLiteral("1234 あいうえおかきくけこさし"));
        QCOMPARE(lines[5], QString(10, ' ') + QStringLiteral("2    場2"));
        QCOMPARE(lines[64], QString(10, ' ') + QStringLiteral("61   場61"));
    }
    Execute(folder, QStringLiteral("INSERT INTO T_競艇場 VALUES (62, '場62')"));
    {
        CharPrinter printer(folder, QStringLiteral("t"));
        QCOMPARE(listOf(folder, printer), 62);
        QCOMPARE(printer.pages().size(), size_t(2));
        QCOMPARE(PageLines(printer, 0).size(), 4 + 61);
        const QStringList second = PageLines(printer, 1);
        QCOMPARE(second.size(), 5);
        QCOMPARE(Cells(second[0], 30, 12), QStringLiteral("競艇場一覧表"));
        QCOMPARE(Cells(second[0], 60, 3), QStringLiteral(" 2"));
        QCOMPARE(second[2], QString(10, ' ') + QStringLiteral("競艇場"));
        QCOMPARE(second[4], QString(10, ' ') + QStringLiteral("62   場62"));
    }
    Execute(folder, QStringLiteral("DELETE FROM T_競艇場"));
    CharPrinter printer(folder, QStringLiteral("t"));
    QCOMPARE(listOf(folder, printer), 0);
    QVERIFY(PageLines(printer, 0).isEmpty());
}

void KyoteijyoFormTest::printingFromTheWindow()
{
    QMainWindow* w = open();
    const QString folder = folder_->folder();
    Press(w, 2);
    confirm(w, 7);
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("競艇場テーブル印刷"));
    QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("競艇場テーブルを印刷しますか。\r\n"));
    QCOMPARE(Pdfs(folder).size(), 1);
    QVERIFY(MsgBoxScript::shown().back().text.contains(folder + Pdfs(folder)[0]));
    // The print leaves the window on its row.
    Press(w, 2);
    QCOMPARE(shown(w), QStringLiteral("3/江戸川"));
    QCOMPARE(RecordNo(w), QStringLiteral("3"));

    // The list reads what the table holds now.
    Execute(folder, QStringLiteral("DELETE FROM T_競艇場"));
    confirm(w, 7);
    QCOMPARE(MsgBoxScript::texts().last(), QStringLiteral("該当レコードがありません"));
    QCOMPARE(Pdfs(folder).size(), 1);

    // A printer that cannot take the document.
    Execute(folder, QStringLiteral("INSERT INTO T_競艇場 VALUES (1, '桐生')"));
    Global().DataFolder = folder + QStringLiteral("missing/");
    confirm(w, 7);
    Global().DataFolder = folder;
    QCOMPARE(MsgBoxScript::texts().last(), QStringLiteral("プリンタに問題があります。"));

    child<QAction>(w, "Menu_Close")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!Forms::find(QStringLiteral("KyoteijyoForm")));
    QVERIFY(Forms::find(QStringLiteral("MainForm"))->isVisible());
}
