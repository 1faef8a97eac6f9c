#include "SelectForm.h"

#include "Basic.h"
#include "Database.h"
#include "EngineErrors.h"
#include "ErrorReport.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "HelpViewer.h"
#include "MainForm.h"
#include "MenuItems.h"
#include "MsgBox.h"
#include "Recordset.h"
#include "SearchPanel.h"
#include "ToolIcons.h"

#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>

using Basic::CInt;
using Basic::CStr;
using Basic::Val;

namespace {
QLabel* makeLabel(const QString& text, QWidget* parent, const QString& name, int size, int w, int h, int l, int t)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    Set_ControlFont(label, size, w, h, l, t);
    return label;
}

QComboBox* makeCombo(QWidget* parent, const QString& name, int w, int l, int t)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    Set_ComboFont(box, 9, w, l, t);
    return box;
}
}

SelectForm::SelectForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("SelectForm"));
    setWindowTitle(QStringLiteral("選手検索"));
    auto* client = new QWidget(this);
    setCentralWidget(client);

    db_ = std::make_unique<Database>(Global().DataFolder);
    panel_ = new SearchPanel(client, *db_, {});
    panel_->fillDropDowns();

    buildMenus();
    buildToolbar(client);
    buildRacePanels();

    makeLabel(QStringLiteral("選択ボックス"), client, QStringLiteral("LabelSentaku"), 9, 265, 17, 360, 300);
    List2 = new QListWidget(client);
    List2->setObjectName(QStringLiteral("List2"));
    Set_ControlFont(List2, 9, 265, 112, 360, 316);

    connect(panel_->list(), &QListWidget::itemClicked, this, [this] { Guarded([&] { List1_Click(); }); });
    connect(List2, &QListWidget::itemClicked, this, [this] { Guarded([&] { List2_Click(); }); });

    // Reading order: the toolbar, the survey date and race, the search
    // panel, then the result list and the selection box on the right.
    QList<QWidget*> chain(CommandDisp.begin(), CommandDisp.end());
    chain << ComboNen << ComboTuki << ComboHi << ComboBasho << ComboRace << panel_->TabStops() << panel_->list()
          << List2;
    SetTabChain(chain);

    showMode();
    Menu_Select->setEnabled(W_SelCount != 0);
    SizeAndCentre(this, 632, 434);
}

SelectForm::~SelectForm() = default;

void SelectForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto add = [this](QWidget* menu, const QString& name, const QString& caption, std::function<void()> handler) {
        return AddMenuItem(menu, name, caption, this, std::move(handler));
    };
    add(bar, QStringLiteral("Menu_Close"), QStringLiteral("終了(&X)"), [this] { Menu_Close_Click(); });
    // The menu runs the toolbar actions as numbered: "ﾊﾞｲｵﾘｽﾞﾑ表示" closes the
    // window and "選択解除" shows the table; nothing empties the selection.
    add(bar, QStringLiteral("Menu_Disp"), QStringLiteral("ﾊﾞｲｵﾘｽﾞﾑ表示(&H)"), [this] { CommandDisp_Click(0); });
    add(bar, QStringLiteral("Menu_Cancel"), QStringLiteral("選択解除(&C)"), [this] { CommandDisp_Click(1); });
    QMenu* change = bar->addMenu(QStringLiteral("選手ﾃｰﾌﾞﾙ変更(&T)"));
    change->setObjectName(QStringLiteral("Menu_Change"));
    Menu_Table[0] = add(change, QStringLiteral("Menu_Table_0"), QStringLiteral("抽出→通常ﾃｰﾌﾞﾙ(&N)"), [this] { CommandDisp_Click(3); });
    Menu_Table[1] = add(change, QStringLiteral("Menu_Table_1"), QStringLiteral("通常→抽出ﾃｰﾌﾞﾙ(&O)"), [this] { CommandDisp_Click(3); });
    Menu_Select = add(bar, QStringLiteral("Menu_Select"), QStringLiteral("抽出ﾃｰﾌﾞﾙ追加(&A)"), [this] { CommandDisp_Click(4); });
    QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("Menu_Help"));
    add(help, QStringLiteral("Menu_HelpCard"), QStringLiteral("ﾍﾙﾌﾟ(&H)"), [this] { CommandDisp_Click(5); });
    add(help, QStringLiteral("Menu_Help_About"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), [this] { CommandDisp_Click(6); });
    add(bar, QStringLiteral("Menu_Bangumi"), QStringLiteral("番組表(&B)"), [] { Forms::show(QStringLiteral("BangumiForm")); });
}

void SelectForm::buildToolbar(QWidget* client)
{
    auto* toolbar = new QFrame(client);
    toolbar->setObjectName(QStringLiteral("PictureBotton"));
    Set_Control(toolbar, 350, 28, 4, 0);

    ImageTuika = new QLabel(toolbar);
    ImageTuika->setObjectName(QStringLiteral("ImageTuika"));
    ImageTuika->setPixmap(MakeToolIcon(ToolIcon::Add).pixmap(20, 20));
    ImageTuika->setAlignment(Qt::AlignCenter);
    Set_Control(ImageTuika, 25, 25, 146, 0);

    const ToolIcon icons[7] = {ToolIcon::Close, ToolIcon::Show, ToolIcon::Clear, ToolIcon::Close,
                               ToolIcon::Add,   ToolIcon::Help, ToolIcon::About};
    const char* tips[7] = {"終了します。", "ﾊﾞｲｵﾘｽﾞﾑを表示します。", "選択ﾎﾞｯｸｽを初期化します。",
                           "選手ﾃｰﾌﾞﾙを通常のﾃｰﾌﾞﾙか各ﾕｰｻﾞｰ抽出後のﾃｰﾌﾞﾙに変更します。",
                           "選択ﾎﾞｯｸｽに表示されている選手ﾃﾞｰﾀを抽出ﾃｰﾌﾞﾙに追加します。", "ﾍﾙﾌﾟを表示します。",
                           "ﾊﾞｰｼﾞｮﾝ情報です。"};
    for (int i = 0; i < 7; ++i) {
        auto* button = new QPushButton(toolbar);
        button->setObjectName(QStringLiteral("CommandDisp_%1").arg(i));
        button->setToolTip(QString::fromUtf8(tips[i]));
        if (i == 3) {
            Set_ControlFont(button, 8, 75, 25, 72, 0);
        } else {
            button->setIcon(MakeToolIcon(icons[i]));
            Set_ControlFont(button, 8, 25, 25, i < 3 ? 24 * i : 24 * i + 50, 0);
        }
        connect(button, &QPushButton::clicked, this, [this, i] { Guarded([&] { CommandDisp_Click(i); }); });
        CommandDisp[size_t(i)] = button;
    }
    LabelTable = makeLabel(QString(), toolbar, QStringLiteral("LabelTable"), 10, 131, 25, 219, 0);
    LabelTable->setAlignment(Qt::AlignCenter);
}

void SelectForm::buildRacePanels()
{
    GlobalModule& g = Global();
    auto* date = new QFrame(panel_);
    date->setObjectName(QStringLiteral("PicZentei_0"));
    date->setFrameShape(QFrame::StyledPanel);
    Set_Control(date, 250, 35, 8, 8);
    makeLabel(QStringLiteral("調査年月日"), date, QStringLiteral("LabelChoNen"), 8, 57, 17, 8, 8);
    const char* ymd[3] = {"年", "月", "日"};
    for (int k = 0; k < 3; ++k)
        makeLabel(QString::fromUtf8(ymd[k]), date, QStringLiteral("LabelYMD_%1").arg(k), 8, 17, 17, 112 + 56 * k, 16);
    ComboNen = makeCombo(date, QStringLiteral("ComboNen"), 49, 64, 8);
    ComboTuki = makeCombo(date, QStringLiteral("ComboTuki"), 41, 128, 8);
    ComboHi = makeCombo(date, QStringLiteral("ComboHi"), 41, 184, 8);

    auto* race = new QFrame(panel_);
    race->setObjectName(QStringLiteral("PicZentei_1"));
    race->setFrameShape(QFrame::StyledPanel);
    Set_Control(race, 250, 35, 8, 50);
    const char* raceLabels[3] = {"対象レース", "第", "レース"};
    const int raceLeft[3] = {8, 152, 208};
    for (int k = 0; k < 3; ++k)
        makeLabel(QString::fromUtf8(raceLabels[k]), race, QStringLiteral("LabelRace_%1").arg(k), 8, 57, 17, raceLeft[k], 8);
    ComboBasho = makeCombo(race, QStringLiteral("ComboBasho"), 87, 67, 8);
    ComboRace = makeCombo(race, QStringLiteral("ComboRace"), 41, 168, 8);

    // Today's date, with the full year from the clock.
    const QDate today = QDate::currentDate();
    for (int y = today.year(); y <= today.year() + 4; ++y)
        ComboNen->addItem(QString::number(y));
    for (int m = 1; m <= 12; ++m)
        ComboTuki->addItem(QString::number(m));
    for (int d = 1; d <= 31; ++d)
        ComboHi->addItem(QString::number(d));

    connect(ComboNen, &QComboBox::editTextChanged, this, [this, &g] { dateChanged(ComboNen, g.ChosaNen); });
    connect(ComboTuki, &QComboBox::editTextChanged, this, [this, &g] { dateChanged(ComboTuki, g.ChosaTuki); });
    connect(ComboHi, &QComboBox::editTextChanged, this, [this, &g] { dateChanged(ComboHi, g.ChosaHi); });
    ComboNen->setEditText(QString::number(today.year()));
    ComboTuki->setEditText(QString::number(today.month()));
    ComboHi->setEditText(QString::number(today.day()));
    g.ChosaNen = CInt(Val(ComboNen->currentText()));
    g.ChosaTuki = CInt(Val(ComboTuki->currentText()));
    g.ChosaHi = CInt(Val(ComboHi->currentText()));

    {
        Recordset courses(*db_, QStringLiteral("T_競艇場"));
        const int c = courses.fieldIndex(QStringLiteral("競艇場名"));
        for (; !courses.eof(); courses.MoveNext())
            ComboBasho->addItem(courses.field(c).toString());
    }
    for (int r = 1; r <= 12; ++r)
        ComboRace->addItem(QString::number(r));
    // The race chosen earlier stays until the user changes it, and the boxes
    // show it, so a race is stored under the course the user sees; on a fresh
    // start both are empty.
    ComboBasho->setCurrentIndex(-1);
    ComboBasho->setEditText(g.SelKyoteijyoMei);
    ComboRace->setCurrentIndex(-1);
    ComboRace->setEditText(g.SelRaceNo != 0 ? QString::number(g.SelRaceNo) : QString());
    connect(ComboBasho, &QComboBox::editTextChanged, this, [](const QString& text) { Global().SelKyoteijyoMei = text; });
    connect(ComboRace, &QComboBox::editTextChanged, this, [this, &g] { TakeNumber(ComboRace, g.SelRaceNo); });
}

void SelectForm::dateChanged(QComboBox* box, int16_t& target)
{
    if (TakeNumber(box, target))
        Check_ChosaDate();
}

void SelectForm::showMode()
{
    const bool extract = Global().ExtractMode != 0;
    CommandDisp[3]->setText(extract ? QStringLiteral("抽出→通常") : QStringLiteral("通常→抽出"));
    LabelTable->setText(extract ? QStringLiteral("抽出テーブル") : QStringLiteral("通常テーブル"));
    Menu_Table[0]->setEnabled(extract);
    Menu_Table[1]->setEnabled(!extract);
    panel_->PicNo[2]->setVisible(extract);
    CommandDisp[4]->setVisible(extract);
}

void SelectForm::List1_Click()
{
    const int line = panel_->list()->currentRow();
    if (line < 0)
        return;
    // A boat left empty by a race set up from its program takes the racer.
    for (int slot = 0; slot < W_SelCount; ++slot) {
        if (Global().SelShozokuMei[size_t(slot)].isEmpty()) {
            fillSlot(slot, panel_->row(line));
            List2->item(slot)->setText(panel_->list()->item(line)->text());
            return;
        }
    }
    if (W_SelCount >= 6) {
        MsgBox(QStringLiteral("既に６人選択済みです。"));
        return;
    }
    pick(panel_->list()->item(line)->text(), panel_->row(line));
}

void SelectForm::pick(const QString& line, const ListRow& row)
{
    if (Global().ExtractMode == 0) {
        Menu_Select->setEnabled(true);
        CommandDisp[4]->setVisible(true);
    }
    List2->addItem(line);
    fillSlot(W_SelCount, row);
    ++W_SelCount;
}

void SelectForm::fillSlot(int slot, const ListRow& row)
{
    GlobalModule& g = Global();
    g.SelShozokuMei[slot] = row.shozokuMei;
    g.SelSensyuID[slot] = row.sensyuId;
    g.SelNamae[slot] = row.namae;
    g.SelKi[slot] = row.ki;
    g.SelSeiNen[slot] = row.seiNen;
    g.SelSeiTuki[slot] = row.seiTuki;
    g.SelSeiHi[slot] = row.seiHi;
    g.SelBladType[slot] = row.bladType;
    g.SelSyoritu[slot] = row.syoritu;
    g.SelFukuritu[slot] = row.fukuritu;
}

void SelectForm::TakeRace(const std::vector<Pick>& racers, int16_t year, int16_t month, int16_t day,
                          const QString& course, int16_t raceNo)
{
    clearSelection();
    // Boats after the last racer found stay out of the box.
    size_t boats = std::min<size_t>(racers.size(), 6);
    while (boats > 0 && racers[boats - 1].row.shozokuMei.isEmpty())
        --boats;
    for (size_t i = 0; i < boats; ++i)
        pick(racers[i].line, racers[i].row);
    // Typed into the boxes, so that their own handling sets the shared
    // variables; the day goes to 1 first so that no step makes an impossible date.
    ComboHi->setEditText(CStr(1));
    ComboNen->setEditText(CStr(year));
    ComboTuki->setEditText(CStr(month));
    ComboHi->setEditText(CStr(day));
    ComboBasho->setEditText(course);
    ComboRace->setEditText(CStr(raceNo));
}

void SelectForm::List2_Click()
{
    const int removed = List2->currentRow();
    if (removed < 0)
        return;
    QStringList lines;
    for (int j = 0; j < 6; ++j)
        lines << (j < List2->count() ? List2->item(j)->text() : QString());
    List2->clear();
    W_SelCount = 0;
    GlobalModule& g = Global();
    for (int j = 0; j < 6; ++j) {
        if (lines[j].isEmpty() || j == removed)
            continue;
        List2->addItem(lines[j]);
        g.copySlot(j, W_SelCount);
        ++W_SelCount;
    }
    for (int slot = W_SelCount; slot < 6; ++slot)
        g.clearSlot(slot);
}

void SelectForm::clearSelection()
{
    List2->clear();
    W_SelCount = 0;
    Menu_Select->setEnabled(false);
    CommandDisp[4]->setVisible(false);
    Global().clearSelection();
}

void SelectForm::switchTable()
{
    panel_->list()->clear();
    GlobalModule& g = Global();
    if (g.ExtractMode == 1) {
        g.ExtractMode = 0;
        showMode();
        Menu_Select->setEnabled(W_SelCount >= 1);
        CommandDisp[4]->setVisible(W_SelCount >= 1);
    } else {
        g.ExtractMode = 1;
        showMode();
        Menu_Select->setEnabled(false);
        CommandDisp[4]->setVisible(false);
    }
}

void SelectForm::addToExtraction()
{
    if (Global().ExtractMode == 1) {
        MsgBox(QStringLiteral("抽出テーブル選択時は抽出テーブルへの追加は出来ません。"), Mb::OKOnly + Mb::Critical,
               QStringLiteral("抽出テーブル追加エラー"));
        return;
    }
    if (MsgBox(QStringLiteral("選択ボックスの選手データを抽出テーブルへ追加しますか。"), Mb::Confirm,
               QStringLiteral("抽出テーブル追加")) != Mb::Yes)
        return;
    Recordset table(*db_, QStringLiteral("T_選手抽出"));
    const GlobalModule& g = Global();
    for (int i = 0; i < W_SelCount; ++i) {
        if (g.SelShozokuMei[size_t(i)].isEmpty())
            continue;  // a boat without a racer
        if (table.RecordCount() >= 500) {
            MsgBox(QStringLiteral("抽出テーブルは５００件までです。既存の抽出テーブルを削除後、再度実行して下さい。"),
                   Mb::OKOnly + Mb::Critical, QStringLiteral("抽出テーブルエラー"));
            return;
        }
        table.AddNew();
        table.setField(QStringLiteral("選手ID"), g.SelSensyuID[size_t(i)]);
        try {
            table.Update();
        } catch (const RuntimeError& error) {
            table.CancelUpdate();
            if (error.number() != EngineError::DuplicateKey)
                throw;
            MsgBox(Basic::Trim(g.SelNamae[size_t(i)]) + QStringLiteral("さんは既に抽出テーブルにあるので追加出来ません。"),
                   Mb::OKOnly + Mb::Critical, QStringLiteral("抽出テーブルエラー"));
        }
    }
}

void SelectForm::CommandDisp_Click(int index)
{
    switch (index) {
    case 0:
        closeWindow();
        break;
    case 1:
        if (std::all_of(Global().SelShozokuMei.begin(), Global().SelShozokuMei.begin() + 6,
                        [](const QString& slot) { return slot.isEmpty(); }))
            MsgBox(QStringLiteral("選手を選択して下さい"));
        else
            Forms::show(QStringLiteral("DispForm"));
        break;
    case 2:
        clearSelection();
        break;
    case 3:
        switchTable();
        break;
    case 4:
        addToExtraction();
        break;
    case 5:
        ShowHelp(ProgramFile(QStringLiteral("Vantor.hlp")));
        break;
    case 6:
        ShowAbout(QStringLiteral("ヴァントール ") + QStringLiteral(" ") + QStringLiteral("Ver1.10"));
        break;
    default:
        break;
    }
}

void SelectForm::Menu_Close_Click() { closeWindow(); }

void SelectForm::closeWindow()
{
    List2->clear();
    W_SelCount = 0;
    Global().clearSelection();
    Forms::show(QStringLiteral("MainForm"));
    Forms::unload(this);
}
