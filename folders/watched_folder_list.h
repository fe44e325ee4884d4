// The ordered list of watched folders: the model behind the folders tab. It loads and
// saves folders.txt, tells once a minute which folders are due and hands out their
// tasks. Not thread-safe; lives on the thread that runs the schedule.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "folders/auto_folder_task.h"
#include "folders/watched_folder.h"
#include "platform/state_file.h"
#include "rules/rule_attr.h"

namespace vandrel {

class Clock;

class WatchedFolderList {
  public:
    // clock must outlive the list.
    explicit WatchedFolderList(const Clock& clock);

    const Clock& clock() const { return *clock_; }

    // The rows in display order. The pointers stay valid until the row is removed or
    // the list is reloaded.
    std::vector<WatchedFolder*> GetFolderCollection() const;
    int folderCount() const { return static_cast<int>(folders_.size()); }
    WatchedFolder& folder(int index) { return *folders_.at(static_cast<size_t>(index)); }
    const WatchedFolder& folder(int index) const {
        return *folders_.at(static_cast<size_t>(index));
    }
    // Index of the row, or -1.
    int indexOf(const WatchedFolder* folder) const;
    // Index of the first row watching exactly this path, or -1.
    int indexOfPath(const QString& path) const;

    // Adds a row with the defaults of a new folder at the top and returns it.
    WatchedFolder& AddNewFolder();
    // Removes a row (no question asked). False when it is not in the list.
    bool RemoveFolder(const WatchedFolder* folder);
    bool RemoveFolderAt(int index);

    // Keeps the current rule summaries; rows receive them when they are expanded.
    void SetCurRuleAttrs(const std::vector<RuleAttr>& rules) { ruleAttrs_ = rules; }
    const std::vector<RuleAttr>& curRuleAttrs() const { return ruleAttrs_; }

    // The tasks of every row that is due at now, in list order.
    std::vector<AutoFolderTask> TickCheck(const QDateTime& now);
    // The rows that are due at now, in list order (the due test advances their times).
    std::vector<WatchedFolder*> DueFolders(const QDateTime& now);

    // The folders' texts joined by <|FP|>; the empty list gives the empty text. Rows
    // without a folder are left out: they cannot run, and the loader refuses them.
    QString SaveToString() const;
    // Replaces the rows; the empty text gives no rows.
    void LoadFromString(const QString& text);
    // What makes a stored list text unusable ("row 2: its folder path is empty"); empty
    // when every row can be loaded.
    static QString TextProblem(const QString& text);

    // Reads folders.txt. Missing: an empty list, Ok. Unreadable (not UTF-8 text, a NUL
    // byte, a row TextProblem refuses): the file was kept aside, the list is left as it
    // was.
    StateReadResult LoadFromFile(const QString& path);
    // Writes folders.txt atomically; false when it could not be written (the old file
    // stays).
    bool SaveToFile(const QString& path) const;

    // For every row whose path and schedule equal those of a row of other, takes over
    // that row's run times, so that re-reading the file does not restart schedules that
    // did not change.
    void AdoptScheduleFrom(const WatchedFolderList& other);

  private:
    const Clock* clock_;
    std::vector<std::unique_ptr<WatchedFolder>> folders_;
    std::vector<RuleAttr> ruleAttrs_;
};

}  // namespace vandrel
