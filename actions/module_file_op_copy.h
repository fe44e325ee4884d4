// The copies behind the safe file operations: a complete copy staged in the target's
// folder before it takes a name (a file without a name where the file system can make
// one), durable for a move to another file system, and the removal of a moved source entry
// by entry while each is still the one copied. Not for use outside the module_file_op
// files.
#pragma once

#include <QHash>
#include <QString>

#include "platform/file_system.h"

namespace vandrel::fileop {

// What a move to another file system copied, each entry as it was just before it was
// copied: the item itself under "", the entries below a folder under their relative paths.
// The source goes only entry by entry while each still matches its record.
using CopiedEntries = QHash<QString, EntryInfo>;

// A complete copy waiting for its name: an unnamed file still open (fd), or an entry
// under a hidden temporary name in the target's folder (path). Either way the copy is
// complete before any real name is claimed, and the final step stays within one file
// system.
struct Staged {
    int fd = -1;
    QString path;
    int lock = -1;  // a staged folder's locked descriptor (see RemoveStagingLeftovers)
};

// A complete copy of source, whose stat (links followed) is info, waiting in folder;
// for a move (moved not null) flushed to disk and recorded in moved.
FsResult<Staged> StageCopy(FileSystem& fs, const QString& source, const EntryInfo& info,
                           const QString& folder, CopiedEntries* moved);

// What a move to another file system places: a moved link stays a link; anything else
// is copied completely and durably. moved receives what was copied.
FsResult<Staged> StageForMove(FileSystem& fs, const QString& source, const QString& folder,
                              CopiedEntries& moved);

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
                  const CopiedEntries& copied, Removal& r);

// True when the folder tree at path still holds exactly what was copied, unchanged;
// seen counts the entries compared.
bool StillAsCopied(FileSystem& fs, const QString& path, const QString& key,
                   const CopiedEntries& copied, qsizetype& seen);

}  // namespace vandrel::fileop
