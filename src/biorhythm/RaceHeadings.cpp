#include "RaceHeadings.h"

#include "Basic.h"
#include "GlobalModule.h"

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
