#pragma once

#include "TestSupport.h"

#include <QObject>
#include <QVariant>
#include <memory>
#include <vector>

// One row of T_選手 as the tests compare them.
struct RacerRow {
    QVariant id, ki, ken, kyu, name, yomi, yomi1, year, month, day, blood, win, place;
    bool operator==(const RacerRow&) const = default;
};
// T_選手 of the folder's database, in the table's order.
std::vector<RacerRow> RacerTable(const QString& folder);

// The fan handbook read from its LHA archive: both compression methods,
// the refusals of a wrong or damaged archive, and the choice of an archive
// in the import window.
class ArchiveTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestFolder> folder_;
    int import(const QString& name, const QByteArray& bytes);

private slots:
    void init();
    void cleanup();

    void bothMethodsGiveTheRowsOfThePlainFile();
    void theHandbookAmongOtherMembers();
    void refusalsKeepTheTable_data();
    void refusalsKeepTheTable();
    void chooseAnArchiveByMouseAndKeyboard();
};
