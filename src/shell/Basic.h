#pragma once

#include <QString>
#include <cstdint>

// The number and text conversions every window uses, with one meaning
// throughout. Conversions into 16- and 32-bit integers raise the overflow
// run-time error (6) when the value does not fit.
namespace Basic {

// Decimal text with a leading blank for a non-negative number ("-5", " 12").
QString Str(qint64 n);
// Decimal text without the blank.
QString CStr(qint64 n);
// Any number as CStr writes it: no blank, only the digits it needs (6.5, 45).
QString NumberText(double x);
// Floor.
double Int(double x);
// Nearest 16-bit / 32-bit integer, a half going to the even neighbour.
int16_t CInt(double x);
int32_t CLng(double x);
// Full-width digits, signs, letters, point and blank (as an input method
// types them) turned into the half-width characters they stand for.
QString HalfWidth(const QString& text);
// The number a text begins with after leading blanks; 0 when there is none.
// Full-width digits count as digits.
double Val(const QString& text);
// Leading and trailing blanks removed (ASCII blanks, as typed).
QString Trim(const QString& text);
QString Left(const QString& text, int n);
// Text cut or padded with blanks to exactly n characters.
QString Fixed(const QString& text, int n);
// Formats a number by a pattern such as "#,##0.00", "##,##0.00", "#,##0.0"
// or "##0.0": grouping when the pattern has a comma, as many decimals as
// zeros after the point, at least as many integer digits as zeros before it.
QString Format(double x, const QString& pattern);

}

namespace Basic {
// The program's one pseudo-random generator, uniform in [0, 1). It is never
// seeded, so every run of the program draws the same sequence.
double Rnd();
}

#include <QColor>

namespace Basic {
// The standard 16-colour palette by number (0 black ... 15 white).
QColor QBColor(int number);
}
