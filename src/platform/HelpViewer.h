#pragma once

#include <QString>

class QWidget;

// Opens the program's help file (HTML) at its contents page in a viewer window
// owned by the given window. A missing file is told to the user.
void ShowHelp(QWidget* owner, const QString& helpFile);

// The help file that message boxes with a help button open.
void SetHelpFile(const QString& helpFile);
QString HelpFile();

// A help viewer opened from a window that is about to close moves to
// `newOwner` (a top-level window of its own when null) and stays open.
void KeepHelpOpen(QWidget* closingOwner, QWidget* newOwner);
