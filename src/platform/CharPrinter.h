#pragma once

#include <QColor>
#include <QString>
#include <vector>

// The character-cell printer of every printed report. A report places text
// at a column of the current line in a colour, ends lines and pages, and ends
// the document. A column is 120 twips (1/12 inch) wide, a line 240 twips
// (1/6 inch) high; a full-width character takes two columns. The document is
// kept as pages of lines of placed runs (what the tests read), and ending it
// renders it in the fixed-pitch Japanese font to the system's default
// printer, or, where the system has no printer, to a PDF file in the given
// folder.
class CharPrinter {
public:
    struct Run {
        int column;
        QString text;
        QColor colour;
        int fitCells = 0;  // > 0: the text is squeezed into this many columns on paper
    };
    using Line = std::vector<Run>;
    using Page = std::vector<Line>;

    // `pdfFolder` receives the PDF when there is no printer; `title` names
    // the print job and the PDF file, and so says what the print holds
    // ("バイオリズム表-20240801-蒲郡-1R").
    CharPrinter(QString pdfFolder, QString title);
    // The PDF's path: the title, made safe for a file name, in the folder;
    // " (2)", " (3)"… added while a file of that name exists.
    static QString pdfPathFor(const QString& folder, const QString& title);

    void setCurrentX(int column) { currentX_ = column; }
    int currentX() const { return currentX_; }
    void setForeColor(const QColor& colour) { colour_ = colour; }

    // Prints text at the current column and moves the column past it; a
    // carriage return / line feed inside the text ends the line there. With
    // endLine the line ends after the text, as a print without a trailing
    // separator does.
    void print(const QString& text, bool endLine = false);
    // Prints a number as a report prints an unformatted one: a blank (or the
    // minus sign), the digits, one trailing blank.
    void printNumber(double value, bool endLine = false);
    // The two above at a column.
    void printAt(int column, const QString& text, bool endLine = false);
    void printNumberAt(int column, double value, bool endLine = false);
    // Prints text at a column within `cells` columns: a longer text is
    // printed whole, squeezed narrower, so that it never runs into what
    // follows.
    void printFitAt(int column, const QString& text, int cells);
    void endLine();
    void newPage();
    // Sends the document. Returns the PDF's path when one was written (the
    // user has been told), else an empty text. A printing failure raises the
    // printer run-time error.
    QString endDoc();

    const std::vector<Page>& pages() const { return pages_; }
    // A line as it looks on paper: every run at its column, a full-width
    // character two columns wide, blanks leaving what is under them. Of a
    // squeezed run, the characters that fill its columns at full width.
    QString lineText(int page, int line) const;
    // The colour of the run that puts the character at `column` on a line.
    QColor colourAt(int page, int line, int column) const;

    // Number of columns a text takes.
    static int cells(const QString& text);
    // Where ended documents go instead of the printer (tests): a PDF in the
    // folder even when a printer exists.
    static void setForcePdf(bool force);
    // The last document ended in this process, as it was sent (tests).
    static const CharPrinter& lastEnded();

private:
    Line& currentLine();

    QString pdfFolder_;
    QString title_;
    std::vector<Page> pages_{Page{}};
    int currentX_ = 0;
    QColor colour_ = Qt::black;
};
