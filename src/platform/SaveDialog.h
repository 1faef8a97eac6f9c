#pragma once

#include <QString>
#include <vector>

class QWidget;

// Asks where to save a file: `suggested` is the path the dialog starts
// with, `filter` the file types offered ("CSV ファイル (*.csv)"). Returns the
// chosen path, or an empty text when the user cancels.
QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter);

// The test hook, as for the message boxes: while active, no dialog is shown;
// each question is recorded and answered with the next queued path (an empty
// path, or none left, is a cancel).
class SaveDialogScript {
public:
    struct Asked {
        QString caption;
        QString suggested;
    };

    static void start();
    static void stop();
    static bool active();
    static void queue(const QString& path);
    static const std::vector<Asked>& asked();
};
