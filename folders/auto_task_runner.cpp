#include "folders/auto_task_runner.h"

#include "folders/task_run_flags.h"
#include "folders/watched_folder.h"
#include "folders/watched_folder_list.h"
#include "platform/clock.h"

namespace vandrel {

AutoTaskRunner::AutoTaskRunner(TaskRunFlags& vars, WatchedFolderList& folders, const Clock& clock,
                               ItemRunner runItem, QObject* parent)
    : QObject(parent),
      vars_(vars),
      folders_(folders),
      clock_(clock),
      runItem_(std::move(runItem)) {}

const AutoFolderTask* AutoTaskRunner::currentTask() const {
    return current_ >= 0 ? &tasks_[static_cast<size_t>(current_)] : nullptr;
}

int AutoTaskRunner::pendingTasks() const {
    return batchActive_ ? static_cast<int>(tasks_.size() - nextIndex_) : 0;
}

bool AutoTaskRunner::checksSuspended() const {
    return vars_.settingWinShow() || vars_.dropTaskRunning() || vars_.handTaskRunning() ||
           vars_.creatingNewRule();
}

int AutoTaskRunner::FolderTimerTick() {
    if (stop_.load() || batchActive_ || !folderTimerActive_) return 0;
    if (checksSuspended()) {
        // No due test runs now, so a window that passes meanwhile is missed and the
        // folder is rescheduled at the first check after the suspension.
        emit trayImageChanged(false);
        return 0;
    }
    emit trayImageChanged(true);
    std::vector<AutoFolderTask> tasks = folders_.TickCheck(clock_.now());
    if (tasks.empty()) return 0;
    const int n = static_cast<int>(tasks.size());
    vars_.setAutoTaskRunning(true);
    SetFolderTimer(false);
    StartAutoTask(std::move(tasks));
    return n;
}

void AutoTaskRunner::StartAutoTask(std::vector<AutoFolderTask> tasks) {
    tasks_ = std::move(tasks);
    nextIndex_ = 0;
    current_ = -1;
    batchActive_ = true;
    NextTask();
}

void AutoTaskRunner::NextTask() {
    // A run started from inside NextTask (immediate mode) must not recurse into it: the
    // loop below picks up the following task.
    if (inNextTask_) return;
    inNextTask_ = true;
    while (true) {
        countdown_ = countdownStart_;
        current_ = -1;
        if (stop_.load() || nextIndex_ >= tasks_.size()) {
            inNextTask_ = false;
            EndBatch();
            return;
        }
        current_ = static_cast<int>(nextIndex_++);
        if (countdownStart_ > 0) {
            emit taskAnnounced(tasks_[static_cast<size_t>(current_)].folderCaption, countdown_);
            SetButtons(true);
            SetCountdownTimer(true);
            inNextTask_ = false;
            return;
        }
        RunCurrent(false);
        if (awaitingRun_) {
            inNextTask_ = false;
            return;  // SilentRunFinished goes on
        }
    }
}

void AutoTaskRunner::CountdownTick() {
    if (!countdownActive_ || current_ < 0) return;
    emit countdownShown(countdown_);
    const int before = countdown_--;
    if (before > 1) return;
    SetCountdownTimer(false);
    RunCurrent(false);
    if (!awaitingRun_) NextTask();
}

void AutoTaskRunner::Cancel() {
    if (current_ < 0 || !batchActive_ || awaitingRun_) return;
    SetCountdownTimer(false);
    emit taskCancelled(tasks_[static_cast<size_t>(current_)]);
    NextTask();
}

void AutoTaskRunner::ConfirmationSheet() {
    if (current_ < 0 || !batchActive_ || awaitingRun_) return;
    SetCountdownTimer(false);
    RunCurrent(true);
    NextTask();
}

void AutoTaskRunner::RunCurrent(bool viaSheet) {
    // Copy: a handler may start a new batch only after this one ends, but the vector must
    // not be relied on across signal emissions.
    AutoFolderTask task = tasks_[static_cast<size_t>(current_)];
    if (gate_) {
        if (!gate_(task)) {
            emit taskDropped(task);
            return;
        }
        tasks_[static_cast<size_t>(current_)] = task;
    }
    if (!viaSheet && !task.confirmFirst) {
        SetButtons(false);
        if (starter_) {
            awaitingRun_ = true;
            emit taskStarted(task);
            // A starter may report the end before it returns; the caller then goes on.
            startingRun_ = true;
            starter_(task, nullptr);
            startingRun_ = false;
            return;
        }
        RunSilently(task);
        return;
    }
    if (confirm_)
        confirm_(task);
    else
        emit taskSkipped(task);
}

void AutoTaskRunner::RunSilently(const AutoFolderTask& task) {
    emit taskStarted(task);
    for (const QString& item : task.taskItems) {
        if (stop_.load()) break;
        const QString result = runItem_ ? runItem_(item, task.ruleSelection) : QString();
        emit itemDone(item, result);
    }
    emit taskFinished(task);
}

void AutoTaskRunner::EndBatch() {
    const bool wasActive = batchActive_;
    batchActive_ = false;
    tasks_.clear();
    nextIndex_ = 0;
    current_ = -1;
    SetButtons(false);
    SetCountdownTimer(false);
    SetFolderTimer(true);
    vars_.setAutoTaskRunning(false);
    if (wasActive) emit batchFinished();
}

void AutoTaskRunner::SilentRunFinished() {
    if (!awaitingRun_) return;
    awaitingRun_ = false;
    if (current_ >= 0) emit taskFinished(tasks_[static_cast<size_t>(current_)]);
    if (!startingRun_) NextTask();
}

bool AutoTaskRunner::ManualRun(WatchedFolder& folder) {
    // Two runs over the same items at once could act on an item twice.
    if (vars_.handTaskRunning() || vars_.autoTaskRunning() || vars_.dropTaskRunning() ||
        runInProgress())
        return false;
    vars_.setHandTaskRunning(true);
    const AutoFolderTask task = folder.GetAutoFolderTask();
    if (!task.confirmFirst && starter_) {
        awaitingManual_ = &folder;
        starter_(task, &folder);  // may call ManualRunFinished before it returns
        return true;
    }
    if (!task.confirmFirst) {
        for (const QString& item : task.taskItems) {
            if (stop_.load()) break;
            const QString result = runItem_ ? runItem_(item, task.ruleSelection) : QString();
            emit itemDone(item, result);
            emit manualRunNotify(&folder, result);
        }
    } else if (confirm_) {
        confirm_(task);
    } else {
        emit taskSkipped(task);
    }
    EndManualRun(folder);
    return true;
}

void AutoTaskRunner::ManualRunFinished(WatchedFolder& folder) {
    if (awaitingManual_ != &folder) return;
    awaitingManual_ = nullptr;
    EndManualRun(folder);
}

void AutoTaskRunner::EndManualRun(WatchedFolder& folder) {
    emit manualRunFinished(&folder, QString::fromLatin1(kManualRunDone));
    vars_.setHandTaskRunning(false);
}

void AutoTaskRunner::SetFolderTimer(bool on) {
    if (folderTimerActive_ == on) return;
    folderTimerActive_ = on;
    emit folderTimerChanged(on);
}

void AutoTaskRunner::SetCountdownTimer(bool on) {
    if (countdownActive_ == on) return;
    countdownActive_ = on;
    emit countdownTimerChanged(on);
}

void AutoTaskRunner::SetButtons(bool on) {
    if (buttonsVisible_ == on) return;
    buttonsVisible_ = on;
    emit buttonsVisibleChanged(on);
}

}  // namespace vandrel
