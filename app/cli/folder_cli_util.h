// Helpers shared by the folder subcommands (folders, organize, daemon): reading and
// writing folders.txt with messages, and paths as the user typed them made absolute.
#pragma once

#include <QString>
#include <functional>

#include "app/cli/cli_context.h"

namespace vandrel {

class WatchedFolderList;

// Loads folders.txt into list. False after a message when the file exists but cannot be
// read (it has been kept aside).
bool LoadFolderList(CliContext& ctx, WatchedFolderList& list);
// Changes folders.txt by read-modify-write under the data folder's state lock: change
// gets the list as it is on disk now and returns whether it changed it; list then holds
// what is on disk. False after a message (damaged file kept aside, lock or write failed).
bool UpdateFolderList(CliContext& ctx, WatchedFolderList& list,
                      const std::function<bool(WatchedFolderList&)>& change);
// The path made absolute and clean, without a trailing "/" (except for "/" itself).
QString AbsoluteFolderPath(const QString& path);

}  // namespace vandrel
