#include "PeriodImport.h"

#include "DailyFiles.h"
#include "Database.h"
#include "DayRaces.h"
#include "ErrorReport.h"
#include "FileDialog.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "OfficialFiles.h"
#include "RuntimeError.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMap>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <future>
#include <memory>
#include <optional>

namespace PeriodImport {

namespace {
const QString kTitle = QStringLiteral("一括取込");

QString dayText(const QDate& date) { return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day()); }

// The file's day by its name; invalid when the name is not a day file's.
QDate dateOfName(const QString& name, QChar* kind)
{
    static const QRegularExpression pattern(QStringLiteral("^([bk])(\\d{2})(\\d{2})(\\d{2})\\.(txt|lzh)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = pattern.match(name);
    if (!m.hasMatch())
        return {};
    *kind = m.captured(1).toLower().at(0);
    const int yy = m.captured(2).toInt();
    return QDate(yy < 70 ? 2000 + yy : 1900 + yy, m.captured(3).toInt(), m.captured(4).toInt());
}

// The lines of a summary's list, indented, eight at most (a box of a
// screen's height), then how many more.
QString listed(const QStringList& lines)
{
    constexpr int Shown = 8;
    QString text;
    for (const QString& line : lines.mid(0, Shown))
        text += QStringLiteral("　") + line + QStringLiteral("\r\n");
    if (lines.size() > Shown)
        text += QStringLiteral("　ほか %1 件\r\n").arg(lines.size() - Shown);
    return text;
}

QString refusal(const QString& path, const QString& reason) { return QFileInfo(path).fileName() + QStringLiteral("：") + reason; }

// Reads one file of the day; a file that cannot be read is refused, a file
// of another day than its name says too.
template <typename Day>
std::optional<Day> readFile(const QString& path, const QDate& named, Day (*read)(const QString&), const QString& empty,
                            QStringList& refused)
{
    if (path.isEmpty())
        return std::nullopt;
    try {
        Day day = read(path);
        // A file published before the day's races (every racecourse "not
        // yet") names no day and holds nothing.
        if (!day.date.isValid()) {
            refused << refusal(path, empty);
            return std::nullopt;
        }
        if (day.date != named) {
            refused << refusal(path, QStringLiteral("中の日付（%1）が名前の日付（%2）と違います。").arg(dayText(day.date), dayText(named)));
            return std::nullopt;
        }
        return day;
    } catch (const RuntimeError& error) {
        refused << refusal(path, error.description());
        return std::nullopt;
    }
}
}

Found FindDayFiles(const QString& folder)
{
    QMap<QDate, DayFiles> days;
    Found found;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names) {
        QChar kind;
        const QDate date = dateOfName(name, &kind);
        if (!date.isValid())
            continue;
        DayFiles& day = days[date];
        day.date = date;
        QString& slot = kind == QLatin1Char('b') ? day.program : day.results;
        if (!slot.isEmpty()) {
            found.doubles << name;
            continue;
        }
        slot = QDir(folder).filePath(name);
    }
    for (const DayFiles& day : std::as_const(days))
        found.days.push_back(day);
    return found;
}

namespace {
// A day's two files as read.
struct ReadDay {
    std::optional<DailyFiles::ProgramDay> program;
    std::optional<DailyFiles::ResultDay> results;
    QStringList refused;
};

ReadDay readDay(const DayFiles& files)
{
    ReadDay read;
    read.program = readFile<DailyFiles::ProgramDay>(files.program, files.date, DailyFiles::ReadProgram,
                                                    QStringLiteral("まだ番組がありません。"), read.refused);
    read.results = readFile<DailyFiles::ResultDay>(files.results, files.date, DailyFiles::ReadResults,
                                                   QStringLiteral("まだ成績がありません。"), read.refused);
    return read;
}
}

namespace {
// What the import keeps from one day to the next, also where the days come
// one call at a time.
struct Days {
    explicit Days(Database& db) : writer(db) {}
    DayRaces::DayWriter writer;
    QSet<int> missing;  // racers not in the racer table, each once
};
}

static void importDays(Days& state, const std::vector<DayFiles>& days,
                       const std::function<bool(int, const QDate&)>& progress, Summary& summary)
{
    DayRaces::DayWriter& writer = state.writer;
    QSet<int>& missing = state.missing;
    // Reading and unpacking the files is most of the work: the next day is
    // read on another thread while this one writes a day. Only this thread
    // touches the database; a read not taken is waited for on the way out.
    std::future<ReadDay> next;
    // A day written goes with the read after next, to be freed on the
    // thread that made it.
    std::shared_ptr<ReadDay> written;
    auto readAhead = [&](size_t i) {
        if (i < days.size())
            next = std::async(std::launch::async, [&files = days[i], old = std::move(written)]() mutable {
                old.reset();
                return readDay(files);
            });
    };
    readAhead(0);
    for (size_t i = 0; i < days.size(); ++i) {
        const DayFiles& files = days[i];
        if (progress && !progress(int(i), files.date)) {
            summary.cancelled = true;
            return;
        }
        auto current = std::make_shared<ReadDay>(next.get());
        const ReadDay& read = *current;
        readAhead(i + 1);
        summary.refused += read.refused;
        const auto& program = read.program;
        const auto& results = read.results;
        DayRaces::StoreSummary stored;
        DayRaces::ResultsPlan plan;
        writer.inTransaction([&] {
            if (program)
                stored = writer.storePrograms(*program, 0, results ? &*results : nullptr);
            // Races stored just now carry the day's results already; only a
            // day that held races before needs them matched.
            if (results && !(program && stored.dayWasEmpty)) {
                plan = writer.planResults(*results);
                writer.applyResults(plan);
            }
        });
        // Results with no race of their day to go to are not used at all.
        if (results && !program && plan.storedRaces == 0)
            summary.refused << refusal(files.results, files.program.isEmpty()
                                                          ? QStringLiteral("この日のレース履歴も番組表もありません。")
                                                          : QStringLiteral("この日のレース履歴がなく、番組表も読めませんでした。"));
        ++summary.days;
        summary.stored += stored.stored;
        summary.skipped += stored.skipped;
        summary.notInTable += stored.notInTable;
        missing += stored.missingRacers;
        summary.missingRacers = int(missing.size());
        summary.changedEntered += plan.changedEntered;
        summary.positions += stored.positions;
        summary.codes += stored.codes;
        // Of races stored before, only the seats the results changed.
        summary.positions += plan.changedPositions;
        summary.codes += plan.changedCodes;
        written = std::move(current);
    }
}

Summary ImportDays(Database& db, const std::vector<DayFiles>& days, const std::function<bool(int, const QDate&)>& progress)
{
    Summary summary;
    Days state(db);
    importDays(state, days, progress, summary);
    return summary;
}

QString SummaryText(const Summary& s, const QDate& from, const QDate& to)
{
    QString text = s.cancelled ? QStringLiteral("一括取込を中止しました。取り込んだ日は日ごとにすべて登録されています。\r\n")
                               : QStringLiteral("一括取込が終わりました。\r\n");
    text += QStringLiteral("期間：%1～%2\r\n").arg(dayText(from), dayText(to));
    text += QStringLiteral("取り込んだ日：%1 日\r\n").arg(s.days);
    text += QStringLiteral("登録したレース：%1 件\r\n").arg(s.stored);
    text += QStringLiteral("登録済みのため飛ばしたレース：%1 件\r\n").arg(s.skipped);
    text += QStringLiteral("書き込んだ順位：%1 席\r\n").arg(s.positions);
    text += QStringLiteral("書き込んだ着順の記号（F・L・K・S など）：%1 席\r\n").arg(s.codes);
    text += QStringLiteral("選手テーブルにない選手（登番と番組表の内容で登録）：%1 人（%2 席）\r\n").arg(s.missingRacers).arg(s.notInTable);
    if (s.changedEntered > 0)
        text += QStringLiteral("入力済みの順位を成績で書き換えた席：%1 席\r\n").arg(s.changedEntered);
    text += QStringLiteral("読めなかったファイル：%1 件\r\n").arg(s.refused.size());
    return text + listed(s.refused);
}

bool ImportFolder(QWidget* owner, const QString& folder)
{
    Found found = FindDayFiles(folder);
    if (found.days.empty()) {
        MsgBox(QStringLiteral("%1 に番組表（bYYMMDD）と成績（kYYMMDD）のファイルがありません。\r\n").arg(QDir::toNativeSeparators(folder)),
               Mb::OKOnly + Mb::Exclamation);
        return false;
    }
    IkkatsuForm form(folder, std::move(found), owner);
    form.exec();
    return form.wrote();
}

bool ChooseAndImportFolder(QWidget* owner)
{
    const QString folder = ChooseFolder(owner, QStringLiteral("番組表と成績のフォルダ"), QStringLiteral("一括取込"));
    if (folder.isEmpty())
        return false;
    return ImportFolder(owner, folder);
}

namespace {
// "8月4日"; with the year where the period spans more than one.
QString daysText(const QList<QDate>& days, const QDate& from, const QDate& to)
{
    if (days.isEmpty())
        return {};
    constexpr int Shown = 8;
    QStringList texts;
    for (const QDate& day : days.mid(0, Shown))
        texts << (from.year() == to.year() ? QStringLiteral("%1月%2日").arg(day.month()).arg(day.day()) : dayText(day));
    QString text = QStringLiteral("（") + texts.join(QStringLiteral("、"));
    if (days.size() > Shown)
        text += QStringLiteral(" ほか %1 日").arg(days.size() - Shown);
    return text + QStringLiteral("）");
}
}

Summary FetchDays(Database& db, const QDate& from, const QDate& to, Fetched& fetched,
                  const std::function<void(int, const QDate&, const QString&)>& told, const Download::Watch& watch)
{
    using OfficialFiles::Kind;
    using OfficialFiles::Outcome;
    Summary summary;
    // One writer for the whole period: the racer table and the copies are
    // read once, and a racer missing on several days is counted once.
    Days state(db);
    bool offline = false;
    int index = 0;
    for (QDate date = from; date <= to; date = date.addDays(1), ++index) {
        if (watch.cancelled && watch.cancelled()) {
            summary.cancelled = true;
            return summary;
        }
        DayFiles files{date, {}, {}};
        int missing = 0;
        bool resultsMissing = false;
        bool downloaded = false;
        bool lacking = false;
        for (const Kind kind : {Kind::Program, Kind::Results}) {
            QString& slot = kind == Kind::Program ? files.program : files.results;
            if (OfficialFiles::KeptIsCurrent(kind, date)) {
                slot = OfficialFiles::KeptPath(kind, date);
                continue;
            }
            if (offline) {
                lacking = true;
                continue;
            }
            if (told)
                told(index, date, OfficialFiles::FileName(kind, date));
            const Outcome outcome = OfficialFiles::Fetch(kind, date, watch);
            if (outcome.status == Outcome::Cancelled) {
                summary.cancelled = true;
                return summary;
            }
            if (outcome.unreachable && !offline) {
                // Every further request would wait for the same fault.
                offline = true;
                fetched.stopText = OfficialFiles::OutcomeText(kind, date, outcome);
            }
            switch (outcome.status) {
            case Outcome::Ready:
                slot = outcome.path;
                downloaded = downloaded || outcome.fetched;
                // An older kept copy of a day still running: said, as it may lack the latest races.
                if (!outcome.reason.isEmpty())
                    fetched.failed << QStringLiteral("%1 %2：%3（前にダウンロードしたものを使いました）")
                                          .arg(dayText(date), OfficialFiles::FileName(kind, date), outcome.reason);
                break;
            case Outcome::Missing:
                ++missing;
                resultsMissing = kind == Kind::Results;
                break;
            case Outcome::Failed:
                fetched.failed << QStringLiteral("%1 %2：%3").arg(dayText(date), OfficialFiles::FileName(kind, date), outcome.reason);
                break;
            case Outcome::Cancelled:
                break;
            }
        }
        fetched.last = date;
        if (lacking)
            fetched.notFetched << date;
        if (files.program.isEmpty() && files.results.isEmpty()) {
            if (missing == 2)
                fetched.noRacing << date;
            continue;
        }
        if (!files.program.isEmpty() && resultsMissing)
            fetched.programOnly << date;
        ++(downloaded ? fetched.downloaded : fetched.kept);
        if (told)
            told(index, date, QString());
        importDays(state, {files}, {}, summary);
    }
    return summary;
}

QString FetchSummaryText(const Summary& summary, const Fetched& f, const QDate& from, const QDate& to)
{
    QString text = SummaryText(summary, from, to);
    text += QStringLiteral("ダウンロードした日：%1 日\r\n").arg(f.downloaded);
    text += QStringLiteral("保存済みのファイルを使った日：%1 日\r\n").arg(f.kept);
    text += QStringLiteral("レースのない日（番組表も成績もない日）：%1 日%2\r\n").arg(f.noRacing.size()).arg(daysText(f.noRacing, from, to));
    text += QStringLiteral("成績がまだない日（番組表だけ取り込み）：%1 日%2\r\n").arg(f.programOnly.size()).arg(daysText(f.programOnly, from, to));
    text += QStringLiteral("ダウンロードできなかったファイル：%1 件\r\n").arg(f.failed.size());
    text += listed(f.failed);
    if (!f.notFetched.isEmpty())
        text += QStringLiteral("ネットワークに接続できないため、それからは保存済みのファイルだけを使いました。ファイルがそろわなかった日：%1 日%2\r\n")
                    .arg(f.notFetched.size())
                    .arg(daysText(f.notFetched, from, to));
    return text;
}

bool FetchPeriod(QWidget* owner)
{
    IkkatsuForm form(OfficialFiles::TodayInJapan(), owner);
    form.exec();
    return form.wrote();
}

}

// ---------------------------------------------------------------- IkkatsuForm

IkkatsuForm::IkkatsuForm(const QString& folder, PeriodImport::Found found, QWidget* parent)
    : QDialog(parent), folder_(folder), found_(std::move(found))
{
    const QDate first = found_.days.front().date;
    const QDate last = found_.days.back().date;
    int files = 0;
    for (const PeriodImport::DayFiles& day : found_.days)
        files += int(!day.program.isEmpty()) + int(!day.results.isEmpty());
    build(QStringLiteral("フォルダ：") + QDir::toNativeSeparators(folder_),
          QStringLiteral("ファイルの期間：%1.%2.%3～%4.%5.%6（%7 日分、%8 ファイル）")
              .arg(first.year()).arg(first.month()).arg(first.day())
              .arg(last.year()).arg(last.month()).arg(last.day())
              .arg(found_.days.size()).arg(files),
          first, last, first, last);
}

IkkatsuForm::IkkatsuForm(const QDate& today, QWidget* parent) : QDialog(parent), fetch_(true)
{
    // The last seven days that are over; any period up to today.
    build(QStringLiteral("保存先：") + QDir::toNativeSeparators(OfficialFiles::KeptFolder()),
          QStringLiteral("公式サイトからダウンロードして取り込みます（%1 まで）").arg(today.toString(QStringLiteral("yyyy.M.d"))),
          QDate(1970, 1, 1), today, today.addDays(-7), today.addDays(-1));
    setWindowTitle(QStringLiteral("一括取得"));
}

void IkkatsuForm::build(const QString& folderText, const QString& periodText, const QDate& min, const QDate& max,
                        const QDate& from, const QDate& to)
{
    setObjectName(QStringLiteral("IkkatsuForm"));
    setWindowTitle(QStringLiteral("一括取込"));
    auto label = [this](const QString& text, const QString& name, int w, int l, int t) {
        auto* made = new QLabel(text, this);
        made->setObjectName(name);
        Set_ControlFont(made, 9, w, 20, l, t);
        return made;
    };
    auto button = [this](const QString& text, const QString& name, int l, int t, void (IkkatsuForm::*handler)()) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        Set_ControlFont(b, 9, 110, 28, l, t);
        connect(b, &QPushButton::clicked, this, [this, handler] { Guarded([&] { (this->*handler)(); }); });
        return b;
    };
    LabelFolder = label(folderText, QStringLiteral("LabelFolder"), 464, 8, 8);
    LabelKikan = label(periodText, QStringLiteral("LabelKikan"), 464, 8, 32);
    label(QStringLiteral("取り込む期間"), QStringLiteral("LabelFrom"), 90, 8, 64);
    auto dateBox = [this, min, max](const QString& name, const QDate& value, int l) {
        auto* box = new QDateEdit(value, this);
        box->setObjectName(name);
        box->setDisplayFormat(QStringLiteral("yyyy.M.d"));
        box->setDateRange(min, max);
        box->setCalendarPopup(true);
        Set_ControlFont(box, 9, 120, 25, l, 60);
        return box;
    };
    DateFrom = dateBox(QStringLiteral("DateFrom"), from, 100);
    label(QStringLiteral("～"), QStringLiteral("LabelTo"), 20, 228, 64);
    DateTo = dateBox(QStringLiteral("DateTo"), to, 252);
    CommandStart = button(QStringLiteral("取込開始"), QStringLiteral("CommandStart"), 246, 150, &IkkatsuForm::CommandStart_Click);
    CommandClose = button(QStringLiteral("閉じる"), QStringLiteral("CommandClose"), 362, 150, &IkkatsuForm::CommandClose_Click);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    Set_ControlFont(ProgressBar, 9, 464, 22, 8, 98);
    ProgressBar->setRange(0, 1);
    ProgressBar->setValue(0);
    LabelDay = label(QString(), QStringLiteral("LabelDay"), 464, 8, 124);
    CommandCancel = button(QStringLiteral("中止"), QStringLiteral("CommandCancel"), 8, 150, &IkkatsuForm::CommandCancel_Click);
    CommandCancel->setEnabled(false);
    SizeAndCentre(this, 480, 190);
}

void IkkatsuForm::CommandStart_Click()
{
    if (running_)
        return;
    const QDate from = DateFrom->date();
    const QDate to = DateTo->date();
    if (from > to) {
        MsgBox(QStringLiteral("期間の始めが終わりより後になっています。"), Mb::OKOnly + Mb::Exclamation);
        return;
    }
    if (fetch_)
        startFetch(from, to);
    else
        startFolder(from, to);
}

void IkkatsuForm::startFolder(const QDate& from, const QDate& to)
{
    std::vector<PeriodImport::DayFiles> days;
    for (const PeriodImport::DayFiles& day : found_.days)
        if (day.date >= from && day.date <= to)
            days.push_back(day);
    if (days.empty()) {
        MsgBox(QStringLiteral("この期間のファイルはありません。"), Mb::OKOnly + Mb::Exclamation);
        return;
    }
    if (MsgBox(QStringLiteral("%1 日分の番組表と成績を取り込みますか。").arg(days.size()), Mb::Confirm, QStringLiteral("一括取込")) != Mb::Yes)
        return;

    PeriodImport::Summary summary;
    run(int(days.size()), [&] {
        const auto progress = [&](int index, const QDate& date) {
            written_ = index;
            reading_ = date;
            ProgressBar->setValue(index);
            LabelDay->setText(QStringLiteral("%1 を読んでいます（%2 / %3 日）").arg(date.toString(QStringLiteral("yyyy.M.d"))).arg(index + 1).arg(days.size()));
            // "中止" is heard between two days; a day goes in whole.
            QCoreApplication::processEvents();
            return !cancel_;
        };
        Database db(Global().DataFolder);
        summary = PeriodImport::ImportDays(db, days, progress);
        return summary;
    });
    const int style = summary.refused.isEmpty() ? Mb::OKOnly + Mb::Information : Mb::OKOnly + Mb::Exclamation;
    MsgBox(PeriodImport::SummaryText(summary, from, summary.cancelled ? days[size_t(std::max(0, summary.days - 1))].date : to),
           style, QStringLiteral("一括取込"));
    accept();
}

void IkkatsuForm::startFetch(const QDate& from, const QDate& to)
{
    const int days = int(from.daysTo(to)) + 1;
    // How long it takes at least: one pause a file that is not kept.
    int toFetch = 0;
    for (QDate date = from; date <= to; date = date.addDays(1))
        for (const OfficialFiles::Kind kind : {OfficialFiles::Kind::Program, OfficialFiles::Kind::Results})
            toFetch += int(!OfficialFiles::KeptIsCurrent(kind, date));
    const qint64 seconds = qint64(toFetch) * Download::settings().pauseMs / 1000;
    const QString least = seconds < 120 ? QStringLiteral("%1 秒").arg(seconds) : QStringLiteral("約 %1 分").arg((seconds + 59) / 60);
    QString question = QStringLiteral("%1 日分の番組表と成績をダウンロードして取り込みますか。\r\n").arg(days);
    question += toFetch == 0 ? QStringLiteral("（どの日も保存済みのファイルを使います。）")
                             : QStringLiteral("（保存済みでないファイル %1 件をダウンロードします。1 ファイルずつ間をあけるので、少なくとも %2かかります。）")
                                   .arg(toFetch).arg(least);
    if (MsgBox(question, Mb::Confirm, windowTitle()) != Mb::Yes)
        return;

    PeriodImport::Summary summary;
    PeriodImport::Fetched fetched;
    run(days, [&] {
        int imported = 0;
        const auto told = [&](int index, const QDate& date, const QString& file) {
            ProgressBar->setValue(index);
            if (file.isEmpty()) {  // the day's files are at hand: it is imported now
                reading_ = date;
                written_ = imported++;
            }
            const QString day = date.toString(QStringLiteral("yyyy.M.d"));
            const QString doing = file.isEmpty() ? QStringLiteral("%1 を読んでいます").arg(day)
                                                 : QStringLiteral("%1 の %2 をダウンロードしています").arg(day, file);
            LabelDay->setText(doing + QStringLiteral("（%1 / %2 日）").arg(index + 1).arg(days));
            QCoreApplication::processEvents();
        };
        Download::Watch watch;
        // Heard while a request waits (the window keeps running) and between the days.
        watch.cancelled = [this] { return cancel_; };
        Database db(Global().DataFolder);
        summary = PeriodImport::FetchDays(db, from, to, fetched, told, watch);
        return summary;
    });
    if (summary.days == 0 && !summary.cancelled && !fetched.stopText.isEmpty()) {
        // Nothing at hand and the site out of reach: the plain message; the
        // window stays for another try.
        ProgressBar->setValue(0);
        LabelDay->clear();
        MsgBox(fetched.stopText, Mb::OKOnly + Mb::Exclamation, windowTitle());
        return;
    }
    const bool clean = summary.refused.isEmpty() && fetched.failed.isEmpty() && fetched.notFetched.isEmpty();
    MsgBox(PeriodImport::FetchSummaryText(summary, fetched, from, summary.cancelled ? std::max(from, fetched.last) : to),
           Mb::OKOnly + (clean ? Mb::Information : Mb::Exclamation), windowTitle());
    accept();
}

void IkkatsuForm::run(int days, const std::function<PeriodImport::Summary()>& work)
{
    running_ = true;
    cancel_ = false;
    for (QWidget* w : std::initializer_list<QWidget*>{DateFrom, DateTo, CommandStart, CommandClose})
        w->setEnabled(false);
    CommandCancel->setEnabled(true);
    ProgressBar->setRange(0, days);
    ProgressBar->setValue(0);
    PeriodImport::Summary summary;
    written_ = 0;
    reading_ = QDate();
    const auto finish = [&] {
        running_ = false;
        CommandCancel->setEnabled(false);
        // Where the window stays open (the site out of reach), it is ready for another try.
        for (QWidget* w : std::initializer_list<QWidget*>{DateFrom, DateTo, CommandStart, CommandClose})
            w->setEnabled(true);
        wrote_ = wrote_ || summary.days > 0;
    };
    try {
        summary = work();
    } catch (...) {
        // The days before the failing one are in the history: the user is
        // told so under the bar, and the history is read again.
        wrote_ = wrote_ || written_ > 0;
        if (reading_.isValid())
            LabelDay->setText(QStringLiteral("%1 で止まりました。その前の %2 日分は登録されています。")
                                  .arg(reading_.toString(QStringLiteral("yyyy.M.d")))
                                  .arg(written_));
        finish();
        throw;
    }
    if (!summary.cancelled)
        ProgressBar->setValue(days);
    finish();
}

void IkkatsuForm::CommandCancel_Click() { cancel_ = true; }

void IkkatsuForm::CommandClose_Click() { reject(); }

void IkkatsuForm::reject()
{
    // Escape while importing asks to stop, as "中止" does.
    if (running_) {
        cancel_ = true;
        return;
    }
    QDialog::reject();
}

void IkkatsuForm::closeEvent(QCloseEvent* event)
{
    // While importing, closing the window is asking to stop.
    if (running_) {
        cancel_ = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
