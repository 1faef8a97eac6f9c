#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// Makes fan handbook files for the tests: records of either layout from
// racer rows, encoded in code page 932, each field cut or padded with blanks
// to its bytes.
struct FanRecord {
    QString toban = QStringLiteral("3945");
    QString name = QStringLiteral("山田太郎　　　　");
    QString yomi = QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ");
    QString branch = QStringLiteral("東京");
    QString kyu = QStringLiteral("A1");
    QString era = QStringLiteral("S");
    QString year = QStringLiteral("45");
    QString month = QStringLiteral("05");
    QString day = QStringLiteral("12");
    QString blood = QStringLiteral("A ");
    QString win = QStringLiteral("0652");
    QString place = QStringLiteral("0453");
    QString ki = QStringLiteral("064");
    QString birthplace = QStringLiteral("東京都");  // the new layout only
    bool lineEnd = true;
};

QByteArray FanRecordBytes(const FanRecord& record, int recordLength);
QByteArray FanFileBytes(const std::vector<FanRecord>& records, int recordLength);
