// One pending run of a watched folder: the items to organize, the folder's display
// name, the rules it may use and whether the user confirms first. A plain value.
#pragma once

#include <QString>
#include <QStringList>

namespace vandrel {

struct AutoFolderTask {
    // Full paths: the folder's direct files, then its direct subfolders.
    QStringList taskItems;
    // Entries left out because their names are not valid UTF-8 (they cannot be named
    // exactly), shown with replacement characters; for messages.
    QStringList unnamableItems;
    // The folder's caption, for messages.
    QString folderCaption;
    // "all" or a run of <guid>GUID</guid>.
    QString ruleSelection;
    // True: hand the items to the confirmation sheet instead of running them silently.
    bool confirmFirst = false;
    // The watched folder's path, by which the task finds its row again in folders.txt.
    QString folderPath;
};

}  // namespace vandrel
