// What the attribute reader needs to know about a path before it reads anything: whether
// the path is a visible regular file or folder (hidden entries, FIFOs, sockets and devices
// count as neither and are never opened), a fingerprint that changes whenever the file's
// content may have changed, and the file's three dates. Stateless; safe from any thread.
#pragma once

#include <QString>
#include <cstdint>

namespace vandrel {

class FileSystem;

struct ItemStat {
    enum class Kind { None, File, Folder };
    // None: missing, hidden (own name starts with "."), unreadable by stat, or a system
    // entry. Symbolic links are followed.
    Kind kind = Kind::None;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeNs = 0;  // last write, nanoseconds since the epoch
    std::int64_t ctimeNs = 0;  // last status change (also moves on every write)
    std::int64_t atimeNs = 0;  // last access
    // Birth time; the status-change time where the file system keeps none.
    std::int64_t createdNs = 0;

    bool isFile() const { return kind == Kind::File; }
    bool isFolder() const { return kind == Kind::Folder; }
};

// Inspects path with one stat call through fs. The empty path and hidden names give
// Kind::None without asking the file system.
ItemStat StatItem(const QString& path, FileSystem& fs);
// The same through the real file system.
ItemStat StatItem(const QString& path);

}  // namespace vandrel
