#pragma once

#include <QString>
#include <array>
#include <initializer_list>

class QFrame;
class QLabel;
class QWidget;

// The table of a race's six boats shared by the race table and the history:
// the frame `PictureWaku`, the table area `PictureHyouji` with two heading
// lines `LabelMidashi_k`, and six row boxes `PictureGyo_i`, each holding a
// label per cell named `<cell>_<i>`.
struct RowCell {
    const char* name;
    int left;
    int width;
};

struct RaceRows {
    QFrame* frame;
    QFrame* table;
    std::array<QFrame*, 6> rows;
};

RaceRows BuildRaceRows(QWidget* client, const QString (&headings)[2], std::initializer_list<RowCell> cells);

// The cell label of a row.
QLabel* RowLabel(const QWidget* window, const char* cell, int row);
