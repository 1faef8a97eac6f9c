#pragma once

#include <QObject>

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void strAndCStr();
    void roundingToIntegers();
    void valReadsTheLeadingNumber_data();
    void valReadsTheLeadingNumber();
    void textHelpers();
    void formatPatterns();
    void dateCheck_data();
    void dateCheck();
    void datesToStore_data();
    void datesToStore();
    void wholeNumberBoxes();
    void messageBoxesNeverGrowPastTheScreen();
    void fontScaling();
    void nullValue();
    void standardErrorReport();
    void secondInstanceIsRefused();
    void startUpCreatesTheDatabaseOrRefusesABadOne();
};

class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void layoutAndCaptions();
    void menuBarOrderAndCaptions();
    void everyMenuItemShowsItsWholeCaption();
    void anEntryWithoutItsWindowSaysSo();
    void anEntryOpensItsWindowAndUnloadsTheMenu();
    void aWindowThatCannotOpenLeavesTheMenu();
    void maintenanceEntriesClearTheSelection();
    void exitAnsweredNoChangesNothing();
    void exitCompactsTheDatabase();
    void exitRemovesTheRestOfAnInterruptedCompaction();
    void exitWhileAnotherProgramHoldsTheDatabase();
    void exitWhileTheEngineIsLockedLeavesNoCopy();
    void importEntryReportsAMissingTool();
    void importEntryStartsTheTool();
    void aboutBox();
    void helpOpensTheContentsPage();
    void raceRunsToTheGoal();
};

// The start-up never loses the database nor changes it silently.
class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void aWriteProtectedDatabaseEndsTheStart();
    void theCopyOfAnInterruptedCompactionIsPutBack();
    void aNameThatIsNoFileEndsTheStartAtOnce();
    void aProtectedProgramFolderKeepsTheDataInTheUserFolder();
};
