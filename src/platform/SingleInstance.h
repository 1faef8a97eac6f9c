#pragma once

#include <QString>
#include <memory>

class QLockFile;

// Holds a per-user lock named after a program while the program runs; a
// second holder of the same name is refused. A lock left by a crashed run is
// taken over (the lock file records the owner's process id).
class SingleInstance {
public:
    explicit SingleInstance(const QString& programName);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    bool isFirst() const { return first_; }
    static QString lockPath(const QString& programName);

private:
    std::unique_ptr<QLockFile> lock_;
    bool first_ = false;
};
