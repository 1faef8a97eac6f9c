#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QWidget;

// Message boxes of both programs. Style and answer values follow the classic
// numbering, so a style reads as "buttons + icon + default button".
namespace Mb {
constexpr int OKOnly = 0;
constexpr int OKCancel = 1;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
// A "ヘルプ" button that opens the program's help file (SetHelpFile) and
// leaves the box open.
constexpr int HelpButton = 16384;

constexpr int OK = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;

// The confirmation style used before every table change and every print.
constexpr int Confirm = YesNo + Question + DefaultButton2;
}

// Shows a message box and returns the answer. An empty title gives the
// program's name (MsgBoxScript::setAppTitle).
int MsgBox(const QString& text, int style = Mb::OKOnly, const QString& title = QString());

// What a box showed, as recorded while a script is active.
struct ShownBox {
    QString text;
    QString title;
    int style;
};

// The test hook: while active, MsgBox shows nothing, records each box and
// returns the next queued answer (OK or the default button when none is left).
class MsgBoxScript {
public:
    static void setAppTitle(const QString& title);
    static QString appTitle();

    static void start();
    static void stop();
    static bool active();
    static void queue(int answer);
    static std::vector<ShownBox>& shown();
    static QStringList texts();
};
