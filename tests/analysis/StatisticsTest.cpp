#include "Statistics.h"

#include <QTest>
#include <cmath>

namespace {
bool near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }
}

// The chi-square distribution and the intervals, against printed tables and
// closed forms.
class StatisticsTest : public QObject {
    Q_OBJECT

private slots:
    void chiSquareAgainstPrintedTable_data()
    {
        QTest::addColumn<double>("chiSquare");
        QTest::addColumn<int>("df");
        QTest::addColumn<double>("p");
        // The upper points of a printed table of the distribution (3 decimals).
        QTest::newRow("1 df 5 %") << 3.841 << 1 << 0.05;
        QTest::newRow("1 df 1 %") << 6.635 << 1 << 0.01;
        QTest::newRow("2 df 5 %") << 5.991 << 2 << 0.05;
        QTest::newRow("3 df 5 %") << 7.815 << 3 << 0.05;
        QTest::newRow("4 df 10 %") << 7.779 << 4 << 0.10;
        QTest::newRow("4 df 5 %") << 9.488 << 4 << 0.05;
        QTest::newRow("4 df 1 %") << 13.277 << 4 << 0.01;
        QTest::newRow("4 df 0.1 %") << 18.467 << 4 << 0.001;
        QTest::newRow("4 df 90 %") << 1.064 << 4 << 0.90;
        QTest::newRow("10 df 5 %") << 18.307 << 10 << 0.05;
        QTest::newRow("30 df 5 %") << 43.773 << 30 << 0.05;
    }
    void chiSquareAgainstPrintedTable()
    {
        QFETCH(double, chiSquare);
        QFETCH(int, df);
        QFETCH(double, p);
        // Three decimals of χ² give the p value to about 1 part in 2,000.
        QVERIFY2(near(ChiSquareP(chiSquare, df), p, p * 2e-3), qPrintable(QString::number(ChiSquareP(chiSquare, df), 'g', 10)));
    }

    void closedForms()
    {
        // 2 df: p = e^(-x/2); 4 df: p = e^(-x/2) (1 + x/2); 1 df: p = erfc(sqrt(x/2)).
        for (double x : {0.01, 0.5, 1.0, 2.0, 3.0, 5.0, 9.0, 20.0, 60.0}) {
            QVERIFY(near(ChiSquareP(x, 2), std::exp(-x / 2), 1e-13));
            QVERIFY(near(ChiSquareP(x, 4), std::exp(-x / 2) * (1 + x / 2), 1e-13));
            QVERIFY(near(ChiSquareP(x, 1), std::erfc(std::sqrt(x / 2)), 1e-12));
        }
        // Both expansions meet where they change over (x = a + 1) and sum to one.
        for (double a : {0.5, 2.0, 7.5}) {
            for (double x : {a + 0.999, a + 1.0, a + 1.001, a / 3, 3 * a + 4}) {
                QVERIFY(near(GammaP(a, x) + GammaQ(a, x), 1.0, 1e-13));
                QVERIFY(GammaP(a, x) >= 0 && GammaP(a, x) <= 1);
            }
        }
        QCOMPARE(ChiSquareP(0, 4), 1.0);
        QVERIFY(ChiSquareP(500, 4) < 1e-100);
        // The p value falls as χ² grows.
        double last = 1.0;
        for (double x = 0.25; x < 40; x += 0.25) {
            QVERIFY(ChiSquareP(x, 4) < last);
            last = ChiSquareP(x, 4);
        }
    }

    void independenceByHand()
    {
        // 100 starts in each state, 10, 20, 30, 20, 20 wins: 20 expected
        // wins and 80 expected losses each. χ² = (100 + 100) / 20 + (100 + 100) / 80
        // = 12.5 at 4 df, p = e^-6.25 (1 + 6.25) = 0.01400.
        ChiSquareTest t = IndependenceTest({10, 20, 30, 20, 20}, {100, 100, 100, 100, 100});
        QVERIFY(!t.tooFew);
        QCOMPARE(t.df, 4);
        QVERIFY(near(t.chiSquare, 12.5, 1e-12));
        QVERIFY(near(t.p, std::exp(-6.25) * 7.25, 1e-12));
        QVERIFY(t.p < 0.05);

        // The same rate in every state: χ² 0, p 1.
        t = IndependenceTest({20, 10, 40, 20, 30}, {100, 50, 200, 100, 150});
        QVERIFY(!t.tooFew);
        QVERIFY(near(t.chiSquare, 0, 1e-12));
        QVERIFY(near(t.p, 1, 1e-12));

        // Unequal groups: 10/50, 30/100, 10/50, 25/100, 25/100, 100 wins of
        // 400; expected wins 12.5 or 25, losses 37.5 or 75. Wins give
        // 6.25/12.5 + 25/25 + 6.25/12.5 = 2, losses 2 x 6.25/37.5 + 25/75.
        t = IndependenceTest({10, 30, 10, 25, 25}, {50, 100, 50, 100, 100});
        QVERIFY(near(t.chiSquare, 2.0 + 2 * 6.25 / 37.5 + 25.0 / 75, 1e-12));
        QVERIFY(t.p >= 0.05);
    }

    void tooFewToTell()
    {
        // 50 wins of 450: the small state expects 50 x 50 / 450 = 5.6 wins.
        QVERIFY(!IndependenceTest({10, 10, 10, 10, 10}, {50, 100, 100, 100, 100}).tooFew);
        // 41 wins of 449: the small state expects 49 x 41 / 449 = 4.47: no p value.
        const ChiSquareTest t = IndependenceTest({1, 10, 10, 10, 10}, {49, 100, 100, 100, 100});
        QVERIFY(t.tooFew);
        // Too few losses count the same: nearly every start won.
        QVERIFY(IndependenceTest({99, 99, 99, 99, 99}, {100, 100, 100, 100, 100}).tooFew);
        // A state without starts, and no starts at all.
        QVERIFY(IndependenceTest({10, 10, 10, 10, 0}, {50, 50, 50, 50, 0}).tooFew);
        QVERIFY(IndependenceTest({}, {}).tooFew);
    }

    void ratioIntervalIsWilsonForEqualChances()
    {
        // Every start with the same chance p: the interval of the ratio is
        // Wilson's interval of the rate divided by p.
        for (auto [wins, starts, p] : {std::tuple{3, 10, 0.3}, std::tuple{0, 20, 0.25}, std::tuple{55, 100, 0.559}}) {
            const Interval ratio = RatioInterval(wins, starts * p, starts * p * p);
            const Interval rate = Wilson(wins, starts);
            QVERIFY(near(ratio.low, rate.low / p, 1e-12));
            QVERIFY(near(ratio.high, rate.high / p, 1e-12));
        }
        // As many wins as expected: the interval holds 1 and narrows with the starts.
        const Interval few = RatioInterval(10, 10, 10 * 0.3);
        const Interval many = RatioInterval(1000, 1000, 1000 * 0.3);
        QVERIFY(few.low < 1 && few.high > 1);
        QVERIFY(many.low > few.low && many.high < few.high);
        QVERIFY(near(many.low, 0.9, 0.05) && near(many.high, 1.1, 0.05));
        // No expectation: nothing to compare with.
        QCOMPARE(RatioInterval(0, 0, 0).high, 0.0);
    }
};

QObject* NewStatisticsTest() { return new StatisticsTest; }

#include "StatisticsTest.moc"
