#include "SearchPanel.h"

#include "Basic.h"
#include "Database.h"
#include "ErrorReport.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "Recordset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStringListModel>
#include <QStyleOptionButton>
#include <algorithm>

using Basic::CInt;
using Basic::CStr;
using Basic::Val;

namespace {
struct Prefecture {
    const char* caption;
    int left;
    int top;
};

// Index = 所属ID; laid out like a map of Japan.
const Prefecture kPrefectures[48] = {
    {"", 0, 0},
    {"北海道", 312, 8}, {"青森", 288, 8}, {"秋田", 272, 40}, {"岩手", 296, 40}, {"宮城", 296, 72},
    {"山形", 272, 72}, {"福島", 280, 104}, {"群馬", 256, 136}, {"栃木", 280, 136}, {"茨城", 304, 136},
    {"埼玉", 256, 168}, {"東京", 280, 168}, {"千葉", 304, 168}, {"神奈川", 256, 200}, {"山梨", 232, 168},
    {"長野", 232, 136}, {"静岡", 232, 200}, {"愛知", 208, 200}, {"岐阜", 208, 168}, {"三重", 184, 232},
    {"新潟", 256, 104}, {"富山", 232, 104}, {"石川", 208, 136}, {"福井", 184, 136}, {"滋賀", 184, 168},
    {"京都", 160, 136}, {"奈良", 184, 200}, {"大阪", 160, 168}, {"和歌山", 160, 200}, {"兵庫", 136, 136},
    {"岡山", 112, 136}, {"広島", 88, 136}, {"山口", 64, 136}, {"島根", 88, 104}, {"鳥取", 112, 104},
    {"徳島", 128, 208}, {"愛媛", 104, 176}, {"香川", 128, 176}, {"高知", 104, 208}, {"福岡", 72, 176},
    {"長崎", 24, 192}, {"佐賀", 48, 176}, {"大分", 72, 208}, {"熊本", 48, 208}, {"宮崎", 72, 240},
    {"鹿児島", 48, 240}, {"沖縄", 16, 240}};

// The kana grid, five rows a column; '*' marks the grid's empty places.
const QString kKana = QStringLiteral("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔ*ﾕ*ﾖﾗﾘﾙﾚﾛﾜ***ﾝ");

// A narrow button whose caption wraps onto a second line when it must.
class MapButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.text.clear();
        style()->drawControl(QStyle::CE_PushButton, &option, &p, this);
        p.setFont(font());
        p.setPen(palette().color(QPalette::ButtonText));
        p.drawText(rect().adjusted(1, 1, -1, -1), Qt::AlignCenter | Qt::TextWrapAnywhere, text());
    }
};

QPushButton* smallButton(const QString& caption, QWidget* parent, const QString& name)
{
    auto* button = new MapButton(caption, parent);
    button->setObjectName(name);
    // Tab reaches it; a click leaves the focus where it was.
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}
}

SearchPanel::SearchPanel(QWidget* window, Database& db, Options options)
    : QFrame(window), db_(db), options_(options), W_ListData(MaxLines)
{
    setObjectName(QStringLiteral("PictureWaku"));
    setFrameShape(QFrame::StyledPanel);
    Set_Control(this, 350, 400, 4, 29);

    for (int i = 1; i <= 47; ++i) {
        QPushButton* button = smallButton(QString::fromUtf8(kPrefectures[i].caption), this, QStringLiteral("Kenmei_%1").arg(i));
        Set_ControlFont(button, 8, 25, 32, kPrefectures[i].left, kPrefectures[i].top);
        connect(button, &QPushButton::clicked, this, [this, i] { Guarded([&] { Kenmei_Click(i); }); });
        Kenmei[size_t(i)] = button;
    }

    CheckSelect = new QCheckBox(QStringLiteral("県･期 AND 検索"), this);
    CheckSelect->setObjectName(QStringLiteral("CheckSelect"));
    Set_ControlFont(CheckSelect, 9, 113, 25, 223, 248);

    const int picLeft[3] = {16, 146, 266};
    const int picWidth[3] = {125, 115, 70};
    for (int k = 0; k < 3; ++k) {
        auto* panel = new QFrame(this);
        panel->setObjectName(QStringLiteral("PicNo_%1").arg(k));
        panel->setFrameShape(QFrame::StyledPanel);
        Set_Control(panel, picWidth[k], 30, picLeft[k], 278);
        PicNo[size_t(k)] = panel;
    }
    auto* labelToban = new QLabel(QStringLiteral("登番検索"), PicNo[0]);
    labelToban->setObjectName(QStringLiteral("LabelToban"));
    Set_ControlFont(labelToban, 9, 50, 20, 6, 6);
    ComboToban = new QComboBox(PicNo[0]);
    ComboToban->setObjectName(QStringLiteral("ComboToban"));
    Set_ComboFont(ComboToban, 9, 55, 60, 2);
    connect(ComboToban, &QComboBox::activated, this, [this] { Guarded([&] { ComboToban_Click(); }); });

    auto* labelKi = new QLabel(QStringLiteral("期検索"), PicNo[1]);
    labelKi->setObjectName(QStringLiteral("LabelKi"));
    Set_ControlFont(labelKi, 9, 50, 20, 6, 6);
    ComboKi = new QComboBox(PicNo[1]);
    ComboKi->setObjectName(QStringLiteral("ComboKi"));
    Set_ComboFont(ComboKi, 9, 55, 50, 2);
    connect(ComboKi, &QComboBox::activated, this, [this] { Guarded([&] { ComboKi_Click(); }); });

    Command500 = new QPushButton(QStringLiteral("一覧検索"), PicNo[2]);
    Command500->setObjectName(QStringLiteral("Command500"));
    Set_ControlFont(Command500, 8, 60, 20, 4, 2);
    connect(Command500, &QPushButton::clicked, this, [this] { Guarded([&] { Command500_Click(); }); });
    PicNo[2]->setVisible(Global().ExtractMode == 1);

    for (int k = 0; k < 50; ++k) {
        const QString caption = kKana.mid(k, 1);
        QPushButton* button = smallButton(caption == QLatin1String("*") ? QString() : caption, this,
                                          QStringLiteral("ComboNamae_%1").arg(k));
        Set_ControlFont(button, 10, 33, 17, 32 * (k / 5) + 16, 16 * (k % 5) + 313);
        // The grid's empty places and ﾝ exist but cannot be pressed.
        button->setVisible(caption != QLatin1String("*") && k != 49);
        connect(button, &QPushButton::clicked, this, [this, k] { Guarded([&] { ComboNamae_Click(k); }); });
        ComboNamae[size_t(k)] = button;
    }

    LabelHyouji = new QLabel(QStringLiteral("出身　  登番　期　氏名"), window);
    LabelHyouji->setObjectName(QStringLiteral("LabelHyouji"));
    Set_ControlFont(LabelHyouji, 9, 265, 17, 360, 0);
    List1 = new QListWidget(window);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setUniformItemSizes(true);
    Set_ControlFont(List1, 9, 265, options_.listHeight, 360, 16);

    recordset_ = std::make_unique<Recordset>(db_, QStringLiteral("Q_選手"));
    cacheFieldIndexes();
}

SearchPanel::~SearchPanel() = default;

QList<QWidget*> SearchPanel::TabStops() const
{
    // The map is read row by row from the left; a button set half a row
    // lower belongs to the row it overlaps most.
    std::vector<int> map;
    for (int i = 1; i <= 47; ++i)
        map.push_back(i);
    auto row = [](int i) { return qRound((kPrefectures[i].top - 8) / 32.0); };
    std::stable_sort(map.begin(), map.end(), [&](int a, int b) {
        return std::pair(row(a), kPrefectures[a].left) < std::pair(row(b), kPrefectures[b].left);
    });
    QList<QWidget*> stops;
    for (int i : map)
        stops << Kenmei[size_t(i)];
    stops << CheckSelect << ComboToban << ComboKi << Command500;
    // The kana grid in the order of the syllabary: column by column.
    for (QPushButton* kana : ComboNamae)
        stops << kana;
    return stops;
}

QString SearchPanel::ComboTobanText() const { return ComboToban->currentText(); }
QString SearchPanel::ComboKiText() const { return ComboKi->currentText(); }

void SearchPanel::fillDropDowns()
{
    QStringList terms;
    {
        Recordset rs(db_, QStringLiteral("Q_期"));
        const int c = rs.fieldIndex(QStringLiteral("期"));
        for (; !rs.eof(); rs.MoveNext())
            terms << CStr(rs.field(c).toLongLong());
    }
    QStringList numbers;
    {
        Recordset rs(db_, QStringLiteral("Q_登番"));
        const int c = rs.fieldIndex(QStringLiteral("登番"));
        numbers.reserve(rs.RecordCount());
        for (; !rs.eof(); rs.MoveNext())
            numbers << CStr(rs.field(c).toLongLong());
    }
    // A list model fills a long drop-down far faster than item by item.
    ComboKi->setModel(new QStringListModel(terms, ComboKi));
    ComboToban->setModel(new QStringListModel(numbers, ComboToban));
    ComboKi->setCurrentIndex(-1);
    ComboToban->setCurrentIndex(-1);
}

RacerFields RacerFields::of(const Recordset& rs)
{
    RacerFields f;
    f.shozokuId = rs.fieldIndex(QStringLiteral("所属ID"));
    f.shozokuMei = rs.fieldIndex(QStringLiteral("所属名"));
    f.sensyuId = rs.fieldIndex(QStringLiteral("選手ID"));
    f.ki = rs.fieldIndex(QStringLiteral("期"));
    f.namae = rs.fieldIndex(QStringLiteral("名前"));
    f.toban = rs.fieldIndex(QStringLiteral("登番"));
    f.yomiganaId = rs.fieldIndex(QStringLiteral("よみがなID"));
    f.seiNen = rs.fieldIndex(QStringLiteral("生年"));
    f.seiTuki = rs.fieldIndex(QStringLiteral("生月"));
    f.seiHi = rs.fieldIndex(QStringLiteral("生日"));
    f.bladType = rs.fieldIndex(QStringLiteral("血液型名"));
    f.syoritu = rs.fieldIndex(QStringLiteral("勝率"));
    f.fukuritu = rs.fieldIndex(QStringLiteral("複勝率"));
    return f;
}

void SearchPanel::cacheFieldIndexes() { f_ = RacerFields::of(*recordset_); }

void SearchPanel::Table_Change()
{
    // The new recordset is opened before the old one goes: when it cannot
    // be opened the window keeps a usable one.
    auto reopened = std::make_unique<Recordset>(
        db_, Global().ExtractMode != 0 ? QStringLiteral("Q_選手抽出") : QStringLiteral("Q_選手"));
    recordset_ = std::move(reopened);
    cacheFieldIndexes();
    if (onTableChange)
        onTableChange();
}

QString List_Add(const Recordset& rs, const RacerFields& f, ListRow& row, bool fullRow)
{
    const QString ken = Basic::Trim(rs.field(f.shozokuMei).toString());
    const QString name = rs.field(f.namae).toString();
    const qint64 id = rs.field(f.sensyuId).toLongLong();
    const qint64 ki = rs.field(f.ki).toLongLong();
    const QString line = ken + (ken.size() == 2 ? QStringLiteral("    ") : QStringLiteral(" ")) + CStr(id) +
                         QStringLiteral("  ") + CStr(ki) + QStringLiteral("  ") + name;
    row.sensyuId = CInt(double(id));
    if (!fullRow)
        return line;
    row.shozokuMei = Basic::Fixed(ken, 6);
    row.namae = Basic::Fixed(name, 22);
    row.ki = CInt(double(ki));
    row.seiNen = CInt(rs.field(f.seiNen).toDouble());
    row.seiTuki = CInt(rs.field(f.seiTuki).toDouble());
    row.seiHi = CInt(rs.field(f.seiHi).toDouble());
    row.bladType = Basic::Trim(rs.field(f.bladType).toString());
    // Multiplied first, then rounded half to even.
    row.syoritu = CInt(rs.field(f.syoritu).toDouble() * 100);
    row.fukuritu = CInt(rs.field(f.fukuritu).toDouble() * 10);
    return line;
}

void SearchPanel::addLine(int n, QStringList& lines)
{
    lines << List_Add(*recordset_, f_, W_ListData[size_t(n)], options_.fullRows);
}

void SearchPanel::scan(const Search& search, const std::function<bool()>& findStart,
                       const std::function<bool(int)>& matches)
{
    List1->clear();
    QStringList lines;
    int n = 0;
    bool overflow = false;
    try {
        Recordset& rs = *recordset_;
        if (findStart()) {
            for (; !rs.eof(); rs.MoveNext()) {
                if (!matches(n))
                    continue;
                addLine(n, lines);
                if (++n >= MaxLines) {
                    overflow = true;
                    break;
                }
            }
        }
    } catch (...) {
        List1->addItems(lines);  // the lines found so far stay listed
        throw;
    }
    List1->addItems(lines);
    if (overflow)
        MsgBox(QString::fromUtf8(search.overflowMessage));
    else if (n == 0)
        // The racer table is empty only when the search read it: a search
        // may still read the other table than the one the mode names.
        MsgBox(recordset_->source() == QStringLiteral("Q_選手") && recordset_->RecordCount() == 0
                   ? EmptyRacerTableText()
                   : search.noMatchMessage);
}

void SearchPanel::Kenmei_Click(int index)
{
    if (onSearch)
        onSearch(Kind::Prefecture, index);
    Table_Change();
    W_KenNo = int16_t(index);
    const bool andSearch = CheckSelect->isChecked();
    Recordset& rs = *recordset_;
    scan({Kind::Prefecture, "県別領域オーバーフロー", QStringLiteral("該当レコードがありません")},
         [&] { rs.FindFirst(QStringLiteral("所属ID"), index); return !rs.NoMatch(); },
         [&](int) {
             return rs.field(f_.shozokuId).toLongLong() == index &&
                    (!andSearch || rs.field(f_.ki).toLongLong() == W_KI);
         });
}

void SearchPanel::ComboKi_Click()
{
    W_KI = CInt(Val(ComboKi->currentText()));
    if (onSearch)
        onSearch(Kind::Term, W_KI);
    if (options_.reopenBeforeEverySearch)
        Table_Change();
    const bool andSearch = CheckSelect->isChecked();
    Recordset& rs = *recordset_;
    const QString noMatch = options_.termNoMatchShowsKeys
        ? QStringLiteral("該当レコードがありません W_KI & W_KenNo") + CStr(W_KI) + QStringLiteral("&") + CStr(W_KenNo)
        : QStringLiteral("該当レコードがありません");
    scan({Kind::Term, "期別領域オーバーフロー", noMatch},
         [&] { rs.FindFirst(QStringLiteral("期"), W_KI); return !rs.NoMatch(); },
         [&](int) {
             return rs.field(f_.ki).toLongLong() == W_KI &&
                    (!andSearch || rs.field(f_.shozokuId).toLongLong() == W_KenNo);
         });
}

void SearchPanel::ComboToban_Click()
{
    W_Toban = CInt(Val(ComboToban->currentText()));
    if (onSearch)
        onSearch(Kind::Number, W_Toban);
    if (options_.reopenBeforeEverySearch)
        Table_Change();
    Recordset& rs = *recordset_;
    scan({Kind::Number, "登番別領域オーバーフロー", QStringLiteral("該当レコードがありません")},
         [&] { rs.FindFirst(QStringLiteral("登番"), W_Toban); return !rs.NoMatch(); },
         [&](int) { return rs.field(f_.toban).toLongLong() == W_Toban; });
}

void SearchPanel::ComboNamae_Click(int index)
{
    if (onSearch)
        onSearch(Kind::Kana, index);
    if (options_.reopenBeforeEverySearch)
        Table_Change();
    Recordset& rs = *recordset_;
    scan({Kind::Kana, "よみがな別領域オーバーフロー", QStringLiteral("該当レコードがありません")},
         [&] { rs.FindFirst(QStringLiteral("よみがなID"), index); return !rs.NoMatch(); },
         [&](int) { return rs.field(f_.yomiganaId).toLongLong() == index; });
}

void SearchPanel::Command500_Click()
{
    if (onSearch)
        onSearch(Kind::ListAll, 0);
    Table_Change();
    Recordset& rs = *recordset_;
    // An empty table is reported before the list is touched.
    if (rs.RecordCount() == 0) {
        MsgBox(QStringLiteral("該当レコードがありません"));
        return;
    }
    scan({Kind::ListAll, "一覧検索領域オーバーフロー", QStringLiteral("該当レコードがありません")},
         [&] {
             rs.MoveFirst();
             return true;
         },
         [](int) { return true; });
}
