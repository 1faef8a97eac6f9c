#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>

class CharPrinter;
class Database;
class QComboBox;
class QLineEdit;
class QPushButton;
class RecordNavigator;
class Recordset;

// The personal roster: family and friends with their birth dates, stepped
// through one at a time, kept and printed; one of them is handed to the
// biorhythm detail window for the chosen survey date.
class OriginalForm : public QMainWindow {
    Q_OBJECT
public:
    explicit OriginalForm(QWidget* parent = nullptr);
    ~OriginalForm() override;

    // 0-3 the moves, 4 update, 5 add, 6 delete, 7 print.
    void CommandDB_Click(int index);
    // The survey-date boxes, on typing and on picking from their lists.
    void ComboChoNen_Change();
    void ComboChoTuki_Change();
    void ComboChoHi_Change();
    void Menu_Disp_Click();
    void Menu_Sales_Click();
    void Menu_Close_Click();
    void Meibo_Print();

    // A year of the birth-year list with its era: "1970 (昭和45)".
    static QString YearWithEra(int year);

private:
    void buildControls();
    void fillLists(int thisYear);
    void showRow();
    void setFields();
    void surveyDateChanged(int which);

    std::unique_ptr<Database> db_;
    std::unique_ptr<Recordset> rs_;
    std::unique_ptr<RecordNavigator> navigator_;
    std::array<QPushButton*, 8> CommandDB{};
    std::array<QComboBox*, 3> ComboCho{};  // ComboChoNen, ComboChoTuki, ComboChoHi
    QLineEdit* TextNamae = nullptr;
    QComboBox* ComboNen = nullptr;
    QComboBox* ComboTuki = nullptr;
    QComboBox* ComboHi = nullptr;
    QLineEdit* RecordNo = nullptr;
};

// Writes the roster list "個別名簿一覧表" of every row of `people` into a
// document; returns the number of rows.
int BuildMeiboList(CharPrinter& printer, Recordset& people);
