#pragma once

#include <QString>
#include <functional>
#include <vector>

class QWidget;

// The dialogs in which the user picks a file to read or names one to write.
// Both return the chosen path, or an empty text when the user cancels. Each
// starts in the folder last used for its `kind` of file ("番組表", "CSV"…),
// the home folder the first time, and remembers the folder of the answer.

// Picks a file to read. `filter` lists the file types offered
// ("番組表 (*.txt *.lzh)").
QString ChooseOpenFile(QWidget* parent, const QString& caption, const QString& kind, const QString& filter);

// Asks where to save a file, proposing `fileName` in the kind's folder.
QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& kind, const QString& fileName,
                        const QString& filter);

// Where the folders are kept. The programs keep them in their database;
// until a memory is set they are kept for the run only.
struct FolderMemory {
    std::function<QString(const QString& kind)> recall;
    std::function<void(const QString& kind, const QString& folder)> remember;
};
void SetFolderMemory(FolderMemory memory);
// The folder last used for a kind of file; empty when none is known or it
// is gone.
QString RememberedFolder(const QString& kind);
void RememberFolder(const QString& kind, const QString& folder);

// Loads Qt's own Japanese texts (the file dialog's buttons, columns and
// places, the standard buttons) for the whole program. False when the
// catalogue is not installed: those texts stay English.
bool LoadQtJapanese();

// The test hook, as for the message boxes: while active, no dialog is shown;
// each question is recorded and answered with the next queued path (an empty
// path, or none left, is a cancel).
class FileDialogScript {
public:
    struct Asked {
        QString caption;
        QString suggested;  // the proposed path; empty for a file to read
        QString folder;     // the folder the dialog starts in
        bool save = false;
    };

    static void start();
    static void stop();
    static bool active();
    static void queue(const QString& path);
    static const std::vector<Asked>& asked();
};
