#pragma once

#include <QString>
#include <QVariant>
#include <array>

class Database;

// The fan handbook file "FANxxxx.TXT": Shift-JIS records of fixed length, a
// line each. Two layouts exist: 412 bytes a record (410 bytes of fields and
// CR LF) and, since 2014, 418 bytes (416 and CR LF, a birthplace at the end
// and the name padded inside to its full eight characters). Both have the
// same fields at the same offsets up to byte 409.
namespace FanHandbook {

constexpr int OldRecordLength = 412;
constexpr int NewRecordLength = 418;
// The record counter of the import is a 16-bit one.
constexpr int MaxRecords = 32766;

// Branch and blood-type names by id, as the file writes them.
struct Lookups {
    std::array<QString, 51> prefecture;  // 県名 by 所属ID 0..50
    std::array<QString, 6> bloodType;    // 血液型名 by 血液型ID 0..5
};

// Reads both tables into `lookups`; an id outside its table stops with the
// subscript error, and the rows read before it stay in the lookups.
void LoadLookups(Database& db, Lookups& lookups);
Lookups LoadLookups(Database& db);

// Birth year from the era letter and the year in the era: M +1867, T +1911,
// S +1925, H +1988, R +2018; any other letter gives an empty value.
QVariant Seireki(const QString& era, const QString& year);
// The 所属ID whose 県名 equals the name (slots 1..50); empty when none. An
// empty slot matches nothing.
QVariant Ex_Syozoku(const Lookups& lookups, const QString& name);
// The 血液型ID whose name equals the given one (slots 1..5); 5 ("不明")
// when none. An empty slot matches nothing, so a blank type gives 5.
int Ex_Bladtype(const Lookups& lookups, const QString& name);

// One racer row as the racer table takes it: the whole-number columns
// rounded as CInt does (a half to the even neighbour).
struct Racer {
    QVariant sensyuId, ki, shozokuId, kyu, namae, yomigana, yomigana1, seiNen, seiTuki, seiHi, bloodType, win, place;
};

// Converts one record (its bytes without the line end).
Racer ConvertRecord(const Lookups& lookups, const char* record, int recordLength);

// The handbook as published: an LHA archive "FANxxxx.LZH" holding one
// member "FANxxxx.TXT".
constexpr const char* MemberPattern = "FAN*.TXT";
// Whether the path names such an archive (by its ending, any case).
bool IsArchive(const QString& path);

// The edition of a handbook: year × 10 + half (1 the first half of the year,
// 2 the second), from bytes 174-178 of a record of either layout; 0 when the
// record does not carry one (blanks there).
int Edition(QByteArrayView record);
// The edition of a handbook file's (or archive's) first record; 0 when it has
// none or cannot be read.
int EditionOfFile(const QString& path);
// The edition imported last into the database (0: none known).
int LastEdition(Database& db);
// "2024年後期" for 20242.
QString EditionText(int edition);

// Rebuilds T_選手 in one transaction from a handbook file, or from the
// handbook member of an archive read in memory: the table is emptied and
// every record added. A file with no record, or whose last record is cut
// short, is refused before anything is written. Any error (unreadable or
// broken file, an archive without one handbook member or a damaged one, a
// value that does not fit, a registration number twice, too many records)
// raises its run-time error and leaves the previous table as it was. Returns the
// number of racers written. The handbook's edition, when it has one, is
// kept as the one imported last.
int Import(Database& db, const Lookups& lookups, const QString& path);

}
