#include "platform/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QFile>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/path_text.h"

namespace vandrel {

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

EntryType TypeOf(mode_t mode) {
    if (S_ISREG(mode)) return EntryType::kFile;
    if (S_ISDIR(mode)) return EntryType::kFolder;
    if (S_ISLNK(mode)) return EntryType::kSymlink;
    return EntryType::kOther;
}

EntryInfo InfoFrom(const struct stat& st, const QString& path) {
    EntryInfo info;
    info.type = TypeOf(st.st_mode);
    info.hidden = !path.isEmpty() && IsHiddenName(path);
    info.dev = st.st_dev;
    info.ino = st.st_ino;
    info.size = static_cast<std::int64_t>(st.st_size);
    info.mode = st.st_mode & 07777;
    info.atime = st.st_atim;
    info.mtime = st.st_mtim;
    info.ctime = st.st_ctim;
    return info;
}

FsStatus Error(const char* step, const QString& path) {
    return FsStatus::FromErrno(errno, step, path);
}

// True when renameat2 says the file system (or kernel) does not know the flag, as
// opposed to a real failure of the rename.
bool FlagUnsupported(int error) { return error == EINVAL || error == ENOSYS || error == ENOTSUP; }

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

}  // namespace

FsResult<EntryInfo> PosixFileSystem::stat(const QString& path) {
    // statx: the birth time comes in the same call, so one look gives all three dates.
    struct statx sx {};
    if (::statx(AT_FDCWD, Native(path).constData(), 0, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
        return Error("examine", path);
    EntryInfo info;
    info.type = TypeOf(sx.stx_mode);
    info.hidden = !path.isEmpty() && IsHiddenName(path);
    info.dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    info.ino = static_cast<ino_t>(sx.stx_ino);
    info.size = static_cast<std::int64_t>(sx.stx_size);
    info.mode = sx.stx_mode & 07777;
    const auto ts = [](const struct statx_timestamp& t) {
        return timespec{static_cast<time_t>(t.tv_sec), static_cast<long>(t.tv_nsec)};
    };
    info.atime = ts(sx.stx_atime);
    info.mtime = ts(sx.stx_mtime);
    info.ctime = ts(sx.stx_ctime);
    info.hasBirthTime = (sx.stx_mask & STATX_BTIME) != 0;
    if (info.hasBirthTime) info.btime = ts(sx.stx_btime);
    return info;
}

FsResult<EntryInfo> PosixFileSystem::lstat(const QString& path) {
    struct stat st {};
    if (::lstat(Native(path).constData(), &st) != 0) return Error("examine", path);
    return InfoFrom(st, path);
}

FsResult<EntryInfo> PosixFileSystem::statFile(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return Error("examine open file", QString());
    return InfoFrom(st, QString());
}

FsResult<std::vector<FolderEntry>> PosixFileSystem::listFolder(const QString& path) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(Native(path).constData()));
    if (!dir) return Error("list folder", path);
    const int dfd = ::dirfd(dir.get());
    std::vector<FolderEntry> entries;
    errno = 0;
    while (const dirent* e = ::readdir(dir.get())) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        FolderEntry entry;
        entry.name = QFile::decodeName(e->d_name);
        entry.exactName = QFile::encodeName(entry.name) == QByteArrayView(e->d_name);
        switch (e->d_type) {
            case DT_REG:
                entry.type = EntryType::kFile;
                break;
            case DT_DIR:
                entry.type = EntryType::kFolder;
                break;
            case DT_LNK:
                entry.type = EntryType::kSymlink;
                break;
            case DT_UNKNOWN: {
                // Some file systems do not fill d_type; ask the entry itself.
                struct stat st {};
                if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                    entry.type = TypeOf(st.st_mode);
                break;
            }
            default:
                entry.type = EntryType::kOther;
                break;
        }
        entries.push_back(std::move(entry));
        errno = 0;
    }
    if (errno != 0) return Error("list folder", path);
    return entries;
}

FsStatus PosixFileSystem::renameNoReplace(const QString& from, const QString& to) {
    const QByteArray f = Native(from);
    const QByteArray t = Native(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return FsStatus::Ok();
    if (!FlagUnsupported(errno)) return Error("rename", from);

    // The file system cannot rename without replacing (some network and FUSE file
    // systems). A plain rename could replace whatever appeared at the target, so place
    // the entry by means that fail on a taken name instead.
    struct stat st {};
    if (::lstat(f.constData(), &st) != 0) return Error("rename", from);
    if (!S_ISDIR(st.st_mode)) {
        // A second name for the same inode appears atomically or not at all (EEXIST).
        if (::link(f.constData(), t.constData()) != 0) return Error("rename", from);
        if (::unlink(f.constData()) != 0) {
            const FsStatus s = Error("rename", from);
            ::unlink(t.constData());
            return s;
        }
        return FsStatus::Ok();
    }
    // Folders cannot be hard-linked: claim the name with an empty folder of our own
    // (exclusive), then rename over that placeholder. rename() replaces only an empty
    // folder, so if anything is put into the placeholder meanwhile it fails (ENOTEMPTY).
    if (::mkdir(t.constData(), 0700) != 0) return Error("rename", from);
    if (::rename(f.constData(), t.constData()) != 0) {
        const FsStatus s = Error("rename", from);
        ::rmdir(t.constData());
        return s;
    }
    return FsStatus::Ok();
}

FsStatus PosixFileSystem::makeFolder(const QString& path, mode_t mode) {
    if (::mkdir(Native(path).constData(), mode) != 0) return Error("create folder", path);
    return FsStatus::Ok();
}

FsStatus PosixFileSystem::makeSymlink(const QString& linkTarget, const QString& path) {
    if (::symlink(Native(linkTarget).constData(), Native(path).constData()) != 0)
        return Error("create link", path);
    return FsStatus::Ok();
}

FsResult<QString> PosixFileSystem::readSymlink(const QString& path) {
    QByteArray buf(4096, '\0');
    const ssize_t n = ::readlink(Native(path).constData(), buf.data(), buf.size());
    if (n < 0) return Error("read link", path);
    if (n >= buf.size()) return FsStatus::FromErrno(ENAMETOOLONG, "read link", path);
    buf.truncate(n);
    return QFile::decodeName(buf);
}

FsStatus PosixFileSystem::removeFile(const QString& path) {
    if (::unlink(Native(path).constData()) != 0) return Error("remove", path);
    return FsStatus::Ok();
}

FsStatus PosixFileSystem::removeFolder(const QString& path) {
    if (::rmdir(Native(path).constData()) != 0) return Error("remove folder", path);
    return FsStatus::Ok();
}

FsResult<int> PosixFileSystem::openRead(const QString& path) {
    const QByteArray p = Native(path);
    // Check the type before opening: opening a FIFO blocks and opening a device may
    // have side effects. O_NONBLOCK covers an entry swapped in after the check.
    struct stat st {};
    if (::stat(p.constData(), &st) != 0) return Error("open", path);
    if (!S_ISREG(st.st_mode)) return FsStatus::FromErrno(EINVAL, "open", path);
    const int fd = ::open(p.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return Error("open", path);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return FsStatus::FromErrno(EINVAL, "open", path);
    }
    return fd;
}

FsResult<int> PosixFileSystem::openReadExamined(const QString& path, const EntryInfo& expected) {
    if (expected.type != EntryType::kFile) return FsStatus::FromErrno(EINVAL, "open", path);
    // The caller's examination stands in for the check before opening; O_NONBLOCK and the
    // identity check after it cover an entry swapped in meanwhile.
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return Error("open", path);
    struct stat st {};
    int error = 0;
    if (::fstat(fd, &st) != 0)
        error = errno;
    else if (!S_ISREG(st.st_mode))
        error = EINVAL;
    else if (st.st_dev != expected.dev || st.st_ino != expected.ino)
        error = ESTALE;
    if (error != 0) {
        ::close(fd);
        return FsStatus::FromErrno(error, "open", path);
    }
    return fd;
}

FsResult<int> PosixFileSystem::createExclusive(const QString& path, mode_t mode) {
    const int fd =
        ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
    if (fd < 0) return Error("create", path);
    return fd;
}

namespace {

// An unnamed file is named by its descriptor (linkat with AT_EMPTY_PATH), which older
// kernels allow only with a privilege, or through its /proc link, which any process may
// use but which costs a path walk through /proc (and /proc may be missing in a sandbox).
std::atomic<bool> g_emptyPathRefused{false};

bool ProcFdAvailable() {
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

QByteArray ProcFdPath(int fd) { return "/proc/self/fd/" + QByteArray::number(fd); }

}  // namespace

FsResult<int> PosixFileSystem::createUnnamed(const QString& folder, mode_t mode) {
    if (!ProcFdAvailable())
        return FsStatus::FromErrno(EOPNOTSUPP, "create unnamed file in", folder);
    // Without O_EXCL: such a file may be given a name later.
    const int fd =
        ::open(Native(folder).constData(), O_WRONLY | O_TMPFILE | O_CLOEXEC | O_NOCTTY, mode);
    if (fd < 0) return Error("create unnamed file in", folder);
    return fd;
}

FsStatus PosixFileSystem::linkNoReplace(int fd, const QString& path) {
    const QByteArray to = Native(path);
    if (!g_emptyPathRefused.load(std::memory_order_relaxed)) {
        if (::linkat(fd, "", AT_FDCWD, to.constData(), AT_EMPTY_PATH) == 0) return FsStatus::Ok();
        // ENOENT may mean a missing folder as well as a refused AT_EMPTY_PATH: the /proc
        // way below tells them apart.
        if (errno != ENOENT && errno != EPERM) return Error("name", path);
    }
    if (::linkat(AT_FDCWD, ProcFdPath(fd).constData(), AT_FDCWD, to.constData(),
                 AT_SYMLINK_FOLLOW) != 0)
        return Error("name", path);
    g_emptyPathRefused.store(true, std::memory_order_relaxed);
    return FsStatus::Ok();
}

FsResult<std::int64_t> PosixFileSystem::copyData(int from, int to) {
    std::int64_t total = 0;
    // copy_file_range lets the kernel (or the file system, with reflinks) move the data;
    // it is refused across some file systems and by older kernels, hence the fallback.
    for (;;) {
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (n > 0) {
            total += n;
            continue;
        }
        if (n == 0) return total;
        if (errno == EINTR) continue;
        if (total == 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                           errno == EOPNOTSUPP || errno == EBADF || errno == EPERM))
            break;
        return Error("copy data", QString());
    }
    std::unique_ptr<char[]> buf(new char[1 << 20]);
    for (;;) {
        const ssize_t n = ::read(from, buf.get(), 1 << 20);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Error("read", QString());
        }
        if (n == 0) return total;
        ssize_t done = 0;
        while (done < n) {
            const ssize_t w = ::write(to, buf.get() + done, static_cast<size_t>(n - done));
            if (w < 0) {
                if (errno == EINTR) continue;
                return Error("write", QString());
            }
            done += w;
        }
        total += n;
    }
}

FsStatus PosixFileSystem::writeData(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t w =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (w < 0) {
            if (errno == EINTR) continue;
            return Error("write", QString());
        }
        done += w;
    }
    return FsStatus::Ok();
}

FsStatus PosixFileSystem::syncFile(int fd) {
    if (::fsync(fd) != 0) return Error("flush to disk", QString());
    return FsStatus::Ok();
}

FsStatus PosixFileSystem::syncFolder(const QString& path) {
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return Error("flush folder", path);
    const int rc = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    // Some file systems cannot sync a folder (EINVAL); the data itself is synced.
    if (rc != 0 && err != EINVAL) return FsStatus::FromErrno(err, "flush folder", path);
    return FsStatus::Ok();
}

FsStatus PosixFileSystem::closeFile(int fd) {
    if (::close(fd) != 0 && errno != EINTR) return Error("close", QString());
    return FsStatus::Ok();
}

FsStatus PosixFileSystem::keepMode(int fd, const EntryInfo& info) {
    if (::fchmod(fd, info.mode) != 0) return Error("keep mode", QString());
    return FsStatus::Ok();
}

FsStatus PosixFileSystem::keepTimes(int fd, const EntryInfo& info) {
    const timespec times[2] = {info.atime, info.mtime};
    if (::futimens(fd, times) != 0) return Error("keep times", QString());
    return FsStatus::Ok();
}

FsStatus PosixFileSystem::keepFolderMode(const QString& path, const EntryInfo& info) {
    if (::chmod(Native(path).constData(), info.mode) != 0) return Error("keep mode", path);
    return FsStatus::Ok();
}

FsStatus PosixFileSystem::keepFolderTimes(const QString& path, const EntryInfo& info) {
    const timespec times[2] = {info.atime, info.mtime};
    if (::utimensat(AT_FDCWD, Native(path).constData(), times, AT_SYMLINK_NOFOLLOW) != 0)
        return Error("keep times", path);
    return FsStatus::Ok();
}

FsResult<int> PosixFileSystem::lockEntry(const QString& path) {
    const int fd =
        ::open(Native(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return Error("open to lock", path);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const FsStatus s = Error("lock", path);
        ::close(fd);
        return s;
    }
    return fd;
}

}  // namespace vandrel
