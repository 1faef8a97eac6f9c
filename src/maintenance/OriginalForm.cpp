#include "OriginalForm.h"

#include "Basic.h"
#include "CommandButtons.h"
#include "CharPrinter.h"
#include "Database.h"
#include "ErrorReport.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "HelpViewer.h"
#include "ListPrint.h"
#include "MainForm.h"
#include "MenuItems.h"
#include "MsgBox.h"
#include "RecordNavigator.h"
#include "Recordset.h"

#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using Basic::CInt;
using Basic::CStr;
using Basic::Fixed;
using Basic::Val;

namespace {
const QString kTable = QStringLiteral("T_個別名簿");
const QString kName = QStringLiteral("名前");
const QString kYear = QStringLiteral("生年");
const QString kMonth = QStringLiteral("生月");
const QString kDay = QStringLiteral("生日");
const QString kDetail = QStringLiteral("Bior2Form");
constexpr int kSlot = 6;  // the selection slot of the one roster person


QLabel* label(QWidget* parent, const QString& name, const QString& text, int fontSize, int width, int height, int left, int top)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    Set_ControlFont(l, fontSize, width, height, left, top);
    return l;
}

QComboBox* combo(QWidget* parent, const char* name, int fontSize, int width, int left, int top)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    // A typed value is taken as it stands; it does not join the list.
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    Set_ComboFont(box, fontSize, width, left, top);
    return box;
}

void fillNumbers(QComboBox* box, int from, int to)
{
    for (int n = from; n <= to; ++n)
        box->addItem(CStr(n));
}

// What is wrong with a birth date, or an empty text for a real day.
QString impossibleDate(int year, int month, int day)
{
    if (year <= 0)
        return QStringLiteral("年が正しくありません");
    if (month < 1 || month > 12)
        return QStringLiteral("月が正しくありません");
    if (day < 1 || day > DaysInMonth(year, month))
        return QStringLiteral("日が正しくありません");
    return QString();
}
}

QString OriginalForm::YearWithEra(int year)
{
    QString era;
    int eraYear = 0;
    if (year >= 2019) {
        era = QStringLiteral("令和");
        eraYear = year - 2018;
    } else if (year >= 1989) {
        era = QStringLiteral("平成");
        eraYear = year - 1988;
    } else {
        era = QStringLiteral("昭和");
        eraYear = year - 1925;
    }
    return CStr(year) + QStringLiteral(" (") + era + CStr(eraYear) + QStringLiteral(")");
}

OriginalForm::OriginalForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("OriginalForm"));
    setWindowTitle(QStringLiteral("個別調査"));
    db_ = std::make_unique<Database>(Global().DataFolder);
    rs_ = std::make_unique<Recordset>(*db_, kTable);
    buildControls();
    SizeAndCentre(this, 632, 434);

    const QDate today = QDate::currentDate();
    fillLists(today.year());
    const int parts[3] = {today.year(), today.month(), today.day()};
    for (int i = 0; i < 3; ++i)
        ComboCho[size_t(i)]->setEditText(CStr(parts[i]));
    GlobalModule& g = Global();
    g.ChosaNen = CInt(Val(ComboCho[0]->currentText()));
    g.ChosaTuki = CInt(Val(ComboCho[1]->currentText()));
    g.ChosaHi = CInt(Val(ComboCho[2]->currentText()));
    for (int i = 0; i < 3; ++i)
        connect(ComboCho[size_t(i)], &QComboBox::editTextChanged, this, [this, i] { Guarded([&] { surveyDateChanged(i); }); });

    navigator_ = std::make_unique<RecordNavigator>(*rs_, RecordNo, [this] { showRow(); });
    Guarded([this] { navigator_->start(); });
}

OriginalForm::~OriginalForm() = default;

void OriginalForm::buildControls()
{
    QMenuBar* bar = menuBar();
    AddMenuItem(bar, QStringLiteral("Menu_Close"), QStringLiteral("終了(&X)"), this, [this] { Menu_Close_Click(); });
    AddMenuItem(bar, QStringLiteral("Menu_Disp"), QStringLiteral("ﾊﾞｲｵﾘｽﾞﾑ(&B)"), this, [this] { Menu_Disp_Click(); });
    CommandButtons::AddMenus(bar, this, [this](int i) { CommandDB_Click(i); });
    QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("Menu_Help"));
    AddMenuItem(help, QStringLiteral("Menu_HelpCard"), QStringLiteral("ﾍﾙﾌﾟ(&H)"), this,
                [] { ShowHelp(ProgramFile(QStringLiteral("Vantor.hlp"))); });
    AddMenuItem(help, QStringLiteral("Menu_Sales"), QStringLiteral("ｿﾌﾄ紹介(&S&ﾄ)"), this, [this] { Menu_Sales_Click(); });
    AddMenuItem(help, QStringLiteral("Menu_Help_About"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), this, [] { ShowAbout(AboutTitle()); });

    auto* client = new QWidget(this);
    setCentralWidget(client);
    QFrame* waku = CommandButtons::Panel(client, "PictureWaku", 16, 8, 600, 410);

    QFrame* survey = CommandButtons::Panel(waku, "PictureChoNen", 24, 32, 193, 65);
    label(survey, QStringLiteral("LabelChoNen"), QStringLiteral("調査年月日"), 9, 100, 17, 8, 4);
    const char* surveyNames[3] = {"ComboChoNen", "ComboChoTuki", "ComboChoHi"};
    const int surveyLeft[3] = {4, 78, 134};
    const int surveyWidth[3] = {56, 38, 38};
    const char* units[3] = {"年", "月", "日"};
    for (int i = 0; i < 3; ++i) {
        ComboCho[size_t(i)] = combo(survey, surveyNames[i], 9, surveyWidth[i], surveyLeft[i], 28);
        label(survey, QStringLiteral("LabelYMD_%1").arg(i), QString::fromUtf8(units[i]), 9, 14, 17,
              surveyLeft[i] + surveyWidth[i] + 2, 32);
    }

    QFrame* commands = CommandButtons::Panel(waku, "PictureCommand", 240, 32, 330, 65);
    QFrame* main = CommandButtons::Panel(waku, "PictureMain", 24, 120, 545, 265);
    QFrame* select = CommandButtons::Panel(main, "PictureSelect", 50, 30, 440, 205);
    select->setFrameShape(QFrame::NoFrame);
    CommandDB = CommandButtons::Create(select, commands, this, [this](int i) { CommandDB_Click(i); });
    for (int i = 0; i < 8; ++i) {
        if (i < 4)
            Set_ControlFont(CommandDB[size_t(i)], 9, 73, 33, i * 72, 0);
        else
            Set_ControlFont(CommandDB[size_t(i)], 9, 73, 33, (i - 4) * 80 + 8, 16);
    }
    label(select, QStringLiteral("LabelCommand"), QStringLiteral("RecNo."), 9, 49, 31, 288, 0);
    RecordNo = new QLineEdit(select);
    RecordNo->setObjectName(QStringLiteral("RecordNo"));
    RecordNo->setReadOnly(true);
    Set_ControlFont(RecordNo, 14, 104, 31, 336, 0);

    const char* captions[4] = {"名前", "生年", "生月", "生日"};
    for (int i = 0; i < 4; ++i)
        label(select, QStringLiteral("LabelSeiNen_%1").arg(i), QString::fromUtf8(captions[i]), 14, 70, 30, 40, 48 + 40 * i);
    TextNamae = new QLineEdit(select);
    TextNamae->setObjectName(QStringLiteral("TextNamae"));
    Set_ControlFont(TextNamae, 14, 220, 30, 120, 48);
    ComboNen = combo(select, "ComboNen", 14, 200, 120, 88);
    ComboTuki = combo(select, "ComboTuki", 14, 70, 120, 128);
    ComboHi = combo(select, "ComboHi", 14, 70, 120, 168);
    label(select, QStringLiteral("LabelSeiNenYMD_0"), QStringLiteral("年"), 14, 30, 30, 325, 88);
    label(select, QStringLiteral("LabelSeiNenYMD_1"), QStringLiteral("月"), 14, 30, 30, 195, 128);
    label(select, QStringLiteral("LabelSeiNenYMD_2"), QStringLiteral("日"), 14, 30, 30, 195, 168);
}

void OriginalForm::fillLists(int thisYear)
{
    fillNumbers(ComboCho[0], thisYear, thisYear + 4);
    fillNumbers(ComboCho[1], 1, 12);
    fillNumbers(ComboCho[2], 1, 31);
    QStringList years;
    for (int year = thisYear - 60; year <= thisYear; ++year)
        years << YearWithEra(year);
    ComboNen->addItems(years);
    fillNumbers(ComboTuki, 1, 12);
    fillNumbers(ComboHi, 1, 31);
    // The birth-date boxes start empty until a row is shown.
    for (QComboBox* box : {ComboNen, ComboTuki, ComboHi})
        box->setEditText(QString());
}

void OriginalForm::showRow()
{
    TextNamae->setText(Null_Value(rs_->field(kName), 1).toString());
    ComboNen->setEditText(Null_Value(rs_->field(kYear), 1).toString());
    ComboTuki->setEditText(Null_Value(rs_->field(kMonth), 1).toString());
    ComboHi->setEditText(Null_Value(rs_->field(kDay), 1).toString());
}

void OriginalForm::setFields()
{
    rs_->setField(kName, TextNamae->text());
    rs_->setField(kYear, ComboNen->currentText());
    rs_->setField(kMonth, ComboTuki->currentText());
    rs_->setField(kDay, ComboHi->currentText());
}

void OriginalForm::surveyDateChanged(int which)
{
    GlobalModule& g = Global();
    if (TakeNumber(ComboCho[size_t(which)], which == 0 ? g.ChosaNen : which == 1 ? g.ChosaTuki : g.ChosaHi))
        Check_ChosaDate();
}

void OriginalForm::ComboChoNen_Change() { surveyDateChanged(0); }
void OriginalForm::ComboChoTuki_Change() { surveyDateChanged(1); }
void OriginalForm::ComboChoHi_Change() { surveyDateChanged(2); }

void OriginalForm::CommandDB_Click(int index)
{
    // An empty roster can only be added to.
    if (index != 5 && navigator_->count() == 0) {
        MsgBox(QStringLiteral("レコードがありません"));
        return;
    }
    navigator_->command(index, QStringLiteral("個別名簿"), [this] { setFields(); }, [this] { Meibo_Print(); });
}

void OriginalForm::Menu_Disp_Click()
{
    // Readers take the year from the first four characters, so a plain year
    // and a year picked with its era both serve.
    const int16_t year = CInt(Val(Basic::Left(ComboNen->currentText(), 4)));
    const int16_t month = CInt(Val(ComboTuki->currentText()));
    const int16_t day = CInt(Val(ComboHi->currentText()));
    // No rhythm is drawn for a day that never was.
    const QString problem = impossibleDate(year, month, day);
    if (!problem.isEmpty()) {
        MsgBox(problem);
        return;
    }
    GlobalModule& g = Global();
    g.SelNamae[kSlot] = TextNamae->text();
    g.SelSeiNen[kSlot] = year;
    g.SelSeiTuki[kSlot] = month;
    g.SelSeiHi[kSlot] = day;
    g.SelDetailIndex = kSlot;
    // The detail window draws its person when it opens; one still open for
    // somebody else is opened afresh for this person.
    Forms::unload(Forms::find(kDetail));
    Forms::show(kDetail);
}

void OriginalForm::Menu_Sales_Click() { Forms::show(QStringLiteral("salesf")); }

int BuildMeiboList(CharPrinter& printer, Recordset& people)
{
    ListLayout layout{QStringLiteral("個別名簿一覧表"),
                      {{10, kName}, {24, kYear}, {30, kMonth}, {36, kDay}},
                      [](CharPrinter& p, const Recordset& row) {
                          auto text = [&row](const QString& column) { return Null_Value(row.field(column), 1).toString(); };
                          // An eight-character name is squeezed to leave a blank before the year.
                          p.printFitAt(10, Fixed(text(kName), 12), 24 - 10 - 1);
                          p.printAt(24, Fixed(text(kYear), 4));
                          p.printAt(31, Fixed(text(kMonth), 4));
                          p.printAt(37, Fixed(text(kDay), 4), true);
                      }};
    return BuildList(printer, people, layout);
}

void OriginalForm::Meibo_Print()
{
    // The list reads the table through its own recordset, so the window's
    // current row stays where it is.
    PrintList(QStringLiteral("個別名簿一覧表"), [this](CharPrinter& printer) {
        Recordset people(*db_, kTable);
        return BuildMeiboList(printer, people);
    });
}

void OriginalForm::Menu_Close_Click()
{
    navigator_.reset();
    rs_.reset();
    db_.reset();
    Forms::unload(Forms::find(kDetail));
    Forms::show(QStringLiteral("MainForm"));
    Forms::unload(this);
}
