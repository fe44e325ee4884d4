#include "platform/file_in_use.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace vandrel {

namespace {

struct FileKey {
    std::uint64_t dev;
    std::uint64_t ino;
    bool operator==(const FileKey&) const = default;
};

struct FileKeyHash {
    size_t operator()(const FileKey& k) const {
        return std::hash<std::uint64_t>()(k.ino * 0x9E3779B97F4A7C15ULL ^ k.dev);
    }
};

using KeySet = std::unordered_set<FileKey, FileKeyHash>;

// A decimal process id directory name, or -1.
long PidOf(const char* name) {
    if (*name < '0' || *name > '9') return -1;
    char* end = nullptr;
    const long pid = std::strtol(name, &end, 10);
    return *end == '\0' ? pid : -1;
}

// Every file any other process has open. Processes that end meanwhile or whose
// descriptors we may not read are skipped; a file only they hold cannot be seen.
void ScanOpenFiles(KeySet& open, long self) {
    DIR* proc = ::opendir("/proc");
    if (!proc) return;
    while (const dirent* p = ::readdir(proc)) {
        const long pid = PidOf(p->d_name);
        if (pid < 0 || pid == self) continue;
        char path[64];
        std::snprintf(path, sizeof path, "/proc/%ld/fd", pid);
        const int fdDir = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fdDir < 0) continue;
        DIR* fds = ::fdopendir(fdDir);
        if (!fds) {
            ::close(fdDir);
            continue;
        }
        while (const dirent* f = ::readdir(fds)) {
            if (f->d_name[0] == '.') continue;
            struct stat st {};
            // Following the descriptor's link gives the open file's own device and inode.
            if (::fstatat(fdDir, f->d_name, &st, 0) != 0) continue;
            if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode)) continue;
            open.insert(
                {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)});
        }
        ::closedir(fds);
    }
    ::closedir(proc);
}

// Locks in /proc/locks, e.g. "1: FLOCK  ADVISORY  WRITE 1234 08:01:131090 0 EOF" (waiters
// carry an extra "->"). The device is major:minor in hex, the inode in decimal.
void ScanLocks(KeySet& locked, long self) {
    QFile file(QStringLiteral("/proc/locks"));
    if (!file.open(QIODevice::ReadOnly)) return;
    const QByteArray all = file.readAll();
    for (const QByteArray& line : all.split('\n')) {
        const QList<QByteArray> parts = line.simplified().split(' ');
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QList<QByteArray> dev = parts[i].split(':');
            if (dev.size() != 3) continue;
            bool okPid = false, okMaj = false, okMin = false, okIno = false;
            const long pid = parts[i - 1].toLong(&okPid);
            const unsigned maj = dev[0].toUInt(&okMaj, 16);
            const unsigned min = dev[1].toUInt(&okMin, 16);
            const std::uint64_t ino = dev[2].toULongLong(&okIno, 10);
            if (okPid && okMaj && okMin && okIno && pid != self)
                locked.insert({static_cast<std::uint64_t>(makedev(maj, min)), ino});
            break;
        }
    }
}

}  // namespace

struct FileInUseProbe::Impl {
    std::chrono::milliseconds refresh;
    std::mutex mutex;
    bool valid = false;
    std::chrono::steady_clock::time_point takenAt;
    KeySet held;  // open or locked by another process

    bool contains(std::uint64_t dev, std::uint64_t ino) {
        std::lock_guard<std::mutex> lock(mutex);
        const auto now = std::chrono::steady_clock::now();
        if (!valid || now - takenAt > refresh) {
            held.clear();
            const long self = static_cast<long>(::getpid());
            ScanOpenFiles(held, self);
            ScanLocks(held, self);
            takenAt = std::chrono::steady_clock::now();
            valid = true;
        }
        return held.count({dev, ino}) != 0;
    }
};

FileInUseProbe::FileInUseProbe(int refreshMs) : d_(std::make_unique<Impl>()) {
    d_->refresh = std::chrono::milliseconds(refreshMs < 0 ? 0 : refreshMs);
}

FileInUseProbe::~FileInUseProbe() = default;

bool FileInUseProbe::isInUse(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return true;
    return isInUse(st.st_dev, st.st_ino);
}

bool FileInUseProbe::isInUse(dev_t dev, ino_t ino) {
    return d_->contains(static_cast<std::uint64_t>(dev), static_cast<std::uint64_t>(ino));
}

void FileInUseProbe::invalidate() {
    std::lock_guard<std::mutex> lock(d_->mutex);
    d_->valid = false;
}

}  // namespace vandrel
