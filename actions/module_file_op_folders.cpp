// The numbered-name search, the removal of staging leftovers, and the folder and
// existence helpers of the safe file operations.
#include <QDateTime>
#include <optional>

#include "actions/module_file_op.h"
#include "actions/module_file_op_support.h"
#include "platform/path_text.h"
#include "platform/process_info.h"
#include "platform/trash.h"

namespace vandrel {

using namespace fileop;

int RemoveStagingLeftovers(const QString& folder, FileSystem* fs) {
    FileSystem& f = Fs(fs);
    const QString dir = StripSlashes(folder);
    const FsResult<std::vector<FolderEntry>> list = f.listFolder(dir);
    if (!list.ok()) return 0;
    int removed = 0;
    for (const FolderEntry& e : list.value()) {
        const qint64 pid = StagerOf(e.name);
        if (pid < 0 || ProcessAlive(pid)) continue;
        const QString path = ChildPath(dir, e.name);
        const FsResult<EntryInfo> info = f.lstat(path);
        if (!info.ok()) continue;
        if (pid == 0 &&
            info.value().mtime.tv_sec > QDateTime::currentSecsSinceEpoch() - kUnmarkedLeftoverAge)
            continue;
        // A stager in another pid namespace is not seen above but holds its folder's lock.
        // A staged link is made in one step and never held.
        int lock = -1;
        if (info.value().type == EntryType::kFile || info.value().type == EntryType::kFolder) {
            const FsResult<int> held = f.lockEntry(path);
            if (!held.ok()) continue;  // held by a living process, or no way to tell
            lock = held.value();
        } else if (info.value().type != EntryType::kSymlink) {
            continue;
        }
        if (RemoveTree(f, path).ok()) ++removed;
        if (lock >= 0) (void)f.closeFile(lock);
    }
    return removed;
}

QString UniqueFileName(const QString& takenPath, int& counter, FileSystem* fs) {
    FileSystem& f = Fs(fs);
    const qsizetype slash = takenPath.lastIndexOf(QLatin1Char('/'));
    const QString folderPart = takenPath.left(slash + 1);
    const QString name = takenPath.mid(slash + 1);
    // A leading dot marks a hidden name, not an extension: ".profile" -> ".profile1".
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot) : QString();
    while (counter < kMaxNumberedNames) {
        ++counter;
        const QString candidate = folderPart + base + QString::number(counter) + ext;
        if (!Present(f, candidate)) return candidate;
    }
    return QString();
}

QString UniqueFolderName(const QString& takenPath, int& counter, FileSystem* fs) {
    FileSystem& f = Fs(fs);
    const QString base = StripSlashes(takenPath);
    while (counter < kMaxNumberedNames) {
        ++counter;
        const QString candidate = base + QString::number(counter);
        if (!Present(f, candidate)) return candidate;
    }
    return QString();
}

bool FileExists(const QString& path, FileSystem* fs) {
    return VisibleFile(Fs(fs), path).has_value();
}

namespace {

// The type of a visible entry, links followed; nothing for hidden or missing ones.
std::optional<EntryType> VisibleEntryType(const QString& path, FileSystem* fs) {
    const QString p = StripSlashes(path);
    if (p.isEmpty() || IsHiddenName(p)) return std::nullopt;
    const FsResult<EntryInfo> info = Fs(fs).stat(p);
    if (!info.ok()) return std::nullopt;
    return info.value().type;
}

}  // namespace

bool FolderExists(const QString& path, FileSystem* fs) {
    const std::optional<EntryType> type = VisibleEntryType(path, fs);
    return type == EntryType::kFolder || type == EntryType::kFile;
}

bool VisibleFolderExists(const QString& path, FileSystem* fs) {
    return VisibleEntryType(path, fs) == EntryType::kFolder;
}

namespace {

// firstCreated (may be null) receives the outermost folder made here.
bool MakeFolders(FileSystem& fs, const QString& path, QString* firstCreated) {
    const FsResult<EntryInfo> info = fs.stat(path);
    if (info.ok()) return info.value().type == EntryType::kFolder;
    if (!info.status().notFound()) return false;
    const QString parent = FolderPart(path);
    if (parent == path || !MakeFolders(fs, parent, firstCreated)) return false;
    const FsStatus st = fs.makeFolder(path, 0777);
    if (st.ok()) {
        if (firstCreated && firstCreated->isEmpty()) *firstCreated = path;
        return true;
    }
    if (!st.alreadyExists()) return false;
    // Someone else created it meanwhile; fine as long as it is a folder.
    const FsResult<EntryInfo> again = fs.stat(path);
    return again.ok() && again.value().type == EntryType::kFolder;
}

}  // namespace

QString MakeFolderPath(const QString& path, FileSystem* fs) {
    if (!path.startsWith(QLatin1Char('/')) || HoldsNul(path)) return QString();
    return MakeFolders(Fs(fs), StripSlashes(path), nullptr) ? path : QString();
}

MadeFolders MakeFolderChain(const QString& path, FileSystem* fs) {
    MadeFolders made;
    if (!path.startsWith(QLatin1Char('/')) || HoldsNul(path)) return made;
    if (MakeFolders(Fs(fs), StripSlashes(path), &made.firstCreated))
        made.path = path;
    else
        made.firstCreated.clear();
    return made;
}

bool RecycleFile(const QString& path) {
    if (!FileExists(path)) return false;
    const FsStatus st = MoveToTrash(path);
    if (!st.ok())
        qCWarning(lcFileOp).noquote()
            << QStringLiteral("not done for %1: %2").arg(path, st.message());
    return st.ok();
}

}  // namespace vandrel
