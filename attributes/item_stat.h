// What the attribute reader and the rules need to know about a path before they read
// anything: one stat of it, as the file system's own entry type. Hidden entries, FIFOs,
// sockets, devices, missing paths and paths stat cannot read all come back as
// EntryType::kOther, so they are never opened nor matched. Stateless; safe from any thread.
#pragma once

#include <QString>
#include <cstdint>

#include "platform/file_system.h"

namespace vandrel {

// Inspects path with one stat call through fs (links followed). The empty path and hidden
// names give kOther without asking the file system.
EntryInfo StatItem(const QString& path, FileSystem& fs);
// The same through the real file system.
EntryInfo StatItem(const QString& path);

// The birth time, or the status-change time where the file system keeps none (older NFS,
// some FUSE mounts): the closest stand-in the kernel offers. Nanoseconds since the epoch.
std::int64_t CreatedNs(const EntryInfo& e);

}  // namespace vandrel
