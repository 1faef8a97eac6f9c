#pragma once

#include <QObject>

class SensyuPrintTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void headingPerSearchKind();
    void rowFormats();
    void longTermsAndNamesKeepABlankBeforeTheNextColumn();
    void aFullWidthReadingKeepsABlankBeforeTheYear();
    void sixtyOneRowsAPage();
    void printingFromTheWindow();
};
