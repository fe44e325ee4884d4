// The automatic run sequence of the watched folders, as a model driven by ticks: the
// periodic check (one call per tick of the 60-second folder timer), the presentation of
// due tasks one at a time with a ten-tick countdown (one call per tick of the 1-second
// countdown timer), "Cancel" and "Confirmation Sheet", the silent runs, and the manual
// run of one folder. The desktop program and the daemon drive it with QTimer; tests
// call the tick methods directly. Use from one thread; requestStop() may be called from
// any thread (or a signal handler's notifier).
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <vector>

#include "folders/auto_folder_task.h"

namespace vandrel {

class TaskRunFlags;
class Clock;
class WatchedFolder;
class WatchedFolderList;

// The countdown a task is announced with, in ticks.
inline constexpr int kCountdownStart = 10;
// What a finished manual run shows in its row.
inline constexpr char kManualRunDone[] = "Done!";

class AutoTaskRunner : public QObject {
    Q_OBJECT

  public:
    // Runs the rules on one item with a selection; returns the rule's title, "no matched
    // rule" or "already in use" (RuleList::DoRunRules, or a worker that calls it).
    using ItemRunner = std::function<QString(const QString& path, const QString& selection)>;
    // Shows the confirmation sheet for a task and returns when it is closed.
    using ConfirmHandler = std::function<void(const AutoFolderTask& task)>;
    // Starts a silent run of a task's items elsewhere (a worker thread); manualFolder is
    // the folder of a manual run, null in an automatic batch. The owner reports the end
    // with SilentRunFinished or ManualRunFinished on this runner's thread.
    using TaskStarter =
        std::function<void(const AutoFolderTask& task, WatchedFolder* manualFolder)>;

    // Asked just before a task of a batch runs (or goes to the sheet): false drops the
    // task (taskDropped), true runs it as the gate may have refreshed it. The scheduler
    // uses it to re-read folders.txt, so that a folder removed meanwhile is never run.
    using TaskGate = std::function<bool(AutoFolderTask& task)>;

    // vars, folders and clock must outlive the runner. The folder timer starts running.
    AutoTaskRunner(TaskRunFlags& vars, WatchedFolderList& folders, const Clock& clock,
                   ItemRunner runItem, QObject* parent = nullptr);

    // Without a handler, a task that asks for confirmation is skipped (taskSkipped).
    void setConfirmHandler(ConfirmHandler handler) { confirm_ = std::move(handler); }
    // With a starter, silent runs are handed to it instead of running item by item here.
    void setTaskStarter(TaskStarter starter) { starter_ = std::move(starter); }
    void setTaskGate(TaskGate gate) { gate_ = std::move(gate); }
    // Ticks of countdown before a task runs; 0 runs a due task at once (the daemon).
    void setCountdownStart(int ticks) { countdownStart_ = ticks < 0 ? 0 : ticks; }

    // True while the 60-second folder timer should run (it is stopped during a batch).
    bool folderTimerActive() const { return folderTimerActive_; }
    // True while the 1-second countdown timer should run.
    bool countdownActive() const { return countdownActive_; }
    // True while a batch of automatic tasks is being presented or run.
    bool batchActive() const { return batchActive_; }
    int countdown() const { return countdown_; }
    // The task announced now, or null.
    const AutoFolderTask* currentTask() const;
    // True while "Confirmation Sheet" and "Cancel" are offered.
    bool buttonsVisible() const { return buttonsVisible_; }
    // Tasks of the batch not yet announced.
    int pendingTasks() const;

    // True when the run flags suspend automatic checking (settings window shown, a drop,
    // a manual run or the rule wizard).
    bool checksSuspended() const;
    // One tick of the folder timer. Returns the number of due tasks that started a batch
    // (0 when checks are suspended, a batch is active, or nothing is due).
    int FolderTimerTick();
    // Starts presenting tasks one by one (an empty list ends the batch at once).
    void StartAutoTask(std::vector<AutoFolderTask> tasks);
    // One tick of the countdown timer: shows the value and counts down; the tenth tick
    // runs the task silently or hands it to the confirmation sheet, then the next task.
    void CountdownTick();
    // "Cancel": the current task is not run this time; the next one is announced.
    void Cancel();
    // "Confirmation Sheet": the current task goes to the sheet whatever its setting.
    void ConfirmationSheet();

    // "Organize Now" (or a tray folder item): runs the folder's task at once, also when
    // the folder is disabled, without touching its run times. Returns false (and does
    // nothing) while another run is active.
    bool ManualRun(WatchedFolder& folder);

    // True while a started silent run has not reported its end.
    bool runInProgress() const { return awaitingRun_ || awaitingManual_ != nullptr; }
    // The started run of the current automatic task has ended: the batch goes on.
    void SilentRunFinished();
    // The started manual run of folder has ended: "Done!" and the run flag is cleared.
    void ManualRunFinished(WatchedFolder& folder);

    // Ends work after the item in hand: the rest of a silent run and of the batch is
    // dropped and no new batch starts. Safe from any thread.
    void requestStop() { stop_.store(true); }
    bool stopRequested() const { return stop_.load(); }

  signals:
    // The tray image: true for "automatic checks active", false for the standard one.
    void trayImageChanged(bool automatic);
    void folderTimerChanged(bool running);
    void countdownTimerChanged(bool running);
    // A task is announced: "[" + caption + "]" with the countdown at its start value.
    void taskAnnounced(const QString& folderCaption, int countdown);
    void countdownShown(int value);
    void buttonsVisibleChanged(bool visible);
    // A silent run begins and ends (the daemon logs these).
    void taskStarted(const AutoFolderTask& task);
    void itemDone(const QString& path, const QString& result);
    void taskFinished(const AutoFolderTask& task);
    void taskCancelled(const AutoFolderTask& task);
    // The gate refused a task (its folder is no longer watched, or is turned off).
    void taskDropped(const AutoFolderTask& task);
    // A task that asks for confirmation could not be shown (no sheet): skipped.
    void taskSkipped(const AutoFolderTask& task);
    // The batch is over: the notification window closes.
    void batchFinished();
    // Manual run progress for the folder's row: each item's result, then "Done!".
    void manualRunNotify(WatchedFolder* folder, const QString& text);
    void manualRunFinished(WatchedFolder* folder, const QString& text);

  private:
    void NextTask();
    void RunCurrent(bool viaSheet);
    void RunSilently(const AutoFolderTask& task);
    void EndBatch();
    void EndManualRun(WatchedFolder& folder);
    void SetFolderTimer(bool on);
    void SetCountdownTimer(bool on);
    void SetButtons(bool on);

    TaskRunFlags& vars_;
    WatchedFolderList& folders_;
    const Clock& clock_;
    ItemRunner runItem_;
    ConfirmHandler confirm_;
    TaskStarter starter_;
    TaskGate gate_;
    bool awaitingRun_ = false;
    bool startingRun_ = false;
    WatchedFolder* awaitingManual_ = nullptr;
    int countdownStart_ = kCountdownStart;

    bool folderTimerActive_ = true;
    bool countdownActive_ = false;
    bool batchActive_ = false;
    bool buttonsVisible_ = false;
    std::vector<AutoFolderTask> tasks_;
    size_t nextIndex_ = 0;  // 0-based index of the next task to announce
    int current_ = -1;      // index of the announced task, or -1
    int countdown_ = 0;
    bool inNextTask_ = false;
    std::atomic<bool> stop_{false};
};

}  // namespace vandrel
