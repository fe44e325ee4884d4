// What the safe file operations share among their parts: the names of staging entries,
// the tests for a taken name and a visible file, removal of a tree. Not for use outside
// the module_file_op files.
#pragma once

#include <QLatin1String>
#include <QLoggingCategory>
#include <QString>
#include <optional>

#include "platform/file_system.h"

namespace vandrel::fileop {

Q_DECLARE_LOGGING_CATEGORY(lcFileOp)

// Lost races (a name taken between choosing it and using it) tolerated before an
// operation gives up; only a runaway creator of numbered names gets this far.
constexpr int kMaxAttempts = 10000;

// Numbered names tried before the search gives up. No real folder holds this many
// numbered copies of one name; the bound keeps any input (a name the file system reads
// differently from how it is written, say) from making the search endless.
constexpr int kMaxNumberedNames = 100000;

// Leftovers of the older kind carry no process id: they are taken only when a day old.
constexpr qint64 kUnmarkedLeftoverAge = 24 * 3600;

inline const QLatin1String kStagingPrefix(".vandrel-");
inline const QLatin1String kStagingSuffix(".part");

bool HoldsNul(const QString& path);
// fs, or the real file system when null.
FileSystem& Fs(FileSystem* fs);
QString StripSlashes(QString path);
// Any entry at all, hidden ones and dangling links included: this is the test for "the
// name is taken", so that nothing is ever overwritten.
bool Present(FileSystem& fs, const QString& path);
// The stat of a regular file (or a link to one) that is not hidden; nothing otherwise.
std::optional<EntryInfo> VisibleFile(FileSystem& fs, const QString& path);
QString ChildPath(const QString& folder, const QString& name);
// A hidden staging name: .vandrel-<process id>-<random>.part. The process id lets a later
// run tell a leftover of a killed process from a copy still being made.
QString TempName(const QString& folder);
// Removes an entry and, for a folder, everything below it (links are removed, never
// followed). Carries on past failures; reports the first one and whether anything went.
FsStatus RemoveTree(FileSystem& fs, const QString& path, bool* removedAny = nullptr);
// The process id in a staging name of TempName; 0 for the older kind of name, which held
// only the random part; -1 for a name that is not a staging name.
qint64 StagerOf(const QString& name);

}  // namespace vandrel::fileop
