// Test-only: a FileSystem that passes every call to a real one, except the calls a test
// chose to fail (the Nth call of a primitive, with ENOSPC, EXDEV, EACCES...), and that can
// run a hook before a call, e.g. to create a file at a target in the middle of an
// operation. Not thread-safe; one test drives it.
#pragma once

#include <array>
#include <functional>

#include "platform/file_system.h"

namespace vandrel::test {

enum class FsCall {
    kStat,
    kLstat,
    kStatFile,
    kListFolder,
    kRenameNoReplace,
    kMakeFolder,
    kMakeSymlink,
    kReadSymlink,
    kRemoveFile,
    kRemoveFolder,
    kOpenRead,
    kCreateExclusive,
    kCreateUnnamed,
    kLinkNoReplace,
    kCopyData,
    kWriteData,
    kSyncFile,
    kSyncFolder,
    kCloseFile,
    kKeepMode,
    kKeepTimes,
    kKeepFolderMode,
    kKeepFolderTimes,
    kLockEntry,
    kCount
};

class FaultyFileSystem final : public FileSystem {
  public:
    explicit FaultyFileSystem(FileSystem& real = DefaultFileSystem()) : real_(real) {}

    // The nth call of call from now on (1 = the next one) fails with error and does
    // nothing. A later failNth for the same call replaces the earlier one.
    void failNth(FsCall call, int n, int error);
    // Every call of call from now on fails with error (0 stops it).
    void failAlways(FsCall call, int error);
    // Every call of call whose path satisfies when fails with error.
    void failWhere(FsCall call, std::function<bool(const QString&)> when, int error);
    // Runs before every call, with the call and its path (empty for descriptor calls).
    void setBeforeCall(std::function<void(FsCall, const QString&)> hook) {
        hook_ = std::move(hook);
    }
    // Calls of call seen so far (failed ones included).
    int calls(FsCall call) const { return slot(call).seen; }

    FsResult<EntryInfo> stat(const QString& path) override;
    FsResult<EntryInfo> lstat(const QString& path) override;
    FsResult<EntryInfo> statFile(int fd) override;
    FsResult<std::vector<FolderEntry>> listFolder(const QString& path) override;
    FsStatus renameNoReplace(const QString& from, const QString& to) override;
    FsStatus makeFolder(const QString& path, mode_t mode) override;
    FsStatus makeSymlink(const QString& linkTarget, const QString& path) override;
    FsResult<QString> readSymlink(const QString& path) override;
    FsStatus removeFile(const QString& path) override;
    FsStatus removeFolder(const QString& path) override;
    FsResult<int> openRead(const QString& path) override;
    // Counted and failed as kOpenRead.
    FsResult<int> openReadExamined(const QString& path, const EntryInfo& expected) override;
    FsResult<int> createExclusive(const QString& path, mode_t mode) override;
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
    FsResult<int> lockEntry(const QString& path) override;

  private:
    struct Slot {
        int seen = 0;
        int failAt = 0;  // absolute call number that fails; 0 = none
        int error = 0;
        int alwaysError = 0;
        std::function<bool(const QString&)> when;
        int whenError = 0;
    };
    Slot& slot(FsCall c) { return slots_[static_cast<size_t>(c)]; }
    const Slot& slot(FsCall c) const { return slots_[static_cast<size_t>(c)]; }
    // Counts the call, runs the hook; the errno to fail with, or 0 to go ahead.
    int enter(FsCall call, const QString& path);

    FileSystem& real_;
    std::array<Slot, static_cast<size_t>(FsCall::kCount)> slots_{};
    std::function<void(FsCall, const QString&)> hook_;
};

}  // namespace vandrel::test
