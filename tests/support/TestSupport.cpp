#include "TestSupport.h"

#include "GlobalModule.h"
#include "MsgBox.h"
#include "FileDialog.h"

TestFolder::TestFolder()
{
    folder_ = dir_.path() + QLatin1Char('/');
    Global().ProgramFolder = folder_;
    Global().DataFolder = folder_;
    Global().TwipsPerPixelX = 15;
    Global().TwipsPerPixelY = 15;
    Global().reset();
    MsgBoxScript::start();
    FileDialogScript::start();
}

TestFolder::~TestFolder()
{
    MsgBoxScript::stop();
    FileDialogScript::stop();
}

#include "Database.h"
#include "Forms.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QComboBox>
#include <QMainWindow>
#include <QListWidget>

void SeedRacers(const QString& folder, const std::vector<TestRacer>& racers)
{
    Database db(folder);
    Database::Transaction transaction(db);
    Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO T_選手 (選手ID, 期, 所属ID, 級, 名前, よみがな, よみがな１桁, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) "
        "VALUES (?1, ?2, ?3, 'A1', ?4, ?5, substr(?5, 1, 1), ?6, ?7, ?8, ?9, ?10, ?11)"));
    for (const TestRacer& r : racers) {
        insert.bind(1, r.id).bind(2, r.ki).bind(3, r.ken).bind(4, r.name).bind(5, r.yomi);
        insert.bind(6, r.year).bind(7, r.month).bind(8, r.day).bind(9, r.blood).bind(10, r.win).bind(11, r.place);
        insert.step();
        insert.reset();
    }
    transaction.commit();
}

void SeedRaces(const QString& folder, int count, int firstRacer, int racerCount, bool positions)
{
    Database db(folder);
    Database::Transaction transaction(db);
    Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO T_レース履歴 (調査年, 調査月, 調査日, 競艇場ID, レースNO, 選手1, 選手2, 選手3, 選手4, 選手5, 選手6, "
        "結果1, 結果2, 結果3, 結果4, 結果5, 結果6) "
        "VALUES (2020 + ?1 % 6, 1 + ?1 % 12, 1 + ?1 % 28, 1 + ?1 % 24, 1 + ?1 % 12, ?2, ?3, ?4, ?5, ?6, ?7, "
        "?8 * (1 + ?1 % 6), ?8 * (1 + (?1 + 1) % 6), ?8 * (1 + (?1 + 2) % 6), ?8 * (1 + (?1 + 3) % 6), "
        "?8 * (1 + (?1 + 4) % 6), ?8 * (1 + (?1 + 5) % 6))"));
    for (int r = 0; r < count; ++r) {
        insert.bind(1, r).bind(8, positions ? 1 : 0);
        for (int n = 0; n < 6; ++n)
            insert.bind(2 + n, firstRacer + (r * 6 + n) % racerCount);
        insert.step();
        insert.reset();
    }
    transaction.commit();
}

void SeedExtraction(const QString& folder, const std::vector<int>& ids)
{
    Database db(folder);
    Database::Transaction transaction(db);
    Statement insert = db.prepare(QStringLiteral("INSERT INTO T_選手抽出 (選手ID) VALUES (?1)"));
    for (int id : ids) {
        insert.bind(1, id);
        insert.step();
        insert.reset();
    }
    transaction.commit();
}

void ClickListLine(QListWidget* list, int row)
{
    QListWidgetItem* item = list->item(row);
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

void PickComboItem(QComboBox* box, int index)
{
    QVERIFY(index >= 0 && index < box->count());
    box->setFocus();
    box->setCurrentIndex(index - 1);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentIndex(), index);
}

int RunTestObjects(int argc, char* argv[], std::initializer_list<QObject*> objects)
{
    int failures = 0;
    for (QObject* object : objects)
        failures += QTest::qExec(object, argc, argv);
    return failures == 0 ? 0 : 1;
}

void RegisterStandIn(const QString& name)
{
    Forms::registerForm(name, [name] {
        auto* stand = new QMainWindow;
        stand->setObjectName(name);
        return stand;
    });
}

void UnloadAllWindows()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        Forms::unload(window);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int ErrorNumberOf(const std::function<void()>& body, QString* description)
{
    try {
        body();
    } catch (const RuntimeError& error) {
        if (description)
            *description = error.description();
        return error.number();
    }
    return 0;
}

#include "Startup.h"

#include <QImage>
#include <QScopeGuard>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace {
// Reaches the menu's own item options, so that the test paints an item as
// the menu does.
class MenuOptions : public QMenu {
public:
    static void of(QMenu* menu, QStyleOptionMenuItem* option, QAction* action)
    {
        (menu->*(&MenuOptions::initStyleOption))(option, action);
    }
};

QImage paintItem(QMenu* menu, QStyleOptionMenuItem option, int width)
{
    option.rect = QRect(0, 0, width, option.rect.height());
    QImage image(option.rect.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    menu->style()->drawControl(QStyle::CE_MenuItem, &option, &painter, menu);
    return image;
}
}

void VerifyMenusShowWholeCaptions(QWidget* window)
{
    const QFont before = QApplication::font();
    UseProgramFont();
    const auto restore = qScopeGuard([&before] { QApplication::setFont(before); });
    int items = 0;
    // The bar centres its captions: each must fit its place.
    if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuWidget()) {
        QMenuBar* bar = main->menuBar();
        bar->setFont(QApplication::font());
        bar->adjustSize();
        for (QAction* action : bar->actions()) {
            const int needed = bar->fontMetrics().size(Qt::TextShowMnemonic, action->text()).width();
            QVERIFY2(bar->actionGeometry(action).width() >= needed, qPrintable(action->text()));
            ++items;
        }
    }
    const QList<QMenu*> menus = window->findChildren<QMenu*>();
    for (QMenu* menu : menus) {
        menu->setFont(QApplication::font());
        menu->ensurePolished();
        menu->adjustSize();
        for (QAction* action : menu->actions()) {
            if (action->isSeparator() || action->menu())
                continue;
            QStyleOptionMenuItem option;
            MenuOptions::of(menu, &option, action);
            const QRect shown = menu->actionGeometry(action);
            option.rect = shown;
            const QImage narrow = paintItem(menu, option, shown.width());
            const QImage wide = paintItem(menu, option, shown.width() + 300);
            // The right edge of an item holds only its frame; the caption
            // lies well left of it.
            const QRect caption(0, 0, shown.width() - 12, shown.height());
            QVERIFY2(narrow.copy(caption) == wide.copy(caption),
                     qPrintable(QStringLiteral("%1: %2 is not shown whole").arg(window->objectName(), action->text())));
            ++items;
        }
    }
    QVERIFY(items > 0);
}

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

bool RunsWithoutWaitingOn(const QString& fifo, const std::function<void()>& body)
{
    std::atomic<bool> finished{false};
    std::atomic<bool> waited{false};
    const QByteArray name = QFile::encodeName(fifo);
    std::thread watch([&] {
        while (!finished) {
            // Opening the writing end succeeds only while a reader is there,
            // and lets that reader go on.
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                waited = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    try {
        body();
    } catch (...) {
        finished = true;
        watch.join();
        throw;
    }
    finished = true;
    watch.join();
    return !waited;
}

int RunChildWork(const std::function<void()>& work)
{
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    try {
        work();
    } catch (const RuntimeError& error) {
        std::fprintf(stderr, "%d %s\n", error.number(), qPrintable(error.description()));
        return 1;
    }
    std::fputs("done\n", stdout);
    std::fflush(stdout);
    return 0;
}

qint64 RunChild(const QStringList& arguments, qint64 delayUs)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForStarted(10000))
        return -2;
    QByteArray out;
    while (!out.contains("ready\n") && child.waitForReadyRead(10000))
        out += child.readAllStandardOutput();
    QElapsedTimer clock;
    clock.start();
    if (delayUs >= 0) {
        ::usleep(useconds_t(delayUs));
        ::kill(pid_t(child.processId()), SIGKILL);
    } else {
        while (!out.contains("done\n") && child.waitForReadyRead(30000))
            out += child.readAllStandardOutput();
    }
    const qint64 elapsed = clock.nsecsElapsed() / 1000;
    child.waitForFinished(30000);
    out += child.readAllStandardOutput();
    return out.contains("done\n") ? elapsed : -1;
}

std::vector<qint64> SpreadMoments(qint64 workUs, int count)
{
    std::vector<qint64> moments;
    // A little past the end too, where the work commits and finishes.
    for (int i = 0; i < count; ++i)
        moments.push_back(workUs * 6 * (2 * i + 1) / (10 * count));
    return moments;
}

#include <sqlite3.h>

EngineLock::EngineLock(const QString& path)
{
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    QCOMPARE(sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
}

EngineLock::~EngineLock()
{
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db_);
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

#include <QCryptographicHash>
#include <algorithm>
#include <ctime>
#include <limits>

QByteArray RowsDigest(const QString& folder, const QStringList& queries)
{
    Database db(folder);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const QString& query : queries) {
        Statement rows = db.prepare(query);
        while (rows.step())
            for (int c = 0; c < rows.columnCount(); ++c)
                hash.addData(rows.value(c).toString().toUtf8() + '|');
    }
    return hash.result();
}

QString IntegrityCheck(const QString& folder)
{
    Database db(folder);
    Statement check = db.prepare(QStringLiteral("PRAGMA integrity_check"));
    check.step();
    return check.value(0).toString();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double CpuMs()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double ResidentMb()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096.0 / (1024.0 * 1024.0) : 0;
}

qint64 ShortestRun(const QStringList& arguments, const std::function<void()>& restore)
{
    qint64 shortest = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 3; ++run) {
        restore();
        const qint64 us = RunChild(arguments, -1);
        if (us < 0)
            return -1;
        shortest = std::min(shortest, us);
    }
    return shortest;
}

void WriteDatabaseOfScripts(const QString& folder, const QStringList& scripts)
{
    const QString path = folder + QStringLiteral("Vantor.mdb");
    for (const char* suffix : {"", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
    for (const QString& name : scripts) {
        QFile file(QStringLiteral(VANTOR_SOURCE_DIR "/src/data/") + name);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
        char* error = nullptr;
        const int rc = sqlite3_exec(db, file.readAll().constData(), nullptr, nullptr, &error);
        const QString message = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        QVERIFY2(rc == SQLITE_OK, qPrintable(name + QStringLiteral(": ") + message));
    }
    sqlite3_close(db);
}
