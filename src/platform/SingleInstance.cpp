#include "SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <unistd.h>

QString SingleInstance::lockPath(const QString& programName)
{
    QString dir = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (dir.isEmpty() || !QDir(dir).exists())
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
