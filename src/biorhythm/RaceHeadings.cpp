#include "RaceHeadings.h"

#include "Basic.h"
#include "GlobalModule.h"

#include <QLabel>

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
