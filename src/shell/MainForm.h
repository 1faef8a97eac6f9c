#pragma once

#include <QMainWindow>
#include <array>

class QAction;
class QFrame;
class QLabel;
class QPushButton;
class RaceArea;

// The main menu: nine buttons and the menu bar lead to every part of the
// program; the race picture beside them is decoration.
class MainForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* Title = "ヴァントール";
    static constexpr const char* Version = "Ver1.10";

    explicit MainForm(QWidget* parent = nullptr);

    void CommandSelect_Click(int index);
    void Menu_Close_Click();
    void Menu_Select_Click();
    void Menu_Rireki_Click();
    void Menu_Original_Click();
    void Menu_Sensyu_Click();
    void Menu_Kyoteijyo_Click();
    void Menu_Import_Click();
    void Menu_Help_Card_Click();
    void Menu_Help_Sales_Click();
    void Menu_Help_About_Click();

private:
    void buildMenus();
    void openAndUnload(const QString& formName);

    QFrame* PictureWaku;
    std::array<QPushButton*, 9> CommandSelect{};
    QLabel* LabelTitle;
    RaceArea* PictureRace;
};

// The About box text and title, shared by every window's version entry.
QString AboutTitle();
void ShowAbout(const QString& title);
