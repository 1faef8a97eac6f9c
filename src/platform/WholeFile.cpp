#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kWorkingPrefix = QStringLiteral(".vantor-save-");

// A piece of an earlier save of the same kind of file: nothing yet, or the
// same first line.
bool pieceOfSave(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qsizetype end = bytes.indexOf('\n');
    const QByteArray head = end < 0 ? bytes : bytes.left(end + 1);
    const QByteArray found = file.read(head.size());
    return head.startsWith(found);
}

void removeLeftovers(const QFileInfo& target, const QByteArray& bytes)
{
    QDir folder = target.absoluteDir();
    const QStringList own =
        folder.entryList({kWorkingPrefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : own)
        folder.remove(name);
    // What the earlier way of saving left: the file's name and six letters
    // or digits, holding the start of such a file (a file of the user's that
    // happens to have such a name is left alone).
    const QRegularExpression earlier(QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(target.fileName())));
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (earlier.match(name).hasMatch() && pieceOfSave(folder.filePath(name), bytes))
            folder.remove(name);
    }
}

QString systemMessage(int error) { return QString::fromLocal8Bit(std::strerror(error)); }
}

bool SaveWholeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    const QFileInfo target(path);
    if (!target.absoluteDir().exists()) {
        *error = QStringLiteral("フォルダ '%1' がありません。").arg(target.absolutePath());
        return false;
    }
    removeLeftovers(target, bytes);
    QTemporaryFile working(target.absoluteDir().filePath(kWorkingPrefix + QStringLiteral("XXXXXX")));
    if (!working.open()) {
        *error = working.errorString();
        return false;
    }
    // The saved file gets the permissions a new file of the user gets, or
    // those of the file it replaces.
    struct stat st;
    mode_t mode;
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(working.handle(), mode);
    if (working.write(bytes) != bytes.size() || !working.flush() || ::fsync(working.handle()) != 0) {
        *error = working.errorString();
        return false;
    }
    if (::rename(QFile::encodeName(working.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        *error = systemMessage(errno);
        return false;
    }
    working.setAutoRemove(false);
    return true;
}
