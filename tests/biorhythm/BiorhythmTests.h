#pragma once

#include <QObject>

class RhythmTest : public QObject {
    Q_OBJECT
private slots:
    void dayNumberMatchesTheCalendarFrom1900To2100();
    void dayNumberEdges();
    void phasesStayInTheirCycleBeforeBirth();
    void bornOnTheSurveyDay();
    void scoresAndTheirRounding();
    void criticalBoundsOnScreenAndOnPaper();
    void cautionLevelIsAsymmetric();
    void plotHeights();
};

class RaceWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void raceTableShowsScoresAndCriticalCells();
    void oneRacerFillsOneRow();
    void intellectIsRoundedBeforeItIsMarked();
    void storingARaceWithThreeRacers();
    void storingWithoutARacecourseIsRefused();
    void storingWithAnImpossibleDateIsRefused();
    void printedTableForSixRacers();
    void aBoatWithoutARacerKeepsItsPlace();
    void printedBoundsAreOpen();
    void printingWithoutAPrinterWritesAPdf();
    void sixGraphsOfABirthdayRacer();
    void sixGraphsWithThreeRacers();
    void panelClicksAndMenuChooseTheDetail();
    void detailOfABirthdayPerson();
    void adviceLines();
    void dateButtons_data();
    void dateButtons();
    void dayLinesAndMessageToggle();
    void roadThroughTheWindowsAndBack();
    void headingsFitTheirLongestTexts();
    void everyMenuItemShowsItsWholeCaption();
};
