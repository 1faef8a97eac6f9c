#pragma once

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

}

// The window of the step: the folder and its period, from / to, "取込開始";
// while importing, the bar, the day being read and "中止".
class IkkatsuForm : public QDialog {
    Q_OBJECT
public:
    IkkatsuForm(const QString& folder, PeriodImport::Found found, QWidget* parent = nullptr);

    void CommandStart_Click();
    void CommandCancel_Click();
    void CommandClose_Click();
    bool wrote() const { return wrote_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QString folder_;
    PeriodImport::Found found_;
    bool running_ = false;
    bool cancel_ = false;
    bool wrote_ = false;

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
