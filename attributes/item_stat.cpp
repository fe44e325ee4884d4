#include "attributes/item_stat.h"

#include "platform/path_text.h"

namespace vandrel {

EntryInfo StatItem(const QString& path, FileSystem& fs) {
    if (path.isEmpty() || IsHiddenName(path)) return {};
    // stat, not lstat: a link to a file or folder is used like its target.
    FsResult<EntryInfo> st = fs.stat(path);
    if (!st.ok() || st.value().hidden) return {};
    EntryInfo e = st.value();
    if (!e.isFile() && !e.isFolder()) e.type = EntryType::kOther;  // never opened
    return e;
}

EntryInfo StatItem(const QString& path) { return StatItem(path, DefaultFileSystem()); }

std::int64_t CreatedNs(const EntryInfo& e) {
    return e.hasBirthTime ? Nanoseconds(e.btime) : Nanoseconds(e.ctime);
}

}  // namespace vandrel
