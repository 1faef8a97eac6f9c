#include "MenuItems.h"

#include "ErrorReport.h"

#include <QAction>
#include <QWidget>

QAction* AddMenuItem(QWidget* menu, const QString& objectName, const QString& caption, QObject* owner,
                     std::function<void()> handler)
{
    auto* action = new QAction(caption, menu);
    action->setObjectName(objectName);
    menu->addAction(action);
    QObject::connect(action, &QAction::triggered, owner, [handler = std::move(handler)] { Guarded(handler); });
    return action;
}
