#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

QIcon MakeToolIcon(ToolIcon kind)
{
    QPixmap picture(20, 20);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(30, 30, 30), 1.6);
    p.setPen(pen);
    switch (kind) {
    case ToolIcon::Close:  // a door with an arrow out
        p.setBrush(QColor(200, 160, 110));
        p.drawRect(QRectF(3, 2, 9, 16));
        p.setPen(QPen(QColor(200, 0, 0), 2));
        p.drawLine(QPointF(10, 10), QPointF(18, 10));
        p.drawLine(QPointF(15, 7), QPointF(18, 10));
        p.drawLine(QPointF(15, 13), QPointF(18, 10));
        break;
    case ToolIcon::Show: {  // three waves
        const QColor colours[3] = {QColor(0, 0, 255), QColor(255, 0, 0), QColor(0, 160, 160)};
        for (int k = 0; k < 3; ++k) {
            QPainterPath wave;
            wave.moveTo(2, 10);
            for (int x = 2; x <= 18; ++x)
                wave.lineTo(x, 10 - 6 * std::sin((x - 2 + 4 * k) * 0.45));
            p.setPen(QPen(colours[k], 1.4));
            p.drawPath(wave);
        }
        break;
    }
    case ToolIcon::Clear:  // an eraser
        p.setBrush(QColor(255, 170, 190));
        p.drawRect(QRectF(3, 7, 14, 7));
        p.drawLine(QPointF(3, 17), QPointF(17, 17));
        break;
    case ToolIcon::Add:
        p.setPen(QPen(QColor(0, 130, 0), 3));
        p.drawLine(QPointF(10, 3), QPointF(10, 17));
        p.drawLine(QPointF(3, 10), QPointF(17, 10));
        break;
    case ToolIcon::Help:
        p.setBrush(QColor(255, 240, 120));
        p.drawEllipse(QRectF(2, 2, 16, 16));
        p.setFont(QFont(QStringLiteral("IPAGothic"), 9, QFont::Bold));
        p.drawText(QRectF(2, 2, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
        break;
    case ToolIcon::About:
        p.setBrush(QColor(170, 210, 255));
        p.drawEllipse(QRectF(2, 2, 16, 16));
        p.setFont(QFont(QStringLiteral("IPAGothic"), 9, QFont::Bold));
        p.drawText(QRectF(2, 2, 16, 16), Qt::AlignCenter, QStringLiteral("i"));
        break;
    case ToolIcon::Print:
        p.setBrush(QColor(220, 220, 220));
        p.drawRect(QRectF(2, 8, 16, 7));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 2, 10, 6));
        p.drawRect(QRectF(5, 13, 10, 5));
        break;
    case ToolIcon::Update:
        p.setPen(QPen(QColor(0, 100, 200), 2.2));
        p.drawLine(QPointF(3, 10), QPointF(8, 16));
        p.drawLine(QPointF(8, 16), QPointF(17, 4));
        break;
    case ToolIcon::Delete:
        p.setPen(QPen(QColor(200, 0, 0), 2.4));
        p.drawLine(QPointF(4, 4), QPointF(16, 16));
        p.drawLine(QPointF(16, 4), QPointF(4, 16));
        break;
    case ToolIcon::First:
    case ToolIcon::Previous:
    case ToolIcon::Next:
    case ToolIcon::Last: {
        const bool back = kind == ToolIcon::First || kind == ToolIcon::Previous;
        const bool bar = kind == ToolIcon::First || kind == ToolIcon::Last;
        p.setBrush(QColor(40, 40, 40));
        QPolygonF triangle;
        if (back)
            triangle << QPointF(15, 4) << QPointF(6, 10) << QPointF(15, 16);
        else
            triangle << QPointF(5, 4) << QPointF(14, 10) << QPointF(5, 16);
        p.drawPolygon(triangle);
        if (bar)
            p.drawLine(QPointF(back ? 4 : 16, 4), QPointF(back ? 4 : 16, 16));
        break;
    }
    }
    return QIcon(picture);
}
