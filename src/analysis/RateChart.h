#pragma once

#include "ResultsAnalysis.h"

#include <QWidget>

// By state, one bar per rhythm in each state with its 95 % interval as a
// whisker: where some starts have a known lane, the ratio of the actual wins
// to those the lanes lead one to expect, with the line at 1.00; else the win
// rate, with the rate of all starts as a dashed line. Painted by hand: a
// handful of rectangles and lines need no chart library.
class RateChart : public QWidget {
    Q_OBJECT
public:
    explicit RateChart(QWidget* parent = nullptr);

    void setTable(const AnalysisTable& table);
    // The chart shows the ratio to the lanes' expectation, not the rate.
    bool showsRatio() const { return ratio_; }
    // The top of the axis: a rate rounded up to a tenth, or a ratio rounded
    // up to a half.
    double axisTop() const { return axisTop_; }

    // The bar colours of the three rhythms.
    static QColor rhythmColour(int rhythm);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AnalysisTable table_;
    double axisTop_ = 0.5;
    bool ratio_ = false;
};
