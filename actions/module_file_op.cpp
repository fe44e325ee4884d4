#include "actions/module_file_op.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QSet>
#include <QStringList>
#include <cerrno>
#include <mutex>

#include "actions/module_file_op_copy.h"
#include "actions/module_file_op_support.h"
#include "platform/file_system.h"
#include "platform/path_text.h"

namespace vandrel {

using namespace fileop;

namespace {

bool SameEntry(FileSystem& fs, const QString& a, const QString& b) {
    const FsResult<EntryInfo> x = fs.lstat(a);
    const FsResult<EntryInfo> y = fs.lstat(b);
    return x.ok() && y.ok() && x.value().dev == y.value().dev && x.value().ino == y.value().ino;
}

// The target as given: a Linux name keeps a trailing "." (dropping it would give the item
// another name than asked, or meet another item of that name). Empty when its name is
// empty, "." or "..", or when it holds a NUL, which no name can hold (the system would
// read the path cut short and act on another entry).
QString UsableTarget(const QString& target) {
    const QString name = FileNamePart(target);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        HoldsNul(target))
        return {};
    return target;
}

// Only for what the returned value cannot carry: a move that took place but left part of
// its source behind. Failures are returned to the caller, who tells the user.
void Warn(const FsStatus& status, const QString& source) {
    qCWarning(lcFileOp).noquote()
        << QStringLiteral("not done for %1: %2").arg(source, status.message());
}

// Looks for leftovers once per folder and process: a listing for every copy into a large
// folder would cost as much as the copies.
void RemoveStagingLeftoversOnce(FileSystem& fs, const QString& folder) {
    static std::mutex mutex;
    static QSet<QString> done;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (done.contains(folder)) return;
        done.insert(folder);
    }
    (void)RemoveStagingLeftovers(folder, &fs);
}

// True when target lies inside the folder source (copying or moving a folder into
// itself would never end).
bool InsideOf(const QString& target, const QString& source) {
    const QString src = QFileInfo(source).canonicalFilePath();
    const QString parent = QFileInfo(FolderPart(target)).canonicalFilePath();
    if (src.isEmpty() || parent.isEmpty()) return false;
    const QString t = parent + QLatin1Char('/') + FileNamePart(target);
    return t == src || t.startsWith(src + QLatin1Char('/')) || parent == src;
}

class Relocation {
  public:
    // source: the stat (links followed) the caller has just taken of the item.
    Relocation(FileSystem& fs, bool folder, const EntryInfo& source)
        : fs_(fs), folder_(folder), source_(source) {}
    ~Relocation() { dropStaged(); }
    Relocation(const Relocation&) = delete;
    Relocation& operator=(const Relocation&) = delete;

    FsResult<QString> run(const QString& source, const QString& requested, int kind, int mode);
    // Replace: the first item moved away from the target (the one that held its name).
    QString firstAside() const { return asides_.isEmpty() ? QString() : asides_.first(); }

  private:
    QString numbered(const QString& taken, int& counter) {
        return folder_ ? UniqueFolderName(taken, counter, &fs_)
                       : UniqueFileName(taken, counter, &fs_);
    }
    FsStatus moveAside(const QString& target);
    // Gives the staged copy (or, with nothing staged, the source itself) the name to.
    FsStatus place(const QString& source, const QString& to);
    void dropStaged();
    void restoreAside(const QString& target);
    FsResult<QString> finishMove(const QString& source, const QString& placed,
                                 const QString& target);

    FileSystem& fs_;
    const bool folder_;
    const EntryInfo& source_;
    Staged staged_;
    CopiedEntries copied_;  // what a move to another file system copied
    QStringList asides_;    // items moved away from the target (Replace), newest last
};

// Replace mode: whatever holds the target name is renamed to the next free numbered
// name, again without replacing anything; a name taken meanwhile means the next number.
FsStatus Relocation::moveAside(const QString& target) {
    int counter = 0;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        if (!Present(fs_, target)) return FsStatus::Ok();
        const QString aside = numbered(target, counter);
        if (aside.isEmpty())
            return FsStatus::FromErrno(EEXIST, "find a free numbered name for", target);
        FsStatus st = fs_.renameNoReplace(target, aside);
        if (st.ok()) {
            asides_.push_back(aside);
            return st;
        }
        if (st.notFound()) return FsStatus::Ok();  // gone meanwhile: the name is free
        if (!st.alreadyExists()) return st;
    }
    return FsStatus::FromErrno(EEXIST, "move aside", target);
}

FsStatus Relocation::place(const QString& source, const QString& to) {
    if (staged_.fd >= 0) {
        FsStatus st = fs_.linkNoReplace(staged_.fd, to);
        if (st.ok()) {
            // The copy has its name; the descriptor is no longer needed to keep it.
            (void)fs_.closeFile(staged_.fd);
            staged_ = Staged();
        }
        return st;
    }
    const QString from = staged_.path.isEmpty() ? source : staged_.path;
    FsStatus st = fs_.renameNoReplace(from, to);
    if (st.ok()) {
        if (staged_.lock >= 0) (void)fs_.closeFile(staged_.lock);
        staged_ = Staged();
    }
    return st;
}

// A staged copy that was never placed: an unnamed one vanishes on closing, a named one
// is removed.
void Relocation::dropStaged() {
    if (staged_.fd >= 0) (void)fs_.closeFile(staged_.fd);
    if (!staged_.path.isEmpty()) (void)RemoveTree(fs_, staged_.path);
    if (staged_.lock >= 0) (void)fs_.closeFile(staged_.lock);
    staged_ = Staged();
}

// After a failure: the newest item moved aside gets its name back (only when that name
// is still free).
void Relocation::restoreAside(const QString& target) {
    if (!asides_.isEmpty()) (void)fs_.renameNoReplace(asides_.last(), target);
}

// The source of a move to another file system goes once its copy is in place, and only
// what is still the entry that was copied and unchanged since: a file replaced or written
// while it was copied stays, and a folder goes only when it holds exactly what was copied
// (one that gained, lost or changed an entry is left whole). When nothing of the source
// went, the copy is taken back and the move did not happen.
FsResult<QString> Relocation::finishMove(const QString& source, const QString& placed,
                                         const QString& target) {
    Removal r;
    qsizetype seen = 0;
    if (folder_ &&
        !(StillAsCopied(fs_, source, QString(), copied_, seen) && seen == copied_.size()))
        r.changed = true;
    else
        (void)RemoveCopied(fs_, source, QString(), copied_, r);
    if (r.removedAny) (void)fs_.syncFolder(FolderPart(source));

    if (!r.removedAny && (r.changed || !r.firstFailure.ok())) {
        (void)RemoveTree(fs_, placed);
        restoreAside(target);
        if (!r.changed) return r.firstFailure;
        return FsStatus::FromErrno(EBUSY, "move (changed while being copied)", source);
    }
    // Part of the source went. Entries changed meanwhile stay there, so the item is not
    // wholly moved; entries that merely could not be removed are in the complete copy.
    if (r.changed)
        return FsStatus::FromErrno(EBUSY, "move: changed entries stay in the source; copy at",
                                   placed);
    if (!r.firstFailure.ok()) Warn(r.firstFailure, source);
    return placed;
}

FsResult<QString> Relocation::run(const QString& source, const QString& requested, int kind,
                                  int mode) {
    const bool copy = kind != kFileOpMove && kind != kFileOpRename;
    const bool refuse = mode == kConflictRefuse;
    const bool replace = mode != kConflictRename && !refuse;
    // A move or rename to where the item already is has nothing to do. A copy onto itself
    // did not happen: a caller must never take the original for the copy.
    const auto nothingToDo = [&]() -> FsResult<QString> {
        if (copy) return FsStatus::FromErrno(EINVAL, "copy onto itself", source);
        return source;
    };
    const QString target = UsableTarget(requested);
    // A name that is empty, "." or "..", or a path cut short by a NUL, would act on
    // another entry than the one asked for.
    if (target.isEmpty()) return FsStatus::FromErrno(EINVAL, "use the target name", requested);
    if (target == source) return nothingToDo();
    const bool taken = Present(fs_, target);
    if (taken && SameEntry(fs_, source, target)) return nothingToDo();
    if (folder_ && InsideOf(target, source))
        return FsStatus::FromErrno(EINVAL, "put into itself", target);
    if (refuse && taken) return FsStatus::FromErrno(EEXIST, "use the taken name", target);

    int counter = 0;
    QString effective = target;
    const QString noNumber = QStringLiteral("no free numbered name for %1").arg(target);
    if (!replace && taken) effective = numbered(target, counter);
    if (effective.isEmpty())
        return FsStatus::FromErrno(EEXIST, "find a free numbered name for", target);
    if (effective == source) return nothingToDo();

    // Copy: complete copy waiting in the target folder (unnamed, or under a hidden
    // temporary name) -> flush when the source is to be removed -> named without
    // replacing. No real name is claimed before the copy is complete, so a failure never
    // leaves a partial file under it.
    const QString targetFolder = FolderPart(target);
    bool staging = false;  // whether a copy is being placed rather than the source
    if (copy) {
        RemoveStagingLeftoversOnce(fs_, targetFolder);
        FsResult<Staged> s = StageCopy(fs_, source, source_, targetFolder, nullptr);
        if (!s.ok()) return s.status();
        staged_ = s.value();
        staging = true;
    }

    FsStatus failure = FsStatus::FromErrno(EEXIST, "place", target);
    bool placed = false;
    for (int attempt = 0; attempt < kMaxAttempts && !placed; ++attempt) {
        if (replace) {
            FsStatus st = moveAside(target);
            if (!st.ok()) {
                failure = st;
                break;
            }
        }
        FsStatus st = place(source, effective);
        if (st.ok()) {
            placed = true;
        } else if (st.alreadyExists() && refuse) {
            failure = FsStatus::FromErrno(EEXIST, "use the taken name", target);
            break;
        } else if (st.alreadyExists()) {
            // Lost a race for the name: Rename takes the next number, Replace moves the
            // newcomer aside on the next round.
            if (!replace) effective = numbered(target, counter);
            if (effective.isEmpty()) {
                failure = FsStatus::FromErrno(EEXIST, "find a free numbered name for", target);
                break;
            }
        } else if (st.crossDevice() && !staging) {
            // Another file system: a verified copy next to the target, placed like a
            // copy; the source goes only once the copy is in place.
            RemoveStagingLeftoversOnce(fs_, targetFolder);
            FsResult<Staged> s = StageForMove(fs_, source, targetFolder, copied_);
            if (!s.ok()) {
                failure = s.status();
                break;
            }
            staged_ = s.value();
            staging = true;
        } else {
            failure = st;
            break;
        }
    }
    if (!placed) {
        dropStaged();
        restoreAside(target);
        return failure;
    }

    // A cross-device move's copy and its name are made durable before the original is
    // removed. A plain copy keeps its original, so it is not flushed. A rename within one file
    // system needs no folder flush: the item is under one of its two names whatever happens.
    if (staging && !copy) {
        (void)fs_.syncFolder(FolderPart(effective));
        return finishMove(source, effective, target);
    }
    return effective;
}

}  // namespace

namespace {

// The safe operations; aside (may be null) receives where Replace moved the item that held
// the target.
FsResult<QString> TryFile(const QString& source, const QString& target, int kind, int mode,
                          FileSystem* fs, QString* aside) {
    FileSystem& f = Fs(fs);
    if (HoldsNul(source)) return FsStatus::FromErrno(EINVAL, "use the path", source);
    if (source.isEmpty() || IsHiddenName(source))
        return FsStatus::FromErrno(ENOENT, "find", source);
    const FsResult<EntryInfo> info = f.stat(source);
    if (!info.ok()) return info.status();
    if (info.value().type != EntryType::kFile)
        return FsStatus::FromErrno(info.value().type == EntryType::kFolder ? EISDIR : EINVAL,
                                   "examine", source);
    Relocation relocation(f, false, info.value());
    FsResult<QString> result = relocation.run(source, target, kind, mode);
    if (aside && result.ok()) *aside = relocation.firstAside();
    return result;
}

FsResult<QString> TryFolder(const QString& source, const QString& target, int kind, int mode,
                            FileSystem* fs, QString* aside) {
    FileSystem& f = Fs(fs);
    if (HoldsNul(source)) return FsStatus::FromErrno(EINVAL, "use the path", source);
    const QString src = StripSlashes(source);
    // Only a real, visible folder is handled here (files go through the file operation).
    if (src.isEmpty() || IsHiddenName(src)) return FsStatus::FromErrno(ENOENT, "find", source);
    const FsResult<EntryInfo> info = f.stat(src);
    if (!info.ok()) return info.status();
    if (info.value().type != EntryType::kFolder)
        return FsStatus::FromErrno(ENOTDIR, "examine", source);
    Relocation relocation(f, true, info.value());
    FsResult<QString> result = relocation.run(src, StripSlashes(target), kind, mode);
    if (aside && result.ok()) *aside = relocation.firstAside();
    return result;
}

}  // namespace

FsResult<QString> TrySafeFileOperation(const QString& source, const QString& target, int kind,
                                       int mode, FileSystem* fs) {
    return TryFile(source, target, kind, mode, fs, nullptr);
}

FsResult<QString> TrySafeFolderOperation(const QString& source, const QString& target, int kind,
                                         int mode, FileSystem* fs) {
    return TryFolder(source, target, kind, mode, fs, nullptr);
}

QString SafeFileOperation(const QString& source, const QString& target, int kind, int mode,
                          FileSystem* fs) {
    const FsResult<QString> result = TrySafeFileOperation(source, target, kind, mode, fs);
    return result.ok() ? result.value() : source;
}

QString SafeFolderOperation(const QString& source, const QString& target, int kind, int mode,
                            FileSystem* fs) {
    const FsResult<QString> result = TrySafeFolderOperation(source, target, kind, mode, fs);
    return result.ok() && result.value() != StripSlashes(source) ? result.value() : source;
}

SafeOpResult SafeOperation(const QString& source, const QString& target, int kind, int mode,
                           bool folder, FileSystem* fs) {
    QString aside;
    const FsResult<QString> r = folder ? TryFolder(source, target, kind, mode, fs, &aside)
                                       : TryFile(source, target, kind, mode, fs, &aside);
    if (!r.ok()) return {source, r.status().message(), QString()};
    return {folder && r.value() == StripSlashes(source) ? source : r.value(), QString(), aside};
}

}  // namespace vandrel
