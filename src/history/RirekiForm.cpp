#include "RirekiForm.h"

#include "Basic.h"
#include "CharPrinter.h"
#include "Database.h"
#include "EngineErrors.h"
#include "ErrorReport.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MenuItems.h"
#include "HelpViewer.h"
#include "HistoryPrint.h"
#include "MainForm.h"
#include "MsgBox.h"
#include "RaceHeadings.h"
#include "RaceRows.h"
#include "RaceTablePrint.h"
#include "Recordset.h"
#include "Rhythm.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStringListModel>
#include <string_view>

using Basic::CInt;
using Basic::CStr;
using Basic::Format;
using Basic::Trim;

namespace {
const std::initializer_list<RowCell> kCells = {
    {"LabelNo", 0, 15},       {"LabelShozokuMei", 24, 46}, {"LabelKi", 75, 35},      {"LabelNamae", 115, 99},
    {"LabelSeiNen", 216, 33}, {"LabelSeiTuki", 251, 27},   {"LabelSeiHi", 280, 27},  {"LabelSyoritu", 320, 31},
    {"LabelFukuritu", 352, 31}, {"LabelBody", 392, 45},    {"LabelHeart", 440, 45},  {"LabelIntel", 488, 45}};

QString seat(const char* word, int n) { return QString::fromUtf8(word) + CStr(n); }

// A stored number as text, without a leading blank.
QString numberText(const QVariant& value) { return Basic::NumberText(value.toDouble()); }

const QString kChooseFirst = QStringLiteral("レース履歴を選択してから実行して下さい");
const QString kDeleted = QStringLiteral("このレース履歴は削除されています。");
}

RirekiForm::RirekiForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("RirekiForm"));
    setWindowTitle(QStringLiteral("レース履歴"));
    auto* client = new QWidget(this);
    setCentralWidget(client);

    QMenuBar* bar = menuBar();
    auto add = [this](QWidget* menu, const char* name, const QString& caption, std::function<void()> handler) {
        AddMenuItem(menu, QString::fromLatin1(name), caption, this, std::move(handler));
    };
    add(bar, "Menu_Close", QStringLiteral("終了(&X)"), [this] { Menu_Close_Click(); });
    add(bar, "Menu_Edit", QStringLiteral("順位更新(&E)"), [this] { Menu_Edit_Click(); });
    add(bar, "Mneu_Delete", QStringLiteral("履歴削除(&D)"), [this] { Mneu_Delete_Click(); });
    add(bar, "Menu_Print", QStringLiteral("印刷(&P)"), [this] { Menu_Print_Click(); });
    QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("Menu_Help"));
    add(help, "Menu_HelpCard", QStringLiteral("ﾍﾙﾌﾟ(&H)"), [] { ShowHelp(ProgramFile(QStringLiteral("Vantor.hlp"))); });
    add(help, "Menu_Help_About", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), [] { ShowAbout(AboutTitle()); });
    add(bar, "Menu_Seiseki", QStringLiteral("成績読込(&K)"), [this] { Menu_Seiseki_Click(); });
    add(bar, "Menu_SeisekiGet", QStringLiteral("成績取得(&G)"), [this] { Menu_SeisekiGet_Click(); });
    add(bar, "Menu_Bunseki", QStringLiteral("成績分析(&A)"), [] { Forms::show(QStringLiteral("BunsekiForm")); });

    const QString headings[2] = {
        QStringLiteral("No.　出身　　登番　名前　 　　　　　　生年月日　　　　成績　　  　　バイオリズム評価　　　順位"),
        QStringLiteral("　　　　　　　　　　　　　　　　　　　年　月　 日 　  勝率　複勝率　身体　　感情　　知性　")};
    const RaceRows rows = BuildRaceRows(client, headings, kCells);
    for (int i = 0; i < 6; ++i) {
        TextJyuni[size_t(i)] = new QLineEdit(rows.rows[size_t(i)]);
        TextJyuni[size_t(i)]->setObjectName(QStringLiteral("TextJyuni_%1").arg(i));
        Set_ControlFont(TextJyuni[size_t(i)], 9, 33, 25, 536, 2);
    }
    QFrame* frame = rows.frame;
    auto* caption = new QLabel(QStringLiteral("レース履歴"), frame);
    caption->setObjectName(QStringLiteral("LabelRireki"));
    Set_ControlFont(caption, 12, 100, 24, 8, 16);
    ComboRireki = new QComboBox(frame);
    ComboRireki->setObjectName(QStringLiteral("ComboRireki"));
    Set_ComboFont(ComboRireki, 12, 497, 104, 16);
    connect(ComboRireki, &QComboBox::activated, this, [this] { Guarded([&] { ComboRireki_Click(); }); });
    SizeAndCentre(this, 632, 434);

    db_ = std::make_unique<Database>(Global().DataFolder);
    view_ = std::make_unique<Recordset>(*db_, QStringLiteral("Q_レース履歴"));
    table_ = std::make_unique<Recordset>(*db_, QStringLiteral("T_レース履歴"));
    branches_ = std::make_unique<Recordset>(*db_, QStringLiteral("T_所属"));
    Guarded([this] { fillList(); });
}

RirekiForm::~RirekiForm() = default;

void RirekiForm::fillList()
{
    Recordset& view = *view_;
    if (view.RecordCount() == 0) {
        MsgBox(QStringLiteral("レース履歴がありません。レース履歴登録後実行して下さい\r"));
        return;
    }
    const int id = view.fieldIndex(QStringLiteral("履歴ID"));
    const int year = view.fieldIndex(QStringLiteral("調査年"));
    const int month = view.fieldIndex(QStringLiteral("調査月"));
    const int day = view.fieldIndex(QStringLiteral("調査日"));
    const int course = view.fieldIndex(QStringLiteral("競艇場名"));
    const int race = view.fieldIndex(QStringLiteral("レースNO"));
    QStringList lines;
    lines.reserve(std::min(view.RecordCount(), MaxRaces));
    bool tooMany = false;
    for (view.MoveFirst(); !view.eof(); view.MoveNext()) {
        if (lines.size() >= MaxRaces) {
            tooMany = true;
            break;
        }
        lines << numberText(view.field(id)) + QStringLiteral(" ： ") + numberText(view.field(year)) + QStringLiteral(".") +
                     numberText(view.field(month)) + QStringLiteral(".") + numberText(view.field(day)) +
                     QStringLiteral("　") + Trim(view.field(course).toString()) + QStringLiteral("競艇　第") +
                     numberText(view.field(race)) + QStringLiteral("レース");
    }
    // A list model fills thousands of lines at once.
    ComboRireki->setModel(new QStringListModel(lines, ComboRireki));
    ComboRireki->setCurrentIndex(-1);
    if (tooMany)
        MsgBox(QStringLiteral("レース履歴が %1 件を超えています。最初の %1 件だけを一覧に表示します。").arg(MaxRaces),
               Mb::OKOnly + Mb::Exclamation);
}

QString RirekiForm::ShozokuMei(int16_t id)
{
    Recordset& rs = *branches_;
    rs.FindFirst(QStringLiteral("所属ID"), id);
    return rs.NoMatch() ? QString() : Trim(rs.field(QStringLiteral("所属名")).toString());
}

void RirekiForm::ComboRireki_Click()
{
    selected_ = 1;
    const double id = Basic::Val(ComboRireki->currentText());
    Recordset& view = *view_;
    view.FindFirst(QStringLiteral("履歴ID"), qint64(id));
    // The list holds the races stored when the window opened: one that is
    // not found now, or has no row left in the table, has been deleted.
    if (view.NoMatch() || !findStoredRace()) {
        raceShown_ = false;
        MsgBox(kDeleted, Mb::OKOnly + Mb::Information);
        return;
    }
    raceShown_ = true;
    LabelDisp();
}

bool RirekiForm::findStoredRace()
{
    table_->FindFirst(QStringLiteral("履歴ID"), view_->field(QStringLiteral("履歴ID")).toLongLong());
    return !table_->NoMatch();
}

void RirekiForm::LabelDisp()
{
    const Recordset& view = *view_;
    auto number = [&view](const QString& name) { return view.field(name).toDouble(); };
    const int16_t year = CInt(number(QStringLiteral("調査年")));
    const int16_t month = CInt(number(QStringLiteral("調査月")));
    const int16_t day = CInt(number(QStringLiteral("調査日")));
    for (int i = 0; i < 6; ++i) {
        const int n = i + 1;
        auto label = [this, i](const char* name) { return RowLabel(this, name, i); };
        label("LabelNo")->setText(CStr(n));
        TextJyuni[size_t(i)]->setText(numberText(view.field(seat("結果", n))));
        // An empty boat, or one whose racer is no longer in the racer table
        // (the query then gives 0 for the found registration number), has
        // no racer and no rhythm to show.
        if (IsEmptyBoat(view, n)) {
            for (const RowCell& cell : kCells)
                if (std::string_view(cell.name) != "LabelNo")
                    label(cell.name)->clear();
            for (const char* name : {"LabelBody", "LabelHeart", "LabelIntel"}) {
                label(name)->setPalette(QPalette());
                label(name)->setAutoFillBackground(false);
            }
            continue;
        }
        label("LabelShozokuMei")->setText(ShozokuMei(CInt(number(seat("所属ID", n)))));
        label("LabelKi")->setText(numberText(view.field(seat("期", n))));
        label("LabelNamae")->setText(view.field(seat("名前", n)).toString());
        const int16_t birthYear = CInt(number(seat("生年", n)));
        const int16_t birthMonth = CInt(number(seat("生月", n)));
        const int16_t birthDay = CInt(number(seat("生日", n)));
        label("LabelSeiNen")->setText(CStr(birthYear));
        label("LabelSeiTuki")->setText(CStr(birthMonth));
        label("LabelSeiHi")->setText(CStr(birthDay));
        label("LabelSyoritu")->setText(Format(number(seat("勝率", n)), QStringLiteral("#,##0.00")));
        label("LabelFukuritu")->setText(Format(number(seat("複勝率", n)), QStringLiteral("#,##0.0")));

        const Rhythm::Scores s = Rhythm::TableScores(Rhythm::ElapsedDays(year, month, day, birthYear, birthMonth, birthDay));
        ShowScore(label("LabelBody"), s.body);
        ShowScore(label("LabelHeart"), s.emotion);
        ShowScore(label("LabelIntel"), s.intellect);
    }
}

bool RirekiForm::requireSelection()
{
    if (selected_ != 1) {
        MsgBox(kChooseFirst);
        return false;
    }
    // The race chosen last has been deleted (here, or before it was chosen):
    // there is nothing to write, delete or print.
    if (!raceShown_) {
        MsgBox(kDeleted, Mb::OKOnly + Mb::Information);
        return false;
    }
    return true;
}

void RirekiForm::Menu_Edit_Click()
{
    if (!requireSelection())
        return;
    // A position is 0 (not entered) to 6; two boats may share one (a dead heat).
    std::array<int16_t, 6> positions{};
    for (int i = 0; i < 6; ++i) {
        const double typed = Basic::Val(TextJyuni[size_t(i)]->text());
        if (typed < 0 || typed > 6) {
            MsgBox(QStringLiteral("%1号艇の順位が正しくありません。0 から 6 までの数字を入力して下さい").arg(i + 1),
                   Mb::OKOnly + Mb::Exclamation);
            TextJyuni[size_t(i)]->setFocus();
            TextJyuni[size_t(i)]->selectAll();
            return;
        }
        positions[size_t(i)] = CInt(typed);
    }
    if (MsgBox(QStringLiteral("履歴テーブルを更新しますか。"), Mb::Confirm, QStringLiteral("履歴テーブル更新")) != Mb::Yes)
        return;
    if (!findStoredRace())
        return;
    Recordset& table = *table_;
    table.Edit();
    for (int n = 1; n <= 6; ++n)
        table.setField(seat("結果", n), positions[size_t(n - 1)]);
    try {
        table.Update();
    } catch (...) {
        table.CancelUpdate();
        throw;
    }
    // The boxes show what was stored ("F" is stored, and then shown, as 0).
    for (int n = 1; n <= 6; ++n)
        TextJyuni[size_t(n - 1)]->setText(numberText(table.field(seat("結果", n))));
}

void RirekiForm::Mneu_Delete_Click()
{
    if (!requireSelection())
        return;
    if (MsgBox(QStringLiteral("履歴テーブルを削除しますか。"), Mb::Confirm, QStringLiteral("履歴テーブル削除")) != Mb::Yes)
        return;
    if (!findStoredRace())
        return;
    table_->Delete();
    // The race is gone: its rows go from the screen, and positions can no
    // longer be typed for it. Its line stays in the list until the window
    // is opened again, and choosing it says that it has been deleted.
    raceShown_ = false;
    clearRows();
}

void RirekiForm::clearRows()
{
    for (int i = 0; i < 6; ++i) {
        for (const RowCell& cell : kCells)
            RowLabel(this, cell.name, i)->clear();
        for (const char* name : {"LabelBody", "LabelHeart", "LabelIntel"}) {
            QLabel* label = RowLabel(this, name, i);
            label->setPalette(QPalette());
            label->setAutoFillBackground(false);
        }
        TextJyuni[size_t(i)]->clear();
    }
}

void RirekiForm::Menu_Print_Click()
{
    if (!requireSelection())
        return;
    if (MsgBox(QStringLiteral("レース履歴を印刷しますか。\r\n"), Mb::Confirm, QStringLiteral("レース履歴印刷")) != Mb::Yes)
        return;
    auto number = [this](const char* name) { return view_->field(QString::fromUtf8(name)).toInt(); };
    const QString title = RacePrintTitle(QStringLiteral("レース履歴"), number("調査年"), number("調査月"), number("調査日"),
                                         view_->field(QStringLiteral("競艇場名")).toString(), number("レースNO"));
    CharPrinter printer(Global().DataFolder, title);
    if (BuildHistoryPrint(printer, *view_, [this](int id) { return ShozokuMei(int16_t(id)); }) == 0) {
        MsgBox(QStringLiteral("該当レコードがありません"));
        return;
    }
    printer.endDoc();
}

void RirekiForm::Menu_Seiseki_Click() { readResults(QStringLiteral("ReadResults")); }

void RirekiForm::Menu_SeisekiGet_Click() { readResults(QStringLiteral("DownloadResults")); }

void RirekiForm::readResults(const QString& command)
{
    if (!Forms::run(command, this))
        return;
    // The positions were written elsewhere: the race on show is read again.
    view_ = std::make_unique<Recordset>(*db_, QStringLiteral("Q_レース履歴"));
    table_ = std::make_unique<Recordset>(*db_, QStringLiteral("T_レース履歴"));
    if (selected_ == 1)
        ComboRireki_Click();
}

void RirekiForm::Menu_Close_Click()
{
    view_.reset();
    table_.reset();
    branches_.reset();
    db_.reset();
    Forms::show(QStringLiteral("MainForm"));
    Forms::unload(this);
}
