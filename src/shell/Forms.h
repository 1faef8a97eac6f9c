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

}
