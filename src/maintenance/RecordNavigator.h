#pragma once

#include <QString>
#include <cstdint>
#include <functional>

class QLineEdit;
class Recordset;

// Steps through a table one row at a time for a maintenance window: the
// record count, the current record number shown in the window's `RecordNo`
// box, and the four moves with their boxes at either end.
class RecordNavigator {
public:
    enum Move { First = 0, Previous = 1, Next = 2, Last = 3 };

    // `showRow` puts the recordset's current row into the window's boxes.
    RecordNavigator(Recordset& rows, QLineEdit* recordNo, std::function<void()> showRow);

    // Counts the rows and shows the first one as number 1; an empty table
    // shows number 0 and leaves the boxes as they are.
    void start();
    // One of the four moves. At either end the boxes keep what they show.
    void move(int move);

    // Command button `index` of the window: 0-3 the moves; 4-7 update, add,
    // delete and print, each after asking about `table`. `setFields` copies
    // the window's boxes into the row being written; a row the database
    // refuses is cancelled and the error raised. The count follows the
    // window's own changes: the added row is counted without moving to it,
    // the deleted one stays current until the next move.
    void command(int index, const QString& table, const std::function<void()>& setFields,
                 const std::function<void()>& print);

    int16_t count() const { return count_; }
    int16_t number() const { return number_; }

private:
    void setNumber(int number);
    void write(const std::function<void()>& setFields);

    Recordset& rows_;
    QLineEdit* recordNo_;
    std::function<void()> showRow_;
    int16_t count_ = 0;
    int16_t number_ = 0;
};
