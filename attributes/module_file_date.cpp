#include "attributes/module_file_date.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>

namespace vandrel {

namespace {

// Whole seconds only, converted through Qt's local-time rules for that very instant, so a
// summer date read in winter still shows its own wall-clock time (a single "bias of today"
// would shift it by an hour).
QDateTime LocalSeconds(const struct statx_timestamp& t) {
    return QDateTime::fromSecsSinceEpoch(static_cast<qint64>(t.tv_sec), Qt::LocalTime);
}

}  // namespace

std::optional<FileTimes> GetFileTimes(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    struct statx sx {};
    const unsigned mask = STATX_BASIC_STATS | STATX_BTIME;
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), 0, mask, &sx) != 0)
        return std::nullopt;
    FileTimes times;
    // Some file systems (older NFS, some FUSE mounts) keep no birth time; the change time
    // is the closest stand-in the kernel offers.
    times.created =
        (sx.stx_mask & STATX_BTIME) ? LocalSeconds(sx.stx_btime) : LocalSeconds(sx.stx_ctime);
    times.accessed = LocalSeconds(sx.stx_atime);
    times.modified = LocalSeconds(sx.stx_mtime);
    return times;
}

}  // namespace vandrel
