#include "BangumiForm.h"

#include "Basic.h"
#include "Database.h"
#include "DayRaces.h"
#include "ErrorReport.h"
#include "FileDialog.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "OfficialFiles.h"
#include "Recordset.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>
#include <iterator>

using Basic::CStr;

namespace {
// The file and the race last chosen, so that the window opens on them again.
struct LastChoice {
    QString path;
    int course = -1;
    int race = -1;
};
LastChoice& lastChoice()
{
    static LastChoice choice;
    return choice;
}

QLabel* makeLabel(const QString& text, QWidget* parent, const QString& name, int w, int h, int l, int t)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    Set_ControlFont(label, 9, w, h, l, t);
    return label;
}

QString twoDigits(int code) { return QStringLiteral("%1").arg(code, 2, 10, QLatin1Char('0')); }
}

BangumiForm::BangumiForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("BangumiForm"));
    setWindowTitle(QStringLiteral("番組表"));
    // Over the search window, and gone with it.
    setWindowFlag(Qt::Window);
    auto* client = new QWidget(this);
    setCentralWidget(client);

    auto button = [this, client](const QString& text, const QString& name, int w, int l, int t, void (BangumiForm::*handler)()) {
        auto* b = new QPushButton(text, client);
        b->setObjectName(name);
        Set_ControlFont(b, 9, w, 28, l, t);
        connect(b, &QPushButton::clicked, this, [this, handler] { Guarded([&] { (this->*handler)(); }); });
        return b;
    };
    CommandFile = button(QStringLiteral("ファイル選択"), QStringLiteral("CommandFile"), 96, 8, 8, &BangumiForm::CommandFile_Click);
    CommandDownload = button(QStringLiteral("ダウンロード"), QStringLiteral("CommandDownload"), 96, 112, 8, &BangumiForm::CommandDownload_Click);
    LabelFile = makeLabel(QString(), client, QStringLiteral("LabelFile"), 408, 28, 216, 8);

    makeLabel(QStringLiteral("競艇場"), client, QStringLiteral("LabelBasho"), 120, 17, 8, 44);
    makeLabel(QStringLiteral("レース"), client, QStringLiteral("LabelRace"), 192, 17, 136, 44);
    makeLabel(QStringLiteral("出走表（＊：選手テーブルにない選手）"), client, QStringLiteral("LabelBoat"), 288, 17, 336, 44);
    ListBasho = new QListWidget(client);
    ListBasho->setObjectName(QStringLiteral("ListBasho"));
    Set_ControlFont(ListBasho, 9, 120, 364, 8, 62);
    ListRace = new QListWidget(client);
    ListRace->setObjectName(QStringLiteral("ListRace"));
    Set_ControlFont(ListRace, 9, 192, 364, 136, 62);
    connect(ListBasho, &QListWidget::currentRowChanged, this, [this] { Guarded([&] { ListBasho_Click(); }); });
    connect(ListRace, &QListWidget::currentRowChanged, this, [this] { Guarded([&] { ListRace_Click(); }); });
    // Enter (or a double click) on a racecourse goes on to its races, on a race does 選択.
    connect(ListBasho, &QListWidget::itemActivated, ListRace, [this] { ListRace->setFocus(Qt::OtherFocusReason); });
    connect(ListRace, &QListWidget::itemActivated, this, [this] { Guarded([&] { CommandSentaku_Click(); }); });

    GridBoat = new QTableWidget(6, 6, client);
    GridBoat->setObjectName(QStringLiteral("GridBoat"));
    GridBoat->setHorizontalHeaderLabels({QStringLiteral("艇"), QStringLiteral("登番"), QStringLiteral("名前"),
                                         QStringLiteral("支部"), QStringLiteral("級"), QString()});
    GridBoat->verticalHeader()->hide();
    GridBoat->verticalHeader()->setDefaultSectionSize(22);
    GridBoat->horizontalHeader()->setStretchLastSection(true);
    GridBoat->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridBoat->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    GridBoat->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridBoat->setSelectionMode(QAbstractItemView::NoSelection);
    // Tab leaves the grid for the next control; the arrows move in it.
    GridBoat->setTabKeyNavigation(false);
    Set_ControlFont(GridBoat, 9, 288, 160, 336, 62);
    const int widths[6] = {28, 44, 88, 48, 32, 24};
    for (int c = 0; c < 6; ++c)
        GridBoat->setColumnWidth(c, widths[c]);

    CommandSentaku = button(QStringLiteral("選択"), QStringLiteral("CommandSentaku"), 140, 336, 232, &BangumiForm::CommandSentaku_Click);
    CommandAll = button(QStringLiteral("全レース登録"), QStringLiteral("CommandAll"), 140, 484, 232, &BangumiForm::CommandAll_Click);
    CommandClose = button(QStringLiteral("閉じる"), QStringLiteral("CommandClose"), 140, 484, 398, &BangumiForm::CommandClose_Click);
    SizeAndCentre(this, 632, 434);
    // In reading order: the file and its download, the lists from the left, the grid, the buttons below it.
    QWidget* const order[] = {CommandFile, CommandDownload, ListBasho, ListRace, GridBoat, CommandSentaku, CommandAll, CommandClose};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    db_ = std::make_unique<Database>(Global().DataFolder);
    {
        Recordset courses(*db_, QStringLiteral("T_競艇場"));
        const int id = courses.fieldIndex(QStringLiteral("競艇場ID"));
        const int name = courses.fieldIndex(QStringLiteral("競艇場名"));
        for (; !courses.eof(); courses.MoveNext())
            if (!courseNames_.contains(courses.field(id).toInt()))
                courseNames_.insert(courses.field(id).toInt(), courses.field(name).toString());
    }

    const LastChoice last = lastChoice();
    if (!last.path.isEmpty() && QFileInfo::exists(last.path) && Guarded([&] { Open(last.path); })) {
        ListBasho->setCurrentRow(last.course);
        ListRace->setCurrentRow(last.race);
    }
}

BangumiForm::~BangumiForm() = default;

void BangumiForm::Open(const QString& path)
{
    DailyFiles::ProgramDay day = DailyFiles::ReadProgram(path);
    // Listed by racecourse number, as the racecourse table is.
    std::stable_sort(day.courses.begin(), day.courses.end(),
                     [](const DailyFiles::ProgramCourse& a, const DailyFiles::ProgramCourse& b) { return a.code < b.code; });
    day_ = std::move(day);
    fileName_ = QFileInfo(path).fileName();
    lastChoice() = {path, -1, -1};

    int races = 0;
    for (const auto& course : day_.courses)
        races += int(course.races.size());
    LabelFile->setText(QStringLiteral("%1　%2　%3 場 %4 レース")
                           .arg(fileName_,
                                day_.date.isValid() ? QStringLiteral("%1年%2月%3日").arg(day_.date.year()).arg(day_.date.month()).arg(day_.date.day())
                                                    : QString())
                           .arg(day_.courses.size())
                           .arg(races));
    const QSignalBlocker block(ListBasho);
    ListBasho->clear();
    for (const auto& course : day_.courses) {
        QString line = twoDigits(course.code) + QStringLiteral(" ") + Basic::Trim(courseNames_.value(course.code));
        if (course.races.empty())
            line += course.pending ? QStringLiteral("（未発表）") : QStringLiteral("（番組なし）");
        ListBasho->addItem(line);
    }
    ListBasho->setCurrentRow(-1);
    ListBasho_Click();
}

const DailyFiles::ProgramCourse* BangumiForm::chosenCourse() const
{
    const int row = ListBasho->currentRow();
    return row >= 0 && row < int(day_.courses.size()) ? &day_.courses[size_t(row)] : nullptr;
}

const DailyFiles::ProgramRace* BangumiForm::chosenRace() const
{
    const DailyFiles::ProgramCourse* course = chosenCourse();
    const int row = ListRace->currentRow();
    return course && row >= 0 && row < int(course->races.size()) ? &course->races[size_t(row)] : nullptr;
}

void BangumiForm::CommandFile_Click()
{
    const QString path = ChooseOpenFile(this, QStringLiteral("番組表のファイル"), QStringLiteral("番組表"),
                                        QStringLiteral("番組表 (b*.txt B*.TXT b*.lzh B*.LZH);;すべてのファイル (*)"));
    if (!path.isEmpty())
        Open(path);
}

void BangumiForm::CommandDownload_Click()
{
    const GlobalModule& g = Global();
    const QDate date(g.ChosaNen, g.ChosaTuki, g.ChosaHi);
    if (!date.isValid()) {
        MsgBox(QStringLiteral("調査日が正しくありません。選手検索の画面で調査日を直して下さい。"));
        return;
    }
    const QPointer<BangumiForm> alive(this);
    const QString path = OfficialFiles::FetchShown(this, OfficialFiles::Kind::Program, date);
    if (alive && !path.isEmpty())
        Open(path);
}

void BangumiForm::ListBasho_Click()
{
    const QSignalBlocker block(ListRace);
    ListRace->clear();
    if (const DailyFiles::ProgramCourse* course = chosenCourse())
        for (const auto& race : course->races)
            ListRace->addItem(QStringLiteral("%1R  %2  %3m").arg(race.raceNo, 2).arg(race.title).arg(race.distance));
    ListRace->setCurrentRow(-1);
    ListRace_Click();
}

void BangumiForm::ListRace_Click()
{
    GridBoat->clearContents();
    rememberChoice();
    const DailyFiles::ProgramRace* race = chosenRace();
    if (!race)
        return;
    const auto racers = findRacers(*openRacers(), *race);
    for (int k = 0; k < int(race->boats.size()) && k < 6; ++k) {
        const DailyFiles::Boat& boat = race->boats[size_t(k)];
        const QString cells[6] = {CStr(boat.boat), CStr(boat.toban), boat.name, boat.branch, boat.kyu,
                                  racers[size_t(k)] ? QString() : QStringLiteral("＊")};
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (!racers[size_t(k)])
                item->setForeground(Qt::red);
            GridBoat->setItem(k, c, item);
        }
    }
}

std::unique_ptr<Recordset> BangumiForm::openRacers()
{
    return std::make_unique<Recordset>(*db_, Global().ExtractMode != 0 ? QStringLiteral("Q_選手抽出") : QStringLiteral("Q_選手"));
}

std::vector<std::optional<SelectForm::Pick>> BangumiForm::findRacers(Recordset& racers, const DailyFiles::ProgramRace& race)
{
    const RacerFields fields = RacerFields::of(racers);
    std::vector<std::optional<SelectForm::Pick>> found;
    for (const DailyFiles::Boat& boat : race.boats) {
        racers.FindFirst(QStringLiteral("選手ID"), boat.toban);
        if (racers.NoMatch()) {
            found.emplace_back();
            continue;
        }
        SelectForm::Pick pick;
        pick.line = List_Add(racers, fields, pick.row);
        found.emplace_back(std::move(pick));
    }
    return found;
}

QString BangumiForm::requireCourseName(int code) const
{
    const QString name = courseNames_.value(code);
    if (name.isEmpty())
        MsgBox(QStringLiteral("競艇場テーブルに場コード %1 の競艇場がありません。").arg(twoDigits(code)), Mb::OKOnly + Mb::Exclamation);
    return name;
}

void BangumiForm::rememberChoice() const
{
    lastChoice().course = ListBasho->currentRow();
    lastChoice().race = ListRace->currentRow();
}

void BangumiForm::CommandSentaku_Click()
{
    const DailyFiles::ProgramRace* race = chosenRace();
    if (!race) {
        MsgBox(QStringLiteral("レースを選択して下さい"));
        return;
    }
    auto* select = qobject_cast<SelectForm*>(Forms::find(QStringLiteral("SelectForm")));
    if (!select) {
        MsgBox(QStringLiteral("選手検索の画面が開いていません。"));
        return;
    }
    const QString course = requireCourseName(chosenCourse()->code);
    if (course.isEmpty())
        return;
    // Every racer in his boat's slot; a boat whose racer is not in the
    // racer table keeps its place, empty.
    std::vector<SelectForm::Pick> picks;
    auto racers = findRacers(*openRacers(), *race);
    for (size_t k = 0; k < racers.size(); ++k) {
        if (racers[k]) {
            picks.push_back(std::move(*racers[k]));
            continue;
        }
        const DailyFiles::Boat& boat = race->boats[k];
        SelectForm::Pick empty;
        empty.line = QStringLiteral("＊ %1号艇  %2  %3（未登録）").arg(boat.boat).arg(boat.toban).arg(boat.name);
        picks.push_back(std::move(empty));
    }
    const QDate& date = day_.date;
    select->TakeRace(picks, int16_t(date.year()), int16_t(date.month()), int16_t(date.day()), course, int16_t(race->raceNo));
    rememberChoice();
    Forms::show(QStringLiteral("SelectForm"));
    Forms::unload(this);
}

void BangumiForm::CommandAll_Click()
{
    const DailyFiles::ProgramCourse* course = chosenCourse();
    if (!course) {
        MsgBox(QStringLiteral("競艇場を選択して下さい"));
        return;
    }
    if (course->races.empty()) {
        MsgBox(QStringLiteral("この場の番組はまだありません。"));
        return;
    }
    const QString name = requireCourseName(course->code);
    if (name.isEmpty())
        return;
    QString question = QStringLiteral("%1競艇の %2 レースを履歴テーブルへ登録しますか。\r\n").arg(Basic::Trim(name)).arg(course->races.size());
    // A race stored already is not stored again.
    if (const int stored = DayRaces::CountStored(*db_, day_.date, course->code))
        question += QStringLiteral("この日のこの場のレースは既に %1 件登録されています。\r\n").arg(stored);
    if (MsgBox(question, Mb::Confirm, QStringLiteral("履歴テーブル登録")) != Mb::Yes)
        return;

    const DayRaces::StoreSummary done = DayRaces::StorePrograms(*db_, day_, course->code);

    QString text = QStringLiteral("%1 レースを履歴テーブルへ登録しました。\r\n").arg(done.stored);
    if (done.skipped > 0)
        text += QStringLiteral("登録済みの %1 レースは二重に登録しませんでした。\r\n").arg(done.skipped);
    if (!done.missing.isEmpty()) {
        // A box of a screen's height at most.
        constexpr int Shown = 12;
        text += QStringLiteral("選手テーブルにない選手（登番と番組表の内容で登録）：\r\n") +
                done.missing.mid(0, Shown).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        if (done.missing.size() > Shown)
            text += QStringLiteral("ほか %1 人\r\n").arg(done.missing.size() - Shown);
    }
    MsgBox(text);
}

void BangumiForm::CommandClose_Click() { Forms::unload(this); }
