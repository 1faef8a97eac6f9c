#include "MaintenanceTests.h"

#include "CharPrinter.h"
#include "Database.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

namespace Maintenance {

void Execute(const QString& folder, const QString& sql)
{
    Database db(folder);
    db.execute(sql);
}

QStringList Column(const QString& folder, const QString& table, const QString& column)
{
    Database db(folder);
    Statement select = db.prepare(QStringLiteral("SELECT \"%1\" FROM \"%2\" ORDER BY rowid").arg(column, table));
    QStringList values;
    while (select.step())
        values << select.value(0).toString();
    return values;
}

void Press(QWidget* window, int index)
{
    auto* button = child<QPushButton>(window, QStringLiteral("CommandDB_%1").arg(index));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

QString RecordNo(QWidget* window) { return child<QLineEdit>(window, QStringLiteral("RecordNo"))->text(); }

QStringList PageLines(const CharPrinter& printer, int page)
{
    QStringList lines;
    const int count = int(printer.pages().at(size_t(page)).size());
    for (int l = 0; l < count; ++l)
        lines << printer.lineText(page, l);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString Cells(const QString& line, int column, int count)
{
    QString out;
    int at = 0;
    for (QChar c : line) {
        if (at >= column && at < column + count)
            out += c;
        at += CharPrinter::cells(QString(c));
    }
    return out;
}

QStringList Pdfs(const QString& folder) { return QDir(folder).entryList({QStringLiteral("*.pdf")}); }

}
