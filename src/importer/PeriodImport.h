#pragma once

#include "Download.h"

#include <QDate>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Database;
class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;

// A period of official day files in one step: every race of every
// racecourse of each day stored in the race history, and the day's results
// applied, each day as one transaction.
namespace PeriodImport {

// The two files of a day; either may be missing (empty).
struct DayFiles {
    QDate date;
    QString program;  // bYYMMDD.txt / .lzh
    QString results;  // kYYMMDD.txt / .lzh
};

// The day files of a folder: names bYYMMDD and kYYMMDD with .txt or .lzh,
// any case of letters, by day. Where a day has the same kind twice (a .txt
// and a .lzh), the first name in sorted order is taken and the other is
// listed in `doubles`.
struct Found {
    std::vector<DayFiles> days;  // in date order
    QStringList doubles;
};
Found FindDayFiles(const QString& folder);

struct Summary {
    int days = 0;         // days imported (each one whole)
    int stored = 0;       // races added
    int skipped = 0;      // races of the files already in the history
    int positions = 0;    // positions 1..6 written
    int codes = 0;        // finish codes other than a place written (F, L0, K1, S0 ...)
    int notInTable = 0;   // boats whose racer is not in the racer table
    int missingRacers = 0; // the racers of those boats, each once
    int changedEntered = 0; // positions stored before (not 0) that the results changed
    QStringList refused;  // "name：reason" for each file that could not be read
    bool cancelled = false;
};

// Imports the days in order. `progress` is told of each day before it is
// read (index from 0) and returns false to stop there: the days before it
// are written whole. A file that cannot be read, or that holds nothing yet,
// is refused with its reason and the rest of its day still goes in, and so
// is a results file whose day has no races to take its results. A database
// error ends the work (what the earlier days wrote stays).
Summary ImportDays(Database& db, const std::vector<DayFiles>& days,
                   const std::function<bool(int index, const QDate& date)>& progress = {});

// The summary as the user reads it.
QString SummaryText(const Summary& summary, const QDate& from, const QDate& to);

// The whole step on a folder: shows the period its files cover and lets the
// user narrow it, asks once, imports with a progress window and tells the
// summary. True when the history was written.
bool ImportFolder(QWidget* owner, const QString& folder);
// The menu's command: picks the folder first.
bool ChooseAndImportFolder(QWidget* owner);

// What fetching a period from the site came to, beside what was imported.
struct Fetched {
    int downloaded = 0;       // days of which a file came from the site this time
    int kept = 0;             // days whose files were all kept from before
    QList<QDate> noRacing;     // days without racing: neither file is on the site
    QList<QDate> programOnly;  // days whose results are not on the site (yet): the program went in alone
    QStringList failed;        // "2024年8月1日 b240801.lzh：reason" for each file that could not be fetched
    QList<QDate> notFetched;   // days lacking a file once the site could not be reached
    QString stopText;         // the message of the fetch that found the site unreachable
    QDate last;               // the last day dealt with
};

// Fetches the days of the period one after another, the program and then
// the results (a kept file that needs no fetch is used as it is), and
// imports each day before the next is fetched, so that a stop leaves whole
// days. Once the site cannot be reached, nothing more is asked of it: the
// remaining days are imported from the kept files alone. `told` hears what
// is being done ("" for the import of the day); `watch` follows the
// requests and is asked between the days whether to stop.
Summary FetchDays(Database& db, const QDate& from, const QDate& to, Fetched& fetched,
                  const std::function<void(int index, const QDate& date, const QString& file)>& told = {},
                  const Download::Watch& watch = {});

// The summary of a fetched period: SummaryText and the days fetched, without
// racing, with the program only, failed and left unfetched.
QString FetchSummaryText(const Summary& summary, const Fetched& fetched, const QDate& from, const QDate& to);

// The menu's command: the window in its fetching form.
bool FetchPeriod(QWidget* owner);

}

// The window of the step: the folder and its period, from / to, "取込開始";
// while importing, the bar, the day being read and "中止". In its fetching
// form the period is free up to `today` (in Japan) and each day is fetched
// from the site before it is imported.
class IkkatsuForm : public QDialog {
    Q_OBJECT
public:
    IkkatsuForm(const QString& folder, PeriodImport::Found found, QWidget* parent = nullptr);
    explicit IkkatsuForm(const QDate& today, QWidget* parent = nullptr);

    void CommandStart_Click();
    void CommandCancel_Click();
    void CommandClose_Click();
    bool wrote() const { return wrote_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void build(const QString& folderText, const QString& periodText, const QDate& min, const QDate& max,
               const QDate& from, const QDate& to);
    void startFolder(const QDate& from, const QDate& to);
    void startFetch(const QDate& from, const QDate& to);
    // Runs the import with the controls set for it; the summary's box after.
    void run(int days, const std::function<PeriodImport::Summary()>& work);

    QString folder_;
    PeriodImport::Found found_;
    bool fetch_ = false;
    bool running_ = false;
    bool cancel_ = false;
    bool wrote_ = false;
    // While importing: the day being read and how many days went in before it.
    QDate reading_;
    int written_ = 0;

    QLabel* LabelFolder = nullptr;
    QLabel* LabelKikan = nullptr;
    QDateEdit* DateFrom = nullptr;
    QDateEdit* DateTo = nullptr;
    QPushButton* CommandStart = nullptr;
    QPushButton* CommandClose = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QLabel* LabelDay = nullptr;
    QPushButton* CommandCancel = nullptr;
};
