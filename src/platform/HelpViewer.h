#pragma once

#include <QString>

class QWidget;

// Opens the program's help file (HTML) at its contents page in a viewer window
// owned by the given window. A missing file is told to the user.
void ShowHelp(QWidget* owner, const QString& helpFile);
