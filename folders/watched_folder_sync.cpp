#include "folders/watched_folder_sync.h"

#include <utility>

#include "folders/watched_folder_list.h"

namespace vandrel {

WatchedFolderSync::WatchedFolderSync(QString path, WatchedFolderList& schedule,
                                     const StateStore& store)
    : path_(std::move(path)), schedule_(schedule), store_(store) {}

FolderSyncResult WatchedFolderSync::Sync() {
    FolderSyncResult result;
    const QString before = schedule_.SaveToString();
    const auto merge = [&](QString& text) {
        WatchedFolderList disk(schedule_.clock());
        disk.LoadFromString(text);
        disk.SetCurRuleAttrs(schedule_.curRuleAttrs());
        disk.AdoptScheduleFrom(schedule_);
        schedule_ = std::move(disk);
        const QString merged = schedule_.SaveToString();
        result.reloaded = merged != before;
        text = merged;
        return true;
    };
    result.update = store_.UpdateLine(path_, &WatchedFolderList::TextProblem, merge);
    if (result.update.status != StateUpdateStatus::Unreadable ||
        result.update.read.keptAsidePath.isEmpty())
        return result;
    // The damaged file is safely aside: the list in hand takes its place, unless another
    // writer has already put a list there.
    const QString inHand = before;
    const StateUpdateResult rewrite =
        store_.UpdateLine(path_, &WatchedFolderList::TextProblem, [&](QString& text) {
            if (!text.isEmpty()) return merge(text);
            text = inHand;
            return true;
        });
    result.restored = rewrite.ok();
    if (!rewrite.ok()) result.update = rewrite;
    return result;
}

FolderTaskCheck WatchedFolderSync::PrepareTask(AutoFolderTask& task) {
    if (!Sync().update.ok()) return FolderTaskCheck::NotSynced;
    const int at = schedule_.indexOfPath(task.folderPath);
    if (at < 0 || task.folderPath.isEmpty()) return FolderTaskCheck::NotWatched;
    const WatchedFolder& row = schedule_.folder(at);
    if (!row.enabled()) return FolderTaskCheck::TurnedOff;
    task = row.GetAutoFolderTask();
    return FolderTaskCheck::Run;
}

}  // namespace vandrel
