#pragma once

#include <QString>
#include <array>
#include <functional>

class QFrame;
class QObject;
class QPushButton;
class QWidget;

// What the racecourse and roster windows share around their command
// buttons CommandDB_0..7: the four moves, then update, add, delete, print.
namespace CommandButtons {

// Creates the eight buttons, 0-3 in `moves`, 4-7 in `changes`, each running
// `click` with its index through the standard error report. The caller
// places them.
std::array<QPushButton*, 8> Create(QWidget* moves, QWidget* changes, QObject* owner, std::function<void(int)> click);

// Adds the menu entries Menu_Ment_4..7 to a menu bar; each runs the button
// of its index.
void AddMenus(QWidget* bar, QObject* owner, std::function<void(int)> click);

// Asks before command 4-7 on `table` ("競艇場", "個別名簿"); true on Yes.
bool Confirm(const QString& table, int index);

// A framed panel of a window, placed in pixels of its container.
QFrame* Panel(QWidget* parent, const char* name, int left, int top, int width, int height);

}
