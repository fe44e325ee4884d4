// Helpers shared by the folder subcommands (folders, organize, daemon): reading and
// writing folders.txt with messages, and paths as the user typed them made absolute.
#pragma once

#include <QString>

#include "app/cli/cli_context.h"

namespace vandrel {

class WatchedFolderList;

// Loads folders.txt into list. False after a message when the file exists but cannot be
// read (it has been kept aside).
bool LoadFolderList(CliContext& ctx, WatchedFolderList& list);
// Writes folders.txt atomically. False after a message.
bool SaveFolderList(CliContext& ctx, const WatchedFolderList& list);
// The path made absolute and clean, without a trailing "/" (except for "/" itself).
QString AbsoluteFolderPath(const QString& path);

}  // namespace vandrel
