#include "OfficialFiles.h"

#include "GlobalModule.h"
#include "LhaArchive.h"
#include "MsgBox.h"
#include "RuntimeError.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSaveFile>

namespace OfficialFiles {

namespace {
constexpr qint64 kJapanOffset = 9 * 3600;
constexpr qint64 kFreshSeconds = 3600;

QString memberPattern(Kind kind)
{
    switch (kind) {
    case Kind::Program: return QStringLiteral("B*.TXT");
    case Kind::Results: return QStringLiteral("K*.TXT");
    case Kind::Handbook: return QStringLiteral("FAN*.TXT");
    }
    return {};
}

QString what(Kind kind)
{
    switch (kind) {
    case Kind::Program: return QStringLiteral("番組表");
    case Kind::Results: return QStringLiteral("競走成績");
    case Kind::Handbook: return QStringLiteral("ファン手帳");
    }
    return {};
}

QDate japanDay(const QDateTime& moment) { return moment.toUTC().addSecs(kJapanOffset).date(); }

// The reader's refusal of the bytes, or empty when it reads them.
QString archiveProblem(QByteArrayView bytes, Kind kind, const QString& name)
{
    try {
        ReadLhaMember(bytes, name, memberPattern(kind));
        return {};
    } catch (const RuntimeError& error) {
        return error.description();
    }
}

bool keptIsWhole(Kind kind, const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && archiveProblem(file.readAll(), kind, QFileInfo(path).fileName()).isEmpty();
}

// Writes the bytes under a temporary name beside the kept file and renames
// it; an error text, or empty.
QString keep(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("フォルダ %1 を作れません。").arg(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("%1 に保存できません（%2）。").arg(path, file.errorString());
    return {};
}

QString timeText(const QDateTime& moment)
{
    return QLocale(QLocale::Japanese).toString(moment.toLocalTime(), QStringLiteral("M月d日 H:mm"));
}
}

QString DayText(const QDate& date) { return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day()); }

QString FileName(Kind kind, const QDate& date)
{
    switch (kind) {
    case Kind::Program: return date.toString(QStringLiteral("'b'yyMMdd'.lzh'"));
    case Kind::Results: return date.toString(QStringLiteral("'k'yyMMdd'.lzh'"));
    case Kind::Handbook: return date.toString(QStringLiteral("'fan'yyMM'.lzh'"));
    }
    return {};
}

QUrl Address(Kind kind, const QDate& date)
{
    const QString override = qEnvironmentVariable("VANTOR_DOWNLOAD_BASE");
    QString base;
    QString path;
    if (kind == Kind::Handbook) {
        base = QStringLiteral("https://www.boatrace.jp");
        path = QStringLiteral("/static_extra/pc_static/download/data/kibetsu/") + FileName(kind, date);
    } else {
        base = QStringLiteral("https://www1.mbrace.or.jp");
        path = QStringLiteral("/od2/%1/%2/").arg(kind == Kind::Program ? QLatin1Char('B') : QLatin1Char('K'))
                   .arg(date.toString(QStringLiteral("yyyyMM"))) + FileName(kind, date);
    }
    if (!override.isEmpty()) {
        base = override;
        while (base.endsWith(QLatin1Char('/')))
            base.chop(1);
    }
    return QUrl(base + path);
}

QString KeptFolder() { return Global().DataFolder + QStringLiteral("downloads/"); }
QString KeptPath(Kind kind, const QDate& date) { return KeptFolder() + FileName(kind, date); }

QDate TodayInJapan() { return japanDay(QDateTime::currentDateTimeUtc()); }

QList<QDate> HandbookEditions(const QDate& today, int count)
{
    QDate edition(today.year(), today.month() >= 10 ? 10 : 4, 1);
    if (today.month() < 4)
        edition = QDate(today.year() - 1, 10, 1);
    QList<QDate> editions;
    for (int i = 0; i < count; ++i, edition = edition.addMonths(-6))
        editions << edition;
    return editions;
}

bool KeptIsCurrent(Kind kind, const QDate& date)
{
    const QString path = KeptPath(kind, date);
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    if (kind != Kind::Handbook) {
        const QDateTime fetched = info.lastModified();
        const bool afterItsDay = japanDay(fetched) > date;
        const bool recent = fetched.secsTo(QDateTime::currentDateTime()) < kFreshSeconds;
        if (!afterItsDay && !recent)
            return false;
    }
    return keptIsWhole(kind, path);
}

Outcome Fetch(Kind kind, const QDate& date, const Download::Watch& watch)
{
    Outcome outcome;
    outcome.date = date;
    const QString path = KeptPath(kind, date);
    if (KeptIsCurrent(kind, date)) {
        outcome.status = Outcome::Ready;
        outcome.path = path;
        return outcome;
    }
    const Download::Result got = Download::Get(Address(kind, date), watch);
    outcome.requests = got.requests;
    outcome.unreachable = got.status == Download::Status::Failed && got.unreachable;
    switch (got.status) {
    case Download::Status::Cancelled:
        outcome.status = Outcome::Cancelled;
        return outcome;
    case Download::Status::NotFound:
        outcome.status = Outcome::Missing;
        return outcome;
    case Download::Status::Failed:
        outcome.reason = got.reason;
        break;
    case Download::Status::Done:
        outcome.reason = archiveProblem(got.bytes, kind, FileName(kind, date));
        if (outcome.reason.isEmpty())
            outcome.reason = keep(path, got.bytes);
        if (outcome.reason.isEmpty()) {
            outcome.status = Outcome::Ready;
            outcome.path = path;
            outcome.fetched = true;
            return outcome;
        }
        break;
    }
    // An older copy of a day still being published serves, with a word.
    if (QFileInfo::exists(path) && keptIsWhole(kind, path)) {
        outcome.status = Outcome::Ready;
        outcome.path = path;
    }
    return outcome;
}

Outcome FetchNewestHandbook(const QDate& today, const Download::Watch& watch)
{
    Outcome outcome;
    int requests = 0;
    for (const QDate& edition : HandbookEditions(today)) {
        outcome = Fetch(Kind::Handbook, edition, watch);
        requests += outcome.requests;
        if (outcome.status != Outcome::Missing)
            break;
    }
    outcome.requests = requests;
    return outcome;
}

QString OutcomeText(Kind kind, const QDate& date, const Outcome& outcome)
{
    const QString file = FileName(kind, date);
    switch (outcome.status) {
    case Outcome::Ready:
        if (outcome.reason.isEmpty())
            return {};
        return QStringLiteral("%1 の新しい版をダウンロードできませんでした。\r\n%2\r\n%3 にダウンロードしたものを使います。\r\n")
            .arg(file, outcome.reason, timeText(QFileInfo(outcome.path).lastModified()));
    case Outcome::Missing:
        if (kind == Kind::Program)
            return QStringLiteral("その日の番組表はありません。\r\n（%1、%2）\r\n").arg(DayText(date), file);
        if (kind == Kind::Results)
            return QStringLiteral("その日の競走成績はありません（レースのない日か、まだ発表されていません）。\r\n（%1、%2）\r\n")
                .arg(DayText(date), file);
        return QStringLiteral("ダウンロードできるファン手帳が見つかりません（%1 まで探しました）。\r\n").arg(file);
    case Outcome::Cancelled:
        return {};
    case Outcome::Failed:
        break;
    }
    return QStringLiteral("%1（%2）をダウンロードできませんでした。\r\n%3\r\n何も変更していません。\r\n").arg(what(kind), file, outcome.reason);
}

int OutcomeIcon(const Outcome& outcome)
{
    return outcome.status == Outcome::Missing ? Mb::Information : Mb::Exclamation;
}

namespace {
template <typename Work>
Outcome withWindow(QWidget* owner, const QString& item, Work&& work)
{
    // On the heap: should its owner go while the request runs, the window
    // goes with it, and the request ends as if stopped.
    QPointer<DownloadForm> form = new DownloadForm(owner);
    form->setItem(item);
    form->show();
    QApplication::processEvents();
    Outcome outcome = work(form->watch());
    delete form.data();
    return outcome;
}

QString tell(Kind kind, const QDate& date, const Outcome& outcome)
{
    const QString text = OutcomeText(kind, date, outcome);
    if (!text.isEmpty())
        MsgBox(text, Mb::OKOnly + OutcomeIcon(outcome));
    return outcome.status == Outcome::Ready ? outcome.path : QString();
}
}

QString FetchShown(QWidget* owner, Kind kind, const QDate& date)
{
    if (KeptIsCurrent(kind, date))
        return KeptPath(kind, date);
    const Outcome outcome = withWindow(owner, QStringLiteral("%1（%2）").arg(FileName(kind, date), DayText(date)),
                                       [&](const Download::Watch& watch) { return Fetch(kind, date, watch); });
    return tell(kind, date, outcome);
}

QString FetchNewestHandbookShown(QWidget* owner)
{
    const QDate today = TodayInJapan();
    const Outcome outcome = withWindow(owner, QStringLiteral("最新のファン手帳"),
                                       [&](const Download::Watch& watch) { return FetchNewestHandbook(today, watch); });
    return tell(Kind::Handbook, outcome.date, outcome);
}

}
