#pragma once

#include "SearchPanel.h"

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class Database;
class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class SearchPanel;

// The racer search window: the search panel, the selection box of up to six
// racers, the survey date and the race, and the extraction table.
class SelectForm : public QMainWindow {
    Q_OBJECT
public:
    explicit SelectForm(QWidget* parent = nullptr);
    ~SelectForm() override;

    void CommandDisp_Click(int index);
    void List1_Click();
    void List2_Click();
    void Menu_Close_Click();

    // Sets up a race in one step, as if the user had picked each racer from
    // the result list (line and row in boat order) and typed the date, the
    // racecourse and the race number: the selection box is replaced. Each
    // racer goes to his boat's slot; a pick with an empty row (a racer not in
    // the racer table) leaves that slot empty, its line saying so.
    struct Pick {
        QString line;
        ListRow row;
    };
    void TakeRace(const std::vector<Pick>& racers, int16_t year, int16_t month, int16_t day, const QString& course,
                  int16_t raceNo);

    SearchPanel* panel() const { return panel_; }
    int16_t W_SelCount = 0;

private:
    void buildToolbar(QWidget* client);
    void buildMenus();
    void buildRacePanels();
    void showMode();
    void closeWindow();
    void addToExtraction();
    void switchTable();
    void clearSelection();
    void pick(const QString& line, const ListRow& row);
    void fillSlot(int slot, const ListRow& row);
    void dateChanged(QComboBox* box, int16_t& target);

    std::unique_ptr<Database> db_;
    SearchPanel* panel_ = nullptr;
    std::array<QPushButton*, 7> CommandDisp{};
    QLabel* ImageTuika = nullptr;
    QLabel* LabelTable = nullptr;
    QComboBox* ComboNen = nullptr;
    QComboBox* ComboTuki = nullptr;
    QComboBox* ComboHi = nullptr;
    QComboBox* ComboBasho = nullptr;
    QComboBox* ComboRace = nullptr;
    QListWidget* List2 = nullptr;
    QAction* Menu_Select = nullptr;
    std::array<QAction*, 2> Menu_Table{};
};
