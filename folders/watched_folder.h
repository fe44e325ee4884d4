// One watched folder: its path, whether automatic organizing is on, its schedule
// ("every" N hours or "at" HH:MM daily), its rule selection, whether to confirm first,
// and the times of its last and next run. The model behind one folder row; the row view
// edits it and shows it. Not thread-safe; lives on the thread of its list.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

#include "folders/auto_folder_task.h"
#include "folders/rules_selector_model.h"
#include "rules/rule_attr.h"

namespace vandrel {

class Clock;

// The caption of a folder row that has no folder yet.
inline constexpr char kSelectAFolder[] = "Select a Folder";
// How dates are written into folders.txt.
inline constexpr char kFolderDateFormat[] = "yyyy-MM-ddTHH:mm:ss";
// A scheduled run may start within this many seconds after its time.
inline constexpr int kDueWindowSecs = 120;

class WatchedFolder {
  public:
    // A new row with the defaults: disabled, no folder, "every" "1 hour" (hour "23",
    // minute "00"), last run now, next run now minus one day, recalculation pending, all
    // rules, no confirmation. clock must outlive the folder.
    explicit WatchedFolder(const Clock& clock);

    // The items of the schedule combos, in their display order.
    static const QStringList& methodItems();
    static const QStringList& intervalItems();
    static const QStringList& hourItems();
    static const QStringList& minuteItems();

    bool enabled() const { return enabled_; }
    void setEnabled(bool on) { enabled_ = on; }

    const QString& folderPath() const { return folderPath_; }
    // Sets the path; refused (false, nothing changes) when the path cannot be stored: a
    // line break or a separator token in it would split folders.txt in the wrong places
    // and lose the folders after it.
    bool setFolderPath(const QString& path);
    static bool IsStorablePath(const QString& path);
    // The last path component, the path itself for "/", or "Select a Folder" when no
    // folder is chosen.
    QString folderNameText() const;

    // Schedule. Each setter marks the next run time for recalculation.
    const QString& method() const { return method_; }
    void setMethod(const QString& method);
    const QString& interval() const { return interval_; }
    void setInterval(const QString& interval);
    const QString& hour() const { return hour_; }
    void setHour(const QString& hour);
    const QString& minute() const { return minute_; }
    void setMinute(const QString& minute);
    // True when the method is "at" (any case); anything else means "every".
    bool methodIsAt() const;
    // "every 2 hours" or "at 23:00".
    QString scheduleText() const;

    const QDateTime& lastRunTime() const { return lastRunTime_; }
    const QDateTime& nextRunTime() const { return nextRunTime_; }
    bool recalcPending() const { return recalcPending_; }
    void setNextRunTime(const QDateTime& t) { nextRunTime_ = t; }
    // Takes over the run times and the recalculation flag of another row with the same
    // schedule (used when a list is re-read while its schedule is running).
    void adoptTimes(const WatchedFolder& other) {
        lastRunTime_ = other.lastRunTime_;
        nextRunTime_ = other.nextRunTime_;
        recalcPending_ = other.recalcPending_;
    }

    bool confirm() const { return confirm_; }
    void setConfirm(bool on) { confirm_ = on; }

    RulesSelectorModel& selector() { return selector_; }
    const RulesSelectorModel& selector() const { return selector_; }
    // Hands the current rules to the selector (the row was expanded).
    void SetCurRulesAttr(const std::vector<RuleAttr>& rules) { selector_.SetCurRuleAttrs(rules); }

    // When the folder is next due, counted from t: t + interval for "every" ("1 hour",
    // "2 hours", "4 hours", anything else 8 hours); for "at", the same day at hour:minute
    // second 1 when that is still after t, else the following day.
    QDateTime ComputeNextRunTime(const QDateTime& t) const;
    // The due test at time now. A disabled folder is never due and keeps its times. A
    // pending recalculation is done first. Due when strictly inside the window after
    // nextRunTime; then the times advance. A missed window reschedules from now without
    // making the run up.
    bool TickCheck(const QDateTime& now);

    // The folder's task in its present state; a missing folder gives no items.
    AutoFolderTask GetAutoFolderTask() const;

    // The eleven fields joined by <|FL|>. Loading never fails: a missing or unreadable
    // enabled or confirm field takes the safe value (off, on), other fields the defaults
    // of a new row, and the next run time is always recomputed at the first due test.
    QString SaveToString() const;
    void LoadFromString(const QString& text);
    // What makes a stored folder text unusable (no folder path, or an empty or relative
    // one); empty when it can be loaded.
    static QString TextProblem(const QString& text);

  private:
    const Clock* clock_;
    bool enabled_ = false;
    QString folderPath_;
    QString method_;
    QString interval_;
    QString hour_;
    QString minute_;
    QDateTime lastRunTime_;
    QDateTime nextRunTime_;
    bool recalcPending_ = true;
    RulesSelectorModel selector_;
    bool confirm_ = false;
};

}  // namespace vandrel
