#include "CharPrinter.h"

#include "MsgBox.h"
#include "RuntimeError.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>

namespace {
bool g_forcePdf = false;
CharPrinter* g_lastEnded = nullptr;
constexpr int kPrinterError = 482;

bool isHalfWidth(QChar c)
{
    const ushort u = c.unicode();
    return u < 0x0100 || (u >= 0xFF61 && u <= 0xFF9F);
}
}

CharPrinter::CharPrinter(QString pdfFolder, QString title)
    : pdfFolder_(std::move(pdfFolder)), title_(std::move(title))
{
}

void CharPrinter::setForcePdf(bool force) { g_forcePdf = force; }

int CharPrinter::cells(const QString& text)
{
    int n = 0;
    for (QChar c : text)
        n += isHalfWidth(c) ? 1 : 2;
    return n;
}

CharPrinter::Line& CharPrinter::currentLine()
{
    Page& page = pages_.back();
    if (page.empty())
        page.emplace_back();
    return page.back();
}

void CharPrinter::print(const QString& text, bool endLineAfter)
{
    const QStringList parts = text.split(QStringLiteral("\r\n"));
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0)
            endLine();
        if (!parts[i].isEmpty()) {
            currentLine().push_back({currentX_, parts[i], colour_});
            currentX_ += cells(parts[i]);
        } else {
            currentLine();
        }
    }
    if (endLineAfter)
        endLine();
}

void CharPrinter::printNumber(double value, bool endLineAfter)
{
    QString digits = QString::number(value, 'g', 15);
    if (value >= 0)
        digits.prepend(QLatin1Char(' '));
    print(digits + QLatin1Char(' '), endLineAfter);
}

void CharPrinter::printAt(int column, const QString& text, bool endLineAfter)
{
    currentX_ = column;
    print(text, endLineAfter);
}

void CharPrinter::printNumberAt(int column, double value, bool endLineAfter)
{
    currentX_ = column;
    printNumber(value, endLineAfter);
}

void CharPrinter::printFitAt(int column, const QString& text, int cells)
{
    // Trailing blanks print nothing and take no room.
    QString shown = text;
    while (shown.endsWith(QLatin1Char(' ')) || shown.endsWith(QChar(0x3000)))
        shown.chop(1);
    currentX_ = column;
    if (shown.isEmpty())
        return;
    currentLine().push_back({column, shown, colour_, cells});
    currentX_ = column + std::min(cells, CharPrinter::cells(shown));
}

void CharPrinter::endLine()
{
    currentLine();
    pages_.back().emplace_back();
    currentX_ = 0;
}

void CharPrinter::newPage()
{
    pages_.emplace_back();
    currentX_ = 0;
}

QString CharPrinter::lineText(int page, int line) const
{
    if (page >= int(pages_.size()) || line >= int(pages_[page].size()))
        return QString();
    std::vector<QString> cell;  // one entry per column; the second half of a wide character is empty
    for (const Run& run : pages_[page][line]) {
        int column = run.column;
        for (QChar c : run.text) {
            const int width = isHalfWidth(c) ? 1 : 2;
            if (run.fitCells > 0 && column + width > run.column + run.fitCells)
                break;
            if (int(cell.size()) < column + width)
                cell.resize(column + width, QStringLiteral(" "));
            if (c != QLatin1Char(' ')) {
                cell[column] = c;
                if (width == 2)
                    cell[column + 1] = QString();
            }
            column += width;
        }
    }
    QString text;
    for (const QString& c : cell)
        text += c;
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

QColor CharPrinter::colourAt(int page, int line, int column) const
{
    QColor found;
    if (page >= int(pages_.size()) || line >= int(pages_[page].size()))
        return found;
    for (const Run& run : pages_[page][line]) {
        int at = run.column;
        for (QChar c : run.text) {
            const int width = isHalfWidth(c) ? 1 : 2;
            if (c != QLatin1Char(' ') && column >= at && column < at + width)
                found = run.colour;
            at += width;
        }
    }
    return found;
}

const CharPrinter& CharPrinter::lastEnded()
{
    static CharPrinter none{QString(), QString()};
    return g_lastEnded ? *g_lastEnded : none;
}

QString CharPrinter::pdfPathFor(const QString& folder, const QString& title)
{
    // Named by what it holds; a second print of the same thing does not
    // replace the first.
    QString name = title.trimmed();
    static const QString unsafe = QStringLiteral("/\\:*?\"<>|");
    for (QChar& c : name)
        if (unsafe.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    QString path = folder + name + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + name + QStringLiteral(" (%1).pdf").arg(n);
    return path;
}

QString CharPrinter::endDoc()
{
    delete g_lastEnded;
    g_lastEnded = new CharPrinter(*this);
    QPrinter printer(QPrinter::HighResolution);
    QString pdfPath;
    const QPrinterInfo system = QPrinterInfo::defaultPrinter();
    if (g_forcePdf || system.isNull()) {
        pdfPath = pdfPathFor(pdfFolder_, title_);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
    } else {
        printer.setPrinterName(system.printerName());
    }
    printer.setDocName(title_);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(8, 10, 8, 10), QPageLayout::Millimeter);

    QPainter painter;
    if (!painter.begin(&printer))
        throw RuntimeError(kPrinterError, QStringLiteral("Printer"), QStringLiteral("プリンタ エラーです。(%1)").arg(title_));

    const double dpi = printer.resolution();
    const double cellWidth = dpi / 12.0;   // 120 twips
    const double lineHeight = dpi / 6.0;   // 240 twips
    QFont font(QStringLiteral("IPAGothic"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(10);
    painter.setFont(font);
    const double ascent = QFontMetricsF(font, &printer).ascent();

    for (size_t p = 0; p < pages_.size(); ++p) {
        if (p > 0 && !printer.newPage()) {
            painter.end();
            throw RuntimeError(kPrinterError, QStringLiteral("Printer"), QStringLiteral("プリンタ エラーです。(改ページ)"));
        }
        const Page& page = pages_[p];
        for (size_t l = 0; l < page.size(); ++l) {
            for (const Run& run : page[l]) {
                painter.setPen(run.colour);
                // Each character sits in its own cells, so columns line up
                // whatever the font's own advance is; a squeezed run narrows
                // its cells.
                const int natural = cells(run.text);
                const double squeeze = run.fitCells > 0 && natural > run.fitCells ? double(run.fitCells) / natural : 1.0;
                painter.save();
                painter.translate(run.column * cellWidth, l * lineHeight + ascent);
                painter.scale(squeeze, 1.0);
                double x = 0;
                for (QChar c : run.text) {
                    const int width = isHalfWidth(c) ? 1 : 2;
                    if (c != QLatin1Char(' '))
                        painter.drawText(QPointF(x, 0), QString(c));
                    x += width * cellWidth;
                }
                painter.restore();
            }
        }
    }
    if (!painter.end())
        throw RuntimeError(kPrinterError, QStringLiteral("Printer"), QStringLiteral("プリンタ エラーです。(%1)").arg(title_));

    if (!pdfPath.isEmpty())
        MsgBox(QStringLiteral("プリンタが見つからないため、PDF ファイルに出力しました。\r\n%1").arg(pdfPath),
               Mb::OKOnly + Mb::Information);
    return pdfPath;
}
