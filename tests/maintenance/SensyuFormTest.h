#pragma once

#include <QObject>

class SensyuFormTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openingFromTheMainMenuAndClosing();
    void tableSwitchAndItsPresentation();
    void listClickFillsTheEditBox();
    void updateAndItsSelection();
    void refusedRowsChangeNothing();
    void badNumbersAndLongNamesAreRefused();
    void racersGoneElsewhereReadAsDeleted();
    void addWithEmptyBoxes();
    void deleteRepeatsTheLastSearch();
    void deleteAllListed();
    void enterRing();
    void typingGoesWhereTheUserClicked();
    void theListLoadsItsLineByKeyboardToo();
    void enterOnTheChosenLineLoadsItAgain();
    void extractionFollowsTheRacer();
};
