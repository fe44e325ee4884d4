#include "attributes/module_file_date.h"

#include "platform/file_system.h"

namespace vandrel {

namespace {

// Whole seconds only, converted through Qt's local-time rules for that very instant, so a
// summer date read in winter still shows its own wall-clock time (a single "bias of today"
// would shift it by an hour).
QDateTime LocalSeconds(const timespec& t) {
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(t.tv_sec), Qt::LocalTime);
}

}  // namespace

std::optional<FileTimes> GetFileTimes(const QString& path, FileSystem* fs) {
    if (path.isEmpty()) return std::nullopt;
    const FsResult<EntryInfo> st = (fs ? *fs : DefaultFileSystem()).stat(path);
    if (!st.ok()) return std::nullopt;
    const EntryInfo& e = st.value();
    FileTimes times;
    // Some file systems (older NFS, some FUSE mounts) keep no birth time; the change time
    // is the closest stand-in the kernel offers.
    times.created = LocalSeconds(e.hasBirthTime ? e.btime : e.ctime);
    times.accessed = LocalSeconds(e.atime);
    times.modified = LocalSeconds(e.mtime);
    return times;
}

}  // namespace vandrel
