#pragma once

#include "TestSupport.h"

#include <QObject>
#include <memory>


// The readers of the daily race-program and results files.
class DailyFilesTest : public QObject {
    Q_OBJECT
private slots:
    void programListsCoursesRacesAndBoats();
    void programBoatLinesAreReadByPosition();
    void resultsReadEveryFinishCode();
    void resultsKnowCancelledVoidAndUnfinished();
    void brokenFilesAreRefusedNamingTheLine_data();
    void brokenFilesAreRefusedNamingTheLine();
    void filesNotInShiftJisAreRefused();
    void archivesGiveTheirMember();
};

// "番組表" from the search window and "成績読込" of the race history.
class DailyWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFolder> folder_;

private slots:
    void init();
    void cleanup();
    void selectSetsUpTheRaceInTheSearchWindow();
    void selectUsesTheRacerTableInUse();
    void storingEveryRaceOfACourse();
    void aMissingRacerLeavesHisBoatEmpty();
    void tabAndEnterInTheProgramsWindow();
    void theFileDialogSpeaksJapanese();
    void dialogsStartInTheFolderLastUsed();
    void aBrokenProgramFileChangesNothing();
    void resultsFillExactlyTheMatchingSeats();
    void enteredPositionsChangeOnlyWithConsent();
    void aBrokenResultsFileWritesNothing();
    void racesWithAnImpossibleDateAreNotStored();
};
