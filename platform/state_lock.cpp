#include "platform/state_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace vandrel {

StateLock::StateLock(const QString& dir) : path_(LockFilePath(dir)) {}

StateLock::~StateLock() { unlock(); }

QString StateLock::LockFilePath(const QString& dir) {
    return QDir(dir).filePath(QStringLiteral(".state.lock"));
}

bool StateLock::lock(int timeoutMs) {
    if (fd_ >= 0) return true;
    error_.clear();
    const QByteArray name = QFile::encodeName(path_);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error_ = QStringLiteral("the lock file %1 cannot be opened: %2")
                     .arg(path_, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Polled rather than blocking, so that a holder that hangs (stopped with SIGSTOP, say)
    // makes the other writers fail with a message instead of hanging with it.
    QElapsedTimer waited;
    waited.start();
    int pauseMs = 1;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK || waited.elapsed() >= timeoutMs) {
            const bool busy = errno == EWOULDBLOCK;
            error_ = busy ? QStringLiteral(
                                "another Vandrel program is changing the state files "
                                "in %1 (waited %2 seconds)")
                                .arg(QFileInfo(path_).absolutePath())
                                .arg(timeoutMs / 1000)
                          : QStringLiteral("the lock file %1 cannot be locked: %2")
                                .arg(path_, QString::fromLocal8Bit(std::strerror(errno)));
            ::close(fd);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
        pauseMs = std::min(pauseMs * 2, 50);
    }
    fd_ = fd;
    return true;
}

void StateLock::unlock() {
    if (fd_ < 0) return;
    // Closing the file drops the flock.
    ::close(fd_);
    fd_ = -1;
}

}  // namespace vandrel
