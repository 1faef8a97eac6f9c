#include "CommandButtons.h"

#include "ErrorReport.h"
#include "GlobalModule.h"
#include "MenuItems.h"
#include "MsgBox.h"

#include <QFrame>
#include <QPushButton>

namespace CommandButtons {

namespace {
const char* const kButtons[8] = {"先頭ﾚｺｰﾄﾞ", "前ﾚｺｰﾄﾞ", "次ﾚｺｰﾄﾞ", "最終ﾚｺｰﾄﾞ", "更新", "追加", "削除", "印刷"};
const char* const kMenus[4] = {"更新(&E)", "追加(&A)", "削除(&D)", "印刷(&P)"};
}

std::array<QPushButton*, 8> Create(QWidget* moves, QWidget* changes, QObject* owner, std::function<void(int)> click)
{
    std::array<QPushButton*, 8> buttons{};
    for (int i = 0; i < 8; ++i) {
        auto* button = new QPushButton(QString::fromUtf8(kButtons[i]), i < 4 ? moves : changes);
        button->setObjectName(QStringLiteral("CommandDB_%1").arg(i));
        QObject::connect(button, &QPushButton::clicked, owner, [click, i] { Guarded([&] { click(i); }); });
        buttons[size_t(i)] = button;
    }
    return buttons;
}

void AddMenus(QWidget* bar, QObject* owner, std::function<void(int)> click)
{
    for (int i = 4; i <= 7; ++i)
        AddMenuItem(bar, QStringLiteral("Menu_Ment_%1").arg(i), QString::fromUtf8(kMenus[i - 4]), owner,
                    [click, i] { click(i); });
}

bool Confirm(const QString& table, int index)
{
    const QString action = QString::fromUtf8(kButtons[index]);
    return MsgBox(table + QStringLiteral("テーブルを") + action + QStringLiteral("しますか。\r\n"), Mb::Confirm,
                  table + QStringLiteral("テーブル") + action) == Mb::Yes;
}

QFrame* Panel(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(QFrame::StyledPanel);
    Set_Control(frame, width, height, left, top);
    return frame;
}

}
