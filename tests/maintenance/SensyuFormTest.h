#pragma once

#include <QObject>

class SensyuFormTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openingFromTheMainMenuAndClosing();
    void presentationFollowsTheTable();
    void listClickFillsTheEditBox();
    void updateAndDeleteNeedASelection();
    void updateWritesTheBoxes();
    void updateWithAChangedNumber();
    void refusedRowsChangeNothing();
    void unknownLookupTextsWriteNothing();
    void addWithEmptyBoxes();
    void deleteRepeatsTheLastSearch();
    void deleteInExtractionModeKeepsTheRacer();
    void deleteAllListed();
    void deleteAllIsAllOrNothing();
    void tableSwitch();
    void enterRing();
};
