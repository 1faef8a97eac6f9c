#include "RecordNavigator.h"

#include "Basic.h"
#include "CommandButtons.h"
#include "MsgBox.h"
#include "Recordset.h"

#include <QLineEdit>

using Basic::CInt;

namespace {
const QString kFirstRecord = QStringLiteral("先頭レコードです。");
const QString kLastRecord = QStringLiteral("最終レコードです。");
}

RecordNavigator::RecordNavigator(Recordset& rows, QLineEdit* recordNo, std::function<void()> showRow)
    : rows_(rows), recordNo_(recordNo), showRow_(std::move(showRow))
{
}

void RecordNavigator::setNumber(int number)
{
    number_ = CInt(number);
    recordNo_->setText(Basic::CStr(number_));
}

void RecordNavigator::start()
{
    count_ = CInt(rows_.RecordCount());
    if (count_ == 0) {
        setNumber(0);
        return;
    }
    move(First);
}

void RecordNavigator::move(int move)
{
    // With no current row (the first row added to an empty table is not
    // moved to), a step forward or back starts from the first row.
    if ((move == Previous || move == Next) && rows_.RecordCount() > 0 && (rows_.eof() || rows_.bof()))
        move = First;
    switch (move) {
    case First:
        rows_.MoveFirst();
        showRow_();
        setNumber(1);
        break;
    case Previous:
        rows_.MovePrevious();
        if (rows_.bof()) {
            MsgBox(kFirstRecord);
            rows_.MoveFirst();
            setNumber(1);
        } else {
            showRow_();
            setNumber(rows_.AbsolutePosition() + 1);
        }
        break;
    case Next:
        rows_.MoveNext();
        if (rows_.eof()) {
            MsgBox(kLastRecord);
            rows_.MoveLast();
            setNumber(count_);
        } else {
            // Counted from the rows still there: after a delete the row that
            // follows takes the deleted one's number.
            showRow_();
            setNumber(rows_.AbsolutePosition() + 1);
        }
        break;
    case Last:
        rows_.MoveLast();
        if (rows_.eof()) {
            MsgBox(kLastRecord);
            return;
        }
        showRow_();
        setNumber(count_);
        break;
    default:
        break;
    }
}

void RecordNavigator::command(int index, const QString& table, const std::function<void()>& setFields,
                              const std::function<void()>& print)
{
    if (index < 4) {
        move(index);
        return;
    }
    if (!CommandButtons::Confirm(table, index))
        return;
    switch (index) {
    case 4:
        rows_.Edit();
        write(setFields);
        break;
    case 5:
        rows_.AddNew();
        write(setFields);
        count_ = CInt(count_ + 1);
        break;
    case 6:
        rows_.Delete();
        count_ = CInt(count_ - 1);
        break;
    case 7:
        print();
        break;
    default:
        break;
    }
}

void RecordNavigator::write(const std::function<void()>& setFields)
{
    // Nothing is written when the database refuses the row, and the
    // recordset stays usable.
    try {
        setFields();
        rows_.Update();
    } catch (...) {
        rows_.CancelUpdate();
        throw;
    }
}
