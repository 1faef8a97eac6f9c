#include "BangumiForm.h"
#include "DailyFileWriter.h"
#include "Database.h"
#include "DayRaces.h"
#include "Download.h"
#include "FanFileWriter.h"
#include "FileDialog.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "HttpTestServer.h"
#include "ImportForm.h"
#include "ImporterTests.h"
#include "MsgBox.h"
#include "OfficialFiles.h"
#include "PeriodImport.h"
#include "Recordset.h"
#include "ResultsDownload.h"
#include "ResultsImport.h"
#include "RirekiForm.h"
#include "SelectForm.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimeZone>
#include <QTimer>
#include <memory>

using OfficialFiles::Kind;
using OfficialFiles::Outcome;

namespace {
const QDate kDay(2024, 8, 1);

QByteArray programArchive(const QDate& date, int course = 7)
{
    const QString member = date.toString(QStringLiteral("'B'yyMMdd'.TXT'"));
    return Lh0Archive({{member.toLatin1(), ProgramFileBytes(date, {{course, false, {MakeProgramRace(1, 4001), MakeProgramRace(2, 4101)}}})}});
}

QByteArray resultsArchive(const QDate& date)
{
    const QString member = date.toString(QStringLiteral("'K'yyMMdd'.TXT'"));
    return Lh0Archive({{member.toLatin1(), ResultFileBytes(date, {{7, false, {MakeResultRace(1, 4001)}}})}});
}

QByteArray sitePath(Kind kind, const QDate& date) { return OfficialFiles::Address(kind, date).path().toLatin1(); }

QStringList keptFiles() { return QDir(OfficialFiles::KeptFolder()).entryList(QDir::Files | QDir::Hidden); }

QStringList lines(QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void click(QWidget* w, const QString& name)
{
    auto* button = w->findChild<QPushButton*>(name);
    QVERIFY2(button, qPrintable(name));
    QTest::mouseClick(button, Qt::LeftButton);
}

void setFileTime(const QString& path, const QDateTime& when)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

// The 番組表 of the search window, whose survey date is `date`.
QWidget* openPrograms(const QDate& date)
{
    // A window unloaded before is gone first, as between two user actions.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    auto* select = qobject_cast<SelectForm*>(Forms::show(QStringLiteral("SelectForm")));
    select->TakeRace({}, int16_t(date.year()), int16_t(date.month()), int16_t(date.day()), QString(), 1);
    select->findChild<QAction*>(QStringLiteral("Menu_Bangumi"))->trigger();
    return Forms::find(QStringLiteral("BangumiForm"));
}

QListWidget* list(QWidget* w, const char* name) { return w->findChild<QListWidget*>(QString::fromLatin1(name)); }

// A week of August 2024 on the site: the 4th without racing (neither file),
// the 7th's results not out yet. Two races a day, the first with results.
const QDate kWeek(2024, 8, 1);
const QDate kWeekEnd = kWeek.addDays(6);
void serveWeek(HttpTestServer& server)
{
    for (QDate day = kWeek; day <= kWeekEnd; day = day.addDays(1)) {
        if (day.day() == 4)
            continue;
        server.answer(sitePath(Kind::Program, day), {200, programArchive(day)});
        if (day.day() != 7)
            server.answer(sitePath(Kind::Results, day), {200, resultsArchive(day)});
    }
}

PeriodImport::Summary fetchWeek(PeriodImport::Fetched& fetched)
{
    Database db(Global().DataFolder);
    return PeriodImport::FetchDays(db, kWeek, kWeekEnd, fetched);
}

// "day:races:races with a finish" for each stored day.
QStringList storedDays(const QString& folder)
{
    Database db(folder);
    Statement days = db.prepare(QStringLiteral(
        "SELECT 調査日, count(*), sum(着1 IS NOT NULL) FROM T_レース履歴 GROUP BY 調査年, 調査月, 調査日 ORDER BY 調査日"));
    QStringList texts;
    while (days.step())
        texts << QStringLiteral("%1:%2:%3").arg(days.value(0).toInt()).arg(days.value(1).toInt()).arg(days.value(2).toInt());
    return texts;
}

QByteArray historyDigest(const QString& folder)
{
    return RowsDigest(folder, {QStringLiteral("SELECT * FROM T_レース履歴 ORDER BY 履歴ID"),
                               QStringLiteral("SELECT * FROM T_選手控 ORDER BY 控ID")});
}

// The period window in its fetching form, the week chosen, 取込開始 pressed
// and answered Yes; `during` runs in the window's loop while it works.
void startWeekFetch(const std::function<void(QDialog*)>& during = {}, const std::function<void(QDialog*)>& after = {})
{
    QTimer::singleShot(0, [during, after] {
        auto* form = qobject_cast<IkkatsuForm*>(QApplication::activeModalWidget());
        QVERIFY(form);
        form->findChild<QDateEdit*>(QStringLiteral("DateFrom"))->setDate(kWeek);
        form->findChild<QDateEdit*>(QStringLiteral("DateTo"))->setDate(kWeekEnd);
        if (during)
            during(form);
        MsgBoxScript::queue(Mb::Yes);
        click(form, QStringLiteral("CommandStart"));
        if (after)
            after(form);
        // A window left open after a refusal is closed.
        if (QApplication::activeModalWidget() == form)
            click(form, QStringLiteral("CommandClose"));
    });
}
}

// Fetching the official files from a local server standing in for the site.
class DownloadTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<HttpTestServer> server_;

private slots:
    void init()
    {
        folder_ = std::make_unique<TestFolder>();
        server_ = std::make_unique<HttpTestServer>();
        qputenv("VANTOR_DOWNLOAD_BASE", server_->base().toLatin1());
        for (const char* name : {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
        Download::settings() = Download::Settings();
        Download::settings().timeoutMs = 300;
        Download::settings().pauseMs = 0;
        std::vector<TestRacer> racers;
        for (int id = 4001; id <= 4006; ++id)
            racers.push_back(TestRacer{id});
        SeedRacers(folder_->folder(), racers);
        RegisterStandIn(QStringLiteral("MainForm"));
        Forms::registerForm(QStringLiteral("SelectForm"), [] { return new SelectForm; });
        Forms::registerForm(QStringLiteral("RirekiForm"), [] { return new RirekiForm; });
        Forms::registerForm(QStringLiteral("BangumiForm"), [] { return new BangumiForm(Forms::find(QStringLiteral("SelectForm"))); });
        Forms::registerCommand(QStringLiteral("ReadResults"), ReadResultsFile);
        Forms::registerCommand(QStringLiteral("DownloadResults"), DownloadResults);
        Forms::registerCommand(QStringLiteral("DownloadPeriod"), PeriodImport::FetchPeriod);
    }

    void cleanup()
    {
        UnloadAllWindows();
        server_.reset();
        folder_.reset();
        qunsetenv("VANTOR_DOWNLOAD_BASE");
        Download::settings() = Download::Settings();
    }

    void addressesAndEditions()
    {
        qunsetenv("VANTOR_DOWNLOAD_BASE");
        QCOMPARE(OfficialFiles::Address(Kind::Program, kDay).toString(), QStringLiteral("https://www1.mbrace.or.jp/od2/B/202408/b240801.lzh"));
        QCOMPARE(OfficialFiles::Address(Kind::Results, QDate(2025, 1, 9)).toString(),
                 QStringLiteral("https://www1.mbrace.or.jp/od2/K/202501/k250109.lzh"));
        QCOMPARE(OfficialFiles::Address(Kind::Handbook, QDate(2024, 10, 1)).toString(),
                 QStringLiteral("https://www.boatrace.jp/static_extra/pc_static/download/data/kibetsu/fan2410.lzh"));
        qputenv("VANTOR_DOWNLOAD_BASE", "http://127.0.0.1:9/mirror/");
        QCOMPARE(OfficialFiles::Address(Kind::Program, kDay).toString(), QStringLiteral("http://127.0.0.1:9/mirror/od2/B/202408/b240801.lzh"));
        QCOMPARE(OfficialFiles::KeptPath(Kind::Results, kDay), folder_->file(QStringLiteral("downloads/k240801.lzh")));

        using Editions = QList<QDate>;
        QCOMPARE(OfficialFiles::HandbookEditions(QDate(2025, 3, 31)), (Editions{QDate(2024, 10, 1), QDate(2024, 4, 1), QDate(2023, 10, 1)}));
        QCOMPARE(OfficialFiles::HandbookEditions(QDate(2025, 4, 1), 2), (Editions{QDate(2025, 4, 1), QDate(2024, 10, 1)}));
        QCOMPARE(OfficialFiles::HandbookEditions(QDate(2025, 12, 31), 1), Editions{QDate(2025, 10, 1)});
    }

    void faultTextsSayWhatHappened()
    {
        const QUrl url(QStringLiteral("https://www1.mbrace.or.jp/od2/B/202408/b240801.lzh"));
        const QString unresolved = Download::FaultText(QNetworkReply::HostNotFoundError, url);
        QVERIFY(unresolved.startsWith(QStringLiteral("ネットワークに接続できません。")));
        QVERIFY(unresolved.contains(QStringLiteral("www1.mbrace.or.jp が見つかりません")));
        QVERIFY(Download::FaultText(QNetworkReply::ProxyConnectionRefusedError, url).contains(QStringLiteral("http_proxy / https_proxy")));
        QVERIFY(Download::FaultText(QNetworkReply::SslHandshakeFailedError, url).contains(QStringLiteral("https")));
        QVERIFY(Download::FaultText(QNetworkReply::UnknownNetworkError, url, QStringLiteral("x")).contains(QStringLiteral("（x）")));
    }

    // The day's programs fetched in the 番組表 window show its races, set a
    // race up, and come from the kept folder from then on, server or not.
    void programDownloadShowsTheRaces()
    {
        server_->answer(sitePath(Kind::Program, kDay), {200, programArchive(kDay)});
        QWidget* programs = openPrograms(kDay);
        QVERIFY(programs);
        click(programs, QStringLiteral("CommandDownload"));
        QVERIFY2(MsgBoxScript::shown().empty(), qPrintable(MsgBoxScript::texts().join(QLatin1Char('|'))));
        QCOMPARE(server_->paths(), QList<QByteArray>{"/od2/B/202408/b240801.lzh"});
        QCOMPARE(lines(list(programs, "ListBasho")), QStringList{QStringLiteral("07 蒲郡")});
        QVERIFY(programs->findChild<QLabel*>(QStringLiteral("LabelFile"))->text().startsWith(QStringLiteral("b240801.lzh　2024年8月1日")));
        QCOMPARE(keptFiles(), QStringList{QStringLiteral("b240801.lzh")});
        QCOMPARE(FileBytes(OfficialFiles::KeptPath(Kind::Program, kDay)), programArchive(kDay));

        ClickListLine(list(programs, "ListBasho"), 0);
        ClickListLine(list(programs, "ListRace"), 0);
        click(programs, QStringLiteral("CommandSentaku"));
        QCOMPARE(Global().SelSensyuID[0], int16_t(4001));
        QCOMPARE(Global().SelKyoteijyoMei, QStringLiteral("蒲郡"));

        // Offline now: the kept file serves, and nothing is asked of the network.
        server_->stop();
        programs = openPrograms(kDay);
        click(programs, QStringLiteral("CommandDownload"));
        QVERIFY(MsgBoxScript::shown().empty());
        QCOMPARE(server_->requests().size(), size_t(1));
        QCOMPARE(list(programs, "ListBasho")->count(), 1);
    }

    void aDayWithoutRacingIsNoError()
    {
        QWidget* programs = openPrograms(kDay);
        click(programs, QStringLiteral("CommandDownload"));
        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
        QCOMPARE(MsgBoxScript::shown()[0].text, QStringLiteral("その日の番組表はありません。\r\n（2024年8月1日、b240801.lzh）\r\n"));
        QCOMPARE(MsgBoxScript::shown()[0].style, Mb::OKOnly + Mb::Information);
        QCOMPARE(server_->requests().size(), size_t(1));  // no retry for a plain "not there"
        QVERIFY(keptFiles().isEmpty());
        QCOMPARE(list(programs, "ListBasho")->count(), 0);
    }

    void faultsChangeNothing_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("requests");
        using Mode = HttpTestServer::Mode;
        QTest::newRow("slow answer") << int(Mode::Silent) << 200 << QStringLiteral("秒間応答がありません。") << 2;
        QTest::newRow("cut off") << int(Mode::CutOff) << 200 << QStringLiteral("からの転送が途中で切れました") << 2;
        QTest::newRow("not an archive") << int(Mode::Whole) << 200 << QStringLiteral("は LHA 書庫ではありません") << 1;
        QTest::newRow("server error") << int(Mode::Whole) << 503 << QStringLiteral("がエラーを返しました（HTTP 503") << 2;
        QTest::newRow("forbidden") << int(Mode::Whole) << 403 << QStringLiteral("がエラーを返しました（HTTP 403") << 1;
        QTest::newRow("server stopped") << -1 << 0 << QStringLiteral("ネットワークに接続できません。127.0.0.1") << 0;
    }

    // A fault is told in plain words, and the window and the kept folder
    // stay as they were: no partial file, no file under another name.
    void faultsChangeNothing()
    {
        QFETCH(int, mode);
        QFETCH(int, status);
        QFETCH(QString, reason);
        QFETCH(int, requests);
        const QDate before = kDay.addDays(-1);
        server_->answer(sitePath(Kind::Program, before), {200, programArchive(before, 12)});
        const QByteArray body = status == 200 && mode == int(HttpTestServer::Mode::Whole)
                                    ? QByteArrayLiteral("<html><body>メンテナンス中</body></html>")
                                    : programArchive(kDay);
        if (mode >= 0)
            server_->answer(sitePath(Kind::Program, kDay), {status, body, HttpTestServer::Mode(mode)});

        QWidget* programs = openPrograms(before);
        click(programs, QStringLiteral("CommandDownload"));
        QCOMPARE(lines(list(programs, "ListBasho")), QStringList{QStringLiteral("12 住之江")});
        const size_t asked = server_->requests().size();
        if (mode < 0)
            server_->stop();
        Forms::unload(programs);
        programs = openPrograms(kDay);
        click(programs, QStringLiteral("CommandDownload"));

        QCOMPARE(MsgBoxScript::shown().size(), size_t(1));
        const ShownBox& box = MsgBoxScript::shown()[0];
        QVERIFY2(box.text.startsWith(QStringLiteral("番組表（b240801.lzh）をダウンロードできませんでした。\r\n")), qPrintable(box.text));
        QVERIFY2(box.text.contains(reason), qPrintable(box.text));
        QVERIFY(box.text.endsWith(QStringLiteral("何も変更していません。\r\n")));
        QCOMPARE(box.style, Mb::OKOnly + Mb::Exclamation);
        QCOMPARE(int(server_->requests().size() - asked), requests);
        QCOMPARE(keptFiles(), QStringList{QStringLiteral("b240731.lzh")});
        QCOMPARE(lines(list(programs, "ListBasho")), QStringList{QStringLiteral("12 住之江")});
    }

    // Today's files grow during the day: a copy older than an hour is
    // fetched again; so is a copy of a past day fetched before that day was
    // over. A copy fetched after its day is final.
    void filesOfADayStillRunningAreFetchedAgain()
    {
        const QDate today = OfficialFiles::TodayInJapan();
        const QString path = OfficialFiles::KeptPath(Kind::Program, today);
        QDir().mkpath(OfficialFiles::KeptFolder());
        const QByteArray old = programArchive(today, 12);
        server_->answer(sitePath(Kind::Program, today), {200, programArchive(today, 7)});

        WriteFile(path, old);
        setFileTime(path, QDateTime::currentDateTime().addSecs(-10 * 60));
        Outcome outcome = OfficialFiles::Fetch(Kind::Program, today);
        QCOMPARE(outcome.status, Outcome::Ready);
        QVERIFY(!outcome.fetched);
        QVERIFY(server_->requests().empty());

        setFileTime(path, QDateTime::currentDateTime().addSecs(-61 * 60));
        outcome = OfficialFiles::Fetch(Kind::Program, today);
        QCOMPARE(outcome.status, Outcome::Ready);
        QVERIFY(outcome.fetched);
        QCOMPARE(server_->requests().size(), size_t(1));
        QCOMPARE(FileBytes(path), programArchive(today, 7));

        // A past day: fetched at noon of that day in Japan, then the day after.
        const QString past = OfficialFiles::KeptPath(Kind::Results, kDay);
        server_->answer(sitePath(Kind::Results, kDay), {200, resultsArchive(kDay)});
        WriteFile(past, resultsArchive(kDay));
        setFileTime(past, QDateTime(kDay, QTime(3, 0), Qt::UTC));
        QVERIFY(!OfficialFiles::KeptIsCurrent(Kind::Results, kDay));
        QVERIFY(OfficialFiles::Fetch(Kind::Results, kDay).fetched);
        setFileTime(past, QDateTime(kDay, QTime(15, 30), Qt::UTC));  // 0:30 of the next day in Japan
        QVERIFY(OfficialFiles::KeptIsCurrent(Kind::Results, kDay));
        QCOMPARE(server_->requests().size(), size_t(2));

        // A damaged kept file is never used.
        WriteFile(past, resultsArchive(kDay).left(40));
        setFileTime(past, QDateTime(kDay.addDays(2), QTime(0, 0), Qt::UTC));
        QVERIFY(!OfficialFiles::KeptIsCurrent(Kind::Results, kDay));
    }

    void aFailedRefreshKeepsTheOlderCopy()
    {
        const QDate today = OfficialFiles::TodayInJapan();
        const QString path = OfficialFiles::KeptPath(Kind::Results, today);
        QDir().mkpath(OfficialFiles::KeptFolder());
        const QByteArray old = resultsArchive(today);
        WriteFile(path, old);
        setFileTime(path, QDateTime::currentDateTime().addSecs(-2 * 3600));
        server_->answer(sitePath(Kind::Results, today), {200, resultsArchive(today) + QByteArray(4000, 'x'), HttpTestServer::Mode::CutOff});
        const Outcome outcome = OfficialFiles::Fetch(Kind::Results, today);
        QCOMPARE(outcome.status, Outcome::Ready);
        QVERIFY(!outcome.fetched);
        QCOMPARE(FileBytes(path), old);
        QCOMPARE(keptFiles(), QStringList{OfficialFiles::FileName(Kind::Results, today)});
        const QString text = OfficialFiles::OutcomeText(Kind::Results, today, outcome);
        QVERIFY2(text.contains(QStringLiteral("の新しい版をダウンロードできませんでした。")) && text.contains(QStringLiteral("途中で切れました")),
                 qPrintable(text));
    }

    // One request at a time, a pause between them, one retry at most.
    void requestsArePolite()
    {
        Download::settings().pauseMs = 250;
        Download::settings().timeoutMs = 200;
        server_->answer(sitePath(Kind::Program, kDay), {200, programArchive(kDay)});
        server_->answer(sitePath(Kind::Results, kDay), {200, {}, HttpTestServer::Mode::Silent});
        QCOMPARE(OfficialFiles::Fetch(Kind::Program, kDay).status, Outcome::Ready);
        QCOMPARE(OfficialFiles::Fetch(Kind::Results, kDay).status, Outcome::Failed);
        const auto& requests = server_->requests();
        QCOMPARE(requests.size(), size_t(3));
        QVERIFY2(requests[1].atMs - requests[0].atMs >= 240, qPrintable(QString::number(requests[1].atMs - requests[0].atMs)));
        // The retry comes after the timeout and the pause.
        QVERIFY2(requests[2].atMs - requests[1].atMs >= 200 + 240, qPrintable(QString::number(requests[2].atMs - requests[1].atMs)));
    }

    // While a request waits the program runs on; "中止" ends it at once and
    // leaves nothing behind.
    void cancelStopsTheRequest()
    {
        Download::settings().timeoutMs = 20000;
        server_->answer(sitePath(Kind::Program, kDay), {200, {}, HttpTestServer::Mode::Silent});
        QWidget* programs = openPrograms(kDay);
        QString item;
        bool visible = false;
        QTimer::singleShot(300, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("DownloadForm") && w->isVisible()) {
                    visible = true;
                    item = w->findChild<QLabel*>(QStringLiteral("LabelItem"))->text();
                    click(w, QStringLiteral("CommandCancel"));
                }
        });
        QElapsedTimer took;
        took.start();
        click(programs, QStringLiteral("CommandDownload"));
        QVERIFY(visible);
        QCOMPARE(item, QStringLiteral("b240801.lzh（2024年8月1日）"));
        QVERIFY2(took.elapsed() < 3000, qPrintable(QString::number(took.elapsed())));
        QVERIFY(MsgBoxScript::shown().empty());
        QCOMPARE(server_->requests().size(), size_t(1));
        QVERIFY(keptFiles().isEmpty());
        QCOMPARE(list(programs, "ListBasho")->count(), 0);
    }

    void progressFollowsTheBytes()
    {
        QByteArray big = Lh0Archive({{"B240801.TXT", QByteArray(300000, 'x')}});
        server_->answer("/big", {200, big});
        std::vector<std::pair<qint64, qint64>> seen;
        Download::Watch watch;
        watch.progress = [&](qint64 received, qint64 total) { seen.emplace_back(received, total); };
        const Download::Result got = Download::Get(QUrl(server_->base() + QStringLiteral("/big")), watch);
        QCOMPARE(got.status, Download::Status::Done);
        QVERIFY(got.bytes == big);
        QVERIFY(!seen.empty());
        QCOMPARE(seen.back(), (std::pair<qint64, qint64>(big.size(), big.size())));
    }

    // The results of the days whose stored races wait for their positions:
    // not a day already filled, not a day to come.
    void resultsOfTheDaysWithoutPositions()
    {
        const QString folder = folder_->folder();
        auto store = [&](const QDate& date, int raceNo) {
            Database db(folder);
            DayRaces::StoreRaces(db, {{int16_t(date.year()), int16_t(date.month()), int16_t(date.day()), 7, int16_t(raceNo),
                                       {4001, 4002, 4003, 4004, 4005, 4006}}});
        };
        store(kDay, 1);
        store(kDay.addDays(1), 1);
        store(kDay.addDays(2), 1);
        store(OfficialFiles::TodayInJapan().addDays(2), 1);
        {
            Database db(folder);
            db.execute(QStringLiteral("UPDATE T_レース履歴 SET 結果1 = 1 WHERE 調査日 = 3 AND 調査年 = 2024"));
        }
        server_->answer(sitePath(Kind::Results, kDay), {200, resultsArchive(kDay)});

        QWidget* form = Forms::show(QStringLiteral("RirekiForm"));
        MsgBoxScript::queue(Mb::Yes);
        form->findChild<QAction*>(QStringLiteral("Menu_SeisekiGet"))->trigger();
        QCOMPARE(server_->paths(), (QList<QByteArray>{"/od2/K/202408/k240801.lzh", "/od2/K/202408/k240802.lzh"}));
        const QStringList texts = MsgBoxScript::texts();
        QCOMPARE(texts.size(), 3);
        QVERIFY2(texts[0].startsWith(QStringLiteral("2024年8月1日の成績を読み込みます。")), qPrintable(texts[0]));
        QVERIFY(texts[1].startsWith(QStringLiteral("2024年8月1日の成績を読み込みました。")));
        QCOMPARE(texts[2], QStringLiteral("成績を読み込めなかった日があります。\r\n"
                                          "2024年8月2日：その日の競走成績はありません（レースのない日か、まだ発表されていません）。\r\n"));
        Database db(folder);
        Statement results = db.prepare(QStringLiteral("SELECT 調査日, 結果1, 結果6 FROM T_レース履歴 ORDER BY 履歴ID"));
        QList<QList<int>> rows;
        while (results.step())
            rows << QList<int>{results.value(0).toInt(), results.value(1).toInt(), results.value(2).toInt()};
        QCOMPARE(rows[0], (QList<int>{1, 1, 6}));
        QCOMPARE(rows[1], (QList<int>{2, 0, 0}));
        QCOMPARE(rows[2], (QList<int>{3, 1, 0}));
        QCOMPARE(keptFiles(), QStringList{QStringLiteral("k240801.lzh")});
    }

    void nothingToFetchSaysSo()
    {
        QWidget* form = Forms::show(QStringLiteral("RirekiForm"));
        MsgBoxScript::shown().clear();
        form->findChild<QAction*>(QStringLiteral("Menu_SeisekiGet"))->trigger();
        QCOMPARE(MsgBoxScript::texts(), QStringList{QStringLiteral("順位の入っていないレース履歴がありません。\r\n")});
        QVERIFY(server_->requests().empty());
    }

    // Several days and the site out of reach: the box says for each day why,
    // and once the site is found unreachable no further day is asked for;
    // a day whose file is kept is still read.
    void resultsOfSeveralDaysWithoutNetworkSayWhy()
    {
        const QString folder = folder_->folder();
        for (int d = 0; d < 3; ++d) {
            const QDate date = kDay.addDays(d);
            Database db(folder);
            DayRaces::StoreRaces(db, {{int16_t(date.year()), int16_t(date.month()), int16_t(date.day()), 7, 1,
                                       {4001, 4002, 4003, 4004, 4005, 4006}}});
        }
        const QDate third = kDay.addDays(2);
        QDir().mkpath(OfficialFiles::KeptFolder());
        WriteFile(OfficialFiles::KeptPath(Kind::Results, third), resultsArchive(third));
        server_->answer(sitePath(Kind::Results, kDay), {200, {}, HttpTestServer::Mode::Silent});
        const QUrl base(server_->base());
        const QString host = QStringLiteral("%1:%2").arg(base.host()).arg(base.port());

        QWidget* form = Forms::show(QStringLiteral("RirekiForm"));
        MsgBoxScript::shown().clear();
        MsgBoxScript::queue(Mb::Yes);
        form->findChild<QAction*>(QStringLiteral("Menu_SeisekiGet"))->trigger();
        // No answer in time, one retry; the second day is not asked for.
        QCOMPARE(server_->paths(), (QList<QByteArray>{"/od2/K/202408/k240801.lzh", "/od2/K/202408/k240801.lzh"}));
        QStringList texts = MsgBoxScript::texts();
        QCOMPARE(texts.size(), 3);
        QVERIFY2(texts[0].startsWith(QStringLiteral("2024年8月3日の成績を読み込みます。")), qPrintable(texts[0]));
        QVERIFY(texts[1].startsWith(QStringLiteral("2024年8月3日の成績を読み込みました。")));
        QCOMPARE(texts[2], QStringLiteral("成績を読み込めなかった日があります。\r\n"
                                          "2024年8月1日：競走成績（k240801.lzh）をダウンロードできませんでした。%1 から 0.3 秒間応答がありません。\r\n"
                                          "2024年8月2日：k240802.lzh はネットワークに接続できないため、ダウンロードしていません。\r\n")
                               .arg(host));

        // The server stopped: the refused connection is named.
        server_->stop();
        const QByteArray before = historyDigest(folder);
        MsgBoxScript::shown().clear();
        form->findChild<QAction*>(QStringLiteral("Menu_SeisekiGet"))->trigger();
        texts = MsgBoxScript::texts();
        QCOMPARE(texts.size(), 1);
        QCOMPARE(texts[0], QStringLiteral("成績を読み込めなかった日があります。\r\n"
                                          "2024年8月1日：競走成績（k240801.lzh）をダウンロードできませんでした。ネットワークに接続できません。%1 が接続を受け付けません。\r\n"
                                          "2024年8月2日：k240802.lzh はネットワークに接続できないため、ダウンロードしていません。\r\n")
                               .arg(host));
        QCOMPARE(historyDigest(folder), before);
        QCOMPARE(keptFiles(), QStringList{QStringLiteral("k240803.lzh")});
    }

    // A refresh of today's results that fails reads the older kept copy: the
    // user is told so before its question, and the day is not listed among
    // the days that were not read.
    void anOlderCopyOfTodaysResultsIsReadAndSaidSo()
    {
        const QDate today = OfficialFiles::TodayInJapan();
        const QString folder = folder_->folder();
        for (const QDate& date : {kDay, today}) {
            Database db(folder);
            DayRaces::StoreRaces(db, {{int16_t(date.year()), int16_t(date.month()), int16_t(date.day()), 7, 1,
                                       {4001, 4002, 4003, 4004, 4005, 4006}}});
        }
        const QString path = OfficialFiles::KeptPath(Kind::Results, today);
        QDir().mkpath(OfficialFiles::KeptFolder());
        WriteFile(path, resultsArchive(today));
        setFileTime(path, QDateTime::currentDateTime().addSecs(-2 * 3600));
        server_->answer(sitePath(Kind::Results, today), {200, resultsArchive(today) + QByteArray(4000, 'x'), HttpTestServer::Mode::CutOff});

        QWidget* form = Forms::show(QStringLiteral("RirekiForm"));
        MsgBoxScript::shown().clear();
        MsgBoxScript::queue(Mb::OK);
        MsgBoxScript::queue(Mb::Yes);
        form->findChild<QAction*>(QStringLiteral("Menu_SeisekiGet"))->trigger();
        const QStringList texts = MsgBoxScript::texts();
        QVERIFY2(texts.size() == 4, qPrintable(texts.join(QLatin1Char('|'))));
        QVERIFY2(texts[0].startsWith(OfficialFiles::FileName(Kind::Results, today) + QStringLiteral(" の新しい版をダウンロードできませんでした。\r\n")),
                 qPrintable(texts[0]));
        QVERIFY2(texts[1].startsWith(OfficialFiles::DayText(today) + QStringLiteral("の成績を読み込みます。")), qPrintable(texts[1]));
        QVERIFY(texts[2].startsWith(OfficialFiles::DayText(today) + QStringLiteral("の成績を読み込みました。")));
        QCOMPARE(texts[3], QStringLiteral("成績を読み込めなかった日があります。\r\n"
                                          "2024年8月1日：その日の競走成績はありません（レースのない日か、まだ発表されていません）。\r\n"));
        Database db(folder);
        Statement filled = db.prepare(QStringLiteral("SELECT count(*) FROM T_レース履歴 WHERE 結果1 > 0"));
        QVERIFY(filled.step());
        QCOMPARE(filled.value(0).toInt(), 1);
    }

    // dorrix: the newest edition the site has goes into the folder on show,
    // is chosen there and imports as a chosen file does.
    void newestHandbookIntoTheChosenFolder()
    {
        const QList<QDate> editions = OfficialFiles::HandbookEditions(OfficialFiles::TodayInJapan());
        server_->answer(sitePath(Kind::Handbook, editions[1]), {200, Lh0Archive({{"FAN9907.TXT", SyntheticHandbook()}})});
        QDir(folder_->folder()).mkdir(QStringLiteral("hand"));
        const QString hand = folder_->file(QStringLiteral("hand"));
        ImportForm form;
        form.findChild<DirList*>(QStringLiteral("SelectDir"))->setPath(hand);
        click(&form, QStringLiteral("CommandDownload"));
        QVERIFY2(MsgBoxScript::shown().empty(), qPrintable(MsgBoxScript::texts().join(QLatin1Char('|'))));
        QCOMPARE(server_->paths(), (QList<QByteArray>{sitePath(Kind::Handbook, editions[0]), sitePath(Kind::Handbook, editions[1])}));
        const QString name = OfficialFiles::FileName(Kind::Handbook, editions[1]);
        QCOMPARE(keptFiles(), QStringList{name});
        QCOMPARE(FileBytes(hand + QLatin1Char('/') + name), FileBytes(OfficialFiles::KeptFolder() + name));
        QCOMPARE(form.findChild<QListWidget*>(QStringLiteral("FileSelect"))->currentItem()->text(), name);
        QCOMPARE(form.chosenFile(), hand + QLatin1Char('/') + name);
        QCOMPARE(form.findChild<QLineEdit*>(QStringLiteral("ListFile"))->text(), hand + QLatin1Char('/') + name);

        MsgBoxScript::queue(Mb::Yes);
        click(&form, QStringLiteral("CommandButton_1"));
        QVERIFY(MsgBoxScript::texts().last().startsWith(QStringLiteral("インポート終了")));
        QCOMPARE(RacerTable(folder_->folder()).size(), size_t(40));

        // Again: the newest is asked for once more, the kept one is not.
        server_->stop();
        MsgBoxScript::shown().clear();
        click(&form, QStringLiteral("CommandDownload"));
        QCOMPARE(server_->requests().size(), size_t(2));
        QVERIFY2(MsgBoxScript::texts().size() == 1 && MsgBoxScript::texts()[0].contains(QStringLiteral("ネットワークに接続できません")),
                 qPrintable(MsgBoxScript::texts().join(QLatin1Char('|'))));
        QCOMPARE(form.chosenFile(), hand + QLatin1Char('/') + name);
    }

    // A period fetched: each day's program, then its results, one day
    // imported before the next is fetched; a day without racing is no fault.
    // Racers missing from the racer table on different days are each counted
    // once over the period, not only the last day's.
    void aPeriodCountsItsMissingRacersOnce()
    {
        for (int d = 1; d <= 3; ++d) {
            const QDate day(2024, 8, d);
            const QString member = day.toString(QStringLiteral("'B'yyMMdd'.TXT'"));
            // Day 1 and 2: other racers; day 3: day 1's again.
            const int first = d == 2 ? 4201 : 4101;
            server_->answer(sitePath(Kind::Program, day),
                            {200, Lh0Archive({{member.toLatin1(), ProgramFileBytes(day, {{7, false, {MakeProgramRace(1, first)}}})}})});
        }
        PeriodImport::Fetched fetched;
        Database db(Global().DataFolder);
        const PeriodImport::Summary summary = PeriodImport::FetchDays(db, kWeek, QDate(2024, 8, 3), fetched);
        QCOMPARE(summary.days, 3);
        QCOMPARE(summary.notInTable, 18);
        QCOMPARE(summary.missingRacers, 12);
    }

    void aPeriodIsFetchedDayByDay()
    {
        serveWeek(*server_);
        PeriodImport::Fetched fetched;
        const PeriodImport::Summary summary = fetchWeek(fetched);
        QList<QByteArray> expected;
        for (QDate day = kWeek; day <= kWeekEnd; day = day.addDays(1))
            expected << sitePath(Kind::Program, day) << sitePath(Kind::Results, day);
        QCOMPARE(server_->paths(), expected);
        QCOMPARE(summary.days, 6);
        QCOMPARE(summary.stored, 12);
        QCOMPARE(summary.positions, 6 * 5);
        QVERIFY(!summary.cancelled);
        QCOMPARE(fetched.downloaded, 6);
        QCOMPARE(fetched.kept, 0);
        QCOMPARE(fetched.noRacing, QList<QDate>{QDate(2024, 8, 4)});
        QCOMPARE(fetched.programOnly, QList<QDate>{kWeekEnd});
        QVERIFY(fetched.failed.isEmpty());
        QVERIFY(fetched.notFetched.isEmpty());
        QVERIFY(fetched.stopText.isEmpty());
        QCOMPARE(storedDays(folder_->folder()), (QStringList{"1:2:1", "2:2:1", "3:2:1", "5:2:1", "6:2:1", "7:2:0"}));
        QCOMPARE(keptFiles().size(), 11);
        QVERIFY(!keptFiles().contains(QStringLiteral("b240804.lzh")));

        const QStringList text = PeriodImport::FetchSummaryText(summary, fetched, kWeek, kWeekEnd).split(QStringLiteral("\r\n"));
        QCOMPARE(text[0], QStringLiteral("一括取込が終わりました。"));
        QCOMPARE(text[2], QStringLiteral("取り込んだ日：6 日"));
        QCOMPARE(text[3], QStringLiteral("登録したレース：12 件"));
        QVERIFY2(text.contains(QStringLiteral("ダウンロードした日：6 日")), qPrintable(text.join(QLatin1Char('|'))));
        QVERIFY(text.contains(QStringLiteral("保存済みのファイルを使った日：0 日")));
        QVERIFY(text.contains(QStringLiteral("レースのない日（番組表も成績もない日）：1 日（8月4日）")));
        QVERIFY(text.contains(QStringLiteral("成績がまだない日（番組表だけ取り込み）：1 日（8月7日）")));
        QVERIFY(text.contains(QStringLiteral("ダウンロードできなかったファイル：0 件")));
    }

    // Again: only what is not kept is asked for; offline, the kept files
    // serve and the one fault stops every further request. Nothing is
    // stored twice.
    void aPeriodFetchedAgainUsesTheKeptFiles()
    {
        serveWeek(*server_);
        PeriodImport::Fetched first;
        fetchWeek(first);
        const QByteArray once = historyDigest(folder_->folder());
        const size_t asked = server_->requests().size();

        PeriodImport::Fetched again;
        PeriodImport::Summary summary = fetchWeek(again);
        QCOMPARE(server_->paths().mid(qsizetype(asked)),
                 (QList<QByteArray>{sitePath(Kind::Program, QDate(2024, 8, 4)), sitePath(Kind::Results, QDate(2024, 8, 4)),
                                    sitePath(Kind::Results, kWeekEnd)}));
        QCOMPARE(summary.stored, 0);
        QCOMPARE(summary.skipped, 12);
        QCOMPARE(summary.positions, 0);
        QCOMPARE(again.kept, 6);
        QCOMPARE(again.downloaded, 0);
        QCOMPARE(historyDigest(folder_->folder()), once);

        server_->stop();
        PeriodImport::Fetched offline;
        summary = fetchWeek(offline);
        QCOMPARE(server_->requests().size(), asked + 3);
        QCOMPARE(summary.days, 6);
        QCOMPARE(summary.stored, 0);
        QCOMPARE(offline.kept, 6);
        QCOMPARE(offline.failed.size(), 1);
        QVERIFY2(offline.failed[0].startsWith(QStringLiteral("2024年8月4日 b240804.lzh：ネットワークに接続できません。127.0.0.1")),
                 qPrintable(offline.failed[0]));
        // After that fault nothing more is asked: the 4th's results and the
        // 7th's are not tried.
        QCOMPARE(offline.notFetched, (QList<QDate>{QDate(2024, 8, 4), kWeekEnd}));
        QVERIFY(offline.stopText.startsWith(QStringLiteral("番組表（b240804.lzh）をダウンロードできませんでした。\r\n")));
        QCOMPARE(historyDigest(folder_->folder()), once);
        QVERIFY(PeriodImport::FetchSummaryText(summary, offline, kWeek, kWeekEnd)
                    .contains(QStringLiteral("ネットワークに接続できないため、それからは保存済みのファイルだけを使いました。"
                                              "ファイルがそろわなかった日：2 日（8月4日、8月7日）\r\n")));
    }

    // Through the history window's menu: the window's fetching form, the
    // question, the summary, the history listing the new races.
    void thePeriodWindowFetchesAWeek()
    {
        serveWeek(*server_);
        QWidget* history = Forms::show(QStringLiteral("RirekiForm"));
        MsgBoxScript::shown().clear();
        QDate latest;
        QString title;
        startWeekFetch([&](QDialog* form) {
            latest = form->findChild<QDateEdit*>(QStringLiteral("DateTo"))->maximumDate();
            title = form->windowTitle();
        });
        history->findChild<QAction*>(QStringLiteral("Menu_IkkatsuGet"))->trigger();
        QCOMPARE(latest, OfficialFiles::TodayInJapan());
        QCOMPARE(title, QStringLiteral("一括取得"));
        const auto& shown = MsgBoxScript::shown();
        QCOMPARE(shown.size(), size_t(2));
        QCOMPARE(shown[0].text, QStringLiteral("7 日分の番組表と成績をダウンロードして取り込みますか。\r\n"
                                               "（保存済みでないファイル 14 件をダウンロードします。1 ファイルずつ間をあけるので、少なくとも 0 秒かかります。）"));
        QCOMPARE(shown[0].style, Mb::Confirm);
        QVERIFY2(shown[1].text.startsWith(QStringLiteral("一括取込が終わりました。\r\n期間：2024年8月1日～2024年8月7日\r\n取り込んだ日：6 日\r\n")),
                 qPrintable(shown[1].text));
        QVERIFY(shown[1].text.contains(QStringLiteral("レースのない日（番組表も成績もない日）：1 日（8月4日）")));
        QCOMPARE(shown[1].style, Mb::OKOnly + Mb::Information);
        QCOMPARE(history->findChild<QComboBox*>(QStringLiteral("ComboRireki"))->count(), 12);
    }

    // "中止" while a request waits ends it at once; the days before it are
    // whole, the day it was fetching is not begun.
    void stoppingAPeriodFetchLeavesWholeDays()
    {
        Download::settings().timeoutMs = 20000;
        serveWeek(*server_);
        server_->answer(sitePath(Kind::Results, QDate(2024, 8, 3)), {200, {}, HttpTestServer::Mode::Silent});
        QString label;
        startWeekFetch([&](QDialog* form) {
            auto* watch = new QTimer(form);
            QObject::connect(watch, &QTimer::timeout, form, [form, watch, &label] {
                const QString text = form->findChild<QLabel*>(QStringLiteral("LabelDay"))->text();
                if (text.contains(QStringLiteral("k240803.lzh"))) {
                    label = text;
                    watch->stop();
                    QTimer::singleShot(100, form, [form] { click(form, QStringLiteral("CommandCancel")); });
                }
            });
            watch->start(0);
        });
        QElapsedTimer took;
        took.start();
        QVERIFY(PeriodImport::FetchPeriod(nullptr));
        QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
        QCOMPARE(label, QStringLiteral("2024.8.3 の k240803.lzh をダウンロードしています（3 / 7 日）"));
        const auto& shown = MsgBoxScript::shown();
        QCOMPARE(shown.size(), size_t(2));
        QVERIFY2(shown[1].text.startsWith(QStringLiteral("一括取込を中止しました。取り込んだ日は日ごとにすべて登録されています。\r\n"
                                                         "期間：2024年8月1日～2024年8月2日\r\n取り込んだ日：2 日\r\n")),
                 qPrintable(shown[1].text));
        QCOMPARE(storedDays(folder_->folder()), (QStringList{"1:2:1", "2:2:1"}));
        QCOMPARE(keptFiles(), (QStringList{"b240801.lzh", "b240802.lzh", "b240803.lzh", "k240801.lzh", "k240802.lzh"}));
        QCOMPARE(server_->requests().size(), size_t(6));
    }

    // The site out of reach from the first request: the plain network
    // message, one attempt only, nothing written.
    void aPeriodFetchWithoutNetworkChangesNothing()
    {
        Download::settings().pauseMs = 200;
        server_->stop();
        bool wrote = true;
        QElapsedTimer took;
        took.start();
        bool open = false;
        QString label = QStringLiteral("?");
        startWeekFetch({}, [&](QDialog* form) {
            // The window stays for another try, as before it started.
            open = QApplication::activeModalWidget() == form;
            label = form->findChild<QLabel*>(QStringLiteral("LabelDay"))->text();
        });
        wrote = PeriodImport::FetchPeriod(nullptr);
        QVERIFY(open);
        QCOMPARE(label, QString());
        QVERIFY(!wrote);
        // Fourteen attempts would take 13 pauses.
        QVERIFY2(took.elapsed() < 1500, qPrintable(QString::number(took.elapsed())));
        const auto& shown = MsgBoxScript::shown();
        QCOMPARE(shown.size(), size_t(2));
        QVERIFY2(shown[1].text.startsWith(QStringLiteral("番組表（b240801.lzh）をダウンロードできませんでした。\r\nネットワークに接続できません。127.0.0.1:")),
                 qPrintable(shown[1].text));
        QVERIFY(shown[1].text.endsWith(QStringLiteral("何も変更していません。\r\n")));
        QCOMPARE(shown[1].style, Mb::OKOnly + Mb::Exclamation);
        QVERIFY(keptFiles().isEmpty());
        QVERIFY(storedDays(folder_->folder()).isEmpty());
    }

    // Today's program kept from earlier in the day and its refresh cut off:
    // the older copy goes in, and the summary says so.
    void aPeriodUsingAnOlderCopySaysSo()
    {
        const QDate today = OfficialFiles::TodayInJapan();
        const QString path = OfficialFiles::KeptPath(Kind::Program, today);
        QDir().mkpath(OfficialFiles::KeptFolder());
        WriteFile(path, programArchive(today));
        setFileTime(path, QDateTime::currentDateTime().addSecs(-2 * 3600));
        server_->answer(sitePath(Kind::Program, today), {200, programArchive(today) + QByteArray(4000, 'x'), HttpTestServer::Mode::CutOff});
        PeriodImport::Fetched fetched;
        Database db(Global().DataFolder);
        const PeriodImport::Summary summary = PeriodImport::FetchDays(db, today, today, fetched);
        QCOMPARE(summary.days, 1);
        QCOMPARE(summary.stored, 2);
        QCOMPARE(fetched.failed.size(), 1);
        QVERIFY2(fetched.failed[0].startsWith(OfficialFiles::DayText(today) + QLatin1Char(' ') + OfficialFiles::FileName(Kind::Program, today) +
                                              QStringLiteral("：")) &&
                     fetched.failed[0].contains(QStringLiteral("途中で切れました")) &&
                     fetched.failed[0].endsWith(QStringLiteral("（前にダウンロードしたものを使いました）")),
                 qPrintable(fetched.failed[0]));
    }

    // After the plain network message the window is as before it started:
    // with the site back, the same window fetches the week.
    void aPeriodFetchCanBeTriedAgain()
    {
        server_->stop();
        HttpTestServer site;
        serveWeek(site);
        bool ready = false;
        startWeekFetch({}, [&](QDialog* form) {
            ready = form->findChild<QPushButton*>(QStringLiteral("CommandStart"))->isEnabled() &&
                    form->findChild<QDateEdit*>(QStringLiteral("DateFrom"))->isEnabled() &&
                    form->findChild<QDateEdit*>(QStringLiteral("DateTo"))->isEnabled();
            qputenv("VANTOR_DOWNLOAD_BASE", site.base().toLatin1());
            MsgBoxScript::queue(Mb::Yes);
            click(form, QStringLiteral("CommandStart"));
        });
        QVERIFY(PeriodImport::FetchPeriod(nullptr));
        QVERIFY(ready);
        const QStringList texts = MsgBoxScript::texts();
        QCOMPARE(texts.size(), 4);
        QVERIFY(texts[1].startsWith(QStringLiteral("番組表（b240801.lzh）をダウンロードできませんでした。\r\nネットワークに接続できません。")));
        QVERIFY2(texts[3].startsWith(QStringLiteral("一括取込が終わりました。\r\n")), qPrintable(texts[3]));
        QCOMPARE(storedDays(folder_->folder()), (QStringList{"1:2:1", "2:2:1", "3:2:1", "5:2:1", "6:2:1", "7:2:0"}));
    }

    // The proxy named in the environment carries the requests; a proxy that
    // is not there is told as such. The site's own host name is used (the
    // program asks no proxy for 127.0.0.1), with plain http so that the
    // local proxy can answer; each request is made only once it is sure to
    // go to that proxy, so none reaches the real host.
    void proxyFromTheEnvironment()
    {
        HttpTestServer proxy;
        proxy.answer(sitePath(Kind::Program, kDay), {200, programArchive(kDay)});
        qputenv("VANTOR_DOWNLOAD_BASE", "http://www1.mbrace.or.jp");
        qputenv("http_proxy", proxy.base().toLatin1());
        const QUrl address = OfficialFiles::Address(Kind::Program, kDay);
        const QList<QNetworkProxy> chosen = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(address));
        QVERIFY(!chosen.isEmpty());
        QCOMPARE(chosen.first().type(), QNetworkProxy::HttpProxy);
        QCOMPARE(chosen.first().hostName(), QStringLiteral("127.0.0.1"));
        QCOMPARE(int(chosen.first().port()), QUrl(proxy.base()).port());

        const Outcome outcome = OfficialFiles::Fetch(Kind::Program, kDay);
        QCOMPARE(outcome.status, Outcome::Ready);
        QCOMPARE(proxy.requests().size(), size_t(1));
        QCOMPARE(proxy.requests()[0].target, QByteArrayLiteral("http://www1.mbrace.or.jp/od2/B/202408/b240801.lzh"));

        proxy.stop();
        const Outcome failed = OfficialFiles::Fetch(Kind::Program, kDay.addDays(1));
        qunsetenv("http_proxy");
        QCOMPARE(failed.status, Outcome::Failed);
        QVERIFY2(failed.reason.startsWith(QStringLiteral("プロキシに接続できません（127.0.0.1:%1）").arg(QUrl(proxy.base()).port())),
                 qPrintable(failed.reason));
    }
};

QObject* NewDownloadTest() { return new DownloadTest; }

int WriteSiteFolder(const QString& folder)
{
    // The racers of the synthetic handbook race: seat k of race r of course c.
    auto toban = [](int course, int race, int k) { return 3000 + 37 * ((course * 72 + race * 6 + k) % 40); };
    const QDate first(2024, 8, 1);
    for (QDate day = first; day < first.addDays(7); day = day.addDays(1)) {
        if (day.day() == 4)
            continue;  // a day without racing
        std::vector<ProgramCourseText> programs;
        std::vector<ResultCourseText> results;
        for (int course : {2, 7, 12}) {
            ProgramCourseText program{course, false, {}};
            ResultCourseText result{course, false, {}};
            for (int race = 1; race <= 12; ++race) {
                ProgramRaceText p = MakeProgramRace(race, 4001);
                ResultRaceText r = MakeResultRace(race, 4001);
                for (int k = 0; k < 6; ++k) {
                    p.boats[size_t(k)].toban = toban(course, race, k);
                    r.lines[size_t(k)].toban = toban(course, race, k);
                    r.lines[size_t(k)].code = QStringLiteral("0%1").arg((k + race + day.day()) % 6 + 1);
                }
                program.races.push_back(p);
                result.races.push_back(r);
            }
            programs.push_back(program);
            results.push_back(result);
        }
        const auto write = [&](Kind kind, const QByteArray& member, const QByteArray& text) {
            const QString path = folder + OfficialFiles::Address(kind, day).path();
            QDir().mkpath(QFileInfo(path).absolutePath());
            WriteFile(path, Lh0Archive({{member, text}}));
        };
        write(Kind::Program, day.toString(QStringLiteral("'B'yyMMdd'.TXT'")).toLatin1(), ProgramFileBytes(day, programs));
        write(Kind::Results, day.toString(QStringLiteral("'K'yyMMdd'.TXT'")).toLatin1(), ResultFileBytes(day, results));
    }
    // The newest edition is not out yet; the one before it is.
    const QDate edition = OfficialFiles::HandbookEditions(OfficialFiles::TodayInJapan())[1];
    const QString path = folder + OfficialFiles::Address(Kind::Handbook, edition).path();
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteFile(path, Lh0Archive({{OfficialFiles::FileName(Kind::Handbook, edition).toUpper().replace(QStringLiteral(".LZH"), QStringLiteral(".TXT")).toLatin1(),
                                 SyntheticHandbook()}}));
    return 0;
}

#include "DownloadTest.moc"
