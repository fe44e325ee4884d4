// The lock that lets one writer at a time change a data folder's state files
// (rules.txt, folders.txt, qfolders.txt, options.ini), across processes: the desktop
// program, the scheduler and the command line. It is an flock(2) on DIR/.state.lock, so the
// kernel drops it when its holder exits, also on kill -9: a crashed writer never leaves
// the folder locked. flock belongs to the open file, so a second StateLock on the same
// folder waits even inside one process. Held only for one read-modify-write.
#pragma once

#include <QString>

namespace vandrel {

// How long a writer waits for another one before it gives up.
inline constexpr int kStateLockWaitMs = 10000;

class StateLock {
  public:
    // dir: the data folder. Nothing is locked until lock() is called.
    explicit StateLock(const QString& dir);
    ~StateLock();
    StateLock(const StateLock&) = delete;
    StateLock& operator=(const StateLock&) = delete;

    // Waits up to timeoutMs (0: does not wait) for the lock. False when it could not be
    // had: error() then says why (held by another writer, or the lock file cannot be
    // created in a read-only or missing folder).
    bool lock(int timeoutMs = kStateLockWaitMs);
    void unlock();
    bool held() const { return fd_ >= 0; }
    const QString& error() const { return error_; }

    static QString LockFilePath(const QString& dir);

  private:
    QString path_;
    int fd_ = -1;
    QString error_;
};

}  // namespace vandrel
