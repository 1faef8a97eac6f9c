#pragma once

#include "FanHandbook.h"

#include <QListWidget>
#include <QMainWindow>
#include <array>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// A folder list: the chosen folder with the folders above it, then its
// subfolders; a double click (or Enter) opens a folder.
class DirList : public QListWidget {
    Q_OBJECT
public:
    explicit DirList(QWidget* parent = nullptr);
    const QString& path() const { return path_; }
    void setPath(const QString& path);

signals:
    void pathChanged(const QString& path);

private:
    QString path_;
};

// The import tool's window: choose the fan handbook file on any volume and
// folder, and rebuild the racer table from it.
class ImportForm : public QMainWindow {
    Q_OBJECT
public:
    explicit ImportForm(QWidget* parent = nullptr);

    void SelectDrive_Change();
    void SelectDir_Change();
    void FileSelect_Click();
    void CommandButton_Click(int index);
    // Fetches the newest fan handbook (kept in downloads/), puts it into the
    // folder on show and chooses it there.
    void CommandDownload_Click();
    void Menu_Help_About_Click();

    const QString& chosenFile() const { return chosenFile_; }

private:
    void runImport();
    // True unless the chosen handbook is older than the one imported last
    // and the user does not want it.
    bool olderEditionAccepted();
    void showFiles();

    FanHandbook::Lookups lookups_;
    QString chosenFolder_;
    QString chosenFile_;
    QPlainTextEdit* TextInformation;
    QLineEdit* ListFile;
    QComboBox* SelectDrive;
    DirList* SelectDir;
    QListWidget* FileSelect;
    QPushButton* CommandDownload;
    std::array<QPushButton*, 3> CommandButton{};
};

// The small window shown while the racer table is being rebuilt.
class CautionForm : public QWidget {
    Q_OBJECT
public:
    explicit CautionForm(QWidget* parent = nullptr);
};
