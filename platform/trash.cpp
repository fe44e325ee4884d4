#include "platform/trash.h"

#include <pwd.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace vandrel {

namespace {

QString HomeFolder() {
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty()) {
        if (const passwd* pw = ::getpwuid(::getuid())) home = QFile::decodeName(pw->pw_dir);
    }
    return home;
}

// Creates path and its missing parents with the trash's private mode.
FsStatus MakeFolders(FileSystem& fs, const QString& path) {
    const FsResult<EntryInfo> info = fs.stat(path);
    if (info.ok()) {
        return info.value().type == EntryType::kFolder
                   ? FsStatus::Ok()
                   : FsStatus::FromErrno(ENOTDIR, "create trash folder", path);
    }
    const QString parent = QFileInfo(path).path();
    if (parent != path) {
        FsStatus st = MakeFolders(fs, parent);
        if (!st.ok()) return st;
    }
    FsStatus st = fs.makeFolder(path, 0700);
    if (st.alreadyExists()) return FsStatus::Ok();
    return st;
}

// Candidate names in the trash: the item's own name, then "name 2.ext", "name 3.ext"...
QString TrashName(const QString& name, int n) {
    if (n == 1) return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0) return name + QLatin1Char(' ') + QString::number(n);
    return name.left(dot) + QLatin1Char(' ') + QString::number(n) + name.mid(dot);
}

QByteArray InfoText(const QString& absolutePath) {
    return QByteArrayLiteral("[Trash Info]\nPath=") +
           QUrl::toPercentEncoding(absolutePath, QByteArrayLiteral("/")) +
           QByteArrayLiteral("\nDeletionDate=") +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1() +
           QByteArrayLiteral("\n");
}

// Writes the .trashinfo record; EEXIST when the name is taken in the trash.
FsStatus WriteInfo(FileSystem& fs, const QString& infoPath, const QByteArray& text) {
    FsResult<int> fd = fs.createExclusive(infoPath, 0600);
    if (!fd.ok()) return fd.status();
    FsStatus st = fs.writeData(fd.value(), text);
    if (st.ok()) st = fs.syncFile(fd.value());
    FsStatus closed = fs.closeFile(fd.value());
    if (st.ok()) st = closed;
    if (!st.ok()) (void)fs.removeFile(infoPath);
    return st;
}

// A file on another file system: copy into the trash, verify, then remove the original.
FsStatus CopyIntoTrash(FileSystem& fs, const QString& source, const QString& dest) {
    const FsResult<EntryInfo> info = fs.lstat(source);
    if (!info.ok()) return info.status();
    if (info.value().type != EntryType::kFile)
        return FsStatus::FromErrno(EXDEV, "move to trash", source);
    FsResult<int> in = fs.openRead(source);
    if (!in.ok()) return in.status();
    FsResult<int> out = fs.createExclusive(dest, 0600);
    if (!out.ok()) {
        (void)fs.closeFile(in.value());
        return out.status();
    }
    FsResult<std::int64_t> copied = fs.copyData(in.value(), out.value());
    FsStatus st = copied.ok() ? FsStatus::Ok() : copied.status();
    if (st.ok() && copied.value() != info.value().size)
        st = FsStatus::FromErrno(EIO, "verify size of", dest);
    if (st.ok()) st = fs.keepMode(out.value(), info.value());
    if (st.ok()) st = fs.keepTimes(out.value(), info.value());
    if (st.ok()) st = fs.syncFile(out.value());
    (void)fs.closeFile(in.value());
    FsStatus closed = fs.closeFile(out.value());
    if (st.ok()) st = closed;
    if (st.ok()) st = fs.removeFile(source);
    if (!st.ok()) (void)fs.removeFile(dest);
    return st;
}

}  // namespace

QString HomeTrashPath() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    // Relative values are invalid and must be ignored.
    if (data.isEmpty() || !data.startsWith(QLatin1Char('/')))
        data = HomeFolder() + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/Trash"));
}

FsStatus MoveToTrash(const QString& path, FileSystem* fs) {
    const FsResult<QString> at = MoveToTrashAt(path, fs);
    return at.status();
}

FsResult<QString> MoveToTrashAt(const QString& path, FileSystem* fsp) {
    FileSystem& fs = fsp ? *fsp : DefaultFileSystem();
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const FsResult<EntryInfo> item = fs.lstat(absolute);
    if (!item.ok()) return item.status();

    const QString trash = HomeTrashPath();
    const QString filesDir = trash + QStringLiteral("/files");
    const QString infoDir = trash + QStringLiteral("/info");
    FsStatus st = MakeFolders(fs, filesDir);
    if (st.ok()) st = MakeFolders(fs, infoDir);
    if (!st.ok()) return st;

    const QString name = QFileInfo(absolute).fileName();
    const QByteArray info = InfoText(absolute);
    for (int n = 1; n < 10000; ++n) {
        const QString trashName = TrashName(name, n);
        const QString infoPath =
            infoDir + QLatin1Char('/') + trashName + QStringLiteral(".trashinfo");
        const QString dest = filesDir + QLatin1Char('/') + trashName;
        // The info record is written first and claims the name: a crash in between
        // leaves a record without an item, which trash viewers ignore.
        st = WriteInfo(fs, infoPath, info);
        if (st.alreadyExists()) continue;
        if (!st.ok()) return st;
        st = fs.renameNoReplace(absolute, dest);
        if (st.crossDevice()) st = CopyIntoTrash(fs, absolute, dest);
        if (st.ok()) return dest;
        (void)fs.removeFile(infoPath);
        if (!st.alreadyExists()) return st;
    }
    return FsStatus::FromErrno(EEXIST, "move to trash", absolute);
}

}  // namespace vandrel
