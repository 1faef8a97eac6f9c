#pragma once

#include <QString>

class QWidget;

// Opens the program's help file (HTML) at its contents page in a viewer
// window, for the window `owner` that asked. The viewer stays open until the
// user closes it, whichever windows close meanwhile (asked from a modal box,
// it lives in the box while the box is up). A missing file is told to the
// user.
void ShowHelp(QWidget* owner, const QString& helpFile);

// The help file that message boxes with a help button open.
void SetHelpFile(const QString& helpFile);
QString HelpFile();
