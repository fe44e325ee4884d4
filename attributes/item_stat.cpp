#include "attributes/item_stat.h"

#include <sys/stat.h>

#include <QFile>

#include "platform/file_system.h"

namespace vandrel {

ItemStat StatItem(const QString& path) {
    ItemStat info;
    if (path.isEmpty() || IsHiddenName(path)) return info;
    struct stat st {};
    // stat, not lstat: a link to a file or folder is used like its target.
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return info;
    if (S_ISREG(st.st_mode))
        info.kind = ItemStat::Kind::File;
    else if (S_ISDIR(st.st_mode))
        info.kind = ItemStat::Kind::Folder;
    else
        return info;  // FIFO, socket or device: never opened
    info.device = static_cast<std::uint64_t>(st.st_dev);
    info.inode = static_cast<std::uint64_t>(st.st_ino);
    info.size = static_cast<std::int64_t>(st.st_size);
    info.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    info.ctimeNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return info;
}

}  // namespace vandrel
