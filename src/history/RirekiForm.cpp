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
#include <QDate>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
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
    // The two fetches from the site share one entry: the bar of a window
    // this wide has room for no more.
    QMenu* download = bar->addMenu(QStringLiteral("取得(&G)"));
    download->setObjectName(QStringLiteral("Menu_Download"));
    add(download, "Menu_SeisekiGet", QStringLiteral("成績取得(&G)"), [this] { Menu_SeisekiGet_Click(); });
    add(download, "Menu_IkkatsuGet", QStringLiteral("一括取得(&T)"), [this] { Menu_IkkatsuGet_Click(); });
    add(bar, "Menu_Ikkatsu", QStringLiteral("一括取込(&B)"), [this] { Menu_Ikkatsu_Click(); });
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
    // Tens of thousands of lines: the box is not measured line by line.
    ComboRireki->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(ComboRireki, &QComboBox::activated, this, [this] { Guarded([&] { ComboRireki_Click(); }); });

    // The finder, under the six rows.
    auto* finder = new QLabel(QStringLiteral("日付で探す"), rows.table);
    finder->setObjectName(QStringLiteral("LabelHizuke"));
    Set_ControlFont(finder, 9, 80, 20, 8, 276);
    TextHizuke = new QLineEdit(rows.table);
    TextHizuke->setObjectName(QStringLiteral("TextHizuke"));
    Set_ControlFont(TextHizuke, 9, 180, 25, 92, 272);
    auto* example = new QLabel(QStringLiteral("例：2024.7.29　または　2024.7.29 桐生（Enter）"), rows.table);
    example->setObjectName(QStringLiteral("LabelHizukeRei"));
    Set_ControlFont(example, 9, 300, 20, 280, 276);
    connect(TextHizuke, &QLineEdit::returnPressed, this, [this] { Guarded([&] { TextHizuke_Enter(); }); });
    SizeAndCentre(this, 632, 434);

    db_ = std::make_unique<Database>(Global().DataFolder);
    branches_ = std::make_unique<Recordset>(*db_, QStringLiteral("T_所属"));
    Guarded([this] { fillList(); });
}

RirekiForm::~RirekiForm() = default;

void RirekiForm::fillList()
{
    // The list needs six short columns of every race; the races themselves
    // are read one at a time, when chosen.
    // The racecourses' names are read once, not joined to every race.
    QHash<qint64, QString> courses;
    {
        Statement names = db_->prepare(QStringLiteral("SELECT 競艇場ID, ifnull(競艇場名, '') FROM T_競艇場"));
        while (names.step())
            if (!courses.contains(names.value(0).toLongLong()))
                courses.insert(names.value(0).toLongLong(), Trim(names.value(1).toString()));
    }
    Statement select = db_->prepare(QStringLiteral(
        "SELECT 履歴ID, 調査年, 調査月, 調査日, 競艇場ID, レースNO FROM Q_レース一覧"));
    QStringList lines;
    lines_.clear();
    const QString none;
    while (select.step()) {
        auto course = courses.constFind(select.value(4).toLongLong());
        if (course == courses.constEnd())
            course = courses.insert(select.value(4).toLongLong(), none);
        const qint64 id = select.value(0).toLongLong();
        const int year = select.value(1).toInt(), month = select.value(2).toInt(), day = select.value(3).toInt();
        lines << QString::number(id) + QStringLiteral(" ： ") + QString::number(year) + QLatin1Char('.') + QString::number(month) +
                     QLatin1Char('.') + QString::number(day) + QStringLiteral("　") + course.value() + QStringLiteral("競艇　第") +
                     QString::number(select.value(5).toLongLong()) + QStringLiteral("レース");
        lines_.push_back({id, year * 10000 + month * 100 + day, course.value()});
    }
    // A list model fills thousands of lines at once.
    ComboRireki->setModel(new QStringListModel(lines, ComboRireki));
    ComboRireki->setCurrentIndex(-1);
    if (lines.isEmpty())
        MsgBox(QStringLiteral("レース履歴がありません。レース履歴登録後実行して下さい\r"));
}

void RirekiForm::reload()
{
    const QString shown = ComboRireki->currentText();
    fillList();
    const int at = ComboRireki->findText(shown);
    if (at >= 0 && selected_ == 1) {
        ComboRireki->setCurrentIndex(at);
        ComboRireki_Click();
    }
}

void RirekiForm::TextHizuke_Enter()
{
    // "2024.7.29", "2024/7/29" or "20240729", then a racecourse's name if wanted.
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d{4})[./-]?(\\d{1,2})[./-]?(\\d{1,2})(?:[\\s　]+(\\S+))?\\s*$"));
    // Digits typed full-width by the input method count as well.
    const QString typed = Basic::HalfWidth(TextHizuke->text());
    const QRegularExpressionMatch m = pattern.match(typed);
    const QDate date = m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()) : QDate();
    if (!date.isValid()) {
        MsgBox(QStringLiteral("日付を 2024.7.29 のように入力して下さい（後に競艇場名を続けることもできます）"), Mb::OKOnly + Mb::Exclamation);
        return;
    }
    QString course = m.captured(4);
    if (course.endsWith(QStringLiteral("競艇")))
        course.chop(2);
    const int key = date.year() * 10000 + date.month() * 100 + date.day();
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].date != key || (!course.isEmpty() && lines_[i].course != course))
            continue;
        ComboRireki->setCurrentIndex(int(i));
        ComboRireki_Click();
        return;
    }
    MsgBox(QStringLiteral("%1.%2.%3%4のレース履歴はありません。")
               .arg(date.year())
               .arg(date.month())
               .arg(date.day())
               .arg(course.isEmpty() ? QString() : QStringLiteral("　") + course + QStringLiteral("競艇")));
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
    // The list holds the races stored when the window opened: one that is
    // not found now, or has no row left in the table, has been deleted.
    if (!openRace(qint64(id))) {
        raceShown_ = false;
        MsgBox(kDeleted, Mb::OKOnly + Mb::Information);
        return;
    }
    raceShown_ = true;
    LabelDisp();
}

bool RirekiForm::openRace(qint64 id)
{
    view_ = std::make_unique<Recordset>(*db_, QStringLiteral("Q_レース履歴"), QStringLiteral("履歴ID"), id);
    table_ = std::make_unique<Recordset>(*db_, QStringLiteral("T_レース履歴"), QStringLiteral("履歴ID"), id);
    return view_->RecordCount() > 0 && findStoredRace();
}

bool RirekiForm::findStoredRace()
{
    if (!view_ || !table_ || view_->eof())
        return false;
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
        TextJyuni[size_t(i)]->setText(PositionText(view.field(seat("結果", n)), view.field(seat("着", n))));
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
        label("LabelSyoritu")->setText(Format(number(seat("勝率", n)), QStringLiteral("#,##0.00")));
        label("LabelFukuritu")->setText(Format(number(seat("複勝率", n)), QStringLiteral("#,##0.0")));
        // A racer known only from a race program has no birth date yet, and
        // so no rhythm, until a handbook that holds him is imported.
        if (birthYear == 0) {
            for (const char* name : {"LabelSeiNen", "LabelSeiTuki", "LabelSeiHi", "LabelBody", "LabelHeart", "LabelIntel"})
                label(name)->clear();
            for (const char* name : {"LabelBody", "LabelHeart", "LabelIntel"}) {
                label(name)->setPalette(QPalette());
                label(name)->setAutoFillBackground(false);
            }
            continue;
        }
        label("LabelSeiNen")->setText(CStr(birthYear));
        label("LabelSeiTuki")->setText(CStr(birthMonth));
        label("LabelSeiHi")->setText(CStr(birthDay));

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
    // A box still showing the stored finish code (F, K0 ...) keeps it; a code
    // stays with a typed position only where it gives that position.
    std::array<int16_t, 6> positions{};
    std::array<QVariant, 6> codes{};
    for (int i = 0; i < 6; ++i) {
        const QVariant stored = view_ && !view_->eof() ? view_->field(seat("着", i + 1)) : QVariant();
        const QString code = stored.toString();
        if (!code.isEmpty() && CodePosition(code) == 0 && Trim(TextJyuni[size_t(i)]->text()) == code) {
            codes[size_t(i)] = code;
            continue;
        }
        const double typed = Basic::Val(TextJyuni[size_t(i)]->text());
        if (typed < 0 || typed > 6) {
            MsgBox(QStringLiteral("%1号艇の順位が正しくありません。0 から 6 までの数字を入力して下さい").arg(i + 1),
                   Mb::OKOnly + Mb::Exclamation);
            TextJyuni[size_t(i)]->setFocus();
            TextJyuni[size_t(i)]->selectAll();
            return;
        }
        positions[size_t(i)] = CInt(typed);
        if (!code.isEmpty() && CodePosition(code) == positions[size_t(i)])
            codes[size_t(i)] = code;
    }
    if (MsgBox(QStringLiteral("履歴テーブルを更新しますか。"), Mb::Confirm, QStringLiteral("履歴テーブル更新")) != Mb::Yes)
        return;
    if (!findStoredRace())
        return;
    Recordset& table = *table_;
    table.Edit();
    for (int n = 1; n <= 6; ++n) {
        table.setField(seat("結果", n), positions[size_t(n - 1)]);
        table.setField(seat("着", n), codes[size_t(n - 1)]);
    }
    try {
        table.Update();
    } catch (...) {
        table.CancelUpdate();
        throw;
    }
    // The boxes show what was stored (a typed "F" is no code of the file:
    // it is stored, and then shown, as 0).
    for (int n = 1; n <= 6; ++n)
        TextJyuni[size_t(n - 1)]->setText(PositionText(table.field(seat("結果", n)), table.field(seat("着", n))));
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
    if (selected_ == 1)
        ComboRireki_Click();
}

void RirekiForm::Menu_Ikkatsu_Click()
{
    if (Forms::run(QStringLiteral("ImportPeriod"), this))
        reload();
}

void RirekiForm::Menu_IkkatsuGet_Click()
{
    if (Forms::run(QStringLiteral("DownloadPeriod"), this))
        reload();
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
