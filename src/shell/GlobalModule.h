#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <array>
#include <cstdint>

class QComboBox;
class QWidget;

// The program-wide variables through which the windows hand data to each
// other. Slots 0-5 of the selection arrays are the boats of a race, slot 6
// the one person sent from the individual roster.
struct GlobalModule {
    static constexpr int SlotCount = 7;

    QString ProgramFolder;          // ends in "/"
    QString DataFolder;             // the database and PDF prints; ends in "/"
    int16_t TwipsPerPixelX = 15;
    int16_t TwipsPerPixelY = 15;
    int16_t ExtractMode = 0;        // 0 normal racer table, 1 extraction table
    int16_t ChosaNen = 0;
    int16_t ChosaTuki = 0;
    int16_t ChosaHi = 0;

    std::array<QString, SlotCount> SelShozokuMei;   // 6 characters padded; "" marks an empty slot
    std::array<int16_t, SlotCount> SelSensyuID{};
    std::array<QString, SlotCount> SelNamae;        // 22 characters padded
    std::array<int16_t, SlotCount> SelKi{};
    std::array<int16_t, SlotCount> SelSeiNen{};
    std::array<int16_t, SlotCount> SelSeiTuki{};
    std::array<int16_t, SlotCount> SelSeiHi{};
    std::array<QString, SlotCount> SelBladType;
    std::array<int16_t, SlotCount> SelSyoritu{};    // win rate x 100
    std::array<int16_t, SlotCount> SelFukuritu{};   // place rate x 10

    QString SelKyoteijyoMei;
    int16_t SelRaceNo = 0;
    int16_t SelDetailIndex = 0;
    int16_t TatesenOn = 0;          // -1 true, 0 false
    int16_t MsgOn = 0;

    // Every variable back to its start value (the two folders and the twips
    // per pixel are kept).
    void reset();
    // Empties one selection slot: texts "", numbers 0.
    void clearSlot(int slot);
    // Empties the race slots 0-5; slot 6 is not touched.
    void clearSelection();
    // Copies every field of one slot into another.
    void copySlot(int from, int to);
};

GlobalModule& Global();

// Layout routines: sizes and positions in pixels of the container; font
// sizes are design sizes scaled to the screen.
int ScaledFontSize(int size);
void Set_Control(QWidget* control, int width, int height, int left, int top);
void Set_ControlFont(QWidget* control, int fontSize, int width, int height, int left, int top);
void Set_ComboFont(QWidget* control, int fontSize, int width, int left, int top);

// Makes Tab go through the controls in the order given (the window's
// reading order); hidden or unfocusable ones are passed over by Tab itself.
void SetTabChain(const QList<QWidget*>& controls);

// Gives a window a client area of width x height pixels (the menu bar
// outside it) and centres it on the screen.
void SizeAndCentre(QWidget* window, int width, int height);

// Days in a month (1-12) of a year; every fourth year is a leap year, as
// everywhere in the program's day counting.
int DaysInMonth(int year, int month);

// Tells the user when the survey date's month or day is impossible. It only
// informs; the values stay as entered.
void Check_ChosaDate();

// Takes the number typed into a drop-down's box into a 16-bit variable,
// rounded as CInt does. A number that does not fit is refused with a
// message: the variable keeps its value and the box shows that value again,
// as it was last shown. True when the number was taken.
bool TakeNumber(QComboBox* box, int16_t& target);

// What is wrong with a date that is to be stored: the date check's own
// message ("月が正しくありません", "日が正しくありません"), or empty for a real
// date. Unlike the check, a month of 0 and a day below 1 or beyond the
// month's last day are wrong here.
QString DateProblem(int year, int month, int day);

// The value of a box that holds a whole number (Val of its text). A fraction
// is refused with error 13 naming the field; a value too large for the column
// is left for the database to refuse as an overflow (3349).
QVariant WholeNumberBox(const QString& text, const QString& field);

// A database value, or "" (textFlag non-zero) / 0 in place of Null.
QVariant Null_Value(const QVariant& value, int16_t textFlag);

// File names in the program folder.
QString ProgramFile(const QString& name);

// What the program says while the racer table is empty: how to fill it.
QString EmptyRacerTableText();
// Says it once at start-up when the racer table of the program folder's
// database is empty.
void TellWhenRacerTableIsEmpty();
