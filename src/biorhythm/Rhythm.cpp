#include "Rhythm.h"

#include "Basic.h"

#include <cmath>

using Basic::CInt;
using Basic::CLng;
using Basic::Int;

double DayNumber(int16_t year, int16_t month, int16_t day)
{
    if (month >= 3)
        return Int(year * 365.25) + Int((month + 1) * 30.6) + day - 122;
    return Int((year - 1) * 365.25) + Int((month + 13) * 30.6) + day - 122;
}

namespace Rhythm {

int32_t ElapsedDays(int16_t year, int16_t month, int16_t day, int16_t birthYear, int16_t birthMonth, int16_t birthDay)
{
    return CLng(DayNumber(year, month, day) - DayNumber(birthYear, birthMonth, birthDay));
}

int32_t Phase(double elapsedDays, int period)
{
    return int32_t(elapsedDays - Int(elapsedDays / period) * period);
}

double Sine(int32_t phase, int period)
{
    const double angle = double(phase * 360) / period * Pi / 180;
    return std::sin(angle);
}

double Score(int32_t phase, int period) { return Sine(phase, period) * period / 4; }

Scores TableScores(int32_t elapsedDays)
{
    return {Score(Phase(elapsedDays, Body), Body), Score(Phase(elapsedDays, Emotion), Emotion),
            double(CLng(Score(Phase(elapsedDays, Intellect), Intellect)))};
}

bool IsCritical(double score) { return score >= -1 && score <= 1; }

double CutToHundredths(double score) { return Int(score * 100) / 100; }

bool IsCriticalOnPaper(double printedScore) { return printedScore > -1 && printedScore < 1; }

int32_t CautionLevel(int32_t phase, int period)
{
    const int32_t level = int32_t(Int(Sine(phase, period) * 10));
    return (level >= -1 && level <= 1) ? 0 : level;
}

int16_t PanelY(int32_t phase, int period)
{
    const int16_t scaled = CInt((1 - Sine(phase, period)) * 900 + 100 - 80);
    return CInt(scaled / 15.0);
}

float DetailY(int32_t phase, int period)
{
    return float(((1 - Sine(phase, period)) * 2300 + 80) / 16 + 11);
}

}
