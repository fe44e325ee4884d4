// Keeps a second Vandrel scheduler (the desktop program or "vandrel daemon") from
// running over the same data folder: a per-user lock file in the data folder. The lock
// is released when the holder ends, also after a crash (a lock left by a dead process
// is taken over). A role names the lock, so the desktop program can hold a second one
// that tells the command line a program keeps the lists in memory. Use from one thread.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace vandrel {

class SingleInstance {
  public:
    // The role of the lock every scheduler takes.
    static constexpr const char* kSchedulerRole = "scheduler";
    // The role of the lock only the desktop program takes.
    static constexpr const char* kDesktopRole = "desktop";

    // dataDir: the data folder whose schedule is guarded; role: which lock (a plain word).
    explicit SingleInstance(const QString& dataDir,
                            const QString& role = QString::fromLatin1(kSchedulerRole));
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
    // Whether a live process (this one through another SingleInstance included) holds the
    // lock now, without taking it: looking never keeps a starting holder out. A lock left
    // by a process that is gone is not held.
    bool isHeldElsewhere() const;
    // Why tryAcquire failed: empty when another process holds the lock.
    const QString& error() const { return error_; }

  private:
    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
    QString error_;
};

}  // namespace vandrel
