#include "DispForm.h"

#include "Basic.h"
#include "CharPrinter.h"
#include "Database.h"
#include "ErrorReport.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MenuItems.h"
#include "MsgBox.h"
#include "RaceHeadings.h"
#include "RaceRows.h"
#include "RaceTablePrint.h"
#include "Recordset.h"
#include "Rhythm.h"

#include <QFrame>
#include <QLabel>
#include <QMenuBar>

using Basic::CStr;
using Basic::Format;

namespace {
// A heading line made of texts at given half-width columns.
QString columnLine(std::initializer_list<std::pair<int, const char*>> items)
{
    QString line;
    for (const auto& [column, text] : items) {
        int gap = column - CharPrinter::cells(line);
        for (; gap >= 2; gap -= 2)
            line += QStringLiteral("　");
        if (gap == 1)
            line += QLatin1Char(' ');
        line += QString::fromUtf8(text);
    }
    return line;
}

}

DispForm::DispForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("DispForm"));
    setWindowTitle(QStringLiteral("表示"));
    auto* client = new QWidget(this);
    setCentralWidget(client);

    QMenuBar* bar = menuBar();
    auto add = [this, bar](const char* name, const QString& caption, void (DispForm::*handler)()) {
        AddMenuItem(bar, QString::fromLatin1(name), caption, this, [this, handler] { (this->*handler)(); });
    };
    add("Menu_Close", QStringLiteral("終了(&X)"), &DispForm::Menu_Close_Click);
    add("Menu_Add", QStringLiteral("履歴登録(&A)"), &DispForm::Menu_Add_Click);
    add("Menu_Print", QStringLiteral("印刷(&P)"), &DispForm::Menu_Print_Click);
    add("Menu_Disp", QStringLiteral("グラフ(&G)"), &DispForm::Menu_Disp_Click);

    // Column titles over the row cells, which start at the same x as the
    // titles; a half-width character is 6 pixels at this size.
    const QString titles[2] = {
        columnLine({{0, "No."}, {4, "出身"}, {12, "登番"}, {19, "名前"}, {36, "生年月日"}, {52, "血液"}, {58, "成績"},
                    {71, "バイオリズム評価"}}),
        columnLine({{36, "年"}, {42, "月"}, {46, "日"}, {58, "勝率"}, {64, "複勝率"}, {71, "身体"}, {79, "感情"},
                    {87, "知性"}})};
    const RaceRows rows = BuildRaceRows(client, titles,
                                        {{"LabelNo", 0, 15}, {"LabelShozokuMei", 24, 46}, {"LabelKi", 75, 35},
                                         {"LabelNamae", 115, 99}, {"LabelSeiNen", 216, 33}, {"LabelSeiTuki", 251, 27},
                                         {"LabelSeiHi", 280, 27}, {"LabelBladType", 315, 28}, {"LabelSyoritu", 352, 31},
                                         {"LabelFukuritu", 384, 31}, {"LabelBody", 424, 45}, {"LabelHeart", 472, 45},
                                         {"LabelIntel", 520, 45}});
    PlaceRaceHeadings(rows.frame, 16, 16);
    SizeAndCentre(this, 632, 434);

    db_ = std::make_unique<Database>(Global().DataFolder);
    history_ = std::make_unique<Recordset>(*db_, QStringLiteral("T_レース履歴"));
    courses_ = std::make_unique<Recordset>(*db_, QStringLiteral("T_競艇場"));
    Guarded([this] { fillRows(); });
}

DispForm::~DispForm() = default;

void DispForm::fillRows()
{
    const GlobalModule& g = Global();
    for (int i = 0; i < 6; ++i) {
        const size_t k = size_t(i);
        // A boat without a racer (a race set up from its program) keeps its row, empty.
        if (g.SelShozokuMei[k].isEmpty())
            continue;
        auto set = [this, i](const char* name, const QString& text) { RowLabel(this, name, i)->setText(text); };
        set("LabelNo", CStr(i + 1));
        set("LabelShozokuMei", g.SelShozokuMei[k]);
        set("LabelKi", CStr(g.SelSensyuID[k]));
        set("LabelNamae", Basic::Trim(g.SelNamae[k]));
        set("LabelSeiNen", CStr(g.SelSeiNen[k]));
        set("LabelSeiTuki", CStr(g.SelSeiTuki[k]));
        set("LabelSeiHi", CStr(g.SelSeiHi[k]));
        set("LabelBladType", g.SelBladType[k]);
        set("LabelSyoritu", Format(g.SelSyoritu[k] / 100.0, QStringLiteral("#,##0.00")));
        set("LabelFukuritu", Format(g.SelFukuritu[k] / 10.0, QStringLiteral("#,##0.0")));

        const int32_t d = Rhythm::ElapsedDays(g.ChosaNen, g.ChosaTuki, g.ChosaHi, g.SelSeiNen[k], g.SelSeiTuki[k], g.SelSeiHi[k]);
        const Rhythm::Scores s = Rhythm::TableScores(d);
        ShowScore(RowLabel(this, "LabelBody", i), s.body);
        ShowScore(RowLabel(this, "LabelHeart", i), s.emotion);
        ShowScore(RowLabel(this, "LabelIntel", i), s.intellect);
    }
}

int DispForm::KyoteijyoID(const QString& name)
{
    Recordset& rs = *courses_;
    if (rs.RecordCount() == 0)
        return 0;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
        if (Basic::Trim(rs.field(QStringLiteral("競艇場名")).toString()) == Basic::Trim(name))
            return rs.field(QStringLiteral("競艇場ID")).toInt();
    }
    return 0;
}

void DispForm::Menu_Add_Click()
{
    const GlobalModule& g = Global();
    if (KyoteijyoID(g.SelKyoteijyoMei) == 0) {
        MsgBox(QStringLiteral("競艇場名を選択していないので履歴登録出来ません"));
        return;
    }
    // A race is stored only with a date that exists.
    if (const QString problem = DateProblem(g.ChosaNen, g.ChosaTuki, g.ChosaHi); !problem.isEmpty()) {
        MsgBox(problem);
        return;
    }
    // The question names the date that will be stored: the detail window's
    // date buttons may have moved it away from the one this table shows.
    const QString date = CStr(g.ChosaNen) + QStringLiteral(".") + CStr(g.ChosaTuki) + QStringLiteral(".") + CStr(g.ChosaHi);
    const QString question = alreadyStored()
                                 ? date + QStringLiteral(" のレースは既に登録されています。もう一度登録しますか。\r\n")
                                 : date + QStringLiteral(" のレースを履歴テーブルへ登録しますか。");
    if (MsgBox(question, Mb::Confirm, QStringLiteral("履歴テーブル登録")) != Mb::Yes)
        return;
    Recordset& rs = *history_;
    rs.AddNew();
    rs.setField(QStringLiteral("調査年"), g.ChosaNen);
    rs.setField(QStringLiteral("調査月"), g.ChosaTuki);
    rs.setField(QStringLiteral("調査日"), g.ChosaHi);
    rs.setField(QStringLiteral("競艇場ID"), KyoteijyoID(g.SelKyoteijyoMei));
    rs.setField(QStringLiteral("レースNO"), g.SelRaceNo);
    for (int i = 0; i < 6; ++i)
        rs.setField(QStringLiteral("選手") + CStr(i + 1), g.SelSensyuID[size_t(i)]);
    try {
        rs.Update();
    } catch (...) {
        rs.CancelUpdate();
        throw;
    }
}

bool DispForm::alreadyStored()
{
    const GlobalModule& g = Global();
    Statement find = db_->prepare(QStringLiteral(
        "SELECT 1 FROM T_レース履歴 WHERE 調査年 = ?1 AND 調査月 = ?2 AND 調査日 = ?3 AND 競艇場ID = ?4 AND レースNO = ?5 "
        "LIMIT 1"));
    // The same day, racecourse and race number are the same race, whichever
    // racers it was stored with.
    find.bind(1, g.ChosaNen).bind(2, g.ChosaTuki).bind(3, g.ChosaHi);
    find.bind(4, KyoteijyoID(g.SelKyoteijyoMei)).bind(5, g.SelRaceNo);
    return find.step();
}

void DispForm::Menu_Print_Click()
{
    if (MsgBox(QStringLiteral("ﾊﾞｲｵﾘｽﾞﾑｸﾞﾗﾌを印刷しますか。\r\n"), Mb::Confirm, QStringLiteral("ﾊﾞｲｵﾘｽﾞﾑｸﾞﾗﾌ印刷")) != Mb::Yes)
        return;
    CharPrinter printer(Global().DataFolder, RacePrintTitle(QStringLiteral("バイオリズム表")));
    if (BuildRaceTablePrint(printer) == 0) {
        MsgBox(QStringLiteral("該当レコードがありません"));
        return;
    }
    printer.endDoc();
}

void DispForm::Menu_Disp_Click() { Forms::show(QStringLiteral("BiorForm")); }

void DispForm::Menu_Close_Click()
{
    history_.reset();
    courses_.reset();
    db_.reset();
    Forms::show(QStringLiteral("SelectForm"));
    Forms::unload(this);
}
