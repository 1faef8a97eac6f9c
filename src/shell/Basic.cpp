#include "Basic.h"

#include "RuntimeError.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace Basic {

namespace {
[[noreturn]] void overflow()
{
    throw RuntimeError(ErrorNumber::Overflow, QStringLiteral("Vantor"), QStringLiteral("オーバーフローしました。"));
}

double roundHalfEven(double x)
{
    if (!std::isfinite(x))
        overflow();
    return std::nearbyint(x);  // the default rounding mode is to nearest, ties to even
}
}

QString Str(qint64 n)
{
    return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

QString CStr(qint64 n) { return QString::number(n); }

double Int(double x) { return std::floor(x); }

int16_t CInt(double x)
{
    const double r = roundHalfEven(x);
    if (r < -32768.0 || r > 32767.0)
        overflow();
    return int16_t(r);
}

int32_t CLng(double x)
{
    const double r = roundHalfEven(x);
    if (r < -2147483648.0 || r > 2147483647.0)
        overflow();
    return int32_t(r);
}

QString HalfWidth(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u == 0x3000)
            c = QLatin1Char(' ');
        else if (u == 0x2212)
            c = QLatin1Char('-');
        else if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFF01 + 0x21));
    }
    return out;
}

double Val(const QString& original)
{
    const QString text = HalfWidth(original);
    int i = 0;
    const int n = int(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    QString number;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        number += text[i++];
    bool digits = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        number += text[i++];
        digits = true;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        number += text[i++];
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            number += text[i++];
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        QString exponent = QStringLiteral("e");
        int j = i + 1;
        if (j < n && (text[j] == QLatin1Char('-') || text[j] == QLatin1Char('+')))
            exponent += text[j++];
        bool expDigits = false;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            exponent += text[j++];
            expDigits = true;
        }
        if (expDigits)
            number += exponent;
    }
    const double value = number.toDouble();
    return std::isfinite(value) ? value : 0.0;
}

QString Trim(const QString& text)
{
    int start = 0;
    int end = int(text.size());
    while (start < end && text[start] == QLatin1Char(' '))
        ++start;
    while (end > start && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

QString Left(const QString& text, int n) { return text.left(std::max(n, 0)); }

QString NumberText(double x)
{
    return x == std::floor(x) && std::fabs(x) < 1e15 ? CStr(qint64(x)) : QString::number(x, 'g', 15);
}

QString Fixed(const QString& text, int n) { return text.left(n).leftJustified(n, QLatin1Char(' ')); }

QString Format(double x, const QString& pattern)
{
    const int point = int(pattern.indexOf(QLatin1Char('.')));
    const QString integerPart = point < 0 ? pattern : pattern.left(point);
    const int decimals = point < 0 ? 0 : int(pattern.size()) - point - 1;
    const int minDigits = int(integerPart.count(QLatin1Char('0')));
    const bool grouping = integerPart.contains(QLatin1Char(','));

    QString text = QString::number(std::fabs(x), 'f', decimals);
    const bool negative = x < 0 && text.contains(QRegularExpression(QStringLiteral("[1-9]")));
    QString whole = text;
    QString fraction;
    const int dot = int(text.indexOf(QLatin1Char('.')));
    if (dot >= 0) {
        whole = text.left(dot);
        fraction = text.mid(dot);
    }
    whole.remove(QRegularExpression(QStringLiteral("^0+")));
    while (whole.size() < minDigits)
        whole.prepend(QLatin1Char('0'));
    if (grouping) {
        for (int i = int(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(i, QLatin1Char(','));
    }
    return (negative ? QStringLiteral("-") : QString()) + whole + fraction;
}

}

namespace Basic {
namespace {
uint32_t g_rnd = 0x50000;
}

// A 24-bit linear congruential generator.
double Rnd()
{
    g_rnd = (g_rnd * 1140671485u + 12820163u) & 0xFFFFFFu;
    return double(g_rnd) / 16777216.0;
}

}

namespace Basic {
QColor QBColor(int number)
{
    static const QRgb palette[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                                     0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    return QColor(palette[number & 15]);
}
}
