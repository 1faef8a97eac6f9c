#include "FanFileWriter.h"

#include "Cp932.h"

#include <QStringList>

namespace {
void put(QByteArray& record, int from, int length, const QString& text)
{
    QByteArray bytes = EncodeCp932(text).left(length);
    bytes = bytes.leftJustified(length, ' ');
    record.replace(from, length, bytes);
}
}

QByteArray FanRecordBytes(const FanRecord& r, int recordLength)
{
    QByteArray record(recordLength, '0');
    record.replace(66, 129, QByteArray(129, ' '));
    put(record, 0, 4, r.toban);
    put(record, 4, 16, r.name);
    put(record, 20, 15, r.yomi);
    put(record, 35, 4, r.branch);
    put(record, 39, 2, r.kyu);
    put(record, 41, 1, r.era);
    put(record, 42, 2, r.year);
    put(record, 44, 2, r.month);
    put(record, 46, 2, r.day);
    put(record, 56, 2, r.blood);
    put(record, 58, 4, r.win);
    put(record, 62, 4, r.place);
    put(record, 195, 3, r.ki);
    put(record, 174, 5, r.edition);
    if (recordLength == 418)
        put(record, 410, 6, r.birthplace);
    if (r.lineEnd) {
        record[recordLength - 2] = '\r';
        record[recordLength - 1] = '\n';
    } else {
        record[recordLength - 2] = ' ';
        record[recordLength - 1] = ' ';
    }
    return record;
}

QByteArray FanFileBytes(const std::vector<FanRecord>& records, int recordLength)
{
    QByteArray file;
    for (const FanRecord& r : records)
        file += FanRecordBytes(r, recordLength);
    return file;
}

QByteArray SyntheticHandbook()
{
    const QStringList names{QStringLiteral("山田太郎　　　　"), QStringLiteral("高　橋　　二　朗"), QStringLiteral("佐藤一二三四五六"),
                            QStringLiteral("鈴木花子　　　　"), QStringLiteral("渡辺　健　　　　")};
    const QStringList readings{QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"), QStringLiteral("ﾀｶﾊｼ ｼﾞﾛｳ"), QStringLiteral("ｻﾄｳ ﾋﾌﾐ"),
                               QStringLiteral("ｽｽﾞｷ ﾊﾅｺ"), QStringLiteral("ﾜﾀﾅﾍﾞ ｹﾝ")};
    const QStringList branches{QStringLiteral("東京"), QStringLiteral("福岡"), QStringLiteral("大阪"), QStringLiteral("神奈"),
                               QStringLiteral("静岡"), QStringLiteral("香川"), QStringLiteral("外国")};
    const QStringList classes{QStringLiteral("A1"), QStringLiteral("A2"), QStringLiteral("B1"), QStringLiteral("B2")};
    const QStringList eras{QStringLiteral("S"), QStringLiteral("H"), QStringLiteral("M"), QStringLiteral("T")};
    const QStringList blood{QStringLiteral("A "), QStringLiteral("B "), QStringLiteral("O "), QStringLiteral("AB"), QStringLiteral("  ")};
    std::vector<FanRecord> records;
    for (int i = 0; i < 40; ++i) {
        FanRecord r;
        r.toban = QString::number(3000 + 37 * i);
        r.name = names[i % names.size()];
        r.yomi = readings[i % readings.size()];
        r.branch = branches[i % branches.size()];
        r.kyu = classes[i % classes.size()];
        r.era = eras[i % eras.size()];
        r.year = QStringLiteral("%1").arg(1 + 3 * i % 63, 2, 10, QLatin1Char('0'));
        r.month = QStringLiteral("%1").arg(1 + i % 12, 2, 10, QLatin1Char('0'));
        r.day = QStringLiteral("%1").arg(1 + 7 * i % 28, 2, 10, QLatin1Char('0'));
        r.blood = blood[i % blood.size()];
        r.win = QStringLiteral("%1").arg(150 + 23 * i, 4, 10, QLatin1Char('0'));
        r.place = QStringLiteral("%1").arg(200 + 11 * i, 4, 10, QLatin1Char('0'));
        r.ki = QStringLiteral("%1").arg(40 + i, 3, 10, QLatin1Char('0'));
        r.birthplace = branches[(i + 3) % branches.size()] + QStringLiteral("県");
        records.push_back(r);
    }
    return FanFileBytes(records, 418);
}

quint16 LhaCrc16(QByteArrayView bytes)
{
    quint16 crc = 0;
    for (const char byte : bytes) {
        crc ^= uchar(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

namespace {
void putLe(QByteArray& bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes += char(value >> (8 * i) & 0xFF);
}
}

QByteArray Lh0Archive(const std::vector<LhaEntry>& members)
{
    QByteArray archive;
    for (const LhaEntry& m : members) {
        QByteArray header(2, '\0');  // header length and checksum, set below
        header += "-lh0-";
        putLe(header, quint32(m.data.size()), 4);  // stored length
        putLe(header, quint32(m.data.size()), 4);  // original length
        putLe(header, 0x6000, 2);                   // 12:00:00
        putLe(header, (1999 - 1980) << 9 | 7 << 5 | 1, 2);  // 1999-07-01
        header += char(0x20);  // archive attribute
        header += char(0);     // header level
        header += char(m.name.size());
        header += m.name;
        putLe(header, LhaCrc16(m.data), 2);
        header[0] = char(header.size() - 2);
        int sum = 0;
        for (int i = 2; i < header.size(); ++i)
            sum += uchar(header[i]);
        header[1] = char(sum & 0xFF);
        archive += header + m.data;
    }
    archive += '\0';
    return archive;
}
