#include "actions/module_file_op.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSet>
#include <QStringList>
#include <cerrno>
#include <limits>
#include <mutex>
#include <optional>

#include "platform/file_system.h"
#include "platform/path_text.h"
#include "platform/process_info.h"
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

QString ChildPath(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

const QLatin1String kStagingPrefix(".vandrel-");
const QLatin1String kStagingSuffix(".part");

// A hidden staging name: .vandrel-<process id>-<random>.part. The process id lets a later
// run tell a leftover of a killed process from a copy still being made.
QString TempName(const QString& folder) {
    return ChildPath(
        folder, kStagingPrefix + QString::number(CurrentProcessId()) + QLatin1Char('-') +
                    QString::number(QRandomGenerator::global()->generate64(), 36) + kStagingSuffix);
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

// What a move to another file system copied, each entry as it was just before it was
// copied: the item itself under "", the entries below a folder under their relative paths.
// The source goes only entry by entry while each still matches its record.
using CopiedEntries = QHash<QString, EntryInfo>;

QString ChildKey(const QString& key, const QString& name) {
    return key.isEmpty() ? name : key + QLatin1Char('/') + name;
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Still the entry that was copied and unchanged since: the same inode and, for anything
// but a folder, the same size, modification and change time (the change time also moves
// when a writer puts the modification time back). A folder's own times move as its
// entries are removed, so its entries are compared instead.
bool Unchanged(const EntryInfo& then, const EntryInfo& now) {
    if (then.type != now.type || then.dev != now.dev || then.ino != now.ino) return false;
    return then.type == EntryType::kFolder ||
           (then.size == now.size && SameTime(then.mtime, now.mtime) &&
            SameTime(then.ctime, now.ctime));
}

// Where the file system cannot store permission bits (FAT and exFAT on removable drives,
// some network mounts answer EPERM or EOPNOTSUPP), the data and the modification time are
// what count: the mode is best-effort, the times are not.
FsStatus KeepFolderMetadata(FileSystem& fs, const QString& path, const EntryInfo& info) {
    const FsStatus st = fs.keepFolderMode(path, info);
    if (!st.ok() && !st.refusedByFileSystem()) return st;
    return fs.keepFolderTimes(path, info);
}

// Opens the regular file source that info (its stat, links followed) describes. For a move
// (moved not null) the open file is examined once more before a byte is copied; info
// becomes that state, recorded under key, so that the size check and the check before the
// removal compare against what was really copied.
FsResult<int> OpenSource(FileSystem& fs, const QString& source, EntryInfo& info,
                         CopiedEntries* moved, const QString& key) {
    FsResult<int> in = fs.openReadExamined(source, info);
    if (!in.ok() || moved == nullptr) return in;
    const FsResult<EntryInfo> now = fs.statFile(in.value());
    if (!now.ok()) {
        (void)fs.closeFile(in.value());
        return now.status();
    }
    info = now.value();
    moved->insert(key, info);
    return in;
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
    FsStatus st = fs.keepMode(out, info);  // best-effort, see KeepFolderMetadata
    if (!st.ok() && !st.refusedByFileSystem())
        return FsStatus::FromErrno(st.error(), st.step(), path);
    st = fs.keepTimes(out, info);
    if (!st.ok()) return FsStatus::FromErrno(st.error(), st.step(), path);
    if (durable) {
        st = fs.syncFile(out);
        if (!st.ok()) return FsStatus::FromErrno(st.error(), "flush", path);
    }
    return FsStatus::Ok();
}

// Copies the regular file source to the new file dest (which must not exist yet).
// A failed copy leaves no dest behind. moved: for a move, the record of what was copied
// (the copy is then flushed to disk); null for a plain copy.
FsStatus CopyFileTo(FileSystem& fs, const QString& source, EntryInfo info, const QString& dest,
                    CopiedEntries* moved, const QString& key) {
    const bool durable = moved != nullptr;
    FsResult<int> in = OpenSource(fs, source, info, moved, key);
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
// moved and key as for CopyFileTo, key naming source.
FsStatus CopyTreeContents(FileSystem& fs, const QString& source, const QString& dest, int& skipped,
                          CopiedEntries* moved, const QString& key) {
    const bool durable = moved != nullptr;
    FsResult<std::vector<FolderEntry>> list = fs.listFolder(source);
    if (!list.ok()) return list.status();
    for (const FolderEntry& e : list.value()) {
        const QString from = source + QLatin1Char('/') + e.name;
        const QString to = dest + QLatin1Char('/') + e.name;
        const QString childKey = ChildKey(key, e.name);
        const FsResult<EntryInfo> info = fs.lstat(from);
        if (!info.ok()) return info.status();  // vanished while we copied: not all arrived
        if (moved != nullptr && info.value().type != EntryType::kFile)
            moved->insert(childKey, info.value());  // files: as opened, in CopyFileTo
        FsStatus st;
        switch (info.value().type) {
            case EntryType::kFile:
                st = CopyFileTo(fs, from, info.value(), to, moved, childKey);
                break;
            case EntryType::kFolder:
                st = fs.makeFolder(to, 0700);
                if (st.ok()) st = CopyTreeContents(fs, from, to, skipped, moved, childKey);
                // Times last: adding entries changes a folder's modification time.
                if (st.ok()) st = KeepFolderMetadata(fs, to, info.value());
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
    int lock = -1;  // a staged folder's locked descriptor (see RemoveStagingLeftovers)
};

// Preferably a file without a name, given one only once it is complete, so that a crash
// leaves nothing at all behind; where the file system cannot make one, a hidden temporary
// name.
FsResult<Staged> StageFileCopy(FileSystem& fs, const QString& source, const EntryInfo& info,
                               const QString& folder, CopiedEntries* moved) {
    FsResult<int> out = fs.createUnnamed(folder, 0600);
    if (out.ok()) {
        EntryInfo seen = info;
        FsResult<int> in = OpenSource(fs, source, seen, moved, QString());
        FsStatus st =
            in.ok() ? CopyOpenFile(fs, in.value(), out.value(), seen, folder, moved != nullptr)
                    : in.status();
        if (in.ok()) (void)fs.closeFile(in.value());
        if (st.ok()) return Staged{out.value(), QString()};
        (void)fs.closeFile(out.value());
        return st;
    }

    for (int i = 0; i < 16; ++i) {
        const QString temp = TempName(folder);
        FsStatus st = CopyFileTo(fs, source, info, temp, moved, QString());
        if (st.ok()) return Staged{-1, temp, -1};
        if (!st.alreadyExists() || st.path() != temp) return st;
    }
    return FsStatus::FromErrno(EEXIST, "create temporary file in", folder);
}

FsResult<Staged> StageTreeCopy(FileSystem& fs, const QString& source, const EntryInfo& info,
                               const QString& folder, CopiedEntries* moved) {
    QString temp;
    FsStatus made = FsStatus::FromErrno(EEXIST, "create temporary folder in", folder);
    for (int i = 0; i < 16 && !made.ok() && made.alreadyExists(); ++i) {
        temp = TempName(folder);
        made = fs.makeFolder(temp, 0700);
    }
    if (!made.ok()) return made;
    // Held until the copy is placed or dropped, so that no other process takes the folder
    // for a leftover. Where locks are not supported the process id in the name still is.
    const FsResult<int> lock = fs.lockEntry(temp);
    const Staged staged{-1, temp, lock.ok() ? lock.value() : -1};
    int skipped = 0;
    FsStatus st = CopyTreeContents(fs, source, temp, skipped, moved, QString());
    // A move must not leave anything behind that it silently failed to carry over.
    if (st.ok() && skipped > 0 && moved != nullptr)
        st = FsStatus::FromErrno(EOPNOTSUPP, "copy special file from", source);
    if (st.ok()) st = KeepFolderMetadata(fs, temp, info);
    if (!st.ok()) {
        (void)RemoveTree(fs, temp);
        if (staged.lock >= 0) (void)fs.closeFile(staged.lock);
        return st;
    }
    return staged;
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

// A complete copy of source, whose stat (links followed) is info, waiting in folder;
// for a move (moved not null) flushed to disk and recorded in moved.
FsResult<Staged> StageCopy(FileSystem& fs, const QString& source, const EntryInfo& info,
                           const QString& folder, CopiedEntries* moved) {
    switch (info.type) {
        case EntryType::kFile:
            return StageFileCopy(fs, source, info, folder, moved);
        case EntryType::kFolder:
            return StageTreeCopy(fs, source, info, folder, moved);
        default:
            return FsStatus::FromErrno(EOPNOTSUPP, "copy special file", source);
    }
}

// What a move to another file system places: a moved link stays a link; anything else
// is copied completely and durably. moved receives what was copied.
FsResult<Staged> StageForMove(FileSystem& fs, const QString& source, const QString& folder,
                              CopiedEntries& moved) {
    const FsResult<EntryInfo> entry = fs.lstat(source);
    if (!entry.ok()) return entry.status();
    moved.insert(QString(), entry.value());  // a file's record is replaced as it is opened
    if (entry.value().type == EntryType::kSymlink) {
        const FsResult<QString> temp = StageLink(fs, source, folder);
        if (!temp.ok()) return temp.status();
        return Staged{-1, temp.value(), -1};
    }
    const FsResult<EntryInfo> info = fs.stat(source);
    if (!info.ok()) return info.status();
    return StageCopy(fs, source, info.value(), folder, &moved);
}

// The source of a finished move is removed from the bottom up, each entry only while it
// is still the one copied and unchanged (removedAny); an entry that is new, changed or
// was replaced stays (changed), and so does every folder that still holds something.
struct Removal {
    bool removedAny = false;
    bool changed = false;
    FsStatus firstFailure;
};

// True when the entry at path is gone.
bool RemoveCopied(FileSystem& fs, const QString& path, const QString& key,
                  const CopiedEntries& copied, Removal& r) {
    const FsResult<EntryInfo> now = fs.lstat(path);
    if (!now.ok()) {
        if (now.status().notFound()) return true;  // removed by someone else; the copy has it
        if (r.firstFailure.ok()) r.firstFailure = now.status();
        return false;
    }
    const auto then = copied.constFind(key);
    if (then == copied.cend() || !Unchanged(*then, now.value())) {
        r.changed = true;
        return false;
    }
    FsStatus st;
    if (now.value().type == EntryType::kFolder) {
        const FsResult<std::vector<FolderEntry>> list = fs.listFolder(path);
        if (!list.ok()) {
            if (r.firstFailure.ok()) r.firstFailure = list.status();
            return false;
        }
        bool allGone = true;
        for (const FolderEntry& e : list.value())
            allGone &= RemoveCopied(fs, ChildPath(path, e.name), ChildKey(key, e.name), copied, r);
        if (!allGone) return false;
        st = fs.removeFolder(path);
    } else {
        st = fs.removeFile(path);
    }
    if (st.ok()) {
        r.removedAny = true;
        return true;
    }
    if (st.alreadyExists())
        r.changed = true;  // a folder that gained an entry after it was listed
    else if (r.firstFailure.ok())
        r.firstFailure = st;
    return false;
}

// True when the folder tree at path still holds exactly what was copied, unchanged;
// seen counts the entries compared.
bool StillAsCopied(FileSystem& fs, const QString& path, const QString& key,
                   const CopiedEntries& copied, qsizetype& seen) {
    const FsResult<EntryInfo> now = fs.lstat(path);
    const auto then = copied.constFind(key);
    if (!now.ok() || then == copied.cend() || !Unchanged(*then, now.value())) return false;
    ++seen;
    if (now.value().type != EntryType::kFolder) return true;
    const FsResult<std::vector<FolderEntry>> list = fs.listFolder(path);
    if (!list.ok()) return false;
    for (const FolderEntry& e : list.value())
        if (!StillAsCopied(fs, ChildPath(path, e.name), ChildKey(key, e.name), copied, seen))
            return false;
    return true;
}

bool AllOf(QStringView text, bool (*test)(QChar)) {
    if (text.isEmpty()) return false;
    for (const QChar c : text)
        if (!test(c)) return false;
    return true;
}

bool IsDecimal(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool IsBase36(QChar c) { return IsDecimal(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')); }

// The process id in a staging name of TempName; 0 for the older kind of name, which held
// only the random part; -1 for a name that is not a staging name.
qint64 StagerOf(const QString& name) {
    if (!name.startsWith(kStagingPrefix) || !name.endsWith(kStagingSuffix)) return -1;
    const QStringView middle = QStringView(name).mid(
        kStagingPrefix.size(), name.size() - kStagingPrefix.size() - kStagingSuffix.size());
    const qsizetype dash = middle.indexOf(QLatin1Char('-'));
    if (dash < 0) return AllOf(middle, IsBase36) ? 0 : -1;
    const QStringView pid = middle.left(dash);
    if (pid.size() > 10 || !AllOf(pid, IsDecimal) || !AllOf(middle.mid(dash + 1), IsBase36))
        return -1;
    return pid.toLongLong();
}

// Leftovers of the older kind carry no process id: they are taken only when a day old.
constexpr qint64 kUnmarkedLeftoverAge = 24 * 3600;

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
