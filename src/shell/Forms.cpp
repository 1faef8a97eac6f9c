#include "Forms.h"

#include "MsgBox.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

namespace Forms {

namespace {
QHash<QString, Factory>& factories()
{
    static QHash<QString, Factory> map;
    return map;
}

QHash<QString, Command>& commands()
{
    static QHash<QString, Command> map;
    return map;
}

QHash<QString, QPointer<QWidget>>& loaded()
{
    static QHash<QString, QPointer<QWidget>> map;
    return map;
}

}

void registerForm(const QString& name, Factory factory) { factories().insert(name, std::move(factory)); }

void registerCommand(const QString& name, Command command) { commands().insert(name, std::move(command)); }

bool run(const QString& name, QWidget* owner)
{
    const auto it = commands().constFind(name);
    if (it == commands().constEnd()) {
        MsgBox(QStringLiteral("この機能（%1）はまだ使用できません。").arg(name), Mb::OKOnly + Mb::Information);
        return false;
    }
    return it.value()(owner);
}

bool isRegistered(const QString& name) { return factories().contains(name); }

QWidget* find(const QString& name)
{
    const auto it = loaded().constFind(name);
    return it == loaded().constEnd() ? nullptr : it.value().data();
}

QWidget* show(const QString& name)
{
    QWidget* window = find(name);
    if (!window) {
        const auto it = factories().constFind(name);
        if (it == factories().constEnd()) {
            MsgBox(QStringLiteral("この画面（%1）はまだ使用できません。").arg(name), Mb::OKOnly + Mb::Information);
            return nullptr;
        }
        window = it.value()();
        if (!window)
            return nullptr;
        window->setAttribute(Qt::WA_DeleteOnClose);
        loaded().insert(name, window);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void unload(QWidget* window)
{
    if (!window)
        return;
    window->hide();
    window->deleteLater();
    for (auto it = loaded().begin(); it != loaded().end();) {
        if (it.value() == window || it.value().isNull())
            it = loaded().erase(it);
        else
            ++it;
    }
}

}
