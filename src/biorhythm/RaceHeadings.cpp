#include "RaceHeadings.h"

#include "Basic.h"
#include "GlobalModule.h"

#include <QLabel>
#include <QStringList>

using Basic::CStr;
using Basic::Str;

QString SurveyDateText()
{
    const GlobalModule& g = Global();
    return Str(g.ChosaNen) + QStringLiteral(".") + Str(g.ChosaTuki) + QStringLiteral(".") + Str(g.ChosaHi);
}

QString SurveyDateHeading() { return QStringLiteral("調査日：") + SurveyDateText(); }

QString RaceHeading()
{
    const GlobalModule& g = Global();
    return g.SelKyoteijyoMei + QStringLiteral("競艇  第") + CStr(g.SelRaceNo) + QStringLiteral("レース");
}

QString RacePrintTitle(const QString& kind, int year, int month, int day, const QString& course, int raceNo)
{
    QStringList parts{kind, QStringLiteral("%1%2%3")
                                .arg(year, 4, 10, QLatin1Char('0'))
                                .arg(month, 2, 10, QLatin1Char('0'))
                                .arg(day, 2, 10, QLatin1Char('0'))};
    // A race not chosen yet is left out of the name.
    if (!Basic::Trim(course).isEmpty())
        parts << Basic::Trim(course);
    if (raceNo > 0)
        parts << QStringLiteral("%1R").arg(raceNo);
    return parts.join(QLatin1Char('-'));
}

QString RacePrintTitle(const QString& kind)
{
    const GlobalModule& g = Global();
    return RacePrintTitle(kind, g.ChosaNen, g.ChosaTuki, g.ChosaHi, g.SelKyoteijyoMei, g.SelRaceNo);
}

void PlaceRaceHeadings(QWidget* parent, int left, int top)
{
    const QString texts[2] = {SurveyDateHeading(), RaceHeading()};
    for (int k = 0; k < 2; ++k) {
        auto* label = new QLabel(texts[k], parent);
        label->setObjectName(QStringLiteral("LabelDisp_%1").arg(k));
        Set_ControlFont(label, 12, 200, 20, left, top);
        label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
        left += label->width() + 8;
    }
}
