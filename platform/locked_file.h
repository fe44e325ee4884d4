// Files a process holds under an advisory lock while it lives, for side files that another
// process may take over once their owner has ended (the action log's take journal). The
// lock goes with the descriptor: closing it, or the process ending, lets go. Descriptors
// come from CreateLockedFile or ClaimLockedFile and go back through CloseLockedFile.
// Free functions; safe from any thread.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "platform/file_system.h"

namespace vandrel {

// Creates fresh (mode 0600, appending, never following a link), locks it and only then gives
// it the name final, never replacing an entry: nobody sees final unlocked. EEXIST when
// fresh or final is taken. On failure nothing is left behind.
FsResult<int> CreateLockedFile(const QString& fresh, const QString& final);
// Opens the regular file path for reading and writing and locks it: fails (EWOULDBLOCK)
// while another descriptor holds the lock, and (ESTALE) when path no longer names the file
// opened (another process took it over meanwhile).
FsResult<int> ClaimLockedFile(const QString& path);
// Writes all of bytes at the end; a failure may leave part of them written.
FsStatus AppendToFile(int fd, const QByteArray& bytes);
// Cuts the file to size bytes.
FsStatus TruncateFile(int fd, std::int64_t size);
// What ReadWholeFile read: the bytes from the file's start up to its end, or up to a
// failure, which status then names.
struct WholeFileRead {
    QByteArray bytes;
    FsStatus status;
};
WholeFileRead ReadWholeFile(int fd);
// Closes fd (letting go of the lock), removing removePath first when it is not empty.
void CloseLockedFile(int fd, const QString& removePath = QString());

}  // namespace vandrel
