#include "actions/module_file_op_support.h"

#include <QRandomGenerator>

#include "platform/path_text.h"
#include "platform/process_info.h"

namespace vandrel::fileop {

Q_LOGGING_CATEGORY(lcFileOp, "vandrel.fileop")

bool HoldsNul(const QString& path) { return path.contains(QChar(u'\0')); }

FileSystem& Fs(FileSystem* fs) { return fs ? *fs : DefaultFileSystem(); }

QString StripSlashes(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

// Any entry at all, hidden ones and dangling links included: this is the test for "the
// name is taken", so that nothing is ever overwritten.
bool Present(FileSystem& fs, const QString& path) { return fs.lstat(path).ok(); }

// The stat of a regular file (or a link to one) that is not hidden; nothing otherwise.
std::optional<EntryInfo> VisibleFile(FileSystem& fs, const QString& path) {
    if (path.isEmpty() || IsHiddenName(path)) return std::nullopt;
    const FsResult<EntryInfo> info = fs.stat(path);
    if (!info.ok() || info.value().type != EntryType::kFile) return std::nullopt;
    return info.value();
}

QString ChildPath(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// A hidden staging name: .vandrel-<process id>-<random>.part. The process id lets a later
// run tell a leftover of a killed process from a copy still being made.
QString TempName(const QString& folder) {
    return ChildPath(
        folder, kStagingPrefix + QString::number(CurrentProcessId()) + QLatin1Char('-') +
                    QString::number(QRandomGenerator::global()->generate64(), 36) + kStagingSuffix);
}

// Removes an entry and, for a folder, everything below it (links are removed, never
// followed). Carries on past failures; reports the first one and whether anything went.
FsStatus RemoveTree(FileSystem& fs, const QString& path, bool* removedAny) {
    const FsResult<EntryInfo> info = fs.lstat(path);
    if (!info.ok()) return info.status();
    FsStatus first;
    if (info.value().type == EntryType::kFolder) {
        FsResult<std::vector<FolderEntry>> list = fs.listFolder(path);
        if (!list.ok()) return list.status();
        for (const FolderEntry& e : list.value()) {
            FsStatus st = RemoveTree(fs, path + QLatin1Char('/') + e.name, removedAny);
            if (first.ok() && !st.ok()) first = st;
        }
        FsStatus st = fs.removeFolder(path);
        if (first.ok() && !st.ok()) first = st;
        if (st.ok() && removedAny) *removedAny = true;
        return first;
    }
    FsStatus st = fs.removeFile(path);
    if (st.ok() && removedAny) *removedAny = true;
    return st;
}

namespace {

bool AllOf(QStringView text, bool (*test)(QChar)) {
    if (text.isEmpty()) return false;
    for (const QChar c : text)
        if (!test(c)) return false;
    return true;
}

bool IsDecimal(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool IsBase36(QChar c) { return IsDecimal(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')); }

}  // namespace

// The process id in a staging name of TempName; 0 for the older kind of name, which held
// only the random part; -1 for a name that is not a staging name.
qint64 StagerOf(const QString& name) {
    if (!name.startsWith(kStagingPrefix) || !name.endsWith(kStagingSuffix)) return -1;
    const QStringView middle = QStringView(name).mid(
        kStagingPrefix.size(), name.size() - kStagingPrefix.size() - kStagingSuffix.size());
    const qsizetype dash = middle.indexOf(QLatin1Char('-'));
    if (dash < 0) return AllOf(middle, IsBase36) ? 0 : -1;
    const QStringView pid = middle.left(dash);
    if (pid.size() > 10 || !AllOf(pid, IsDecimal) || !AllOf(middle.mid(dash + 1), IsBase36))
        return -1;
    return pid.toLongLong();
}

}  // namespace vandrel::fileop
