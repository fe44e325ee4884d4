// Keeps a second Vandrel scheduler (the desktop program or "vandrel daemon") from
// running over the same data folder: a per-user lock file in the data folder. The lock
// is released when the holder ends, also after a crash (a lock left by a dead process
// is taken over). Use from one thread.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace vandrel {

class SingleInstance {
  public:
    // dataDir: the data folder whose schedule is guarded.
    explicit SingleInstance(const QString& dataDir);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock without waiting. False when another live process holds it (or the
    // lock file cannot be created; see error()).
    bool tryAcquire();
    bool isHeld() const { return held_; }
    void release();

    const QString& lockPath() const { return lockPath_; }
    // The process id of the holder when another process holds the lock, else 0.
    qint64 holderPid() const;
    // Why tryAcquire failed: empty when another process holds the lock.
    const QString& error() const { return error_; }

  private:
    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
    QString error_;
};

}  // namespace vandrel
