#pragma once

#include <QString>
#include <vector>

class QWidget;

// The dialogs in which the user picks a file to read or names one to write.
// Both return the chosen path, or an empty text when the user cancels.

// Picks a file to read; the dialog starts in the folder of the file picked
// last. `filter` lists the file types offered ("番組表 (*.txt *.lzh)").
QString ChooseOpenFile(QWidget* parent, const QString& caption, const QString& filter);

// Picks a folder; the dialog starts in the folder picked last (of a file
// or a folder).
QString ChooseFolder(QWidget* parent, const QString& caption);

// Asks where to save a file: `suggested` is the path the dialog starts with.
QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter);

// The test hook, as for the message boxes: while active, no dialog is shown;
// each question is recorded and answered with the next queued path (an empty
// path, or none left, is a cancel).
class FileDialogScript {
public:
    struct Asked {
        QString caption;
        QString suggested;  // empty for a file to read
        bool save = false;
    };

    static void start();
    static void stop();
    static bool active();
    static void queue(const QString& path);
    static const std::vector<Asked>& asked();
};
