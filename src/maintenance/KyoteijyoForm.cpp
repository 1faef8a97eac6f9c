#include "KyoteijyoForm.h"

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

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

using Basic::Fixed;

namespace {
const QString kTable = QStringLiteral("T_競艇場");
const QString kId = QStringLiteral("競艇場ID");
const QString kName = QStringLiteral("競艇場名");

}

KyoteijyoForm::KyoteijyoForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("KyoteijyoForm"));
    setWindowTitle(QStringLiteral("競艇場テーブルメンテナンス"));
    db_ = std::make_unique<Database>(Global().DataFolder);
    rs_ = std::make_unique<Recordset>(*db_, kTable);
    buildControls();
    SizeAndCentre(this, 632, 434);
    navigator_ = std::make_unique<RecordNavigator>(*rs_, RecordNo, [this] { showRow(); });
    // An empty table opens with empty boxes and number 0; "追加" fills it.
    Guarded([this] { navigator_->start(); });
}

KyoteijyoForm::~KyoteijyoForm() = default;

void KyoteijyoForm::buildControls()
{
    QMenuBar* bar = menuBar();
    AddMenuItem(bar, QStringLiteral("Menu_Close"), QStringLiteral("終了(&C)"), this, [this] { Menu_Close_Click(); });
    CommandButtons::AddMenus(bar, this, [this](int i) { CommandDB_Click(i); });
    QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("Menu_Help"));
    AddMenuItem(help, QStringLiteral("Menu_HelpCard"), QStringLiteral("ﾍﾙﾌﾟ(&H)"), this,
                [] { ShowHelp(ProgramFile(QStringLiteral("Vantor.hlp"))); });
    AddMenuItem(help, QStringLiteral("Menu_Help_About"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"), this, [] { ShowAbout(AboutTitle()); });

    auto* client = new QWidget(this);
    setCentralWidget(client);
    QFrame* waku = CommandButtons::Panel(client, "PictureWaku", 8, 8, 609, 417);
    QFrame* buttons = CommandButtons::Panel(waku, "PictureButton", 32, 24, 545, 65);
    QFrame* hyouji = CommandButtons::Panel(waku, "PictureHyouji", 32, 120, 545, 265);
    QFrame* record = CommandButtons::Panel(hyouji, "PictureRecord", 56, 32, 441, 209);
    record->setFrameShape(QFrame::NoFrame);

    CommandDB = CommandButtons::Create(record, buttons, this, [this](int i) { CommandDB_Click(i); });
    for (int i = 0; i < 8; ++i) {
        if (i < 4)
            Set_ControlFont(CommandDB[size_t(i)], 9, 73, 33, i * 72, 0);
        else
            Set_ControlFont(CommandDB[size_t(i)], 9, 73, 33, (i - 4) * 72 + 56, 16);
    }

    auto* recNo = new QLabel(QStringLiteral("RecNo."), record);
    recNo->setObjectName(QStringLiteral("LabelRecNo"));
    Set_ControlFont(recNo, 9, 49, 31, 288, 0);
    RecordNo = new QLineEdit(record);
    RecordNo->setObjectName(QStringLiteral("RecordNo"));
    RecordNo->setReadOnly(true);
    Set_ControlFont(RecordNo, 14, 105, 31, 336, 0);

    const QString captions[2] = {kId, kName};
    for (int i = 0; i < 2; ++i) {
        auto* label = new QLabel(captions[i], record);
        label->setObjectName(QStringLiteral("LabelKyotei_%1").arg(i));
        Set_ControlFont(label, 16, 129, 25, 56, 56 + 48 * i);
    }
    KyoteijyoID = new QLineEdit(record);
    KyoteijyoID->setObjectName(QStringLiteral("KyoteijyoID"));
    Set_ControlFont(KyoteijyoID, 16, 73, 25, 312, 56);
    KyoteijyoMei = new QLineEdit(record);
    KyoteijyoMei->setObjectName(QStringLiteral("KyoteijyoMei"));
    Set_ControlFont(KyoteijyoMei, 16, 145, 25, 240, 104);
}

void KyoteijyoForm::showRow()
{
    KyoteijyoID->setText(Null_Value(rs_->field(kId), 1).toString());
    KyoteijyoMei->setText(Null_Value(rs_->field(kName), 1).toString());
}

void KyoteijyoForm::setFields()
{
    // A fraction is refused here; the database refuses an ID outside 16 bits
    // or one that is already there.
    rs_->setField(kId, WholeNumberBox(KyoteijyoID->text(), kId));
    rs_->setField(kName, KyoteijyoMei->text());
}

void KyoteijyoForm::CommandDB_Click(int index)
{
    navigator_->command(index, QStringLiteral("競艇場"), [this] { setFields(); }, [this] { Kyoteijyo_Print(); });
}

int BuildKyoteijyoList(CharPrinter& printer, Recordset& courses)
{
    ListLayout layout{QStringLiteral("競艇場一覧表"), {{10, QStringLiteral("競艇場")}},
                      [](CharPrinter& p, const Recordset& row) {
                          p.printAt(10, Fixed(Null_Value(row.field(kId), 1).toString(), 4));
                          p.printAt(15, Fixed(Null_Value(row.field(kName), 1).toString(), 12), true);
                      }};
    return BuildList(printer, courses, layout);
}

void KyoteijyoForm::Kyoteijyo_Print()
{
    // The list reads the table through its own recordset, so the window's
    // current row stays where it is.
    PrintList(QStringLiteral("競艇場一覧表"), [this](CharPrinter& printer) {
        Recordset courses(*db_, kTable);
        return BuildKyoteijyoList(printer, courses);
    });
}

void KyoteijyoForm::Menu_Close_Click()
{
    navigator_.reset();
    rs_.reset();
    db_.reset();
    Forms::show(QStringLiteral("MainForm"));
    Forms::unload(this);
}
