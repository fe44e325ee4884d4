#include "platform/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace vandrel {

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

}  // namespace

FsResult<int> CreateLockedFile(const QString& fresh, const QString& final) {
    const int fd = ::open(Native(fresh).constData(),
                          O_RDWR | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return FsStatus::FromErrno(errno, "create", fresh);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const FsStatus st = FsStatus::FromErrno(errno, "lock", fresh);
        ::unlink(Native(fresh).constData());
        ::close(fd);
        return st;
    }
    if (::renameat2(AT_FDCWD, Native(fresh).constData(), AT_FDCWD, Native(final).constData(),
                    RENAME_NOREPLACE) != 0) {
        const FsStatus st = FsStatus::FromErrno(errno, "name", final);
        ::unlink(Native(fresh).constData());
        ::close(fd);
        return st;
    }
    return fd;
}

FsResult<int> ClaimLockedFile(const QString& path) {
    const int fd = ::open(Native(path).constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return FsStatus::FromErrno(errno, "open", path);
    struct stat held {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const FsStatus st = FsStatus::FromErrno(errno, "lock", path);
        ::close(fd);
        return st;
    }
    if (::fstat(fd, &held) != 0 || ::lstat(Native(path).constData(), &named) != 0 ||
        held.st_ino != named.st_ino || held.st_dev != named.st_dev || !S_ISREG(held.st_mode)) {
        ::close(fd);
        return FsStatus::FromErrno(ESTALE, "claim", path);
    }
    return fd;
}

FsStatus AppendToFile(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype size = bytes.size();
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return FsStatus::FromErrno(n < 0 ? errno : EIO, "write", QString());
        data += n;
        size -= n;
    }
    return FsStatus::Ok();
}

FsStatus TruncateFile(int fd, std::int64_t size) {
    if (::ftruncate(fd, static_cast<off_t>(size)) != 0)
        return FsStatus::FromErrno(errno, "truncate", QString());
    return FsStatus::Ok();
}

WholeFileRead ReadWholeFile(int fd) {
    WholeFileRead r;
    if (::lseek(fd, 0, SEEK_SET) != 0) {
        r.status = FsStatus::FromErrno(errno, "seek", QString());
        return r;
    }
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) r.status = FsStatus::FromErrno(errno, "read", QString());
        if (n <= 0) return r;
        r.bytes.append(buf, n);
    }
}

void CloseLockedFile(int fd, const QString& removePath) {
    if (!removePath.isEmpty()) ::unlink(Native(removePath).constData());
    ::close(fd);
}

}  // namespace vandrel
