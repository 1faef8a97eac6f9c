#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

class CharPrinter;
class Database;
class QLineEdit;
class QPushButton;
class RecordNavigator;
class Recordset;

// The racecourse table, one racecourse at a time: stepping through it,
// updating, adding and deleting rows, and printing the racecourse list.
class KyoteijyoForm : public QMainWindow {
    Q_OBJECT
public:
    explicit KyoteijyoForm(QWidget* parent = nullptr);
    ~KyoteijyoForm() override;

    // 0-3 the moves, 4 update, 5 add, 6 delete, 7 print.
    void CommandDB_Click(int index);
    void Kyoteijyo_Print();
    void Menu_Close_Click();

private:
    void buildControls();
    void showRow();
    void setFields();

    std::unique_ptr<Database> db_;
    std::unique_ptr<Recordset> rs_;
    std::unique_ptr<RecordNavigator> navigator_;
    std::array<QPushButton*, 8> CommandDB{};
    QLineEdit* RecordNo = nullptr;
    QLineEdit* KyoteijyoID = nullptr;
    QLineEdit* KyoteijyoMei = nullptr;
};

// Writes the racecourse list "競艇場一覧表" of every row of `courses` into
// a document; returns the number of rows.
int BuildKyoteijyoList(CharPrinter& printer, Recordset& courses);
