#pragma once

#include <QString>
#include <functional>

class QAction;
class QObject;
class QWidget;

// Adds a named item to a menu bar or menu. Its handler runs through the
// standard error report, like every event handler.
QAction* AddMenuItem(QWidget* menu, const QString& objectName, const QString& caption, QObject* owner,
                     std::function<void()> handler);
