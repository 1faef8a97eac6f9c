#include "BiorhythmTests.h"
#include "Rhythm.h"

#include <QDate>
#include <QTest>
#include <cmath>

void RhythmTest::dayNumberMatchesTheCalendarFrom1900To2100()
{
    // Against Qt's own Julian day count: every day, not a sample.
    const QDate first(1900, 3, 1);
    const QDate last(2100, 2, 28);
    const double base = DayNumber(1900, 3, 1);
    for (QDate d = first; d <= last; d = d.addDays(1)) {
        const double n = DayNumber(int16_t(d.year()), int16_t(d.month()), int16_t(d.day()));
        if (n - base != double(first.daysTo(d)))
            QFAIL(qPrintable(d.toString(Qt::ISODate)));
    }
}

void RhythmTest::dayNumberEdges()
{
    QCOMPARE(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2.0);
    QCOMPARE(DayNumber(1999, 3, 1) - DayNumber(1999, 2, 28), 1.0);
    QCOMPARE(DayNumber(1999, 8, 0), 730287.0);
    QCOMPARE(DayNumber(1999, 7, 31), 730287.0);
    QCOMPARE(DayNumber(1999, 8, 32), DayNumber(1999, 9, 1));
    QCOMPARE(DayNumber(1999, 9, 1), 730319.0);
    // Days before 1 and after the month's end reach the neighbouring months.
    QCOMPARE(DayNumber(2000, 3, -1), DayNumber(2000, 2, 28));
    QCOMPARE(DayNumber(1999, 12, 38), DayNumber(2000, 1, 7));
}

void RhythmTest::phasesStayInTheirCycleBeforeBirth()
{
    QCOMPARE(Rhythm::Phase(-1, 23), 22);
    QCOMPARE(Rhythm::Phase(-1, 28), 27);
    QCOMPARE(Rhythm::Phase(-1, 33), 32);
    QCOMPARE(Rhythm::Phase(-23, 23), 0);
    QCOMPARE(Rhythm::Phase(-24, 23), 22);
    QCOMPARE(Rhythm::Phase(10000, 33), 10000 % 33);
    QCOMPARE(Rhythm::ElapsedDays(1999, 8, 23, 1999, 8, 24), -1);
}

void RhythmTest::bornOnTheSurveyDay()
{
    const int32_t d = Rhythm::ElapsedDays(1999, 8, 23, 1999, 8, 23);
    QCOMPARE(d, 0);
    const Rhythm::Scores s = Rhythm::TableScores(d);
    QCOMPARE(s.body, 0.0);
    QCOMPARE(s.emotion, 0.0);
    QCOMPARE(s.intellect, 0.0);
    QVERIFY(Rhythm::IsCritical(s.body) && Rhythm::IsCritical(s.emotion) && Rhythm::IsCritical(s.intellect));
    for (int p : Rhythm::Periods) {
        QCOMPARE(Rhythm::CautionLevel(0, p), 0);
        QCOMPARE(Rhythm::PanelY(0, p), int16_t(61));
        QCOMPARE(Rhythm::DetailY(0, p), 159.75f);
    }
}

void RhythmTest::scoresAndTheirRounding()
{
    // A quarter cycle is the top of the curve: P / 4.
    QCOMPARE(Rhythm::Score(7, 28), std::sin(90 * Rhythm::Pi / 180) * 7);
    QVERIFY(std::fabs(Rhythm::Score(7, 28) - 7.0) < 1e-9);
    // The intellect score is rounded half to even, body and emotion keep decimals.
    bool seenHalf = false;
    for (int d = 0; d < 33; ++d) {
        const double raw = Rhythm::Score(d, 33);
        const Rhythm::Scores s = Rhythm::TableScores(d);
        QCOMPARE(s.intellect, std::nearbyint(raw));
        QCOMPARE(s.body, Rhythm::Score(Rhythm::Phase(d, 23), 23));
        seenHalf = seenHalf || std::fabs(raw - std::trunc(raw)) > 0.4;
    }
    QVERIFY(seenHalf);
}

void RhythmTest::criticalBoundsOnScreenAndOnPaper()
{
    QVERIFY(Rhythm::IsCritical(1.0));
    QVERIFY(Rhythm::IsCritical(-1.0));
    QVERIFY(!Rhythm::IsCritical(1.01));
    QVERIFY(!Rhythm::IsCritical(-1.01));
    QVERIFY(!Rhythm::IsCriticalOnPaper(1.0));
    QVERIFY(!Rhythm::IsCriticalOnPaper(-1.0));
    QVERIFY(Rhythm::IsCriticalOnPaper(0.99));
    QCOMPARE(Rhythm::CutToHundredths(1.239), 1.23);
    QCOMPARE(Rhythm::CutToHundredths(-1.001), -1.01);
}

void RhythmTest::cautionLevelIsAsymmetric()
{
    // The band is 10 x sin in [-1, 2): floor makes it lopsided.
    QCOMPARE(Rhythm::CautionLevel(1, 33), 0);    // sin  0.189: level 1, caution
    QCOMPARE(Rhythm::CautionLevel(32, 33), -2);  // sin -0.189: level -2, no caution
    QCOMPARE(Rhythm::CautionLevel(17, 33), 0);   // sin -0.095: level -1, caution
    QCOMPARE(Rhythm::CautionLevel(14, 28), 0);   // half a cycle, sine just below 0
    QCOMPARE(Rhythm::CautionLevel(7, 28), 9);    // the top: sine a hair under 1
    QCOMPARE(Rhythm::CautionLevel(21, 28), -10);
    QCOMPARE(Rhythm::CautionLevel(2, 33), 3);    // sin 0.372
}

void RhythmTest::plotHeights()
{
    QCOMPARE(Rhythm::PanelY(7, 28), int16_t(1));     // sin = 1: CInt(20 / 15)
    QCOMPARE(Rhythm::PanelY(21, 28), int16_t(121));  // sin = -1: CInt(1820 / 15)
    QCOMPARE(Rhythm::DetailY(7, 28), 16.0f);
    QCOMPARE(Rhythm::DetailY(21, 28), 303.5f);
}
