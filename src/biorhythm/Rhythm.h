#pragma once

#include <cstdint>

// The one biorhythm calculation every window uses: day numbers, elapsed
// days, the phase in each cycle, and the scores and plot heights made from
// its sine.

// Day number of a date. Every fourth year is a leap year; the day may lie
// outside 1..31 (day 0 is the last day of the month before, day 32 a day of
// the month after).
double DayNumber(int16_t year, int16_t month, int16_t day);

namespace Rhythm {

constexpr double Pi = 3.141593;
constexpr int Body = 23;
constexpr int Emotion = 28;
constexpr int Intellect = 33;
constexpr int Periods[3] = {Body, Emotion, Intellect};

// Days from the birth date to the target date; negative before birth.
int32_t ElapsedDays(int16_t year, int16_t month, int16_t day, int16_t birthYear, int16_t birthMonth, int16_t birthDay);
// Phase in a cycle of `period` days: 0 .. period-1, also for negative days.
int32_t Phase(double elapsedDays, int period);
// sin of the phase angle.
double Sine(int32_t phase, int period);
// The score of the tables: sin x period / 4.
double Score(int32_t phase, int period);

// The three scores of the race table and the history: body and emotion as
// they are, intellect rounded to a whole number (half to even).
struct Scores {
    double body;
    double emotion;
    double intellect;
};
Scores TableScores(int32_t elapsedDays);

// A score is critical on screen when -1 <= score <= 1.
bool IsCritical(double score);
// On paper body and emotion are cut to hundredths downwards first, and a
// score is critical only when -1 < score < 1.
double CutToHundredths(double score);
bool IsCriticalOnPaper(double printedScore);

// The caution level of the day advice: Int(sin x 10), with -1, 0 and 1 made
// 0; 0 means caution.
int32_t CautionLevel(int32_t phase, int period);

// Plot heights in pixels, y growing downwards: six-graph panels and detail.
int16_t PanelY(int32_t phase, int period);
float DetailY(int32_t phase, int period);

}
