#pragma once

#include <QString>

// Opens the program's help file (HTML) at its contents page in a viewer
// window of its own. The viewer stays open until the user closes it,
// whichever windows close meanwhile (asked while a modal box is up, it lives
// in the box until the box closes). A missing file is told to the user.
void ShowHelp(const QString& helpFile);

// The help file that message boxes with a help button open.
void SetHelpFile(const QString& helpFile);
QString HelpFile();
