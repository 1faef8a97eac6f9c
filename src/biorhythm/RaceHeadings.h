#pragma once

#include <QString>

class QWidget;

// Headings of the race windows and prints, from the shared race variables.
// " 1999. 8. 23": Str puts a blank before each number.
QString SurveyDateText();
// "調査日： 1999. 8. 23"
QString SurveyDateHeading();
// The racecourse followed by "競艇  第5レース".
QString RaceHeading();

// The name of a race's print: "バイオリズム表-20240801-蒲郡-1R" (`kind`, the
// survey date, the racecourse and the race number). Without arguments, of
// the shared race variables.
QString RacePrintTitle(const QString& kind, int year, int month, int day, const QString& course, int raceNo);
QString RacePrintTitle(const QString& kind);

// The two heading labels of the race windows, `LabelDisp_0` (survey date) and
// `LabelDisp_1` (race), side by side from (left, top), filled from the shared
// race variables. Each is wide enough for its longest text (29 December with a
// four-digit year, a three-character racecourse with race 12) and widens for
// a longer one.
void PlaceRaceHeadings(QWidget* parent, int left, int top);
