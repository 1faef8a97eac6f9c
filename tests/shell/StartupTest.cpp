#include "ShellTest.h"

#include "Database.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "Recordset.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <sys/stat.h>

namespace {
void setMode(const QString& path, mode_t mode) { QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0); }

// The one box the start showed, and that it was the critical one.
QString refusal()
{
    if (MsgBoxScript::shown().size() != 1)
        return QStringLiteral("%1 boxes").arg(MsgBoxScript::shown().size());
    const ShownBox box = MsgBoxScript::shown()[0];
    return box.style == Mb::OKOnly + Mb::Critical ? box.text : QStringLiteral("not critical: ") + box.text;
}
}

void StartupTest::aWriteProtectedDatabaseEndsTheStart()
{
    TestFolder t;
    SeedRacers(t.folder(), {{3945}});
    const QByteArray before = FileBytes(t.file("Vantor.mdb"));
    setMode(t.file("Vantor.mdb"), 0444);
    QVERIFY(!PrepareProgram(t.folder()));
    QVERIFY2(refusal().contains(QStringLiteral("書き込み禁止")), qPrintable(refusal()));
    setMode(t.file("Vantor.mdb"), 0644);
    QCOMPARE(FileBytes(t.file("Vantor.mdb")), before);

    // A folder that cannot be written holding the database: the journal and
    // the compaction could not work there.
    MsgBoxScript::shown().clear();
    setMode(t.folder(), 0555);
    const bool started = PrepareProgram(t.folder());
    setMode(t.folder(), 0755);
    QVERIFY(!started);
    QVERIFY2(refusal().contains(QStringLiteral("フォルダ")), qPrintable(refusal()));
    QCOMPARE(FileBytes(t.file("Vantor.mdb")), before);
}

void StartupTest::theCopyOfAnInterruptedCompactionIsPutBack()
{
    TestFolder t;
    SeedRacers(t.folder(), {{3945}, {4001}, {4500}});
    QVERIFY(QFile::rename(t.file("Vantor.mdb"), t.file("keinew.mdb")));
    QVERIFY(PrepareProgram(t.folder()));
    QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
    const ShownBox box = MsgBoxScript::shown()[0];
    QCOMPARE(box.style, Mb::OKOnly + Mb::Information);
    QVERIFY(box.text.contains(QStringLiteral("keinew.mdb")) && box.text.contains(QStringLiteral("Vantor.mdb")));
    QVERIFY(!QFile::exists(t.file("keinew.mdb")));
    Database db(t.folder());
    QCOMPARE(Recordset(db, QStringLiteral("T_選手")).RecordCount(), 3);
}

void StartupTest::aNameThatIsNoFileEndsTheStartAtOnce()
{
    TestFolder fifo;
    QCOMPARE(::mkfifo(QFile::encodeName(fifo.file("Vantor.mdb")).constData(), 0644), 0);
    bool started = true;
    QVERIFY(RunsWithoutWaitingOn(fifo.file("Vantor.mdb"), [&] { started = PrepareProgram(fifo.folder()); }));
    QVERIFY(!started);
    QVERIFY2(refusal().contains(QStringLiteral("名前付きパイプ")), qPrintable(refusal()));

    TestFolder folder;
    QVERIFY(QDir().mkdir(folder.file("Vantor.mdb")));
    QVERIFY(!PrepareProgram(folder.folder()));
    QVERIFY2(refusal().contains(QStringLiteral("フォルダ")), qPrintable(refusal()));

    TestFolder link;
    QVERIFY(QFile::link(link.file("moved/Vantor.mdb"), link.file("Vantor.mdb")));
    QVERIFY(!PrepareProgram(link.folder()));
    QVERIFY2(refusal().contains(QStringLiteral("リンク")), qPrintable(refusal()));
    QVERIFY(!QFile::exists(link.file("moved")));
}

void StartupTest::aProtectedProgramFolderKeepsTheDataInTheUserFolder()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString user = UserDataFolder();
    QVERIFY(user.contains(QStringLiteral("/vantor")));
    QDir(user).removeRecursively();

    // An install for all users: the programs' folder is not the user's.
    TestFolder install;
    setMode(install.folder(), 0555);
    const bool started = PrepareProgram(install.folder());
    setMode(install.folder(), 0755);
    QVERIFY(started);
    QCOMPARE(Global().ProgramFolder, install.folder());
    QCOMPARE(Global().DataFolder, user);
    QVERIFY(QFile::exists(user + QStringLiteral("Vantor.mdb")));
    QVERIFY(!QFile::exists(install.file("Vantor.mdb")));
    QVERIFY(MsgBoxScript::shown().empty());

    // A folder the user may write stays the place, as it always was.
    TestFolder own;
    QVERIFY(PrepareProgram(own.folder()));
    QCOMPARE(Global().DataFolder, own.folder());
    QVERIFY(QFile::exists(own.file("Vantor.mdb")));

    QDir(user).removeRecursively();
    QStandardPaths::setTestModeEnabled(false);
}
