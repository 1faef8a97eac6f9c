#include "Keyboard.h"

#include "GlobalModule.h"
#include "HelpViewer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>

namespace {
class KeyboardFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            return false;
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;

        if (key->key() == Qt::Key_F1) {
            ShowHelp(ProgramFile(QStringLiteral("Vantor.hlp")));
            return true;
        }
        if (qobject_cast<QMessageBox*>(widget->window()))
            return false;
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && enter) {
            if (button->isEnabled())
                button->click();
            return true;
        }
        if (auto* list = qobject_cast<QListWidget*>(widget); list && (enter || key->key() == Qt::Key_Space)) {
            const QPointer<QListWidget> alive(list);
            if (QListWidgetItem* item = list->currentItem())
                emit list->itemClicked(item);
            // Enter also opens the line, as a double click does.
            if (enter && alive)
                if (QListWidgetItem* item = list->currentItem())
                    emit list->itemActivated(item);
            return true;
        }
        return false;
    }
};
}

void InstallKeyboard()
{
    static KeyboardFilter* filter = nullptr;
    if (filter)
        return;
    filter = new KeyboardFilter(qApp);
    qApp->installEventFilter(filter);
}
