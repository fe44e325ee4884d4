#include "platform/faulty_file_system.h"

namespace vandrel::test {

void FaultyFileSystem::failNth(FsCall call, int n, int error) {
    Slot& s = slot(call);
    s.failAt = s.seen + n;
    s.error = error;
}

void FaultyFileSystem::failAlways(FsCall call, int error) { slot(call).alwaysError = error; }

void FaultyFileSystem::failWhere(FsCall call, std::function<bool(const QString&)> when, int error) {
    slot(call).when = std::move(when);
    slot(call).whenError = error;
}

int FaultyFileSystem::enter(FsCall call, const QString& path) {
    if (hook_) hook_(call, path);
    Slot& s = slot(call);
    ++s.seen;
    if (s.alwaysError) return s.alwaysError;
    if (s.when && s.when(path)) return s.whenError;
    if (s.failAt != 0 && s.seen == s.failAt) return s.error;
    return 0;
}

#define VANDREL_FAULT(call, path, step)                            \
    if (const int err = enter(call, path)) {                       \
        return FsStatus::FromErrno(err, step " (injected)", path); \
    }

FsResult<EntryInfo> FaultyFileSystem::stat(const QString& path) {
    VANDREL_FAULT(FsCall::kStat, path, "examine");
    return real_.stat(path);
}
FsResult<EntryInfo> FaultyFileSystem::lstat(const QString& path) {
    VANDREL_FAULT(FsCall::kLstat, path, "examine");
    return real_.lstat(path);
}
FsResult<EntryInfo> FaultyFileSystem::statFile(int fd) {
    VANDREL_FAULT(FsCall::kStatFile, QString(), "examine open file");
    return real_.statFile(fd);
}
FsResult<std::vector<FolderEntry>> FaultyFileSystem::listFolder(const QString& path) {
    VANDREL_FAULT(FsCall::kListFolder, path, "list folder");
    return real_.listFolder(path);
}
FsStatus FaultyFileSystem::renameNoReplace(const QString& from, const QString& to) {
    VANDREL_FAULT(FsCall::kRenameNoReplace, to, "rename");
    return real_.renameNoReplace(from, to);
}
FsStatus FaultyFileSystem::makeFolder(const QString& path, mode_t mode) {
    VANDREL_FAULT(FsCall::kMakeFolder, path, "create folder");
    return real_.makeFolder(path, mode);
}
FsStatus FaultyFileSystem::makeSymlink(const QString& linkTarget, const QString& path) {
    VANDREL_FAULT(FsCall::kMakeSymlink, path, "create link");
    return real_.makeSymlink(linkTarget, path);
}
FsResult<QString> FaultyFileSystem::readSymlink(const QString& path) {
    VANDREL_FAULT(FsCall::kReadSymlink, path, "read link");
    return real_.readSymlink(path);
}
FsStatus FaultyFileSystem::removeFile(const QString& path) {
    VANDREL_FAULT(FsCall::kRemoveFile, path, "remove");
    return real_.removeFile(path);
}
FsStatus FaultyFileSystem::removeFolder(const QString& path) {
    VANDREL_FAULT(FsCall::kRemoveFolder, path, "remove folder");
    return real_.removeFolder(path);
}
FsResult<int> FaultyFileSystem::openRead(const QString& path) {
    VANDREL_FAULT(FsCall::kOpenRead, path, "open");
    return real_.openRead(path);
}
FsResult<int> FaultyFileSystem::openReadExamined(const QString& path, const EntryInfo& expected) {
    VANDREL_FAULT(FsCall::kOpenRead, path, "open");
    return real_.openReadExamined(path, expected);
}
FsResult<int> FaultyFileSystem::createExclusive(const QString& path, mode_t mode) {
    VANDREL_FAULT(FsCall::kCreateExclusive, path, "create");
    return real_.createExclusive(path, mode);
}
FsResult<int> FaultyFileSystem::createUnnamed(const QString& folder, mode_t mode) {
    VANDREL_FAULT(FsCall::kCreateUnnamed, folder, "create unnamed file in");
    return real_.createUnnamed(folder, mode);
}
FsStatus FaultyFileSystem::linkNoReplace(int fd, const QString& path) {
    VANDREL_FAULT(FsCall::kLinkNoReplace, path, "name");
    return real_.linkNoReplace(fd, path);
}
FsResult<std::int64_t> FaultyFileSystem::copyData(int from, int to) {
    VANDREL_FAULT(FsCall::kCopyData, QString(), "copy data");
    return real_.copyData(from, to);
}
FsStatus FaultyFileSystem::writeData(int fd, const QByteArray& bytes) {
    VANDREL_FAULT(FsCall::kWriteData, QString(), "write");
    return real_.writeData(fd, bytes);
}
FsStatus FaultyFileSystem::syncFile(int fd) {
    VANDREL_FAULT(FsCall::kSyncFile, QString(), "flush to disk");
    return real_.syncFile(fd);
}
FsStatus FaultyFileSystem::syncFolder(const QString& path) {
    VANDREL_FAULT(FsCall::kSyncFolder, path, "flush folder");
    return real_.syncFolder(path);
}
FsStatus FaultyFileSystem::closeFile(int fd) {
    // A refused close still releases the descriptor, as close(2) does.
    if (const int err = enter(FsCall::kCloseFile, QString())) {
        (void)real_.closeFile(fd);
        return FsStatus::FromErrno(err, "close (injected)", QString());
    }
    return real_.closeFile(fd);
}
FsStatus FaultyFileSystem::keepMode(int fd, const EntryInfo& info) {
    VANDREL_FAULT(FsCall::kKeepMode, QString(), "keep mode");
    return real_.keepMode(fd, info);
}
FsStatus FaultyFileSystem::keepTimes(int fd, const EntryInfo& info) {
    VANDREL_FAULT(FsCall::kKeepTimes, QString(), "keep times");
    return real_.keepTimes(fd, info);
}
FsStatus FaultyFileSystem::keepFolderMode(const QString& path, const EntryInfo& info) {
    VANDREL_FAULT(FsCall::kKeepFolderMode, path, "keep mode");
    return real_.keepFolderMode(path, info);
}
FsStatus FaultyFileSystem::keepFolderTimes(const QString& path, const EntryInfo& info) {
    VANDREL_FAULT(FsCall::kKeepFolderTimes, path, "keep times");
    return real_.keepFolderTimes(path, info);
}
FsResult<int> FaultyFileSystem::lockEntry(const QString& path) {
    VANDREL_FAULT(FsCall::kLockEntry, path, "lock");
    return real_.lockEntry(path);
}

#undef VANDREL_FAULT

}  // namespace vandrel::test
