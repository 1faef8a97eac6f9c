#include "FanHandbook.h"

#include "Basic.h"
#include "Cp932.h"
#include "Database.h"
#include "LhaArchive.h"
#include "Recordset.h"
#include "RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace FanHandbook {

namespace {
const QString kSource = QStringLiteral("Dorrix");

[[noreturn]] void refuse(const QString& fileName, const QString& problem)
{
    throw RuntimeError(ErrorNumber::BadFileFormat, kSource,
                       QStringLiteral("%1 はファン手帳のファイルとして読めません。%2").arg(fileName, problem));
}

QString text(const char* record, int from, int length) { return DecodeCp932(QByteArrayView(record + from, length)); }

// The leading-number rule on a field of digits.
double number(const char* record, int from, int length) { return Basic::Val(text(record, from, length)); }
// A number as a whole-number column takes it.
int whole(double value) { return Basic::CInt(value); }
}

Lookups LoadLookups(Database& db)
{
    Lookups lookups;
    LoadLookups(db, lookups);
    return lookups;
}

void LoadLookups(Database& db, Lookups& lookups)
{
    Recordset branches(db, QStringLiteral("T_所属"));
    for (; !branches.eof(); branches.MoveNext()) {
        const qint64 id = branches.field(QStringLiteral("所属ID")).toLongLong();
        if (id < 0 || id > 50)
            throw RuntimeError(9, kSource, QStringLiteral("インデックスが有効範囲にありません。(所属ID %1)").arg(id));
        lookups.prefecture[size_t(id)] = branches.field(QStringLiteral("県名")).toString();
    }
    Recordset blood(db, QStringLiteral("T_血液型"));
    for (; !blood.eof(); blood.MoveNext()) {
        const qint64 id = blood.field(QStringLiteral("血液型ID")).toLongLong();
        if (id < 0 || id > 5)
            throw RuntimeError(9, kSource, QStringLiteral("インデックスが有効範囲にありません。(血液型ID %1)").arg(id));
        lookups.bloodType[size_t(id)] = blood.field(QStringLiteral("血液型名")).toString();
    }
}

QVariant Seireki(const QString& era, const QString& year)
{
    const double y = Basic::Val(year.left(2));
    if (era == QLatin1String("M"))
        return y + 1867;
    if (era == QLatin1String("T"))
        return y + 1911;
    if (era == QLatin1String("S"))
        return y + 1925;
    if (era == QLatin1String("H"))
        return y + 1988;
    if (era == QLatin1String("R"))
        return y + 2018;
    return QVariant();
}

QVariant Ex_Syozoku(const Lookups& lookups, const QString& name)
{
    for (int id = 1; id <= 50; ++id)
        if (!lookups.prefecture[size_t(id)].isEmpty() && lookups.prefecture[size_t(id)] == name)
            return id;
    return QVariant();
}

int Ex_Bladtype(const Lookups& lookups, const QString& name)
{
    for (int id = 1; id <= 5; ++id)
        if (!lookups.bloodType[size_t(id)].isEmpty() && lookups.bloodType[size_t(id)] == name)
            return id;
    return 5;
}

Racer ConvertRecord(const Lookups& lookups, const char* r, int recordLength)
{
    Racer racer;
    racer.sensyuId = whole(number(r, 0, 4));
    racer.ki = whole(number(r, 195, 3));
    racer.shozokuId = Ex_Syozoku(lookups, text(r, 35, 4).left(2));
    racer.kyu = text(r, 39, 2);
    // The old layout pads the name after it and keeps seven characters; the
    // new one pads inside the name, so all eight belong to it.
    racer.namae = text(r, 4, 16).left(recordLength == NewRecordLength ? 8 : 7);
    const QString reading = text(r, 20, 15);
    racer.yomigana = reading;
    racer.yomigana1 = reading.left(1);
    racer.seiNen = whole(Basic::Val(Seireki(text(r, 41, 1), text(r, 42, 2)).toString()));
    racer.seiTuki = whole(number(r, 44, 2));
    racer.seiHi = whole(number(r, 46, 2));
    racer.bloodType = Ex_Bladtype(lookups, Basic::Trim(text(r, 56, 2).left(2)));
    racer.win = number(r, 58, 4) / 100;
    racer.place = number(r, 62, 4) / 10;
    return racer;
}

int Edition(QByteArrayView record)
{
    // A record of either layout, ending where its layout ends a line.
    const bool whole = (record.size() >= NewRecordLength && record[NewRecordLength - 2] == '\r') ||
                       (record.size() >= OldRecordLength && record[OldRecordLength - 2] == '\r');
    if (!whole)
        return 0;
    const QByteArrayView field = record.sliced(174, 5);
    for (const char c : field)
        if (c < '0' || c > '9')
            return 0;
    const int half = field[4] - '0';
    return half == 1 || half == 2 ? field.first(4).toInt() * 10 + half : 0;
}

int EditionOfFile(const QString& path)
{
    try {
        if (IsArchive(path))
            return Edition(ReadLhaMember(path, QLatin1String(MemberPattern)).data);
    } catch (const RuntimeError&) {
        return 0;  // the import itself tells what is wrong with the archive
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? Edition(file.read(NewRecordLength)) : 0;
}

int LastEdition(Database& db)
{
    Statement last = db.prepare(QStringLiteral("SELECT 版 FROM T_ファン手帳 WHERE 番号 = 1"));
    return last.step() ? last.value(0).toInt() : 0;
}

QString EditionText(int edition)
{
    return QStringLiteral("%1年%2").arg(edition / 10).arg(edition % 10 == 1 ? QStringLiteral("前期") : QStringLiteral("後期"));
}

namespace {
// The rebuild from the file's bytes; `fileName` names the file in refusals.
int importRecords(Database& db, const Lookups& lookups, QByteArrayView bytes, const QString& fileName)
{
    const qint64 size = bytes.size();
    const char* data = bytes.data();

    // A file with no record would leave an empty racer table.
    if (size == 0)
        refuse(fileName, QStringLiteral("ファイルが空です（0 バイト）。選手のレコードが 1 件もありません。"));

    // The record length is where the first line ends.
    int recordLength = 0;
    qint64 count = 0;
    {
        const qint64 window = std::min<qint64>(size, NewRecordLength);
        const void* cr = std::memchr(data, '\r', size_t(window));
        const qint64 lineEnd = cr ? static_cast<const char*>(cr) - data : -1;
        if (lineEnd == OldRecordLength - 2 || lineEnd == NewRecordLength - 2)
            recordLength = int(lineEnd + 2);
        else if (lineEnd < 0)
            refuse(fileName, QStringLiteral("1 行目の終わり（CR LF）が %1 バイト以内にありません。").arg(NewRecordLength));
        else
            refuse(fileName, QStringLiteral("1 行目が %1 バイトです（%2 バイトか %3 バイトのはずです）。")
                             .arg(lineEnd).arg(OldRecordLength - 2).arg(NewRecordLength - 2));
        count = size / recordLength;
        // A file cut short (a download or a copy broken off) would replace
        // the table with the part that came; only line ends or an end-of-file
        // mark may follow the last complete record.
        for (qint64 i = count * recordLength; i < size; ++i) {
            if (data[i] != '\r' && data[i] != '\n' && data[i] != '\x1a')
                refuse(fileName, QStringLiteral("第 %1 レコードが途中で切れています（%2 バイトしかありません。%3 バイトのはずです）。"
                                                "ファイルが最後まで揃っているか確かめて下さい。")
                                     .arg(count + 1).arg(size - count * recordLength).arg(recordLength));
        }
        for (qint64 i = 0; i < count; ++i) {
            const char* end = data + (i + 1) * recordLength - 2;
            if (end[0] != '\r' || end[1] != '\n')
                refuse(fileName, QStringLiteral("第 %1 レコードの終わりに行の終わり（CR LF）がありません。").arg(i + 1));
        }
        if (count > MaxRecords)
            throw RuntimeError(ErrorNumber::Overflow, kSource,
                               QStringLiteral("オーバーフローしました。レコードが %1 件を超えています（%2 件）。").arg(MaxRecords).arg(count));
    }

    Database::Transaction transaction(db);
    // A racer deleted from the table leaves the extraction with him: the
    // user's extraction is kept aside while the table is rebuilt, and its
    // racers still in the handbook go back into it.
    db.execute(QStringLiteral("CREATE TEMP TABLE 抽出控え AS SELECT 選手ID FROM T_選手抽出"));
    db.execute(QStringLiteral("DELETE FROM T_選手"));
    Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO T_選手 (選手ID, 期, 所属ID, 級, 名前, よみがな, よみがな１桁, 生年, 生月, 生日, 血液型ID, 勝率, 複勝率) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13)"));
    for (qint64 i = 0; i < count; ++i) {
        const char* record = data + i * recordLength;
        try {
            const Racer r = ConvertRecord(lookups, record, recordLength);
            insert.bind(1, r.sensyuId).bind(2, r.ki).bind(3, r.shozokuId).bind(4, r.kyu).bind(5, r.namae);
            insert.bind(6, r.yomigana).bind(7, r.yomigana1).bind(8, r.seiNen).bind(9, r.seiTuki).bind(10, r.seiHi);
            insert.bind(11, r.bloodType).bind(12, r.win).bind(13, r.place);
            insert.step();
        } catch (const RuntimeError& error) {
            throw RuntimeError(error.number(), error.source(),
                               QStringLiteral("第 %1 レコード（登番 %2）: %3").arg(i + 1).arg(text(record, 0, 4), error.description()));
        }
        insert.reset();
    }
    db.execute(QStringLiteral("INSERT OR IGNORE INTO T_選手抽出 (選手ID) "
                              "SELECT 選手ID FROM temp.抽出控え WHERE 選手ID IN (SELECT 選手ID FROM T_選手)"));
    db.execute(QStringLiteral("DROP TABLE temp.抽出控え"));
    if (const int edition = count > 0 ? Edition(QByteArrayView(data, recordLength)) : 0) {
        Statement keep = db.prepare(QStringLiteral("INSERT OR REPLACE INTO T_ファン手帳 (番号, 版) VALUES (1, ?1)"));
        keep.bind(1, edition);
        keep.step();
    }
    transaction.commit();
    return int(count);
}
}  // namespace

int Import(Database& db, const Lookups& lookups, const QString& path)
{
    if (IsArchive(path)) {
        const QString archiveName = QFileInfo(path).fileName();
        const LhaMember member = ReadLhaMember(path, QLatin1String(MemberPattern));
        const QString memberName = QStringLiteral("%1 の中の %2").arg(archiveName, member.name);
        // Archives written on DOS store names in capitals, which the reader
        // gives in small letters: FAN.TXT is refused in either form.
        if (member.name.compare(QLatin1String("FAN.TXT"), Qt::CaseInsensitive) == 0)
            throw RuntimeError(ErrorNumber::BadFileFormat, kSource,
                               QStringLiteral("%1 の中の FAN.TXT ファイルは選択出来ません。").arg(archiveName));
        return importRecords(db, lookups, member.data, memberName);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!file.exists())
            throw RuntimeError(ErrorNumber::FileNotFound, kSource, QStringLiteral("ファイルが見つかりません。(%1)").arg(path));
        throw RuntimeError(ErrorNumber::PathFileAccess, kSource, QStringLiteral("ファイルを読み込めません。(%1)").arg(path));
    }
    const qint64 size = file.size();
    const uchar* bytes = size > 0 ? file.map(0, size) : nullptr;
    QByteArray copy;
    if (size > 0 && !bytes) {  // a file that cannot be mapped is read instead
        copy = file.readAll();
        bytes = reinterpret_cast<const uchar*>(copy.constData());
    }
    return importRecords(db, lookups, QByteArrayView(bytes, size), QFileInfo(path).fileName());
}

bool IsArchive(const QString& path) { return path.endsWith(QLatin1String(".lzh"), Qt::CaseInsensitive); }

}
