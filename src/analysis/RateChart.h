#pragma once

#include "ResultsAnalysis.h"

#include <QWidget>

// The win rate by state, one bar per rhythm in each state, with its 95 %
// interval as a whisker and the rate of all starts as a dashed line. Painted
// by hand: a handful of rectangles and lines need no chart library.
class RateChart : public QWidget {
    Q_OBJECT
public:
    explicit RateChart(QWidget* parent = nullptr);

    void setTable(const AnalysisTable& table);
    // The top of the rate axis, a fraction rounded up to a tenth.
    double axisTop() const { return axisTop_; }

    // The bar colours of the three rhythms.
    static QColor rhythmColour(int rhythm);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AnalysisTable table_;
    double axisTop_ = 0.5;
};
