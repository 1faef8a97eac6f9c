#pragma once

#include "DailyFiles.h"
#include "SelectForm.h"

#include <QHash>
#include <QMainWindow>
#include <memory>
#include <optional>

class Database;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class Recordset;

// "番組表": a day's race programs. The user picks the file, or fetches the
// survey date's from the official site; its racecourses
// are listed, then the races of the chosen racecourse, then the six boats of
// the chosen race, marked where the racer is not in the racer table in use.
// "選択" sets the race up in the search window; "全レース登録" stores every
// race of the racecourse in the race history.
class BangumiForm : public QMainWindow {
    Q_OBJECT
public:
    explicit BangumiForm(QWidget* parent = nullptr);
    ~BangumiForm() override;

    // Reads a race-program file (a broken one raises its run-time error and
    // leaves the lists as they were).
    void Open(const QString& path);

    void CommandFile_Click();
    // Fetches the programs of the survey date (kept in downloads/) and reads them.
    void CommandDownload_Click();
    void ListBasho_Click();
    void ListRace_Click();
    void CommandSentaku_Click();
    void CommandAll_Click();
    void CommandClose_Click();

private:
    const DailyFiles::ProgramCourse* chosenCourse() const;
    const DailyFiles::ProgramRace* chosenRace() const;
    // The racecourse's name in T_競艇場; empty (after telling the user) when
    // the table has no racecourse of that code.
    QString requireCourseName(int code) const;
    // The racer of each boat in the racer table in use, as the result list
    // would show it; none where the registration number is not there.
    std::vector<std::optional<SelectForm::Pick>> findRacers(Recordset& racers, const DailyFiles::ProgramRace& race);
    std::unique_ptr<Recordset> openRacers();
    void rememberChoice() const;

    std::unique_ptr<Database> db_;
    QHash<int, QString> courseNames_;
    DailyFiles::ProgramDay day_;
    QString fileName_;

    QPushButton* CommandFile = nullptr;
    QPushButton* CommandDownload = nullptr;
    QLabel* LabelFile = nullptr;
    QListWidget* ListBasho = nullptr;
    QListWidget* ListRace = nullptr;
    QTableWidget* GridBoat = nullptr;
    QPushButton* CommandSentaku = nullptr;
    QPushButton* CommandAll = nullptr;
    QPushButton* CommandClose = nullptr;
};
