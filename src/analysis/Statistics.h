#pragma once

#include <array>

// The few statistics the results analysis needs, written out here: the
// chi-square distribution through the regularized incomplete gamma
// function, and two 95 % score intervals.

// Regularized lower incomplete gamma P(a, x) = γ(a, x) / Γ(a) for a > 0,
// x >= 0, and its complement Q(a, x) = 1 - P(a, x), each computed where it
// is accurate (a series below a + 1, a continued fraction above).
double GammaP(double a, double x);
double GammaQ(double a, double x);

// The probability that a chi-square variable with `df` degrees of freedom
// is at least `chiSquare`: the p value of a chi-square test.
double ChiSquareP(double chiSquare, int df);

// The 95 % score interval of Wilson for `successes` out of `trials`; it
// stays inside 0..1 and is honest for small numbers, where the plain
// rate +- 2 standard errors is not. Trials 0 gives 0..1.
struct Interval {
    double low;
    double high;
};
Interval Wilson(int successes, int trials);

// The 95 % interval of the ratio r of `actual` successes to `expected`
// ones, where the successes are independent starts each with its own
// chance p_i (their sum `expected`, the sum of their squares
// `expectedSquares`): the r for which actual lies within 1.96 standard
// deviations of r·Σp_i, the deviation taken at r (Var = rΣp_i − r²Σp_i²).
// With every p_i equal it is Wilson's interval of the rate divided by p.
// Expected 0 gives 0..0.
Interval RatioInterval(int actual, double expected, double expectedSquares);

// The chi-square test of independence of a rhythm's five states and one
// finish (won, or in the first three): a 2 x 5 table of successes and
// failures. Every expected count must be at least 5, else the table has
// too few starts for the test to mean anything (`tooFew`, no p value).
struct ChiSquareTest {
    double chiSquare = 0;
    int df = 0;
    double p = 1;
    bool tooFew = true;
};
ChiSquareTest IndependenceTest(const std::array<int, 5>& successes, const std::array<int, 5>& trials);
