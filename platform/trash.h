// The user's freedesktop trash ("home trash"): $XDG_DATA_HOME/Trash, by default
// ~/.local/share/Trash, with the item under files/ and a .trashinfo record under info/
// saying where it came from and when. Safe from any thread.
#pragma once

#include <QString>

#include "platform/file_system.h"

namespace vandrel {

// The home trash folder (without trailing "/"); the folders are not created here.
QString HomeTrashPath();

// Moves path (a file, a link or a folder) into the home trash, creating the trash
// folders when missing. Never replaces anything already in the trash. On failure nothing
// is left in the trash and the item stays where it was. A file on another file system is
// copied (verified by size) and then removed; folders are only moved within one.
// fs: null means the real file system.
FsStatus MoveToTrash(const QString& path, FileSystem* fs = nullptr);
// The same, answering where in the trash the item now is (".../Trash/files/NAME"; its
// record is ".../Trash/info/NAME.trashinfo").
FsResult<QString> MoveToTrashAt(const QString& path, FileSystem* fs = nullptr);

}  // namespace vandrel
