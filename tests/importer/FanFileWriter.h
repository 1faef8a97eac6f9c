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
    QString edition;  // year and half at bytes 174-178, "20242"
    bool lineEnd = true;
};

QByteArray FanRecordBytes(const FanRecord& record, int recordLength);
QByteArray FanFileBytes(const std::vector<FanRecord>& records, int recordLength);

// A handbook of 40 made-up racers of the new layout, all fields varied: the
// contents of the -lh5- archive in data/ (see ImporterTest).
QByteArray SyntheticHandbook();

// An LHA archive as LHA tools write one: a level-0 header and the stored
// bytes of each member (method -lh0-, no compression), then the end marker.
struct LhaEntry {
    QByteArray name;
    QByteArray data;
};
QByteArray Lh0Archive(const std::vector<LhaEntry>& members);
// The CRC-16 of the members in the headers (polynomial 0x8005, reflected,
// starting from 0).
quint16 LhaCrc16(QByteArrayView bytes);
