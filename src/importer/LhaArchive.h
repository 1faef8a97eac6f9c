#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// LHA archives (".LZH"), the form in which the official files are
// published: the fan handbook FANxxxx.LZH and the day's race programs and
// results. The archive is read in memory; nothing is extracted to disk.

struct LhaMember {
    QString name;     // the member's file name as stored (without a folder)
    QByteArray data;  // its contents, decompressed and checked
};

// The largest member that is read; a header announcing more is refused
// before any memory is taken for it.
constexpr qint64 MaxLhaMemberSize = 64 * 1024 * 1024;

// Reads the one member whose file name matches the wildcard pattern
// (`*` and `?`, any case of letters), e.g. "FAN*.TXT". The whole archive is
// walked, so a damaged header after the member is found too. Raises the
// run-time error FileNotFound when the archive cannot be opened, and
// BadFileFormat, with a description naming the problem, when no member or
// more than one matches, or the archive is damaged: a broken header, a
// compression method that is not known, a member cut short, a CRC that does
// not match.
LhaMember ReadLhaMember(const QString& archivePath, const QString& memberPattern);
// The same on an archive already in memory; `archiveName` names it in the
// descriptions.
LhaMember ReadLhaMember(QByteArrayView archive, const QString& archiveName, const QString& memberPattern);
