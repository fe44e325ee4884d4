// Where the running desktop program listens for the command line: one local socket per
// user and data folder. The socket lives in a folder only the user can enter (the
// user's runtime folder /run/user/UID, else /tmp/vandrel-UID made private), so no other
// user can listen in its place or read what is handed over. The name depends only on
// the uid and the data folder, never on the environment, so a command started by cron
// finds the program a desktop session started.
#pragma once

#include <QString>

namespace vandrel {

// The full socket path for dataDir (its canonical path when it exists). Empty when no
// private folder can be found or made; error then says why.
QString DesktopSocketPath(const QString& dataDir, QString* error = nullptr);

// Removes a socket file left at path by a program that is gone, so a new listener can take
// the name. Only a socket that nobody answers on is removed, never another kind of file
// and never a live listener's socket; false then, with the reason in *error. Call only
// while holding the desktop lock of the folder, so no starting program can own it.
bool RemoveStaleSocket(const QString& path, QString* error = nullptr);

}  // namespace vandrel
