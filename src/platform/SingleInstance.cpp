#include "SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <unistd.h>

QString SingleInstance::lockPath(const QString& programName)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return dir + QStringLiteral("/%1-%2.lock").arg(programName).arg(getuid());
}

SingleInstance::SingleInstance(const QString& programName)
    : lock_(std::make_unique<QLockFile>(lockPath(programName)))
{
    lock_->setStaleLockTime(0);  // only a dead owner makes the lock stale
    first_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance() = default;
