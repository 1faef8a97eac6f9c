#include "SensyuForm.h"

#include "Basic.h"
#include "CharPrinter.h"
#include "Database.h"
#include "EngineErrors.h"
#include "ErrorReport.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "HelpViewer.h"
#include "ListPrint.h"
#include "MainForm.h"
#include "MenuItems.h"
#include "MsgBox.h"
#include "Recordset.h"
#include "SensyuPrint.h"
#include "ToolIcons.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <cmath>

using Basic::CStr;
using Basic::Trim;
using Basic::Val;

namespace {
const QString kSource = QStringLiteral("SensyuForm");
const QString kCrLf = QStringLiteral("\r\n");
const QString kNotShared = QStringLiteral("（選手テーブル自体は削除されません。）");

// A stored value as the edit box shows it; an empty value shows `empty`.
QString shown(const QVariant& value, const QString& empty = QString())
{
    if (value.isNull() || !value.isValid())
        return empty;
    const int type = value.typeId();
    if (type == QMetaType::Double || type == QMetaType::LongLong || type == QMetaType::Int)
        return Basic::NumberText(value.toDouble());
    return value.toString();
}

// Puts a recordset on the racer; a racer that is no longer there is an
// error, never the row the recordset happened to be on: 3167 when the row
// was deleted elsewhere (the import tool rebuilt the table, say), 3021 when
// the number changed since the list was made.
void findRacer(Recordset& rs, int16_t id)
{
    rs.FindFirst(QStringLiteral("選手ID"), id);
    if (rs.NoMatch()) {
        const int number = rs.DeletedElsewhere(id) ? EngineError::RecordDeleted : EngineError::NoCurrentRecord;
        throw RuntimeError(number, kSource, EngineDescription(number));
    }
}

// Saves the edited or added row; a refused row leaves the recordset as it was.
void saveRow(Recordset& rs)
{
    try {
        rs.Update();
    } catch (...) {
        rs.CancelUpdate();
        throw;
    }
}

QLabel* makeLabel(const QString& text, QWidget* parent, const QString& name, int size, int w, int h, int l, int t)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    Set_ControlFont(label, size, w, h, l, t);
    return label;
}

// An editable drop-down that tells a choice made in its open list (a click
// on an item, or Enter on one) apart from the other ways its item changes:
// leaving the box with a text of its list, or the arrow keys on the closed
// box. Only the first is a choice. The open list closes itself just before
// it reports the chosen item, so a choice is an item reported while the list
// has just closed.
class DropDown : public QComboBox {
public:
    DropDown(QWidget* parent, std::function<void()> chosen) : QComboBox(parent), chosen_(std::move(chosen))
    {
        connect(this, &QComboBox::activated, this, [this] {
            if (listClosing_)
                chosen_();
            listClosing_ = false;
        });
    }

    void hidePopup() override
    {
        listClosing_ = true;
        // A list closed without a choice (Esc, a click elsewhere) leaves no mark.
        QTimer::singleShot(0, this, [this] { listClosing_ = false; });
        QComboBox::hidePopup();
    }

private:
    std::function<void()> chosen_;
    bool listClosing_ = false;
};

// Shows a stored name in a drop-down: as its item where the list has it, so
// that the box holds that item (its list opens on it, and leaving the box
// changes nothing), else as plain text.
void showName(QComboBox* box, const QString& name)
{
    const int item = box->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(item);
    if (item < 0)
        box->setEditText(name);
}
}

SensyuForm::SensyuForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("SensyuForm"));
    setWindowTitle(QStringLiteral("選手テーブルメンテナンス"));
    auto* client = new QWidget(this);
    setCentralWidget(client);

    db_ = std::make_unique<Database>(Global().DataFolder);
    SearchPanel::Options options;
    options.reopenBeforeEverySearch = true;
    options.termNoMatchShowsKeys = false;
    options.fullRows = false;
    options.listHeight = 240;
    panel_ = new SearchPanel(client, *db_, options);
    panel_->onSearch = [this](SearchPanel::Kind kind, int key) {
        lastKind_ = kind;
        if (kind == SearchPanel::Kind::Kana)
            lastKana_ = key;
    };
    panel_->onTableChange = [this] { openTable(); };
    shozoku_ = std::make_unique<Recordset>(*db_, QStringLiteral("T_所属"));
    blad_ = std::make_unique<Recordset>(*db_, QStringLiteral("T_血液型"));
    table_ = std::make_unique<Recordset>(*db_, QStringLiteral("T_選手"));

    buildMenus();
    buildToolbar(client);
    buildEditBox(client);
    // Every change of line loads its racer, by mouse or by keyboard, and so
    // does a click on the line already chosen. A click (or Enter) then goes
    // on to the edit box; the arrow keys leave the focus in the list.
    // A click whose press changed the line has loaded it already.
    panel_->list()->viewport()->installEventFilter(this);
    connect(panel_->list(), &QListWidget::currentRowChanged, this, [this] {
        lineChanged_ = pressed_;
        Guarded([&] { List1_Click(); });
    });
    connect(panel_->list(), &QListWidget::itemClicked, this, [this] {
        if (!lineChanged_)
            Guarded([&] { List1_Click(); });
        lineChanged_ = false;
        ComboSyozoku->setFocus();
    });
    // Reading order: the toolbar from the left (its delete-all button takes
    // the add button's place), the search panel, the result list, then the
    // edit box in the order Enter goes through it.
    QList<QWidget*> chain;
    for (int i : {0, 1, 2, 8, 3, 4, 5, 6, 7})
        chain << CommandDisp[size_t(i)];
    chain << panel_->TabStops() << panel_->list();
    for (QWidget* field : ring_)
        chain << field;
    SetTabChain(chain);
    showMode();
    SizeAndCentre(this, 632, 434);

    Guarded([this] {
        fillLookups();
        panel_->fillDropDowns();
    });
}

SensyuForm::~SensyuForm() = default;

void SensyuForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto add = [this](QWidget* menu, const QString& name, const QString& caption, std::function<void()> handler) {
        return AddMenuItem(menu, name, caption, this, std::move(handler));
    };
    add(bar, QStringLiteral("Menu_Close"), QStringLiteral("終了(&X)"), [this] { Menu_Close_Click(); });
    const char* ment[4] = {"更新(&E)", "追加(&A)", "削除(&D)", "印刷(&P)"};
    for (int i = 0; i < 4; ++i)
        Menu_Ment[size_t(i)] = add(bar, QStringLiteral("Menu_Ment_%1").arg(i), QString::fromUtf8(ment[i]),
                                   [this, i] { Menu_Ment_Click(i); });
    QMenu* change = bar->addMenu(QStringLiteral("選手ﾃｰﾌﾞﾙ変更(&T)"));
    change->setObjectName(QStringLiteral("Menu_Change"));
    Menu_Table[0] = add(change, QStringLiteral("Menu_Table_0"), QStringLiteral("抽出→通常ﾃｰﾌﾞﾙ(&N)"), [this] { CommandDisp_Click(5); });
    Menu_Table[1] = add(change, QStringLiteral("Menu_Table_1"), QStringLiteral("通常→抽出ﾃｰﾌﾞﾙ(&O)"), [this] { CommandDisp_Click(5); });
    QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("Meun_Help"));
    add(help, QStringLiteral("Menu_HelpCard"), QStringLiteral("ﾍﾙﾌﾟ(&H)"), [this] { CommandDisp_Click(6); });
    add(help, QStringLiteral("Menu_Help_About"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), [this] { CommandDisp_Click(7); });
}

void SensyuForm::buildToolbar(QWidget* client)
{
    auto* toolbar = new QFrame(client);
    toolbar->setObjectName(QStringLiteral("PictureBotton"));
    Set_Control(toolbar, 350, 28, 4, 0);

    const ToolIcon icons[9] = {ToolIcon::Close, ToolIcon::Update, ToolIcon::Add,   ToolIcon::Delete, ToolIcon::Print,
                               ToolIcon::Close, ToolIcon::Help,   ToolIcon::About, ToolIcon::Clear};
    const char* tips[9] = {"終了します。",
                           "選手データを更新します。",
                           "選手データを追加します。",
                           "選手データを削除します。",
                           "選手データを印刷します。",
                           "選手ﾃｰﾌﾞﾙを通常のﾃｰﾌﾞﾙか各ﾕｰｻﾞｰ抽出後のﾃｰﾌﾞﾙに変更します。",
                           "ﾍﾙﾌﾟを表示します。",
                           "ﾊﾞｰｼﾞｮﾝ情報です。",
                           "リストに表示されている抽出テーブルのデータを全て削除します。"};
    for (int i = 0; i < 9; ++i) {
        auto* button = new QPushButton(toolbar);
        button->setObjectName(QStringLiteral("CommandDisp_%1").arg(i));
        button->setToolTip(QString::fromUtf8(tips[i]));
        if (i == 5) {
            Set_ControlFont(button, 8, 75, 25, 120, 0);
        } else {
            button->setIcon(MakeToolIcon(icons[i]));
            const int left = i <= 4 ? 24 * i : i == 8 ? 48 : 24 * i + 50;
            Set_ControlFont(button, 8, 25, 25, left, 0);
        }
        connect(button, &QPushButton::clicked, this, [this, i] { Guarded([&] { CommandDisp_Click(i); }); });
        CommandDisp[size_t(i)] = button;
    }
    LabelTable = makeLabel(QString(), toolbar, QStringLiteral("LabelTable"), 10, 110, 25, 240, 0);
    LabelTable->setAlignment(Qt::AlignCenter);
}

void SensyuForm::buildEditBox(QWidget* client)
{
    makeLabel(QStringLiteral("編集ボックス"), client, QStringLiteral("LabelSentaku"), 9, 265, 17, 360, 256);
    auto* box = new QFrame(client);
    box->setObjectName(QStringLiteral("PictureHensyu"));
    box->setFrameShape(QFrame::StyledPanel);
    Set_Control(box, 265, 155, 360, 272);

    const char* captions[12] = {"出身", "期", "登番", "名前", "ﾖﾐｶﾞﾅ", "級", "生年", "生月", "生日", "血液型", "勝率", "複勝率"};
    for (int k = 0; k < 12; ++k)
        makeLabel(QString::fromUtf8(captions[k]), box, QStringLiteral("LabelHensyu_%1").arg(k), 9, 40, 17,
                  (k / 6) * 152 + 8, (k % 6) * 24 + 8);

    auto combo = [box](const char* name, int width, int left, int top, std::function<void()> chosen) {
        auto* c = new DropDown(box, std::move(chosen));
        c->setObjectName(QString::fromLatin1(name));
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        Set_ComboFont(c, 9, width, left, top);
        return c;
    };
    auto edit = [box](const char* name, int width, int left, int top) {
        auto* e = new QLineEdit(box);
        e->setObjectName(QString::fromLatin1(name));
        Set_ControlFont(e, 9, width, 18, left, top);
        return e;
    };
    // Choosing a branch or a blood type from the list moves on.
    ComboSyozoku = combo("ComboSyozoku", 81, 48, 8, [this] { Ki->setFocus(); });
    Ki = edit("Ki", 41, 48, 32);
    Toban = edit("Toban", 41, 48, 56);
    Namae = edit("Namae", 105, 48, 80);
    Yomigana = edit("Yomigana", 105, 48, 104);
    Kyu = edit("Kyu", 41, 48, 128);
    Seinen = edit("Seinen", 49, 200, 8);
    Seituki = edit("Seituki", 25, 200, 32);
    Seihi = edit("Seihi", 25, 200, 56);
    ComboBladtype = combo("ComboBladtype", 49, 200, 80, [this] { Syoritu->setFocus(); });
    Syoritu = edit("Syoritu", 49, 200, 104);
    Fukuritu = edit("Fukuritu", 49, 200, 128);

    ring_ = {ComboSyozoku, Ki, Toban, Namae, Yomigana, Kyu, Seinen, Seituki, Seihi, ComboBladtype, Syoritu, Fukuritu};
    for (QWidget* field : ring_) {
        field->installEventFilter(this);
        if (auto* c = qobject_cast<QComboBox*>(field))
            c->lineEdit()->installEventFilter(this);
    }
}

bool SensyuForm::eventFilter(QObject* watched, QEvent* event)
{
    // A press on the list starts a click: whether it changes the line is
    // seen from here on until the button is let go. Enter, a click without
    // a press, always loads its line.
    if (watched == panel_->list()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            pressed_ = true;
            lineChanged_ = false;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            pressed_ = false;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            for (size_t i = 0; i < ring_.size(); ++i) {
                auto* c = qobject_cast<QComboBox*>(ring_[i]);
                if (watched == ring_[i] || (c && watched == c->lineEdit())) {
                    ring_[(i + 1) % ring_.size()]->setFocus();
                    return true;
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void SensyuForm::fillLookups()
{
    // Row k of each table is slot k; a table longer than its slots stops here.
    auto fill = [](Recordset& rs, const QString& nameColumn, const QString& idColumn, auto& table, QComboBox* box) {
        const int name = rs.fieldIndex(nameColumn);
        const int id = rs.fieldIndex(idColumn);
        QStringList names;
        size_t k = 0;
        for (; !rs.eof(); rs.MoveNext(), ++k) {
            if (k >= table.size()) {
                box->addItems(names);
                throw RuntimeError(ErrorNumber::SubscriptOutOfRange, kSource, QStringLiteral("インデックスが有効範囲にありません。"));
            }
            table[k].name = Trim(rs.field(name).toString());
            table[k].id = Basic::CInt(rs.field(id).toDouble());
            names << table[k].name;
        }
        box->addItems(names);
    };
    fill(*shozoku_, QStringLiteral("所属名"), QStringLiteral("所属ID"), shozokuSlots_, ComboSyozoku);
    fill(*blad_, QStringLiteral("血液型名"), QStringLiteral("血液型ID"), bladSlots_, ComboBladtype);
    ComboSyozoku->setCurrentIndex(-1);
    ComboBladtype->setCurrentIndex(-1);
}

void SensyuForm::showMode()
{
    const bool extract = Global().ExtractMode != 0;
    CommandDisp[5]->setText(extract ? QStringLiteral("抽出→通常") : QStringLiteral("通常→抽出"));
    LabelTable->setText(extract ? QStringLiteral("抽出テーブル") : QStringLiteral("通常テーブル"));
    Menu_Ment[1]->setText(extract ? QStringLiteral("全削除(C)") : QStringLiteral("追加(A)"));
    Menu_Table[0]->setEnabled(extract);
    Menu_Table[1]->setEnabled(!extract);
    panel_->PicNo[2]->setVisible(extract);
    CommandDisp[2]->setVisible(!extract);
    CommandDisp[8]->setVisible(extract);
}

namespace {
// The id of the slot holding `name`; 0 with the message `missing` when none
// does. An empty slot stands for no row at all: an empty box matches nothing.
template <typename Slots>
int16_t slotId(const Slots& table, const QString& name, const QString& missing)
{
    for (const auto& slot : table)
        if (!slot.name.isEmpty() && slot.name == name)
            return slot.id;
    MsgBox(missing);
    return 0;
}
}

int16_t SensyuForm::SyozokuID_Kensaku(const QString& name)
{
    return slotId(shozokuSlots_, name, QStringLiteral("所属テーブルなし"));
}

int16_t SensyuForm::BladID_Kensaku(const QString& name)
{
    return slotId(bladSlots_, name, QStringLiteral("血液型テーブルなし"));
}

void SensyuForm::Table_Change() { panel_->Table_Change(); }

void SensyuForm::openTable()
{
    // The new one is opened before the old one goes, so a failure keeps the
    // window usable.
    auto table = std::make_unique<Recordset>(
        *db_, Global().ExtractMode != 0 ? QStringLiteral("T_選手抽出") : QStringLiteral("T_選手"));
    table_ = std::move(table);
}

void SensyuForm::List1_Click()
{
    const int line = panel_->list()->currentRow();
    if (line < 0)
        return;
    Recordset& rs = panel_->recordset();
    findRacer(rs, panel_->row(line).sensyuId);
    auto field = [&rs](const char* name) { return rs.field(QString::fromUtf8(name)); };
    const QString zero = QStringLiteral("0");
    showName(ComboSyozoku, Trim(shown(field("所属名"))));
    Namae->setText(shown(field("名前")));
    Yomigana->setText(shown(field("よみがな")));
    Ki->setText(shown(field("期"), zero));
    Toban->setText(shown(field("選手ID")));
    Kyu->setText(shown(field("級")));
    Seinen->setText(shown(field("生年")));
    Seituki->setText(shown(field("生月")));
    Seihi->setText(shown(field("生日")));
    showName(ComboBladtype, Trim(shown(field("血液型名"))));
    Syoritu->setText(shown(field("勝率"), zero));
    Fukuritu->setText(shown(field("複勝率"), zero));
}

void SensyuForm::writeFields(Recordset& rs, int16_t shozokuId, int16_t bladId)
{
    const QString reading = Yomigana->text();
    rs.setField(QStringLiteral("所属ID"), shozokuId);
    rs.setField(QStringLiteral("期"), WholeNumberBox(Ki->text(), QStringLiteral("期")));
    rs.setField(QStringLiteral("選手ID"), WholeNumberBox(Toban->text(), QStringLiteral("登番")));
    rs.setField(QStringLiteral("名前"), Namae->text());
    rs.setField(QStringLiteral("よみがな"), reading);
    rs.setField(QStringLiteral("よみがな１桁"), Basic::Left(reading, 1));
    rs.setField(QStringLiteral("級"), Kyu->text());
    rs.setField(QStringLiteral("生年"), WholeNumberBox(Seinen->text(), QStringLiteral("生年")));
    rs.setField(QStringLiteral("生月"), WholeNumberBox(Seituki->text(), QStringLiteral("生月")));
    rs.setField(QStringLiteral("生日"), WholeNumberBox(Seihi->text(), QStringLiteral("生日")));
    rs.setField(QStringLiteral("血液型ID"), bladId);
    rs.setField(QStringLiteral("勝率"), Val(Syoritu->text()));
    rs.setField(QStringLiteral("複勝率"), Val(Fukuritu->text()));
}

bool SensyuForm::selectedRacer(QString& racer)
{
    const int line = panel_->list()->currentRow();
    if (line < 0) {
        MsgBox(QStringLiteral("レコードを選択してから実行して下さい。") + kCrLf, Mb::OKOnly + Mb::Critical,
               QStringLiteral("レコード未選択エラー"));
        return false;
    }
    const int16_t id = panel_->row(line).sensyuId;
    Recordset& query = panel_->recordset();
    findRacer(query, id);
    findRacer(*table_, id);
    racer = CStr(id) + QStringLiteral(" ") + query.field(QStringLiteral("名前")).toString();
    return true;
}

void SensyuForm::updateRacer()
{
    QString racer;
    if (!selectedRacer(racer))
        return;
    const QString text = racer + QStringLiteral("　選手の内容を更新しますか。") + kCrLf;
    if (MsgBox(text, Mb::Confirm, QStringLiteral("選手テーブル更新")) != Mb::Yes)
        return;
    storeEditBox(panel_->recordset(), false);
}

void SensyuForm::storeEditBox(Recordset& query, bool adding)
{
    const int16_t shozokuId = SyozokuID_Kensaku(ComboSyozoku->currentText());
    if (shozokuId == 0)
        return;
    const int16_t bladId = BladID_Kensaku(ComboBladtype->currentText());
    if (bladId == 0)
        return;
    // 0 is what a boat holds for "no racer": never a racer's number.
    if (WholeNumberBox(Toban->text(), QStringLiteral("登番")).toDouble() == 0) {
        MsgBox(QStringLiteral("登番を入力して下さい。（0 は登番に使えません。）") + kCrLf, Mb::OKOnly + Mb::Critical,
               QStringLiteral("登番入力エラー"));
        return;
    }
    if (adding)
        query.AddNew();
    else
        query.Edit();
    try {
        writeFields(query, shozokuId, bladId);
    } catch (...) {
        query.CancelUpdate();
        throw;
    }
    saveRow(query);
}

void SensyuForm::addRacer()
{
    if (Global().ExtractMode != 0) {
        MsgBox(QStringLiteral("抽出テーブルの場合は追加処理は選択出来ません") + kCrLf, Mb::OKOnly + Mb::Critical,
               QStringLiteral("抽出テーブル追加処理選択エラー"));
        return;
    }
    if (MsgBox(QStringLiteral("選手テーブルを追加しますか。") + kCrLf, Mb::Confirm, QStringLiteral("選手テーブル追加")) != Mb::Yes)
        return;
    storeEditBox(panel_->recordset(), true);
}

void SensyuForm::deleteRacer()
{
    QString racer;
    if (!selectedRacer(racer))
        return;
    QString text = racer + QStringLiteral("　選手を削除しますか。") + kCrLf;
    QString title = QStringLiteral("選手テーブル削除");
    if (Global().ExtractMode != 0) {
        title = QStringLiteral("選手抽出テーブル削除");
        text += kCrLf + kNotShared + kCrLf + kCrLf;
    }
    if (MsgBox(text, Mb::Confirm, title) != Mb::Yes)
        return;
    table_->Delete();
    repeatLastSearch();
}

void SensyuForm::repeatLastSearch()
{
    switch (lastKind_) {
    case SearchPanel::Kind::Prefecture: panel_->Kenmei_Click(panel_->W_KenNo); break;
    case SearchPanel::Kind::Number: panel_->ComboToban_Click(); break;
    case SearchPanel::Kind::Term: panel_->ComboKi_Click(); break;
    case SearchPanel::Kind::Kana: panel_->ComboNamae_Click(lastKana_); break;
    case SearchPanel::Kind::ListAll: panel_->Command500_Click(); break;
    }
}

void SensyuForm::deleteListed()
{
    QListWidget* list = panel_->list();
    if (list->count() == 0) {
        MsgBox(QStringLiteral("削除したいレコードをリストに表示させてから実行して下さい。") + kCrLf, Mb::OKOnly + Mb::Critical,
               QStringLiteral("抽出テーブル全削除エラー"));
        return;
    }
    const QString text = QStringLiteral("リストに表示されている選手抽出テーブルのデータを全て削除します。") + kCrLf + kNotShared +
                         kCrLf + kCrLf + QStringLiteral("実行しますか。");
    if (MsgBox(text, Mb::Confirm, QStringLiteral("選手抽出テーブル削除")) != Mb::Yes)
        return;
    // Only the extraction table's rows go, never a racer.
    if (table_->source() != QStringLiteral("T_選手抽出"))
        return;

    // Every listed racer, whatever order the list and the table come in;
    // all of them go or, on any error, none.
    QSet<int> listed;
    for (int i = 0; i < list->count(); ++i)
        listed.insert(panel_->row(i).sensyuId);
    Recordset& table = *table_;
    try {
        Database::Transaction transaction(*db_);
        const int id = table.fieldIndex(QStringLiteral("選手ID"));
        if (table.RecordCount() > 0)
            table.MoveFirst();
        // Deleting the last row left may put the recordset at its end at once.
        while (!table.eof()) {
            if (listed.contains(table.field(id).toInt()))
                table.Delete();
            if (!table.eof())
                table.MoveNext();
        }
        transaction.commit();
    } catch (...) {
        // The recordset saw deletions that the database took back.
        openTable();
        throw;
    }
    list->clear();
}

SensyuListKey SensyuForm::listKey() const
{
    SensyuListKey key;
    key.kind = int(lastKind_);
    key.kenNo = panel_->W_KenNo;
    key.kana = lastKana_;
    key.tobanText = panel_->ComboTobanText();
    key.kiText = panel_->ComboKiText();
    return key;
}

void SensyuForm::SensyuPrint()
{
    // The file says which list it is.
    const char* kinds[5] = {"県別", "登番別", "期別", "よみがな別", "一覧"};
    const SensyuListKey key = listKey();
    PrintList(QStringLiteral("選手一覧-") + QString::fromUtf8(kinds[key.kind >= 0 && key.kind < 5 ? key.kind : 4]),
              [this](CharPrinter& printer) { return BuildSensyuList(printer, panel_->recordset(), listKey()); });
}

void SensyuForm::printList()
{
    if (MsgBox(QStringLiteral("選手テーブルを印刷しますか。") + kCrLf, Mb::Confirm, QStringLiteral("選手テーブル印刷")) != Mb::Yes)
        return;
    SensyuPrint();
}

void SensyuForm::switchTable()
{
    panel_->list()->clear();
    GlobalModule& g = Global();
    g.ExtractMode = g.ExtractMode == 1 ? 0 : 1;
    showMode();
}

void SensyuForm::CommandDisp_Click(int index)
{
    switch (index) {
    case 0: Menu_Close_Click(); break;
    case 1: updateRacer(); break;
    case 2: addRacer(); break;
    case 3: deleteRacer(); break;
    case 4: printList(); break;
    case 5: switchTable(); break;
    case 6: ShowHelp(ProgramFile(QStringLiteral("Vantor.hlp"))); break;
    case 7: ShowAbout(AboutTitle()); break;
    case 8: deleteListed(); break;
    default: break;
    }
}

void SensyuForm::Menu_Ment_Click(int index)
{
    if (index == 1)
        CommandDisp_Click(Global().ExtractMode != 0 ? 8 : 2);
    else
        CommandDisp_Click(index + 1);
}

void SensyuForm::Menu_Close_Click()
{
    table_.reset();
    shozoku_.reset();
    blad_.reset();
    Forms::show(QStringLiteral("MainForm"));
    Forms::unload(this);
}
