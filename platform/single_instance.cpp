#include "platform/single_instance.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>

namespace vandrel {

SingleInstance::SingleInstance(const QString& dataDir) {
    // The lock lives in the data folder itself, so every process that uses the folder
    // sees the same lock whatever its environment (a cron job may have no runtime
    // folder); the uid in the name keeps users that share a folder apart.
    const QString dir = QFileInfo(dataDir).absoluteFilePath();
    lockPath_ = QDir(dir).filePath(QStringLiteral(".scheduler-%1.lock").arg(::getuid()));
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // A lock is stale only when its process is gone, never because it is old: a
    // scheduler runs for days.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() { release(); }

bool SingleInstance::tryAcquire() {
    if (held_) return true;
    error_.clear();
    held_ = lock_->tryLock(0);
    if (!held_ && lock_->error() != QLockFile::LockFailedError)
        error_ = QStringLiteral("the lock file %1 cannot be created").arg(lockPath_);
    return held_;
}

void SingleInstance::release() {
    if (!held_) return;
    lock_->unlock();
    held_ = false;
}

qint64 SingleInstance::holderPid() const {
    qint64 pid = 0;
    QString host, app;
    if (!held_ && lock_->getLockInfo(&pid, &host, &app)) return pid;
    return 0;
}

}  // namespace vandrel
