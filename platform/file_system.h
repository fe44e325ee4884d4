// The file-system primitives the safe file operations are built on, behind one injected
// interface so tests can hand in a double that fails chosen calls. Every expected failure
// is a value (FsStatus / FsResult) carrying errno, the step and the path. Implementations
// must be safe to call from several threads at once.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace vandrel {

// Outcome of one primitive: success, or errno plus the step that failed and the path.
class [[nodiscard]] FsStatus {
  public:
    FsStatus() = default;
    static FsStatus Ok() { return FsStatus(); }
    // error: an errno value (0 means success); step: a short verb phrase with static
    // storage ("rename", "copy to temporary file").
    static FsStatus FromErrno(int error, const char* step, const QString& path);

    bool ok() const { return error_ == 0; }
    int error() const { return error_; }
    const char* step() const { return step_; }
    const QString& path() const { return path_; }
    bool alreadyExists() const;  // EEXIST or ENOTEMPTY: the name is taken
    bool notFound() const;       // ENOENT or ENOTDIR
    bool crossDevice() const;    // EXDEV
    // EPERM or EOPNOTSUPP: the file system cannot store this (FAT and exFAT refuse modes,
    // some network mounts owners); worth ignoring only for metadata that is not the data.
    bool refusedByFileSystem() const;
    // "copy to temporary file in /dest: No space left on device"; empty when ok.
    QString message() const;

  private:
    int error_ = 0;
    const char* step_ = "";
    QString path_;
};

// A value or the status that prevented it.
template <typename T>
class [[nodiscard]] FsResult {
  public:
    FsResult(T value) : value_(std::move(value)) {}            // NOLINT: implicit on purpose
    FsResult(FsStatus status) : status_(std::move(status)) {}  // NOLINT
    bool ok() const { return status_.ok() && value_.has_value(); }
    const FsStatus& status() const { return status_; }
    T& value() { return *value_; }
    const T& value() const { return *value_; }

  private:
    FsStatus status_;
    std::optional<T> value_;
};

enum class EntryType { kFile, kFolder, kSymlink, kOther };

struct EntryInfo {
    EntryType type = EntryType::kOther;
    bool hidden = false;  // the entry's own name starts with "."
    dev_t dev = 0;
    ino_t ino = 0;
    std::int64_t size = 0;
    mode_t mode = 0;  // permission bits only
    timespec atime{};
    timespec mtime{};
    timespec ctime{};  // status change: moves with every write or metadata change
    // Birth time, where the file system keeps one (stat only; statFile and lstat leave it).
    timespec btime{};
    bool hasBirthTime = false;

    bool isFile() const { return type == EntryType::kFile; }
    bool isFolder() const { return type == EntryType::kFolder; }
};

// A stat time in nanoseconds since the epoch.
inline std::int64_t Nanoseconds(const timespec& t) {
    return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

struct FolderEntry {
    QString name;
    EntryType type = EntryType::kOther;  // of the entry itself; links are kSymlink
    // False when the name's bytes are not valid UTF-8: name then holds replacement
    // characters and names another entry, or none.
    bool exactName = true;
};

// The primitives. Paths are absolute "/" paths; descriptors come from openRead or
// createExclusive and must be given back to closeFile.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    virtual FsResult<EntryInfo> stat(const QString& path) = 0;   // follows links
    virtual FsResult<EntryInfo> lstat(const QString& path) = 0;  // the entry itself
    virtual FsResult<EntryInfo> statFile(int fd) = 0;
    // The folder's entries except "." and "..", in no particular order.
    virtual FsResult<std::vector<FolderEntry>> listFolder(const QString& path) = 0;

    // Renames without ever replacing an existing target: EEXIST when the name is taken.
    virtual FsStatus renameNoReplace(const QString& from, const QString& to) = 0;
    virtual FsStatus makeFolder(const QString& path, mode_t mode) = 0;
    virtual FsStatus makeSymlink(const QString& linkTarget, const QString& path) = 0;
    virtual FsResult<QString> readSymlink(const QString& path) = 0;
    virtual FsStatus removeFile(const QString& path) = 0;    // files and links
    virtual FsStatus removeFolder(const QString& path) = 0;  // empty folders only

    // Opens a regular file for reading; never blocks on FIFOs or devices (EINVAL).
    virtual FsResult<int> openRead(const QString& path) = 0;
    // The same for a regular file the caller has just examined: expected is its stat
    // (links followed). Refuses (ESTALE) when the name leads to another file by now.
    virtual FsResult<int> openReadExamined(const QString& path, const EntryInfo& expected) = 0;
    // Creates a new file that must not exist yet (O_EXCL), open for writing.
    virtual FsResult<int> createExclusive(const QString& path, mode_t mode) = 0;
    // Creates a file without a name in folder, open for writing: it vanishes when closed
    // unless linkNoReplace gave it one. Fails (EOPNOTSUPP and others) where the file
    // system cannot do this; callers then fall back to createExclusive.
    virtual FsResult<int> createUnnamed(const QString& folder, mode_t mode) = 0;
    // Gives the file of createUnnamed the name path, never replacing an existing entry
    // (EEXIST when the name is taken). The descriptor stays open.
    virtual FsStatus linkNoReplace(int fd, const QString& path) = 0;
    // Copies everything from the read position of from to EOF; the byte count.
    virtual FsResult<std::int64_t> copyData(int from, int to) = 0;
    virtual FsStatus writeData(int fd, const QByteArray& bytes) = 0;
    virtual FsStatus syncFile(int fd) = 0;
    virtual FsStatus syncFolder(const QString& path) = 0;
    virtual FsStatus closeFile(int fd) = 0;

    // Gives a file (by descriptor) or a folder (by path) the permission bits, or the
    // access and modification times, of info. Separate steps: a removable drive may
    // refuse the mode and still keep the times.
    virtual FsStatus keepMode(int fd, const EntryInfo& info) = 0;
    virtual FsStatus keepTimes(int fd, const EntryInfo& info) = 0;
    virtual FsStatus keepFolderMode(const QString& path, const EntryInfo& info) = 0;
    virtual FsStatus keepFolderTimes(const QString& path, const EntryInfo& info) = 0;

    // Opens the file or folder at path (never following a link) and takes an exclusive
    // advisory lock on it without waiting: EWOULDBLOCK while another open descriptor, in
    // this or any process, holds one. The returned descriptor holds the lock until
    // closeFile; a process that dies lets go of it.
    virtual FsResult<int> lockEntry(const QString& path) = 0;
};

// The process-wide Linux file system (a PosixFileSystem); never null.
FileSystem& DefaultFileSystem();

}  // namespace vandrel
