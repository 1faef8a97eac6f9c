#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <memory>

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
    // Takes a typed number into a 16-bit variable; a number that does not
    // fit is refused with a message and the box gets its last text back.
    bool takeNumber(QComboBox* box, int16_t& target);
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
