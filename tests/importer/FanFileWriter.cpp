#include "FanFileWriter.h"

#include "Cp932.h"

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
