#include "platform/module_check_file.h"

#include <QRegularExpression>
#include <algorithm>

#include "platform/file_in_use.h"
#include "platform/file_system.h"

namespace vandrel {

namespace {

// Matches names against a shell pattern; "*.*", "*" and "" mean every name (as "*.*"
// always did, names without a dot included).
class NameFilter {
  public:
    explicit NameFilter(const QString& pattern) {
        if (pattern.isEmpty() || pattern == QLatin1String("*") || pattern == QLatin1String("*.*"))
            return;
        all_ = false;
        re_ = QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                 QRegularExpression::CaseInsensitiveOption);
    }
    bool matches(const QString& name) const { return all_ || re_.match(name).hasMatch(); }

  private:
    bool all_ = true;
    QRegularExpression re_;
};

// One level of a folder, sorted by name so every listing comes in the same order.
// Links count as what they point to; dangling links, FIFOs, sockets and devices are
// not items to organise and are left out (never opened). Linked folders are put in
// linkedFolders when given, else with the other folders.
void ListLevel(const QString& folder, const QString& pattern, QStringList& files,
               QStringList& folders, QStringList* linkedFolders, QStringList* unnamable,
               FileSystem& fs) {
    // Used as given: "in " is another folder than "in" on Linux.
    QString dir = folder;
    if (dir.isEmpty()) return;
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    FsResult<std::vector<FolderEntry>> list = fs.listFolder(dir);
    if (!list.ok()) return;
    std::vector<FolderEntry>& entries = list.value();
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    const NameFilter filter(pattern);
    for (const FolderEntry& e : entries) {
        if (!filter.matches(e.name)) continue;
        const QString path = dir + e.name;
        if (!e.exactName) {
            if (unnamable) unnamable->append(path);
            continue;
        }
        EntryType type = e.type;
        bool linked = false;
        if (type == EntryType::kSymlink) {
            const FsResult<EntryInfo> target = fs.stat(path);
            if (!target.ok()) continue;
            type = target.value().type;
            linked = true;
        }
        if (type == EntryType::kFolder) {
            // Also skips "." and ".." and every folder whose name starts with a dot.
            if (e.name.startsWith(QLatin1Char('.'))) continue;
            (linked && linkedFolders ? *linkedFolders : folders).append(path + QLatin1Char('/'));
        } else if (type == EntryType::kFile) {
            files.append(path);
        }
    }
}

}  // namespace

void ListFolderEntries(const QString& folder, const QString& pattern, QStringList& files,
                       QStringList& folders, QStringList* unnamable, FileSystem* fs) {
    ListLevel(folder, pattern, files, folders, nullptr, unnamable, fs ? *fs : DefaultFileSystem());
}

void ListFolderItems(const QString& folder, QStringList& files, QStringList& folders,
                     QStringList* unnamable, FileSystem* fs) {
    QStringList entries;
    ListFolderEntries(folder, QStringLiteral("*.*"), files, entries, unnamable, fs);
    for (QString& e : entries) {
        if (e.endsWith(QLatin1Char('/'))) e.chop(1);
        folders.append(e);
    }
}

QStringList ListAllFiles(const QString& folder, FileSystem* fs) {
    FileSystem& f = fs ? *fs : DefaultFileSystem();
    QStringList result;
    QStringList queue{folder};
    QStringList linked;  // not descended into: a link may lead out of the tree or in a loop
    for (qsizetype i = 0; i < queue.size(); ++i) {
        // Breadth first: the queue grows at its end while it is walked.
        ListLevel(queue[i], QStringLiteral("*.*"), result, queue, &linked, nullptr, f);
        linked.clear();
    }
    return result;
}

bool IsFileFree(const QString& path, FileInUseProbe* probe) {
    if (probe) return !probe->isInUse(path);
    FileInUseProbe once;
    return !once.isInUse(path);
}

bool IsFolderFree(const QString& path, FileInUseProbe* probe, FileSystem* fs) {
    const FsResult<EntryInfo> info = (fs ? *fs : DefaultFileSystem()).stat(path);
    if (!info.ok() || info.value().type != EntryType::kFolder) return false;
    FileInUseProbe once;
    FileInUseProbe& p = probe ? *probe : once;
    // The answers come from one snapshot and have no side effects, so the walk can stop
    // at the first file in use. A file whose name is not valid UTF-8 is not listed, so it
    // cannot stand for another file (or none, which would count as in use).
    const QStringList files = ListAllFiles(path, fs);
    return std::none_of(files.begin(), files.end(),
                        [&p](const QString& f) { return p.isInUse(f); });
}

QString TrimAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul >= 1 ? text.left(nul) : text;
}

}  // namespace vandrel
