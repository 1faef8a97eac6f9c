#pragma once

#include "SearchPanel.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class Database;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class Recordset;
struct SensyuListKey;

// Racer table maintenance: the search panel finds racers, a list click loads
// one into the edit box, and the buttons update, add, delete and print them.
// The window also switches the whole program between the racer table and
// the user's extraction table.
class SensyuForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int ShozokuSlots = 101;
    static constexpr int BladSlots = 11;

    explicit SensyuForm(QWidget* parent = nullptr);
    ~SensyuForm() override;

    void CommandDisp_Click(int index);
    void Menu_Ment_Click(int index);
    void List1_Click();
    void Menu_Close_Click();

    // The id of the first lookup slot named exactly `name`; 0 and a box
    // when there is none.
    int16_t SyozokuID_Kensaku(const QString& name);
    int16_t BladID_Kensaku(const QString& name);
    // Reopens the window's table recordset for the current ExtractMode (the
    // search panel reopens the query recordset with it).
    void Table_Change();
    void SensyuPrint();

    SearchPanel* panel() const { return panel_; }
    SearchPanel::Kind lastKind() const { return lastKind_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Slot {
        QString name;
        int16_t id = 0;
    };

    void buildToolbar(QWidget* client);
    void buildMenus();
    void buildEditBox(QWidget* client);
    void fillLookups();
    void openTable();
    void showMode();

    // Finds the selected line's racer in the query and the table and gives
    // "登番 名前" for the question; false (and the box) when no line is
    // selected, the run-time error when he is no longer there.
    bool selectedRacer(QString& racer);
    void updateRacer();
    void addRacer();
    void deleteRacer();
    void deleteListed();
    void printList();
    void switchTable();
    void repeatLastSearch();
    // Writes the edit box into a changed (or, `adding`, a new) row once its
    // branch and blood type are found in their tables.
    void storeEditBox(Recordset& query, bool adding);
    // The thirteen fields of the edit box into the current row of the query.
    void writeFields(Recordset& rs, int16_t shozokuId, int16_t bladId);
    SensyuListKey listKey() const;

    std::unique_ptr<Database> db_;
    std::unique_ptr<Recordset> table_;
    std::unique_ptr<Recordset> shozoku_;
    std::unique_ptr<Recordset> blad_;
    SearchPanel* panel_ = nullptr;
    std::array<Slot, ShozokuSlots> shozokuSlots_{};
    std::array<Slot, BladSlots> bladSlots_{};
    SearchPanel::Kind lastKind_ = SearchPanel::Kind::Prefecture;
    int lastKana_ = 0;

    std::array<QPushButton*, 9> CommandDisp{};
    QLabel* LabelTable = nullptr;
    std::array<QAction*, 4> Menu_Ment{};
    std::array<QAction*, 2> Menu_Table{};
    QComboBox* ComboSyozoku = nullptr;
    QLineEdit* Ki = nullptr;
    QLineEdit* Toban = nullptr;
    QLineEdit* Namae = nullptr;
    QLineEdit* Yomigana = nullptr;
    QLineEdit* Kyu = nullptr;
    QLineEdit* Seinen = nullptr;
    QLineEdit* Seituki = nullptr;
    QLineEdit* Seihi = nullptr;
    QComboBox* ComboBladtype = nullptr;
    QLineEdit* Syoritu = nullptr;
    QLineEdit* Fukuritu = nullptr;
    // A mouse button is down on the list, and the press changed its line
    // (which has been loaded then).
    bool pressed_ = false;
    bool lineChanged_ = false;
    // The Enter key's ring through the edit box.
    std::array<QWidget*, 12> ring_{};
};
