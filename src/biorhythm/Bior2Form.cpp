#include "Bior2Form.h"

#include "Basic.h"
#include "ErrorReport.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MenuItems.h"
#include "Glyphs.h"
#include "RaceHeadings.h"
#include "Rhythm.h"

#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <cmath>

using Basic::CInt;
using Basic::QBColor;

namespace {
bool isLeapYear(int year) { return year % 4 == 0; }  // the rule of the day numbers

int monthLength(int year, int month)
{
    switch (month) {
    case 2: return isLeapYear(year) ? 29 : 28;
    case 4: case 6: case 9: case 11: return 30;
    default: return 31;
    }
}

const char* const kAdvice[2][2][2] = {
    // [body caution][emotion caution][intellect caution]
    {{"※今日は、特に問題はありません。", "※今日は、知性が要注意です。"},
     {"※今日は、感情が要注意です。", "※今日は、感情と知性が要注意です。"}},
    {{"※今日は、身体が要注意です。", "※今日は、身体と知性が要注意です。"},
     {"※今日は、身体と感情が要注意です。", "※今日は、全てが要注意、最悪の日です。"}}};
}

DetailGraph::DetailGraph(QWidget* parent) : QWidget(parent) {}

void DetailGraph::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(QRectF(0, 0, 560, 346), QBColor(15));
    if (dayLines_) {
        p.setPen(QBColor(7));
        for (int k = 1; k <= 21; ++k) {
            const double x = ((k + 1) * 380 - 120) / 16.0 + 2.5;
            p.drawLine(QPointF(x, 20), QPointF(x, 326));
        }
    }
    p.setPen(QBColor(0));
    p.drawLine(QPointF(0, 173), QPointF(560, 173));
    p.drawLine(QPointF(280, 0), QPointF(280, 346));
}

double Bior2Form::ColumnX(int k) { return ((k + 1) * 380 - 120) / 16.0 + 15; }

Bior2Form::Bior2Form(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Bior2Form"));
    setWindowTitle(QStringLiteral("バイオリズム個別明細"));
    auto* client = new QWidget(this);
    setCentralWidget(client);
    AddMenuItem(menuBar(), QStringLiteral("Menu_Close"), QStringLiteral("終了(&X)"), this, [this] { Menu_Close_Click(); });

    auto* frame = new QFrame(client);
    frame->setObjectName(QStringLiteral("PictureWaku"));
    frame->setFrameShape(QFrame::StyledPanel);
    Set_Control(frame, 597, 417, 16, 0);

    PictureBior = new DetailGraph(frame);
    PictureBior->setObjectName(QStringLiteral("PictureBior"));
    Set_Control(PictureBior, 560, 346, 16, 56);

    const char* names[3] = {"身体", "感情", "知性"};
    for (int k = 0; k < 3; ++k) {
        auto* box = new QFrame(frame);
        box->setObjectName(QStringLiteral("PictureBikou_%1").arg(k));
        box->setFrameShape(QFrame::StyledPanel);
        Set_Control(box, 67, 25, 371 + 69 * k, 8);
        auto* icon = new QLabel(box);
        icon->setPixmap(GlyphIcon(k));
        Set_Control(icon, 21, 21, 1, 2);
        auto* label = new QLabel(QString::fromUtf8(names[k]), box);
        label->setObjectName(QStringLiteral("LabelBikou_%1").arg(k));
        // The caption starts right of the 21-pixel icon.
        Set_ControlFont(label, 9, 42, 25, 23, 0);
    }
    const char* captions[6] = {"前月", "前日", "翌日", "翌月", "縦線", "MSG"};
    for (int k = 0; k < 6; ++k) {
        auto* button = new QPushButton(QString::fromUtf8(captions[k]), frame);
        button->setObjectName(QStringLiteral("CommandChoYMD_%1").arg(k));
        if (k < 4)
            Set_ControlFont(button, 9, 40, 25, 200 + 40 * k, 8);
        else
            Set_ControlFont(button, 9, 40, 25, 528, k == 4 ? 64 : 89);
        connect(button, &QPushButton::clicked, this, [this, k] { Guarded([&] { CommandChoYMD_Click(k); }); });
    }
    // The day buttons lie over the graph's right edge: keep them on top.
    findChild<QPushButton*>(QStringLiteral("CommandChoYMD_4"))->raise();
    findChild<QPushButton*>(QStringLiteral("CommandChoYMD_5"))->raise();

    LabelNamae = new QLabel(frame);
    LabelNamae->setObjectName(QStringLiteral("LabelNamae"));
    Set_ControlFont(LabelNamae, 9, 170, 25, 16, 8);
    LabelChoHi = new QLabel(frame);
    LabelChoHi->setObjectName(QStringLiteral("LabelChoHi"));
    Set_ControlFont(LabelChoHi, 9, 65, 13, 266, 40);
    LabelChoHi->setMinimumWidth(90);
    // Empty until the advice of a person's day is set: a window opened for
    // an empty boat has no advice to show.
    LabelMSG = new QLabel(frame);
    LabelMSG->setObjectName(QStringLiteral("LabelMSG"));
    Set_ControlFont(LabelMSG, 10, 560, 14, 16, 402);
    LabelMSG->setStyleSheet(QStringLiteral("color: #c00000;"));

    const char* arrays[3] = {"ImageBody", "ImageSoul", "ImageIntel"};
    for (int r = 0; r < 3; ++r) {
        auto* templ = new QLabel(PictureBior);
        templ->setObjectName(QStringLiteral("%1_21").arg(QString::fromLatin1(arrays[r])));
        templ->setPixmap(GlyphIcon(r));
        templ->hide();
        icons_[size_t(r)][21] = templ;
    }

    SizeAndCentre(this, 634, 434);
    Guarded([this] { Set_Graph(0); });
}

void Bior2Form::Set_Graph(int mode)
{
    const GlobalModule& g = Global();
    const size_t who = size_t(g.SelDetailIndex);
    PictureBior->setDayLines(g.TatesenOn != 0);
    LabelNamae->setText(g.SelNamae[who]);
    LabelChoHi->setText(SurveyDateText());
    if (g.SelSeiNen[who] != 0) {
        const char* arrays[3] = {"ImageBody", "ImageSoul", "ImageIntel"};
        const double birth = DayNumber(g.SelSeiNen[who], g.SelSeiTuki[who], g.SelSeiHi[who]);
        for (int k = 0; k <= 20; ++k) {
            const int16_t day = CInt(g.ChosaHi + k - 10);
            const double d = DayNumber(g.ChosaNen, g.ChosaTuki, day) - birth;
            const double x = ColumnX(k);
            int32_t phases[3];
            for (int r = 0; r < 3; ++r) {
                const int period = Rhythm::Periods[r];
                phases[r] = Rhythm::Phase(d, period);
                QLabel*& icon = icons_[size_t(r)][size_t(k)];
                if (mode == 0 || !icon) {
                    icon = new QLabel(PictureBior);
                    icon->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(arrays[r])).arg(k));
                }
                icon->setPixmap(icons_[size_t(r)][21]->pixmap());
                icon->setGeometry(int(std::lround(x)), int(std::lround(Rhythm::DetailY(phases[r], period))), 21, 21);
                icon->setVisible(true);
            }
            if (k == 10)
                Set_LabelMsg(phases[0], phases[1], phases[2]);
        }
    }
    LabelMSG->setVisible(g.MsgOn != 0);
}

void Bior2Form::Set_LabelMsg(int32_t m23, int32_t m28, int32_t m33)
{
    const bool body = Rhythm::CautionLevel(m23, Rhythm::Body) == 0;
    const bool emotion = Rhythm::CautionLevel(m28, Rhythm::Emotion) == 0;
    const bool intellect = Rhythm::CautionLevel(m33, Rhythm::Intellect) == 0;
    LabelMSG->setText(QString::fromUtf8(kAdvice[body][emotion][intellect]));
}

void Bior2Form::CommandChoYMD_Click(int index)
{
    GlobalModule& g = Global();
    int year = g.ChosaNen;
    int month = g.ChosaTuki;
    int day = g.ChosaHi;
    switch (index) {
    case 0:  // previous month, the day kept where the month allows it
        if (--month < 1) {
            month = 12;
            --year;
        }
        if (month == 2 || month == 4 || month == 6 || month == 9 || month == 11)
            day = std::min(day, monthLength(year, month));
        break;
    case 1:  // previous day
        if (--day < 1) {
            if (--month < 1) {
                month = 12;
                --year;
            }
            day = monthLength(year, month);
        }
        break;
    case 2:  // next day
        if (++day > monthLength(year, month)) {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
        break;
    case 3:  // next month
        if (++month > 12) {
            month = 1;
            ++year;
        }
        if (month == 2 || month == 4 || month == 6 || month == 9 || month == 11)
            day = std::min(day, monthLength(year, month));
        break;
    case 4:
        if (g.TatesenOn) {
            g.TatesenOn = 0;
            Set_Graph(1);
        } else {
            g.TatesenOn = -1;
            Set_Graph(2);
        }
        return;
    case 5:
        g.MsgOn = g.MsgOn ? 0 : -1;
        LabelMSG->setVisible(g.MsgOn != 0);
        return;
    default:
        return;
    }
    g.ChosaNen = CInt(year);
    g.ChosaTuki = CInt(month);
    g.ChosaHi = CInt(day);
    Set_Graph(1);
}

void Bior2Form::Menu_Close_Click() { Forms::unload(this); }
