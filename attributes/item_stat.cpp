#include "attributes/item_stat.h"

#include "platform/file_system.h"
#include "platform/path_text.h"

namespace vandrel {

namespace {

std::int64_t Nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

}  // namespace

ItemStat StatItem(const QString& path, FileSystem& fs) {
    ItemStat info;
    if (path.isEmpty() || IsHiddenName(path)) return info;
    // stat, not lstat: a link to a file or folder is used like its target.
    const FsResult<EntryInfo> st = fs.stat(path);
    if (!st.ok()) return info;
    const EntryInfo& e = st.value();
    if (e.type == EntryType::kFile)
        info.kind = ItemStat::Kind::File;
    else if (e.type == EntryType::kFolder)
        info.kind = ItemStat::Kind::Folder;
    else
        return info;  // FIFO, socket or device: never opened
    info.device = static_cast<std::uint64_t>(e.dev);
    info.inode = static_cast<std::uint64_t>(e.ino);
    info.size = e.size;
    info.mtimeNs = Nanoseconds(e.mtime);
    info.ctimeNs = Nanoseconds(e.ctime);
    info.atimeNs = Nanoseconds(e.atime);
    // Some file systems (older NFS, some FUSE mounts) keep no birth time; the change time
    // is the closest stand-in the kernel offers.
    info.createdNs = e.hasBirthTime ? Nanoseconds(e.btime) : info.ctimeNs;
    return info;
}

ItemStat StatItem(const QString& path) { return StatItem(path, DefaultFileSystem()); }

}  // namespace vandrel
