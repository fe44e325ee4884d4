#include "actions/module_file_op_copy.h"

#include <cerrno>

#include "actions/module_file_op_support.h"

namespace vandrel::fileop {

namespace {

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

}  // namespace

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

}  // namespace vandrel::fileop
