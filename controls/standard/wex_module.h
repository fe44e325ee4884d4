// Free helpers of the standard controls: the folder picker and two small path tests.
// User-interface thread only (the picker is a modal dialog).
#pragma once

#include <QString>

class QWidget;

namespace wexcontrols {

// Shows the folder picker owned by `owner` with `title`. Returns the chosen folder without a
// trailing "/" (the root stays "/"), or the empty text when the user cancels.
QString BrowseForFolder(QWidget* owner, const QString& title);

// What the picker returns for a raw chosen path: cut at the first NUL and one trailing "/"
// removed. The root "/" is kept: an empty result means "cancelled" to every caller.
QString PickedFolderPath(const QString& raw);

// The text after the last "/" ("/" itself for the root, the whole text when it has no "/").
QString LastPathComponent(const QString& path);

// True when something is at the path: a file, a folder or any other entry, a dangling
// symbolic link included (its name is taken all the same).
bool FileExists(const QString& path);

}  // namespace wexcontrols
