#include "Glyphs.h"

#include "Basic.h"

#include <QPainter>

using Basic::QBColor;

void DrawGlyph(QPainter& p, int rhythm, double x, double y, double u)
{
    auto pt = [&](double dx, double dy) { return QPointF(x + dx / u, y + dy / u); };
    auto circle = [&](double cx, double cy, double r) { p.drawEllipse(pt(cx, cy), r / u, r / u); };
    auto line = [&](double x1, double y1, double x2, double y2) { p.drawLine(pt(x1, y1), pt(x2, y2)); };
    p.save();
    switch (rhythm) {
    case 0:
        p.setPen(QBColor(9));
        p.setBrush(QBColor(9));
        circle(80, 35, 35);
        circle(80, 115, 45);
        line(0, 50, 160, 160);
        line(0, 160, 160, 50);
        break;
    case 1:
        p.setPen(QBColor(12));
        p.setBrush(QBColor(12));
        circle(40, 40, 40);
        circle(120, 40, 40);
        circle(80, 100, 30);
        line(10, 70, 80, 160);
        line(80, 160, 150, 70);
        break;
    default:
        p.setPen(QBColor(3));
        p.setBrush(QBColor(3));
        p.drawRect(QRectF(pt(0, 40), pt(120, 160)));
        p.setPen(QBColor(10));
        line(0, 40, 40, 0);
        line(40, 0, 160, 0);
        line(120, 40, 160, 0);
        line(160, 0, 160, 120);
        line(120, 160, 160, 120);
        break;
    }
    p.restore();
}

QPixmap GlyphIcon(int rhythm)
{
    QPixmap picture(21, 21);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    DrawGlyph(p, rhythm, 0, 0, 8.0);
    return picture;
}
