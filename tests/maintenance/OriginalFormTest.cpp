#include "Bior2Form.h"
#include "CharPrinter.h"
#include "Database.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MaintenanceTests.h"
#include "MsgBox.h"
#include "OriginalForm.h"
#include "Recordset.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>

using namespace Maintenance;

namespace {
const QString kTable = QStringLiteral("T_個別名簿");

QComboBox* box(QWidget* w, const char* name) { return child<QComboBox>(w, QString::fromLatin1(name)); }
QLineEdit* nameBox(QWidget* w) { return child<QLineEdit>(w, QStringLiteral("TextNamae")); }
// Name, year, month and day as the boxes show them.
QString shown(QWidget* w)
{
    return QStringList{nameBox(w)->text(), box(w, "ComboNen")->currentText(), box(w, "ComboTuki")->currentText(),
                       box(w, "ComboHi")->currentText()}
        .join(QLatin1Char('/'));
}

void type(QWidget* w, const QString& name, const QString& year, const QString& month, const QString& day)
{
    nameBox(w)->setText(name);
    box(w, "ComboNen")->setEditText(year);
    box(w, "ComboTuki")->setEditText(month);
    box(w, "ComboHi")->setEditText(day);
}

// Types into an editable drop-down as a user does, replacing its text.
void typeInto(QComboBox* combo, const QString& text)
{
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), text);
}

void confirm(QWidget* w, int index)
{
    MsgBoxScript::shown().clear();
    MsgBoxScript::queue(Mb::Yes);
    Press(w, index);
}

void seedPeople(const QString& folder, const QStringList& rows)
{
    Database db(folder);
    Statement insert = db.prepare(QStringLiteral("INSERT INTO T_個別名簿 (名前, 生年, 生月, 生日) VALUES (?1, ?2, ?3, ?4)"));
    for (const QString& row : rows) {
        const QStringList f = row.split(QLatin1Char('/'));
        insert.bind(1, f[0]).bind(2, f[1]).bind(3, f[2]).bind(4, f[3]);
        insert.step();
        insert.reset();
    }
}

QStringList stored(const QString& folder)
{
    const QStringList names = Column(folder, kTable, QStringLiteral("名前"));
    const QStringList years = Column(folder, kTable, QStringLiteral("生年"));
    const QStringList months = Column(folder, kTable, QStringLiteral("生月"));
    const QStringList days = Column(folder, kTable, QStringLiteral("生日"));
    QStringList rows;
    for (int i = 0; i < names.size(); ++i)
        rows << QStringList{names[i], years[i], months[i], days[i]}.join(QLatin1Char('/'));
    return rows;
}

QWidget* detail() { return Forms::find(QStringLiteral("Bior2Form")); }
void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
}

QMainWindow* OriginalFormTest::open()
{
    return qobject_cast<QMainWindow*>(Forms::show(QStringLiteral("OriginalForm")));
}

void OriginalFormTest::init()
{
    folder_ = std::make_unique<TestFolder>();
    CharPrinter::setForcePdf(true);
    Forms::registerForm(QStringLiteral("OriginalForm"), [] { return new OriginalForm; });
    Forms::registerForm(QStringLiteral("Bior2Form"), [] { return new Bior2Form; });
    RegisterStandIn(QStringLiteral("MainForm"));
    RegisterStandIn(QStringLiteral("salesf"));
}

void OriginalFormTest::cleanup()
{
    UnloadAllWindows();
    folder_.reset();
}

void OriginalFormTest::anEmptyRosterOnlyTakesAnAdd()
{
    QMainWindow* w = open();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("個別調査"));
    QVERIFY(MsgBoxScript::shown().empty());
    QCOMPARE(RecordNo(w), QStringLiteral("0"));
    QCOMPARE(shown(w), QStringLiteral("///"));
    for (int i : {0, 1, 2, 3, 4, 6, 7}) {
        MsgBoxScript::shown().clear();
        Press(w, i);
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("レコードがありません")});
        QCOMPARE(MsgBoxScript::shown()[0].style, Mb::OKOnly);
    }

    type(w, QStringLiteral("母"), QStringLiteral("1970 (昭和45)"), QStringLiteral("5"), QStringLiteral("12"));
    confirm(w, 5);
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("個別名簿テーブルを追加しますか。\r\n"));
    QCOMPARE(stored(folder_->folder()), QStringList{QStringLiteral("母/1970 (昭和45)/5/12")});
    QCOMPARE(RecordNo(w), QStringLiteral("0"));
    // The added person is there to step to; from no current row, the
    // previous record is the first one too.
    MsgBoxScript::shown().clear();
    type(w, QString(), QString(), QString(), QString());
    Press(w, 1);
    QVERIFY(MsgBoxScript::shown().empty());
    QCOMPARE(RecordNo(w), QStringLiteral("1"));
    QCOMPARE(shown(w), QStringLiteral("母/1970 (昭和45)/5/12"));
    Press(w, 0);
    QVERIFY(MsgBoxScript::shown().empty());
    QCOMPARE(RecordNo(w), QStringLiteral("1"));
    QCOMPARE(shown(w), QStringLiteral("母/1970 (昭和45)/5/12"));

    // Deleting the only person empties the roster again.
    confirm(w, 6);
    QVERIFY(stored(folder_->folder()).isEmpty());
    MsgBoxScript::shown().clear();
    Press(w, 2);
    QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("レコードがありません")});
}

void OriginalFormTest::yearListsAndTheirEras()
{
    QCOMPARE(OriginalForm::YearWithEra(1970), QStringLiteral("1970 (昭和45)"));
    QCOMPARE(OriginalForm::YearWithEra(1988), QStringLiteral("1988 (昭和63)"));
    QCOMPARE(OriginalForm::YearWithEra(1989), QStringLiteral("1989 (平成1)"));
    QCOMPARE(OriginalForm::YearWithEra(2018), QStringLiteral("2018 (平成30)"));
    QCOMPARE(OriginalForm::YearWithEra(2019), QStringLiteral("2019 (令和1)"));
    QCOMPARE(OriginalForm::YearWithEra(2026), QStringLiteral("2026 (令和8)"));

    QMainWindow* w = open();
    const int year = QDate::currentDate().year();
    QComboBox* years = box(w, "ComboNen");
    QCOMPARE(years->count(), 61);
    QCOMPARE(years->itemText(0), OriginalForm::YearWithEra(year - 60));
    QCOMPARE(years->itemText(60), OriginalForm::YearWithEra(year));
    QVERIFY(years->findText(QStringLiteral("1989 (平成1)")) >= 0);
    QVERIFY(years->findText(QStringLiteral("2019 (令和1)")) >= 0);
    QComboBox* survey = box(w, "ComboChoNen");
    QCOMPARE(survey->count(), 5);
    QCOMPARE(survey->itemText(0), QString::number(year));
    QCOMPARE(survey->itemText(4), QString::number(year + 4));
    for (const char* name : {"ComboChoTuki", "ComboTuki"}) {
        QCOMPARE(box(w, name)->count(), 12);
        QCOMPARE(box(w, name)->itemText(11), QStringLiteral("12"));
    }
    for (const char* name : {"ComboChoHi", "ComboHi"})
        QCOMPARE(box(w, name)->count(), 31);
}

void OriginalFormTest::surveyDateBoxesSetTheSharedDate()
{
    const QDate today = QDate::currentDate();
    QMainWindow* w = open();
    QCOMPARE(box(w, "ComboChoNen")->currentText(), QString::number(today.year()));
    QCOMPARE(box(w, "ComboChoTuki")->currentText(), QString::number(today.month()));
    QCOMPARE(box(w, "ComboChoHi")->currentText(), QString::number(today.day()));
    QCOMPARE(int(Global().ChosaNen), today.year());
    QCOMPARE(int(Global().ChosaTuki), today.month());
    QCOMPARE(int(Global().ChosaHi), today.day());

    PickComboItem(box(w, "ComboChoNen"), 2);
    QCOMPARE(int(Global().ChosaNen), today.year() + 2);
    typeInto(box(w, "ComboChoHi"), QStringLiteral("31"));
    typeInto(box(w, "ComboChoTuki"), QStringLiteral("1"));
    QVERIFY(MsgBoxScript::shown().empty());
    PickComboItem(box(w, "ComboChoTuki"), 3);
    QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("日が正しくありません")});
    QCOMPARE(Global().ChosaTuki, int16_t(4));
    QCOMPARE(Global().ChosaHi, int16_t(31));
    MsgBoxScript::shown().clear();
    typeInto(box(w, "ComboChoTuki"), QStringLiteral("13"));
    QCOMPARE(MsgBoxScript::texts().last(), QStringLiteral("月が正しくありません"));
    QCOMPARE(Global().ChosaTuki, int16_t(13));
}

void OriginalFormTest::stepsAddsAndDeletes()
{
    seedPeople(folder_->folder(), {"A/1970 (昭和45)/5/12", "B/1985/3/3", "C/2000/2/29"});
    QMainWindow* w = open();
    QCOMPARE(shown(w), QStringLiteral("A/1970 (昭和45)/5/12"));
    QCOMPARE(RecordNo(w), QStringLiteral("1"));
    Press(w, 1);
    QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("先頭レコードです。")});
    QCOMPARE(RecordNo(w), QStringLiteral("1"));
    MsgBoxScript::shown().clear();
    Press(w, 3);
    QCOMPARE(shown(w), QStringLiteral("C/2000/2/29"));
    QCOMPARE(RecordNo(w), QStringLiteral("3"));
    Press(w, 2);
    QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("最終レコードです。")});
    QCOMPARE(RecordNo(w), QStringLiteral("3"));
    QCOMPARE(shown(w), QStringLiteral("C/2000/2/29"));

    nameBox(w)->setText(QStringLiteral("C2"));
    confirm(w, 4);
    QCOMPARE(MsgBoxScript::shown()[0].title, QStringLiteral("個別名簿テーブル更新"));
    QCOMPARE(stored(folder_->folder())[2], QStringLiteral("C2/2000/2/29"));

    PickComboItem(box(w, "ComboNen"), box(w, "ComboNen")->findText(QStringLiteral("2019 (令和1)")));
    nameBox(w)->setText(QStringLiteral("D"));
    confirm(w, 5);
    QCOMPARE(stored(folder_->folder()).size(), 4);
    QCOMPARE(stored(folder_->folder())[3], QStringLiteral("D/2019 (令和1)/2/29"));
    QCOMPARE(RecordNo(w), QStringLiteral("3"));
    Press(w, 3);
    QCOMPARE(RecordNo(w), QStringLiteral("4"));
    QCOMPARE(nameBox(w)->text(), QStringLiteral("D"));

}

void OriginalFormTest::detailWindowGetsThePerson()
{
    seedPeople(folder_->folder(), {"A/1970 (昭和45)/5/12", "B/1985/3/3"});
    QMainWindow* w = open();
    child<QAction>(w, "Menu_Disp")->trigger();
    QVERIFY(MsgBoxScript::shown().empty());
    const GlobalModule& g = Global();
    QCOMPARE(g.SelDetailIndex, int16_t(6));
    QCOMPARE(g.SelNamae[6], QStringLiteral("A"));
    QCOMPARE(g.SelSeiNen[6], int16_t(1970));
    QCOMPARE(g.SelSeiTuki[6], int16_t(5));
    QCOMPARE(g.SelSeiHi[6], int16_t(12));
    QVERIFY(detail() && detail()->isVisible());
    QCOMPARE(child<QLabel>(detail(), "LabelNamae")->text(), QStringLiteral("A"));
    QVERIFY(w->isVisible());

    // A year picked from the list hands its first four characters.
    PickComboItem(box(w, "ComboNen"), box(w, "ComboNen")->findText(QStringLiteral("1980 (昭和55)")));
    child<QAction>(w, "Menu_Disp")->trigger();
    QCOMPARE(g.SelSeiNen[6], int16_t(1980));

    // The next person replaces the one the detail window was showing.
    Press(w, 2);
    child<QAction>(w, "Menu_Disp")->trigger();
    processDeletes();
    QCOMPARE(child<QLabel>(detail(), "LabelNamae")->text(), QStringLiteral("B"));
    QCOMPARE(g.SelSeiNen[6], int16_t(1985));
    int details = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        details += window->objectName() == QLatin1String("Bior2Form") ? 1 : 0;
    QCOMPARE(details, 1);

    child<QAction>(w, "Menu_Sales")->trigger();
    QVERIFY(Forms::find(QStringLiteral("salesf")));
    QVERIFY(w->isVisible());
}

void OriginalFormTest::impossibleBirthDatesOpenNoDetail()
{
    QMainWindow* w = open();
    struct Case {
        const char* year;
        const char* month;
        const char* day;
        const char* message;
    };
    const Case cases[] = {{"1970 (昭和45)", "13", "1", "月が正しくありません"},
                          {"1970", "0", "1", "月が正しくありません"},
                          {"1970", "4", "31", "日が正しくありません"},
                          {"1999", "2", "29", "日が正しくありません"},
                          {"1970", "5", "", "日が正しくありません"},
                          {"", "5", "12", "年が正しくありません"}};
    for (const Case& c : cases) {
        MsgBoxScript::shown().clear();
        type(w, QStringLiteral("X"), QString::fromUtf8(c.year), QString::fromLatin1(c.month), QString::fromLatin1(c.day));
        child<QAction>(w, "Menu_Disp")->trigger();
        QCOMPARE(MsgBoxScript::texts(), QStringList{QString::fromUtf8(c.message)});
        QVERIFY(!detail());
        QCOMPARE(Global().SelDetailIndex, int16_t(0));
        QVERIFY(Global().SelNamae[6].isEmpty());
    }
    // Leap day of a leap year is a real day.
    type(w, QStringLiteral("X"), QStringLiteral("2000"), QStringLiteral("2"), QStringLiteral("29"));
    MsgBoxScript::shown().clear();
    child<QAction>(w, "Menu_Disp")->trigger();
    QVERIFY(MsgBoxScript::shown().empty());
    QVERIFY(detail());
}

void OriginalFormTest::listPagesAndFieldWidths()
{
    const QString folder = folder_->folder();
    QStringList rows{"ABCDEFGHIJKLMNOP/1970 (昭和45)/12345/7"};
    for (int i = 2; i <= 61; ++i)
        rows << QStringLiteral("P%1/1980/1/%2").arg(i).arg(i % 28 + 1);
    seedPeople(folder, rows);
    auto build = [&folder](CharPrinter& printer) {
        Database db(folder);
        Recordset people(db, kTable);
        return BuildMeiboList(printer, people);
    };
    {
        CharPrinter printer(folder, QStringLiteral("t"));
        QCOMPARE(build(printer), 61);
        QCOMPARE(printer.pages().size(), size_t(1));
        const QStringList lines = PageLines(printer, 0);
        QCOMPARE(lines.size(), 4 + 61);
        QCOMPARE(lines[0], QString(30, ' ') + QStringLiteral("個別名簿一覧表") + QString(16, ' ') + QStringLiteral(" 1"));
        QCOMPARE(lines[1], QString());
        QCOMPARE(lines[2], QString(10, ' ') + QStringLiteral("名前") + QString(10, ' ') + QStringLiteral("生年  生月  生日"));
        QCOMPARE(lines[3], QString());
        QCOMPARE(lines[4], QString(10, ' ') + QStringLiteral("ABCDEFGHIJKL  1970   1234  7"));
        QCOMPARE(lines[5], QString(10, ' ') + QStringLiteral("P2            1980   1     3"));
    }
    seedPeople(folder, {"P62/1990/6/6"});
    CharPrinter printer(folder, QStringLiteral("t"));
    QCOMPARE(build(printer), 62);
    QCOMPARE(printer.pages().size(), size_t(2));
    const QStringList second = PageLines(printer, 1);
    QCOMPARE(second.size(), 5);
    QCOMPARE(Cells(second[0], 30, 14), QStringLiteral("個別名簿一覧表"));
    QCOMPARE(Cells(second[0], 60, 3), QStringLiteral(" 2"));
    QCOMPARE(second[2], PageLines(printer, 0)[2]);
    QCOMPARE(second[4], QString(10, ' ') + QStringLiteral("P62           1990   6     6"));
}

void OriginalFormTest::anEightCharacterNameLeavesABlankBeforeTheYear()
{
    seedPeople(folder_->folder(), {"山田太郎一二三四/1970/5/12"});
    Database db(folder_->folder());
    Recordset people(db, kTable);
    CharPrinter printer(folder_->folder(), QStringLiteral("t"));
    QCOMPARE(BuildMeiboList(printer, people), 1);
    const CharPrinter::Run& name = printer.pages()[0][4][0];
    QCOMPARE(name.column, 10);
    QCOMPARE(name.text, QStringLiteral("山田太郎一二三四"));
    QCOMPARE(name.fitCells, 13);
    QCOMPARE(Cells(PageLines(printer, 0)[4], 23, 5), QStringLiteral(" 1970"));
}

void OriginalFormTest::closingReturnsAndClosesTheDetail()
{
    seedPeople(folder_->folder(), {"A/1970/5/12"});
    QMainWindow* w = open();
    child<QAction>(w, "Menu_Disp")->trigger();
    QVERIFY(detail());
    child<QAction>(w, "Menu_Close")->trigger();
    processDeletes();
    QVERIFY(!detail());
    QVERIFY(!Forms::find(QStringLiteral("OriginalForm")));
    QVERIFY(Forms::find(QStringLiteral("MainForm")) && Forms::find(QStringLiteral("MainForm"))->isVisible());
}
