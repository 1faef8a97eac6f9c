#include "GlobalModule.h"

#include "Basic.h"
#include "Database.h"
#include "MsgBox.h"
#include "RuntimeError.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>
#include <cmath>

GlobalModule& Global()
{
    static GlobalModule module;
    return module;
}

void GlobalModule::reset()
{
    const QString folder = ProgramFolder;
    const QString data = DataFolder;
    const int16_t tx = TwipsPerPixelX;
    const int16_t ty = TwipsPerPixelY;
    *this = GlobalModule();
    ProgramFolder = folder;
    DataFolder = data;
    TwipsPerPixelX = tx;
    TwipsPerPixelY = ty;
}

void GlobalModule::clearSlot(int slot)
{
    SelShozokuMei[slot].clear();
    SelSensyuID[slot] = 0;
    SelNamae[slot].clear();
    SelKi[slot] = 0;
    SelSeiNen[slot] = 0;
    SelSeiTuki[slot] = 0;
    SelSeiHi[slot] = 0;
    SelBladType[slot].clear();
    SelSyoritu[slot] = 0;
    SelFukuritu[slot] = 0;
}

void GlobalModule::clearSelection()
{
    for (int slot = 0; slot < 6; ++slot)
        clearSlot(slot);
}

void GlobalModule::copySlot(int from, int to)
{
    SelShozokuMei[to] = SelShozokuMei[from];
    SelSensyuID[to] = SelSensyuID[from];
    SelNamae[to] = SelNamae[from];
    SelKi[to] = SelKi[from];
    SelSeiNen[to] = SelSeiNen[from];
    SelSeiTuki[to] = SelSeiTuki[from];
    SelSeiHi[to] = SelSeiHi[from];
    SelBladType[to] = SelBladType[from];
    SelSyoritu[to] = SelSyoritu[from];
    SelFukuritu[to] = SelFukuritu[from];
}

int ScaledFontSize(int size)
{
    // The product is a 16-bit one, as every layout value is.
    const int16_t product = Basic::CInt(double(size) * Global().TwipsPerPixelX);
    return int(Basic::Int(product / 15.0));
}

void Set_Control(QWidget* control, int width, int height, int left, int top)
{
    control->setGeometry(left, top, width, height);
}

void Set_ControlFont(QWidget* control, int fontSize, int width, int height, int left, int top)
{
    QFont font = control->font();
    font.setPointSize(std::max(1, ScaledFontSize(fontSize)));
    control->setFont(font);
    Set_Control(control, width, height, left, top);
}

void Set_ComboFont(QWidget* control, int fontSize, int width, int left, int top)
{
    QFont font = control->font();
    font.setPointSize(std::max(1, ScaledFontSize(fontSize)));
    control->setFont(font);
    control->setGeometry(left, top, width, control->sizeHint().height());
}

void SetTabChain(const QList<QWidget*>& controls)
{
    for (qsizetype i = 1; i < controls.size(); ++i)
        QWidget::setTabOrder(controls[i - 1], controls[i]);
}

void SizeAndCentre(QWidget* window, int width, int height)
{
    int menuHeight = 0;
    if (auto* main = qobject_cast<QMainWindow*>(window); main && main->menuWidget())
        menuHeight = main->menuWidget()->sizeHint().height();
    window->setFixedSize(width, height + menuHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.x() + (area.width() - window->frameGeometry().width()) / 2,
                     area.y() + (area.height() - window->frameGeometry().height()) / 2);
    }
}

int DaysInMonth(int year, int month)
{
    switch (month) {
    case 2: return year % 4 == 0 ? 29 : 28;
    case 4: case 6: case 9: case 11: return 30;
    default: return 31;
    }
}

void Check_ChosaDate()
{
    const GlobalModule& g = Global();
    if (g.ChosaTuki < 0 || g.ChosaTuki > 12) {
        MsgBox(QStringLiteral("月が正しくありません"));
        return;
    }
    // Only the short months are checked: month 0 (an empty box) passes, as
    // does any day below 1 or beyond 31.
    const int days = g.ChosaTuki >= 1 ? DaysInMonth(g.ChosaNen, g.ChosaTuki) : 31;
    if (days < 31 && g.ChosaHi > days)
        MsgBox(QStringLiteral("日が正しくありません"));
}

QString DateProblem(int year, int month, int day)
{
    if (month < 1 || month > 12)
        return QStringLiteral("月が正しくありません");
    if (day < 1 || day > DaysInMonth(year, month))
        return QStringLiteral("日が正しくありません");
    return QString();
}

QVariant WholeNumberBox(const QString& text, const QString& field)
{
    const double value = Basic::Val(text);
    if (std::isfinite(value) && value != std::floor(value))
        throw RuntimeError(ErrorNumber::TypeMismatch, QStringLiteral("Vantor"),
                           QStringLiteral("'%1' には整数を入力して下さい。").arg(field));
    // Beyond 2^53 a double names no exact whole number; the column refuses it.
    return std::fabs(value) < 9.0e15 ? QVariant(qint64(value)) : QVariant(value);
}

QVariant Null_Value(const QVariant& value, int16_t textFlag)
{
    if (!value.isNull() && value.isValid())
        return value;
    return textFlag != 0 ? QVariant(QString()) : QVariant(0);
}

QString ProgramFile(const QString& name) { return Global().ProgramFolder + name; }

bool TakeNumber(QComboBox* box, int16_t& target)
{
    const QString typed = box->currentText();
    const double value = std::nearbyint(Basic::Val(typed));
    if (value < -32768 || value > 32767) {
        MsgBox(QStringLiteral("「%1」は%2すぎます。%3 から %4 までの数を入力して下さい。")
                   .arg(typed, value < 0 ? QStringLiteral("小さ") : QStringLiteral("大き"))
                   .arg(-32768).arg(32767),
               Mb::OKOnly + Mb::Exclamation);
        // The box shows the value in force: as it was last taken, or (a box
        // filled before it was watched) the value itself, 0 as an empty box.
        const QString taken = box->property("taken").toString();
        const QString shown = Basic::CInt(Basic::Val(taken)) == target ? taken
                              : target == 0                          ? QString()
                                                                     : Basic::CStr(target);
        const QSignalBlocker block(box);
        box->setEditText(shown);
        return false;
    }
    target = Basic::CInt(value);
    box->setProperty("taken", typed);
    return true;
}

QString EmptyRacerTableText()
{
    return QStringLiteral("選手テーブルにデータがありません。\r\n"
                          "メインメニューの「選手データインポート」で、ファン手帳のファイル (FANxxxx.TXT か、ダウンロードした FANxxxx.LZH) を"
                          "読み込んで下さい。");
}

void TellWhenRacerTableIsEmpty()
{
    Database db(Global().DataFolder);
    Statement count = db.prepare(QStringLiteral("SELECT EXISTS (SELECT 1 FROM T_選手)"));
    count.step();
    if (count.value(0).toInt() == 0)
        MsgBox(EmptyRacerTableText() +
                   QStringLiteral("\r\n\r\n"
                                  "その日の番組表 (bYYMMDD.LZH) と競走成績 (kYYMMDD.LZH) も競艇公式ホームページからダウンロードできます。"
                                  "番組表は「選手検索」のメニュー「番組表」で、競走成績は「レース履歴」のメニュー「成績読込」で読み込みます。"),
               Mb::OKOnly + Mb::Information);
}
