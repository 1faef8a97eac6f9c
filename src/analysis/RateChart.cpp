#include "RateChart.h"

#include "AnalysisReport.h"
#include "Basic.h"

#include <QPainter>
#include <cmath>

RateChart::RateChart(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(380, 320);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

QColor RateChart::rhythmColour(int rhythm)
{
    static const int numbers[3] = {12, 10, 9};  // light red, light green, light blue
    return Basic::QBColor(numbers[rhythm]).darker(rhythm == 1 ? 130 : 100);
}

void RateChart::setTable(const AnalysisTable& table)
{
    table_ = table;
    double top = 0.0;
    for (const AnalysisRow& row : table_.rows)
        if (row.tally.starts > 0)
            top = std::max(top, Wilson(row.tally.first, row.tally.starts).high);
    axisTop_ = std::clamp(std::ceil(top * 10.0 - 1e-9) / 10.0, 0.1, 1.0);
    update();
}

void RateChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    const int line = fm.height();
    const QRect plot(fm.horizontalAdvance(QStringLiteral("100%")) + 12, 2 * line + 12,
                     width() - fm.horizontalAdvance(QStringLiteral("100%")) - 24, height() - 5 * line - 24);

    p.setPen(Qt::black);
    p.drawText(QRect(0, 4, width(), line), Qt::AlignHCenter, QStringLiteral("1着率（縦線は 95% 区間）"));

    // Legend: one box per rhythm.
    int x = plot.left();
    for (int r = 0; r < 3; ++r) {
        const QRect box(x, line + 8, line - 4, line - 4);
        p.fillRect(box, rhythmColour(r));
        p.drawRect(box);
        p.drawText(x + line, line + 8 + fm.ascent() - 2, RhythmName(r));
        x += line + fm.horizontalAdvance(RhythmName(r)) + 16;
    }

    auto yOf = [&](double fraction) { return plot.bottom() - fraction / axisTop_ * plot.height(); };
    const int steps = int(std::lround(axisTop_ * 10));
    const int every = steps > 5 ? 2 : 1;
    for (int s = 0; s <= steps; s += every) {
        const double fraction = s / 10.0;
        const int y = int(yOf(fraction));
        p.setPen(QColor(220, 220, 220));
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(Qt::black);
        const QString label = QString::number(s * 10) + QLatin1Char('%');
        p.drawText(plot.left() - 6 - fm.horizontalAdvance(label), y + fm.ascent() / 2 - 1, label);
    }
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());

    if (table_.rows.empty() || table_.empty())
        return;

    const double groupWidth = plot.width() / double(StateCount);
    const double barWidth = groupWidth / 4.0;
    for (int s = 0; s < StateCount; ++s) {
        const double left = plot.left() + s * groupWidth;
        p.setPen(Qt::black);
        p.drawText(QRectF(left, plot.bottom() + 4, groupWidth, line), Qt::AlignHCenter, StateName(RhythmState(s)));
        for (int r = 0; r < 3; ++r) {
            const Tally& t = table_.rows[size_t(AnalysisTable::rowOf(r, RhythmState(s)))].tally;
            if (t.starts == 0)
                continue;
            const double barLeft = left + barWidth * (0.5 + r);
            const double top = yOf(double(t.first) / t.starts);
            p.fillRect(QRectF(barLeft, top, barWidth, plot.bottom() - top), rhythmColour(r));
            const Interval i = Wilson(t.first, t.starts);
            const double mid = barLeft + barWidth / 2;
            const double cap = barWidth / 4;
            p.setPen(QPen(Qt::black, 1.2));
            p.drawLine(QPointF(mid, yOf(i.low)), QPointF(mid, yOf(i.high)));
            p.drawLine(QPointF(mid - cap, yOf(i.low)), QPointF(mid + cap, yOf(i.low)));
            p.drawLine(QPointF(mid - cap, yOf(i.high)), QPointF(mid + cap, yOf(i.high)));
        }
    }

    const Tally& all = table_.rows[AnalysisTable::AllRow].tally;
    const double overall = double(all.first) / all.starts;
    p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), yOf(overall)), QPointF(plot.right(), yOf(overall)));
    p.setPen(Qt::black);
    p.drawText(QRect(0, plot.bottom() + line + 8, width(), line), Qt::AlignHCenter,
               QStringLiteral("破線は全体の 1着率 %1%").arg(PercentText(overall)));
}
