#include "Database.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MainForm.h"
#include "MsgBox.h"
#include "RaceArea.h"
#include "Recordset.h"
#include "RuntimeError.h"
#include "SalesForm.h"
#include "ShellTest.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QPointer>
#include <QTextBrowser>

namespace {
std::unique_ptr<TestFolder> g_folder;

MainForm* mainForm() { return qobject_cast<MainForm*>(Forms::find(QStringLiteral("MainForm"))); }

void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

void click(const QString& name)
{
    auto* button = child<QPushButton>(mainForm(), name);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

// A stand-in for a window of a later part: it returns to the main menu.
class StandInForm : public QMainWindow {
public:
    explicit StandInForm(const QString& name)
    {
        setObjectName(name);
        auto* close = menuBar()->addAction(QStringLiteral("終了(&X)"));
        close->setObjectName(QStringLiteral("Menu_Close"));
        connect(close, &QAction::triggered, this, [this] {
            Forms::show(QStringLiteral("MainForm"));
            Forms::unload(this);
        });
    }
};
}

void MainFormTest::init()
{
    g_folder = std::make_unique<TestFolder>();
    { Database db(g_folder->folder()); }
    Forms::registerForm(QStringLiteral("MainForm"), [] { return new MainForm; });
    Forms::registerForm(QStringLiteral("salesf"), [] { return new SalesForm; });
    QVERIFY(Forms::show(QStringLiteral("MainForm")));
}

void MainFormTest::cleanup()
{
    UnloadAllWindows();
    g_folder.reset();
}

void MainFormTest::layoutAndCaptions()
{
    MainForm* form = mainForm();
    QCOMPARE(form->windowTitle(), QStringLiteral("メインメニュー"));
    QCOMPARE(form->centralWidget()->size(), QSize(632, 434));
    QCOMPARE(child<QLabel>(form, "LabelTitle")->text(), QStringLiteral("ヴァントール Ver1.10"));
    QCOMPARE(child<QWidget>(form, "PictureWaku")->geometry(), QRect(432, 16, 188, 404));
    QCOMPARE(child<QWidget>(form, "PictureRace")->geometry(), QRect(8, 56, 417, 363));
    const QStringList captions{"選手検索", "レース履歴", "個別調査", "選手テーブルメンテナンス", "競艇場テーブルメンテナンス",
                               "選手データインポート", "ヘルプ", "作者ソフト紹介", "終了"};
    for (int i = 0; i < 9; ++i) {
        auto* button = child<QPushButton>(form, QStringLiteral("CommandSelect_%1").arg(i));
        QVERIFY(button);
        QCOMPARE(button->text(), captions[i]);
        QCOMPARE(button->geometry(), QRect(0, 40 * i, 185, 41));
        QCOMPARE(button->font().pointSize(), 9);
    }
    QCOMPARE(child<QLabel>(form, "LabelTitle")->font().pointSize(), 18);
    // The race stands at its start.
    QCOMPARE(child<QLabel>(form, "LabelSyukai")->text(), QStringLiteral("0"));
    QVERIFY(child<QLabel>(form, "LabelResult")->text().isEmpty());
    QVERIFY(child<QLabel>(form, "LabelJyuni")->isHidden());
    QCOMPARE(child<QWidget>(form, "Senshu_5")->geometry(), QRect(0, 16 * 5 + 168, 32, 32));
}

void MainFormTest::menuBarOrderAndCaptions()
{
    MainForm* form = mainForm();
    QStringList top;
    for (QAction* action : form->menuBar()->actions())
        top << action->text();
    QCOMPARE(top, (QStringList{"終了(&X)", "選手検索(&S&ﾄ)", "ﾚｰｽ履歴(&R&ｽ)", "個別調査(&O&ﾗ)", "ﾏｽﾀｰﾒﾝﾃ(&M&ﾓ)", "ﾍﾙﾌﾟ(&H&ｸ)"}));
    QCOMPARE(form->menuBar()->actions()[0]->objectName(), QStringLiteral("Menu_Close"));

    auto names = [](QMenu* menu) {
        QStringList list;
        for (QAction* action : menu->actions())
            list << action->objectName() + QLatin1Char('=') + action->text();
        return list;
    };
    QCOMPARE(names(child<QMenu>(form, "Menu_DB")),
             (QStringList{"Menu_Sensyu=選手ﾃｰﾌﾞﾙ(&S&ﾄ)", "Menu_Kyoteijyo=競艇場ﾃｰﾌﾞﾙ(&K&ﾉ)", "Menu_Import=ｲﾝﾎﾟｰﾄ(&I&ﾆ)"}));
    QCOMPARE(names(child<QMenu>(form, "Menu_Help")),
             (QStringList{"Menu_Help_Card=ﾍﾙﾌﾟ(&H&ｸ)", "Menu_Help_Sales=作者ソフト紹介(&I&ﾆ)", "Menu_Help_About=ﾊﾞｰｼﾞｮﾝ(&A&ﾁ)"}));
}

void MainFormTest::everyMenuItemShowsItsWholeCaption() { VerifyMenusShowWholeCaptions(mainForm()); }

void MainFormTest::anEntryWithoutItsWindowSaysSo()
{
    click(QStringLiteral("CommandSelect_2"));  // 個別調査: its window is not part of the program yet
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QVERIFY(MsgBoxScript::shown()[0].text.contains(QStringLiteral("まだ使用できません")));
    processDeletes();
    QVERIFY(mainForm() && mainForm()->isVisible());
}

void MainFormTest::anEntryOpensItsWindowAndUnloadsTheMenu()
{
    Forms::registerForm(QStringLiteral("RirekiForm"), [] { return new StandInForm(QStringLiteral("RirekiForm")); });
    mainForm()->findChild<QAction*>(QStringLiteral("Menu_Rireki"))->trigger();
    processDeletes();
    QVERIFY(!mainForm());
    QWidget* history = Forms::find(QStringLiteral("RirekiForm"));
    QVERIFY(history && history->isVisible());

    history->findChild<QAction*>(QStringLiteral("Menu_Close"))->trigger();
    processDeletes();
    QVERIFY(!Forms::find(QStringLiteral("RirekiForm")));
    QVERIFY(mainForm() && mainForm()->isVisible());
    // Loaded afresh: the race is back at its start.
    QCOMPARE(child<QLabel>(mainForm(), "LabelSyukai")->text(), QStringLiteral("0"));
    QVERIFY(MsgBoxScript::shown().empty());
}

void MainFormTest::aWindowThatCannotOpenLeavesTheMenu()
{
    Forms::registerForm(QStringLiteral("OriginalForm"), []() -> QWidget* {
        throw RuntimeError(3356, QStringLiteral("Database"), QStringLiteral("database is locked"));
    });
    click(QStringLiteral("CommandSelect_2"));
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QVERIFY(MsgBoxScript::shown()[0].text.startsWith(QStringLiteral("エラー番号  3356Database")));
    processDeletes();
    QVERIFY(mainForm() && mainForm()->isVisible());
}

void MainFormTest::maintenanceEntriesClearTheSelection()
{
    Forms::registerForm(QStringLiteral("SensyuForm"), [] { return new StandInForm(QStringLiteral("SensyuForm")); });
    GlobalModule& g = Global();
    for (int slot : {0, 5, 6}) {
        g.SelShozokuMei[slot] = QStringLiteral("東京  ");
        g.SelSensyuID[slot] = 3945;
        g.SelSeiNen[slot] = 1970;
    }
    g.SelDetailIndex = 6;
    click(QStringLiteral("CommandSelect_3"));
    QVERIFY(Forms::find(QStringLiteral("SensyuForm")));
    QVERIFY(g.SelShozokuMei[0].isEmpty() && g.SelShozokuMei[5].isEmpty());
    QCOMPARE(g.SelSensyuID[0], int16_t(0));
    QCOMPARE(g.SelSeiNen[5], int16_t(0));
    QCOMPARE(g.SelSensyuID[6], int16_t(3945));  // the roster person stays
    QCOMPARE(g.SelDetailIndex, int16_t(0));
}

void MainFormTest::exitAnsweredNoChangesNothing()
{
    auto* race = child<RaceArea>(mainForm(), "PictureRace");
    race->CommandStart_Click();
    const QByteArray before = FileBytes(g_folder->file("Vantor.mdb"));
    MsgBoxScript::queue(Mb::No);
    click(QStringLiteral("CommandSelect_8"));
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    const ShownBox box = MsgBoxScript::shown()[0];
    QCOMPARE(box.text, QStringLiteral("ヴァントールを終了しますか。\r\n"));
    QCOMPARE(box.title, QStringLiteral("ヴァントール終了"));
    QCOMPARE(box.style, Mb::YesNo + Mb::Question + Mb::DefaultButton2);
    processDeletes();
    QVERIFY(mainForm() && mainForm()->isVisible());
    QVERIFY(race->running());
    QCOMPARE(FileBytes(g_folder->file("Vantor.mdb")), before);
}

void MainFormTest::exitCompactsTheDatabase()
{
    {
        Database db(g_folder->folder());
        Recordset rs(db, QStringLiteral("T_個別名簿"));
        for (int i = 0; i < 300; ++i) {
            rs.AddNew();
            // Bulk in a text without a length: a name holds at most 22 characters.
            rs.setField(QStringLiteral("名前"), QString(22, QLatin1Char('x')));
            rs.setField(QStringLiteral("生月"), QString(200, QLatin1Char('x')));
            rs.Update();
        }
        rs.MoveFirst();
        for (int i = 0; i < 299; ++i) {
            rs.Delete();
            rs.MoveNext();
        }
    }
    const qint64 before = QFile(g_folder->file("Vantor.mdb")).size();
    MsgBoxScript::queue(Mb::Yes);
    mainForm()->findChild<QAction*>(QStringLiteral("Menu_Close"))->trigger();
    processDeletes();
    QVERIFY(!mainForm());
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));  // the question only
    QVERIFY(!QFile::exists(g_folder->file("keinew.mdb")));
    QVERIFY(QFile(g_folder->file("Vantor.mdb")).size() < before);
    Database db(g_folder->folder());
    QCOMPARE(Recordset(db, QStringLiteral("T_個別名簿")).RecordCount(), 1);
}

void MainFormTest::exitRemovesTheRestOfAnInterruptedCompaction()
{
    {
        Database db(g_folder->folder());
        Recordset rs(db, QStringLiteral("T_個別名簿"));
        rs.AddNew();
        rs.setField(QStringLiteral("名前"), QStringLiteral("山田"));
        rs.Update();
    }
    // Beside the database, these can only be what a stopped compaction left.
    WriteFile(g_folder->file("keinew.mdb"), "left from an earlier run");
    WriteFile(g_folder->file("keinew.mdb-journal"), QByteArray(512, '\x01'));
    MsgBoxScript::queue(Mb::Yes);
    click(QStringLiteral("CommandSelect_8"));
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));  // the question only
    QVERIFY(!QFile::exists(g_folder->file("keinew.mdb")));
    QVERIFY(!QFile::exists(g_folder->file("keinew.mdb-journal")));
    Database db(g_folder->folder());
    QCOMPARE(Recordset(db, QStringLiteral("T_個別名簿")).RecordCount(), 1);
}

void MainFormTest::exitWhileAnotherProgramHoldsTheDatabase()
{
    Database held(g_folder->folder());
    const QByteArray before = FileBytes(g_folder->file("Vantor.mdb"));
    MsgBoxScript::queue(Mb::Yes);
    click(QStringLiteral("CommandSelect_8"));
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));  // nothing reported
    QCOMPARE(FileBytes(g_folder->file("Vantor.mdb")), before);
    QVERIFY(!QFile::exists(g_folder->file("keinew.mdb")));
    processDeletes();
    QVERIFY(!mainForm());
}

void MainFormTest::exitWhileTheEngineIsLockedLeavesNoCopy()
{
    const QByteArray before = FileBytes(g_folder->file("Vantor.mdb"));
    {
        EngineLock held(g_folder->file("Vantor.mdb"));
        MsgBoxScript::queue(Mb::Yes);
        click(QStringLiteral("CommandSelect_8"));
    }
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));  // skipped silently
    QVERIFY(!QFile::exists(g_folder->file("keinew.mdb")));
    QCOMPARE(FileBytes(g_folder->file("Vantor.mdb")), before);
    processDeletes();
    QVERIFY(!mainForm());
}

void MainFormTest::importEntryReportsAMissingTool()
{
    click(QStringLiteral("CommandSelect_5"));
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QVERIFY(MsgBoxScript::shown()[0].text.startsWith(QStringLiteral("エラー番号  53")));
    processDeletes();
    QVERIFY(!mainForm());
}

void MainFormTest::importEntryStartsTheTool()
{
    const QString marker = g_folder->file("started");
    {
        QFile tool(g_folder->file("dorrix"));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write(QStringLiteral("#!/bin/sh\npwd > '%1'\n").arg(marker).toUtf8());
        tool.setPermissions(tool.permissions() | QFile::ExeOwner);
    }
    mainForm()->findChild<QAction*>(QStringLiteral("Menu_Import"))->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker) && QFile(marker).size() > 0, 5000);
    QVERIFY(MsgBoxScript::shown().empty());
    processDeletes();
    QVERIFY(!mainForm());
}

void MainFormTest::aboutBox()
{
    mainForm()->findChild<QAction*>(QStringLiteral("Menu_Help_About"))->trigger();
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    const ShownBox box = MsgBoxScript::shown()[0];
    QCOMPARE(box.title, QStringLiteral("ヴァントール Ver1.10"));
    QVERIFY(box.text.contains(QStringLiteral("\r\nヴァントール  Ver1.10\r\n")));
    QCOMPARE(box.style, Mb::OKOnly + Mb::Information);
}

void MainFormTest::helpOpensTheContentsPage()
{
    click(QStringLiteral("CommandSelect_6"));  // no help file in this folder
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    QVERIFY(MsgBoxScript::shown()[0].text.contains(QStringLiteral("Vantor.hlp")));

    QVERIFY(QFile::copy(QStringLiteral(VANTOR_SOURCE_DIR "/help/vantor-help.html"),
                        g_folder->file("Vantor.hlp")));
    click(QStringLiteral("CommandSelect_6"));
    auto findViewer = [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QStringLiteral("HelpViewer"))
                return qobject_cast<QDialog*>(window);
        return mainForm() ? mainForm()->findChild<QDialog*>(QStringLiteral("HelpViewer")) : nullptr;
    };
    QPointer<QDialog> viewer = findViewer();
    QVERIFY(viewer && viewer->isVisible());
    const QString text = viewer->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"))->toPlainText();
    QVERIFY(text.contains(QStringLiteral("目次")));
    QVERIFY(text.contains(QStringLiteral("メインメニュー")));

    // The help stays open while the window that opened it closes (the
    // main menu, when it opens another window).
    Forms::registerForm(QStringLiteral("RirekiForm"), [] { return new StandInForm(QStringLiteral("RirekiForm")); });
    click(QStringLiteral("CommandSelect_1"));
    processDeletes();
    QVERIFY(!mainForm());
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(findViewer(), viewer.data());
    viewer->close();
    processDeletes();
    QVERIFY(!viewer);
}

void MainFormTest::raceRunsToTheGoal()
{
    auto* race = child<RaceArea>(mainForm(), "PictureRace");
    click(QStringLiteral("CommandStart"));
    QVERIFY(race->running());
    int ticks = 0;
    std::array<int, 6> before{};
    while (race->running() && ticks < 1000) {
        for (int i = 0; i < 6; ++i)
            before[i] = race->boatAngle(i);
        race->Timer1_Timer();
        ++ticks;
        for (int i = 0; i < 6; ++i) {
            const int step = before[i] - race->boatAngle(i);
            QVERIFY2(step >= 5 && step <= 14, qPrintable(QString::number(step)));
        }
    }
    QVERIFY(!race->running());
    QCOMPARE(child<QLabel>(mainForm(), "LabelSyukai")->text(), QStringLiteral("3"));
    const QString order = child<QLabel>(mainForm(), "LabelResult")->text();
    QCOMPARE(order.size(), 6);
    const QString banner = child<QLabel>(mainForm(), "LabelJyuni")->text();
    QCOMPARE(banner, QStringLiteral("Goal ! ") + order[0] + QLatin1Char('-') + order[1]);
    // The first two are the two most advanced boats, past the line.
    const int first = order.mid(0, 1).toInt() - 1;
    const int second = order.mid(1, 1).toInt() - 1;
    QVERIFY(race->boatAngle(first) < -1170 && race->boatAngle(second) < -1170);
    QVERIFY(race->boatAngle(first) <= race->boatAngle(second));

    // A new start hides the banner at its first tick.
    race->CommandStart_Click();
    race->Timer1_Timer();
    QVERIFY(child<QLabel>(mainForm(), "LabelJyuni")->isHidden());
}
