#pragma once

#include <QString>
#include <functional>

class QAction;
class QObject;
class QWidget;

// Adds a named item to a menu bar or menu. Its handler runs through the
// standard error report, like every event handler. Every item of a menu made
// this way shows its whole caption, both "&" marks of "競艇場ﾃｰﾌﾞﾙ(&K&ﾉ)" included.
QAction* AddMenuItem(QWidget* menu, const QString& objectName, const QString& caption, QObject* owner,
                     std::function<void()> handler);
