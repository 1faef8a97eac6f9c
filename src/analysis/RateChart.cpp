#include "RateChart.h"

#include "AnalysisReport.h"
#include "Basic.h"

#include <QPainter>
#include <cmath>

RateChart::RateChart(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(330, 320);
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

namespace {
// The value a row's bar shows and its interval.
struct Bar {
    bool shown;
    double value;
    Interval interval;
};

Bar barOf(const AnalysisRow& row, bool ratio)
{
    if (ratio)
        return {row.lane.available(), row.lane.ratio(), row.lane.interval()};
    const Tally& t = row.tally;
    return {t.starts > 0, t.starts > 0 ? double(t.first) / t.starts : 0.0, Wilson(t.first, t.starts)};
}
}

void RateChart::setTable(const AnalysisTable& table)
{
    table_ = table;
    ratio_ = !table_.rows.empty() && table_.laneAvailable();
    double top = ratio_ ? 1.0 : 0.0;
    for (const AnalysisRow& row : table_.rows)
        if (const Bar bar = barOf(row, ratio_); bar.shown)
            top = std::max(top, bar.interval.high);
    // A ratio axis in halves up to 3: a wilder interval of a handful of
    // starts runs off the top.
    axisTop_ = ratio_ ? std::clamp(std::ceil(top * 2.0 - 1e-9) / 2.0, 1.5, 3.0)
                      : std::clamp(std::ceil(top * 10.0 - 1e-9) / 10.0, 0.1, 1.0);
    update();
}

void RateChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm(font());
    const int line = fm.height();
    const int labelWidth = fm.horizontalAdvance(QStringLiteral("100%"));
    const QRect plot(labelWidth + 12, 2 * line + 12, width() - labelWidth - 24, height() - 5 * line - 24);

    p.setPen(Qt::black);
    p.drawText(QRect(0, 4, width(), line), Qt::AlignHCenter,
               ratio_ ? QStringLiteral("1着の実際÷艇番からの期待（縦線は 95% 区間）") : QStringLiteral("1着率（縦線は 95% 区間）"));

    // Legend: one box per rhythm.
    int x = plot.left();
    for (int r = 0; r < 3; ++r) {
        const QRect box(x, line + 8, line - 4, line - 4);
        p.fillRect(box, rhythmColour(r));
        p.drawRect(box);
        p.drawText(x + line, line + 8 + fm.ascent() - 2, RhythmName(r));
        x += line + fm.horizontalAdvance(RhythmName(r)) + 16;
    }

    auto yOf = [&](double value) { return plot.bottom() - std::min(value, axisTop_) / axisTop_ * plot.height(); };
    // Grid: every tenth of a rate (every fifth above one half), every
    // quarter of a ratio.
    const double step = ratio_ ? 0.25 : (axisTop_ > 0.5 ? 0.2 : 0.1);
    for (int s = 0; s * step <= axisTop_ + 1e-9; ++s) {
        const double value = s * step;
        const int y = int(yOf(value));
        p.setPen(QColor(220, 220, 220));
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(Qt::black);
        const QString label = ratio_ ? Basic::Format(value, QStringLiteral("0.00")) : QString::number(std::lround(value * 100)) + QLatin1Char('%');
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
            const Bar bar = barOf(table_.rows[size_t(AnalysisTable::rowOf(r, RhythmState(s)))], ratio_);
            if (!bar.shown)
                continue;
            const double barLeft = left + barWidth * (0.5 + r);
            const double top = yOf(bar.value);
            p.fillRect(QRectF(barLeft, top, barWidth, plot.bottom() - top), rhythmColour(r));
            const double mid = barLeft + barWidth / 2;
            const double cap = barWidth / 4;
            p.setPen(QPen(Qt::black, 1.2));
            p.drawLine(QPointF(mid, yOf(bar.interval.low)), QPointF(mid, yOf(bar.interval.high)));
            p.drawLine(QPointF(mid - cap, yOf(bar.interval.low)), QPointF(mid + cap, yOf(bar.interval.low)));
            if (bar.interval.high <= axisTop_)
                p.drawLine(QPointF(mid - cap, yOf(bar.interval.high)), QPointF(mid + cap, yOf(bar.interval.high)));
        }
    }

    const Tally& all = table_.rows[AnalysisTable::AllRow].tally;
    const double reference = ratio_ ? 1.0 : double(all.first) / all.starts;
    p.setPen(QPen(ratio_ ? Qt::black : Qt::darkGray, ratio_ ? 1.5 : 1, Qt::DashLine));
    p.drawLine(QPointF(plot.left(), yOf(reference)), QPointF(plot.right(), yOf(reference)));
    p.setPen(Qt::black);
    p.drawText(QRect(0, plot.bottom() + line + 8, width(), line), Qt::AlignHCenter,
               ratio_ ? QStringLiteral("破線は 1.00：艇番どおり。上なら艇番より多く勝っています")
                      : QStringLiteral("破線は全体の 1着率 %1%").arg(PercentText(reference)));
}
