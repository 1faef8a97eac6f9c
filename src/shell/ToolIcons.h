#pragma once

#include <QIcon>

// The pictures of the windows' tool buttons, drawn by the program.
enum class ToolIcon { Close, Show, Clear, Add, Help, About, Print, Update, Delete, First, Previous, Next, Last };

QIcon MakeToolIcon(ToolIcon kind);
