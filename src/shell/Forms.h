#pragma once

#include <QString>
#include <functional>

class QWidget;

// The windows of the program by name. Each is a single instance created on
// first use and deleted when it is unloaded; windows open each other only
// through these names, so no window depends on another window's code.
namespace Forms {

using Factory = std::function<QWidget*()>;

void registerForm(const QString& name, Factory factory);
bool isRegistered(const QString& name);

// Creates the window when it is not loaded, then shows it (not modal) and
// brings it to the front. A window whose program part is not there yet is
// told to the user; nullptr then.
QWidget* show(const QString& name);

// The loaded window of that name, or nullptr.
QWidget* find(const QString& name);

// Unloads a window: hides it and deletes it. No close event is sent: the
// program does not end by this, its caller shows the next window or ends it.
void unload(QWidget* window);

// Work that a window's menu offers and another part of the program does (a
// file read into the tables, say), by name like the windows. It returns true
// when it changed the database.
using Command = std::function<bool(QWidget* owner)>;
void registerCommand(const QString& name, Command command);
// Runs the command; one that is not there is told to the user (false).
bool run(const QString& name, QWidget* owner);

}
