#include "MainForm.h"

#include "Database.h"
#include "ErrorReport.h"
#include "EngineErrors.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "HelpViewer.h"
#include "Launcher.h"
#include "MenuItems.h"
#include "MsgBox.h"
#include "RaceArea.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {
const char* const kButtonCaptions[9] = {
    "選手検索", "レース履歴", "個別調査", "選手テーブルメンテナンス", "競艇場テーブルメンテナンス",
    "選手データインポート", "ヘルプ", "作者ソフト紹介", "終了"};
}

QString AboutTitle()
{
    return QString::fromUtf8(MainForm::Title) + QLatin1Char(' ') + QString::fromUtf8(MainForm::Version);
}

void ShowAbout(const QString& title)
{
    const QString crlf = QStringLiteral("\r\n");
    const QString text = QStringLiteral("競艇ファンのためのバイオリズム調査ソフト") + crlf + crlf +
                         QString::fromUtf8(MainForm::Title) + QStringLiteral(" ") + QStringLiteral(" ") +
                         QString::fromUtf8(MainForm::Version) + crlf + crlf +
                         QStringLiteral("Qt と SQLite で作られています。");
    MsgBox(text, Mb::OKOnly + Mb::Information, title);
}

MainForm::MainForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("メインメニュー"));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("MainFormClient"));
    setCentralWidget(client);
    buildMenus();

    PictureWaku = new QFrame(client);
    PictureWaku->setObjectName(QStringLiteral("PictureWaku"));
    Set_Control(PictureWaku, 188, 404, 432, 16);
    for (int i = 0; i < 9; ++i) {
        auto* button = new QPushButton(QString::fromUtf8(kButtonCaptions[i]), PictureWaku);
        button->setObjectName(QStringLiteral("CommandSelect_%1").arg(i));
        Set_ControlFont(button, 9, 185, 41, 0, 40 * i);
        connect(button, &QPushButton::clicked, this, [this, i] { CommandSelect_Click(i); });
        CommandSelect[i] = button;
    }

    LabelTitle = new QLabel(client);
    LabelTitle->setObjectName(QStringLiteral("LabelTitle"));
    Set_ControlFont(LabelTitle, 18, 417, 33, 8, 16);
    LabelTitle->setText(QString::fromUtf8(Title) + QStringLiteral(" ") + QString::fromUtf8(Version));

    PictureRace = new RaceArea(client);
    Set_Control(PictureRace, 417, 363, 8, 56);

    SizeAndCentre(this, 632, 434);
}

void MainForm::buildMenus()
{
    QMenuBar* bar = menuBar();
    AddMenuItem(bar, QStringLiteral("Menu_Close"), QStringLiteral("終了(&X)"), this, [this] { Menu_Close_Click(); });
    AddMenuItem(bar, QStringLiteral("Menu_Select"), QStringLiteral("選手検索(&S&ﾄ)"), this, [this] { Menu_Select_Click(); });
    AddMenuItem(bar, QStringLiteral("Menu_Rireki"), QStringLiteral("ﾚｰｽ履歴(&R&ｽ)"), this, [this] { Menu_Rireki_Click(); });
    AddMenuItem(bar, QStringLiteral("Menu_Original"), QStringLiteral("個別調査(&O&ﾗ)"), this, [this] { Menu_Original_Click(); });

    QMenu* db = bar->addMenu(QStringLiteral("ﾏｽﾀｰﾒﾝﾃ(&M&ﾓ)"));
    db->setObjectName(QStringLiteral("Menu_DB"));
    AddMenuItem(db, QStringLiteral("Menu_Sensyu"), QStringLiteral("選手ﾃｰﾌﾞﾙ(&S&ﾄ)"), this, [this] { Menu_Sensyu_Click(); });
    AddMenuItem(db, QStringLiteral("Menu_Kyoteijyo"), QStringLiteral("競艇場ﾃｰﾌﾞﾙ(&K&ﾉ)"), this, [this] { Menu_Kyoteijyo_Click(); });
    AddMenuItem(db, QStringLiteral("Menu_Import"), QStringLiteral("ｲﾝﾎﾟｰﾄ(&I&ﾆ)"), this, [this] { Menu_Import_Click(); });

    QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H&ｸ)"));
    help->setObjectName(QStringLiteral("Menu_Help"));
    AddMenuItem(help, QStringLiteral("Menu_Help_Card"), QStringLiteral("ﾍﾙﾌﾟ(&H&ｸ)"), this, [this] { Menu_Help_Card_Click(); });
    AddMenuItem(help, QStringLiteral("Menu_Help_Sales"), QStringLiteral("作者ソフト紹介(&I&ﾆ)"), this, [this] { Menu_Help_Sales_Click(); });
    AddMenuItem(help, QStringLiteral("Menu_Help_About"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ(&A&ﾁ)"), this, [this] { Menu_Help_About_Click(); });
}

void MainForm::CommandSelect_Click(int index)
{
    switch (index) {
    case 0: Menu_Select_Click(); break;
    case 1: Menu_Rireki_Click(); break;
    case 2: Menu_Original_Click(); break;
    case 3: Menu_Sensyu_Click(); break;
    case 4: Menu_Kyoteijyo_Click(); break;
    case 5: Menu_Import_Click(); break;
    case 6: Menu_Help_Card_Click(); break;
    case 7: Menu_Help_Sales_Click(); break;
    case 8: Menu_Close_Click(); break;
    default: break;
    }
}

void MainForm::openAndUnload(const QString& formName)
{
    // The main menu goes only once the other window stands; a window that
    // cannot open (its database locked, say) is reported and the menu stays.
    QWidget* opened = nullptr;
    Guarded([&] { opened = Forms::show(formName); });
    if (opened)
        Forms::unload(this);
}

void MainForm::Menu_Select_Click() { openAndUnload(QStringLiteral("SelectForm")); }
void MainForm::Menu_Rireki_Click() { openAndUnload(QStringLiteral("RirekiForm")); }
void MainForm::Menu_Original_Click() { openAndUnload(QStringLiteral("OriginalForm")); }

void MainForm::Menu_Sensyu_Click()
{
    if (Forms::isRegistered(QStringLiteral("SensyuForm"))) {
        Global().clearSelection();
        Global().SelDetailIndex = 0;
    }
    openAndUnload(QStringLiteral("SensyuForm"));
}

void MainForm::Menu_Kyoteijyo_Click()
{
    if (Forms::isRegistered(QStringLiteral("KyoteijyoForm"))) {
        Global().clearSelection();
        Global().SelDetailIndex = 0;
    }
    openAndUnload(QStringLiteral("KyoteijyoForm"));
}

void MainForm::Menu_Import_Click()
{
    // The main menu goes away first; a failed start is reported and the
    // program ends all the same, as it has no window left.
    hide();
    Guarded([] { StartProgram(ProgramFile(QStringLiteral("dorrix"))); });
    Forms::unload(this);
    QApplication::quit();
}

void MainForm::Menu_Help_Card_Click()
{
    Guarded([] { ShowHelp(ProgramFile(QStringLiteral("Vantor.hlp"))); });
}

void MainForm::Menu_Help_Sales_Click()
{
    Guarded([] { Forms::show(QStringLiteral("salesf")); });
}

void MainForm::Menu_Help_About_Click() { ShowAbout(AboutTitle()); }

void MainForm::Menu_Close_Click()
{
    const int answer = MsgBox(QStringLiteral("ヴァントールを終了しますか。\r\n"), Mb::Confirm, QStringLiteral("ヴァントール終了"));
    if (answer != Mb::Yes)
        return;
    hide();
    try {
        Database::compact(Global().DataFolder);
    } catch (const RuntimeError& error) {
        // A database held by another program is left as it is, silently.
        if (error.number() != EngineError::OpenedExclusively)
            ReportError(error);
    }
    Forms::unload(this);
    QApplication::quit();
}
