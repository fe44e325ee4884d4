// The path-text helpers every layer shares: the parts of a "/" path, joining, and making a
// text fit to be one file name. Pure functions over the text alone (the file system is
// never asked); safe from any thread. Names are taken exactly as given: nothing is trimmed.
#pragma once

#include <QString>

namespace vandrel {

// The text after the last "/"; the whole path when it has none.
QString FileNamePart(const QString& path);
// The file name without its last "." and what follows; the whole name when it has no ".".
QString BaseNamePart(const QString& path);
// The text of the file name after its last "."; the whole name when it has no ".".
QString ExtensionPart(const QString& path);
// Everything before the last "/" ("/" for "/a"); the empty text when there is none.
QString FolderPart(const QString& path);
// folder + "/" + name, without doubling a "/" that ends the folder ("/" + "a" is "/a").
QString JoinPath(const QString& folder, const QString& name);
// Replaces each of \ / : * ? < > | and " by "-", for use as one file or folder name.
QString SanitizeFileName(const QString& text);
// True when the last "/" part of path starts with ".".
bool IsHiddenName(const QString& path);

}  // namespace vandrel
