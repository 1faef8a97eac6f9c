#include "RaceRows.h"

#include "GlobalModule.h"

#include <QFrame>
#include <QLabel>

RaceRows BuildRaceRows(QWidget* client, const QString (&headings)[2], std::initializer_list<RowCell> cells)
{
    RaceRows built{};
    built.frame = new QFrame(client);
    built.frame->setObjectName(QStringLiteral("PictureWaku"));
    built.frame->setFrameShape(QFrame::StyledPanel);
    Set_Control(built.frame, 617, 409, 8, 8);
    built.table = new QFrame(built.frame);
    built.table->setObjectName(QStringLiteral("PictureHyouji"));
    built.table->setFrameShape(QFrame::StyledPanel);
    Set_Control(built.table, 593, 337, 8, 56);
    for (int k = 0; k < 2; ++k) {
        auto* label = new QLabel(headings[k], built.table);
        label->setObjectName(QStringLiteral("LabelMidashi_%1").arg(k));
        Set_ControlFont(label, 9, 577, 15, 8, 24 + 16 * k);
    }
    for (int i = 0; i < 6; ++i) {
        auto* row = new QFrame(built.table);
        row->setObjectName(QStringLiteral("PictureGyo_%1").arg(i));
        row->setFrameShape(QFrame::Box);
        Set_Control(row, 577, 33, 8, 56 + 32 * i);
        for (const RowCell& cell : cells) {
            auto* label = new QLabel(row);
            label->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(cell.name)).arg(i));
            // A cell at the row's left edge keeps clear of the row's border.
            Set_ControlFont(label, 9, cell.width, 25, std::max(cell.left, row->frameWidth() + 2), 2);
        }
        built.rows[size_t(i)] = row;
    }
    return built;
}

QLabel* RowLabel(const QWidget* window, const char* cell, int row)
{
    return window->findChild<QLabel*>(QStringLiteral("%1_%2").arg(QString::fromLatin1(cell)).arg(row));
}
