#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

class Database;
class QLabel;
class Recordset;

// The race table: the racers of the race with their three scores for the
// survey date, critical ones on red; stores the race, prints it, opens the
// six graphs.
class DispForm : public QMainWindow {
    Q_OBJECT
public:
    explicit DispForm(QWidget* parent = nullptr);
    ~DispForm() override;

    void Menu_Add_Click();
    void Menu_Print_Click();
    void Menu_Disp_Click();
    void Menu_Close_Click();

    // The 競艇場ID of a racecourse name (compared without surrounding
    // blanks), or 0 when there is none.
    int KyoteijyoID(const QString& name);

private:
    void fillRows();
    // True when a race with the same date, racecourse, number and racers is stored.
    bool alreadyStored();

    std::unique_ptr<Database> db_;
    std::unique_ptr<Recordset> history_;
    std::unique_ptr<Recordset> courses_;
};
