#pragma once

#include "Download.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QUrl>

class QWidget;

// The official files fetched from the site where they are published, one
// LHA archive each: the race programs bYYMMDD.lzh, the results kYYMMDD.lzh
// and the fan handbook fanYYMM.lzh. What is fetched is kept in the folder
// "downloads/" beside the database, under the site's file name, and used
// from there: a kept file is only ever one that came whole and that the
// archive reader reads (it is written under a temporary name and renamed).
namespace OfficialFiles {

enum class Kind { Program, Results, Handbook };

// "b240801.lzh", "k240801.lzh"; the handbook by the month of its edition, "fan2410.lzh".
QString FileName(Kind kind, const QDate& date);
// The file's address on the site. The environment variable
// VANTOR_DOWNLOAD_BASE ("http://127.0.0.1:8080", optionally with a folder)
// stands in for the scheme and host of both of the site's hosts.
QUrl Address(Kind kind, const QDate& date);
// The database's folder + "downloads/".
QString KeptFolder();
QString KeptPath(Kind kind, const QDate& date);

// The calendar day in Japan, where the files are published.
QDate TodayInJapan();
// The handbook editions that may be the newest on `today`, newest first:
// the latest April or October not after today, then the ones before it.
QList<QDate> HandbookEditions(const QDate& today, int count = 3);

// A kept file of that day that needs no fetch: whole, and fetched after
// its day was over in Japan or less than an hour ago (the site adds to a
// day's files during the day). A handbook once kept is kept.
bool KeptIsCurrent(Kind kind, const QDate& date);

struct Outcome {
    enum Status { Ready, Missing, Cancelled, Failed };
    Status status = Failed;
    QDate date;            // the day, or the handbook's edition
    QString path;          // Ready: the kept file
    QString reason;        // Failed, or Ready from an older kept copy: why the fetch failed
    bool fetched = false;  // Ready: fetched this time
    int requests = 0;
    bool unreachable = false;  // the fetch failed as the site could not be reached (Download::Result)
};

// The file of that day (or edition): the kept one when it is current, else
// fetched and kept. When a fetch fails and an older kept copy is there,
// that copy is Ready with the reason. Nothing is written unless the file
// came whole and the archive reader reads it.
Outcome Fetch(Kind kind, const QDate& date, const Download::Watch& watch = {});
// The newest handbook: of HandbookEditions(today), newest first, the first
// that is kept or that the site has.
Outcome FetchNewestHandbook(const QDate& today, const Download::Watch& watch = {});

// What the user is told of an outcome (empty for Ready from the site or a
// current copy, and for Cancelled), and with which icon.
QString OutcomeText(Kind kind, const QDate& date, const Outcome& outcome);
int OutcomeIcon(const Outcome& outcome);

// Fetch with the progress window over `owner`, telling the user of every
// outcome but a plain success. The kept path, or empty.
QString FetchShown(QWidget* owner, Kind kind, const QDate& date);
QString FetchNewestHandbookShown(QWidget* owner);

// "2024年8月1日"
QString DayText(const QDate& date);

}
