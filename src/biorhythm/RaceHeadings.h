#pragma once

#include <QString>

// Headings of the race windows and prints, from the shared race variables.
// " 1999. 8. 23": Str puts a blank before each number.
QString SurveyDateText();
// "調査日： 1999. 8. 23"
QString SurveyDateHeading();
// The racecourse followed by "競艇  第5レース".
QString RaceHeading();
