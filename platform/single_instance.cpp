#include "platform/single_instance.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <cerrno>

namespace vandrel {

SingleInstance::SingleInstance(const QString& dataDir, const QString& role) {
    // The lock lives in the data folder itself, so every process that uses the folder
    // sees the same lock whatever its environment (a cron job may have no runtime
    // folder); the uid in the name keeps users that share a folder apart.
    const QString dir = QFileInfo(dataDir).absoluteFilePath();
    lockPath_ = QDir(dir).filePath(QStringLiteral(".%1-%2.lock").arg(role).arg(::getuid()));
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

bool SingleInstance::isHeldElsewhere() const {
    if (held_) return false;
    const QByteArray path = QFile::encodeName(lockPath_);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;  // no lock file: nobody holds it
    // A holder keeps an exclusive flock on its lock file for as long as it lives; the
    // kernel drops it with the process, so a reused process id cannot fake a holder.
    const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    if (locked) return true;
    // A lock file without a flock (written by a program that could not take one) counts
    // as held while its process lives, as QLockFile itself decides.
    qint64 pid = 0;
    QString host, app;
    if (!lock_->getLockInfo(&pid, &host, &app) || pid <= 0) return false;
    if (!host.isEmpty() && host != QSysInfo::machineHostName()) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace vandrel
