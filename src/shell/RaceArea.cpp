#include "RaceArea.h"

#include "Basic.h"
#include "GlobalModule.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTimer>
#include <cmath>

using Basic::CInt;
using Basic::Int;
using Basic::Rnd;

namespace {
constexpr double kPi = 3.141592;

// Boat colours in race order: white, black, red, blue, yellow, green.
const QColor kBoatColours[6] = {Qt::white, Qt::black, QColor(220, 0, 0), QColor(0, 60, 220), QColor(240, 210, 0),
                                QColor(0, 150, 60)};

QPixmap boatPicture(int boat, bool facingRight)
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    if (!facingRight) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    QPainterPath hull;
    hull.moveTo(2, 14);
    hull.lineTo(22, 14);
    hull.quadTo(31, 17, 30, 20);
    hull.lineTo(4, 22);
    hull.closeSubpath();
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(QColor(230, 230, 235));
    p.drawPath(hull);
    // The racer: a helmet in the boat's colour.
    p.setBrush(kBoatColours[boat]);
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(QRectF(10, 5, 9, 9));
    // Spray behind the boat.
    p.setPen(QPen(QColor(255, 255, 255, 200), 2));
    p.drawLine(QPointF(1, 23), QPointF(7, 24));
    p.end();
    return picture;
}

QPixmap buoyPicture()
{
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 140, 0));
    p.drawEllipse(QRectF(8, 6, 16, 16));
    p.drawLine(16, 22, 16, 30);
    return picture;
}

bool within(int a, int low, int high) { return a >= low && a <= high; }
}

RaceArea::RaceArea(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("PictureRace"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette water = palette();
    water.setColor(QPalette::Window, QColor(40, 110, 180));
    setPalette(water);

    for (int k = 0; k < 12; ++k) {
        auto* sprite = new QLabel(this);
        sprite->setObjectName(QStringLiteral("ImageSenshu_%1").arg(k));
        sprite->setPixmap(boatPicture(k % 6, k >= 6));
        Set_Control(sprite, 32, 32, 352, 24 * k);
        sprite->hide();
        ImageSenshu[k] = sprite;
    }
    for (int j = 0; j < 2; ++j) {
        auto* bar = new QFrame(this);
        bar->setObjectName(QStringLiteral("ShapeBui_%1").arg(j));
        bar->setStyleSheet(QStringLiteral("background: #f0f0f0; border: 1px solid black;"));
        Set_Control(bar, 40, 8, 197 * j + 85, 152);
        ShapeBui[j] = bar;
        auto* buoy = new QLabel(this);
        buoy->setObjectName(QStringLiteral("ImageBui_%1").arg(j));
        buoy->setPixmap(buoyPicture());
        Set_Control(buoy, 32, 32, 264 * j + 56, 136);
        ImageBui[j] = buoy;
    }
    for (int i = 0; i < 6; ++i) {
        auto* boat = new QLabel(this);
        boat->setObjectName(QStringLiteral("Senshu_%1").arg(i));
        boat->setPixmap(ImageSenshu[i + 6]->pixmap());
        Set_Control(boat, 32, 32, 0, 16 * i + 168);
        Senshu[i] = boat;
    }

    auto label = [this](const char* name, const QString& text, int size, int w, int h, int l, int t) {
        auto* item = new QLabel(text, this);
        item->setObjectName(QString::fromLatin1(name));
        Set_ControlFont(item, size, w, h, l, t);
        item->setStyleSheet(QStringLiteral("color: white;"));
        return item;
    };
    LabelJyuni = label("LabelJyuni", QString(), 20, 153, 33, 128, 136);
    LabelJyuni->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    LabelJyuni->hide();
    LabelSyukaiMei = label("LabelSyukaiMei", QStringLiteral("周回"), 12, 41, 25, 136, 320);
    LabelSyukai = label("LabelSyukai", QStringLiteral("0"), 12, 25, 25, 176, 320);
    LabelResultMei = label("LabelResultMei", QStringLiteral("順位"), 12, 41, 25, 216, 320);
    LabelResult = label("LabelResult", QString(), 12, 65, 25, 256, 320);

    CommandStart = new QPushButton(QStringLiteral("Start"), this);
    CommandStart->setObjectName(QStringLiteral("CommandStart"));
    Set_ControlFont(CommandStart, 10, 65, 25, 336, 320);
    connect(CommandStart, &QPushButton::clicked, this, &RaceArea::CommandStart_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &RaceArea::Timer1_Timer);
}

bool RaceArea::running() const { return Timer1->isActive(); }

void RaceArea::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1, Qt::DashLine));
    p.drawEllipse(QPointF(190 + 16, 136 + 16), 180, 116);
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(208, 184, 208, 304);  // the start line
}

void RaceArea::CommandStart_Click()
{
    for (int i = 0; i < 6; ++i) {
        Senshu[i]->setPixmap(ImageSenshu[i + 6]->pixmap());
        Set_Control(Senshu[i], 32, 32, 0, 16 * i + 168);
        Senshu[i]->show();
        BoatAngle[i] = 0;
        BoatRadius[i] = 0;
        BoatFinished[i] = 0;
    }
    LapCount = 0;
    FinishOrder.clear();
    LabelResult->clear();
    Timer1->start(200);
}

void RaceArea::fillRankTable()
{
    for (int i = 0; i < 6; ++i)
        RankTable[i] = {int16_t(i + 1), BoatAngle[i]};
    // Exchange sort, most advanced boat (lowest angle) first; ties stay.
    for (int p = 0; p < 5; ++p)
        for (int q = p + 1; q < 6; ++q)
            if (RankTable[q].second < RankTable[p].second)
                std::swap(RankTable[p], RankTable[q]);
    QString order;
    for (const auto& entry : RankTable)
        order += QString::number(entry.first);
    LabelResult->setText(order);
}

void RaceArea::Timer1_Timer()
{
    for (int i = 0; i < 6; ++i) {
        if (BoatAngle[i] < -1170)
            BoatAngle[i] = int16_t(BoatAngle[i] - 10);
        else
            BoatAngle[i] = int16_t(BoatAngle[i] - (Int(Rnd() * 10) + 5));
        const int a = BoatAngle[i];
        if (within(a, -370, -350) || within(a, -730, -710) || within(a, -1090, -1070)) {
            Senshu[i]->setPixmap(ImageSenshu[i + 6]->pixmap());
            BoatRadius[i] = int16_t(Int(Rnd() * 40 + 1) + 96);
        } else if (within(a, -190, -170) || within(a, -550, -530) || within(a, -910, -890)) {
            Senshu[i]->setPixmap(ImageSenshu[i]->pixmap());
            BoatRadius[i] = int16_t(Int(Rnd() * 40 + 1) + 96);
        }
        const int x = CInt(190 - 180 * std::cos(a * kPi / 180));
        int y;
        if (a >= -89) {
            y = int(Int(Rnd() * 10)) + 16 * i + 168;
            BoatRadius[i] = int16_t(y);
        } else if (a < -179) {
            y = CInt(Int(Rnd() * 10) + 136 - BoatRadius[i] * std::sin(a * kPi / 180));
        } else {
            y = BoatRadius[i] - 7 * i;
            if (y <= 159)
                y = int(Int(Rnd() * 10)) + 160;
        }
        Senshu[i]->move(x, y);
    }

    const int b = BoatAngle[0];
    if (LapCount == 0 && within(b, -119, -91))
        LapCount = 1;
    else if (LapCount == 1 && within(b, -469, -451))
        LapCount = 2;
    else if (LapCount == 2 && within(b, -829, -811))
        LapCount = 3;

    if (within(b, -269, -91)) {
        LabelJyuni->setText(QStringLiteral("Start !"));
        LabelJyuni->show();
    } else {
        LabelJyuni->hide();
    }

    if (within(b, -189, -171) || within(b, -369, -351) || within(b, -549, -531) || within(b, -729, -711) ||
        within(b, -909, -891) || within(b, -1089, -1071))
        fillRankTable();

    for (int i = 0; i < 6; ++i) {
        if (BoatAngle[i] < -1170 && BoatFinished[i] == 0) {
            BoatFinished[i] = 1;
            FinishOrder += QString::number(i + 1);
        }
    }
    if (FinishOrder.size() >= 2) {
        fillRankTable();
        Timer1->stop();
        const QString order = LabelResult->text();
        LabelJyuni->setText(QStringLiteral("Goal ! ") + order.left(1) + QStringLiteral("-") + order.mid(1, 1));
        LabelJyuni->show();
    }
    LabelSyukai->setText(QString::number(LapCount));
}
