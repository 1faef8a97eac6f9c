#pragma once

#include <QString>

class QWidget;

// The dialog in which the user picks a file to read. It starts in the folder
// of the file picked last. Returns the path, or "" when the user cancels.
QString ChooseOpenFile(QWidget* parent, const QString& title, const QString& filter);

// The test hook: while the message-box script is active, no dialog is shown
// and each call takes the next queued path ("" when none is left).
namespace FileChooserScript {
void queue(const QString& path);
}
