#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class CharPrinter;
class QMainWindow;
class QWidget;
#include "TestSupport.h"

// What a window test of this folder needs besides the shared support.
namespace Maintenance {
// Runs SQL on the folder's database (seeding and emptying tables).
void Execute(const QString& folder, const QString& sql);
// One column of every row of a table, in the table's order, as text.
QStringList Column(const QString& folder, const QString& table, const QString& column);
// Clicks the button CommandDB_i of a window.
void Press(QWidget* window, int index);
// The text of the window's RecordNo box.
QString RecordNo(QWidget* window);
// Lines of one printed page, as on paper.
QStringList PageLines(const CharPrinter& printer, int page);
// The characters of a printed line that occupy cells column .. column+count-1.
QString Cells(const QString& line, int column, int count);
// The PDF files the prints left in the folder.
QStringList Pdfs(const QString& folder);
}

class KyoteijyoFormTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFolder> folder_;
    QMainWindow* open();

private slots:
    void init();
    void cleanup();
    void stepsToBothEndsWithTheirBoxes();
    void updateAddAndDeleteWithTheirNumbers();
    void refusedIdsWriteNothing();
    void anEmptyTableOpensAndTakesAnAdd();
    void listPagesAndFieldWidths();
    void printingFromTheWindow();
};

class OriginalFormTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TestFolder> folder_;
    QMainWindow* open();

private slots:
    void init();
    void cleanup();
    void anEmptyRosterOnlyTakesAnAdd();
    void yearListsAndTheirEras();
    void surveyDateBoxesSetTheSharedDate();
    void stepsAddsAndDeletes();
    void detailWindowGetsThePerson();
    void impossibleBirthDatesOpenNoDetail();
    void listPagesAndFieldWidths();
    void anEightCharacterNameLeavesABlankBeforeTheYear();
    void closingReturnsAndClosesTheDetail();
};
