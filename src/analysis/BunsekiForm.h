#pragma once

#include "ResultsAnalysis.h"

#include <QDate>
#include <QWidget>
#include <memory>

class Database;
class QComboBox;
class QDateEdit;
class QLabel;
class QTableWidget;
class RateChart;

// The results analysis: the stored races with their entered positions,
// counted by the state of each rhythm on the survey day, narrowed by survey
// date and racecourse; as a table with 95 % intervals and a chart, printed
// or saved as CSV. It opens over the race history window and closes with it.
class BunsekiForm : public QWidget {
    Q_OBJECT
public:
    // Opens over the history window when that is loaded, so that it closes
    // with it.
    BunsekiForm();
    ~BunsekiForm() override;

    const AnalysisTable& table() const { return table_; }

    void Filter_Change();
    void CommandPrint_Click();
    void CommandCsv_Click();

    // The calendar date of a day number, and back.
    static QDate DateOf(double dayNumber);
    static double DayNumberOf(const QDate& date);

protected:
    bool event(QEvent* event) override;

private:
    void loadCourses();
    // Reads the stored races again; date bounds left at the old range move
    // to the new one.
    void loadRaces();
    void showTable();
    QString conditionText() const;
    // The name of the print's PDF and the proposed CSV file: the period and the racecourse.
    QString fileTitle() const;
    qint64 dataVersion() const;

    std::unique_ptr<Database> db_;
    std::vector<StoredRace> races_;
    AnalysisTable table_;
    qint64 loadedVersion_ = -1;
    QDate firstDate_;
    QDate lastDate_;

    QDateEdit* DateFrom = nullptr;
    QDateEdit* DateTo = nullptr;
    QComboBox* ComboKyoteijyo = nullptr;
    QTableWidget* TableBunseki = nullptr;
    RateChart* PictureGraph = nullptr;
    QLabel* LabelGaitou = nullptr;
    QLabel* LabelJogai = nullptr;
};
