#include "folders/watched_folder_list.h"

#include <QMultiHash>

#include "rules/rule_text.h"

namespace vandrel {

WatchedFolderList::WatchedFolderList(const Clock& clock) : clock_(&clock) {}

std::vector<WatchedFolder*> WatchedFolderList::GetFolderCollection() const {
    std::vector<WatchedFolder*> out;
    out.reserve(folders_.size());
    for (const auto& f : folders_) out.push_back(f.get());
    return out;
}

int WatchedFolderList::indexOf(const WatchedFolder* folder) const {
    for (size_t i = 0; i < folders_.size(); ++i)
        if (folders_[i].get() == folder) return static_cast<int>(i);
    return -1;
}

int WatchedFolderList::indexOfPath(const QString& path) const {
    for (size_t i = 0; i < folders_.size(); ++i)
        if (folders_[i]->folderPath() == path) return static_cast<int>(i);
    return -1;
}

WatchedFolder& WatchedFolderList::AddNewFolder() {
    folders_.insert(folders_.begin(), std::make_unique<WatchedFolder>(*clock_));
    return *folders_.front();
}

bool WatchedFolderList::RemoveFolder(const WatchedFolder* folder) {
    return RemoveFolderAt(indexOf(folder));
}

bool WatchedFolderList::RemoveFolderAt(int index) {
    if (index < 0 || index >= folderCount()) return false;
    folders_.erase(folders_.begin() + index);
    return true;
}

std::vector<WatchedFolder*> WatchedFolderList::DueFolders(const QDateTime& now) {
    std::vector<WatchedFolder*> due;
    for (const auto& f : folders_)
        if (f->TickCheck(now)) due.push_back(f.get());
    return due;
}

QString WatchedFolderList::SaveToString() const {
    QStringList texts;
    for (const auto& f : folders_)
        if (!f->folderPath().isEmpty()) texts << f->SaveToString();
    return texts.join(QString::fromUtf16(kFolderListSep));
}

void WatchedFolderList::LoadFromString(const QString& text) {
    folders_.clear();
    if (text.isEmpty()) return;
    const QStringList parts = SplitText(text, kFolderListSep);
    folders_.reserve(static_cast<size_t>(parts.size()));
    for (const QString& part : parts) {
        auto f = std::make_unique<WatchedFolder>(*clock_);
        f->LoadFromString(part);
        folders_.push_back(std::move(f));
    }
}

QString WatchedFolderList::TextProblem(const QString& text) {
    if (text.isEmpty()) return QString();
    const QStringList parts = SplitText(text, kFolderListSep);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString problem = WatchedFolder::TextProblem(parts.at(i));
        if (!problem.isEmpty()) return QStringLiteral("row %1: %2").arg(i + 1).arg(problem);
    }
    return QString();
}

StateReadResult WatchedFolderList::LoadFromFile(const QString& path) {
    StateReadResult r = ReadStateLine(path, &WatchedFolderList::TextProblem);
    if (r.status == StateReadStatus::Unreadable) return r;
    LoadFromString(r.status == StateReadStatus::Ok ? r.text : QString());
    return r;
}

bool WatchedFolderList::SaveToFile(const QString& path) const {
    return WriteStateLine(path, SaveToString());
}

void WatchedFolderList::AdoptScheduleFrom(const WatchedFolderList& other) {
    const auto sameSchedule = [](const WatchedFolder& a, const WatchedFolder& b) {
        return a.enabled() == b.enabled() && a.method() == b.method() &&
               a.interval() == b.interval() && a.hour() == b.hour() && a.minute() == b.minute();
    };
    // By path through a hash: the scheduler syncs with the file at every check, and a
    // pairwise search would cost seconds on a list of ten thousand folders.
    QMultiHash<QString, const WatchedFolder*> byPath;
    byPath.reserve(static_cast<qsizetype>(other.folders_.size()));
    for (auto it = other.folders_.rbegin(); it != other.folders_.rend(); ++it)
        byPath.insert((*it)->folderPath(), it->get());  // the first row ends up first
    for (const auto& mine : folders_) {
        for (auto it = byPath.find(mine->folderPath());
             it != byPath.end() && it.key() == mine->folderPath(); ++it) {
            if (!sameSchedule(*mine, **it)) continue;
            mine->adoptTimes(**it);
            break;
        }
    }
}

}  // namespace vandrel
