// Folder listing and the in-use tests of files and folders. Stateless free functions;
// the in-use tests ask a FileInUseProbe (one snapshot serves many files). fs: the file
// system to list through; null means the real one.
#pragma once

#include <QString>
#include <QStringList>

namespace vandrel {

class FileInUseProbe;
class FileSystem;

// Appends the folder's direct files matching pattern ("*.*" or "*" for all) to files and
// its subfolders, each with a trailing "/", to folders, sorted by name. Subfolders whose
// name starts with "." are skipped; files starting with "." are listed. Links count as
// what they point to; dangling links, FIFOs, sockets and devices are not items and are
// left out (never opened). A folder that cannot be listed adds nothing. Paths are used as
// given (no spaces trimmed). Entries whose names are not valid UTF-8 cannot be named
// exactly (their text would name another entry, or none): they are never listed, and are
// put in unnamable, when given, as "folder/name" with replacement characters.
void ListFolderEntries(const QString& folder, const QString& pattern, QStringList& files,
                       QStringList& folders, QStringList* unnamable = nullptr,
                       FileSystem* fs = nullptr);
// The same without the trailing "/" on folders.
void ListFolderItems(const QString& folder, QStringList& files, QStringList& folders,
                     QStringList* unnamable = nullptr, FileSystem* fs = nullptr);
// Every file below the folder, breadth first. Linked folders are not descended into
// (a link may lead out of the tree or round in a loop). Files and folders whose names are
// not valid UTF-8 are left out.
QStringList ListAllFiles(const QString& folder, FileSystem* fs = nullptr);
// False when another process holds the file open or locked, or it cannot be examined.
// probe: null means a one-off probe (slow: a full scan).
bool IsFileFree(const QString& path, FileInUseProbe* probe = nullptr);
// True when every file below the folder is free; false for a missing folder.
bool IsFolderFree(const QString& path, FileInUseProbe* probe = nullptr, FileSystem* fs = nullptr);
// The text up to its first NUL when that NUL stands at position 2 or later.
QString TrimAtNul(const QString& text);

}  // namespace vandrel
