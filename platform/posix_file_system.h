// The Linux implementation of FileSystem: renameat2 without replacing, O_EXCL and
// O_TMPFILE creation, copy_file_range with a read/write fallback, fsync. Safe from any
// thread.
#pragma once

#include "platform/file_system.h"

namespace vandrel {

class PosixFileSystem final : public FileSystem {
  public:
    FsResult<EntryInfo> stat(const QString& path) override;
    FsResult<EntryInfo> lstat(const QString& path) override;
    FsResult<EntryInfo> statFile(int fd) override;
    FsResult<std::vector<FolderEntry>> listFolder(const QString& path) override;

    // renameat2(RENAME_NOREPLACE); where the file system refuses the flag, a file is
    // placed by link + unlink and a folder by an exclusive placeholder folder (see .cpp).
    FsStatus renameNoReplace(const QString& from, const QString& to) override;
    FsStatus makeFolder(const QString& path, mode_t mode) override;
    FsStatus makeSymlink(const QString& linkTarget, const QString& path) override;
    FsResult<QString> readSymlink(const QString& path) override;
    FsStatus removeFile(const QString& path) override;
    FsStatus removeFolder(const QString& path) override;

    FsResult<int> openRead(const QString& path) override;
    FsResult<int> openReadExamined(const QString& path, const EntryInfo& expected) override;
    FsResult<int> createExclusive(const QString& path, mode_t mode) override;
    // O_TMPFILE, named later with linkat (never replaces): by descriptor where the kernel
    // allows it, else through /proc/self/fd.
    FsResult<int> createUnnamed(const QString& folder, mode_t mode) override;
    FsStatus linkNoReplace(int fd, const QString& path) override;
    FsResult<std::int64_t> copyData(int from, int to) override;
    FsStatus writeData(int fd, const QByteArray& bytes) override;
    FsStatus syncFile(int fd) override;
    FsStatus syncFolder(const QString& path) override;
    FsStatus closeFile(int fd) override;

    FsStatus keepMode(int fd, const EntryInfo& info) override;
    FsStatus keepTimes(int fd, const EntryInfo& info) override;
    FsStatus keepFolderMode(const QString& path, const EntryInfo& info) override;
    FsStatus keepFolderTimes(const QString& path, const EntryInfo& info) override;
    // flock(LOCK_EX | LOCK_NB) on a read-only descriptor.
    FsResult<int> lockEntry(const QString& path) override;
};

}  // namespace vandrel
