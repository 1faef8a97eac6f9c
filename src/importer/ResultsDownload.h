#pragma once

#include <QDate>
#include <QList>

class Database;
class QWidget;

// "成績ダウンロード" of the race history: the results of every day whose
// stored races still wait for their finishing positions are fetched from the
// official site (kept in downloads/), then each day is read as a chosen
// results file is, with its own confirmation. Returns true when the history
// table was written.
bool DownloadResults(QWidget* owner);

// Days with a stored race whose six positions are all still 0, not after
// `today`, oldest first; the latest `limit` of them.
QList<QDate> DaysWithoutResults(Database& db, const QDate& today, int limit);

// How many days one "成績ダウンロード" fetches at most.
constexpr int MaxResultDays = 31;
