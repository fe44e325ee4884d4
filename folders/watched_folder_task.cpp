// The folder tasks live apart from the schedule so that the schedule can be used without
// the folder listing.

#include "actions/module_file_op.h"
#include "folders/watched_folder.h"
#include "folders/watched_folder_list.h"
#include "platform/module_check_file.h"

namespace vandrel {

AutoFolderTask WatchedFolder::GetAutoFolderTask() const {
    AutoFolderTask task;
    task.folderCaption = folderNameText();
    if (!folderPath_.isEmpty() && VisibleFolderExists(folderPath_)) {
        QStringList files;
        QStringList folders;
        ListFolderItems(folderPath_, files, folders, &task.unnamableItems);
        task.taskItems = files + folders;
    }
    task.ruleSelection = selector_.SaveToString();
    task.confirmFirst = confirm_;
    task.folderPath = folderPath_;
    return task;
}

std::vector<AutoFolderTask> WatchedFolderList::TickCheck(const QDateTime& now) {
    std::vector<AutoFolderTask> tasks;
    for (WatchedFolder* f : DueFolders(now)) tasks.push_back(f->GetAutoFolderTask());
    return tasks;
}

}  // namespace vandrel
