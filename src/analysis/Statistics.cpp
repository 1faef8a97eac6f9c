#include "Statistics.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double z95 = 1.959963984540054;  // two-sided 95 % of the normal distribution
constexpr double epsilon = 1e-15;
constexpr int maxTerms = 1000;

// x^a e^-x / Γ(a), the factor both expansions share, through logarithms so
// that large arguments do not overflow.
double prefactor(double a, double x) { return std::exp(a * std::log(x) - x - std::lgamma(a)); }

// P(a, x) as the series Σ x^n / (a (a+1) ... (a+n)); converges fast for x < a + 1.
double lowerSeries(double a, double x)
{
    double term = 1.0 / a;
    double sum = term;
    for (int n = 1; n < maxTerms; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * epsilon)
            break;
    }
    return sum * prefactor(a, x);
}

// Q(a, x) as the continued fraction 1 / (x + 1 - a - 1(1-a) / (x + 3 - a - 2(2-a) / ...)),
// evaluated from the front (Lentz's method); converges fast for x >= a + 1.
double upperFraction(double a, double x)
{
    constexpr double tiny = 1e-300;
    double b = x + 1.0 - a;
    double c = 1.0 / tiny;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i < maxTerms; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::fabs(c) < tiny)
            c = tiny;
        d = 1.0 / d;
        const double step = d * c;
        h *= step;
        if (std::fabs(step - 1.0) < epsilon)
            break;
    }
    return h * prefactor(a, x);
}
}

double GammaP(double a, double x)
{
    if (x <= 0)
        return 0.0;
    return x < a + 1.0 ? lowerSeries(a, x) : 1.0 - upperFraction(a, x);
}

double GammaQ(double a, double x)
{
    if (x <= 0)
        return 1.0;
    return x < a + 1.0 ? 1.0 - lowerSeries(a, x) : upperFraction(a, x);
}

double ChiSquareP(double chiSquare, int df) { return GammaQ(df / 2.0, chiSquare / 2.0); }

Interval Wilson(int successes, int trials)
{
    if (trials <= 0)
        return {0.0, 1.0};
    const double n = trials;
    const double p = successes / n;
    const double z2 = z95 * z95;
    const double centre = (p + z2 / (2 * n)) / (1 + z2 / n);
    const double half = z95 / (1 + z2 / n) * std::sqrt(p * (1 - p) / n + z2 / (4 * n * n));
    return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

Interval RatioInterval(int actual, double expected, double expectedSquares)
{
    if (expected <= 0)
        return {0.0, 0.0};
    // (A - rE)^2 = z^2 (rE - r^2 S): a quadratic in r.
    const double a = actual;
    const double z2 = z95 * z95;
    const double quadratic = expected * expected + z2 * expectedSquares;
    const double linear = 2 * a * expected + z2 * expected;
    const double discriminant = std::max(0.0, z2 * (4 * a * expected * expected + z2 * expected * expected -
                                                     4 * expectedSquares * a * a));
    const double root = std::sqrt(discriminant);
    return {std::max(0.0, (linear - root) / (2 * quadratic)), (linear + root) / (2 * quadratic)};
}

ChiSquareTest IndependenceTest(const std::array<int, 5>& successes, const std::array<int, 5>& trials)
{
    ChiSquareTest test;
    test.df = int(trials.size()) - 1;
    double total = 0, won = 0;
    for (size_t i = 0; i < trials.size(); ++i) {
        total += trials[i];
        won += successes[i];
    }
    if (total <= 0)
        return test;
    for (size_t i = 0; i < trials.size(); ++i) {
        const double expectedWon = trials[i] * won / total;
        const double expectedLost = trials[i] - expectedWon;
        if (expectedWon < 5 || expectedLost < 5)
            return test;
        const double dWon = successes[i] - expectedWon;
        const double dLost = (trials[i] - successes[i]) - expectedLost;
        test.chiSquare += dWon * dWon / expectedWon + dLost * dLost / expectedLost;
    }
    test.tooFew = false;
    test.p = ChiSquareP(test.chiSquare, test.df);
    return test;
}
