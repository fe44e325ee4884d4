// File times of one file as local date-times, for the date attributes and the date
// condition. Stateless; safe from any thread.
#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace vandrel {

class FileSystem;

struct FileTimes {
    QDateTime created;   // birth time; the status-change time where the file system keeps none
    QDateTime accessed;  // last access
    QDateTime modified;  // last write
};

// The three times of path (symbolic links followed) in local time, to the second
// (milliseconds dropped). nullopt when the path cannot be inspected. Does not open the file.
// fs: the file system to ask; null means the real one.
std::optional<FileTimes> GetFileTimes(const QString& path, FileSystem* fs = nullptr);

}  // namespace vandrel
