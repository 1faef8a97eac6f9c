#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class Database;
class QComboBox;
class QLabel;
class QLineEdit;
class Recordset;

// The race history: every stored race in a drop-down, however many there
// are, and a box that finds a day's races by date (and racecourse); the
// chosen race's six seats with the rhythms of its survey date and the
// finishing positions (or the finish code where a boat finished in no
// place), which can be written back; deleting and printing a race. Only the
// chosen race is read whole.
class RirekiForm : public QMainWindow {
    Q_OBJECT
public:
    explicit RirekiForm(QWidget* parent = nullptr);
    ~RirekiForm() override;

    void ComboRireki_Click();
    void Menu_Edit_Click();
    void Mneu_Delete_Click();
    void Menu_Print_Click();
    void Menu_Close_Click();
    void Menu_Seiseki_Click();
    void Menu_Ikkatsu_Click();
    void Menu_IkkatsuGet_Click();
    // Enter in the date box: the first race of the typed day (and racecourse).
    void TextHizuke_Enter();
    void Menu_SeisekiGet_Click();

    QString ShozokuMei(int16_t id);

private:
    void fillList();
    // Runs a command that reads results into the history, then shows the race on show again.
    void readResults(const QString& command);
    void LabelDisp();
    bool requireSelection();
    // Opens the history view and table on the race; false when it is gone.
    bool openRace(qint64 id);
    // Empties the six rows, as before any race is shown.
    void clearRows();
    // Puts the history table on the shown race; false when it is gone.
    bool findStoredRace();
    // The list is read again after other work stored races or results.
    void reload();

    // What the finder needs of each line of the list.
    struct Line {
        qint64 id;
        int date;  // year * 10000 + month * 100 + day
        QString course;
    };
    std::vector<Line> lines_;

    std::unique_ptr<Database> db_;
    std::unique_ptr<Recordset> view_;
    std::unique_ptr<Recordset> table_;
    std::unique_ptr<Recordset> branches_;
    int16_t selected_ = 0;
    // The last choice found its race, which the rows show.
    bool raceShown_ = false;
    QComboBox* ComboRireki = nullptr;
    std::array<QLineEdit*, 6> TextJyuni{};
    QLineEdit* TextHizuke = nullptr;
};
