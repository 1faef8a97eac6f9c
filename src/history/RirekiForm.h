#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <memory>

class Database;
class QComboBox;
class QLabel;
class QLineEdit;
class Recordset;

// The race history: every stored race in a drop-down; the chosen race's six
// seats with the rhythms of its survey date and the finishing positions,
// which can be written back; deleting and printing a race.
class RirekiForm : public QMainWindow {
    Q_OBJECT
public:
    // The drop-down's counter is a 16-bit one.
    static constexpr int MaxRaces = 32767;

    explicit RirekiForm(QWidget* parent = nullptr);
    ~RirekiForm() override;

    void ComboRireki_Click();
    void Menu_Edit_Click();
    void Mneu_Delete_Click();
    void Menu_Print_Click();
    void Menu_Close_Click();
    void Menu_Seiseki_Click();
    void Menu_SeisekiGet_Click();

    QString ShozokuMei(int16_t id);

private:
    void fillList();
    // Runs a command that reads results into the history, then shows the race on show again.
    void readResults(const QString& command);
    void LabelDisp();
    bool requireSelection();
    // Empties the six rows, as before any race is shown.
    void clearRows();
    // Puts the history table on the shown race; false when it is gone.
    bool findStoredRace();

    std::unique_ptr<Database> db_;
    std::unique_ptr<Recordset> view_;
    std::unique_ptr<Recordset> table_;
    std::unique_ptr<Recordset> branches_;
    int16_t selected_ = 0;
    // The last choice found its race, which the rows show.
    bool raceShown_ = false;
    QComboBox* ComboRireki = nullptr;
    std::array<QLineEdit*, 6> TextJyuni{};
};
