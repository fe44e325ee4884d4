// Copy, move and rename of files and folders that never overwrite anything: a taken
// target is resolved by numbered names, atomically (renameat2 with RENAME_NOREPLACE,
// exclusive creation), and a failed operation leaves the source intact and returns the
// source path. Free functions, safe from any thread; the only state is the set of folders
// already searched for staging leftovers.
#pragma once

#include <QString>

#include "platform/file_system.h"

namespace vandrel {

enum FileOpKind { kFileOpCopy = 1, kFileOpMove = 2, kFileOpRename = 3 };
// kConflictRefuse is the engine's own (never stored in a rule): a taken target makes the
// operation fail with EEXIST, as undo needs when it puts an item back.
enum ConflictMode { kConflictRename = 1, kConflictReplace = 2, kConflictRefuse = 3 };

// Returns the path the item now has, or the source path when nothing was done: missing,
// hidden or special source, target equal to the source, or a failure (permission denied,
// full disk, source vanished, no free numbered name), after which the source is intact and
// no partial copy is left. Any entry at the target, hidden ones included, is a conflict:
// Rename numbers the incoming item, Replace renames the present one to the next free
// number. Names are used as given (a trailing "." stays); a target whose name is empty,
// "." or "..", or a path holding a NUL, is refused. A file copy is made complete as a file without
// a name in the target folder and then given its name (where the file system cannot do that, and
// for folders, under a hidden temporary name then renamed into place); a move to another
// file system is such a copy, flushed to disk, followed by the removal of what of the source
// is still the entry copied and unchanged since (see TrySafeFileOperation). Modification times
// are kept; so is the mode, where the target file system can store one (not on FAT or exFAT);
// the owner is never copied. A folder copy copies the folder's contents into the new target
// folder (FIFOs, sockets and devices inside are skipped; a cross-device folder move holding any
// fails instead). fs: the file-system primitives; null means the real one.
QString SafeFileOperation(const QString& source, const QString& target, int kind, int mode,
                          FileSystem* fs = nullptr);

// What a safe operation did: the path the item now has (the source path when nothing was
// done) and, when the operation did not take place, why ("the copy would be the item
// itself", "copy to temporary file in /dest: No space left on device"). notDone is empty
// when it took place, and also for a move or rename onto the item's own place.
struct SafeOpResult {
    QString path;
    QString notDone;
    // Replace: where the item that held the target name was moved to; empty otherwise.
    QString aside;
};
// SafeFileOperation (folder false) or SafeFolderOperation (folder true) with the reason.
SafeOpResult SafeOperation(const QString& source, const QString& target, int kind, int mode,
                           bool folder, FileSystem* fs = nullptr);
QString SafeFolderOperation(const QString& source, const QString& target, int kind, int mode,
                            FileSystem* fs = nullptr);

// The same operations, telling why when the item was not copied, moved or renamed: the
// path the item (for a copy: the copy) now has, or the failure (errno, step, path). The
// source path comes back only for a move or rename to where the item already is; a copy
// onto itself, a missing, hidden or special source and an unusable target name are
// failures. After a failure the item is where it was and nothing of it is left elsewhere,
// with one exception: EBUSY from a move to another file system whose source changed while
// it was copied. There, when nothing of the source could be removed yet, the copy was taken
// back; when the change came between the removal of one entry of a folder and the next,
// the complete copy stays at the target (the status names it) and the changed entries stay
// in the source.
FsResult<QString> TrySafeFileOperation(const QString& source, const QString& target, int kind,
                                       int mode, FileSystem* fs = nullptr);
FsResult<QString> TrySafeFolderOperation(const QString& source, const QString& target, int kind,
                                         int mode, FileSystem* fs = nullptr);

// Removes what killed copies and moves left in folder: hidden .vandrel-*.part entries
// whose process is gone and that no living process holds (a staging folder is locked while
// it is filled); entries of the older kind, without a process id, once a day old. Copies
// and moves do this once per target folder and process. The number of entries removed.
int RemoveStagingLeftovers(const QString& folder, FileSystem* fs = nullptr);

// First free numbered name: dir/base<N>.ext for files (name<N> without a dot; a leading
// dot is not an extension: .profile -> .profile1), path<N> for folders. A number is free
// when no entry at all (hidden or dangling ones included) has that name. counter is
// raised before each candidate and left at the number used. Empty when no number up to
// a fixed bound (100,000) is free.
QString UniqueFileName(const QString& takenPath, int& counter, FileSystem* fs = nullptr);
QString UniqueFolderName(const QString& takenPath, int& counter, FileSystem* fs = nullptr);

// A regular file (or a link to one) that is not hidden (name starting with ".").
bool FileExists(const QString& path, FileSystem* fs = nullptr);
// Any entry (folder or file) that is not hidden.
bool FolderExists(const QString& path, FileSystem* fs = nullptr);
// A folder (or a link to one) that is not hidden; unlike FolderExists, a file is not one.
bool VisibleFolderExists(const QString& path, FileSystem* fs = nullptr);
// Creates the folder with its missing parents; the path on success, else empty (also
// for a relative path or a file in the way).
QString MakeFolderPath(const QString& path, FileSystem* fs = nullptr);
// MakeFolderPath that also tells the outermost folder it created (empty when every level
// was there already): undo removes what an action created, when it is empty again.
struct MadeFolders {
    QString path;  // empty on failure
    QString firstCreated;
};
MadeFolders MakeFolderChain(const QString& path, FileSystem* fs = nullptr);
// Sends an existing file to the freedesktop trash; false when it could not.
bool RecycleFile(const QString& path);

}  // namespace vandrel
