#include "actions/module_file_op.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QStringList>
#include <optional>

#include "platform/file_system.h"
#include "platform/trash.h"

namespace vandrel {

namespace {

Q_LOGGING_CATEGORY(lcFileOp, "vandrel.fileop")

// Lost races (a name taken between choosing it and using it) tolerated before an
// operation gives up; only a runaway creator of numbered names gets this far.
constexpr int kMaxAttempts = 10000;

// Numbered names tried before the search gives up. No real folder holds this many
// numbered copies of one name; the bound keeps any input (a name the file system reads
// differently from how it is written, say) from making the search endless.
constexpr int kMaxNumberedNames = 100000;

bool HoldsNul(const QString& path) { return path.contains(QChar(u'\0')); }

FileSystem& Fs(FileSystem* fs) { return fs ? *fs : DefaultFileSystem(); }

QString ParentOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return QStringLiteral(".");
    if (slash == 0) return QStringLiteral("/");
    return path.left(slash);
}

QString NamePart(const QString& path) { return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); }

QString StripSlashes(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

// Any entry at all, hidden ones and dangling links included: this is the test for "the
// name is taken", so that nothing is ever overwritten.
bool Present(FileSystem& fs, const QString& path) { return fs.lstat(path).ok(); }

// The stat of a regular file (or a link to one) that is not hidden; nothing otherwise.
std::optional<EntryInfo> VisibleFile(FileSystem& fs, const QString& path) {
    if (path.isEmpty() || IsHiddenName(path)) return std::nullopt;
    const FsResult<EntryInfo> info = fs.stat(path);
    if (!info.ok() || info.value().type != EntryType::kFile) return std::nullopt;
    return info.value();
}

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
    const QString name = NamePart(target);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        HoldsNul(target))
        return {};
    return target;
}

QString TempName(const QString& folder) {
    const QString sep = folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
    return folder + sep + QStringLiteral(".vandrel-") +
           QString::number(QRandomGenerator::global()->generate64(), 36) + QStringLiteral(".part");
}

// Removes an entry and, for a folder, everything below it (links are removed, never
// followed). Carries on past failures; reports the first one and whether anything went.
FsStatus RemoveTree(FileSystem& fs, const QString& path, bool* removedAny = nullptr) {
    const FsResult<EntryInfo> info = fs.lstat(path);
    if (!info.ok()) return info.status();
    FsStatus first;
    if (info.value().type == EntryType::kFolder) {
        FsResult<std::vector<FolderEntry>> list = fs.listFolder(path);
        if (!list.ok()) return list.status();
        for (const FolderEntry& e : list.value()) {
            FsStatus st = RemoveTree(fs, path + QLatin1Char('/') + e.name, removedAny);
            if (first.ok() && !st.ok()) first = st;
        }
        FsStatus st = fs.removeFolder(path);
        if (first.ok() && !st.ok()) first = st;
        if (st.ok() && removedAny) *removedAny = true;
        return first;
    }
    FsStatus st = fs.removeFile(path);
    if (st.ok() && removedAny) *removedAny = true;
    return st;
}

// Copies the open file in to out, checks that every byte arrived and gives the copy the
// source's mode and times. path names the copy in messages. durable: flush the copy to
// disk — needed when the source is removed afterwards (a move to another file system);
// a plain copy leaves the original in place, so a crash can never cost a byte of it and
// the flush (which dominates the cost of copying small files) is left to the system.
FsStatus CopyOpenFile(FileSystem& fs, int in, int out, const EntryInfo& info, const QString& path,
                      bool durable) {
    FsResult<std::int64_t> copied = fs.copyData(in, out);
    if (!copied.ok()) return FsStatus::FromErrno(copied.status().error(), "copy to", path);
    const FsResult<EntryInfo> written = fs.statFile(out);
    if (!written.ok()) return FsStatus::FromErrno(written.status().error(), "verify", path);
    // The source may have changed under us; a copy of another size is not the file.
    if (copied.value() != info.size || written.value().size != info.size)
        return FsStatus::FromErrno(EIO, "verify size of", path);
    FsStatus st = fs.keepModeAndTimes(out, info);
    if (!st.ok()) return FsStatus::FromErrno(st.error(), st.step(), path);
    if (durable) {
        st = fs.syncFile(out);
        if (!st.ok()) return FsStatus::FromErrno(st.error(), "flush", path);
    }
    return FsStatus::Ok();
}

// Copies the regular file source to the new file dest (which must not exist yet).
// A failed copy leaves no dest behind.
FsStatus CopyFileTo(FileSystem& fs, const QString& source, const EntryInfo& info,
                    const QString& dest, bool durable) {
    FsResult<int> in = fs.openReadExamined(source, info);
    if (!in.ok()) return in.status();
    FsResult<int> out = fs.createExclusive(dest, 0600);
    if (!out.ok()) {
        (void)fs.closeFile(in.value());
        return out.status();
    }
    FsStatus st = CopyOpenFile(fs, in.value(), out.value(), info, dest, durable);
    (void)fs.closeFile(in.value());
    FsStatus closed = fs.closeFile(out.value());
    if (st.ok() && !closed.ok()) st = closed;
    if (!st.ok()) (void)fs.removeFile(dest);
    return st;
}

// Copies what is inside folder source into the existing folder dest, recursively.
// FIFOs, sockets and devices are never opened; they are counted in skipped instead.
FsStatus CopyTreeContents(FileSystem& fs, const QString& source, const QString& dest, int& skipped,
                          bool durable) {
    FsResult<std::vector<FolderEntry>> list = fs.listFolder(source);
    if (!list.ok()) return list.status();
    for (const FolderEntry& e : list.value()) {
        const QString from = source + QLatin1Char('/') + e.name;
        const QString to = dest + QLatin1Char('/') + e.name;
        const FsResult<EntryInfo> info = fs.lstat(from);
        if (!info.ok()) return info.status();  // vanished while we copied: not all arrived
        FsStatus st;
        switch (info.value().type) {
            case EntryType::kFile:
                st = CopyFileTo(fs, from, info.value(), to, durable);
                break;
            case EntryType::kFolder:
                st = fs.makeFolder(to, 0700);
                if (st.ok()) st = CopyTreeContents(fs, from, to, skipped, durable);
                // Times last: adding entries changes a folder's modification time.
                if (st.ok()) st = fs.keepFolderModeAndTimes(to, info.value());
                break;
            case EntryType::kSymlink: {
                FsResult<QString> link = fs.readSymlink(from);
                st = link.ok() ? fs.makeSymlink(link.value(), to) : link.status();
                break;
            }
            case EntryType::kOther:
                ++skipped;
                break;
        }
        if (!st.ok()) return st;
    }
    return durable ? fs.syncFolder(dest) : FsStatus::Ok();
}

// A complete copy waiting for its name: an unnamed file still open (fd), or an entry
// under a hidden temporary name in the target's folder (path). Either way the copy is
// complete before any real name is claimed, and the final step stays within one file
// system.
struct Staged {
    int fd = -1;
    QString path;
};

// Preferably a file without a name, given one only once it is complete, so that a crash
// leaves nothing at all behind; where the file system cannot make one, a hidden temporary
// name.
FsResult<Staged> StageFileCopy(FileSystem& fs, const QString& source, const EntryInfo& info,
                               const QString& folder, bool durable) {
    FsResult<int> out = fs.createUnnamed(folder, 0600);
    if (out.ok()) {
        FsResult<int> in = fs.openReadExamined(source, info);
        FsStatus st = in.ok() ? CopyOpenFile(fs, in.value(), out.value(), info, folder, durable)
                              : in.status();
        if (in.ok()) (void)fs.closeFile(in.value());
        if (st.ok()) return Staged{out.value(), QString()};
        (void)fs.closeFile(out.value());
        return st;
    }

    for (int i = 0; i < 16; ++i) {
        const QString temp = TempName(folder);
        FsStatus st = CopyFileTo(fs, source, info, temp, durable);
        if (st.ok()) return Staged{-1, temp};
        if (!st.alreadyExists() || st.path() != temp) return st;
    }
    return FsStatus::FromErrno(EEXIST, "create temporary file in", folder);
}

FsResult<QString> StageTreeCopy(FileSystem& fs, const QString& source, const EntryInfo& info,
                                const QString& folder, bool requireComplete) {
    QString temp;
    FsStatus made = FsStatus::FromErrno(EEXIST, "create temporary folder in", folder);
    for (int i = 0; i < 16 && !made.ok() && made.alreadyExists(); ++i) {
        temp = TempName(folder);
        made = fs.makeFolder(temp, 0700);
    }
    if (!made.ok()) return made;
    int skipped = 0;
    FsStatus st = CopyTreeContents(fs, source, temp, skipped, requireComplete);
    // A move must not leave anything behind that it silently failed to carry over.
    if (st.ok() && skipped > 0 && requireComplete)
        st = FsStatus::FromErrno(EOPNOTSUPP, "copy special file from", source);
    if (st.ok()) st = fs.keepFolderModeAndTimes(temp, info);
    if (!st.ok()) {
        (void)RemoveTree(fs, temp);
        return st;
    }
    return temp;
}

FsResult<QString> StageLink(FileSystem& fs, const QString& source, const QString& folder) {
    FsResult<QString> link = fs.readSymlink(source);
    if (!link.ok()) return link.status();
    for (int i = 0; i < 16; ++i) {
        const QString temp = TempName(folder);
        FsStatus st = fs.makeSymlink(link.value(), temp);
        if (st.ok()) return temp;
        if (!st.alreadyExists()) return st;
    }
    return FsStatus::FromErrno(EEXIST, "create temporary link in", folder);
}

FsResult<Staged> StagedUnder(const FsResult<QString>& temp) {
    if (!temp.ok()) return temp.status();
    return Staged{-1, temp.value()};
}

// A complete copy of source, whose stat (links followed) is info, waiting in folder;
// flushed to disk when durable.
FsResult<Staged> StageCopy(FileSystem& fs, const QString& source, const EntryInfo& info,
                           const QString& folder, bool durable) {
    switch (info.type) {
        case EntryType::kFile:
            return StageFileCopy(fs, source, info, folder, durable);
        case EntryType::kFolder:
            return StagedUnder(StageTreeCopy(fs, source, info, folder, durable));
        default:
            return FsStatus::FromErrno(EOPNOTSUPP, "copy special file", source);
    }
}

// What a move to another file system places: a moved link stays a link; anything else
// is copied completely and durably.
FsResult<Staged> StageForMove(FileSystem& fs, const QString& source, const QString& folder) {
    const FsResult<EntryInfo> entry = fs.lstat(source);
    if (!entry.ok()) return entry.status();
    if (entry.value().type == EntryType::kSymlink)
        return StagedUnder(StageLink(fs, source, folder));
    const FsResult<EntryInfo> info = fs.stat(source);
    if (!info.ok()) return info.status();
    return StageCopy(fs, source, info.value(), folder, true);
}

// True when target lies inside the folder source (copying or moving a folder into
// itself would never end).
bool InsideOf(const QString& target, const QString& source) {
    const QString src = QFileInfo(source).canonicalFilePath();
    const QString parent = QFileInfo(ParentOf(target)).canonicalFilePath();
    if (src.isEmpty() || parent.isEmpty()) return false;
    const QString t = parent + QLatin1Char('/') + NamePart(target);
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

    QString run(const QString& source, const QString& requested, int kind, int mode);
    // Why the last run did not take place; empty when it did, or when nothing was needed.
    const QString& failure() const { return failure_; }

  private:
    // Records why nothing was done and answers the source path.
    QString notDone(const QString& why, const QString& source) {
        failure_ = why;
        qCWarning(lcFileOp).noquote() << QStringLiteral("not done for %1: %2").arg(source, why);
        return source;
    }
    QString numbered(const QString& taken, int& counter) {
        return folder_ ? UniqueFolderName(taken, counter, &fs_)
                       : UniqueFileName(taken, counter, &fs_);
    }
    FsStatus moveAside(const QString& target);
    // Gives the staged copy (or, with nothing staged, the source itself) the name to.
    FsStatus place(const QString& source, const QString& to);
    void dropStaged();
    void restoreAside(const QString& target);

    FileSystem& fs_;
    const bool folder_;
    const EntryInfo& source_;
    Staged staged_;
    QStringList asides_;  // items moved away from the target (Replace), newest last
    QString failure_;
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
    if (st.ok()) staged_ = Staged();
    return st;
}

// A staged copy that was never placed: an unnamed one vanishes on closing, a named one
// is removed.
void Relocation::dropStaged() {
    if (staged_.fd >= 0) (void)fs_.closeFile(staged_.fd);
    if (!staged_.path.isEmpty()) (void)RemoveTree(fs_, staged_.path);
    staged_ = Staged();
}

// After a failure: the newest item moved aside gets its name back (only when that name
// is still free).
void Relocation::restoreAside(const QString& target) {
    if (!asides_.isEmpty()) (void)fs_.renameNoReplace(asides_.last(), target);
}

QString Relocation::run(const QString& source, const QString& requested, int kind, int mode) {
    const bool copy = kind != kFileOpMove && kind != kFileOpRename;
    const bool replace = mode != kConflictRename;
    const QString target = UsableTarget(requested);
    if (target.isEmpty())
        return notDone(HoldsNul(requested)
                           ? QStringLiteral("the target path holds a NUL character")
                           : QStringLiteral("the name of %1 is not usable").arg(requested),
                       source);
    // A move or rename onto itself has nothing to do; a copy onto itself makes no copy.
    const QString ontoItself = QStringLiteral("the copy would be the item itself");
    if (target == source) return copy ? notDone(ontoItself, source) : source;
    const bool taken = Present(fs_, target);
    if (taken && SameEntry(fs_, source, target)) return copy ? notDone(ontoItself, source) : source;
    if (folder_ && InsideOf(target, source))
        return notDone(QStringLiteral("%1 lies inside the folder itself").arg(target), source);

    int counter = 0;
    QString effective = target;
    const QString noNumber = QStringLiteral("no free numbered name for %1").arg(target);
    if (!replace && taken) effective = numbered(target, counter);
    if (effective.isEmpty()) return notDone(noNumber, source);
    if (effective == source) return copy ? notDone(ontoItself, source) : source;

    // Copy: complete copy waiting in the target folder (unnamed, or under a hidden
    // temporary name) -> flush when the source is to be removed -> named without
    // replacing. No real name is claimed before the copy is complete, so a failure never
    // leaves a partial file under it.
    const QString targetFolder = ParentOf(target);
    bool staging = false;  // whether a copy is being placed rather than the source
    if (copy) {
        FsResult<Staged> s = StageCopy(fs_, source, source_, targetFolder, false);
        if (!s.ok()) return notDone(s.status().message(), source);
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
            FsResult<Staged> s = StageForMove(fs_, source, targetFolder);
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
        return notDone(failure.message(), source);
    }

    // A cross-device move's copy and its name are made durable before the original is
    // removed. A plain copy keeps its original, so it is not flushed. A rename within one file
    // system needs no folder flush: the item is under one of its two names whatever happens.
    if (staging && !copy) {
        (void)fs_.syncFolder(ParentOf(effective));
        bool removedAny = false;
        FsStatus st = RemoveTree(fs_, source, &removedAny);
        if (!st.ok()) {
            (void)notDone(st.message(), source);
            // Nothing of the source went: take the copy back, the move did not happen.
            // Part of it went: the complete copy at the target is now the item.
            if (!removedAny) {
                (void)RemoveTree(fs_, effective);
                restoreAside(target);
                return source;
            }
            failure_.clear();  // the copy at the target is the item now: the move took place
        }
        (void)fs_.syncFolder(ParentOf(source));
    }
    return effective;
}

}  // namespace

SafeOpResult SafeOperation(const QString& source, const QString& target, int kind, int mode,
                           bool folder, FileSystem* fs) {
    FileSystem& f = Fs(fs);
    if (HoldsNul(source)) return {source, QStringLiteral("the item's path holds a NUL character")};
    const QString gone = QStringLiteral("%1 is not there (or is hidden)").arg(source);
    if (!folder) {
        const std::optional<EntryInfo> info = VisibleFile(f, source);
        if (!info) return {source, gone};
        Relocation r(f, false, *info);
        QString path = r.run(source, target, kind, mode);
        return {std::move(path), r.failure()};
    }
    const QString src = StripSlashes(source);
    // Only a real, visible folder is handled here (files go through SafeFileOperation).
    const FsResult<EntryInfo> info = f.stat(src);
    if (src.isEmpty() || !info.ok() || info.value().type != EntryType::kFolder || IsHiddenName(src))
        return {source, gone};
    Relocation r(f, true, info.value());
    const QString result = r.run(src, StripSlashes(target), kind, mode);
    return {result == src ? source : result, r.failure()};
}

QString SafeFileOperation(const QString& source, const QString& target, int kind, int mode,
                          FileSystem* fs) {
    return SafeOperation(source, target, kind, mode, false, fs).path;
}

QString SafeFolderOperation(const QString& source, const QString& target, int kind, int mode,
                            FileSystem* fs) {
    return SafeOperation(source, target, kind, mode, true, fs).path;
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

bool MakeFolders(FileSystem& fs, const QString& path) {
    const FsResult<EntryInfo> info = fs.stat(path);
    if (info.ok()) return info.value().type == EntryType::kFolder;
    if (!info.status().notFound()) return false;
    const QString parent = ParentOf(path);
    if (parent == path || !MakeFolders(fs, parent)) return false;
    const FsStatus st = fs.makeFolder(path, 0777);
    if (st.ok()) return true;
    if (!st.alreadyExists()) return false;
    // Someone else created it meanwhile; fine as long as it is a folder.
    const FsResult<EntryInfo> again = fs.stat(path);
    return again.ok() && again.value().type == EntryType::kFolder;
}

}  // namespace

QString MakeFolderPath(const QString& path, FileSystem* fs) {
    if (!path.startsWith(QLatin1Char('/')) || HoldsNul(path)) return QString();
    return MakeFolders(Fs(fs), StripSlashes(path)) ? path : QString();
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
