// Whether another process holds a file open or locked. One snapshot of the open-file
// table (/proc/*/fd plus /proc/locks) serves many questions and is refreshed when it is
// older than the refresh interval, so testing thousands of files costs one scan, not one
// per file. Thread-safe.
#pragma once

#include <sys/types.h>

#include <QString>
#include <memory>

namespace vandrel {

class FileInUseProbe {
  public:
    // refreshMs: how old a snapshot may grow before the next question takes a new one.
    explicit FileInUseProbe(int refreshMs = 1000);
    ~FileInUseProbe();
    FileInUseProbe(const FileInUseProbe&) = delete;
    FileInUseProbe& operator=(const FileInUseProbe&) = delete;

    // True when another process has the file open or holds a lock on it. A file that
    // cannot be stat'ed counts as in use (the caller cannot safely act on it).
    bool isInUse(const QString& path);
    // The same for an already known device and inode (saves a stat).
    bool isInUse(dev_t dev, ino_t ino);
    // Forces the next question to take a fresh snapshot.
    void invalidate();

  private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace vandrel
